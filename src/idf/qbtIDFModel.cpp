#include "idf/qbtIDFModel.h"

#include "idf/qbtIDFLog.h"
#include "idf/qbtIDFParams.h"
#include "platform/DateUtils.h"
#include "report/RT_Report.h"

#include <algorithm>

namespace qbt {

namespace {

void ConvertFrom(long double& V, TQBTIDFUnitsDef Units) {
  V = Convert(V, udTHOU, Units);
}
void ConvertTo(long double& V, TQBTIDFUnitsDef Units) {
  V = Convert(V, Units, udTHOU);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Outline builders

void AddRectangle(TQBTIDFPointsList& Points, bool Clockwise, int32_t LoopLabel, long double X1,
                  long double Y1, long double X2, long double Y2) {
  const long double MinX = std::min(X1, X2);
  const long double MaxX = std::max(X1, X2);
  const long double MinY = std::min(Y1, Y2);
  const long double MaxY = std::max(Y1, Y2);
  Points.AddPoint(LoopLabel, MinX, MinY, 0);
  if (Clockwise) {
    Points.AddPoint(LoopLabel, MinX, MaxY, 0);
    Points.AddPoint(LoopLabel, MaxX, MaxY, 0);
    Points.AddPoint(LoopLabel, MaxX, MinY, 0);
  } else {
    Points.AddPoint(LoopLabel, MaxX, MinY, 0);
    Points.AddPoint(LoopLabel, MaxX, MaxY, 0);
    Points.AddPoint(LoopLabel, MinX, MaxY, 0);
  }
  Points.AddPoint(LoopLabel, MinX, MinY, 0);
}

void AddRect(TQBTIDFPointsList& Points, const TQBTRectRec& Rect, bool Clockwise,
             int32_t LoopLabel) {
  AddRectangle(Points, Clockwise, LoopLabel, Rect.First.X, Rect.First.Y, Rect.Second.X,
               Rect.Second.Y);
}

// ---------------------------------------------------------------------------------------------
// Points-list records

void TQBTIDFPointsListItem::ConvertFromThou(TQBTIDFUnitsDef Units) {
  Points.ConvertFromThou(Units);
}

void TQBTIDFPointsListItem::ConvertToThou(TQBTIDFUnitsDef Units) {
  Points.ConvertToThou(Units);
}

void TQBTIDFPointsListItem::MoveBy(const TQBTPointRec& Offset) {
  Points.MoveBy(Offset);
}

void TQBTIDFPointsListItem::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* List = dynamic_cast<const TQBTIDFPointsList*>(&Source)) {
    Points.Assign(*List);
    return;
  }
  const auto* Other = dynamic_cast<const TQBTIDFPointsListItem*>(&Source);
  if (Other == nullptr) {
    AssignError(&Source);
  }
  TQBTIDFFileItem::Assign(Source);
  Points.Assign(Other->Points);
}

// ---------------------------------------------------------------------------------------------
// Board-file records

TQBTIDFBoardFile* TQBTIDFBoardFileItem::BoardFile() const {
  const auto* Items = dynamic_cast<const TQBTIDFBoardFileItems*>(Collection());
  return Items ? Items->BoardFile : nullptr;
}

TQBTIDFVerNumber TQBTIDFBoardFileItem::Version() const {
  const TQBTIDFBoardFile* File = BoardFile();
  return File ? File->Header.Version : vn30;
}

void TQBTIDFBoardFileItem::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = dynamic_cast<const TQBTIDFBoardFileItem*>(&Source)) {
    Owner = Other->Owner;
  }
  TQBTIDFPointsListItem::Assign(Source);
}

void TQBTIDFOtherOutline::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(Thickness, Units);
  TQBTIDFBoardFileItem::ConvertFromThou(Units);
}

void TQBTIDFOtherOutline::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(Thickness, Units);
  TQBTIDFBoardFileItem::ConvertToThou(Units);
}

