// Files written by other systems: every board file of the shared corpus reads with its library
// file, and writing what was read, reading that and writing again gives the same text.
#include "idf/qbtIDFReader.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qbt {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> CorpusBoardFiles() {
  std::vector<fs::path> Files;
  const fs::path Root = fs::path(QBT_SHARED_DIR) / "corpus" / "idf";
  std::error_code Ec;
  for (fs::recursive_directory_iterator It(Root, Ec), End; !Ec && It != End; It.increment(Ec)) {
    const std::string Ext = It->path().extension().string();
    if (It->is_regular_file() && (SameText(Ext, ".emn") || SameText(Ext, ".brd"))) {
      Files.push_back(It->path());
    }
  }
  std::sort(Files.begin(), Files.end());
  return Files;
}

// A panel file names no library file of its own: its header says which it is.
bool IsPanelFile(const fs::path& Path) {
  return test::ReadBytes(Path.string()).find("PANEL_FILE") != std::string::npos;
}

template <class TFile>
std::string TextOf(const TFile& File) {
  std::string Text;
  File.GetText(Text);
  return Text;
}

TEST(Corpus, EveryFileReadsAndRoundTripsStably) {
  const std::vector<fs::path> Files = CorpusBoardFiles();
  if (Files.empty()) {
    GTEST_SKIP() << "no IDF corpus under " << QBT_SHARED_DIR << "/corpus/idf";
  }
  for (const fs::path& Path : Files) {
    SCOPED_TRACE(Path.string());
    TQBTIDFFile First;
    std::string Board, Library;
    try {
      if (IsPanelFile(Path)) {
        First.PanelFile.LoadFromFile(Path.string());
        Board = TextOf(First.PanelFile);
      } else {
        First.LoadFromFile(Path.string());
        Board = TextOf(First.BoardFile);
        Library = TextOf(First.LibraryFile);
        EXPECT_GT(First.LibraryFile.ElectrComps.Count() + First.LibraryFile.MechComps.Count(), 0);
      }
    } catch (const Exception& E) {
      ADD_FAILURE() << FormatReadError(Path.string(), E.Message());
      continue;
    }
    TQBTIDFFile Second;
    try {
      if (IsPanelFile(Path)) {
        Second.PanelFile.LoadFromText(Board);
        EXPECT_EQ(TextOf(Second.PanelFile), Board);
      } else {
        Second.BoardFile.LoadFromText(Board);
        Second.LibraryFile.LoadFromText(Library);
        EXPECT_EQ(TextOf(Second.BoardFile), Board);
        EXPECT_EQ(TextOf(Second.LibraryFile), Library);
      }
    } catch (const Exception& E) {
      ADD_FAILURE() << "written text does not read back: " << E.Message() << " at line "
                    << ReadPosition.Line << " char " << ReadPosition.Char;
    }
  }
}

} // namespace
} // namespace qbt
