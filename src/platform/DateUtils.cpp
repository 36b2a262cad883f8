#include "platform/DateUtils.h"

#include <cmath>

namespace qbt {

namespace {

constexpr int64_t MSecsPerDay = 86400000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr int64_t EpochOffset = 693899;

// Days since 0000-03-01 of a Gregorian date.
int64_t DaysFromCivil(int64_t Y, int64_t M, int64_t D) {
  Y -= M <= 2;
  const int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
  const int64_t YearOfEra = Y - Era * 400;
  const int64_t DayOfYear = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const int64_t DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  return Era * 146097 + DayOfEra;
}

void CivilFromDays(int64_t Z, TDateTimeRec& P) {
  const int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const int64_t DayOfEra = Z - Era * 146097;
  const int64_t YearOfEra =
      (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const int64_t DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const int64_t MP = (5 * DayOfYear + 2) / 153;
  P.Day = static_cast<int32_t>(DayOfYear - (153 * MP + 2) / 5 + 1);
  P.Month = static_cast<int32_t>(MP < 10 ? MP + 3 : MP - 9);
  P.Year = static_cast<int32_t>(YearOfEra + Era * 400 + (P.Month <= 2));
}

bool IsLeapYear(int32_t Y) {
  return (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0;
}

int32_t DaysInMonth(int32_t Y, int32_t M) {
  static constexpr int32_t Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return M == 2 && IsLeapYear(Y) ? 29 : Days[M - 1];
}

} // namespace

TDateTime CurrentDateTime() {
  TDateTime Result = 0;
  TryEncodeDateTime(Now(), Result);
  return Result;
}

bool TryEncodeDateTime(const TDateTimeRec& P, TDateTime& Result) {
  if (P.Year < 1 || P.Year > 9999 || P.Month < 1 || P.Month > 12 || P.Day < 1 ||
      P.Day > DaysInMonth(P.Year, P.Month) || P.Hour < 0 || P.Hour > 23 || P.Minute < 0 ||
      P.Minute > 59 || P.Second < 0 || P.Second > 59 || P.MilliSecond < 0 || P.MilliSecond > 999) {
    return false;
  }
  const int64_t Days = DaysFromCivil(P.Year, P.Month, P.Day) - EpochOffset;
  const double Time =
      static_cast<double>(((P.Hour * 60 + P.Minute) * 60 + P.Second) * 1000 + P.MilliSecond) /
      MSecsPerDay;
  // Before the epoch the fraction still counts forward from midnight, as the runtime keeps it.
  Result = Days >= 0 ? static_cast<double>(Days) + Time : static_cast<double>(Days) - Time;
  return true;
}

TDateTimeRec DecodeDateTime(TDateTime Value) {
  TDateTimeRec P;
  // Outside the years 1 to 9999 a value is no date: it decodes as the epoch.
  if (!std::isfinite(Value) || Value <= -693594 || Value >= 2958466) {
    return P;
  }
  double Whole = std::trunc(Value);
  int64_t MSecs = std::llround(std::fabs(Value - Whole) * MSecsPerDay);
  if (MSecs >= MSecsPerDay) { // rounding reached midnight: the next day
    MSecs -= MSecsPerDay;
    Whole += Value < 0 ? -1 : 1;
  }
  CivilFromDays(static_cast<int64_t>(Whole) + EpochOffset, P);
  P.Hour = static_cast<int32_t>(MSecs / 3600000);
  P.Minute = static_cast<int32_t>(MSecs / 60000 % 60);
  P.Second = static_cast<int32_t>(MSecs / 1000 % 60);
  P.MilliSecond = static_cast<int32_t>(MSecs % 1000);
  return P;
}

} // namespace qbt
