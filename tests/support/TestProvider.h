// An in-memory board behind the provider contract, for tests: build a board in a few lines,
// read it through the object layer, and look at the calls the translation made.
//
// Objects are stored in thousandths of an inch, as ReadObject delivers them. Create and change
// operations receive host coordinates (install TTestCoordConvert); they are recorded with their
// arguments as received and then applied to the board. WriteObject is recorded and, like the
// host's, changes nothing on the board.
#pragma once

#include "board/qbtIDFPCBWrapper.h"
#include "util/qbtIDFProcs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qbt::test {

inline TQBTPointRec Pt(long double X, long double Y) {
  return TQBTPointRec{X, Y};
}

// A point of an outline: the arc arriving at it has the included angle Angle (0 straight).
struct TTestPoint {
  long double X = 0;
  long double Y = 0;
  long double Angle = 0;
};

// Host coordinates for tests: 10000 per thousandth of an inch. Installed while it lives.
class TTestCoordConvert {
public:
  static constexpr double PerMil = 10000.0;
  TTestCoordConvert() : FSaved(QBTCoordConvert) {
    QBTCoordConvert.MMsToCoord = [](double MM) {
      return static_cast<int32_t>(RoundMasked(MM / 0.0254 * PerMil));
    };
    QBTCoordConvert.MilsToCoord = [](double Mils) {
      return static_cast<int32_t>(RoundMasked(Mils * PerMil));
    };
    QBTCoordConvert.CoordToMMs = [](int32_t Coord) { return Coord / PerMil * 0.0254; };
    QBTCoordConvert.CoordToMils = [](int32_t Coord) { return Coord / PerMil; };
  }
  ~TTestCoordConvert() { QBTCoordConvert = FSaved; }
  TTestCoordConvert(const TTestCoordConvert&) = delete;
  TTestCoordConvert& operator=(const TTestCoordConvert&) = delete;

private:
  TQBTCoordConvert FSaved;
};

// One create or change call as the provider received it.
struct TProviderCall {
  TProviderCall() = default;
  explicit TProviderCall(std::string Name) : Operation(std::move(Name)) {}

  std::string Operation;
  uint32_t Handle = 0; // the handle argument, or the handle created
  TQBTPCBObjectFields Fields;
  TQBTPCBObjectRec Rec; // BoundingPolygon cleared: the list is the caller's
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
  TQBTRectRec Rect;
  long double Angle = 0;
  long double Width = 0;
  uint8_t Layer = 0;
  bool IsKeepOut = false;
  std::string Name;
  std::vector<TTestPoint> Points;
  bool Result = false; // boolean answers
};

class TTestProvider final : public TQBTInterfacedObject<IQBTPCBObjectProvider> {
public:
  struct TObject {
    TQBTPCBObjectRec Rec; // BoundingPolygon unused; rooms keep Shape
    std::vector<TTestPoint> Shape;
    bool HasShape = false;
    bool Movable = true;
    bool Removed = false;
  };

  static TQBTRef<TTestProvider> Create() { return TQBTRef<TTestProvider>(new TTestProvider()); }

  // --- the board -----------------------------------------------------------------------------

  std::string FileName = "/boards/Test.PcbDoc";
  long double BoardThickness = 62;
  bool HasBoard = true;
  std::vector<TTestPoint> Outline; // closed: the last point repeats the first
  std::array<std::string, 83> LayerNames = DefaultLayerNames();
  TQBTIDFUnitsDef DisplayUnits = udTHOU;
  // Footprints the libraries do not have (compared ignoring case).
  std::vector<std::string> MissingFootprints;
  // Warnings the provider gave, once per missing footprint and run.
  std::vector<std::string> Warnings;
  // The operation named here raises an Exception (for error paths).
  std::string FailOn;

