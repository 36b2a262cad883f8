// Outlines as chains of vertices whose steps are straight segments or circular arcs, the
// plane-geometry primitives they rest on and the comparison rules shared by the whole system.
//
// Contents:
//   value records and enumerations
//   comparison and rounding (with the hooks the host layer installs)
//   geometry primitives
//   TQBTPolygonPoint (one vertex), TQBTPolygon (a chain of vertices), TQBTPolygonItem and
//   TQBTPolygons (a list of owned polygons)
//   conversion to and from IDF point lists
#pragma once

#include "idf/qbtIDFBase.h"

#include <functional>
#include <memory>

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

// ---------------------------------------------------------------------------------------------
// Polygons
//
// Vertex order is drawing order. Segment i runs from vertex i to vertex i + 1; it is straight
// when vertex i + 1 has Angle exactly 0, otherwise an arc of that included angle. A polygon is
// closed when its first and last vertices coincide exactly. An Angle of +-360 on the second
// vertex of a two-vertex polygon is a full circle about the first vertex.

class TQBTPolygon;

class TQBTPolygonPoint : public TQBTIDFCollectionItem {
public:
  QBT_CLASS_NAME(TQBTPolygonPoint)
  long double X = 0;
  long double Y = 0;
  // Included angle of the arc arriving at this vertex; 0 for a straight step.
  long double Angle = 0;
  // Virtual on the vertices of gap connectors; travels with every copy.
  TQBTPolygonConnectionKind ConnectionKind = ckNormal;

  TQBTPointRec Position() const { return {X, Y}; }
  void SetPosition(const TQBTPointRec& P) {
    X = P.X;
    Y = P.Y;
  }

  // To an IDF point: X, Y, InclAngle := Angle, LoopLabel 0.
  void AssignTo(TQBTIDFPersistent& Dest) const override;
  // From a vertex (all fields) or an IDF point (X, Y, Angle := InclAngle, ckNormal).
  void Assign(const TQBTIDFPersistent& Source) override;

  // The owning polygon, if any.
  TQBTPolygon* Polygon() const;
  TQBTPolygonPoint* NextPoint() const;
};

struct TQBTPolygonSegment {
  TQBTPolygonPoint* StartVertex = nullptr;
  TQBTPolygonPoint* EndVertex = nullptr;
  TQBTSegmentRec Chord;
  TQBTLineRec Line;
  // EndVertex's Angle.
  long double Angle = 0;
  TQBTArcRec Arc;
};

class TQBTPolygon : public TQBTIDFItemsOf<TQBTPolygonPoint, TQBTIDFCollection> {
public:
  QBT_CLASS_NAME(TQBTPolygon)

  TQBTPolygonPoint* AddPoint(long double X, long double Y, long double Angle = 0);
  // A copy of Vertex at the end; nothing when given nothing.
  TQBTPolygonPoint* AddCopy(const TQBTPolygonPoint* Vertex);
  TQBTPolygonPoint* Points(int Index) const { return Items(Index); }
  TQBTPolygonPoint* First() const { return Points(0); }
  TQBTPolygonPoint* Last() const { return Points(Count() - 1); }

  int SegmentCount() const { return Count() - 1; }
  // Raises "List Error Index = <Index>" outside 0 .. SegmentCount - 1.
  TQBTPolygonSegment GetSegment(int Index) const;

  // The vertex after (before) V; past the end it wraps to the other end, with Wrapped set, only
  // on a closed polygon. Nothing when there is none or V belongs to another polygon.
  TQBTPolygonPoint* NextPointOf(const TQBTPolygonPoint* V, bool& Wrapped) const;
  TQBTPolygonPoint* PrevPointOf(const TQBTPolygonPoint* V, bool& Wrapped) const;

  bool IsClosed() const;
  // Area of the vertices (arcs count as their chords); Clockwise also for an area of 0.
  long double Area(bool& Clockwise) const;
  // Same count and exactly equal X, Y and Angle at every index.
  bool IsSameAs(const TQBTPolygon& Other) const;
  void SetConnectionKind(TQBTPolygonConnectionKind Kind);

  // Chains. ExtractChain fills this polygon with Count vertices of Source walked from Start,
  // stepping once over the repeated closing vertex of a closed Source; the first copy gets
  // Angle 0 and, walking backward, every arc keeps its curve with the angle negated. True when
  // Count vertices were taken.
  bool ExtractChain(const TQBTPolygon& Source, int Start, int Count, bool Forward);
  // Chain is a run of this polygon, in either direction.
  bool ContainsChain(const TQBTPolygon& Chain) const;
  // Other is this loop started at another vertex or walked the other way round.
  bool IsSameLoop(const TQBTPolygon& Other) const;

