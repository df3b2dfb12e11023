#pragma once
// The dialog shows font sizes under their Chinese type-size names, with the points in brackets;
// these are the six sizes the row-metrics table knows.

#include <array>
#include <string>

namespace quillon {

struct FontSizeName {
  const char16_t* Name;
  float Size;
};

// Largest first, the order of the size list and of every lookup.
const std::array<FontSizeName, 6>& FontSizeNames();

// The name of a size, or "" for a size without one: no tolerance, 10.4 is not 10.5.
std::u16string FontSize2Str(const float& size);
// The size of a name, or 0 unless the whole text is one of the six names exactly.
float Str2FontSize(const std::u16string& name);

}  // namespace quillon
