#include "geometry/qbtIDFPolygons.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qbt {
namespace {

TQBTPointRec Pt(long double X, long double Y) {
  return {X, Y};
}

void ExpectPoint(const TQBTPointRec& Actual, long double X, long double Y) {
  EXPECT_TRUE(IsSamePoint(Actual, Pt(X, Y)))
      << "got (" << static_cast<double>(Actual.X) << ", " << static_cast<double>(Actual.Y)
      << "), want (" << static_cast<double>(X) << ", " << static_cast<double>(Y) << ")";
}

// Installs host-like rules for one test and puts back what was there.
class HookScope {
public:
  HookScope(TQBTSameValueHook Same, TQBTRoundHook Round) : FSame(SameValueHook), FRound(RoundHook) {
    SameValueHook = std::move(Same);
    RoundHook = std::move(Round);
  }
  ~HookScope() {
    SameValueHook = FSame;
    RoundHook = FRound;
  }

private:
  TQBTSameValueHook FSame;
  TQBTRoundHook FRound;
};

TEST(Rounding, FractionRoundsToNearestStepTiesToEven) {
  struct Case {
    long double X;
    int Precision;
    long double Want;
  } Cases[] = {
      {1.23456L, 4, 1.2346L}, {-1.23456L, 4, -1.2346L}, {0.99996L, 4, 1.0L},
      {0.25L, 1, 0.2L},       {0.75L, 1, 0.8L},         {-0.25L, 1, -0.2L},
      {-0.75L, 1, -0.8L},     {12.5L, 0, 12.0L},        {123456789.123449L, 4, 123456789.1234L},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(RoundToDecimals(C.X, C.Precision), RoundToDecimals(C.Want, C.Precision))
        << static_cast<double>(C.X) << " to " << C.Precision;
  }
  EXPECT_TRUE(std::isnan(RoundToDecimals(NAN, 4)));
}

TEST(Comparison, UnhookedWorksAtFourDecimals) {
  ASSERT_FALSE(SameValueHook);
  ASSERT_FALSE(RoundHook);
  EXPECT_TRUE(IsSameValue(1.0L, 1.00004L));
  EXPECT_TRUE(IsSameValue(1.0L, 0.99996L));
  EXPECT_FALSE(IsSameValue(1.0L, 1.00006L));
  EXPECT_FALSE(IsSameValue(-1.0L, 1.0L));
  EXPECT_EQ(RoundToPrecision(2.71828L), RoundToDecimals(2.7183L, 4));
}

TEST(Comparison, HooksReplaceTheDefaultRules) {
  HookScope Host([](long double A, long double B) { return std::fabs(A - B) < 0.5L; },
                 [](int, long double X) { return static_cast<long double>(RoundMasked(X)); });
  EXPECT_TRUE(IsSameValue(1.0L, 1.49L));
  EXPECT_FALSE(IsSameValue(1.0L, 1.5L));
  EXPECT_TRUE(IsSamePoint(Pt(0, 0), Pt(0.4L, -0.4L)));
  EXPECT_EQ(RoundToPrecision(2.5L), 2.0L);
  EXPECT_EQ(RoundToPrecision(3.7L), 4.0L);

  // OffsetSegment rounds through the hook: whole numbers here.
  TQBTPointRec SR, SL, ER, EL;
  ASSERT_TRUE(OffsetSegment(Pt(0, 0), Pt(1, 1), 1, SR, SL, ER, EL));
  EXPECT_EQ(SR.X, 1.0L);
  EXPECT_EQ(SR.Y, -1.0L);
}

TEST(Primitives, PointsSegmentsAndRectangles) {
  EXPECT_TRUE(IsSamePoint(Pt(1, 2), Pt(1.00004L, 1.99996L)));
  EXPECT_FALSE(IsSamePointExact(Pt(1, 2), Pt(1.00004L, 2)));
  EXPECT_TRUE(IsSameSegment({Pt(0, 0), Pt(5, 5)}, {Pt(5, 5), Pt(0, 0)}));
  EXPECT_FALSE(IsSameSegment({Pt(0, 0), Pt(5, 5)}, {Pt(0, 0), Pt(5, 6)}));
  EXPECT_TRUE(IsEmptyRect(TQBTRectRec{}));
  EXPECT_TRUE(IsEmptyRect(TQBTRectRec{Pt(3, 4), Pt(3, 4)}));
  EXPECT_FALSE(IsEmptyRect(TQBTRectRec{Pt(3, 4), Pt(3, 4.00001L)}));
  EXPECT_EQ(Distance(Pt(1, 1), Pt(4, 5)), 5.0L);
}

TEST(Primitives, LineNormalPointsRightOfDirection) {
  const TQBTLineRec L = LineThrough(Pt(0, 0), Pt(10, 0));
  EXPECT_EQ(L.A, 0.0L);
  EXPECT_LT(L.B, 0.0L); // right of +X is -Y
  EXPECT_EQ(DistanceToLine(Pt(3, 5), L), 5.0L);
  const TQBTLineRec Slanted = LineThrough(Pt(1, 1), Pt(4, 5));
  EXPECT_EQ(Slanted.A * 1 + Slanted.B * 1 + Slanted.C, 0.0L);
  EXPECT_EQ(Slanted.A * 4 + Slanted.B * 5 + Slanted.C, 0.0L);
  const TQBTLineRec None = LineThrough(Pt(2, 3), Pt(2, 3));
  EXPECT_FALSE(IsValidLine(None));
  EXPECT_EQ(None.C, 0.0L);
}

TEST(Primitives, OffsetSegmentFeetAndRounding) {
  TQBTPointRec SR, SL, ER, EL;
  ASSERT_TRUE(OffsetSegment(Pt(0, 0), Pt(10, 0), 2, SR, SL, ER, EL));
  ExpectPoint(SR, 0, -2);
  ExpectPoint(SL, 0, 2);
  ExpectPoint(ER, 10, -2);
  ExpectPoint(EL, 10, 2);

  ASSERT_TRUE(OffsetSegment(Pt(0, 0), Pt(1, 1), 1, SR, SL, ER, EL));
  const long double H = RoundToDecimals(std::sqrt(0.5L), 4);
  EXPECT_EQ(SR.X, H);
  EXPECT_EQ(SR.Y, -H);
  EXPECT_EQ(EL.X, RoundToDecimals(1 - std::sqrt(0.5L), 4));
  EXPECT_EQ(EL.Y, RoundToDecimals(1 + std::sqrt(0.5L), 4));

  EXPECT_FALSE(OffsetSegment(Pt(4, 4), Pt(4, 4), 1, SR, SL, ER, EL));
}

TEST(Primitives, RotatePoint) {
  struct Case {
    TQBTPointRec Centre, P;
    long double Angle;
    TQBTPointRec Want;
  } Cases[] = {
      {Pt(0, 0), Pt(1, 0), 90, Pt(0, 1)},
      {Pt(0, 0), Pt(1, 0), -90, Pt(0, -1)},
      {Pt(0, 0), Pt(1, 0), 0, Pt(1, 0)},
      {Pt(0, 0), Pt(1, 0), 450, Pt(0, 1)},
      {Pt(0, 0), Pt(1, 0), -720, Pt(1, 0)},
      {Pt(2, 3), Pt(4, 3), 180, Pt(0, 3)},
      {Pt(2, 3), Pt(2, 3), 45, Pt(2, 3)},
      {Pt(1, 1), Pt(3, 1), 60, Pt(2, 1 + std::sqrt(3.0L))},
      {Pt(0, 0), Pt(0, 2), -30, Pt(1, std::sqrt(3.0L))},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<double>(C.Angle));
    ExpectPoint(RotatePoint(C.Centre, C.P, C.Angle), C.Want.X, C.Want.Y);
  }
  // Quarter turns keep whole coordinates whole, exactly.
  const TQBTPointRec Q = RotatePoint(Pt(0, 0), Pt(1, 0), 90);
  EXPECT_EQ(Q.X, 0.0L);
  EXPECT_EQ(Q.Y, 1.0L);
}

