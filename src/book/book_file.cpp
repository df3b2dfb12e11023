#include "book/book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"

namespace quillon {

namespace {

// Some thousands of characters from three places of the file settle its encoding.
constexpr std::size_t kHeadSample = 16 * 1024;
constexpr std::size_t kMiddleSample = 16 * 1024;
constexpr std::size_t kTailSample = 8 * 1024;

bool IsUtf16(BookEncoding encoding) {
  return encoding == BookEncoding::Utf16LE || encoding == BookEncoding::Utf16BE;
}

// Where decoding may stop and start again with the same result as reading straight on. In
// GB18030 and Big5: after a byte below 0x30 or from 0x40 to 0x7F, which is ASCII or the second
// byte of a two-byte code and never inside a four-byte code. (In UTF-8 it is before any byte
// that does not continue a character, and in UTF-16 at any whole code unit.)
bool IsBoundaryAfter(unsigned char byte) {
  return byte < 0x30 || (byte >= 0x40 && byte <= 0x7F);
}

// How much of `bytes` can be decoded before the rest of the file is seen.
std::size_t WholePart(BookEncoding encoding, std::string_view bytes) {
  if (IsUtf16(encoding)) return bytes.size() & ~static_cast<std::size_t>(1);
  std::size_t end = bytes.size();
  if (encoding == BookEncoding::Utf8) {
    // Up to the last byte that starts a character.
    while (end > 0 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80) --end;
    return end > 0 ? end - 1 : 0;
  }
  while (end > 0 && !IsBoundaryAfter(static_cast<unsigned char>(bytes[end - 1]))) --end;
  return end;
}

char16_t* DecodeInto(BookEncoding encoding, std::string_view bytes, char16_t* out) {
  switch (encoding) {
    case BookEncoding::Big5:
      return codepage::DecodeBig5Into(bytes, out);
    case BookEncoding::Utf8:
      return codepage::DecodeUtf8Into(bytes, out);
    case BookEncoding::Utf16LE:
    case BookEncoding::Utf16BE:
      return codepage::DecodeUtf16Into(bytes, encoding == BookEncoding::Utf16BE, out);
    default:
      return codepage::DecodeGb18030Into(bytes, out);
  }
}

// Where a book's bytes come from: a file, or memory for tests and the fuzzer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes at `offset` into `into`: how many (fewer only at the end), or
  // nullopt on a read error.
  virtual std::optional<std::size_t> ReadAt(std::size_t offset, char* into,
                                            std::size_t size) const = 0;
  // Appends up to `size` bytes read at `offset` to `out`; false on a read error.
  bool AppendAt(std::size_t offset, std::size_t size, std::string& out) const {
    const std::size_t start = out.size();
    out.resize(start + size);
    const std::optional<std::size_t> got = ReadAt(offset, out.data() + start, size);
    out.resize(start + got.value_or(0));
    return got.has_value();
  }
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::optional<std::size_t> ReadAt(std::size_t offset, char* into,
                                    std::size_t size) const override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t got = std::min(size, bytes_.size() - offset);
    std::memcpy(into, bytes_.data() + offset, got);
    return got;
  }

 private:
  std::string_view bytes_;
};

