// Comparison, rounding and the plane-geometry primitives of the polygon model.
#include "geometry/qbtIDFPolygons.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace qbt {

TQBTSameValueHook SameValueHook;
TQBTRoundHook RoundHook;

namespace {

constexpr long double DegToRad = std::numbers::pi_v<long double> / 180.0L;

// Sine and cosine of an angle in degrees, exact on the quarter turns so that turning by 90 or
// 180 degrees keeps whole coordinates whole.
struct TSinCos {
  long double Sin;
  long double Cos;
};

TSinCos SinCosDeg(long double Angle) {
  long double Reduced = std::fmod(Angle, 360.0L);
  if (Reduced < 0) {
    Reduced += 360.0L;
  }
  if (Reduced == 0) {
    return {0, 1};
  }
  if (Reduced == 90) {
    return {1, 0};
  }
  if (Reduced == 180) {
    return {0, -1};
  }
  if (Reduced == 270) {
    return {-1, 0};
  }
  return {std::sin(Reduced * DegToRad), std::cos(Reduced * DegToRad)};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Comparison and rounding

long double RoundToDecimals(long double X, int Precision) {
  if (!std::isfinite(X)) {
    return X;
  }
  long double Scale = 1;
  for (int I = 0; I < Precision; ++I) {
    Scale *= 10;
  }
  const long double Whole = std::trunc(X);
  const long double Steps = static_cast<long double>(RoundMasked((X - Whole) * Scale));
  return Whole + Steps / Scale;
}

bool IsSameValue(long double A, long double B) {
  if (SameValueHook) {
    return SameValueHook(A, B);
  }
  return RoundToDecimals(A, ComparePrecision) == RoundToDecimals(B, ComparePrecision);
}

long double RoundToPrecision(long double X) {
  if (RoundHook) {
    return RoundHook(ComparePrecision, X);
  }
  return RoundToDecimals(X, ComparePrecision);
}

// ---------------------------------------------------------------------------------------------
// Points, segments and lines

bool IsSamePoint(const TQBTPointRec& P, const TQBTPointRec& Q) {
  return IsSameValue(P.X, Q.X) && IsSameValue(P.Y, Q.Y);
}

bool IsSamePointExact(const TQBTPointRec& P, const TQBTPointRec& Q) {
  return P.X == Q.X && P.Y == Q.Y;
}

bool IsSameSegment(const TQBTSegmentRec& S, const TQBTSegmentRec& T) {
  return (IsSamePoint(S.StartPoint, T.StartPoint) && IsSamePoint(S.EndPoint, T.EndPoint)) ||
         (IsSamePoint(S.StartPoint, T.EndPoint) && IsSamePoint(S.EndPoint, T.StartPoint));
}

bool IsEmptyRect(const TQBTRectRec& R) {
  return IsSamePointExact(R.First, R.Second);
}

bool IsEmptyRect(const TQBTSegmentRec& R) {
  return IsSamePointExact(R.StartPoint, R.EndPoint);
}

long double Distance(const TQBTPointRec& P, const TQBTPointRec& Q) {
  return std::hypot(P.X - Q.X, P.Y - Q.Y);
}

TQBTLineRec LineThrough(const TQBTPointRec& P, const TQBTPointRec& Q) {
  TQBTLineRec L;
  L.A = Q.Y - P.Y;
  L.B = P.X - Q.X;
  if (L.A * L.A + L.B * L.B <= 0) {
    return {};
  }
  L.C = (Q.X - P.X) * P.Y - (Q.Y - P.Y) * P.X;
  return L;
}

TQBTLineRec LineThrough(const TQBTSegmentRec& S) {
  return LineThrough(S.StartPoint, S.EndPoint);
}

bool IsValidLine(const TQBTLineRec& L) {
  return L.A * L.A + L.B * L.B > 0;
}

long double DistanceToLine(const TQBTPointRec& P, const TQBTLineRec& L) {
  return std::fabs(L.A * P.X + L.B * P.Y + L.C) / std::sqrt(L.A * L.A + L.B * L.B);
}

bool OffsetSegment(const TQBTPointRec& S, const TQBTPointRec& E, long double D,
                   TQBTPointRec& StartRight, TQBTPointRec& StartLeft, TQBTPointRec& EndRight,
                   TQBTPointRec& EndLeft) {
  const TQBTLineRec L = LineThrough(S, E);
  if (!IsValidLine(L)) {
    return false;
  }
  // The line's normal points right of S -> E; scaled to length D it reaches the right parallel.
  const long double Length = std::sqrt(L.A * L.A + L.B * L.B);
  const long double DX = L.A / Length * D;
  const long double DY = L.B / Length * D;
  StartRight = {RoundToPrecision(S.X + DX), RoundToPrecision(S.Y + DY)};
  StartLeft = {RoundToPrecision(S.X - DX), RoundToPrecision(S.Y - DY)};
  EndRight = {RoundToPrecision(E.X + DX), RoundToPrecision(E.Y + DY)};
  EndLeft = {RoundToPrecision(E.X - DX), RoundToPrecision(E.Y - DY)};
  return true;
}

// ---------------------------------------------------------------------------------------------
// Rotation and arcs

TQBTPointRec RotatePoint(const TQBTPointRec& Centre, const TQBTPointRec& P, long double Angle) {
  if (Angle == 0 || IsSamePointExact(Centre, P)) {
    return P;
  }
  const TSinCos T = SinCosDeg(Angle);
  const long double DX = P.X - Centre.X;
  const long double DY = P.Y - Centre.Y;
  return {Centre.X + DX * T.Cos - DY * T.Sin, Centre.Y + DX * T.Sin + DY * T.Cos};
}

long double PolarAngle(const TQBTPointRec& Centre, const TQBTPointRec& P) {
  if (IsSameValue(P.Y, Centre.Y)) {
    return P.X > Centre.X ? 0 : 180;
  }
  long double Angle = std::atan2(P.Y - Centre.Y, P.X - Centre.X) / DegToRad;
  if (Angle < 0) {
    Angle += 360;
  }
  return Angle >= 360 ? Angle - 360 : Angle;
}

long double ArcRadius(const TQBTPointRec& S, const TQBTPointRec& E, long double Angle) {
  return Distance(S, E) / (2 * SinCosDeg(std::fabs(Angle) / 2).Sin);
}

TQBTArcCentreRec ArcCentre(const TQBTArcRec& Arc) {
  TQBTArcCentreRec R;
  if (std::fabs(Arc.Angle) == 360) {
    // A full circle: its first point is the centre, its second lies on the circle.
    R.Centre = Arc.StartPoint;
    R.Radius = Distance(Arc.StartPoint, Arc.EndPoint);
    R.StartAngle = 0;
    R.EndAngle = 360;
    return R;
  }
  if (IsSamePointExact(Arc.StartPoint, Arc.EndPoint) || Arc.Angle == 0) {
    return R;
  }
  R.Radius = ArcRadius(Arc.StartPoint, Arc.EndPoint, Arc.Angle);
  // The centre lies on the chord's perpendicular bisector at h·cot(Angle/2) to the left of the
  // chord: left for small counter-clockwise and large clockwise arcs, right otherwise.
  const long double Chord = Distance(Arc.StartPoint, Arc.EndPoint);
  const long double UX = (Arc.EndPoint.X - Arc.StartPoint.X) / Chord;
  const long double UY = (Arc.EndPoint.Y - Arc.StartPoint.Y) / Chord;
  const TSinCos Half = SinCosDeg(Arc.Angle / 2);
  const long double Offset = Chord / 2 * Half.Cos / Half.Sin;
  R.Centre = {(Arc.StartPoint.X + Arc.EndPoint.X) / 2 - UY * Offset,
              (Arc.StartPoint.Y + Arc.EndPoint.Y) / 2 + UX * Offset};
  R.StartAngle = PolarAngle(R.Centre, Arc.StartPoint);
  R.EndAngle = PolarAngle(R.Centre, Arc.EndPoint);
  if (Arc.Angle < 0) {
    std::swap(R.StartAngle, R.EndAngle);
  }
  return R;
}

TQBTSegmentRec RotateSegment(const TQBTSegmentRec& S, const TQBTPointRec& Centre,
                             long double Angle) {
  return {RotatePoint(Centre, S.StartPoint, Angle), RotatePoint(Centre, S.EndPoint, Angle)};
}

TQBTSegmentRec TranslateSegment(const TQBTSegmentRec& S, const TQBTPointRec& Origin) {
  return {{S.StartPoint.X - Origin.X, S.StartPoint.Y - Origin.Y},
          {S.EndPoint.X - Origin.X, S.EndPoint.Y - Origin.Y}};
}

} // namespace qbt
