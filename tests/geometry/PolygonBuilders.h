// Terse builders so that a polygon test reads as its picture.
#pragma once

#include "geometry/qbtIDFPolygons.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace qbt::testing {

// One vertex: position and the included angle of the step arriving at it.
struct V {
  long double X, Y, Angle = 0;
};

inline void Fill(TQBTPolygon& P, std::initializer_list<V> Vertices) {
  P.Clear();
  for (const V& Vertex : Vertices) {
    P.AddPoint(Vertex.X, Vertex.Y, Vertex.Angle);
  }
}

inline std::unique_ptr<TQBTPolygon> Poly(std::initializer_list<V> Vertices) {
  auto P = std::make_unique<TQBTPolygon>();
  Fill(*P, Vertices);
  return P;
}

// "(x y a) (x y a) ..." for messages.
inline std::string Text(const TQBTPolygon& P) {
  std::string S;
  for (int I = 0; I < P.Count(); ++I) {
    const TQBTPolygonPoint* Vertex = P.Points(I);
    S += "(" + FloatToIDF(Vertex->X) + " " + FloatToIDF(Vertex->Y) + " " +
         FloatToIDF(Vertex->Angle) + ") ";
  }
  return S;
}

} // namespace qbt::testing
