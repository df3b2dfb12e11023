// Any bytes as a book, wrapped with any row width from 1 to 200 and any page height from 1 to 60:
// the rows are counted right, the pages are the rows' ceiling, no row is longer than the row
// width plus two (and half a surrogate pair) plus the indent, every character of the text appears
// on the pages, in order, and its position gives back its row; no row begins with closing
// punctuation unless the row before took two, none ends with opening punctuation unless it holds
// nothing else or ends its line, and no surrogate pair is parted. Read on two to four threads the
// book has the same lines as on one. The chapters are short lines of the book in order, and a
// search for a piece of the text finds it, with every hit inside its line and none overlapping.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_rows.h"
#include "book/book_search.h"
#include "book/chapters.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const WrapMetrics metrics{1 + data[0] % 200, 1 + (data[1] & 0x3F) % 60,
                            (data[1] & 0x40) != 0 ? 8 : 4};
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  const BookText book = DecodeBook(bytes, std::nullopt, 1);
  // Threads are dear under the sanitizers: one input in four is read on several as well.
  if (data[0] % 4 == 0) {
    const BookText parallel = DecodeBook(bytes, std::nullopt, 2 + data[1] % 3);
    if (parallel.Count() != book.Count()) std::abort();
    for (std::int32_t line = 0; line < book.Count(); ++line) {
      if (parallel.Line(line) != book.Line(line) ||
          parallel.FileLineOf(line) != book.FileLineOf(line)) {
        std::abort();
      }
    }
    std::int32_t next = book.Count() > 0 ? data[1] % book.Count() : 0;
    parallel.ForEachLine(next, book.Count(), [&](std::int32_t line, std::u16string_view text) {
      if (line != next++ || text != book.Line(line)) std::abort();
    });
    if (next != book.Count()) std::abort();
  }
  RowTable rows;
  rows.Wrap(book, metrics);

  std::int64_t counted = 0;
  for (std::int32_t line = 0; line < book.Count(); ++line) {
    counted += RowsOfLine(book.Line(line), metrics);
    if (rows.RowsOf(book, line) != RowsOfLine(book.Line(line), metrics)) std::abort();
  }
  if (rows.Count() != counted) std::abort();
  const std::int32_t pages = PageCountOf(rows.Count(), metrics.PageRows);
  const std::int64_t capacity = static_cast<std::int64_t>(pages) * metrics.PageRows;
  if (rows.Count() == 0
          ? pages != 0
          : (capacity < rows.Count() || capacity - metrics.PageRows >= rows.Count())) {
    std::abort();
  }

  const std::vector<std::u16string> all = rows.Rows(book, 0, rows.Count());
  if (static_cast<std::int64_t>(all.size()) != counted) std::abort();
  // The rows without their indents, joined, are the lines joined: nothing lost, nothing doubled.
  std::u16string shownText;
  std::u16string bookText;
  std::size_t next = 0;
  for (std::int32_t line = 0; line < book.Count(); ++line) {
    const std::u16string_view text = book.Line(line);
    bookText += text;
    const std::int32_t count = RowsOfLine(text, metrics);
    RowPiece before;
    LineCutter cutter(text, metrics);
    for (std::int32_t row = 0; row < count; ++row, ++next) {
      const std::u16string& shown = all[next];
      if (cutter.Done()) std::abort();
      const RowPiece piece = cutter.Next();
      // A row found on its own is the row cut in turn (asked of the first and last only: each ask
      // cuts the line from its start).
      if (row == 0 || row == count - 1) {
        const RowPiece alone = RowOfLine(text, row, metrics);
        if (alone.Offset != piece.Offset || alone.Length != piece.Length) std::abort();
      }
      if (shown.size() > static_cast<std::size_t>(std::max(metrics.RowChars, 1) + 3 + piece.Indent))
        std::abort();
      const auto at = [&text](std::int32_t i) { return text[static_cast<std::size_t>(i)]; };
      if (row > 0 && piece.Length > 0) {
        // A cut at piece.Offset: the row before ends there, this one starts there.
        const std::int32_t cut = piece.Offset;
        const bool tookTwo = before.Length >= 2 && IsClosingPunctuation(at(cut - 1)) &&
                             IsClosingPunctuation(at(cut - 2));
        if (IsClosingPunctuation(at(cut)) && !tookTwo) std::abort();
        bool allOpening = true;
        for (std::int32_t i = before.Offset; i < cut; ++i)
          allOpening &= IsOpeningPunctuation(at(i));
        if (IsOpeningPunctuation(at(cut - 1)) && !allOpening) std::abort();
        if (at(cut - 1) >= 0xD800 && at(cut - 1) <= 0xDBFF && at(cut) >= 0xDC00 &&
            at(cut) <= 0xDFFF)
          std::abort();
      }
      before = piece;
      if (shown.compare(0, static_cast<std::size_t>(piece.Indent),
                        std::u16string(piece.Indent, u' ')) != 0) {
        std::abort();
      }
      shownText += shown.substr(static_cast<std::size_t>(piece.Indent));
      if (piece.Length > 0 &&
          (rows.RowOfPosition(book, line, piece.Offset) != static_cast<std::int32_t>(next) ||
           rows.RowOfPosition(book, line, piece.Offset + piece.Length - 1) !=
               static_cast<std::int32_t>(next))) {
        std::abort();
      }
    }
  }
  if (shownText != bookText) std::abort();

  const std::vector<Chapter> chapters = FindChapters(book);
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    const Chapter& chapter = chapters[i];
    if (chapter.Line < 0 || chapter.Line >= book.Count() ||
        (i > 0 && chapter.Line <= chapters[i - 1].Line) ||
        ChapterAt(chapters, chapter.Line) != static_cast<std::int32_t>(i)) {
      std::abort();
    }
    // The title is the end of its line, from a numbered word the finder reads again as one.
    const std::u16string_view line = book.Line(chapter.Line);
    const std::u16string title = ChapterTitle(book, chapter);
    if (chapter.TitleLength() == 0 || title.empty() || title.size() > kMaxHeadingLength ||
        chapter.TitleFrom() + chapter.TitleLength() > line.size() ||
        line.substr(chapter.TitleFrom() + chapter.TitleLength()).find_first_not_of(u" \t\u3000") !=
            std::u16string_view::npos ||
        FindChapters(BookText::FromText(title)).size() != 1) {
      std::abort();
    }
  }

  // A piece of the longest line, as long as the first byte says.
  std::int32_t longest = -1;
  for (std::int32_t line = 0; line < book.Count(); ++line) {
    if (longest < 0 || book.LineLength(line) > book.LineLength(longest)) longest = line;
  }
  if (longest < 0 || book.LineLength(longest) == 0) return 0;
  const std::u16string needle(book.Line(longest).substr(
      0, 1 + data[0] % static_cast<std::size_t>(book.LineLength(longest))));
  BookSearch search(needle);
  while (!search.Step(book, 1 + data[1] % 7)) {
  }
  if (search.TotalHits() < 1 || search.Hits().empty() ||
      search.Hits().size() > BookSearch::kMaxStoredHits ||
      static_cast<std::int64_t>(search.Hits().size()) > search.TotalHits()) {
    std::abort();
  }
  for (std::size_t i = 0; i < search.Hits().size(); ++i) {
    const SearchHit& hit = search.Hits()[i];
    const SearchHit* before = i > 0 ? &search.Hits()[i - 1] : nullptr;
    if (hit.Length != static_cast<std::int32_t>(needle.size()) || hit.Offset < 0 ||
        hit.Offset + hit.Length > book.LineLength(hit.Line) ||
        (before != nullptr &&
         (hit.Line < before->Line ||
          (hit.Line == before->Line && hit.Offset < before->Offset + before->Length)))) {
      std::abort();
    }
  }
  return 0;
}
