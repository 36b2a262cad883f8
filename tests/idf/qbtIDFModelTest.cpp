#include "idf/qbtIDFModel.h"

#include "idf/qbtIDFLog.h"
#include "platform/DateUtils.h"
#include "report/RT_Report.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qbt {
namespace {

struct P {
  int32_t Label;
  long double X, Y, Angle;
  bool operator==(const P&) const = default;
};

std::vector<P> PointsOf(const TQBTIDFPointsList& List) {
  std::vector<P> Result;
  for (int I = 0; I < List.Count(); ++I) {
    const TQBTIDFPointItem* Pt = List.PointItems(I);
    Result.push_back({Pt->LoopLabel, Pt->X, Pt->Y, Pt->InclAngle});
  }
  return Result;
}

void PrintTo(const P& Pt, std::ostream* Os) {
  *Os << "(" << Pt.Label << " " << static_cast<double>(Pt.X) << " " << static_cast<double>(Pt.Y)
      << " " << static_cast<double>(Pt.Angle) << ")";
}

TEST(Outline, AddRectangleStartsLowerLeftInEitherDirection) {
  TQBTIDFPointsList Ccw;
  AddRectangle(Ccw, false, 0, 10, 20, 0, 0);
  EXPECT_EQ(
      PointsOf(Ccw),
      (std::vector<P>{{0, 0, 0, 0}, {0, 10, 0, 0}, {0, 10, 20, 0}, {0, 0, 20, 0}, {0, 0, 0, 0}}));
  TQBTIDFPointsList Cw;
  AddRect(Cw, {{10, 20}, {0, 0}}, true, 3);
  EXPECT_EQ(
      PointsOf(Cw),
      (std::vector<P>{{3, 0, 0, 0}, {3, 0, 20, 0}, {3, 10, 20, 0}, {3, 10, 0, 0}, {3, 0, 0, 0}}));
}

long double DistanceTo(const TQBTIDFPointItem* P, const TQBTPointRec& Q) {
  return Distance({P->X, P->Y}, Q);
}

// Every corner lies at the side distance from the centre line, and every side arc is concentric
// with it: built on the mirror image of the arc, the sides would turn about another centre.
TEST(Outline, TrackOutlineFollowsItsCentreLineAtTheSideDistance) {
  const TQBTPointRec S{0, 0};
  const TQBTPointRec E{100, 0};
  const long double D = 10;
  const std::pair<int32_t, long double> Cases[] = {{0, 0},   {1, 0},   {0, 90},  {1, 90},
                                                   {0, -60}, {1, -60}, {0, 180}, {1, 270}};
  for (const auto& [Orientation, Arc] : Cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << Orientation << " arc " << double(Arc));
    TQBTIDFPointsList L;
    ASSERT_TRUE(AddTrackOutline(L, Orientation, 4, S.X, S.Y, E.X, E.Y, D, Arc));
    ASSERT_EQ(L.Count(), 5);
    EXPECT_EQ(L.PointItems(0)->X, L.PointItems(4)->X);
    EXPECT_EQ(L.PointItems(0)->Y, L.PointItems(4)->Y);
    const TQBTArcCentreRec Centre = ArcCentre({S, E, Arc});
    for (int I = 0; I < 5; ++I) {
      const TQBTIDFPointItem* Pt = L.PointItems(I);
      EXPECT_EQ(Pt->LoopLabel, 4);
      if (Arc == 0) {
        EXPECT_NEAR(double(std::fabs(Pt->Y)), double(D), 1e-3) << I;
      } else {
        EXPECT_NEAR(double(std::fabs(DistanceTo(Pt, Centre.Centre) - Centre.Radius)), double(D),
                    1e-3)
            << I;
      }
      if (I == 0) {
        continue;
      }
      const TQBTIDFPointItem* Prev = L.PointItems(I - 1);
      const long double Angle = Pt->InclAngle;
      const TQBTPointRec Turn = ArcCentre({{Prev->X, Prev->Y}, {Pt->X, Pt->Y}, Angle}).Centre;
      const bool RoundEnd = Orientation == 1 ? I % 2 == 1 : I % 2 == 0;
      if (RoundEnd) { // half a circle about S or E
        EXPECT_EQ(std::fabs(Angle), 180) << I;
        EXPECT_NEAR(double(std::min(Distance(Turn, S), Distance(Turn, E))), 0, 1e-3) << I;
      } else if (Arc != 0) {
        ASSERT_EQ(std::fabs(Angle), std::fabs(Arc)) << I;
        EXPECT_NEAR(double(Distance(Turn, Centre.Centre)), 0, 1e-3) << I;
      } else {
        EXPECT_EQ(Angle, 0) << I;
      }
    }
    // Orientation 0 runs counter-clockwise, 1 clockwise (told by the corners while the arc
    // is flat enough).
    if (std::fabs(Arc) < 180) {
      bool Clockwise = false;
      PolygonFromPointsList(L)->Area(Clockwise);
      EXPECT_EQ(Clockwise, Orientation == 1);
    }
  }
}

