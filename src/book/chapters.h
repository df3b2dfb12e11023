#pragma once
// The chapter list of a book, found from its lines in one pass when the book is opened.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_text.h"

namespace quillon {

struct Chapter {
  std::int32_t Line = 0;  // a line of the BookText; BookText::FileLineOf gives the file's line
  std::u16string Title;   // the heading as it stands, without the spaces around it
};

// Headings are short lines of their own:
//  - 第, a number (Chinese, financial, ASCII or full-width digits) and one of
//    章回节節卷集部篇, then a title or nothing;
//  - 序章 序言 序 楔子 引子 引言 前言 尾声 尾聲 后记 後記 番外 番外篇, perhaps numbered,
//    then a title after a space or a mark, or nothing;
//  - "Chapter 12" or "CHAPTER XII", then a title after a space or a mark, or nothing;
// each perhaps behind a few brackets or marks and the words 目录 or 正文 that books copied from
// web pages carry. A line longer than kMaxHeadingLength, one ending like a clause (，。、；), one
// with a full stop in its title and one in quotes are body text.
//
// A table of contents is not listed. A bare heading (no text before the next heading) is left out
// when a later heading with text has the same number, if it is one of three or more bare headings
// in a row (a list), or else the same number and title. A heading with the number of the one
// before it is that chapter again: the first is kept when it has text, else the second.
std::vector<Chapter> FindChapters(const BookText& book);

// The index of the chapter that holds `line`, or -1 for a line before the first chapter.
std::int32_t ChapterAt(const std::vector<Chapter>& chapters, std::int32_t line);

// Characters a heading may have after trimming. The headings of the classic novels run to about
// 32 (第一百二十回 and a couplet of two eight-character halves); prose is longer.
constexpr std::size_t kMaxHeadingLength = 40;

}  // namespace quillon
