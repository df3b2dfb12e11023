#include "settings/font_size_names.h"

namespace quillon {

const std::array<FontSizeName, 6>& FontSizeNames() {
  static const std::array<FontSizeName, 6> kNames = {{
      {u"小二(18磅)", 18.0f},
      {u"三号(16磅)", 16.0f},
      {u"四号(14磅)", 14.0f},
      {u"小四(12磅)", 12.0f},
      {u"五号(10.5磅)", 10.5f},
      {u"小五(9磅)", 9.0f},
  }};
  return kNames;
}

std::u16string FontSize2Str(const float& size) {
  for (const FontSizeName& entry : FontSizeNames()) {
    if (size == entry.Size) return entry.Name;
  }
  return std::u16string();
}

float Str2FontSize(const std::u16string& name) {
  for (const FontSizeName& entry : FontSizeNames()) {
    if (name == entry.Name) return entry.Size;
  }
  return 0.0f;
}

}  // namespace quillon