void TQBTIDFOtherOutline::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFOtherOutline>(Source)) {
    Identifier = Other->Identifier;
    Thickness = Other->Thickness;
    Side = Other->Side;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFRouteOutline::AdjustToVersion(TQBTIDFVerNumber Version) {
  if (Version == vn20 && Layers == rlInner) {
    Layers = rlTop;
  }
}

void TQBTIDFRouteOutline::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFRouteOutline>(Source)) {
    Layers = Other->Layers;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFPlaceOutline::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(Height, Units);
  TQBTIDFBoardFileItem::ConvertFromThou(Units);
}

void TQBTIDFPlaceOutline::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(Height, Units);
  TQBTIDFBoardFileItem::ConvertToThou(Units);
}

void TQBTIDFPlaceOutline::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFPlaceOutline>(Source)) {
    Side = Other->Side;
    Height = Other->Height;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFRouteKeepOut::AdjustToVersion(TQBTIDFVerNumber Version) {
  if (Version == vn20 && Layers == rlInner) {
    Layers = rlTop;
  }
}

void TQBTIDFRouteKeepOut::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFRouteKeepOut>(Source)) {
    Layers = Other->Layers;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFViaKeepOut::Assign(const TQBTIDFPersistent& Source) {
  AssignSourceOf<TQBTIDFViaKeepOut>(Source);
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFPlaceKeepOut::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(Height, Units);
  ConvertFrom(SecondHeight, Units);
  TQBTIDFBoardFileItem::ConvertFromThou(Units);
}

void TQBTIDFPlaceKeepOut::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(Height, Units);
  ConvertTo(SecondHeight, Units);
  TQBTIDFBoardFileItem::ConvertToThou(Units);
}

void TQBTIDFPlaceKeepOut::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFPlaceKeepOut>(Source)) {
    Side = Other->Side;
    Height = Other->Height;
    SecondHeight = Other->SecondHeight;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFPlaceRegion::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFPlaceRegion>(Source)) {
    Side = Other->Side;
    GroupName = Other->GroupName;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFDrilledHole::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(Diameter, Units);
  ConvertFrom(X, Units);
  ConvertFrom(Y, Units);
}

void TQBTIDFDrilledHole::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(Diameter, Units);
  ConvertTo(X, Units);
  ConvertTo(Y, Units);
}

void TQBTIDFDrilledHole::MoveBy(const TQBTPointRec& Offset) {
  X += Offset.X;
  Y += Offset.Y;
}

void TQBTIDFDrilledHole::AdjustToVersion(TQBTIDFVerNumber Version) {
  if (Version == vn20 && AssocPart == apPanel) {
    AssocPart = apBoard;
  }
}

void TQBTIDFDrilledHole::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFDrilledHole>(Source)) {
    Diameter = Other->Diameter;
    X = Other->X;
    Y = Other->Y;
    Plating = Other->Plating;
    AssocPart = Other->AssocPart;
    AssocPartName = Other->AssocPartName;
    HoleType = Other->HoleType;
    HoleTypeName = Other->HoleTypeName;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

void TQBTIDFPlacementItem::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(X, Units);
  ConvertFrom(Y, Units);
  ConvertFrom(MountOffset, Units);
}

void TQBTIDFPlacementItem::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(X, Units);
  ConvertTo(Y, Units);
  ConvertTo(MountOffset, Units);
}

void TQBTIDFPlacementItem::MoveBy(const TQBTPointRec& Offset) {
  X += Offset.X;
  Y += Offset.Y;
}

void TQBTIDFPlacementItem::AdjustToVersion(TQBTIDFVerNumber Version) {
  if (Version == vn20) {
    if (Status == stMCAD || Status == stECAD) {
      Status = stFixed;
    }
    if (RefDesKind == rkBoard) {
      RefDesKind = rkNoRefDes;
    }
  } else if (Status == stFixed) {
    Status = stECAD;
  }
}

