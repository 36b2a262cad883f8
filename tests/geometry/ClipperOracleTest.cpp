// Our clipper against Clipper over random shapes of many kinds: the areas agree for every
// operation, and for unions of overlapping shapes so do the numbers of outlines and holes.
#include "geometry/RT_PolygonClipper.h"
#include "support/ClipShapes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <iterator>
#include <string>

namespace qbt {
namespace {

using test::TPath;
using test::TPaths;
using test::TShapeMaker;

struct TKind {
  const char* Name;
  int Cases;
  bool Degenerate; // edges share lines and corners
  std::function<void(TShapeMaker&, TPaths& Subject, TPaths& Clip)> Make;
};

double AreaOf(const TPaths& Paths) {
  auto P = test::MakeClipPolygon(Paths);
  double A = 0;
  for (int32_t I = 0; I < P->NumContours; ++I)
    A += std::fabs(test::SignedArea(P->Contour[I]));
  return A;
}

TPath Star(TShapeMaker& M, long long Size, bool Convex) {
  const double R = M.Real(0.1, 0.4) * double(Size);
  return M.Star(M.Int(Size / 4, 3 * Size / 4), M.Int(Size / 4, 3 * Size / 4), Convex ? R : 0.3 * R,
                R, int(M.Int(3, Convex ? 12 : 30)), M.Int(0, 1) == 1);
}

// An outline with holes inside it, the holes drawn the other way round. Apart, the holes are
// convex and nested in the outline; otherwise they may overlap each other and the outline's edge.
TPaths WithHoles(TShapeMaker& M, long long Size, bool Apart = false) {
  const long long Cx = M.Int(Size / 3, 2 * Size / 3), Cy = M.Int(Size / 3, 2 * Size / 3);
  const double R = M.Real(0.2, 0.3) * double(Size);
  TPaths Paths{M.Star(Cx, Cy, 0.8 * R, R, int(M.Int(6, 20)))};
  if (Apart) {
    // Evenly spread corners keep the outline's edge beyond 0.78 R from the centre.
    Paths[0].clear();
    for (int I = 0, N = int(M.Int(16, 30)); I < N; ++I) {
      const double A = I * 2 * M_PI / N, Ri = M.Real(0.8, 1) * R;
      Paths[0].push_back(
          {Cx + std::llround(Ri * std::cos(A)), Cy + std::llround(Ri * std::sin(A))});
    }
  }
  for (int Hole = 0, Holes = int(M.Int(1, 3)); Hole < Holes; ++Hole) {
    if (Apart) {
      const double A = Hole * 2 * M_PI / 3;
      Paths.push_back(M.Star(Cx + std::llround(R / 4 * std::cos(A)),
                             Cy + std::llround(R / 4 * std::sin(A)), 0.1 * R, 0.1 * R,
                             int(M.Int(3, 8)), true));
      continue;
    }
    const double Rh = M.Real(0.05, 0.15) * R;
    const auto Offset = [&] { return M.Int(-std::llround(R / 3), std::llround(R / 3)); };
    Paths.push_back(M.Star(Cx + Offset(), Cy + Offset(), Rh, Rh, int(M.Int(3, 8)), true));
  }
  return Paths;
}

const TKind Kinds[] = {
    {"convex", 400, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S = {Star(M, 1000, true)};
       C = {Star(M, 1000, true)};
     }},
    {"concave", 400, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S = {Star(M, 1000, false)};
       C = {Star(M, 1000, false)};
     }},
    {"holes", 300, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S = WithHoles(M, 1000);
       C = M.Int(0, 1) ? WithHoles(M, 1000) : TPaths{Star(M, 1000, false)};
     }},
    {"grid rectangles: shared, collinear and touching edges", 400, true,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S.clear();
       C.clear();
       for (auto N = M.Int(1, 6); N > 0; --N)
         S.push_back(M.GridRect(6, 10));
       for (auto N = M.Int(1, 6); N > 0; --N)
         C.push_back(M.GridRect(6, 10));
     }},
    {"grid triangles: shared slanted edges and touching corners", 400, true,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S.clear();
       C.clear();
       // Three distinct corners, possibly in a line. (Clipper mistakes a contour that repeats a
       // vertex.)
       const auto Triangle = [&M] {
         TPath T;
         while (T.size() < 3) {
           const test::TPt P{M.Int(0, 4) * 25, M.Int(0, 4) * 25};
           if (std::none_of(T.begin(), T.end(),
                            [&P](const test::TPt& Q) { return Q.X == P.X && Q.Y == P.Y; }))
             T.push_back(P);
         }
         return T;
       };
       for (auto N = M.Int(1, 4); N > 0; --N)
         S.push_back(Triangle());
       for (auto N = M.Int(1, 4); N > 0; --N)
         C.push_back(Triangle());
     }},
    {"contours on one horizontal line", 200, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       const long long Y = M.Int(0, 1000);
       S = {Star(M, 1000, false), {{M.Int(0, 1000), Y}, {M.Int(0, 1000), Y}, {M.Int(0, 1000), Y}}};
       C = {Star(M, 1000, false)};
       if (M.Int(0, 1))
         std::swap(S, C);
     }},
    {"many contours", 150, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S.clear();
       C.clear();
       for (auto N = M.Int(5, 25); N > 0; --N)
         S.push_back(M.Star(M.Int(0, 1000), M.Int(0, 1000), 20, M.Real(21, 150), int(M.Int(3, 9))));
       for (auto N = M.Int(5, 25); N > 0; --N)
         C.push_back(M.Star(M.Int(0, 1000), M.Int(0, 1000), 20, M.Real(21, 150), int(M.Int(3, 9))));
     }},
    {"self-intersecting", 300, false,
     [](TShapeMaker& M, TPaths& S, TPaths& C) {
       S = {M.Scribble(100, int(M.Int(3, 10)))};
       C = {M.Scribble(100, int(M.Int(3, 10)))};
     }},
};

