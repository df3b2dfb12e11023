#pragma once
// Local date-times as the data files store them, to the second.

#include <cstdint>
#include <string>

namespace quillon {

struct DateTime {
  // The zero date-time of the classic forms runtime: an entry that was cleared holds it.
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;

  bool operator==(const DateTime& other) const;
  bool operator!=(const DateTime& other) const { return !(*this == other); }

  // Seconds since 1970-01-01 00:00:00 of the same (local, zone-less) calendar.
  std::int64_t ToSeconds() const;
  static DateTime FromSeconds(std::int64_t seconds);
  // False for a month 13, a 30 February, an hour 24 and the like.
  bool IsValid() const;
};

// "yyyy-mm-dd hh:mm:ss", the one layout the reader shows and stores.
std::u16string FormatDateTime(const DateTime& value);

}  // namespace quillon
