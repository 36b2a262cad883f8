// The IDF object model: a board (or panel) file with its sections and a library file with its
// component geometries, the three files of one translation, the keyword tables of their
// enumerations, the derivation of the three file names, and the outline builders the export
// uses. Lengths are in thousandths of an inch while a translation runs and in the file's units
// just after reading and just before writing.
//
//   Enumerations and keyword tables
//   Property values
//   Outline operations of a point list (builders, shape queries, import checks)
//   Board-file records and their sections
//   Board outline, notes
//   Library records and sections
//   Headers and files
//   File names of one translation
//   Text encodings of the writer (FloatToIDF lives with the base)
#pragma once

#include "geometry/qbtIDFPolygons.h"
#include "idf/qbtIDFBase.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qbt {

class TQBTIDFBoardFile;
class TQBTIDFLibraryFile;
class TQBTIDFFile;
class TQBTIDFExportImportParams;
class TQBTIDFExportParams;
class TGeneralReport;

// ---------------------------------------------------------------------------------------------
// Enumerations and their file keywords (same order). An empty keyword marks the value that is
// written as the record's own text.

enum TQBTIDFOwner : uint8_t { owUnowned = 0, owMCAD = 1, owECAD = 2 };
inline constexpr std::array<const char*, 3> IDFOwnerKeywords = {"UNOWNED", "MCAD", "ECAD"};

// Other outlines and placements use only bsTop and bsBottom.
enum TQBTIDFBoardSide : uint8_t { bsTop = 0, bsBottom = 1, bsBoth = 2 };
inline constexpr std::array<const char*, 3> IDFBoardSideKeywords = {"TOP", "BOTTOM", "BOTH"};

enum TQBTIDFRouteLayers : uint8_t { rlTop = 0, rlBottom = 1, rlBoth = 2, rlAll = 3, rlInner = 4 };
inline constexpr std::array<const char*, 5> IDFRouteLayersKeywords = {"TOP", "BOTTOM", "BOTH",
                                                                      "ALL", "INNER"};

enum TQBTIDFPlating : uint8_t { ptPTH = 0, ptNPTH = 1 };
inline constexpr std::array<const char*, 2> IDFPlatingKeywords = {"PTH", "NPTH"};

// htOther is written as the hole's HoleTypeName.
enum TQBTIDFHoleType : uint8_t { htPin = 0, htVia = 1, htMTG = 2, htTool = 3, htOther = 4 };
inline constexpr std::array<const char*, 5> IDFHoleTypeKeywords = {"PIN", "VIA", "MTG", "TOOL", ""};

// apRefDes is written as the hole's AssocPartName.
enum TQBTIDFAssocPart : uint8_t { apBoard = 0, apNoRefDes = 1, apRefDes = 2, apPanel = 3 };
inline constexpr std::array<const char*, 4> IDFAssocPartKeywords = {"BOARD", "NOREFDES", "",
                                                                    "PANEL"};

// rkRefDes is written as the placement's RefDes.
enum TQBTIDFRefDesKind : uint8_t { rkNoRefDes = 0, rkRefDes = 1, rkBoard = 2 };
inline constexpr std::array<const char*, 3> IDFRefDesKindKeywords = {"NOREFDES", "", "BOARD"};

enum TQBTIDFPlacementStatus : uint8_t {
  stFixed = 0,
  stUnplaced = 1,
  stPlaced = 2,
  stMCAD = 3,
  stECAD = 4
};
inline constexpr std::array<const char*, 5> IDFPlacementStatusKeywords = {"FIXED", "UNPLACED",
                                                                          "PLACED", "MCAD", "ECAD"};

// epCustom is written as the property's Name.
enum TQBTIDFElectrPropKind : uint8_t {
  epCustom = 0,
  epCapacitance = 1,
  epResistance = 2,
  epTolerance = 3,
  epPowerOpr = 4,
  epPowerMax = 5,
  epThermCond = 6,
  epThetaJB = 7,
  epThetaJC = 8
};
inline constexpr std::array<const char*, 9> IDFElectrPropKeywords = {
    "",          "CAPACITANCE", "RESISTANCE", "TOLERANCE", "POWER_OPR",
    "POWER_MAX", "THERM_COND",  "THETA_JB",   "THETA_JC"};

