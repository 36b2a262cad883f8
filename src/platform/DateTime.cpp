#include "platform/DateTime.h"

#include "platform/SysUtils.h"

#include <array>
#include <cctype>
#include <chrono>
#include <ctime>

namespace qbt {

namespace {

constexpr std::array<const char*, 12> MonthShortNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> MonthLongNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> DayShortNames = {"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> DayLongNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};

void AppendPadded(std::string& Out, int32_t Value, int Width) {
  std::string Digits = std::to_string(Value < 0 ? -Value : Value);
  if (Value < 0) {
    Out += '-';
  }
  for (int I = static_cast<int>(Digits.size()); I < Width; ++I) {
    Out += '0';
  }
  Out += Digits;
}

// 0 for Sunday; the proleptic Gregorian calendar.
int DayOfWeek(int32_t Year, int32_t Month, int32_t Day) {
  static constexpr int Offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (Month < 1 || Month > 12) {
    return 0;
  }
  if (Month < 3) {
    --Year;
  }
  const int W = (Year + Year / 4 - Year / 100 + Year / 400 + Offsets[Month - 1] + Day) % 7;
  return W < 0 ? W + 7 : W;
}

const char* NameAt(const auto& Names, int32_t Index) {
  return Index >= 0 && Index < static_cast<int32_t>(Names.size()) ? Names[Index] : "";
}

size_t RunLength(std::string_view Pattern, size_t Pos) {
  const char C = static_cast<char>(std::tolower(static_cast<unsigned char>(Pattern[Pos])));
  size_t End = Pos;
  while (End < Pattern.size() &&
         std::tolower(static_cast<unsigned char>(Pattern[End])) == static_cast<unsigned char>(C)) {
    ++End;
  }
  return End - Pos;
}

bool StartsWithText(std::string_view Pattern, size_t Pos, std::string_view Word) {
  return Pattern.size() - Pos >= Word.size() && SameText(Pattern.substr(Pos, Word.size()), Word);
}

} // namespace

TDateTimeRec Now() {
  const auto Clock = std::chrono::system_clock::now();
  const std::time_t Seconds = std::chrono::system_clock::to_time_t(Clock);
  std::tm Local{};
  ::localtime_r(&Seconds, &Local);
  const auto Millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock.time_since_epoch()).count() %
      1000;
  TDateTimeRec R;
  R.Year = Local.tm_year + 1900;
  R.Month = Local.tm_mon + 1;
  R.Day = Local.tm_mday;
  R.Hour = Local.tm_hour;
  R.Minute = Local.tm_min;
  R.Second = Local.tm_sec;
  R.MilliSecond = static_cast<int32_t>(Millis < 0 ? Millis + 1000 : Millis);
  return R;
}

std::string FormatDateTime(std::string_view Pattern, const TDateTimeRec& Value) {
  const TFormatSettings& Settings = FormatSettings();
  // A 12-hour clock applies to the whole pattern when it holds any AM/PM marker.
  bool TwelveHour = false;
  for (size_t I = 0; I < Pattern.size(); ++I) {
    if (StartsWithText(Pattern, I, "ampm") || StartsWithText(Pattern, I, "am/pm") ||
        StartsWithText(Pattern, I, "a/p")) {
      TwelveHour = true;
    }
  }
  const bool Pm = Value.Hour >= 12;
  int32_t Hour = Value.Hour;
  if (TwelveHour) {
    Hour = Value.Hour % 12 == 0 ? 12 : Value.Hour % 12;
  }

  std::string Out;
  bool AfterHour = false;
  size_t I = 0;
  while (I < Pattern.size()) {
    const char C = Pattern[I];
    const char Lower = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    if (C == '"' || C == '\'') {
      const size_t Close = Pattern.find(C, I + 1);
      const size_t End = Close == std::string_view::npos ? Pattern.size() : Close;
      Out.append(Pattern.substr(I + 1, End - I - 1));
      I = End == Pattern.size() ? End : End + 1;
      continue;
    }
    if (StartsWithText(Pattern, I, "ampm")) {
      Out += Pm ? Settings.TimePMString : Settings.TimeAMString;
      I += 4;
      continue;
    }
    if (StartsWithText(Pattern, I, "am/pm")) {
      const bool Upper = C == 'A';
      Out += Pm ? (Upper ? "PM" : "pm") : (Upper ? "AM" : "am");
      I += 5;
      continue;
    }
    if (StartsWithText(Pattern, I, "a/p")) {
      const bool Upper = C == 'A';
      Out += Pm ? (Upper ? 'P' : 'p') : (Upper ? 'A' : 'a');
      I += 3;
      continue;
    }
    if (C == '/') {
      Out += Settings.DateSeparator;
      ++I;
      continue;
    }
    if (C == ':') {
      Out += Settings.TimeSeparator;
      ++I;
      continue;
    }
    if (std::string_view("dmyhnsz").find(Lower) == std::string_view::npos) {
      Out += C;
      ++I;
      continue;
    }
    const size_t Run = RunLength(Pattern, I);
    switch (Lower) {
    case 'd':
      if (Run >= 4) {
        Out += NameAt(DayLongNames, DayOfWeek(Value.Year, Value.Month, Value.Day));
      } else if (Run == 3) {
        Out += NameAt(DayShortNames, DayOfWeek(Value.Year, Value.Month, Value.Day));
      } else {
        AppendPadded(Out, Value.Day, static_cast<int>(Run));
      }
      break;
    case 'm':
      if (AfterHour && Run <= 2) {
        AppendPadded(Out, Value.Minute, static_cast<int>(Run));
      } else if (Run >= 4) {
        Out += NameAt(MonthLongNames, Value.Month - 1);
      } else if (Run == 3) {
        Out += NameAt(MonthShortNames, Value.Month - 1);
      } else {
        AppendPadded(Out, Value.Month, static_cast<int>(Run));
      }
      break;
    case 'y':
      if (Run <= 2) {
        AppendPadded(Out, Value.Year % 100, 2);
      } else {
        AppendPadded(Out, Value.Year, 4);
      }
      break;
    case 'h':
      AppendPadded(Out, Hour, Run >= 2 ? 2 : 1);
      break;
    case 'n':
      AppendPadded(Out, Value.Minute, Run >= 2 ? 2 : 1);
      break;
    case 's':
      AppendPadded(Out, Value.Second, Run >= 2 ? 2 : 1);
      break;
    case 'z':
      AppendPadded(Out, Value.MilliSecond, Run >= 3 ? 3 : 1);
      break;
    }
    AfterHour = Lower == 'h';
    I += Run;
  }
  return Out;
}

std::string DateToStr(const TDateTimeRec& Value) {
  return FormatDateTime(FormatSettings().ShortDateFormat, Value);
}

std::string TimeToStr(const TDateTimeRec& Value) {
  return FormatDateTime(FormatSettings().LongTimeFormat, Value);
}

} // namespace qbt
