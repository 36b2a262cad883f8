#include "board/qbtIDFPCBWrapperObjects.h"
#include "support/TestProvider.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

using test::Pt;
using test::TTestProvider;

// A small board: two components with pads, free tracks, a keep-out arc and two rooms.
struct Board {
  TQBTRef<TTestProvider> Provider = TTestProvider::Create();
  TQBTRef<IQBTPCBObjectList> List;
  uint32_t U1 = 0, U2 = 0, Pad1 = 0, Pad2 = 0, Pad3 = 0, Track = 0, KeepArc = 0, Room = 0,
           KeepRoom = 0, Rule = 0;

  Board() {
    U1 = Provider->AddComponent("U1", "SO8", Pt(100, 100));
    Pad1 = Provider->AddPad(U1, "1", Pt(90, 100), 20);
    Room = Provider->AddRoom("R1", {{0, 0}, {50, 0}, {50, 50}}, 1);
    U2 = Provider->AddComponent("U2", "SO8", Pt(300, 100), 90, 32);
    Pad2 = Provider->AddPad(U2, "1", Pt(290, 100), 20);
    Track = Provider->AddTrack(Pt(0, 0), Pt(10, 0), 1);
    Pad3 = Provider->AddPad(U1, "2", Pt(110, 100), 20);
    KeepArc = Provider->AddArc(Pt(0, 0), Pt(10, 0), 180, 1, 0, true);
    KeepRoom = Provider->AddRoom("K1", {{0, 0}, {5, 0}, {5, 5}}, 1, true);
    Rule = Provider->AddRule("Clearance", 3);
    List = CreatePCBObjectList(Provider);
  }

  std::vector<uint32_t> Handles(const TQBTRef<IQBTPCBObjectList>& L) const {
    std::vector<uint32_t> Result;
    for (int I = 0; I < L->GetCount(); ++I) {
      Result.push_back(L->GetItem(I)->GetHandle());
    }
    return Result;
  }
  TQBTRef<IQBTPCBObject> Get(uint32_t Handle) const { return List->FindByHandle(Handle); }
};

TQBTPCBObjectRec Key(TQBTPCBObjectKind Kind, uint8_t Layer = 0) {
  TQBTPCBObjectRec R;
  R.Kind = Kind;
  R.Layer = Layer;
  return R;
}

// ---------------------------------------------------------------------------------------------
// Reading on first use

TEST(PCBObjectList, ReadsNothingUntilAnObjectIsUsedAndEachObjectOnce) {
  Board B;
  EXPECT_EQ(B.Provider->EnumCount, 0);

  ASSERT_EQ(B.List->GetCount(), 10);
  TQBTRef<IQBTPCBObject> First = B.List->GetItem(0);
  EXPECT_EQ(First->GetHandle(), B.U1);
  EXPECT_EQ(B.Provider->ReadCount, 0);

  EXPECT_EQ(First->GetName(), "U1");
  EXPECT_EQ(First->GetPattern(), "SO8");
  EXPECT_EQ(First->GetKind(), okComponent);
  EXPECT_EQ(B.Provider->ReadCount, 1);
  EXPECT_EQ(B.List->GetCount(), 10);
  EXPECT_EQ(B.Provider->EnumCount, 1);
}

TEST(PCBObjectList, AFailedEnumerationLeavesNoHalfList) {
  Board B;
  B.Provider->FailOn = "EnumObjects";
  EXPECT_THROW(B.List->GetCount(), Exception);
  B.Provider->FailOn.clear();
  EXPECT_EQ(B.List->GetCount(), 10);
}

TEST(PCBObjectList, GetItemOutsideTheListRaisesTheListIndexError) {
  Board B;
  try {
    B.List->GetItem(10);
    FAIL() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (10)");
  }
  EXPECT_THROW(B.List->GetItem(-1), Exception);
}

// ---------------------------------------------------------------------------------------------
// Filter

