#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/codepage.h"

namespace quillon::files {

namespace {

std::string SystemPath(std::u16string_view path) {
  return NativePath(path);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

void SetError(std::string* error, const std::string& what, int errorNumber) {
  if (error) *error = what + ": " + std::strerror(errorNumber);
}

bool WriteAll(int fd, std::string_view bytes, const WriteFunction& write) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const long written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {  // no progress and no error: report it like a full disk
      errno = ENOSPC;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

bool SyncRetrying(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Makes the new file durable in its directory entry; some file systems cannot sync a directory,
// and the data is already safe by then, so a failure here is not reported.
void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  SyncRetrying(fd);
  ::close(fd);
}

std::atomic<unsigned> temporaryCounter{0};

// A raw byte b stands as U+F700 + b; see IsRawByte.
constexpr char16_t kRawByteBase = 0xF700;
constexpr char16_t kRawByteFirst = kRawByteBase + 0x80;
constexpr char16_t kRawByteLast = kRawByteBase + 0xFF;

enum class NameEncoding { Utf8, Gb18030 };

// How many bytes the character starting at `bytes` takes in the encoding, judged by its first
// bytes only; 0 when no character can start there.
std::size_t CharacterLength(std::string_view bytes, NameEncoding encoding) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned lead = byte(0);
  std::size_t length = 0;
  if (encoding == NameEncoding::Utf8) {
    length = lead >= 0xC2 && lead <= 0xDF   ? 2
             : lead >= 0xE0 && lead <= 0xEF ? 3
             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                            : 0;
  } else if (lead >= 0x81 && lead <= 0xFE && bytes.size() >= 2) {
    length = byte(1) >= '0' && byte(1) <= '9' ? 4 : 2;
  }
  return length <= bytes.size() ? length : 0;
}

struct DecodedName {
  std::u16string Text;
  std::size_t RawBytes = 0;
};

// A character is taken only when it encodes back to exactly its bytes and is no raw-byte
// character itself: so NativePath, encoding the text, always gives the bytes read. Everything else
// (damage, the lone 0x80 that reads as the euro sign, a byte of another encoding) is a raw byte,
// and decoding goes on at the next byte.
DecodedName DecodeName(std::string_view bytes, NameEncoding encoding) {
  DecodedName name;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      name.Text += static_cast<char16_t>(lead);
      ++at;
      continue;
    }
    const std::string_view rest = bytes.substr(at);
    const std::size_t length = CharacterLength(rest, encoding);
    if (length > 0) {
      const std::string_view piece = rest.substr(0, length);
      const bool utf8 = encoding == NameEncoding::Utf8;
      const std::u16string character =
          utf8 ? codepage::DecodeUtf8(piece) : codepage::DecodeGb18030(piece);
      if (!character.empty() && !IsRawByte(character[0]) &&
          (utf8 ? codepage::EncodeUtf8(character) : codepage::EncodeGb18030(character)) == piece) {
        name.Text += character;
        at += length;
        continue;
      }
    }
    name.Text += static_cast<char16_t>(kRawByteBase + lead);
    ++name.RawBytes;
    ++at;
  }
  return name;
}

// The text in the encoding, each raw-byte character as its byte.
std::string EncodeName(std::u16string_view text, NameEncoding encoding) {
  std::string bytes;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto raw = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
                                  [](char16_t c) { return IsRawByte(c); });
    const std::size_t end = static_cast<std::size_t>(raw - text.begin());
    const std::u16string_view run = text.substr(start, end - start);
    bytes +=
        encoding == NameEncoding::Utf8 ? codepage::EncodeUtf8(run) : codepage::EncodeGb18030(run);
    if (end < text.size()) bytes += static_cast<char>(text[end] - kRawByteBase);
    start = end + 1;
  }
  return bytes;
}

}  // namespace

std::string NativePath(std::u16string_view path) {
  std::string utf8 = EncodeName(path, NameEncoding::Utf8);
  // An ASCII name is the same bytes in either encoding.
  if (Exists(utf8) || std::all_of(path.begin(), path.end(), [](char16_t c) { return c < 0x80; })) {
    return utf8;
  }
  // Component by component, the form that exists; a component that exists in neither (a file
  // about to be made) stays UTF-8.
  std::string native;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find(u'/', start), path.size());
    const std::u16string_view component = path.substr(start, slash - start);
    std::string candidate = native + EncodeName(component, NameEncoding::Utf8);
    if (!Exists(candidate)) {
      std::string gb = native + EncodeName(component, NameEncoding::Gb18030);
      if (Exists(gb)) candidate = std::move(gb);
    }
    native = std::move(candidate);
    if (slash < path.size()) native += '/';
    start = slash + 1;
  }
  return native;
}

std::u16string PathFromNative(std::string_view bytes) {
  std::u16string path;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    const std::size_t slash = std::min(bytes.find('/', start), bytes.size());
    const std::string_view component = bytes.substr(start, slash - start);
    DecodedName name = DecodeName(component, NameEncoding::Utf8);
    if (name.RawBytes > 0) {
      DecodedName gb = DecodeName(component, NameEncoding::Gb18030);
      if (gb.RawBytes < name.RawBytes) name = std::move(gb);
    }
    path += name.Text;
    if (slash < bytes.size()) path += u'/';
    start = slash + 1;
  }
  return path;
}

bool IsRawByte(char16_t c) {
  return c >= kRawByteFirst && c <= kRawByteLast;
}

