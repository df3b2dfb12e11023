// Reading in motion on the fake platform: page turns with their refusals, the slide tick by tick,
// auto-scroll's conveyor, and the re-layout between the normal and the full-screen window.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/codepage.h"
#include "reader/frmMain.h"
#include "support/fake_platform.h"
#include "support/test_books.h"

namespace quillon {
namespace {

const char16_t kStartMessage[] = u"已经达到书本开头，无法继续向上翻页！";
const char16_t kEndMessage[] = u"已经达到书本结尾，无法继续向下翻页！";

class MotionTest : public ::testing::Test {
 protected:
  MotionTest() {
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
  }

  // A book of one-row lines, 25 to a page, whose rows say which page they are on.
  void OpenBookOfPages(int pages) {
    std::u16string text;
    for (int page = 0; page < pages; ++page) {
      for (int row = 0; row < 25; ++row) text += u"第" + Number(page) + u"页\r\n";
    }
    fake.dialogs.openAnswers.push_back(
        codepage::DecodeUtf8(fake.folder.Write("书.txt", codepage::EncodeGb18030(text))));
    reader->lblOpen.Click();
    ASSERT_EQ(reader->PageCount, pages);
  }
  static std::u16string Number(int value) { return codepage::DecodeUtf8(std::to_string(value)); }
  // The page index drawn on a surface, read back from its first row; -1 when it is empty.
  int PageOn(int surface) {
    const std::u16string row = (surface == 0 ? reader->lblRow1 : reader->lblRow2)[0].Caption;
    if (row.empty()) return -1;
    return std::stoi(codepage::EncodeUtf8(row.substr(5, row.size() - 6)));
  }
  std::vector<int> Lefts() { return {reader->MainPage[0].Left, reader->MainPage[1].Left}; }
  int Messages(const char16_t* text) {
    int count = 0;
    for (const fake::ShownMessage& message : fake.dialogs.messages) {
      if (message.text == text) {
        EXPECT_EQ(message.title, u"提示");
        EXPECT_EQ(message.icon, MessageIcon::Information);
        ++count;
      }
    }
    return count;
  }
  void Slide() {
    for (int tick = 0; tick < 20 && reader->tmrPage.Enabled; ++tick) reader->tmrPage.Tick();
    ASSERT_FALSE(reader->tmrPage.Enabled);
  }
  void SetNotFlash(bool slide) { pub.ReaderSettings.NotFlash = slide; }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(MotionTest, TheFirstTurnAfterOpeningShowsTheSecondPage) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  r.cmdNext.Value = true;
  EXPECT_EQ(r.CurrentPage, 1);
  EXPECT_FALSE(r.FirstTurnPending);
  EXPECT_EQ(PageOn(1), 1);
  EXPECT_EQ(r.lblPage.Caption, u"书页 2/3");
  Slide();
  r.cmdNext.Value = true;
  EXPECT_EQ(PageOn(0), 2);
  Slide();
  r.cmdNext.Value = true;
  EXPECT_EQ(Messages(kEndMessage), 1);
  EXPECT_EQ(r.CurrentPage, 2);
  EXPECT_EQ(r.lblPage.Caption, u"书页 3/3");
}

TEST_F(MotionTest, ShortBooksEndWhereTheyShould) {
  OpenBookOfPages(2);
  reader->cmdNext.Value = true;
  EXPECT_EQ(PageOn(1), 1);
  EXPECT_EQ(Messages(kEndMessage), 0);

  OpenBookOfPages(1);
  reader->cmdNext.Value = true;
  EXPECT_EQ(Messages(kEndMessage), 1);
  EXPECT_EQ(reader->lblPage.Caption, u"书页 1/1") << "a refused turn names the page in view";
  EXPECT_EQ(reader->shpBar.Width, reader->shpPanel.Width);
}

TEST_F(MotionTest, BackRightAfterOpeningIsRefusedAndForwardStillTurns) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  r.cmdBack.Value = true;
  EXPECT_EQ(Messages(kStartMessage), 1);
  EXPECT_EQ(r.CurrentPage, 0);
  EXPECT_EQ(r.lblPage.Caption, u"书页 1/3");
  EXPECT_TRUE(r.TurnBackward) << "set even by a refused turn";
  EXPECT_FALSE(r.tmrPage.Enabled);
  r.cmdNext.Value = true;
  EXPECT_EQ(r.CurrentPage, 1);
  EXPECT_EQ(PageOn(1), 1);
}

TEST_F(MotionTest, KeysTurnPagesOnlyOnTheSurfacesAndOnlyWhenAllowed) {
  OpenBookOfPages(20);
  SetNotFlash(false);
  frmMain& r = *reader;
  r.cmdNext.Value = true;  // now on index 1, the pending first turn used up
  struct Key {
    int code;
    int step;
  };
  for (const Key& key : {Key{ui::keys::PageDown, 1}, Key{ui::keys::Right, 1},
                         Key{ui::keys::Down, 1}, Key{ui::keys::PageUp, -1}, Key{ui::keys::Left, -1},
                         Key{ui::keys::Up, -1}, Key{ui::keys::Home, 0}, Key{ui::keys::Space, 0}}) {
    SCOPED_TRACE(key.code);
    const int before = r.CurrentPage;
    r.MainPage[before % 2].KeyDown(key.code, 0);
    EXPECT_EQ(r.CurrentPage, before + key.step);
  }
  const int before = r.CurrentPage;
  r.MainPage_KeyDown(-1, ui::keys::Right, 0);  // not from a surface
  EXPECT_EQ(r.CurrentPage, before);
  pub.ReaderSettings.PageActive = false;
  r.MainPage[1].KeyDown(ui::keys::Right, 1);
  EXPECT_EQ(r.CurrentPage, before);
}

TEST_F(MotionTest, WithoutTheSlideTheNewPageStandsAtOnce) {
  OpenBookOfPages(3);
  SetNotFlash(false);
  reader->cmdNext.Value = true;
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_FALSE(reader->tmrPage.Enabled);
  reader->cmdBack.Value = true;
  EXPECT_EQ(Lefts(), (std::vector<int>{0, 8820}));
}

TEST_F(MotionTest, AForwardSlideTakesSixTicksAndSnapsToRest) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  r.cmdNext.Value = true;
  ASSERT_TRUE(r.tmrPage.Enabled);
  const std::vector<std::vector<int>> expected = {
      {-1500, 7320}, {-3000, 5820}, {-4500, 4320}, {-6000, 2820}, {-7500, 1320}};
  for (const std::vector<int>& lefts : expected) {
    r.tmrPage.Tick();
    EXPECT_EQ(Lefts(), lefts);
  }
  r.tmrPage.Tick();  // -9000 and -180, snapped
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_FALSE(r.tmrPage.Enabled);
}

