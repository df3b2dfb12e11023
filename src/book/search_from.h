#pragma once
// Finding the next or the previous hit from a place in the book, as the search window's buttons
// and F3 do: the search goes on from where the reader stands, however many hits come before.

#include <cstdint>
#include <optional>
#include <string_view>

#include "book/book_rows.h"
#include "book/book_search.h"
#include "book/book_text.h"

namespace quillon {

// A character of the book: its line and its offset in UTF-16 units.
struct BookPlace {
  std::int32_t Line = 0;
  std::int32_t Offset = 0;

  bool operator<(const BookPlace& other) const {
    return Line != other.Line ? Line < other.Line : Offset < other.Offset;
  }
};

inline BookPlace PlaceOf(const SearchHit& hit) {
  return {hit.Line, hit.Offset};
}

// Where row `row` of the rows last wrapped with `metrics` starts; a row past the end gives the
// end of the book's last line.
BookPlace PlaceOfRow(const BookText& book, const RowTable& rows, const WrapMetrics& metrics,
                     std::int32_t row);

// The first hit that starts at `place` or after it.
std::optional<SearchHit> FindHitFrom(const BookText& book, std::u16string_view phrase,
                                     BookPlace place);
// The last hit that starts before `place`.
std::optional<SearchHit> FindHitBefore(const BookText& book, std::u16string_view phrase,
                                       BookPlace place);

}  // namespace quillon
