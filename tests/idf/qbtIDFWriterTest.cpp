#include "idf/qbtIDFModel.h"
#include "idf/qbtIDFParams.h"
#include "platform/DateUtils.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

// The lines of a file as written: each ended by CR LF.
std::string Lines(std::initializer_list<std::string_view> Texts) {
  std::string S;
  for (std::string_view T : Texts) {
    S += T;
    S += "\r\n";
  }
  return S;
}

// Lines without the final line break, as records and sections give them.
std::string Joined(std::initializer_list<std::string_view> Texts) {
  std::string S = Lines(Texts);
  S.resize(S.size() - 2);
  return S;
}

double Date(int Y, int M, int D, int H, int N, int S) {
  TDateTime Result = 0;
  EXPECT_TRUE(TryEncodeDateTime({Y, M, D, H, N, S, 0}, Result));
  return Result;
}

// Every test starts from the default export sections and leaves them so.
class Writer : public ::testing::Test {
protected:
  void SetUp() override { GetParams().ExportParams.Sections = AllExportSections; }
  void TearDown() override { GetParams().ExportParams.Sections = AllExportSections; }
};

void SetHeader(TQBTIDFBoardFile& Board, TQBTIDFVerNumber Version, TQBTIDFUnitsDef Units) {
  Board.Header.Version = Version;
  Board.Header.SystemName = IDFSystemName;
  Board.Header.Date = Date(2009, 5, 12, 14, 33, 10);
  Board.Header.FileVersion = 1;
  Board.Header.BoardName = "board1";
  Board.Header.Units = Units;
}

TQBTIDFDrilledHole* AddHole(TQBTIDFBoardFile& Board, long double D, long double X, long double Y) {
  TQBTIDFDrilledHole* Hole = Board.DrilledHoles.Add();
  Hole->Diameter = D;
  Hole->X = X;
  Hole->Y = Y;
  return Hole;
}

TQBTIDFPlacementItem* AddPart(TQBTIDFBoardFile& Board, const char* Package, const char* Part,
                              const char* RefDes) {
  TQBTIDFPlacementItem* Item = Board.Placement.Add();
  Item->PackageName = Package;
  Item->PartNumber = Part;
  Item->RefDesKind = rkRefDes;
  Item->RefDes = RefDes;
  return Item;
}

// The example of a small exported board: filled in thou, converted, adjusted and saved.
TEST_F(Writer, ExampleBoardIsWrittenByteForByteAndTheOldFileKeptAsBackup) {
  test::TempDir Dir;
  TQBTIDFFile File;
  TQBTIDFBoardFile& Board = File.BoardFile;
  File.SetVersion(vn30);
  SetHeader(Board, vn30, udTHOU);
  Board.Outline.Thickness = 62;
  AddRectangle(Board.Outline, false, 0, 0, 0, 1000, 500);
  TQBTIDFDrilledHole* Hole = AddHole(Board, 125, 100, 100);
  Hole->Plating = ptNPTH;
  Hole->HoleType = htMTG;
  TQBTIDFPlacementItem* Part = AddPart(Board, "DIP14", "74HC00N", "U1");
  Part->X = 500;
  Part->Y = 250;
  Part->Rotation = 90;
  Part->Status = stPlaced;
  File.LibraryFile.Header = Board.Header;

  // The system's own separators never reach the file.
  TFormatSettings Saved = FormatSettings();
  FormatSettings().DateSeparator = '-';
  FormatSettings().TimeSeparator = '.';
  FormatSettings().DecimalSeparator = ',';
  File.ConvertFromThou(Board.Header.Units);
  File.AdjustToVersion(Board.Header.Version);
  test::WriteBytes(Dir.File("x.brd"), "old board");
  File.SaveToFile(Dir.File("x.emp"));
  FormatSettings() = Saved;

  EXPECT_EQ(test::ReadBytes(Dir.File("x.emn")),
            Lines({".HEADER", "BOARD_FILE 3.0 \"Vendra KQX\" 2009/05/12.14:33:10 1", "board1 THOU",
                   ".END_HEADER", ".BOARD_OUTLINE UNOWNED", "62.0", "0 0.0 0.0 0.0",
                   "0 1000.0 0.0 0.0", "0 1000.0 500.0 0.0", "0 0.0 500.0 0.0", "0 0.0 0.0 0.0",
                   ".END_BOARD_OUTLINE", ".DRILLED_HOLES",
                   "125.0 100.0 100.0 NPTH BOARD MTG UNOWNED", ".END_DRILLED_HOLES", ".PLACEMENT",
                   "DIP14 74HC00N U1", "500.0 250.0 0.0 90.0 TOP PLACED", ".END_PLACEMENT"}));
  EXPECT_EQ(
      test::ReadBytes(Dir.File("x.emp")),
      Lines({".HEADER", "LIBRARY_FILE 3.0 \"Vendra KQX\" 2009/05/12.14:33:10 1", ".END_HEADER"}));
  EXPECT_EQ(File.FileName, Dir.File("x.emp"));

  // Saving again as .brd keeps the replaced file under its backup name.
  File.SaveToFile(Dir.File("x.brd"));
  EXPECT_EQ(test::ReadBytes(BackupFileName(Dir.File("x.brd"))), "old board");
  EXPECT_EQ(test::ReadBytes(Dir.File("x.brd")), test::ReadBytes(Dir.File("x.emn")));
  EXPECT_TRUE(FileExists(Dir.File("x.pro")));
}

