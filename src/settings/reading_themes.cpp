#include "settings/reading_themes.h"

#include "platform/ui/types.h"

namespace quillon {

namespace {

const char16_t* const kCaptions[kThemeCount] = {u"自定义主题",  u"标准主题",   u"大字体主题",
                                                u"Quillon主题", u"豆沙绿主题", u"深邃蓝主题"};

struct Preset {
  const char16_t* FontName;
  float FontSize;
  std::int32_t FontColor;
  std::int32_t BackColor;
  bool FontBold;
};

// Themes 1 to 5; theme 0 has no preset.
const Preset kPresets[kThemeCount - 1] = {
    {u"宋体", 10.5f, ui::RGB(225, 225, 225), ui::RGB(69, 124, 119), false},
    {u"仿宋_GB2312", 14.0f, ui::RGB(80, 80, 80), ui::RGB(200, 255, 255), true},
    {u"宋体", 10.5f, ui::RGB(83, 83, 83), ui::RGB(255, 239, 178), false},
    {u"宋体", 10.5f, ui::RGB(82, 58, 0), ui::RGB(0, 184, 112), false},
    {u"宋体", 10.5f, ui::RGB(185, 195, 185), ui::RGB(0, 32, 55), false},
};

}  // namespace

std::u16string ThemeCaption(int index) {
  if (index < 0 || index >= kThemeCount) return std::u16string();
  return kCaptions[index];
}

bool WriteThemePreset(int index, SettingsRecord& record, std::int16_t& indentWidth) {
  if (index < 0 || index >= kThemeCount) return false;
  record.ReadMode = static_cast<std::int16_t>(index);
  if (index == 0) return true;
  const Preset& preset = kPresets[index - 1];
  record.FontName = preset.FontName;
  record.FontSize = preset.FontSize;
  record.FontColor = preset.FontColor;
  record.BackColor = preset.BackColor;
  record.FontBold = preset.FontBold;
  record.FontItalic = false;
  record.UsePhoto = false;
  // Every preset face is a Chinese one.
  indentWidth = 4;
  return true;
}

}  // namespace quillon