  uint32_t AddObject(TQBTPCBObjectRec Rec) {
    if (Rec.Handle == 0) {
      Rec.Handle = FNextHandle++;
    }
    FIndex[Rec.Handle] = FObjects.size();
    FObjects.push_back(TObject{std::move(Rec), {}, false, true, false});
    return FObjects.back().Rec.Handle;
  }
  uint32_t AddComponent(std::string Name, std::string Pattern, TQBTPointRec Location,
                        long double Angle = 0, uint8_t Layer = 1) {
    TQBTPCBObjectRec R;
    R.Kind = okComponent;
    R.Name = std::move(Name);
    R.Pattern = std::move(Pattern);
    R.StartPoint = Location;
    R.Angle = Angle;
    R.Layer = Layer;
    R.Placement = 2; // PLACED
    return AddObject(std::move(R));
  }
  uint32_t AddPad(uint32_t Component, std::string Name, TQBTPointRec Location,
                  long double HoleSize = 0, bool Plated = true, uint8_t Layer = 74) {
    TQBTPCBObjectRec R;
    R.Kind = okPad;
    R.Component = Component;
    R.Name = std::move(Name);
    R.StartPoint = Location;
    R.HoleSize = HoleSize;
    R.Plated = Plated;
    R.Layer = Layer;
    return AddObject(std::move(R));
  }
  uint32_t AddVia(TQBTPointRec Location, long double HoleSize, uint8_t Layer = 74) {
    TQBTPCBObjectRec R;
    R.Kind = okVia;
    R.StartPoint = Location;
    R.HoleSize = HoleSize;
    R.Layer = Layer;
    return AddObject(std::move(R));
  }
  uint32_t AddTrack(TQBTPointRec From, TQBTPointRec To, uint8_t Layer, uint32_t Component = 0,
                    bool IsKeepOut = false, long double Width = 10) {
    TQBTPCBObjectRec R;
    R.Kind = okTrack;
    R.StartPoint = From;
    R.EndPoint = To;
    R.Layer = Layer;
    R.Component = Component;
    R.IsKeepOut = IsKeepOut;
    R.Width = Width;
    return AddObject(std::move(R));
  }
  // Angle: swept counter-clockwise from From to To.
  uint32_t AddArc(TQBTPointRec From, TQBTPointRec To, long double Angle, uint8_t Layer,
                  uint32_t Component = 0, bool IsKeepOut = false, long double Width = 10) {
    TQBTPCBObjectRec R;
    R.Kind = okArc;
    R.StartPoint = From;
    R.EndPoint = To;
    R.Angle = Angle;
    R.Layer = Layer;
    R.Component = Component;
    R.IsKeepOut = IsKeepOut;
    R.Width = Width;
    return AddObject(std::move(R));
  }
  uint32_t AddFill(TQBTPointRec First, TQBTPointRec Second, uint8_t Layer, bool IsKeepOut = false) {
    TQBTPCBObjectRec R;
    R.Kind = okFill;
    R.StartPoint = First;
    R.EndPoint = Second;
    R.Layer = Layer;
    R.IsKeepOut = IsKeepOut;
    return AddObject(std::move(R));
  }
  // A room of the given vertices; the loop is closed for it.
  uint32_t AddRoom(std::string Name, std::vector<TTestPoint> Vertices, uint8_t Layer = 1,
                   bool IsKeepOut = false) {
    TQBTPCBObjectRec R;
    R.Kind = okRule;
    R.RuleKind = RoomRuleKind;
    R.Name = std::move(Name);
    R.Layer = Layer;
    R.IsKeepOut = IsKeepOut;
    const uint32_t Handle = AddObject(std::move(R));
    SetShape(Object(Handle), Closed(std::move(Vertices)));
    return Handle;
  }
  // A rule of another kind than a room.
  uint32_t AddRule(std::string Name, uint8_t RuleKind, uint8_t Layer = 0) {
    TQBTPCBObjectRec R;
    R.Kind = okRule;
    R.RuleKind = RuleKind;
    R.Name = std::move(Name);
    R.Layer = Layer;
    return AddObject(std::move(R));
  }
  // Tracks from each vertex to the next, the last back to the first.
  void AddTrackLoop(const std::vector<TQBTPointRec>& Vertices, uint8_t Layer,
                    uint32_t Component = 0) {
    for (size_t I = 0; I < Vertices.size(); ++I) {
      AddTrack(Vertices[I], Vertices[(I + 1) % Vertices.size()], Layer, Component);
    }
  }

  TObject& Object(uint32_t Handle) { return FObjects.at(FIndex.at(Handle)); }
  bool Exists(uint32_t Handle) const { return FIndex.count(Handle) != 0; }
  // The live objects in board order.
  std::vector<const TObject*> Objects() const {
    std::vector<const TObject*> Live;
    for (const auto& O : FObjects) {
      if (!O.Removed) {
        Live.push_back(&O);
      }
    }
    return Live;
  }

