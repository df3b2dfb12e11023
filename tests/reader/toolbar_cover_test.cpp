// The toolbar's commands, the cover's menu with its highlight, the information line on the last
// row, and the About window, on the fake platform.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "about/frmAbout.h"
#include "platform/codepage.h"
#include "reader/frmMain.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

const char16_t kRangeMessage[] = u"输入的页码超出本书的范围，请重新输入。";

class ToolbarTest : public ::testing::Test {
 protected:
  ToolbarTest() {
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
  }
  void OpenBookOfPages(int pages) {
    std::u16string text;
    for (int i = 0; i < pages * 25; ++i) {
      text += u"第" + codepage::DecodeUtf8(std::to_string(i / 25)) + u"页\r\n";
    }
    fake.dialogs.openAnswers.push_back(
        codepage::DecodeUtf8(fake.folder.Write("书.txt", codepage::EncodeGb18030(text))));
    reader->lblOpen.Click();
  }
  void Jump(std::optional<std::u16string> answer) {
    fake.dialogs.inputAnswers.push_back(std::move(answer));
    reader->Toolbar.ButtonClick(9);
  }
  int RangeMessages() const {
    int count = 0;
    for (const fake::ShownMessage& message : fake.dialogs.messages)
      count += message.text == kRangeMessage;
    return count;
  }
  std::vector<int> Lefts() { return {reader->MainPage[0].Left, reader->MainPage[1].Left}; }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(ToolbarTest, AJumpTakesOnlyAPageOfTheBook) {
  OpenBookOfPages(12);
  Jump(std::nullopt);
  EXPECT_EQ(RangeMessages(), 0) << "a cancelled jump asks for nothing and is told nothing";
  const std::vector<std::optional<std::u16string>> refused = {
      u"", u"abc", u"40000", u"0", u"13", u"-3", u"5页", u"99999999999"};
  for (const auto& answer : refused) Jump(answer);
  EXPECT_EQ(RangeMessages(), static_cast<int>(refused.size()));
  EXPECT_EQ(reader->CurrentPage, 1) << "nothing else changed";
  EXPECT_TRUE(reader->FirstTurnPending);
  ASSERT_EQ(fake.dialogs.inputPrompts.size(), refused.size() + 1);
  EXPECT_EQ(fake.dialogs.inputPrompts[0], u"请输入您需要跳转的页码数。");

  struct Case {
    const char16_t* answer;
    int index;
  };
  for (const Case& c : {Case{u"12", 11}, Case{u" 5 ", 4}, Case{u"4.5", 3}, Case{u"5.5", 5}}) {
    Jump(std::u16string(c.answer));
    EXPECT_EQ(reader->CurrentPage, c.index) << codepage::EncodeUtf8(c.answer);
  }
  EXPECT_EQ(RangeMessages(), static_cast<int>(refused.size()));
  EXPECT_FALSE(reader->FirstTurnPending);
}

TEST_F(ToolbarTest, AJumpMovesParkedSurfacesOnlyAndClearsThePendingFirstTurn) {
  OpenBookOfPages(12);
  Jump(u"5");  // index 4, even: surface 0 is already shown, nothing moves
  EXPECT_EQ(Lefts(), (std::vector<int>{0, 8820}));
  EXPECT_EQ(reader->lblPage.Caption, u"书页 5/12");
  reader->cmdNext.Value = true;
  EXPECT_EQ(reader->CurrentPage, 5) << "the next turn after a jump goes on from it";
  for (int tick = 0; tick < 10; ++tick) reader->tmrPage.Tick();

  Jump(u"3");  // even again, but surface 0 is parked now: the surfaces swap at once
  EXPECT_EQ(Lefts(), (std::vector<int>{0, 8820}));
  Jump(u"2");  // odd
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_FALSE(reader->tmrPage.Enabled) << "a jump never slides";
  Jump(u"2");  // the page already shown
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 0}));
  EXPECT_EQ(reader->lblRow2[0].Caption, u"    第1页");
}

TEST_F(ToolbarTest, BackToTheCoverParksTheShownSurfaceAndSavesThePage) {
  OpenBookOfPages(5);
  Jump(u"3");
  reader->MainPage[1].Left = 4000;  // caught mid-way: parked all the same
  reader->Toolbar.ButtonClick(1);
  EXPECT_EQ(Lefts(), (std::vector<int>{8820, 8820}));
  EXPECT_FALSE(reader->Toolbar.Visible);
  EXPECT_NE(fake.folder.Read("Bookmark/Lastread.dat").find(",2\r\n"), std::string::npos);
  EXPECT_FALSE(reader->strBookName.empty()) << "the book stays loaded";
}