bool InsideOf(const TPaths& Paths, double X, double Y) {
  bool Inside = false;
  for (const TPath& P : Paths) {
    for (size_t I = 0, J = P.size() - 1; I < P.size(); J = I++) {
      const double Xi = double(P[I].X), Yi = double(P[I].Y);
      const double Xj = double(P[J].X), Yj = double(P[J].Y);
      if ((Yi > Y) != (Yj > Y) && X < (Xj - Xi) * (Y - Yi) / (Yj - Yi) + Xi)
        Inside = !Inside;
    }
  }
  return Inside;
}

// The area of the even-odd result over the 0..100 square of the degenerate kinds, by sampling
// points off the lattice of their corners.
double SampledArea(TClipOperation Operation, const TPaths& Subject, const TPaths& Clip) {
  constexpr double Step = 0.1;
  double Area = 0;
  for (double X = Step / 2; X < 101; X += Step) {
    for (double Y = Step / 2 + 0.0123; Y < 101; Y += Step) {
      const bool S = InsideOf(Subject, X, Y), C = InsideOf(Clip, X, Y);
      const bool In = Operation == coDifference     ? S && !C
                      : Operation == coIntersection ? S && C
                      : Operation == coExclusiveOr  ? S != C
                                                    : S || C;
      Area += In ? Step * Step : 0;
    }
  }
  return Area;
}

constexpr TClipOperation Operations[] = {coDifference, coIntersection, coExclusiveOr, coUnion};

class ClipperOracleAreaTest : public testing::TestWithParam<size_t> {};

