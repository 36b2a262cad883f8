#include "PolygonBuilders.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

using testing::Fill;
using testing::Poly;
using testing::V;

void ExpectPoint(const TQBTPointRec& Actual, long double X, long double Y) {
  EXPECT_TRUE(IsSamePoint(Actual, {X, Y}))
      << "got (" << static_cast<double>(Actual.X) << ", " << static_cast<double>(Actual.Y)
      << "), want (" << static_cast<double>(X) << ", " << static_cast<double>(Y) << ")";
}

// The outline of a track from (0,0) to (100,0), 20 wide, with half circles of Cap degrees.
std::unique_ptr<TQBTPolygon> Track(long double Cap = 180) {
  return Poly({{0, -10}, {100, -10}, {100, 10, Cap}, {0, 10}, {0, -10, Cap}});
}

TEST(Shape, SegmentKinds) {
  auto P = Poly({{0, 0}, {0, 5}, {5, 5}, {6, 6, 90}, {7, 7}, {7, 7}, {9, 7.00004L}, {9.00004L, 9}});
  const TQBTSegmentKind Want[] = {
      skVertical,   skHorizontal, skArc, skSlanted, skHorizontal /* zero length */,
      skHorizontal, skVertical};
  for (int I = 0; I < P->SegmentCount(); ++I) {
    EXPECT_EQ(P->SegmentKind(I), Want[I]) << "segment " << I;
  }
  EXPECT_THROW(P->SegmentKind(P->SegmentCount()), Exception);
}

TEST(Shape, KindsOfOutlines) {
  struct Case {
    const char* Name;
    std::initializer_list<V> Outline;
    TQBTPolygonShape Kind;
  } Cases[] = {
      {"rectangle", {{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}}, psRectangle},
      {"rectangle drawn clockwise from a corner",
       {{10, 5}, {10, 0}, {0, 0}, {0, 5}, {10, 5}},
       psRectangle},
      {"diamond", {{0, 5}, {5, 0}, {10, 5}, {5, 10}, {0, 5}}, psOther},
      {"rectangle left open", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, psOther},
      {"rectangle with a bulging side", {{0, 0}, {10, 0}, {10, 5, 30}, {0, 5}, {0, 0}}, psOther},
      {"straight track", {{0, -10}, {100, -10}, {100, 10, 180}, {0, 10}, {0, -10, 180}}, psTrack},
      {"straight track drawn the other way",
       {{0, -10}, {0, 10, -180}, {100, 10}, {100, -10, -180}, {0, -10}},
       psTrack},
      {"track whose ends are not parallel",
       {{0, -10}, {100, -10}, {110, 10, 180}, {0, 10}, {0, -10, 180}},
       psOther},
      {"track with one round end",
       {{0, -10}, {100, -10}, {100, 10, 180}, {0, 10}, {0, -10}},
       psOther},
      {"arc track",
       {{0, -10}, {100, -10, 30}, {100, 10, 180}, {0, 10, 30}, {0, -10, 180}},
       psArcTrack},
      {"arc track with unequal arcs",
       {{0, -10}, {100, -10, 30}, {100, 10, 180}, {0, 10, 40}, {0, -10, 180}},
       psOther},
      {"circle", {{0, 0}, {5, 0, 360}}, psOther},
      {"triangle", {{0, 0}, {10, 0}, {0, 10}, {0, 0}}, psOther},
      {"empty", {}, psOther},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TQBTPolygon P;
    Fill(P, C.Outline);
    EXPECT_EQ(P.ShapeKind(), C.Kind);
  }

  // A track turned by 30 degrees is still a track.
  auto Turned = Track();
  Turned->Rotate({0, 0}, 30);
  EXPECT_EQ(Turned->ShapeKind(), psTrack);
}

TEST(Shape, RectangleCorners) {
  auto R = Poly({{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}});
  const TQBTSegmentRec Corners = R->GetRectangle();
  ExpectPoint(Corners.StartPoint, 0, 0);
  ExpectPoint(Corners.EndPoint, 10, 5);
  EXPECT_TRUE(IsEmptyRect(Track()->GetRectangle()));
}

TEST(Shape, TrackParameters) {
  const TQBTTrackShapeRec T = Track()->GetTrackShape();
  ExpectPoint(T.StartPoint, 100, 0);
  ExpectPoint(T.EndPoint, 0, 0);
  EXPECT_EQ(T.HalfWidth, 10.0L);

  // With clockwise half circles the first one drawn is taken first.
  auto Other = Poly({{0, -10}, {0, 10, -180}, {100, 10}, {100, -10, -180}, {0, -10}});
  const TQBTTrackShapeRec U = Other->GetTrackShape();
  ExpectPoint(U.StartPoint, 0, 0);
  ExpectPoint(U.EndPoint, 100, 0);
  EXPECT_EQ(U.HalfWidth, 10.0L);

  // One half circle is not a track; a straight track is no arc track.
  const TQBTTrackShapeRec None =
      Poly({{0, -10}, {100, -10}, {100, 10, 180}, {0, 10}, {0, -10}})->GetTrackShape();
  EXPECT_EQ(None.HalfWidth, 0.0L);
  EXPECT_TRUE(IsSamePointExact(None.StartPoint, {0, 0}));
  EXPECT_EQ(Track()->GetArcTrackShape().HalfWidth, 0.0L);
}

TEST(Shape, ArcTrackParameters) {
  auto A = Poly({{0, -10}, {100, -10, 30}, {100, 10, 180}, {0, 10, 30}, {0, -10, 180}});
  const TQBTArcTrackShapeRec S = A->GetArcTrackShape();
  ExpectPoint(S.StartPoint, 100, 0);
  ExpectPoint(S.EndPoint, 0, 0);
  EXPECT_EQ(S.Angle, 30.0L);
  EXPECT_EQ(S.HalfWidth, 10.0L);
}

TEST(Shape, AngleCounts) {
  auto P = Poly({{0, 0, 180}, {1, 0, -180}, {2, 0, 180.00004L}, {3, 0, 45}, {4, 0, -45}});
  EXPECT_EQ(P->CountPointsWithAngle(180), 2); // the first vertex counts; tolerant
  EXPECT_EQ(P->CountPointsWithAngle(-180), 1);
  EXPECT_EQ(P->CountPointsWithAngle(0), 0);
  long double Angle = 0;
  ASSERT_TRUE(P->FirstArcAngle(Angle));
  EXPECT_EQ(Angle, 180.00004L); // only exactly 0 and +-180 are passed over
  EXPECT_FALSE(Poly({{0, 0}, {1, 0, 180}, {2, 0, -180}})->FirstArcAngle(Angle));
}

} // namespace
} // namespace qbt