// ---------------------------------------------------------------------------------------------
// A property value holds a number or a text; a new property holds the empty text.

using TQBTIDFPropValue = std::variant<std::string, double>;

// ---------------------------------------------------------------------------------------------
// Outline operations of a point list

// Appends the closed rectangle spanned by (X1, Y1) and (X2, Y2), starting at its lower left
// corner, counter-clockwise unless Clockwise.
void AddRectangle(TQBTIDFPointsList& Points, bool Clockwise, int32_t LoopLabel, long double X1,
                  long double Y1, long double X2, long double Y2);
// Rect holds X1, Y1 (First) and X2, Y2 (Second).
void AddRect(TQBTIDFPointsList& Points, const TQBTRectRec& Rect, bool Clockwise, int32_t LoopLabel);
// Appends the closed outline, with round ends, of the track from (X1, Y1) to (X2, Y2) whose
// centre line bends counter-clockwise by ArcAngle (0 straight), its sides at SideDistance.
// Orientation 1 runs the outline the other way round. False, appending nothing, when the ends
// coincide.
bool AddTrackOutline(TQBTIDFPointsList& Points, int32_t Orientation, int32_t LoopLabel,
                     long double X1, long double Y1, long double X2, long double Y2,
                     long double SideDistance, long double ArcAngle);
// The shape of the outline read as a polygon, and the track, arc-track or rectangle it
// describes (all zero for an outline of another shape).
TQBTPolygonShape ShapeKind(const TQBTIDFPointsList& Points);
TQBTTrackShapeRec GetTrackShape(const TQBTIDFPointsList& Points);
TQBTArcTrackShapeRec GetArcTrackShape(const TQBTIDFPointsList& Points);
TQBTSegmentRec GetRectangle(const TQBTIDFPointsList& Points);
// Import checks. RemoveExtraLoops removes (unless DetectOnly) the points of loops labelled
// neither 0 nor 1, warning once; HasCircle finds a full circle, warning when Warn. Both tell
// whether they found one.
bool RemoveExtraLoops(TQBTIDFPointsList& Points, bool DetectOnly);
bool HasCircle(const TQBTIDFPointsList& Points, bool Warn);

// ---------------------------------------------------------------------------------------------
// Points-list records

// A record owning the outline it describes.
class TQBTIDFPointsListItem : public TQBTIDFFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPointsListItem)
  TQBTIDFPointsList Points;

  // The points' text.
  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  // From a point list: Points becomes a copy of it. From a points-list record: its position and
  // points (subclasses add their own fields).
  void Assign(const TQBTIDFPersistent& Source) override;

protected:
  // Source as a record of class T, null when it is a plain point list; a record of another
  // class raises, since its fields would be dropped without a word.
  template <class T>
  const T* AssignSourceOf(const TQBTIDFPersistent& Source) const {
    const auto* Other = dynamic_cast<const T*>(&Source);
    if (Other == nullptr && dynamic_cast<const TQBTIDFPointsList*>(&Source) == nullptr) {
      AssignError(&Source);
    }
    return Other;
  }
};

// ---------------------------------------------------------------------------------------------
// Board-file records

class TQBTIDFBoardFileItems;

class TQBTIDFBoardFileItem : public TQBTIDFPointsListItem {
public:
  QBT_CLASS_NAME(TQBTIDFBoardFileItem)
  TQBTIDFOwner Owner = owUnowned;

  // The board file of the record's collection; null for a record outside one.
  TQBTIDFBoardFile* BoardFile() const;
  // The version the record is written in: its board file's, or 3.0 outside a board file.
  TQBTIDFVerNumber Version() const;
  void Assign(const TQBTIDFPersistent& Source) override;

protected:
  // The section text: the first line with the owner text, an optional second line, the points
  // and the end line; nothing when there are no points.
  void AppendSection(std::string& Text, std::string_view Keyword, std::string_view SecondLine,
                     std::string_view EndKeyword) const;
};

