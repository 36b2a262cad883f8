// The outline operations of a point list that rest on the polygon model.
#include "geometry/qbtIDFPolygons.h"
#include "idf/qbtIDFLog.h"
#include "idf/qbtIDFModel.h"

#include <cmath>

namespace qbt {

bool AddTrackOutline(TQBTIDFPointsList& Points, int32_t Orientation, int32_t LoopLabel,
                     long double X1, long double Y1, long double X2, long double Y2,
                     long double SideDistance, long double ArcAngle) {
  const TQBTPointRec S{X1, Y1};
  const TQBTPointRec E{X2, Y2};
  TQBTPointRec S1, S2, E1, E2;
  if (!OffsetSegment(S, E, SideDistance, S1, S2, E1, E2)) {
    return false;
  }
  const long double A = ArcAngle;
  if (A != 0) {
    // A counter-clockwise centre line leaves S turned clockwise from the chord by half its
    // angle and reaches E turned counter-clockwise by as much; the ends are square to it.
    S1 = RotatePoint(S, S1, -A / 2);
    S2 = RotatePoint(S, S2, -A / 2);
    E1 = RotatePoint(E, E1, A / 2);
    E2 = RotatePoint(E, E2, A / 2);
  }
  auto Add = [&](const TQBTPointRec& P, long double InclAngle) {
    Points.AddPoint(LoopLabel, P.X, P.Y, InclAngle);
  };
  if (Orientation == 1) {
    Add(S1, 0);
    Add(S2, -180);
    Add(E2, A);
    Add(E1, -180);
    Add(S1, -A);
  } else {
    Add(S1, 0);
    Add(E1, A);
    Add(E2, 180);
    Add(S2, -A);
    Add(S1, 180);
  }
  return true;
}

void TQBTIDFRouteKeepOuts::AddTrack(TQBTIDFRouteLayers Layers, TQBTIDFOwner Owner, long double X1,
                                    long double Y1, long double X2, long double Y2,
                                    long double SideDistance, long double ArcAngle) {
  TQBTIDFRouteKeepOut* KeepOut = Add();
  KeepOut->Layers = Layers;
  KeepOut->Owner = Owner;
  if (!AddTrackOutline(KeepOut->Points, 0, 0, X1, Y1, X2, Y2, SideDistance, ArcAngle)) {
    delete KeepOut; // leaves the collection as it was
  }
}

TQBTPolygonShape ShapeKind(const TQBTIDFPointsList& Points) {
  return PolygonFromPointsList(Points)->ShapeKind();
}

TQBTTrackShapeRec GetTrackShape(const TQBTIDFPointsList& Points) {
  return PolygonFromPointsList(Points)->GetTrackShape();
}

TQBTArcTrackShapeRec GetArcTrackShape(const TQBTIDFPointsList& Points) {
  return PolygonFromPointsList(Points)->GetArcTrackShape();
}

TQBTSegmentRec GetRectangle(const TQBTIDFPointsList& Points) {
  return PolygonFromPointsList(Points)->GetRectangle();
}

bool RemoveExtraLoops(TQBTIDFPointsList& Points, bool DetectOnly) {
  bool Found = false;
  for (int I = Points.Count() - 1; I >= 0; --I) {
    const int32_t Label = Points.PointItems(I)->LoopLabel;
    if (Label == 0 || Label == 1) {
      continue;
    }
    if (!Found) {
      GetLog().AddItemsMessage(Points, lkImportWarnings,
                               "Outline contains additional cutouts which were ignored.");
      Found = true;
    }
    if (!DetectOnly) {
      Points.Delete(I);
    }
  }
  return Found;
}

bool HasCircle(const TQBTIDFPointsList& Points, bool Warn) {
  for (int I = 0; I < Points.Count(); ++I) {
    if (IsSameValue(std::fabs(Points.PointItems(I)->InclAngle), 360)) {
      if (Warn) {
        GetLog().AddItemsMessage(Points, lkImportWarnings,
                                 "Outline contains circle(s) and is ignored.");
      }
      return true;
    }
  }
  return false;
}

} // namespace qbt
