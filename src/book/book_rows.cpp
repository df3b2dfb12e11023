#include "book/book_rows.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <thread>

namespace quillon {

namespace {

// Lines from which the wrap is worth spreading over the book's pieces' threads.
constexpr std::int32_t kManyLines = 1 << 20;

constexpr std::u16string_view kClosing = u"，。、；：？！）］｝〕〉》」』】〗〙〛’”…—．～,.;:?!)]}";
constexpr std::u16string_view kOpening = u"（［｛〔〈《「『【〖〘〚‘“([{";

// What each character is, looked up rather than searched for: a cut asks of every row.
enum Punctuation : std::uint8_t { kNeither, kCloses, kOpens };
struct PunctuationTable {
  std::array<std::uint8_t, 0x10000> Kind{};
};
constexpr PunctuationTable MakePunctuationTable() {
  PunctuationTable table{};
  for (const char16_t c : kClosing) table.Kind[c] = kCloses;
  for (const char16_t c : kOpening) table.Kind[c] = kOpens;
  return table;
}
constexpr PunctuationTable kPunctuation = MakePunctuationTable();

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

std::int32_t LengthOf(std::u16string_view line) {
  return static_cast<std::int32_t>(std::min<std::size_t>(line.size(), INT32_MAX));
}

// The rows of a line, and where every `every`-th of them starts: one pass of the cutter over it.
template <typename Checkpoint>
std::int32_t CutLine(std::u16string_view line, const WrapMetrics& metrics, std::int32_t every,
                     Checkpoint&& checkpoint) {
  if (static_cast<std::int64_t>(line.size()) <= std::int64_t{metrics.RowChars} - 1) return 1;
  LineCutter cutter(line, metrics);
  const std::size_t ahead = 4 * static_cast<std::size_t>(std::max(metrics.RowChars, 1));
  while (!cutter.Done()) {
    if (cutter.Row() > 0 && cutter.Row() % every == 0) checkpoint(cutter.Offset());
    // A paragraph's cuts fall a row apart: the text of the cuts to come is fetched meanwhile.
    if (static_cast<std::size_t>(cutter.Offset()) + ahead < line.size()) {
      __builtin_prefetch(line.data() + cutter.Offset() + ahead);
    }
    cutter.Next();
  }
  return cutter.Row();
}

}  // namespace

bool IsClosingPunctuation(char16_t c) {
  return kPunctuation.Kind[c] == kCloses;
}

bool IsOpeningPunctuation(char16_t c) {
  return kPunctuation.Kind[c] == kOpens;
}

LineCutter::LineCutter(std::u16string_view line, const WrapMetrics& metrics)
    : line_(line), metrics_(metrics) {}

LineCutter::LineCutter(std::u16string_view line, const WrapMetrics& metrics, std::int32_t row,
                       std::int32_t offset)
    : line_(line), metrics_(metrics), row_(row), offset_(offset) {
  done_ = row > 0 && offset >= LengthOf(line);
}

std::int32_t LineCutter::Cut(std::int32_t start, std::int64_t nominal) const {
  const std::int32_t length = LengthOf(line_);
  if (nominal >= length) return length;
  auto cut = static_cast<std::int32_t>(nominal);
  const auto at = [this](std::int32_t i) { return line_[static_cast<std::size_t>(i)]; };
  if (IsHighSurrogate(at(cut - 1)) && IsLowSurrogate(at(cut)) && ++cut == length) return length;
  if (IsClosingPunctuation(at(cut))) {
    ++cut;
    if (cut < length && IsClosingPunctuation(at(cut))) ++cut;
    return cut;
  }
  while (cut - 1 > start && IsOpeningPunctuation(at(cut - 1))) --cut;
  return cut;
}

RowPiece LineCutter::Next() {
  const std::int32_t length = LengthOf(line_);
  const std::int32_t chars = metrics_.RowChars;
  RowPiece piece;
  if (row_ == 0) {
    if (length == 0) {
      done_ = true;
      row_ = 1;
      return piece;
    }
    if (length <= chars - 1) {
      piece = {0, length, length == chars - 1 ? 0 : metrics_.IndentWidth};
    } else {
      // Screens have rows of dozens of characters; a row of one or two still shows something.
      piece = {0, Cut(0, std::max(chars - 2, 1)), metrics_.IndentWidth};
    }
  } else if (length - offset_ <= std::int64_t{chars} + 1) {
    piece = {offset_, length - offset_, 0};
  } else {
    piece = {offset_, Cut(offset_, std::int64_t{offset_} + std::max(chars, 1)) - offset_, 0};
  }
  offset_ = piece.Offset + piece.Length;
  ++row_;
  done_ = offset_ >= length;
  return piece;
}

std::int32_t RowsOfLine(std::u16string_view line, const WrapMetrics& metrics) {
  return CutLine(line, metrics, INT32_MAX, [](std::int32_t) {});
}

RowPiece RowOfLine(std::u16string_view line, std::int32_t row, const WrapMetrics& metrics) {
  LineCutter cutter(line, metrics);
  RowPiece piece;
  while (!cutter.Done() && cutter.Row() <= row) piece = cutter.Next();
  return piece;
}

std::u16string WidestRows(const WrapMetrics& metrics) {
  const auto full = [](std::int32_t count) {
    return std::u16string(static_cast<std::size_t>(std::max(count, 0)), u'国');
  };
  return std::u16string(static_cast<std::size_t>(std::max(metrics.IndentWidth, 0)), u' ') +
         full(metrics.RowChars) + u'\n' + full(metrics.RowChars + 2);
}

std::int32_t PageCountOf(std::int32_t rowCount, std::int32_t pageRows) {
  return rowCount / pageRows + (rowCount % pageRows != 0 ? 1 : 0);
}

std::int32_t RowTable::CountRows(const BookText& lines, const WrapMetrics& metrics) {
  std::int64_t rows = 0;
  for (std::size_t piece = 0; piece < lines.PieceCount(); ++piece) {
    lines.ForEachLineOfPiece(piece, [&](std::int32_t, std::u16string_view line) {
      rows = std::min<std::int64_t>(rows + RowsOfLine(line, metrics), INT32_MAX);
    });
  }
  return static_cast<std::int32_t>(rows);
}

void RowTable::Wrap(const BookText& lines, const WrapMetrics& metrics) {
  metrics_ = metrics;
  lineCount_ = lines.Count();
  // One entry for each stretch that has a line, so the entries ascend as a search needs.
  firstRow_.assign(static_cast<std::size_t>((lineCount_ + kStride - 1) / kStride), 0);
  // Each piece of the book counts its rows from 0, on a thread of its own when the book has
  // lines by the million; then each piece's entries move up by the rows of the pieces before it.
  const std::size_t pieces = lines.PieceCount();
  std::vector<std::int64_t> rows(pieces, 0);
  std::vector<std::vector<LongLine>> longLines(pieces);
  std::vector<std::vector<std::int32_t>> checkpoints(pieces);
  const auto wrapPiece = [&](std::size_t piece) {
    std::int64_t count = 0;
    std::vector<std::int32_t>& starts = checkpoints[piece];
    lines.ForEachLineOfPiece(piece, [&](std::int32_t line, std::u16string_view text) {
      if (line % kStride == 0) {
        firstRow_[static_cast<std::size_t>(line / kStride)] =
            static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
      }
      // Most lines are one row, which is known from their length.
      if (static_cast<std::int64_t>(text.size()) <= std::int64_t{metrics.RowChars} - 1) {
        ++count;
        return;
      }
      const std::size_t first = starts.size();
      const std::int32_t lineRows = CutLine(
          text, metrics, kCheckpoint, [&starts](std::int32_t offset) { starts.push_back(offset); });
      if (starts.size() > first) {
        longLines[piece].push_back({line, lineRows, first});
      }
      count += lineRows;
    });
    rows[piece] = count;
  };
  // Rows are cut where the text says, so a book large enough to have been read in pieces is worth
  // wrapping on their threads, as is one of lines by the million.
  std::vector<std::thread> helpers;
  if (pieces > 1 || lineCount_ >= kManyLines) {
    for (std::size_t piece = 1; piece < pieces; ++piece) {
      try {
        helpers.emplace_back(wrapPiece, piece);
      } catch (const std::system_error&) {
        break;  // no more threads to be had: this one wraps the rest
      }
    }
  }
  if (pieces > 0) wrapPiece(0);
  for (std::size_t piece = helpers.size() + 1; piece < pieces; ++piece) wrapPiece(piece);
  for (std::thread& helper : helpers) helper.join();

  // Row numbers are 32-bit; a text that would pass that shows its first two thousand million.
  std::int64_t before = 0;
  longLines_.clear();
  checkpoints_.clear();
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    const std::int32_t first = lines.PieceFirstLine(piece);
    const std::int32_t end = piece + 1 < pieces ? lines.PieceFirstLine(piece + 1) : lineCount_;
    for (std::int32_t k = (first + kStride - 1) / kStride; k * kStride < end; ++k) {
      std::int32_t& entry = firstRow_[static_cast<std::size_t>(k)];
      entry = static_cast<std::int32_t>(std::min<std::int64_t>(before + entry, INT32_MAX));
    }
    before += rows[piece];
    // A line's first checkpoint was counted within its piece.
    for (LongLine line : longLines[piece]) {
      line.FirstCheckpoint += checkpoints_.size();
      longLines_.push_back(line);
    }
    checkpoints_.insert(checkpoints_.end(), checkpoints[piece].begin(), checkpoints[piece].end());
  }
  rowCount_ = static_cast<std::int32_t>(std::min<std::int64_t>(before, INT32_MAX));
}