TEST(Primitives, PolarAngle) {
  struct Case {
    TQBTPointRec P;
    long double Want;
  } Cases[] = {
      {Pt(1, 0), 0},    {Pt(-1, 0), 180}, {Pt(0, 0), 180},         {Pt(0, 1), 90},
      {Pt(0, -1), 270}, {Pt(1, -1), 315}, {Pt(-1, 0.00001L), 180}, {Pt(5, -0.00004L), 0},
  };
  for (const Case& C : Cases) {
    EXPECT_TRUE(IsSameValue(PolarAngle(Pt(0, 0), C.P), C.Want))
        << static_cast<double>(C.P.X) << "," << static_cast<double>(C.P.Y);
  }
}

TEST(Primitives, ArcCentre) {
  struct Case {
    TQBTArcRec Arc;
    TQBTArcCentreRec Want;
  } Cases[] = {
      {{Pt(0, 0), Pt(10, 0), 180}, {Pt(5, 0), 5, 180, 0}},
      {{Pt(0, 0), Pt(10, 0), -180}, {Pt(5, 0), 5, 0, 180}},
      {{Pt(0, 0), Pt(10, 0), 90}, {Pt(5, 5), std::sqrt(50.0L), 225, 315}},
      {{Pt(0, 0), Pt(10, 0), -90}, {Pt(5, -5), std::sqrt(50.0L), 45, 135}},
      {{Pt(0, 0), Pt(10, 0), 270}, {Pt(5, -5), std::sqrt(50.0L), 135, 45}},
      {{Pt(0, 0), Pt(10, 0), -270}, {Pt(5, 5), std::sqrt(50.0L), 315, 225}},
      {{Pt(3, 4), Pt(3, 14), 60}, {Pt(3 - 5 * std::sqrt(3.0L), 9), 10, 330, 30}},
      {{Pt(0, 0), Pt(5, 0), 360}, {Pt(0, 0), 5, 0, 360}},
      {{Pt(0, 0), Pt(5, 0), -360}, {Pt(0, 0), 5, 0, 360}},
      {{Pt(2, 2), Pt(2, 2), 90}, {}},
      {{Pt(0, 0), Pt(10, 0), 0}, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<double>(C.Arc.Angle));
    const TQBTArcCentreRec R = ArcCentre(C.Arc);
    ExpectPoint(R.Centre, C.Want.Centre.X, C.Want.Centre.Y);
    EXPECT_TRUE(IsSameValue(R.Radius, C.Want.Radius)) << static_cast<double>(R.Radius);
    EXPECT_TRUE(IsSameValue(R.StartAngle, C.Want.StartAngle)) << static_cast<double>(R.StartAngle);
    EXPECT_TRUE(IsSameValue(R.EndAngle, C.Want.EndAngle)) << static_cast<double>(R.EndAngle);
    if (C.Want.Radius != 0 && std::fabs(C.Arc.Angle) != 360) {
      // The defining property: turning the start about the centre by the angle reaches the end.
      ExpectPoint(RotatePoint(R.Centre, C.Arc.StartPoint, C.Arc.Angle), C.Arc.EndPoint.X,
                  C.Arc.EndPoint.Y);
    }
  }
}

TEST(Primitives, SegmentTransforms) {
  const TQBTSegmentRec S{Pt(1, 0), Pt(2, 0)};
  const TQBTSegmentRec R = RotateSegment(S, Pt(0, 0), 90);
  ExpectPoint(R.StartPoint, 0, 1);
  ExpectPoint(R.EndPoint, 0, 2);
  const TQBTSegmentRec T = TranslateSegment(S, Pt(1, -1));
  ExpectPoint(T.StartPoint, 0, 1);
  ExpectPoint(T.EndPoint, 1, 1);
}

} // namespace
} // namespace qbt