  // --- what the translation asked ------------------------------------------------------------

  int ReadCount = 0;
  std::unordered_map<uint32_t, int> ReadsOf;
  int EnumCount = 0;
  std::vector<TProviderCall> Calls;

  std::vector<TProviderCall> CallsOf(std::string_view Operation) const {
    std::vector<TProviderCall> Found;
    for (const auto& Call : Calls) {
      if (Call.Operation == Operation) {
        Found.push_back(Call);
      }
    }
    return Found;
  }
  void ResetCounts() {
    ReadCount = 0;
    ReadsOf.clear();
    EnumCount = 0;
    Calls.clear();
  }

  // --- IQBTPCBObjectProvider -----------------------------------------------------------------

  void ReadObject(uint32_t Handle, TQBTPCBObjectRec& Rec) override {
    MaybeFail("ReadObject");
    ++ReadCount;
    ++ReadsOf[Handle];
    Rec = TQBTPCBObjectRec();
    Rec.Handle = Handle;
    auto Found = FIndex.find(Handle);
    if (Found == FIndex.end()) {
      return;
    }
    const TObject& O = FObjects[Found->second];
    const TQBTPCBObjectRec& S = O.Rec;
    Rec.Kind = S.Kind;
    switch (S.Kind) {
    case okArc:
    case okTrack:
      Rec.Layer = S.Layer;
      Rec.StartPoint = S.StartPoint;
      Rec.EndPoint = S.EndPoint;
      Rec.Angle = S.Kind == okArc ? S.Angle : 0;
      Rec.Width = S.Width;
      Rec.IsKeepOut = S.IsKeepOut;
      Rec.Component = S.Component;
      Rec.BoundingRect = Bounds({S.StartPoint, S.EndPoint});
      break;
    case okPad:
    case okVia:
      Rec.Layer = S.Layer;
      Rec.Name = S.Kind == okPad ? S.Name : "";
      Rec.StartPoint = S.StartPoint;
      Rec.HoleSize = S.HoleSize;
      Rec.Plated = S.Kind == okPad && S.Plated;
      Rec.Selected = S.Selected;
      Rec.Component = S.Component;
      Rec.BoundingRect = S.BoundingRect;
      break;
    case okFill:
      Rec.Layer = S.Layer;
      Rec.StartPoint = S.StartPoint;
      Rec.EndPoint = S.EndPoint;
      Rec.IsKeepOut = S.IsKeepOut;
      Rec.BoundingRect = TQBTRectRec{S.StartPoint, S.EndPoint};
      break;
    case okComponent:
      Rec.Layer = S.Layer;
      Rec.Name = S.Name;
      Rec.Comment = S.Comment;
      Rec.Pattern = S.Pattern;
      Rec.StartPoint = S.StartPoint;
      Rec.Angle = S.Angle;
      Rec.Height = S.Height;
      Rec.BoundingRect = S.BoundingRect;
      Rec.EndPoint = S.BoundingRect.Second;
      Rec.Placement = S.Placement;
      break;
    case okRule:
      Rec.Layer = S.Layer;
      Rec.Name = S.Name;
      Rec.RuleKind = S.RuleKind;
      Rec.BoundingRect = O.HasShape ? ShapeBounds(O.Shape) : S.BoundingRect;
      Rec.StartPoint = Rec.BoundingRect.First;
      Rec.EndPoint = Rec.BoundingRect.Second;
      if (O.HasShape) {
        auto* Points = new TQBTIDFPointsList();
        for (const auto& P : O.Shape) {
          Points->AddPoint(0, P.X, P.Y, P.Angle);
        }
        Rec.BoundingPolygon = Points;
        Rec.IsKeepOut = S.IsKeepOut;
      }
      break;
    default:
      break;
    }
  }

  void WriteObject(TQBTPCBObjectFields Fields, const TQBTPCBObjectRec& Rec) override {
    MaybeFail("WriteObject");
    TProviderCall Call = Record("WriteObject", Rec);
    Call.Handle = Rec.Handle;
    Call.Fields = Fields;
    Calls.push_back(std::move(Call));
  }

  void EnumObjects(const TQBTEnumObjectsCallback& Callback) override {
    MaybeFail("EnumObjects");
    ++EnumCount;
    for (size_t I = 0; I < FObjects.size(); ++I) {
      if (!FObjects[I].Removed) {
        Callback(FObjects[I].Rec.Handle);
      }
    }
  }