TEST_F(MotionTest, ABackwardSlideComesInFromTheLeft) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  SetNotFlash(false);
  r.cmdNext.Value = true;
  r.cmdNext.Value = true;  // index 2 on surface 0
  SetNotFlash(true);
  r.cmdBack.Value = true;  // index 1 on surface 1, parked at 8820
  r.tmrPage.Tick();
  EXPECT_EQ(Lefts(), (std::vector<int>{1500, -7320}));
  for (int left : {-5820, -4320, -2820, -1320}) {
    r.tmrPage.Tick();
    EXPECT_EQ(r.MainPage[1].Left, left);
  }
  r.tmrPage.Tick();  // 180, snapped
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_FALSE(r.tmrPage.Enabled);
}

TEST_F(MotionTest, ATurnDuringASlideStillEndsAtRest) {
  OpenBookOfPages(5);
  frmMain& r = *reader;
  r.cmdNext.Value = true;
  r.tmrPage.Tick();
  r.tmrPage.Tick();
  r.cmdNext.Value = true;  // index 2, back on surface 0, mid-way through the slide
  r.tmrPage.Tick();
  r.cmdBack.Value = true;  // and back to index 1: surface 1 is not parked, so it just travels right
  Slide();
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_EQ(PageOn(1), 1);
}

