// Date-time values as the runtime library keeps them: days since 1899-12-30, the fraction being
// the time of day.
#pragma once

#include "platform/DateTime.h"

namespace qbt {

using TDateTime = double;
// The parts of a date-time value are those of the calendar record.
using TDateTimeParts = TDateTimeRec;

// The current local date and time.
TDateTime CurrentDateTime();
// False, leaving Result alone, when a part is out of its range.
bool TryEncodeDateTime(const TDateTimeRec& Parts, TDateTime& Result);
// The parts of Value, the time rounded to the millisecond.
TDateTimeRec DecodeDateTime(TDateTime Value);

} // namespace qbt
