#pragma once
// Which encoding a book file is in, judged from samples of it: its start, a slice from its middle
// and its end. A byte-order mark decides. Otherwise each reading (GB18030, Big5, UTF-8, UTF-16 LE
// and BE) is weighed by what it makes of the samples: text of the common characters of Chinese
// and ordinary punctuation, or rare characters, control codes and bytes that do not decode.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

enum class BookEncoding { Gb18030, Big5, Utf8, Utf16LE, Utf16BE };

struct DetectedEncoding {
  BookEncoding Encoding = BookEncoding::Gb18030;
  std::size_t MarkLength = 0;  // the byte-order mark, which is not part of the text
  // False when no reading makes text of the samples: a picture, an archive, a program.
  bool LooksLikeText = true;
};

// A piece of the file and where it lies: whether it starts at the file's start (after any mark)
// and ends at the file's end, so that a character cut by the sample's edge is not held against
// a reading.
struct Sample {
  std::string_view Bytes;
  bool AtStart = false;
  bool AtEnd = false;
};

// Decodes bytes of a book in an encoding, appending to `out`. Bytes that do not decode become
// U+FFFD and the rest is read on, so nothing behind a damaged spot is lost.
void DecodeAs(BookEncoding encoding, std::string_view bytes, std::u16string& out);

// The head is the file's first bytes. The middle and the tail may be empty.
DetectedEncoding DetectBookEncoding(const Sample& head, const Sample& middle, const Sample& tail);
// The same for a book held whole in memory.
DetectedEncoding DetectBookEncoding(std::string_view bytes);

}  // namespace quillon
