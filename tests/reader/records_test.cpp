// Leaving a book and coming back to it on the fake platform: the last-read record, the history
// file, the history window and the reopen paths, including books and files that have gone bad.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "book/book_labels.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "reader/frmMain.h"
#include "records/frmReadRecord.h"
#include "records/reading_history.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

class RecordsTest : public ::testing::Test {
 protected:
  RecordsTest() { reader = Start(); }
  std::unique_ptr<frmMain> Start() {
    auto window = std::make_unique<frmMain>(fake.platform, pub);
    window->Show();
    return window;
  }

  // A book of one-row lines, 25 to a page, named with the bytes given.
  std::u16string WriteBook(const std::string& name, int pages) {
    std::u16string text;
    for (int i = 0; i < pages * 25; ++i)
      text += u"第" + codepage::DecodeUtf8(std::to_string(i / 25)) + u"页\r\n";
    return files::PathFromNative(fake.folder.Write(name, codepage::EncodeGb18030(text)));
  }
  void Open(const std::u16string& path) {
    fake.dialogs.openAnswers.push_back(path);
    reader->lblOpen.Click();
  }
  // Opens a book and turns to page index `page`, the pending first turn used up.
  void OpenAt(const std::u16string& path, int page) {
    Open(path);
    pub.ReaderSettings.NotFlash = false;
    reader->cmdNext.Value = true;
    reader->cmdBack.Value = true;
    while (reader->CurrentPage < page) reader->cmdNext.Value = true;
  }
  std::string LastReadBytes() const { return fake.folder.Read("Bookmark/Lastread.dat"); }
  std::string HistoryBytes() const { return fake.folder.Read("Bookmark/Readrecord.dat"); }
  std::string Quoted(const std::u16string& path) const {
    return "\"" + codepage::EncodeGb18030(path) + "\"";
  }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(RecordsTest, LeavingWritesThePageAndPutsTheBookOnTopOfTheHistory) {
  const std::u16string path = WriteBook("红楼梦.txt", 200);
  OpenAt(path, 37);
  EXPECT_FALSE(fake.folder.Exists("Bookmark"));
  ASSERT_TRUE(reader->SaveLastRead());
  EXPECT_EQ(LastReadBytes(), Quoted(path) + ",37\r\n");
  EXPECT_FLOAT_EQ(reader->BookPrePercent, 0.185f);
  const std::string history = HistoryBytes();
  EXPECT_EQ(history.substr(0, history.find("\r\n") + 2),
            "#2026-12-06 05:18:03#," + Quoted(path) + ",.185\r\n");
  EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 20);
}

// Paragraphs wrap into fewer rows in the wider full-screen layout; what is stored is the page of
// the normal layout that holds the place being read, and the history's share of the normal pages.
TEST_F(RecordsTest, AFullScreenPositionIsStoredAsANormalOne) {
  std::u16string text;
  for (int i = 0; i < 1500; ++i) {
    text += u"第" + codepage::DecodeUtf8(std::to_string(i)) + u"段" + std::u16string(90, u'文') +
            u"\r\n";
  }
  const std::u16string path =
      codepage::DecodeUtf8(fake.folder.Write("段落.txt", codepage::EncodeGb18030(text)));
  OpenAt(path, 50);
  const std::int32_t normalPages = reader->PageCount;
  const BookPlace place = reader->PlaceInView();
  reader->Toolbar.ButtonClick(4);
  ASSERT_TRUE(pub.FullScreenMode);
  ASSERT_LT(reader->PageCount, normalPages);
  ASSERT_NE(reader->PageInView(), 50);
  EXPECT_EQ(reader->PlaceInView(), place);
  ASSERT_TRUE(reader->SaveLastRead());
  EXPECT_EQ(LastReadBytes(), Quoted(path) + ",50\r\n");
  EXPECT_FLOAT_EQ(reader->BookPrePercent, static_cast<float>(50.0 / normalPages));

  // Reopened in the full-screen layout, the book is at the same character.
  reader->lblLastRead.Click();
  EXPECT_EQ(reader->PlaceInView(), place);
}