// A collection that knows the board file it belongs to.
class TQBTIDFBoardFileItems : public TQBTIDFFileItems {
public:
  TQBTIDFBoardFileItems(TItemClass ItemClass, TQBTIDFBoardFile* BoardFile)
      : TQBTIDFFileItems(ItemClass), BoardFile(BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFBoardFileItems)
  TQBTIDFBoardFile* const BoardFile;
};

// Typed Add/Items over a record collection whose constructor takes more than the item class.
template <class TItem, class TBase>
class TQBTIDFTypedItems : public TBase {
public:
  using TBase::TBase;
  TItem* Add() { return static_cast<TItem*>(TBase::Add()); }
  TItem* Insert(int Index) { return static_cast<TItem*>(TBase::Insert(Index)); }
  TItem* Items(int Index) const { return static_cast<TItem*>(TBase::Items(Index)); }
};

class TQBTIDFOtherOutline : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFOtherOutline)
  std::string Identifier;
  long double Thickness = 0;
  TQBTIDFBoardSide Side = bsTop;

  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFRouteOutline : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFRouteOutline)
  TQBTIDFRouteLayers Layers = rlTop;

  void GetText(std::string& Text) const override;
  // Version 2.0 has no inner layers.
  void AdjustToVersion(TQBTIDFVerNumber Version) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFPlaceOutline : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPlaceOutline)
  TQBTIDFBoardSide Side = bsTop;
  long double Height = 0;

  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFRouteKeepOut : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFRouteKeepOut)
  TQBTIDFRouteLayers Layers = rlTop;

  void GetText(std::string& Text) const override;
  // Version 2.0 has no inner layers.
  void AdjustToVersion(TQBTIDFVerNumber Version) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFViaKeepOut : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFViaKeepOut)

  void GetText(std::string& Text) const override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFPlaceKeepOut : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPlaceKeepOut)
  TQBTIDFBoardSide Side = bsTop;
  long double Height = 0;
  // Only version 2.0 records carry it.
  long double SecondHeight = 0;

  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFPlaceRegion : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPlaceRegion)
  TQBTIDFBoardSide Side = bsTop;
  // The component group (room) name.
  std::string GroupName;

  void GetText(std::string& Text) const override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFDrilledHole : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFDrilledHole)
  long double Diameter = 0;
  long double X = 0;
  long double Y = 0;
  TQBTIDFPlating Plating = ptPTH;
  TQBTIDFAssocPart AssocPart = apBoard;
  // The reference designator when AssocPart is apRefDes; the reader stores its token always.
  std::string AssocPartName;
  TQBTIDFHoleType HoleType = htPin;
  // The type text when HoleType is htOther; the reader stores its token always.
  std::string HoleTypeName;

  // The hole's line, without line break.
  void GetText(std::string& Text) const override;
  void AppendText(std::string& Text) const { AppendText(Text, Version()); }
  void AppendText(std::string& Text, TQBTIDFVerNumber Version) const;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  // Version 2.0 has no panel holes.
  void AdjustToVersion(TQBTIDFVerNumber Version) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFPlacementItem : public TQBTIDFBoardFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPlacementItem)
  std::string PackageName;
  std::string PartNumber;
  TQBTIDFRefDesKind RefDesKind = rkNoRefDes;
  // The reference designator when RefDesKind is rkRefDes; the reader stores its token always.
  std::string RefDes;
  long double X = 0;
  long double Y = 0;
  // Written and read in version 3.0 only.
  long double MountOffset = 0;
  long double Rotation = 0;
  TQBTIDFBoardSide Side = bsTop;
  TQBTIDFPlacementStatus Status = stFixed;

  // The record's two lines, without final line break.
  void GetText(std::string& Text) const override;
  void AppendText(std::string& Text) const { AppendText(Text, Version()); }
  void AppendText(std::string& Text, TQBTIDFVerNumber Version) const;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  void AdjustToVersion(TQBTIDFVerNumber Version) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

// ---------------------------------------------------------------------------------------------
// Board-file sections

