#include "PolygonBuilders.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qbt {
namespace {

using testing::Fill;
using testing::Poly;
using testing::Text;
using testing::V;

#define EXPECT_POLY(Actual, ...)                                                                   \
  do {                                                                                             \
    auto Want_ = Poly(__VA_ARGS__);                                                                \
    EXPECT_TRUE((Actual).IsSameAs(*Want_))                                                         \
        << "got  " << Text(Actual) << "\nwant " << Text(*Want_);                                   \
  } while (0)

// A square loop whose closing side is an arc of 60 degrees and whose third side is an arc of 90.
std::unique_ptr<TQBTPolygon> ArcLoop() {
  return Poly({{0, 0}, {10, 0}, {10, 10, 90}, {0, 10}, {0, 0, 60}});
}

TEST(ExtractChain, RunsOfOpenAndClosedSources) {
  auto Open = Poly({{0, 0}, {1, 0, 90}, {2, 0}, {3, 0, -45}});
  auto Loop = ArcLoop();
  auto Stutter = Poly({{0, 0}, {1, 0}, {1, 0}, {1, 0}, {2, 0}});
  struct Case {
    const char* Name;
    const TQBTPolygon* Source;
    int Start, Count;
    bool Forward, Ok;
    std::initializer_list<V> Want;
  } Cases[] = {
      {"open forward", Open.get(), 1, 3, true, true, {{1, 0}, {2, 0}, {3, 0, -45}}},
      {"open backward, arcs negated",
       Open.get(),
       3,
       4,
       false,
       true,
       {{3, 0}, {2, 0, 45}, {1, 0}, {0, 0, -90}}},
      {"open runs out", Open.get(), 2, 3, true, false, {{2, 0}, {3, 0, -45}}},
      {"start past the end", Open.get(), 4, 1, true, false, {}},
      {"loop forward steps over the closing vertex",
       Loop.get(),
       2,
       5,
       true,
       true,
       {{10, 10}, {0, 10}, {0, 0, 60}, {10, 0}, {10, 10, 90}}},
      {"loop backward keeps the closing arc",
       Loop.get(),
       2,
       5,
       false,
       true,
       {{10, 10}, {10, 0, -90}, {0, 0}, {0, 10, -60}, {10, 10}}},
      {"loop backward from its first vertex",
       Loop.get(),
       0,
       5,
       false,
       true,
       {{0, 0}, {0, 10, -60}, {10, 10}, {10, 0, -90}, {0, 0}}},
      {"loop stops once closed",
       Loop.get(),
       1,
       9,
       true,
       false,
       {{10, 0}, {10, 10, 90}, {0, 10}, {0, 0, 60}, {10, 0}}},
      {"second repeat ends the run", Stutter.get(), 0, 4, true, false, {{0, 0}, {1, 0}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TQBTPolygon Run;
    Run.AddPoint(99, 99); // cleared first
    EXPECT_EQ(Run.ExtractChain(*C.Source, C.Start, C.Count, C.Forward), C.Ok);
    EXPECT_POLY(Run, C.Want);
  }

  // Extracting from itself works on a copy.
  auto Self = ArcLoop();
  EXPECT_TRUE(Self->ExtractChain(*Self, 3, 2, true));
  EXPECT_POLY(*Self, {{0, 10}, {0, 0, 60}});
}

TEST(ExtractChain, LoopsMatchWhicheverWayAndWhereverTheyStart) {
  auto Loop = ArcLoop();
  struct Case {
    const char* Name;
    std::initializer_list<V> Other;
    bool Same;
  } Cases[] = {
      {"itself", {{0, 0}, {10, 0}, {10, 10, 90}, {0, 10}, {0, 0, 60}}, true},
      {"started elsewhere", {{10, 10}, {0, 10}, {0, 0, 60}, {10, 0}, {10, 10, 90}}, true},
      {"the other way round the closing arc",
       {{0, 0}, {0, 10, -60}, {10, 10}, {10, 0, -90}, {0, 0}},
       true},
      {"the other way, started elsewhere",
       {{10, 10}, {10, 0, -90}, {0, 0}, {0, 10, -60}, {10, 10}},
       true},
      {"the other way with arcs bulging wrong",
       {{0, 0}, {0, 10, 60}, {10, 10}, {10, 0, 90}, {0, 0}},
       false},
      {"closing arc straightened", {{0, 0}, {10, 0}, {10, 10, 90}, {0, 10}, {0, 0}}, false},
      {"one vertex fewer", {{0, 0}, {10, 0}, {10, 10, 90}, {0, 0}}, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TQBTPolygon Other;
    Fill(Other, C.Other);
    EXPECT_EQ(Other.IsSameLoop(*Loop), C.Same);
    EXPECT_EQ(Loop->IsSameLoop(Other), C.Same);
  }
}

TEST(ContainsChain, RunsInEitherDirection) {
  auto B = Poly({{0, 0}, {1, 0, 90}, {2, 0}, {3, 0}});
  EXPECT_TRUE(B->ContainsChain(*Poly({{1, 0}, {2, 0}, {3, 0}})));
  EXPECT_TRUE(B->ContainsChain(*Poly({{1, 0}, {0, 0, -90}})));
  EXPECT_FALSE(B->ContainsChain(*Poly({{1, 0}, {0, 0, 90}})));
  EXPECT_FALSE(B->ContainsChain(*Poly({{1, 0}, {3, 0}})));
  EXPECT_FALSE(B->ContainsChain(*Poly({{7, 7}})));
  EXPECT_FALSE(B->ContainsChain(*Poly({})));
}

TEST(Join, KindsOfMeetingEnds) {
  auto P = Poly({{0, 0}, {10, 0}});
  struct Case {
    const char* Name;
    std::initializer_list<V> Q;
    TQBTJoinKind Kind;
  } Cases[] = {
      {"last meets first", {{10, 0}, {20, 0}}, jkAppend},
      {"first meets last", {{-10, 0}, {0, 0}}, jkPrepend},
      {"firsts meet", {{0, 0}, {0, 10}}, jkPrependReversed},
      {"lasts meet", {{0, 10}, {10, 0}}, jkAppendReversed},
      {"both ends meet: append wins", {{10, 0}, {5, 5}, {0, 0}}, jkAppend},
      {"apart", {{5, 5}, {6, 6}}, jkNone},
      {"near but not exact", {{10.00001L, 0}, {20, 0}}, jkNone},
      {"closed other", {{10, 0}, {20, 0}, {20, 5}, {10, 0}}, jkNone},
      {"same chain", {{0, 0}, {10, 0}}, jkNone},
      {"same chain reversed", {{10, 0}, {0, 0}}, jkNone},
      {"empty", {}, jkNone},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TQBTPolygon Q;
    Fill(Q, C.Q);
    EXPECT_EQ(P->GetJoinKind(Q), C.Kind);
  }
  // A chain that contains the other does not join it, though their ends meet.
  auto Long = Poly({{0, 0}, {10, 0}, {20, 0}});
  EXPECT_EQ(Long->GetJoinKind(*Poly({{10, 0}, {20, 0}})), jkNone);
  EXPECT_EQ(Poly({{10, 0}, {20, 0}})->GetJoinKind(*Long), jkNone);
}

TEST(Join, ResultsAndTheReversalRule) {
  struct Case {
    const char* Name;
    std::initializer_list<V> P, Q;
    bool Joined;
    std::initializer_list<V> Want;
  } Cases[] = {
      {"append: P's last keeps its angle",
       {{0, 0}, {10, 0, 90}},
       {{10, 0, 45}, {20, 0, 30}},
       true,
       {{0, 0}, {10, 0, 90}, {20, 0, 30}}},
      {"prepend",
       {{0, 0}, {10, 0, 90}},
       {{-10, 0}, {0, 0, 30}},
       true,
       {{-10, 0}, {0, 0, 30}, {10, 0, 90}}},
      {"append reversed ends in q0 with the negated arc",
       {{5, 5}, {10, 0}},
       {{0, 0}, {10, 0, 90}},
       true,
       {{5, 5}, {10, 0}, {0, 0, -90}}},
      {"prepend reversed starts with q1, then q0 with the negated arc",
       {{0, 0}, {5, 5, 20}},
       {{0, 0}, {10, 0, 90}},
       true,
       {{10, 0}, {0, 0, -90}, {5, 5, 20}}},
      {"prepend reversed moves each arc to its new end",
       {{0, 0}, {0, 5}},
       {{0, 0}, {1, 0, 10}, {2, 0, 20}},
       true,
       {{2, 0}, {1, 0, -20}, {0, 0, -10}, {0, 5}}},
      {"nothing shared", {{0, 0}, {1, 0}}, {{5, 5}, {6, 6}}, false, {{0, 0}, {1, 0}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TQBTPolygon P, Q;
    Fill(P, C.P);
    Fill(Q, C.Q);
    EXPECT_EQ(P.Join(Q), C.Joined);
    EXPECT_POLY(P, C.Want);
  }

  // Connection kinds travel with reversed copies.
  auto P = Poly({{0, 0}, {5, 5}});
  auto Q = Poly({{8, 8}, {5, 5}});
  Q->SetConnectionKind(ckVirtual);
  ASSERT_TRUE(P->Join(*Q));
  EXPECT_EQ(P->Points(1)->ConnectionKind, ckNormal);
  EXPECT_EQ(P->Points(2)->ConnectionKind, ckVirtual);
}

TEST(Polygons, BridgeAndCloseGaps) {
  TQBTPolygons List;
  Fill(*List.AddPolygon(), {{0, 0}, {10, 0}});
  Fill(*List.AddPolygon(), {{10.5L, 0, 45}, {20, 0}}); // 0.5 after the first
  Fill(*List.AddPolygon(), {{20, 0}, {30, 0}});        // already joins the second
  Fill(*List.AddPolygon(), {{100, 100}, {110, 100}});

  TQBTPolygons Target;
  List.BridgeGaps(Target, 1);
  ASSERT_EQ(Target.Count(), 2);
  EXPECT_POLY(*Target.Polygons(0), {{10, 0}, {10.5L, 0}});
  EXPECT_POLY(*Target.Polygons(1), {{10.5L, 0}, {10, 0}});
  for (int I = 0; I < Target.Count(); ++I) {
    EXPECT_EQ(Target.Polygons(I)->Points(0)->ConnectionKind, ckVirtual);
    EXPECT_EQ(Target.Polygons(I)->Points(1)->ConnectionKind, ckVirtual);
  }

  TQBTPolygons AtTolerance;
  List.BridgeGaps(AtTolerance, 0.5L); // strictly closer only
  EXPECT_EQ(AtTolerance.Count(), 0);

  List.CloseGaps(1);
  ASSERT_EQ(List.Count(), 6);
  EXPECT_POLY(*List.Polygons(1), {{10.5L, 0, 45}, {20, 0}});
  EXPECT_POLY(*List.Polygons(4), {{10, 0}, {10.5L, 0}});
  EXPECT_POLY(*List.Polygons(5), {{10.5L, 0}, {10, 0}});
}

TEST(Polygons, AddChainAndFindSameLoop) {
  TQBTPolygons List;
  auto Loop = ArcLoop();
  EXPECT_TRUE(List.AddChain(*Loop, 0, 5, true));
  EXPECT_TRUE(List.AddChain(*Loop, 2, 5, false)); // the same loop the other way round
  EXPECT_FALSE(List.AddChain(*Loop, 0, 9, true));
  ASSERT_EQ(List.Count(), 2);
  Fill(*List.AddPolygon(), {{0, 0}, {5, 0}, {5, 5}, {0, 0}});

  EXPECT_EQ(List.FindSameLoop(*List.Polygons(0)), List.Items(1));
  EXPECT_EQ(List.FindSameLoop(*List.Polygons(1)), List.Items(0));
  EXPECT_EQ(List.FindSameLoop(*List.Polygons(2)), nullptr);
  EXPECT_EQ(List.FindSameLoop(*Loop), List.Items(0));
}

// The arc of each segment, as centre and radius.
void ExpectArcCentres(const TQBTPolygon& P, std::initializer_list<TQBTPointRec> Centres) {
  auto Centre = Centres.begin();
  for (int I = 0; I < P.SegmentCount(); ++I) {
    const TQBTPolygonSegment S = P.GetSegment(I);
    if (S.Angle == 0) {
      continue;
    }
    ASSERT_NE(Centre, Centres.end());
    const TQBTArcCentreRec C = ArcCentre(S.Arc);
    EXPECT_TRUE(IsSamePoint(C.Centre, *Centre))
        << "segment " << I << ": centre " << static_cast<double>(C.Centre.X) << ","
        << static_cast<double>(C.Centre.Y);
    ++Centre;
  }
  EXPECT_EQ(Centre, Centres.end());
}

TEST(Transform, MirrorKeepsEveryArcOnTheMirroredCurve) {
  // A quarter circle about (10,10) and a three-quarter circle about (20,10).
  auto P = Poly({{0, 10}, {10, 0, 90}, {20, 0}, {30, 10, -270}});
  ExpectArcCentres(*P, {{10, 10}, {20, 10}});
  P->MirrorY();
  EXPECT_POLY(*P, {{0, -10}, {10, 0, -90}, {20, 0}, {30, -10, 270}});
  ExpectArcCentres(*P, {{10, -10}, {20, -10}});
  // Mirrored twice is the original, with no negative zeros on the way.
  P->MirrorY();
  EXPECT_POLY(*P, {{0, 10}, {10, 0, 90}, {20, 0}, {30, 10, -270}});
  EXPECT_FALSE(std::signbit(P->Points(1)->Y));
  EXPECT_FALSE(std::signbit(P->Points(0)->Angle));
}

TEST(Transform, RotateAndTranslateMoveArcsWithTheirVertices) {
  auto P = Poly({{0, 10}, {10, 0, 90}, {20, 0}});
  P->Rotate({10, 0}, 90);
  EXPECT_POLY(*P, {{0, -10}, {10, 0, 90}, {10, 10}});
  ExpectArcCentres(*P, {{0, 0}});
  P->Translate({10, -10});
  EXPECT_POLY(*P, {{-10, 0}, {0, 10, 90}, {0, 20}});
  ExpectArcCentres(*P, {{-10, 10}});
  P->Rotate({3, 4}, 0);
  EXPECT_POLY(*P, {{-10, 0}, {0, 10, 90}, {0, 20}});
}

} // namespace
} // namespace qbt
