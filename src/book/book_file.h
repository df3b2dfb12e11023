#pragma once
// Reading a book file: which encoding it is in, and its text decoded once, piece by piece, so a
// 100 MB novel needs little more memory than its text.

#include <optional>
#include <string>
#include <string_view>

#include "book/book_text.h"
#include "book/encoding_detect.h"

namespace quillon {

// The whole of a book held in memory (tests, fuzzing), in the encoding given or the one detected.
BookText DecodeBook(std::string_view bytes, std::optional<BookEncoding> encoding = std::nullopt);

struct BookFile {
  // nullopt when the file cannot be read (missing, a directory, no permission, a read error) or
  // when NotText says why nothing was read.
  std::optional<BookText> Text;
  BookEncoding Encoding = BookEncoding::Gb18030;
  // No encoding makes text of the file; asked for an encoding, it is read in that one anyway.
  bool NotText = false;
};

// `encoding`: the one the user chose for this book; otherwise it is detected.
BookFile ReadBookFile(const std::u16string& path,
                      std::optional<BookEncoding> encoding = std::nullopt);

}  // namespace quillon
