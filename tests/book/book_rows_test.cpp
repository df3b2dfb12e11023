// Wrapping lines into rows: the worked examples row by row, punctuation at the cuts, the edges
// around RowChars, and the promise that rows put back together give the line again, however long
// it is.

#include "book/book_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

const WrapMetrics kSmall{10, 3, 4};  // RowChars 10, PageRows 3, indent 4

std::u16string Letters(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return text;
}

std::vector<std::u16string> RowsOf(const std::vector<std::u16string>& lines,
                                   const WrapMetrics& metrics) {
  std::u16string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += lines[i] + u"\r\n";
  const BookText text = BookText::FromText(joined);
  RowTable rows;
  rows.Wrap(text, metrics);
  return rows.Rows(text, 0, rows.Count());
}

TEST(WrapRows, TheWorkedExamples) {
  struct Example {
    const char* line;
    int length;  // -1: the empty line
    std::vector<std::u16string> rows;
  };
  const std::u16string s = Letters(40);
  const Example examples[] = {
      {"empty", 0, {u""}},
      {"8 characters: case d", 8, {u"    abcdefgh"}},
      {"9 characters: case c with k = 0", 9, {u"abcdefghi"}},
      {"10 characters", 10, {u"    abcdefgh", u"ij"}},
      {"19 characters", 19, {u"    abcdefgh", s.substr(8, 11)}},
      {"20 characters", 20, {u"    abcdefgh", u"ijklmnopqr", u"st"}},
      {"39 characters",
       39,
       {u"    " + s.substr(0, 8), s.substr(8, 10), s.substr(18, 10), s.substr(28, 11)}},
      {"40 characters: longer than a page, wrapped like any other",
       40,
       {u"    " + s.substr(0, 8), s.substr(8, 10), s.substr(18, 10), s.substr(28, 10),
        s.substr(38, 2)}},
  };
  for (const Example& example : examples) {
    SCOPED_TRACE(example.line);
    EXPECT_EQ(RowsOf({Letters(example.length)}, kSmall), example.rows);
  }
}

// Where a cut falls at punctuation it moves as Chinese text is set; elsewhere rows are the plain
// ones above. Rows of 10 characters, the first 8 behind an indent, the last up to 11.
TEST(WrapRows, PunctuationAtACutMoves) {
  struct Example {
    const char* what;
    std::u16string line;
    std::vector<std::u16string> rows;
  };
  const Example examples[] = {
      {"a closing mark joins the row before",
       u"abcdefgh，ijklmnopqrstu",
       {u"    abcdefgh，", u"ijklmnopqr", u"stu"}},
      {"two closing marks join it",
       u"abcdefgh。”ijklmnopqrstu",
       {u"    abcdefgh。”", u"ijklmnopqr", u"stu"}},
      {"a third stays where it falls",
       u"abcdefgh。”）ijklmnopqrst",
       {u"    abcdefgh。”", u"）ijklmnopq", u"rst"}},
      {"ASCII closing marks are closing marks", u"abcdefgh?!ijkl", {u"    abcdefgh?!", u"ijkl"}},
      {"an opening mark goes to the next row",
       u"abcdefg《hijklmnopqrs》",
       {u"    abcdefg", u"《hijklmnop", u"qrs》"}},
      {"two opening marks both go", u"abcdef“《ghijk", {u"    abcdef", u"“《ghijk"}},
      {"a row of opening marks keeps one",
       u"《《《《《《《《《《《《",
       {u"    《", u"《《《《《《《《《《《"}},
      {"a surrogate pair is not parted", u"abcdefg𠀀hijk", {u"    abcdefg𠀀", u"hijk"}},
      {"a closing mark after a pair still joins", u"abcdefg𠀀，hij", {u"    abcdefg𠀀，", u"hij"}},
      {"the marks that end the paragraph join its row rather than make one of their own",
       u"abcdefghijklmnopqr。”",
       {u"    abcdefgh", u"ijklmnopqr。”"}},
      {"an opening mark before a cut goes on with the last row",
       u"abcdefghijklmnopq“rstuvwxyz",
       {u"    abcdefgh", u"ijklmnopq", u"“rstuvwxyz"}},
      {"a line of RowChars - 1 stays one row, punctuation or not", u"abcdefgh，", {u"abcdefgh，"}},
  };
  for (const Example& example : examples) {
    SCOPED_TRACE(example.what);
    EXPECT_EQ(RowsOf({example.line}, kSmall), example.rows);
  }
}

TEST(WrapRows, EdgesAroundTheRowWidth) {
  // RowChars - 2 is indented, RowChars - 1 stands alone, RowChars makes a second row of 2.
  EXPECT_EQ(RowsOf({Letters(8)}, kSmall).front().substr(0, 4), u"    ");
  EXPECT_EQ(RowsOf({Letters(9)}, kSmall), std::vector<std::u16string>{Letters(9)});
  EXPECT_EQ(RowsOf({Letters(10)}, kSmall).back().size(), 2u);
  // Length mod RowChars = RowChars - 1 makes a last row of RowChars + 1.
  EXPECT_EQ(RowsOf({Letters(29)}, kSmall).back().size(), 11u);
  // A paragraph longer than a page keeps all its text and runs on to the next page.
  EXPECT_EQ(RowsOf({Letters(39)}, kSmall).size(), 4u);
  EXPECT_EQ(RowsOf({Letters(40)}, kSmall).size(), 5u);
  // Blank lines are rows like any other.
  EXPECT_EQ(RowsOf({u"", u"", u"", u"ab"}, kSmall),
            (std::vector<std::u16string>{u"", u"", u"", u"    ab"}));
}

