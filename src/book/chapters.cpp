#include "book/chapters.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace quillon {

namespace {

// Room for 第一千二百三十四 and the like; a longer run of numerals is prose or a list.
constexpr std::size_t kMaxNumberLength = 10;
// 《》目录 and 【 】 fit; a longer lead-in is a sentence.
constexpr std::size_t kMaxPrefixLength = 8;
// Bare headings in a row that make a list, as a table of contents is.
constexpr std::size_t kContentsList = 3;
// How far ahead the passes over lines and titles ask for text they will read.
constexpr std::int32_t kLookAhead = 16;

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u3000';
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

constexpr bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr bool IsDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９');
}

// Punctuation, brackets, symbols and spaces: what may stand around a heading's words.
constexpr bool IsMark(char16_t c) {
  if (c < 0x80) return !IsAsciiLetter(c) && !(c >= u'0' && c <= u'9');
  if (c >= 0x2000 && c <= 0x206F) return true;        // dashes, quotes, ellipsis
  if (c >= 0x3000 && c <= 0x303F) return c != u'〇';  // ideographic space, 、。《》【】
  if (c >= 0xFF01 && c <= 0xFF65) {
    return !IsDigit(c) && !(c >= u'Ａ' && c <= u'Ｚ') && !(c >= u'ａ' && c <= u'ｚ');
  }
  return c == u'·';
}

// A heading in quotes is someone speaking of it.
bool IsQuote(char16_t c) {
  return c == u'"' || c == u'\'' || c == u'“' || c == u'‘' || c == u'「' || c == u'『';
}

// Every heading's number is read character by character, and a search through a list of
// numerals mispredicts its branches at every one; a table of all code units does not.
struct NumeralTable {
  constexpr NumeralTable() {
    for (std::int8_t& code : Code) code = -1;
    // The place in each row is the digit.
    constexpr std::u16string_view kDigits[] = {u"0123456789", u"０１２３４５６７８９",
                                               u"〇一二三四五六七八九", u"零壹贰叁肆伍陆柒捌玖",
                                               u"零壹貳參肆伍陸柒捌玖"};
    for (const std::u16string_view row : kDigits) {
      for (std::size_t place = 0; place < row.size(); ++place) {
        Code[row[place]] = static_cast<std::int8_t>(place);
      }
    }
    Code[u'两'] = 2;
    constexpr std::u16string_view kUnits[] = {u"十百千万", u"拾佰仟萬"};
    for (const std::u16string_view row : kUnits) {
      for (std::size_t place = 0; place < row.size(); ++place) {
        Code[row[place]] = static_cast<std::int8_t>(kTen + place);
      }
    }
    Code[u'廿'] = kTwenty;
    Code[u'卅'] = kThirty;
  }
  static constexpr std::int8_t kTen = 10;  // then 11 for a hundred, 12, 13 for ten thousand
  static constexpr std::int8_t kTwenty = 14, kThirty = 15;
  std::int8_t Code[0x10000] = {};  // -1 for what is no numeral
};

constexpr NumeralTable kNumerals;

struct Number {
  std::size_t End = 0;  // where the numerals stop
  std::uint64_t Value = 0;
};

// The numerals from `from` and their value as books write them: digit by digit (一零一, 120) or
// with units (一百零一), so a table of contents and the body agree however each writes it.
Number ReadNumber(std::u16string_view text, std::size_t from) {
  std::uint64_t digits = 0;  // read digit by digit
  std::uint64_t total = 0, section = 0, digit = 0;
  bool units = false;
  std::size_t i = from;
  for (; i < text.size() && i - from <= kMaxNumberLength; ++i) {
    const int code = kNumerals.Code[text[i]];
    if (code < 0) break;
    if (code < NumeralTable::kTen) {
      digits = digits * 10 + static_cast<std::uint64_t>(code);
      digit = static_cast<std::uint64_t>(code);
      continue;
    }
    units = true;
    if (code == NumeralTable::kTwenty || code == NumeralTable::kThirty) {
      section += code == NumeralTable::kTwenty ? 20 : 30;
    } else if (code == NumeralTable::kTen + 3) {
      total = (total + section + digit) * 10000;
      section = 0;
    } else {
      // 十二 is twelve: a unit without a digit before it counts once.
      constexpr std::uint64_t kUnits[] = {10, 100, 1000};
      section += (digit == 0 ? 1 : digit) * kUnits[code - NumeralTable::kTen];
    }
    digit = 0;
  }
  return {i, units ? total + section + digit : digits};
}