// One record of every kind, owned by MCAD, in both versions.
void FillEveryRecord(TQBTIDFBoardFile& Board) {
  auto Square = [](TQBTIDFPointsList& Points) { AddRectangle(Points, false, 0, 0, 0, 1, 1); };
  Board.Outline.Owner = owMCAD;
  Board.Outline.Thickness = 1.6L;
  Board.Outline.AddPoint(0, 0, 0, 0);
  Board.Outline.AddPoint(0, 5, 0, 0);
  TQBTIDFOtherOutline* Other = Board.OtherOutlines.Add();
  Other->Owner = owMCAD;
  Other->Identifier = "heatsink";
  Other->Thickness = 2;
  Other->Side = bsBottom;
  Square(Other->Points);
  TQBTIDFRouteOutline* Route = Board.RouteOutlines.Add();
  Route->Owner = owMCAD;
  Route->Layers = rlAll;
  Square(Route->Points);
  TQBTIDFPlaceOutline* Place = Board.PlaceOutlines.Add();
  Place->Owner = owMCAD;
  Place->Side = bsBoth;
  Place->Height = 3;
  Square(Place->Points);
  TQBTIDFRouteKeepOut* RouteKeepOut = Board.RouteKeepOuts.Add();
  RouteKeepOut->Owner = owMCAD;
  RouteKeepOut->Layers = rlBottom;
  Square(RouteKeepOut->Points);
  TQBTIDFViaKeepOut* ViaKeepOut = Board.ViaKeepOuts.Add();
  ViaKeepOut->Owner = owMCAD;
  Square(ViaKeepOut->Points);
  TQBTIDFPlaceKeepOut* PlaceKeepOut = Board.PlaceKeepOuts.Add();
  PlaceKeepOut->Owner = owMCAD;
  PlaceKeepOut->Height = 4;
  PlaceKeepOut->SecondHeight = 5;
  Square(PlaceKeepOut->Points);
  TQBTIDFPlaceRegion* Region = Board.PlaceRegions.Add();
  Region->Owner = owMCAD;
  Region->Side = bsBoth;
  Region->GroupName = "power room";
  Square(Region->Points);
  TQBTIDFDrilledHole* Hole = AddHole(Board, 0.8L, 1, 2);
  Hole->Owner = owMCAD;
  Hole->AssocPart = apRefDes;
  Hole->AssocPartName = "U 2";
  Hole->HoleType = htOther;
  Hole->HoleTypeName = "PRESSFIT";
  TQBTIDFPlacementItem* Part = AddPart(Board, "SO8", "", "U2");
  Part->X = 1;
  Part->Y = 2;
  Part->MountOffset = 0.5L;
  Part->Rotation = 180;
  Part->Side = bsBottom;
  Part->Status = stMCAD;
  TQBTIDFNoteItem* Note = Board.Notes.Add();
  Note->X = 1;
  Note->Y = 2;
  Note->TextHeight = 0.1L;
  Note->TextLength = 3;
  Note->Text = "do not \"bend\"";
}