TEST_P(ClipperOracleAreaTest, AreasAgreeForEveryOperation) {
  // Clipper rounds crossings to whole numbers: scaling its input keeps that rounding far below
  // the tolerance.
  constexpr long long Scale = 1 << 16;
  const TKind& Kind = Kinds[GetParam()];
  unsigned Seed = 1; // every case of every kind has a seed of its own
  for (size_t I = 0; I < GetParam(); ++I)
    Seed += unsigned(Kinds[I].Cases);
  int Refereed = 0;
  {
    int Failures = 0;
    for (int Case = 0; Case < Kind.Cases && Failures < 5; ++Case, ++Seed) {
      TShapeMaker M(Seed);
      TPaths SubjectPaths, ClipPaths;
      Kind.Make(M, SubjectPaths, ClipPaths);
      auto Subject = test::MakeClipPolygon(SubjectPaths);
      auto Clip = test::MakeClipPolygon(ClipPaths);
      const double Tolerance = 1e-6 * (1 + AreaOf(SubjectPaths) + AreaOf(ClipPaths));
      for (TClipOperation Operation : Operations) {
        test::TClipPolygonPtr Ours(NewClipPolygon());
        PolygonClip(Operation, Subject.get(), Clip.get(), Ours.get());
        const double Theirs = test::ClipperClip(Operation, SubjectPaths, ClipPaths, Scale).Area;
        const double Area = test::FlaggedArea(*Ours);
        if (std::fabs(Area - Theirs) <= Tolerance)
          continue;
        // Clipper misjudges a few cases where many edges share lines and corners; point sampling
        // referees those.
        const double Sampled = SampledArea(Operation, SubjectPaths, ClipPaths);
        const double SampleTolerance = 0.002 * (1 + AreaOf(SubjectPaths) + AreaOf(ClipPaths));
        if (Kind.Degenerate && std::fabs(Area - Sampled) <= SampleTolerance &&
            std::fabs(Theirs - Sampled) > SampleTolerance) {
          ++Refereed;
          continue;
        }
        {
          ++Failures;
          ADD_FAILURE() << Kind.Name << ", seed " << Seed << ", operation " << Operation
                        << ": area " << Area << ", Clipper's " << Theirs << ", sampled " << Sampled;
        }
      }
    }
  }
  if (Refereed > 0)
    std::cout << Kind.Name << ": Clipper overruled by point sampling in " << Refereed
              << " results\n";
}

INSTANTIATE_TEST_SUITE_P(Kinds, ClipperOracleAreaTest, testing::Range(size_t(0), std::size(Kinds)),
                         [](const testing::TestParamInfo<size_t>& Info) {
                           std::string Name = Kinds[Info.param].Name;
                           Name = Name.substr(0, Name.find(':'));
                           for (char& C : Name)
                             C = std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
                           return Name;
                         });

TEST(ClipperOracleTest, UnionsOfOverlappingShapesHaveTheSameOutlinesAndHoles) {
  // Large coordinates keep vertices and crossings apart, and no operand overlaps itself, so that
  // no two contours touch: where they do, either clipper may keep them as one or as two.
  constexpr long long Size = 1000000;
  int Failures = 0;
  for (unsigned Seed = 1; Seed <= 500 && Failures < 5; ++Seed) {
    TShapeMaker M(Seed * 7919);
    TPaths SubjectPaths, ClipPaths;
    switch (Seed % 3) {
    case 0: // concave shapes, whose union encloses holes between their spikes
      SubjectPaths = {Star(M, Size, false)};
      ClipPaths = {Star(M, Size, false)};
      break;
    case 1:
      SubjectPaths = WithHoles(M, Size, true);
      ClipPaths = WithHoles(M, Size, true);
      break;
    default: // the export's pattern: a row of overlapping bodies
      for (int I = 0; I < 4; ++I) {
        const long long X = I * Size / 8 + M.Int(0, Size / 40), Y = M.Int(0, Size / 10);
        (I % 2 ? ClipPaths : SubjectPaths)
            .push_back(M.Star(X + Size / 10, Y + Size / 10, Size / 12.0, Size / 9.0, 12));
      }
      break;
    }
    auto Subject = test::MakeClipPolygon(SubjectPaths);
    auto Clip = test::MakeClipPolygon(ClipPaths);
    test::TClipPolygonPtr Ours(NewClipPolygon());
    PolygonClip(coUnion, Subject.get(), Clip.get(), Ours.get());
    int OurOutlines = 0, OurHoles = 0;
    for (int32_t I = 0; I < Ours->NumContours; ++I)
      ++(Ours->Hole[I] ? OurHoles : OurOutlines);
    const auto [Area, Outlines, Holes] = test::ClipperClip(coUnion, SubjectPaths, ClipPaths, 1);
    if (OurOutlines != Outlines || OurHoles != Holes) {
      ++Failures;
      ADD_FAILURE() << "seed " << Seed << ": " << OurOutlines << " outlines and " << OurHoles
                    << " holes, Clipper's " << Outlines << " and " << Holes;
    }
  }
}

} // namespace
} // namespace qbt
