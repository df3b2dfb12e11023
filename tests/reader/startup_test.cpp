// Start-up of the reader window on the fake platform: the screen test, the settings it loads or
// creates, and the window layout in twips, including a second layout over the first.

#include <gtest/gtest.h>

#include <memory>

#include "reader/frmMain.h"
#include "reader/screen_mode.h"
#include "settings/reader_settings.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "a picture";

class ReaderStartTest : public ::testing::Test {
 protected:
  frmMain& Start() {
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
    return *reader;
  }
  std::string SettingsBytes() const { return fake.folder.Read("Configure/Readerset.dat"); }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(ReaderStartTest, OnlyTheFourScreenModesStart) {
  struct Case {
    int width, height;
    bool starts;
  };
  for (const Case& c : {Case{1024, 768, true}, Case{1280, 1024, true}, Case{1366, 768, true},
                        Case{1440, 900, true}, Case{1600, 900, false}, Case{768, 1024, false}}) {
    SCOPED_TRACE(::testing::Message() << c.width << "*" << c.height);
    fake::FakePlatform machine;
    machine.screen.SetPixels(c.width, c.height);
    mPubVariable state;
    frmMain window(machine.platform, state);
    window.Show();
    EXPECT_EQ(machine.program.Ended(), !c.starts);
    EXPECT_EQ(machine.forms.shown.size(), c.starts ? 1u : 0u);
    if (c.starts) {
      EXPECT_TRUE(machine.dialogs.messages.empty());
      EXPECT_EQ(window.ScreenMode, ScreenModeOf(c.width, c.height));
      continue;
    }
    ASSERT_EQ(machine.dialogs.messages.size(), 1u);
    const fake::ShownMessage& message = machine.dialogs.messages[0];
    EXPECT_EQ(message.title, u"Quillon");
    EXPECT_EQ(message.icon, MessageIcon::None);
    EXPECT_EQ(
        message.text,
        u"Quillon目前只支持[1024*768]、[1280*1024]、[1366*768]和[1440*900]四种分辨率模式。\r\n\r\n"
        u"如果您需要继续使用本软件，请手动将您的屏幕分辨率调整到以上四种模式的任意一种即可。");
    EXPECT_FALSE(machine.folder.Exists("Configure")) << "a refused start writes nothing";
  }
}

// A screen of another size gets the mode that covers most of it, drawn as large as it allows;
// a screen no mode fits is refused as before. Figures are the screen's pixels after the desktop's
// own scaling.
TEST(ScreenFit, EachScreenGetsTheModeThatFillsItMost) {
  struct Case {
    int width, height;
    int modeWidth, modeHeight;  // 0: no mode fits
    double scale;
    int forcedWidth = 0, forcedHeight = 0;
  };
  for (const Case& c : {
           Case{1024, 768, 1024, 768, 1.0},  // the four modes, as they have always been
           Case{1280, 1024, 1280, 1024, 1.0},
           Case{1366, 768, 1366, 768, 1.0},
           Case{1440, 900, 1440, 900, 1.0},
           Case{1920, 1080, 1366, 768, 1.4056},
           Case{1920, 1200, 1440, 900, 1.3333},
           Case{2560, 1440, 1366, 768, 1.8741},
           Case{3440, 1440, 1366, 768, 1.875},  // wider than any mode: as high as the screen
           Case{1280, 800, 1024, 768, 1.0417},  // only the smallest fits
           Case{1600, 900, 1366, 768, 1.1713},  // 1440*900 fits too, but covers less
           Case{3840, 2160, 1366, 768, 2.8111},
           Case{5120, 2880, 1366, 768, 3.7482},
           Case{1600, 1200, 1024, 768, 1.5625},  // 4:3 fills it; 1280*1024 would leave bands
           Case{1024, 600, 0, 0, 0},
           Case{800, 600, 0, 0, 0},
           Case{768, 1024, 0, 0, 0},                         // a mode's size turned on its side
           Case{1920, 1080, 1024, 768, 1.40625, 1024, 768},  // --screen chooses the mode
           Case{1920, 1080, 1440, 900, 1.2, 1440, 900},
           Case{1440, 900, 1440, 900, 1.0, 1440, 900},
           Case{1366, 768, 0, 0, 0, 1440, 900},  // a --screen larger than the screen
       }) {
    SCOPED_TRACE(::testing::Message() << c.width << "*" << c.height << " --screen " << c.forcedWidth
                                      << "*" << c.forcedHeight);
    const std::optional<ScreenFit> fit =
        FitScreen(c.width, c.height, c.forcedWidth, c.forcedHeight);
    if (c.modeWidth == 0) {
      EXPECT_FALSE(fit.has_value());
      continue;
    }
    ASSERT_TRUE(fit.has_value());
    EXPECT_EQ(fit->Width, c.modeWidth);
    EXPECT_EQ(fit->Height, c.modeHeight);
    EXPECT_NEAR(fit->Scale, c.scale, 0.00005);
    EXPECT_TRUE(FitsAtScale(*fit, fit->Scale, c.width, c.height)) << "drawn inside the screen";
    EXPECT_TRUE(fit->Width * fit->Scale > c.width - 1 || fit->Height * fit->Scale > c.height - 1)
        << "as large as the screen allows";
    EXPECT_DOUBLE_EQ(LargestScale(*fit, c.width, c.height), fit->Scale);
    EXPECT_FALSE(FitsAtScale(*fit, fit->Scale + 0.01, c.width, c.height)) << "no larger";
  }
}

TEST_F(ReaderStartTest, LaysTheWindowOutAt1024By768) {
  frmMain& window = Start();
  EXPECT_EQ(window.Height, 11070);
  EXPECT_EQ(window.Top, 0);
  EXPECT_EQ(window.Left, (15360 - 8820) / 2);
  EXPECT_EQ(window.Width, 8820);
  EXPECT_EQ(window.ScaleWidth(), 8730);

  for (ui::Label* label : {&window.lblOpen, &window.lblLastRead, &window.lblHistory, &window.lblSet,
                           &window.lblExit}) {
    EXPECT_EQ(label->Left, (8820 - 4035) / 2) << label->Name();
  }
  EXPECT_EQ(window.lblExit.Top, 6660);
  EXPECT_EQ(window.lblHelp.Left, 8820 - 4035 - 150);
  EXPECT_EQ(window.lblHelp.Top, 11070 - 375 - 480);

  EXPECT_EQ(window.PageRows, 25);
  EXPECT_EQ(window.RowChars, 41);
  for (int k = 0; k <= 1; ++k) {
    SCOPED_TRACE(k);
    ui::PictureBox& surface = window.MainPage[k];
    ui::ControlArray<ui::Label>& rows = k == 0 ? window.lblRow1 : window.lblRow2;
    ui::Label& info = k == 0 ? window.lblInfor1 : window.lblInfor2;
    EXPECT_EQ(surface.Height, 9870);
    EXPECT_EQ(surface.Width, 8820);
    EXPECT_EQ(surface.Left, 8820) << "parked beyond the right edge";
    EXPECT_EQ(surface.Top, window.Toolbar.Height);
    EXPECT_EQ(surface.BackColor, 16777215);
    ASSERT_EQ(rows.Count(), 25);
    for (int i = 0; i < 25; ++i) {
      EXPECT_EQ(rows[i].Top, 120 + 390 * i);
      EXPECT_EQ(rows[i].Width, 8820);
      EXPECT_EQ(rows[i].Font.Value(), (ui::FontSpec{u"宋体", 10.5f, false, false, false}));
      EXPECT_EQ(rows[i].BackStyle, ui::BackStyle::Transparent);
      EXPECT_TRUE(rows[i].Visible);
    }
    EXPECT_EQ(rows[24].Top, 9480);
    EXPECT_EQ(info.Top, 9585);
    EXPECT_EQ(info.Width, 8820);
    EXPECT_FALSE(info.Visible);
  }
  EXPECT_FALSE(window.Toolbar.Visible) << "the toolbar waits for a book";
  EXPECT_EQ(window.Toolbar.ButtonCount(), 12);
}

TEST_F(ReaderStartTest, ToolbarHasItsTwelveButtonsInOrder) {
  frmMain& window = Start();
  struct Expected {
    const char16_t* caption;
    const char16_t* tip;
    int image;
  };
  const Expected buttons[] = {{u"主页", u"回到阅读器首页", 1},
                              {u"设置", u"设置阅读器相关参数", 2},
                              {u"滚屏", u"开始/停止滚屏操作", 3},
                              {u"全屏阅读", u"全屏/普通阅读模式切换", 4},
                              {nullptr, nullptr, 0},
                              {u"上一页", u"翻到上一页", 5},
                              {u"下一页", u"翻到下一页", 6},
                              {nullptr, nullptr, 0},
                              {u"跳转", u"跳转到本书任何页码", 7},
                              {nullptr, nullptr, 0},
                              {u"退出阅读", u"退出阅读并保存当前阅读进度", 8},
                              {nullptr, nullptr, 0}};
  for (int i = 1; i <= 12; ++i) {
    SCOPED_TRACE(i);
    const ui::ToolbarButton& button = window.Toolbar.Buttons(i);
    const Expected& expected = buttons[i - 1];
    if (expected.caption == nullptr) {
      EXPECT_EQ(button.Style(), ui::ToolbarButton::Kind::Separator);
      continue;
    }
    EXPECT_EQ(button.Caption, expected.caption);
    EXPECT_EQ(button.ToolTipText, expected.tip);
    EXPECT_EQ(button.Image, expected.image);
  }
}

TEST_F(ReaderStartTest, RelayingOutRebuildsExactlyPageRowsRowLabels) {
  frmMain& window = Start();
  window.lblRow1[0].Caption = u"old text";

  // 18 points has 24 rows at 1024*768. A re-layout takes the settings in memory.
  pub.ReaderSettings.FontSize = 18.0f;
  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(window.PageRows, 24);
  EXPECT_EQ(window.lblRow1.Count(), 24);
  EXPECT_EQ(window.lblRow2.UBound(), 23);
  EXPECT_EQ(window.lblRow1[0].Caption, u"");
  EXPECT_EQ(window.lblRow1[1].Font.Size, 18.0f) << "new labels copy the new font of label 0";

  // A taller screen has more rows; the new ones continue the 30-twip spacing.
  fake.screen.SetPixels(1280, 1024);
  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(window.PageRows, 34);
  ASSERT_EQ(window.lblRow1.Count(), 34);
  for (int i = 1; i < 34; ++i) {
    EXPECT_EQ(window.lblRow1[i].Top, window.lblRow1[i - 1].Top + 360 + 30);
  }
  EXPECT_EQ(window.Height, 1024 * 15 - 450);
  EXPECT_EQ(window.MainPage[0].Height, 1024 * 15 - 450 - 1200);
}

TEST_F(ReaderStartTest, InFullScreenTheSurfacesStayWhereTheyAre) {
  frmMain& window = Start();
  pub.FullScreenMode = true;
  window.MainPage[0].Left = 0;
  window.MainPage[1].Left = 12345;
  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(window.MainPage[0].Left, 0);
  EXPECT_EQ(window.MainPage[1].Left, 12345);
  EXPECT_EQ(window.RowChars, 72) << "full-screen metrics";
}

TEST_F(ReaderStartTest, FirstStartWritesTheDefaultsAndLeavesThePicturesAlone) {
  fake.folder.Write("Configure/BK1.jpg", kJpeg);
  frmMain& window = Start();
  EXPECT_EQ(SettingsBytes().size(), 73u);
  EXPECT_EQ(pub.IndentWidth, 4);
  EXPECT_EQ(window.MainPage[0].Picture.get(), nullptr);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(ReaderStartTest, StoredSettingsSetTheIndentThePicturesAndTheMetrics) {
  fake.folder.Write("Configure/BK2.jpg", kJpeg);
  fake.folder.Write("Configure/Readerset.dat",
                    "\"Arial\",14,0,#TRUE#,#FALSE#,255,#TRUE#,2,#TRUE#,#TRUE#,#TRUE#,0\r\n");
  frmMain& window = Start();
  EXPECT_EQ(pub.IndentWidth, 8);
  EXPECT_EQ(pub.ReaderSettings.BackColor, 255);
  for (int k = 0; k <= 1; ++k) {
    ASSERT_NE(window.MainPage[k].Picture.get(), nullptr);
    EXPECT_EQ(window.MainPage[k].Picture.get()->Source(), fake.Directory() + u"/Configure/BK2.jpg");
    EXPECT_EQ(window.MainPage[k].BackColor, 255);
  }
  EXPECT_EQ(window.RowChars, 28) << "14 points bold at 1024*768";
  EXPECT_EQ(window.lblRow2[3].Font.Value(), (ui::FontSpec{u"Arial", 14.0f, true, false, false}));
}

TEST_F(ReaderStartTest, MissingOrBrokenPicturesAreSimplyNotShown) {
  fake.folder.Write("Configure/Readerset.dat",
                    "\"宋体\",10.5,0,#FALSE#,#FALSE#,255,#TRUE#,3,#TRUE#,#TRUE#,#TRUE#,0\r\n");
  fake.folder.Write("Configure/CoverImg.jpg", "this is not a picture");
  frmMain& window = Start();
  EXPECT_EQ(window.Picture.get(), nullptr);
  EXPECT_EQ(window.MainPage[0].Picture.get(), nullptr);
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(fake.forms.shown.size(), 1u);
}

TEST_F(ReaderStartTest, TheCoverPictureIsLoadedWhenPresent) {
  fake.folder.Write("Configure/CoverImg.jpg", kJpeg);
  frmMain& window = Start();
  ASSERT_NE(window.Picture.get(), nullptr);
  EXPECT_EQ(window.Picture.get()->Source(), fake.Directory() + u"/Configure/CoverImg.jpg");
}

TEST_F(ReaderStartTest, ADamagedSettingsFileStartsWithDefaultsAndIsNotRewritten) {
  const std::string junk("\x89\x00\xFF\"\r\n\x01,,,#TR", 12);
  fake.folder.Write("Configure/Readerset.dat", junk);
  frmMain& window = Start();
  EXPECT_EQ(fake.forms.shown.size(), 1u);
  EXPECT_EQ(window.PageRows, 25);
  EXPECT_EQ(window.RowChars, 41);
  EXPECT_EQ(SettingsBytes(), junk);
}

TEST_F(ReaderStartTest, AnUnknownFontSizeAtFirstStartTakesTheDefaultSizesMetrics) {
  fake.folder.Write("Configure/Readerset.dat",
                    "\"宋体\",11,0,#FALSE#,#FALSE#,16777215,#FALSE#,0,#TRUE#,#TRUE#,#TRUE#,0\r\n");
  frmMain& window = Start();
  EXPECT_EQ(window.PageRows, 25);
  EXPECT_EQ(window.RowChars, 41);

  // Once a lookup has worked, an unknown size leaves the figures as they were.
  pub.ReaderSettings.FontSize = 9.0f;
  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(window.RowChars, 48);
  pub.ReaderSettings.FontSize = 11.0f;
  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(window.RowChars, 48);
}

TEST_F(ReaderStartTest, AnUnwritableProgramFolderIsReportedOnceAndTheReaderGoesOn) {
  fake.folder.Write("program", "a file where the folder should be");
  fake.program.SetDirectory(fake.Directory() + u"/program");
  frmMain& window = Start();
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].title, u"提示");
  EXPECT_EQ(fake.dialogs.messages[0].icon, MessageIcon::Information);
  EXPECT_NE(fake.dialogs.messages[0].text.find(u"默认设置"), std::u16string::npos);
  EXPECT_EQ(fake.forms.shown.size(), 1u);
  EXPECT_EQ(pub.ReaderSettings, SettingsRecord());
  EXPECT_EQ(window.PageRows, 25);

  ASSERT_TRUE(window.SetupScreen());
  EXPECT_EQ(fake.dialogs.messages.size(), 1u) << "not again at every re-layout";
}

TEST_F(ReaderStartTest, StartsTheReadingTimerAtLoad) {
  frmMain& window = Start();
  EXPECT_EQ(window.ReadStart, fake.clock.now);
  EXPECT_TRUE(window.tmrTime.Enabled);
  EXPECT_EQ(window.tmrTime.Interval, 1000);
  EXPECT_FALSE(window.tmrPage.Enabled);
  EXPECT_FALSE(window.tmrScrollScr.Enabled);
}

}  // namespace
}  // namespace quillon