TEST_F(MotionTest, AFullScreenSlideTakesElevenTicks) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  pub.FullScreenMode = true;
  r.SetLayoutWindow(true);
  r.FullScreen(pub.FullScreenMode);
  ASSERT_EQ(r.Width, 15360);
  r.cmdNext.Value = true;
  int ticks = 0;
  while (r.tmrPage.Enabled && ticks < 20) {
    r.tmrPage.Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 11);
  EXPECT_EQ(Lefts(), (std::vector<int>{15360, 0}));
}

class ScrollTest : public MotionTest {
 protected:
  // The toolbar is 600 twips high here, the surfaces right under it.
  void OpenAt(int pages, int index) {
    OpenBookOfPages(pages);
    SetNotFlash(false);
    reader->Toolbar.Height = 600;
    for (int k = 0; k <= 1; ++k) reader->MainPage[k].Top = 600;
    reader->cmdNext.Value = true;  // index 1, the pending first turn used up
    reader->cmdBack.Value = true;
    while (reader->CurrentPage < index) reader->cmdNext.Value = true;
  }
  int H() { return reader->MainPage[0].Height; }
};

TEST_F(ScrollTest, StartingOnPageFiveDrawsPageSixBelowAndStoppingComesBack) {
  OpenAt(10, 4);
  frmMain& r = *reader;
  r.ToggleScrollScreen();
  EXPECT_EQ(r.Toolbar.Buttons(3).Caption, u"停止");
  EXPECT_EQ(r.MainPage[1].Left, 0);
  EXPECT_EQ(r.MainPage[1].Top, 600 + H());
  r.tmrScrollScr.Tick();
  EXPECT_EQ(r.MainPage[0].Top, 590);
  EXPECT_EQ(r.MainPage[1].Top, 590 + H());
  EXPECT_EQ(PageOn(1), 5);
  EXPECT_EQ(r.lblPage.Caption, u"书页 6/10");

  r.ToggleScrollScreen();
  EXPECT_EQ(r.Toolbar.Buttons(3).Caption, u"滚屏");
  EXPECT_FALSE(r.tmrScrollScr.Enabled);
  EXPECT_EQ(r.MainPage[0].Top, 600);
  EXPECT_EQ(r.MainPage[1].Top, 600);
  EXPECT_EQ(r.MainPage[1].Left, 8820);
  EXPECT_EQ(r.CurrentPage, 4);
  EXPECT_EQ(r.lblPage.Caption, u"书页 5/10");
}

TEST_F(ScrollTest, StoppingBeforeTheFirstTickKeepsThePage) {
  OpenAt(10, 3);
  frmMain& r = *reader;
  r.ToggleScrollScreen();
  r.ToggleScrollScreen();
  EXPECT_EQ(r.CurrentPage, 3);
  EXPECT_EQ(r.lblPage.Caption, u"书页 4/10");
  EXPECT_EQ(r.MainPage[1].Top, 600);
  EXPECT_EQ(r.MainPage[1].Left, 0);
  EXPECT_EQ(r.MainPage[0].Top, 600);
  EXPECT_EQ(r.MainPage[0].Left, 8820) << "the surface that hung below is parked again";
}

TEST_F(ScrollTest, EachSurfaceAdvancesTheBookOncePerPass) {
  OpenAt(10, 0);
  frmMain& r = *reader;
  r.ToggleScrollScreen();
  std::vector<int> pages;
  for (int tick = 0; tick < 3 * H() / 10 + 5; ++tick) {
    r.tmrScrollScr.Tick();
    if (pages.empty() || pages.back() != r.CurrentPage) pages.push_back(r.CurrentPage);
    // A surface that has left the view went below the other one in the same tick.
    for (int k = 0; k <= 1; ++k) EXPECT_GT(r.MainPage[k].Top + H(), 600);
  }
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ScrollTest, ASurfaceWhoseBottomReachesTheToolbarGoesBelowAtOnce) {
  OpenAt(10, 0);
  frmMain& r = *reader;
  r.ToggleScrollScreen();
  // Bring surface 0 to 10 twips above the point where its bottom meets the toolbar line.
  while (r.MainPage[0].Top + H() > 610) r.tmrScrollScr.Tick();
  ASSERT_EQ(r.MainPage[0].Top + H(), 610);
  r.tmrScrollScr.Tick();
  EXPECT_EQ(r.MainPage[0].Top, r.MainPage[1].Top + H());
}

