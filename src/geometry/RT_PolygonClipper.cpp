// The clip sweeps a horizontal line upwards through the scanbeams between successive vertex
// heights. At every scanbeam boundary the edges met there are bundled, classified by what the
// operation makes of the four quadrants around them, and add to output chains; inside a scanbeam
// the crossings of edges are handled in order. A chain is an open piece of a result contour whose
// two ends ride on active edges: its start on an edge with the result to the right, its end on an
// edge with the result to the left, so that every finished contour keeps the result on its left.
#include "geometry/RT_PolygonClipper.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace qbt {

// The host's records: fields in this order, 32-bit counts and flags, 64-bit coordinates.
static_assert(sizeof(TClipVertex) == 16 && offsetof(TClipVertex, Y) == 8);
static_assert(sizeof(TClipVertexList::NumVertices) == 4 &&
              offsetof(TClipVertexList, NumVertices) == 0 &&
              offsetof(TClipVertexList, Vertex) == sizeof(void*));
static_assert(sizeof(TClipPolygon::NumContours) == 4 && offsetof(TClipPolygon, NumContours) == 0 &&
              offsetof(TClipPolygon, Hole) == sizeof(void*) &&
              offsetof(TClipPolygon, Contour) == 2 * sizeof(void*));
static_assert(sizeof(*TClipPolygon::Hole) == 4 && sizeof(TClipOperation) == 4);

// ---------------------------------------------------------------------------------------------
// TDoubleList

TDoubleList::~TDoubleList() {
  std::free(FItems);
}

void TDoubleList::Grow() {
  const int32_t Delta = FCapacity > 64 ? FCapacity / 4 : 16;
  auto* Items =
      static_cast<double*>(std::realloc(FItems, sizeof(double) * size_t(FCapacity + Delta)));
  if (!Items)
    throw std::bad_alloc();
  FItems = Items;
  FCapacity += Delta;
}

void TDoubleList::Add(double Value) {
  if (FCount == FCapacity)
    Grow();
  FItems[FCount++] = Value;
}

void TDoubleList::Clear() {
  std::free(FItems);
  FItems = nullptr;
  FCount = 0;
  FCapacity = 0;
}

void TDoubleList::SetCount(int32_t Count) {
  if (Count >= 0 && Count < FCount)
    FCount = Count;
}

namespace {

int CompareDouble(double A, double B) {
  return A < B ? -1 : (A > B ? 1 : 0);
}

void QuickSort(double* Items, int32_t L, int32_t R) {
  while (L < R) {
    int32_t I = L;
    int32_t J = R;
    const double Pivot = Items[L + (R - L) / 2];
    while (I <= J) {
      while (CompareDouble(Items[I], Pivot) < 0)
        ++I;
      while (CompareDouble(Items[J], Pivot) > 0)
        --J;
      if (I <= J) {
        std::swap(Items[I], Items[J]);
        ++I;
        --J;
      }
    }
    // Recurse into the smaller part so that the depth stays logarithmic.
    if (J - L < R - I) {
      QuickSort(Items, L, J);
      L = I;
    } else {
      QuickSort(Items, I, R);
      R = J;
    }
  }
}

} // namespace

void TDoubleList::Sort() {
  if (FCount > 1)
    QuickSort(FItems, 0, FCount - 1);
}

// ---------------------------------------------------------------------------------------------
// Polygon records

TClipPolygon* NewClipPolygon() {
  return new TClipPolygon{0, nullptr, nullptr};
}

void ClearClipPolygon(TClipPolygon* P) {
  if (!P)
    return;
  if (P->Contour) {
    for (int32_t I = 0; I < P->NumContours; ++I)
      delete[] P->Contour[I].Vertex;
  }
  delete[] P->Contour;
  delete[] P->Hole;
  P->Contour = nullptr;
  P->Hole = nullptr;
  P->NumContours = 0;
}

