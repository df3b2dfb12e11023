#pragma once
// Where in each book the reader stopped, to the character, in "Bookmark/Places.dat": the last-read
// and history files keep pages, as they always have, and a page moves when the layout, the font or
// the rows change. One line a book, "path",size,modified,line,offset (GB18030, CR LF); a place is
// used only while the book is still the file it was kept for, of the same size and time.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_rows.h"
#include "platform/files.h"

namespace quillon {

struct KeptPlace {
  std::u16string Path;
  files::FileStamp Stamp;
  BookPlace Place;
};

std::u16string BookPlacesFilePath(const std::u16string& programDirectory);

// The place kept for the book at `path` when it is the file `stamp` describes.
std::optional<BookPlace> PlaceKeptFor(std::string_view fileBytes, const std::u16string& path,
                                      const files::FileStamp& stamp);
// The file with `place` in it, and of the other places only those of the books in `books` (the
// history's and the last-read one), so the file never outgrows them. Damaged lines are dropped.
std::string WithKeptPlace(std::string_view fileBytes, const KeptPlace& place,
                          const std::vector<std::u16string>& books);

}  // namespace quillon
