// The translation parameters: the user's choices for export and import and the values the
// driver takes from the board, held once for the whole process; and the display form of
// lengths, formatted with a unit suffix and read back.
//
//   Section sets
//   Export, import and root parameters
//   GetParams
//   FormatLength, ParseLength
#pragma once

#include "idf/qbtIDFBase.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Section sets

// The same section has different bits in the two sets.
enum TQBTIDFExportSection : uint8_t {
  esBoardOutline = 0,
  esDrilledHoles = 1,
  esPlacement = 2,
  esPlaceRegion = 3,
  esPlaceOutline = 4,
  esRouteKeepOut = 5,
  esRouteOutline = 6,
  esNotes = 7,
  esPlaceKeepOut = 8
};

enum TQBTIDFImportSection : uint8_t {
  isBoardOutline = 0,
  isDrilledHoles = 1,
  isPlacement = 2,
  isPlaceRegion = 3,
  isPlaceOutline = 4,
  isRouteKeepOut = 5,
  isPlaceKeepOut = 6
};

// A set over an enumeration, one bit per value.
template <class TEnum, class TBits>
struct TQBTSmallSet {
  TBits Bits = 0;

  constexpr bool Contains(TEnum Value) const { return (Bits >> Value) & 1u; }
  constexpr void Include(TEnum Value) { Bits = static_cast<TBits>(Bits | (TBits{1} << Value)); }
  constexpr void Exclude(TEnum Value) { Bits = static_cast<TBits>(Bits & ~(TBits{1} << Value)); }
  friend constexpr bool operator==(TQBTSmallSet, TQBTSmallSet) = default;
};

using TQBTIDFExportSections = TQBTSmallSet<TQBTIDFExportSection, uint16_t>;
using TQBTIDFImportSections = TQBTSmallSet<TQBTIDFImportSection, uint8_t>;

inline constexpr TQBTIDFExportSections AllExportSections{0x1FF};
inline constexpr TQBTIDFImportSections AllImportSections{0x7F};

// ---------------------------------------------------------------------------------------------
// Parameters. Every length is in thousandths of an inch.

class TQBTIDFExportParams : public TQBTIDFPersistent {
public:
  QBT_CLASS_NAME(TQBTIDFExportParams)
  // 0 "Use Bounding Component Body", 1 "Create Sub Components".
  uint8_t MultiBodyMode = 0;
  // The sections written to the board file.
  TQBTIDFExportSections Sections = AllExportSections;
  // Replace "." by "_" in component names.
  bool ReplaceDots = false;
  // Replaces empty component fields.
  std::string BlankString;
  // 0 all drilled holes, 1 the selected ones only.
  uint8_t DrilledHolesMode = 0;
  long double BoardThickness = 64;

  // Copies the dialog's choices and the thickness: Sections, DrilledHolesMode, MultiBodyMode,
  // BoardThickness.
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFImportParams : public TQBTIDFPersistent {
public:
  QBT_CLASS_NAME(TQBTIDFImportParams)
  TQBTIDFImportSections Sections = AllImportSections;
  // Added to every imported position.
  long double OffsetX = 0;
  long double OffsetY = 0;
};

class TQBTIDFExportImportParams : public TQBTIDFPersistent {
public:
  QBT_CLASS_NAME(TQBTIDFExportImportParams)
  TQBTIDFExportParams ExportParams;
  TQBTIDFImportParams ImportParams;
  // The IDF file of the last or current translation.
  std::string FileName = "unknown.brd";
  TQBTIDFVerNumber VerNumber = vn30;
  // Units of the exported file and of lengths shown to the user.
  TQBTIDFUnitsDef DisplayUnits = udTHOU;
};

// The one instance of the process, created with its defaults on first use.
TQBTIDFExportImportParams& GetParams();

// ---------------------------------------------------------------------------------------------
// Display form of lengths

// Value (thou) in Units with Digits decimals, or one decimal when Digits is 0 or the value is
// whole, followed by the unit's suffix: 25.400mm, 0.0mil.
std::string FormatLength(TQBTIDFUnitsDef Units, int Digits, long double Value);
// A length in thou from a text with an optional unit suffix (mm, tnm, mil, crd, any case and
// blanks); DefaultUnits without one; 0 for a blank text.
long double ParseLength(std::string_view Text, TQBTIDFUnitsDef DefaultUnits);

} // namespace qbt