const RowTable::LongLine* RowTable::LongLineOf(std::int32_t line) const {
  const auto found = std::lower_bound(
      longLines_.begin(), longLines_.end(), line,
      [](const LongLine& entry, std::int32_t wanted) { return entry.Line < wanted; });
  return found != longLines_.end() && found->Line == line ? &*found : nullptr;
}

std::int32_t RowTable::RowsOf(const BookText& lines, std::int32_t line) const {
  if (std::int64_t{lines.LineLength(line)} <= std::int64_t{metrics_.RowChars} - 1) return 1;
  if (const LongLine* known = LongLineOf(line)) return known->Rows;
  return RowsOfLine(lines.Line(line), metrics_);
}

LineCutter RowTable::CutterAtRow(const BookText& lines, std::int32_t line, std::int32_t row) const {
  const std::u16string_view text = lines.Line(line);
  const LongLine* known = LongLineOf(line);
  if (known == nullptr || row < kCheckpoint) return LineCutter(text, metrics_);
  const std::int32_t checkpoint = std::min(row, known->Rows - 1) / kCheckpoint;
  return LineCutter(
      text, metrics_, checkpoint * kCheckpoint,
      checkpoints_[known->FirstCheckpoint + static_cast<std::size_t>(checkpoint) - 1]);
}