void TQBTIDFPlacementItem::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFPlacementItem>(Source)) {
    PackageName = Other->PackageName;
    PartNumber = Other->PartNumber;
    RefDesKind = Other->RefDesKind;
    RefDes = Other->RefDes;
    X = Other->X;
    Y = Other->Y;
    MountOffset = Other->MountOffset;
    Rotation = Other->Rotation;
    Side = Other->Side;
    Status = Other->Status;
  }
  TQBTIDFBoardFileItem::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// Builders of the export

void TQBTIDFPlaceOutlines::AddOutline(TQBTIDFBoardSide Side, TQBTIDFOwner Owner, long double Height,
                                      const TQBTIDFPointsList& Source) {
  TQBTIDFPlaceOutline* Outline = Add();
  Outline->Side = Side;
  Outline->Owner = Owner;
  Outline->Height = Height;
  Outline->Points.Assign(Source);
}

void TQBTIDFRouteKeepOuts::AddRect(TQBTIDFRouteLayers Layers, TQBTIDFOwner Owner, long double X1,
                                   long double Y1, long double X2, long double Y2) {
  TQBTIDFRouteKeepOut* KeepOut = Add();
  KeepOut->Layers = Layers;
  KeepOut->Owner = Owner;
  AddRectangle(KeepOut->Points, false, 0, X1, Y1, X2, Y2);
}

void TQBTIDFPlaceKeepOuts::AddSuch(TQBTIDFBoardSide Side, TQBTIDFOwner Owner, long double Height,
                                   long double SecondHeight, const TQBTIDFPointsList& Source) {
  TQBTIDFPlaceKeepOut* KeepOut = Add();
  KeepOut->Side = Side;
  KeepOut->Owner = Owner;
  KeepOut->Height = Height;
  KeepOut->SecondHeight = SecondHeight;
  KeepOut->Points.Assign(Source);
}

void TQBTIDFPlaceRegions::AddRegion(const std::string& GroupName, TQBTIDFBoardSide Side,
                                    TQBTIDFOwner Owner, const TQBTIDFPointsList& Source) {
  TQBTIDFPlaceRegion* Region = Add();
  Region->GroupName = GroupName;
  Region->Side = Side;
  Region->Owner = Owner;
  Region->Points.Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// Board outline and notes

TQBTIDFPointsList* TQBTIDFBoardOutline::AddCutout() {
  Cutouts.push_back(std::make_unique<TQBTIDFPointsList>());
  return Cutouts.back().get();
}

void TQBTIDFBoardOutline::GetFileName(std::string& Name) const {
  Name.clear();
  if (BoardFile != nullptr && BoardFile->IDFFile != nullptr) {
    Name = BoardFile->IDFFile->GetFileName(fkBoard);
  }
}

void TQBTIDFBoardOutline::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(Thickness, Units);
  TQBTIDFPointsList::ConvertFromThou(Units);
  for (const auto& Cutout : Cutouts) {
    Cutout->ConvertFromThou(Units);
  }
}

void TQBTIDFBoardOutline::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(Thickness, Units);
  TQBTIDFPointsList::ConvertToThou(Units);
  for (const auto& Cutout : Cutouts) {
    Cutout->ConvertToThou(Units);
  }
}

void TQBTIDFBoardOutline::MoveBy(const TQBTPointRec& Offset) {
  TQBTIDFPointsList::MoveBy(Offset);
  for (const auto& Cutout : Cutouts) {
    Cutout->MoveBy(Offset);
  }
}

void TQBTIDFBoardOutline::Assign(const TQBTIDFPersistent& Source) {
  if (&Source == this) {
    return;
  }
  TQBTIDFPointsList::Assign(Source);
  const auto* Other = dynamic_cast<const TQBTIDFBoardOutline*>(&Source);
  if (Other == nullptr) {
    return;
  }
  Thickness = Other->Thickness;
  Owner = Other->Owner;
  Cutouts.clear();
  for (const auto& Cutout : Other->Cutouts) {
    AddCutout()->Assign(*Cutout);
  }
}