// The character read, kept beside the page: an unchanged book comes back to it by every way of
// reopening; a book changed since comes back to the page the record holds.
TEST_F(RecordsTest, AnUnchangedBookReopensAtItsCharacterAChangedOneAtItsPage) {
  std::u16string text;
  for (int i = 0; i < 600; ++i) text += std::u16string(30 + i % 50, u'文') + u"\r\n";
  const std::string name = "书.txt";
  const std::u16string path =
      codepage::DecodeUtf8(fake.folder.Write(name, codepage::EncodeGb18030(text)));
  OpenAt(path, 20);
  const BookPlace first = reader->PlaceInView();
  // A place inside the page, as a chapter or a search hit leaves it.
  const BookPlace inside{first.Line + 3, 5};
  reader->ShowPlaceAtRest(inside);
  ASSERT_EQ(reader->PageInView(), 20);
  reader->Toolbar.ButtonClick(1);  // 主页, which keeps the place
  EXPECT_EQ(LastReadBytes(), Quoted(path) + ",20\r\n");
  EXPECT_TRUE(fake.folder.Exists("Bookmark/Places.dat"));

  reader->lblLastRead.Click();
  EXPECT_EQ(reader->PlaceInView(), inside) << "上次阅读";
  reader->Toolbar.ButtonClick(1);
  reader->OpenBook(path);
  EXPECT_EQ(reader->PlaceInView(), inside) << "the command line, through the history";
  reader->Toolbar.ButtonClick(1);

  // The same text written again is another file as far as anyone can tell.
  const auto file = std::filesystem::path(fake.folder.path()) / name;
  std::filesystem::last_write_time(file,
                                   std::filesystem::last_write_time(file) + std::chrono::hours(1));
  reader->lblLastRead.Click();
  EXPECT_EQ(reader->PageInView(), 20);
  EXPECT_EQ(reader->PlaceInView(), first);
}

TEST_F(RecordsTest, LeavingRightAfterOpeningStoresThePageShown) {
  const std::u16string path = WriteBook("书.txt", 10);
  Open(path);  // page index 0 shown, CurrentPage holding the number 1
  ASSERT_TRUE(reader->SaveLastRead());
  EXPECT_EQ(LastReadBytes(), Quoted(path) + ",0\r\n");
  reader->lblLastRead.Click();
  EXPECT_EQ(reader->CurrentPage, 0);
}

TEST_F(RecordsTest, TheLastReadBookOpensAtItsPage) {
  const std::u16string path = WriteBook("a.txt", 10);
  OpenAt(path, 7);
  ASSERT_TRUE(reader->SaveLastRead());

  reader = Start();  // a new start of the reader
  reader->lblLastRead.Click();
  frmMain& r = *reader;
  EXPECT_EQ(r.Caption, u"Quillon-[a]");
  EXPECT_EQ(r.strBookPath, path);
  EXPECT_EQ(r.CurrentPage, 7);
  EXPECT_EQ(r.lblRow2[0].Caption, u"    第7页");
  EXPECT_TRUE(r.tmrPage.Enabled) << "the page slides in";
  EXPECT_TRUE(r.Toolbar.Visible);
  EXPECT_EQ(r.lblPage.Caption, u"书页 8/10");
  EXPECT_FALSE(r.FirstTurnPending);
  // Over the cover: the other, empty surface stays out of the window until the page is in.
  for (int tick = 0; tick < 20 && r.tmrPage.Enabled; ++tick) {
    EXPECT_GE(r.MainPage[0].Left, r.Width) << tick;
    r.tmrPage.Tick();
  }
  EXPECT_FALSE(r.tmrPage.Enabled);
  EXPECT_EQ(r.MainPage[1].Left, 0);
  EXPECT_EQ(r.MainPage[0].Left, r.Width);
}