LineCutter RowTable::CutterAtOffset(const BookText& lines, std::int32_t line,
                                    std::int32_t offset) const {
  const std::u16string_view text = lines.Line(line);
  const LongLine* known = LongLineOf(line);
  if (known == nullptr) return LineCutter(text, metrics_);
  const auto begin = checkpoints_.begin() + static_cast<std::ptrdiff_t>(known->FirstCheckpoint);
  const auto end = begin + (known->Rows - 1) / kCheckpoint;
  // The last checkpoint at or before the offset.
  const auto after = std::upper_bound(begin, end, offset);
  if (after == begin) return LineCutter(text, metrics_);
  return LineCutter(text, metrics_, static_cast<std::int32_t>(after - begin) * kCheckpoint,
                    *(after - 1));
}

RowPiece RowTable::PieceOf(const BookText& lines, std::int32_t line, std::int32_t row) const {
  LineCutter cutter = CutterAtRow(lines, line, row);
  RowPiece piece;
  while (!cutter.Done() && cutter.Row() <= row) piece = cutter.Next();
  return piece;
}

std::int32_t RowTable::FirstRowOf(const BookText& lines, std::int32_t line) const {
  std::int64_t row = firstRow_[static_cast<std::size_t>(line / kStride)];
  const std::int32_t from = line / kStride * kStride;
  if (from < line) {
    lines.VisitLines(from, line, [&](std::int32_t index, std::u16string_view text) {
      if (static_cast<std::int64_t>(text.size()) <= std::int64_t{metrics_.RowChars} - 1) {
        ++row;
      } else if (const LongLine* known = LongLineOf(index)) {
        row += known->Rows;
      } else {
        row += RowsOfLine(text, metrics_);
      }
    });
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(row, INT32_MAX));
}