std::uint64_t RomanValue(std::u16string_view number) {
  const auto value = [](char16_t c) -> std::uint64_t {
    switch (c | 0x20) {
      case u'i':
        return 1;
      case u'v':
        return 5;
      case u'x':
        return 10;
      case u'l':
        return 50;
      case u'c':
        return 100;
      case u'd':
        return 500;
      case u'm':
        return 1000;
      default:
        return 0;
    }
  };
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < number.size(); ++i) {
    const std::uint64_t here = value(number[i]);
    if (i + 1 < number.size() && here < value(number[i + 1])) {
      total -= here;
    } else {
      total += here;
    }
  }
  return total;
}

constexpr std::u16string_view kPartWords = u"章回节節卷集部篇";
// Longer words first where one begins another.
constexpr std::u16string_view kNamedParts[] = {u"番外篇", u"序章", u"序言", u"楔子", u"引子",
                                               u"引言",   u"前言", u"尾声", u"尾聲", u"后记",
                                               u"後記",   u"番外", u"序"};
// Each two characters long.
constexpr std::u16string_view kLeadWords[] = {u"目录", u"目錄", u"正文"};
constexpr std::uint64_t kChapterKind = 30;

bool StartsWith(std::u16string_view text, std::u16string_view word) {
  return text.substr(0, word.size()) == word;
}

bool StartsWithChapter(std::u16string_view text) {
  constexpr std::u16string_view kWord = u"chapter";
  if (text.size() < kWord.size()) return false;
  for (std::size_t i = 0; i < kWord.size(); ++i) {
    if ((text[i] | 0x20) != kWord[i]) return false;
  }
  return true;
}

// The characters a trimmed heading may begin with, one bit each: the test every line of a book
// goes through, so it is one load, without the branches that random text would mispredict.
struct HeadingStarts {
  constexpr HeadingStarts() {
    for (std::size_t c = 0; c < 0x10000; ++c) {
      if (IsMark(static_cast<char16_t>(c))) Set(static_cast<char16_t>(c));
    }
    for (const char16_t c : std::u16string_view(u"第序楔引前尾后後番目正Cc")) Set(c);
  }
  constexpr void Set(char16_t c) { Bits[c / 64] |= std::uint64_t{1} << (c % 64); }
  constexpr bool Has(char16_t c) const { return (Bits[c / 64] >> (c % 64) & 1) != 0; }
  std::uint64_t Bits[0x10000 / 64] = {};
};

constexpr HeadingStarts kHeadingStarts;

std::size_t SkipPrefix(std::u16string_view line) {
  std::size_t i = 0;
  while (i < line.size() && i < kMaxPrefixLength) {
    const std::u16string_view rest = line.substr(i);
    if ((rest.front() == u'目' || rest.front() == u'正') &&
        std::any_of(std::begin(kLeadWords), std::end(kLeadWords),
                    [rest](std::u16string_view w) { return StartsWith(rest, w); })) {
      i += 2;
    } else if (IsMark(line[i]) && !IsQuote(line[i])) {
      ++i;
    } else {
      break;
    }
  }
  return i;
}

// A heading's part and number in one value, the same however the number is written: what a
// table of contents and the body share.
std::uint64_t NumberKey(std::uint64_t kind, std::uint64_t value) {
  return kind << 48 | (value & ((std::uint64_t{1} << 48) - 1));
}

struct HeadingWords {
  std::uint64_t Number = 0;  // NumberKey
  std::uint64_t Title = 0;   // TitleKey, 0 without a title
};