void TQBTIDFNoteItem::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ConvertFrom(X, Units);
  ConvertFrom(Y, Units);
  ConvertFrom(TextHeight, Units);
  ConvertFrom(TextLength, Units);
}

void TQBTIDFNoteItem::ConvertToThou(TQBTIDFUnitsDef Units) {
  ConvertTo(X, Units);
  ConvertTo(Y, Units);
  ConvertTo(TextHeight, Units);
  ConvertTo(TextLength, Units);
}

void TQBTIDFNoteItem::MoveBy(const TQBTPointRec& Offset) {
  X += Offset.X;
  Y += Offset.Y;
}

void TQBTIDFNoteItem::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFNoteItem*>(&Source);
  if (Other == nullptr) {
    AssignError(&Source);
  }
  TQBTIDFFileItem::Assign(Source);
  X = Other->X;
  Y = Other->Y;
  TextHeight = Other->TextHeight;
  TextLength = Other->TextLength;
  Text = Other->Text;
}

// ---------------------------------------------------------------------------------------------
// Library records

void TQBTIDFElectrProp::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFElectrProp*>(&Source);
  if (Other == nullptr) {
    AssignError(&Source);
  }
  TQBTIDFFileItem::Assign(Source);
  Kind = Other->Kind;
  Name = Other->Name;
  Value = Other->Value;
}

TQBTIDFLibraryFile* TQBTIDFLibraryFileItem::LibraryFile() const {
  const auto* Items = dynamic_cast<const TQBTIDFLibraryFileItems*>(Collection());
  return Items ? Items->LibraryFile : nullptr;
}

TQBTIDFVerNumber TQBTIDFLibraryFileItem::Version() const {
  const TQBTIDFLibraryFile* File = LibraryFile();
  return File ? File->Header.Version : vn30;
}

void TQBTIDFLibraryComp::ConvertFromThou(TQBTIDFUnitsDef ToUnits) {
  ConvertFrom(Height, ToUnits);
  TQBTIDFLibraryFileItem::ConvertFromThou(ToUnits);
}

void TQBTIDFLibraryComp::ConvertToThou(TQBTIDFUnitsDef FromUnits) {
  ConvertTo(Height, FromUnits);
  TQBTIDFLibraryFileItem::ConvertToThou(FromUnits);
}

void TQBTIDFLibraryComp::MoveBy(const TQBTPointRec& Offset) {
  Points.MoveBy(Offset);
}

void TQBTIDFLibraryComp::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = AssignSourceOf<TQBTIDFLibraryComp>(Source)) {
    Props.Assign(Other->Props);
    GeometryName = Other->GeometryName;
    PartNumber = Other->PartNumber;
    Units = Other->Units;
    Height = Other->Height;
  }
  TQBTIDFLibraryFileItem::Assign(Source);
}

