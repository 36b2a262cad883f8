// The test board keeps the provider contract that the translation's tests rely on.
#include "support/TestProvider.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

using test::Pt;
using test::TTestProvider;

TEST(TestProvider, ReadObjectFillsOnlyTheFieldsOfTheKind) {
  auto Provider = TTestProvider::Create();
  const uint32_t U1 = Provider->AddComponent("U1", "SO8", Pt(1, 2), 90);
  const uint32_t Track = Provider->AddTrack(Pt(0, 0), Pt(10, 5), 57, U1);
  const uint32_t Rule = Provider->AddRule("Width", 3, 1);
  const uint32_t Room = Provider->AddRoom("R", {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  TQBTPCBObjectRec Region;
  Region.Layer = 1;
  Region.Name = "not read";
  const uint32_t Other = Provider->AddObject(Region);
  Provider->Object(Track).Rec.Name = "not read";

  TQBTPCBObjectRec R;
  Provider->ReadObject(Track, R);
  EXPECT_EQ(R.Kind, okTrack);
  EXPECT_EQ(R.Component, U1);
  EXPECT_EQ(R.Name, "");
  EXPECT_EQ(R.BoundingRect.Second.Y, 5);

  Provider->ReadObject(Other, R);
  EXPECT_EQ(R.Handle, Other);
  EXPECT_EQ(R.Kind, okNone);
  EXPECT_EQ(R.Name, "");

  Provider->ReadObject(0, R);
  EXPECT_EQ(R.Handle, 0u);
  EXPECT_EQ(R.Kind, okNone);

  Provider->ReadObject(Rule, R);
  EXPECT_EQ(R.BoundingPolygon, nullptr);
  EXPECT_FALSE(R.IsKeepOut);

  Provider->ReadObject(Room, R);
  std::unique_ptr<TQBTIDFPointsList> Shape(R.BoundingPolygon);
  ASSERT_NE(Shape, nullptr);
  ASSERT_EQ(Shape->Count(), 5);
  EXPECT_EQ(Shape->PointItems(4)->X, Shape->PointItems(0)->X);
  EXPECT_EQ(R.BoundingRect.Second.X, 10);
  EXPECT_EQ(Provider->ReadCount, 5);
}

TEST(TestProvider, LayersByNumberAndName) {
  auto Provider = TTestProvider::Create();
  EXPECT_EQ(Provider->GetLayerName(0), "");
  EXPECT_EQ(Provider->GetLayerName(83), "");
  EXPECT_EQ(Provider->GetLayerName(57), "Mechanical1");
  EXPECT_EQ(Provider->GetLayerByName("keepoutlayer"), 56);
  TStringList Names;
  Provider->ListLayers(Names, Provider->GetAllLayers(), Provider->GetSignalLayers());
  ASSERT_EQ(Names.Count(), 43);
  EXPECT_EQ(Names.Strings(0), "TopOverlay");
  EXPECT_EQ(Names.Strings(42), "ConnectLayer");
}

TEST(TestProvider, ChangesAreRecordedAndAppliedInHostCoordinates) {
  test::TTestCoordConvert Coords;
  const long double K = test::TTestCoordConvert::PerMil;
  auto Provider = TTestProvider::Create();
  Provider->MissingFootprints = {"NOPE"};
  ClearReportedFootprints();

  TQBTPCBObjectRec Hole;
  Hole.StartPoint = Pt(10 * K, 20 * K);
  Hole.Width = 3 * K;
  Hole.HoleSize = 99 * K;
  const uint32_t H = Provider->CreateHole(Hole);
  EXPECT_EQ(Provider->Object(H).Rec.HoleSize, 3);
  EXPECT_EQ(Provider->Object(H).Rec.Name, "MTG");

  TQBTPCBObjectRec Wanted;
  Wanted.Pattern = "nope";
  EXPECT_EQ(Provider->CreateComponent(Wanted), 0u);
  EXPECT_EQ(Provider->CreateComponent(Wanted), 0u);
  EXPECT_EQ(Provider->Warnings.size(), 1u);

  Wanted.Pattern = "SO8";
  Wanted.Name = "U9";
  Wanted.Placement = 2; // PLACED: movable
  Wanted.StartPoint = Pt(5 * K, 0);
  const uint32_t U9 = Provider->CreateComponent(Wanted);
  ASSERT_NE(U9, 0u);
  EXPECT_EQ(Provider->Object(U9).Rec.StartPoint.X, 5);
  Wanted.Handle = U9;
  EXPECT_FALSE(Provider->ComponentDiffers(Wanted));
  Wanted.Height = 40; // not applied, so no difference
  EXPECT_FALSE(Provider->ComponentDiffers(Wanted));
  Wanted.Angle = 90;
  EXPECT_TRUE(Provider->ComponentDiffers(Wanted));
  EXPECT_EQ(Provider->Object(U9).Rec.Angle, 0);

  const auto Calls = Provider->CallsOf("CreateComponent");
  ASSERT_EQ(Calls.size(), 3u);
  EXPECT_EQ(Calls[2].Rec.StartPoint.X, 5 * K);
  EXPECT_EQ(Calls[2].Handle, U9);
  ClearReportedFootprints();
}

} // namespace
} // namespace qbt
