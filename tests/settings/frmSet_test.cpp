// The settings dialog on the fake platform, opened from the reader's cover and worked the way a
// user works it: picks from the lists, check boxes, scroll bars, the colour dialog, the themes,
// and what OK and Cancel leave in memory, in the settings file and on the page surfaces.

#include "settings/frmSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/codepage.h"
#include "reader/frmMain.h"
#include "settings/reader_settings.h"
#include "support/fake_platform.h"

namespace quillon {
namespace {

const std::string kJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "a small picture";

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() { Start(); }

  // A new start of the reader; with a record, the settings file holds it first.
  void Start(const SettingsRecord* stored = nullptr) {
    if (stored != nullptr) WriteSettingsFile(*stored);
    reader = std::make_unique<frmMain>(fake.platform, pub);
    reader->Show();
  }
  void WriteSettingsFile(const SettingsRecord& record) {
    fake.folder.Write("Configure/Readerset.dat", SettingsFileBytes(record));
  }
  SettingsRecord Saved() const {
    return ParseSettingsFile(fake.folder.Read("Configure/Readerset.dat"));
  }

  // Opens the dialog from the cover; `work` runs while it is up, and Cancel closes it unless
  // `work` has closed it.
  void ShowSettings(const std::function<void(frmSet&)>& work) {
    fake.forms.onModal = [&](ui::Form& form) {
      auto& dialog = dynamic_cast<frmSet&>(form);
      work(dialog);
      if (dialog.IsLoaded()) dialog.cmdCancel.Click();
    };
    reader->lblSet.Click();
    fake.forms.onModal = nullptr;
  }

  // The user's pick of the entry that reads `text`.
  static void Pick(ui::ComboBox& list, const std::u16string& text) {
    for (int i = 0; i < list.ListCount(); ++i) {
      if (list.List(i) == text) {
        list.Pick(i);
        return;
      }
    }
    ADD_FAILURE() << list.Name() << " has no entry of " << text.size() << " code units";
  }

  static void ExpectRowFonts(const ui::ControlArray<ui::Label>& rows, const ui::FontSpec& font,
                             ui::Color color) {
    for (int i = rows.LBound(); i <= rows.UBound(); ++i) {
      SCOPED_TRACE(rows[i].QualifiedName());
      EXPECT_EQ(rows[i].Font.Value(), font);
      EXPECT_EQ(rows[i].ForeColor, color);
    }
  }

