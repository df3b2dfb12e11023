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

bool WriteChapterListing(const BookText& book, const std::vector<Chapter>& chapters,
                         const ScriptConverter* converter,
                         const std::function<bool(std::string_view)>& write) {
  if (chapters.empty()) return true;
  constexpr std::size_t kPiece = 32 * 1024;
  std::u16string text;
  bool written = true;
  const auto flush = [&] {
    const std::string bytes =
        codepage::EncodeUtf8(converter != nullptr ? converter->Convert(text) : text);
    text.clear();
    written = write(bytes);
  };
  // One walk through the lines between: the headings of a book of millions lie close together,
  // and finding each line on its own would cost more than passing it.
  std::size_t next = 0;
  book.VisitLines(chapters.front().Line, chapters.back().Line + 1,
                  [&](std::int32_t i, std::u16string_view line) {
                    if (!written || next == chapters.size() || chapters[next].Line != i) return;
                    text += DecimalText(std::int64_t{book.FileLineOf(i)} + 1);
                    text += u'\t';
                    text += ChapterTitle(line, chapters[next++]);
                    text += u'\n';
                    if (text.size() >= kPiece) flush();
                  });
  if (written && !text.empty()) flush();
  return written;
}

}  // namespace quillon
