// Recognition of rectangle-, track- and arc-track-shaped outlines and reading their parameters.
#include "geometry/qbtIDFPolygons.h"

#include <vector>

namespace qbt {

namespace {

bool AreParallel(const TQBTLineRec& L1, const TQBTLineRec& L2) {
  if (!IsValidLine(L1) || !IsValidLine(L2)) {
    return true;
  }
  return IsSameValue(L1.A * L2.B - L2.A * L1.B, 0);
}

std::vector<TQBTPolygonSegment> Segments(const TQBTPolygon& P) {
  std::vector<TQBTPolygonSegment> Result;
  for (int I = 0; I < P.SegmentCount(); ++I) {
    Result.push_back(P.GetSegment(I));
  }
  return Result;
}

// Ordered pairs of segments (i, j), i != j, whose chords are parallel and where segment j's
// Angle is exactly Angle.
int ParallelCount(const std::vector<TQBTPolygonSegment>& Segments, long double Angle) {
  int Pairs = 0;
  for (size_t J = 0; J < Segments.size(); ++J) {
    if (Segments[J].Angle != Angle) {
      continue;
    }
    for (size_t I = 0; I < Segments.size(); ++I) {
      if (I != J && AreParallel(Segments[I].Line, Segments[J].Line)) {
        ++Pairs;
      }
    }
  }
  return Pairs;
}

// Two half circles whose chords are parallel, and two sides of Angle with parallel chords.
bool HasParallelChords(const TQBTPolygon& P, long double Angle) {
  const std::vector<TQBTPolygonSegment> All = Segments(P);
  return ParallelCount(All, 180) + ParallelCount(All, -180) == 2 && ParallelCount(All, Angle) == 2;
}

// Two half circles, and two sides of Angle besides the first vertex (three straight vertices
// for straight sides).
bool HasAngleProfile(const TQBTPolygon& P, long double Angle) {
  if (P.CountPointsWithAngle(180) + P.CountPointsWithAngle(-180) != 2) {
    return false;
  }
  if (Angle == 0) {
    return P.CountPointsWithAngle(0) == 3;
  }
  return P.CountPointsWithAngle(0) == 1 && P.CountPointsWithAngle(Angle) == 2;
}

TQBTPointRec Midpoint(const TQBTSegmentRec& S) {
  return {(S.StartPoint.X + S.EndPoint.X) / 2, (S.StartPoint.Y + S.EndPoint.Y) / 2};
}

} // namespace

TQBTSegmentKind TQBTPolygon::SegmentKind(int Index) const {
  const TQBTPolygonSegment S = GetSegment(Index);
  if (S.Angle != 0) {
    return skArc;
  }
  if (IsSameValue(S.Chord.StartPoint.Y, S.Chord.EndPoint.Y)) {
    return skHorizontal;
  }
  if (IsSameValue(S.Chord.StartPoint.X, S.Chord.EndPoint.X)) {
    return skVertical;
  }
  return skSlanted;
}

bool TQBTPolygon::IsRectangle() const {
  if (!IsClosed() || SegmentCount() != 4) {
    return false;
  }
  int Vertical = 0;
  int Horizontal = 0;
  for (int I = 0; I < SegmentCount(); ++I) {
    switch (SegmentKind(I)) {
    case skVertical:
      ++Vertical;
      break;
    case skHorizontal:
      ++Horizontal;
      break;
    default:
      break;
    }
  }
  return Vertical == 2 && Horizontal == 2;
}

int TQBTPolygon::CountPointsWithAngle(long double Angle) const {
  int Found = 0;
  for (int I = 0; I < Count(); ++I) {
    if (IsSameValue(Points(I)->Angle, Angle)) {
      ++Found;
    }
  }
  return Found;
}

bool TQBTPolygon::FirstArcAngle(long double& Angle) const {
  for (int I = 0; I < Count(); ++I) {
    const long double A = Points(I)->Angle;
    if (A != 0 && A != 180 && A != -180) {
      Angle = A;
      return true;
    }
  }
  return false;
}

bool TQBTPolygon::IsTrackShape() const {
  return IsClosed() && SegmentCount() == 4 && HasAngleProfile(*this, 0) &&
         HasParallelChords(*this, 0);
}

bool TQBTPolygon::IsArcTrackShape() const {
  long double Angle = 0;
  return FirstArcAngle(Angle) && IsClosed() && SegmentCount() == 4 &&
         HasAngleProfile(*this, Angle) && HasParallelChords(*this, Angle);
}

TQBTPolygonShape TQBTPolygon::ShapeKind() const {
  if (IsRectangle()) {
    return psRectangle;
  }
  if (IsTrackShape()) {
    return psTrack;
  }
  if (IsArcTrackShape()) {
    return psArcTrack;
  }
  return psOther;
}

TQBTSegmentRec TQBTPolygon::GetRectangle() const {
  if (!IsRectangle()) {
    return {};
  }
  return {Points(0)->Position(), Points(2)->Position()};
}

TQBTTrackShapeRec TQBTPolygon::GetTrackShape() const {
  const long double Target = CountPointsWithAngle(180) > 0 ? 180 : -180;
  const TQBTPolygonSegment* Ends[2] = {nullptr, nullptr};
  const std::vector<TQBTPolygonSegment> All = Segments(*this);
  int Found = 0;
  for (const TQBTPolygonSegment& S : All) {
    if (S.Angle == Target) {
      Ends[Found++] = &S;
      if (Found == 2) {
        break;
      }
    }
  }
  if (Found < 2) {
    return {};
  }
  TQBTTrackShapeRec Track;
  Track.HalfWidth = Distance(Ends[0]->Chord.StartPoint, Ends[0]->Chord.EndPoint) / 2;
  Track.StartPoint = Midpoint(Ends[0]->Chord);
  Track.EndPoint = Midpoint(Ends[1]->Chord);
  return Track;
}

TQBTArcTrackShapeRec TQBTPolygon::GetArcTrackShape() const {
  const TQBTTrackShapeRec Track = GetTrackShape();
  long double Angle = 0;
  if (Track.HalfWidth == 0 || !FirstArcAngle(Angle)) {
    return {};
  }
  return {Track.StartPoint, Track.EndPoint, Angle, Track.HalfWidth};
}

} // namespace qbt