  fake::FakePlatform fake;
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(SettingsDialogTest, OpensModallyFromTheCoverAsAFixedCentredDialog) {
  ShowSettings([&](frmSet& dialog) {
    EXPECT_EQ(dialog.Caption, u"Quillon设置");
    EXPECT_EQ(dialog.ScaleWidth(), 5985);
    EXPECT_EQ(dialog.ScaleHeight(), 7110);
    EXPECT_EQ(dialog.BorderStyle, ui::FormBorder::FixedDialog);
    EXPECT_EQ(dialog.Left, (fake.screen.WidthTwips() - dialog.Width) / 2);
    EXPECT_EQ(dialog.Top, (fake.screen.HeightTwips() - dialog.Height) / 2);
  });
  ASSERT_EQ(fake.forms.modal.size(), 1u);
  ASSERT_EQ(fake.forms.unloaded.size(), 1u);
  EXPECT_EQ(fake.forms.unloaded[0], fake.forms.modal[0]);
}

TEST_F(SettingsDialogTest, TheColourRowsStandInTheFrameOfTheirColour) {
  ShowSettings([&](frmSet& dialog) {
    for (int slot = 0; slot <= 1; ++slot) {
      ui::Frame& frame = slot == 0 ? dialog.Frame1 : dialog.Frame2;
      const int firstTop = slot == 0 ? 780 : 270;
      const char16_t* const captions[] = {u"红:", u"绿:", u"蓝:"};
      const ui::Color colors[] = {ui::RGB(255, 0, 0), ui::RGB(0, 192, 0), ui::RGB(0, 0, 255)};
      ui::HScrollBar* const bars[] = {&dialog.HScrollR[slot], &dialog.HScrollG[slot],
                                      &dialog.HScroll1[slot]};
      for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(bars[k]->QualifiedName());
        const ui::Label& caption = dialog.Label1[3 * slot + k];
        EXPECT_EQ(caption.Parent(), &frame);
        EXPECT_EQ(caption.Caption, captions[k]);
        EXPECT_EQ(caption.ForeColor, colors[k]);
        EXPECT_EQ(bars[k]->Parent(), &frame);
        EXPECT_EQ(bars[k]->Top, firstTop + 300 * k);
        EXPECT_EQ(caption.Top, bars[k]->Top);
        EXPECT_EQ(bars[k]->Min, 0);
        EXPECT_EQ(bars[k]->Max, 255);
      }
    }
    EXPECT_EQ(dialog.lblItme[2].Parent(), &dialog.Frame1);
    EXPECT_EQ(dialog.lblItme[3].Parent(), &dialog.Frame2);
    EXPECT_EQ(dialog.lblItme[3].Caption, u"背景颜色:");
    for (ui::Label* swatch : {&dialog.lblFontColor, &dialog.lblBackColor}) {
      EXPECT_EQ(swatch->BorderStyle, ui::BorderStyle::FixedSingle);
      EXPECT_EQ(swatch->BackStyle, ui::BackStyle::Opaque);
    }
  });
}

TEST_F(SettingsDialogTest, LoadingFillsTheListsInOrderAndShowsTheRecord) {
  SettingsRecord stored;
  stored.FontName = u"黑体";
  stored.FontSize = 16.0f;
  stored.FontColor = ui::RGB(1, 2, 3);
  stored.FontItalic = true;
  stored.BackColor = ui::RGB(200, 100, 50);
  stored.UsePhoto = true;
  stored.BackPhoto = 4;
  stored.NotFlash = false;
  Start(&stored);
  ShowSettings([&](frmSet& dialog) {
    EXPECT_EQ(dialog.cboFontName.Items(),
              (std::vector<std::u16string>{u"Arial", u"MS Sans Serif", u"Roman", u"Tahoma",
                                           u"Times New Roman", u"仿宋_GB2312", u"黑体",
                                           u"楷体_GB2312", u"隶书", u"宋体", u"新宋体", u"幼圆"}));
    EXPECT_EQ(dialog.cboFontSize.Items(),
              (std::vector<std::u16string>{u"小二(18磅)", u"三号(16磅)", u"四号(14磅)",
                                           u"小四(12磅)", u"五号(10.5磅)", u"小五(9磅)"}));
    EXPECT_EQ(dialog.cboBackPhoto.Items(),
              (std::vector<std::u16string>{u"(无背景)", u"背景1(纸质纹理白)", u"背景2(木质纹理黑)",
                                           u"背景3(水晶之心蓝)", u"背景4(牡丹物语粉)",
                                           u"背景5(素淡花卉黄)", u"背景6(如茵草坪绿)"}));
    EXPECT_EQ(dialog.cboFontName.Text, u"黑体");
    EXPECT_EQ(dialog.cboFontSize.Text, u"三号(16磅)");
    EXPECT_EQ(dialog.cboBackPhoto.Text, u"背景4(牡丹物语粉)");
    EXPECT_TRUE(dialog.cboBackPhoto.Enabled);
    EXPECT_EQ(dialog.chkFontBold.Value, ui::CheckBox::Unchecked);
    EXPECT_EQ(dialog.chkFontItil.Value, ui::CheckBox::Checked);
    EXPECT_EQ(dialog.chkUsePhoto.Value, ui::CheckBox::Checked);
    EXPECT_EQ(dialog.chkPageActive.Value, ui::CheckBox::Checked);
    EXPECT_EQ(dialog.chkNotFlash.Value, ui::CheckBox::Unchecked);
    EXPECT_EQ(dialog.chkAutoScroll.Value, ui::CheckBox::Checked);
    EXPECT_EQ(dialog.lblFontColor.BackColor, ui::RGB(1, 2, 3));
    EXPECT_EQ(dialog.lblBackColor.BackColor, ui::RGB(200, 100, 50));
    EXPECT_EQ(dialog.HScrollR[0].Value, 1);
    EXPECT_EQ(dialog.HScrollG[0].Value, 2);
    EXPECT_EQ(dialog.HScroll1[0].Value, 3);
    EXPECT_EQ(dialog.HScrollR[1].Value, 200);
    EXPECT_EQ(dialog.HScrollG[1].Value, 100);
    EXPECT_EQ(dialog.HScroll1[1].Value, 50);
    EXPECT_TRUE(dialog.optReadMode[0].Value);
    EXPECT_TRUE(dialog.HScrollR[1].Enabled) << "the custom theme leaves the colours unlocked";
  });
  EXPECT_EQ(pub.ReaderSettings, stored) << "loading the custom theme changes nothing";
}

// Cancel, and closing the dialog by its frame, put back every field the dialog changed.
TEST_F(SettingsDialogTest, CancelAndTheFrameCloseLeaveTheSettingsAsTheyWere) {
  const SettingsRecord before = pub.ReaderSettings;
  for (const bool byFrame : {false, true}) {
    SCOPED_TRACE(byFrame ? "closed by the frame" : "cancelled");
    ShowSettings([&](frmSet& dialog) {
      Pick(dialog.cboFontSize, u"小四(12磅)");
      Pick(dialog.cboFontName, u"Arial");
      dialog.chkNotFlash.Value = ui::CheckBox::Unchecked;
      dialog.chkPageActive.Value = ui::CheckBox::Unchecked;
      dialog.optReadMode[3].Value = true;
      EXPECT_FALSE(pub.ReaderSettings == before);
      if (byFrame) {
        dialog.CloseFromFrame();
      } else {
        dialog.cmdCancel.Click();
      }
      EXPECT_FALSE(dialog.IsLoaded());
    });
    EXPECT_EQ(pub.ReaderSettings, before);
    EXPECT_EQ(pub.IndentWidth, 4);
    EXPECT_EQ(Saved().FontSize, 10.5f);
    EXPECT_EQ(reader->lblRow1[0].Font.Size, 10.5f);
    EXPECT_EQ(reader->lblRow2[reader->lblRow2.UBound()].Font.Size, 10.5f);
  }
}

TEST_F(SettingsDialogTest, EachCheckBoxWritesItsFieldAndGreyedCountsAsOff) {
  struct Box {
    ui::CheckBox frmSet::*box;
    bool SettingsRecord::*field;
  };
  const Box boxes[] = {{&frmSet::chkFontBold, &SettingsRecord::FontBold},
                       {&frmSet::chkFontItil, &SettingsRecord::FontItalic},
                       {&frmSet::chkUsePhoto, &SettingsRecord::UsePhoto},
                       {&frmSet::chkPageActive, &SettingsRecord::PageActive},
                       {&frmSet::chkNotFlash, &SettingsRecord::NotFlash},
                       {&frmSet::chkAutoScroll, &SettingsRecord::AutoScroll}};
  ShowSettings([&](frmSet& dialog) {
    for (const Box& b : boxes) {
      ui::CheckBox& box = dialog.*(b.box);
      SCOPED_TRACE(box.Name());
      for (int value : {ui::CheckBox::Checked, ui::CheckBox::Unchecked, ui::CheckBox::Checked,
                        ui::CheckBox::Grayed}) {
        box.Value = value;
        EXPECT_EQ(pub.ReaderSettings.*(b.field), value == ui::CheckBox::Checked) << value;
      }
    }
    EXPECT_FALSE(dialog.cboBackPhoto.Enabled) << "a greyed picture box leaves the list off";
  });
}

TEST_F(SettingsDialogTest, PickingAFaceSetsTheIndentOfItsScript) {
  struct Case {
    const char16_t* face;
    int indent;
  };
  ShowSettings([&](frmSet& dialog) {
    for (const Case& c : {Case{u"Arial", 8}, Case{u"宋体", 4}, Case{u"Times New Roman", 8},
                          Case{u"黑体", 4}, Case{u"Tahoma", 8}, Case{u"幼圆", 4}}) {
      SCOPED_TRACE(testing::Message() << "indent " << c.indent);
      Pick(dialog.cboFontName, c.face);
      EXPECT_EQ(pub.ReaderSettings.FontName, c.face);
      EXPECT_EQ(pub.IndentWidth, c.indent);
    }
  });
}

TEST_F(SettingsDialogTest, TypingIntoTheListsChangesNoSetting) {
  ShowSettings([&](frmSet& dialog) {
    dialog.cboFontName.Text = u"Courier New";
    dialog.cboFontName.Text = u"黑体";  // typed, even when it matches an entry
    dialog.cboFontSize.Text = u"小四(12磅)";
    dialog.cmdOK.Click();
  });
  EXPECT_EQ(pub.ReaderSettings.FontName, u"宋体");
  EXPECT_EQ(pub.ReaderSettings.FontSize, 10.5f);
  EXPECT_EQ(Saved().FontName, u"宋体");
  ExpectRowFonts(reader->lblRow1, {u"宋体", 10.5f, false, false, false}, 0);
}

TEST_F(SettingsDialogTest, AColourFromTheColourDialogMovesItsScrollBarsAndStays) {
  ShowSettings([&](frmSet& dialog) {
    dialog.lblBackColor.Click();  // cancelled: the swatch keeps its colour
    EXPECT_EQ(pub.ReaderSettings.BackColor, 16777215);
    EXPECT_EQ(dialog.lblBackColor.BackColor, 16777215);

    fake.dialogs.colorAnswers.push_back(ui::RGB(10, 20, 30));
    dialog.lblFontColor.Click();
    EXPECT_EQ(pub.ReaderSettings.FontColor, ui::RGB(10, 20, 30));
    EXPECT_EQ(dialog.lblFontColor.BackColor, ui::RGB(10, 20, 30));
    EXPECT_EQ(dialog.HScrollG[0].Value, 20);

    dialog.HScrollR[1].Value = 200;
    EXPECT_EQ(pub.ReaderSettings.FontColor, ui::RGB(10, 20, 30)) << "the picked colour stays";
    EXPECT_EQ(pub.ReaderSettings.BackColor, ui::RGB(200, 255, 255));
    dialog.HScroll1[0].Value = 90;
    EXPECT_EQ(pub.ReaderSettings.FontColor, ui::RGB(10, 20, 90));

    // The custom theme alone lets the colours be set: a locked swatch opens no dialog.
    dialog.optReadMode[2].Value = true;
    fake.dialogs.colorAnswers.push_back(ui::RGB(1, 2, 3));
    dialog.lblFontColor.Click();
    EXPECT_EQ(fake.dialogs.colorAnswers.size(), 1u);
  });
}

TEST_F(SettingsDialogTest, NoBackgroundWithPicturesOnClearsBothSurfacesAndSavesNumberZero) {
  fake.folder.Write("Configure/BK2.jpg", kJpeg);
  SettingsRecord stored;
  stored.UsePhoto = true;
  stored.BackPhoto = 2;
  Start(&stored);
  ASSERT_NE(reader->MainPage[0].Picture.get(), nullptr);
  ShowSettings([&](frmSet& dialog) {
    Pick(dialog.cboBackPhoto, u"(无背景)");
    EXPECT_EQ(pub.ReaderSettings.BackPhoto, 0);
    dialog.cmdOK.Click();
  });
  EXPECT_EQ(reader->MainPage[0].Picture.get(), nullptr);
  EXPECT_EQ(reader->MainPage[1].Picture.get(), nullptr);
  EXPECT_TRUE(Saved().UsePhoto);
  EXPECT_EQ(Saved().BackPhoto, 0);
}

TEST_F(SettingsDialogTest, TurningPicturesOffLocksTheListKeepsTheNumberAndClearsTheSurfaces) {
  fake.folder.Write("Configure/BK2.jpg", kJpeg);
  SettingsRecord stored;
  stored.UsePhoto = true;
  stored.BackPhoto = 2;
  Start(&stored);
  ShowSettings([&](frmSet& dialog) {
    dialog.chkUsePhoto.Value = ui::CheckBox::Unchecked;
    EXPECT_FALSE(dialog.cboBackPhoto.Enabled);
    EXPECT_EQ(dialog.cboBackPhoto.Text, u"背景2(木质纹理黑)");
    dialog.cmdOK.Click();
  });
  EXPECT_EQ(reader->MainPage[0].Picture.get(), nullptr);
  EXPECT_EQ(reader->MainPage[1].Picture.get(), nullptr);
  EXPECT_FALSE(Saved().UsePhoto);
  EXPECT_EQ(Saved().BackPhoto, 2);
}

TEST_F(SettingsDialogTest, APictureChosenIsLoadedOnBothSurfacesAndSaved) {
  fake.folder.Write("Configure/BK3.jpg", kJpeg);
  ShowSettings([&](frmSet& dialog) {
    EXPECT_FALSE(dialog.cboBackPhoto.Enabled);
    dialog.chkUsePhoto.Value = ui::CheckBox::Checked;
    EXPECT_TRUE(dialog.cboBackPhoto.Enabled);
    Pick(dialog.cboBackPhoto, u"背景3(水晶之心蓝)");
    EXPECT_EQ(pub.ReaderSettings.BackPhoto, 3);
    dialog.cmdOK.Click();
  });
  const std::u16string picture = fake.Directory() + u"/Configure/BK3.jpg";
  for (int k = 0; k <= 1; ++k) {
    ASSERT_NE(reader->MainPage[k].Picture.get(), nullptr) << k;
    EXPECT_EQ(reader->MainPage[k].Picture.get()->Source(), picture);
  }
  EXPECT_TRUE(Saved().UsePhoto);
  EXPECT_EQ(Saved().BackPhoto, 3);
}

TEST_F(SettingsDialogTest, AMissingOrUnreadablePictureLeavesTheSurfacesBare) {
  fake.folder.Write("Configure/BK2.jpg", kJpeg);
  fake.folder.Write("Configure/BK5.jpg", "not a picture");
  SettingsRecord stored;
  stored.UsePhoto = true;
  stored.BackPhoto = 2;
  Start(&stored);
  for (const char16_t* entry : {u"背景5(素淡花卉黄)", u"背景6(如茵草坪绿)"}) {
    reader->MainPage[0].Picture = fake.pictures.Load(fake.Directory() + u"/Configure/BK2.jpg");
    ShowSettings([&](frmSet& dialog) {
      Pick(dialog.cboBackPhoto, entry);
      dialog.cmdOK.Click();
      EXPECT_FALSE(dialog.IsLoaded());
    });
    EXPECT_EQ(reader->MainPage[0].Picture.get(), nullptr);
    EXPECT_EQ(reader->MainPage[1].Picture.get(), nullptr);
  }
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(Saved().BackPhoto, 6);
}

// OK on the cover lays the window out again, so the next book opens in the new layout, but the
// cover stays in view.
TEST_F(SettingsDialogTest, OkWithoutABookAppliesSavesAndLaysTheWindowOutBehindTheCover) {
  ShowSettings([&](frmSet& dialog) {
    Pick(dialog.cboFontName, u"黑体");
    Pick(dialog.cboFontSize, u"小二(18磅)");  // 24 rows a page, were the window laid out again
    dialog.chkFontBold.Value = ui::CheckBox::Checked;
    dialog.chkFontItil.Value = ui::CheckBox::Checked;
    dialog.HScrollR[0].Value = 255;
    dialog.HScrollG[1].Value = 0;
    dialog.cmdOK.Click();
    EXPECT_FALSE(dialog.IsLoaded());
  });
  for (const ui::ControlArray<ui::Label>* surfaceRows : {&reader->lblRow1, &reader->lblRow2}) {
    EXPECT_EQ(surfaceRows->Count(), 24);
    ExpectRowFonts(*surfaceRows, {u"黑体", 18.0f, true, true, false}, ui::RGB(255, 0, 0));
  }
  for (int k = 0; k <= 1; ++k) {
    EXPECT_EQ(reader->MainPage[k].BackColor, ui::RGB(255, 0, 255));
    EXPECT_EQ(reader->MainPage[k].Left, reader->Width) << "the cover stays in view";
  }
  EXPECT_FALSE(reader->Toolbar.Visible);
  EXPECT_FALSE(reader->FirstTurnPending);
  EXPECT_EQ(reader->RowChars, 23);
  EXPECT_EQ(Saved(), pub.ReaderSettings);
  EXPECT_EQ(Saved().FontSize, 18.0f);
}

TEST_F(SettingsDialogTest, OkWithABookRewrapsItAtTheSameReadingFraction) {
  // 250 paragraphs of 44 characters: two rows each at 41 characters a row, one at 48.
  std::u16string text;
  auto paragraph = [](int i) {
    std::u16string line = u"第" + codepage::DecodeUtf8(std::to_string(i)) + u"段";
    line.resize(44, u'文');
    return line;
  };
  for (int i = 0; i < 250; ++i) text += paragraph(i) + u"\r\n";
  const std::u16string path =
      codepage::DecodeUtf8(fake.folder.Write("长篇.txt", codepage::EncodeGb18030(text)));
  fake.dialogs.openAnswers.push_back(path);
  reader->lblOpen.Click();
  ASSERT_EQ(reader->PageCount, 20);
  pub.ReaderSettings.NotFlash = false;
  reader->cmdNext.Value = true;
  reader->cmdBack.Value = true;
  while (reader->CurrentPage < 9) reader->cmdNext.Value = true;
  ASSERT_FLOAT_EQ(reader->BookPrePercent, 0.5f);

  ShowSettings([&](frmSet& dialog) {
    Pick(dialog.cboFontSize, u"小五(9磅)");
    dialog.cmdOK.Click();
  });
  frmMain& r = *reader;
  EXPECT_EQ(r.RowChars, 48);
  EXPECT_EQ(r.PageRows, 25);
  EXPECT_EQ(r.PageCount, 10);
  EXPECT_TRUE(r.FirstTurnPending);
  EXPECT_EQ(r.CurrentPage, 5) << "half of ten pages: the fifth";
  EXPECT_EQ(r.lblPage.Caption, u"书页 5/10");
  EXPECT_EQ(r.MainPage[0].Left, 0);
  EXPECT_EQ(r.lblRow1[0].Caption, u"    " + paragraph(100));
  EXPECT_EQ(r.lblRow1[0].Font.Size, 9.0f);
  EXPECT_FLOAT_EQ(r.BookPrePercent, 0.5f);
  EXPECT_EQ(Saved().FontSize, 9.0f);
}

TEST_F(SettingsDialogTest, EachPresetWritesItsValuesAndLocksTheColours) {
  struct Preset {
    const char16_t* caption;
    const char16_t* face;
    const char16_t* sizeName;
    float size;
    int font[3];
    int back[3];
    bool bold;
  };
  const Preset presets[] = {
      {u"标准主题", u"宋体", u"五号(10.5磅)", 10.5f, {225, 225, 225}, {69, 124, 119}, false},
      {u"大字体主题", u"仿宋_GB2312", u"四号(14磅)", 14.0f, {80, 80, 80}, {200, 255, 255}, true},
      {u"Quillon主题", u"宋体", u"五号(10.5磅)", 10.5f, {83, 83, 83}, {255, 239, 178}, false},
      {u"豆沙绿主题", u"宋体", u"五号(10.5磅)", 10.5f, {82, 58, 0}, {0, 184, 112}, false},
      {u"深邃蓝主题", u"宋体", u"五号(10.5磅)", 10.5f, {185, 195, 185}, {0, 32, 55}, false},
  };
  const std::int32_t packed[][2] = {{14803425, 7830597},
                                    {5263440, 16777160},
                                    {5460819, 11726847},
                                    {14930, 7387136},
                                    {12174265, 3612672}};
  SettingsRecord stored;
  stored.PageActive = false;
  stored.NotFlash = false;
  stored.BackPhoto = 5;
  Start(&stored);
  ShowSettings([&](frmSet& dialog) {
    EXPECT_EQ(dialog.optReadMode[0].Caption, u"自定义主题");
    for (int index = 1; index <= 5; ++index) {
      const Preset& p = presets[index - 1];
      SCOPED_TRACE(index);
      // What the user had set before choosing the theme.
      Pick(dialog.cboFontName, u"Arial");
      dialog.chkFontItil.Value = ui::CheckBox::Checked;
      dialog.chkFontBold.Value = p.bold ? ui::CheckBox::Unchecked : ui::CheckBox::Checked;

      dialog.optReadMode[index].Value = true;
      const SettingsRecord& s = pub.ReaderSettings;
      EXPECT_EQ(dialog.optReadMode[index].Caption, p.caption);
      EXPECT_EQ(s.FontName, p.face);
      EXPECT_EQ(s.FontSize, p.size);
      EXPECT_EQ(s.FontColor, packed[index - 1][0]);
      EXPECT_EQ(s.BackColor, packed[index - 1][1]);
      EXPECT_EQ(s.FontBold, p.bold);
      EXPECT_FALSE(s.FontItalic);
      EXPECT_FALSE(s.UsePhoto);
      EXPECT_EQ(s.ReadMode, index);
      EXPECT_EQ(pub.IndentWidth, 4);
      EXPECT_EQ(s.BackPhoto, 5);
      EXPECT_FALSE(s.PageActive);
      EXPECT_FALSE(s.NotFlash);
      EXPECT_TRUE(s.AutoScroll);

      EXPECT_EQ(dialog.cboFontName.Text, p.face);
      EXPECT_EQ(dialog.cboFontSize.Text, p.sizeName);
      EXPECT_EQ(dialog.chkFontBold.Value, p.bold ? ui::CheckBox::Checked : ui::CheckBox::Unchecked);
      EXPECT_EQ(dialog.chkFontItil.Value, ui::CheckBox::Unchecked);
      EXPECT_EQ(dialog.lblFontColor.BackColor, packed[index - 1][0]);
      EXPECT_EQ(dialog.lblBackColor.BackColor, packed[index - 1][1]);
      ui::HScrollBar* const font[] = {&dialog.HScrollR[0], &dialog.HScrollG[0],
                                      &dialog.HScroll1[0]};
      ui::HScrollBar* const back[] = {&dialog.HScrollR[1], &dialog.HScrollG[1],
                                      &dialog.HScroll1[1]};
      for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(font[k]->Value, p.font[k]) << k;
        EXPECT_EQ(back[k]->Value, p.back[k]) << k;
        EXPECT_FALSE(font[k]->Enabled);
        EXPECT_FALSE(back[k]->Enabled);
      }
      EXPECT_FALSE(dialog.lblFontColor.Enabled);
      EXPECT_FALSE(dialog.lblBackColor.Enabled);
      for (int other = 0; other <= 5; ++other) {
        EXPECT_EQ(dialog.optReadMode[other].Value, other == index) << other;
      }
    }
  });
}

