#pragma once
// The encoding a user chose for a book, kept in "Bookmark/Encodings.dat", a file of our own so
// that the last-read and history files stay as they always were: one line a book,
// "path","name" (GB18030, CR LF), the latest choice first.

#include <optional>
#include <string>
#include <string_view>

#include "book/book_file.h"

namespace quillon {

std::u16string BookEncodingsFilePath(const std::u16string& programDirectory);

// The name a choice is stored and shown under: "GB18030", "Big5", "UTF-8", "UTF-16LE",
// "UTF-16BE".
std::u16string EncodingName(BookEncoding encoding);
std::optional<BookEncoding> EncodingNamed(std::u16string_view name);

// The choice stored for the book at `path`, if any.
std::optional<BookEncoding> ChosenEncoding(std::string_view fileBytes, const std::u16string& path);
// The file with the book's choice first, or without it for nullopt (detection again).
std::string WithChosenEncoding(std::string_view fileBytes, const std::u16string& path,
                               std::optional<BookEncoding> encoding);

}  // namespace quillon
