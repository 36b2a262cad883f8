// Outline extraction. Growing chains and removing duplicate loops give the results of their
// plain forms (a pool scanned from its end after every join; every run of a loop extracted and
// compared) without their cost: joinable pieces are found through their end points, and runs are
// compared vertex by vertex as they are walked, without building them.
#include "geometry/qbtIDFPolygonsOutline.h"

#include <algorithm>
#include <cmath>
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
// Growing chains

namespace {

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
  explicit TPieceEnds(const TQBTPolygons& Pieces) {
    for (int I = 0; I < Pieces.Count(); ++I) {
      const TQBTPolygon* Piece = Pieces.Polygons(I);
      if (Piece->Count() == 0) {
        continue;
      }
      Add(Piece->First()->Position(), I);
      Add(Piece->Last()->Position(), I);
    }
    std::sort(FEnds.begin(), FEnds.end(), [](const TPieceEnd& A, const TPieceEnd& B) {
      return EndBefore(A, B) || (!EndBefore(B, A) && A.Piece < B.Piece);
    });
  }

  // Appends the pieces that have an end exactly at P.
  void PiecesAt(const TQBTPointRec& P, std::vector<int>& Found) const {
    const TPieceEnd Key{P.X, P.Y, 0};
    auto Range = std::equal_range(FEnds.begin(), FEnds.end(), Key, EndBefore);
    for (auto It = Range.first; It != Range.second; ++It) {
      Found.push_back(It->Piece);
    }
  }

private:
  void Add(const TQBTPointRec& P, int Piece) {
    // A coordinate that is not a number equals nothing, itself included.
    if (std::isnan(P.X) || std::isnan(P.Y)) {
      return;
    }
    FEnds.push_back(TPieceEnd{P.X, P.Y, Piece});
  }

  std::vector<TPieceEnd> FEnds;
};

void GrowChain(TQBTPolygon& Chain, const TQBTPolygons& Pieces, const TPieceEnds& Ends) {
  std::vector<bool> Used(static_cast<size_t>(Pieces.Count()), false);
  std::vector<int> Candidates;
  // Only a piece that shares an end with the open chain can join it; of those, the one latest
  // in the list goes first, as in a scan of the pool from its end.
  while (Chain.Count() > 0 && !Chain.IsClosed()) {
    Candidates.clear();
    Ends.PiecesAt(Chain.First()->Position(), Candidates);
    Ends.PiecesAt(Chain.Last()->Position(), Candidates);
    std::sort(Candidates.begin(), Candidates.end(), std::greater<int>());
    Candidates.erase(std::unique(Candidates.begin(), Candidates.end()), Candidates.end());
    bool Joined = false;
    for (int Piece : Candidates) {
      if (!Used[static_cast<size_t>(Piece)] && Chain.Join(*Pieces.Polygons(Piece))) {
        Used[static_cast<size_t>(Piece)] = true;
        Joined = true;
        break;
      }
    }
    if (!Joined) {
      return;
    }
  }
}

} // namespace

void GrowChains(TQBTPolygons& Chains, const TQBTPolygons& Pieces) {
  const TPieceEnds Ends(Pieces);
  const int Count = Chains.Count();
  for (int I = 0; I < Count; ++I) {
    GrowChain(*Chains.Polygons(I), Pieces, Ends);
  }
}

// ---------------------------------------------------------------------------------------------
// Duplicate loops

namespace {

long double Negated(long double Value) {
  return Value == 0 ? 0 : -Value;
}

bool SameVertex(const TQBTPolygonPoint& V, long double X, long double Y, long double Angle) {
  return V.X == X && V.Y == Y && V.Angle == Angle;
}

// Whether the run of Source.Count() vertices that ExtractChain takes from Source at Start in
// the given direction is exactly Target, walked without building the run.
bool RunIsSameAs(const TQBTPolygon& Source, bool SourceClosed, int Start, bool Forward,
                 const TQBTPolygon& Target) {
  const int Count = Source.Count();
  const TQBTPolygonPoint* Head = Source.Points(Start);
  if (!SameVertex(*Target.Points(0), Head->X, Head->Y, 0)) {
    return false;
  }
  const TQBTPointRec First = Head->Position();
  TQBTPointRec Last = First;
  long double Carried = Head->Angle;
  int Taken = 1;
  int Cursor = Start;
  bool SteppedOver = false;
  while (Taken < Count) {
    if (Taken > 1 && IsSamePointExact(First, Last)) {
      break;
    }
    if (Forward) {
      Cursor = Cursor + 1 < Count ? Cursor + 1 : (SourceClosed ? 0 : -1);
    } else {
      Cursor = Cursor > 0 ? Cursor - 1 : (SourceClosed ? Count - 1 : -1);
    }
    if (Cursor < 0) {
      break;
    }
    const TQBTPolygonPoint* Vertex = Source.Points(Cursor);
    if (IsSamePointExact(Vertex->Position(), Last)) {
      if (SteppedOver) {
        break;
      }
      SteppedOver = true;
      if (!Forward) {
        Carried = Vertex->Angle;
      }
      continue;
    }
    long double Angle = Vertex->Angle;
    if (!Forward) {
      Angle = Negated(Carried);
      Carried = Vertex->Angle;
    }
    if (!SameVertex(*Target.Points(Taken), Vertex->X, Vertex->Y, Angle)) {
      return false;
    }
    Last = Vertex->Position();
    ++Taken;
  }
  return Taken == Count;
}

// Q.IsSameLoop(P).
bool IsSameLoopOf(const TQBTPolygon& Q, const TQBTPolygon& P) {
  if (Q.Count() != P.Count() || P.Count() == 0) {
    return false;
  }
  const bool Closed = P.IsClosed();
  for (bool Forward : {true, false}) {
    for (int Start = 0; Start < P.Count(); ++Start) {
      if (RunIsSameAs(P, Closed, Start, Forward, Q)) {
        return true;
      }
    }
  }
  return false;
}

// Chains.FindSameLoop(P).
TQBTPolygonItem* FindSameLoopIn(const TQBTPolygons& Chains, const TQBTPolygon& P) {
  for (int I = 0; I < Chains.Count(); ++I) {
    TQBTPolygonItem* Item = Chains.Items(I);
    if (Item->Item() != &P && IsSameLoopOf(*Item->Item(), P)) {
      return Item;
    }
  }
  return nullptr;
}

} // namespace

void RemoveDuplicateLoops(TQBTPolygons& Chains) {
  for (int I = 0; I < Chains.Count(); ++I) {
    // A duplicate found before item I moves the next chain into place I, which is then the
    // one compared.
    while (I < Chains.Count()) {
      TQBTPolygonItem* Same = FindSameLoopIn(Chains, *Chains.Polygons(I));
      if (Same == nullptr) {
        break;
      }
      Chains.Delete(Same->Index());
    }
  }
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
  Pieces.CloseGaps(GapTolerance);
  TQBTPolygons Chains;
  Chains.Assign(Pieces);
  GrowChains(Chains, Pieces);
  RemoveDuplicateLoops(Chains);
  long double Area = 0;
  const TQBTPolygonItem* Best = LargestClosed(Chains, Area);
  if (Best == nullptr) {
    return 0;
  }
  Outline.Assign(*Best->Item());
  return Area;
}

} // namespace qbt
