#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quillon {
namespace {

TEST(DateTimeTest, SecondsRoundTripAcrossTheRange) {
  struct Row {
    const char* catches;
    DateTime value;
    std::int64_t seconds;
  };
  const Row rows[] = {
      {"the epoch", DateTime{1970, 1, 1, 0, 0, 0}, 0},
      {"one second before the epoch keeps a positive time of day",
       DateTime{1969, 12, 31, 23, 59, 59}, -1},
      {"the zero date lies before the epoch", DateTime{}, -2209161600},
      {"1900 is no leap year", DateTime{1900, 3, 1, 0, 0, 0}, -2203891200},
      {"2000 is a leap year", DateTime{2000, 3, 1, 12, 0, 0}, 951912000},
      {"the last second of the range", DateTime{9999, 12, 31, 23, 59, 59}, 253402300799},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(row.value.ToSeconds(), row.seconds);
    EXPECT_EQ(DateTime::FromSeconds(row.seconds), row.value);
  }
}

TEST(DateTimeTest, IsValidKnowsTheCalendar) {
  struct Row {
    const char* catches;
    DateTime value;
    bool valid;
  };
  const Row rows[] = {
      {"29 February of a leap year", DateTime{2024, 2, 29, 0, 0, 0}, true},
      {"29 February of a common year", DateTime{2023, 2, 29, 0, 0, 0}, false},
      {"century years are common", DateTime{1900, 2, 29, 0, 0, 0}, false},
      {"every 400th year is leap", DateTime{2000, 2, 29, 0, 0, 0}, true},
      {"31 April", DateTime{2024, 4, 31, 0, 0, 0}, false},
      {"day 0", DateTime{2024, 1, 0, 0, 0, 0}, false},
      {"month 13", DateTime{2024, 13, 1, 0, 0, 0}, false},
      {"hour 24", DateTime{2024, 1, 1, 24, 0, 0}, false},
      {"minute 60", DateTime{2024, 1, 1, 0, 60, 0}, false},
      {"second 60", DateTime{2024, 1, 1, 0, 0, 60}, false},
      {"a five-digit year", DateTime{10000, 1, 1, 0, 0, 0}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.catches);
    EXPECT_EQ(row.value.IsValid(), row.valid);
  }
}

TEST(DateTimeTest, FormatPadsEveryField) {
  EXPECT_EQ(FormatDateTime(DateTime{}), u"1899-12-30 00:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{987, 1, 2, 3, 4, 5}), u"0987-01-02 03:04:05");
}

}  // namespace
}  // namespace quillon
