// Our clipper and Clipper on the same inputs, with the ratio of their times:
//   accumulate: 1,000 overlapping rectangles united one at a time into an accumulator, the way the
//               export merges component bodies;
//   intersect:  the intersection of two random star-shaped 10,000-vertex polygons.
#include "geometry/RT_PolygonClipper.h"
#include "support/ClipShapes.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace qbt {
namespace {

using test::TPaths;

TPaths Rectangles() {
  test::TShapeMaker M(42);
  TPaths Rects;
  for (int I = 0; I < 1000; ++I) {
    const long long X = M.Int(0, 20000), Y = M.Int(0, 20000);
    Rects.push_back(test::TShapeMaker::Rect(X, Y, X + M.Int(300, 1500), Y + M.Int(300, 1500)));
  }
  return Rects;
}

std::pair<TPaths, TPaths> Stars() {
  test::TShapeMaker M(7);
  return {{M.Star(500000, 500000, 200000, 400000, 10000)},
          {M.Star(520000, 490000, 200000, 400000, 10000)}};
}

void AccumulateOurs(benchmark::State& State) {
  const TPaths Rects = Rectangles();
  std::vector<test::TClipPolygonPtr> Bodies;
  for (const auto& R : Rects)
    Bodies.push_back(test::MakeClipPolygon({R}));
  for (auto _ : State) {
    test::TClipPolygonPtr Accumulator(NewClipPolygon());
    for (const auto& Body : Bodies)
      PolygonClip(coUnion, Accumulator.get(), Body.get(), Accumulator.get());
    benchmark::DoNotOptimize(Accumulator->NumContours);
  }
}

void AccumulateClipper(benchmark::State& State) {
  const ClipperLib::Paths Rects = test::ToClipper(Rectangles(), 1);
  for (auto _ : State) {
    ClipperLib::Paths Accumulator;
    for (const auto& Rect : Rects) {
      ClipperLib::Clipper C;
      C.AddPaths(Accumulator, ClipperLib::ptSubject, true);
      C.AddPath(Rect, ClipperLib::ptClip, true);
      C.Execute(ClipperLib::ctUnion, Accumulator, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    }
    benchmark::DoNotOptimize(Accumulator.size());
  }
}

void IntersectOurs(benchmark::State& State) {
  const auto [A, B] = Stars();
  auto Subject = test::MakeClipPolygon(A), Clip = test::MakeClipPolygon(B);
  for (auto _ : State) {
    test::TClipPolygonPtr Result(NewClipPolygon());
    PolygonClip(coIntersection, Subject.get(), Clip.get(), Result.get());
    benchmark::DoNotOptimize(Result->NumContours);
  }
}

void IntersectClipper(benchmark::State& State) {
  const auto [A, B] = Stars();
  const ClipperLib::Paths Subject = test::ToClipper(A, 1), Clip = test::ToClipper(B, 1);
  for (auto _ : State) {
    ClipperLib::Clipper C;
    C.AddPaths(Subject, ClipperLib::ptSubject, true);
    C.AddPaths(Clip, ClipperLib::ptClip, true);
    ClipperLib::Paths Solution;
    C.Execute(ClipperLib::ctIntersection, Solution, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    benchmark::DoNotOptimize(Solution.size());
  }
}

BENCHMARK(AccumulateOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(AccumulateClipper)->Unit(benchmark::kMillisecond);
BENCHMARK(IntersectOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(IntersectClipper)->Unit(benchmark::kMillisecond);

// Keeps the processor time per iteration of every run besides printing it: on a shared machine it
// varies less than the wall-clock time.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& R : Runs) {
      if (R.run_type == Run::RT_Iteration && R.iterations > 0)
        Times[R.benchmark_name()] = R.cpu_accumulated_time / double(R.iterations);
    }
    ConsoleReporter::ReportRuns(Runs);
  }
  std::map<std::string, double> Times;
};

} // namespace
} // namespace qbt

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qbt::TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  for (const std::string Case : {"Accumulate", "Intersect"}) {
    const auto Ours = Reporter.Times.find(Case + "Ours");
    const auto Theirs = Reporter.Times.find(Case + "Clipper");
    if (Ours != Reporter.Times.end() && Theirs != Reporter.Times.end() && Theirs->second > 0)
      std::printf("%-10s ours/Clipper time ratio: %.2f\n", Case.c_str(),
                  Ours->second / Theirs->second);
  }
  benchmark::Shutdown();
  return 0;
}