TEST(PCBObjectList, FilterFollowsTheAnyRulesAndKeepsBoardOrder) {
  Board B;
  struct Case {
    const char* Rule;
    TQBTPCBObjectRec Key;
    TQBTPCBObjectFields Fields;
    std::vector<uint32_t> Expected;
  };
  TQBTPCBObjectRec KeepOutRooms = Key(okRule);
  KeepOutRooms.RuleKind = RoomRuleKind;
  KeepOutRooms.IsKeepOut = true;
  TQBTPCBObjectRec GroupRooms = KeepOutRooms;
  GroupRooms.IsKeepOut = false;
  TQBTPCBObjectRec PadsOfU1 = Key(okPad);
  PadsOfU1.Component = B.U1;
  TQBTPCBObjectRec LowerName;
  LowerName.Name = "u2";
  TQBTPCBObjectRec OnLayer1 = Key(okNone, 1);
  TQBTPCBObjectRec FreeKeepOuts = Key(okNone);
  FreeKeepOuts.IsKeepOut = true;
  const std::vector<Case> Cases = {
      {"rules in board order", Key(okRule), {pfKind}, {B.Room, B.KeepRoom, B.Rule}},
      {"kind and rule kind and keep-out",
       KeepOutRooms,
       {pfIsKeepOut, pfKind, pfRuleKind},
       {B.KeepRoom}},
      {"group rooms", GroupRooms, {pfIsKeepOut, pfKind, pfRuleKind}, {B.Room}},
      {"pads of one component", PadsOfU1, {pfKind, pfComponent}, {B.Pad1, B.Pad3}},
      {"names ignore case", LowerName, {pfName}, {B.U2}},
      {"kind 0 with a layer is the layer",
       OnLayer1,
       {pfKind, pfLayer},
       {B.U1, B.Room, B.Track, B.KeepArc, B.KeepRoom}},
      {"a field without index scans the list",
       FreeKeepOuts,
       {pfIsKeepOut, pfLayer},
       {B.KeepArc, B.KeepRoom}},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(B.Handles(B.List->Filter(C.Key, C.Fields)), C.Expected) << C.Rule;
  }
}

TEST(PCBObjectList, FilterWithNothingToCompareIsTheListItself) {
  Board B;
  EXPECT_EQ(B.List->Filter(TQBTPCBObjectRec(), {}).Get(), B.List.Get());
  EXPECT_EQ(B.List->Filter(Key(okNone, 0), {pfLayer}).Get(), B.List.Get());
  EXPECT_EQ(B.List->Filter(Key(okNone, 0), {pfKind, pfLayer}).Get(), B.List.Get());
}

TEST(PCBObjectList, NoMatchInAnIndexGivesTheSharedEmptyList) {
  Board B;
  TQBTPCBObjectRec Missing;
  Missing.Handle = 999;
  TQBTRef<IQBTPCBObjectList> None = B.List->Filter(Missing, {pfHandle, pfName});
  EXPECT_EQ(None.Get(), SharedEmptyList().Get());
  EXPECT_EQ(None->GetCount(), 0);
  EXPECT_EQ(None->GetProvider(), nullptr);
  EXPECT_EQ(B.List->FindByHandle(999), nullptr);
}

TEST(PCBObjectList, SubListsShareTheObjectsAndFilterAgain) {
  Board B;
  TQBTRef<IQBTPCBObjectList> Pads = B.List->Filter(Key(okPad), {pfKind});
  TQBTPCBObjectRec OfU1;
  OfU1.Component = B.U1;
  TQBTRef<IQBTPCBObjectList> PadsOfU1 = Pads->Filter(OfU1, {pfComponent});
  EXPECT_EQ(B.Handles(PadsOfU1), (std::vector<uint32_t>{B.Pad1, B.Pad3}));
  EXPECT_EQ(PadsOfU1->GetItem(0).Get(), B.Get(B.Pad1).Get());
  EXPECT_EQ(PadsOfU1->GetProvider().Get(), B.Provider.Get());
}

TEST(PCBObjectList, HandlesOfEveryMagnitudeAreFound) {
  // Host handles are addresses: far apart values must keep the index in order.
  auto Provider = TTestProvider::Create();
  const std::vector<uint32_t> Handles = {0xFFFFFFF0u, 1u,          0x80000000u, 0x7FFFFFFFu,
                                         42u,         0x80000001u, 0xC0000000u, 2u};
  for (uint32_t H : Handles) {
    TQBTPCBObjectRec R;
    R.Handle = H;
    R.Kind = okVia;
    Provider->AddObject(R);
  }
  auto List = CreatePCBObjectList(Provider);
  for (uint32_t H : Handles) {
    TQBTRef<IQBTPCBObject> Found = List->FindByHandle(H);
    ASSERT_NE(Found, nullptr) << H;
    EXPECT_EQ(Found->GetHandle(), H);
  }
}

