#include "speech/speech_settings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/itemfile.h"
#include "settings/reader_settings.h"

namespace quillon {

std::u16string SpeechSettingsFilePath(const std::u16string& programDirectory) {
  return files::JoinPath(SettingsDirectory(programDirectory), u"Speech.dat");
}

SpeechChoices ParseSpeechSettings(std::string_view bytes) {
  const std::u16string text = codepage::DecodeGb18030(bytes);
  itemfile::ItemReader reader(text);
  std::vector<itemfile::Item> items;
  while (!reader.AtEnd() && items.size() <= 5) items.push_back(reader.Next());
  const SpeechChoices defaults;
  if (items.size() != 5 || !items[0].Quoted) return defaults;
  const std::optional<float> rate = itemfile::ToSingle(items[1]);
  const std::optional<float> pitch = itemfile::ToSingle(items[2]);
  const std::optional<float> volume = itemfile::ToSingle(items[3]);
  const std::optional<std::int32_t> sleep = itemfile::ToInt32(items[4]);
  const auto within = [](const std::optional<float>& value, double low, double high) {
    return value && std::isfinite(*value) && *value >= low && *value <= high;
  };
  if (!within(rate, -1, 1) || !within(pitch, -1, 1) || !within(volume, 0, 1) || !sleep ||
      std::find(std::begin(kSleepChoices), std::end(kSleepChoices), *sleep) ==
          std::end(kSleepChoices)) {
    return defaults;
  }
  return {{items[0].Text, *rate, *pitch, *volume}, *sleep};
}

std::string SpeechSettingsBytes(const SpeechChoices& choices) {
  itemfile::ItemWriter writer;
  writer.WriteString(choices.Speech.Voice);
  writer.WriteSingle(static_cast<float>(choices.Speech.Rate));
  writer.WriteSingle(static_cast<float>(choices.Speech.Pitch));
  writer.WriteSingle(static_cast<float>(choices.Speech.Volume));
  writer.WriteInt(choices.SleepMinutes);
  writer.EndLine();
  return codepage::EncodeGb18030(writer.Text());
}

}  // namespace quillon
