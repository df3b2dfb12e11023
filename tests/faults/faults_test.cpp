// The reader against the faults of real machines and real files: a disk that fills up while a
// record is saved, a folder it cannot write, data files cut off at any byte, books that are empty,
// huge, binary or nothing but blank lines, and books that vanish while the user looks at them.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "platform/codepage.h"
#include "platform/files.h"
#include "reader/frmMain.h"
#include "records/frmReadRecord.h"
#include "records/last_read.h"
#include "records/reading_history.h"
#include "settings/reader_settings.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

class FaultTest : public ::testing::Test {
 protected:
  std::unique_ptr<frmMain> Start() {
    auto window = std::make_unique<frmMain>(fake.platform, pub);
    window->Show();
    return window;
  }
  std::u16string WriteBook(const std::string& name, const std::string& bytes) {
    return codepage::DecodeUtf8(fake.folder.Write(name, bytes));
  }
  std::u16string WritePagesBook(const std::string& name, int pages) {
    std::u16string text;
    for (int i = 0; i < pages * 25; ++i)
      text += u"第" + codepage::DecodeUtf8(std::to_string(i / 25)) + u"页\r\n";
    return WriteBook(name, codepage::EncodeGb18030(text));
  }
  void Open(frmMain& reader, const std::u16string& path) {
    fake.dialogs.openAnswers.push_back(path);
    reader.lblOpen.Click();
  }
  std::size_t TemporaryFilesIn(const std::string& relative) const {
    std::size_t count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(fake.DirectoryUtf8() + "/" + relative)) {
      count += entry.path().filename().string().find(".tmp-") != std::string::npos;
    }
    return count;
  }

  fake::FakePlatform fake;
  mPubVariable pub;
};

TEST_F(FaultTest, ADiskThatFillsUpAtAnyByteLeavesTheOldFileWhole) {
  const std::string old = "\"/old/book.txt\",12\r\n";
  const std::u16string path = codepage::DecodeUtf8(fake.folder.Write("Bookmark/Lastread.dat", old));
  const std::string fresh = LastReadFileBytes({u"/新的/书.txt", 345});
  for (std::size_t room = 0; room < fresh.size(); ++room) {
    SCOPED_TRACE(room);
    std::size_t left = room;
    const auto fillingDisk = [&left](int fd, const char* data, std::size_t size) -> long {
      if (left == 0) {
        errno = ENOSPC;
        return -1;
      }
      const std::size_t now = std::min(left, size);
      left -= now;
      return static_cast<long>(::write(fd, data, now));
    };
    std::string error;
    EXPECT_FALSE(files::ReplaceFile(path, fresh, &error, fillingDisk));
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
    EXPECT_EQ(fake.folder.Read("Bookmark/Lastread.dat"), old);
    EXPECT_EQ(TemporaryFilesIn("Bookmark"), 0u);
  }
  // A disk that takes a byte at a time is slow, not full.
  const auto byteByByte = [](int fd, const char* data, std::size_t) {
    return static_cast<long>(::write(fd, data, 1));
  };
  EXPECT_TRUE(files::ReplaceFile(path, fresh, nullptr, byteByByte));
  EXPECT_EQ(fake.folder.Read("Bookmark/Lastread.dat"), fresh);
}

TEST_F(FaultTest, LeavingABookWhenTheRecordsCannotBeWrittenTellsTheUserAndKeepsTheOldFiles) {
  auto reader = Start();
  const std::u16string book = WritePagesBook("书.txt", 5);
  Open(*reader, book);
  ASSERT_TRUE(reader->SaveLastRead());
  const std::string history = fake.folder.Read("Bookmark/Readrecord.dat");
  // The record's place is taken by a folder: nothing can be renamed over it.
  std::filesystem::remove(fake.DirectoryUtf8() + "/Bookmark/Lastread.dat");
  std::filesystem::create_directory(fake.DirectoryUtf8() + "/Bookmark/Lastread.dat");
  fake.dialogs.messages.clear();
  reader->Toolbar.ButtonClick(11);
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_NE(fake.dialogs.messages[0].text.find(u"没有保存"), std::u16string::npos);
  EXPECT_EQ(fake.folder.Read("Bookmark/Readrecord.dat"), history);
  EXPECT_EQ(TemporaryFilesIn("Bookmark"), 0u);
  EXPECT_FALSE(reader->IsLoaded()) << "the reader still closes";
}

