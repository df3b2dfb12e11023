// Wrapping lines into rows: the worked examples row by row, the edges around RowChars, and the
// promise that rows put back together give the line again, however long it is.

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

TEST(WrapRows, RowsGiveTheLineBackWhateverItsLength) {
  for (const WrapMetrics& metrics : {kSmall, WrapMetrics{41, 25, 4}, WrapMetrics{72, 25, 8},
                                     WrapMetrics{3, 1, 4}, WrapMetrics{1, 60, 4}}) {
    for (int length = 0; length <= (metrics.PageRows + 2) * metrics.RowChars + 3; ++length) {
      SCOPED_TRACE(::testing::Message()
                   << metrics.RowChars << "x" << metrics.PageRows << ", length " << length);
      const std::u16string line = Letters(length);
      const BookText text = BookText::FromText(u"\r\n" + line);
      RowTable table;
      table.Wrap(text, metrics);
      std::u16string joined;
      const int count = RowsOfLine(length, metrics);
      for (int row = 0; row < count; ++row) {
        const RowPiece piece = RowOfLine(length, row, metrics);
        ASSERT_GE(piece.Offset, 0);
        ASSERT_LE(piece.Offset + piece.Length, length);
        ASSERT_LE(piece.Length, metrics.RowChars + 1);
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
  // Counts and offsets stay exact for lines of any size a 32-bit length allows.
  for (const std::int32_t length : {40'000'000, INT32_MAX - 1, INT32_MAX}) {
    SCOPED_TRACE(length);
    const WrapMetrics metrics{41, 25, 4};
    const std::int32_t count = RowsOfLine(length, metrics);
    EXPECT_EQ(count, length / 41 + 1);
    std::int64_t next = 0;
    for (const std::int32_t row : {0, 1, 2, count - 2, count - 1}) {
      const RowPiece piece = RowOfLine(length, row, metrics);
      if (row <= 2) {
        EXPECT_EQ(piece.Offset, next);
      }
      EXPECT_EQ(piece.Offset, row == 0 ? 0 : std::int64_t{row} * 41 - 2);
      next = std::int64_t{piece.Offset} + piece.Length;
    }
    EXPECT_EQ(next, length);
  }
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
