// The board as the translation sees it: one plain record per board object, the field and kind
// enumerations, the reference-counted object, list and provider interfaces, and the unit's
// process-wide facilities. The classes implementing objects and lists are in
// qbtIDFPCBWrapperObjects.h.
#pragma once

#include "idf/qbtIDFBase.h"
#include "platform/Classes.h"
#include "platform/Interfaces.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Fields of a board-object record

enum TQBTPCBObjectField : uint8_t {
  pfHandle = 0,
  pfName = 1,
  pfLayer = 2,
  pfPattern = 3,
  pfPlacement = 4,
  pfMountOffset = 5,
  pfStartPoint = 6,
  pfEndPoint = 7,
  pfWidth = 8,
  pfIsKeepOut = 9,
  pfAngle = 10,
  pfKind = 11,
  pfPlated = 12,
  pfHoleSize = 13,
  pfBoundingRect = 14,
  pfBoundingPolygon = 15,
  pfRuleKind = 16,
  pfHeight = 17,
  pfComponent = 18,
  pfComment = 19,
  pfSelected = 20,
};
inline constexpr int PCBObjectFieldCount = 21;

// The names under which fields are shown to the user.
inline constexpr std::array<const char*, PCBObjectFieldCount> PCBObjectFieldNames = {
    "Handle",     "Name",     "Layer",        "Pattern",         "Placement", "MountOffset",
    "StartPoint", "EndPoint", "Width",        "IsKeepOut",       "Angle",     "Kind",
    "Plated",     "HoleSize", "BoundingRect", "BoundingPolygon", "RuleKind",  "Height",
    "Component",  "Comment",  "Selected"};

// A set of fields, stored in 32 bits: bit n stands for field n.
class TQBTPCBObjectFields {
public:
  constexpr TQBTPCBObjectFields() = default;
  constexpr TQBTPCBObjectFields(std::initializer_list<TQBTPCBObjectField> Fields) {
    for (TQBTPCBObjectField Field : Fields) {
      Include(Field);
    }
  }
  static constexpr TQBTPCBObjectFields FromBits(uint32_t Bits) {
    TQBTPCBObjectFields Set;
    Set.FBits = Bits & AllBits;
    return Set;
  }

  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr bool Contains(TQBTPCBObjectField Field) const { return (FBits & Bit(Field)) != 0; }
  constexpr void Include(TQBTPCBObjectField Field) { FBits |= Bit(Field); }
  constexpr void Exclude(TQBTPCBObjectField Field) { FBits &= ~Bit(Field); }

  friend constexpr TQBTPCBObjectFields operator|(TQBTPCBObjectFields A, TQBTPCBObjectFields B) {
    return FromBits(A.FBits | B.FBits);
  }
  friend constexpr bool operator==(TQBTPCBObjectFields, TQBTPCBObjectFields) = default;

private:
  static constexpr uint32_t AllBits = (uint32_t{1} << PCBObjectFieldCount) - 1;
  static constexpr uint32_t Bit(TQBTPCBObjectField Field) { return uint32_t{1} << Field; }

  uint32_t FBits = 0;
};

// ---------------------------------------------------------------------------------------------
// Object kinds

enum TQBTPCBObjectKind : uint8_t {
  okNone = 0, // no object, or a host object without a kind here
  okArc = 1,
  okPad = 2,
  okVia = 3,
  okTrack = 4,
  okText = 5,
  okFill = 6,
  okFromTo = 7,
  okNet = 8,
  okComponent = 9,
  okPolygon = 10,
  okDimension = 11,
  okCoordinate = 12,
  okClass = 13,
  okRule = 14, // rooms are rules of RuleKind RoomRuleKind
  okManualFromTo = 15,
  okViolation = 16,
  okEmbedded = 17,
  okHost25 = 18,
};

// The host's rule kind of a room.
inline constexpr uint8_t RoomRuleKind = 22;

// ---------------------------------------------------------------------------------------------
// The record of one board object