TEST_F(RecordsTest, WithoutALastReadRecordTheCoverStays) {
  fake.folder.Write("Bookmark/Lastread.dat", "\x81\x82 not a record");
  for (int attempt = 0; attempt < 2; ++attempt) {
    reader->lblLastRead.Click();
    if (attempt == 0) fake.folder.Write("Bookmark/Lastread.dat", "");
  }
  ASSERT_EQ(fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(fake.dialogs.messages[0].text, u"没有历史阅读记录！");
  EXPECT_EQ(fake.dialogs.messages[0].title, u"提醒");
  EXPECT_EQ(fake.dialogs.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(reader->strBookName.empty());
  EXPECT_FALSE(reader->Toolbar.Visible);
}

TEST_F(RecordsTest, ReopeningABookThatHasGoneChangesNothing) {
  const std::u16string gone = WriteBook("gone.txt", 3);
  OpenAt(gone, 1);
  ASSERT_TRUE(reader->SaveLastRead());
  std::filesystem::remove(codepage::EncodeUtf8(gone));
  const std::u16string other = WriteBook("other.txt", 5);
  OpenAt(other, 2);
  const std::string lastRead = LastReadBytes();

  reader->lblLastRead.Click();
  EXPECT_EQ(fake.dialogs.messages.back().text, u"找不到这本书：" + gone);
  EXPECT_EQ(reader->strBookPath, other);
  EXPECT_EQ(reader->Caption, u"Quillon-[other]");
  EXPECT_EQ(reader->CurrentPage, 2);

  EXPECT_FALSE(reader->LoadHistoryRecord(gone, 0.5f));
  EXPECT_EQ(reader->strBookPath, other);
  EXPECT_EQ(reader->CurrentPage, 2);
  EXPECT_EQ(LastReadBytes(), lastRead) << "no record is written";
}

TEST_F(RecordsTest, AHistoryFractionOpensThePageAtThatFraction) {
  const std::u16string path = WriteBook("书.txt", 40);
  EXPECT_TRUE(reader->LoadHistoryRecord(path, 0.25f));
  EXPECT_EQ(reader->CurrentPage, 10);
  EXPECT_EQ(reader->lblPage.Caption, u"书页 11/40");
  // A damaged history may hold a fraction past the end: the last page opens.
  EXPECT_TRUE(reader->LoadHistoryRecord(path, 7.5f));
  EXPECT_EQ(reader->CurrentPage, 39);
  EXPECT_EQ(reader->lblPage.Caption, u"书页 40/40");
}

TEST_F(RecordsTest, ABookWhoseNameTheFilesCannotHoldIsNeverWritten) {
  const std::u16string path = WriteBook("\"引号\".txt", 3);
  OpenAt(path, 1);
  EXPECT_FALSE(reader->SaveLastRead());
  ASSERT_FALSE(fake.dialogs.messages.empty());
  EXPECT_EQ(fake.dialogs.messages.back().title, u"提示");
  EXPECT_FALSE(fake.folder.Exists("Bookmark/Lastread.dat"));
  EXPECT_FALSE(fake.folder.Exists("Bookmark/Readrecord.dat"));
}

TEST_F(RecordsTest, PathsOutsideGb2312AreKeptWhole) {
  const std::u16string path = WriteBook("儒林外史鎔𠀀.txt", 3);
  OpenAt(path, 2);
  ASSERT_TRUE(reader->SaveLastRead());
  reader = Start();
  EXPECT_EQ(pub.ReadRecordPath[0], path);
  reader->lblLastRead.Click();
  EXPECT_EQ(reader->strBookPath, path);
}

TEST_F(RecordsTest, AFailedSaveIsReportedAndTheOldFilesStay) {
  const std::u16string path = WriteBook("书.txt", 3);
  OpenAt(path, 1);
  ASSERT_TRUE(reader->SaveLastRead());
  const std::string before = LastReadBytes();
  // The reader's folder moves under a plain file: nothing can be written there.
  fake.folder.Write("blocked", "a file");
  fake.program.SetDirectory(fake.Directory() + u"/blocked");
  EXPECT_FALSE(reader->SaveLastRead());
  EXPECT_EQ(fake.dialogs.messages.back().title, u"提示");
  EXPECT_EQ(LastReadBytes(), before);
}

class HistoryWindowTest : public RecordsTest {
 protected:
  // Opens the history window from the cover; `work` runs while it is up.
  void ShowHistory(const std::function<void(frmReadRecord&)>& work) {
    fake.forms.onModal = [&](ui::Form& form) {
      auto& window = dynamic_cast<frmReadRecord&>(form);
      work(window);
      if (window.IsLoaded()) window.Unload();
    };
    reader->lblHistory.Click();
  }
};

// A name is the bytes the system gave, whatever they are: the book opens, every record keeps it
// (place, history, mark, encoding, script), the history window shows it as the user can read it,
// and a later run opens it again from the history, the last-read record and a drop.
TEST_F(HistoryWindowTest, ABookOfAnyFileNameOpensAndIsRemembered) {
  const struct {
    const char* catches;
    std::string name;          // below the program folder, in the system's bytes
    std::u16string shown;      // as the window title and the history window show it
    bool recordHoldsTheBytes;  // GBK names are written to the records as they always were
  } rows[] = {
      {"ASCII", "books/plain.txt", u"books/plain.txt", true},
      {"a GBK name, as archives made on Windows carry", "books/\xCE\xF7\xD3\xCE\xBC\xC7.txt",
       u"books/西游记.txt", true},
      {"UTF-8", "books/红楼梦.txt", u"books/红楼梦.txt", false},
      {"a Latin-1 byte that neither encoding reads", "books/caf\xE9.txt", u"books/caf\\xE9.txt",
       false},
      {"a folder named in bytes that decode as nothing, and the lone 0x80 read as a euro sign",
       "dir\xE9\xFF/book\x80.txt", u"dir\\xE9\\xFF/book\\x80.txt", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.catches);
    const std::u16string path = WriteBook(row.name, 3);
    const std::u16string shown = fake.Directory() + u"/" + row.shown;
    OpenAt(path, 1);
    EXPECT_EQ(reader->strBookPath, path);
    EXPECT_EQ(reader->Caption, WindowCaptionFor(BookNameOfPath(shown)));
    reader->ChooseEncoding(BookEncoding::Gb18030);
    reader->ChooseScript(ScriptConversion::ToTraditional);
    reader->AddBookmark();
    fake.dialogs.messages.clear();   // the mark is told as made
    reader->Toolbar.ButtonClick(1);  // 主页: the last-read record, the history and the place
    EXPECT_EQ(HistoryBytes().find(row.name) != std::string::npos, row.recordHoldsTheBytes);

    reader.reset();
    pub = mPubVariable();
    reader = Start();
    const auto reopened = [&](const char* how) {
      SCOPED_TRACE(how);
      EXPECT_EQ(reader->strBookPath, path);
      EXPECT_EQ(reader->PageInView(), 1);
      EXPECT_TRUE(reader->BookEncodingChosen);
      EXPECT_EQ(reader->BookScript, ScriptConversion::ToTraditional);
      EXPECT_EQ(reader->BookMarks().size(), 1u);
      reader->Toolbar.ButtonClick(1);
    };
    ShowHistory([&](frmReadRecord& window) {
      EXPECT_EQ(window.lblBookName[0].Caption, shown);
      window.lblRead[0].Click();
    });
    reopened("the history window");
    reader->lblLastRead.Click();
    reopened("上次阅读");
    reader->Form_DropFiles({files::PathFromNative(files::NativePath(path))});
    reopened("a drop");
    EXPECT_TRUE(fake.dialogs.messages.empty())
        << codepage::EncodeUtf8(fake.dialogs.messages[0].text);
  }
}

TEST_F(HistoryWindowTest, MissingFileIsCreatedEmptyAndTheTableIsBlank) {
  ShowHistory([&](frmReadRecord& window) {
    for (int k = 0; k < 20; ++k) {
      EXPECT_EQ(window.Label1[k].Caption, u"");
      EXPECT_EQ(window.lblRead[k].Caption, u"");
    }
    EXPECT_EQ(window.Caption, u"历史阅读记录");
  });
  EXPECT_EQ(HistoryBytes().size(), std::string("#1899-12-30#,\"\",0\r\n").size() * 20);
  ASSERT_EQ(fake.forms.modal.size(), 1u);
}

TEST_F(HistoryWindowTest, RowsShowTimeBookAndProgressAndBlankRowsDoNothing) {
  const std::u16string first = WriteBook("一.txt", 200);
  const std::u16string second = WriteBook("二.txt", 10);
  const std::u16string third = WriteBook("三.txt", 10);
  OpenAt(third, 0);
  ASSERT_TRUE(reader->SaveLastRead());
  OpenAt(second, 9);
  reader->CurrentPage = 10;  // as far as the end: a progress of 1
  ASSERT_TRUE(reader->SaveLastRead());
  OpenAt(first, 37);
  ASSERT_TRUE(reader->SaveLastRead());

  ShowHistory([&](frmReadRecord& window) {
    EXPECT_EQ(window.Label1[0].Caption, u"2026-12-06 05:18:03");
    EXPECT_EQ(window.lblBookName[0].Caption, first);
    EXPECT_EQ(window.lblPercent[0].Caption, u"18.5%");
    EXPECT_EQ(window.lblPercent[1].Caption, u"100.0%");
    EXPECT_EQ(window.lblPercent[2].Caption, u"0.0%");
    EXPECT_EQ(window.lblRead[2].Caption, u"进入阅读");
    EXPECT_EQ(window.lblRead[3].Caption, u"");
    EXPECT_EQ(window.Label1[3].Caption, u"");
    window.lblRead[3].Click();
    window.lblRead_Click(25);
    EXPECT_TRUE(window.IsLoaded()) << "a blank row's link does nothing";
    window.lblRead[0].Click();
    EXPECT_FALSE(window.IsLoaded()) << "opening a book closes the window";
  });
  EXPECT_EQ(reader->strBookPath, first);
  EXPECT_EQ(reader->CurrentPage, 37);
  EXPECT_EQ(reader->Caption, u"Quillon-[一]");
}

TEST_F(HistoryWindowTest, AGoneBookIsReportedAndTheWindowStillCloses) {
  const std::u16string gone = WriteBook("gone.txt", 3);
  OpenAt(gone, 1);
  ASSERT_TRUE(reader->SaveLastRead());
  std::filesystem::remove(codepage::EncodeUtf8(gone));
  reader = Start();
  ShowHistory([&](frmReadRecord& window) {
    window.lblRead[0].Click();
    EXPECT_FALSE(window.IsLoaded());
  });
  EXPECT_EQ(fake.dialogs.messages.back().text, u"找不到这本书：" + gone);
  EXPECT_TRUE(reader->strBookPath.empty());
  EXPECT_FALSE(reader->Toolbar.Visible);
}

}  // namespace
}  // namespace quillon
