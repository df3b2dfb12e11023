#include "book/chapters.h"

#include <algorithm>
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
// A title run on from the part word of an indented line, longer than this, is the rest of a
// sentence: 　　第四集我没看过 reads on where 　　第十二章风起 stops.
constexpr std::size_t kShortTitle = 6;
// Where a listed title may start in its line, as a Chapter keeps it.
constexpr std::size_t kMostTitleFrom = 0xFFFF;

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
constexpr std::uint32_t kChapterKind = 30;

// For each part word, the characters that make a longer word of it: 第二回合 is a round of a
// game, 第三节课 a lesson, 第八集团 an army and 第五部电影 a film, not parts of a book.
constexpr std::u16string_view kLongerWords[] = {
    u"",                                // 章
    u"合",                              // 回合
    u"课车",                            // 节课 节车厢
    u"課車",                            // 節課 節車廂
    u"子纸",                            // 卷子 卷纸
    u"团團市中",                        // 集团 集團 集市 集中营
    u"电電队隊门門落长長手机機剧劇作",  // 部电影 部队 部门 部落 部长 部手机 部剧 部作品
    u"文论論作日报報",                  // 篇文章 篇论文 篇作文 篇日记 篇报道
};
// What goes on from a part word as a sentence does, never as a title: 第三章是他最喜欢的一章,
// 第一回的结尾, 第五回，他.
constexpr std::u16string_view kSentenceAfterPart = u"是的了里裡呢吗嗎吧啊就，,、。；;";
// What a sentence ends with.
constexpr std::u16string_view kSentenceEnds = u"。！？…!?．";

// What the reading of a heading asks of a character, one byte each: millions of heading-like
// lines each ask several questions, which searches through short lists answer slower.
struct CharClasses {
  static constexpr std::uint8_t kPart = 0x0F;  // 1 + the index in kPartWords, or 0
  static constexpr std::uint8_t kMark = 0x10;
  static constexpr std::uint8_t kGoesOnFromPart = 0x20;
  static constexpr std::uint8_t kSentenceEnd = 0x40;
  static constexpr std::uint8_t kFullStop = 0x80;  // a sentence inside a title
  constexpr CharClasses() {
    for (std::size_t c = 0; c < 0x10000; ++c) {
      if (IsMark(static_cast<char16_t>(c))) Bits[c] |= kMark;
    }
    for (std::size_t k = 0; k < kPartWords.size(); ++k) {
      Bits[kPartWords[k]] |= static_cast<std::uint8_t>(k + 1);
    }
    for (const char16_t c : quillon::kSentenceAfterPart) Bits[c] |= kGoesOnFromPart;
    for (const char16_t c : kSentenceEnds) Bits[c] |= kSentenceEnd;
    for (const char16_t c : std::u16string_view(u"。．")) Bits[c] |= kFullStop;
  }
  constexpr bool Is(char16_t c, std::uint8_t what) const { return (Bits[c] & what) != 0; }
  std::uint8_t Bits[0x10000] = {};
};

constexpr CharClasses kClasses;

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
    } else if (kClasses.Is(line[i], CharClasses::kMark) && !IsQuote(line[i])) {
      ++i;
    } else {
      break;
    }
  }
  return i;
}

// The bracket that closes `open`, or 0 when it opens none.
char16_t ClosingBracket(char16_t open) {
  constexpr std::u16string_view kOpen = u"【《〔［（(〈「『[";
  constexpr std::u16string_view kClose = u"】》〕］）)〉」』]";
  const std::size_t at = kOpen.find(open);
  return at == std::u16string_view::npos ? 0 : kClose[at];
}

std::size_t SkipSpaces(std::u16string_view text, std::size_t from, std::size_t most) {
  const std::size_t end = std::min(text.size(), from + most);
  while (from < end && IsSpace(text[from])) ++from;
  return from;
}