// A plain value; every field zero, empty or nil stands for "no object". Lengths are in the units
// of the context (thousandths of an inch from a provider's ReadObject); Angle is in degrees.
struct TQBTPCBObjectRec {
  uint32_t Handle = 0;
  std::string Name;
  uint8_t Layer = 0;
  std::string Pattern;
  // IDF placement status: 0 FIXED, 1 UNPLACED, 2 PLACED, 3 MCAD, 4 ECAD.
  uint8_t Placement = 0;
  long double MountOffset = 0;
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
  long double Width = 0;
  bool IsKeepOut = false;
  long double Angle = 0;
  TQBTPCBObjectKind Kind = okNone;
  bool Plated = false;
  long double HoleSize = 0;
  TQBTRectRec BoundingRect;
  // Owned by the board object that read it; copies of the record only borrow it.
  TQBTIDFPointsList* BoundingPolygon = nullptr;
  uint8_t RuleKind = 0;
  bool Selected = false;
  long double Height = 0;
  uint32_t Component = 0;
  std::string Comment;
};

// A copy of Source with its lengths, points and rectangle converted; Angle and the polygon
// reference are copied unchanged.
TQBTPCBObjectRec ConvertPCBObjectRec(const TQBTPCBObjectRec& Source, TQBTIDFUnitsDef FromUnits,
                                     TQBTIDFUnitsDef ToUnits);

// Negative, 0 or positive as A sorts before, with or after B on Field. Names and patterns
// ignore ASCII case; polygons give 0 when they are the same loop and 1 otherwise.
int32_t ComparePCBObjectField(const TQBTPCBObjectRec& A, const TQBTPCBObjectRec& B,
                              TQBTPCBObjectField Field);
// The first non-zero field comparison in ascending field order, or 0.
int32_t ComparePCBObjectRecs(const TQBTPCBObjectRec& A, const TQBTPCBObjectRec& B,
                             TQBTPCBObjectFields Fields);
// Two point lists are the same loop when their distinct vertices match, each within 0.1, at
// some cyclic shift; nil or empty lists are never the same.
bool IsSameBoundingPolygon(const TQBTIDFPointsList* A, const TQBTIDFPointsList* B);

// ---------------------------------------------------------------------------------------------
// Interfaces

class IQBTPCBObjectProvider;

// The update bracket of an object: changes accumulate and are written back once.
class IQBTPCBUpdates : public IInterface {
public:
  static constexpr TGUID IID = MakeGUID("{A2E8D45A-4297-42C6-BAA3-40E9B3505EF3}");
  using TParent = IInterface;

  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

// Answers the implementing object itself, without counting a reference.
class IQBTGetInstance : public IInterface {
public:
  static constexpr TGUID IID = MakeGUID("{5B4DF36D-14A3-431C-AA67-B18C20B79137}");
  using TParent = IInterface;

  virtual void* GetInstance() noexcept = 0;
};

// One board object. Getters read the object from the provider on first use; setters store the
// value and write the changed fields back through the provider.
class IQBTPCBObject : public IQBTPCBUpdates {
public:
  static constexpr TGUID IID = MakeGUID("{085296B9-402B-4801-B32B-3869898AC834}");
  using TParent = IQBTPCBUpdates;

  virtual std::string GetComment() = 0;
  virtual uint32_t GetHandle() = 0; // never reads the object
  virtual std::string GetName() = 0;
  virtual uint8_t GetLayer() = 0;
  virtual std::string GetPattern() = 0;
  virtual uint8_t GetPlacement() = 0;
  virtual long double GetMountOffset() = 0;
  virtual TQBTPointRec GetStartPoint() = 0;
  virtual TQBTPointRec GetEndPoint() = 0;
  virtual long double GetWidth() = 0;
  virtual bool GetIsKeepOut() = 0;
  virtual long double GetAngle() = 0;
  virtual TQBTPCBObjectKind GetKind() = 0;
  virtual uint32_t GetComponentHandle() = 0;
  // A copy sharing the object's bounding polygon; valid while the object lives.
  virtual TQBTPCBObjectRec GetRec() = 0;
  virtual bool GetPlated() = 0;
  virtual long double GetHoleSize() = 0;
  virtual TQBTRectRec GetBoundingRect() = 0;
  // Owned by the object.
  virtual TQBTIDFPointsList* GetBoundingPolygon() = 0;
  // The owning component, or nil.
  virtual TQBTRef<IQBTPCBObject> GetComponent() = 0;
  virtual long double GetHeight() = 0;
  virtual bool GetSelected() = 0;
  virtual void SetName(const std::string& Value) = 0;
  virtual void SetLayer(uint8_t Value) = 0;
  virtual void SetPattern(const std::string& Value) = 0;
  virtual void SetPlacement(uint8_t Value) = 0;
  virtual void SetMountOffset(long double Value) = 0;
  virtual void SetStartPoint(const TQBTPointRec& Value) = 0;
  virtual void SetEndPoint(const TQBTPointRec& Value) = 0;
  virtual void SetWidth(long double Value) = 0;
  virtual void SetIsKeepOut(bool Value) = 0;
  virtual void SetAngle(long double Value) = 0;
  virtual void SetPlated(bool Value) = 0;
  virtual void SetHoleSize(long double Value) = 0;
  virtual void SetBoundingRect(const TQBTRectRec& Value) = 0;
  // Rooms keep the shape they were read with.
  virtual void SetBoundingPolygon(TQBTIDFPointsList* Value) = 0;
  virtual void SetHeight(long double Value) = 0;
  virtual void SetComment(const std::string& Value) = 0;
};

// An ordered list of board objects that can be filtered by field values.
class IQBTPCBObjectList : public IQBTGetInstance {
public:
  static constexpr TGUID IID = MakeGUID("{8A0DACAF-3E2C-452B-8B98-E22007CED288}");
  using TParent = IQBTGetInstance;