TEST_F(Writer, EveryRecordInVersion30) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  SetHeader(Board, vn30, udMM);
  FillEveryRecord(Board);
  const std::string Square =
      Joined({"0 0.0 0.0 0.0", "0 1.0 0.0 0.0", "0 1.0 1.0 0.0", "0 0.0 1.0 0.0", "0 0.0 0.0 0.0"});
  std::string Text;
  Board.GetText(Text);
  EXPECT_EQ(Text, Lines({".HEADER",
                         "BOARD_FILE 3.0 \"Vendra KQX\" 2009/05/12.14:33:10 1",
                         "board1 MM",
                         ".END_HEADER",
                         ".BOARD_OUTLINE MCAD",
                         "1.6",
                         "0 0.0 0.0 0.0",
                         "0 5.0 0.0 0.0",
                         ".END_BOARD_OUTLINE",
                         ".OTHER_OUTLINE MCAD",
                         "heatsink 2.0 BOTTOM",
                         Square,
                         ".END_OTHER_OUTLINE",
                         ".ROUTE_OUTLINE MCAD",
                         "ALL",
                         Square,
                         ".END_ROUTE_OUTLINE",
                         ".PLACE_OUTLINE MCAD",
                         "BOTH 3.0",
                         Square,
                         ".END_PLACE_OUTLINE",
                         ".ROUTE_KEEPOUT MCAD",
                         "BOTTOM",
                         Square,
                         ".END_ROUTE_KEEPOUT",
                         ".VIA_KEEPOUT MCAD",
                         Square,
                         ".END_VIA_KEEPOUT",
                         ".PLACE_KEEPOUT MCAD",
                         "TOP 4.0",
                         Square,
                         ".END_PLACE_KEEPOUT",
                         ".PLACE_REGION MCAD",
                         "BOTH \"power room\"",
                         Square,
                         ".END_PLACE_REGION",
                         ".DRILLED_HOLES",
                         "0.8 1.0 2.0 PTH \"U 2\" PRESSFIT MCAD",
                         ".END_DRILLED_HOLES",
                         ".PLACEMENT",
                         "SO8 \"\" U2",
                         "1.0 2.0 0.5 180.0 BOTTOM MCAD",
                         ".END_PLACEMENT",
                         ".NOTES",
                         "1.0 2.0 0.1 3.0 \"do not 'bend'\"",
                         ".END_NOTES"}));
}

// Version 2.0: owner lines end with a blank (the outline and hole lines are trimmed), no
// second lines for route and placement outlines, the second height of keep-outs, five hole
// fields, no mounting offset, and no notes.
TEST_F(Writer, EveryRecordInVersion20) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  SetHeader(Board, vn20, udTHOU);
  FillEveryRecord(Board);
  const std::string Square =
      Joined({"0 0.0 0.0 0.0", "0 1.0 0.0 0.0", "0 1.0 1.0 0.0", "0 0.0 1.0 0.0", "0 0.0 0.0 0.0"});
  std::string Text;
  Board.GetText(Text);
  EXPECT_EQ(Text, Lines({".HEADER",
                         "BOARD_FILE 2.0 \"Vendra KQX\" 2009/05/12.14:33:10 1",
                         "board1 THOU",
                         ".END_HEADER",
                         ".BOARD_OUTLINE",
                         "1.6",
                         "0 0.0 0.0 0.0",
                         "0 5.0 0.0 0.0",
                         ".END_BOARD_OUTLINE",
                         ".OTHER_OUTLINE ",
                         "heatsink 2.0",
                         Square,
                         ".END_OTHER_OUTLINE",
                         ".ROUTE_OUTLINE ",
                         Square,
                         ".END_ROUTE_OUTLINE",
                         ".PLACE_OUTLINE ",
                         Square,
                         ".END_PLACE_OUTLINE",
                         ".ROUTE_KEEPOUT ",
                         "BOTTOM",
                         Square,
                         ".END_ROUTE_KEEPOUT",
                         ".VIA_KEEPOUT ",
                         Square,
                         ".END_VIA_KEEPOUT",
                         ".PLACE_KEEPOUT ",
                         "TOP 4.0 5.0",
                         Square,
                         ".END_PLACE_KEEPOUT",
                         ".PLACE_REGION ",
                         "BOTH \"power room\"",
                         Square,
                         ".END_PLACE_REGION",
                         ".DRILLED_HOLES",
                         "0.8 1.0 2.0 PTH \"U 2\"",
                         ".END_DRILLED_HOLES",
                         ".PLACEMENT",
                         "SO8 \"\" U2",
                         "1.0 2.0 180.0 BOTTOM FIXED",
                         ".END_PLACEMENT"}));
}

