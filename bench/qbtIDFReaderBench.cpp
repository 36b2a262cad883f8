// Reading a large board and library file pair: throughput against `wc -w` over the same board
// file, and the peak memory against the size of the files.
#include "idf/qbtIDFModel.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int PlacementCount = 100000;
constexpr int PinsPerPart = 8;
constexpr int ViaCount = 200000;
constexpr int GeometryCount = 64;

// Writes the pair line by line, so that the generator adds nothing to the reader's peak.
void GenerateBoardPair(const std::string& BoardName, const std::string& LibraryName) {
  std::FILE* Out = std::fopen(BoardName.c_str(), "wb");
  std::fputs(".HEADER\r\nBOARD_FILE 3.0 \"QBT bench\" 2024/01/02.03:04:05 1\r\n"
             "bench THOU\r\n.END_HEADER\r\n.BOARD_OUTLINE UNOWNED\r\n62.0\r\n"
             "0 0.0 0.0 0.0\r\n0 40000.0 0.0 0.0\r\n0 40000.0 30000.0 0.0\r\n"
             "0 0.0 30000.0 0.0\r\n0 0.0 0.0 0.0\r\n.END_BOARD_OUTLINE\r\n.DRILLED_HOLES\r\n",
             Out);
  for (int P = 0; P < PlacementCount; ++P) {
    const double X = 100.0 + (P % 400) * 97.25;
    const double Y = 100.0 + (P / 400) * 113.5;
    for (int Pin = 0; Pin < PinsPerPart; ++Pin) {
      std::fprintf(Out, "%.1f %.3f %.3f PTH U%d PIN UNOWNED\r\n", 28.0 + Pin % 3, X + Pin * 12.5,
                   Y + (Pin % 2) * 35.0, P + 1);
    }
  }
  for (int V = 0; V < ViaCount; ++V) {
    std::fprintf(Out, "12.0 %.3f %.3f PTH BOARD VIA UNOWNED\r\n", 50.0 + (V % 1000) * 39.125,
                 50.0 + (V / 1000) * 149.875);
  }
  std::fputs(".END_DRILLED_HOLES\r\n.PLACEMENT\r\n", Out);
  for (int P = 0; P < PlacementCount; ++P) {
    std::fprintf(Out, "PKG_%d \"PN %d-A\" U%d\r\n%.3f %.3f 0.0 %d.0 %s PLACED\r\n",
                 P % GeometryCount, P % 977, P + 1, 100.0 + (P % 400) * 97.25,
                 100.0 + (P / 400) * 113.5, (P % 4) * 90, P % 3 == 0 ? "BOTTOM" : "TOP");
  }
  std::fputs(".END_PLACEMENT\r\n", Out);
  std::fclose(Out);

  Out = std::fopen(LibraryName.c_str(), "wb");
  std::fputs(".HEADER\r\nLIBRARY_FILE 3.0 \"QBT bench\" 2024/01/02.03:04:05 1\r\n.END_HEADER\r\n",
             Out);
  for (int G = 0; G < GeometryCount; ++G) {
    std::fprintf(Out,
                 ".ELECTRICAL\r\nPKG_%d \"PN %d-A\" THOU 50.0\r\n0 -40.0 -30.0 0.0\r\n"
                 "0 40.0 -30.0 0.0\r\n0 40.0 30.0 0.0\r\n0 -40.0 30.0 0.0\r\n"
                 "0 -40.0 -30.0 0.0\r\nPROP CAPACITANCE 100.0\r\n.END_ELECTRICAL\r\n",
                 G, G);
  }
  std::fclose(Out);
}

double Seconds(const timeval& T) {
  return static_cast<double>(T.tv_sec) + T.tv_usec / 1e6;
}

// User and system time of the finished child processes (wc and its shell).
double ChildrenCpuSeconds() {
  rusage U{};
  getrusage(RUSAGE_CHILDREN, &U);
  return Seconds(U.ru_utime) + Seconds(U.ru_stime);
}

double SelfCpuSeconds() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return Seconds(U.ru_utime) + Seconds(U.ru_stime);
}

