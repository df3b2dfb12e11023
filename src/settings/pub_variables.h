#pragma once
// The program-wide state shared by all windows; one instance lives from start to exit.

#include <cstdint>

#include "settings/reader_settings.h"

namespace quillon {

struct mPubVariable {
  SettingsRecord ReaderSettings;
  // Derived from the face name, never stored.
  std::int16_t IndentWidth = 4;
  // Not stored either: every start is in the normal layout.
  bool FullScreenMode = false;
};

}  // namespace quillon