TEST(PCBObject, GetComponentLooksTheOwnerUpOnce) {
  Board B;
  TQBTRef<IQBTPCBObject> Pad = B.Get(B.Pad3);
  TQBTRef<IQBTPCBObject> Owner = Pad->GetComponent();
  ASSERT_NE(Owner, nullptr);
  EXPECT_EQ(Owner->GetHandle(), B.U1);
  EXPECT_EQ(Pad->GetComponent().Get(), Owner.Get());
  EXPECT_EQ(B.Get(B.Track)->GetComponent(), nullptr);
}

TEST(PCBObject, AnObjectNamingItselfItsComponentIsNoLeak) {
  auto Provider = TTestProvider::Create();
  TQBTPCBObjectRec R;
  R.Handle = 7;
  R.Kind = okPad;
  R.Component = 7;
  Provider->AddObject(R);
  auto List = CreatePCBObjectList(Provider);
  TQBTRef<IQBTPCBObject> Self = List->GetItem(0);
  EXPECT_EQ(Self->GetComponent().Get(), Self.Get()); // the sanitizer build checks the leak
}

TEST(PCBObject, AnObjectOutlivingItsListNoLongerReachesIt) {
  Board B;
  TQBTRef<IQBTPCBObject> Read = B.List->GetItem(1);
  Read->GetName();
  TQBTRef<IQBTPCBObject> Unread = B.List->GetItem(2);
  B.List.Reset();
  EXPECT_EQ(Read->GetName(), "1");
  EXPECT_EQ(Read->GetComponent(), nullptr);
  EXPECT_THROW(Unread->GetName(), Exception);
}

// ---------------------------------------------------------------------------------------------
// Setters and write-back

TEST(PCBObject, SettersWriteOnlyWhatChanged) {
  struct Case {
    const char* What;
    std::function<void(IQBTPCBObject&)> Set;
    TQBTPCBObjectFields Written; // empty: no write
  };
  const std::vector<Case> Cases = {
      {"same width", [](IQBTPCBObject& O) { O.SetWidth(10); }, {}},
      {"new width", [](IQBTPCBObject& O) { O.SetWidth(12); }, {pfWidth}},
      {"same layer", [](IQBTPCBObject& O) { O.SetLayer(1); }, {}},
      {"same start point", [](IQBTPCBObject& O) { O.SetStartPoint(Pt(0, 0)); }, {}},
      {"start point moved a little",
       [](IQBTPCBObject& O) { O.SetStartPoint(Pt(0, 0.00001L)); },
       {pfStartPoint}},
      {"rectangle with corners swapped",
       [](IQBTPCBObject& O) {
         O.SetBoundingRect({Pt(10, 0), Pt(0, 0)});
       },
       {}},
      {"rectangle within tolerance",
       [](IQBTPCBObject& O) {
         O.SetBoundingRect({Pt(0, 0.00001L), Pt(10, 0)});
       },
       {}},
      {"other rectangle",
       [](IQBTPCBObject& O) {
         O.SetBoundingRect({Pt(0, 1), Pt(10, 0)});
       },
       {pfBoundingRect}},
      {"polygon", [](IQBTPCBObject& O) { O.SetBoundingPolygon(nullptr); }, {}},
  };
  for (const auto& C : Cases) {
    auto Provider = TTestProvider::Create();
    const uint32_t H = Provider->AddTrack(Pt(0, 0), Pt(10, 0), 1);
    auto List = CreatePCBObjectList(Provider);
    TQBTRef<IQBTPCBObject> Track = List->GetItem(0);
    Track->GetRec();
    C.Set(*Track);
    const auto Writes = Provider->CallsOf("WriteObject");
    if (C.Written.Empty()) {
      EXPECT_TRUE(Writes.empty()) << C.What;
      continue;
    }
    ASSERT_EQ(Writes.size(), 1u) << C.What;
    EXPECT_EQ(Writes[0].Fields, C.Written) << C.What;
    EXPECT_EQ(Writes[0].Handle, H) << C.What;
  }
}