TEST_F(SettingsDialogTest, APresetTurnsThePictureOffButKeepsItsEntryShown) {
  fake.folder.Write("Configure/BK4.jpg", kJpeg);
  SettingsRecord stored;
  stored.UsePhoto = true;
  stored.BackPhoto = 4;
  Start(&stored);
  ShowSettings([&](frmSet& dialog) {
    dialog.optReadMode[3].Value = true;
    EXPECT_FALSE(pub.ReaderSettings.UsePhoto);
    EXPECT_EQ(pub.ReaderSettings.BackPhoto, 4);
    EXPECT_EQ(dialog.chkUsePhoto.Value, ui::CheckBox::Unchecked);
    EXPECT_FALSE(dialog.cboBackPhoto.Enabled);
    EXPECT_EQ(dialog.cboBackPhoto.Text, u"背景4(牡丹物语粉)");
    dialog.cmdOK.Click();
  });
  EXPECT_EQ(reader->MainPage[0].Picture.get(), nullptr);
  EXPECT_EQ(reader->MainPage[0].BackColor, 11726847);
  EXPECT_EQ(Saved().ReadMode, 3);
}

TEST_F(SettingsDialogTest, TheCustomThemeUnlocksTheColoursAndChangesNothingElse) {
  SettingsRecord stored;
  stored.ReadMode = 3;
  Start(&stored);
  ShowSettings([&](frmSet& dialog) {
    EXPECT_FALSE(dialog.HScrollR[0].Enabled) << "a preset theme opens locked";
    SettingsRecord expected = pub.ReaderSettings;
    expected.ReadMode = 0;
    dialog.optReadMode[0].Value = true;
    EXPECT_EQ(pub.ReaderSettings, expected);
    EXPECT_TRUE(dialog.lblFontColor.Enabled);
    EXPECT_TRUE(dialog.lblBackColor.Enabled);
    EXPECT_TRUE(dialog.HScroll1[1].Enabled);
    EXPECT_EQ(dialog.HScrollR[1].Value, 255);
    EXPECT_EQ(dialog.HScrollG[1].Value, 239);
    EXPECT_EQ(dialog.HScroll1[1].Value, 178);
    EXPECT_EQ(dialog.HScrollR[0].Value, 83);
    dialog.HScrollG[0].Value = 0;
    EXPECT_EQ(pub.ReaderSettings.FontColor, ui::RGB(83, 0, 83)) << "the preset is the start";
  });
}

