#include "PolygonBuilders.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

using testing::Poly;
using testing::Text;

TEST(PolygonPoint, AssignmentBetweenVerticesAndIDFPoints) {
  TQBTPolygon Owner;
  TQBTPolygonPoint* A = Owner.AddPoint(1, 2, 90);
  A->ConnectionKind = ckVirtual;

  TQBTPolygonPoint* Copy = Owner.AddCopy(A);
  EXPECT_EQ(Copy->X, 1.0L);
  EXPECT_EQ(Copy->Y, 2.0L);
  EXPECT_EQ(Copy->Angle, 90.0L);
  EXPECT_EQ(Copy->ConnectionKind, ckVirtual);
  EXPECT_EQ(Owner.AddCopy(nullptr), nullptr);

  TQBTIDFPointsList List;
  TQBTIDFPointItem* Point = List.AddPoint(3, 4, 5, -45);
  Copy->Assign(*Point);
  EXPECT_EQ(Copy->X, 4.0L);
  EXPECT_EQ(Copy->Y, 5.0L);
  EXPECT_EQ(Copy->Angle, -45.0L);
  EXPECT_EQ(Copy->ConnectionKind, ckNormal);

  // The IDF point learns the vertex through the vertex's AssignTo; the loop label resets.
  Point->Assign(*A);
  EXPECT_EQ(Point->LoopLabel, 0);
  EXPECT_EQ(Point->X, 1.0L);
  EXPECT_EQ(Point->InclAngle, 90.0L);

  TQBTPolygons Polygons;
  TQBTPolygonItem* Item = Polygons.Add();
  try {
    A->Assign(*Item);
    FAIL() << "assigned a polygon item to a vertex";
  } catch (const Exception& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TQBTPolygonItem to a TQBTPolygonPoint");
  }
  EXPECT_THROW(Item->Assign(*A), Exception);
  EXPECT_EQ(A->Polygon(), &Owner);
  EXPECT_EQ(A->NextPoint(), Copy);
}

TEST(Polygon, PointsListRoundTripKeepsOrderAndAngles) {
  TQBTIDFPointsList List;
  List.AddPoint(0, 0, 0, 0);
  List.AddPoint(0, 10, 0, 0);
  List.AddPoint(1, 10, 5, 180); // a cutout point still becomes a vertex
  List.AddPoint(0, 0, 0, -90);

  std::unique_ptr<TQBTPolygon> P = PolygonFromPointsList(List);
  EXPECT_TRUE(P->IsSameAs(*Poly({{0, 0}, {10, 0}, {10, 5, 180}, {0, 0, -90}}))) << Text(*P);

  TQBTIDFPointsList Back;
  Back.AddPoint(7, 99, 99, 0); // replaced, not kept
  PolygonToPointsList(*P, Back);
  ASSERT_EQ(Back.Count(), 4);
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(Back.PointItems(I)->LoopLabel, 0);
    EXPECT_EQ(Back.PointItems(I)->X, List.PointItems(I)->X);
    EXPECT_EQ(Back.PointItems(I)->Y, List.PointItems(I)->Y);
    EXPECT_EQ(Back.PointItems(I)->InclAngle, List.PointItems(I)->InclAngle);
  }
}

TEST(PolygonItem, OwnsADeepCopyAndConvertsToPointsList) {
  auto Square = Poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
  TQBTPolygons Polygons;
  TQBTPolygonItem* Item = Polygons.Add();
  Item->SetItem(*Square);
  Square->Points(1)->X = 99;
  EXPECT_EQ(Polygons.Polygons(0)->Points(1)->X, 4.0L);

  // Copying the list copies every polygon.
  TQBTPolygons Copy;
  Copy.Assign(Polygons);
  Polygons.Polygons(0)->Points(2)->Y = -1;
  EXPECT_EQ(Copy.Polygons(0)->Points(2)->Y, 4.0L);

  // A polygon assigned from an item takes the item's polygon.
  TQBTPolygon FromItem;
  FromItem.Assign(*Copy.Items(0));
  EXPECT_TRUE(FromItem.IsSameAs(*Copy.Polygons(0)));

  TQBTIDFPointsList Points;
  Points.AddPoint(3, 1, 1, 1);
  Points.Assign(*Copy.Items(0)); // through the item's AssignTo
  ASSERT_EQ(Points.Count(), 5);
  EXPECT_EQ(Points.PointItems(2)->X, 4.0L);
  EXPECT_EQ(Points.PointItems(2)->Y, 4.0L);
  EXPECT_EQ(Points.PointItems(0)->LoopLabel, 0);

  TQBTIDFPointItem Loose;
  EXPECT_THROW(Copy.Items(0)->AssignTo(Loose), Exception);
  EXPECT_THROW(FromItem.Assign(Loose), Exception);

  Polygons.Delete(0); // frees its polygon (the sanitizer run watches)
  EXPECT_EQ(Polygons.Count(), 0);
}

