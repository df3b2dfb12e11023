#pragma once
// Rows and pages. A row is a stretch of one line, perhaps behind an indent, so rows are worked out
// from the lines' lengths alone and their text is put together only when a page is drawn.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "book/book_text.h"

namespace quillon {

struct WrapMetrics {
  std::int32_t RowChars = 0;
  std::int32_t PageRows = 0;
  std::int32_t IndentWidth = 0;
};

// One row of a line: `Indent` spaces, then `Length` characters of the line from `Offset`.
struct RowPiece {
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
  std::int32_t Indent = 0;
};

// How many rows a line of `length` characters makes, whatever its length (a paragraph longer than
// a page runs on over the following pages):
//  - an empty line stays one empty row;
//  - a line longer than RowChars - 2 gives an indented first row of RowChars - 2 characters, rows
//    of RowChars, and a last row of the remaining (length mod RowChars) + 2 characters, which is
//    2 to RowChars + 1 long; a line of RowChars - 1 characters is one row without indent;
//  - a shorter line is one indented row.
std::int32_t RowsOfLine(std::int32_t length, const WrapMetrics& metrics);
// Row `row` (from 0) of a line of `length` characters.
RowPiece RowOfLine(std::int32_t length, std::int32_t row, const WrapMetrics& metrics);

// The widest rows a wrap can make, one a line, in full-width characters: a paragraph's indented
// first row and a last row of RowChars + 1 characters. The page must show both whole.
std::u16string WidestRows(const WrapMetrics& metrics);

// Pages of `pageRows` rows, the last one possibly short.
std::int32_t PageCountOf(std::int32_t rowCount, std::int32_t pageRows);

class RowTable {
 public:
  // Wraps the lines anew; needs RowChars and PageRows above zero.
  void Wrap(const BookText& lines, const WrapMetrics& metrics);
  // The rows a wrap would make, without keeping them.
  static std::int32_t CountRows(const BookText& lines, const WrapMetrics& metrics);
  std::int32_t Count() const { return rowCount_; }

  // The text of a row as shown, indent included; nullopt for an index that has no row.
  std::optional<std::u16string> Row(const BookText& lines, std::int32_t index) const;
  // `count` rows from `first`, as many as exist; the lines must be those last wrapped.
  std::vector<std::u16string> Rows(const BookText& lines, std::int32_t first,
                                   std::int32_t count) const;

  // The row that shows character `offset` of line `line` (an offset past the line's end gives its
  // last row); -1 for a line that was not wrapped.
  std::int32_t RowOfPosition(const BookText& lines, std::int32_t line, std::int32_t offset) const;
  // The index of the page, `pageRows` rows to a page, on which that row stands (0 for a line that
  // was not wrapped).
  std::int32_t PageOfPosition(const BookText& lines, std::int32_t line, std::int32_t offset,
                              std::int32_t pageRows) const {
    if (pageRows <= 0) return 0;
    return std::max(RowOfPosition(lines, line, offset), 0) / pageRows;
  }
  // The first row of a line; the lines must be those last wrapped.
  std::int32_t FirstRowOf(const BookText& lines, std::int32_t line) const;

 private:
  // Only every kStride-th line's first row is kept, and the others are counted from it: a book
  // of millions of short lines then needs little more than its text.
  static constexpr std::int32_t kStride = 16;
  WrapMetrics metrics_;
  std::int32_t lineCount_ = 0;
  std::int32_t rowCount_ = 0;
  // firstRow_[k] is the first row of line k * kStride.
  std::vector<std::int32_t> firstRow_;
};

}  // namespace quillon
