// Date-time values as the runtime library keeps them: days since 1899-12-30, the fraction being
// the time of day.
#pragma once

#include <cstdint>

namespace qbt {

using TDateTime = double;

struct TDateTimeParts {
  int32_t Year = 1899;
  int32_t Month = 12;
  int32_t Day = 30;
  int32_t Hour = 0;
  int32_t Minute = 0;
  int32_t Second = 0;
  int32_t MilliSecond = 0;
};

// The current local date and time.
TDateTime Now();
// False, leaving Result alone, when a part is out of its range.
bool TryEncodeDateTime(const TDateTimeParts& Parts, TDateTime& Result);
// The parts of Value, the time rounded to the millisecond.
TDateTimeParts DecodeDateTime(TDateTime Value);

} // namespace qbt
