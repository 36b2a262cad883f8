// Vertices, polygons and polygon lists, and their conversion to and from IDF point lists.
#include "geometry/qbtIDFPolygons.h"

#include <cmath>
#include <string>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// TQBTPolygonPoint

void TQBTPolygonPoint::AssignTo(TQBTIDFPersistent& Dest) const {
  auto* Point = dynamic_cast<TQBTIDFPointItem*>(&Dest);
  if (Point == nullptr) {
    TQBTIDFCollectionItem::AssignTo(Dest);
    return;
  }
  Point->LoopLabel = 0;
  Point->X = X;
  Point->Y = Y;
  Point->InclAngle = Angle;
}

void TQBTPolygonPoint::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Vertex = dynamic_cast<const TQBTPolygonPoint*>(&Source)) {
    X = Vertex->X;
    Y = Vertex->Y;
    Angle = Vertex->Angle;
    ConnectionKind = Vertex->ConnectionKind;
    return;
  }
  if (const auto* Point = dynamic_cast<const TQBTIDFPointItem*>(&Source)) {
    X = Point->X;
    Y = Point->Y;
    Angle = Point->InclAngle;
    ConnectionKind = ckNormal;
    return;
  }
  TQBTIDFCollectionItem::Assign(Source);
}

TQBTPolygon* TQBTPolygonPoint::Polygon() const {
  return dynamic_cast<TQBTPolygon*>(Collection());
}

TQBTPolygonPoint* TQBTPolygonPoint::NextPoint() const {
  const TQBTPolygon* Owner = Polygon();
  bool Wrapped = false;
  return Owner ? Owner->NextPointOf(this, Wrapped) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// TQBTPolygon

TQBTPolygonPoint* TQBTPolygon::AddPoint(long double X, long double Y, long double Angle) {
  TQBTPolygonPoint* Vertex = Add();
  Vertex->X = X;
  Vertex->Y = Y;
  Vertex->Angle = Angle;
  return Vertex;
}

TQBTPolygonPoint* TQBTPolygon::AddCopy(const TQBTPolygonPoint* Vertex) {
  if (Vertex == nullptr) {
    return nullptr;
  }
  TQBTPolygonPoint* Copy = Add();
  Copy->Assign(*Vertex);
  return Copy;
}

TQBTPolygonSegment TQBTPolygon::GetSegment(int Index) const {
  if (Index < 0 || Index >= SegmentCount()) {
    throw Exception("List Error Index = " + std::to_string(Index));
  }
  TQBTPolygonSegment S;
  S.StartVertex = Points(Index);
  S.EndVertex = Points(Index + 1);
  S.Chord = {S.StartVertex->Position(), S.EndVertex->Position()};
  S.Line = LineThrough(S.Chord);
  S.Angle = S.EndVertex->Angle;
  S.Arc = {S.Chord.StartPoint, S.Chord.EndPoint, S.Angle};
  return S;
}

int TQBTPolygon::NextIndex(int Index, bool Closed, bool& Wrapped) const {
  Wrapped = false;
  if (Index + 1 < Count()) {
    return Index + 1;
  }
  if (!Closed) {
    return -1;
  }
  Wrapped = true;
  return 0;
}

int TQBTPolygon::PrevIndex(int Index, bool Closed, bool& Wrapped) const {
  Wrapped = false;
  if (Index > 0) {
    return Index - 1;
  }
  if (!Closed) {
    return -1;
  }
  Wrapped = true;
  return Count() - 1;
}

TQBTPolygonPoint* TQBTPolygon::NextPointOf(const TQBTPolygonPoint* V, bool& Wrapped) const {
  Wrapped = false;
  if (V == nullptr || V->Collection() != this) {
    return nullptr;
  }
  const int Index = NextIndex(V->Index(), IsClosed(), Wrapped);
  return Index < 0 ? nullptr : Points(Index);
}

TQBTPolygonPoint* TQBTPolygon::PrevPointOf(const TQBTPolygonPoint* V, bool& Wrapped) const {
  Wrapped = false;
  if (V == nullptr || V->Collection() != this) {
    return nullptr;
  }
  const int Index = PrevIndex(V->Index(), IsClosed(), Wrapped);
  return Index < 0 ? nullptr : Points(Index);
}

bool TQBTPolygon::IsClosed() const {
  return Count() > 1 && IsSamePointExact(First()->Position(), Last()->Position());
}

long double TQBTPolygon::Area(bool& Clockwise) const {
  long double Sum = 0;
  for (int I = 0; I + 1 < Count(); ++I) {
    const TQBTPolygonPoint* P = Points(I);
    const TQBTPolygonPoint* Q = Points(I + 1);
    Sum += P->X * Q->Y - Q->X * P->Y;
  }
  Clockwise = Sum / 2 <= 0;
  return std::abs(Sum / 2);
}

bool TQBTPolygon::IsSameAs(const TQBTPolygon& Other) const {
  if (Count() != Other.Count()) {
    return false;
  }
  for (int I = 0; I < Count(); ++I) {
    const TQBTPolygonPoint* P = Points(I);
    const TQBTPolygonPoint* Q = Other.Points(I);
    if (P->X != Q->X || P->Y != Q->Y || P->Angle != Q->Angle) {
      return false;
    }
  }
  return true;
}

void TQBTPolygon::SetConnectionKind(TQBTPolygonConnectionKind Kind) {
  for (int I = 0; I < Count(); ++I) {
    Points(I)->ConnectionKind = Kind;
  }
}

void TQBTPolygon::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Item = dynamic_cast<const TQBTPolygonItem*>(&Source)) {
    TQBTIDFCollection::Assign(*Item->Item());
    return;
  }
  TQBTIDFCollection::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TQBTPolygonItem

void TQBTPolygonItem::Assign(const TQBTIDFPersistent& Source) {
  if (const auto* Other = dynamic_cast<const TQBTPolygonItem*>(&Source)) {
    FItem->Assign(*Other->FItem);
    return;
  }
  TQBTIDFCollectionItem::Assign(Source);
}

void TQBTPolygonItem::AssignTo(TQBTIDFPersistent& Dest) const {
  auto* Points = dynamic_cast<TQBTIDFPointsList*>(&Dest);
  if (Points == nullptr) {
    TQBTIDFCollectionItem::AssignTo(Dest);
    return;
  }
  struct TUpdateBracket {
    TQBTIDFPointsList& List;
    explicit TUpdateBracket(TQBTIDFPointsList& L) : List(L) { List.BeginUpdate(); }
    ~TUpdateBracket() { List.EndUpdate(); }
  } Bracket(*Points);
  Points->Clear();
  Points->Reserve(FItem->Count());
  for (int I = 0; I < FItem->Count(); ++I) {
    const TQBTPolygonPoint* Vertex = FItem->Points(I);
    Points->AddPoint(0, Vertex->X, Vertex->Y, Vertex->Angle);
  }
}

// ---------------------------------------------------------------------------------------------
// IDF point lists

std::unique_ptr<TQBTPolygon> PolygonFromPointsList(const TQBTIDFPointsList& Points) {
  auto Polygon = std::make_unique<TQBTPolygon>();
  Polygon->Assign(Points);
  return Polygon;
}

void PolygonToPointsList(const TQBTPolygon& Polygon, TQBTIDFPointsList& Points) {
  Points.Assign(Polygon);
}

} // namespace qbt
