#pragma once
// The few file-system operations the reader needs. Paths are UTF-16 text like every other text of
// the core and use '/' as the separator; they are turned into the system's bytes only at the
// system call.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::files {

// A path as the system names it. Each component goes out in the form a file already has: UTF-8,
// else GB18030 (a GBK name, as archives made on Windows carry), else UTF-8 for a file about to be
// made. A byte kept as a raw-byte character by PathFromNative goes out as that byte again.
std::string NativePath(std::u16string_view path);
// The path the system gave in bytes, as text that keeps every byte: each component read as UTF-8,
// else as GB18030, else as whichever of the two leaves fewer bytes undecoded, and each byte that
// does not decode kept as a raw-byte character. NativePath gives back the same bytes, so a file
// of any name can be opened and remembered.
std::u16string PathFromNative(std::string_view bytes);

// Raw-byte characters are U+F780 to U+F7FF, for the bytes 0x80 to 0xFF (an ASCII byte always
// decodes). They lie in the Private Use Area, which no character set assigns, so a name from the
// system never means them (PathFromNative keeps a name's own U+F780 to U+F7FF as raw bytes too);
// unlike the lone surrogates some programs use for this, they are whole characters that the
// records' GB18030 carries (as four-byte codes) and that text code never mistakes for damage.
bool IsRawByte(char16_t c);
// The path as the user reads it: each raw byte written as \xE9.
std::u16string ShownPath(std::u16string_view path);

// What a directory holds, for a file dialog of the reader's own: the system's own dialogs leave
// out every name that is not UTF-8. Names are as PathFromNative reads them; "." and ".." are left
// out. Empty when the directory cannot be read.
struct DirectoryEntry {
  std::u16string Name;
  bool IsDirectory = false;  // a link counts as what it points to
};
std::vector<DirectoryEntry> ListDirectory(const std::u16string& path);

bool FileExists(const std::u16string& path);  // something that is not a directory
// The size of a regular file; nullopt for anything else.
std::optional<std::size_t> RegularFileSize(const std::u16string& path);

// What tells one version of a file from another without reading it: its size and when it was last
// written, to the nanosecond.
struct FileStamp {
  std::int64_t Size = 0;
  std::int64_t Modified = 0;
  bool operator==(const FileStamp& other) const {
    return Size == other.Size && Modified == other.Modified;
  }
};
std::optional<FileStamp> FileStampOf(const std::u16string& path);
bool DirectoryExists(const std::u16string& path);
// Creates the directory (its parent must exist). True when it exists afterwards.
bool MakeDirectory(const std::u16string& path);

// The whole content of a regular file, or nullopt when it cannot be opened or read (missing, a
// directory, a pipe or a device, no permission). Nothing here ever waits for a writer.
std::optional<std::string> ReadWholeFile(const std::u16string& path);

// Replaces the file with `bytes`: writes a temporary file beside it, flushes it to the disk and
// renames it over the old one, so a crash or a full disk never leaves a half-written or missing
// file. On failure the old file is untouched, the temporary file is removed, and `error` (when
// given) says why in a few words.
bool ReplaceFile(const std::u16string& path, std::string_view bytes, std::string* error = nullptr);

// How bytes reach a file descriptor: write(2), or in tests a writer that runs out of disk.
using WriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;
bool ReplaceFile(const std::u16string& path, std::string_view bytes, std::string* error,
                 const WriteFunction& write);

// Removes the temporary files ReplaceFile leaves behind when a process dies between writing and
// renaming (".NAME.tmp-PID-N"), but only those of processes that no longer run: another reader
// on the same folder may be saving right now.
void RemoveLeftoverTemporaries(const std::u16string& directory);

// The process's working directory; "/" when it cannot be told.
std::u16string WorkingDirectory();

// Joins a directory and a relative name with '/'.
std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

}  // namespace quillon::files
