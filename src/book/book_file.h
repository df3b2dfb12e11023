#pragma once
// Reading a book file: which encoding it is in, and its text decoded once, piece by piece, so a
// 100 MB novel needs little more memory than its text.

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "book/book_text.h"
#include "book/encoding_detect.h"

namespace quillon {

// What the caller of an open may do while it runs: ask it to stop, see how far it has got, and
// say how many threads decode (0: as many as the machine has, up to four, for a book large
// enough to gain from them).
struct ReadControl {
  const std::atomic<bool>* Cancel = nullptr;
  std::atomic<std::size_t>* BytesDone = nullptr;
  int Threads = 0;
};

// The whole of a book held in memory (tests, fuzzing), in the encoding given or the one detected,
// read as a file is, on `threads` threads (0: as a file of its size would be).
BookText DecodeBook(std::string_view bytes, std::optional<BookEncoding> encoding = std::nullopt,
                    int threads = 0);

struct BookFile {
  // nullopt when the file cannot be read (missing, a directory, no permission, a read error) or
  // when NotText says why nothing was read.
  std::optional<BookText> Text;
  BookEncoding Encoding = BookEncoding::Gb18030;
  // No encoding makes text of the file; asked for an encoding, it is read in that one anyway.
  bool NotText = false;
  bool Cancelled = false;
};

// `encoding`: the one the user chose for this book; otherwise it is detected.
BookFile ReadBookFile(const std::u16string& path,
                      std::optional<BookEncoding> encoding = std::nullopt,
                      const ReadControl* control = nullptr);

// The book's first whole lines, about `bytes` of it, found as the whole book's are: a page at the
// start can be shown from them while the rest is read. No text when the book is no longer, when
// no line ends soon after, or when it cannot be read (as ReadBookFile would say).
BookFile ReadBookStart(const std::u16string& path, std::optional<BookEncoding> encoding,
                       std::size_t bytes);

}  // namespace quillon
