#include "book/book_search.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr char16_t kFullWidthOffset = u'Ａ' - u'A';

// The form a character is compared in: ASCII lower case for letters, ASCII for digits.
char16_t Fold(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  if (c < u'０' || c > u'ｚ') return c;
  if (c <= u'９') return static_cast<char16_t>(c - kFullWidthOffset);
  if (c >= u'Ａ' && c <= u'Ｚ') return static_cast<char16_t>(c - kFullWidthOffset + (u'a' - u'A'));
  if (c >= u'ａ') return static_cast<char16_t>(c - kFullWidthOffset);
  return c;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

BookSearch::BookSearch(std::u16string_view needle, std::int32_t firstLine)
    : nextLine_(std::max(firstLine, 0)) {
  needle_.reserve(needle.size());
  for (char16_t c : needle) needle_.push_back(Fold(c));
  done_ = needle_.empty();
  if (done_) return;
  const char16_t folded = needle_.front();
  std::fill(std::begin(first_), std::end(first_), folded);
  if (folded >= u'0' && folded <= u'9') {
    first_[1] = static_cast<char16_t>(folded + kFullWidthOffset);
  } else if (folded >= u'a' && folded <= u'z') {
    const auto upper = static_cast<char16_t>(folded - (u'a' - u'A'));
    first_[1] = upper;
    first_[2] = static_cast<char16_t>(folded + kFullWidthOffset);
    first_[3] = static_cast<char16_t>(upper + kFullWidthOffset);
  }
}

bool BookSearch::Step(const BookText& book, std::int32_t maxLines) {
  if (done_) return true;
  const std::int32_t end = static_cast<std::int32_t>(
      std::min<std::int64_t>(book.Count(), std::int64_t{nextLine_} + std::max(maxLines, 0)));
  book.ForEachLine(nextLine_, end, [this](std::int32_t index, std::u16string_view line) {
    SearchLine(line, index);
  });
  nextLine_ = std::max(nextLine_, end);
  done_ = nextLine_ >= book.Count();
  return done_;
}

void BookSearch::SearchLine(std::u16string_view line, std::int32_t index) {
  const std::size_t length = needle_.size();
  if (line.size() < length) return;
  const char16_t* const begin = line.data();
  const char16_t* const last = begin + (line.size() - length);  // where the last hit could start
  const char16_t a = first_[0], b = first_[1], c = first_[2], d = first_[3];
  const char16_t* const rest = needle_.data() + 1;
  // Almost every character fails the first test, so the loop is a few compares a character.
  for (const char16_t* p = begin; p <= last;) {
    const char16_t x = *p;
    if (x != a && x != b && x != c && x != d) {
      ++p;
      continue;
    }
    std::size_t k = 1;
    while (k < length && Fold(p[k]) == rest[k - 1]) ++k;
    if (k < length) {
      ++p;
      continue;
    }
    if (hits_.size() < kMaxStoredHits) {
      hits_.push_back(
          {index, static_cast<std::int32_t>(p - begin), static_cast<std::int32_t>(length)});
    }
    ++totalHits_;
    p += length;
  }
}

std::u16string HitContext(const BookText& book, const SearchHit& hit, int around) {
  if (hit.Line < 0 || hit.Line >= book.Count()) return {};
  const std::u16string_view line = book.Line(hit.Line);
  const auto size = static_cast<std::int64_t>(line.size());
  const std::int64_t reach = std::max(around, 0);
  std::int64_t start = std::clamp<std::int64_t>(std::int64_t{hit.Offset} - reach, 0, size);
  std::int64_t end =
      std::clamp<std::int64_t>(std::int64_t{hit.Offset} + hit.Length + reach, start, size);
  const auto at = [&line](std::int64_t i) { return line[static_cast<std::size_t>(i)]; };
  if (start > 0 && start < size && IsLowSurrogate(at(start)) && IsHighSurrogate(at(start - 1))) {
    --start;
  }
  if (end > start && end < size && IsHighSurrogate(at(end - 1)) && IsLowSurrogate(at(end))) ++end;
  return std::u16string(
      line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

}  // namespace quillon
