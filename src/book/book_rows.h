#pragma once
// Rows and pages. A row is a stretch of one line, perhaps behind an indent, so rows are worked out
// from the lines' lengths alone and their text is put together only when a page is drawn.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_text.h"

namespace quillon {

// A character of the book: its line and its offset in UTF-16 units. A place in a book is one of
// these, never a page: pages change with the layout, the character does not.
struct BookPlace {
  std::int32_t Line = 0;
  std::int32_t Offset = 0;

  bool operator<(const BookPlace& other) const {
    return Line != other.Line ? Line < other.Line : Offset < other.Offset;
  }
  bool operator==(const BookPlace& other) const {
    return Line == other.Line && Offset == other.Offset;
  }
  bool operator!=(const BookPlace& other) const { return !(*this == other); }
};

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

// Closing punctuation (，。、”…) belongs to the end of the text before it, and opening
// punctuation (“《（) to the start of the text after it: neither stands at the wrong end of a row.
bool IsClosingPunctuation(char16_t c);
bool IsOpeningPunctuation(char16_t c);

// Cuts one line into rows, one after another:
//  - an empty line stays one empty row;
//  - a line of up to RowChars - 2 characters is one indented row, one of RowChars - 1 one row
//    without indent;
//  - a longer line gives an indented first row of RowChars - 2 characters, then rows of
//    RowChars, and once what remains is at most RowChars + 1 characters, that is its last row.
// Each cut is then moved as Chinese text is set: closing punctuation right after it joins the row
// before (two at most), or else opening punctuation right before it goes to the row after (the row
// keeps at least one character); and it never parts the two halves of a surrogate pair. A row may
// so hold RowChars + 2 characters; without punctuation at a cut, rows are RowChars wide.
class LineCutter {
 public:
  LineCutter(std::u16string_view line, const WrapMetrics& metrics);
  // Goes on from row `row`, which starts at `offset` (as an earlier cutter found).
  LineCutter(std::u16string_view line, const WrapMetrics& metrics, std::int32_t row,
             std::int32_t offset);
  bool Done() const { return done_; }
  // The next row; only while not Done.
  RowPiece Next();
  // The number of the next row, and where it starts.
  std::int32_t Row() const { return row_; }
  std::int32_t Offset() const { return offset_; }

 private:
  std::int32_t Cut(std::int32_t start, std::int64_t nominal) const;
  std::u16string_view line_;
  WrapMetrics metrics_;
  std::int32_t row_ = 0;
  std::int32_t offset_ = 0;
  bool done_ = false;
};

// How many rows a line makes, and one of them (from 0).
std::int32_t RowsOfLine(std::u16string_view line, const WrapMetrics& metrics);
RowPiece RowOfLine(std::u16string_view line, std::int32_t row, const WrapMetrics& metrics);

// The widest rows a wrap can make, one a line, in full-width characters: a paragraph's indented
// first row with two closing marks taken in, and a row of RowChars + 2. The page must show both
// whole.
std::u16string WidestRows(const WrapMetrics& metrics);

// Pages of `pageRows` rows, the last one possibly short.
std::int32_t PageCountOf(std::int32_t rowCount, std::int32_t pageRows);

// A row as a piece of the line it is cut from.
struct LinePiece {
  std::int32_t Line = 0;
  RowPiece Piece;
};

class RowTable {
 public:
  // Wraps the lines anew; needs RowChars and PageRows above zero.
  void Wrap(const BookText& lines, const WrapMetrics& metrics);
  // The rows a wrap would make, without keeping them.
  static std::int32_t CountRows(const BookText& lines, const WrapMetrics& metrics);
  std::int32_t Count() const { return rowCount_; }
  const WrapMetrics& Metrics() const { return metrics_; }

  // The rows of line `line`, and row `row` (from 0) of it; the lines must be those last wrapped.
  std::int32_t RowsOf(const BookText& lines, std::int32_t line) const;
  RowPiece PieceOf(const BookText& lines, std::int32_t line, std::int32_t row) const;

  // The text of a row as shown, indent included; nullopt for an index that has no row.
  std::optional<std::u16string> Row(const BookText& lines, std::int32_t index) const;
  // `count` rows from `first`, as many as exist; the lines must be those last wrapped.
  std::vector<std::u16string> Rows(const BookText& lines, std::int32_t first,
                                   std::int32_t count) const;
  // The same rows as the pieces of lines they show, for text shown otherwise than it is read.
  std::vector<LinePiece> Pieces(const BookText& lines, std::int32_t first,
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
  // A paragraph of more rows than this keeps where every kCheckpoint-th of its rows starts, so a
  // page deep inside it is found without cutting all the rows before.
  static constexpr std::int32_t kCheckpoint = 256;
  struct LongLine {
    std::int32_t Line = 0;
    std::int32_t Rows = 0;
    // Where its rows kCheckpoint, 2 * kCheckpoint, ... start, in checkpoints_.
    std::size_t FirstCheckpoint = 0;
  };
  const LongLine* LongLineOf(std::int32_t line) const;
  // A cutter of line `line` started as late as a checkpoint allows before row `row`, or before the
  // row holding `offset`.
  LineCutter CutterAtRow(const BookText& lines, std::int32_t line, std::int32_t row) const;
  LineCutter CutterAtOffset(const BookText& lines, std::int32_t line, std::int32_t offset) const;
  WrapMetrics metrics_;
  std::int32_t lineCount_ = 0;
  std::int32_t rowCount_ = 0;
  // firstRow_[k] is the first row of line k * kStride.
  std::vector<std::int32_t> firstRow_;
  // The paragraphs of more than kCheckpoint rows, by line.
  std::vector<LongLine> longLines_;
  std::vector<std::int32_t> checkpoints_;
};

}  // namespace quillon