int32_t TQBTIDFLibraryCompList::IndexOfGeometry(std::string_view Name) const {
  const std::string Wanted = Trim(Name);
  for (int I = 0; I < Count(); ++I) {
    if (SameText(Trim(Comps(I)->GeometryName), Wanted)) {
      return I;
    }
  }
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Files

TQBTIDFBoardFile::TQBTIDFBoardFile(TQBTIDFFile* IDFFile, TQBTIDFFileKind Kind)
    : IDFFile(IDFFile), Kind(Kind), Outline(this), OtherOutlines(this), RouteOutlines(this),
      PlaceOutlines(this), RouteKeepOuts(this), ViaKeepOuts(this), PlaceKeepOuts(this),
      PlaceRegions(this), DrilledHoles(this), Placement(this) {}

void TQBTIDFBoardFile::Clear() {
  Outline.Clear();
  OtherOutlines.Clear();
  RouteOutlines.Clear();
  PlaceOutlines.Clear();
  RouteKeepOuts.Clear();
  ViaKeepOuts.Clear();
  PlaceKeepOuts.Clear();
  PlaceRegions.Clear();
  DrilledHoles.Clear();
  Placement.Clear();
  Notes.Clear();
  Header = TQBTIDFBoardHeader{};
  Header.Version = vn30;
  Header.SystemName = IDFSystemName;
  Header.Date = CurrentDateTime();
  Header.FileVersion = 1;
}

namespace {

// The outline and every section of a board file, in file order.
template <class TFunction>
void ForEachSection(TQBTIDFBoardFile& File, TFunction&& Function) {
  Function(static_cast<TQBTIDFFileItems&>(File.Outline));
  Function(File.OtherOutlines);
  Function(File.RouteOutlines);
  Function(File.PlaceOutlines);
  Function(File.RouteKeepOuts);
  Function(File.ViaKeepOuts);
  Function(File.PlaceKeepOuts);
  Function(File.PlaceRegions);
  Function(File.DrilledHoles);
  Function(File.Placement);
  Function(File.Notes);
}

} // namespace

void TQBTIDFBoardFile::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ForEachSection(*this, [Units](TQBTIDFFileItems& Items) { Items.ConvertFromThou(Units); });
}

void TQBTIDFBoardFile::ConvertToThou(TQBTIDFUnitsDef Units) {
  ForEachSection(*this, [Units](TQBTIDFFileItems& Items) { Items.ConvertToThou(Units); });
}

void TQBTIDFBoardFile::MoveBy(const TQBTPointRec& Offset) {
  ForEachSection(*this, [&Offset](TQBTIDFFileItems& Items) { Items.MoveBy(Offset); });
}

void TQBTIDFBoardFile::AdjustToVersion(TQBTIDFVerNumber Version) {
  ForEachSection(*this, [Version](TQBTIDFFileItems& Items) { Items.AdjustToVersion(Version); });
}

TQBTIDFExportImportParams& TQBTIDFBoardFile::GetParams() {
  return qbt::GetParams();
}

TQBTIDFExportParams& TQBTIDFBoardFile::GetExportParams() {
  return qbt::GetParams().ExportParams;
}

TQBTIDFLibraryFile::TQBTIDFLibraryFile(TQBTIDFFile* IDFFile)
    : IDFFile(IDFFile), ElectrComps(this), MechComps(this) {}

void TQBTIDFLibraryFile::Clear() {
  ElectrComps.Clear();
  MechComps.Clear();
  Header = TQBTIDFLibraryHeader{};
  Header.Version = vn30;
  Header.SystemName = IDFSystemName;
  Header.Date = CurrentDateTime();
  Header.FileVersion = 1;
}

void TQBTIDFLibraryFile::ConvertFromThou(TQBTIDFUnitsDef Units) {
  ElectrComps.ConvertFromThou(Units);
  MechComps.ConvertFromThou(Units);
}

void TQBTIDFLibraryFile::ConvertToThou(TQBTIDFUnitsDef Units) {
  ElectrComps.ConvertToThou(Units);
  MechComps.ConvertToThou(Units);
}

void TQBTIDFLibraryFile::AdjustToVersion(TQBTIDFVerNumber Version) {
  ElectrComps.AdjustToVersion(Version);
  MechComps.AdjustToVersion(Version);
}

void TQBTIDFLibraryFile::NormalizeUnits(TQBTIDFUnitsDef Units) {
  TQBTIDFLibraryCompList* const Lists[] = {&ElectrComps, &MechComps};
  for (TQBTIDFLibraryCompList* List : Lists) {
    for (int I = 0; I < List->Count(); ++I) {
      TQBTIDFLibraryComp* Comp = List->Comps(I);
      Comp->ConvertToThou(Comp->Units);
      Comp->ConvertFromThou(Units);
      Comp->Units = Units;
    }
  }
}