TEST(Outline, StraightTrackOutlineReadsBackAsATrack) {
  TQBTIDFPointsList L;
  ASSERT_TRUE(AddTrackOutline(L, 0, 0, 0, 0, 100, 0, 10, 0));
  EXPECT_EQ(
      PointsOf(L),
      (std::vector<P>{
          {0, 0, -10, 0}, {0, 100, -10, 0}, {0, 100, 10, 180}, {0, 0, 10, 0}, {0, 0, -10, 180}}));
  EXPECT_EQ(ShapeKind(L), psTrack);
  const TQBTTrackShapeRec Track = GetTrackShape(L);
  EXPECT_EQ(Track.HalfWidth, 10);
  EXPECT_NEAR(double(Distance(Track.StartPoint, {100, 0}) + Distance(Track.EndPoint, {0, 0})), 0,
              1e-9);

  TQBTIDFPointsList Rect;
  AddRectangle(Rect, false, 0, 0, 0, 10, 5);
  EXPECT_EQ(ShapeKind(Rect), psRectangle);
  EXPECT_EQ(GetRectangle(Rect).EndPoint.X, 10);
  EXPECT_EQ(GetRectangle(Rect).EndPoint.Y, 5);
}

TEST(Outline, TrackWithoutLengthAddsNothing) {
  TQBTIDFPointsList L;
  EXPECT_FALSE(AddTrackOutline(L, 0, 0, 5, 5, 5, 5, 10, 90));
  EXPECT_EQ(L.Count(), 0);
  TQBTIDFRouteKeepOuts KeepOuts;
  KeepOuts.AddTrack(rlAll, owMCAD, 0, 0, 10, 0, 2, 0);
  KeepOuts.AddTrack(rlTop, owECAD, 5, 5, 5, 5, 2, 0);
  ASSERT_EQ(KeepOuts.Count(), 1);
  EXPECT_EQ(KeepOuts.Items(0)->Layers, rlAll);
  EXPECT_EQ(KeepOuts.Items(0)->Owner, owMCAD);
  EXPECT_EQ(KeepOuts.Items(0)->Points.Count(), 5);
}

std::vector<int32_t> LabelsOf(const TQBTIDFPointsList& L) {
  std::vector<int32_t> Labels;
  for (const P& Pt : PointsOf(L)) {
    Labels.push_back(Pt.Label);
  }
  return Labels;
}

