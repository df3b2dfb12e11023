#pragma once
// The few file-system operations the reader needs. Paths are UTF-16 text like every other text of
// the core and use '/' as the separator; they are turned into the system's bytes only at the
// system call.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::files {

// A path as the system names it: UTF-8. A name whose bytes are not UTF-8 (a GBK name, as archives
// made on Windows carry) was read as GB18030 by PathFromNative; each component is tried in
// UTF-8 first and then in GB18030, so such a file is found again under its own bytes.
std::string NativePath(std::u16string_view path);
// The path the system gave in bytes: each component read as UTF-8, or as GB18030 where it is
// not valid UTF-8.
std::u16string PathFromNative(std::string_view bytes);

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

// Joins a directory and a relative name with '/'.
std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

}  // namespace quillon::files
