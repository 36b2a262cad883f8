#include "idf/qbtIDFReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace qbt {
namespace {

// The lines joined as a read file gives them: CR LF after every line.
std::string Lines(std::initializer_list<const char*> L) {
  std::string R;
  for (const char* Line : L) {
    R += Line;
    R += "\r\n";
  }
  return R;
}

std::string Header30(const char* Units = "THOU") {
  return Lines({".HEADER", "BOARD_FILE 3.0 \"Test System\" 2009/05/12.14:33:10 7"}) + "board1 " +
         Units + "\r\n.END_HEADER\r\n";
}
std::string Header20() {
  return Lines(
      {".HEADER", "BOARD_FILE 2.0 tester 2009/05/12.14:33:10 1", "board1 MM", ".END_HEADER"});
}

std::unique_ptr<TQBTIDFFile> ReadBoard(const std::string& Text) {
  auto File = std::make_unique<TQBTIDFFile>();
  File->BoardFile.LoadFromText(Text);
  return File;
}

std::unique_ptr<TQBTIDFFile> ReadLibrary(const std::string& Text) {
  auto File = std::make_unique<TQBTIDFFile>();
  File->LibraryFile.LoadFromText(Text);
  return File;
}

struct TReadError {
  std::string Message;
  int32_t Line = 0;
  int32_t Char = 0;
};

template <class TRead>
TReadError ErrorOf(TRead Read) {
  TQBTIDFFile File;
  try {
    Read(File);
  } catch (const Exception& E) {
    return {E.Message(), ReadPosition.Line, ReadPosition.Char};
  }
  return {"no error"};
}
TReadError BoardError(const std::string& Text) {
  return ErrorOf([&](TQBTIDFFile& F) { F.BoardFile.LoadFromText(Text); });
}
TReadError LibraryError(const std::string& Text) {
  return ErrorOf([&](TQBTIDFFile& F) { F.LibraryFile.LoadFromText(Text); });
}

// ---------------------------------------------------------------------------------------------
// Board files

TEST(BoardReader, ReadsEverySectionOfVersion30) {
  const auto F = ReadBoard(Header30() + Lines({
                                            ".BOARD_OUTLINE MCAD",
                                            "62.0",
                                            "0 0.0 0.0 0.0",
                                            "0 1000.0 0.0 0.0",
                                            "0 0.0 0.0 -180.0",
                                            ".END_BOARD_OUTLINE",
                                            ".OTHER_OUTLINE ECAD",
                                            "heatsink 120.5 BOTTOM",
                                            "0 1.0 2.0 0.0",
                                            ".END_OTHER_OUTLINE",
                                            ".ROUTE_OUTLINE",
                                            "INNER",
                                            "0 1.0 2.0 0.0",
                                            ".END_ROUTE_OUTLINE",
                                            "# a comment line",
                                            ".PLACE_OUTLINE SOMEBODY", // not an owner word
                                            "BOTH 250.0",
                                            "0 1.0 2.0 0.0",
                                            ".END_PLACE_OUTLINE",
                                            ".ROUTE_KEEPOUT ECAD",
                                            "ALL",
                                            "0 1.0 2.0 0.0",
                                            ".END_ROUTE_KEEPOUT",
                                            ".VIA_KEEPOUT MCAD",
                                            "3 1.0 2.0 0.0", // labels of other lists stay as read
                                            ".END_VIA_KEEPOUT",
                                            ".PLACE_KEEPOUT MCAD",
                                            "TOP 300.0",
                                            "0 1.0 2.0 0.0",
                                            ".END_PLACE_KEEPOUT",
                                            ".PLACE_REGION ECAD",
                                            "BOTTOM \"power group\"",
                                            "0 1.0 2.0 0.0",
                                            ".END_PLACE_REGION",
                                            ".DRILLED_HOLES",
                                            "125.0 100.0 200.0 NPTH BOARD MTG MCAD",
                                            "30.0 5.0 6.0 PTH U1 PIN",
                                            "40.0 7.0 8.0 PTH NOREFDES SLOT ECAD",
                                            ".END_DRILLED_HOLES",
                                            ".NOTES",
                                            "3500.0 3300.0 75.0 2500.0 \"Do not move\"",
                                            ".END_NOTES",
                                            ".PLACEMENT",
                                            "DIP14 \"74HC00 N\" U1",
                                            "500.0 250.0 12.5 90.0 TOP PLACED",
                                            "SUB pn-board BOARD",
                                            "1.0 2.0 0.0 0.0 BOTTOM MCAD",
                                            ".END_PLACEMENT",
                                        }));
  const TQBTIDFBoardFile& B = F->BoardFile;
  EXPECT_EQ(B.Header.Version, vn30);
  EXPECT_EQ(B.Header.SystemName, "Test System");
  EXPECT_DOUBLE_EQ(B.Header.Date, 39945 + 52390 / 86400.0);
  EXPECT_EQ(B.Header.FileVersion, 7);
  EXPECT_EQ(B.Header.BoardName, "board1");
  EXPECT_EQ(B.Header.Units, udTHOU);

  EXPECT_EQ(B.Outline.Owner, owMCAD);
  EXPECT_EQ(B.Outline.Thickness, 62.0L);
  ASSERT_EQ(B.Outline.Count(), 3);
  EXPECT_EQ(B.Outline.PointItems(1)->X, 1000.0L);
  EXPECT_EQ(B.Outline.PointItems(2)->InclAngle, -180.0L);

  const TQBTIDFOtherOutline& Other = *B.OtherOutlines.Items(0);
  EXPECT_EQ(Other.Owner, owECAD);
  EXPECT_EQ(Other.Identifier, "heatsink");
  EXPECT_EQ(Other.Thickness, 120.5L);
  EXPECT_EQ(Other.Side, bsBottom);
  EXPECT_EQ(Other.Points.PointItems(0)->Y, 2.0L);
  EXPECT_EQ(B.RouteOutlines.Items(0)->Owner, owUnowned); // no owner word
  EXPECT_EQ(B.RouteOutlines.Items(0)->Layers, rlInner);
  EXPECT_EQ(B.PlaceOutlines.Items(0)->Owner, owUnowned);
  EXPECT_EQ(B.PlaceOutlines.Items(0)->Side, bsBoth);
  EXPECT_EQ(B.PlaceOutlines.Items(0)->Height, 250.0L);
  EXPECT_EQ(B.RouteKeepOuts.Items(0)->Layers, rlAll);
  EXPECT_EQ(B.ViaKeepOuts.Items(0)->Owner, owMCAD);
  EXPECT_EQ(B.ViaKeepOuts.Items(0)->Points.PointItems(0)->LoopLabel, 3);
  EXPECT_EQ(B.PlaceKeepOuts.Items(0)->Height, 300.0L);
  EXPECT_EQ(B.PlaceRegions.Items(0)->GroupName, "power group");
  EXPECT_EQ(B.PlaceRegions.Items(0)->Side, bsBottom);

  ASSERT_EQ(B.DrilledHoles.Count(), 3);
  const TQBTIDFDrilledHole& Mtg = *B.DrilledHoles.Items(0);
  EXPECT_EQ(Mtg.Diameter, 125.0L);
  EXPECT_EQ(Mtg.Y, 200.0L);
  EXPECT_EQ(Mtg.Plating, ptNPTH);
  EXPECT_EQ(Mtg.AssocPart, apBoard);
  EXPECT_EQ(Mtg.HoleType, htMTG);
  EXPECT_EQ(Mtg.Owner, owMCAD);
  const TQBTIDFDrilledHole& Pin = *B.DrilledHoles.Items(1); // owner missing at the line end
  EXPECT_EQ(Pin.AssocPart, apRefDes);
  EXPECT_EQ(Pin.AssocPartName, "U1");
  EXPECT_EQ(Pin.Owner, owUnowned);
  EXPECT_EQ(B.DrilledHoles.Items(2)->AssocPart, apNoRefDes);
  EXPECT_EQ(B.DrilledHoles.Items(2)->HoleType, htOther);
  EXPECT_EQ(B.DrilledHoles.Items(2)->HoleTypeName, "SLOT");

  EXPECT_EQ(B.Notes.Items(0)->TextLength, 2500.0L);
  EXPECT_EQ(B.Notes.Items(0)->Text, "Do not move");

  ASSERT_EQ(B.Placement.Count(), 2);
  const TQBTIDFPlacementItem& U1 = *B.Placement.Items(0);
  EXPECT_EQ(U1.PackageName, "DIP14");
  EXPECT_EQ(U1.PartNumber, "74HC00 N");
  EXPECT_EQ(U1.RefDesKind, rkRefDes);
  EXPECT_EQ(U1.RefDes, "U1");
  EXPECT_EQ(U1.MountOffset, 12.5L);
  EXPECT_EQ(U1.Rotation, 90.0L);
  EXPECT_EQ(U1.Status, stPlaced);
  EXPECT_EQ(B.Placement.Items(1)->RefDesKind, rkBoard);
  EXPECT_EQ(B.Placement.Items(1)->Side, bsBottom);
  EXPECT_EQ(B.Placement.Items(1)->Status, stMCAD);
}

TEST(BoardReader, Version20FieldsAndKeywordsInAnyCase) {
  const auto F = ReadBoard(Lines({
      ".header",
      "board_file 2.0 tester 2009/05/12.14:33:10 1",
      "board1 thou",
      ".end_header",
      ".other_outline",
      "lid 10.0",
      "0 1.0 2.0 0.0",
      ".end_other_outline",
      ".ROUTE_OUTLINE ", // the writer's trailing blank
      "0 1.0 2.0 0.0",
      ".END_ROUTE_OUTLINE",
      ".PLACE_OUTLINE ",
      "0 1.0 2.0 0.0",
      ".END_PLACE_OUTLINE",
      ".PLACE_KEEPOUT ",
      "bottom 100.0 50.0",
      "0 1.0 2.0 0.0",
      ".END_PLACE_KEEPOUT",
      ".DRILLED_HOLES",
      "30.0 5.0 6.0 pth board",
      "40.0 7.0 8.0 npth U2",
      ".END_DRILLED_HOLES",
      ".PLACEMENT",
      "DIP14 pn U1",
      "500.0 250.0 90.0 TOP fixed",
      ".END_PLACEMENT",
  }));
  const TQBTIDFBoardFile& B = F->BoardFile;
  EXPECT_EQ(B.Header.Version, vn20);
  EXPECT_EQ(B.Header.Units, udTHOU);
  EXPECT_EQ(B.OtherOutlines.Items(0)->Thickness, 10.0L);
  EXPECT_EQ(B.RouteOutlines.Items(0)->Points.Count(), 1);
  EXPECT_EQ(B.PlaceOutlines.Items(0)->Points.Count(), 1);
  EXPECT_EQ(B.PlaceKeepOuts.Items(0)->Side, bsBottom);
  EXPECT_EQ(B.PlaceKeepOuts.Items(0)->SecondHeight, 50.0L);
  ASSERT_EQ(B.DrilledHoles.Count(), 2);
  EXPECT_EQ(B.DrilledHoles.Items(1)->Plating, ptNPTH);
  EXPECT_EQ(B.DrilledHoles.Items(1)->AssocPartName, "U2");
  EXPECT_EQ(B.Placement.Items(0)->MountOffset, 0.0L);
  EXPECT_EQ(B.Placement.Items(0)->Rotation, 90.0L);
  EXPECT_EQ(B.Placement.Items(0)->Status, stFixed);
}

TEST(BoardReader, SectionsRepeatAndASecondHeaderOverwrites) {
  const auto F = ReadBoard(Header30() + Lines({
                                            ".DRILLED_HOLES",
                                            "1.0 0.0 0.0 PTH BOARD VIA",
                                            ".END_DRILLED_HOLES",
                                            ".HEADER",
                                            "BOARD_FILE 2.0 other 2010/01/01 2",
                                            "second MM",
                                            ".END_HEADER",
                                            ".DRILLED_HOLES",
                                            "2.0 0.0 0.0 PTH BOARD",
                                            ".END_DRILLED_HOLES",
                                        }));
  EXPECT_EQ(F->BoardFile.DrilledHoles.Count(), 2);
  EXPECT_EQ(F->BoardFile.Header.BoardName, "second");
  EXPECT_EQ(F->BoardFile.Header.Version, vn20);
}

// Loop labels as read, and how the outline splits them into the outer loop and cutouts.
std::string OutlineLoops(std::initializer_list<const char*> PointLines) {
  std::string Text = Header30() + ".BOARD_OUTLINE\r\n62.0\r\n";
  for (const char* Line : PointLines) {
    Text += std::string(Line) + "\r\n";
  }
  Text += ".END_BOARD_OUTLINE\r\n";
  const auto F = ReadBoard(Text);
  const TQBTIDFBoardOutline& O = F->BoardFile.Outline;
  auto Labels = [](const TQBTIDFPointsList& L) {
    std::string R;
    for (int I = 0; I < L.Count(); ++I) {
      R += std::to_string(L.PointItems(I)->LoopLabel);
    }
    return R;
  };
  std::string R = Labels(O);
  for (const auto& Cutout : O.Cutouts) {
    R += "|" + Labels(*Cutout);
  }
  return R;
}

TEST(BoardReader, OutlineCutouts) {
  // Rising labels start cutouts; every cutout point is labelled 1.
  EXPECT_EQ(OutlineLoops({"0 0 0 0", "0 9 0 0", "0 0 0 0", "1 1 1 0", "1 2 1 0", "1 1 1 0",
                          "2 5 5 0", "2 6 5 0", "2 5 5 0"}),
            "000|111|111");
  // Closed cutouts all labelled 1 are kept apart: closed by repetition, or a full circle.
  EXPECT_EQ(
      OutlineLoops({"0 0 0 0", "0 9 0 0", "0 0 0 0", "1 1 1 0", "1 2 1 0", "1 1 1 0", "1 5 5 0",
                    "1 6 5 0", "1 5 5 0", "1 7 7 0", "1 8 7 360", "1 3 3 0", "1 4 3 -360"}),
      "000|111|111|11|11");
  // A cutout that is not yet closed takes the following points.
  EXPECT_EQ(OutlineLoops({"0 0 0 0", "1 1 1 0", "1 2 1 0", "1 2 2 0", "1 1 1 0"}), "0|1111");
  // Labels after the highest one go into the newest list whatever they are.
  EXPECT_EQ(OutlineLoops({"0 0 0 0", "2 1 1 0", "1 2 1 0", "0 3 1 0"}), "0|110");
}

TEST(BoardReader, ReadingAnOutlineAgainReplacesItsCutouts) {
  const std::string Outline =
      Lines({".BOARD_OUTLINE", "62.0", "0 0 0 0", "1 1 1 0", "1 2 1 360", ".END_BOARD_OUTLINE"});
  const auto F = ReadBoard(Header30() + Outline + Outline);
  EXPECT_EQ(F->BoardFile.Outline.Count(), 2); // the outer points add up
  EXPECT_EQ(F->BoardFile.Outline.Cutouts.size(), 1u);
}

TEST(BoardReader, RecordsRememberWhereTheyWereRead) {
  const auto F = ReadBoard(Header30() + Lines({
                                            ".PLACE_REGION",
                                            "TOP g",
                                            "0 1.0 2.0 0.0",
                                            "  0 3.0 4.0 0.0",
                                            ".END_PLACE_REGION",
                                            ".DRILLED_HOLES",
                                            "1.0 0.0 0.0 PTH BOARD VIA",
                                            ".END_DRILLED_HOLES",
                                        }));
  const TQBTIDFPlaceRegion& R = *F->BoardFile.PlaceRegions.Items(0);
  EXPECT_EQ(R.SourceLine, 5);
  EXPECT_EQ(R.SourceChar, 1);
  EXPECT_EQ(R.Points.SourceLine, 6); // after its fields
  EXPECT_EQ(R.Points.PointItems(0)->SourceLine, 7);
  EXPECT_EQ(R.Points.PointItems(1)->SourceLine, 8);
  EXPECT_EQ(R.Points.PointItems(1)->SourceChar, 3);
  EXPECT_EQ(F->BoardFile.DrilledHoles.Items(0)->SourceLine, 11);
  EXPECT_EQ(F->BoardFile.DrilledHoles.Items(0)->SourceChar, 1);
}

TEST(BoardReader, ErrorsWithTheirPositions) {
  const std::string H = Header30();   // four lines
  const std::string H20 = Header20(); // four lines
  const std::string Outline = ".BOARD_OUTLINE\r\n62.0\r\n";
  const struct {
    std::string Text;
    const char* Message;
    int32_t Line;
    int32_t Char;
  } Cases[] = {
      {H + Outline + "0 1.5x 2.0 0.0\r\n", "'1.5x' is not a valid floating point value", 7,
       2}, // at the blank before 1.5x
      {H + ".FOO\r\n", "Unknown IDF file section name .FOO.", 5, 1},
      {H + ".ELECTRICAL\r\n", "Unknown IDF file section name .ELECTRICAL.", 5, 1},
      {H + ".END_HEADER\r\n", "Unknown IDF file section name .END_HEADER.", 5, 1},
      {Lines({".HEADER", "BOARD_FILE 4.0 x 2009/05/12 1"}), "Unsupported IDF version 4.0", 2, 11},
      {Lines({".HEADER", "BOARD_FILE 3.0 x 2009/05/12 1", "b INCH"}),
       "Unknown units definition INCH", 3, 2},
      {Lines({".HEADER", "BOARD_FILE 3.0 x 2009/05/12 1", "b MM", ".END"}),
       "Token .END_HEADER were expected but .END found", 4, 1},
      {Lines({".HEADER", "BOARD_FILE 3.0 x 2009-05-12 1"}),
       "'2009-05-12' is not a valid date and time", 2, 17},
      {Lines({".HEADER", "BOARD_FILE 3.0 x 2009/05/12 1.0"}), "'1.0' is not a valid integer value",
       2, 28},
      {H + Lines({".OTHER_OUTLINE", "id 1.0 BOTH"}), "Unsupported outline board side BOTH", 6, 7},
      {H + Lines({".PLACE_OUTLINE", "LEFT 1.0"}), "Unsupported outline board side LEFT", 6, 1},
      {H + Lines({".ROUTE_KEEPOUT", "OUTER"}), "Unsupported routing layer OUTER used", 6, 1},
      {H + Lines({".DRILLED_HOLES", "1.0 0.0 0.0 PLATED BOARD PIN"}),
       "Unknown plating style PLATED", 6, 12},
      {H + Lines({".PLACEMENT", "P N U1", "0.0 0.0 0.0 0.0 TOP LOOSE"}),
       "Unsupported component placement status LOOSE", 7, 20},
      {H + Lines({".PLACEMENT", "P N U1", "0.0 0.0 0.0 0.0 BOTH PLACED"}),
       "Unsupported outline board side BOTH", 7, 16},
      // A version 2.0 line with an owner word reads it as the next field.
      {H20 + Lines({".BOARD_OUTLINE MCAD", "62.0"}), "'MCAD' is not a valid floating point value",
       5, 15},
      // A tab joins two values into one token.
      {H + Outline + "0 1.0\t2.0 0.0\r\n", "'1.0\t2.0' is not a valid floating point value", 7, 2},
      // A section without its end runs into the end of the text where a label is due.
      {H + Outline + "0 1.0 2.0 0.0\r\n", "'<end of file>' is not a valid integer value", 7, 14},
      {H + Lines({".DRILLED_HOLES", "1.0 0.0 nan PTH BOARD PIN"}),
       "'nan' is not a valid floating point value", 6, 8},
  };
  for (const auto& C : Cases) {
    const TReadError E = BoardError(C.Text);
    EXPECT_EQ(E.Message, C.Message) << C.Text;
    EXPECT_EQ(E.Line, C.Line) << C.Message;
    EXPECT_EQ(E.Char, C.Char) << C.Message;
  }
}

// ---------------------------------------------------------------------------------------------
// Library files

TEST(LibraryReader, GeometriesWithProperties) {
  const auto F = ReadLibrary(Lines({
      ".HEADER",
      "LIBRARY_FILE 3.0 \"Test System\" 2009/05/12.14:33:10 3",
      ".END_HEADER",
      ".ELECTRICAL",
      "cs13_a \"pn cap\" MM 1.5",
      "0 -1.0 1.0 0.0",
      "0 1.0 1.0 0.0",
      "PROP CAPACITANCE 1e-6",
      "PROP resistance 10k",
      "PROP VOLTAGE \"16 V\"",
      "PROP HUGE 1e400",
      ".END_ELECTRICAL",
      ".MECHANICAL",
      "lid pn-lid THOU 20.0",
      "0 0.0 0.0 0.0",
      "PROP WEIGHT 5",
      ".END_MECHANICAL",
      ".electrical",
      "bare pn TNM 0.0",
      ".end_electrical",
  }));
  const TQBTIDFLibraryFile& L = F->LibraryFile;
  EXPECT_EQ(L.Header.Version, vn30);
  EXPECT_EQ(L.Header.SystemName, "Test System");
  EXPECT_EQ(L.Header.FileVersion, 3);
  ASSERT_EQ(L.ElectrComps.Count(), 2);
  const TQBTIDFElectrComp& C = *L.ElectrComps.Items(0);
  EXPECT_EQ(C.GeometryName, "cs13_a");
  EXPECT_EQ(C.PartNumber, "pn cap");
  EXPECT_EQ(C.Units, udMM);
  EXPECT_EQ(C.Height, 1.5L);
  EXPECT_EQ(C.Points.Count(), 2);
  ASSERT_EQ(C.Props.Count(), 4);
  EXPECT_EQ(C.Props.Items(0)->Kind, epCapacitance);
  EXPECT_EQ(C.Props.Items(0)->Value, TQBTIDFPropValue(1e-6));
  EXPECT_EQ(C.Props.Items(1)->Kind, epResistance);
  EXPECT_EQ(C.Props.Items(1)->Name, "resistance");
  EXPECT_EQ(C.Props.Items(1)->Value, TQBTIDFPropValue(std::string("10k")));
  EXPECT_EQ(C.Props.Items(2)->Kind, epCustom);
  EXPECT_EQ(C.Props.Items(2)->Name, "VOLTAGE");
  EXPECT_EQ(C.Props.Items(2)->Value, TQBTIDFPropValue(std::string("16 V")));
  EXPECT_EQ(C.Props.Items(3)->Value, TQBTIDFPropValue(std::string("1e400"))); // beyond a double
  EXPECT_EQ(L.ElectrComps.Items(1)->Units, udTNM);
  EXPECT_EQ(L.ElectrComps.Items(1)->Points.Count(), 0);
  ASSERT_EQ(L.MechComps.Count(), 1);
  EXPECT_EQ(L.MechComps.Items(0)->Props.Items(0)->Value, TQBTIDFPropValue(5.0));
}

TEST(LibraryReader, HeaderWithoutVersionIsVersion20) {
  const auto Quoted = ReadLibrary(
      Lines({".HEADER", "LIBRARY_FILE \"Old System\" 2009/05/12.14:33:10 1", ".END_HEADER"}));
  EXPECT_EQ(Quoted.get()->LibraryFile.Header.Version, vn20);
  EXPECT_EQ(Quoted.get()->LibraryFile.Header.SystemName, "Old System");
  const auto Plain =
      ReadLibrary(Lines({".HEADER", "LIBRARY_FILE 2.0 sys 2009/05/12.14:33:10 1", ".END_HEADER"}));
  EXPECT_EQ(Plain.get()->LibraryFile.Header.Version, vn20);
  EXPECT_EQ(Plain.get()->LibraryFile.Header.SystemName, "sys");
}

TEST(LibraryReader, ErrorsWithTheirPositions) {
  const std::string H =
      Lines({".HEADER", "LIBRARY_FILE 3.0 sys 2009/05/12.14:33:10 1", ".END_HEADER"});
  const std::string G = Lines({".ELECTRICAL", "g pn MM 1.0", "0 0.0 0.0 0.0"});
  const struct {
    std::string Text;
    const char* Message;
    int32_t Line;
    int32_t Char;
  } Cases[] = {
      {H + ".BOARD_OUTLINE\r\n", "Unknown IDF file section name .BOARD_OUTLINE.", 4, 1},
      {H + ".PLACEMENT\r\n", "Unknown IDF file section name .PLACEMENT.", 4, 1},
      {Lines({".HEADER", "LIBRARY_FILE 1.0 sys 2009/05/12 1"}), "Unsupported IDF version 1.0", 2,
       13},
      {H + Lines({".ELECTRICAL", "g pn INCH 1.0"}), "Unknown units definition INCH", 5, 5},
      // Cut off inside the properties: the end keyword is missed, not read for ever.
      {H + G + "PROP CAPACITANCE 1.0\r\n",
       "Token .END_ELECTRICAL were expected but <end of file> found", 7, 21},
      {H + G + "PROP CAPACITANCE\r\n",
       "Token .END_ELECTRICAL were expected but <end of file> found", 7, 17},
      {H + Lines({".MECHANICAL", "g pn MM 1.0", "0 0.0 0.0 0.0", "PROP X 1", ".END_ELECTRICAL",
                  "Y 2"}),
       "Token .END_MECHANICAL were expected but <end of file> found", 9, 4},
      {H + G, "'<end of file>' is not a valid integer value", 6, 14},
  };
  for (const auto& C : Cases) {
    const TReadError E = LibraryError(C.Text);
    EXPECT_EQ(E.Message, C.Message) << C.Text;
    EXPECT_EQ(E.Line, C.Line) << C.Message;
    EXPECT_EQ(E.Char, C.Char) << C.Message;
  }
}

// ---------------------------------------------------------------------------------------------
// Files of one translation

const std::string BoardText =
    Header30() + Lines({".DRILLED_HOLES", "1.0 0.0 0.0 PTH BOARD VIA", ".END_DRILLED_HOLES"});
const std::string LibraryText =
    Lines({".HEADER", "LIBRARY_FILE 3.0 sys 2009/05/12.14:33:10 1", ".END_HEADER", ".ELECTRICAL",
           "g pn MM 1.0", ".END_ELECTRICAL"});

TEST(LoadFromFile, ReadsTheBoardAndTheLibraryNamedAfterIt) {
  test::TempDir Dir;
  test::WriteBytes(Dir.File("x.emn"), BoardText);
  test::WriteBytes(Dir.File("x.emp"), LibraryText);
  TQBTIDFFile File;
  File.LoadFromFile(Dir.File("x.emp"));
  EXPECT_EQ(File.FileName, Dir.File("x.emp"));
  EXPECT_EQ(File.BoardFile.DrilledHoles.Count(), 1);
  EXPECT_EQ(File.LibraryFile.ElectrComps.Count(), 1);
}

TEST(LoadFromFile, NamesMatchedIgnoringCase) {
  test::TempDir Dir;
  test::WriteBytes(Dir.File("X.EMN"), BoardText);
  test::WriteBytes(Dir.File("X.EMP"), LibraryText);
  TQBTIDFFile File;
  File.LoadFromFile(Dir.File("X.EMN")); // the model derives X.emn and X.emp
  EXPECT_EQ(File.LibraryFile.ElectrComps.Count(), 1);
  EXPECT_EQ(FindFileIgnoringCase(Dir.File("X.emp")), Dir.File("X.EMP"));
  EXPECT_EQ(FindFileIgnoringCase(Dir.File("Y.emp")), Dir.File("Y.emp")); // absent: the name itself
}

TEST(LoadFromFile, FailuresNameTheFileBeingRead) {
  test::TempDir Dir;
  test::WriteBytes(Dir.File("good.emn"), BoardText);
  test::WriteBytes(Dir.File("bad.emn"), BoardText + "oops\r\n");
  test::WriteBytes(Dir.File("bad.emp"), LibraryText);
  struct {
    std::string Name;
    std::string Expected;
  } Cases[] = {
      // Read after a library, a missing board file is still the board file's failure.
      {Dir.File("none.emn"), "File : " + Dir.File("none.emn") + "\r\nLine : 1  Char : 1\r\n" +
                                 "Cannot open file \"" + Dir.File("none.emn") +
                                 "\". No such file or directory"},
      {Dir.File("good.emn"), "File : " + Dir.File("good.emp") + "\r\nLine : 1  Char : 1\r\n" +
                                 "Cannot open file \"" + Dir.File("good.emp") +
                                 "\". No such file or directory"},
      {Dir.File("bad.emn"), "File : " + Dir.File("bad.emn") + "\r\nLine : 8  Char : 1\r\n" +
                                "Unknown IDF file section name oops."},
  };
  for (const auto& C : Cases) {
    TQBTIDFFile Previous; // leaves the read position in a library file
    Previous.LibraryFile.LoadFromText(LibraryText + LibraryText);
    TQBTIDFFile File;
    std::string Text = "no error";
    try {
      File.LoadFromFile(C.Name);
    } catch (const Exception& E) {
      Text = FormatReadError(ReadErrorFileName(File), E.Message());
    }
    EXPECT_EQ(Text, C.Expected);
    EXPECT_EQ(File.FileName, C.Name); // kept on failure
  }
}

} // namespace
} // namespace qbt
