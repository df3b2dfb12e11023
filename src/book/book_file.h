#pragma once
// Reading a book file: which encoding it is in, and its text decoded once, piece by piece, so a
// 100 MB novel needs little more memory than its text.

#include <optional>
#include <string>
#include <string_view>

#include "book/book_text.h"

namespace quillon {

enum class BookEncoding { Gb18030, Utf8, Utf16LE, Utf16BE };

struct DetectedEncoding {
  BookEncoding Encoding = BookEncoding::Gb18030;
  std::size_t MarkLength = 0;  // the byte-order mark, which is not part of the text
};

// A byte-order mark decides; otherwise text whose samples (the start, a slice from the middle and
// the end of the file) are valid UTF-8 with some non-ASCII is UTF-8, and everything else GB18030,
// which reads GB2312 and GBK books exactly.
DetectedEncoding DetectBookEncoding(std::string_view head, std::string_view middle,
                                    std::string_view tail);

// The whole of a book held in memory (tests, fuzzing).
BookText DecodeBook(std::string_view bytes);

// nullopt when the file cannot be read: missing, a directory, no permission, a read error.
std::optional<BookText> ReadBookFile(const std::u16string& path);

}  // namespace quillon
