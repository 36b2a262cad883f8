// Outlines as chains of vertices whose steps are straight segments or circular arcs, the
// plane-geometry primitives they rest on and the comparison rules shared by the whole system.
//
// Contents:
//   value records and enumerations
//   comparison and rounding (with the hooks the host layer installs)
//   geometry primitives
//   (further below, as they are added) vertex, polygon, polygon list
#pragma once

#include "idf/qbtIDFBase.h"

#include <functional>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Value records

// The line A·x + B·y + C = 0; all three 0 when no line could be made.
struct TQBTLineRec {
  long double A = 0;
  long double B = 0;
  long double C = 0;
};

struct TQBTSegmentRec {
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
};

// Angle: included angle of the arc from StartPoint to EndPoint, counter-clockwise positive;
// 0 is a straight segment.
struct TQBTArcRec {
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
  long double Angle = 0;
};

// The arc runs counter-clockwise from StartAngle to EndAngle (degrees).
struct TQBTArcCentreRec {
  TQBTPointRec Centre;
  long double Radius = 0;
  long double StartAngle = 0;
  long double EndAngle = 0;
};

// A straight track: the ends of its centre line and half its width.
struct TQBTTrackShapeRec {
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
  long double HalfWidth = 0;
};

// An arc track: the ends of its centre line, the included angle of the centre-line arc and half
// its width.
struct TQBTArcTrackShapeRec {
  TQBTPointRec StartPoint;
  TQBTPointRec EndPoint;
  long double Angle = 0;
  long double HalfWidth = 0;
};

// ---------------------------------------------------------------------------------------------
// Enumerations

enum TQBTPolygonConnectionKind : uint8_t { ckNormal = 0, ckVirtual = 1 };
enum TQBTSegmentKind : uint8_t { skVertical = 0, skHorizontal = 1, skArc = 2, skSlanted = 3 };
enum TQBTPolygonShape : uint8_t { psOther = 0, psTrack = 1, psRectangle = 2, psArcTrack = 3 };
enum TQBTJoinKind : uint8_t {
  jkAppend = 0,
  jkPrepend = 1,
  jkPrependReversed = 2,
  jkAppendReversed = 3,
  jkNone = 4
};

// ---------------------------------------------------------------------------------------------
// Comparison and rounding

// Decimal places of the comparison and rounding used when no host rules are installed.
inline constexpr int ComparePrecision = 4;

using TQBTSameValueHook = std::function<bool(long double A, long double B)>;
using TQBTRoundHook = std::function<long double(int Precision, long double X)>;

// Installed by the host layer when the plug-in loads; empty until then.
extern TQBTSameValueHook SameValueHook;
extern TQBTRoundHook RoundHook;

// X rounded to Precision decimals: the fraction is rounded to the nearest step, ties to even,
// symmetrically for negative values.
long double RoundToDecimals(long double X, int Precision);

// The tolerant comparison: SameValueHook when set, else both values rounded to
// ComparePrecision decimals and compared exactly.
bool IsSameValue(long double A, long double B);
// RoundHook(ComparePrecision, X) when set, else X rounded to ComparePrecision decimals.
long double RoundToPrecision(long double X);

// ---------------------------------------------------------------------------------------------
// Geometry primitives (angles in degrees, counter-clockwise positive)

bool IsSamePoint(const TQBTPointRec& P, const TQBTPointRec& Q);
bool IsSamePointExact(const TQBTPointRec& P, const TQBTPointRec& Q);
// The ends match by IsSamePoint in the same or in the opposite order.
bool IsSameSegment(const TQBTSegmentRec& S, const TQBTSegmentRec& T);
// Both corners exactly equal (so also the all-zero rectangle).
bool IsEmptyRect(const TQBTRectRec& R);
bool IsEmptyRect(const TQBTSegmentRec& R);

long double Distance(const TQBTPointRec& P, const TQBTPointRec& Q);
// The normal (A, B) points to the right of the direction P -> Q.
TQBTLineRec LineThrough(const TQBTPointRec& P, const TQBTPointRec& Q);
TQBTLineRec LineThrough(const TQBTSegmentRec& S);
bool IsValidLine(const TQBTLineRec& L);
long double DistanceToLine(const TQBTPointRec& P, const TQBTLineRec& L);

// The feet of S and E on the two parallels to the chord S-E at distance D, each coordinate
// rounded by RoundToPrecision; the Right points lie right of the direction S -> E. False (outputs
// untouched) when S and E coincide.
bool OffsetSegment(const TQBTPointRec& S, const TQBTPointRec& E, long double D,
                   TQBTPointRec& StartRight, TQBTPointRec& StartLeft, TQBTPointRec& EndRight,
                   TQBTPointRec& EndLeft);

// P turned about Centre by Angle, of any magnitude; P itself when Angle is 0 or P is Centre.
TQBTPointRec RotatePoint(const TQBTPointRec& Centre, const TQBTPointRec& P, long double Angle);
// The direction from Centre to P in [0, 360); 0 or 180 when P is level with Centre.
long double PolarAngle(const TQBTPointRec& Centre, const TQBTPointRec& P);
// The radius of the arc from S to E turning by Angle (not 0).
long double ArcRadius(const TQBTPointRec& S, const TQBTPointRec& E, long double Angle);
// The centre form of an arc; all 0 when it cannot be made (ends coincide, or a straight arc).
TQBTArcCentreRec ArcCentre(const TQBTArcRec& Arc);

// Segment forms of the polygon transformations.
TQBTSegmentRec RotateSegment(const TQBTSegmentRec& S, const TQBTPointRec& Centre,
                             long double Angle);
TQBTSegmentRec TranslateSegment(const TQBTSegmentRec& S, const TQBTPointRec& Origin);

} // namespace qbt