TEST(ImportChecks, RemoveExtraLoopsWarnsOnceWithTheOutlinesPlace) {
  GetLog().Clear();
  TQBTIDFFile File;
  File.FileName = "b.emn";
  TQBTIDFBoardOutline& Outline = File.BoardFile.Outline;
  for (int32_t Label : {0, 0, 2, 2, 1}) {
    Outline.AddPoint(Label, Label * 10, 0, 0);
  }
  EXPECT_TRUE(RemoveExtraLoops(Outline, true));
  EXPECT_EQ(LabelsOf(Outline), (std::vector<int32_t>{0, 0, 2, 2, 1}));

  Outline.SourceLine = 7;
  Outline.SourceChar = 3;
  EXPECT_TRUE(RemoveExtraLoops(Outline, false));
  EXPECT_EQ(PointsOf(Outline), (std::vector<P>{{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 10, 0, 0}}));
  EXPECT_FALSE(RemoveExtraLoops(Outline, false));
  ASSERT_EQ(GetLog().Count(), 2);
  EXPECT_EQ(GetLog().Items(0)->Kind, lkImportWarnings);
  EXPECT_EQ(GetLog().Items(0)->Text, "Outline contains additional cutouts which were ignored.");
  EXPECT_EQ(GetLog().Items(1)->Text, "File : b.emn\r\nLine : 7  Char : 3\r\n"
                                     "Outline contains additional cutouts which were ignored.");
  GetLog().Clear();
}

TEST(ImportChecks, HasCircleFindsAFullTurnEitherWay) {
  GetLog().Clear();
  TQBTIDFPointsList L;
  L.AddPoint(0, 0, 0, 0);
  L.AddPoint(0, 5, 0, 180);
  EXPECT_FALSE(HasCircle(L, true));
  L.PointItems(1)->InclAngle = -360;
  EXPECT_TRUE(HasCircle(L, false));
  EXPECT_EQ(GetLog().Count(), 0);
  L.PointItems(1)->InclAngle = 359.99999L; // the same value at the comparison's precision
  EXPECT_TRUE(HasCircle(L, true));
  ASSERT_EQ(GetLog().Count(), 1);
  EXPECT_EQ(GetLog().Items(0)->Kind, lkImportWarnings);
  EXPECT_EQ(GetLog().Items(0)->Text, "Outline contains circle(s) and is ignored.");
  GetLog().Clear();
}

// The driver supplies the report header and the board's name.
class DriverFile : public TQBTIDFFile {
public:
  void GetSourceName(std::string& Name) const override { Name = "board.PcbDoc"; }
  void GetReportHeader(std::string& Text) const override { Text = "Exported by test"; }
};

TEST(Reports, TheLogOfTheRunUnderTheDriversHeader) {
  GetLog().Clear();
  GetLog().AddMessage(lkExportWarnings, "w1");
  GetLog().AddMessage(lkLoadErrors, "e1");
  DriverFile File;
  File.FileName = "out/x.emp";

  const std::string Export = File.GetReportText(false);
  EXPECT_EQ(Export.rfind("Exported by test\r\n\r\nErrors : 0\r\n", 0), 0u) << Export;
  EXPECT_NE(Export.find("Export Warnings : 1\r\n\r\nw1\r\n\r\n"), std::string::npos);
  EXPECT_EQ(Export.find("e1"), std::string::npos);
  const std::string Import = File.GetReportText(true);
  EXPECT_EQ(Import.rfind("Exported by test\r\n\r\nLoad Errors : 1\r\n\r\ne1", 0), 0u);
  EXPECT_EQ(Import.find("w1"), std::string::npos);

  const std::string Xml = File.CreateReport(false)->GetXMLText();
  for (const char* Part :
       {"<title>IDF File Translation Report</title>",
        "<file filename=\"board.PcbDoc\">board.PcbDoc</file>", "<text>out/x.emn</text>",
        "<text>out/x.emp</text>", "<text>w1</text>", "<title>Export Errors</title>"}) {
    EXPECT_NE(Xml.find(Part), std::string::npos) << Part << "\n" << Xml;
  }
  EXPECT_EQ(Xml.find("e1"), std::string::npos);
  GetLog().Clear();
}

