// Chains of vertices: runs, loop comparison, joining open chains, gap connectors and the
// transformations into a component's frame.
#include "geometry/qbtIDFPolygons.h"

namespace qbt {

namespace {

// Negation that keeps 0 as 0, so that no "-0.0" reaches an IDF file.
long double Negated(long double Value) {
  return Value == 0 ? 0 : -Value;
}

// Fills Reversed with Chain walked from its last vertex to its first; each arc's negated angle
// moves to the vertex that ends the arc in the new direction.
void FillReversed(const TQBTPolygon& Chain, TQBTPolygon& Reversed) {
  Reversed.Clear();
  Reversed.Reserve(Chain.Count());
  for (int K = Chain.Count() - 1; K >= 0; --K) {
    TQBTPolygonPoint* Copy = Reversed.AddCopy(Chain.Points(K));
    Copy->Angle = K == Chain.Count() - 1 ? 0 : Negated(Chain.Points(K + 1)->Angle);
  }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Runs and loops

bool TQBTPolygon::ExtractChain(const TQBTPolygon& Source, int Start, int Count, bool Forward) {
  if (&Source == this) {
    TQBTPolygon Copy;
    Copy.Assign(*this);
    return ExtractChain(Copy, Start, Count, Forward);
  }
  Clear();
  if (Count < 1 || Start < 0 || Start >= Source.Count()) {
    return false;
  }
  Reserve(Count);
  const bool SourceClosed = Source.IsClosed();
  int Cursor = Start;
  AddCopy(Source.Points(Cursor))->Angle = 0;
  long double Carried = Source.Points(Cursor)->Angle;
  bool SteppedOver = false;
  while (this->Count() < Count) {
    if (IsClosed()) {
      break;
    }
    bool Wrapped = false;
    Cursor = Forward ? Source.NextIndex(Cursor, SourceClosed, Wrapped)
                     : Source.PrevIndex(Cursor, SourceClosed, Wrapped);
    if (Cursor < 0) {
      break;
    }
    const TQBTPolygonPoint* Vertex = Source.Points(Cursor);
    if (IsSamePointExact(Vertex->Position(), Last()->Position())) {
      // The repeated closing vertex of a closed source; a second repeat ends the run.
      if (SteppedOver) {
        break;
      }
      SteppedOver = true;
      // Backward, the arc that ends at the skipped vertex is the next one to reverse.
      if (!Forward) {
        Carried = Vertex->Angle;
      }
      continue;
    }
    TQBTPolygonPoint* Copy = AddCopy(Vertex);
    if (!Forward) {
      Copy->Angle = Negated(Carried);
      Carried = Vertex->Angle;
    }
  }
  return this->Count() == Count;
}

bool TQBTPolygon::ContainsChain(const TQBTPolygon& Chain) const {
  if (Chain.Count() == 0) {
    return false;
  }
  const TQBTPointRec Head = Chain.First()->Position();
  int Start = -1;
  for (int I = 0; I < Count(); ++I) {
    if (IsSamePointExact(Points(I)->Position(), Head)) {
      Start = I;
      break;
    }
  }
  if (Start < 0) {
    return false;
  }
  TQBTPolygon Run;
  for (bool Forward : {true, false}) {
    if (Run.ExtractChain(*this, Start, Chain.Count(), Forward) && Run.IsSameAs(Chain)) {
      return true;
    }
  }
  return false;
}

bool TQBTPolygon::IsSameLoop(const TQBTPolygon& Other) const {
  if (Count() != Other.Count()) {
    return false;
  }
  TQBTPolygon Run;
  for (bool Forward : {true, false}) {
    for (int Start = 0; Start < Other.Count(); ++Start) {
      if (Run.ExtractChain(Other, Start, Other.Count(), Forward) && IsSameAs(Run)) {
        return true;
      }
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Joining open chains

TQBTJoinKind TQBTPolygon::GetJoinKind(const TQBTPolygon& Other) const {
  if (Count() == 0 || Other.Count() == 0) {
    return jkNone;
  }
  if (IsClosed() || Other.IsClosed() || ContainsChain(Other) || Other.ContainsChain(*this)) {
    return jkNone;
  }
  const TQBTPointRec MyFirst = First()->Position();
  const TQBTPointRec MyLast = Last()->Position();
  const TQBTPointRec OtherFirst = Other.First()->Position();
  const TQBTPointRec OtherLast = Other.Last()->Position();
  if (IsSamePointExact(MyLast, OtherFirst)) {
    return jkAppend;
  }
  if (IsSamePointExact(MyFirst, OtherLast)) {
    return jkPrepend;
  }
  if (IsSamePointExact(MyFirst, OtherFirst)) {
    return jkPrependReversed;
  }
  if (IsSamePointExact(MyLast, OtherLast)) {
    return jkAppendReversed;
  }
  return jkNone;
}

bool TQBTPolygon::Join(const TQBTPolygon& Other) {
  const TQBTJoinKind Kind = GetJoinKind(Other);
  if (Kind == jkNone) {
    return false;
  }
  TQBTPolygon Reversed;
  const TQBTPolygon* Chain = &Other;
  if (Kind == jkPrependReversed || Kind == jkAppendReversed) {
    FillReversed(Other, Reversed);
    Chain = &Reversed;
  }
  const int OldCount = Count();
  Reserve(OldCount + Chain->Count());
  if (Kind == jkAppend || Kind == jkAppendReversed) {
    for (int I = 0; I < Chain->Count(); ++I) {
      AddCopy(Chain->Points(I));
    }
    // The first copy repeats the old last vertex, which keeps its own Angle.
    Delete(OldCount);
  } else {
    for (int I = 0; I < Chain->Count(); ++I) {
      Insert(I)->Assign(*Chain->Points(I));
    }
    // The old first vertex repeats the chain's last one.
    Delete(Chain->Count());
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Transformations

void TQBTPolygon::Rotate(const TQBTPointRec& Centre, long double Angle) {
  if (Angle == 0) {
    return;
  }
  for (int I = 0; I < Count(); ++I) {
    TQBTPolygonPoint* Vertex = Points(I);
    Vertex->SetPosition(RotatePoint(Centre, Vertex->Position(), Angle));
  }
}

void TQBTPolygon::Translate(const TQBTPointRec& Origin) {
  for (int I = 0; I < Count(); ++I) {
    TQBTPolygonPoint* Vertex = Points(I);
    Vertex->X -= Origin.X;
    Vertex->Y -= Origin.Y;
  }
}

void TQBTPolygon::MirrorY() {
  // A mirror reverses the turning direction of every arc.
  for (int I = 0; I < Count(); ++I) {
    TQBTPolygonPoint* Vertex = Points(I);
    Vertex->Y = Negated(Vertex->Y);
    Vertex->Angle = Negated(Vertex->Angle);
  }
}

// ---------------------------------------------------------------------------------------------
// TQBTPolygons

TQBTPolygon* TQBTPolygons::AddConnector(const TQBTPolygonPoint& A, const TQBTPolygonPoint& B,
                                        bool ZeroAngles, TQBTPolygonConnectionKind Kind) {
  TQBTPolygon* Connector = AddPolygon();
  TQBTPolygonPoint* From = Connector->AddCopy(&A);
  TQBTPolygonPoint* To = Connector->AddCopy(&B);
  if (ZeroAngles) {
    From->Angle = 0;
    To->Angle = 0;
  }
  Connector->SetConnectionKind(Kind);
  return Connector;
}

void TQBTPolygons::BridgeGaps(TQBTPolygons& Target, long double Tolerance) const {
  // Counted once: connectors added to this very list are not bridged again.
  const int PolygonCount = Count();
  for (int I = 0; I < PolygonCount; ++I) {
    const TQBTPolygon* P = Polygons(I);
    if (P->Count() == 0) {
      continue;
    }
    for (int J = 0; J < PolygonCount; ++J) {
      const TQBTPolygon* Q = Polygons(J);
      if (I == J || Q->Count() == 0 || P->GetJoinKind(*Q) != jkNone) {
        continue;
      }
      const TQBTPolygonPoint* PEnds[] = {P->First(), P->First(), P->Last(), P->Last()};
      const TQBTPolygonPoint* QEnds[] = {Q->First(), Q->Last(), Q->First(), Q->Last()};
      for (int E = 0; E < 4; ++E) {
        if (Distance(PEnds[E]->Position(), QEnds[E]->Position()) < Tolerance) {
          Target.AddConnector(*PEnds[E], *QEnds[E], true, ckVirtual);
        }
      }
    }
  }
}

void TQBTPolygons::CloseGaps(long double Tolerance) {
  TQBTPolygons Connectors;
  BridgeGaps(Connectors, Tolerance);
  Reserve(Count() + Connectors.Count());
  for (int I = 0; I < Connectors.Count(); ++I) {
    AddPolygon()->Assign(*Connectors.Polygons(I));
  }
}

bool TQBTPolygons::AddChain(const TQBTPolygon& Source, int Start, int Count, bool Forward) {
  TQBTPolygon Chain;
  if (!Chain.ExtractChain(Source, Start, Count, Forward)) {
    return false;
  }
  AddPolygon()->Assign(Chain);
  return true;
}

TQBTPolygonItem* TQBTPolygons::FindSameLoop(const TQBTPolygon& P) const {
  for (int I = 0; I < Count(); ++I) {
    TQBTPolygonItem* Item = Items(I);
    if (Item->Item() != &P && Item->Item()->IsSameLoop(P)) {
      return Item;
    }
  }
  return nullptr;
}

} // namespace qbt