// The number and the title without its spaces, so a table of contents that pads its columns
// still matches; a 64-bit hash stands for them, as two titles colliding would also need the same
// number. 0 for a heading without a title.
std::uint64_t TitleKey(std::uint64_t number, std::u16string_view title) {
  std::uint64_t hash = 14695981039346656037u ^ number;
  bool titled = false;
  for (const char16_t c : title) {
    if (IsSpace(c)) continue;
    hash = (hash ^ c) * 1099511628211u;
    titled = true;
  }
  return titled ? hash | 1 : 0;
}

std::optional<HeadingWords> ReadHeading(std::u16string_view line) {
  const std::u16string_view text = line.substr(SkipPrefix(line));
  if (text.empty()) return std::nullopt;
  std::uint64_t number = 0;
  std::u16string_view rest;
  const auto startsText = [text](std::u16string_view word) { return StartsWith(text, word); };
  if (text.front() == u'第') {
    // The part word right after the number: 第一次 and 第二日 are prose.
    const Number read = ReadNumber(text, 1);
    if (read.End == 1 || read.End - 1 > kMaxNumberLength || read.End == text.size()) {
      return std::nullopt;
    }
    const std::size_t part = kPartWords.find(text[read.End]);
    if (part == std::u16string_view::npos) return std::nullopt;
    number = NumberKey(part, read.Value);
    rest = text.substr(read.End + 1);
  } else if (const auto named =
                 std::find_if(std::begin(kNamedParts), std::end(kNamedParts), startsText);
             named != std::end(kNamedParts)) {
    const Number read = ReadNumber(text, named->size());
    if (read.End - named->size() > kMaxNumberLength) return std::nullopt;
    const auto kind = kPartWords.size() + static_cast<std::size_t>(named - std::begin(kNamedParts));
    number = NumberKey(kind, read.Value);
    rest = text.substr(read.End);
    // 前言少述 and 引子里 are prose: a title stands apart from the word.
    if (!rest.empty() && !IsMark(rest.front())) return std::nullopt;
  } else if (StartsWithChapter(text)) {
    std::size_t start = 7;
    while (start < text.size() && text[start] == u' ') ++start;
    Number read = ReadNumber(text, start);
    if (read.End == start) {
      constexpr std::u16string_view kRoman = u"IVXLCDMivxlcdm";
      while (read.End < text.size() && kRoman.find(text[read.End]) != std::u16string_view::npos) {
        ++read.End;
      }
      read.Value = RomanValue(text.substr(start, read.End - start));
    }
    if (read.End == start || read.End - start > kMaxNumberLength) return std::nullopt;
    number = NumberKey(kChapterKind, read.Value);
    rest = text.substr(read.End);
    if (!rest.empty() && !IsMark(rest.front())) return std::nullopt;
  } else {
    return std::nullopt;
  }
  // Prose that happens to begin like a heading ends a clause or holds a sentence; a title does
  // neither (it may ask or exclaim: 第五章 什么？).
  const char16_t last = line.back();
  if (last == u'，' || last == u'。' || last == u'、' || last == u'；' || last == u',' ||
      last == u';' || last == u'．') {
    return std::nullopt;
  }
  if (rest.find_first_of(u"。．") != std::u16string_view::npos) return std::nullopt;
  return HeadingWords{number, TitleKey(number, rest)};
}

struct Found {
  std::int32_t Line;
  std::u16string_view Title;
  HeadingWords Words;
  bool HasText = false;  // a line of text follows before the next heading
};

// For each key, the last heading with text of its own that has it.
class LastWithText {
 public:
  void Add(std::uint64_t key, std::size_t index) { entries_.emplace_back(key, index); }
  void Prepare() {
    // Sorted by key, then index; the last of each key is what Later looks at.
    std::sort(entries_.begin(), entries_.end());
  }
  bool Later(std::uint64_t key, std::size_t index) const {
    const auto next =
        std::upper_bound(entries_.begin(), entries_.end(),
                         std::make_pair(key, std::numeric_limits<std::size_t>::max()));
    return next != entries_.begin() && std::prev(next)->first == key &&
           std::prev(next)->second > index;
  }

