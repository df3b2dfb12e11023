// Searching a book: what matches what, hits across row breaks, slices, the cap on stored hits,
// and a word counted through a whole novel.

#include "book/book_search.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_rows.h"
#include "platform/codepage.h"
#include "support/test_books.h"

namespace quillon {

void PrintTo(const SearchHit& hit, std::ostream* out) {
  *out << "{line " << hit.Line << ", offset " << hit.Offset << ", length " << hit.Length << "}";
}

namespace {

std::vector<SearchHit> AllHits(const BookText& book, std::u16string_view needle) {
  BookSearch search(needle);
  search.Step(book, book.Count());
  EXPECT_TRUE(search.Done());
  return search.Hits();
}

TEST(BookSearch, FindsWhatAReaderLooksFor) {
  struct Case {
    const char* catches;
    std::u16string line;
    std::u16string needle;
    std::vector<std::int32_t> offsets;
  };
  const Case cases[] = {
      {"a Chinese phrase", u"宝玉道：宝玉", u"宝玉", {0, 4}},
      {"ASCII letters in any case", u"Abc aBC abc", u"ABC", {0, 4, 8}},
      {"full-width letters and digits match half-width",
       u"ＡＢＣ１ abc1 ａｂｃ１",
       u"abc1",
       {0, 5, 10}},
      {"a full-width needle matches half-width text", u"Room 101", u"ｒｏｏｍ １０１", {0}},
      {"punctuation is not folded", u"a．b a.b", u"a.b", {4}},
      {"hits do not overlap", u"aaaaa", u"aa", {0, 2}},
      {"a simplified phrase finds traditional text", u"他的頭髮乾淨，头发", u"头发", {2, 7}},
      {"a traditional phrase finds simplified text", u"后来，後來", u"後來", {0, 3}},
      {"a character of many traditional forms", u"乾隆 幹部 干支", u"干", {0, 3, 6}},
      {"characters fold one by one, not as phrases", u"皇后 皇後", u"皇后", {0, 3}},
      {"a needle longer than the line", u"ab", u"abc", {}},
      {"the empty needle finds nothing", u"abc", u"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    std::vector<SearchHit> expected;
    for (const std::int32_t offset : c.offsets) {
      expected.push_back({0, offset, static_cast<std::int32_t>(c.needle.size())});
    }
    const std::vector<SearchHit> hits = AllHits(BookText::FromText(c.line), c.needle);
    EXPECT_EQ(hits, expected);
  }
  EXPECT_TRUE(BookSearch(u"").Done());

  // At 10 characters a row the phrase starts in the indented first row (8 characters) and ends
  // in the second: rows are views of the line, so it is still one hit.
  const BookText book = BookText::FromText(u"前言\r\n一二三四五六七宝玉读书八九十\r\n");
  const std::vector<SearchHit> hits = AllHits(book, u"宝玉读书");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0], (SearchHit{1, 7, 4}));
  RowTable rows;
  rows.Wrap(book, WrapMetrics{10, 3, 4});
  EXPECT_EQ(rows.RowOfPosition(book, hits[0].Line, hits[0].Offset), 1);
  EXPECT_EQ(rows.RowOfPosition(book, hits[0].Line, hits[0].Offset + hits[0].Length - 1), 2);
  EXPECT_EQ(HitContext(book, hits[0], 2), u"六七宝玉读书八九");
  EXPECT_EQ(HitContext(book, hits[0], 100), book.Line(1));

  // 1500 hits over 300 lines: a line at a time finds what one step finds; 1000 are kept.
  std::u16string text;
  for (int line = 0; line < 300; ++line) text += u"x-X-ｘ-Ｘ-x\r\n";
  const BookText many = BookText::FromText(text);
  BookSearch sliced(u"x");
  int steps = 0;
  while (!sliced.Step(many, 1)) {
    ++steps;
    EXPECT_EQ(sliced.NextLine(), steps);
    EXPECT_EQ(sliced.TotalHits(), 5 * steps);
  }
  EXPECT_EQ(steps, 299);
  EXPECT_EQ(sliced.TotalHits(), 1500);
  ASSERT_EQ(sliced.Hits().size(), BookSearch::kMaxStoredHits);
  EXPECT_EQ(sliced.Hits().back(), (SearchHit{199, 8, 1}));
  BookSearch whole(u"x");
  whole.Step(many, many.Count());
  EXPECT_EQ(whole.TotalHits(), 1500);
  EXPECT_EQ(whole.Hits(), sliced.Hits());

  const std::optional<BookText> novel =
      ReadBookFile(codepage::DecodeUtf8((fake::TestBooksDir() / "hongloumeng.gbk.txt").string()))
          .Text;
  ASSERT_TRUE(novel.has_value());
  BookSearch search(u"宝玉");
  search.Step(*novel, novel->Count());
  // Counted in the UTF-8 text of the file with a script.
  EXPECT_EQ(search.TotalHits(), 3861);
  for (const SearchHit& hit : search.Hits()) {
    ASSERT_EQ(novel->Line(hit.Line).substr(static_cast<std::size_t>(hit.Offset), 2), u"宝玉");
  }
}

}  // namespace
}  // namespace quillon