  virtual int32_t GetCount() = 0;
  // Raises the list-index error outside 0 .. GetCount() - 1.
  virtual TQBTRef<IQBTPCBObject> GetItem(int32_t Index) = 0;
  virtual TQBTRef<IQBTPCBObject> FindByHandle(uint32_t Handle) = 0;
  // Nil for the shared empty list.
  virtual TQBTRef<IQBTPCBObjectProvider> GetProvider() = 0;
  // The objects whose values of every field in Fields equal Key's, in list order. A layer 0 or
  // a kind okNone in Key matches any layer or kind.
  virtual TQBTRef<IQBTPCBObjectList> Filter(const TQBTPCBObjectRec& Key,
                                            TQBTPCBObjectFields Fields) = 0;
};

// ---------------------------------------------------------------------------------------------
// The provider: everything the translation knows about a board host

// Host layer numbers 0 to 82.
class TQBTLayerSet {
public:
  static constexpr int MaxLayer = 82;

  constexpr TQBTLayerSet() = default;
  constexpr TQBTLayerSet(std::initializer_list<int> Layers) {
    for (int Layer : Layers) {
      Include(Layer);
    }
  }
  // Every layer from First to Last.
  static constexpr TQBTLayerSet Range(int First, int Last) {
    TQBTLayerSet Set;
    for (int Layer = First; Layer <= Last; ++Layer) {
      Set.Include(Layer);
    }
    return Set;
  }

  constexpr bool Contains(int Layer) const {
    return Layer >= 0 && Layer <= MaxLayer && (FBits[Layer / 64] >> (Layer % 64) & 1) != 0;
  }
  // Numbers outside 0 .. 82 are ignored.
  constexpr void Include(int Layer) {
    if (Layer >= 0 && Layer <= MaxLayer) {
      FBits[Layer / 64] |= uint64_t{1} << (Layer % 64);
    }
  }
  constexpr void Exclude(int Layer) {
    if (Layer >= 0 && Layer <= MaxLayer) {
      FBits[Layer / 64] &= ~(uint64_t{1} << (Layer % 64));
    }
  }
  constexpr bool Empty() const { return FBits[0] == 0 && FBits[1] == 0; }

  friend constexpr bool operator==(const TQBTLayerSet&, const TQBTLayerSet&) = default;

private:
  std::array<uint64_t, 2> FBits{};
};

// Called once per object handle of the board.
using TQBTEnumObjectsCallback = std::function<void(uint32_t Handle)>;

// Records from ReadObject, the thickness and the outline are in thousandths of an inch; records
// and coordinates given to ComponentDiffers .. SetObjectRect and CreateFill are in host
// coordinates; point lists stay in thousandths of an inch. Handles are opaque, 0 is none.
class IQBTPCBObjectProvider : public IInterface {
public:
  static constexpr TGUID IID = MakeGUID("{C40C4A21-CDA3-43E0-98DE-BD55EDEBE0F9}");
  using TParent = IInterface;

