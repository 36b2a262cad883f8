// Outline extraction. Growing chains and removing duplicate loops give the results of their
// plain forms (a pool scanned from its end after every join; every run of a loop extracted and
// compared) without their cost: joinable pieces are found through their end points, and runs are
// compared vertex by vertex as they are walked, without building them.
#include "geometry/qbtIDFPolygonsOutline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Collecting the pieces

void CollectTracksAndArcs(TQBTPolygons& Pieces, IQBTPCBObjectList& Objects, uint8_t Layer,
                          uint32_t Component) {
  TQBTPCBObjectRec Key;
  Key.Layer = Layer;
  Key.IsKeepOut = false;
  Key.Component = Component;
  for (TQBTPCBObjectKind Kind : {okArc, okTrack}) {
    Key.Kind = Kind;
    TQBTRef<IQBTPCBObjectList> Found =
        Objects.Filter(Key, {pfLayer, pfIsKeepOut, pfKind, pfComponent});
    const int32_t Count = Found->GetCount();
    for (int32_t I = 0; I < Count; ++I) {
      TQBTRef<IQBTPCBObject> Piece = Found->GetItem(I);
      const long double Angle = Piece->GetAngle();
      // A full circle has no ends to chain.
      if (IsSameValue(std::fabs(Angle), 360)) {
        continue;
      }
      const TQBTPointRec Start = Piece->GetStartPoint();
      const TQBTPointRec End = Piece->GetEndPoint();
      TQBTPolygon* Polygon = Pieces.AddPolygon();
      Polygon->AddPoint(Start.X, Start.Y, 0);
      Polygon->AddPoint(End.X, End.Y, Angle);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Chains as plain vertex values
//
// Growing a chain joins and compares it many times; on plain values, without a collection item
// per vertex, the same steps cost a fraction.

namespace {

struct TVertex {
  long double X = 0;
  long double Y = 0;
  long double Angle = 0;
  TQBTPolygonConnectionKind ConnectionKind = ckNormal;
};

bool SamePosition(const TVertex& A, const TVertex& B) {
  return A.X == B.X && A.Y == B.Y;
}

// One of 256 buckets per position; equal positions share a bucket.
unsigned PositionBucket(const TVertex& V) {
  // Through double, and with -0 made 0, so that values equal as long doubles hash alike.
  const double X = static_cast<double>(V.X) + 0.0;
  const double Y = static_cast<double>(V.Y) + 0.0;
  uint64_t BX = 0;
  uint64_t BY = 0;
  std::memcpy(&BX, &X, sizeof BX);
  std::memcpy(&BY, &Y, sizeof BY);
  return static_cast<unsigned>((BX * 0x9E3779B97F4A7C15ull ^ BY * 0xC2B2AE3D27D4EB4Full) >> 56);
}

// A chain that grows at both ends without moving its vertices: room is kept on both sides. It
// remembers which position buckets it holds, and which it may hold twice, so that most
// searches for a vertex end without a scan.
class TChain {
public:
  // The vertices of Polygon with Room on either side; the storage is reused.
  void Assign(const TQBTPolygon& Polygon, size_t Room) {
    const size_t Needed = static_cast<size_t>(Polygon.Count()) + 2 * Room;
    if (FData.size() < Needed) {
      FData.resize(Needed);
    }
    FBegin = FEnd = Room;
    FSeen = {};
    FTwice = {};
    for (int I = 0; I < Polygon.Count(); ++I) {
      const TQBTPolygonPoint& V = *Polygon.Points(I);
      push_back(TVertex{V.X, V.Y, V.Angle, V.ConnectionKind});
    }
  }

  void Assign(const std::vector<TVertex>& Vertices, size_t Room) {
    const size_t Needed = Vertices.size() + 2 * Room;
    if (FData.size() < Needed) {
      FData.resize(Needed);
    }
    FBegin = FEnd = Room;
    FSeen = {};
    FTwice = {};
    for (const TVertex& V : Vertices) {
      push_back(V);
    }
  }
  std::vector<TVertex> Vertices() const {
    return std::vector<TVertex>(FData.begin() + static_cast<ptrdiff_t>(FBegin),
                                FData.begin() + static_cast<ptrdiff_t>(FEnd));
  }

  size_t size() const { return FEnd - FBegin; }
  bool empty() const { return FEnd == FBegin; }
  const TVertex& operator[](size_t I) const { return FData[FBegin + I]; }
  const TVertex& front() const { return FData[FBegin]; }
  const TVertex& back() const { return FData[FEnd - 1]; }
  void push_back(const TVertex& V) {
    Mark(V);
    FData[FEnd++] = V;
  }
  void push_front(const TVertex& V) {
    Mark(V);
    FData[--FBegin] = V;
  }
  // V stands where the first vertex stood.
  void replace_front(const TVertex& V) { FData[FBegin] = V; }

  // The lowest index of a vertex at V's position, or -1.
  int LowestIndexOf(const TVertex& V) const {
    const unsigned B = PositionBucket(V);
    if (!Has(FSeen, B)) {
      return -1;
    }
    if (SamePosition(front(), V)) {
      return 0;
    }
    if (!Has(FTwice, B) && SamePosition(back(), V)) {
      return static_cast<int>(size()) - 1;
    }
    for (size_t I = 0; I < size(); ++I) {
      if (SamePosition((*this)[I], V)) {
        return static_cast<int>(I);
      }
    }
    return -1;
  }

private:
  using TBuckets = std::array<uint64_t, 4>;
  static bool Has(const TBuckets& Set, unsigned B) { return (Set[B >> 6] >> (B & 63) & 1) != 0; }
  void Mark(const TVertex& V) {
    const unsigned B = PositionBucket(V);
    if (Has(FSeen, B)) {
      FTwice[B >> 6] |= uint64_t{1} << (B & 63);
    }
    FSeen[B >> 6] |= uint64_t{1} << (B & 63);
  }

  std::vector<TVertex> FData;
  size_t FBegin = 0;
  size_t FEnd = 0;
  TBuckets FSeen{};
  TBuckets FTwice{};
};

std::vector<TVertex> VerticesOf(const TQBTPolygon& Polygon) {
  std::vector<TVertex> Vertices;
  Vertices.reserve(static_cast<size_t>(Polygon.Count()));
  for (int I = 0; I < Polygon.Count(); ++I) {
    const TQBTPolygonPoint& V = *Polygon.Points(I);
    Vertices.push_back(TVertex{V.X, V.Y, V.Angle, V.ConnectionKind});
  }
  return Vertices;
}

long double Negated(long double Value) {
  return Value == 0 ? 0 : -Value;
}

void StoreChain(const TChain& Chain, TQBTPolygon& Polygon) {
  Polygon.Clear();
  Polygon.Reserve(static_cast<int>(Chain.size()));
  for (size_t I = 0; I < Chain.size(); ++I) {
    const TVertex& V = Chain[I];
    Polygon.AddPoint(V.X, V.Y, V.Angle)->ConnectionKind = V.ConnectionKind;
  }
}

template <class TVertices>
bool IsClosedChain(const TVertices& C) {
  return C.size() > 1 && SamePosition(C.front(), C.back());
}

// Whether the run of Target.size() vertices that ExtractChain takes from Source at Start, in
// the given direction, is exactly Target (positions and angles); walked without being built.
template <class TSource, class TTarget>
bool RunIsSameAs(const TSource& Source, bool SourceClosed, int Start, bool Forward,
                 const TTarget& Target) {
  const int Count = static_cast<int>(Target.size());
  const int SourceCount = static_cast<int>(Source.size());
  const TVertex& Head = Source[static_cast<size_t>(Start)];
  if (Count < 1 || Target[0].X != Head.X || Target[0].Y != Head.Y || Target[0].Angle != 0) {
    return false;
  }
  const TVertex* Last = &Head;
  long double Carried = Head.Angle;
  int Taken = 1;
  int Cursor = Start;
  bool SteppedOver = false;
  while (Taken < Count) {
    if (Taken > 1 && SamePosition(Head, *Last)) {
      break;
    }
    if (Forward) {
      Cursor = Cursor + 1 < SourceCount ? Cursor + 1 : (SourceClosed ? 0 : -1);
    } else {
      Cursor = Cursor > 0 ? Cursor - 1 : (SourceClosed ? SourceCount - 1 : -1);
    }
    if (Cursor < 0) {
      break;
    }
    const TVertex& Vertex = Source[static_cast<size_t>(Cursor)];
    if (SamePosition(Vertex, *Last)) {
      // The repeated closing vertex of a closed source; a second repeat ends the run.
      if (SteppedOver) {
        break;
      }
      SteppedOver = true;
      if (!Forward) {
        Carried = Vertex.Angle;
      }
      continue;
    }
    long double Angle = Vertex.Angle;
    if (!Forward) {
      Angle = Negated(Carried);
      Carried = Vertex.Angle;
    }
    const TVertex& Expected = Target[static_cast<size_t>(Taken)];
    if (Expected.X != Vertex.X || Expected.Y != Vertex.Y || Expected.Angle != Angle) {
      return false;
    }
    Last = &Vertex;
    ++Taken;
  }
  return Taken == Count;
}

// B.ContainsChain(A).
int LowestIndexOf(const std::vector<TVertex>& B, const TVertex& V) {
  for (size_t I = 0; I < B.size(); ++I) {
    if (SamePosition(B[I], V)) {
      return static_cast<int>(I);
    }
  }
  return -1;
}
int LowestIndexOf(const TChain& B, const TVertex& V) {
  return B.LowestIndexOf(V);
}

// B.ContainsChain(A): the runs of A's length from the first vertex of B at A's start.
template <class TB, class TA>
bool ContainsChain(const TB& B, const TA& A) {
  if (A.empty()) {
    return false;
  }
  const int Start = LowestIndexOf(B, A[0]);
  if (Start < 0) {
    return false;
  }
  const bool Closed = IsClosedChain(B);
  return RunIsSameAs(B, Closed, Start, true, A) || RunIsSameAs(B, Closed, Start, false, A);
}

// P.GetJoinKind(Q).
template <class TP, class TQ>
TQBTJoinKind JoinKind(const TP& P, const TQ& Q) {
  if (P.empty() || Q.empty()) {
    return jkNone;
  }
  if (IsClosedChain(P) || IsClosedChain(Q) || ContainsChain(P, Q) || ContainsChain(Q, P)) {
    return jkNone;
  }
  if (SamePosition(P.back(), Q.front())) {
    return jkAppend;
  }
  if (SamePosition(P.front(), Q.back())) {
    return jkPrepend;
  }
  if (SamePosition(P.front(), Q.front())) {
    return jkPrependReversed;
  }
  if (SamePosition(P.back(), Q.back())) {
    return jkAppendReversed;
  }
  return jkNone;
}

// P.Join(Q).
template <class TQ>
bool JoinChain(TChain& P, const TQ& Q) {
  const TQBTJoinKind Kind = JoinKind(P, Q);
  if (Kind == jkNone) {
    return false;
  }
  const size_t M = Q.size() - 1;
  const bool Reversed = Kind == jkPrependReversed || Kind == jkAppendReversed;
  // Reversed, each arc's negated angle moves to the vertex that ends it in the new direction.
  auto Joined = [&](size_t K) {
    if (!Reversed) {
      return Q[K];
    }
    TVertex V = Q[M - K];
    V.Angle = K == 0 ? 0 : Negated(Q[M - K + 1].Angle);
    return V;
  };
  if (Kind == jkAppend || Kind == jkAppendReversed) {
    // The first joined vertex repeats the old last one, which keeps its own angle.
    for (size_t K = 1; K <= M; ++K) {
      P.push_back(Joined(K));
    }
  } else {
    // The old first vertex repeats the last joined one, which stays.
    P.replace_front(Joined(M));
    for (size_t K = M; K-- > 0;) {
      P.push_front(Joined(K));
    }
  }
  return true;
}

struct TPieceEnd {
  long double X;
  long double Y;
  int Piece;
};

bool EndBefore(const TPieceEnd& A, const TPieceEnd& B) {
  if (A.X != B.X) {
    return A.X < B.X;
  }
  return A.Y < B.Y;
}

// The pieces by their end points, so that the pieces meeting a chain's end are found at once.
class TPieceEnds {
public:
  explicit TPieceEnds(const std::vector<std::vector<TVertex>>& Pieces) {
    for (size_t I = 0; I < Pieces.size(); ++I) {
      if (!Pieces[I].empty()) {
        Add(Pieces[I].front(), static_cast<int>(I));
        Add(Pieces[I].back(), static_cast<int>(I));
      }
    }
    std::sort(FEnds.begin(), FEnds.end(), [](const TPieceEnd& A, const TPieceEnd& B) {
      return EndBefore(A, B) || (!EndBefore(B, A) && A.Piece < B.Piece);
    });
  }

  // Appends the pieces that have an end exactly at V.
  void PiecesAt(const TVertex& V, std::vector<int>& Found) const {
    const TPieceEnd Key{V.X, V.Y, 0};
    auto Range = std::equal_range(FEnds.begin(), FEnds.end(), Key, EndBefore);
    for (auto It = Range.first; It != Range.second; ++It) {
      Found.push_back(It->Piece);
    }
  }

private:
  void Add(const TVertex& V, int Piece) {
    // A coordinate that is not a number equals nothing, itself included.
    if (std::isnan(V.X) || std::isnan(V.Y)) {
      return;
    }
    FEnds.push_back(TPieceEnd{V.X, V.Y, Piece});
  }

  std::vector<TPieceEnd> FEnds;
};

// Joins pieces onto Chain until none joins. Only a piece sharing an end with the open chain can
// join; of those the one latest in the list goes first, as in a scan of the pool from its end.
bool GrowChain(TChain& Chain, const std::vector<std::vector<TVertex>>& Pieces,
               const TPieceEnds& Ends) {
  std::vector<bool> Used(Pieces.size(), false);
  std::vector<int> Candidates;
  bool Grown = false;
  while (!Chain.empty() && !IsClosedChain(Chain)) {
    Candidates.clear();
    Ends.PiecesAt(Chain.front(), Candidates);
    Ends.PiecesAt(Chain.back(), Candidates);
    std::sort(Candidates.begin(), Candidates.end(), std::greater<int>());
    Candidates.erase(std::unique(Candidates.begin(), Candidates.end()), Candidates.end());
    bool Joined = false;
    for (int Piece : Candidates) {
      const auto Index = static_cast<size_t>(Piece);
      if (!Used[Index] && JoinChain(Chain, Pieces[Index])) {
        Used[Index] = true;
        Joined = true;
        break;
      }
    }
    if (!Joined) {
      break;
    }
    Grown = true;
  }
  return Grown;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Gaps and chains

void CloseGapsNearEnds(TQBTPolygons& Pieces, long double Tolerance) {
  // Only pieces with ends closer than Tolerance can be bridged: they are found among the ends
  // sorted by X, and visited in the order of the plain pass over every pair.
  struct TEnd {
    long double X;
    int Piece;
  };
  std::vector<TEnd> Ends;
  const int Count = Pieces.Count();
  for (int I = 0; I < Count; ++I) {
    const TQBTPolygon& P = *Pieces.Polygons(I);
    if (P.Count() == 0) {
      continue;
    }
    for (const TQBTPolygonPoint* V : {P.First(), P.Last()}) {
      // A distance to a point that is not finite is never below the tolerance.
      if (std::isfinite(V->X) && std::isfinite(V->Y)) {
        Ends.push_back(TEnd{V->X, I});
      }
    }
  }
  std::sort(Ends.begin(), Ends.end(), [](const TEnd& A, const TEnd& B) { return A.X < B.X; });
  std::vector<std::pair<int, int>> Pairs;
  for (size_t A = 0; A < Ends.size(); ++A) {
    for (size_t B = A + 1; B < Ends.size() && Ends[B].X - Ends[A].X <= Tolerance; ++B) {
      if (Ends[A].Piece != Ends[B].Piece) {
        Pairs.emplace_back(Ends[A].Piece, Ends[B].Piece);
        Pairs.emplace_back(Ends[B].Piece, Ends[A].Piece);
      }
    }
  }
  std::sort(Pairs.begin(), Pairs.end());
  Pairs.erase(std::unique(Pairs.begin(), Pairs.end()), Pairs.end());

  TQBTPolygons Connectors;
  std::vector<std::vector<TVertex>> Values(static_cast<size_t>(Count));
  for (const auto& [I, J] : Pairs) {
    const TQBTPolygon& P = *Pieces.Polygons(I);
    const TQBTPolygon& Q = *Pieces.Polygons(J);
    const TQBTPolygonPoint* PEnds[] = {P.First(), P.First(), P.Last(), P.Last()};
    const TQBTPolygonPoint* QEnds[] = {Q.First(), Q.Last(), Q.First(), Q.Last()};
    bool Close[4];
    bool AnyClose = false;
    for (int E = 0; E < 4; ++E) {
      Close[E] = Distance(PEnds[E]->Position(), QEnds[E]->Position()) < Tolerance;
      AnyClose = AnyClose || Close[E];
    }
    if (!AnyClose) {
      continue;
    }
    for (int K : {I, J}) {
      auto& V = Values[static_cast<size_t>(K)];
      if (V.empty()) {
        V = VerticesOf(*Pieces.Polygons(K));
      }
    }
    if (JoinKind(Values[static_cast<size_t>(I)], Values[static_cast<size_t>(J)]) != jkNone) {
      continue; // already sharing an end
    }
    for (int E = 0; E < 4; ++E) {
      if (Close[E]) {
        Connectors.AddConnector(*PEnds[E], *QEnds[E], true, ckVirtual);
      }
    }
  }
  Pieces.Reserve(Count + Connectors.Count());
  for (int I = 0; I < Connectors.Count(); ++I) {
    Pieces.AddPolygon()->Assign(*Connectors.Polygons(I));
  }
}

namespace {

using TVertices = std::vector<TVertex>;

std::vector<TVertices> ValuesOf(const TQBTPolygons& Polygons) {
  std::vector<TVertices> Values;
  Values.reserve(static_cast<size_t>(Polygons.Count()));
  for (int I = 0; I < Polygons.Count(); ++I) {
    Values.push_back(VerticesOf(*Polygons.Polygons(I)));
  }
  return Values;
}

// Each piece joins a chain at most once, so a chain never grows by more than all of them.
size_t RoomFor(const std::vector<TVertices>& Pieces) {
  size_t Room = 1;
  for (const auto& Piece : Pieces) {
    Room += Piece.size();
  }
  return Room;
}

// Q.IsSameLoop(P): Q is one of the runs of P's length taken from P.
bool IsSameLoopOf(const TVertices& Q, const TVertices& P) {
  if (Q.size() != P.size() || P.empty()) {
    return false;
  }
  const bool Closed = IsClosedChain(P);
  for (bool Forward : {true, false}) {
    for (size_t Start = 0; Start < P.size(); ++Start) {
      if (RunIsSameAs(P, Closed, static_cast<int>(Start), Forward, Q)) {
        return true;
      }
    }
  }
  return false;
}

// RemoveDuplicateLoops over values; Deleted(K) hears of every chain deleted, by its index then.
template <class TDeleted>
void RemoveDuplicateValueLoops(std::vector<TVertices>& Chains, TDeleted Deleted) {
  // The first other chain that is the same loop as chain I.
  auto FindSameLoop = [&](size_t I) -> int {
    for (size_t K = 0; K < Chains.size(); ++K) {
      if (K != I && IsSameLoopOf(Chains[K], Chains[I])) {
        return static_cast<int>(K);
      }
    }
    return -1;
  };
  for (size_t I = 0; I < Chains.size(); ++I) {
    // A duplicate found before chain I moves the next chain into place I, which is then the
    // one compared.
    while (I < Chains.size()) {
      const int Same = FindSameLoop(I);
      if (Same < 0) {
        break;
      }
      Deleted(Same);
      Chains.erase(Chains.begin() + Same);
    }
  }
}

} // namespace

void GrowChains(TQBTPolygons& Chains, const TQBTPolygons& Pieces) {
  const std::vector<TVertices> Values = ValuesOf(Pieces);
  const size_t Room = RoomFor(Values);
  const TPieceEnds Ends(Values);
  const int Count = Chains.Count();
  TChain Chain;
  for (int I = 0; I < Count; ++I) {
    TQBTPolygon& Polygon = *Chains.Polygons(I);
    Chain.Assign(Polygon, Room);
    if (GrowChain(Chain, Values, Ends)) {
      StoreChain(Chain, Polygon);
    }
  }
}

void RemoveDuplicateLoops(TQBTPolygons& Chains) {
  std::vector<TVertices> Values = ValuesOf(Chains);
  RemoveDuplicateValueLoops(Values, [&](int K) { Chains.Delete(K); });
}

// ---------------------------------------------------------------------------------------------
// The outline

TQBTPolygonItem* LargestClosed(const TQBTPolygons& Chains, long double& Area) {
  TQBTPolygonItem* Best = nullptr;
  Area = 0;
  for (int I = 0; I < Chains.Count(); ++I) {
    const TQBTPolygon* Chain = Chains.Polygons(I);
    if (!Chain->IsClosed()) {
      continue;
    }
    bool Clockwise = false;
    const long double ChainArea = Chain->Area(Clockwise);
    if (ChainArea > Area) {
      Area = ChainArea;
      Best = Chains.Items(I);
    }
  }
  return Best;
}

long double ExtractOutline(IQBTPCBObjectList& Objects, uint8_t Layer, uint32_t Component,
                           TQBTPolygon& Outline) {
  TQBTPolygons Pieces;
  CollectTracksAndArcs(Pieces, Objects, Layer, Component);
  CloseGapsNearEnds(Pieces, GapTolerance);
  // Chains are grown and compared as values; only the loops that remain become polygons.
  const std::vector<TVertices> Values = ValuesOf(Pieces);
  const size_t Room = RoomFor(Values);
  const TPieceEnds Ends(Values);
  std::vector<TVertices> Grown;
  Grown.reserve(Values.size());
  TChain Chain;
  for (const TVertices& Piece : Values) {
    Chain.Assign(Piece, Room);
    GrowChain(Chain, Values, Ends);
    Grown.push_back(Chain.Vertices());
  }
  RemoveDuplicateValueLoops(Grown, [](int) {});
  TQBTPolygons Chains;
  for (const TVertices& Loop : Grown) {
    TQBTPolygon& Polygon = *Chains.AddPolygon();
    Polygon.Reserve(static_cast<int>(Loop.size()));
    for (const TVertex& V : Loop) {
      Polygon.AddPoint(V.X, V.Y, V.Angle)->ConnectionKind = V.ConnectionKind;
    }
  }
  long double Area = 0;
  const TQBTPolygonItem* Best = LargestClosed(Chains, Area);
  if (Best == nullptr) {
    return 0;
  }
  Outline.Assign(*Best->Item());
  return Area;
}

} // namespace qbt
