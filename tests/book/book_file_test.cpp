// Reading books: the encodings a real book arrives in, damaged bytes, the item rules that split
// lines, and files that cannot be read.

#include "book/book_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "book/book_rows.h"
#include "platform/codepage.h"
#include "support/temp_dir.h"
#include "support/test_books.h"

namespace quillon {
namespace {

std::vector<std::u16string> LinesOf(const BookText& book) {
  std::vector<std::u16string> lines;
  for (std::int32_t i = 0; i < book.Count(); ++i) lines.emplace_back(book.Line(i));
  return lines;
}

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
  std::string bytes;
  for (char16_t c : text) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(BookLines, FollowTheItemRules) {
  struct Case {
    const char* catches;
    std::u16string text;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {"ASCII commas split a line", u"a,b,c\r\n", {u"a", u"b", u"c"}},
      {"full-width commas do not", u"a，b，c\r\n", {u"a，b，c"}},
      {"ASCII spaces before a line go", u"    第一回\r\n", {u"第一回"}},
      {"an ideographic space stays", u"　　第一回\r\n", {u"　　第一回"}},
      {"a blank line is an empty line", u"a\r\n\r\nb\r\n", {u"a", u"", u"b"}},
      {"a last line without a line end counts", u"a\r\nb", {u"a", u"b"}},
      {"quotes are dropped, the text behind them kept",
       u"\"他说，好\"是,x\r\n",
       {u"他说，好是", u"x"}},
      {"lone CR and LF end lines too", u"a\rb\nc", {u"a", u"b", u"c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    EXPECT_EQ(LinesOf(BookText::FromText(c.text)), c.lines);
  }
  EXPECT_EQ(BookText::FromText(u"").Count(), 0);
  // Lines split off at a comma, quoted or not, keep the line of the file they were read from.
  const BookText split = BookText::FromText(u"a,\"b,c\",d\r\n\r\ne,f");
  std::vector<std::int32_t> fileLines;
  for (std::int32_t i = 0; i < split.Count(); ++i) fileLines.push_back(split.FileLineOf(i));
  EXPECT_EQ(fileLines, (std::vector<std::int32_t>{0, 0, 0, 1, 2, 2}));
}

TEST(BookEncodings, EveryEncodingABookArrivesIn) {
  const std::u16string text = u"　　话说天下大势，分久必合。\r\nEnglish, too\r\n鎔𠀀\r\n";
  const std::vector<std::u16string> lines = {u"　　话说天下大势，分久必合。", u"English", u"too",
                                             u"鎔𠀀"};
  struct Case {
    const char* encoding;
    std::string bytes;
  };
  const Case cases[] = {
      {"GB18030", codepage::EncodeGb18030(text)},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + codepage::EncodeUtf8(text)},
      {"UTF-8 without a mark", codepage::EncodeUtf8(text)},
      {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(text, false)},
      {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(text, true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    EXPECT_EQ(LinesOf(DecodeBook(c.bytes)), lines);
  }
}

TEST(BookEncodings, DamagedBytesBecomeReplacementsAndNothingBehindThemIsLost) {
  const std::string bytes = codepage::EncodeGb18030(u"第一") + "\xFF\x81" + "\r\n" +
                            codepage::EncodeGb18030(u"回目") + "\x81";
  EXPECT_EQ(LinesOf(DecodeBook(bytes)),
            (std::vector<std::u16string>{u"第一\uFFFD\uFFFD", u"回目\uFFFD"}));
}

// Decoded chunk by chunk, in pieces cut at line feeds on several threads, with the text behind
// long runs of blank lines written over, a book is line for line what its text split whole makes
// of it: novels in every encoding, a paragraph without a line break, blank lines between text,
// and junk.
TEST(BookEncodings, ReadingOnSeveralThreadsGivesTheSameLines) {
  std::mt19937 random(16);
  std::string junk(300000, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  const std::u16string novel = codepage::DecodeGb18030(fake::ReadTestBook("rulinwaishi.gbk.txt"));
  std::u16string paragraph;
  while (paragraph.size() < 400000)
    paragraph += u"话说天下大势，分久必合，合久必分𠀀。\"quoted, \"";
  std::u16string blankRuns;
  for (int run = 0; run < 40; ++run) {
    blankRuns += paragraph.substr(0, 3000 + run * 131) + u"\r\n";
    for (int blank = 0; blank < 9000 + run * 77; ++blank) blankRuns += u"\r\n";
  }
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<BookEncoding> encoding;
  };
  const Case cases[] = {
      {"GB18030", codepage::EncodeGb18030(novel), std::nullopt},
      {"Big5", codepage::EncodeBig5(novel), std::nullopt},
      {"UTF-8", "\xEF\xBB\xBF" + codepage::EncodeUtf8(novel), std::nullopt},
      {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(novel, false), std::nullopt},
      {"UTF-16 BE", Utf16Bytes(novel, true), BookEncoding::Utf16BE},
      {"a paragraph in GB18030", codepage::EncodeGb18030(paragraph), std::nullopt},
      {"a paragraph in UTF-8", codepage::EncodeUtf8(paragraph), std::nullopt},
      {"a paragraph in UTF-16", Utf16Bytes(paragraph, false), BookEncoding::Utf16LE},
      {"blank lines", std::string(200000, '\n') + "\r\n\r", std::nullopt},
      {"runs of blank lines between paragraphs", codepage::EncodeGb18030(blankRuns), std::nullopt},
      {"junk as GB18030", junk, BookEncoding::Gb18030},
      {"junk as UTF-8", junk, BookEncoding::Utf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DetectedEncoding detected = DetectBookEncoding(c.bytes);
    std::u16string decoded;
    DecodeAs(c.encoding.value_or(detected.Encoding),
             std::string_view(c.bytes).substr(c.encoding ? 0 : detected.MarkLength), decoded);
    const BookText alone = BookText::FromText(decoded);
    ASSERT_GT(alone.Count(), 0);
    for (int threads : {1, 2, 3, 4}) {
      SCOPED_TRACE(threads);
      const BookText together = DecodeBook(c.bytes, c.encoding, threads);
      ASSERT_EQ(together.Count(), alone.Count());
      for (std::int32_t i = 0; i < alone.Count(); ++i) {
        ASSERT_TRUE(together.Line(i) == alone.Line(i)) << "line " << i;
        ASSERT_EQ(together.FileLineOf(i), alone.FileLineOf(i));
      }
      // A walk from any line, across the pieces' seams, names the same lines.
      for (const std::int32_t from : {0, alone.Count() / 3, alone.Count() - 1}) {
        std::int32_t next = from;
        together.ForEachLine(from, alone.Count(), [&](std::int32_t i, std::u16string_view line) {
          ASSERT_EQ(i, next++);
          ASSERT_TRUE(line == alone.Line(i)) << "line " << i;
        });
        ASSERT_EQ(next, alone.Count());
      }
    }
  }
}

class BookFileTest : public ::testing::Test {
 protected:
  std::optional<BookText> Read(const std::string& relative) {
    return ReadBookFile(codepage::DecodeUtf8(dir.path() + "/" + relative)).Text;
  }
  fake::TempDir dir;
};

TEST_F(BookFileTest, CharactersAcrossTheReadingPiecesStayWhole) {
  // Long runs of Chinese without a byte below 0x30, with four-byte characters, around the 1 MB
  // pieces the file is read in.
  std::u16string text;
  while (text.size() < 1400000) text += u"鎔𠀀中文㐀";
  text += u"\r\n尾";
  dir.Write("big.txt", codepage::EncodeGb18030(text));
  dir.Write("big8.txt", "\xEF\xBB\xBF" + codepage::EncodeUtf8(text));
  for (const char* name : {"big.txt", "big8.txt"}) {
    SCOPED_TRACE(name);
    const std::optional<BookText> book = Read(name);
    ASSERT_TRUE(book.has_value());
    ASSERT_EQ(book->Count(), 2);
    EXPECT_TRUE(book->Line(0) == std::u16string_view(text).substr(0, text.size() - 3));
    EXPECT_EQ(book->Line(1), u"尾");
  }
}

TEST_F(BookFileTest, WhatCannotBeReadIsNotABook) {
  EXPECT_FALSE(Read("missing.txt").has_value());
  dir.Write("folder.txt/inside", "x");
  EXPECT_FALSE(Read("folder.txt").has_value());
  dir.Write("empty.txt", "");
  ASSERT_TRUE(Read("empty.txt").has_value());
  EXPECT_EQ(Read("empty.txt")->Count(), 0);
}

TEST(TestBooks, ReadWholeAndClean) {
  struct Case {
    const char* name;
    std::int32_t lines;
  };
  for (const Case& c : {Case{"xiyouji.gbk.txt", 3312}, Case{"rulinwaishi.gbk.txt", 970}}) {
    SCOPED_TRACE(c.name);
    const std::optional<BookText> book =
        ReadBookFile(codepage::DecodeUtf8((fake::TestBooksDir() / c.name).string())).Text;
    ASSERT_TRUE(book.has_value());
    EXPECT_EQ(book->Count(), c.lines);
    for (std::int32_t i = 0; i < book->Count(); ++i) {
      ASSERT_EQ(book->Line(i).find(u'\uFFFD'), std::u16string_view::npos) << "line " << i;
    }
  }
}

// Whole novels, whose paragraphs run to nearly 3,000 characters, in the narrowest and widest rows
// of the metrics table and with both indents: the pages hold every character, in order.
TEST(TestBooks, EveryCharacterIsOnThePages) {
  for (const char* name : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    const std::optional<BookText> book =
        ReadBookFile(codepage::DecodeUtf8((fake::TestBooksDir() / name).string())).Text;
    ASSERT_TRUE(book.has_value()) << name;
    for (const WrapMetrics& metrics : {WrapMetrics{41, 25, 4}, WrapMetrics{72, 25, 4},
                                       WrapMetrics{23, 24, 8}, WrapMetrics{121, 30, 8}}) {
      SCOPED_TRACE(::testing::Message() << name << " at " << metrics.RowChars << " x "
                                        << metrics.PageRows << ", indent " << metrics.IndentWidth);
      // Every paragraph but an empty one and one of exactly RowChars - 1 characters is indented.
      std::u16string text;
      for (std::int32_t i = 0; i < book->Count(); ++i) {
        const std::int32_t length = book->LineLength(i);
        if (length > 0 && length != metrics.RowChars - 1) text.append(metrics.IndentWidth, u' ');
        text += book->Line(i);
      }
      RowTable rows;
      rows.Wrap(*book, metrics);
      std::u16string shown;
      const std::int32_t pages = PageCountOf(rows.Count(), metrics.PageRows);
      for (std::int32_t page = 0; page < pages; ++page) {
        for (const std::u16string& row :
             rows.Rows(*book, page * metrics.PageRows, metrics.PageRows)) {
          shown += row;
        }
      }
      EXPECT_EQ(shown.size(), text.size());
      EXPECT_TRUE(shown == text);
    }
  }
}

}  // namespace
}  // namespace quillon