class File : public ByteSource {
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
  std::optional<std::size_t> ReadAt(std::size_t offset, char* into,
                                    std::size_t size) const override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got = ::pread(fd_, into + done, size - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return std::nullopt;
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

 private:
  int fd_;
};

// A stretch of the file decoded on a thread of its own, into the part of the text that starts
// where its bytes start (no encoding yields more units than bytes, so stretches never overlap).
struct Piece {
  std::size_t Begin = 0;
  std::size_t End = 0;
  char16_t* Out = nullptr;
  char16_t* OutEnd = nullptr;
  char16_t* Limit = nullptr;  // where the next piece's room starts
  LineTable Lines;
  bool Failed = false;
  bool OutOfMemory = false;
};

constexpr std::size_t kParallelBytes = 4u << 20;
constexpr std::size_t kSplitWindow = 1u << 20;

// Where to cut near `target`: right after a line feed within the window that follows, so that
// each piece's lines are its own. nullopt when the window has none (one paragraph of a whole
// book is then read on one thread: moving its pieces together afterwards costs more than it saves).
std::optional<std::size_t> FindCut(const ByteSource& file, BookEncoding encoding,
                                   std::size_t target) {
  std::string window;
  if (!file.AppendAt(target, kSplitWindow, window)) return std::nullopt;
  const auto* bytes = reinterpret_cast<const unsigned char*>(window.data());
  const std::size_t size = window.size();
  if (IsUtf16(encoding)) {
    // `target` is a whole unit into the text; a line feed is 0A 00 or 00 0A.
    const unsigned char low = encoding == BookEncoding::Utf16LE ? 0x0A : 0x00;
    const unsigned char high = encoding == BookEncoding::Utf16LE ? 0x00 : 0x0A;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      if (bytes[i] == low && bytes[i + 1] == high) return target + i + 2;
    }
    return std::nullopt;
  }
  if (const void* line = std::memchr(bytes, '\n', size)) {
    return target + static_cast<std::size_t>(static_cast<const unsigned char*>(line) - bytes) + 1;
  }
  return std::nullopt;
}

std::vector<Piece> Pieces(const ByteSource& file, BookEncoding encoding, std::size_t begin,
                          std::size_t size, int threads) {
  std::vector<Piece> pieces(1);
  pieces[0].Begin = begin;
  for (int t = 1; t < threads; ++t) {
    std::size_t target =
        begin + (size - begin) / static_cast<std::size_t>(threads) * static_cast<std::size_t>(t);
    if (IsUtf16(encoding)) target -= (target - begin) % 2;
    if (target <= pieces.back().Begin) continue;
    const std::optional<std::size_t> cut = FindCut(file, encoding, target);
    if (!cut || *cut <= pieces.back().Begin || *cut >= size) continue;
    pieces.back().End = *cut;
    pieces.emplace_back();
    pieces.back().Begin = *cut;
  }
  pieces.back().End = size;
  return pieces;
}

// Units of line ends, no line's text, behind which the text still to come moves down.
constexpr std::size_t kUnshownWorthMoving = 16 * 1024;

// Reads and decodes one piece chunk by chunk, straight into the text, and finds its lines when
// they are all its own.
void ReadPieceUnguarded(const ByteSource& file, BookEncoding encoding, char16_t* text,
                        const ReadControl* control, Piece& piece) {
  // Small enough to stay in the cache between its read and its decode, and to be faulted in once
  // (a megabyte's pages cost more than decoding them).
  constexpr std::size_t kChunk = 128u << 10;
  const bool direct =
      encoding == BookEncoding::Utf16LE && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
  // Not a string: resizing one would clear every byte before it is read over.
  std::size_t capacity = direct ? 0 : std::min(kChunk, piece.End - piece.Begin);
  std::unique_ptr<char[]> chunk(new char[capacity]);
  std::size_t carried = 0;  // the start of a character that the last chunk cut off
  char16_t* out = piece.Out;
  std::size_t offset = piece.Begin;
  // Lines are found chunk by chunk while the text is still in the cache. Text that no line shows
  // (the line ends of a run of blank lines) is written over by what follows, so a book of blank
  // lines takes no memory for them.
  const auto start = static_cast<std::size_t>(piece.Out - text);
  std::size_t split = start;
  std::size_t searched = start;
  piece.Lines.BeginSegment(piece.End - piece.Begin + 1);
  while (offset < piece.End) {
    if (control != nullptr && control->Cancel != nullptr && control->Cancel->load()) {
      piece.Failed = true;
      return;
    }
    if (!direct && carried == capacity) {
      // No place to stop in a whole chunk (a long run without ASCII): read on with more room.
      std::unique_ptr<char[]> larger(new char[capacity * 2]);
      std::memcpy(larger.get(), chunk.get(), carried);
      chunk = std::move(larger);
      capacity *= 2;
    }
    // UTF-16 in the machine's own order is already the text: it is read straight into place.
    char* into = direct ? reinterpret_cast<char*>(out) : chunk.get() + carried;
    const std::optional<std::size_t> read = file.ReadAt(
        offset, into, std::min(direct ? kChunk : capacity - carried, piece.End - offset));
    if (!read || *read == 0) {
      piece.Failed = true;  // a read error, or the file shrank while it was read
      return;
    }
    offset += *read;
    if (control != nullptr && control->BytesDone != nullptr) control->BytesDone->fetch_add(*read);
    if (direct) {
      out += *read / 2;
      if (*read % 2 != 0) *out++ = 0xFFFD;  // an odd byte, which only the file's end can have
    } else {
      const std::string_view bytes(chunk.get(), carried + *read);
      const std::size_t whole = offset < piece.End ? WholePart(encoding, bytes) : bytes.size();
      out = DecodeInto(encoding, bytes.substr(0, whole), out);
      carried = bytes.size() - whole;
      std::memmove(chunk.get(), chunk.get() + whole, carried);
    }
    split = BookText::SplitCompleteLines(text, split, static_cast<std::size_t>(out - text),
                                         searched, offset >= piece.End, piece.Lines);
    const std::size_t shown = std::max(start, piece.Lines.TextEnd());
    if (split - shown >= kUnshownWorthMoving) {
      out = std::copy(text + split, out, text + shown);
      split = shown;
    }
    searched = static_cast<std::size_t>(out - text);
  }
  piece.OutEnd = out;
}