TEST(FileNames, CompanionsFollowTheExtensionTable) {
  const std::tuple<const char*, const char*, const char*, const char*> Cases[] = {
      // name, board, library, panel
      {"x.brd", "x.brd", "x.pro", "x.pnl"},
      {"x.pro", "x.brd", "x.pro", "x.pnl"},
      {"x.emn", "x.emn", "x.emp", "x.pnl"},
      {"x.emp", "x.emn", "x.emp", "x.pnl"},
      {"X.BRD", "X.brd", "X.pro", "X.pnl"},
      {"d/x.EmP", "d/x.emn", "d/x.emp", "d/x.pnl"},
      {"x.txt", "x.brd", "x.pro", "x.pnl"},
      {"x", "x.brd", "x.pro", "x.pnl"},
      {"dir.emn/x", "dir.emn/x.brd", "dir.emn/x.pro", "dir.emn/x.pnl"},
  };
  for (const auto& [Name, Board, Library, Panel] : Cases) {
    EXPECT_EQ(GetBoardFileName(Name), Board) << Name;
    EXPECT_EQ(GetLibraryFileName(Name), Library) << Name;
    EXPECT_EQ(GetPanelFileName(Name), Panel) << Name;
  }
  TQBTIDFFile File;
  File.FileName = "a.emp";
  EXPECT_EQ(File.GetFileName(fkBoard), "a.emn");
  EXPECT_EQ(File.GetFileName(fkPanel), "a.pnl");
  EXPECT_EQ(File.GetFileName(fkLibrary), "a.emp");
  EXPECT_EQ(File.GetFileName(static_cast<TQBTIDFFileKind>(7)), "a.emp");
  std::string Name;
  File.BoardFile.Outline.GetFileName(Name);
  EXPECT_EQ(Name, "a.emn");
}

TEST(Library, IndexOfGeometryTrimsAndIgnoresCase) {
  TQBTIDFLibraryFile Library(nullptr);
  Library.ElectrComps.Add()->GeometryName = "abd";
  Library.ElectrComps.Add()->GeometryName = "\tABC ";
  Library.ElectrComps.Add()->GeometryName = "abc";
  EXPECT_EQ(Library.ElectrComps.IndexOfGeometry("  abc "), 1);
  EXPECT_EQ(Library.ElectrComps.IndexOfGeometry("ab"), -1);
  EXPECT_EQ(Library.MechComps.IndexOfGeometry("abc"), -1);
}

TEST(Versions, AdjustmentsMakeValuesValidForTheVersion) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  TQBTIDFPlacementItem* Part = Board.Placement.Add();
  Part->RefDesKind = rkBoard;
  TQBTIDFDrilledHole* Hole = Board.DrilledHoles.Add();
  Hole->AssocPart = apPanel;
  Board.RouteOutlines.Add()->Layers = rlInner;
  Board.RouteKeepOuts.Add()->Layers = rlInner;

  Board.AdjustToVersion(vn30);
  EXPECT_EQ(Part->Status, stECAD);
  EXPECT_EQ(Part->RefDesKind, rkBoard);
  EXPECT_EQ(Hole->AssocPart, apPanel);
  EXPECT_EQ(Board.RouteOutlines.Items(0)->Layers, rlInner);

  Board.AdjustToVersion(vn20);
  EXPECT_EQ(Part->Status, stFixed);
  EXPECT_EQ(Part->RefDesKind, rkNoRefDes);
  EXPECT_EQ(Hole->AssocPart, apBoard);
  EXPECT_EQ(Board.RouteOutlines.Items(0)->Layers, rlTop);
  EXPECT_EQ(Board.RouteKeepOuts.Items(0)->Layers, rlTop);

  const std::tuple<TQBTIDFPlacementStatus, TQBTIDFVerNumber, TQBTIDFPlacementStatus> Cases[] = {
      {stMCAD, vn20, stFixed},        {stECAD, vn20, stFixed}, {stPlaced, vn20, stPlaced},
      {stUnplaced, vn30, stUnplaced}, {stMCAD, vn30, stMCAD},  {stFixed, vn30, stECAD}};
  for (const auto& [Before, Version, After] : Cases) {
    Part->Status = Before;
    Part->AdjustToVersion(Version);
    EXPECT_EQ(Part->Status, After) << int(Before) << " " << int(Version);
  }
}

