#include "chapters/chapter_pages.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text.h"

namespace quillon {

std::int32_t PageOfChapter(const BookText& book, const Chapter& chapter, const RowTable& rows,
                           std::int32_t pageRows) {
  return rows.PageOfPosition(book, chapter.Line, 0, pageRows);
}

std::int32_t ChapterOfPage(const BookText& book, const std::vector<Chapter>& chapters,
                           const RowTable& rows, std::int32_t page, std::int32_t pageRows) {
  const auto firstOnOrAfter = std::partition_point(
      chapters.begin(), chapters.end(),
      [&](const Chapter& chapter) { return PageOfChapter(book, chapter, rows, pageRows) < page; });
  if (firstOnOrAfter != chapters.end() &&
      PageOfChapter(book, *firstOnOrAfter, rows, pageRows) == page) {
    return static_cast<std::int32_t>(firstOnOrAfter - chapters.begin());
  }
  return static_cast<std::int32_t>(firstOnOrAfter - chapters.begin()) - 1;
}

std::string ChapterListing(const BookText& book, const std::vector<Chapter>& chapters,
                           const ScriptConverter* converter) {
  std::u16string text;
  for (const Chapter& chapter : chapters) {
    text += DecimalText(std::int64_t{book.FileLineOf(chapter.Line)} + 1);
    text += u'\t';
    text += converter != nullptr ? converter->Convert(chapter.Title) : chapter.Title;
    text += u'\n';
  }
  return codepage::EncodeUtf8(text);
}

}  // namespace quillon
