#pragma once
// Finding the next or the previous hit from a place in the book, as the search window's buttons
// and F3 do: the search goes on from where the reader stands, however many hits come before.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "book/book_rows.h"
#include "book/book_search.h"
#include "book/book_text.h"

namespace quillon {

inline BookPlace PlaceOf(const SearchHit& hit) {
  return {hit.Line, hit.Offset};
}

// Where row `row` of the rows last wrapped starts; a row past the end gives the end of the book's
// last line.
BookPlace PlaceOfRow(const BookText& book, const RowTable& rows, std::int32_t row);

// Part of a hit on one row of a page: the row's place on the page, and the characters to mark
// counted as the row is drawn, its indent first.
struct RowMark {
  std::int32_t RowOnPage = 0;
  std::int32_t Start = 0;
  std::int32_t Length = 0;
};
// The rows of page `page` that show part of `hit`; a row break, or the page's end, may cut it.
std::vector<RowMark> MarksOnPage(const BookText& book, const RowTable& rows,
                                 const WrapMetrics& metrics, std::int32_t page,
                                 const SearchHit& hit);

// The first hit that starts at `place` or after it.
std::optional<SearchHit> FindHitFrom(const BookText& book, std::u16string_view phrase,
                                     BookPlace place);
// The last hit that starts before `place`.
std::optional<SearchHit> FindHitBefore(const BookText& book, std::u16string_view phrase,
                                       BookPlace place);

}  // namespace quillon
