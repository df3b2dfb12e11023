#pragma once
// The places a reader marked in books, kept in "Bookmark/Bookmarks.dat": one line a mark,
// "path",line,offset,#made# (GB18030, CR LF), a book's marks in the order they are in the book.

#include <string>
#include <string_view>
#include <vector>

#include "book/book_rows.h"
#include "platform/datetime.h"

namespace quillon {

struct Bookmark {
  BookPlace Place;
  DateTime Made;
  bool operator==(const Bookmark& other) const {
    return Place == other.Place && Made == other.Made;
  }
};

std::u16string BookmarksFilePath(const std::u16string& programDirectory);

// The marks of the book at `path`, in book order. Damaged lines are skipped.
std::vector<Bookmark> BookmarksOf(std::string_view fileBytes, const std::u16string& path);
// The file with the book's marks replaced by `marks` (put in book order); other books' marks stay
// as they were, and damaged lines go.
std::string WithBookmarks(std::string_view fileBytes, const std::u16string& path,
                          std::vector<Bookmark> marks);

}  // namespace quillon
