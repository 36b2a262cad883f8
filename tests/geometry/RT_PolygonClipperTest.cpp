#include "geometry/RT_PolygonClipper.h"

#include "support/ClipShapes.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace qbt {
namespace {

using test::FlaggedArea;
using test::MakeClipPolygon;
using test::TClipPolygonPtr;
using test::TPath;
using test::TPaths;

TPath Square(long long X0, long long Y0, long long X1, long long Y1) {
  return test::TShapeMaker::Rect(X0, Y0, X1, Y1);
}

TClipPolygonPtr Clipped(TClipOperation Operation, const TPaths& Subject, const TPaths& Clip) {
  auto S = MakeClipPolygon(Subject);
  auto C = MakeClipPolygon(Clip);
  TClipPolygonPtr Result(NewClipPolygon());
  PolygonClip(Operation, S.get(), C.get(), Result.get());
  return Result;
}

std::vector<std::pair<double, double>> VerticesOf(const TClipVertexList& C) {
  std::vector<std::pair<double, double>> V;
  for (int32_t I = 0; I < C.NumVertices; ++I)
    V.emplace_back(C.Vertex[I].X, C.Vertex[I].Y);
  return V;
}

// True when Contour runs through Expected's vertices in their cyclic order, either way round.
bool SameCycle(std::vector<std::pair<double, double>> Contour,
               const std::vector<std::pair<double, double>>& Expected) {
  if (Contour.size() != Expected.size())
    return false;
  for (int Direction = 0; Direction < 2; ++Direction) {
    for (size_t Shift = 0; Shift < Contour.size(); ++Shift) {
      std::rotate(Contour.begin(), Contour.begin() + 1, Contour.end());
      if (Contour == Expected)
        return true;
    }
    std::reverse(Contour.begin(), Contour.end());
  }
  return false;
}

TEST(PolygonClipTest, UnionOfOverlappingSquaresIsOneOutline) {
  auto R = Clipped(coUnion, {Square(0, 0, 10, 10)}, {Square(5, 5, 15, 15)});
  ASSERT_EQ(R->NumContours, 1);
  EXPECT_EQ(R->Hole[0], 0);
  EXPECT_TRUE(SameCycle(VerticesOf(R->Contour[0]),
                        {{0, 0}, {10, 0}, {10, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 10}, {0, 10}}));
}

TEST(PolygonClipTest, OperationsOnOverlappingSquares) {
  struct TCase {
    TClipOperation Operation;
    int Contours;
    double Area;
  };
  const TCase Cases[] = {
      {coUnion, 1, 175},
      {coIntersection, 1, 25},
      {coDifference, 1, 75},
      {coExclusiveOr, 2, 150}, // two L shapes touching at the corners of the overlap
  };
  for (const TCase& C : Cases) {
    auto R = Clipped(C.Operation, {Square(0, 0, 10, 10)}, {Square(5, 5, 15, 15)});
    EXPECT_EQ(R->NumContours, C.Contours) << "operation " << C.Operation;
    EXPECT_DOUBLE_EQ(FlaggedArea(*R), C.Area) << "operation " << C.Operation;
  }
}

TEST(PolygonClipTest, SquareInsideSquare) {
  const TPaths Outer{Square(0, 0, 10, 10)};
  const TPaths Inner{Square(3, 3, 6, 6)};

  auto Union = Clipped(coUnion, Outer, Inner);
  ASSERT_EQ(Union->NumContours, 1);
  EXPECT_EQ(Union->Hole[0], 0);
  EXPECT_TRUE(SameCycle(VerticesOf(Union->Contour[0]), {{0, 0}, {10, 0}, {10, 10}, {0, 10}}));

  auto Difference = Clipped(coDifference, Outer, Inner);
  ASSERT_EQ(Difference->NumContours, 2);
  const int Hole = Difference->Hole[0] ? 0 : 1;
  EXPECT_NE(Difference->Hole[Hole], 0);
  EXPECT_EQ(Difference->Hole[1 - Hole], 0);
  EXPECT_TRUE(SameCycle(VerticesOf(Difference->Contour[Hole]), {{3, 3}, {6, 3}, {6, 6}, {3, 6}}));
  EXPECT_DOUBLE_EQ(FlaggedArea(*Difference), 91);

  // The inner square minus the outer one leaves nothing.
  EXPECT_EQ(Clipped(coDifference, Inner, Outer)->NumContours, 0);
}

TEST(PolygonClipTest, EmptyInputs) {
  const TPaths Square10{Square(0, 0, 10, 10)};
  struct TCase {
    TClipOperation Operation;
    bool SubjectEmpty, ClipEmpty;
    double Area; // 0: an empty result
  };
  const TCase Cases[] = {
      {coIntersection, false, true, 0},  {coIntersection, true, false, 0},
      {coDifference, false, true, 100},  {coDifference, true, false, 0},
      {coUnion, false, true, 100},       {coUnion, true, false, 100},
      {coExclusiveOr, false, true, 100}, {coExclusiveOr, true, false, 100},
      {coUnion, true, true, 0},          {coExclusiveOr, true, true, 0},
  };
  for (const TCase& C : Cases) {
    auto R = Clipped(C.Operation, C.SubjectEmpty ? TPaths{} : Square10,
                     C.ClipEmpty ? TPaths{} : Square10);
    EXPECT_EQ(R->NumContours, C.Area == 0 ? 0 : 1)
        << "operation " << C.Operation << " subject empty " << C.SubjectEmpty;
    EXPECT_DOUBLE_EQ(FlaggedArea(*R), C.Area) << "operation " << C.Operation;
  }
}

TEST(PolygonClipTest, TrivialResultsReplaceWhatResultHeld) {
  auto Result = MakeClipPolygon({Square(0, 0, 1, 1), Square(2, 2, 3, 3)});
  auto Square10 = MakeClipPolygon({Square(0, 0, 10, 10)});
  PolygonClip(coIntersection, Square10.get(), nullptr, Result.get());
  EXPECT_EQ(Result->NumContours, 0);
  EXPECT_EQ(Result->Hole, nullptr);
  EXPECT_EQ(Result->Contour, nullptr);
}

TEST(PolygonClipTest, AccumulatorGrowsBodyByBody) {
  TClipPolygonPtr Accumulator(NewClipPolygon());
  struct TStep {
    TPath Body;
    int Contours;
    double Area;
  };
  const TStep Steps[] = {
      {Square(0, 0, 10, 10), 1, 100},  {Square(5, 5, 15, 15), 1, 175},
      {Square(30, 0, 40, 10), 2, 275}, // apart from the rest
      {Square(10, 0, 30, 4), 1, 355},  // bridges the two
      {Square(2, 2, 4, 4), 1, 355},    // inside already
  };
  for (const TStep& S : Steps) {
    auto Body = MakeClipPolygon({S.Body});
    PolygonClip(coUnion, Accumulator.get(), Body.get(), Accumulator.get());
    EXPECT_EQ(Accumulator->NumContours, S.Contours);
    EXPECT_DOUBLE_EQ(FlaggedArea(*Accumulator), S.Area);
  }
  // The accumulator as the clip operand works the same way.
  auto Body = MakeClipPolygon({Square(100, 100, 101, 101)});
  PolygonClip(coUnion, Body.get(), Accumulator.get(), Accumulator.get());
  EXPECT_EQ(Accumulator->NumContours, 2);
  EXPECT_DOUBLE_EQ(FlaggedArea(*Accumulator), 356);
}

TEST(PolygonClipTest, InputsAreLeftAsTheyWere) {
  const TPaths SubjectPaths{Square(0, 0, 10, 10), Square(20, 20, 30, 30)};
  const TPaths ClipPaths{Square(5, 5, 25, 25)};
  auto S = MakeClipPolygon(SubjectPaths, {false, true});
  auto C = MakeClipPolygon(ClipPaths);
  for (TClipOperation Operation : {coDifference, coIntersection, coExclusiveOr, coUnion}) {
    TClipPolygonPtr R(NewClipPolygon());
    PolygonClip(Operation, S.get(), C.get(), R.get());
    ASSERT_EQ(S->NumContours, 2);
    EXPECT_EQ(S->Hole[1], 1);
    EXPECT_EQ(VerticesOf(S->Contour[1]), VerticesOf(MakeClipPolygon(SubjectPaths)->Contour[1]));
    ASSERT_EQ(C->NumContours, 1);
    EXPECT_EQ(VerticesOf(C->Contour[0]), VerticesOf(MakeClipPolygon(ClipPaths)->Contour[0]));
  }
}

TEST(PolygonClipTest, DegenerateContoursAndResults) {
  struct TCase {
    const char* What;
    TClipOperation Operation;
    TPaths Subject, Clip;
    int Contours;
    double Area;
  };
  const TCase Cases[] = {
      {"a contour on one horizontal line adds nothing",
       coUnion,
       {{{0, 5}, {10, 5}, {20, 5}}},
       {Square(0, 0, 10, 10)},
       1,
       100},
      {"a flat contour alone is nothing", coUnion, {{{0, 5}, {10, 5}, {4, 5}}}, {}, 0, 0},
      {"squares sharing an edge meet in no area",
       coIntersection,
       {Square(0, 0, 10, 10)},
       {Square(10, 0, 20, 10)},
       0,
       0},
      {"squares sharing an edge unite into one",
       coUnion,
       {Square(0, 0, 10, 10)},
       {Square(10, 0, 20, 10)},
       1,
       200},
      {"triangles touching at a corner meet in no area",
       coIntersection,
       {{{0, 0}, {10, 0}, {5, 5}}},
       {{{5, 5}, {10, 10}, {0, 10}}},
       0,
       0},
      {"a contour of two vertices adds nothing",
       coUnion,
       {{{0, 0}, {5, 9}}},
       {Square(0, 0, 1, 1)},
       1,
       1},
      {"identical squares leave no difference",
       coDifference,
       {Square(0, 0, 10, 10)},
       {Square(0, 0, 10, 10)},
       0,
       0},
      {"identical squares have no exclusive or",
       coExclusiveOr,
       {Square(0, 0, 10, 10)},
       {Square(0, 0, 10, 10)},
       0,
       0},
  };
  for (const TCase& C : Cases) {
    auto R = Clipped(C.Operation, C.Subject, C.Clip);
    EXPECT_EQ(R->NumContours, C.Contours) << C.What;
    EXPECT_DOUBLE_EQ(FlaggedArea(*R), C.Area) << C.What;
    for (int32_t I = 0; I < R->NumContours; ++I)
      EXPECT_GE(R->Contour[I].NumVertices, 3) << C.What;
  }
}

TEST(PolygonClipTest, BadInputsDoNoHarm) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const double Inf = std::numeric_limits<double>::infinity();
  auto Square10 = MakeClipPolygon({Square(0, 0, 10, 10)});
  auto Odd = MakeClipPolygon({Square(0, 0, 4, 4), Square(1, 1, 2, 2)});
  Odd->Contour[0].Vertex[2].X = NaN;
  Odd->Contour[1].Vertex[0].Y = Inf;
  for (TClipOperation Operation : {coDifference, coIntersection, coExclusiveOr, coUnion}) {
    TClipPolygonPtr R(NewClipPolygon());
    PolygonClip(Operation, Square10.get(), Odd.get(), R.get());
    // Contours that are not finite take no part.
    EXPECT_DOUBLE_EQ(FlaggedArea(*R), Operation == coIntersection ? 0 : 100);
  }
  // No Result: nothing happens.
  PolygonClip(coUnion, Square10.get(), Square10.get(), nullptr);
  // Missing inputs count as empty; so do contours without vertices.
  TClipPolygonPtr R(NewClipPolygon());
  PolygonClip(coUnion, nullptr, Square10.get(), R.get());
  EXPECT_DOUBLE_EQ(FlaggedArea(*R), 100);
  TClipVertexList NoVertices{5, nullptr};
  TClipPolygon Hollow{1, nullptr, &NoVertices};
  PolygonClip(coDifference, Square10.get(), &Hollow, R.get());
  EXPECT_DOUBLE_EQ(FlaggedArea(*R), 100);
}

