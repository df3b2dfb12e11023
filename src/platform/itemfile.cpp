#include "platform/itemfile.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quillon::itemfile {

namespace {

bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

std::u16string_view TrimSpaces(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

constexpr std::u16string_view kTrue = u"#TRUE#";
constexpr std::u16string_view kFalse = u"#FALSE#";

// A decimal number split into its parts, so that each conversion can round or range-check it
// exactly instead of going through a double first.
struct Decimal {
  bool Negative = false;
  std::u16string_view IntegerDigits;
  std::u16string_view FractionDigits;
  std::int64_t Exponent = 0;  // clamped far beyond any float's range
};

std::optional<Decimal> ParseDecimal(std::u16string_view text, bool allowExponent) {
  Decimal result;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    result.Negative = text[i] == u'-';
    ++i;
  }
  const std::size_t integerStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  result.IntegerDigits = text.substr(integerStart, i - integerStart);
  if (i < text.size() && text[i] == u'.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    result.FractionDigits = text.substr(fractionStart, i - fractionStart);
  }
  if (result.IntegerDigits.empty() && result.FractionDigits.empty()) return std::nullopt;
  if (allowExponent && i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
      negativeExponent = text[i] == u'-';
      ++i;
    }
    if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (result.Exponent < 1000000000) result.Exponent = result.Exponent * 10 + (text[i] - u'0');
    }
    if (negativeExponent) result.Exponent = -result.Exponent;
  }
  if (i != text.size()) return std::nullopt;
  return result;
}

bool HasNonZeroDigit(std::u16string_view digits) {
  return digits.find_first_not_of(u'0') != std::u16string_view::npos;
}

template <typename T>
std::optional<T> ToInteger(const Item& item) {
  if (item.Quoted) return std::nullopt;
  const std::u16string_view text = TrimSpaces(item.Text);
  if (text == kTrue) return T{-1};
  if (text == kFalse) return T{0};
  const std::optional<Decimal> number = ParseDecimal(text, false);
  if (!number) return std::nullopt;

  // Anything above this is out of range for every T; stopping here keeps the sum from wrapping.
  constexpr std::uint64_t kTooLarge = std::uint64_t{1} << 40;
  std::uint64_t magnitude = 0;
  for (const char16_t digit : number->IntegerDigits) {
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit - u'0');
    if (magnitude > kTooLarge) return std::nullopt;
  }
  // Halves round to the even neighbour, decided on the digits themselves so 2.5 is exactly half.
  const std::u16string_view fraction = number->FractionDigits;
  if (!fraction.empty()) {
    const char16_t first = fraction.front();
    const bool aboveHalf = first > u'5' || (first == u'5' && HasNonZeroDigit(fraction.substr(1)));
    const bool exactlyHalf = first == u'5' && !aboveHalf;
    if (aboveHalf || (exactlyHalf && magnitude % 2 == 1)) ++magnitude;
  }
  const std::uint64_t limit =
      number->Negative
          ? std::uint64_t{0} - static_cast<std::uint64_t>(std::numeric_limits<T>::min())
          : static_cast<std::uint64_t>(std::numeric_limits<T>::max());
  if (magnitude > limit) return std::nullopt;
  const std::int64_t value = static_cast<std::int64_t>(magnitude);
  return static_cast<T>(number->Negative ? -value : value);
}

// Reads 1 to `maxDigits` digits at `position`.
bool ReadNumber(std::u16string_view text, std::size_t& position, std::size_t maxDigits,
                int& value) {
  const std::size_t start = position;
  value = 0;
  while (position < text.size() && position - start < maxDigits && IsDigit(text[position])) {
    value = value * 10 + (text[position] - u'0');
    ++position;
  }
  return position > start;
}

bool Expect(std::u16string_view text, std::size_t& position, char16_t c) {
  if (position >= text.size() || text[position] != c) return false;
  ++position;
  return true;
}

void AppendAscii(std::u16string& out, const char* begin, const char* end) {
  for (; begin != end; ++begin) out.push_back(static_cast<char16_t>(*begin));
}

}  // namespace

ItemSpan ItemReader::NextSpan() {
  ItemSpan span;
  const std::size_t size = text_.size();
  // Every character that ends an item is at most ',', so one compare rejects almost all text.
  const auto findItemEnd = [this, size](std::size_t from) {
    while (from < size) {
      const char16_t c = text_[from];
      if (c <= u',' && (c == u',' || IsLineEnd(c))) break;
      ++from;
    }
    return from;
  };

  std::size_t position = position_;
  while (position < size && text_[position] == u' ') ++position;
  if (position < size && text_[position] == u'"') {
    span.Quoted = true;
    span.Start = position + 1;
    std::size_t end = span.Start;
    while (end < size && text_[end] != u'"' && !IsLineEnd(text_[end])) ++end;
    span.Length = end - span.Start;
    if (end < size && text_[end] == u'"') {
      // Whatever follows the closing quote is kept rather than dropped, so no book text is lost.
      span.TailStart = end + 1;
      position = findItemEnd(span.TailStart);
      span.TailLength = position - span.TailStart;
    } else {
      position = end;  // never closed: the item stops at the line end
    }
  } else {
    span.Start = position;
    position = findItemEnd(position);
    span.Length = position - span.Start;
  }
  if (span.TailLength == 0) span.TailStart = span.Start + span.Length;

  if (position < size) {
    const char16_t terminator = text_[position++];
    span.EndsAtComma = terminator == u',';
    if (terminator == u'\r' && position < size && text_[position] == u'\n') ++position;
  }
  position_ = position;
  return span;
}