// A board file with one record of each kind at (1, 2), heights and sizes 3.
void FillBoard(TQBTIDFBoardFile& Board) {
  Board.Outline.Thickness = 3;
  Board.Outline.AddPoint(0, 1, 2, 0);
  Board.Outline.AddCutout()->AddPoint(1, 1, 2, 0);
  TQBTIDFOtherOutline* Other = Board.OtherOutlines.Add();
  Other->Thickness = 3;
  Other->Points.AddPoint(0, 1, 2, 0);
  Board.RouteOutlines.Add()->Points.AddPoint(0, 1, 2, 0);
  TQBTIDFPlaceOutline* Place = Board.PlaceOutlines.Add();
  Place->Height = 3;
  Place->Points.AddPoint(0, 1, 2, 0);
  Board.RouteKeepOuts.Add()->Points.AddPoint(0, 1, 2, 0);
  Board.ViaKeepOuts.Add()->Points.AddPoint(0, 1, 2, 0);
  TQBTIDFPlaceKeepOut* KeepOut = Board.PlaceKeepOuts.Add();
  KeepOut->Height = 3;
  KeepOut->SecondHeight = 3;
  KeepOut->Points.AddPoint(0, 1, 2, 0);
  Board.PlaceRegions.Add()->Points.AddPoint(0, 1, 2, 0);
  TQBTIDFDrilledHole* Hole = Board.DrilledHoles.Add();
  Hole->Diameter = 3;
  Hole->X = 1;
  Hole->Y = 2;
  TQBTIDFPlacementItem* Part = Board.Placement.Add();
  Part->X = 1;
  Part->Y = 2;
  Part->MountOffset = 3;
  Part->Rotation = 3;
  TQBTIDFNoteItem* Note = Board.Notes.Add();
  Note->X = 1;
  Note->Y = 2;
  Note->TextHeight = 3;
  Note->TextLength = 3;
}

// Every position of the board file, and every size, as (what, value) pairs.
std::vector<std::pair<std::string, long double>> Positions(const TQBTIDFBoardFile& B) {
  std::vector<std::pair<std::string, long double>> R;
  auto Point = [&R](const std::string& Name, const TQBTIDFPointsList& L) {
    R.push_back({Name + ".X", L.PointItems(0)->X});
    R.push_back({Name + ".Y", L.PointItems(0)->Y});
  };
  Point("outline", B.Outline);
  Point("cutout", *B.Outline.Cutouts[0]);
  Point("other", B.OtherOutlines.Items(0)->Points);
  Point("route", B.RouteOutlines.Items(0)->Points);
  Point("place", B.PlaceOutlines.Items(0)->Points);
  Point("routekeepout", B.RouteKeepOuts.Items(0)->Points);
  Point("viakeepout", B.ViaKeepOuts.Items(0)->Points);
  Point("placekeepout", B.PlaceKeepOuts.Items(0)->Points);
  Point("region", B.PlaceRegions.Items(0)->Points);
  R.push_back({"hole.X", B.DrilledHoles.Items(0)->X});
  R.push_back({"hole.Y", B.DrilledHoles.Items(0)->Y});
  R.push_back({"part.X", B.Placement.Items(0)->X});
  R.push_back({"part.Y", B.Placement.Items(0)->Y});
  R.push_back({"note.X", B.Notes.Items(0)->X});
  R.push_back({"note.Y", B.Notes.Items(0)->Y});
  return R;
}

std::vector<std::pair<std::string, long double>> Sizes(const TQBTIDFBoardFile& B) {
  return {{"outline.Thickness", B.Outline.Thickness},
          {"other.Thickness", B.OtherOutlines.Items(0)->Thickness},
          {"place.Height", B.PlaceOutlines.Items(0)->Height},
          {"placekeepout.Height", B.PlaceKeepOuts.Items(0)->Height},
          {"placekeepout.SecondHeight", B.PlaceKeepOuts.Items(0)->SecondHeight},
          {"hole.Diameter", B.DrilledHoles.Items(0)->Diameter},
          {"part.MountOffset", B.Placement.Items(0)->MountOffset},
          {"note.TextHeight", B.Notes.Items(0)->TextHeight},
          {"note.TextLength", B.Notes.Items(0)->TextLength}};
}