TEST(ClipPolygonTest, FreeAndClear) {
  TClipPolygon* P = NewClipPolygon();
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->NumContours, 0);
  EXPECT_EQ(P->Hole, nullptr);
  EXPECT_EQ(P->Contour, nullptr);
  auto Square10 = MakeClipPolygon({Square(0, 0, 10, 10)});
  PolygonClip(coUnion, Square10.get(), nullptr, P);
  EXPECT_EQ(P->NumContours, 1);
  ClearClipPolygon(P);
  EXPECT_EQ(P->NumContours, 0);
  EXPECT_EQ(P->Contour, nullptr);
  ClearClipPolygon(P); // already empty
  FreeClipPolygon(P);
  EXPECT_EQ(P, nullptr);
  FreeClipPolygon(P); // already nothing
  ClearClipPolygon(nullptr);
}

TEST(DoubleListTest, GrowsBySixteenThenByAQuarter) {
  TDoubleList List;
  std::vector<int32_t> Capacities;
  for (int I = 0; I < 200; ++I) {
    List.Add(I);
    if (Capacities.empty() || Capacities.back() != List.Capacity())
      Capacities.push_back(List.Capacity());
  }
  EXPECT_EQ(Capacities, (std::vector<int32_t>{16, 32, 48, 64, 80, 100, 125, 156, 195, 243}));
  EXPECT_EQ(List.Count(), 200);
  EXPECT_EQ(List[199], 199);
  EXPECT_FALSE(List.Sorted());
}

TEST(DoubleListTest, SortsAscending) {
  const std::vector<std::vector<double>> Cases{
      {},
      {1},
      {3, 1, 2},
      {5, 5, 5, 5},
      {-1e300, 7, 7, -0.5, 1e300, 0, 7, -1e300},
      {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10},
  };
  for (const auto& Values : Cases) {
    TDoubleList List;
    for (double V : Values)
      List.Add(V);
    List.Sort();
    auto Expected = Values;
    std::sort(Expected.begin(), Expected.end());
    std::vector<double> Got(List.Data(), List.Data() + List.Count());
    EXPECT_EQ(Got, Expected);
  }
}

} // namespace
} // namespace qbt