TEST_F(Writer, PanelFileUsesPanelKeywords) {
  TQBTIDFBoardFile Panel(nullptr, fkPanel);
  SetHeader(Panel, vn30, udMM);
  Panel.Outline.AddPoint(0, 0, 0, 0);
  std::string Text;
  Panel.GetText(Text);
  EXPECT_NE(Text.find("PANEL_FILE 3.0"), std::string::npos);
  EXPECT_NE(Text.find(".PANEL_OUTLINE UNOWNED\r\n0.0\r\n0 0.0 0.0 0.0\r\n.END_PANEL_OUTLINE\r\n"),
            std::string::npos);
}

TEST_F(Writer, EmptyRecordsWriteNothing) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  SetHeader(Board, vn30, udMM);
  Board.Header.BoardName = "";
  Board.OtherOutlines.Add();
  Board.ViaKeepOuts.Add();
  std::string Text;
  Board.GetText(Text);
  EXPECT_EQ(Text, Lines({".HEADER", "BOARD_FILE 3.0 \"Vendra KQX\" 2009/05/12.14:33:10 1",
                         "\"\" MM", ".END_HEADER"}));

  // A record without points between two written ones leaves one empty line.
  AddRectangle(Board.ViaKeepOuts.Items(0)->Points, false, 0, 0, 0, 1, 1);
  Board.ViaKeepOuts.Add();
  AddRectangle(Board.ViaKeepOuts.Add()->Points, false, 0, 0, 0, 1, 1);
  Board.ViaKeepOuts.GetText(Text);
  EXPECT_NE(Text.find(".END_VIA_KEEPOUT\r\n\r\n.VIA_KEEPOUT UNOWNED"), std::string::npos);
  EXPECT_EQ(Text.find("\r\n\r\n\r\n"), std::string::npos);
}

TEST_F(Writer, ExportSectionsAreReadOnEveryCall) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  SetHeader(Board, vn30, udMM);
  FillEveryRecord(Board);
  // Other outlines and via keep-outs are always written.
  const std::pair<TQBTIDFExportSection, const char*> Cases[] = {{esBoardOutline, ".BOARD_OUTLINE"},
                                                                {esRouteOutline, ".ROUTE_OUTLINE"},
                                                                {esPlaceOutline, ".PLACE_OUTLINE"},
                                                                {esRouteKeepOut, ".ROUTE_KEEPOUT"},
                                                                {esPlaceKeepOut, ".PLACE_KEEPOUT"},
                                                                {esPlaceRegion, ".PLACE_REGION"},
                                                                {esDrilledHoles, ".DRILLED_HOLES"},
                                                                {esPlacement, ".PLACEMENT"},
                                                                {esNotes, ".NOTES"}};
  std::string Text;
  for (const auto& [Section, Keyword] : Cases) {
    GetParams().ExportParams.Sections = AllExportSections;
    GetParams().ExportParams.Sections.Exclude(Section);
    Board.GetText(Text);
    EXPECT_EQ(Text.find(std::string("\r\n") + Keyword + " "), std::string::npos) << Keyword;
    EXPECT_NE(Text.find(".OTHER_OUTLINE MCAD"), std::string::npos);
    EXPECT_NE(Text.find(".VIA_KEEPOUT MCAD"), std::string::npos);
    GetParams().ExportParams.Sections = AllExportSections;
    Board.GetText(Text);
    EXPECT_NE(Text.find(std::string("\r\n") + Keyword), std::string::npos) << Keyword;
  }
}

