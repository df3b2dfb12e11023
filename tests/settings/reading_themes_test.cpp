// The theme presets and SplitColor without the dialog: what a theme may and may not write, and
// colours taken apart the way the scroll bars need them, damaged ones included.

#include "settings/reading_themes.h"

#include <gtest/gtest.h>

#include <limits>

#include "settings/color_components.h"

namespace quillon {
namespace {

SettingsRecord UserRecord() {
  SettingsRecord record;
  record.FontName = u"Arial";
  record.FontSize = 18.0f;
  record.FontColor = 255;
  record.FontBold = true;
  record.FontItalic = true;
  record.BackColor = 65280;
  record.UsePhoto = true;
  record.BackPhoto = 5;
  record.PageActive = false;
  record.NotFlash = false;
  record.AutoScroll = false;
  record.ReadMode = 3;
  return record;
}

TEST(ReadingThemes, TheCustomThemeOnlyRecordsItsNumber) {
  SettingsRecord record = UserRecord();
  std::int16_t indent = 8;
  EXPECT_TRUE(WriteThemePreset(0, record, indent));
  SettingsRecord expected = UserRecord();
  expected.ReadMode = 0;
  EXPECT_EQ(record, expected);
  EXPECT_EQ(indent, 8);
}

TEST(ReadingThemes, ANumberWithoutAThemeWritesNothing) {
  for (int index : {-1, 6, 32767}) {
    SCOPED_TRACE(index);
    SettingsRecord record = UserRecord();
    std::int16_t indent = 8;
    EXPECT_FALSE(WriteThemePreset(index, record, indent));
    EXPECT_EQ(record, UserRecord());
    EXPECT_EQ(indent, 8);
    EXPECT_EQ(ThemeCaption(index), u"");
  }
}

TEST(SplitColor, TakesColoursApartWithTruncatingDivision) {
  struct Case {
    const char* what;
    std::int32_t color;
    int red, green, blue;
  };
  const Case cases[] = {
      {"black", 0, 0, 0, 0},
      {"white", 16777215, 255, 255, 255},
      {"red is the lowest byte", 1 + 256 * 2 + 65536 * 3, 1, 2, 3},
      {"a theme colour", 14930, 82, 58, 0},
      {"above the RGB range", 16777216 + 5, 5, 0, 256},
      {"negative: remainders keep the sign", -1, -1, 0, 0},
      {"negative with blue", -65536 - 300, -44, -1, -1},
      {"the smallest value still fits 16 bits", std::numeric_limits<std::int32_t>::min(), 0, 0,
       -32768},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ColorComponents parts = SplitColor(c.color);
    EXPECT_EQ(parts.Red, c.red);
    EXPECT_EQ(parts.Green, c.green);
    EXPECT_EQ(parts.Blue, c.blue);
  }
}

}  // namespace
}  // namespace quillon