Item ItemReader::Next() {
  const ItemSpan span = NextSpan();
  Item item;
  item.Quoted = span.Quoted;
  item.Text.reserve(span.Length + span.TailLength);
  item.Text.assign(text_.data() + span.Start, span.Length);
  item.Text.append(text_.data() + span.TailStart, span.TailLength);
  return item;
}

std::optional<std::int16_t> ToInt16(const Item& item) {
  return ToInteger<std::int16_t>(item);
}

std::optional<std::int32_t> ToInt32(const Item& item) {
  return ToInteger<std::int32_t>(item);
}

std::optional<float> ToSingle(const Item& item) {
  if (item.Quoted) return std::nullopt;
  const std::u16string_view text = TrimSpaces(item.Text);
  if (text == kTrue) return -1.0f;
  if (text == kFalse) return 0.0f;
  const std::optional<Decimal> number = ParseDecimal(text, true);
  if (!number) return std::nullopt;

  // from_chars wants plain ASCII and no '+'; the syntax is already checked, so it is all digits.
  std::string ascii;
  ascii.reserve(text.size());
  for (const char16_t c : text) {
    if (c != u'+') ascii.push_back(static_cast<char>(c));
  }
  float value = 0.0f;
  const std::from_chars_result result =
      std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ptr != ascii.data() + ascii.size()) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a float reads as zero; too large does not convert.
    const std::size_t integerZeros =
        std::min(number->IntegerDigits.find_first_not_of(u'0'), number->IntegerDigits.size());
    std::int64_t order = number->Exponent;
    if (integerZeros < number->IntegerDigits.size()) {
      order += static_cast<std::int64_t>(number->IntegerDigits.size() - integerZeros);
    } else {
      order -= static_cast<std::int64_t>(number->FractionDigits.find_first_not_of(u'0'));
    }
    if (order > 0) return std::nullopt;
    return number->Negative ? -0.0f : 0.0f;
  }
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

std::optional<bool> ToBool(const Item& item) {
  if (item.Quoted) return std::nullopt;
  const std::u16string_view text = TrimSpaces(item.Text);
  if (text == kTrue) return true;
  if (text == kFalse) return false;
  const std::optional<Decimal> number = ParseDecimal(text, true);
  if (!number) return std::nullopt;
  return HasNonZeroDigit(number->IntegerDigits) || HasNonZeroDigit(number->FractionDigits);
}

std::optional<DateTime> ToDateTime(const Item& item) {
  if (item.Quoted) return std::nullopt;
  std::u16string_view text = TrimSpaces(item.Text);
  if (!text.empty() && text.front() == u'#') {
    if (text.size() < 2 || text.back() != u'#') return std::nullopt;
    text = text.substr(1, text.size() - 2);
  }
  DateTime value;
  std::size_t position = 0;
  if (!ReadNumber(text, position, 4, value.Year) || position != 4) return std::nullopt;
  if (!Expect(text, position, u'-') || !ReadNumber(text, position, 2, value.Month) ||
      !Expect(text, position, u'-') || !ReadNumber(text, position, 2, value.Day)) {
    return std::nullopt;
  }
  if (position < text.size()) {
    if (!Expect(text, position, u' ') || !ReadNumber(text, position, 2, value.Hour) ||
        !Expect(text, position, u':') || !ReadNumber(text, position, 2, value.Minute) ||
        !Expect(text, position, u':') || !ReadNumber(text, position, 2, value.Second) ||
        position != text.size()) {
      return std::nullopt;
    }
  }
  if (!value.IsValid()) return std::nullopt;
  return value;
}

std::u16string FormatSingle(float value) {
  if (value == 0.0f) return u"0";  // also -0, which would otherwise keep its sign
  // to_chars never looks at the locale, so the separator stays a period.
  char buffer[64];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
  const char* digits = buffer;
  std::u16string out;
  if (*digits == '-') {
    out.push_back(u'-');
    ++digits;
  }
  if (result.ptr - digits > 1 && digits[0] == '0' && digits[1] == '.') ++digits;
  for (const char* c = digits; c != result.ptr; ++c) {
    out.push_back(*c == 'e' ? u'E' : static_cast<char16_t>(*c));
  }
  return out;
}

void ItemWriter::Separate() {
  if (lineHasItem_) text_.push_back(u',');
  lineHasItem_ = true;
}

void ItemWriter::WriteString(std::u16string_view text) {
  Separate();
  text_.push_back(u'"');
  text_.append(text);
  text_.push_back(u'"');
}

void ItemWriter::WriteInt(std::int64_t value) {
  Separate();
  char buffer[24];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  AppendAscii(text_, buffer, result.ptr);
}

void ItemWriter::WriteSingle(float value) {
  Separate();
  text_.append(FormatSingle(value));
}

void ItemWriter::WriteBool(bool value) {
  Separate();
  text_.append(value ? kTrue : kFalse);
}

void ItemWriter::WriteDateTime(const DateTime& value) {
  Separate();
  std::u16string formatted = FormatDateTime(value);
  if (value.Hour == 0 && value.Minute == 0 && value.Second == 0) {
    formatted.resize(formatted.find(u' '));
  }
  text_.push_back(u'#');
  text_.append(formatted);
  text_.push_back(u'#');
}

void ItemWriter::EndLine() {
  text_.append(u"\r\n");
  lineHasItem_ = false;
}

}  // namespace quillon::itemfile