  std::string GetFileName() override { return FileName; }
  long double GetBoardThickness() override { return BoardThickness; }

  std::unique_ptr<TQBTIDFPointsList> GetBoardOutline() override {
    if (!HasBoard) {
      return nullptr;
    }
    auto List = std::make_unique<TQBTIDFPointsList>();
    if (Outline.size() >= 3) { // two vertices and the closing point at least
      for (const auto& P : Outline) {
        List->AddPoint(0, P.X, P.Y, P.Angle);
      }
    }
    return List;
  }

  std::string GetLayerName(uint8_t Layer) override {
    return Layer >= 1 && Layer <= 82 ? LayerNames[Layer] : std::string();
  }
  uint8_t GetLayerByName(const std::string& Name) override {
    for (int Layer = 1; Layer <= 82; ++Layer) {
      if (SameText(LayerNames[static_cast<size_t>(Layer)], Name)) {
        return static_cast<uint8_t>(Layer);
      }
    }
    return 0;
  }
  void ListLayers(TStringList& Strings, const TQBTLayerSet& Include,
                  const TQBTLayerSet& Exclude) override {
    Strings.Clear();
    for (int Layer = 1; Layer <= 82; ++Layer) {
      if (Include.Contains(Layer) && !Exclude.Contains(Layer)) {
        Strings.AddObject(LayerNames[static_cast<size_t>(Layer)], Layer);
      }
    }
  }
  TQBTLayerSet GetAllLayers() override { return TQBTLayerSet::Range(1, 75); }
  TQBTLayerSet GetSignalLayers() override { return TQBTLayerSet::Range(1, 32); }
  TQBTIDFUnitsDef GetDisplayUnits() override { return DisplayUnits; }

  void Redraw() override { Calls.push_back(TProviderCall{"Redraw"}); }
  void SaveTextFile(const std::string& Name, const std::string&, bool) override {
    TProviderCall Call{"SaveTextFile"};
    Call.Name = Name;
    Calls.push_back(std::move(Call));
  }
  bool BeginModify() override {
    Calls.push_back(TProviderCall{"BeginModify"});
    return true;
  }
  bool EndModify() override {
    Calls.push_back(TProviderCall{"EndModify"});
    return true;
  }