TEST_F(ScrollTest, TheSpaceKeyStartsAndStopsOnlyWhenAllowed) {
  OpenAt(10, 2);
  frmMain& r = *reader;
  pub.ReaderSettings.AutoScroll = false;
  r.MainPage[0].KeyPress(ui::keys::Space);
  EXPECT_FALSE(r.ScrollActive);
  pub.ReaderSettings.AutoScroll = true;
  r.MainPage[0].KeyPress('a');
  EXPECT_FALSE(r.ScrollActive);
  r.MainPage[0].KeyPress(ui::keys::Space);
  EXPECT_TRUE(r.ScrollActive);
  EXPECT_TRUE(r.tmrScrollScr.Enabled);
  for (int button : {4, 6, 7, 9}) EXPECT_FALSE(r.Toolbar.Buttons(button).Enabled) << button;
  for (int button : {1, 2, 3, 11}) EXPECT_TRUE(r.Toolbar.Buttons(button).Enabled) << button;
  r.MainPage[1].KeyPress(ui::keys::Space);
  EXPECT_FALSE(r.ScrollActive);
  for (int button : {4, 6, 7, 9}) EXPECT_TRUE(r.Toolbar.Buttons(button).Enabled) << button;

  // Starting again advances normally: both flags start clear.
  r.ToggleScrollScreen();
  r.tmrScrollScr.Tick();
  EXPECT_EQ(r.CurrentPage, 3);
}

TEST_F(ScrollTest, AtTheEndOfTheBookScrollingStopsOnTheLastPage) {
  for (int pages : {3, 4}) {
    SCOPED_TRACE(pages);
    OpenAt(pages, 0);
    frmMain& r = *reader;
    r.ToggleScrollScreen();
    int ticks = 0;
    while (r.tmrScrollScr.Enabled && ticks < 10 * H()) {
      r.tmrScrollScr.Tick();
      ++ticks;
      ASSERT_LE(r.CurrentPage, pages - 1 + 1);
    }
    EXPECT_FALSE(r.ScrollActive);
    EXPECT_EQ(r.CurrentPage, pages - 1);
    EXPECT_EQ(r.lblPage.Caption, u"书页 " + Number(pages) + u"/" + Number(pages));
    const int last = (pages - 1) % 2;
    EXPECT_EQ(r.MainPage[last].Top, 600);
    EXPECT_EQ(r.MainPage[last].Left, 0);
    EXPECT_EQ(r.MainPage[1 - last].Left, 8820);
    EXPECT_EQ(PageOn(last), pages - 1);
  }
}

TEST_F(ScrollTest, StartingRightAfterOpeningScrollsFromTheShownPage) {
  OpenBookOfPages(5);
  frmMain& r = *reader;
  ASSERT_TRUE(r.FirstTurnPending);
  r.ToggleScrollScreen();
  EXPECT_FALSE(r.FirstTurnPending);
  EXPECT_EQ(r.MainPage[0].Left, 0);
  EXPECT_EQ(r.MainPage[1].Top, r.MainPage[0].Top + H()) << "the page shown stays on top";
  r.tmrScrollScr.Tick();
  EXPECT_EQ(PageOn(1), 1);
  EXPECT_EQ(r.lblPage.Caption, u"书页 2/5");
}

