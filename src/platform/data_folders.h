#pragma once
// Where the reader keeps its files. A portable copy (the build folder, a folder on a USB stick)
// keeps everything beside the executable. An installed one, or a copy in a folder the user cannot
// write, reads the shipped pictures where they were installed and keeps the settings and records
// below the user's data folder. This is the one place that decides; everything else asks the
// platform for the two folders.

#include <string>

namespace quillon {

struct DataFolders {
  // Configure/ (the cover and background pictures) and Icosource/ (cursor and icons).
  std::u16string Shipped;
  // Configure/Readerset.dat and Bookmark/, in the same layout below it.
  std::u16string Writable;
};

// What the choice depends on, read from the machine by ReadFolderFacts.
struct FolderFacts {
  std::u16string ExecutableDirectory;
  // The shipped folders stand beside the executable: a portable copy.
  bool DataBesideExecutable = false;
  bool ExecutableDirectoryWritable = false;
  std::u16string XdgDataHome;  // empty when not set
  std::u16string Home;
};

DataFolders ChooseDataFolders(const FolderFacts& facts);
FolderFacts ReadFolderFacts(const std::u16string& executableDirectory);

}  // namespace quillon