class TQBTIDFOtherOutlines : public TQBTIDFTypedItems<TQBTIDFOtherOutline, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFOtherOutlines(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFOtherOutline>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFOtherOutlines)
};

class TQBTIDFRouteOutlines : public TQBTIDFTypedItems<TQBTIDFRouteOutline, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFRouteOutlines(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFRouteOutline>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFRouteOutlines)
};

class TQBTIDFPlaceOutlines : public TQBTIDFTypedItems<TQBTIDFPlaceOutline, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFPlaceOutlines(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFPlaceOutline>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFPlaceOutlines)

  // A record of Side, Owner and Height whose points are a copy of Source.
  void AddOutline(TQBTIDFBoardSide Side, TQBTIDFOwner Owner, long double Height,
                  const TQBTIDFPointsList& Source);
};

class TQBTIDFRouteKeepOuts : public TQBTIDFTypedItems<TQBTIDFRouteKeepOut, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFRouteKeepOuts(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFRouteKeepOut>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFRouteKeepOuts)

  // A keep-out around the track (X1, Y1)-(X2, Y2); no record stays when its outline cannot be
  // built (the ends coincide).
  void AddTrack(TQBTIDFRouteLayers Layers, TQBTIDFOwner Owner, long double X1, long double Y1,
                long double X2, long double Y2, long double SideDistance, long double ArcAngle);
  // A keep-out over the rectangle spanned by (X1, Y1) and (X2, Y2).
  void AddRect(TQBTIDFRouteLayers Layers, TQBTIDFOwner Owner, long double X1, long double Y1,
               long double X2, long double Y2);
};

class TQBTIDFViaKeepOuts : public TQBTIDFTypedItems<TQBTIDFViaKeepOut, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFViaKeepOuts(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFViaKeepOut>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFViaKeepOuts)
};

class TQBTIDFPlaceKeepOuts : public TQBTIDFTypedItems<TQBTIDFPlaceKeepOut, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFPlaceKeepOuts(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFPlaceKeepOut>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFPlaceKeepOuts)

  void AddSuch(TQBTIDFBoardSide Side, TQBTIDFOwner Owner, long double Height,
               long double SecondHeight, const TQBTIDFPointsList& Source);
};

class TQBTIDFPlaceRegions : public TQBTIDFTypedItems<TQBTIDFPlaceRegion, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFPlaceRegions(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFPlaceRegion>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFPlaceRegions)

  void AddRegion(const std::string& GroupName, TQBTIDFBoardSide Side, TQBTIDFOwner Owner,
                 const TQBTIDFPointsList& Source);
};

class TQBTIDFDrilledHoles : public TQBTIDFTypedItems<TQBTIDFDrilledHole, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFDrilledHoles(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFDrilledHole>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFDrilledHoles)

  // The whole section; nothing without holes.
  void GetText(std::string& Text) const override;
  void AppendText(std::string& Text) const;
};

class TQBTIDFPlacementItems
    : public TQBTIDFTypedItems<TQBTIDFPlacementItem, TQBTIDFBoardFileItems> {
public:
  explicit TQBTIDFPlacementItems(TQBTIDFBoardFile* BoardFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFPlacementItem>, BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFPlacementItems)

  // The whole section; nothing without placements.
  void GetText(std::string& Text) const override;
  void AppendText(std::string& Text) const;
};

// ---------------------------------------------------------------------------------------------
// Board outline and notes

// The board or panel outline: its own points are the outer loop; Cutouts holds the further
// loops a file brought.
class TQBTIDFBoardOutline : public TQBTIDFPointsList {
public:
  explicit TQBTIDFBoardOutline(TQBTIDFBoardFile* BoardFile = nullptr) : BoardFile(BoardFile) {}
  QBT_CLASS_NAME(TQBTIDFBoardOutline)
  TQBTIDFBoardFile* const BoardFile;
  long double Thickness = 0;
  TQBTIDFOwner Owner = owUnowned;
  std::vector<std::unique_ptr<TQBTIDFPointsList>> Cutouts;

  // A new empty cutout list at the end of Cutouts.
  TQBTIDFPointsList* AddCutout();