TEST_F(Writer, PlacementStatusAndReferenceByVersion) {
  const std::tuple<TQBTIDFVerNumber, TQBTIDFPlacementStatus, const char*> Cases[] = {
      {vn30, stFixed, "ECAD"},        {vn30, stUnplaced, "UNPLACED"}, {vn30, stPlaced, "PLACED"},
      {vn30, stMCAD, "MCAD"},         {vn30, stECAD, "ECAD"},         {vn20, stFixed, "FIXED"},
      {vn20, stUnplaced, "UNPLACED"}, {vn20, stPlaced, "PLACED"},     {vn20, stMCAD, "FIXED"},
      {vn20, stECAD, "FIXED"},
  };
  for (const auto& [Version, Status, Keyword] : Cases) {
    TQBTIDFBoardFile Board(nullptr, fkBoard);
    Board.Header.Version = Version;
    TQBTIDFPlacementItem* Part = AddPart(Board, "P", "N", "R1");
    Part->Status = Status;
    std::string Text;
    Part->GetText(Text);
    EXPECT_EQ(Text.substr(Text.rfind(' ') + 1), Keyword) << Keyword;
  }
  TQBTIDFPlacementItems Items;
  TQBTIDFPlacementItem* Part = Items.Add();
  Part->PackageName = "my pkg";
  Part->RefDesKind = rkBoard;
  Part->RefDes = "ignored";
  std::string Text;
  Part->GetText(Text);
  EXPECT_EQ(Text, Joined({"\"my pkg\" \"\" BOARD", "0.0 0.0 0.0 0.0 TOP ECAD"}));
}

TEST_F(Writer, QuoteIDF) {
  const std::pair<std::string_view, std::string_view> Cases[] = {
      {"U1", "U1"},
      {"", "\"\""},
      {"a b", "\"a b\""},
      {"#1", "\"#1\""},
      {"a#1", "a#1"},
      {"5\"", "5'"},
      {"two\r\nlines", "\"two lines\""},
      {"a\nb", "\"a b\""},
      {"a\rb\n\rc", "\"a b  c\""},
      {std::string_view("a\0b", 3), "\"a b\""},
  };
  for (const auto& [Text, Quoted] : Cases) {
    EXPECT_EQ(QuoteIDF(Text), Quoted) << Text;
  }
}

TEST_F(Writer, DateToIDF) {
  const std::pair<double, const char*> Cases[] = {
      {Date(2009, 5, 12, 14, 33, 10), "2009/05/12.14:33:10"},
      {Date(1999, 12, 31, 23, 59, 59), "1999/12/31.23:59:59"},
      {Date(2024, 2, 29, 0, 0, 0), "2024/02/29.00:00:00"},
      {0, "1899/12/30.00:00:00"},
      {-1.25, "1899/12/29.06:00:00"},
  };
  for (const auto& [Value, Text] : Cases) {
    EXPECT_EQ(DateToIDF(Value), Text);
  }
}