TEST_F(MotionTest, ARelayoutShowsThePageOfThePlaceHoweverOften) {
  OpenBookOfPages(230);
  frmMain& r = *reader;
  r.ShowPageAtRest(99);
  // Six switches between the layouts, and the settings applied again.
  for (int i = 0; i < 6; ++i) r.Toolbar.ButtonClick(4);
  r.FullScreen(pub.FullScreenMode);
  EXPECT_EQ(r.CurrentPage, 100) << "the page's number, as right after opening";
  EXPECT_TRUE(r.FirstTurnPending);
  EXPECT_EQ(PageOn(1), 99);
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_EQ(r.lblPage.Caption, u"书页 100/230");
  r.cmdNext.Value = true;
  EXPECT_EQ(PageOn(0), 100);
}

// Whole novels, every 37th page: through both layouts and every font size and back, the reader is
// on the page it started from (a page's place is its first character, which every layout keeps).
TEST_F(MotionTest, EveryPageSurvivesARoundOfLayoutsAndFontSizes) {
  frmMain& r = *reader;
  for (const char* name : {"xiyouji.gbk.txt", "hongloumeng.gbk.txt", "rulinwaishi.gbk.txt"}) {
    fake.dialogs.openAnswers.push_back(
        codepage::DecodeUtf8((fake::TestBooksDir() / name).string()));
    r.lblOpen.Click();
    ASSERT_GT(r.PageCount, 300) << name;
    for (std::int32_t page = 0; page < r.PageCount; page += 37) {
      SCOPED_TRACE(::testing::Message() << name << ", page index " << page);
      r.ShowPageAtRest(page);
      for (const bool fullScreen : {true, false}) {
        if (pub.FullScreenMode != fullScreen) r.Toolbar.ButtonClick(4);
        for (const float size : {18.0f, 16.0f, 14.0f, 12.0f, 9.0f, 10.5f}) {
          pub.ReaderSettings.FontSize = size;
          r.FullScreen(pub.FullScreenMode);
        }
      }
      ASSERT_FALSE(pub.FullScreenMode);
      ASSERT_EQ(r.PageInView(), page);
    }
    r.Toolbar.ButtonClick(1);  // 主页
  }
}

// 儒林外史 shown in simplified: every page keeps the rows it has as written, each as long, in the
// characters' simplified forms, and the place in view stays; shown as written again, it is as it
// was.
TEST_F(MotionTest, AConvertedBookKeepsItsRowsAndPages) {
  frmMain& r = *reader;
  fake.dialogs.openAnswers.push_back(
      codepage::DecodeUtf8((fake::TestBooksDir() / "rulinwaishi.gbk.txt").string()));
  r.lblOpen.Click();
  const std::int32_t pages = r.PageCount;
  const auto shown = [&r] {
    std::vector<std::u16string> rows;
    const ui::ControlArray<ui::Label>& labels = r.PageInView() % 2 == 0 ? r.lblRow1 : r.lblRow2;
    for (int k = 0; k < r.PageRows; ++k) rows.push_back(labels[k].Caption);
    return rows;
  };
  for (const std::int32_t page : {0, 25, 200, pages - 1}) {
    SCOPED_TRACE(page);
    r.ShowPageAtRest(page);
    const BookPlace place = r.PlaceInView();
    const std::vector<std::u16string> written = shown();
    r.ChooseScript(ScriptConversion::ToSimplified);
    ASSERT_EQ(r.BookScript, ScriptConversion::ToSimplified);
    EXPECT_EQ(r.PageCount, pages);
    EXPECT_EQ(r.PageInView(), page);
    EXPECT_EQ(r.PlaceInView(), place);
    const std::vector<std::u16string> simplified = shown();
    std::u16string before, after;
    for (std::size_t k = 0; k < written.size(); ++k) {
      EXPECT_EQ(simplified[k].size(), written[k].size()) << "row " << k;
      before += written[k];
      after += simplified[k];
    }
    if (page > 0) {
      EXPECT_NE(after, before);
      EXPECT_EQ(after.find(u'說'), std::u16string::npos);
      EXPECT_EQ(after.find(u'們'), std::u16string::npos);
    }
    r.ChooseScript(ScriptConversion::None);
    EXPECT_EQ(shown(), written);
  }
}