  // The board file's name, so that warnings about the outline can say where it was read.
  void GetFileName(std::string& Name) const override;
  // The whole section; nothing without points.
  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  // Points, Thickness, Owner and the cutouts of another outline; points of any point list.
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFNoteItem : public TQBTIDFFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFNoteItem)
  long double X = 0;
  long double Y = 0;
  long double TextHeight = 0;
  long double TextLength = 0;
  std::string Text;

  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFNotes : public TQBTIDFItemsOf<TQBTIDFNoteItem, TQBTIDFFileItems> {
public:
  QBT_CLASS_NAME(TQBTIDFNotes)
  // The whole section; nothing without notes.
  void GetText(std::string& Text) const override;
};

// ---------------------------------------------------------------------------------------------
// Library records and sections

class TQBTIDFElectrProp : public TQBTIDFFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFElectrProp)
  TQBTIDFElectrPropKind Kind = epCustom;
  // The name as read; written for epCustom.
  std::string Name;
  TQBTIDFPropValue Value;

  // The PROP line.
  void GetText(std::string& Text) const override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFElectrPropList : public TQBTIDFItemsOf<TQBTIDFElectrProp, TQBTIDFFileItems> {
public:
  QBT_CLASS_NAME(TQBTIDFElectrPropList)
};

class TQBTIDFLibraryFileItems;

class TQBTIDFLibraryFileItem : public TQBTIDFPointsListItem {
public:
  QBT_CLASS_NAME(TQBTIDFLibraryFileItem)
  // The library file of the record's collection; null for a record outside one.
  TQBTIDFLibraryFile* LibraryFile() const;
  // The version the record is written in: its library file's, or 3.0 outside a library file.
  TQBTIDFVerNumber Version() const;
};

// A collection that knows the library file it belongs to.
class TQBTIDFLibraryFileItems : public TQBTIDFFileItems {
public:
  TQBTIDFLibraryFileItems(TItemClass ItemClass, TQBTIDFLibraryFile* LibraryFile)
      : TQBTIDFFileItems(ItemClass), LibraryFile(LibraryFile) {}
  QBT_CLASS_NAME(TQBTIDFLibraryFileItems)
  TQBTIDFLibraryFile* const LibraryFile;
};

// One component geometry.
class TQBTIDFLibraryComp : public TQBTIDFLibraryFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFLibraryComp)
  TQBTIDFElectrPropList Props;
  bool IsElectrical = false;
  std::string GeometryName;
  std::string PartNumber;
  // Units of this geometry's lengths.
  TQBTIDFUnitsDef Units = udMM;
  long double Height = 0;

  // The whole geometry section.
  void GetText(std::string& Text) const override;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  // The library is never moved: only the outline's points move.
  void MoveBy(const TQBTPointRec& Offset) override;
  // The PROP lines; empty for every geometry but an electrical one of version 3.0.
  virtual void GetPropsText(std::string& Text) const;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFElectrComp : public TQBTIDFLibraryComp {
public:
  TQBTIDFElectrComp() { IsElectrical = true; }
  QBT_CLASS_NAME(TQBTIDFElectrComp)
  void GetPropsText(std::string& Text) const override;
};

class TQBTIDFMechComp : public TQBTIDFLibraryComp {
public:
  QBT_CLASS_NAME(TQBTIDFMechComp)
};

class TQBTIDFLibraryCompList : public TQBTIDFLibraryFileItems {
public:
  using TQBTIDFLibraryFileItems::TQBTIDFLibraryFileItems;
  QBT_CLASS_NAME(TQBTIDFLibraryCompList)
  TQBTIDFLibraryComp* Comps(int Index) const {
    return static_cast<TQBTIDFLibraryComp*>(Items(Index));
  }
  // The first geometry whose trimmed name equals the trimmed Name, ignoring ASCII case; -1 if
  // none.
  int32_t IndexOfGeometry(std::string_view Name) const;
};

class TQBTIDFElectrCompList : public TQBTIDFTypedItems<TQBTIDFElectrComp, TQBTIDFLibraryCompList> {
public:
  explicit TQBTIDFElectrCompList(TQBTIDFLibraryFile* LibraryFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFElectrComp>, LibraryFile) {}
  QBT_CLASS_NAME(TQBTIDFElectrCompList)
};