TEST_F(SettingsDialogTest, ReopeningAPresetThemeResetsWhatWasSavedOverIt) {
  ShowSettings([&](frmSet& dialog) {
    dialog.optReadMode[4].Value = true;
    Pick(dialog.cboFontSize, u"小四(12磅)");
    dialog.cmdOK.Click();
  });
  EXPECT_EQ(Saved().FontSize, 12.0f);
  EXPECT_EQ(Saved().ReadMode, 4);
  ShowSettings([&](frmSet& dialog) {
    EXPECT_TRUE(dialog.optReadMode[4].Value);
    EXPECT_EQ(dialog.cboFontSize.Text, u"五号(10.5磅)");
    EXPECT_EQ(pub.ReaderSettings.FontSize, 10.5f);
  });
  EXPECT_EQ(Saved().FontSize, 12.0f) << "Cancel saves nothing";
}

// Values the dialog could never have set (a damaged or foreign file) are read as the defaults of
// their fields, so no page is drawn in 1E+30-point type or grey on grey; the rest of the record
// stands.
TEST_F(SettingsDialogTest, ValuesTheDialogCannotSetAreReadAsTheirDefaults) {
  for (std::int16_t damaged : {std::int16_t{-1}, std::int16_t{9}}) {
    SCOPED_TRACE(damaged);
    SettingsRecord stored;
    stored.ReadMode = damaged;
    stored.BackPhoto = damaged;
    stored.UsePhoto = true;
    stored.FontSize = damaged < 0 ? 1e30f : 11.0f;
    stored.FontColor = 16777216 + 5;
    stored.BackColor = -1;
    stored.FontName = u"黑体";
    Start(&stored);
    SettingsRecord expected = stored;
    const SettingsRecord defaults;
    expected.ReadMode = defaults.ReadMode;
    expected.BackPhoto = defaults.BackPhoto;
    expected.FontSize = defaults.FontSize;
    expected.FontColor = defaults.FontColor;
    expected.BackColor = defaults.BackColor;
    EXPECT_EQ(pub.ReaderSettings, expected);
    ShowSettings([&](frmSet& dialog) {
      EXPECT_TRUE(dialog.optReadMode[0].Value);
      EXPECT_EQ(dialog.cboFontSize.Text, u"五号(10.5磅)");
      EXPECT_EQ(dialog.HScrollR[1].Value, 255);
    });
    EXPECT_EQ(reader->RowChars, 41);
  }
}