TEST(BoardFile, MoveByMovesEveryPositionAndNoSize) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  FillBoard(Board);
  Board.MoveBy({10, -5});
  for (const auto& [What, Value] : Positions(Board)) {
    EXPECT_EQ(Value, What.back() == 'X' ? 11 : -3) << What;
  }
  for (const auto& [What, Value] : Sizes(Board)) {
    EXPECT_EQ(Value, 3) << What;
  }
  EXPECT_EQ(Board.Placement.Items(0)->Rotation, 3);
}

TEST(BoardFile, ConversionsReachEveryLengthButNoAngle) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  FillBoard(Board);
  Board.OtherOutlines.Items(0)->Points.PointItems(0)->InclAngle = 90;
  Board.ConvertFromThou(udTNM);
  for (const auto& [What, Value] : Positions(Board)) {
    EXPECT_EQ(Value, What.back() == 'X' ? 2540 : 5080) << What;
  }
  for (const auto& [What, Value] : Sizes(Board)) {
    EXPECT_EQ(Value, 7620) << What;
  }
  EXPECT_EQ(Board.Placement.Items(0)->Rotation, 3);
  EXPECT_EQ(Board.OtherOutlines.Items(0)->Points.PointItems(0)->InclAngle, 90);
  Board.ConvertToThou(udTNM);
  for (const auto& [What, Value] : Sizes(Board)) {
    EXPECT_NEAR(static_cast<double>(Value), 3, 1e-12) << What;
  }
}

TEST(LibraryFile, NormalizeUnitsExpressesEveryGeometryInOneUnit) {
  TQBTIDFFile File;
  TQBTIDFElectrComp* InThou = File.LibraryFile.ElectrComps.Add();
  InThou->Units = udTHOU;
  InThou->Height = 100;
  InThou->Points.AddPoint(0, 1000, 0, 45);
  TQBTIDFMechComp* InMM = File.LibraryFile.MechComps.Add();
  InMM->Units = udMM;
  InMM->Height = 2;
  File.LibraryFile.NormalizeUnits(udMM);
  EXPECT_EQ(InThou->Units, udMM);
  EXPECT_NEAR(static_cast<double>(InThou->Height), 2.54, 1e-12);
  EXPECT_NEAR(static_cast<double>(InThou->Points.PointItems(0)->X), 25.4, 1e-12);
  EXPECT_EQ(InThou->Points.PointItems(0)->InclAngle, 45);
  EXPECT_NEAR(static_cast<double>(InMM->Height), 2, 1e-15);

  // Then the whole translation goes to thou; the library is never moved.
  File.ConvertToThou(udMM);
  EXPECT_NEAR(static_cast<double>(InThou->Height), 100, 1e-9);
  EXPECT_NEAR(static_cast<double>(InMM->Height), 2 / 0.0254, 1e-9);
  File.BoardFile.MoveBy({5, 5});
  EXPECT_NEAR(static_cast<double>(InThou->Points.PointItems(0)->X), 1000, 1e-9);
}

