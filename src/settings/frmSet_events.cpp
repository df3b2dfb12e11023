// Filling the settings dialog from the record, the controls' events, and OK and Cancel.

#include "platform/files.h"
#include "platform/text.h"
#include "reader/frmMain.h"
#include "settings/frmSet.h"
#include "settings/reading_themes.h"

namespace quillon {

namespace {

const char16_t* const kFaceNames[] = {
    u"Arial", u"MS Sans Serif", u"Roman", u"Tahoma", u"Times New Roman", u"仿宋_GB2312",
    u"黑体",  u"楷体_GB2312",   u"隶书",  u"宋体",   u"新宋体",          u"幼圆"};

const char16_t kNoBackground[] = u"(无背景)";
// The entry's index is the number of the picture file.
const char16_t* const kBackgroundNames[] = {
    kNoBackground,        u"背景1(纸质纹理白)", u"背景2(木质纹理黑)", u"背景3(水晶之心蓝)",
    u"背景4(牡丹物语粉)", u"背景5(素淡花卉黄)", u"背景6(如茵草坪绿)"};

// The greyed state counts as not checked.
bool IsChecked(const ui::CheckBox& box) {
  return box.Value == ui::CheckBox::Checked;
}

}  // namespace

int frmSet::CheckValue(bool on) {
  return on ? ui::CheckBox::Checked : ui::CheckBox::Unchecked;
}

void frmSet::Form_Load() {
  savedSettings_ = pub_.ReaderSettings;
  savedIndentWidth_ = pub_.IndentWidth;
  InitSettingControls();
}

void frmSet::RestoreSettings() {
  pub_.ReaderSettings = savedSettings_;
  pub_.IndentWidth = savedIndentWidth_;
}

void frmSet::InitSettingControls() {
  const SettingsRecord& settings = pub_.ReaderSettings;
  cboFontName.Clear();
  for (const char16_t* face : kFaceNames) cboFontName.AddItem(face);
  cboFontName.Text = settings.FontName;
  cboFontSize.Clear();
  for (const FontSizeName& entry : FontSizeNames()) cboFontSize.AddItem(entry.Name);
  cboFontSize.Text = FontSize2Str(settings.FontSize);
  cboBackPhoto.Clear();
  for (const char16_t* name : kBackgroundNames) cboBackPhoto.AddItem(name);
  cboBackPhoto.Text = kNoBackground;

  chkFontBold.Value = CheckValue(settings.FontBold);
  chkFontItil.Value = CheckValue(settings.FontItalic);
  ShowColors();
  chkUsePhoto.Value = CheckValue(settings.UsePhoto);
  cboBackPhoto.Enabled = settings.UsePhoto;
  ShowBackPhotoEntry();
  chkPageActive.Value = CheckValue(settings.PageActive);
  chkNotFlash.Value = CheckValue(settings.NotFlash);
  chkAutoScroll.Value = CheckValue(settings.AutoScroll);

  // Selecting the stored theme applies it again, so it must come last. A theme number that no
  // button has (a damaged file) selects nothing and leaves the record as it is.
  if (settings.ReadMode >= 0 && settings.ReadMode < kThemeCount) {
    optReadMode[settings.ReadMode].Value = true;
  }
}

void frmSet::ShowBackPhotoEntry() {
  const int number = pub_.ReaderSettings.BackPhoto;
  cboBackPhoto.Text =
      number >= 0 && number < cboBackPhoto.ListCount() ? cboBackPhoto.List(number) : u"";
}

int frmSet::PictureEntryOf(const std::u16string& text) const {
  for (int i = 1; i < cboBackPhoto.ListCount(); ++i) {
    if (cboBackPhoto.List(i) == text) return i;
  }
  return 0;
}

void frmSet::cboFontName_Click() {
  const std::u16string face = cboFontName.Text;
  if (face.empty()) return;
  pub_.ReaderSettings.FontName = face;
  pub_.IndentWidth = IndentWidthFor(face);
}

void frmSet::cboFontSize_Click() {
  const std::u16string name = cboFontSize.Text;
  if (name.empty()) return;
  pub_.ReaderSettings.FontSize = Str2FontSize(name);
}

void frmSet::cboBackPhoto_Click() {
  const std::u16string name = cboBackPhoto.Text;
  if (name.empty()) return;
  if (name == kNoBackground) {
    pub_.ReaderSettings.BackPhoto = 0;
    return;
  }
  if (const int entry = PictureEntryOf(name); entry > 0) {
    pub_.ReaderSettings.BackPhoto = static_cast<std::int16_t>(entry);
  }
}

void frmSet::chkFontBold_Click() {
  pub_.ReaderSettings.FontBold = IsChecked(chkFontBold);
}

void frmSet::chkFontItil_Click() {
  pub_.ReaderSettings.FontItalic = IsChecked(chkFontItil);
}

void frmSet::chkUsePhoto_Click() {
  pub_.ReaderSettings.UsePhoto = IsChecked(chkUsePhoto);
  cboBackPhoto.Enabled = pub_.ReaderSettings.UsePhoto;
}

void frmSet::chkPageActive_Click() {
  pub_.ReaderSettings.PageActive = IsChecked(chkPageActive);
}

void frmSet::chkNotFlash_Click() {
  pub_.ReaderSettings.NotFlash = IsChecked(chkNotFlash);
}

void frmSet::chkAutoScroll_Click() {
  pub_.ReaderSettings.AutoScroll = IsChecked(chkAutoScroll);
}

void frmSet::ApplyToReader() {
  const SettingsRecord& settings = pub_.ReaderSettings;
  for (int k = 0; k <= 1; ++k) {
    ui::PictureBox& surface = reader_.MainPage[k];
    surface.BackColor = settings.BackColor;
    if (settings.UsePhoto && settings.BackPhoto > 0) {
      // The picture follows the list's text, which is what the user sees chosen.
      const int entry = PictureEntryOf(cboBackPhoto.Text);
      if (entry > 0) {
        // A missing or unreadable file loads as no picture.
        surface.Picture = platform_.pictures.Load(files::JoinPath(
            platform_.program.ShippedDirectory(), u"Configure/BK" + DecimalText(entry) + u".jpg"));
      }
    } else {
      surface.Picture = nullptr;
    }
  }
  for (ui::ControlArray<ui::Label>* rows : {&reader_.lblRow1, &reader_.lblRow2}) {
    for (int i = rows->LBound(); i <= rows->UBound(); ++i) {
      if (!rows->Exists(i)) continue;
      ui::Label& row = (*rows)[i];
      row.Font.Name = settings.FontName;
      row.Font.Size = settings.FontSize;
      row.ForeColor = settings.FontColor;
      row.Font.Bold = settings.FontBold;
      row.Font.Italic = settings.FontItalic;
    }
  }
}

void frmSet::cmdOK_Click() {
  ApplyToReader();
  // A failed save has been reported by the reader; the dialog still closes.
  reader_.SaveConfigure();
  // Laid out again even without a book, so that the next book opens in the new layout.
  reader_.FullScreen(pub_.FullScreenMode);
  Unload();
}

void frmSet::cmdCancel_Click() {
  RestoreSettings();
  Unload();
}

}  // namespace quillon