struct TBenchFiles {
  fs::path Folder;
  std::string Board;
  std::string Library;
  double Megabytes = 0;
  double WcSeconds = 0;
  double WcCpuSeconds = 0;

  TBenchFiles() {
    Folder = fs::temp_directory_path() / ("qbt-bench-" + std::to_string(::getpid()));
    fs::create_directories(Folder);
    Board = (Folder / "large.emn").string();
    Library = (Folder / "large.emp").string();
    GenerateBoardPair(Board, Library);
    Megabytes = static_cast<double>(fs::file_size(Board) + fs::file_size(Library)) / 1e6;
    // The best of three runs of `wc -w` over the board file, in wall and in CPU time.
    const std::string Command = "wc -w '" + Board + "' > /dev/null";
    for (int Run = 0; Run < 3; ++Run) {
      const double CpuBefore = ChildrenCpuSeconds();
      const auto Start = std::chrono::steady_clock::now();
      if (std::system(Command.c_str()) != 0) {
        std::fprintf(stderr, "wc -w failed\n");
      }
      const double S =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
      const double Cpu = ChildrenCpuSeconds() - CpuBefore;
      WcSeconds = Run == 0 ? S : std::min(WcSeconds, S);
      WcCpuSeconds = Run == 0 ? Cpu : std::min(WcCpuSeconds, Cpu);
    }
  }
  ~TBenchFiles() {
    std::error_code Ec;
    fs::remove_all(Folder, Ec);
  }
};

TBenchFiles& Files() {
  static TBenchFiles F;
  return F;
}

// The process's peak resident memory in MB.
double PeakMegabytes() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line)) {
    if (Line.rfind("VmHWM:", 0) == 0) {
      return std::strtod(Line.c_str() + 6, nullptr) / 1000.0;
    }
  }
  return 0;
}

// The peak memory of one read in a process of its own, which has read nothing before.
double PeakOfOneRead(const std::string& Board) {
  const std::string Command =
      "'" + fs::read_symlink("/proc/self/exe").string() + "' --peak-of-read '" + Board + "'";
  std::FILE* Pipe = ::popen(Command.c_str(), "r");
  double Peak = 0;
  if (Pipe == nullptr || std::fscanf(Pipe, "%lf", &Peak) != 1) {
    std::fprintf(stderr, "the read in a process of its own failed\n");
  }
  if (Pipe != nullptr) {
    ::pclose(Pipe);
  }
  return Peak;
}

void BM_ReadBoardPair(benchmark::State& State) {
  TBenchFiles& F = Files();
  double WallSeconds = 0;
  double CpuSeconds = 0;
  for (auto _ : State) {
    const double CpuStart = SelfCpuSeconds();
    const auto Start = std::chrono::steady_clock::now();
    qbt::TQBTIDFFile File;
    File.LoadFromFile(F.Board);
    benchmark::DoNotOptimize(File.BoardFile.DrilledHoles.Count());
    WallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    CpuSeconds += SelfCpuSeconds() - CpuStart;
  }
  const auto N = static_cast<double>(State.iterations());
  const double Peak = PeakOfOneRead(F.Board);
  State.SetBytesProcessed(static_cast<int64_t>(F.Megabytes * 1e6) * State.iterations());
  State.counters["file_MB"] = F.Megabytes;
  State.counters["peak_MB"] = Peak;
  State.counters["peak_per_file"] = Peak / F.Megabytes;
  State.counters["wc_w_s"] = F.WcSeconds;
  State.counters["wall_per_wc"] = WallSeconds / N / F.WcSeconds;
  State.counters["cpu_per_wc"] = CpuSeconds / N / F.WcCpuSeconds;
}
BENCHMARK(BM_ReadBoardPair)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int Argc, char** Argv) {
  if (Argc == 3 && std::string(Argv[1]) == "--peak-of-read") {
    qbt::TQBTIDFFile File;
    File.LoadFromFile(Argv[2]);
    std::printf("%.1f\n", PeakMegabytes());
    return 0;
  }
  benchmark::Initialize(&Argc, Argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