  bool ComponentDiffers(const TQBTPCBObjectRec& Rec) override {
    MaybeFail("ComponentDiffers");
    TProviderCall Call = Record("ComponentDiffers", Rec);
    Call.Handle = Rec.Handle;
    Call.Result = ApplyComponent(Rec, false, true);
    Calls.push_back(Call);
    return Call.Result;
  }
  uint32_t CreateHole(const TQBTPCBObjectRec& Rec) override {
    MaybeFail("CreateHole");
    TProviderCall Call = Record("CreateHole", Rec);
    TQBTPCBObjectRec Pad;
    Pad.Kind = okPad;
    Pad.Name = "MTG";
    Pad.StartPoint = ToThou(Rec.StartPoint);
    Pad.HoleSize = ToThou(Rec.Width);
    Pad.Plated = Rec.Plated;
    Pad.Layer = 74;
    Call.Handle = AddObject(std::move(Pad));
    Calls.push_back(Call);
    return Call.Handle;
  }
  uint32_t CreateComponent(const TQBTPCBObjectRec& Rec) override {
    MaybeFail("CreateComponent");
    TProviderCall Call = Record("CreateComponent", Rec);
    if (IsMissing(Rec.Pattern)) {
      WarnOnce(Rec.Pattern);
    } else {
      TQBTPCBObjectRec New;
      New.Kind = okComponent;
      New.Placement = 2;
      Call.Handle = AddObject(std::move(New));
      ApplyComponent(Rec, true, false, Call.Handle);
    }
    Calls.push_back(Call);
    return Call.Handle;
  }
  bool UpdateComponent(const TQBTPCBObjectRec& Rec) override {
    MaybeFail("UpdateComponent");
    TProviderCall Call = Record("UpdateComponent", Rec);
    Call.Handle = Rec.Handle;
    Call.Result = ApplyComponent(Rec, false, false);
    Calls.push_back(Call);
    return Call.Result;
  }
  uint32_t CreateTrack(const TQBTPointRec& StartPoint, const TQBTPointRec& EndPoint,
                       long double Width, uint8_t Layer, bool IsKeepOut) override {
    MaybeFail("CreateTrack");
    TProviderCall Call{"CreateTrack"};
    Call.StartPoint = StartPoint;
    Call.EndPoint = EndPoint;
    Call.Width = Width;
    Call.Layer = Layer;
    Call.IsKeepOut = IsKeepOut;
    Call.Handle =
        AddTrack(ToThou(StartPoint), ToThou(EndPoint), Layer, 0, IsKeepOut, ToThou(Width));
    Calls.push_back(Call);
    return Call.Handle;
  }
  uint32_t CreateArc(const TQBTPointRec& StartPoint, const TQBTPointRec& EndPoint,
                     long double Angle, long double Width, uint8_t Layer, bool IsKeepOut) override {
    MaybeFail("CreateArc");
    TProviderCall Call{"CreateArc"};
    Call.StartPoint = StartPoint;
    Call.EndPoint = EndPoint;
    Call.Angle = Angle;
    Call.Width = Width;
    Call.Layer = Layer;
    Call.IsKeepOut = IsKeepOut;
    Call.Handle =
        AddArc(ToThou(StartPoint), ToThou(EndPoint), Angle, Layer, 0, IsKeepOut, ToThou(Width));
    Calls.push_back(Call);
    return Call.Handle;
  }
  void RemoveTracksAndArcs(uint8_t Layer) override {
    MaybeFail("RemoveTracksAndArcs");
    TProviderCall Call{"RemoveTracksAndArcs"};
    Call.Layer = Layer;
    Calls.push_back(Call);
    for (auto& O : FObjects) {
      const bool OnLayer =
          Layer == 0 ? (O.Rec.Layer >= 1 && O.Rec.Layer <= 75) : O.Rec.Layer == Layer;
      if ((O.Rec.Kind == okTrack || O.Rec.Kind == okArc) && O.Rec.Component == 0 && OnLayer) {
        Remove(O);
      }
    }
  }
  void SetObjectRect(uint32_t Handle, const TQBTRectRec& Rect) override {
    MaybeFail("SetObjectRect");
    TProviderCall Call{"SetObjectRect"};
    Call.Handle = Handle;
    Call.Rect = Rect;
    Calls.push_back(Call);
    if (!Exists(Handle)) {
      return;
    }
    TQBTPCBObjectRec& R = Object(Handle).Rec;
    R.StartPoint = ToThou(Rect.First);
    if (R.Kind == okTrack || R.Kind == okFill) {
      R.EndPoint = ToThou(Rect.Second);
    }
  }
  void SetRuleName(uint32_t Handle, const std::string& Name) override {
    MaybeFail("SetRuleName");
    TProviderCall Call{"SetRuleName"};
    Call.Handle = Handle;
    Call.Name = Name;
    Calls.push_back(Call);
    if (Exists(Handle) && Object(Handle).Rec.Kind == okRule) {
      Object(Handle).Rec.Name = Name;
    }
  }
  void CreateRegion(const TQBTIDFPointsList& Points, uint8_t Layer, bool IsKeepOut) override {
    MaybeFail("CreateRegion");
    TProviderCall Call{"CreateRegion"};
    Call.Points = PointsOf(Points);
    Call.Layer = Layer;
    Call.IsKeepOut = IsKeepOut;
    TQBTPCBObjectRec Region; // regions have no kind of their own
    Region.Layer = Layer;
    Region.IsKeepOut = IsKeepOut;
    Call.Handle = AddObject(std::move(Region));
    SetShape(Object(Call.Handle), Call.Points);
    Calls.push_back(Call);
  }
  uint32_t CreateRoom(const std::string& Name, const TQBTIDFPointsList& Points, uint8_t Layer,
                      bool IsKeepOut) override {
    MaybeFail("CreateRoom");
    TProviderCall Call{"CreateRoom"};
    Call.Name = Name;
    Call.Points = PointsOf(Points);
    Call.Layer = Layer;
    Call.IsKeepOut = IsKeepOut;
    TQBTPCBObjectRec Room;
    Room.Kind = okRule;
    Room.RuleKind = RoomRuleKind;
    Room.Name = Name;
    Room.Layer = Layer;
    Room.IsKeepOut = IsKeepOut;
    Call.Handle = AddObject(std::move(Room));
    SetShape(Object(Call.Handle), Call.Points);
    Calls.push_back(Call);
    return Call.Handle;
  }
  uint32_t CreateFill(const TQBTRectRec& Rect, bool IsKeepOut, uint8_t Layer) override {
    MaybeFail("CreateFill");
    TProviderCall Call{"CreateFill"};
    Call.Rect = Rect;
    Call.IsKeepOut = IsKeepOut;
    Call.Layer = Layer;
    Call.Handle = AddFill(ToThou(Rect.First), ToThou(Rect.Second), Layer, IsKeepOut);
    Calls.push_back(Call);
    return Call.Handle;
  }
  void SetRoomShape(uint32_t Handle, const TQBTIDFPointsList& Points) override {
    MaybeFail("SetRoomShape");
    TProviderCall Call{"SetRoomShape"};
    Call.Handle = Handle;
    Call.Points = PointsOf(Points);
    Calls.push_back(Call);
    if (Exists(Handle) && Object(Handle).Rec.Kind == okRule &&
        Object(Handle).Rec.RuleKind == RoomRuleKind) {
      SetShape(Object(Handle), Call.Points);
    }
  }
  void SetBoardOutline(const TQBTIDFPointsList& NewOutline) override {
    MaybeFail("SetBoardOutline");
    TProviderCall Call{"SetBoardOutline"};
    Call.Points = PointsOf(NewOutline);
    Calls.push_back(Call);
    Outline = Call.Points;
  }
  void RemoveRules() override {
    MaybeFail("RemoveRules");
    Calls.push_back(TProviderCall{"RemoveRules"});
    for (auto& O : FObjects) {
      if (O.Rec.Kind == okRule && O.Rec.RuleKind == RoomRuleKind) {
        Remove(O);
      }
    }
  }

