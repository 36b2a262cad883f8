// Feeds files to the fuzz entry without libFuzzer: every file named, and every file below every
// folder named. A folder that does not exist is reported and skipped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Argc, char** Argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> Inputs;
  for (int I = 1; I < Argc; ++I) {
    const fs::path Path(Argv[I]);
    if (fs::is_directory(Path)) {
      for (const auto& Entry : fs::recursive_directory_iterator(Path)) {
        if (Entry.is_regular_file()) {
          Inputs.push_back(Entry.path());
        }
      }
    } else if (fs::is_regular_file(Path)) {
      Inputs.push_back(Path);
    } else {
      std::printf("skipped (absent): %s\n", Path.c_str());
    }
  }
  std::sort(Inputs.begin(), Inputs.end());
  for (const auto& Path : Inputs) {
    std::ifstream In(Path, std::ios::binary);
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
  }
  std::printf("replayed %zu inputs\n", Inputs.size());
  return Inputs.empty() ? 1 : 0;
}
