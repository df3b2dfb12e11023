#pragma once
// The program-wide state shared by all windows; one instance lives from start to exit.

#include <array>
#include <cstdint>
#include <string>

#include "platform/datetime.h"
#include "settings/reader_settings.h"

namespace quillon {

// The reading history keeps the last 20 books left.
constexpr int kHistorySize = 20;

struct mPubVariable {
  SettingsRecord ReaderSettings;
  // Derived from the face name, never stored.
  std::int16_t IndentWidth = 4;
  // Not stored either: every start is in the normal layout.
  bool FullScreenMode = false;

  // The reading history, most recent first; an empty path marks an empty entry.
  std::array<DateTime, kHistorySize> ReadRecordDate{};
  std::array<std::u16string, kHistorySize> ReadRecordPath{};
  std::array<float, kHistorySize> ReadRecordPercent{};
};

}  // namespace quillon