TEST_F(Writer, LibraryGeometriesAndTheirProperties) {
  TQBTIDFLibraryFile Library(nullptr);
  Library.Header.Version = vn30;
  Library.Header.SystemName = "sys";
  Library.Header.Date = Date(2009, 5, 12, 14, 33, 10);
  TQBTIDFElectrComp* Chip = Library.ElectrComps.Add();
  Chip->GeometryName = "SO 8";
  Chip->PartNumber = "NE555";
  Chip->Units = udTHOU;
  Chip->Height = 60;
  Chip->Points.AddPoint(0, 0, 0, 0);
  Chip->Points.AddPoint(0, 10, 0, 360);
  const std::pair<TQBTIDFElectrPropKind, TQBTIDFPropValue> Props[] = {
      {epCapacitance, 1e-6},
      {epResistance, 100.0},
      {epTolerance, 0.1},
      {epCustom, std::string("10 k")},
      {epThetaJC, std::string("")}};
  for (const auto& [Kind, Value] : Props) {
    TQBTIDFElectrProp* Prop = Chip->Props.Add();
    Prop->Kind = Kind;
    Prop->Name = Kind == epCustom ? "VALUE" : "ignored";
    Prop->Value = Value;
  }
  TQBTIDFMechComp* Bracket = Library.MechComps.Add();
  Bracket->GeometryName = "BRACKET";
  Bracket->Units = udMM;
  Bracket->Props.Add()->Value = 1.0; // a mechanical geometry writes no properties
  // The mechanical list is written after the electrical one, whatever was added first.
  std::string Text;
  Library.GetText(Text);
  EXPECT_EQ(Text,
            Lines({".HEADER", "LIBRARY_FILE 3.0 sys 2009/05/12.14:33:10 0", ".END_HEADER",
                   ".ELECTRICAL", "\"SO 8\" NE555 THOU 60.0", "0 0.0 0.0 0.0", "0 10.0 0.0 360.0",
                   "PROP CAPACITANCE 1E-6", "PROP RESISTANCE 100", "PROP TOLERANCE 0.1",
                   "PROP VALUE \"10 k\"", "PROP THETA_JC \"\"", ".END_ELECTRICAL", ".MECHANICAL",
                   "BRACKET \"\" MM 0.0", "", ".END_MECHANICAL"}));

  Library.Header.Version = vn20;
  Library.GetText(Text);
  EXPECT_EQ(Text.find("PROP"), std::string::npos);
  EXPECT_NE(Text.find("0 10.0 0.0 360.0\r\n.END_ELECTRICAL"), std::string::npos);
}

// The export never fills cutouts, but a model that was read keeps them: each is written under
// its own rising label so that reading gives the same loops back.
TEST_F(Writer, BoardOutlineCutoutsFollowTheOutlineUnderRisingLabels) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  SetHeader(Board, vn30, udMM);
  AddRectangle(Board.Outline, false, 0, 0, 0, 10, 10);
  Board.Outline.AddCutout()->AddPoint(1, 5, 5, 0);
  Board.Outline.Cutouts.back()->AddPoint(1, 6, 5, 360);
  Board.Outline.AddCutout(); // an empty loop has nothing to write
  AddRectangle(*Board.Outline.AddCutout(), true, 1, 1, 1, 2, 2);
  std::string Text;
  Board.Outline.GetText(Text);
  EXPECT_EQ(Text, Joined({".BOARD_OUTLINE UNOWNED", "0.0", "0 0.0 0.0 0.0", "0 10.0 0.0 0.0",
                          "0 10.0 10.0 0.0", "0 0.0 10.0 0.0", "0 0.0 0.0 0.0", "1 5.0 5.0 0.0",
                          "1 6.0 5.0 360.0", "2 1.0 1.0 0.0", "2 1.0 2.0 0.0", "2 2.0 2.0 0.0",
                          "2 2.0 1.0 0.0", "2 1.0 1.0 0.0", ".END_BOARD_OUTLINE"}));
}

