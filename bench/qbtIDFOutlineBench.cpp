// The export's query pattern over a large board: every component, its pads and their owner, its
// outline pieces by kind, then the outline extraction per layer found.
//
//   make bench && build-bench/bench/board_outline_bench
#include "geometry/qbtIDFPolygonsOutline.h"
#include "support/TestProvider.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

namespace qbt {
namespace {

using test::Pt;
using test::TTestProvider;

constexpr uint8_t OutlineLayer = 57;
constexpr int PadsPerComponent = 4;

// A rounded rectangle of 26 tracks and 4 corner arcs about Origin, pieces drawn in mixed
// directions and in shuffled order.
void AddFootprintOutline(TTestProvider& Board, uint32_t Component, TQBTPointRec Origin) {
  const long double W = 120, H = 80, R = 10;
  struct TPiece {
    TQBTPointRec From, To;
    long double Angle;
  };
  std::vector<TPiece> Pieces;
  auto At = [&](long double X, long double Y) { return Pt(Origin.X + X, Origin.Y + Y); };
  // Straight sides, split into pieces: bottom and top into 8, left and right into 5.
  auto Side = [&](TQBTPointRec A, TQBTPointRec B, int Parts) {
    for (int I = 0; I < Parts; ++I) {
      const TQBTPointRec P = Pt(A.X + (B.X - A.X) * I / Parts, A.Y + (B.Y - A.Y) * I / Parts);
      const TQBTPointRec Q =
          Pt(A.X + (B.X - A.X) * (I + 1) / Parts, A.Y + (B.Y - A.Y) * (I + 1) / Parts);
      Pieces.push_back(I % 2 == 0 ? TPiece{P, Q, 0} : TPiece{Q, P, 0});
    }
  };
  Side(At(R, 0), At(W - R, 0), 8);
  Side(At(W, R), At(W, H - R), 5);
  Side(At(W - R, H), At(R, H), 8);
  Side(At(0, H - R), At(0, R), 5);
  Pieces.push_back({At(W - R, 0), At(W, R), 90});
  Pieces.push_back({At(W, H - R), At(W - R, H), 90});
  Pieces.push_back({At(R, H), At(0, H - R), 90});
  Pieces.push_back({At(0, R), At(R, 0), 90});
  for (size_t I = 0; I < Pieces.size(); ++I) {
    const TPiece& P = Pieces[(I * 7) % Pieces.size()]; // 7 is prime to 30: a shuffle
    if (P.Angle != 0) {
      Board.AddArc(P.From, P.To, P.Angle, OutlineLayer, Component);
    } else {
      Board.AddTrack(P.From, P.To, OutlineLayer, Component);
    }
  }
}

TQBTRef<TTestProvider> BuildBoard(int Components) {
  auto Board = TTestProvider::Create();
  for (int C = 0; C < Components; ++C) {
    const TQBTPointRec Origin = Pt((C % 200) * 200, (C / 200) * 200);
    const uint32_t U = Board->AddComponent("U" + std::to_string(C + 1), "FP", Origin);
    for (int P = 0; P < PadsPerComponent; ++P) {
      Board->AddPad(U, std::to_string(P + 1), Pt(Origin.X + 20 + 20 * P, Origin.Y + 40), 30);
    }
    AddFootprintOutline(*Board, U, Origin);
  }
  return Board;
}

// Returns the sum of the outline areas, so that nothing is optimised away.
long double RunExportQueries(const TQBTRef<IQBTPCBObjectProvider>& Provider) {
  TQBTRef<IQBTPCBObjectList> Objects = CreatePCBObjectList(Provider);
  TQBTPCBObjectRec Key;
  Key.Kind = okComponent;
  TQBTRef<IQBTPCBObjectList> Components = Objects->Filter(Key, {pfKind});
  long double Total = 0;
  for (int32_t I = 0; I < Components->GetCount(); ++I) {
    TQBTRef<IQBTPCBObject> Component = Components->GetItem(I);
    const uint32_t Handle = Component->GetHandle();

    TQBTPCBObjectRec PadKey;
    PadKey.Kind = okPad;
    PadKey.Component = Handle;
    TQBTRef<IQBTPCBObjectList> Pads = Objects->Filter(PadKey, {pfKind, pfComponent});
    for (int32_t P = 0; P < Pads->GetCount(); ++P) {
      TQBTRef<IQBTPCBObject> Pad = Pads->GetItem(P);
      Total += Pad->GetHoleSize() * 0;
      benchmark::DoNotOptimize(Pad->GetComponent()->GetName());
    }

    TQBTLayerSet Layers;
    for (TQBTPCBObjectKind Kind : {okTrack, okArc}) {
      TQBTPCBObjectRec PieceKey;
      PieceKey.Kind = Kind;
      PieceKey.Component = Handle;
      TQBTRef<IQBTPCBObjectList> Pieces =
          Objects->Filter(PieceKey, {pfLayer, pfIsKeepOut, pfKind, pfComponent});
      for (int32_t P = 0; P < Pieces->GetCount(); ++P) {
        Layers.Include(Pieces->GetItem(P)->GetLayer());
      }
    }
    long double Best = 0;
    for (int Layer = 1; Layer <= 82; ++Layer) {
      if (!Layers.Contains(Layer)) {
        continue;
      }
      TQBTPolygon Outline;
      Best = std::max(Best, ExtractOutline(*Objects, static_cast<uint8_t>(Layer), Handle, Outline));
    }
    Total += Best;
  }
  return Total;
}

void BM_ExportQueries(benchmark::State& State) {
  const int Components = static_cast<int>(State.range(0));
  const auto BuildStart = std::chrono::steady_clock::now();
  TQBTRef<TTestProvider> Board = BuildBoard(Components);
  const std::chrono::duration<double> Build = std::chrono::steady_clock::now() - BuildStart;
  const size_t ObjectCount = Board->Objects().size();
  long double Area = 0;
  for (auto _ : State) {
    Area = RunExportQueries(Board);
  }
  // Every outline is the rounded rectangle: 120 x 80 less the four corner cut-offs (the arcs
  // count as their chords).
  const long double Expected = Components * (120.0L * 80 - 4 * 50.0L);
  if (std::fabs(Area - Expected) > 1e-6L * Expected) {
    State.SkipWithError("outline areas are wrong");
  }
  State.counters["objects"] = static_cast<double>(ObjectCount);
  State.counters["build_s"] = Build.count();
}
BENCHMARK(BM_ExportQueries)
    ->Arg(20000)
    ->Arg(80000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
} // namespace qbt

BENCHMARK_MAIN();