std::vector<std::u16string> RowTable::Rows(const BookText& lines, std::int32_t first,
                                           std::int32_t count) const {
  std::vector<std::u16string> rows;
  for (const LinePiece& piece : Pieces(lines, first, count)) {
    std::u16string row(static_cast<std::size_t>(piece.Piece.Indent), u' ');
    row.append(lines.Line(piece.Line)
                   .substr(static_cast<std::size_t>(piece.Piece.Offset),
                           static_cast<std::size_t>(piece.Piece.Length)));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<LinePiece> RowTable::Pieces(const BookText& lines, std::int32_t first,
                                        std::int32_t count) const {
  std::vector<LinePiece> rows;
  if (first < 0 || first >= Count() || count <= 0) return rows;
  const auto last = static_cast<std::int32_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(first) + count, Count()));
  // The stretch of lines that holds the first row, then line by line from there.
  const auto stretch =
      std::upper_bound(firstRow_.begin(), firstRow_.end(), first) - firstRow_.begin() - 1;
  std::int32_t line = static_cast<std::int32_t>(stretch) * kStride;
  std::int64_t lineFirstRow = firstRow_[static_cast<std::size_t>(stretch)];
  std::int32_t lineRows = RowsOf(lines, line);
  while (lineFirstRow + lineRows <= first) {
    lineFirstRow += lineRows;
    lineRows = RowsOf(lines, ++line);
  }
  LineCutter cutter = CutterAtRow(lines, line, static_cast<std::int32_t>(first - lineFirstRow));
  for (std::int32_t index = first; index < last; ++index) {
    while (cutter.Done()) cutter = LineCutter(lines.Line(++line), metrics_);
    while (cutter.Row() < index - lineFirstRow) cutter.Next();
    rows.push_back({line, cutter.Next()});
    if (cutter.Done()) lineFirstRow = index + 1;
  }
  return rows;
}

std::optional<std::u16string> RowTable::Row(const BookText& lines, std::int32_t index) const {
  std::vector<std::u16string> rows = Rows(lines, index, 1);
  if (rows.empty()) return std::nullopt;
  return std::move(rows.front());
}

std::int32_t RowTable::RowOfPosition(const BookText& lines, std::int32_t line,
                                     std::int32_t offset) const {
  if (line < 0 || line >= lineCount_) return -1;
  const std::int32_t first = FirstRowOf(lines, line);
  LineCutter cutter = CutterAtOffset(lines, line, std::max(offset, 0));
  std::int32_t row = cutter.Row();
  while (!cutter.Done()) {
    row = cutter.Row();
    const RowPiece piece = cutter.Next();
    if (offset < piece.Offset + piece.Length) break;
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{first} + row, INT32_MAX));
}

}  // namespace quillon
