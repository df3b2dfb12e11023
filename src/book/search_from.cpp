#include "book/search_from.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::int32_t kLinesPerStep = 4096;

// Calls `visit` with every hit on lines `firstLine` to `lastLine`, in order, until it returns
// false. A search keeps its first thousand hits; past them it starts again from the line of the
// last one kept and passes over what was seen. (A single line with more than a thousand hits
// gives only those.)
template <class Visit>
void ForEachHit(const BookText& book, std::u16string_view phrase, std::int32_t firstLine,
                std::int32_t lastLine, Visit visit) {
  lastLine = std::min(lastLine, book.Count() - 1);
  std::optional<SearchHit> seen;
  for (std::int32_t start = firstLine; start <= lastLine;) {
    BookSearch search(phrase, start);
    std::size_t next = 0;
    bool full = false;
    while (!search.Done() && search.NextLine() <= lastLine && !full) {
      search.Step(book, std::min(kLinesPerStep, lastLine + 1 - search.NextLine()));
      const std::vector<SearchHit>& hits = search.Hits();
      for (; next < hits.size(); ++next) {
        if (seen && !(PlaceOf(*seen) < PlaceOf(hits[next]))) continue;
        seen = hits[next];
        if (!visit(*seen)) return;
      }
      full = hits.size() >= BookSearch::kMaxStoredHits;
    }
    if (!full) return;
    start = seen->Line > start ? seen->Line : start + 1;
  }
}

}  // namespace

std::vector<RowMark> MarksOnPage(const BookText& book, const RowTable& rows,
                                 const WrapMetrics& metrics, std::int32_t page,
                                 const SearchHit& hit) {
  std::vector<RowMark> marks;
  if (metrics.PageRows <= 0 || hit.Length <= 0 || hit.Line < 0 || hit.Line >= book.Count()) {
    return marks;
  }
  const std::int64_t pageFirstRow = std::int64_t{page} * metrics.PageRows;
  const std::int32_t lineFirstRow = rows.RowOfPosition(book, hit.Line, 0);
  const std::int32_t end = hit.Offset + hit.Length;
  const std::int32_t lastRow = rows.RowOfPosition(book, hit.Line, end - 1);
  for (std::int32_t row = rows.RowOfPosition(book, hit.Line, hit.Offset); row <= lastRow; ++row) {
    const std::int64_t onPage = row - pageFirstRow;
    if (onPage < 0 || onPage >= metrics.PageRows) continue;
    const RowPiece piece = rows.PieceOf(book, hit.Line, row - lineFirstRow);
    const std::int32_t from = std::max(hit.Offset, piece.Offset);
    const std::int32_t to = std::min(end, piece.Offset + piece.Length);
    if (to > from) {
      const std::int32_t start = piece.Indent + from - piece.Offset;
      marks.push_back({static_cast<std::int32_t>(onPage), start, to - from});
    }
  }
  return marks;
}

BookPlace PlaceOfRow(const BookText& book, const RowTable& rows, std::int32_t row) {
  if (book.Count() == 0) return {};
  // Every line has at least one row, so a line's first row grows with the line.
  std::int32_t low = 0, high = book.Count() - 1;
  while (low < high) {
    const std::int32_t middle = low + (high - low + 1) / 2;
    if (rows.RowOfPosition(book, middle, 0) <= row) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  const std::int32_t length = book.LineLength(low);
  const std::int32_t inLine = row - rows.RowOfPosition(book, low, 0);
  if (inLine >= rows.RowsOf(book, low)) return {low, length};
  return {low, rows.PieceOf(book, low, std::max(inLine, 0)).Offset};
}

std::optional<SearchHit> FindHitFrom(const BookText& book, std::u16string_view phrase,
                                     BookPlace place) {
  std::optional<SearchHit> found;
  ForEachHit(book, phrase, std::max(place.Line, 0), book.Count() - 1, [&](const SearchHit& hit) {
    if (PlaceOf(hit) < place) return true;
    found = hit;
    return false;
  });
  return found;
}

std::optional<SearchHit> FindHitBefore(const BookText& book, std::u16string_view phrase,
                                       BookPlace place) {
  // Windows of lines growing backwards: a hit is most often close by.
  std::int32_t last = std::min(place.Line, book.Count() - 1);
  for (std::int64_t span = 64; last >= 0; span *= 8) {
    const auto first = static_cast<std::int32_t>(std::max<std::int64_t>(0, last - span + 1));
    std::optional<SearchHit> found;
    ForEachHit(book, phrase, first, last, [&](const SearchHit& hit) {
      if (!(PlaceOf(hit) < place)) return false;
      found = hit;
      return true;
    });
    if (found) return found;
    last = first - 1;
  }
  return std::nullopt;
}

}  // namespace quillon
