// The board and library readers on any bytes: as they stand, and with the line breaks that
// reading a file gives them. A read may fail with the system's exception, nothing else.
#include "idf/qbtIDFModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

template <class TFile>
void ReadText(TFile& File, const std::string& Text) {
  try {
    File.LoadFromText(Text);
  } catch (const qbt::Exception&) {
    return;
  }
  // What was read can be written again.
  std::string Written;
  File.GetText(Written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string_view Raw(reinterpret_cast<const char*>(Data), Size);
  const std::string Normalized = qbt::NormalizeLineBreaks(Raw);
  qbt::TQBTIDFFile File;
  for (const std::string_view Text : {Raw, std::string_view(Normalized)}) {
    ReadText(File.BoardFile, std::string(Text));
    ReadText(File.LibraryFile, std::string(Text));
  }
  return 0;
}
