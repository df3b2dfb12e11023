#include "book/script_convert.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/codepage.h"

namespace quillon {

namespace {

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Where a phrase cannot go on: a piece ends just after one of these.
bool EndsAPhrase(char16_t c) {
  return std::u16string_view(u"，。、；：？！…”」』）\n ,.;:?!").find(c) !=
         std::u16string_view::npos;
}

}  // namespace

std::u16string ScriptConversionName(ScriptConversion conversion) {
  switch (conversion) {
    case ScriptConversion::ToSimplified:
      return u"t2s";
    case ScriptConversion::ToTraditional:
      return u"s2t";
    default:
      return u"";
  }
}

std::optional<ScriptConversion> ScriptConversionNamed(std::u16string_view name) {
  if (name == u"t2s") return ScriptConversion::ToSimplified;
  if (name == u"s2t") return ScriptConversion::ToTraditional;
  return std::nullopt;
}

std::unique_ptr<ScriptConverter> ScriptConverter::Open(ScriptConversion conversion) {
  const char* config = conversion == ScriptConversion::ToSimplified    ? "t2s.json"
                       : conversion == ScriptConversion::ToTraditional ? "s2t.json"
                                                                       : nullptr;
  if (config == nullptr) return nullptr;
  // Each direction's dictionaries are read once for the whole program (s2t's take some 20 ms, and
  // a reader switches back and forth); one that failed is tried again, as they may have been
  // installed meanwhile.
  static std::mutex guard;
  static opencc_t opened[2] = {nullptr, nullptr};
  const std::lock_guard<std::mutex> lock(guard);
  opencc_t& handle = opened[conversion == ScriptConversion::ToSimplified ? 0 : 1];
  if (handle == nullptr) {
    handle = opencc_open(config);
    if (handle == reinterpret_cast<opencc_t>(-1)) handle = nullptr;
  }
  if (handle == nullptr) return nullptr;
  return std::unique_ptr<ScriptConverter>(new ScriptConverter(handle));
}

ScriptConverter::~ScriptConverter() = default;

std::u16string ScriptConverter::Convert(std::u16string_view text) const {
  if (text.empty()) return {};
  const std::string bytes = codepage::EncodeUtf8(text);
  char* converted = opencc_convert_utf8(handle_, bytes.data(), bytes.size());
  if (converted == nullptr) return std::u16string(text);
  std::u16string result = codepage::DecodeUtf8(converted);
  opencc_convert_utf8_free(converted);
  return result;
}

std::u16string ScriptConverter::ConvertInPlace(std::u16string_view text) const {
  std::u16string converted = Convert(text);
  if (converted.size() == text.size()) return converted;
  return ConvertEach(text);
}

std::u16string ScriptConverter::ConvertEach(std::u16string_view text) const {
  // One character a line: no phrase reaches across a line feed.
  std::u16string apart;
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && !IsLowSurrogate(text[i])) apart += u'\n';
    if (i == 0 || !IsLowSurrogate(text[i])) starts.push_back(i);
    apart += text[i];
  }
  starts.push_back(text.size());
  const std::u16string each = Convert(apart);
  std::u16string result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const std::size_t to = std::min(each.find(u'\n', from), each.size());
    const std::u16string_view original = text.substr(starts[k], starts[k + 1] - starts[k]);
    const std::u16string_view one = std::u16string_view(each).substr(from, to - from);
    result += one.size() == original.size() ? one : original;
    from = to + 1;
  }
  return result.size() == text.size() ? result : std::u16string(text);
}

std::int32_t ConvertedBook::PieceStart(std::u16string_view line, std::int32_t piece) {
  const auto length = static_cast<std::int32_t>(line.size());
  if (piece <= 0) return 0;
  if (std::int64_t{piece} * kPiece >= length) return length;
  std::int32_t start = piece * kPiece;
  // Back to just after a mark within the last eighth of the piece before, if there is one.
  for (std::int32_t i = start; i > start - kPiece / 8 && i > 0; --i) {
    if (EndsAPhrase(line[static_cast<std::size_t>(i - 1)])) return i;
  }
  if (start < length && IsLowSurrogate(line[static_cast<std::size_t>(start)])) ++start;
  return start;
}