  static std::array<std::string, 83> DefaultLayerNames() {
    std::array<std::string, 83> Names;
    Names[0] = "NoLayer";
    Names[1] = "TopLayer";
    for (int I = 1; I <= 30; ++I) {
      Names[static_cast<size_t>(1 + I)] = "MidLayer" + std::to_string(I);
    }
    Names[32] = "BottomLayer";
    const char* Overlays[] = {"TopOverlay",  "BottomOverlay", "TopPaste",
                              "BottomPaste", "TopSolder",     "BottomSolder"};
    for (int I = 0; I < 6; ++I) {
      Names[static_cast<size_t>(33 + I)] = Overlays[I];
    }
    for (int I = 1; I <= 16; ++I) {
      Names[static_cast<size_t>(38 + I)] = "InternalPlane" + std::to_string(I);
    }
    Names[55] = "DrillGuide";
    Names[56] = "KeepOutLayer";
    for (int I = 1; I <= 16; ++I) {
      Names[static_cast<size_t>(56 + I)] = "Mechanical" + std::to_string(I);
    }
    const char* Rest[] = {"DrillDrawing",  "MultiLayer",     "ConnectLayer", "BackGroundLayer",
                          "DRCErrorLayer", "HighlightLayer", "GridColor1",   "GridColor10",
                          "PadHoleLayer",  "ViaHoleLayer"};
    for (int I = 0; I < 10; ++I) {
      Names[static_cast<size_t>(73 + I)] = Rest[I];
    }
    return Names;
  }

private:
  TTestProvider() = default;
  ~TTestProvider() override = default;

  void MaybeFail(std::string_view Operation) const {
    if (FailOn == Operation) {
      throw Exception("Test board: " + std::string(Operation) + " failed");
    }
  }

  static TProviderCall Record(std::string Operation, const TQBTPCBObjectRec& Rec) {
    TProviderCall Call{std::move(Operation)};
    Call.Rec = Rec;
    Call.Rec.BoundingPolygon = nullptr;
    return Call;
  }

  static long double ToThou(long double Coord) { return Convert(Coord, udCoord, udTHOU); }
  static TQBTPointRec ToThou(const TQBTPointRec& P) { return ConvertPoint(P, udCoord, udTHOU); }