// An English number in words from `from` (Twenty-One, one hundred and five): where it ends and
// its value, or an end of `from` when no number word stands there.
Number ReadNumberWords(std::u16string_view text, std::size_t from) {
  constexpr std::u16string_view kWords[] = {
      u"zero",     u"one",     u"two",     u"three",     u"four",     u"five",    u"six",
      u"seven",    u"eight",   u"nine",    u"ten",       u"eleven",   u"twelve",  u"thirteen",
      u"fourteen", u"fifteen", u"sixteen", u"seventeen", u"eighteen", u"nineteen"};
  constexpr std::u16string_view kTens[] = {u"twenty", u"thirty",  u"forty",  u"fifty",
                                           u"sixty",  u"seventy", u"eighty", u"ninety"};
  Number number{from, 0};
  std::uint64_t section = 0;
  std::size_t at = from;
  while (at < text.size()) {
    std::size_t end = at;
    std::u16string word;
    while (end < text.size() && IsAsciiLetter(text[end]) && word.size() < 10) {
      word += static_cast<char16_t>(text[end++] | 0x20);
    }
    if (end < text.size() && IsAsciiLetter(text[end])) break;
    const auto is = [&word](std::u16string_view w) { return word == w; };
    if (const auto unit = std::find_if(std::begin(kWords), std::end(kWords), is);
        unit != std::end(kWords)) {
      section += static_cast<std::uint64_t>(unit - std::begin(kWords));
    } else if (const auto tens = std::find_if(std::begin(kTens), std::end(kTens), is);
               tens != std::end(kTens)) {
      section += 20 + 10 * static_cast<std::uint64_t>(tens - std::begin(kTens));
    } else if (word == u"hundred" && number.End > from) {
      section = (section == 0 ? 1 : section) * 100;
    } else if (word == u"thousand" && number.End > from) {
      number.Value += (section == 0 ? 1 : section) * 1000;
      section = 0;
    } else if (word != u"and" || number.End == from) {
      break;
    }
    if (word != u"and") number.End = end;
    // Words of one number are joined by a hyphen or a space.
    if (end + 1 < text.size() && (text[end] == u'-' || text[end] == u' ') &&
        IsAsciiLetter(text[end + 1])) {
      at = end + 1;
    } else {
      break;
    }
  }
  number.Value += section;
  return number;
}

// A heading's part and number in one value, the same however the number is written: what a
// table of contents and the body share. Numbers past eight million share their keys, which
// costs no more than a repeat of a chapter the book cannot have.
constexpr std::uint32_t kValueBits = 23;
std::uint32_t NumberKey(std::uint32_t kind, std::uint64_t value) {
  return kind << kValueBits | static_cast<std::uint32_t>(value & ((1u << kValueBits) - 1));
}

// The number and the title without its spaces, so a table of contents that pads its columns
// still matches; a 64-bit hash stands for them, as two titles colliding would also need the same
// number. 0 for a heading without a title.
std::uint64_t TitleKey(std::uint32_t number, std::u16string_view title) {
  std::uint64_t hash = 14695981039346656037u ^ number;
  bool titled = false;
  for (const char16_t c : title) {
    if (IsSpace(c)) continue;
    hash = (hash ^ c) * 1099511628211u;
    titled = true;
  }
  return titled ? hash | 1 : 0;
}

struct Heading {
  std::uint32_t Number = 0;  // NumberKey
  std::size_t From = 0;      // where the listed title starts in the trimmed line
  // Where the bracket that closes one before From stands in the trimmed line; npos for none.
  std::size_t Closing = std::u16string_view::npos;
  std::size_t End = 0;       // where the trimmed line ends
  std::u16string_view Rest;  // what follows the numbered word: the title, told apart by TitleKey
};

