#include "settings/color_components.h"

namespace quillon {

ColorComponents SplitColor(std::int32_t color) {
  ColorComponents parts;
  parts.Red = static_cast<std::int16_t>(color % 256);
  parts.Green = static_cast<std::int16_t>((color / 256) % 256);
  parts.Blue = static_cast<std::int16_t>(color / 65536);
  return parts;
}

}  // namespace quillon