// Nothing may leave a thread's function; running out of memory is told on the reading thread.
void ReadPiece(const ByteSource& file, BookEncoding encoding, char16_t* text,
               const ReadControl* control, Piece& piece) {
  try {
    ReadPieceUnguarded(file, encoding, text, control, piece);
    // What the piece wrote past its text, and a huge page it only began, are given back at once.
    if (!piece.Failed) TextBuffer::Release(piece.OutEnd, piece.Limit);
  } catch (const std::bad_alloc&) {
    piece.Failed = piece.OutOfMemory = true;
  } catch (const std::length_error&) {
    piece.Failed = piece.OutOfMemory = true;
  }
}

bool ReadText(const ByteSource& file, const DetectedEncoding& detected, std::size_t size,
              const ReadControl* control, BookFile& book) {
  const BookEncoding encoding = detected.Encoding;
  const std::size_t begin = detected.MarkLength;
  const std::size_t bytes = size - begin;
  int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
  // A small book is quicker read on one thread than spread over several.
  if (bytes < kParallelBytes) threads = 1;
  if (control != nullptr && control->Threads > 0) threads = control->Threads;
  std::vector<Piece> pieces = Pieces(file, encoding, begin, size, threads);
  // Each piece after the first starts on a huge page of its own, one huge page further on than
  // its bytes would put it, so that no huge page is taken for the room before it.
  constexpr std::size_t kHugeUnits = (2u << 20) / sizeof(char16_t);
  TextBuffer text((IsUtf16(encoding) ? bytes / 2 + 1 : bytes) + (pieces.size() - 1) * kHugeUnits);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::size_t into = pieces[i].Begin - begin;
    std::size_t out = IsUtf16(encoding) ? into / 2 : into;
    if (i > 0) {
      const auto address = reinterpret_cast<std::uintptr_t>(text.data() + out + i * kHugeUnits);
      const std::uintptr_t aligned = address & ~std::uintptr_t{(2u << 20) - 1};
      out = static_cast<std::size_t>(reinterpret_cast<char16_t*>(aligned) - text.data());
    }
    pieces[i].Out = text.data() + out;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    pieces[i].Limit = i + 1 < pieces.size() ? pieces[i + 1].Out : text.data() + text.capacity();
  }
  {
    std::vector<std::thread> workers;
    std::size_t started = 1;
    for (; started < pieces.size(); ++started) {
      try {
        workers.emplace_back(ReadPiece, std::cref(file), encoding, text.data(), control,
                             std::ref(pieces[started]));
      } catch (const std::system_error&) {
        break;  // no more threads to be had: this one reads the rest
      }
    }
    ReadPiece(file, encoding, text.data(), control, pieces[0]);
    for (std::size_t i = started; i < pieces.size(); ++i) {
      ReadPiece(file, encoding, text.data(), control, pieces[i]);
    }
    for (std::thread& worker : workers) worker.join();
  }
  for (const Piece& piece : pieces) {
    if (piece.OutOfMemory) throw std::bad_alloc();
  }
  for (const Piece& piece : pieces) {
    if (piece.Failed) {
      book.Cancelled = control != nullptr && control->Cancel != nullptr && control->Cancel->load();
      return false;
    }
  }

  // The lines of the pieces in order; each piece's lines are a segment of their own.
  LineTable lines;
  for (Piece& piece : pieces) lines.Append(std::move(piece.Lines));
  book.Text = BookText(std::move(text), std::move(lines));
  return true;
}

}  // namespace

