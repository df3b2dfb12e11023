#pragma once
// The six reading themes of the settings dialog: theme 0 is the user's own colours, themes 1 to 5
// are fixed presets of the record's appearance fields.

#include <cstdint>
#include <string>

#include "settings/reader_settings.h"

namespace quillon {

constexpr int kThemeCount = 6;

// The caption of the theme's option button; "" outside 0 to 5.
std::u16string ThemeCaption(int index);

// Writes the preset of theme `index` into the record and the derived indent. Theme 0 only records
// that it is selected; outside 0 to 5 nothing is written and the result is false.
bool WriteThemePreset(int index, SettingsRecord& record, std::int16_t& indentWidth);

}  // namespace quillon
