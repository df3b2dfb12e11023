#pragma once
// 朗读设置: the voice, its rate, pitch and volume, and a sleep timer; 确定 keeps them in
// Configure/Speech.dat, and the next sentence read uses them.

#include "platform/platform.h"
#include "platform/ui/kit.h"
#include "speech/speech_settings.h"

namespace quillon {

class frmSpeech : public ui::Form {
 public:
  // `choices` are those in use; 确定 changes them.
  frmSpeech(Platform& platform, SpeechChoices& choices, ui::PicturePtr icon);

  ui::ControlArray<ui::Label> lblItem{*this, "lblItem"};
  ui::ComboBox cboVoice{this, "cboVoice"};
  ui::HScrollBar hsbRate{this, "hsbRate"};
  ui::HScrollBar hsbPitch{this, "hsbPitch"};
  ui::HScrollBar hsbVolume{this, "hsbVolume"};
  ui::ComboBox cboSleep{this, "cboSleep"};
  ui::CommandButton cmdOK{this, "cmdOK"};
  ui::CommandButton cmdCancel{this, "cmdCancel"};

  void cmdOK_Click();

 private:
  SpeechChoices& choices_;
};

}  // namespace quillon