class TQBTIDFMechCompList : public TQBTIDFTypedItems<TQBTIDFMechComp, TQBTIDFLibraryCompList> {
public:
  explicit TQBTIDFMechCompList(TQBTIDFLibraryFile* LibraryFile = nullptr)
      : TQBTIDFTypedItems(&NewItemOf<TQBTIDFMechComp>, LibraryFile) {}
  QBT_CLASS_NAME(TQBTIDFMechCompList)
};

// ---------------------------------------------------------------------------------------------
// Headers

struct TQBTIDFLibraryHeader {
  TQBTIDFVerNumber Version = vn20;
  std::string SystemName;
  // Days since 1899-12-30, the fraction being the time of day.
  double Date = 0;
  int32_t FileVersion = 0;
};

struct TQBTIDFBoardHeader : TQBTIDFLibraryHeader {
  std::string BoardName;
  TQBTIDFUnitsDef Units = udMM;
};

// The system name the export writes and a cleared file starts with.
inline constexpr const char* IDFSystemName = "Vendra KQX";

// ---------------------------------------------------------------------------------------------
// Files

class TQBTIDFBoardFile {
public:
  TQBTIDFBoardFile(TQBTIDFFile* IDFFile, TQBTIDFFileKind Kind);
  TQBTIDFBoardFile(const TQBTIDFBoardFile&) = delete;
  TQBTIDFBoardFile& operator=(const TQBTIDFBoardFile&) = delete;
  virtual ~TQBTIDFBoardFile() = default;

  // The translation the file belongs to; null for a file on its own.
  TQBTIDFFile* const IDFFile;
  // fkBoard or fkPanel.
  const TQBTIDFFileKind Kind;
  TQBTIDFBoardHeader Header;
  TQBTIDFBoardOutline Outline;
  TQBTIDFOtherOutlines OtherOutlines;
  TQBTIDFRouteOutlines RouteOutlines;
  TQBTIDFPlaceOutlines PlaceOutlines;
  TQBTIDFRouteKeepOuts RouteKeepOuts;
  TQBTIDFViaKeepOuts ViaKeepOuts;
  TQBTIDFPlaceKeepOuts PlaceKeepOuts;
  TQBTIDFPlaceRegions PlaceRegions;
  TQBTIDFDrilledHoles DrilledHoles;
  TQBTIDFPlacementItems Placement;
  TQBTIDFNotes Notes;

  // Empties every section (the outline's cutouts stay: the reader empties them when it reads
  // an outline) and resets the header to a new 3.0 file of this system, dated now, in mm.
  void Clear();
  // Each applied to the outline and every section, in file order.
  void ConvertFromThou(TQBTIDFUnitsDef Units);
  void ConvertToThou(TQBTIDFUnitsDef Units);
  void MoveBy(const TQBTPointRec& Offset);
  void AdjustToVersion(TQBTIDFVerNumber Version);

  // The process-wide translation parameters and their export part.
  static TQBTIDFExportImportParams& GetParams();
  static TQBTIDFExportParams& GetExportParams();

  // The whole file text: the header and the sections the export parameters select.
  void GetText(std::string& Text) const;
  // Keeps a backup of an existing file, then writes GetText with CR LF line ends.
  void SaveToFile(const std::string& Name) const;
  // Defined with the reader.
  void LoadFromFile(const std::string& Name);
  void LoadFromText(const std::string& Text);
};

// A panel file is a board file of kind fkPanel.
class TQBTIDFPanelFile : public TQBTIDFBoardFile {
public:
  explicit TQBTIDFPanelFile(TQBTIDFFile* IDFFile) : TQBTIDFBoardFile(IDFFile, fkPanel) {}
};

class TQBTIDFLibraryFile {
public:
  explicit TQBTIDFLibraryFile(TQBTIDFFile* IDFFile);
  TQBTIDFLibraryFile(const TQBTIDFLibraryFile&) = delete;
  TQBTIDFLibraryFile& operator=(const TQBTIDFLibraryFile&) = delete;
  virtual ~TQBTIDFLibraryFile() = default;

