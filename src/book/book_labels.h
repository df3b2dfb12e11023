#pragma once
// The texts the reader writes about the open book: its name, the window caption, the page label
// and the information line.

#include <cstdint>
#include <string>

namespace quillon {

// The file name with its extension: what follows the path's last '/'.
std::u16string BookNameOfPath(const std::u16string& path);
// The name without its last four characters (".txt"); a shorter name is shown whole.
std::u16string BookTitleOfName(const std::u16string& name);
// "Quillon-[title]".
std::u16string WindowCaptionFor(const std::u16string& name);
// "书页 3/120"; a book without pages is at page 0.
std::u16string PageLabelText(std::int64_t pageNumber, std::int64_t pageCount);
// Minutes with one decimal, halves rounded up: 3 seconds are "0.1", 125 seconds "2.1".
std::u16string ReadingMinutesText(std::int64_t seconds);
// Why a book could not be read, the path shown as the user reads it: an empty path, a book that
// is not there, or one that is but cannot be read. The window and the command line say the same.
std::u16string BookNotReadText(const std::u16string& path);
// "书目名称: 故事     格式: txt文档     已经阅读时间:2.1 分钟".
std::u16string BookInfoText(const std::u16string& name, std::int64_t seconds);

}  // namespace quillon
