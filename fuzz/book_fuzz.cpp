// Any bytes as a book, wrapped with any row width from 1 to 200 and any page height from 1 to 60:
// the rows are counted right, the pages are the rows' ceiling, no row is longer than the row
// width plus one plus the indent, and every character of the text appears on the pages, in order.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_rows.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const WrapMetrics metrics{1 + data[0] % 200, 1 + (data[1] & 0x3F) % 60,
                            (data[1] & 0x40) != 0 ? 8 : 4};
  const BookText book =
      DecodeBook(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
  RowTable rows;
  rows.Wrap(book, metrics);

  std::int64_t counted = 0;
  for (std::int32_t line = 0; line < book.Count(); ++line)
    counted += RowsOfLine(book.LineLength(line), metrics);
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
    bookText += book.Line(line);
    const std::int32_t count = RowsOfLine(book.LineLength(line), metrics);
    for (std::int32_t row = 0; row < count; ++row, ++next) {
      const std::u16string& shown = all[next];
      const RowPiece piece = RowOfLine(book.LineLength(line), row, metrics);
      if (shown.size() > static_cast<std::size_t>(metrics.RowChars + 1 + piece.Indent))
        std::abort();
      if (shown.compare(0, static_cast<std::size_t>(piece.Indent),
                        std::u16string(piece.Indent, u' ')) != 0) {
        std::abort();
      }
      shownText += shown.substr(static_cast<std::size_t>(piece.Indent));
    }
  }
  if (shownText != bookText) std::abort();
  return 0;
}
