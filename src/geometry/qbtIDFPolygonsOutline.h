// Outline extraction: the closed outline that a footprint draws with loose tracks and arcs on
// one layer, found by chaining the pieces into loops. Everything is in the unit the board
// objects are read in, thousandths of an inch.
#pragma once

#include "board/qbtIDFPCBWrapper.h"
#include "geometry/qbtIDFPolygons.h"

namespace qbt {

// Ends of pieces closer than this are bridged before chaining.
inline constexpr long double GapTolerance = 5.0L;

// The largest closed loop of the arcs and tracks of Component on Layer, copied into Outline
// (untouched when there is none); its area, or 0.
long double ExtractOutline(IQBTPCBObjectList& Objects, uint8_t Layer, uint32_t Component,
                           TQBTPolygon& Outline);

// Adds to Pieces a two-vertex polygon per non-keep-out arc, then per track, of Component on
// Layer, in board order; full circles are left out.
void CollectTracksAndArcs(TQBTPolygons& Pieces, IQBTPCBObjectList& Objects, uint8_t Layer,
                          uint32_t Component);

// Pieces.CloseGaps(Tolerance), with the same connectors in the same order, looking only at
// pieces whose ends lie close.
void CloseGapsNearEnds(TQBTPolygons& Pieces, long double Tolerance);

// Grows every chain of Chains (those present at the start) by joining pieces of Pieces, each
// piece at most once per chain, always the last joinable piece first, until none joins.
void GrowChains(TQBTPolygons& Chains, const TQBTPolygons& Pieces);

// Deletes every later (or earlier) chain that is the same loop as a chain kept; the first of
// equal loops stays.
void RemoveDuplicateLoops(TQBTPolygons& Chains);

// The first closed polygon of the largest area above 0, and that area; nil and 0 when none.
TQBTPolygonItem* LargestClosed(const TQBTPolygons& Chains, long double& Area);

} // namespace qbt