void FreeClipPolygon(TClipPolygon*& P) {
  if (!P)
    return;
  ClearClipPolygon(P);
  delete P;
  P = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The clip

namespace {

constexpr int psSubject = 0;
constexpr int psClip = 1;

[[noreturn]] void RaiseNoMemory(const char* Structure) {
  throw Exception(Structure);
}

template <class TVector, class TValue>
void Append(TVector& Vector, TValue&& Value, const char* Structure) {
  try {
    Vector.push_back(std::forward<TValue>(Value));
  } catch (const std::bad_alloc&) {
    RaiseNoMemory(Structure);
  }
}

template <class TVector>
void Resize(TVector& Vector, size_t Count, const char* Structure) {
  try {
    Vector.resize(Count);
  } catch (const std::bad_alloc&) {
    RaiseNoMemory(Structure);
  }
}

bool SameWithin(double A, double B) {
  return std::fabs(A - B) <= ClipEpsilon;
}

int32_t ContourCount(const TClipPolygon& P) {
  return P.Contour ? std::max(P.NumContours, 0) : 0;
}

int32_t VertexCount(const TClipVertexList& C) {
  return C.Vertex ? std::max(C.NumVertices, 0) : 0;
}

struct TBox {
  double XMin = 1.7e308, YMin = 1.7e308, XMax = -1.7e308, YMax = -1.7e308;
};

TBox BoxOf(const TClipVertexList& C) {
  TBox Box;
  for (int32_t I = 0, N = VertexCount(C); I < N; ++I) {
    const TClipVertex& V = C.Vertex[I];
    Box.XMin = std::min(Box.XMin, V.X);
    Box.XMax = std::max(Box.XMax, V.X);
    Box.YMin = std::min(Box.YMin, V.Y);
    Box.YMax = std::max(Box.YMax, V.Y);
  }
  return Box;
}

// Touching boxes overlap.
bool Overlap(const TBox& A, const TBox& B) {
  return !(A.XMax < B.XMin || A.XMin > B.XMax || A.YMax < B.YMin || A.YMin > B.YMax);
}

// One non-horizontal edge of a bound, from its lower vertex (Bot) to its upper one (Top).
struct TEdge {
  double BotX, BotY, TopX, TopY;
  double Dx;          // x per unit of y
  double Xb;          // x at the scanbeam's bottom
  double Xt;          // x at the scanbeam's top
  TEdge* Succ;        // next edge up the bound
  int32_t OutAbove;   // chain riding on this edge above the boundary, or -1
  int32_t OutBelow;   // chain riding on it below the boundary, or -1
  int32_t GroupStart; // first edge of its bundle in the active table
  int32_t Index;      // place in the active table
  int32_t Pos;        // place among the bundle heads while crossings are handled
  uint8_t Poly;       // psSubject or psClip
  bool Above[2];      // the bundle has an odd number of edges of each polygon above the boundary
  bool Below[2];      // the same below the boundary
  bool Side[2];       // each polygon's parity to the left of the bundle within the scanbeam
  bool Tail;          // bundled into the next edge of the active table
};

struct TBound {
  double Y;
  TEdge* First;
};

struct TCrossing {
  TEdge* Left; // left of Right at the scanbeam's bottom
  TEdge* Right;
  double X, Y;
};

struct TOutVertex {
  double X, Y;
  int32_t Next;
};

struct TOutChain {
  int32_t First, Last; // vertex pool indices of the start and the end
  int32_t Count;
  int32_t Parent; // the chain this one was joined into (itself while it stands alone)
  bool Closed;
  bool Hole;
};

// The output chains with their vertices in one pool.
class TOutput {
public:
  int32_t NewChain(double X, double Y) {
    const int32_t Vertex = NewVertex(X, Y);
    const auto Chain = int32_t(FChains.size());
    Append(FChains, TOutChain{Vertex, Vertex, 1, Chain, false, false}, "polygon node creation");
    return Chain;
  }

  int32_t Find(int32_t Chain) {
    while (FChains[Chain].Parent != Chain) {
      FChains[Chain].Parent = FChains[FChains[Chain].Parent].Parent;
      Chain = FChains[Chain].Parent;
    }
    return Chain;
  }

  void Add(int32_t Chain, bool AtStart, double X, double Y) {
    TOutChain& C = FChains[Find(Chain)];
    const int32_t Vertex = NewVertex(X, Y);
    if (AtStart) {
      FVertices[Vertex].Next = C.First;
      C.First = Vertex;
    } else {
      FVertices[C.Last].Next = Vertex;
      C.Last = Vertex;
    }
    ++C.Count;
  }

  // The end of EndChain meets the start of StartChain: one chain follows the other, or a chain
  // that meets itself is a finished contour.
  void Join(int32_t EndChain, int32_t StartChain, bool Hole) {
    EndChain = Find(EndChain);
    StartChain = Find(StartChain);
    TOutChain& E = FChains[EndChain];
    if (EndChain == StartChain) {
      E.Closed = true;
      E.Hole = Hole;
      return;
    }
    TOutChain& S = FChains[StartChain];
    FVertices[E.Last].Next = S.First;
    E.Last = S.Last;
    E.Count += S.Count;
    S.Parent = EndChain;
  }

  const std::vector<TOutChain>& Chains() const { return FChains; }
  const std::vector<TOutVertex>& Vertices() const { return FVertices; }

private:
  int32_t NewVertex(double X, double Y) {
    Append(FVertices, TOutVertex{X, Y, -1}, "polygon node creation");
    return int32_t(FVertices.size()) - 1;
  }

  std::vector<TOutVertex> FVertices;
  std::vector<TOutChain> FChains;
};

class TScanBeamClipper {
public:
  explicit TScanBeamClipper(TClipOperation Operation) {
    // Bit (S + 2 C) tells whether a point inside S (0/1) and C (0/1) is inside the result.
    switch (Operation) {
    case coDifference:
      FInsideTable = 0b0010;
      break;
    case coIntersection:
      FInsideTable = 0b1000;
      break;
    case coExclusiveOr:
      FInsideTable = 0b0110;
      break;
    case coUnion:
      FInsideTable = 0b1110;
      break;
    }
  }

  void AddPolygon(const TClipPolygon& P, const std::vector<char>& Contributing, uint8_t Poly);
  // False when nothing contributes.
  bool PrepareTables();
  void Sweep();
  void StoreResult(TClipPolygon& Result);

  void ReserveEdges(size_t Count) {
    try {
      FEdges.reserve(Count);
    } catch (const std::bad_alloc&) {
      RaiseNoMemory("edge table creation");
    }
  }

private:
  bool Inside(bool S, bool C) const { return (FInsideTable >> (int(S) | (int(C) << 1))) & 1; }
  void AddContour(const TClipVertexList& Contour, uint8_t Poly);
  TEdge* NewEdge(const TClipVertex& Bot, const TClipVertex& Top, uint8_t Poly);
  void InsertIntoActive(TEdge* Edge);
  void BundleActive(double Yb);
  void ClassifyAtBoundary(TEdge* Edge, double Yb);
  void FindCrossings(double Yb, double Dy);
  void HandleCrossings();
  void Cross(const TCrossing& Crossing);
  void AdvanceToNextBeam(double Yt);

  unsigned FInsideTable = 0;
  std::vector<TEdge> FEdges; // reserved up front: edges point at each other
  std::vector<TClipVertex> FOptimal;
  std::vector<TBound> FBounds;
  TDoubleList FScanbeams;
  int32_t FScanbeamCount = 0;

  std::vector<TEdge*> FActive;
  std::vector<TEdge*> FHeads;
  std::vector<TEdge*> FScratch;
  std::vector<TCrossing> FCrossings;
  TOutput FOutput;

  // Parities to the left of the current edge along the boundary, above and below it.
  bool FParityAbove[2] = {};
  bool FParityBelow[2] = {};
  // The chain waiting at the left end of a result edge that runs along the boundary.
  int32_t FPendingChain = -1;
  double FPendingX = 0;
};

TEdge* TScanBeamClipper::NewEdge(const TClipVertex& Bot, const TClipVertex& Top, uint8_t Poly) {
  // Edges point at each other: the table must never move.
  if (FEdges.size() == FEdges.capacity())
    RaiseNoMemory("edge table creation");
  FEdges.push_back(TEdge{});
  TEdge& E = FEdges.back();
  E.BotX = Bot.X;
  E.BotY = Bot.Y;
  E.TopX = Top.X;
  E.TopY = Top.Y;
  E.Dx = (Top.X - Bot.X) / (Top.Y - Bot.Y);
  E.Xb = Bot.X;
  E.Xt = Bot.X;
  E.Succ = nullptr;
  E.OutAbove = -1;
  E.OutBelow = -1;
  E.Poly = Poly;
  return &E;
}

void TScanBeamClipper::AddContour(const TClipVertexList& Contour, uint8_t Poly) {
  const int32_t N = VertexCount(Contour);
  const TClipVertex* V = Contour.Vertex;
  for (int32_t I = 0; I < N; ++I) {
    // A contour with a non-finite vertex has no shape to sweep.
    if (!std::isfinite(V[I].X) || !std::isfinite(V[I].Y))
      return;
  }
  // Vertices inside a horizontal run add nothing: the sweep never follows horizontal edges.
  FOptimal.clear();
  for (int32_t I = 0; I < N; ++I) {
    const double Y = V[I].Y;
    if (V[(I + N - 1) % N].Y != Y || V[(I + 1) % N].Y != Y)
      Append(FOptimal, V[I], "edge table creation");
  }
  const auto M = int32_t(FOptimal.size());
  if (M == 0)
    return;
  try {
    for (const TClipVertex& O : FOptimal)
      FScanbeams.Add(O.Y);
  } catch (const std::bad_alloc&) {
    RaiseNoMemory("sbt creation");
  }

  const auto Next = [M](int32_t I) { return I + 1 == M ? 0 : I + 1; };
  const auto Prev = [M](int32_t I) { return I == 0 ? M - 1 : I - 1; };
  const auto& O = FOptimal;
  for (int32_t I = 0; I < M; ++I) {
    const double Y = O[I].Y;
    // The bound that follows the vertex order up from a minimum.
    if (O[Prev(I)].Y >= Y && O[Next(I)].Y > Y) {
      TEdge* First = nullptr;
      TEdge* Last = nullptr;
      int32_t J = I;
      do {
        TEdge* E = NewEdge(O[J], O[Next(J)], Poly);
        (Last ? Last->Succ : First) = E;
        Last = E;
        J = Next(J);
      } while (O[Next(J)].Y > O[J].Y);
      Append(FBounds, TBound{Y, First}, "LMT insertion");
    }
    // The bound that runs against the vertex order.
    if (O[Prev(I)].Y > Y && O[Next(I)].Y >= Y) {
      TEdge* First = nullptr;
      TEdge* Last = nullptr;
      int32_t J = I;
      do {
        TEdge* E = NewEdge(O[J], O[Prev(J)], Poly);
        (Last ? Last->Succ : First) = E;
        Last = E;
        J = Prev(J);
      } while (O[Prev(J)].Y > O[J].Y);
      Append(FBounds, TBound{Y, First}, "LMT insertion");
    }
  }
}

void TScanBeamClipper::AddPolygon(const TClipPolygon& P, const std::vector<char>& Contributing,
                                  uint8_t Poly) {
  for (int32_t I = 0, N = ContourCount(P); I < N; ++I) {
    if (Contributing[size_t(I)])
      AddContour(P.Contour[I], Poly);
  }
}

bool TScanBeamClipper::PrepareTables() {
  if (FBounds.empty())
    return false;
  std::stable_sort(FBounds.begin(), FBounds.end(), [](const TBound& A, const TBound& B) {
    if (A.Y != B.Y)
      return A.Y < B.Y;
    if (A.First->Xb != B.First->Xb)
      return A.First->Xb < B.First->Xb;
    return A.First->Dx < B.First->Dx;
  });
  FScanbeams.Sort();
  double* Ys = FScanbeams.Data();
  int32_t Count = 0;
  for (int32_t I = 0; I < FScanbeams.Count(); ++I) {
    if (Count == 0 || Ys[I] != Ys[Count - 1])
      Ys[Count++] = Ys[I];
  }
  FScanbeams.SetCount(Count);
  FScanbeamCount = Count;
  return true;
}

void TScanBeamClipper::InsertIntoActive(TEdge* Edge) {
  // After the edges at the same x, those of a smaller slope first: the order just above.
  const auto At =
      std::upper_bound(FActive.begin(), FActive.end(), Edge, [](const TEdge* A, const TEdge* B) {
        return A->Xb < B->Xb || (A->Xb == B->Xb && A->Dx < B->Dx);
      });
  try {
    FActive.insert(At, Edge);
  } catch (const std::bad_alloc&) {
    RaiseNoMemory("LMT insertion");
  }
}

// Coincident edges that go on above the boundary act as one: the last of them (the head) carries
// the parity of the whole bundle, the others (tails) carry none.
void TScanBeamClipper::BundleActive(double Yb) {
  TEdge* LastGoingOn = nullptr;
  for (TEdge* E : FActive) {
    E->Tail = false;
    const bool GoesOn = E->TopY != Yb;
    E->Above[E->Poly] = GoesOn;
    E->Above[E->Poly ^ 1] = false;
    if (!GoesOn)
      continue;
    if (LastGoingOn && SameWithin(LastGoingOn->Xb, E->Xb) && SameWithin(LastGoingOn->Dx, E->Dx)) {
      E->Above[E->Poly] ^= LastGoingOn->Above[E->Poly];
      E->Above[E->Poly ^ 1] = LastGoingOn->Above[E->Poly ^ 1];
      LastGoingOn->Above[0] = false;
      LastGoingOn->Above[1] = false;
      LastGoingOn->Tail = true;
    }
    LastGoingOn = E;
  }
}

// What the boundary point of one bundle contributes, from the result's inside status in the four
// quadrants around it: above or below the boundary, left or right of the edge.
void TScanBeamClipper::ClassifyAtBoundary(TEdge* E, double Yb) {
  E->Side[0] = FParityAbove[0];
  E->Side[1] = FParityAbove[1];
  E->OutAbove = -1;
  const bool A0 = E->Above[0], A1 = E->Above[1], B0 = E->Below[0], B1 = E->Below[1];
  if (!(A0 || A1 || B0 || B1))
    return;
  const bool UpperLeft = Inside(FParityAbove[0], FParityAbove[1]);
  const bool LowerLeft = Inside(FParityBelow[0], FParityBelow[1]);
  FParityAbove[0] ^= A0;
  FParityAbove[1] ^= A1;
  FParityBelow[0] ^= B0;
  FParityBelow[1] ^= B1;
  const bool UpperRight = Inside(FParityAbove[0], FParityAbove[1]);
  const bool LowerRight = Inside(FParityBelow[0], FParityBelow[1]);

  // The result's boundary leaves the point upwards along the edge, downwards along it, and
  // leftwards or rightwards along the boundary line.
  const bool Up = UpperLeft != UpperRight;
  const bool Down = LowerLeft != LowerRight;
  const bool Left = UpperLeft != LowerLeft;
  const bool Right = UpperRight != LowerRight;
  if (!(Up || Down))
    return; // nothing, or a result edge running through along the boundary
  const double X = E->Xb;
  const int32_t Below = E->OutBelow;

  // The chain from below arrives and turns right: it waits for the next point.
  const auto DownRight = [&] {
    if (Below < 0)
      return;
    FOutput.Add(Below, LowerRight, X, Yb);
    FPendingChain = Below;
    FPendingX = X;
  };
  // The chain from below arrives and meets the waiting one.
  const auto DownLeft = [&] {
    if (Below < 0 || FPendingChain < 0)
      return;
    if (X != FPendingX)
      FOutput.Add(Below, LowerRight, X, Yb);
    if (LowerRight)
      FOutput.Join(FPendingChain, Below, !LowerLeft);
    else
      FOutput.Join(Below, FPendingChain, !LowerLeft);
    FPendingChain = -1;
  };
  // A new chain starts here, going up the edge and right along the boundary.
  const auto UpRight = [&] {
    E->OutAbove = FOutput.NewChain(X, Yb);
    FPendingChain = E->OutAbove;
    FPendingX = X;
  };
  // The waiting chain comes here and goes up the edge.
  const auto UpLeft = [&] {
    if (FPendingChain < 0)
      return;
    if (X != FPendingX)
      FOutput.Add(FPendingChain, UpperRight, X, Yb);
    E->OutAbove = FPendingChain;
    FPendingChain = -1;
  };

  if (Up && Down) {
    if (!Left && !Right) {
      // Passing through; a vertex only where the input has one.
      E->OutAbove = Below;
      if (Below >= 0 && E->BotY == Yb)
        FOutput.Add(Below, LowerRight, X, Yb);
    } else if (UpperLeft) {
      // Two result regions touch here, upper left and lower right.
      UpLeft();
      DownRight();
    } else {
      DownLeft();
      UpRight();
    }
  } else if (Down) {
    if (Right)
      DownRight();
    else
      DownLeft();
  } else {
    if (Right)
      UpRight();
    else
      UpLeft();
  }
}

// Where two edges that swap places within the scanbeam from Yb to Yt cross, from their vertices
// rather than from their rounded x at the scanbeam's ends.
std::pair<double, double> CrossingPoint(const TEdge& L, const TEdge& R, double Yb, double Yt) {
  const double LDx = L.TopX - L.BotX, LDy = L.TopY - L.BotY;
  const double RDx = R.TopX - R.BotX, RDy = R.TopY - R.BotY;
  const double Den = LDx * RDy - LDy * RDx;
  double Y = Yb;
  if (Den != 0) {
    const double T = ((R.BotX - L.BotX) * RDy - (R.BotY - L.BotY) * RDx) / Den;
    Y = L.BotY + T * LDy;
  }
  if (!(Y >= Yb))
    Y = Yb;
  if (Y > Yt)
    Y = Yt;
  // The x of the steeper edge varies least with an error in y.
  const TEdge& Steeper = std::fabs(L.Dx) < std::fabs(R.Dx) ? L : R;
  return {Steeper.BotX + Steeper.Dx * (Y - Steeper.BotY), Y};
}

// The crossings of the bundle heads within the scanbeam: the inversions between their order at
// the bottom and their order by x at the top.
void TScanBeamClipper::FindCrossings(double Yb, double Dy) {
  FCrossings.clear();
  FScratch.assign(FHeads.begin(), FHeads.end());
  for (size_t I = 1; I < FScratch.size(); ++I) {
    TEdge* E = FScratch[I];
    size_t J = I;
    while (J > 0 && FScratch[J - 1]->Xt > E->Xt) {
      TEdge* L = FScratch[J - 1];
      const auto [X, Y] = CrossingPoint(*L, *E, Yb, Yb + Dy);
      Append(FCrossings, TCrossing{L, E, X, Y}, "IT insertion");
      FScratch[J] = L;
      --J;
    }
    FScratch[J] = E;
  }
}

void TScanBeamClipper::HandleCrossings() {
  std::stable_sort(FCrossings.begin(), FCrossings.end(),
                   [](const TCrossing& A, const TCrossing& B) { return A.Y < B.Y; });
  const auto Adjacent = [](const TCrossing& C) { return C.Left->Pos + 1 == C.Right->Pos; };
  for (size_t I = 0; I < FCrossings.size(); ++I) {
    // Rounding can order two crossings of nearly the same height against the edge order: take
    // the next one whose edges are neighbours now.
    if (!Adjacent(FCrossings[I])) {
      for (size_t J = I + 1; J < FCrossings.size(); ++J) {
        if (Adjacent(FCrossings[J])) {
          std::swap(FCrossings[I], FCrossings[J]);
          break;
        }
      }
    }
    Cross(FCrossings[I]);
  }
}

void TScanBeamClipper::Cross(const TCrossing& Crossing) {
  TEdge* A = Crossing.Left;
  TEdge* B = Crossing.Right;
  const bool AS = A->Above[psSubject], AC = A->Above[psClip];
  const bool BS = B->Above[psSubject], BC = B->Above[psClip];
  if ((AS || AC) && (BS || BC)) {
    const bool PS = A->Side[psSubject], PC = A->Side[psClip];
    // The four sectors around the crossing.
    const bool L = Inside(PS, PC);
    const bool Bottom = Inside(PS ^ AS, PC ^ AC);
    const bool Top = Inside(PS ^ BS, PC ^ BC);
    const bool R = Inside(PS ^ AS ^ BS, PC ^ AC ^ BC);
    // Which of the four half-edges from the crossing lie on the result's boundary.
    const bool ALow = L != Bottom, BLow = Bottom != R;
    const bool BUp = L != Top, AUp = Top != R;
    const int32_t CA = A->OutAbove, CB = B->OutAbove;
    const double X = Crossing.X, Y = Crossing.Y;

    const auto Maximum = [&] {
      if (CA < 0 || CB < 0)
        return;
      if (Bottom) {
        FOutput.Add(CB, false, X, Y);
        FOutput.Join(CB, CA, false);
      } else {
        FOutput.Add(CA, false, X, Y);
        FOutput.Join(CA, CB, true);
      }
      A->OutAbove = -1;
      B->OutAbove = -1;
    };
    const auto Minimum = [&] {
      const int32_t Chain = FOutput.NewChain(X, Y);
      A->OutAbove = Chain;
      B->OutAbove = Chain;
    };

    if (ALow && BLow && AUp && BUp) {
      if (L) {
        // Left and right sectors touch: each chain turns onto the other edge.
        if (CA >= 0)
          FOutput.Add(CA, false, X, Y);
        if (CB >= 0)
          FOutput.Add(CB, true, X, Y);
        A->OutAbove = CB;
        B->OutAbove = CA;
      } else {
        Maximum();
        Minimum();
      }
    } else if (ALow && BLow) {
      Maximum();
    } else if (AUp && BUp) {
      Minimum();
    } else if (ALow && BUp) {
      if (CA >= 0)
        FOutput.Add(CA, Bottom, X, Y);
      B->OutAbove = CA;
      A->OutAbove = -1;
    } else if (BLow && AUp) {
      if (CB >= 0)
        FOutput.Add(CB, R, X, Y);
      A->OutAbove = CB;
      B->OutAbove = -1;
    }
  }
  // Each now has the other's polygon on its other side.
  B->Side[psSubject] ^= AS;
  B->Side[psClip] ^= AC;
  A->Side[psSubject] ^= BS;
  A->Side[psClip] ^= BC;
  std::swap(FHeads[size_t(A->Pos)], FHeads[size_t(B->Pos)]);
  std::swap(A->Pos, B->Pos);
}

void TScanBeamClipper::AdvanceToNextBeam(double Yt) {
  for (TEdge*& E : FActive) {
    if (E->TopY == Yt && E->Succ) {
      TEdge* S = E->Succ;
      S->OutBelow = E->OutAbove;
      S->Below[0] = E->Above[0];
      S->Below[1] = E->Above[1];
      S->OutAbove = -1;
      E = S;
    } else {
      E->OutBelow = E->OutAbove;
      E->Below[0] = E->Above[0];
      E->Below[1] = E->Above[1];
      E->Xb = E->Xt;
      E->OutAbove = -1;
    }
  }
}

void TScanBeamClipper::Sweep() {
  const double* Ys = FScanbeams.Data();
  size_t NextBound = 0;
  try {
    FActive.reserve(64);
  } catch (const std::bad_alloc&) {
    RaiseNoMemory("LMT insertion");
  }
  for (int32_t Beam = 0; Beam < FScanbeamCount; ++Beam) {
    const double Yb = Ys[Beam];
    const bool HasTop = Beam + 1 < FScanbeamCount;
    const double Yt = HasTop ? Ys[Beam + 1] : Yb;

    while (NextBound < FBounds.size() && FBounds[NextBound].Y <= Yb) {
      TEdge* E = FBounds[NextBound++].First;
      E->Below[0] = E->Below[1] = false;
      InsertIntoActive(E);
    }

    // Heads and the scratch order never outnumber the active edges: reserve once, not per push.
    if (FHeads.capacity() < FActive.size() || FScratch.capacity() < FActive.size()) {
      try {
        FHeads.reserve(FActive.capacity());
        FScratch.reserve(FActive.capacity());
      } catch (const std::bad_alloc&) {
        RaiseNoMemory("IT insertion");
      }
    }
    BundleActive(Yb);

    // Classify every edge at the boundary, then drop those that end here and note the bundles.
    FParityAbove[0] = FParityAbove[1] = false;
    FParityBelow[0] = FParityBelow[1] = false;
    FPendingChain = -1;
    FHeads.clear();
    size_t Kept = 0;
    int32_t GroupStart = -1;
    for (TEdge* E : FActive) {
      ClassifyAtBoundary(E, Yb);
      if (E->TopY == Yb)
        continue;
      const auto Index = int32_t(Kept);
      FActive[Kept++] = E;
      E->Index = Index;
      E->Xt = E->TopY == Yt ? E->TopX : E->BotX + E->Dx * (Yt - E->BotY);
      if (GroupStart < 0)
        GroupStart = Index;
      if (E->Tail)
        continue;
      E->GroupStart = GroupStart;
      GroupStart = -1;
      E->Pos = int32_t(FHeads.size());
      FHeads.push_back(E); // within the capacity reserved above
    }
    FActive.resize(Kept);
    if (!HasTop)
      break;

    FindCrossings(Yb, Yt - Yb);
    if (!FCrossings.empty()) {
      HandleCrossings();
      // The active table takes the bundles' new order.
      FScratch.clear();
      for (TEdge* Head : FHeads) {
        for (int32_t I = Head->GroupStart; I <= Head->Index; ++I)
          FScratch.push_back(FActive[size_t(I)]);
      }
      FActive.swap(FScratch);
    }
    AdvanceToNextBeam(Yt);
  }
}

void TScanBeamClipper::StoreResult(TClipPolygon& Result) {
  // Each finished chain's vertices, without repeats of the same point in a row: a contour that
  // shrinks below 3 vertices that way has no area to bound.
  const auto& Chains = FOutput.Chains();
  const auto& Vertices = FOutput.Vertices();
  std::vector<TClipVertex> Points;
  std::vector<std::pair<size_t, size_t>> Ranges; // into Points
  std::vector<char> Holes;
  for (size_t I = 0; I < Chains.size(); ++I) {
    const TOutChain& C = Chains[I];
    if (C.Parent != int32_t(I) || !C.Closed || C.Count < 3)
      continue;
    const size_t First = Points.size();
    int32_t Left = C.Count;
    for (int32_t V = C.First; V >= 0 && Left > 0; V = Vertices[size_t(V)].Next, --Left) {
      const TOutVertex& P = Vertices[size_t(V)];
      if (Points.size() > First && Points.back().X == P.X && Points.back().Y == P.Y)
        continue;
      Append(Points, TClipVertex{P.X, P.Y}, "vertex creation");
    }
    while (Points.size() > First + 1 && Points.back().X == Points[First].X &&
           Points.back().Y == Points[First].Y)
      Points.pop_back();
    if (Points.size() - First < 3) {
      Points.resize(First);
      continue;
    }
    Append(Ranges, std::pair{First, Points.size()}, "contour creation");
    Append(Holes, char(C.Hole), "hole flag table creation");
  }
  ClearClipPolygon(&Result);
  const auto Count = Ranges.size();
  if (Count == 0)
    return;

  auto* Hole = new (std::nothrow) int32_t[Count];
  if (!Hole)
    RaiseNoMemory("hole flag table creation");
  auto* Contour = new (std::nothrow) TClipVertexList[Count]();
  if (!Contour) {
    delete[] Hole;
    RaiseNoMemory("contour creation");
  }
  for (size_t I = 0; I < Count; ++I) {
    const auto [First, Last] = Ranges[I];
    auto* Vertex = new (std::nothrow) TClipVertex[Last - First];
    if (!Vertex) {
      for (size_t J = 0; J < I; ++J)
        delete[] Contour[J].Vertex;
      delete[] Contour;
      delete[] Hole;
      RaiseNoMemory("vertex creation");
    }
    std::copy(Points.begin() + std::ptrdiff_t(First), Points.begin() + std::ptrdiff_t(Last),
              Vertex);
    Hole[I] = Holes[I] ? 1 : 0;
    Contour[I] = TClipVertexList{int32_t(Last - First), Vertex};
  }
  Result.NumContours = int32_t(Count);
  Result.Hole = Hole;
  Result.Contour = Contour;
}

} // namespace

void PolygonClip(TClipOperation Operation, TClipPolygon* Subject, TClipPolygon* Clip,
                 TClipPolygon* Result) {
  if (!Result)
    return;
  static const TClipPolygon Empty{0, nullptr, nullptr};
  const TClipPolygon& S = Subject ? *Subject : Empty;
  const TClipPolygon& C = Clip ? *Clip : Empty;
  const int32_t SubjectContours = ContourCount(S);
  const int32_t ClipContours = ContourCount(C);
  const bool Narrowing = Operation == coDifference || Operation == coIntersection;
  if ((SubjectContours == 0 && (ClipContours == 0 || Narrowing)) ||
      (ClipContours == 0 && Operation == coIntersection)) {
    ClearClipPolygon(Result);
    return;
  }

  std::vector<char> SubjectOn;
  std::vector<char> ClipOn;
  Resize(SubjectOn, size_t(SubjectContours), "contributing Subject Contours table creation");
  Resize(ClipOn, size_t(ClipContours), "contributing Clip Contours table creation");
  std::fill(SubjectOn.begin(), SubjectOn.end(), 1);
  std::fill(ClipOn.begin(), ClipOn.end(), 1);

  // Contours that cannot meet the other polygon leave a difference or intersection unchanged.
  if (Narrowing && SubjectContours > 0 && ClipContours > 0) {
    std::vector<TBox> SubjectBoxes;
    std::vector<TBox> ClipBoxes;
    Resize(SubjectBoxes, size_t(SubjectContours), "Bounding box creation");
    Resize(ClipBoxes, size_t(ClipContours), "Bounding box creation");
    for (int32_t I = 0; I < SubjectContours; ++I)
      SubjectBoxes[size_t(I)] = BoxOf(S.Contour[I]);
    for (int32_t I = 0; I < ClipContours; ++I)
      ClipBoxes[size_t(I)] = BoxOf(C.Contour[I]);
    std::vector<char> SubjectMeetsClip;
    Resize(SubjectMeetsClip, size_t(SubjectContours), "overlap table creation");
    for (int32_t J = 0; J < ClipContours; ++J) {
      bool Meets = false;
      for (int32_t I = 0; I < SubjectContours; ++I) {
        if (Overlap(SubjectBoxes[size_t(I)], ClipBoxes[size_t(J)])) {
          Meets = true;
          SubjectMeetsClip[size_t(I)] = 1;
        }
      }
      ClipOn[size_t(J)] = Meets;
    }
    if (Operation == coIntersection)
      SubjectOn = std::move(SubjectMeetsClip);
  }

  TScanBeamClipper Clipper(Operation);
  size_t EdgeCount = 0;
  for (int32_t I = 0; I < SubjectContours; ++I)
    EdgeCount += SubjectOn[size_t(I)] ? size_t(VertexCount(S.Contour[I])) : 0;
  for (int32_t I = 0; I < ClipContours; ++I)
    EdgeCount += ClipOn[size_t(I)] ? size_t(VertexCount(C.Contour[I])) : 0;
  Clipper.ReserveEdges(EdgeCount);
  Clipper.AddPolygon(S, SubjectOn, psSubject);
  Clipper.AddPolygon(C, ClipOn, psClip);
  if (!Clipper.PrepareTables()) {
    ClearClipPolygon(Result);
    return;
  }
  // The tables hold all of the inputs' data now, so a Result that is an input can be emptied.
  if (Result == Subject || Result == Clip)
    ClearClipPolygon(Result);
  Clipper.Sweep();
  Clipper.StoreResult(*Result);
}

} // namespace qbt