namespace {

std::uint64_t KeyOf(std::int32_t line, std::int32_t piece) {
  return (static_cast<std::uint64_t>(line) << 32) | static_cast<std::uint32_t>(piece);
}

}  // namespace

const std::u16string* ConvertedBook::Kept(std::int32_t line, std::int32_t piece) {
  const auto found = kept_.find(KeyOf(line, piece));
  if (found == kept_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.Use);
  return &found->second.Text;
}

void ConvertedBook::Convert(std::u16string_view line, std::int32_t index, std::int32_t first,
                            std::int32_t last) {
  const std::int32_t start = PieceStart(line, first);
  const std::int32_t end = PieceStart(line, last + 1);
  const std::u16string_view text =
      line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
  // The pieces together in one go, as the text runs on; piece by piece where that changes a length.
  const std::u16string together = converter_->Convert(text);
  for (std::int32_t piece = first; piece <= last; ++piece) {
    const std::int32_t from = PieceStart(line, piece);
    const std::int32_t to = PieceStart(line, piece + 1);
    Keep(index, piece,
         together.size() == text.size()
             ? together.substr(static_cast<std::size_t>(from - start),
                               static_cast<std::size_t>(to - from))
             : converter_->ConvertInPlace(line.substr(static_cast<std::size_t>(from),
                                                      static_cast<std::size_t>(to - from))));
  }
}

void ConvertedBook::Keep(std::int32_t line, std::int32_t piece, std::u16string converted) {
  const std::uint64_t key = KeyOf(line, piece);
  while (keptUnits_ + converted.size() > kKeptUnits && !uses_.empty()) {
    const auto old = kept_.find(uses_.back());
    keptUnits_ -= old->second.Text.size();
    kept_.erase(old);
    uses_.pop_back();
  }
  uses_.push_front(key);
  keptUnits_ += converted.size();
  kept_.emplace(key, KeptPiece{std::move(converted), uses_.begin()});
}

std::u16string ConvertedBook::Span(const BookText& book, std::int32_t line, std::int32_t offset,
                                   std::int32_t length) {
  std::u16string shown;
  if (line < 0 || line >= book.Count() || length <= 0) return shown;
  const std::u16string_view text = book.Line(line);
  const auto end = static_cast<std::int32_t>(std::min<std::int64_t>(
      std::int64_t{offset} + length, static_cast<std::int64_t>(text.size())));
  shown.reserve(static_cast<std::size_t>(std::max(end - offset, 0)));
  // The pieces that hold the span: the first starts at or before piece offset / kPiece.
  const auto pieceOf = [&text](std::int32_t at) {
    std::int32_t piece = at / kPiece;
    while (piece > 0 && PieceStart(text, piece) > at) --piece;
    while (PieceStart(text, piece + 1) <= at) ++piece;
    return piece;
  };
  const std::int32_t first = pieceOf(offset);
  const std::int32_t last = pieceOf(std::max(end - 1, offset));
  // Those not kept yet are converted, each run of them together.
  for (std::int32_t piece = first; piece <= last;) {
    if (kept_.count(KeyOf(line, piece)) != 0) {
      ++piece;
      continue;
    }
    std::int32_t through = piece;
    while (through < last && kept_.count(KeyOf(line, through + 1)) == 0) ++through;
    Convert(text, line, piece, through);
    piece = through + 1;
  }
  for (std::int32_t piece = first; piece <= last && offset < end; ++piece) {
    const std::int32_t start = PieceStart(text, piece);
    const std::int32_t to = std::min(end, PieceStart(text, piece + 1));
    const std::u16string* converted = Kept(line, piece);
    if (converted == nullptr) {
      // Pushed out again by the pieces just converted, which only a span longer than all that
      // is kept can do: this piece is converted once more.
      Convert(text, line, piece, piece);
      converted = Kept(line, piece);
    }
    shown.append(*converted, static_cast<std::size_t>(offset - start),
                 static_cast<std::size_t>(to - offset));
    offset = to;
  }
  return shown;
}

}  // namespace quillon
