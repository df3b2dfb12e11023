// How the reader reads aloud, in its own file: what is written reads back, and a file damaged in
// any way gives the defaults rather than half of them.

#include "speech/speech_settings.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(SpeechSettingsFile, RoundTripsAndDamageGivesTheDefaults) {
  const SpeechChoices chosen{{u"Chinese (Mandarin, latin as English)+Annie", -0.3, 0.5, 0.8}, 30};
  const std::string bytes = SpeechSettingsBytes(chosen);
  EXPECT_EQ(bytes, "\"Chinese (Mandarin, latin as English)+Annie\",-.3,.5,.8,30\r\n");
  const SpeechChoices read = ParseSpeechSettings(bytes);
  EXPECT_EQ(read.Speech.Voice, chosen.Speech.Voice);
  EXPECT_FLOAT_EQ(static_cast<float>(read.Speech.Rate), -0.3f);
  EXPECT_FLOAT_EQ(static_cast<float>(read.Speech.Pitch), 0.5f);
  EXPECT_FLOAT_EQ(static_cast<float>(read.Speech.Volume), 0.8f);
  EXPECT_EQ(read.SleepMinutes, 30);

  for (const char* damaged :
       {"", "\"v\",0,0,1\r\n", "v,0,0,1,0\r\n", "\"v\",2,0,1,0\r\n", "\"v\",0,-1.5,1,0\r\n",
        "\"v\",0,0,1.2,0\r\n", "\"v\",0,0,1,45\r\n", "\"v\",x,0,1,0\r\n", "\"v\",0,0,1,0,7\r\n"}) {
    SCOPED_TRACE(damaged);
    const SpeechChoices defaults = ParseSpeechSettings(damaged);
    EXPECT_TRUE(defaults.Speech.Voice.empty());
    EXPECT_EQ(defaults.Speech.Rate, 0);
    EXPECT_EQ(defaults.Speech.Volume, 1);
    EXPECT_EQ(defaults.SleepMinutes, 0);
  }
}

}  // namespace
}  // namespace quillon
