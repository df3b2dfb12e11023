#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.

#include <string>

namespace quillon::fake {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::u16string path16() const;
  // Writes a file below the folder (creating folders on the way) and returns its full path.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  // The bytes of a file below the folder, or nullopt-like empty when missing (see Exists).
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace quillon::fake
