#pragma once
// Finding a phrase in a book. The search runs over lines, not rows, so a phrase that a row break
// splits is one hit; and it runs in slices, so a window can search a large book on a timer and
// show how far it has come.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/book_text.h"

namespace quillon {

struct SearchHit {
  std::int32_t Line = 0;
  std::int32_t Offset = 0;  // in UTF-16 units from the start of the line, as is Length
  std::int32_t Length = 0;

  bool operator==(const SearchHit& other) const {
    return Line == other.Line && Offset == other.Offset && Length == other.Length;
  }
};

// Full-width and half-width letters and digits match each other (Ａ = A, ０ = 0), ASCII letters
// match whatever their case, and a traditional character matches its simplified one (發 = 发,
// 後 = 后), each on its own; everything else matches only itself. Hits do not overlap: the search
// goes on after a hit. An empty phrase finds nothing.
class BookSearch {
 public:
  // A list longer than this is no help to a reader; the hits past it are only counted.
  static constexpr std::size_t kMaxStoredHits = 1000;

  // The search starts at line `firstLine`, so that a reader can look on from where it stands.
  explicit BookSearch(std::u16string_view needle, std::int32_t firstLine = 0);

  // Searches up to `maxLines` more lines of `book`, which must be the same book at every step;
  // true once the whole book has been searched.
  bool Step(const BookText& book, std::int32_t maxLines);
  bool Done() const { return done_; }
  // The line the next step starts at, for showing progress.
  std::int32_t NextLine() const { return nextLine_; }
  // The first kMaxStoredHits hits, in the order of the book.
  const std::vector<SearchHit>& Hits() const { return hits_; }
  std::int64_t TotalHits() const { return totalHits_; }

 private:
  void SearchLine(std::u16string_view line, std::int32_t index);

  std::u16string needle_;  // folded
  // Every character that folds to the needle's first one, repeated to fill the four places, unless
  // there are more.
  char16_t first_[4] = {};
  bool manyForms_ = false;
  std::int32_t nextLine_ = 0;
  bool done_ = false;
  std::vector<SearchHit> hits_;
  std::int64_t totalHits_ = 0;
};

// The form a character is compared in by the search: two characters match when their forms do.
char16_t SearchForm(char16_t c);

// The hit and up to `around` characters of its line on either side, for a list of hits; a
// character made of two UTF-16 units is never cut in half. The stretch as an offset and a length
// in its line, and as text.
std::pair<std::int32_t, std::int32_t> HitContextSpan(const BookText& book, const SearchHit& hit,
                                                     int around);
std::u16string HitContext(const BookText& book, const SearchHit& hit, int around);

}  // namespace quillon