TQBTIDFFile::TQBTIDFFile() : BoardFile(this, fkBoard), PanelFile(this), LibraryFile(this) {}

void TQBTIDFFile::GetSourceName(std::string& Name) const {
  Name.clear();
}

void TQBTIDFFile::GetReportHeader(std::string& Text) const {
  Text.clear();
}

void TQBTIDFFile::SetVersion(TQBTIDFVerNumber Version) {
  BoardFile.Header.Version = Version;
  PanelFile.Header.Version = Version;
  LibraryFile.Header.Version = Version;
}

std::string TQBTIDFFile::GetFileName(TQBTIDFFileKind Kind) const {
  switch (Kind) {
  case fkBoard:
    return GetBoardFileName(FileName);
  case fkPanel:
    return GetPanelFileName(FileName);
  case fkLibrary:
    return GetLibraryFileName(FileName);
  }
  return FileName;
}

void TQBTIDFFile::ConvertFromThou(TQBTIDFUnitsDef Units) {
  BoardFile.ConvertFromThou(Units);
  LibraryFile.ConvertFromThou(Units);
  PanelFile.ConvertFromThou(Units);
}

void TQBTIDFFile::ConvertToThou(TQBTIDFUnitsDef Units) {
  BoardFile.ConvertToThou(Units);
  LibraryFile.ConvertToThou(Units);
  PanelFile.ConvertToThou(Units);
}

void TQBTIDFFile::AdjustToVersion(TQBTIDFVerNumber Version) {
  PanelFile.AdjustToVersion(Version);
  BoardFile.AdjustToVersion(Version);
  LibraryFile.AdjustToVersion(Version);
}

void TQBTIDFFile::SaveToFile(const std::string& Name) {
  FileName = Name;
  BoardFile.SaveToFile(GetBoardFileName(Name));
  LibraryFile.SaveToFile(GetLibraryFileName(Name));
}

std::string TQBTIDFFile::GetReportText(bool IsImport) const {
  std::string Text;
  GetReportHeader(Text);
  Text += "\r\n\r\n";
  Text += GetLog().GetText(IsImport ? LogImportKinds : LogExportKinds);
  return Text;
}

std::unique_ptr<TGeneralReport> TQBTIDFFile::CreateReport(bool IsImport) const {
  TQBTIDFReportFileNames Names;
  GetSourceName(Names.PCBFileName);
  Names.BoardFileName = GetFileName(fkBoard);
  Names.LibraryFileName = GetFileName(fkLibrary);
  return CreateTranslationReport(GetLog(), IsImport, Names);
}

// ---------------------------------------------------------------------------------------------
// File names

namespace {

enum class TCompanion { Board, Library, Panel };

std::string CompanionFileName(const std::string& Name, TCompanion Companion) {
  const std::string Ext = ExtractFileExt(Name);
  const char* NewExt = Companion == TCompanion::Board     ? ".brd"
                       : Companion == TCompanion::Library ? ".pro"
                                                          : ".pnl";
  for (const TQBTIDFExtensionsRec& Row : IDFExtensions) {
    if (SameText(Row.Ext, Ext)) {
      NewExt = Companion == TCompanion::Board     ? Row.BoardExt
               : Companion == TCompanion::Library ? Row.LibraryExt
                                                  : Row.PanelExt;
      break;
    }
  }
  return ChangeFileExt(Name, NewExt);
}

} // namespace

std::string GetBoardFileName(const std::string& Name) {
  return CompanionFileName(Name, TCompanion::Board);
}

std::string GetPanelFileName(const std::string& Name) {
  return CompanionFileName(Name, TCompanion::Panel);
}

std::string GetLibraryFileName(const std::string& Name) {
  return CompanionFileName(Name, TCompanion::Library);
}

} // namespace qbt
