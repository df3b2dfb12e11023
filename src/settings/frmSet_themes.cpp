// The settings dialog's colours (swatches, scroll bars, the colour dialog) and its reading themes.

#include <algorithm>

#include "settings/color_components.h"
#include "settings/frmSet.h"
#include "settings/reading_themes.h"

namespace quillon {

namespace {

// A component of a colour outside the RGB range still has to sit on a 0 to 255 scroll bar.
std::int16_t ScrollPosition(std::int16_t component) {
  return std::clamp<std::int16_t>(component, 0, 255);
}

}  // namespace

void frmSet::ShowColors() {
  const SettingsRecord& settings = pub_.ReaderSettings;
  lblFontColor.BackColor = settings.FontColor;
  lblBackColor.BackColor = settings.BackColor;
  const ColorComponents parts[2] = {SplitColor(settings.FontColor), SplitColor(settings.BackColor)};
  for (std::size_t slot = 0; slot < 2; ++slot) {
    RedValue[slot] = ScrollPosition(parts[slot].Red);
    GreenValue[slot] = ScrollPosition(parts[slot].Green);
    BlueValue[slot] = ScrollPosition(parts[slot].Blue);
  }
  // The colours are already what the bars will show, except a colour outside the RGB range,
  // which keeps its value until the user moves a bar.
  fillingColors_ = true;
  for (int slot = 0; slot <= 1; ++slot) {
    const auto entry = static_cast<std::size_t>(slot);
    HScrollR[slot].Value = RedValue[entry];
    HScrollG[slot].Value = GreenValue[entry];
    HScroll1[slot].Value = BlueValue[entry];
  }
  fillingColors_ = false;
}

void frmSet::ScrollBarChanged(std::array<std::int16_t, 2>& component, int index, int position) {
  if (index == 0 || index == 1) {
    component[static_cast<std::size_t>(index)] = static_cast<std::int16_t>(position);
  }
  if (fillingColors_) return;
  // Both colours come from the arrays, so a colour picked in the colour dialog gives way here.
  const ui::Color font = ui::RGB(RedValue[0], GreenValue[0], BlueValue[0]);
  lblFontColor.BackColor = font;
  pub_.ReaderSettings.FontColor = font;
  const ui::Color back = ui::RGB(RedValue[1], GreenValue[1], BlueValue[1]);
  lblBackColor.BackColor = back;
  pub_.ReaderSettings.BackColor = back;
}

void frmSet::HScrollR_Change(int index) {
  ScrollBarChanged(RedValue, index, HScrollR[index].Value);
}

void frmSet::HScrollG_Change(int index) {
  ScrollBarChanged(GreenValue, index, HScrollG[index].Value);
}

void frmSet::HScroll1_Change(int index) {
  ScrollBarChanged(BlueValue, index, HScroll1[index].Value);
}

// The colour's scroll bars move to the colour picked, so that a later move of one of them starts
// from it rather than throwing it away.
void frmSet::PickColor(int slot, ui::Label& swatch, std::int32_t& field) {
  if (!clgColor.ShowColor()) return;
  swatch.BackColor = clgColor.Color;
  field = clgColor.Color;
  const ColorComponents parts = SplitColor(field);
  fillingColors_ = true;
  HScrollR[slot].Value = ScrollPosition(parts.Red);
  HScrollG[slot].Value = ScrollPosition(parts.Green);
  HScroll1[slot].Value = ScrollPosition(parts.Blue);
  fillingColors_ = false;
}

void frmSet::lblFontColor_Click() {
  PickColor(0, lblFontColor, pub_.ReaderSettings.FontColor);
}

void frmSet::lblBackColor_Click() {
  PickColor(1, lblBackColor, pub_.ReaderSettings.BackColor);
}

void frmSet::optReadMode_Click(int index) {
  if (index < 0 || index >= kThemeCount) return;
  ApplyTheme(index);
  // Only the custom theme lets the user set the colours by hand.
  EnableColorControls(index == 0);
}

void frmSet::ApplyTheme(int index) {
  WriteThemePreset(index, pub_.ReaderSettings, pub_.IndentWidth);
  const SettingsRecord& settings = pub_.ReaderSettings;
  ShowColors();
  cboFontName.Text = settings.FontName;
  cboFontSize.Text = FontSize2Str(settings.FontSize);
  chkFontBold.Value = CheckValue(settings.FontBold);
  chkFontItil.Value = CheckValue(settings.FontItalic);
  chkUsePhoto.Value = CheckValue(settings.UsePhoto);
  ShowBackPhotoEntry();
}

void frmSet::EnableColorControls(bool enabled) {
  lblFontColor.Enabled = enabled;
  lblBackColor.Enabled = enabled;
  for (ui::ControlArray<ui::HScrollBar>* bars : {&HScrollR, &HScrollG, &HScroll1}) {
    (*bars)[0].Enabled = enabled;
    (*bars)[1].Enabled = enabled;
  }
}

}  // namespace quillon