TEST(Files, NewAndClearedStates) {
  TQBTIDFFile File;
  const TQBTIDFBoardHeader& Fresh = File.BoardFile.Header;
  EXPECT_EQ(Fresh.Version, vn20);
  EXPECT_EQ(Fresh.SystemName, "");
  EXPECT_EQ(Fresh.Date, 0);
  EXPECT_EQ(Fresh.FileVersion, 0);
  EXPECT_EQ(Fresh.Units, udMM);
  EXPECT_EQ(File.PanelFile.Kind, fkPanel);
  EXPECT_TRUE(File.LibraryFile.ElectrComps.Add()->IsElectrical);
  EXPECT_FALSE(File.LibraryFile.MechComps.Add()->IsElectrical);

  FillBoard(File.BoardFile);
  File.BoardFile.Header.BoardName = "b";
  const double Before = CurrentDateTime();
  File.BoardFile.Clear();
  File.LibraryFile.Clear();
  const double After = CurrentDateTime();
  const TQBTIDFLibraryHeader* const Headers[] = {&File.BoardFile.Header, &File.LibraryFile.Header};
  for (const TQBTIDFLibraryHeader* H : Headers) {
    EXPECT_EQ(H->Version, vn30);
    EXPECT_EQ(H->SystemName, "Vendra KQX");
    EXPECT_EQ(H->FileVersion, 1);
    EXPECT_GE(H->Date, Before);
    EXPECT_LE(H->Date, After);
  }
  EXPECT_EQ(File.BoardFile.Header.BoardName, "");
  EXPECT_EQ(File.BoardFile.Outline.Count(), 0);
  EXPECT_EQ(File.BoardFile.Notes.Count(), 0);
  EXPECT_EQ(File.BoardFile.Placement.Count(), 0);
  EXPECT_EQ(File.LibraryFile.MechComps.Count(), 0);
  // The reader empties the cutouts when it starts an outline.
  EXPECT_EQ(File.BoardFile.Outline.Cutouts.size(), 1u);

  File.SetVersion(vn20);
  EXPECT_EQ(File.BoardFile.Header.Version, vn20);
  EXPECT_EQ(File.PanelFile.Header.Version, vn20);
  EXPECT_EQ(File.LibraryFile.Header.Version, vn20);
}

TEST(Records, VersionComesFromTheOwningFile) {
  TQBTIDFFile File;
  File.SetVersion(vn20);
  TQBTIDFDrilledHole* Hole = File.BoardFile.DrilledHoles.Add();
  EXPECT_EQ(Hole->BoardFile(), &File.BoardFile);
  EXPECT_EQ(Hole->Version(), vn20);
  TQBTIDFElectrComp* Comp = File.LibraryFile.ElectrComps.Add();
  EXPECT_EQ(Comp->LibraryFile(), &File.LibraryFile);
  EXPECT_EQ(Comp->Version(), vn20);
  TQBTIDFDrilledHoles Loose;
  EXPECT_EQ(Loose.Add()->BoardFile(), nullptr);
}

TEST(Builders, RecordsTakeTheirFieldsAndACopyOfTheOutline) {
  TQBTIDFBoardFile Board(nullptr, fkBoard);
  TQBTIDFPointsList Source;
  AddRectangle(Source, false, 0, 0, 0, 2, 1);
  Board.PlaceOutlines.AddOutline(bsBottom, owECAD, 7, Source);
  Board.PlaceKeepOuts.AddSuch(bsBoth, owMCAD, 8, 9, Source);
  Board.PlaceRegions.AddRegion("room", bsTop, owECAD, Source);
  Board.RouteKeepOuts.AddRect(rlAll, owMCAD, 2, 1, 0, 0);
  Source.Clear();

  const TQBTIDFPlaceOutline* Outline = Board.PlaceOutlines.Items(0);
  EXPECT_EQ(Outline->Side, bsBottom);
  EXPECT_EQ(Outline->Owner, owECAD);
  EXPECT_EQ(Outline->Height, 7);
  const TQBTIDFPlaceKeepOut* KeepOut = Board.PlaceKeepOuts.Items(0);
  EXPECT_EQ(KeepOut->Side, bsBoth);
  EXPECT_EQ(KeepOut->Owner, owMCAD);
  EXPECT_EQ(KeepOut->Height, 8);
  EXPECT_EQ(KeepOut->SecondHeight, 9);
  const TQBTIDFPlaceRegion* Region = Board.PlaceRegions.Items(0);
  EXPECT_EQ(Region->GroupName, "room");
  EXPECT_EQ(Region->Owner, owECAD);
  const TQBTIDFRouteKeepOut* Route = Board.RouteKeepOuts.Items(0);
  EXPECT_EQ(Route->Layers, rlAll);
  EXPECT_EQ(Route->Owner, owMCAD);
  const std::vector<P> Rect{{0, 0, 0, 0}, {0, 2, 0, 0}, {0, 2, 1, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}};
  for (const TQBTIDFPointsList* L :
       {&Outline->Points, &KeepOut->Points, &Region->Points, &Route->Points}) {
    EXPECT_EQ(PointsOf(*L), Rect);
  }
}