  static std::vector<TTestPoint> PointsOf(const TQBTIDFPointsList& List) {
    std::vector<TTestPoint> Points;
    for (int I = 0; I < List.Count(); ++I) {
      const TQBTIDFPointItem& P = *List.PointItems(I);
      Points.push_back(TTestPoint{P.X, P.Y, P.InclAngle});
    }
    return Points;
  }
  static std::vector<TTestPoint> Closed(std::vector<TTestPoint> Vertices) {
    if (!Vertices.empty()) {
      TTestPoint Back = Vertices.front();
      Back.Angle = 0;
      Vertices.push_back(Back);
    }
    return Vertices;
  }
  static TQBTRectRec Bounds(std::initializer_list<TQBTPointRec> Points) {
    TQBTRectRec R{*Points.begin(), *Points.begin()};
    for (const auto& P : Points) {
      R.First = Pt(std::min(R.First.X, P.X), std::min(R.First.Y, P.Y));
      R.Second = Pt(std::max(R.Second.X, P.X), std::max(R.Second.Y, P.Y));
    }
    return R;
  }
  static TQBTRectRec ShapeBounds(const std::vector<TTestPoint>& Shape) {
    if (Shape.empty()) {
      return {};
    }
    TQBTRectRec R{Pt(Shape[0].X, Shape[0].Y), Pt(Shape[0].X, Shape[0].Y)};
    for (const auto& P : Shape) {
      R.First = Pt(std::min(R.First.X, P.X), std::min(R.First.Y, P.Y));
      R.Second = Pt(std::max(R.Second.X, P.X), std::max(R.Second.Y, P.Y));
    }
    return R;
  }
  static void SetShape(TObject& O, std::vector<TTestPoint> Shape) {
    O.Shape = std::move(Shape);
    O.HasShape = true;
  }
  void Remove(TObject& O) {
    O.Removed = true;
    FIndex.erase(O.Rec.Handle);
  }

  bool IsMissing(const std::string& Pattern) const {
    return std::any_of(MissingFootprints.begin(), MissingFootprints.end(),
                       [&](const std::string& M) { return SameText(M, Pattern); });
  }
  void WarnOnce(const std::string& Pattern) {
    TStringList& Reported = ReportedFootprints();
    if (Reported.IndexOf(Pattern) >= 0) {
      return;
    }
    Reported.Add(Pattern);
    Warnings.push_back("Footprint " + Pattern + " not found");
  }

  // Brings a component to Rec's footprint, side, location, rotation, designator, comment and
  // movability; answers whether anything differed.
  bool ApplyComponent(const TQBTPCBObjectRec& Rec, bool IsNew, bool CompareOnly,
                      uint32_t Handle = 0) {
    const uint32_t Target = Handle != 0 ? Handle : Rec.Handle;
    if (!Exists(Target)) {
      return false;
    }
    TObject& O = Object(Target);
    if (O.Rec.Kind != okComponent || (!IsNew && !O.Movable)) {
      return false;
    }
    TQBTPCBObjectRec& C = O.Rec;
    const TQBTPointRec Location = ToThou(Rec.StartPoint);
    const bool Movable = Rec.Placement != 0 && Rec.Placement != 3;
    bool Changed = false;
    auto Apply = [&](bool Differs, auto&& Set) {
      if (Differs) {
        Changed = true;
        if (!CompareOnly) {
          Set();
        }
      }
    };
    Apply(!SameText(C.Pattern, Rec.Pattern) && !IsMissing(Rec.Pattern),
          [&] { C.Pattern = Rec.Pattern; });
    if (IsMissing(Rec.Pattern) && !CompareOnly) {
      WarnOnce(Rec.Pattern);
    }
    Apply(C.Layer != Rec.Layer, [&] { C.Layer = Rec.Layer; });
    Apply(std::fabs(C.StartPoint.X - Location.X) >= 0.0001L ||
              std::fabs(C.StartPoint.Y - Location.Y) >= 0.0001L,
          [&] { C.StartPoint = Location; });
    Apply(std::fabs(C.Angle - Rec.Angle) >= 0.0001L, [&] { C.Angle = Rec.Angle; });
    Apply(C.Name != Rec.Name, [&] { C.Name = Rec.Name; });
    Apply(C.Comment != Rec.Comment, [&] { C.Comment = Rec.Comment; });
    Apply(O.Movable != Movable, [&] { O.Movable = Movable; });
    if (!CompareOnly) {
      C.Placement = Rec.Placement;
    }
    return Changed;
  }

  std::vector<TObject> FObjects;
  std::unordered_map<uint32_t, size_t> FIndex;
  uint32_t FNextHandle = 1;
};

} // namespace qbt::test