TEST(PCBObject, ASetterOnAnUnreadObjectAlwaysWritesAndSurvivesTheRead) {
  auto Provider = TTestProvider::Create();
  const uint32_t H = Provider->AddComponent("U1.A", "SO.8", Pt(0, 0));
  auto List = CreatePCBObjectList(Provider);
  TQBTRef<IQBTPCBObject> U1 = List->GetItem(0);
  U1->SetName("U1.A");
  ASSERT_EQ(Provider->CallsOf("WriteObject").size(), 1u);
  EXPECT_EQ(Provider->ReadCount, 0);

  U1->SetPattern("SO_8");
  EXPECT_EQ(U1->GetPattern(), "SO_8");
  EXPECT_EQ(U1->GetName(), "U1.A");
  EXPECT_EQ(Provider->Object(H).Rec.Pattern, "SO.8"); // the board is not changed

  U1->SetName("u1.a"); // strings compare exactly
  EXPECT_EQ(Provider->CallsOf("WriteObject").size(), 3u);
}

TEST(PCBObject, NestedUpdatesWriteOnceAtTheOutermostEnd) {
  auto Provider = TTestProvider::Create();
  Provider->AddTrack(Pt(0, 0), Pt(10, 0), 1);
  auto List = CreatePCBObjectList(Provider);
  TQBTRef<IQBTPCBObject> Track = List->GetItem(0);
  Track->GetRec();

  Track->BeginUpdate();
  Track->SetWidth(20);
  Track->BeginUpdate();
  Track->SetEndPoint(Pt(20, 0));
  Track->EndUpdate();
  EXPECT_TRUE(Provider->CallsOf("WriteObject").empty());
  Track->EndUpdate();

  const auto Writes = Provider->CallsOf("WriteObject");
  ASSERT_EQ(Writes.size(), 1u);
  EXPECT_EQ(Writes[0].Fields, (TQBTPCBObjectFields{pfWidth, pfEndPoint}));
  EXPECT_EQ(Writes[0].Rec.Width, 20);
  EXPECT_EQ(Writes[0].Rec.EndPoint.X, 20);

  Track->BeginUpdate();
  Track->SetWidth(20);
  Track->EndUpdate();
  Track->EndUpdate(); // unbalanced: ignored
  EXPECT_EQ(Provider->CallsOf("WriteObject").size(), 1u);
}

TEST(PCBObject, PendingChangesAreWrittenWhenTheObjectGoes) {
  auto Provider = TTestProvider::Create();
  Provider->AddTrack(Pt(0, 0), Pt(10, 0), 1);
  auto List = CreatePCBObjectList(Provider);
  {
    TQBTRef<IQBTPCBObject> Track = List->GetItem(0);
    Track->BeginUpdate();
    Track->SetWidth(20);
  }
  EXPECT_TRUE(Provider->CallsOf("WriteObject").empty());
  List.Reset();
  const auto Writes = Provider->CallsOf("WriteObject");
  ASSERT_EQ(Writes.size(), 1u);
  EXPECT_EQ(Writes[0].Fields, TQBTPCBObjectFields{pfWidth});
}

