#include "book/book_search.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "book/script_convert.h"

namespace quillon {

namespace {

constexpr char16_t kFullWidthOffset = u'Ａ' - u'A';

// The form a character is compared in, but for the script: ASCII lower case for letters, ASCII for
// digits.
char16_t FoldWidth(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  if (c < u'０' || c > u'ｚ') return c;
  if (c <= u'９') return static_cast<char16_t>(c - kFullWidthOffset);
  if (c >= u'Ａ' && c <= u'Ｚ') return static_cast<char16_t>(c - kFullWidthOffset + (u'a' - u'A'));
  if (c >= u'ａ') return static_cast<char16_t>(c - kFullWidthOffset);
  return c;
}

// Every character's form for comparing: its width and case folded as above, and a traditional
// character taken to its simplified one, each on its own, so a phrase typed in either script finds
// the book's text in either. Made once, when the first search starts.
struct FoldTable {
  std::array<char16_t, 0x10000> Form;
  // (form, character) for each character whose form is another, by form.
  std::vector<std::pair<char16_t, char16_t>> Others;
};

const FoldTable& Folds() {
  static const std::unique_ptr<FoldTable> table = [] {
    auto folds = std::make_unique<FoldTable>();
    for (std::size_t c = 0; c < folds->Form.size(); ++c) {
      folds->Form[c] = FoldWidth(static_cast<char16_t>(c));
    }
    if (const std::unique_ptr<ScriptConverter> converter =
            ScriptConverter::Open(ScriptConversion::ToSimplified)) {
      std::u16string ideographs;
      for (const auto& [from, to] :
           {std::pair{0x3400, 0x4DBF}, std::pair{0x4E00, 0x9FFF}, std::pair{0xF900, 0xFAFF}}) {
        for (int c = from; c <= to; ++c) ideographs.push_back(static_cast<char16_t>(c));
      }
      const std::u16string simplified = converter->ConvertEach(ideographs);
      for (std::size_t i = 0; i < ideographs.size(); ++i) {
        folds->Form[ideographs[i]] = simplified[i];
      }
    }
    for (std::size_t c = 0; c < folds->Form.size(); ++c) {
      if (folds->Form[c] != c) folds->Others.emplace_back(folds->Form[c], static_cast<char16_t>(c));
    }
    std::sort(folds->Others.begin(), folds->Others.end());
    return folds;
  }();
  return *table;
}

char16_t Fold(char16_t c) {
  return Folds().Form[c];
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
  std::vector<char16_t> forms;
  const FoldTable& folds = Folds();
  if (folds.Form[folded] == folded) forms.push_back(folded);
  const auto others = std::equal_range(
      folds.Others.begin(), folds.Others.end(), std::pair<char16_t, char16_t>{folded, 0},
      [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto other = others.first; other != others.second; ++other) forms.push_back(other->second);
  // A letter has four forms, a simplified character one to three traditional ones besides; the
  // few with more are compared through the table.
  manyForms_ = forms.size() > std::size(first_);
  forms.resize(std::size(first_), forms.empty() ? folded : forms.back());
  std::copy(forms.begin(), forms.end(), std::begin(first_));
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
  const char16_t folded = needle_.front();
  const auto& folds = Folds().Form;
  for (const char16_t* p = begin; p <= last;) {
    const char16_t x = *p;
    if (manyForms_ ? folds[x] != folded : (x != a && x != b && x != c && x != d)) {
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

char16_t SearchForm(char16_t c) {
  return Fold(c);
}

std::u16string HitContext(const BookText& book, const SearchHit& hit, int around) {
  if (hit.Line < 0 || hit.Line >= book.Count()) return {};
  const auto [start, length] = HitContextSpan(book, hit, around);
  return std::u16string(book.Line(hit.Line).substr(static_cast<std::size_t>(start),
                                                   static_cast<std::size_t>(length)));
}

std::pair<std::int32_t, std::int32_t> HitContextSpan(const BookText& book, const SearchHit& hit,
                                                     int around) {
  if (hit.Line < 0 || hit.Line >= book.Count()) return {0, 0};
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
  return {static_cast<std::int32_t>(start), static_cast<std::int32_t>(end - start)};
}

}  // namespace quillon
