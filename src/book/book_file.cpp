#include "book/book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"

namespace quillon {

namespace {

// Some thousands of characters from three places of the file settle its encoding.
constexpr std::size_t kHeadSample = 16 * 1024;
constexpr std::size_t kMiddleSample = 16 * 1024;
constexpr std::size_t kTailSample = 8 * 1024;
constexpr std::size_t kChunk = 1024 * 1024;

// How much of a piece can be decoded before the rest of the file is seen. A byte below 0x30 is
// never part of a multi-byte character in GB18030, Big5 or UTF-8, and a decoder is always between
// characters after it; UTF-16 only needs whole code units.
std::size_t WholePart(BookEncoding encoding, std::string_view bytes) {
  if (encoding == BookEncoding::Utf16LE || encoding == BookEncoding::Utf16BE) {
    return bytes.size() & ~static_cast<std::size_t>(1);
  }
  std::size_t end = bytes.size();
  while (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0x30) --end;
  return end;
}

class File {
 public:
  // O_NONBLOCK: a named pipe chosen as a book must not hold the window until someone writes to
  // it; it is then refused as not a regular file.
  explicit File(const std::u16string& path)
      : fd_(::open(files::NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // The size of a regular file, or nullopt for a directory or anything else that is not a book.
  std::optional<std::size_t> RegularSize() const {
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
  }
  // Appends up to `size` bytes read at `offset` to `out`; false on a read error.
  bool AppendAt(std::size_t offset, std::size_t size, std::string& out) const {
    const std::size_t start = out.size();
    out.resize(start + size);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got =
          ::pread(fd_, out.data() + start + done, size - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    out.resize(start + done);
    return true;
  }

 private:
  int fd_;
};

}  // namespace

BookText DecodeBook(std::string_view bytes, std::optional<BookEncoding> encoding) {
  DetectedEncoding detected = DetectBookEncoding(bytes);
  if (encoding) {
    const bool markFits = detected.MarkLength > 0 && detected.Encoding == *encoding;
    detected = {*encoding, markFits ? detected.MarkLength : 0, true};
  }
  std::u16string text;
  text.reserve(bytes.size());
  DecodeAs(detected.Encoding, bytes.substr(detected.MarkLength), text);
  return BookText::FromText(std::move(text));
}

BookFile ReadBookFile(const std::u16string& path, std::optional<BookEncoding> encoding) {
  BookFile book;
  File file(path);
  if (!file.IsOpen()) return book;
  const std::optional<std::size_t> size = file.RegularSize();
  if (!size) return book;

  // Offsets into the text are 32-bit; a text file of 4 GB is not a book anyway.
  if (*size >= (std::size_t{1} << 32)) return book;

  // The samples start at even offsets, where UTF-16 code units start.
  std::string head, middle, tail;
  const std::size_t middleStart = *size / 2 & ~std::size_t{1};
  const std::size_t tailStart = *size > kTailSample ? (*size - kTailSample) & ~std::size_t{1} : 0;
  if (!file.AppendAt(0, kHeadSample, head) || !file.AppendAt(middleStart, kMiddleSample, middle) ||
      !file.AppendAt(tailStart, kTailSample, tail)) {
    return book;
  }
  DetectedEncoding detected =
      head.size() == *size ? DetectBookEncoding({head, true, true}, {}, {})
                           : DetectBookEncoding({head, true, false}, {middle, false, false},
                                                {tail, false, true});
  if (encoding) {
    // The user's choice stands, but a mark is still not part of the text.
    const bool markFits = detected.MarkLength > 0 && detected.Encoding == *encoding;
    detected = {*encoding, markFits ? detected.MarkLength : 0, true};
  }
  book.Encoding = detected.Encoding;
  if (!detected.LooksLikeText) {
    book.NotText = true;
    return book;
  }

  // Every encoding gives at most one UTF-16 unit per byte. The room is only reserved: pages that
  // the text does not reach are never touched and cost no memory.
  std::u16string text;
  text.reserve(*size);
  // The piece starts with what the last one could not decode yet, the start of a character.
  std::string piece;
  std::size_t offset = detected.MarkLength;
  while (offset < *size) {
    const std::size_t carried = piece.size();
    if (!file.AppendAt(offset, kChunk, piece)) return book;
    if (piece.size() == carried) break;  // the file shrank while it was read
    offset += piece.size() - carried;
    const std::size_t whole = WholePart(detected.Encoding, piece);
    DecodeAs(detected.Encoding, std::string_view(piece).substr(0, whole), text);
    piece.erase(0, whole);
  }
  DecodeAs(detected.Encoding, piece, text);
  book.Text = BookText::FromText(std::move(text));
  return book;
}

}  // namespace quillon