TEST_F(ToolbarTest, SeparatorsDoNothing) {
  OpenBookOfPages(5);
  const std::u16string label = reader->lblPage.Caption;
  for (int separator : {5, 8, 10, 12}) reader->Toolbar.ButtonClick(separator);
  EXPECT_EQ(reader->lblPage.Caption, label);
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_TRUE(fake.forms.unloaded.empty());
}

TEST_F(ToolbarTest, LeavingSavesBothRecordsThenCloses) {
  OpenBookOfPages(5);
  Jump(u"4");
  reader->Toolbar.ButtonClick(11);
  EXPECT_NE(fake.folder.Read("Bookmark/Lastread.dat").find(",3\r\n"), std::string::npos);
  EXPECT_TRUE(fake.folder.Exists("Bookmark/Readrecord.dat"));
  ASSERT_EQ(fake.forms.unloaded.size(), 1u);
  EXPECT_EQ(fake.forms.unloaded[0], reader.get());
}

TEST_F(ToolbarTest, AFailedSaveOnLeavingIsToldBeforeTheWindowCloses) {
  OpenBookOfPages(5);
  fake.folder.Write("blocked", "a file");
  fake.program.SetDirectory(fake.Directory() + u"/blocked");
  fake.forms.onModal = nullptr;
  std::size_t unloadedWhenTold = 99;
  // The message box of the fake platform is the moment the user is told.
  reader->Toolbar.ButtonClick(11);
  ASSERT_FALSE(fake.dialogs.messages.empty());
  unloadedWhenTold = fake.forms.unloaded.size();
  EXPECT_EQ(fake.dialogs.messages.back().title, u"提示");
  EXPECT_EQ(unloadedWhenTold, 1u);
  EXPECT_FALSE(reader->IsLoaded());
}

TEST_F(ToolbarTest, ScrollingStopsBeforeTheCoverTheSettingsOrLeaving) {
  for (int button : {1, 2, 11}) {
    SCOPED_TRACE(button);
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
    OpenBookOfPages(10);
    Jump(u"3");
    reader->Toolbar.ButtonClick(3);
    for (int tick = 0; tick < 5; ++tick) reader->tmrScrollScr.Tick();
    ASSERT_EQ(reader->CurrentPage, 3) << "one ahead while scrolling";
    fake.forms.onModal = [](ui::Form& form) { form.Unload(); };
    reader->Toolbar.ButtonClick(button);
    EXPECT_FALSE(reader->ScrollActive);
    EXPECT_FALSE(reader->tmrScrollScr.Enabled);
    EXPECT_EQ(reader->Toolbar.Buttons(3).Caption, u"滚屏");
    if (button != 2) {
      EXPECT_NE(fake.folder.Read("Bookmark/Lastread.dat").find(",2\r\n"), std::string::npos)
          << "the page saved is the page in view";
    }
  }
}

TEST_F(ToolbarTest, CoverLabelsLightUpUntilThePointerCrossesTheBackground) {
  frmMain& r = *reader;
  r.lblOpen.MouseMove(ui::MouseButton::None, 0, 10, 10);
  r.lblLastRead.MouseMove(ui::MouseButton::None, 0, 10, 10);
  EXPECT_EQ(r.lblOpen.ForeColor, ui::RGB(0, 0, 255))
      << "straight onto the next label: both stay lit";
  EXPECT_EQ(r.lblLastRead.ForeColor, ui::RGB(0, 0, 255));
  EXPECT_TRUE(r.MenuHighlighted);
  EXPECT_EQ(r.MousePointer, ui::MousePointer::Custom);
  r.lblHelp.MouseMove(ui::MouseButton::None, 0, 10, 10);
  EXPECT_EQ(r.lblHelp.ForeColor, ui::RGB(255, 0, 0));

  r.MouseMove(ui::MouseButton::None, 0, 100, 100);
  EXPECT_FALSE(r.MenuHighlighted);
  EXPECT_EQ(r.MousePointer, ui::MousePointer::Default);
  for (ui::Label* label :
       {&r.lblOpen, &r.lblLastRead, &r.lblHistory, &r.lblSet, &r.lblExit, &r.lblHelp}) {
    EXPECT_EQ(label->ForeColor, ui::RGB(64, 64, 64)) << label->Name();
  }
}