// Data files that exist but cannot be read (a read error; here a named pipe, since root reads
// every file whatever its permissions) are never written over; each is told once. The history is
// read again before each save, so two readers on one folder keep each other's books; the close
// button saves like 退出阅读; leftover temporary files of dead processes go at start.
TEST_F(FaultTest, WhatCannotBeReadIsNeverWrittenOverAndTwoReadersKeepTheirBooks) {
  fake.folder.Write("Bookmark/.Readrecord.dat.tmp-999999999-0", "left by a crash");
  fake.folder.Write("Bookmark/.Lastread.dat.tmp-" + std::to_string(::getpid()) + "-7", "saving");
  const std::string history = fake.DirectoryUtf8() + "/Bookmark/Readrecord.dat";
  const std::string settings = fake.DirectoryUtf8() + "/Configure/Readerset.dat";
  std::filesystem::create_directories(fake.DirectoryUtf8() + "/Configure");
  ASSERT_EQ(::mkfifo(history.c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
  {
    auto reader = Start();
    EXPECT_FALSE(fake.folder.Exists("Bookmark/.Readrecord.dat.tmp-999999999-0"));
    EXPECT_TRUE(
        fake.folder.Exists("Bookmark/.Lastread.dat.tmp-" + std::to_string(::getpid()) + "-7"))
        << "a running process may be saving";
    ASSERT_EQ(fake.dialogs.messages.size(), 2u) << "settings and history, each told once";
    Open(*reader, WritePagesBook("书.txt", 5));
    reader->Toolbar.ButtonClick(1);
    EXPECT_NE(fake.folder.Read("Bookmark/Lastread.dat").find(codepage::EncodeGb18030(u"书.txt")),
              std::string::npos);
    EXPECT_NE(fake.dialogs.messages.back().text.find(u"无法读取"), std::u16string::npos);
    reader->SaveConfigure();
    EXPECT_NE(fake.dialogs.messages.back().text.find(u"无法读取"), std::u16string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(history.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the history was not written over";
    ASSERT_EQ(::stat(settings.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the settings were not written over";
  }
  std::filesystem::remove(history);
  std::filesystem::remove(settings);

  // Two readers started side by side each leave a book: the history holds both.
  mPubVariable otherPub;
  auto first = Start();
  frmMain second(fake.platform, otherPub);
  second.Show();
  Open(*first, WritePagesBook("甲.txt", 3));
  Open(second, WritePagesBook("乙.txt", 3));
  first->Toolbar.ButtonClick(1);
  second.CloseFromFrame();  // the close button, with a book open, saves as 退出阅读 does
  const std::u16string saved = codepage::DecodeGb18030(fake.folder.Read("Bookmark/Readrecord.dat"));
  EXPECT_LT(saved.find(u"乙.txt"), saved.find(u"甲.txt")) << "the later first, both kept";
  EXPECT_NE(saved.find(u"甲.txt"), std::u16string::npos);
  EXPECT_NE(fake.folder.Read("Bookmark/Lastread.dat").find(codepage::EncodeGb18030(u"乙.txt")),
            std::string::npos);
}

TEST_F(FaultTest, ASettingsFileCutOffAnywhereNeverStopsTheStartAndIsNeverRewritten) {
  SettingsRecord record;
  record.FontName = u"黑体";
  record.FontSize = 14.0f;
  record.BackColor = 7830597;
  record.ReadMode = 1;
  const std::string whole = SettingsFileBytes(record);
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string cut = whole.substr(0, length);
    fake.folder.Write("Configure/Readerset.dat", cut);
    fake.forms.shown.clear();
    auto reader = Start();
    EXPECT_EQ(fake.forms.shown.size(), 1u);
    EXPECT_GT(reader->PageRows, 0);
    EXPECT_GT(reader->RowChars, 0);
    EXPECT_EQ(fake.folder.Read("Configure/Readerset.dat"), cut);
  }
}

TEST_F(FaultTest, AHistoryCutOffAnywhereReadsWhatIsWholeAndIsNeverRewrittenByReading) {
  for (char16_t c = u'a'; c < u'a' + 20; ++c) {
    MoveBookToTop(pub, u"/书/" + std::u16string(1, c) + u".txt", DateTime{2026, 12, 6, 5, 18, 3},
                  0.5f);
  }
  const std::string whole = HistoryFileBytes(pub);
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string cut = whole.substr(0, length);
    fake.folder.Write("Bookmark/Readrecord.dat", cut);
    mPubVariable fresh;
    frmMain reader(fake.platform, fresh);
    reader.Show();
    // Whole lines read, the rest of the entries are empty, and they stand first.
    int used = 0;
    while (used < kHistorySize && !fresh.ReadRecordPath[static_cast<std::size_t>(used)].empty())
      ++used;
    for (int i = used; i < kHistorySize; ++i)
      EXPECT_TRUE(fresh.ReadRecordPath[static_cast<std::size_t>(i)].empty());
    EXPECT_LE(used, static_cast<int>(std::count(cut.begin(), cut.end(), '\n')) + 1);
    fake.forms.onModal = [](ui::Form& form) { form.Unload(); };
    reader.lblHistory.Click();
    EXPECT_EQ(fake.folder.Read("Bookmark/Readrecord.dat"), cut);
  }
}

TEST_F(FaultTest, ALastReadFileCutOffAnywhereEitherOpensTheBookOrSaysThereIsNone) {
  const std::u16string book = WritePagesBook("书.txt", 5);
  const std::string whole = LastReadFileBytes({book, 3});
  auto reader = Start();
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string cut = whole.substr(0, length);
    fake.folder.Write("Bookmark/Lastread.dat", cut);
    fake.dialogs.messages.clear();
    reader->strBookPath.clear();
    reader->lblLastRead.Click();
    if (reader->strBookPath == book) {
      EXPECT_TRUE(fake.dialogs.messages.empty());
    } else {
      ASSERT_EQ(fake.dialogs.messages.size(), 1u);
      const std::u16string& text = fake.dialogs.messages[0].text;
      EXPECT_TRUE(text == u"没有历史阅读记录！" || text.rfind(u"找不到这本书：", 0) == 0);
    }
    EXPECT_EQ(fake.folder.Read("Bookmark/Lastread.dat"), cut);
  }
}

TEST_F(FaultTest, BooksThatAreEmptyHugeBinaryOrBlankStillOpen) {
  auto reader = Start();
  struct Case {
    const char* what;
    std::string bytes;
    std::int32_t lines, rows, pages;
  };
  std::mt19937 random(8);
  std::string junk(1 << 20, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  std::string crlf;
  for (int i = 0; i < 200000; ++i) crlf += "\r\n";
  const Case cases[] = {
      {"0 bytes", "", 0, 0, 0},
      // Wrapped whole: 10 485 760 characters are 255 751 rows of 41 (the first indented).
      {"one 10 MB line without a line end", std::string(10 << 20, 'a'), 1, 255751, 10231},
      {"200 000 empty lines", crlf, 200000, 200000, 8000},
      {"a megabyte of binary junk", junk, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t questions = fake.dialogs.questions.size();
    // Junk is not text: the user is asked, and opens it as GB18030 all the same.
    if (c.lines < 0) fake.dialogs.askAnswers.push_back(true);
    Open(*reader, WriteBook("book" + std::to_string(c.bytes.size()) + ".txt", c.bytes));
    frmMain& r = *reader;
    EXPECT_EQ(fake.dialogs.questions.size(), questions + (c.lines < 0 ? 1 : 0));
    EXPECT_EQ(r.strBookName,
              u"book" + codepage::DecodeUtf8(std::to_string(c.bytes.size())) + u".txt");
    if (c.lines >= 0) {
      EXPECT_EQ(r.LineCount, c.lines);
      EXPECT_EQ(r.RowCount, c.rows);
      EXPECT_EQ(r.PageCount, c.pages);
    } else {
      EXPECT_GT(r.PageCount, 0);
    }
    // Reading on through it works as in any book.
    pub.ReaderSettings.NotFlash = false;
    for (int turn = 0; turn < 3; ++turn) r.cmdNext.Value = true;
    for (int k = 0; k < r.PageRows; ++k) {
      EXPECT_LE(r.lblRow1[k].Caption.get().size(), static_cast<std::size_t>(r.RowChars + 1 + 8));
    }
  }
}

// What is not a book file is refused at once, the open book staying: a named pipe (which would
// block a plain open until someone wrote to it), a folder, junk the user declines to open, and
// an open the user cancels in its progress window.
TEST_F(FaultTest, WhatIsNotABookIsRefusedAtOnce) {
  auto reader = Start();
  Open(*reader, WritePagesBook("small.txt", 3));
  const std::string pipe = fake.DirectoryUtf8() + "/pipe.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fake.folder.Write("folder.txt/inside", "x");
  std::string junk(4096, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
  for (const std::u16string& path : {codepage::DecodeUtf8(pipe), fake.Directory() + u"/folder.txt",
                                     WriteBook("junk.txt", junk)}) {
    SCOPED_TRACE(codepage::EncodeUtf8(path));
    const auto start = std::chrono::steady_clock::now();
    Open(*reader, path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(reader->strBookName, u"small.txt");
    EXPECT_EQ(reader->PageCount, 3);
  }
  EXPECT_EQ(fake.dialogs.questions.size(), 1u) << "only the junk was a question";

  const std::size_t messages = fake.dialogs.messages.size();
  fake.dialogs.cancelLongTasks = true;
  Open(*reader, WritePagesBook("large.txt", 40000));
  EXPECT_EQ(reader->strBookName, u"small.txt");
  EXPECT_EQ(reader->PageCount, 3);
  EXPECT_EQ(fake.dialogs.messages.size(), messages) << "a cancelled open needs no message";
  EXPECT_EQ(fake.dialogs.longTasks.back(), u"正在打开 large.txt ……");
}

// A book larger than the memory the program may take is refused with a message, and the book open
// before stays open. Run in a child whose address space is capped; the sanitizers reserve far
// more address space than any cap leaves, so their build skips it.
TEST_F(FaultTest, ABookTooLargeForMemoryIsRefusedAndTheOpenBookStays) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "address space capped under AddressSanitizer";
#else
  auto reader = Start();
  Open(*reader, WritePagesBook("small.txt", 3));
  ASSERT_EQ(reader->PageCount, 3);
  // Sparse: 3 GB of zero bytes that take no disk, and six of text once decoded.
  const std::string huge = fake.folder.Write("huge.txt", "");
  std::filesystem::resize_file(huge, 3'000'000'000);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit cap{1u << 30, 1u << 30};
    setrlimit(RLIMIT_AS, &cap);
    // Zero bytes are not text; the user opens it all the same.
    fake.dialogs.askAnswers.push_back(true);
    Open(*reader, codepage::DecodeUtf8(huge));
    const bool told = !fake.dialogs.messages.empty() &&
                      fake.dialogs.messages.back().text.find(u"内存") != std::u16string::npos;
    _exit(told && reader->PageCount == 3 && reader->strBookName == u"small.txt" ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "the reader ended abnormally";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "no message, or the open book was lost";
#endif
}

TEST_F(FaultTest, ABookThatVanishesWhileTheHistoryWindowIsOpenIsReportedAndTheWindowCloses) {
  auto reader = Start();
  const std::u16string book = WritePagesBook("书.txt", 5);
  Open(*reader, book);
  ASSERT_TRUE(reader->SaveLastRead());
  const std::u16string other = WritePagesBook("另一本.txt", 3);
  Open(*reader, other);
  fake.forms.onModal = [&](ui::Form& form) {
    auto& window = dynamic_cast<frmReadRecord&>(form);
    ASSERT_EQ(window.lblBookName[0].Caption, book);
    std::filesystem::remove(codepage::EncodeUtf8(book));
    window.lblRead[0].Click();
    EXPECT_FALSE(window.IsLoaded());
  };
  reader->lblHistory.Click();
  EXPECT_EQ(fake.dialogs.messages.back().text, u"找不到这本书：" + book);
  EXPECT_EQ(reader->strBookPath, other) << "the book that was open stays";
}

}  // namespace
}  // namespace quillon
