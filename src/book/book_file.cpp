#include "book/book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/codepage.h"

namespace quillon {

namespace {

constexpr std::size_t kHeadSample = 64 * 1024;
constexpr std::size_t kMiddleSample = 64 * 1024;
constexpr std::size_t kTailSample = 8 * 1024;
constexpr std::size_t kChunk = 1024 * 1024;

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.size() >= mark.size() && bytes.compare(0, mark.size(), mark) == 0;
}

void Decode(BookEncoding encoding, std::string_view bytes, std::u16string& out) {
  switch (encoding) {
    case BookEncoding::Utf8:
      codepage::AppendUtf8(bytes, out);
      break;
    case BookEncoding::Utf16LE:
    case BookEncoding::Utf16BE:
      out += codepage::DecodeUtf16(bytes, encoding == BookEncoding::Utf16BE);
      break;
    default:
      codepage::AppendGb18030(bytes, out);
      break;
  }
}

// How much of a piece can be decoded before the rest of the file is seen. A byte below 0x30 is
// never part of a multi-byte character in GB18030 or UTF-8, and a decoder is always between
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
  explicit File(const std::u16string& path)
      : fd_(::open(codepage::EncodeUtf8(path).c_str(), O_RDONLY | O_CLOEXEC)) {}
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

DetectedEncoding DetectBookEncoding(std::string_view head, std::string_view middle,
                                    std::string_view tail) {
  if (StartsWith(head, "\xEF\xBB\xBF")) return {BookEncoding::Utf8, 3};
  if (StartsWith(head, "\xFF\xFE")) return {BookEncoding::Utf16LE, 2};
  if (StartsWith(head, "\xFE\xFF")) return {BookEncoding::Utf16BE, 2};
  bool nonAscii = false;
  for (std::string_view sample : {head, middle, tail}) {
    const codepage::Utf8Check check = codepage::CheckUtf8Sample(sample);
    if (!check.Valid) return {};
    nonAscii = nonAscii || check.NonAscii;
  }
  return nonAscii ? DetectedEncoding{BookEncoding::Utf8, 0} : DetectedEncoding{};
}

namespace {

DetectedEncoding DetectInBytes(std::string_view bytes) {
  const std::size_t size = bytes.size();
  const std::size_t middleStart = size / 2;
  return DetectBookEncoding(bytes.substr(0, kHeadSample), bytes.substr(middleStart, kMiddleSample),
                            bytes.substr(size > kTailSample ? size - kTailSample : 0));
}

}  // namespace

BookText DecodeBook(std::string_view bytes) {
  const DetectedEncoding detected = DetectInBytes(bytes);
  std::u16string text;
  text.reserve(bytes.size());
  Decode(detected.Encoding, bytes.substr(detected.MarkLength), text);
  return BookText::FromText(std::move(text));
}

std::optional<BookText> ReadBookFile(const std::u16string& path) {
  File file(path);
  if (!file.IsOpen()) return std::nullopt;
  const std::optional<std::size_t> size = file.RegularSize();
  if (!size) return std::nullopt;

  // Offsets into the text are 32-bit; a text file of 4 GB is not a book anyway.
  if (*size >= (std::size_t{1} << 32)) return std::nullopt;

  std::string head, middle, tail;
  const std::size_t middleStart = *size / 2;
  if (!file.AppendAt(0, kHeadSample, head) || !file.AppendAt(middleStart, kMiddleSample, middle) ||
      !file.AppendAt(*size > kTailSample ? *size - kTailSample : 0, kTailSample, tail)) {
    return std::nullopt;
  }
  const DetectedEncoding detected = DetectBookEncoding(head, middle, tail);

  // Every encoding gives at most one UTF-16 unit per byte. The room is only reserved: pages that
  // the text does not reach are never touched and cost no memory.
  std::u16string text;
  text.reserve(*size);
  // The piece starts with what the last one could not decode yet, the start of a character.
  std::string piece;
  std::size_t offset = detected.MarkLength;
  while (offset < *size) {
    const std::size_t carried = piece.size();
    if (!file.AppendAt(offset, kChunk, piece)) return std::nullopt;
    if (piece.size() == carried) break;  // the file shrank while it was read
    offset += piece.size() - carried;
    const std::size_t whole = WholePart(detected.Encoding, piece);
    Decode(detected.Encoding, std::string_view(piece).substr(0, whole), text);
    piece.erase(0, whole);
  }
  Decode(detected.Encoding, piece, text);
  return BookText::FromText(std::move(text));
}

}  // namespace quillon
