// Every cell of the three metrics tables, written out as the reader's layout tables have them
// (screen modes as columns, regular / bold pairs), so a slipped column or row shows at once.

#include "settings/row_metrics.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

const char16_t* const kModes[] = {u"1024*768", u"1280*1024", u"1366*768", u"1440*900"};
const float kSizes[] = {18.0f, 16.0f, 14.0f, 12.0f, 10.5f, 9.0f};

// [size][mode]
const int kRowsNormal[6][4] = {{24, 34, 24, 29}, {24, 34, 24, 29}, {25, 35, 25, 30},
                               {25, 35, 25, 30}, {25, 35, 25, 30}, {25, 35, 25, 30}};
const int kRowsFull[6][4] = {{24, 34, 24, 29}, {25, 34, 25, 29}, {25, 35, 25, 30},
                             {25, 35, 25, 30}, {25, 35, 25, 30}, {25, 35, 25, 30}};
// [size][mode][regular, bold]
const int kCharsNormal[6][4][2] = {
    {{24, 23}, {24, 23}, {24, 23}, {24, 23}}, {{27, 26}, {27, 26}, {27, 26}, {27, 26}},
    {{29, 28}, {29, 27}, {29, 27}, {29, 27}}, {{36, 34}, {36, 34}, {36, 34}, {36, 34}},
    {{41, 38}, {41, 38}, {41, 38}, {41, 38}}, {{48, 44}, {48, 44}, {48, 44}, {48, 44}}};
const int kCharsFull[6][4][2] = {
    {{42, 40}, {53, 50}, {56, 53}, {58, 55}},  {{48, 46}, {60, 57}, {58, 54}, {60, 58}},
    {{53, 50}, {66, 63}, {68, 64}, {70, 67}},  {{63, 59}, {79, 74}, {85, 80}, {90, 85}},
    {{72, 67}, {90, 84}, {97, 90}, {103, 97}}, {{84, 78}, {106, 97}, {114, 105}, {121, 112}}};

TEST(RowMetrics, EveryCellOfTheTables) {
  for (int full = 0; full <= 1; ++full) {
    for (int size = 0; size < 6; ++size) {
      for (int mode = 0; mode < 4; ++mode) {
        for (int bold = 0; bold <= 1; ++bold) {
          SCOPED_TRACE(::testing::Message()
                       << (full ? "full screen" : "normal") << ", " << kSizes[size] << " pt, mode "
                       << mode << (bold ? ", bold" : ", regular"));
          const auto metrics = LookupRowMetrics(full == 1, kSizes[size], kModes[mode], bold == 1);
          ASSERT_TRUE(metrics.has_value());
          EXPECT_EQ(metrics->PageRows, full ? kRowsFull[size][mode] : kRowsNormal[size][mode]);
          EXPECT_EQ(metrics->RowChars,
                    full ? kCharsFull[size][mode][bold] : kCharsNormal[size][mode][bold]);
        }
      }
    }
  }
}

TEST(RowMetrics, UnknownSizesAndModesFindNothing) {
  EXPECT_FALSE(LookupRowMetrics(false, 11.0f, u"1024*768", false));
  EXPECT_FALSE(LookupRowMetrics(false, 10.4f, u"1024*768", false));
  EXPECT_FALSE(LookupRowMetrics(false, 10.5f, u"1600*900", false));
  EXPECT_FALSE(LookupRowMetrics(false, 10.5f, u"768*1024", false));
}

}  // namespace
}  // namespace quillon
