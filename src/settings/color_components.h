#pragma once
// A packed colour (red + 256 * green + 65536 * blue) taken apart for the dialog's scroll bars.

#include <cstdint>

namespace quillon {

struct ColorComponents {
  std::int16_t Red = 0;
  std::int16_t Green = 0;
  std::int16_t Blue = 0;
};

// Truncating division, the remainder with the sign of the colour: for 0 to 16777215 the three
// bytes, red the lowest; other values give components outside 0 to 255.
ColorComponents SplitColor(std::int32_t color);

}  // namespace quillon
