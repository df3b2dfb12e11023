// Where the settings and records go: beside a portable copy that may be written, else below the
// user's data folder, with the pictures read from wherever they were installed.

#include "platform/data_folders.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(DataFolders, PortableWhereWritableElseTheUsersDataFolder) {
  struct Case {
    const char* what;
    FolderFacts facts;
    const char16_t* shipped;
    const char16_t* writable;
  };
  const Case cases[] = {
      {"the build folder",
       {u"/src/build", true, true, u"", u"/home/li"},
       u"/src/build",
       u"/src/build"},
      {"a portable copy on a read-only stick",
       {u"/media/q", true, false, u"", u"/home/li"},
       u"/media/q",
       u"/home/li/.local/share/quillon"},
      {"installed in /usr",
       {u"/usr/bin", false, false, u"", u"/home/li"},
       u"/usr/share/quillon",
       u"/home/li/.local/share/quillon"},
      {"installed, run by root who may write /usr/bin",
       {u"/usr/bin", false, true, u"", u"/root"},
       u"/usr/share/quillon",
       u"/root/.local/share/quillon"},
      {"XDG_DATA_HOME set",
       {u"/opt/q/bin", false, false, u"/data/li", u"/home/li"},
       u"/opt/q/share/quillon",
       u"/data/li/quillon"},
      {"a relative XDG_DATA_HOME is ignored",
       {u"/usr/bin", false, false, u"data", u"/home/li"},
       u"/usr/share/quillon",
       u"/home/li/.local/share/quillon"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DataFolders folders = ChooseDataFolders(c.facts);
    EXPECT_EQ(folders.Shipped, c.shipped);
    EXPECT_EQ(folders.Writable, c.writable);
  }
}

}  // namespace
}  // namespace quillon