  TQBTIDFFile* const IDFFile;
  TQBTIDFLibraryHeader Header;
  TQBTIDFElectrCompList ElectrComps;
  TQBTIDFMechCompList MechComps;

  // Empties both lists and resets the header to a new 3.0 file of this system, dated now.
  void Clear();
  // Electrical geometries, then mechanical ones.
  void ConvertFromThou(TQBTIDFUnitsDef Units);
  void ConvertToThou(TQBTIDFUnitsDef Units);
  void AdjustToVersion(TQBTIDFVerNumber Version);
  // Expresses every geometry, whatever its own units, in Units.
  void NormalizeUnits(TQBTIDFUnitsDef Units);

  void GetText(std::string& Text) const;
  void SaveToFile(const std::string& Name) const;
  // Defined with the reader.
  void LoadFromFile(const std::string& Name);
  void LoadFromText(const std::string& Text);
};

// The three files of one translation.
class TQBTIDFFile {
public:
  TQBTIDFFile();
  TQBTIDFFile(const TQBTIDFFile&) = delete;
  TQBTIDFFile& operator=(const TQBTIDFFile&) = delete;
  virtual ~TQBTIDFFile() = default;

  // The name the user chose.
  std::string FileName;
  TQBTIDFBoardFile BoardFile;
  // Takes part in every conversion but is never saved or loaded.
  TQBTIDFPanelFile PanelFile;
  TQBTIDFLibraryFile LibraryFile;

  // Supplied by the translation driver: the name of the board the files come from or go to,
  // and the header of the plain-text report.
  virtual void GetSourceName(std::string& Name) const;
  virtual void GetReportHeader(std::string& Text) const;

  void SetVersion(TQBTIDFVerNumber Version);
  // The name of the file of Kind derived from FileName; FileName itself for any other kind.
  std::string GetFileName(TQBTIDFFileKind Kind) const;
  // Board, library, then panel file.
  void ConvertFromThou(TQBTIDFUnitsDef Units);
  void ConvertToThou(TQBTIDFUnitsDef Units);
  // Panel, board, then library file.
  void AdjustToVersion(TQBTIDFVerNumber Version);
  // Writes the board and the library file named after Name.
  void SaveToFile(const std::string& Name);
  // Defined with the reader: reads the board and the library file named after Name.
  void LoadFromFile(const std::string& Name);

  // The report header, then the log's text of the import or the export kinds.
  std::string GetReportText(bool IsImport) const;
  // The translation report over the log; the caller saves it.
  std::unique_ptr<TGeneralReport> CreateReport(bool IsImport) const;
};

// ---------------------------------------------------------------------------------------------
// File names of one translation

struct TQBTIDFExtensionsRec {
  const char* Ext;
  const char* BoardExt;
  const char* LibraryExt;
  const char* PanelExt;
};
inline constexpr std::array<TQBTIDFExtensionsRec, 4> IDFExtensions = {{
    {".brd", ".brd", ".pro", ".pnl"},
    {".pro", ".brd", ".pro", ".pnl"},
    {".emn", ".emn", ".emp", ".pnl"},
    {".emp", ".emn", ".emp", ".pnl"},
}};

// Name with the extension of its companion file; .brd, .pnl and .pro for unknown extensions.
std::string GetBoardFileName(const std::string& Name);
std::string GetPanelFileName(const std::string& Name);
std::string GetLibraryFileName(const std::string& Name);

// ---------------------------------------------------------------------------------------------
// Text encodings of the writer

// A free text as one field: quoted when it holds a blank, starts with "#" or is empty; quotes
// become apostrophes and line breaks blanks, since neither can be read back inside a field.
void AppendQuoteIDF(std::string& Out, std::string_view Text);
std::string QuoteIDF(std::string_view Text);
// yyyy/mm/dd.hh:nn:ss whatever the system's separators.
void AppendDateToIDF(std::string& Out, double Date);
std::string DateToIDF(double Date);

} // namespace qbt