// Text with punctuation of both kinds and surrogate pairs scattered through it.
std::u16string Prose(int count) {
  const char16_t* const pieces[] = {u"甲", u"乙", u"，", u"。”", u"“", u"《", u"》", u"𠀀", u"丙"};
  std::u16string text;
  for (int i = 0; static_cast<int>(text.size()) < count; ++i) text += pieces[(i * 7 + i / 5) % 9];
  text.resize(static_cast<std::size_t>(count));
  return text;
}

TEST(WrapRows, RowsGiveTheLineBackWhateverItsLength) {
  for (const WrapMetrics& metrics : {kSmall, WrapMetrics{41, 25, 4}, WrapMetrics{72, 25, 8},
                                     WrapMetrics{3, 1, 4}, WrapMetrics{1, 60, 4}}) {
    for (int length = 0; length <= (metrics.PageRows + 2) * metrics.RowChars + 3; ++length) {
      for (const std::u16string& line : {Letters(length), Prose(length)}) {
        SCOPED_TRACE(::testing::Message()
                     << metrics.RowChars << "x" << metrics.PageRows << ", length " << length);
        const BookText text = BookText::FromText(u"\r\n" + line);
        RowTable table;
        table.Wrap(text, metrics);
        std::u16string joined;
        const int count = RowsOfLine(line, metrics);
        ASSERT_EQ(table.RowsOf(text, 1), count);
        for (int row = 0; row < count; ++row) {
          const RowPiece piece = RowOfLine(line, row, metrics);
          ASSERT_GE(piece.Offset, 0);
          ASSERT_LE(piece.Offset + piece.Length, length);
          // Two closing marks taken in, and one more unit for a surrogate pair.
          ASSERT_LE(piece.Length, std::max(metrics.RowChars, 1) + 3);
          // A character's row is the one that shows it, at both ends of every row.
          if (piece.Length > 0) {
            ASSERT_EQ(table.RowOfPosition(text, 1, piece.Offset), 1 + row);
            ASSERT_EQ(table.RowOfPosition(text, 1, piece.Offset + piece.Length - 1), 1 + row);
          }
          joined += line.substr(static_cast<std::size_t>(piece.Offset),
                                static_cast<std::size_t>(piece.Length));
        }
        EXPECT_EQ(joined, line);
      }
    }
  }
}

// A paragraph of tens of thousands of rows keeps where some of them start: a page deep inside it
// is the same as cutting every row before it, and a place in it gives its row back.
TEST(WrapRows, APageDeepInAHugeParagraphIsFoundQuickly) {
  const WrapMetrics metrics{41, 25, 4};
  const std::u16string line = Prose(2'000'000);
  const BookText text = BookText::FromText(u"前言\r\n" + line + u"\r\n尾声\r\n");
  RowTable table;
  table.Wrap(text, metrics);
  std::vector<RowPiece> pieces;
  for (LineCutter cutter(line, metrics); !cutter.Done();) pieces.push_back(cutter.Next());
  ASSERT_EQ(table.Count(), static_cast<std::int32_t>(pieces.size()) + 2);
  ASSERT_EQ(table.RowsOf(text, 1), static_cast<std::int32_t>(pieces.size()));
  for (const std::int32_t row : {0, 1, 255, 256, 257, 511, 512, 30'000, 48'000}) {
    if (row >= static_cast<std::int32_t>(pieces.size())) continue;
    SCOPED_TRACE(row);
    const RowPiece& piece = pieces[static_cast<std::size_t>(row)];
    const RowPiece found = table.PieceOf(text, 1, row);
    EXPECT_EQ(found.Offset, piece.Offset);
    EXPECT_EQ(found.Length, piece.Length);
    const std::vector<std::u16string> rows = table.Rows(text, 1 + row, 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], std::u16string(row == 0 ? 4 : 0, u' ') +
                           line.substr(static_cast<std::size_t>(piece.Offset),
                                       static_cast<std::size_t>(piece.Length)));
    EXPECT_EQ(table.RowOfPosition(text, 1, piece.Offset), 1 + row);
    EXPECT_EQ(table.RowOfPosition(text, 1, piece.Offset + piece.Length - 1), 1 + row);
  }
  EXPECT_EQ(table.Rows(text, table.Count() - 1, 3), std::vector<std::u16string>{u"    尾声"});
  EXPECT_EQ(table.RowOfPosition(text, 2, 0), table.Count() - 1);
}

TEST(WrapRows, RowsAreFoundAcrossLinesFromAnyStart) {
  const std::u16string book = u"abc\r\n\r\n" + Letters(25) + u"\r\nxy\r\n";
  const BookText text = BookText::FromText(book);
  RowTable rows;
  rows.Wrap(text, kSmall);
  ASSERT_EQ(rows.Count(), 1 + 1 + 3 + 1);
  const std::vector<std::u16string> all = rows.Rows(text, 0, 6);
  for (int first = 0; first < 6; ++first) {
    SCOPED_TRACE(first);
    const std::vector<std::u16string> some = rows.Rows(text, first, 3);
    EXPECT_EQ(some, std::vector<std::u16string>(all.begin() + first,
                                                all.begin() + std::min(first + 3, 6)));
  }
  EXPECT_TRUE(rows.Rows(text, 6, 3).empty());
  EXPECT_TRUE(rows.Rows(text, -3, 3).empty());
  EXPECT_FALSE(rows.Row(text, 6).has_value());
  EXPECT_EQ(rows.Row(text, 5), u"    xy");
}

}  // namespace
}  // namespace quillon