std::u16string ShownPath(std::u16string_view path) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string shown;
  shown.reserve(path.size());
  for (const char16_t c : path) {
    if (!IsRawByte(c)) {
      shown += c;
      continue;
    }
    const unsigned byte = c - kRawByteBase;
    shown += u"\\x";
    shown += kDigits[byte >> 4];
    shown += kDigits[byte & 0xF];
  }
  return shown;
}

std::vector<DirectoryEntry> ListDirectory(const std::u16string& path) {
  const std::string folder = SystemPath(path);
  std::vector<DirectoryEntry> entries;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return entries;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const std::string full =
        folder + (folder.empty() || folder.back() != '/' ? "/" : "") + std::string(name);
    const bool directory = ::stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({PathFromNative(name), directory});
  }
  ::closedir(listing);
  return entries;
}

bool FileExists(const std::u16string& path) {
  struct stat info {};
  return ::stat(SystemPath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::optional<std::size_t> RegularFileSize(const std::u16string& path) {
  struct stat info {};
  if (::stat(SystemPath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::size_t>(info.st_size);
}

std::optional<FileStamp> FileStampOf(const std::u16string& path) {
  struct stat info {};
  if (::stat(SystemPath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileStamp{
      static_cast<std::int64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool DirectoryExists(const std::u16string& path) {
  struct stat info {};
  return ::stat(SystemPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(const std::u16string& path) {
  ::mkdir(SystemPath(path).c_str(), 0777);
  return DirectoryExists(path);
}

std::optional<std::string> ReadWholeFile(const std::u16string& path) {
  // Without O_NONBLOCK a named pipe would block here until something wrote to it.
  const int fd = ::open(SystemPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> content;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    std::string bytes;
    // The size is only a hint: the file may grow or shrink while it is read.
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
      bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    bool failed = false;
    for (;;) {
      const ssize_t count = ::read(fd, buffer, sizeof buffer);
      if (count < 0) {
        if (errno == EINTR) continue;
        failed = true;
        break;
      }
      if (count == 0) break;
      bytes.append(buffer, static_cast<std::size_t>(count));
    }
    if (!failed) content = std::move(bytes);
  }
  ::close(fd);
  return content;
}

bool ReplaceFile(const std::u16string& path, std::string_view bytes, std::string* error) {
  return ReplaceFile(path, bytes, error, [](int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
  });
}

bool ReplaceFile(const std::u16string& path, std::string_view bytes, std::string* error,
                 const WriteFunction& write) {
  const std::string target = SystemPath(path);
  const std::size_t slash = target.rfind('/');
  const std::string directory =
      slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) {
    SetError(error, "cannot replace " + target, EISDIR);
    return false;
  }

  // The old file's permissions carry over; a new file gets the default of open().
  mode_t mode = 0666;
  bool keepMode = false;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    mode = old.st_mode & 07777;
    keepMode = true;
  }

  // A dot name with the process id and a counter cannot clash with a user's file or with a
  // second save running at the same time; O_EXCL makes sure of it.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = directory + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-" +
                std::to_string(temporaryCounter.fetch_add(1));
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int saved = errno;
    SetError(error, "cannot create " + temporary, saved);
    return false;
  }

  const auto fail = [&](const std::string& what, int errorNumber) {
    SetError(error, what, errorNumber);
    ::unlink(temporary.c_str());
    return false;
  };
  // open() applied the umask; the old file's exact bits win over it.
  if (keepMode && ::fchmod(fd, mode) != 0) {
    const int saved = errno;
    ::close(fd);
    return fail("cannot set the permissions of " + temporary, saved);
  }
  if (!WriteAll(fd, bytes, write)) {
    const int saved = errno;
    ::close(fd);
    return fail("cannot write " + temporary, saved);
  }
  if (!SyncRetrying(fd)) {
    const int saved = errno;
    ::close(fd);
    return fail("cannot flush " + temporary, saved);
  }
  // On Linux the descriptor is gone even after EINTR, and the data was already synced.
  if (::close(fd) != 0 && errno != EINTR) {
    const int saved = errno;
    return fail("cannot close " + temporary, saved);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    return fail("cannot rename " + temporary + " to " + target, saved);
  }
  SyncDirectory(directory);
  return true;
}

void RemoveLeftoverTemporaries(const std::u16string& directory) {
  const std::string folder = SystemPath(directory);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    const std::size_t mark = name.rfind(".tmp-");
    if (name.empty() || name[0] != '.' || mark == std::string::npos) continue;
    const std::string owner = name.substr(mark + 5, name.find('-', mark + 5) - mark - 5);
    if (owner.empty() || owner.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat info {};
    const bool running = ::stat(("/proc/" + owner).c_str(), &info) == 0;
    if (!running) leftovers.push_back(folder + "/" + name);
  }
  ::closedir(listing);
  for (const std::string& path : leftovers) ::unlink(path.c_str());
}

std::u16string WorkingDirectory() {
  std::string directory(256, '\0');
  while (::getcwd(directory.data(), directory.size()) == nullptr) {
    if (errno != ERANGE) return u"/";
    directory.resize(directory.size() * 2);
  }
  directory.resize(std::strlen(directory.c_str()));
  return PathFromNative(directory);
}

std::u16string JoinPath(std::u16string_view directory, std::u16string_view name) {
  std::u16string result(directory);
  if (!result.empty() && result.back() != u'/') result.push_back(u'/');
  result.append(name);
  return result;
}

}  // namespace quillon::files