TEST(PCBObject, TheRoomShapeBelongsToTheObject) {
  Board B;
  TQBTRef<IQBTPCBObject> Room = B.Get(B.Room);
  TQBTPCBObjectRec Copy = Room->GetRec();
  ASSERT_NE(Copy.BoundingPolygon, nullptr);
  EXPECT_EQ(Copy.BoundingPolygon, Room->GetBoundingPolygon());
  EXPECT_EQ(Copy.BoundingPolygon->Count(), 4);
  EXPECT_EQ(B.Get(B.Rule)->GetBoundingPolygon(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Comparisons

test::TTestPoint P(long double X, long double Y, long double Angle = 0) {
  return {X, Y, Angle};
}

std::unique_ptr<TQBTIDFPointsList> Points(const std::vector<test::TTestPoint>& Ps) {
  auto List = std::make_unique<TQBTIDFPointsList>();
  for (const auto& Q : Ps) {
    List->AddPoint(0, Q.X, Q.Y, Q.Angle);
  }
  return List;
}

TEST(ComparePCBObjectField, PolygonsAreTheSameLoopFromAnyVertex) {
  struct Case {
    const char* What;
    std::vector<test::TTestPoint> A, B;
    int32_t Expected;
  };
  const std::vector<Case> Cases = {
      {"empty lists", {}, {}, 1},
      {"same points", {P(0, 0), P(10, 0), P(10, 10)}, {P(0, 0), P(10, 0), P(10, 10)}, 0},
      {"other start", {P(0, 0), P(10, 0), P(10, 10)}, {P(10, 10), P(0, 0), P(10, 0)}, 0},
      {"closed, other start",
       {P(0, 0), P(10, 0), P(10, 10), P(0, 0)},
       {P(10, 0), P(10, 10), P(0, 0), P(10, 0)},
       0},
      {"reversed", {P(0, 0), P(10, 0), P(10, 10)}, {P(10, 10), P(10, 0), P(0, 0)}, 1},
      {"angles ignored", {P(0, 0), P(10, 0, 90)}, {P(0, 0, 45), P(10, 0)}, 0},
      {"0.05 apart", {P(0, 0), P(10, 0)}, {P(0.05L, 0), P(10, 0.05L)}, 0},
      {"0.1 apart", {P(0, 0), P(10, 0)}, {P(0, 0), P(10, 0.1L)}, 1},
      {"other count", {P(0, 0), P(10, 0)}, {P(0, 0), P(10, 0), P(10, 10)}, 1},
      {"no vertex matches the first", {P(0, 0), P(10, 0)}, {P(5, 0), P(10, 0)}, 1},
  };
  for (const auto& C : Cases) {
    auto ListA = Points(C.A);
    auto ListB = Points(C.B);
    TQBTPCBObjectRec A, B;
    A.BoundingPolygon = ListA.get();
    B.BoundingPolygon = ListB.get();
    EXPECT_EQ(ComparePCBObjectField(A, B, pfBoundingPolygon), C.Expected) << C.What;
  }
  TQBTPCBObjectRec NoPolygon;
  EXPECT_EQ(ComparePCBObjectField(NoPolygon, NoPolygon, pfBoundingPolygon), 1);
}

TEST(ComparePCBObjectField, OrdersValuesOfEveryKindOfField) {
  struct Case {
    const char* What;
    std::function<void(TQBTPCBObjectRec&, TQBTPCBObjectRec&)> Fill;
    TQBTPCBObjectField Field;
    int Sign;
  };
  const std::vector<Case> Cases = {
      {"handles far apart", [](auto& A, auto& B) { A.Handle = 0xFFFFFFF0u, B.Handle = 1; },
       pfHandle, 1},
      {"components far apart", [](auto& A, auto& B) { A.Component = 1, B.Component = 0x80000001u; },
       pfComponent, -1},
      {"names ignore case", [](auto& A, auto& B) { A.Name = "u1", B.Name = "U1"; }, pfName, 0},
      {"names", [](auto& A, auto& B) { A.Name = "U10", B.Name = "u2"; }, pfName, -1},
      {"points by X first",
       [](auto& A, auto& B) { A.StartPoint = Pt(1, 9), B.StartPoint = Pt(2, 0); }, pfStartPoint,
       -1},
      {"points then by Y", [](auto& A, auto& B) { A.EndPoint = Pt(1, 9), B.EndPoint = Pt(1, 0); },
       pfEndPoint, 1},
      {"rectangles by second corner",
       [](auto& A, auto& B) {
         A.BoundingRect = {Pt(0, 0), Pt(5, 5)}, B.BoundingRect = {Pt(0, 0), Pt(5, 6)};
       },
       pfBoundingRect, -1},
      {"lengths exactly", [](auto& A, auto& B) { A.Width = 1, B.Width = 1.0000001L; }, pfWidth, -1},
      {"false before true",
       [](auto& A, auto& B) {
         A.IsKeepOut = true;
         (void)B;
       },
       pfIsKeepOut, 1},
      {"kinds", [](auto& A, auto& B) { A.Kind = okArc, B.Kind = okRule; }, pfKind, -1},
  };
  for (const auto& C : Cases) {
    TQBTPCBObjectRec A, B;
    C.Fill(A, B);
    const int32_t R = ComparePCBObjectField(A, B, C.Field);
    EXPECT_EQ((R > 0) - (R < 0), C.Sign) << C.What;
    const int32_t Back = ComparePCBObjectField(B, A, C.Field);
    EXPECT_EQ((Back > 0) - (Back < 0), -C.Sign) << C.What << " (reversed)";
  }
}

TEST(ComparePCBObjectRecs, TheFirstDifferingFieldInFieldOrderDecides) {
  TQBTPCBObjectRec A, B;
  A.Name = "A";
  B.Name = "B";
  A.Comment = "Z";
  B.Comment = "Y";
  EXPECT_LT(ComparePCBObjectRecs(A, B, {pfComment, pfName}), 0);
  EXPECT_GT(ComparePCBObjectRecs(A, B, {pfComment}), 0);
  EXPECT_EQ(ComparePCBObjectRecs(A, B, {pfLayer, pfWidth}), 0);
  EXPECT_EQ(ComparePCBObjectRecs(A, B, {}), 0);
}

// ---------------------------------------------------------------------------------------------
// Conversion and provider facilities

TEST(ConvertPCBObjectRec, ConvertsLengthsAndLeavesAnglesAndThePolygon) {
  test::TTestCoordConvert Coords;
  TQBTIDFPointsList Shape;
  Shape.AddPoint(0, 1, 2, 0);
  TQBTPCBObjectRec R;
  R.Name = "U1";
  R.MountOffset = 1;
  R.StartPoint = Pt(2, 3);
  R.EndPoint = Pt(4, 5);
  R.Width = 6;
  R.HoleSize = 7;
  R.Height = 8;
  R.BoundingRect = {Pt(9, 10), Pt(11, 12)};
  R.Angle = 45;
  R.BoundingPolygon = &Shape;
  const TQBTPCBObjectRec C = ConvertPCBObjectRec(R, udTHOU, udCoord);
  const long double K = test::TTestCoordConvert::PerMil;
  EXPECT_EQ(C.MountOffset, 1 * K);
  EXPECT_EQ(C.StartPoint.X, 2 * K);
  EXPECT_EQ(C.StartPoint.Y, 3 * K);
  EXPECT_EQ(C.EndPoint.Y, 5 * K);
  EXPECT_EQ(C.Width, 6 * K);
  EXPECT_EQ(C.HoleSize, 7 * K);
  EXPECT_EQ(C.Height, 8 * K);
  EXPECT_EQ(C.BoundingRect.First.X, 9 * K);
  EXPECT_EQ(C.BoundingRect.Second.Y, 12 * K);
  EXPECT_EQ(C.Angle, 45);
  EXPECT_EQ(C.Name, "U1");
  EXPECT_EQ(C.BoundingPolygon, &Shape);
  EXPECT_EQ(Shape.PointItems(0)->X, 1);
}

TEST(ProviderFacilities, TheCurrentProviderComesFromTheHook) {
  EXPECT_EQ(GetCurrentProvider(), nullptr);
  static TQBTRef<IQBTPCBObjectProvider> Installed;
  Installed = TTestProvider::Create();
  CurrentProviderHook = [] { return Installed; };
  EXPECT_EQ(GetCurrentProvider().Get(), Installed.Get());
  CurrentProviderHook = nullptr;
  Installed.Reset();
}

TEST(ProviderFacilities, MountingHoleNamesAreCaseSensitive) {
  const std::vector<std::pair<std::string, bool>> Cases = {
      {"MTG", true}, {"MTG1", true}, {"XMTG", true}, {"mtg1", false}, {"", false}, {"MT G", false}};
  for (const auto& [Name, Expected] : Cases) {
    EXPECT_EQ(IsMountingHoleName(Name), Expected) << Name;
  }
}

TEST(ProviderFacilities, ReportedFootprintsIgnoreCaseAndClearPerRun) {
  ClearReportedFootprints();
  ReportedFootprints().Add("SO8");
  EXPECT_GE(ReportedFootprints().IndexOf("so8"), 0);
  ClearReportedFootprints();
  EXPECT_EQ(ReportedFootprints().IndexOf("SO8"), -1);
}

TEST(Interfaces, ObjectsAnswerForTheirInterfaceAndItsParents) {
  Board B;
  TQBTRef<IQBTPCBObject> Pad = B.Get(B.Pad1);
  EXPECT_EQ(Supports<IQBTPCBUpdates>(Pad.Get()).Get(), static_cast<IQBTPCBUpdates*>(Pad.Get()));
  EXPECT_EQ(Supports<IQBTPCBObjectList>(Pad.Get()), nullptr);
  EXPECT_NE(Supports<IQBTGetInstance>(B.List.Get()), nullptr);
  EXPECT_EQ(B.List->GetInstance(), static_cast<void*>(&ListInstance(*B.List)));
}

} // namespace
} // namespace qbt
