#include "book/book_rows.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace quillon {

namespace {

// Lines from which the wrap is worth spreading over the book's pieces' threads.
constexpr std::int32_t kManyLines = 1 << 20;

}  // namespace

std::int32_t RowsOfLine(std::int32_t length, const WrapMetrics& metrics) {
  if (length > metrics.RowChars - 2) return length / metrics.RowChars + 1;
  return 1;
}

RowPiece RowOfLine(std::int32_t length, std::int32_t row, const WrapMetrics& metrics) {
  const std::int32_t chars = metrics.RowChars;
  const std::int32_t whole = length / chars;
  if (length == 0) return {};
  if (length > chars - 2) {
    if (whole == 0) return {0, length, 0};  // RowChars - 1 characters: the whole line, no indent
    // Row m starts at m * RowChars - 2. Rows of one or two characters, which no screen has, would
    // start before the line; clamping keeps every character in exactly one row.
    const auto startOf = [chars](std::int32_t m) {
      return m == 0 ? 0 : std::max(0, m * chars - 2);
    };
    const std::int32_t start = startOf(row);
    const std::int32_t end = row < whole ? startOf(row + 1) : length;
    return {start, end - start, row == 0 ? metrics.IndentWidth : 0};
  }
  return {0, length, metrics.IndentWidth};
}

std::u16string WidestRows(const WrapMetrics& metrics) {
  const auto full = [](std::int32_t count) {
    return std::u16string(static_cast<std::size_t>(std::max(count, 0)), u'国');
  };
  return std::u16string(static_cast<std::size_t>(std::max(metrics.IndentWidth, 0)), u' ') +
         full(metrics.RowChars - 2) + u'\n' + full(metrics.RowChars + 1);
}

std::int32_t PageCountOf(std::int32_t rowCount, std::int32_t pageRows) {
  return rowCount / pageRows + (rowCount % pageRows != 0 ? 1 : 0);
}

std::int32_t RowTable::CountRows(const BookText& lines, const WrapMetrics& metrics) {
  std::int64_t rows = 0;
  lines.ForEachLineLength([&](std::int32_t, std::int32_t length) {
    rows = std::min<std::int64_t>(rows + RowsOfLine(length, metrics), INT32_MAX);
  });
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
  const auto wrapPiece = [&](std::size_t piece) {
    std::int64_t count = 0;
    lines.ForEachLineLength(piece, [&](std::int32_t line, std::int32_t length) {
      if (line % kStride == 0) {
        firstRow_[static_cast<std::size_t>(line / kStride)] =
            static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
      }
      count += RowsOfLine(length, metrics);
    });
    rows[piece] = count;
  };
  std::vector<std::thread> helpers;
  if (lineCount_ >= kManyLines) {
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
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    const std::int32_t first = lines.PieceFirstLine(piece);
    const std::int32_t end = piece + 1 < pieces ? lines.PieceFirstLine(piece + 1) : lineCount_;
    for (std::int32_t k = (first + kStride - 1) / kStride; k * kStride < end; ++k) {
      std::int32_t& entry = firstRow_[static_cast<std::size_t>(k)];
      entry = static_cast<std::int32_t>(std::min<std::int64_t>(before + entry, INT32_MAX));
    }
    before += rows[piece];
  }
  rowCount_ = static_cast<std::int32_t>(std::min<std::int64_t>(before, INT32_MAX));
}

std::int32_t RowTable::FirstRowOf(const BookText& lines, std::int32_t line) const {
  std::int64_t row = firstRow_[static_cast<std::size_t>(line / kStride)];
  for (std::int32_t i = line / kStride * kStride; i < line; ++i) {
    row += RowsOfLine(lines.LineLength(i), metrics_);
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(row, INT32_MAX));
}

std::vector<std::u16string> RowTable::Rows(const BookText& lines, std::int32_t first,
                                           std::int32_t count) const {
  std::vector<std::u16string> rows;
  if (first < 0 || first >= Count() || count <= 0) return rows;
  const auto last = static_cast<std::int32_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(first) + count, Count()));
  // The stretch of lines that holds the first row, then line by line from there.
  const auto stretch =
      std::upper_bound(firstRow_.begin(), firstRow_.end(), first) - firstRow_.begin() - 1;
  std::int32_t line = static_cast<std::int32_t>(stretch) * kStride;
  std::int64_t lineFirstRow = firstRow_[static_cast<std::size_t>(stretch)];
  std::int32_t lineRows = RowsOfLine(lines.LineLength(line), metrics_);
  for (std::int32_t index = first; index < last; ++index) {
    while (lineFirstRow + lineRows <= index) {
      lineFirstRow += lineRows;
      lineRows = RowsOfLine(lines.LineLength(++line), metrics_);
    }
    const std::u16string_view text = lines.Line(line);
    const RowPiece piece = RowOfLine(lines.LineLength(line),
                                     static_cast<std::int32_t>(index - lineFirstRow), metrics_);
    std::u16string row(static_cast<std::size_t>(piece.Indent), u' ');
    row.append(text.substr(static_cast<std::size_t>(piece.Offset),
                           static_cast<std::size_t>(piece.Length)));
    rows.push_back(std::move(row));
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
  const std::int32_t rows = RowsOfLine(lines.LineLength(line), metrics_);
  // Row m of a wrapped line starts at m * RowChars - 2 (RowOfLine), so the last row starting at or
  // before the offset holds it; a line of one row answers the same way through the clamp.
  const std::int64_t row = (static_cast<std::int64_t>(std::max(offset, 0)) + 2) / metrics_.RowChars;
  return first + static_cast<std::int32_t>(std::clamp<std::int64_t>(row, 0, std::max(rows - 1, 0)));
}

}  // namespace quillon