// What the writer quotes and relabels must come back whole through the reader.
TEST_F(Writer, ReadingTheTextGivesTheModelBack) {
  for (TQBTIDFVerNumber Version : {vn20, vn30}) {
    TQBTIDFBoardFile Board(nullptr, fkBoard);
    SetHeader(Board, Version, udMM);
    Board.Header.BoardName = "";
    AddRectangle(Board.Outline, false, 0, 0, 0, 10, 10);
    Board.Outline.AddCutout()->AddPoint(1, 5, 5, 0);
    Board.Outline.Cutouts.back()->AddPoint(1, 6, 5, 360);
    AddRectangle(*Board.Outline.AddCutout(), true, 1, 1, 1, 2, 2);
    TQBTIDFPlacementItem* Part = AddPart(Board, "#pkg", "", "");
    Part->Status = stPlaced;
    TQBTIDFDrilledHole* Hole = AddHole(Board, 1, 2, 3);
    Hole->AssocPart = apRefDes;
    Hole->AssocPartName = "";
    TQBTIDFPlaceRegion* Region = Board.PlaceRegions.Add();
    Region->GroupName = "a \"b\"\nc";
    AddRectangle(Region->Points, false, 0, 0, 0, 1, 1);
    for (const char* Identifier : {"heat sink", "", "#lid", "plain"}) {
      TQBTIDFOtherOutline* Other = Board.OtherOutlines.Add();
      Other->Identifier = Identifier;
      AddRectangle(Other->Points, false, 0, 0, 0, 1, 1);
    }
    std::string Text;
    Board.GetText(Text);
    EXPECT_NE(Text.find("\r\nplain 0.0"), std::string::npos); // a plain name stays unquoted

    TQBTIDFBoardFile Read(nullptr, fkBoard);
    Read.LoadFromText(Text);
    EXPECT_EQ(Read.Header.BoardName, "");
    EXPECT_EQ(Read.Outline.Count(), 5);
    ASSERT_EQ(Read.Outline.Cutouts.size(), 2u);
    EXPECT_EQ(Read.Outline.Cutouts[0]->Count(), 2);
    EXPECT_EQ(Read.Outline.Cutouts[0]->PointItems(1)->InclAngle, 360);
    EXPECT_EQ(Read.Outline.Cutouts[1]->Count(), 5);
    ASSERT_EQ(Read.Placement.Count(), 1);
    EXPECT_EQ(Read.Placement.Items(0)->PackageName, "#pkg");
    EXPECT_EQ(Read.Placement.Items(0)->PartNumber, "");
    EXPECT_EQ(Read.Placement.Items(0)->RefDes, "");
    EXPECT_EQ(Read.Placement.Items(0)->Status, stPlaced);
    ASSERT_EQ(Read.DrilledHoles.Count(), 1);
    EXPECT_EQ(Read.DrilledHoles.Items(0)->AssocPart, apRefDes);
    EXPECT_EQ(Read.DrilledHoles.Items(0)->AssocPartName, "");
    ASSERT_EQ(Read.PlaceRegions.Count(), 1);
    EXPECT_EQ(Read.PlaceRegions.Items(0)->GroupName, "a 'b' c");
    ASSERT_EQ(Read.OtherOutlines.Count(), 4);
    EXPECT_EQ(Read.OtherOutlines.Items(0)->Identifier, "heat sink");
    EXPECT_EQ(Read.OtherOutlines.Items(1)->Identifier, "");
    EXPECT_EQ(Read.OtherOutlines.Items(2)->Identifier, "#lid");

    std::string Again;
    Read.GetText(Again);
    EXPECT_EQ(Again, Text);
  }
}

// A custom property's name comes back as one token, whatever a file that was read gave it.
TEST_F(Writer, ReadingALibraryTextGivesItsPropertiesBack) {
  TQBTIDFLibraryFile Library(nullptr);
  Library.Header.Version = vn30;
  Library.Header.SystemName = "sys";
  Library.Header.Date = Date(2009, 5, 12, 14, 33, 10);
  TQBTIDFElectrComp* Chip = Library.ElectrComps.Add();
  Chip->GeometryName = "chip";
  Chip->Points.AddPoint(0, 0, 0, 0);
  const char* const Names[] = {"rated voltage", "", "#pins", "plain"};
  for (const char* Name : Names) {
    TQBTIDFElectrProp* Prop = Chip->Props.Add();
    Prop->Name = Name;
    Prop->Value = 16.0;
  }
  std::string Text;
  Library.GetText(Text);
  EXPECT_NE(Text.find("\r\nPROP plain 16\r\n"), std::string::npos); // a plain name stays unquoted

  TQBTIDFLibraryFile Read(nullptr);
  Read.LoadFromText(Text);
  ASSERT_EQ(Read.ElectrComps.Count(), 1);
  const TQBTIDFElectrComp& Back = *Read.ElectrComps.Items(0);
  ASSERT_EQ(Back.Props.Count(), 4);
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(Back.Props.Items(I)->Name, Names[I]);
    EXPECT_EQ(Back.Props.Items(I)->Value, TQBTIDFPropValue(16.0)) << Names[I];
  }
  std::string Again;
  Read.GetText(Again);
  EXPECT_EQ(Again, Text);
}

TEST_F(Writer, SaveFailsWithTheFileLayersError) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  test::TempDir Dir;
  try {
    Board.SaveToFile(Dir.File("missing/x.brd"));
    FAIL() << "saved into a missing folder";
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find("Cannot create file"), std::string::npos) << E.Message();
  }
}

} // namespace
} // namespace qbt