TEST(Assign, CopiesWholeRecordsAndRefusesUnrelatedOnes) {
  TQBTIDFBoardFile A(nullptr, fkBoard);
  FillBoard(A);
  TQBTIDFPlacementItem* Part = A.Placement.Items(0);
  Part->PackageName = "pkg";
  Part->RefDes = "U1";
  Part->Status = stMCAD;
  Part->Owner = owECAD;
  A.DrilledHoles.Items(0)->HoleTypeName = "SLOT";
  A.Outline.Owner = owMCAD;

  TQBTIDFBoardFile B(nullptr, fkBoard);
  B.Placement.Assign(A.Placement);
  B.DrilledHoles.Assign(A.DrilledHoles);
  B.PlaceKeepOuts.Assign(A.PlaceKeepOuts);
  B.Outline.Assign(A.Outline);
  A.Outline.Cutouts.clear();
  EXPECT_EQ(B.Placement.Items(0)->PackageName, "pkg");
  EXPECT_EQ(B.Placement.Items(0)->RefDes, "U1");
  EXPECT_EQ(B.Placement.Items(0)->Status, stMCAD);
  EXPECT_EQ(B.Placement.Items(0)->Owner, owECAD);
  EXPECT_EQ(B.Placement.Items(0)->MountOffset, 3);
  EXPECT_EQ(B.DrilledHoles.Items(0)->HoleTypeName, "SLOT");
  EXPECT_EQ(B.PlaceKeepOuts.Items(0)->SecondHeight, 3);
  EXPECT_EQ(PointsOf(B.PlaceKeepOuts.Items(0)->Points), (std::vector<P>{{0, 1, 2, 0}}));
  EXPECT_EQ(B.Outline.Owner, owMCAD);
  EXPECT_EQ(B.Outline.Thickness, 3);
  ASSERT_EQ(B.Outline.Cutouts.size(), 1u);
  EXPECT_EQ(PointsOf(*B.Outline.Cutouts[0]), (std::vector<P>{{1, 1, 2, 0}}));

  TQBTIDFNoteItem Note;
  TQBTIDFPlaceOutline Outline;
  try {
    Outline.Assign(Note);
    FAIL() << "assigned a note to an outline";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TQBTIDFNoteItem to a TQBTIDFPlaceOutline");
  }
  EXPECT_THROW(Note.Assign(Outline), Exception);

  // A record of another kind would lose its own fields: refused like any unrelated object.
  TQBTIDFDrilledHole Hole;
  TQBTIDFPlacementItem Placement;
  TQBTIDFViaKeepOut Via;
  TQBTIDFPlaceKeepOut KeepOut;
  TQBTIDFMechComp Mech;
  TQBTIDFElectrComp Electr;
  const std::tuple<TQBTIDFPersistent*, const TQBTIDFPersistent*, const char*> Refused[] = {
      {&Placement, &Hole, "Cannot assign a TQBTIDFDrilledHole to a TQBTIDFPlacementItem"},
      {&Hole, &Placement, "Cannot assign a TQBTIDFPlacementItem to a TQBTIDFDrilledHole"},
      {&Via, &Hole, "Cannot assign a TQBTIDFDrilledHole to a TQBTIDFViaKeepOut"},
      {&Outline, &KeepOut, "Cannot assign a TQBTIDFPlaceKeepOut to a TQBTIDFPlaceOutline"},
      {&Electr, &Hole, "Cannot assign a TQBTIDFDrilledHole to a TQBTIDFElectrComp"},
  };
  for (const auto& [Target, Source, Message] : Refused) {
    try {
      Target->Assign(*Source);
      ADD_FAILURE() << "no error for " << Message;
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), Message);
    }
  }
  // Geometries of either list share their fields.
  Mech.GeometryName = "BRACKET";
  Electr.Assign(Mech);
  EXPECT_EQ(Electr.GeometryName, "BRACKET");
}

} // namespace
} // namespace qbt
