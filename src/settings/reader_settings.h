#pragma once
// The reader's settings record and its file "Configure/Readerset.dat": one line of twelve items.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

struct SettingsRecord {
  std::u16string FontName = u"宋体";
  float FontSize = 10.5f;
  std::int32_t FontColor = 0;
  bool FontBold = false;
  bool FontItalic = false;
  std::int32_t BackColor = 16777215;
  bool UsePhoto = false;
  std::int16_t BackPhoto = 0;
  bool PageActive = true;
  bool NotFlash = true;
  bool AutoScroll = true;
  std::int16_t ReadMode = 0;

  bool operator==(const SettingsRecord& other) const;
};

// Spaces in front of a paragraph's first row: Latin faces have narrow spaces and need eight.
std::int16_t IndentWidthFor(const std::u16string& fontName);

// The file's bytes for a record: the one line, CR LF, in GB18030.
std::string SettingsFileBytes(const SettingsRecord& record);

// Reads the twelve items over the defaults. An item that is missing or does not convert (a
// damaged or foreign file) leaves that field at its default, so a bad file never stops the reader.
SettingsRecord ParseSettingsFile(std::string_view bytes);

enum class SettingsSource { ReadFromFile, CreatedWithDefaults, DefaultsNotSaved, Unreadable };

struct LoadedSettings {
  SettingsRecord Record;
  SettingsSource Source = SettingsSource::ReadFromFile;
};

// Reads the settings file below the program's folder, creating the "Configure" folder and a file
// with the defaults when they are missing. When they cannot be created the defaults are used in
// memory and the source says so.
LoadedSettings LoadOrCreateSettings(const std::u16string& programDirectory);

// Replaces the settings file whole; the old file stays intact when writing fails.
bool SaveSettings(const std::u16string& programDirectory, const SettingsRecord& record,
                  std::string* error = nullptr);

std::u16string SettingsDirectory(const std::u16string& programDirectory);
std::u16string SettingsFilePath(const std::u16string& programDirectory);

}  // namespace quillon