TEST_F(ToolbarTest, TheHandCursorComesFromItsFileAndItsAbsenceStopsNothing) {
  frmMain& r = *reader;
  r.lblSet.MouseMove(ui::MouseButton::None, 0, 1, 1);
  EXPECT_EQ(r.MouseIcon.get(), nullptr) << "no cursor file in this program folder";
  EXPECT_EQ(r.lblSet.ForeColor, ui::RGB(0, 0, 255));

  const std::string cursor = std::string("\0\0\2\0\1\0", 6) + std::string(60, '\0');
  fake.folder.Write("Icosource/hand.cur", cursor);
  r.lblExit.MouseMove(ui::MouseButton::None, 0, 1, 1);
  ASSERT_NE(r.MouseIcon.get(), nullptr);
  EXPECT_EQ(r.MouseIcon.get()->Source(), fake.Directory() + u"/Icosource/hand.cur");
}

TEST_F(ToolbarTest, TheInformationLineShowsOnlyOverTheLastRowAndNotWhileScrolling) {
  OpenBookOfPages(5);
  frmMain& r = *reader;
  r.lblRow1[24].MouseMove(ui::MouseButton::None, 0, 5, 5);
  EXPECT_TRUE(r.lblInfor1.Visible);
  EXPECT_FALSE(r.lblInfor2.Visible);
  r.lblRow1[12].MouseMove(ui::MouseButton::None, 0, 5, 5);
  EXPECT_FALSE(r.lblInfor1.Visible);
  r.lblRow2[24].MouseMove(ui::MouseButton::None, 0, 5, 5);
  EXPECT_FALSE(r.lblInfor2.Visible) << "the page parked beside the window hears no mouse";
  pub.ReaderSettings.NotFlash = false;
  r.cmdNext.Value = true;
  r.lblRow2[24].MouseMove(ui::MouseButton::None, 0, 5, 5);
  EXPECT_TRUE(r.lblInfor2.Visible);

  r.ToggleScrollScreen();
  r.lblRow2[3].MouseMove(ui::MouseButton::None, 0, 5, 5);
  EXPECT_TRUE(r.lblInfor2.Visible) << "hovering changes nothing while scrolling";
}

TEST_F(ToolbarTest, ClosingTheBookEndsTheProgramWithoutWritingAnything) {
  OpenBookOfPages(3);
  reader->lblExit.Click();
  ASSERT_EQ(fake.forms.unloaded.size(), 1u);
  EXPECT_FALSE(fake.folder.Exists("Bookmark"));
}

TEST_F(ToolbarTest, TheAboutWindowIsModelessAndThereIsOnlyOne) {
  reader->lblHelp.Click();
  reader->lblHelp.Click();
  EXPECT_TRUE(fake.forms.modal.empty());
  ASSERT_EQ(fake.forms.shown.size(), 3u);  // the reader, then the same About window twice
  EXPECT_EQ(fake.forms.shown[1], fake.forms.shown[2]);
  auto* about = dynamic_cast<frmAbout*>(fake.forms.shown[1]);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->Caption, u"关于Quillon");
  EXPECT_EQ(about->lblVersion.Caption, u"版本: 2.0.0");
  EXPECT_EQ(about->ScaleWidth(), 4815);
  EXPECT_EQ(about->ScaleHeight(), 3675);
  about->cmdOK.Click();
  EXPECT_FALSE(about->IsLoaded());
  reader->lblHelp.Click();
  EXPECT_NE(fake.forms.shown.back(), nullptr);
  EXPECT_TRUE(dynamic_cast<frmAbout*>(fake.forms.shown.back())->IsLoaded());
}

TEST(AboutText, IsPlainGb2312WithIndentedParagraphs) {
  const std::u16string text = kAboutDescription;
  const std::string bytes = codepage::EncodeGb18030(text);
  EXPECT_GT(bytes.size(), 900u);
  EXPECT_LT(bytes.size(), 1300u);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    EXPECT_TRUE(lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE)
        << "a character outside GB2312 at byte " << i;
    ++i;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    EXPECT_EQ(text.substr(start, 4), u"    ");
    EXPECT_NE(text[start + 4], u' ');
    start = end + 2;
  }
  EXPECT_EQ(text.find(u'\n'), text.find(u"\r\n") + 1) << "lines end with CR LF";
}

}  // namespace
}  // namespace quillon
