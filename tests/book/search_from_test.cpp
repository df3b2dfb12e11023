// Going on from a place in the book: every row's start found again, and next and previous hits
// from every hit, through books with more hits than a search keeps.

#include "book/search_from.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// Every hit of a phrase without folding, by plain string search: the places to compare with.
std::vector<BookPlace> PlainHits(const BookText& book, const std::u16string& phrase) {
  std::vector<BookPlace> places;
  for (std::int32_t line = 0; line < book.Count(); ++line) {
    const std::u16string_view text = book.Line(line);
    for (std::size_t at = text.find(phrase); at != std::u16string_view::npos;
         at = text.find(phrase, at + phrase.size())) {
      places.push_back({line, static_cast<std::int32_t>(at)});
    }
  }
  return places;
}

TEST(SearchFrom, NextAndPreviousFromAnyPlace) {
  struct Case {
    const char* catches;
    std::u16string text;
    std::u16string phrase;
  };
  std::u16string crowded, sparse;
  // 2400 hits, many a line: past the thousand a search keeps, it must start again.
  for (int line = 0; line < 600; ++line) crowded += u"宝玉甲宝玉乙宝玉丙宝玉\r\n";
  // Two hits thousands of lines apart: the backward windows must grow to reach the first.
  sparse = u"开头宝玉\r\n";
  for (int line = 0; line < 5000; ++line) sparse += u"没有\r\n";
  sparse += u"结尾宝玉\r\n";
  const Case cases[] = {
      {"many hits on many lines", crowded, u"宝玉"},
      {"hits far apart", sparse, u"宝玉"},
      {"a phrase found nowhere", sparse, u"红楼"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.catches);
    const BookText book = BookText::FromText(c.text);
    const std::vector<BookPlace> hits = PlainHits(book, c.phrase);
    // From every hit, from the character after it and from the start: the neighbours.
    for (std::size_t i = 0; i < hits.size(); i += 7) {
      SCOPED_TRACE(i);
      const BookPlace at = hits[i];
      const auto next = FindHitFrom(book, c.phrase, {at.Line, at.Offset + 1});
      const auto same = FindHitFrom(book, c.phrase, at);
      const auto previous = FindHitBefore(book, c.phrase, at);
      ASSERT_TRUE(same.has_value());
      EXPECT_EQ(same->Line, at.Line);
      EXPECT_EQ(same->Offset, at.Offset);
      if (i + 1 < hits.size()) {
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(PlaceOf(*next).Line, hits[i + 1].Line);
        EXPECT_EQ(PlaceOf(*next).Offset, hits[i + 1].Offset);
      }
      if (i > 0) {
        ASSERT_TRUE(previous.has_value());
        EXPECT_EQ(previous->Line, hits[i - 1].Line);
        EXPECT_EQ(previous->Offset, hits[i - 1].Offset);
      } else {
        EXPECT_FALSE(previous.has_value());
      }
    }
    if (hits.empty()) {
      EXPECT_FALSE(FindHitFrom(book, c.phrase, {}).has_value());
      EXPECT_FALSE(FindHitBefore(book, c.phrase, {book.Count(), 0}).has_value());
    } else {
      EXPECT_FALSE(FindHitFrom(book, c.phrase, {hits.back().Line, hits.back().Offset + 1}));
      const auto last = FindHitBefore(book, c.phrase, {book.Count(), 0});
      ASSERT_TRUE(last.has_value());
      EXPECT_EQ(last->Line, hits.back().Line);
      EXPECT_EQ(last->Offset, hits.back().Offset);
    }
  }
}

TEST(SearchFrom, EveryRowStartIsFoundAgain) {
  std::u16string text;
  for (int line = 0; line < 200; ++line) {
    text += std::u16string(static_cast<std::size_t>(line * 37 % 130), u'文') + u"\r\n";
  }
  const BookText book = BookText::FromText(text);
  for (const WrapMetrics& metrics : {WrapMetrics{41, 25, 4}, WrapMetrics{10, 3, 4}}) {
    RowTable rows;
    rows.Wrap(book, metrics);
    for (std::int32_t row = 0; row < rows.Count(); ++row) {
      const BookPlace place = PlaceOfRow(book, rows, row);
      ASSERT_EQ(rows.RowOfPosition(book, place.Line, place.Offset), row) << "row " << row;
      // The place is the row's first character: the one before it is on the row before.
      if (place.Offset > 0) {
        ASSERT_EQ(rows.RowOfPosition(book, place.Line, place.Offset - 1), row - 1);
      }
    }
    const BookPlace end = PlaceOfRow(book, rows, rows.Count());
    EXPECT_EQ(end.Line, book.Count() - 1);
  }
}

}  // namespace
}  // namespace quillon
