// Shapes for the clipper's tests and benchmark: integer-coordinate contours, the clipper's
// polygon records built from them, and the same shapes for Clipper, the reference clipper.
#pragma once

#include "geometry/RT_PolygonClipper.h"

#include <cmath>
#include <memory>
#include <polyclipping/clipper.hpp>
#include <random>
#include <vector>

namespace qbt::test {

struct TPt {
  long long X, Y;
};
using TPath = std::vector<TPt>;
using TPaths = std::vector<TPath>;

struct TClipPolygonFree {
  void operator()(TClipPolygon* P) const { FreeClipPolygon(P); }
};
using TClipPolygonPtr = std::unique_ptr<TClipPolygon, TClipPolygonFree>;

// A polygon owning its arrays the way the clipper's own results do. Hole flags: contour I is a
// hole when Holes[I].
inline TClipPolygonPtr MakeClipPolygon(const TPaths& Paths, const std::vector<bool>& Holes = {}) {
  TClipPolygonPtr P(NewClipPolygon());
  if (Paths.empty())
    return P;
  const auto N = Paths.size();
  P->NumContours = int32_t(N);
  P->Hole = new int32_t[N];
  P->Contour = new TClipVertexList[N];
  for (size_t I = 0; I < N; ++I) {
    P->Hole[I] = I < Holes.size() && Holes[I];
    P->Contour[I].NumVertices = int32_t(Paths[I].size());
    P->Contour[I].Vertex = new TClipVertex[Paths[I].size()];
    for (size_t J = 0; J < Paths[I].size(); ++J)
      P->Contour[I].Vertex[J] = TClipVertex{double(Paths[I][J].X), double(Paths[I][J].Y)};
  }
  return P;
}

inline double SignedArea(const TClipVertexList& C) {
  double A = 0;
  for (int32_t I = 0, N = C.NumVertices; I < N; ++I) {
    const TClipVertex& P = C.Vertex[I];
    const TClipVertex& Q = C.Vertex[(I + 1) % N];
    A += P.X * Q.Y - Q.X * P.Y;
  }
  return A / 2;
}

// The area the hole flags describe: outer contours add, holes take away.
inline double FlaggedArea(const TClipPolygon& P) {
  double A = 0;
  for (int32_t I = 0; I < P.NumContours; ++I)
    A += (P.Hole[I] ? -1 : 1) * std::fabs(SignedArea(P.Contour[I]));
  return A;
}

inline ClipperLib::Paths ToClipper(const TPaths& Paths, long long Scale) {
  ClipperLib::Paths Out;
  for (const TPath& Path : Paths) {
    ClipperLib::Path P;
    for (const TPt& Pt : Path)
      P.push_back(ClipperLib::IntPoint(Pt.X * Scale, Pt.Y * Scale));
    Out.push_back(P);
  }
  return Out;
}

inline ClipperLib::ClipType ToClipper(TClipOperation Operation) {
  switch (Operation) {
  case coDifference:
    return ClipperLib::ctDifference;
  case coIntersection:
    return ClipperLib::ctIntersection;
  case coExclusiveOr:
    return ClipperLib::ctXor;
  case coUnion:
    break;
  }
  return ClipperLib::ctUnion;
}

// What Clipper makes of the same even-odd operation. Clipper first resolves each operand into
// strictly simple contours by itself, then combines the two with its own nesting telling holes:
// asked for the even-odd operation in one step, it misjudges regions where contours of one
// operand share edges.
struct TClipperResult {
  double Area = 0; // outlines add, holes take away
  int Outlines = 0;
  int Holes = 0;
};

inline ClipperLib::Paths ClipperSimple(const TPaths& Paths, long long Scale) {
  ClipperLib::Clipper C;
  C.StrictlySimple(true);
  C.AddPaths(ToClipper(Paths, Scale), ClipperLib::ptSubject, true);
  ClipperLib::Paths Simple;
  C.Execute(ClipperLib::ctUnion, Simple, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
  return Simple;
}

inline TClipperResult ClipperClip(TClipOperation Operation, const TPaths& Subject,
                                  const TPaths& Clip, long long Scale) {
  if (Operation == coExclusiveOr) {
    // Where shared edges meet crossings Clipper's exclusive-or loses pieces; its two differences,
    // which cannot overlap, do not.
    TClipperResult SubjectOnly = ClipperClip(coDifference, Subject, Clip, Scale);
    const TClipperResult ClipOnly = ClipperClip(coDifference, Clip, Subject, Scale);
    SubjectOnly.Area += ClipOnly.Area;
    SubjectOnly.Outlines += ClipOnly.Outlines;
    SubjectOnly.Holes += ClipOnly.Holes;
    return SubjectOnly;
  }
  ClipperLib::Clipper C;
  C.StrictlySimple(true);
  C.AddPaths(ClipperSimple(Subject, Scale), ClipperLib::ptSubject, true);
  C.AddPaths(ClipperSimple(Clip, Scale), ClipperLib::ptClip, true);
  ClipperLib::PolyTree Tree;
  C.Execute(ToClipper(Operation), Tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  TClipperResult Result;
  for (const ClipperLib::PolyNode* Node = Tree.GetFirst(); Node; Node = Node->GetNext()) {
    const double Area = std::fabs(ClipperLib::Area(Node->Contour)) / double(Scale) / double(Scale);
    Result.Area += Node->IsHole() ? -Area : Area;
    ++(Node->IsHole() ? Result.Holes : Result.Outlines);
  }
  return Result;
}

// Random shapes of a given kind.
class TShapeMaker {
public:
  explicit TShapeMaker(unsigned Seed) : FRandom(Seed) {}

  long long Int(long long Lo, long long Hi) {
    return std::uniform_int_distribution<long long>(Lo, Hi)(FRandom);
  }
  double Real(double Lo, double Hi) {
    return std::uniform_real_distribution<double>(Lo, Hi)(FRandom);
  }

  // A star around (Cx, Cy): vertices at increasing angles, radii between RMin and RMax. Equal
  // radii give a (nearly) convex polygon.
  TPath Star(long long Cx, long long Cy, double RMin, double RMax, int N, bool Clockwise = false) {
    std::vector<double> Angles;
    for (int I = 0; I < N; ++I)
      Angles.push_back(Real(0, 2 * M_PI));
    std::sort(Angles.begin(), Angles.end());
    TPath Path;
    for (double A : Angles) {
      const double R = Real(RMin, RMax);
      TPt Pt{Cx + std::llround(R * std::cos(A)), Cy + std::llround(R * std::sin(A))};
      if (Path.empty() || Pt.X != Path.back().X || Pt.Y != Path.back().Y)
        Path.push_back(Pt);
    }
    if (Clockwise)
      std::reverse(Path.begin(), Path.end());
    return Path;
  }

  // Vertices anywhere in the box: self-intersecting in general.
  TPath Scribble(long long Size, int N) {
    TPath Path;
    for (int I = 0; I < N; ++I)
      Path.push_back({Int(0, Size), Int(0, Size)});
    return Path;
  }

  // An axis-parallel rectangle on a coarse grid, so that edges are often shared or collinear and
  // corners touch.
  TPath GridRect(long long Cells, long long Step) {
    const long long X0 = Int(0, Cells - 1), Y0 = Int(0, Cells - 1);
    const long long X1 = Int(X0 + 1, Cells), Y1 = Int(Y0 + 1, Cells);
    return Rect(X0 * Step, Y0 * Step, X1 * Step, Y1 * Step);
  }

  static TPath Rect(long long X0, long long Y0, long long X1, long long Y1) {
    return {{X0, Y0}, {X1, Y0}, {X1, Y1}, {X0, Y1}};
  }

  std::mt19937& Random() { return FRandom; }

private:
  std::mt19937 FRandom;
};

} // namespace qbt::test