TEST_F(SettingsDialogTest, SavingMakesTheSettingsFolderAgainWhenItHasGone) {
  std::filesystem::remove_all(fake.DirectoryUtf8() + "/Configure");
  ShowSettings([&](frmSet& dialog) {
    Pick(dialog.cboFontSize, u"四号(14磅)");
    dialog.cmdOK.Click();
  });
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(Saved().FontSize, 14.0f);
}

TEST_F(SettingsDialogTest, AFailedSaveIsToldAndTheDialogStillAppliesAndCloses) {
  const std::string before = fake.folder.Read("Configure/Readerset.dat");
  // The reader's folder moves under a plain file: nothing can be made or written there.
  fake.folder.Write("blocked", "a file");
  fake.program.SetDirectory(fake.Directory() + u"/blocked");
  ShowSettings([&](frmSet& dialog) {
    dialog.HScrollR[1].Value = 0;
    dialog.cmdOK.Click();
    EXPECT_FALSE(dialog.IsLoaded());
  });
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].title, u"提示");
  EXPECT_EQ(fake.dialogs.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(fake.dialogs.messages[0].text.rfind(u"Quillon 无法", 0), 0u);
  EXPECT_EQ(reader->MainPage[0].BackColor, ui::RGB(0, 255, 255));
  EXPECT_EQ(fake.folder.Read("Configure/Readerset.dat"), before);
}

}  // namespace
}  // namespace quillon
