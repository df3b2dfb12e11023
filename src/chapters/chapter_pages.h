#pragma once
// Where a book's chapters fall on its pages, and the list of them as the command line prints it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_rows.h"
#include "book/book_text.h"
#include "book/chapters.h"
#include "book/script_convert.h"

namespace quillon {

// The index of the page, in the rows last wrapped, on which the chapter's heading stands.
std::int32_t PageOfChapter(const BookText& book, const Chapter& chapter, const RowTable& rows,
                           std::int32_t pageRows);

// The chapter being read on page index `page`: the first whose heading stands on the page (after
// a jump to a chapter, that one), otherwise the one the page's first row belongs to; -1 for a page
// before every chapter.
std::int32_t ChapterOfPage(const BookText& book, const std::vector<Chapter>& chapters,
                           const RowTable& rows, std::int32_t page, std::int32_t pageRows);

// A line a chapter: its line in the file counted from 1, a tab and its title (converted, when a
// converter is given); in UTF-8, given to `write` a piece at a time, so that a book of millions
// of chapters is never listed whole in memory. Stops, false, when `write` returns false.
bool WriteChapterListing(const BookText& book, const std::vector<Chapter>& chapters,
                         const ScriptConverter* converter,
                         const std::function<bool(std::string_view)>& write);

}  // namespace quillon