TEST(Polygon, SegmentsAndNeighbours) {
  auto Open = Poly({{0, 0}, {10, 0, 90}, {10, 10}});
  const TQBTPolygonSegment S = Open->GetSegment(0);
  EXPECT_EQ(S.StartVertex, Open->Points(0));
  EXPECT_EQ(S.EndVertex, Open->Points(1));
  EXPECT_EQ(S.Angle, 90.0L);
  EXPECT_EQ(S.Arc.Angle, 90.0L);
  EXPECT_EQ(S.Arc.EndPoint.X, 10.0L);
  EXPECT_EQ(S.Line.B, -10.0L);
  for (int Bad : {2, 3, -1}) {
    try {
      Open->GetSegment(Bad);
      FAIL() << Bad;
    } catch (const Exception& E) {
      EXPECT_EQ(std::string(E.what()), "List Error Index = " + std::to_string(Bad));
    }
  }

  bool Wrapped = true;
  EXPECT_EQ(Open->NextPointOf(Open->Points(2), Wrapped), nullptr);
  EXPECT_FALSE(Wrapped);
  EXPECT_EQ(Open->PrevPointOf(Open->Points(0), Wrapped), nullptr);
  EXPECT_EQ(Open->NextPointOf(Open->Points(0), Wrapped), Open->Points(1));

  auto Closed = Poly({{0, 0}, {10, 0}, {10, 10}, {0, 0}});
  EXPECT_EQ(Closed->NextPointOf(Closed->Points(3), Wrapped), Closed->Points(0));
  EXPECT_TRUE(Wrapped);
  EXPECT_EQ(Closed->PrevPointOf(Closed->Points(0), Wrapped), Closed->Points(3));
  EXPECT_TRUE(Wrapped);
  EXPECT_EQ(Closed->NextPointOf(Open->Points(0), Wrapped), nullptr); // a stranger's vertex
  EXPECT_EQ(Closed->NextPointOf(nullptr, Wrapped), nullptr);
}

TEST(Polygon, ClosednessAreaAndOrientation) {
  struct Case {
    const char* Name;
    std::unique_ptr<TQBTPolygon> P;
    bool Closed;
    long double Area;
    bool Clockwise;
  } Cases[] = {
      {"empty", Poly({}), false, 0, true},
      {"one vertex", Poly({{3, 3}}), false, 0, true},
      {"two coincident", Poly({{3, 3}, {3, 3}}), true, 0, true},
      {"ccw square", Poly({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}), true, 100, false},
      {"cw square", Poly({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}), true, 100, true},
      {"arcs count as chords", Poly({{0, 0}, {10, 0, 90}, {10, 10}, {0, 0, -30}}), true, 50, false},
      {"open ends not joined", Poly({{0, 0}, {10, 0}, {10, 10}}), false, 50, false},
      {"nearly closed", Poly({{0, 0}, {10, 0}, {10, 10}, {0, 0.000001L}}), false, 50, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(C.P->IsClosed(), C.Closed);
    bool Clockwise = !C.Clockwise;
    EXPECT_TRUE(IsSameValue(C.P->Area(Clockwise), C.Area));
    EXPECT_EQ(Clockwise, C.Clockwise);
  }
}

TEST(Polygon, SameAsComparesPositionsAndAnglesExactly) {
  auto P = Poly({{0, 0}, {10, 0, 90}});
  auto Q = Poly({{0, 0}, {10, 0, 90}});
  Q->SetConnectionKind(ckVirtual);
  EXPECT_TRUE(P->IsSameAs(*Q));
  EXPECT_EQ(Q->Points(1)->ConnectionKind, ckVirtual);
  Q->Points(1)->Angle = 90.00001L;
  EXPECT_FALSE(P->IsSameAs(*Q));
  EXPECT_FALSE(P->IsSameAs(*Poly({{0, 0}})));
}

} // namespace
} // namespace qbt
