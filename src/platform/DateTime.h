// Calendar date and time of the local clock, and their text in the process-wide format settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qbt {

struct TDateTimeRec {
  int32_t Year = 1899;
  int32_t Month = 12; // 1 to 12
  int32_t Day = 30;   // 1 to 31
  int32_t Hour = 0;
  int32_t Minute = 0;
  int32_t Second = 0;
  int32_t MilliSecond = 0;
};

// The local date and time now.
TDateTimeRec Now();

// Formats Value by Pattern with these pattern letters (case ignored): d dd ddd dddd, m mm mmm mmmm
// (minutes right after an hour), yy yyyy, h hh, n nn, s ss, z zzz, ampm, am/pm, a/p (12-hour
// clock); "/" and ":" stand for the date and time separators of the settings; text in double or
// single quotes is copied as it stands, as is every other character.
std::string FormatDateTime(std::string_view Pattern, const TDateTimeRec& Value);

// The date in the short date format, the time in the long time format of FormatSettings().
std::string DateToStr(const TDateTimeRec& Value);
std::string TimeToStr(const TDateTimeRec& Value);

} // namespace qbt
