#include "geometry/qbtIDFPolygonsOutline.h"

#include "support/TestProvider.h"

#include <gtest/gtest.h>
#include <random>

namespace qbt {
namespace {

using test::Pt;
using test::TTestProvider;

constexpr uint8_t Mech = 57;

// A board with one component whose outline pieces a test draws.
struct Footprint {
  TQBTRef<TTestProvider> Board = TTestProvider::Create();
  uint32_t U1 = Board->AddComponent("U1", "SQ", Pt(5, 5));

  void Track(TQBTPointRec From, TQBTPointRec To, uint8_t Layer = Mech) {
    Board->AddTrack(From, To, Layer, U1);
  }
  void Arc(TQBTPointRec From, TQBTPointRec To, long double Angle, uint8_t Layer = Mech) {
    Board->AddArc(From, To, Angle, Layer, U1);
  }
  long double Extract(TQBTPolygon& Outline, uint8_t Layer = Mech) {
    auto Objects = CreatePCBObjectList(Board);
    return ExtractOutline(*Objects, Layer, U1, Outline);
  }
};

std::vector<TQBTPointRec> Vertices(const TQBTPolygon& P) {
  std::vector<TQBTPointRec> Result;
  for (int I = 0; I < P.Count(); ++I) {
    Result.push_back(P.Points(I)->Position());
  }
  return Result;
}

TEST(ExtractOutline, FourTracksInMixedDirectionsMakeTheSquare) {
  Footprint F;
  F.Track(Pt(0, 0), Pt(10, 0));
  F.Track(Pt(10, 10), Pt(10, 0));
  F.Track(Pt(10, 10), Pt(0, 10));
  F.Track(Pt(0, 0), Pt(0, 10));
  TQBTPolygon Outline;
  EXPECT_EQ(F.Extract(Outline), 100);
  EXPECT_EQ(Outline.Count(), 5);
  EXPECT_TRUE(Outline.IsClosed());
}

TEST(ExtractOutline, GapsBelowTheToleranceAreBridged) {
  struct Case {
    long double Gap;
    long double Area;
  };
  for (const Case C : {Case{4.99L, 100}, Case{5.0L, 0}}) {
    Footprint F;
    F.Track(Pt(0, 0), Pt(10, 0));
    F.Track(Pt(10, 0), Pt(10, 10));
    F.Track(Pt(10, 10), Pt(0, 10));
    F.Track(Pt(0, 10), Pt(0, C.Gap));
    TQBTPolygon Outline;
    EXPECT_EQ(F.Extract(Outline), C.Area) << C.Gap;
    if (C.Area > 0) {
      ASSERT_EQ(Outline.Count(), 6);
      int Bridged = 0;
      for (int I = 0; I < Outline.Count(); ++I) {
        Bridged += Outline.Points(I)->ConnectionKind == ckVirtual;
      }
      EXPECT_GT(Bridged, 0);
    }
  }
}

TEST(ExtractOutline, ArcsCountWithTheirAngleAndFullCirclesDoNot) {
  Footprint F;
  F.Track(Pt(0, 0), Pt(10, 0));
  F.Arc(Pt(10, 0), Pt(0, 0), 180); // half circle back to the start
  F.Arc(Pt(50, 50), Pt(60, 50), 360);
  F.Arc(Pt(50, 50), Pt(70, 50), -360);
  TQBTPolygons Pieces;
  auto Objects = CreatePCBObjectList(F.Board);
  CollectTracksAndArcs(Pieces, *Objects, Mech, F.U1);
  ASSERT_EQ(Pieces.Count(), 2);
  EXPECT_EQ(Pieces.Polygons(0)->Points(1)->Angle, 180); // arcs first
  EXPECT_EQ(Pieces.Polygons(1)->Points(1)->Angle, 0);

  TQBTPolygon Outline;
  EXPECT_EQ(F.Extract(Outline), 0); // a chord-only area of 0 never wins
}

TEST(ExtractOutline, OnlyThisComponentsFreeDrawingOnThisLayerCounts) {
  Footprint F;
  const uint32_t U2 = F.Board->AddComponent("U2", "SQ", Pt(0, 0));
  F.Board->AddTrackLoop({Pt(0, 0), Pt(30, 0), Pt(30, 30), Pt(0, 30)}, Mech, U2);
  F.Board->AddTrackLoop({Pt(0, 0), Pt(40, 0), Pt(40, 40), Pt(0, 40)}, Mech + 1, F.U1);
  for (auto [From, To] : {std::pair{Pt(0, 0), Pt(50, 0)},
                          {Pt(50, 0), Pt(50, 50)},
                          {Pt(50, 50), Pt(0, 50)},
                          {Pt(0, 50), Pt(0, 0)}}) {
    F.Board->AddTrack(From, To, Mech, F.U1, true); // keep-outs
  }
  F.Board->AddTrackLoop({Pt(0, 0), Pt(20, 0), Pt(20, 20), Pt(0, 20)}, Mech, 0);
  TQBTPolygon Outline;
  Outline.AddPoint(1, 2);
  EXPECT_EQ(F.Extract(Outline), 0);
  ASSERT_EQ(Outline.Count(), 1); // untouched
  EXPECT_EQ(Outline.Points(0)->X, 1);
  EXPECT_EQ(F.Extract(Outline, Mech + 1), 1600);
}

TEST(ExtractOutline, TheLargestLoopWinsAndTheFirstOfEqualOnes) {
  Footprint F;
  F.Board->AddTrackLoop({Pt(100, 0), Pt(110, 0), Pt(110, 10), Pt(100, 10)}, Mech, F.U1);
  F.Board->AddTrackLoop({Pt(0, 0), Pt(10, 0), Pt(10, 10), Pt(0, 10)}, Mech, F.U1);
  F.Board->AddTrackLoop({Pt(200, 0), Pt(205, 0), Pt(205, 5)}, Mech, F.U1);
  TQBTPolygon Outline;
  EXPECT_EQ(F.Extract(Outline), 100);
  for (const TQBTPointRec& P : Vertices(Outline)) {
    EXPECT_GE(P.X, 100); // the first square drawn
  }
}

TEST(ExtractOutline, ProviderErrorsPassToTheCaller) {
  Footprint F;
  F.Board->AddTrackLoop({Pt(0, 0), Pt(10, 0), Pt(10, 10)}, Mech, F.U1);
  F.Board->FailOn = "ReadObject";
  TQBTPolygon Outline;
  EXPECT_THROW(F.Extract(Outline), Exception);
  EXPECT_EQ(Outline.Count(), 0);
}

TQBTPolygon& AddLoop(TQBTPolygons& List, const std::vector<test::TTestPoint>& Points) {
  TQBTPolygon& P = *List.AddPolygon();
  for (const auto& Q : Points) {
    P.AddPoint(Q.X, Q.Y, Q.Angle);
  }
  return P;
}

TEST(RemoveDuplicateLoops, TheSameLoopFromAnotherVertexOrBackwardsGoes) {
  TQBTPolygons Chains;
  AddLoop(Chains, {{0, 0}, {10, 0}, {10, 10, 90}, {0, 0}});
  AddLoop(Chains, {{5, 5}, {6, 6}, {5, 5}});
  AddLoop(Chains, {{10, 0}, {10, 10, 90}, {0, 0}, {10, 0}}); // another start
  AddLoop(Chains, {{0, 0}, {10, 10}, {10, 0, -90}, {0, 0}}); // backwards
  AddLoop(Chains, {{0, 0}, {10, 0}, {10, 10, -90}, {0, 0}}); // another arc
  RemoveDuplicateLoops(Chains);
  ASSERT_EQ(Chains.Count(), 3);
  EXPECT_EQ(Vertices(*Chains.Polygons(0)).size(), 4u);
  EXPECT_EQ(Chains.Polygons(1)->Points(0)->X, 5);
  EXPECT_EQ(Chains.Polygons(2)->Points(2)->Angle, -90);
}

// ---------------------------------------------------------------------------------------------
// The fast chain operations against their plain forms

void GrowChainsPlain(TQBTPolygons& Chains, const TQBTPolygons& Pieces) {
  const int Count = Chains.Count();
  for (int I = 0; I < Count; ++I) {
    TQBTPolygon& P = *Chains.Polygons(I);
    TQBTPolygons Pool;
    Pool.Assign(Pieces);
    bool Joined = true;
    while (Joined) {
      Joined = false;
      for (int K = Pool.Count() - 1; K >= 0; --K) {
        if (P.Join(*Pool.Polygons(K))) {
          Pool.Delete(K);
          Joined = true;
          break;
        }
      }
    }
  }
}

void RemoveDuplicateLoopsPlain(TQBTPolygons& Chains) {
  for (int I = 0; I < Chains.Count(); ++I) {
    while (I < Chains.Count()) {
      TQBTPolygonItem* Same = Chains.FindSameLoop(*Chains.Polygons(I));
      if (Same == nullptr) {
        break;
      }
      Chains.Delete(Same->Index());
    }
  }
}

::testing::AssertionResult SameLists(const TQBTPolygons& A, const TQBTPolygons& B) {
  if (A.Count() != B.Count()) {
    return ::testing::AssertionFailure() << A.Count() << " chains against " << B.Count();
  }
  for (int I = 0; I < A.Count(); ++I) {
    const TQBTPolygon& P = *A.Polygons(I);
    const TQBTPolygon& Q = *B.Polygons(I);
    if (!P.IsSameAs(Q)) {
      return ::testing::AssertionFailure() << "chain " << I << " differs";
    }
    for (int K = 0; K < P.Count(); ++K) {
      if (P.Points(K)->ConnectionKind != Q.Points(K)->ConnectionKind) {
        return ::testing::AssertionFailure() << "chain " << I << " vertex " << K << " kind";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Pieces on a small grid, so that ends meet often; some pieces longer, closed or reversed
// copies of others, some connectors.
void RandomPieces(std::mt19937& Random, TQBTPolygons& Pieces) {
  auto Coord = [&] { return static_cast<long double>(Random() % 4); };
  const long double Angles[] = {0, 0, 0, 90, -90, 180, 45};
  auto Angle = [&] { return Angles[Random() % 7]; };
  const int Count = static_cast<int>(Random() % 14);
  for (int I = 0; I < Count; ++I) {
    TQBTPolygon& P = *Pieces.AddPolygon();
    const unsigned Shape = Random() % 10;
    if (Shape == 0 && Pieces.Count() > 1) { // the copy of an earlier piece, maybe reversed
      const TQBTPolygon& Earlier =
          *Pieces.Polygons(static_cast<int>(Random() % static_cast<unsigned>(Pieces.Count() - 1)));
      const bool Forward = Random() % 2 == 0;
      const int Start = Forward ? 0 : std::max(Earlier.Count() - 1, 0);
      if (Earlier.Count() == 0 || !P.ExtractChain(Earlier, Start, Earlier.Count(), Forward)) {
        P.AddPoint(Coord(), Coord());
      }
      continue;
    }
    const int Vertices = Shape < 7 ? 2 : (Shape == 7 ? 1 : 3);
    P.AddPoint(Coord(), Coord(), Random() % 8 == 0 ? Angle() : 0);
    for (int K = 1; K < Vertices; ++K) {
      P.AddPoint(Coord(), Coord(), Angle());
    }
    if (Shape == 9) {
      P.AddPoint(P.First()->X, P.First()->Y, Angle()); // closed
    }
  }
  if (Count <= 6 && Random() % 2 == 0) { // connectors multiply quickly
    Pieces.CloseGaps(1.5L);
  }
}

TEST(GrowChains, GivesTheChainsOfThePlainPoolScan) {
  std::mt19937 Random(20261211);
  for (int Round = 0; Round < 400; ++Round) {
    TQBTPolygons Pieces;
    RandomPieces(Random, Pieces);
    TQBTPolygons Fast, Plain;
    Fast.Assign(Pieces);
    Plain.Assign(Pieces);
    GrowChains(Fast, Pieces);
    GrowChainsPlain(Plain, Pieces);
    ASSERT_TRUE(SameLists(Fast, Plain)) << "round " << Round;

    RemoveDuplicateLoops(Fast);
    RemoveDuplicateLoopsPlain(Plain);
    ASSERT_TRUE(SameLists(Fast, Plain)) << "round " << Round << " after removing duplicates";
  }
}

TEST(CloseGapsNearEnds, GivesTheConnectorsOfThePlainPassOverEveryPair) {
  std::mt19937 Random(99);
  const long double Tolerances[] = {0.5L, 1.0L, 1.5L, 5.0L};
  for (int Round = 0; Round < 400; ++Round) {
    TQBTPolygons Pieces;
    RandomPieces(Random, Pieces);
    if (Random() % 4 == 0 && Pieces.Count() > 0) { // ends off the grid, and far away
      Pieces.Polygons(0)->First()->X += 0.75L;
      Pieces.Polygons(0)->Last()->Y = 1e30L;
    }
    const long double Tolerance = Tolerances[Random() % 4];
    TQBTPolygons Plain;
    Plain.Assign(Pieces);
    Plain.CloseGaps(Tolerance);
    CloseGapsNearEnds(Pieces, Tolerance);
    ASSERT_TRUE(SameLists(Pieces, Plain)) << "round " << Round;
  }
}

TEST(RemoveDuplicateLoops, GivesTheListOfThePlainLoopComparison) {
  std::mt19937 Random(7);
  const long double Angles[] = {0, 0, 90, -90, 180};
  for (int Round = 0; Round < 400; ++Round) {
    // A few base loops, and runs of them from every start in both directions, shuffled.
    TQBTPolygons Bases;
    const int BaseCount = 1 + static_cast<int>(Random() % 3);
    for (int B = 0; B < BaseCount; ++B) {
      TQBTPolygon& Base = *Bases.AddPolygon();
      const int N = 2 + static_cast<int>(Random() % 4);
      for (int K = 0; K < N; ++K) {
        Base.AddPoint(Random() % 3, Random() % 3, K == 0 ? 0 : Angles[Random() % 5]);
      }
      if (Random() % 4 != 0) {
        Base.AddPoint(Base.First()->X, Base.First()->Y, Angles[Random() % 5]);
      }
    }
    TQBTPolygons Chains;
    const int Count = static_cast<int>(Random() % 10);
    for (int I = 0; I < Count; ++I) {
      const TQBTPolygon& Base =
          *Bases.Polygons(static_cast<int>(Random() % static_cast<unsigned>(BaseCount)));
      const int Start = static_cast<int>(Random() % static_cast<unsigned>(Base.Count()));
      if (!Chains.AddChain(Base, Start, Base.Count(), Random() % 2 == 0)) {
        Chains.AddPolygon()->Assign(Base);
      }
      if (Random() % 6 == 0) {
        Chains.Polygons(Chains.Count() - 1)->First()->Angle = 90;
      }
    }
    TQBTPolygons Plain;
    Plain.Assign(Chains);
    RemoveDuplicateLoops(Chains);
    RemoveDuplicateLoopsPlain(Plain);
    ASSERT_TRUE(SameLists(Chains, Plain)) << "round " << Round;
  }
}

TEST(ExtractOutline, GivesTheOutlineOfThePlainSteps) {
  std::mt19937 Random(5);
  const long double Angles[] = {0, 0, 0, 90, -90, 180};
  int Found = 0;
  for (int Round = 0; Round < 200; ++Round) {
    Footprint F;
    const int Count = static_cast<int>(Random() % 12);
    for (int I = 0; I < Count; ++I) {
      // Ends on a coarse grid, some nudged by less than the gap tolerance.
      auto Coord = [&] { return 10.0L * (Random() % 4) + (Random() % 5 == 0 ? 3 : 0); };
      const TQBTPointRec From = Pt(Coord(), Coord());
      const TQBTPointRec To = Pt(Coord(), Coord());
      const long double Angle = Angles[Random() % 6];
      if (Angle == 0) {
        F.Track(From, To);
      } else {
        F.Arc(From, To, Angle);
      }
    }
    auto Objects = CreatePCBObjectList(F.Board);
    TQBTPolygons Pieces;
    CollectTracksAndArcs(Pieces, *Objects, Mech, F.U1);
    Pieces.CloseGaps(GapTolerance);
    TQBTPolygons Chains;
    Chains.Assign(Pieces);
    GrowChainsPlain(Chains, Pieces);
    RemoveDuplicateLoopsPlain(Chains);
    long double PlainArea = 0;
    const TQBTPolygonItem* Plain = LargestClosed(Chains, PlainArea);

    TQBTPolygon Outline;
    const long double Area = ExtractOutline(*Objects, Mech, F.U1, Outline);
    ASSERT_EQ(Area, PlainArea) << "round " << Round;
    if (Plain == nullptr) {
      ASSERT_EQ(Outline.Count(), 0) << "round " << Round;
      continue;
    }
    ++Found;
    ASSERT_TRUE(Outline.IsSameAs(*Plain->Item())) << "round " << Round;
  }
  EXPECT_GT(Found, 20); // the rounds do find outlines
}

} // namespace
} // namespace qbt
