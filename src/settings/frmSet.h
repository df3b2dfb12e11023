#pragma once
// The settings dialog: the reading font, the page background, the keys and the slide, and the six
// reading themes. Every change goes straight into the settings record; OK applies it to the reader
// window and saves it, Cancel only closes.

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/ui/kit.h"
#include "settings/font_size_names.h"
#include "settings/pub_variables.h"

namespace quillon {

class frmMain;

class frmSet : public ui::Form {
 public:
  frmSet(Platform& platform, mPubVariable& pub, frmMain& reader);

  ui::Frame Frame1{this, "Frame1"};
  ui::Frame Frame2{this, "Frame2"};
  ui::Frame Frame3{this, "Frame3"};
  ui::Frame Frame4{this, "Frame4"};

  // Font.
  ui::ComboBox cboFontName{&Frame1, "cboFontName"};
  ui::ComboBox cboFontSize{&Frame1, "cboFontSize"};
  ui::CheckBox chkFontBold{&Frame1, "chkFontBold"};
  ui::CheckBox chkFontItil{&Frame1, "chkFontItil"};
  ui::Label lblFontColor{&Frame1, "lblFontColor"};

  // Background.
  ui::CheckBox chkUsePhoto{&Frame2, "chkUsePhoto"};
  ui::ComboBox cboBackPhoto{&Frame2, "cboBackPhoto"};
  ui::Label lblBackColor{&Frame2, "lblBackColor"};

  // Captions, and the colour rows: element 0 is the font colour, element 1 the background.
  ui::ControlArray<ui::Label> lblItme{*this, "lblItme"};
  ui::ControlArray<ui::Label> Label1{*this, "Label1"};
  ui::ControlArray<ui::HScrollBar> HScrollR{*this, "HScrollR"};
  ui::ControlArray<ui::HScrollBar> HScrollG{*this, "HScrollG"};
  ui::ControlArray<ui::HScrollBar> HScroll1{*this, "HScroll1"};

  // Behaviour.
  ui::CheckBox chkPageActive{&Frame3, "chkPageActive"};
  ui::CheckBox chkNotFlash{&Frame3, "chkNotFlash"};
  ui::CheckBox chkAutoScroll{&Frame3, "chkAutoScroll"};

  // Themes.
  ui::PictureBox Picture1{&Frame4, "Picture1"};
  ui::ControlArray<ui::OptionButton> optReadMode{Picture1, "optReadMode"};

  ui::CommandButton cmdOK{this, "cmdOK"};
  ui::CommandButton cmdCancel{this, "cmdCancel"};

  // Made with the dialog, so every opening starts from black.
  ui::CommonDialog clgColor;

  static std::u16string FontSize2Str(const float& size) { return quillon::FontSize2Str(size); }
  static float Str2FontSize(const std::u16string& name) { return quillon::Str2FontSize(name); }

  void Form_Load();
  void cboFontName_Click();
  void cboFontSize_Click();
  void cboBackPhoto_Click();
  void chkFontBold_Click();
  void chkFontItil_Click();
  void chkUsePhoto_Click();
  void chkPageActive_Click();
  void chkNotFlash_Click();
  void chkAutoScroll_Click();
  void HScrollR_Change(int index);
  void HScrollG_Change(int index);
  void HScroll1_Change(int index);
  void lblFontColor_Click();
  void lblBackColor_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  // A swatch's click: the colour dialog's answer goes to the swatch, its field and the scroll
  // bars of its slot (0 the font colour, 1 the background); a cancelled dialog changes nothing.
  void PickColor(int slot, ui::Label& swatch, std::int32_t& field);
  void DesignFontFrame();
  void DesignBackgroundFrame();
  void DesignBehaviourFrame();
  void DesignThemeFrame();
  // The red, green and blue rows of one colour: three captions of Label1 from index 3 * slot, and
  // element `slot` of each scroll-bar array.
  void DesignColorRows(ui::Frame& frame, int slot, int firstTop);
  void WireEvents();

  void InitSettingControls();
  void ApplyToReader();

  void optReadMode_Click(int index);
  void ApplyTheme(int index);
  void EnableColorControls(bool enabled);

  static int CheckValue(bool on);

  // Splits both colours into the component arrays and sets the swatches and scroll bars from them.
  void ShowColors();
  // The list's text shows the entry of BackPhoto, or nothing for a number no entry has.
  void ShowBackPhotoEntry();
  // The first picture entry (1 and up) whose text is `text`; 0 when none is.
  int PictureEntryOf(const std::u16string& text) const;
  // Stores a bar's position in its slot and packs both colours from the arrays again.
  void ScrollBarChanged(std::array<std::int16_t, 2>& component, int index, int position);

  Platform& platform_;
  mPubVariable& pub_;
  frmMain& reader_;

  // Slot 0: the font colour's red, green and blue; slot 1: the background's.
  std::array<std::int16_t, 2> RedValue{};
  std::array<std::int16_t, 2> GreenValue{};
  std::array<std::int16_t, 2> BlueValue{};
  // Set while the dialog moves its own scroll bars; their changes then leave the colours alone.
  bool fillingColors_ = false;
  // What the dialog found, put back when it is cancelled: every change goes straight into the
  // record, and a cancelled dialog must leave the reader as its settings file says.
  SettingsRecord savedSettings_;
  std::int16_t savedIndentWidth_ = 4;
  void RestoreSettings();
};

}  // namespace quillon
