#include "idf/qbtIDFParams.h"

#include "idf/qbtIDFModel.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

TEST(Params, DefaultsAndTheOneInstance) {
  const TQBTIDFExportImportParams Fresh;
  EXPECT_EQ(Fresh.FileName, "unknown.brd");
  EXPECT_EQ(Fresh.VerNumber, vn30);
  EXPECT_EQ(Fresh.DisplayUnits, udTHOU);
  EXPECT_EQ(Fresh.ExportParams.Sections.Bits, 511);
  EXPECT_EQ(Fresh.ImportParams.Sections.Bits, 127);
  EXPECT_EQ(Fresh.ExportParams.BoardThickness, 64);
  EXPECT_EQ(Fresh.ExportParams.MultiBodyMode, 0);
  EXPECT_EQ(Fresh.ExportParams.DrilledHolesMode, 0);
  EXPECT_FALSE(Fresh.ExportParams.ReplaceDots);
  EXPECT_EQ(Fresh.ExportParams.BlankString, "");
  EXPECT_EQ(Fresh.ImportParams.OffsetX, 0);
  EXPECT_EQ(Fresh.ImportParams.OffsetY, 0);

  EXPECT_EQ(&GetParams(), &GetParams());
  EXPECT_EQ(&TQBTIDFBoardFile::GetParams(), &GetParams());
  EXPECT_EQ(&TQBTIDFBoardFile::GetExportParams(), &GetParams().ExportParams);
}

TEST(Params, SectionBits) {
  TQBTIDFExportSections Export;
  Export.Include(esPlaceKeepOut);
  Export.Include(esBoardOutline);
  EXPECT_EQ(Export.Bits, 0x101);
  TQBTIDFImportSections Import;
  Import.Include(isPlaceKeepOut);
  EXPECT_EQ(Import.Bits, 0x40);
  TQBTIDFExportSections Edited = AllExportSections;
  Edited.Exclude(esRouteOutline);
  Edited.Exclude(esNotes);
  EXPECT_EQ(Edited.Bits, 0x13F);
  EXPECT_FALSE(Edited.Contains(esNotes));
  EXPECT_TRUE(Edited.Contains(esPlaceKeepOut));
}

TEST(Params, ExportAssignCopiesTheDialogChoicesAndThickness) {
  TQBTIDFExportParams Source;
  Source.Sections = TQBTIDFExportSections{3};
  Source.DrilledHolesMode = 1;
  Source.MultiBodyMode = 1;
  Source.BoardThickness = 62.5L;
  Source.ReplaceDots = true;
  Source.BlankString = "n/a";
  TQBTIDFExportParams Target;
  Target.Assign(Source);
  EXPECT_EQ(Target.Sections.Bits, 3);
  EXPECT_EQ(Target.DrilledHolesMode, 1);
  EXPECT_EQ(Target.MultiBodyMode, 1);
  EXPECT_EQ(Target.BoardThickness, 62.5L);
  EXPECT_FALSE(Target.ReplaceDots);
  EXPECT_EQ(Target.BlankString, "");
  try {
    Target.Assign(TQBTIDFImportParams());
    FAIL() << "assigned import parameters";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TQBTIDFImportParams to a TQBTIDFExportParams");
  }
}

TEST(Lengths, FormatLength) {
  const std::tuple<TQBTIDFUnitsDef, int, long double, const char*> Cases[] = {
      {udMM, 3, 1000, "25.400mm"},
      {udTHOU, 3, 0, "0.0mil"},
      {udTHOU, 3, 12.5L, "12.500mil"},
      {udTHOU, 3, 12, "12.0mil"},
      {udTHOU, 3, 12.3456L, "12.346mil"},
      {udTHOU, 0, 12.3456L, "12.3mil"},
      {udTHOU, 3, -7, "-7.0mil"},
      {udTHOU, 3, -0.0004L, "0.000mil"},
      {udTHOU, 3, -0.0005001L, "-0.001mil"},
      {udTNM, 3, 1, "2540.0tnm"},
      // 2 mm read in and shown again: whole at the factors' precision.
      {udMM, 3, 2 * static_cast<long double>(39.37007874015748), "2.0mm"},
      {udMM, 3, ParseLength("2mm", udTHOU), "2.0mm"},
      {udTHOU, 3, 1e200L, "1e+200mil"},
  };
  for (const auto& [Units, Digits, Value, Text] : Cases) {
    EXPECT_EQ(FormatLength(Units, Digits, Value), Text);
  }
}

TEST(Lengths, ParseLength) {
  const std::tuple<const char*, TQBTIDFUnitsDef, long double> Cases[] = {
      {"1.5mm", udTHOU, 1.5L * static_cast<long double>(39.37007874015748)},
      {" 1.5 MM ", udTNM, 1.5L * static_cast<long double>(39.37007874015748)},
      {"10", udTHOU, 10},
      {"10", udMM, 10 * static_cast<long double>(39.37007874015748)},
      {"10 mil", udMM, 10},
      {"-2.5e1MIL", udMM, -25},
      {"+4", udTHOU, 4},
      {"2540tnm", udMM, 2540 * static_cast<long double>(0.0003937007874015748)},
      {"  \t", udMM, 0},
      {"", udMM, 0},
  };
  for (const auto& [Text, Default, Thou] : Cases) {
    EXPECT_EQ(ParseLength(Text, Default), Thou) << Text;
  }
  EXPECT_NEAR(static_cast<double>(ParseLength("1.5mm", udTHOU)), 59.05511811023622, 1e-12);

  const std::pair<const char*, const char*> Errors[] = {
      {"mm5", "'MM5' is not a valid floating point value"},
      {"1,5", "'1,5' is not a valid floating point value"},
      {"mm", "'' is not a valid floating point value"},
      {"1.5 inch", "'1.5INCH' is not a valid floating point value"},
      {"nan", "'NAN' is not a valid floating point value"},
      {"+-1", "'+-1' is not a valid floating point value"},
      {"0x10", "'0X10' is not a valid floating point value"},
  };
  for (const auto& [Text, Message] : Errors) {
    try {
      ParseLength(Text, udTHOU);
      ADD_FAILURE() << "read " << Text;
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), Message);
    }
  }
}

TEST(Lengths, HostUnitsNeedTheHostConversion) {
  const TQBTCoordConvert Saved = QBTCoordConvert;
  QBTCoordConvert = {};
  const char* Message = "Can not convert TCoord value. QBTCoordConvert should be assigned.";
  try {
    FormatLength(udCoord, 3, 1);
    ADD_FAILURE() << "formatted without the host";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), Message);
  }
  try {
    ParseLength("5crd", udTHOU);
    ADD_FAILURE() << "read without the host";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), Message);
  }
  QBTCoordConvert = Saved;
}

} // namespace
} // namespace qbt
