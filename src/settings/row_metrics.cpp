#include "settings/row_metrics.h"

namespace quillon {

namespace {

constexpr float kSizes[] = {18.0f, 16.0f, 14.0f, 12.0f, 10.5f, 9.0f};
const char16_t* const kModes[] = {u"1440*900", u"1366*768", u"1280*1024", u"1024*768"};

struct Pair {
  std::int16_t regular;
  std::int16_t bold;
};

// Rows per page by size and mode; 16 points has one more row in full screen on the 768-high
// screens. Columns follow kModes.
constexpr std::int16_t kPageRows[6][4] = {
    {29, 24, 34, 24},  // 18
    {29, 24, 34, 24},  // 16, normal layout
    {30, 25, 35, 25},  // 14
    {30, 25, 35, 25},  // 12
    {30, 25, 35, 25},  // 10.5
    {30, 25, 35, 25},  // 9
};
constexpr std::int16_t kPageRows16FullScreen[4] = {29, 25, 34, 25};

// The normal window is 8820 twips wide on every screen, so its rows do not depend on the mode,
// except 14 points bold on the smallest screen.
constexpr Pair kNormalRowChars[6] = {{24, 23}, {27, 26}, {29, 27}, {36, 34}, {41, 38}, {48, 44}};
constexpr Pair kNormal14BoldAt1024 = {29, 28};

constexpr Pair kFullScreenRowChars[6][4] = {
    {{58, 55}, {56, 53}, {53, 50}, {42, 40}},       // 18
    {{60, 58}, {58, 54}, {60, 57}, {48, 46}},       // 16
    {{70, 67}, {68, 64}, {66, 63}, {53, 50}},       // 14
    {{90, 85}, {85, 80}, {79, 74}, {63, 59}},       // 12
    {{103, 97}, {97, 90}, {90, 84}, {72, 67}},      // 10.5
    {{121, 112}, {114, 105}, {106, 97}, {84, 78}},  // 9
};

}  // namespace

std::optional<RowMetrics> LookupRowMetrics(bool fullScreen, float fontSize,
                                           const std::u16string& screenMode, bool bold) {
  int size = -1;
  for (int i = 0; i < 6; ++i) {
    if (fontSize == kSizes[i]) {
      size = i;
      break;
    }
  }
  int mode = -1;
  for (int i = 0; i < 4; ++i) {
    if (screenMode == kModes[i]) {
      mode = i;
      break;
    }
  }
  if (size < 0 || mode < 0) return std::nullopt;

  RowMetrics metrics;
  metrics.PageRows =
      (size == 1 && fullScreen) ? kPageRows16FullScreen[mode] : kPageRows[size][mode];
  Pair chars;
  if (fullScreen) {
    chars = kFullScreenRowChars[size][mode];
  } else if (size == 2 && mode == 3) {
    chars = kNormal14BoldAt1024;
  } else {
    chars = kNormalRowChars[size];
  }
  metrics.RowChars = bold ? chars.bold : chars.regular;
  return metrics;
}

}  // namespace quillon
