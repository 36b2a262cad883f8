// Writing a large exported board: the model is filled in thou as the export fills it, converted
// to millimetres, and its board and library texts are built and saved.
#include "idf/qbtIDFModel.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace qbt;

constexpr int Placements = 100000;
constexpr int PinHoles = 800000;
constexpr int Vias = 200000;
constexpr int Geometries = 500;

std::string Numbered(const char* Prefix, int N) {
  std::string S = Prefix;
  S += std::to_string(N);
  return S;
}

void FillModel(TQBTIDFFile& File) {
  File.SetVersion(vn30);
  TQBTIDFBoardFile& Board = File.BoardFile;
  Board.Header.SystemName = IDFSystemName;
  Board.Header.Date = 39945.6063657407;
  Board.Header.FileVersion = 1;
  Board.Header.BoardName = "large board";
  Board.Header.Units = udMM;
  Board.Outline.Thickness = 62;
  AddRectangle(Board.Outline, false, 0, 0, 0, 20000, 15000);
  Board.DrilledHoles.Reserve(PinHoles + Vias);
  for (int I = 0; I < PinHoles + Vias; ++I) {
    TQBTIDFDrilledHole* Hole = Board.DrilledHoles.Add();
    const bool Via = I >= PinHoles;
    Hole->Diameter = Via ? 12 : 35.5L;
    Hole->X = 100 + (I % 1000) * 19.5L;
    Hole->Y = 100 + (I / 1000) * 1.25L;
    Hole->Plating = ptPTH;
    Hole->AssocPart = Via ? apBoard : apRefDes;
    Hole->AssocPartName = Numbered("U", I / 8 % Placements + 1);
    Hole->HoleType = Via ? htVia : htPin;
    Hole->Owner = owECAD;
  }
  Board.Placement.Reserve(Placements);
  for (int I = 0; I < Placements; ++I) {
    TQBTIDFPlacementItem* Part = Board.Placement.Add();
    Part->PackageName = Numbered("PKG_", I % Geometries);
    Part->PartNumber = Numbered("PN-", I % 977);
    Part->RefDesKind = rkRefDes;
    Part->RefDes = Numbered("U", I + 1);
    Part->X = 150 + (I % 400) * 49.5L;
    Part->Y = 150 + (I / 400) * 59.25L;
    Part->Rotation = (I % 4) * 90;
    Part->Side = I % 3 == 0 ? bsBottom : bsTop;
    Part->Status = stPlaced;
  }
  for (int I = 0; I < Geometries; ++I) {
    TQBTIDFElectrComp* Comp = File.LibraryFile.ElectrComps.Add();
    Comp->GeometryName = Numbered("PKG_", I);
    Comp->PartNumber = Numbered("PN-", I);
    Comp->Units = udTHOU;
    Comp->Height = 50 + I % 100;
    for (int K = 0; K < 4; ++K) {
      AddRectangle(Comp->Points, K % 2 == 0, 0, -K * 10.5L, -K * 7.25L, 100 + K, 60 + K);
    }
    TQBTIDFElectrProp* Prop = Comp->Props.Add();
    Prop->Kind = epResistance;
    Prop->Value = 4700.0;
  }
  File.LibraryFile.Header = Board.Header;
  File.ConvertFromThou(udMM);
  File.AdjustToVersion(vn30);
}

TQBTIDFFile& Model() {
  static TQBTIDFFile* File = [] {
    auto* F = new TQBTIDFFile;
    FillModel(*F);
    return F;
  }();
  return *File;
}

void BM_BoardText(benchmark::State& State) {
  const TQBTIDFFile& File = Model();
  std::string Text;
  for (auto _ : State) {
    File.BoardFile.GetText(Text);
    benchmark::DoNotOptimize(Text.data());
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                          static_cast<int64_t>(Text.size()));
  State.counters["text_MB"] = static_cast<double>(Text.size()) / 1e6;
}
BENCHMARK(BM_BoardText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SaveToFile(benchmark::State& State) {
  TQBTIDFFile& File = Model();
  const std::string Dir = (std::filesystem::temp_directory_path() / "qbt-writer-bench").string();
  std::filesystem::create_directories(Dir);
  const std::string Name = Dir + "/large.emn";
  for (auto _ : State) {
    File.SaveToFile(Name);
  }
  const auto Size =
      std::filesystem::file_size(Name) + std::filesystem::file_size(GetLibraryFileName(Name));
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(Size));
  State.counters["files_MB"] = static_cast<double>(Size) / 1e6;
  std::filesystem::remove_all(Dir);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
