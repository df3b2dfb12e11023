// Start-up and every later re-layout: the screen test, the settings, and the window's layout.

#include "platform/files.h"
#include "platform/text.h"
#include "reader/frmMain.h"
#include "reader/screen_mode.h"
#include "settings/row_metrics.h"

namespace quillon {

namespace {

constexpr float kDefaultFontSize = 10.5f;

}  // namespace

bool frmMain::SetupScreen() {
  const Screen& screen = platform_.screen;
  ScreenWidthPx = static_cast<std::int16_t>(screen.WidthTwips() / screen.TwipsPerPixelX());
  ScreenHeightPx = static_cast<std::int16_t>(screen.HeightTwips() / screen.TwipsPerPixelY());
  ScreenMode = ScreenModeOf(ScreenWidthPx, ScreenHeightPx);
  if (!IsSupportedScreenMode(ScreenMode)) {
    platform_.dialogs.MessageBox(kScreenModeRefusal, u"Quillon", MessageIcon::None);
    platform_.program.End();
    return false;
  }

  QuillonConfigInit(pub_.FullScreenMode);
  LoadReadRecords();

  Height = screen.HeightTwips() - 450;
  Top = 0;
  Left = (screen.WidthTwips() - Width) / 2;

  const int menuLeft = (Width - lblOpen.Width) / 2;
  for (ui::Label* label : {&lblOpen, &lblLastRead, &lblHistory, &lblSet, &lblExit}) {
    label->Left = menuLeft;
  }
  lblHelp.Left = Width - lblHelp.Width - 150;
  lblHelp.Top = Height + Top - lblHelp.Height - 480;

  Picture = LoadDataPicture(u"Configure/CoverImg.jpg");

  for (int k = 0; k <= 1; ++k) {
    ui::PictureBox& surface = MainPage[k];
    surface.Width = Width;
    surface.Height = Height - 1200;
    surface.Top = Toolbar.Height;
    // In full screen the caller has already placed the surfaces and keeps them where they are.
    if (!pub_.FullScreenMode) surface.Left = Width;
  }
  LayOutSurface(MainPage[0], lblRow1, lblInfor1);
  LayOutSurface(MainPage[1], lblRow2, lblInfor2);
  return true;
}

void frmMain::LayOutSurface(ui::PictureBox& surface, ui::ControlArray<ui::Label>& rows,
                            ui::Label& info) {
  const SettingsRecord& settings = pub_.ReaderSettings;
  surface.BackColor = settings.BackColor;

  ui::Label& first = rows[0];
  first.Width = Width;
  first.BackStyle = ui::BackStyle::Transparent;
  first.Font.Assign(
      {settings.FontName, settings.FontSize, settings.FontBold, settings.FontItalic, false});
  first.ForeColor = settings.FontColor;
  // A row that takes in closing punctuation, or a paragraph's long last row, and at a few sizes
  // the table's rows themselves, are a little wider than the page: such a row is drawn narrowed
  // rather than cut at the window's edge.
  first.FitCaption = true;
  first.FitWidth = ScaleWidth() - first.Left;

  if (rows.UBound() > 0) {
    first.Caption = u"";
    for (int i = rows.UBound(); i >= 1; --i) rows.Unload(i);
  }
  for (int i = 1; i < PageRows; ++i) {
    rows.Load(i).Visible = true;
  }
  for (int i = 1; i < PageRows; ++i) {
    rows[i].Top = rows[i - 1].Top + rows[i - 1].Height + 30;
  }

  info.Width = surface.Width;
  info.Top = surface.Height - info.Height - 60;
  info.Caption = u"";
}

void frmMain::QuillonConfigInit(const bool& fullScreenMode) {
  SettingsRecord& settings = pub_.ReaderSettings;
  // The file is read at start-up only. Every later layout takes the settings in memory, which
  // OK has saved, or, where saving failed, which the user chose for this session and was told
  // could not be kept.
  if (!settingsRead_) {
    settingsRead_ = true;
    const LoadedSettings loaded = LoadOrCreateSettings(platform_.program.Directory());
    settings = loaded.Record;
    pub_.IndentWidth =
        loaded.Source == SettingsSource::ReadFromFile ? IndentWidthFor(settings.FontName) : 4;
    if (loaded.Source == SettingsSource::DefaultsNotSaved) {
      platform_.dialogs.MessageBox(
          u"Quillon 无法在程序所在的文件夹中创建设置文件 Configure/Readerset.dat，"
          u"本次将使用默认设置运行，所做的设置无法保存。",
          u"提示", MessageIcon::Information);
    }
    settingsUnreadable_ = loaded.Source == SettingsSource::Unreadable;
    if (settingsUnreadable_) {
      platform_.dialogs.MessageBox(
          u"Quillon 无法读取设置文件 Configure/Readerset.dat，本次将使用默认设置运行。"
          u"为了不覆盖原有的设置，这次所做的设置不会保存。",
          u"提示", MessageIcon::Information);
    }
  }
  for (int k = 0; k <= 1; ++k) {
    MainPage[k].Picture =
        settings.UsePhoto && settings.BackPhoto > 0
            ? LoadDataPicture(u"Configure/BK" + DecimalText(settings.BackPhoto) + u".jpg")
            : nullptr;
  }

  auto metrics = LookupRowMetrics(fullScreenMode, settings.FontSize, ScreenMode, settings.FontBold);
  // A size no table knows, before any lookup has worked: wrapping needs rows and characters, so
  // take the figures of the default size rather than zero.
  if (!metrics && (PageRows <= 0 || RowChars <= 0)) {
    metrics = LookupRowMetrics(fullScreenMode, kDefaultFontSize, ScreenMode, settings.FontBold);
  }
  if (metrics) {
    PageRows = metrics->PageRows;
    RowChars = metrics->RowChars;
  }
}

}  // namespace quillon
