// The board and library readers on any bytes: as they stand, and with the line breaks that
// reading a file gives them. A read may fail with the system's exception, nothing else; what a
// file's text reads into is written so that it reads back as the same text.
#include "idf/qbtIDFModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

template <class TFile>
void ReadText(TFile& File, std::type_identity_t<TFile>* Again, const std::string& Text) {
  try {
    File.LoadFromText(Text);
  } catch (const qbt::Exception&) {
    return;
  }
  std::string Written;
  File.GetText(Written);
  if (Again == nullptr) {
    return;
  }
  Again->LoadFromText(qbt::NormalizeLineBreaks(Written));
  std::string Rewritten;
  Again->GetText(Rewritten);
  if (Rewritten != Written) {
    std::abort(); // the written text lost or changed something on the way back
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string_view Raw(reinterpret_cast<const char*>(Data), Size);
  const std::string Normalized = qbt::NormalizeLineBreaks(Raw);
  qbt::TQBTIDFFile File;
  qbt::TQBTIDFFile Again;
  // Bytes as they stand never come from a file: only a file's text is written back.
  ReadText(File.BoardFile, nullptr, std::string(Raw));
  ReadText(File.LibraryFile, nullptr, std::string(Raw));
  ReadText(File.BoardFile, &Again.BoardFile, Normalized);
  ReadText(File.LibraryFile, &Again.LibraryFile, Normalized);
  return 0;
}