// `line` is trimmed; `indented` when spaces stood before it.
std::optional<Heading> ReadHeading(std::u16string_view line, bool indented) {
  const std::size_t from = SkipPrefix(line);
  const std::u16string_view text = line.substr(from);
  if (text.empty()) return std::nullopt;
  Heading heading;
  heading.From = from;
  heading.End = line.size();
  const auto startsText = [text](std::u16string_view word) { return StartsWith(text, word); };
  if (text.front() == u'第') {
    // The part word right after the number, a space either side allowed (第 3 章): 第一次 and
    // 第二日 are prose.
    const std::size_t numberStart = SkipSpaces(text, 1, 2);
    const Number read = ReadNumber(text, numberStart);
    if (read.End == numberStart || read.End - numberStart > kMaxNumberLength) return std::nullopt;
    const std::size_t partAt = SkipSpaces(text, read.End, 2);
    if (partAt == text.size()) return std::nullopt;
    const std::size_t part = kClasses.Bits[text[partAt]] & CharClasses::kPart;
    if (part == 0) return std::nullopt;
    heading.Number = NumberKey(static_cast<std::uint32_t>(part - 1), read.Value);
    heading.Rest = text.substr(partAt + 1);
    if (!heading.Rest.empty() &&
        (kClasses.Is(heading.Rest.front(), CharClasses::kGoesOnFromPart) ||
         kLongerWords[part - 1].find(heading.Rest.front()) != std::u16string_view::npos)) {
      return std::nullopt;
    }
  } else if (const auto named =
                 std::find_if(std::begin(kNamedParts), std::end(kNamedParts), startsText);
             named != std::end(kNamedParts)) {
    const Number read = ReadNumber(text, named->size());
    if (read.End - named->size() > kMaxNumberLength) return std::nullopt;
    const auto kind = kPartWords.size() + static_cast<std::size_t>(named - std::begin(kNamedParts));
    heading.Number = NumberKey(static_cast<std::uint32_t>(kind), read.Value);
    heading.Rest = text.substr(read.End);
    // 前言少述 and 引子里 are prose: a title stands apart from the word.
    if (!heading.Rest.empty() && !kClasses.Is(heading.Rest.front(), CharClasses::kMark)) {
      return std::nullopt;
    }
  } else if (StartsWithChapter(text)) {
    std::size_t start = 7;
    while (start < text.size() && text[start] == u' ') ++start;
    Number read = ReadNumber(text, start);
    if (read.End == start) read = ReadNumberWords(text, start);
    if (read.End == start) {
      constexpr std::u16string_view kRoman = u"IVXLCDMivxlcdm";
      while (read.End < text.size() && kRoman.find(text[read.End]) != std::u16string_view::npos) {
        ++read.End;
      }
      read.Value = RomanValue(text.substr(start, read.End - start));
    }
    if (read.End == start || read.End - start > kMaxNumberLength + 20) return std::nullopt;
    heading.Number = NumberKey(kChapterKind, read.Value);
    heading.Rest = text.substr(read.End);
    if (!heading.Rest.empty() && !kClasses.Is(heading.Rest.front(), CharClasses::kMark)) {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  // Prose that happens to begin like a heading ends a clause or holds a sentence; a title does
  // neither (it may ask or exclaim: 第五章 什么？).
  const char16_t last = line.back();
  if (last == u'，' || last == u'。' || last == u'、' || last == u'；' || last == u',' ||
      last == u';' || last == u'．' || last == u'.') {
    return std::nullopt;
  }
  if (std::any_of(heading.Rest.begin(), heading.Rest.end(),
                  [](char16_t c) { return kClasses.Is(c, CharClasses::kFullStop); })) {
    return std::nullopt;
  }
  // Paragraphs are indented and headings often are too; one whose words run on from the part
  // word as a sentence's do is a paragraph.
  if (indented && !heading.Rest.empty() && !kClasses.Is(heading.Rest.front(), CharClasses::kMark) &&
      (heading.Rest.size() > kShortTitle || kClasses.Is(last, CharClasses::kSentenceEnd))) {
    return std::nullopt;
  }
  // 【第五章】逃离 is listed as 第五章 逃离.
  if (from > 0) {
    std::size_t open = from;
    while (open > 0 && IsSpace(line[open - 1])) --open;
    if (const char16_t closing = open > 0 ? ClosingBracket(line[open - 1]) : 0; closing != 0) {
      heading.Closing = line.find(closing, from);
    }
  }
  return heading;
}

// While the walk finds headings, each chapter's Title holds what is known of its heading instead:
// its NumberKey, the lines of text after it (none, one short line such as an author's name under
// a table of contents or 正文, or more) and how many bare headings of its number right before it
// were folded into it (they count towards a list). A book of millions of headings so keeps them
// in the one array it returns, and each gets its title once it is known to be kept.
constexpr std::uint32_t NumberOf(const Chapter& c) {
  return c.Title >> 4;
}
constexpr std::uint32_t TextOf(const Chapter& c) {
  return c.Title >> 2 & 3;
}
constexpr std::uint32_t RepeatsOf(const Chapter& c) {
  return c.Title & 3;
}
constexpr std::uint32_t Walked(std::uint32_t number, std::uint32_t text, std::uint32_t repeats) {
  return number << 4 | text << 2 | repeats;
}
static_assert(kValueBits + 5 + 4 <= 32, "a kind, a value and the walk's counts fit in a Title");

// A line read again as the walk read it: the heading's places counted in the untrimmed line.
std::optional<Heading> ReadHeadingAgain(std::u16string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsSpace(line[start])) ++start;
  std::optional<Heading> heading = ReadHeading(Trim(line.substr(start)), start > 0);
  if (heading) {
    heading->From += start;
    heading->End += start;
    if (heading->Closing != std::u16string_view::npos) heading->Closing += start;
  }
  return heading;
}

// For each key among the entries of a table of contents, the last heading with text that has it.
template <typename Key>
class LastWithText {
 public:
  void Want(Key key) { keys_.push_back(key); }
  void Prepare() {
    std::sort(keys_.begin(), keys_.end());
    keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
    last_.assign(keys_.size(), -1);
  }
  bool Wanted(Key key) const { return std::binary_search(keys_.begin(), keys_.end(), key); }
  void Add(Key key, std::size_t index) {
    const auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (at != keys_.end() && *at == key) {
      last_[static_cast<std::size_t>(at - keys_.begin())] = static_cast<std::int64_t>(index);
    }
  }
  bool Later(Key key, std::size_t index) const {
    const auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
    return at != keys_.end() && *at == key &&
           last_[static_cast<std::size_t>(at - keys_.begin())] > static_cast<std::int64_t>(index);
  }

 private:
  std::vector<Key> keys_;
  std::vector<std::int64_t> last_;
};

// Entries of a table of contents: bare headings whose chapters come later with text. Within a
// list of kContentsList or more, the number is enough; a lone bare heading over a section (第一章,
// then 第一节) may share its number with a later volume's chapter, so it needs the same title.
std::vector<bool> ContentsEntries(const BookText& book, const std::vector<Chapter>& found) {
  const std::size_t count = found.size();
  std::vector<bool> inList(count, false), lone(count, false);
  bool anyList = false, anyLone = false;
  for (std::size_t start = 0; start < count;) {
    std::size_t end = start, weight = 0;
    while (end < count && TextOf(found[end]) == 0) weight += 1 + RepeatsOf(found[end++]);
    const bool list = weight >= kContentsList;
    // A list's last entry may stand over a line of its own (the author, 正文) before the body.
    if (list && end < count && TextOf(found[end]) == 1) ++end;
    for (std::size_t k = start; k < end; ++k) {
      inList[k] = list;
      lone[k] = !list;
    }
    anyList = anyList || list;
    anyLone = anyLone || (end > start && !list);
    start = end > start ? end : start + 1;
  }
  std::vector<bool> entry(count, false);
  // Most books have no bare headings, or only a list, and skip one or both look-ups.
  if (anyList) {
    LastWithText<std::uint32_t> numbers;
    for (std::size_t k = 0; k < count; ++k) {
      if (inList[k]) numbers.Want(NumberOf(found[k]));
    }
    numbers.Prepare();
    for (std::size_t k = 0; k < count; ++k) {
      if (TextOf(found[k]) > 0) numbers.Add(NumberOf(found[k]), k);
    }
    for (std::size_t k = 0; k < count; ++k) {
      if (inList[k]) entry[k] = numbers.Later(NumberOf(found[k]), k);
    }
  }
  if (anyLone) {
    // Titles are read again only for headings of the numbers that lone bare ones have.
    LastWithText<std::uint32_t> numbers;
    for (std::size_t k = 0; k < count; ++k) {
      if (lone[k]) numbers.Want(NumberOf(found[k]));
    }
    numbers.Prepare();
    std::vector<std::uint64_t> keys(count, 0);
    std::vector<std::size_t> again;
    for (std::size_t k = 0; k < count; ++k) {
      if (numbers.Wanted(NumberOf(found[k]))) again.push_back(k);
    }
    if (!again.empty()) {
      std::size_t j = 0;
      book.VisitLines(found[again.front()].Line, found[again.back()].Line + 1,
                      [&](std::int32_t i, std::u16string_view line) {
                        if (j == again.size() || i != found[again[j]].Line) return;
                        if (const std::optional<Heading> heading = ReadHeadingAgain(line)) {
                          keys[again[j]] = TitleKey(heading->Number, heading->Rest);
                        }
                        ++j;
                      });
    }
    LastWithText<std::uint64_t> titles;
    for (std::size_t k = 0; k < count; ++k) {
      if (lone[k] && keys[k] != 0) titles.Want(keys[k]);
    }
    titles.Prepare();
    for (const std::size_t k : again) {
      if (TextOf(found[k]) > 0 && keys[k] != 0) titles.Add(keys[k], k);
    }
    for (std::size_t k = 0; k < count; ++k) {
      if (lone[k] && !inList[k]) entry[k] = keys[k] != 0 && titles.Later(keys[k], k);
    }
  }
  return entry;
}

}  // namespace