  // Rec is cleared first; only the fields of the object's kind are filled.
  virtual void ReadObject(uint32_t Handle, TQBTPCBObjectRec& Rec) = 0;
  virtual void WriteObject(TQBTPCBObjectFields Fields, const TQBTPCBObjectRec& Rec) = 0;
  virtual void EnumObjects(const TQBTEnumObjectsCallback& Callback) = 0;
  virtual std::string GetFileName() = 0;
  virtual long double GetBoardThickness() = 0;
  // A closed loop of n + 1 points, owned by the caller; empty below 2 vertices; nil without a
  // board.
  virtual std::unique_ptr<TQBTIDFPointsList> GetBoardOutline() = 0;
  // Empty outside 1 .. 82.
  virtual std::string GetLayerName(uint8_t Layer) = 0;
  // The lowest layer of that name ignoring ASCII case, or 0.
  virtual uint8_t GetLayerByName(const std::string& Name) = 0;
  // Clears Strings, then adds the names of the layers 1 .. 82 in Include and not in Exclude.
  virtual void ListLayers(TStringList& Strings, const TQBTLayerSet& Include,
                          const TQBTLayerSet& Exclude) = 0;
  virtual TQBTLayerSet GetAllLayers() = 0;    // 1 .. 75
  virtual TQBTLayerSet GetSignalLayers() = 0; // 1 .. 32
  virtual TQBTIDFUnitsDef GetDisplayUnits() = 0;
  virtual void Redraw() = 0;
  virtual void SaveTextFile(const std::string& FileName, const std::string& Text, bool Open) = 0;
  // Returns the previous state of the host's file-modified check.
  virtual bool BeginModify() = 0;
  virtual bool EndModify() = 0;
  virtual bool ComponentDiffers(const TQBTPCBObjectRec& Rec) = 0;
  // A free pad "MTG" at StartPoint whose hole diameter is Width.
  virtual uint32_t CreateHole(const TQBTPCBObjectRec& Rec) = 0;
  virtual uint32_t CreateComponent(const TQBTPCBObjectRec& Rec) = 0;
  virtual bool UpdateComponent(const TQBTPCBObjectRec& Rec) = 0;
  virtual uint32_t CreateTrack(const TQBTPointRec& StartPoint, const TQBTPointRec& EndPoint,
                               long double Width, uint8_t Layer, bool IsKeepOut) = 0;
  virtual uint32_t CreateArc(const TQBTPointRec& StartPoint, const TQBTPointRec& EndPoint,
                             long double Angle, long double Width, uint8_t Layer,
                             bool IsKeepOut) = 0;
  // Layer 0 means every layer 1 .. 75.
  virtual void RemoveTracksAndArcs(uint8_t Layer) = 0;
  virtual void SetObjectRect(uint32_t Handle, const TQBTRectRec& Rect) = 0;
  virtual void SetRuleName(uint32_t Handle, const std::string& Name) = 0;
  virtual void CreateRegion(const TQBTIDFPointsList& Points, uint8_t Layer, bool IsKeepOut) = 0;
  virtual uint32_t CreateRoom(const std::string& Name, const TQBTIDFPointsList& Points,
                              uint8_t Layer, bool IsKeepOut) = 0;
  virtual uint32_t CreateFill(const TQBTRectRec& Rect, bool IsKeepOut, uint8_t Layer) = 0;
  virtual void SetRoomShape(uint32_t Handle, const TQBTIDFPointsList& Points) = 0;
  // A board outline with cut-outs adds them as cut-out regions first.
  virtual void SetBoardOutline(const TQBTIDFPointsList& Outline) = 0;
  virtual void RemoveRules() = 0;
};

// ---------------------------------------------------------------------------------------------
// Lists and process-wide facilities

// A new list of every object of Provider's board, filled on first use.
TQBTRef<IQBTPCBObjectList> CreatePCBObjectList(const TQBTRef<IQBTPCBObjectProvider>& Provider);

// The one list without provider and without objects.
TQBTRef<IQBTPCBObjectList> SharedEmptyList();

// Installed by the host layer when the plug-in loads: the provider of the host's current board.
using TQBTCurrentProviderHook = TQBTRef<IQBTPCBObjectProvider> (*)();
extern TQBTCurrentProviderHook CurrentProviderHook;

// The hook's provider, or nil when no hook is installed.
TQBTRef<IQBTPCBObjectProvider> GetCurrentProvider();

// Holes made by CreateHole are named "MTG"; the name test is case-sensitive.
bool IsMountingHoleName(const std::string& Name);

// The footprints already warned about in this run, sorted ignoring case.
TStringList& ReportedFootprints();
void ClearReportedFootprints();

} // namespace qbt
