#include "idf/qbtIDFParams.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace qbt {

void TQBTIDFExportParams::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFExportParams*>(&Source);
  if (Other == nullptr) {
    AssignError(&Source);
  }
  Sections = Other->Sections;
  DrilledHolesMode = Other->DrilledHolesMode;
  MultiBodyMode = Other->MultiBodyMode;
  BoardThickness = Other->BoardThickness;
}

TQBTIDFExportImportParams& GetParams() {
  static TQBTIDFExportImportParams Params;
  return Params;
}

namespace {

// The conversion factors are doubles: beyond 15 significant digits a converted value carries
// only the noise of their product.
long double RoundToFactorPrecision(long double V) {
  if (V == 0 || !std::isfinite(V)) {
    return V;
  }
  char Buffer[64];
  const auto Written =
      std::to_chars(Buffer, Buffer + sizeof(Buffer), V, std::chars_format::scientific, 14);
  long double Rounded = V;
  std::from_chars(Buffer, Written.ptr, Rounded);
  return Rounded;
}

struct TSuffixUnit {
  std::string_view Suffix;
  TQBTIDFUnitsDef Units;
};
constexpr TSuffixUnit SuffixUnits[] = {
    {"MM", udMM}, {"TNM", udTNM}, {"MIL", udTHOU}, {"CRD", udCoord}};

} // namespace

std::string FormatLength(TQBTIDFUnitsDef Units, int Digits, long double Value) {
  long double V = RoundToFactorPrecision(Convert(Value, udTHOU, Units));
  if (V == 0) {
    V = 0; // no "-0.0"
  }
  if (Digits <= 0 || V == std::trunc(V)) {
    Digits = 1;
  }
  char Buffer[128];
  auto Written =
      std::to_chars(Buffer, Buffer + sizeof(Buffer), V, std::chars_format::fixed, Digits);
  if (Written.ec != std::errc()) { // far beyond any board: shown in exponent form
    Written = std::to_chars(Buffer, Buffer + sizeof(Buffer), V, std::chars_format::general, 18);
  }
  std::string Text(Buffer, Written.ptr);
  // A length too small to show is shown as zero, without the sign of a value there is not.
  if (Text.front() == '-' && Text.find_first_not_of("-0.") == std::string::npos) {
    Text.erase(0, 1);
  }
  Text += IDFUnitsSuffixes[Units];
  return Text;
}

long double ParseLength(std::string_view Text, TQBTIDFUnitsDef DefaultUnits) {
  const std::string Trimmed = Trim(Text);
  if (Trimmed.empty()) {
    return 0;
  }
  std::string S;
  for (char C : UpperCase(Trimmed)) {
    if (C != ' ') {
      S += C;
    }
  }
  TQBTIDFUnitsDef Units = DefaultUnits;
  for (const auto& [Suffix, SuffixUnitsDef] : SuffixUnits) {
    if (Suffix.size() <= S.size() && S.find(Suffix) == S.size() - Suffix.size()) {
      Units = SuffixUnitsDef;
      S.resize(S.size() - Suffix.size());
    }
  }
  const char* First = S.data();
  const char* Last = S.data() + S.size();
  // A plus sign is a number's own; from_chars knows only the minus.
  if (First != Last && *First == '+' && (Last - First == 1 || First[1] != '-')) {
    ++First;
  }
  long double V = 0;
  const auto Parsed = std::from_chars(First, Last, V, std::chars_format::general);
  if (S.empty() || Parsed.ec != std::errc() || Parsed.ptr != Last || !std::isfinite(V)) {
    throw Exception(Format("'%s' is not a valid floating point value", {S}));
  }
  return Convert(V, Units, udTHOU);
}

} // namespace qbt