 private:
  std::vector<std::pair<std::uint64_t, std::size_t>> entries_;
};

// Entries of a table of contents: bare headings whose chapters come later with text. Within a
// list of kContentsList or more, the number is enough; a lone bare heading over a section (第一章,
// then 第一节) may share its number with a later volume's chapter, so it needs the same title.
std::vector<bool> ContentsEntries(const std::vector<Found>& found) {
  const std::size_t count = found.size();
  std::vector<bool> inList(count, false);
  bool anyList = false, anyLone = false;
  for (std::size_t start = 0; start < count;) {
    std::size_t end = start;
    while (end < count && !found[end].HasText) ++end;
    const bool list = end - start >= kContentsList;
    for (std::size_t k = start; k < end; ++k) inList[k] = list;
    anyList = anyList || list;
    anyLone = anyLone || (end > start && !list);
    start = end + 1;
  }
  // Most books have no bare headings, or only a list, and skip one or both tables.
  LastWithText numbers, titles;
  for (std::size_t k = 0; k < count; ++k) {
    if (!found[k].HasText) continue;
    if (anyList) numbers.Add(found[k].Words.Number, k);
    if (anyLone) titles.Add(found[k].Words.Title, k);
  }
  numbers.Prepare();
  titles.Prepare();
  std::vector<bool> entry(count, false);
  for (std::size_t k = 0; k < count; ++k) {
    if (found[k].HasText) continue;
    const HeadingWords& words = found[k].Words;
    entry[k] = inList[k] ? numbers.Later(words.Number, k)
                         : words.Title != 0 && titles.Later(words.Title, k);
  }
  return entry;
}

}  // namespace

std::vector<Chapter> FindChapters(const BookText& book) {
  // One walk in order, looking at most lines' first character only: a large book's lines lie far
  // apart, and finding each on its own would cost more than looking at it.
  std::vector<Found> found;
  book.ForEachLine(0, book.Count(), [&found](std::int32_t i, std::u16string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsSpace(line[start])) ++start;
    if (start == line.size()) return;
    if (kHeadingStarts.Has(line[start])) {
      const std::u16string_view trimmed = Trim(line.substr(start));
      if (trimmed.size() <= kMaxHeadingLength) {
        if (const std::optional<HeadingWords> words = ReadHeading(trimmed)) {
          found.push_back({i, trimmed, *words});
          return;
        }
      }
    }
    if (!found.empty()) found.back().HasText = true;
  });

  const std::vector<bool> contents = ContentsEntries(found);
  std::vector<std::size_t> kept;
  for (std::size_t k = 0; k < found.size(); ++k) {
    if (contents[k]) continue;
    if (!kept.empty() && found[kept.back()].Words.Number == found[k].Words.Number) {
      // The same chapter again: a bare one gives way to the one its text follows; a repeat inside
      // a chapter's text is a leftover of the page the book was copied from.
      if (!found[kept.back()].HasText) kept.back() = k;
      continue;
    }
    kept.push_back(k);
  }
  std::vector<Chapter> chapters;
  chapters.reserve(kept.size());
  for (std::size_t j = 0; j < kept.size(); ++j) {
    // The titles lie far apart in the text, as the lines did.
    if (j + kLookAhead < kept.size()) __builtin_prefetch(found[kept[j + kLookAhead]].Title.data());
    const Found& heading = found[kept[j]];
    chapters.push_back({heading.Line, std::u16string(heading.Title)});
  }
  return chapters;
}

std::int32_t ChapterAt(const std::vector<Chapter>& chapters, std::int32_t line) {
  const auto after =
      std::upper_bound(chapters.begin(), chapters.end(), line,
                       [](std::int32_t value, const Chapter& c) { return value < c.Line; });
  return static_cast<std::int32_t>(after - chapters.begin()) - 1;
}

}  // namespace quillon