BookText DecodeBook(std::string_view bytes, std::optional<BookEncoding> encoding, int threads) {
  DetectedEncoding detected = DetectBookEncoding(bytes);
  if (encoding) {
    const bool markFits = detected.MarkLength > 0 && detected.Encoding == *encoding;
    detected = {*encoding, markFits ? detected.MarkLength : 0, true};
  }
  BookFile book;
  ReadControl control;
  control.Threads = threads;
  ReadText(MemorySource(bytes), detected, bytes.size(), &control, book);
  return book.Text ? std::move(*book.Text) : BookText();
}

namespace {

// The file's size and encoding as a read of the whole finds them; nullopt when it cannot be read
// (`book` then says why, if it is not text).
std::optional<std::pair<std::size_t, DetectedEncoding>> Detect(const File& file,
                                                               std::optional<BookEncoding> encoding,
                                                               BookFile& book) {
  if (!file.IsOpen()) return std::nullopt;
  const std::optional<std::size_t> size = file.RegularSize();
  if (!size) return std::nullopt;

  // Offsets into the text are 32-bit; a text file of 4 GB is not a book anyway.
  if (*size >= (std::size_t{1} << 32)) return std::nullopt;

  // The samples start at even offsets, where UTF-16 code units start.
  std::string head, middle, tail;
  const std::size_t middleStart = *size / 2 & ~std::size_t{1};
  const std::size_t tailStart = *size > kTailSample ? (*size - kTailSample) & ~std::size_t{1} : 0;
  if (!file.AppendAt(0, kHeadSample, head) || !file.AppendAt(middleStart, kMiddleSample, middle) ||
      !file.AppendAt(tailStart, kTailSample, tail)) {
    return std::nullopt;
  }
  DetectedEncoding detected =
      head.size() == *size
          ? DetectBookEncoding({head, true, true}, {}, {})
          : DetectBookEncoding({head, true, false}, {middle, false, false}, {tail, false, true});
  if (encoding) {
    // The user's choice stands, but a mark is still not part of the text.
    const bool markFits = detected.MarkLength > 0 && detected.Encoding == *encoding;
    detected = {*encoding, markFits ? detected.MarkLength : 0, true};
  }
  book.Encoding = detected.Encoding;
  if (!detected.LooksLikeText) {
    book.NotText = true;
    return std::nullopt;
  }
  return std::pair{*size, detected};
}

}  // namespace

BookFile ReadBookFile(const std::u16string& path, std::optional<BookEncoding> encoding,
                      const ReadControl* control) {
  BookFile book;
  const File file(path);
  if (const auto found = Detect(file, encoding, book)) {
    if (!ReadText(file, found->second, found->first, control, book)) book.Text.reset();
  }
  return book;
}

BookFile ReadBookStart(const std::u16string& path, std::optional<BookEncoding> encoding,
                       std::size_t bytes) {
  BookFile book;
  const File file(path);
  const auto found = Detect(file, encoding, book);
  if (!found) return book;
  const auto& [size, detected] = *found;
  const std::size_t target =
      detected.MarkLength + (IsUtf16(detected.Encoding) ? bytes & ~std::size_t{1} : bytes);
  if (target >= size) return book;
  const std::optional<std::size_t> cut = FindCut(file, detected.Encoding, target);
  if (!cut || *cut >= size) return book;
  ReadControl control;
  control.Threads = 1;
  if (!ReadText(file, detected, *cut, &control, book)) book.Text.reset();
  return book;
}

}  // namespace quillon
