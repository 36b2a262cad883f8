// Boolean operations on polygons of straight-edged contours with holes: a scan-beam clipper.
//
// The polygon records are shared with the host, which hands component body outlines over as
// pointers to them: their fields keep this order and width (native pointers on this platform).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qbt {

struct TClipVertex {
  double X;
  double Y;
};

struct TClipVertexList {
  int32_t NumVertices;
  TClipVertex* Vertex; // NumVertices vertices; the last connects back to the first
};

struct TClipPolygon {
  int32_t NumContours;
  int32_t* Hole;            // NumContours flags; non-zero marks a hole
  TClipVertexList* Contour; // NumContours contours
};

enum TClipOperation : int32_t {
  coDifference = 0, // Subject minus Clip
  coIntersection = 1,
  coExclusiveOr = 2,
  coUnion = 3,
};

// Two edge quantities that differ by at most this are equal for the clipper (2^-52).
constexpr double ClipEpsilon = 2.220446049250313e-16;

// A growable array of doubles. It gathers the y values that bound the scanbeams.
class TDoubleList {
public:
  TDoubleList() = default;
  TDoubleList(const TDoubleList&) = delete;
  TDoubleList& operator=(const TDoubleList&) = delete;
  ~TDoubleList();

  void Add(double Value);
  void Sort(); // ascending
  void Clear();

  int32_t Count() const { return FCount; }
  int32_t Capacity() const { return FCapacity; }
  bool Sorted() const { return FSorted; }
  double operator[](int32_t Index) const { return FItems[Index]; }
  double* Data() { return FItems; }
  // Drops all but Count items (never grows).
  void SetCount(int32_t Count);

private:
  void Grow();

  double* FItems = nullptr;
  int32_t FCount = 0;
  int32_t FCapacity = 0;
  bool FSorted = false; // kept for the record's shape; never set here
};

// A new empty polygon, owned by the caller and freed with FreeClipPolygon.
TClipPolygon* NewClipPolygon();
// Frees P's arrays and leaves it empty. Only for polygons whose arrays this unit made.
void ClearClipPolygon(TClipPolygon* P);
// Clears and frees P and sets it to nothing.
void FreeClipPolygon(TClipPolygon*& P);

// Result := Subject Operation Clip. Result may be Subject or Clip; the inputs are otherwise
// left as they are. Nothing happens when Result is nothing; a missing input counts as empty.
// Raises qbt::Exception naming the structure when memory cannot be had.
void PolygonClip(TClipOperation Operation, TClipPolygon* Subject, TClipPolygon* Clip,
                 TClipPolygon* Result);

} // namespace qbt
