// The type-size names of the size list: the six sizes both ways, and everything else nameless.

#include "settings/font_size_names.h"

#include <gtest/gtest.h>

#include "settings/frmSet.h"

namespace quillon {
namespace {

TEST(FontSizeNames, TheSixSizesAndTheirNamesConvertBothWays) {
  struct Row {
    float size;
    const char16_t* name;
  };
  const Row rows[] = {{18.0f, u"小二(18磅)"}, {16.0f, u"三号(16磅)"},   {14.0f, u"四号(14磅)"},
                      {12.0f, u"小四(12磅)"}, {10.5f, u"五号(10.5磅)"}, {9.0f, u"小五(9磅)"}};
  ASSERT_EQ(FontSizeNames().size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.size);
    EXPECT_EQ(FontSizeNames()[i].Name, std::u16string(row.name)) << "the list's order";
    EXPECT_EQ(frmSet::FontSize2Str(row.size), row.name);
    EXPECT_EQ(frmSet::Str2FontSize(row.name), row.size);
    EXPECT_EQ(Str2FontSize(FontSize2Str(row.size)), row.size);
  }
}

TEST(FontSizeNames, OnlyExactSizesHaveANameAndOnlyWholeNamesASize) {
  for (float size : {10.0f, 11.0f, 10.4f, 10.500001f, 0.0f, -10.5f, 72.0f}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(FontSize2Str(size), u"");
  }
  // Numbers, the bare type-size word, a trailing blank, full-width brackets, nothing.
  for (const char16_t* name :
       {u"12", u"五号", u"五号(10.5磅) ", u" 五号(10.5磅)", u"五号（10.5磅）", u"小四(12磅", u""}) {
    SCOPED_TRACE(testing::Message() << std::u16string(name).size() << " code units");
    EXPECT_EQ(Str2FontSize(name), 0.0f);
  }
}

}  // namespace
}  // namespace quillon