  // How Other's ends meet this open chain's ends; jkNone for closed chains and for a chain
  // that contains the other.
  TQBTJoinKind GetJoinKind(const TQBTPolygon& Other) const;
  // Joins Other onto this chain at the shared end; false, unchanged, when they share none.
  bool Join(const TQBTPolygon& Other);

  // Transformations into a component's frame.
  void Rotate(const TQBTPointRec& Centre, long double Angle);
  void Translate(const TQBTPointRec& Origin);
  // Y and every Angle negated, so that arcs keep bulging to the mirrored side.
  void MirrorY();

  // Shape recognition, to read IDF outlines back as rectangles, tracks and arc tracks.
  TQBTSegmentKind SegmentKind(int Index) const;
  TQBTPolygonShape ShapeKind() const;
  bool IsRectangle() const;
  bool IsTrackShape() const;
  bool IsArcTrackShape() const;
  // Vertices, the first included, whose Angle IsSameValue Angle.
  int CountPointsWithAngle(long double Angle) const;
  // The first Angle that is exactly none of 0, 180 and -180.
  bool FirstArcAngle(long double& Angle) const;
  // All 0 unless the outline has the shape.
  TQBTTrackShapeRec GetTrackShape() const;
  TQBTArcTrackShapeRec GetArcTrackShape() const;
  // Vertices 0 and 2 of a rectangle.
  TQBTSegmentRec GetRectangle() const;

  // A polygon item is replaced by its polygon; then every source item becomes a vertex, so an
  // IDF point list can be assigned directly.
  void Assign(const TQBTIDFPersistent& Source) override;

private:
  friend class TQBTPolygons;
  int NextIndex(int Index, bool Closed, bool& Wrapped) const;
  int PrevIndex(int Index, bool Closed, bool& Wrapped) const;
};

// A list item that owns one polygon.
class TQBTPolygonItem : public TQBTIDFCollectionItem {
public:
  QBT_CLASS_NAME(TQBTPolygonItem)
  TQBTPolygonItem() : FItem(std::make_unique<TQBTPolygon>()) {}

  TQBTPolygon* Item() const { return FItem.get(); }
  // Copies Polygon; never takes it over.
  void SetItem(const TQBTPolygon& Polygon) { FItem->Assign(Polygon); }

  void Assign(const TQBTIDFPersistent& Source) override;
  // To an IDF point list: one point per vertex with LoopLabel 0.
  void AssignTo(TQBTIDFPersistent& Dest) const override;

private:
  std::unique_ptr<TQBTPolygon> FItem;
};

class TQBTPolygons : public TQBTIDFItemsOf<TQBTPolygonItem, TQBTIDFCollection> {
public:
  QBT_CLASS_NAME(TQBTPolygons)

  TQBTPolygon* AddPolygon() { return Add()->Item(); }
  TQBTPolygon* Polygons(int Index) const { return Items(Index)->Item(); }

  // A two-vertex polygon of copies of A and B, their angles 0 with ZeroAngles, of Kind.
  TQBTPolygon* AddConnector(const TQBTPolygonPoint& A, const TQBTPolygonPoint& B, bool ZeroAngles,
                            TQBTPolygonConnectionKind Kind);
  // Adds to Target a virtual connector, from each side, for every end of one chain that lies
  // closer than Tolerance to an end of another chain it does not already join.
  void BridgeGaps(TQBTPolygons& Target, long double Tolerance) const;
  // Bridges the gaps of this list into this list.
  void CloseGaps(long double Tolerance);
  // Adds the chain ExtractChain takes from Source; false, nothing added, when it fails.
  bool AddChain(const TQBTPolygon& Source, int Start, int Count, bool Forward);
  // The first item, other than the one holding P, whose polygon is the same loop as P.
  TQBTPolygonItem* FindSameLoop(const TQBTPolygon& P) const;
};

// ---------------------------------------------------------------------------------------------
// IDF point lists

// Every point becomes a vertex, in list order, whatever its loop label.
std::unique_ptr<TQBTPolygon> PolygonFromPointsList(const TQBTIDFPointsList& Points);
// Every vertex becomes a point of loop 0.
void PolygonToPointsList(const TQBTPolygon& Polygon, TQBTIDFPointsList& Points);

} // namespace qbt
