#include "speech/frmSpeech.h"

#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "platform/text.h"
#include "settings/reader_settings.h"

namespace quillon {

namespace {

const char16_t kDefaultVoice[] = u"（朗读服务默认的中文声音）";
// The bars count tenths: -10 to 10 for the rate and the pitch, 0 to 10 for the volume.
constexpr int kSteps = 10;

int Steps(double value) {
  return static_cast<int>(std::lround(value * kSteps));
}

}  // namespace

frmSpeech::frmSpeech(Platform& platform, SpeechChoices& choices, ui::PicturePtr icon)
    : ui::Form(platform, "frmSpeech"), choices_(choices) {
  Caption = u"朗读设置";
  SetClientSize(5400, 3300);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = std::move(icon);

  const char16_t* const captions[] = {u"声音：", u"语速：", u"音调：", u"音量：", u"定时停止："};
  for (int i = 0; i < 5; ++i) {
    ui::Label& label = lblItem.Add(i);
    label.Move(240, 300 + i * 480, 1200, 300);
    label.Caption = captions[i];
    label.BackStyle = ui::BackStyle::Transparent;
    label.WordWrap = false;
  }

  cboVoice.Move(1440, 270, 3720, 315);
  cboVoice.AddItem(kDefaultVoice);
  int chosen = 0;
  if (platform.speech != nullptr) {
    for (const std::u16string& voice : platform.speech->Voices()) {
      cboVoice.AddItem(voice);
      if (voice == choices.Speech.Voice) chosen = cboVoice.ListCount() - 1;
    }
  }
  cboVoice.ListIndex = chosen;

  const struct {
    ui::HScrollBar& bar;
    int low, value;
  } bars[] = {{hsbRate, -kSteps, Steps(choices.Speech.Rate)},
              {hsbPitch, -kSteps, Steps(choices.Speech.Pitch)},
              {hsbVolume, 0, Steps(choices.Speech.Volume)}};
  for (int i = 0; i < 3; ++i) {
    bars[i].bar.Move(1440, 780 + i * 480, 3720, 255);
    bars[i].bar.Min = bars[i].low;
    bars[i].bar.Max = kSteps;
    bars[i].bar.LargeChange = 2;
    bars[i].bar.Value = std::clamp(bars[i].value, bars[i].low, kSteps);
  }

  cboSleep.Move(1440, 2190, 1800, 315);
  for (const int minutes : kSleepChoices) {
    cboSleep.AddItem(minutes == 0 ? std::u16string(u"不定时") : DecimalText(minutes) + u" 分钟");
    if (minutes == choices.SleepMinutes) cboSleep.ListIndex = cboSleep.ListCount() - 1;
  }
  if (cboSleep.ListIndex < 0) cboSleep.ListIndex = 0;

  cmdOK.Move(2280, 2760, 1275, 405);
  cmdOK.Caption = u"确定(&O)";
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.Move(3840, 2760, 1275, 405);
  cmdCancel.Caption = u"取消(&C)";
  cmdCancel.onClick = [this] { Unload(); };
}

void frmSpeech::cmdOK_Click() {
  SpeechChoices chosen;
  chosen.Speech.Voice = cboVoice.ListIndex > 0 ? cboVoice.List(cboVoice.ListIndex) : u"";
  chosen.Speech.Rate = static_cast<double>(hsbRate.Value) / kSteps;
  chosen.Speech.Pitch = static_cast<double>(hsbPitch.Value) / kSteps;
  chosen.Speech.Volume = static_cast<double>(hsbVolume.Value) / kSteps;
  const int sleep = cboSleep.ListIndex;
  chosen.SleepMinutes =
      sleep >= 0 && sleep < static_cast<int>(std::size(kSleepChoices)) ? kSleepChoices[sleep] : 0;
  // Used from the next sentence on, whether or not the file can keep them.
  choices_ = chosen;
  const std::u16string directory = platform().program.Directory();
  if (!files::DirectoryExists(SettingsDirectory(directory))) {
    files::MakeDirectory(SettingsDirectory(directory));
  }
  if (!files::ReplaceFile(SpeechSettingsFilePath(directory), SpeechSettingsBytes(chosen))) {
    platform().dialogs.MessageBox(
        u"Quillon 无法保存朗读设置（Configure/Speech.dat），这些设置只在这次使用。", u"提示",
        MessageIcon::Information);
  }
  Unload();
}

}  // namespace quillon
