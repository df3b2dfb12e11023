#pragma once
// The screen resolutions the reader is laid out for, and the test that refuses every other one.

#include <string>

namespace quillon {

// "1024*768": width first, in plain decimal.
std::u16string ScreenModeOf(int widthPx, int heightPx);
// Exactly "1024*768", "1280*1024", "1366*768" or "1440*900".
bool IsSupportedScreenMode(const std::u16string& mode);

// The refusal shown on any other screen, before the program ends.
extern const char16_t kScreenModeRefusal[];

}  // namespace quillon