// Reading aloud on a service that says what it is given until told it is done: a sentence at a
// time, the page turned when the next begins on it, the user's turns followed, pauses, failures,
// the sleep timer, and the book's end.
TEST_F(MotionTest, ReadingAloudFollowsTheBookAndTheUser) {
  frmMain& r = *reader;
  fake::FakeSpeech& speech = fake.speech;
  fake.folder.Write("Configure/Speech.dat", "\"\",0,0,1,15\r\n");  // stop after 15 minutes
  std::u16string text;
  for (int i = 0; i < 100; ++i) text += u"第" + Number(i) + u"句。\r\n";
  fake.dialogs.openAnswers.push_back(
      codepage::DecodeUtf8(fake.folder.Write("句.txt", codepage::EncodeGb18030(text))));
  r.lblOpen.Click();
  pub.ReaderSettings.NotFlash = false;

  r.MainPage[0].KeyDown(ui::keys::F5, 0);
  ASSERT_EQ(r.ReadingAloud, frmMain::Reading::Speaking);
  EXPECT_EQ(speech.said, std::vector<std::u16string>{u"第0句。"});
  EXPECT_EQ(r.lblRow1[0].HighlightLength, 4) << "the sentence read is marked";
  for (int i = 0; i < 25; ++i) speech.Finish();
  EXPECT_EQ(speech.said.back(), u"第25句。");
  EXPECT_EQ(r.PageInView(), 1) << "the next sentence began on the next page, which is shown";
  EXPECT_EQ(r.lblRow2[0].HighlightLength, 5);
  EXPECT_EQ(r.lblRow1[0].HighlightLength, 0);

  // A turn of the user's moves the reading to the first sentence of the page then in view.
  r.cmdNext.Value = true;
  EXPECT_EQ(speech.said.back(), u"第50句。");
  // F5 pauses: nothing more is said until it goes on.
  r.MainPage[0].KeyDown(ui::keys::F5, 0);
  EXPECT_TRUE(speech.paused);
  speech.Finish();
  EXPECT_EQ(speech.said.back(), u"第50句。");
  r.MainPage[0].KeyDown(ui::keys::F5, 0);
  EXPECT_FALSE(speech.paused);
  speech.Finish();
  EXPECT_EQ(speech.said.back(), u"第51句。");

  // Reading aloud and auto-scroll exclude each other.
  r.ToggleScrollScreen();
  EXPECT_EQ(r.ReadingAloud, frmMain::Reading::Off);
  EXPECT_FALSE(speech.speaking);
  r.ToggleScrollScreen();
  r.ShowPageAtRest(2);

  // The service gone: reading stops with the message, and the place kept is the sentence read.
  r.ToggleReading();
  speech.Finish();
  speech.Fail(u"朗读服务不见了。");
  EXPECT_EQ(r.ReadingAloud, frmMain::Reading::Off);
  EXPECT_EQ(fake.dialogs.messages.back().text, u"朗读服务不见了。");
  EXPECT_EQ(r.PlaceInView(), (BookPlace{51, 0}));
  EXPECT_EQ(r.lblRow1[1].HighlightLength, 0) << "no mark is left behind";

  // The sleep timer ends the reading at the end of a sentence, quietly.
  r.ToggleReading();
  fake.clock.Advance(15 * 60);
  const std::size_t messages = fake.dialogs.messages.size();
  speech.Finish();
  EXPECT_EQ(r.ReadingAloud, frmMain::Reading::Off);
  EXPECT_EQ(fake.dialogs.messages.size(), messages);

  // A service that never says it is done is given up on.
  r.ToggleReading();
  fake.clock.Advance(60);
  r.tmrSpeech.Tick();
  EXPECT_EQ(r.ReadingAloud, frmMain::Reading::Off);

  // The last page read to the end stops at the book's end.
  r.ShowPageAtRest(3);
  r.ToggleReading();
  for (int i = 0; i < 30 && r.ReadingAloud != frmMain::Reading::Off; ++i) speech.Finish();
  EXPECT_EQ(speech.said.back(), u"第99句。");
  EXPECT_EQ(fake.dialogs.messages.back().text, u"这本书读完了。");
}

