#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "platform/codepage.h"

namespace quillon::files {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = fs::temp_directory_path().string() + "/quillon-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::u16string Path(const std::u16string& name) const {
    return JoinPath(codepage::DecodeUtf8(root_), name);
  }
  std::string SystemPath(const std::u16string& name) const {
    return codepage::EncodeUtf8(Path(name));
  }
  // Every name in the directory tree, to see that no temporary file is left behind.
  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      names.insert(fs::relative(entry.path(), root_).string());
    }
    return names;
  }

  std::string root_;
};

TEST_F(FilesTest, ReplaceFileReplacesTheWholeFileAndKeepsItsPermissions) {
  const std::u16string path = Path(u"设置.txt");  // a UTF-8 name at the system call
  ASSERT_TRUE(ReplaceFile(path, "an old content that is longer than the new one"));
  ASSERT_EQ(::chmod(SystemPath(u"设置.txt").c_str(), 0640), 0);

  std::string error;
  ASSERT_TRUE(ReplaceFile(path, std::string("new\0bytes", 9), &error)) << error;
  EXPECT_EQ(ReadWholeFile(path), std::string("new\0bytes", 9));
  EXPECT_EQ(Listing(), std::set<std::string>{"设置.txt"});

  struct stat info {};
  ASSERT_EQ(::stat(SystemPath(u"设置.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FilesTest, ReplaceFileFailsCleanly) {
  ASSERT_TRUE(ReplaceFile(Path(u"plain"), "kept"));
  ASSERT_TRUE(MakeDirectory(Path(u"folder")));
  struct Row {
    const char* catches;
    std::u16string path;
    int reason;
  };
  const Row rows[] = {
      {"a directory that does not exist", Path(u"missing/file"), ENOENT},
      {"a parent that is a regular file", Path(u"plain/file"), ENOTDIR},
      // Fails only at the rename, after the temporary file was written.
      {"a target that is a directory", Path(u"folder"), EISDIR},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    std::string error;
    EXPECT_FALSE(ReplaceFile(row.path, "new", &error));
    EXPECT_NE(error.find(std::strerror(row.reason)), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(Path(u"plain")), "kept");
    EXPECT_EQ(Listing(), (std::set<std::string>{"plain", "folder"}));
  }
}

TEST_F(FilesTest, ExistenceAndDirectories) {
  ASSERT_TRUE(ReplaceFile(Path(u"file"), ""));
  EXPECT_TRUE(FileExists(Path(u"file")));  // empty, but there
  EXPECT_FALSE(DirectoryExists(Path(u"file")));
  EXPECT_FALSE(FileExists(Path(u"nothing")));

  EXPECT_TRUE(MakeDirectory(Path(u"书签")));
  EXPECT_TRUE(MakeDirectory(Path(u"书签")));  // already there counts as success
  EXPECT_TRUE(DirectoryExists(Path(u"书签")));
  EXPECT_FALSE(FileExists(Path(u"书签")));
  EXPECT_FALSE(MakeDirectory(Path(u"file/sub")));
  EXPECT_FALSE(MakeDirectory(Path(u"file")));  // a file of that name is not a directory
}

TEST_F(FilesTest, ReadWholeFileOfWhatIsNoFile) {
  EXPECT_EQ(ReadWholeFile(Path(u"missing")), std::nullopt);
  EXPECT_EQ(ReadWholeFile(codepage::DecodeUtf8(root_)), std::nullopt);
}

TEST_F(FilesTest, ReadWholeFileReadsPastOneBuffer) {
  std::string large(300000, 'x');
  large[123456] = '\0';
  ASSERT_TRUE(ReplaceFile(Path(u"large"), large));
  EXPECT_EQ(ReadWholeFile(Path(u"large")), large);
}

// Whatever bytes name a file, the text PathFromNative makes of them goes back to those bytes, comes
// through the records' GB18030 unchanged and shows no raw byte as a character. The names are
// random, with more of what trips a decoder: bytes above 0x7F, digits (the middle of a four-byte
// GB18030 code), the lone 0x80, whole UTF-8 and GBK characters, and the UTF-8 of the characters
// that stand for raw bytes.
TEST_F(FilesTest, AnyNameGoesBackToItsOwnBytes) {
  std::mt19937 random(20260);
  const std::string pieces[] = {
      "\x80", "\xE4\xB8\xAD", "\xD6\xD0", "\xEF\x9F\xA9", "\x81\x30\x81\x30", "\xFF", "a", "."};
  const auto randomName = [&] {
    std::string name;
    const int length = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < length; ++k) {
      const unsigned kind = random() % 4;
      if (kind == 0) {
        name += pieces[random() % std::size(pieces)];
      } else if (kind == 1) {
        name += static_cast<char>('0' + random() % 10);
      } else {
        name += static_cast<char>(0x80 + random() % 0x80);
      }
    }
    return name == "." || name == ".." ? name + "a" : name;
  };
  for (int i = 0; i < 400; ++i) {
    // A folder of its own for each, so no other name can be its twin in the other encoding.
    const std::string folder = root_ + "/" + std::to_string(i) + randomName();
    const std::string bytes = folder + "/" + randomName();
    SCOPED_TRACE(::testing::PrintToString(bytes));
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_TRUE(std::ofstream(bytes).good());
    const std::u16string path = PathFromNative(bytes);
    EXPECT_EQ(NativePath(path), bytes);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(codepage::DecodeGb18030(codepage::EncodeGb18030(path)), path);
    const std::u16string shown = ShownPath(path);
    EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), IsRawByte));
    // The open dialog's listing names it the same way.
    const std::vector<DirectoryEntry> listed = ListDirectory(PathFromNative(folder));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(JoinPath(PathFromNative(folder), listed[0].Name), path);
    EXPECT_FALSE(listed[0].IsDirectory);
  }
}

TEST(JoinPathTest, AddsExactlyOneSeparator) {
  EXPECT_EQ(JoinPath(u"/books", u"a.txt"), u"/books/a.txt");
  EXPECT_EQ(JoinPath(u"/books/", u"a.txt"), u"/books/a.txt");
  EXPECT_EQ(JoinPath(u"/", u"a.txt"), u"/a.txt");
}

}  // namespace
}  // namespace quillon::files
