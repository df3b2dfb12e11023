#include "platform/datetime.h"

namespace quillon {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date, counted in 400-year eras so that negative
// years and days before the epoch need no special case.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, DateTime& out) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  out.Day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  out.Month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  out.Year = static_cast<int>(yearOfEra + era * 400 + (out.Month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void AppendPadded(std::u16string& out, int value, int width) {
  // Unsigned so that the most negative int has a magnitude too.
  unsigned magnitude = static_cast<unsigned>(value);
  if (value < 0) {
    out.push_back(u'-');
    magnitude = 0u - magnitude;
  }
  char16_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  for (int i = count; i < width; ++i) out.push_back(u'0');
  while (count > 0) out.push_back(digits[--count]);
}

}  // namespace

bool DateTime::operator==(const DateTime& other) const {
  return Year == other.Year && Month == other.Month && Day == other.Day && Hour == other.Hour &&
         Minute == other.Minute && Second == other.Second;
}

std::int64_t DateTime::ToSeconds() const {
  return DaysFromCivil(Year, Month, Day) * kSecondsPerDay + std::int64_t{Hour} * 3600 +
         std::int64_t{Minute} * 60 + Second;
}

DateTime DateTime::FromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {  // division truncates toward zero; the time of day must not go negative
    rest += kSecondsPerDay;
    --days;
  }
  DateTime result;
  CivilFromDays(days, result);
  result.Hour = static_cast<int>(rest / 3600);
  result.Minute = static_cast<int>(rest / 60 % 60);
  result.Second = static_cast<int>(rest % 60);
  return result;
}

bool DateTime::IsValid() const {
  // Four-digit years only: the files write and read exactly four.
  if (Year < 1 || Year > 9999) return false;
  if (Month < 1 || Month > 12) return false;
  if (Day < 1 || Day > DaysInMonth(Year, Month)) return false;
  return Hour >= 0 && Hour < 24 && Minute >= 0 && Minute < 60 && Second >= 0 && Second < 60;
}

std::u16string FormatDateTime(const DateTime& value) {
  std::u16string out;
  out.reserve(19);
  AppendPadded(out, value.Year, 4);
  out.push_back(u'-');
  AppendPadded(out, value.Month, 2);
  out.push_back(u'-');
  AppendPadded(out, value.Day, 2);
  out.push_back(u' ');
  AppendPadded(out, value.Hour, 2);
  out.push_back(u':');
  AppendPadded(out, value.Minute, 2);
  out.push_back(u':');
  AppendPadded(out, value.Second, 2);
  return out;
}

}  // namespace quillon