TEST_F(MotionTest, ARelayoutThatRoundsToNothingShowsTheFirstPage) {
  OpenBookOfPages(4);
  reader->BookPrePercent = 0.1f;  // 0.4 of a page
  reader->FullScreen(pub.FullScreenMode);
  EXPECT_EQ(reader->CurrentPage, 1);
  EXPECT_EQ(PageOn(0), 0);
  EXPECT_EQ(reader->lblPage.Caption, u"书页 1/4");
}

TEST_F(MotionTest, ARelayoutWithoutABookChangesNoPage) {
  const std::u16string label = reader->lblPage.Caption;
  reader->FullScreen(pub.FullScreenMode);
  EXPECT_EQ(reader->CurrentPage, 0);
  EXPECT_EQ(reader->lblPage.Caption, label);
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 8820}));
}

TEST_F(MotionTest, TheLayoutButtonGoesByItsCaptionAndTwicePressedComesBack) {
  OpenBookOfPages(3);
  frmMain& r = *reader;
  ui::ToolbarButton& layout = r.Toolbar.Buttons(4);
  r.Toolbar.ButtonClick(4);
  EXPECT_TRUE(pub.FullScreenMode);
  EXPECT_EQ(layout.Caption, u"普通阅读");
  EXPECT_EQ(r.Width, 15360);
  EXPECT_EQ(r.RowChars, 72);
  r.Toolbar.ButtonClick(4);
  EXPECT_FALSE(pub.FullScreenMode);
  EXPECT_EQ(layout.Caption, u"全屏阅读");
  EXPECT_EQ(r.Width, 8820);
  EXPECT_EQ(r.Left, 3270);
  EXPECT_EQ(r.Height, 11070);
  EXPECT_EQ(r.RowChars, 41);
}

TEST_F(MotionTest, TheTwoLayoutsOnEachScreen) {
  struct Screen {
    int width, height;
    int windowHeight, normalLeft, fullWidth, panelFull;
  };
  const Screen screens[] = {{1024, 768, 11070, 3270, 15360, 13605},
                            {1280, 1024, 14910, 5190, 19200, 17445},
                            {1366, 768, 11070, 5835, 20490, 18735},
                            {1440, 900, 13050, 6390, 21600, 19845}};
  for (const Screen& screen : screens) {
    SCOPED_TRACE(screen.width);
    fake.screen.SetPixels(screen.width, screen.height);
    OpenBookOfPages(3);
    frmMain& r = *reader;

    pub.FullScreenMode = true;
    r.SetLayoutWindow(true);
    r.FullScreen(pub.FullScreenMode);
    EXPECT_EQ(r.Width, screen.fullWidth);
    EXPECT_EQ(r.Height, screen.windowHeight);
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.PicPage.Left, screen.panelFull);
    EXPECT_EQ(r.MainPage[0].Height, screen.windowHeight - 1200);
    EXPECT_EQ(r.MainPage[1].Width, screen.fullWidth);
    EXPECT_EQ(r.lblRow2[3].Width, screen.fullWidth);
    EXPECT_EQ(Lefts(), (std::vector<int>{0, screen.fullWidth})) << "parked at the new width";

    pub.FullScreenMode = false;
    r.SetLayoutWindow(false);
    r.FullScreen(pub.FullScreenMode);
    EXPECT_EQ(r.Width, 8820);
    EXPECT_EQ(r.Left, screen.normalLeft);
    EXPECT_EQ(r.PicPage.Left, 7065);
    EXPECT_EQ(Lefts(), (std::vector<int>{0, 8820}));
  }
}

}  // namespace
}  // namespace quillon
