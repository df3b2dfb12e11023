#include "records/bookmarks.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

struct Line {
  std::u16string Path;
  Bookmark Mark;
};

// Line by line, so that a damaged line is dropped without taking its neighbours' items.
std::vector<Line> ReadMarks(std::string_view bytes) {
  std::vector<Line> marks;
  for (const std::vector<itemfile::Item>& items : BookLinesOf(bytes, 4)) {
    if (items[1].Quoted || items[2].Quoted) continue;
    const std::optional<std::int32_t> line = itemfile::ToInt32(items[1]);
    const std::optional<std::int32_t> offset = itemfile::ToInt32(items[2]);
    const std::optional<DateTime> made = itemfile::ToDateTime(items[3]);
    if (!line || !offset || !made || *line < 0 || *offset < 0) continue;
    marks.push_back({items[0].Text, {{*line, *offset}, *made}});
  }
  return marks;
}

void InBookOrder(std::vector<Bookmark>& marks) {
  std::stable_sort(marks.begin(), marks.end(),
                   [](const Bookmark& a, const Bookmark& b) { return a.Place < b.Place; });
}

}  // namespace

std::u16string BookmarksFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(BookmarkDirectory(programDirectory), u"Bookmarks.dat");
}

std::vector<Bookmark> BookmarksOf(std::string_view fileBytes, const std::u16string& path) {
  std::vector<Bookmark> marks;
  for (Line& line : ReadMarks(fileBytes)) {
    if (line.Path == path) marks.push_back(line.Mark);
  }
  InBookOrder(marks);
  return marks;
}

std::string WithBookmarks(std::string_view fileBytes, const std::u16string& path,
                          std::vector<Bookmark> marks) {
  InBookOrder(marks);
  itemfile::ItemWriter writer;
  const auto write = [&writer](const std::u16string& book, const Bookmark& mark) {
    writer.WriteString(book);
    writer.WriteInt(mark.Place.Line);
    writer.WriteInt(mark.Place.Offset);
    writer.WriteDateTime(mark.Made);
    writer.EndLine();
  };
  bool written = false;
  for (const Line& line : ReadMarks(fileBytes)) {
    if (line.Path != path) {
      write(line.Path, line.Mark);
    } else if (!written) {
      // The book's marks stand where its first one stood.
      for (const Bookmark& mark : marks) write(path, mark);
      written = true;
    }
  }
  if (!written && IsStorablePath(path) && !path.empty()) {
    for (const Bookmark& mark : marks) write(path, mark);
  }
  return codepage::EncodeGb18030(writer.Text());
}

}  // namespace quillon