std::u16string ChapterTitle(const BookText& book, const Chapter& chapter) {
  if (chapter.Line < 0 || chapter.Line >= book.Count()) return {};
  return ChapterTitle(book.Line(chapter.Line), chapter);
}

std::u16string ChapterTitle(std::u16string_view line, const Chapter& chapter) {
  std::u16string title(
      line.substr(std::min<std::size_t>(chapter.TitleFrom(), line.size()), chapter.TitleLength()));
  if (chapter.Closing() > 0 && chapter.Closing() <= title.size()) {
    const std::size_t at = chapter.Closing() - 1;
    const bool spaced =
        at + 1 == title.size() || IsSpace(title[at + 1]) || (at > 0 && IsSpace(title[at - 1]));
    if (spaced) {
      title.erase(at, 1);
    } else {
      title[at] = u' ';
    }
  }
  return std::u16string(Trim(title));
}

std::vector<Chapter> FindChapters(const BookText& book) {
  // Room for a heading on every line, which costs nothing but address space until it is used:
  // growing the array would hold a book of millions of headings twice for a moment.
  std::vector<Chapter> found;
  found.reserve(static_cast<std::size_t>(book.Count()));
  // One walk in order, looking at most lines' first character only: a large book's lines lie far
  // apart, and finding each on its own would cost more than looking at it.
  book.ForEachLine(0, book.Count(), [&found](std::int32_t i, std::u16string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsSpace(line[start])) ++start;
    if (start == line.size()) return;
    if (kHeadingStarts.Has(line[start])) {
      const std::u16string_view trimmed = Trim(line.substr(start));
      if (trimmed.size() <= kMaxHeadingLength && start <= kMostTitleFrom - kMaxPrefixLength) {
        if (const std::optional<Heading> heading = ReadHeading(trimmed, start > 0)) {
          if (!found.empty() && TextOf(found.back()) == 0 &&
              NumberOf(found.back()) == heading->Number) {
            // The same bare heading again (or a list of one number): one entry, the last.
            Chapter& last = found.back();
            last.Line = i;
            last.Title = Walked(heading->Number, 0, std::min(RepeatsOf(last) + 1, 3u));
          } else {
            found.push_back({i, Walked(heading->Number, 0, 0)});
          }
          return;
        }
      }
    }
    if (!found.empty()) {
      Chapter& last = found.back();
      const bool shortLine = line.size() - start <= kMaxHeadingLength;
      last.Title = Walked(NumberOf(last), TextOf(last) == 0 && shortLine ? 1 : 2, RepeatsOf(last));
    }
  });

  const std::vector<bool> contents = ContentsEntries(book, found);
  // What is kept is moved to the front, in place.
  std::size_t kept = 0;
  for (std::size_t k = 0; k < found.size(); ++k) {
    if (contents[k]) continue;
    if (kept > 0 && NumberOf(found[kept - 1]) == NumberOf(found[k])) {
      // The same chapter again: a bare one gives way to the one its text follows; a repeat inside
      // a chapter's text is a leftover of the page the book was copied from.
      if (TextOf(found[kept - 1]) == 0) found[kept - 1] = found[k];
      continue;
    }
    found[kept++] = found[k];
  }
  found.resize(kept);
  if (found.empty()) return found;
  // Each kept heading is read again for its title, in one walk of the lines between.
  std::size_t next = 0;
  book.VisitLines(
      found.front().Line, found.back().Line + 1, [&](std::int32_t i, std::u16string_view line) {
        if (next == found.size() || i != found[next].Line) return;
        Chapter& chapter = found[next++];
        chapter.Title = 0;
        if (const std::optional<Heading> heading = ReadHeadingAgain(line)) {
          const std::size_t closing = heading->Closing == std::u16string_view::npos
                                          ? 0
                                          : heading->Closing - heading->From + 1;
          chapter = Chapter::At(i, heading->From, heading->End - heading->From, closing);
        }
      });
  return found;
}

std::int32_t ChapterAt(const std::vector<Chapter>& chapters, std::int32_t line) {
  const auto after =
      std::upper_bound(chapters.begin(), chapters.end(), line,
                       [](std::int32_t value, const Chapter& c) { return value < c.Line; });
  return static_cast<std::int32_t>(after - chapters.begin()) - 1;
}

}  // namespace quillon
