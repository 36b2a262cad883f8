#include "idf/qbtIDFReader.h"
#include "platform/DateUtils.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <ctime>
#include <filesystem>

namespace qbt {

namespace {

const char* const SInvalidFloat = "'%s' is not a valid floating point value";
const char* const SInvalidInteger = "'%s' is not a valid integer value";
const char* const SInvalidDateTime = "'%s' is not a valid date and time";
const char* const STokenExpected = "Token %S were expected but %S found";
const char* const SLoadError = "File : %S\r\nLine : %S  Char : %S\r\n%S";

// An unterminated quote takes the rest of the file; a message shows only its beginning.
constexpr size_t MaxTokenShown = 80;

inline bool IsBreak(char C) {
  return C == '\r' || C == '\n';
}
inline bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}

void UpdateReadPosition(std::string_view Text, int32_t Pos) {
  const TQBTTextPosition Previous{ReadPosition.Pos, ReadPosition.Line, ReadPosition.Char};
  const TQBTTextPosition Next = AdvanceTextPosition(Previous, Text, Pos);
  ReadPosition.Pos = Next.Pos;
  ReadPosition.Line = Next.Line;
  ReadPosition.Char = Next.Char;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Tokens

bool TQBTIDFToken::Is(std::string_view Keyword) const {
  return !IsMarker() && SameText(Text, Keyword);
}

std::string TokenDisplayText(const TQBTIDFToken& Token) {
  if (Token.Kind == tkEndOfLine) {
    return "<end of line>";
  }
  if (Token.Kind == tkEndOfText) {
    return "<end of file>";
  }
  if (Token.Text.size() <= MaxTokenShown) {
    return std::string(Token.Text);
  }
  return std::string(Token.Text.substr(0, MaxTokenShown)) + "...";
}

void NextToken(std::string_view Text, int32_t& Pos, TQBTIDFToken& Token) {
  UpdateReadPosition(Text, Pos);
  LastTokenQuoted = false;
  const size_t N = Text.size();
  size_t I = Pos > 0 ? static_cast<size_t>(Pos - 1) : 0;
  while (I < N && Text[I] == ' ') {
    ++I;
  }
  // A comment starts in the first column only: "#" after blanks belongs to a token.
  if (I < N && Text[I] == '#' && (I == 0 || IsBreak(Text[I - 1]))) {
    while (I < N && !IsBreak(Text[I])) {
      ++I;
    }
  }
  if (I >= N) {
    Pos = static_cast<int32_t>(N + 1);
    Token = {tkEndOfText, {}};
    return;
  }
  if (IsBreak(Text[I])) {
    // Empty lines and the leading blanks of the next line go with this line end.
    while (I < N && (IsBreak(Text[I]) || Text[I] == ' ')) {
      ++I;
    }
    Pos = static_cast<int32_t>(I + 1);
    Token = {tkEndOfLine, {}};
    return;
  }
  if (Text[I] == '"') {
    const size_t Start = I + 1;
    const size_t Close = Text.find('"', Start);
    if (Close == std::string_view::npos) {
      Token = {tkQuoted, Text.substr(Start)};
      I = N;
    } else {
      Token = {tkQuoted, Text.substr(Start, Close - Start)};
      I = Close + 1;
    }
    while (I < N && Text[I] == ' ') {
      ++I;
    }
    Pos = static_cast<int32_t>(I + 1);
    LastTokenQuoted = true;
    return;
  }
  const size_t Start = I;
  while (I < N && Text[I] != ' ' && !IsBreak(Text[I])) {
    ++I;
  }
  Token = {tkPlain, Text.substr(Start, I - Start)};
  Pos = static_cast<int32_t>(I + 1);
}

void NextTokenSkipEOL(std::string_view Text, int32_t& Pos, TQBTIDFToken& Token) {
  do {
    NextToken(Text, Pos, Token);
  } while (Token.Kind == tkEndOfLine);
}

// ---------------------------------------------------------------------------------------------
// Numbers

bool TextToIDFFloat(std::string_view S, long double& Value) {
  const size_t N = S.size();
  size_t I = 0;
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) {
    Negative = S[I] == '-';
    ++I;
  }
  const size_t NumberStart = I;
  // Up to 19 significant digits fit a uint64; with a power of ten up to 10^27, which the
  // 64-bit mantissa holds exactly, one multiplication or division rounds correctly.
  uint64_t Mantissa = 0;
  int SignificantDigits = 0;
  int64_t Exponent10 = 0;
  bool Exact = true;
  size_t IntegerDigits = 0;
  for (; I < N && IsDigit(S[I]); ++I, ++IntegerDigits) {
    if (Mantissa == 0 && S[I] == '0') {
      continue;
    }
    if (SignificantDigits < 19) {
      Mantissa = Mantissa * 10 + static_cast<uint64_t>(S[I] - '0');
      ++SignificantDigits;
    } else {
      Exact = false;
    }
  }
  size_t FractionDigits = 0;
  if (I < N && S[I] == '.') {
    for (++I; I < N && IsDigit(S[I]); ++I, ++FractionDigits) {
      if (Mantissa == 0 && S[I] == '0') {
        --Exponent10;
        continue;
      }
      if (SignificantDigits < 19) {
        Mantissa = Mantissa * 10 + static_cast<uint64_t>(S[I] - '0');
        ++SignificantDigits;
        --Exponent10;
      } else {
        Exact = false;
      }
    }
  }
  if (IntegerDigits + FractionDigits == 0) {
    return false;
  }
  if (I < N && (S[I] == 'e' || S[I] == 'E')) {
    ++I;
    bool NegativeExponent = false;
    if (I < N && (S[I] == '+' || S[I] == '-')) {
      NegativeExponent = S[I] == '-';
      ++I;
    }
    if (I >= N || !IsDigit(S[I])) {
      return false;
    }
    int64_t E = 0;
    for (; I < N && IsDigit(S[I]); ++I) {
      E = std::min<int64_t>(E * 10 + (S[I] - '0'), 100000);
    }
    Exponent10 += NegativeExponent ? -E : E;
  }
  if (I != N) {
    return false;
  }
  if (Mantissa == 0) {
    Value = Negative ? -0.0L : 0.0L;
    return true;
  }
  if (Exact && Exponent10 >= -27 && Exponent10 <= 27) {
    static constexpr auto Powers = [] {
      std::array<long double, 28> P{};
      P[0] = 1;
      for (size_t K = 1; K < P.size(); ++K) {
        P[K] = P[K - 1] * 10;
      }
      return P;
    }();
    long double R = static_cast<long double>(Mantissa);
    R = Exponent10 >= 0 ? R * Powers[static_cast<size_t>(Exponent10)]
                        : R / Powers[static_cast<size_t>(-Exponent10)];
    Value = Negative ? -R : R;
    return true;
  }
  // The rare long or far-out numbers: the library's correctly rounded conversion, which
  // knows no "+" sign.
  long double R = 0;
  const char* First = S.data() + NumberStart;
  const char* Last = S.data() + N;
  const auto Result = std::from_chars(First, Last, R, std::chars_format::general);
  if (Result.ec != std::errc() || Result.ptr != Last || !std::isfinite(R)) {
    return false;
  }
  Value = Negative ? -R : R;
  return true;
}

bool TextToIDFInteger(std::string_view S, int32_t& Value) {
  size_t I = 0;
  bool Negative = false;
  if (I < S.size() && (S[I] == '+' || S[I] == '-')) {
    Negative = S[I] == '-';
    ++I;
  }
  if (I >= S.size()) {
    return false;
  }
  int64_t R = 0;
  for (; I < S.size(); ++I) {
    if (!IsDigit(S[I])) {
      return false;
    }
    R = R * 10 + (S[I] - '0');
    if (R > int64_t(INT32_MAX) + 1) {
      return false;
    }
  }
  R = Negative ? -R : R;
  if (R > INT32_MAX || R < INT32_MIN) {
    return false;
  }
  Value = static_cast<int32_t>(R);
  return true;
}

long double ReadFloat(std::string_view Text, int32_t& Pos) {
  TQBTIDFToken Token;
  NextTokenSkipEOL(Text, Pos, Token);
  long double Value = 0;
  if (Token.IsMarker() || !TextToIDFFloat(Token.Text, Value)) {
    throw Exception(Format(SInvalidFloat, {TokenDisplayText(Token)}));
  }
  return Value;
}

int32_t ReadInteger(std::string_view Text, int32_t& Pos) {
  TQBTIDFToken Token;
  NextTokenSkipEOL(Text, Pos, Token);
  int32_t Value = 0;
  if (Token.IsMarker() || !TextToIDFInteger(Token.Text, Value)) {
    throw Exception(Format(SInvalidInteger, {TokenDisplayText(Token)}));
  }
  return Value;
}

double ReadDate(std::string_view Text, int32_t& Pos) {
  TQBTIDFToken Token;
  NextTokenSkipEOL(Text, Pos, Token);
  if (Token.IsMarker()) {
    throw Exception(Format(SInvalidDateTime, {TokenDisplayText(Token)}));
  }
  return StrToIDFDate(Token.Text);
}

void ExpectToken(std::string_view Text, std::string_view Expected, int32_t& Pos) {
  TQBTIDFToken Token;
  NextTokenSkipEOL(Text, Pos, Token);
  if (!Token.Is(Expected)) {
    throw Exception(Format(STokenExpected, {Expected, TokenDisplayText(Token)}));
  }
}

// ---------------------------------------------------------------------------------------------
// Dates

namespace {

int CurrentYear() {
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  return Local.tm_year + 1900;
}

// Reads an unsigned number of at most MaxDigits digits at S[I].
bool ScanNumber(std::string_view S, size_t& I, int& Value, int& Digits, int MaxDigits) {
  Value = 0;
  Digits = 0;
  while (I < S.size() && IsDigit(S[I])) {
    if (++Digits > MaxDigits) {
      return false;
    }
    Value = Value * 10 + (S[I] - '0');
    ++I;
  }
  return Digits > 0;
}

void SkipBlanks(std::string_view S, size_t& I) {
  while (I < S.size() && S[I] == ' ') {
    ++I;
  }
}

} // namespace

bool TryStrToDateTime(std::string_view S, double& DateTime) {
  const TFormatSettings& Settings = FormatSettings();
  enum { YMD, MDY, DMY } Order = MDY;
  for (const char C : Settings.ShortDateFormat) {
    const char L = static_cast<char>(C | 0x20);
    if (L == 'y' || L == 'm' || L == 'd') {
      Order = L == 'y' ? YMD : (L == 'm' ? MDY : DMY);
      break;
    }
  }
  size_t I = 0;
  SkipBlanks(S, I);
  int Numbers[3] = {};
  int Digits[3] = {};
  for (int K = 0; K < 3; ++K) {
    if (K > 0) {
      if (I >= S.size() || S[I] != Settings.DateSeparator) {
        return false;
      }
      ++I;
    }
    if (!ScanNumber(S, I, Numbers[K], Digits[K], 4)) {
      return false;
    }
  }
  const int YearIndex = Order == YMD ? 0 : 2;
  const int MonthIndex = Order == MDY ? 0 : 1;
  const int DayIndex = Order == YMD ? 2 : (Order == MDY ? 1 : 0);
  if (Digits[MonthIndex] > 2 || Digits[DayIndex] > 2) {
    return false;
  }
  TDateTimeRec Parts{Numbers[YearIndex], Numbers[MonthIndex], Numbers[DayIndex], 0, 0, 0, 0};
  if (Digits[YearIndex] <= 2) {
    // The hundred years that begin 50 years before the current year.
    const int CenturyBase = CurrentYear() - 50;
    Parts.Year += CenturyBase / 100 * 100;
    if (Parts.Year < CenturyBase) {
      Parts.Year += 100;
    }
  }
  const size_t DateEnd = I;
  SkipBlanks(S, I);
  if (I < S.size()) {
    int D = 0;
    if (I == DateEnd || !ScanNumber(S, I, Parts.Hour, D, 2) || I >= S.size() ||
        S[I] != Settings.TimeSeparator) {
      return false;
    }
    ++I;
    if (!ScanNumber(S, I, Parts.Minute, D, 2)) {
      return false;
    }
    if (I < S.size() && S[I] == Settings.TimeSeparator) {
      ++I;
      if (!ScanNumber(S, I, Parts.Second, D, 2)) {
        return false;
      }
    }
    SkipBlanks(S, I);
    if (I != S.size()) {
      return false;
    }
  }
  return TryEncodeDateTime(Parts, DateTime);
}

double StrToIDFDate(std::string_view S) {
  std::string Text(S);
  std::replace(Text.begin(), Text.end(), '.', ' ');
  TQBTDateTimeSettingsBracket Saved;
  TFormatSettings& Settings = FormatSettings();
  Settings.DateSeparator = '/';
  Settings.TimeSeparator = ':';
  Settings.ShortDateFormat = "yyyy/mm/dd";
  Settings.LongDateFormat = "yyyy/mm/dd";
  Settings.ShortTimeFormat = "hh:nn:ss";
  Settings.LongTimeFormat = "hh:nn:ss";
  double Result = 0;
  if (TryStrToDateTime(Text, Result)) {
    return Result;
  }
  Settings.ShortDateFormat = "mm/dd/yy";
  Settings.LongDateFormat = "mm/dd/yy";
  if (TryStrToDateTime(Text, Result)) {
    return Result;
  }
  TQBTIDFToken Shown{tkPlain, Text};
  throw Exception(Format(SInvalidDateTime, {TokenDisplayText(Shown)}));
}

// ---------------------------------------------------------------------------------------------
// Sections

void FillSectionTable(TStringList& Table) {
  static const std::vector<TQBTNameIDRec> Sections = {
      {".HEADER", siHeader},
      {".BOARD_OUTLINE", siBoardOutline},
      {".OTHER_OUTLINE", siOtherOutline},
      {".ROUTE_OUTLINE", siRouteOutline},
      {".PLACE_OUTLINE", siPlaceOutline},
      {".ROUTE_KEEPOUT", siRouteKeepOut},
      {".VIA_KEEPOUT", siViaKeepOut},
      {".PLACE_KEEPOUT", siPlaceKeepOut},
      {".PLACE_REGION", siPlaceRegion},
      {".DRILLED_HOLES", siDrilledHoles},
      {".PLACEMENT", siPlacement},
      {".PANEL_OUTLINE", siPanelOutline},
      {".NOTES", siNotes},
      {".ELECTRICAL", siElectrical},
      {".MECHANICAL", siMechanical},
  };
  Table.Sorted = true;
  FillNameIDList(Sections, Table);
}

int32_t FindSection(const TStringList& Table, std::string_view Keyword) {
  int Index = 0;
  if (!Table.Find(Keyword, Index)) {
    return 0;
  }
  return static_cast<int32_t>(Table.Objects(Index));
}

// ---------------------------------------------------------------------------------------------
// Read errors

std::string FormatReadError(const std::string& FileName, const std::string& Message) {
  return Format(SLoadError, {FileName, std::to_string(ReadPosition.Line),
                             std::to_string(ReadPosition.Char), Message});
}

std::string FindFileIgnoringCase(const std::string& LibraryFileName) {
  if (FileExists(LibraryFileName)) {
    return LibraryFileName;
  }
  namespace fs = std::filesystem;
  const std::string Folder = ExtractFilePath(LibraryFileName);
  const std::string Name = ExtractFileName(LibraryFileName);
  std::error_code Ec;
  std::string Found;
  for (fs::directory_iterator It(Folder.empty() ? fs::path(".") : fs::path(Folder), Ec), End;
       !Ec && It != End; It.increment(Ec)) {
    const std::string Candidate = It->path().filename().string();
    // Several spellings of one name: the first in byte order, so the choice is stable.
    if (SameText(Candidate, Name) && It->is_regular_file(Ec) &&
        (Found.empty() || Candidate < Found)) {
      Found = Candidate;
    }
  }
  return Found.empty() ? LibraryFileName : Folder + Found;
}

} // namespace qbt
