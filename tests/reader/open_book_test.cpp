// Opening a book from the cover, drawing its pages on the two surfaces, the page label with the
// progress bar, and the information line with the reading time.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"
#include "reader/book_prefetch.h"
#include "reader/frmMain.h"
#include "records/book_places.h"
#include "records/last_read.h"
#include "records/reading_history.h"
#include "search/frmSearch.h"
#include "support/fake_platform.h"
#include "support/test_books.h"

namespace quillon {
namespace {

class OpenBookTest : public ::testing::Test {
 protected:
  OpenBookTest() {
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
  }

  // Writes a GBK book below the program folder and returns its path.
  std::u16string WriteBook(const std::string& name, const std::u16string& text) {
    return codepage::DecodeUtf8(fake.folder.Write(name, codepage::EncodeGb18030(text)));
  }
  std::u16string BookOfLines(int lines) {
    std::u16string text;
    for (int i = 0; i < lines; ++i)
      text += u"第" + std::u16string(1, static_cast<char16_t>(u'一' + i)) + u"行\r\n";
    return text;
  }
  void Open(const std::u16string& path) {
    fake.dialogs.openAnswers.push_back(path);
    reader->lblOpen.Click();
  }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(OpenBookTest, OpeningShowsTheFirstPageAndRemembersThatItIsNumberOne) {
  const std::u16string path = WriteBook("西游.txt", BookOfLines(60));
  Open(path);
  frmMain& r = *reader;
  ASSERT_EQ(fake.dialogs.openRequests.size(), 1u);
  EXPECT_EQ(fake.dialogs.openRequests[0].DefaultExt, u"txt");
  EXPECT_EQ(fake.dialogs.openRequests[0].Filter, u"txt(*.txt)|*.txt|All Files(*.*)|*.*");

  EXPECT_EQ(r.strBookPath, path);
  EXPECT_EQ(r.strBookName, u"西游.txt");
  EXPECT_EQ(r.Caption, u"Quillon-[西游]");
  EXPECT_EQ(r.LineCount, 60);
  EXPECT_EQ(r.RowCount, 60);
  EXPECT_EQ(r.PageCount, 3);
  EXPECT_EQ(r.NormalPageCount, 3);
  EXPECT_EQ(r.CurrentPage, 1);
  EXPECT_TRUE(r.FirstTurnPending);
  EXPECT_EQ(r.lblPage.Caption, u"书页 1/3");
  EXPECT_FLOAT_EQ(r.BookPrePercent, 1.0f / 3);
  EXPECT_EQ(r.shpBar.Width, 515);
  EXPECT_TRUE(r.Toolbar.Visible);
  EXPECT_EQ(r.MainPage[0].Left, 0);
  EXPECT_EQ(r.MainPage[1].Left, 8820);
  EXPECT_EQ(r.lblRow1[0].Caption, u"    第一行");
  EXPECT_EQ(r.lblRow1[24].Caption,
            u"    第" + std::u16string(1, static_cast<char16_t>(u'一' + 24)) + u"行");
  EXPECT_EQ(r.lblInfor1.Caption, u"书目名称: 西游     格式: txt文档     已经阅读时间:0.0 分钟");
  EXPECT_EQ(r.lblInfor2.Caption, r.lblInfor1.Caption);
  EXPECT_FALSE(r.lblInfor1.Visible);
}

TEST_F(OpenBookTest, CancellingTheDialogChangesNothing) {
  Open(WriteBook("一.txt", BookOfLines(30)));
  reader->CurrentPage = 0;
  reader->FirstTurnPending = false;
  fake.dialogs.openAnswers.push_back(std::nullopt);
  reader->lblOpen.Click();
  fake.dialogs.openAnswers.push_back(u"");
  reader->lblOpen.Click();
  EXPECT_EQ(reader->Caption, u"Quillon-[一]");
  EXPECT_EQ(reader->CurrentPage, 0);
  EXPECT_FALSE(reader->FirstTurnPending);
  EXPECT_EQ(reader->LineCount, 30);
}

TEST_F(OpenBookTest, ABookThatCannotBeReadIsReportedAndTheOpenStops) {
  const std::u16string first = WriteBook("一.txt", BookOfLines(30));
  Open(first);
  fake.folder.Write("目录.txt/inside", "a folder, not a book");
  // A book that is not there is said so in the words the command line uses; one that is there
  // but cannot be read is told apart from it.
  const struct {
    std::u16string path;
    std::u16string told;
  } cases[] = {
      {fake.Directory() + u"/没有.txt", u"找不到这本书：" + fake.Directory() + u"/没有.txt"},
      {fake.Directory() + u"/目录.txt", u"无法读取这本书：" + fake.Directory() + u"/目录.txt"}};
  for (const auto& [path, told] : cases) {
    SCOPED_TRACE(codepage::EncodeUtf8(path));
    fake.dialogs.messages.clear();
    Open(path);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, told);
    EXPECT_EQ(fake.dialogs.messages[0].title, u"提示");
    EXPECT_EQ(fake.dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(reader->strBookPath, first);
    EXPECT_EQ(reader->Caption, u"Quillon-[一]");
    EXPECT_EQ(reader->LineCount, 30);
    EXPECT_EQ(reader->lblRow1[0].Caption, u"    第一行");
  }
}

TEST_F(OpenBookTest, AnEmptyBookHasNoPages) {
  Open(WriteBook("三页.txt", BookOfLines(60)));
  ASSERT_GT(reader->shpBar.Width, 0);
  Open(WriteBook("空.txt", u""));
  EXPECT_EQ(reader->PageCount, 0);
  EXPECT_EQ(reader->lblPage.Caption, u"书页 0/0");
  EXPECT_EQ(reader->shpBar.Width, 0) << "the bar of the book before shows through";
  EXPECT_EQ(reader->lblRow1[0].Caption, u"");

  // Nothing to find, said once: by the find and by the list alike.
  std::u16string status;
  fake.forms.onModal = [&](ui::Form& form) {
    auto& search = dynamic_cast<frmSearch&>(form);
    search.txtFind.Text = u"zzz";
    search.cmdNext_Click();
    while (search.tmrSearch.Enabled) search.tmrSearch_Timer();
    status = search.lblStatus.Caption;
    search.Unload();
  };
  reader->ShowSearch();
  EXPECT_EQ(status, u"没有找到“zzz”。");
}

TEST_F(OpenBookTest, ShortNamesAreShownWhole) {
  Open(WriteBook("ab", BookOfLines(1)));
  EXPECT_EQ(reader->Caption, u"Quillon-[ab]");
  EXPECT_EQ(reader->lblInfor1.Caption.get().substr(0, 8), u"书目名称: ab");
}

TEST_F(OpenBookTest, PagesAlternateBetweenTheSurfacesAndTheLastIsShort) {
  Open(WriteBook("书.txt", BookOfLines(50)));
  frmMain& r = *reader;
  r.PageRows = 20;
  r.WrapRows();
  ASSERT_EQ(r.PageCount, 3);

  r.ShowPage(1);
  r.ShowPage(2);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(r.lblRow1[k].Caption, *r.BookRows.Row(r.BookLines, 40 + k));
  for (int k = 10; k < 20; ++k) EXPECT_EQ(r.lblRow1[k].Caption, u"") << k;
  EXPECT_EQ(r.lblRow2[0].Caption, *r.BookRows.Row(r.BookLines, 20))
      << "page 1 stays on the other surface";

  r.ShowPage(r.PageCount);  // index 3 is odd and has no rows
  for (int k = 0; k < 20; ++k) EXPECT_EQ(r.lblRow2[k].Caption, u"");
  EXPECT_EQ(r.lblRow1[0].Caption, *r.BookRows.Row(r.BookLines, 40));

  r.ShowPage(-1);  // no such page: its surface is emptied and nothing fails
  EXPECT_EQ(r.lblRow2[0].Caption, u"");
}

TEST_F(OpenBookTest, ThePageLabelAndTheBarFollowThePage) {
  Open(WriteBook("书.txt", BookOfLines(60)));
  frmMain& r = *reader;
  r.CurrentPage = 1;
  r.UpdatePageLabel();
  EXPECT_EQ(r.lblPage.Caption, u"书页 2/3");
  r.CurrentPage = 2;
  r.UpdatePageLabel();
  EXPECT_EQ(r.lblPage.Caption, u"书页 3/3");
  EXPECT_EQ(r.BookPrePercent, 1.0f);
  EXPECT_EQ(r.shpBar.Width, r.shpPanel.Width) << "full on the last page";
}

TEST_F(OpenBookTest, WithoutABookThePageLabelIsLeftAlone) {
  const std::u16string before = reader->lblPage.Caption;
  reader->UpdatePageLabel();
  EXPECT_EQ(reader->lblPage.Caption, before);
}

TEST_F(OpenBookTest, TheReadingTimeCountsFromStartAndRefreshesOnlyAVisiblePanel) {
  Open(WriteBook("故事.txt", BookOfLines(3)));
  frmMain& r = *reader;
  struct Tick {
    int seconds;
    const char16_t* minutes;
  };
  r.lblInfor2.Visible = true;
  for (const Tick& tick :
       {Tick{3, u"0.1"}, Tick{30, u"0.5"}, Tick{54, u"0.9"}, Tick{60, u"1.0"}, Tick{125, u"2.1"}}) {
    fake.clock.now = DateTime::FromSeconds(r.ReadStart.ToSeconds() + tick.seconds);
    r.tmrTime.Tick();
    EXPECT_EQ(r.lblInfor1.Caption, u"书目名称: 故事     格式: txt文档     已经阅读时间:" +
                                       std::u16string(tick.minutes) + u" 分钟");
  }
  r.lblInfor2.Visible = false;
  fake.clock.Advance(600);
  r.tmrTime.Tick();
  EXPECT_NE(r.lblInfor1.Caption.get().find(u"2.1 分钟"), std::u16string::npos)
      << "hidden: not refreshed";
  EXPECT_EQ(r.ReadSeconds, 725);
  r.lblInfor1.Visible = true;
  r.tmrTime.Tick();
  EXPECT_NE(r.lblInfor1.Caption.get().find(u"12.1 分钟"), std::u16string::npos);

  // A second book keeps counting from the start of the program.
  Open(WriteBook("又一本.txt", BookOfLines(3)));
  EXPECT_NE(r.lblInfor1.Caption.get().find(u"12.1 分钟"), std::u16string::npos);
}

// The book named on the command line is read before the window asks for it. The open takes it only
// when it is that book in the encoding asked for, and is then left exactly as an ordinary open
// leaves it: lines, rows, pages, chapters, the pages drawn, and what is written on closing. So is
// a book shown from its first lines as the window loads, with the rest read behind the page: at
// its first page, and reopened at the page it was left on; a rest the user cancels leaves the
// cover.
TEST(BookReadAheadTest, IsTakenOnlyAsAskedForAndOpensAsAnyOtherBook) {
  const auto pathOf = [](const char* name) {
    return files::PathFromNative((fake::TestBooksDir() / name).string());
  };
  const std::u16string other = pathOf("sample-short.gbk.txt");
  const auto number = [](std::int64_t value) {
    return codepage::DecodeUtf8(std::to_string(value));
  };
  const auto rowsInView = [](frmMain& reader) {
    std::vector<std::u16string> rows = {reader.lblPage.Caption};
    const std::int32_t page = reader.PageInView();
    for (std::int32_t row = 0; row < reader.PageRows; ++row) {
      rows.push_back((page % 2 == 0 ? reader.lblRow1 : reader.lblRow2)[row].Caption);
    }
    return rows;
  };
  // Opened as the command line opens it: as the window loads if read by then, else after.
  // `early`: what the page showed before the rest of the book was in, if it was not in at once.
  const auto open = [](frmMain& reader, const std::u16string& path,
                       std::unique_ptr<BookPrefetch> ahead, const auto& look,
                       std::vector<std::u16string>* early) {
    reader.TakePrefetch(std::move(ahead));
    reader.OpenOnLoad(path);
    reader.Show();
    if (!reader.OpenedOnLoad()) {
      EXPECT_TRUE(reader.OpenBook(path));
    }
    if (early != nullptr && reader.OpeningUnfinished()) *early = look(reader);
    reader.FinishOpening();
    EXPECT_FALSE(reader.OpeningUnfinished());
  };
  // What a user can see of an open book, and what the records keep of it; the last page looked at
  // is the fourth, which a reopen shows from the book's first lines.
  const auto openAndLook = [&](fake::FakePlatform& fake, const std::u16string& path,
                               std::unique_ptr<BookPrefetch> ahead,
                               std::vector<std::u16string>* early) {
    mPubVariable pub;
    frmMain reader(fake.platform, pub);
    open(reader, path, std::move(ahead), rowsInView, early);
    std::vector<std::u16string> seen = {
        u"lines " + number(reader.LineCount), u"rows " + number(reader.RowCount),
        u"pages " + number(reader.PageCount), u"chapters " + number(reader.BookChapters.size())};
    for (const Chapter& chapter : reader.BookChapters) {
      seen.push_back(number(chapter.Line) + u":" + number(chapter.Title));
    }
    seen.push_back(u"first page");
    for (const std::u16string& row : rowsInView(reader)) seen.push_back(row);
    for (std::int32_t page : {reader.PageCount - 1, reader.PageCount / 2, 3}) {
      reader.ShowPageAtRest(page);
      for (const std::u16string& row : rowsInView(reader)) seen.push_back(row);
    }
    reader.CloseFromFrame();
    const std::u16string folder = fake.platform.program.Directory();
    for (const std::u16string& record :
         {LastReadFilePath(folder), HistoryFilePath(folder), BookPlacesFilePath(folder)}) {
      seen.push_back(codepage::DecodeUtf8(files::ReadWholeFile(record).value_or("?")));
    }
    return seen;
  };
  for (const char* book : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    SCOPED_TRACE(book);
    const std::u16string path = pathOf(book);
    std::vector<std::u16string> plain, reopened;
    {
      fake::FakePlatform fake;
      plain = openAndLook(fake, path, nullptr, nullptr);
      ASSERT_GT(plain.size(), 100u);
      mPubVariable pub;
      frmMain reader(fake.platform, pub);
      open(reader, path, nullptr, rowsInView, nullptr);
      reopened = rowsInView(reader);
    }
    const auto fresh = [&](std::unique_ptr<BookPrefetch> ahead) {
      fake::FakePlatform fake;
      return openAndLook(fake, path, std::move(ahead), nullptr);
    };
    EXPECT_EQ(fresh(std::make_unique<BookPrefetch>(path, std::nullopt)), plain);
    // Read ahead as another encoding than the one asked for, or another book: read again.
    EXPECT_EQ(fresh(std::make_unique<BookPrefetch>(path, BookEncoding::Big5)), plain);
    EXPECT_EQ(fresh(std::make_unique<BookPrefetch>(other, std::nullopt)), plain);

    // The page first, the rest after: the page and the box say what they will once all is in,
    // but for the count, and all is then as above.
    fake::FakePlatform fake;
    std::vector<std::u16string> early;
    EXPECT_EQ(
        openAndLook(fake, path, std::make_unique<BookPrefetch>(path, std::nullopt, 0), &early),
        plain);
    const auto firstPage = std::find(plain.begin(), plain.end(), u"first page") + 1;
    ASSERT_EQ(early.size(), reopened.size()) << "the first page was not shown on its own";
    EXPECT_EQ(early[0], u"书页 1/…");
    EXPECT_TRUE(std::equal(early.begin() + 1, early.end(), firstPage + 1));
    early.clear();
    mPubVariable pub;
    frmMain reader(fake.platform, pub);
    open(reader, path, std::make_unique<BookPrefetch>(path, std::nullopt, 0), rowsInView, &early);
    EXPECT_EQ(rowsInView(reader), reopened);
    ASSERT_EQ(early.size(), reopened.size()) << "the reopened page was not shown on its own";
    EXPECT_EQ(early[0], u"书页 4/…");
    EXPECT_TRUE(std::equal(early.begin() + 1, early.end(), reopened.begin() + 1));

    // The rest cancelled in its progress window: back to the cover, no book, nothing told or kept.
    fake::FakePlatform cancelling;
    cancelling.dialogs.cancelLongTasks = true;
    mPubVariable cancelledPub;
    frmMain cancelled(cancelling.platform, cancelledPub);
    open(cancelled, path, std::make_unique<BookPrefetch>(path, std::nullopt, 0), rowsInView,
         nullptr);
    EXPECT_TRUE(cancelled.strBookPath.empty());
    EXPECT_EQ(cancelled.Caption, u"Quillon");
    EXPECT_FALSE(cancelled.Toolbar.Visible);
    EXPECT_TRUE(cancelling.dialogs.messages.empty());
    cancelled.CloseFromFrame();
    EXPECT_FALSE(files::FileExists(LastReadFilePath(cancelling.platform.program.Directory())));
  }
}

}  // namespace
}  // namespace quillon
