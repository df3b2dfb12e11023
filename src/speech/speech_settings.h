#pragma once
// How the reader reads aloud, kept in "Configure/Speech.dat" beside the settings (which stay as
// they always were): one line, "voice",rate,pitch,volume,sleep (GB18030, CR LF). A file that is
// missing or does not read as such a line gives the defaults.

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillon {

struct SpeechChoices {
  SpeechSettings Speech;
  // Reading stops at the end of the sentence read when so many minutes have gone; 0: never.
  int SleepMinutes = 0;
};

// The sleep timer's choices, in minutes.
inline constexpr int kSleepChoices[] = {0, 15, 30, 60, 90};

std::u16string SpeechSettingsFilePath(const std::u16string& programDirectory);
SpeechChoices ParseSpeechSettings(std::string_view bytes);
std::string SpeechSettingsBytes(const SpeechChoices& choices);

}  // namespace quillon
