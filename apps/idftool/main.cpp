// idftool: checks and converts IDF board and library file pairs from the command line.
//
//   idftool check BOARD_FILE [--json]
//   idftool convert IN_BOARD_FILE OUT_BOARD_FILE [--version 2.0|3.0] [--units mm|thou]
//
// Exit status: 0 done, 1 a file could not be read or written, 2 wrong usage.
#include "idf/qbtIDFModel.h"
#include "idf/qbtIDFReader.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qbt {
namespace {

constexpr int ExitOK = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: idftool check BOARD_FILE [--json]\n"
    "       idftool convert IN_BOARD_FILE OUT_BOARD_FILE [--version 2.0|3.0] [--units mm|thou]\n";

int UsageError(const std::string& Message) {
  std::fprintf(stderr, "idftool: %s\n%s", Message.c_str(), Usage);
  return ExitUsage;
}

// Reads the pair named after Name; on failure prints the load-error text and returns false.
bool LoadPair(TQBTIDFFile& File, const std::string& Name) {
  try {
    File.LoadFromFile(Name);
    return true;
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s\n", FormatReadError(ReadErrorFileName(File), E.Message()).c_str());
    return false;
  }
}

// ---------------------------------------------------------------------------------------------
// Summary

struct TSectionCount {
  const char* Keyword;
  int Count;
};

std::vector<TSectionCount> SectionCounts(const TQBTIDFFile& File) {
  const TQBTIDFBoardFile& B = File.BoardFile;
  return {
      {".OTHER_OUTLINE", B.OtherOutlines.Count()},
      {".ROUTE_OUTLINE", B.RouteOutlines.Count()},
      {".PLACE_OUTLINE", B.PlaceOutlines.Count()},
      {".ROUTE_KEEPOUT", B.RouteKeepOuts.Count()},
      {".VIA_KEEPOUT", B.ViaKeepOuts.Count()},
      {".PLACE_KEEPOUT", B.PlaceKeepOuts.Count()},
      {".PLACE_REGION", B.PlaceRegions.Count()},
      {".DRILLED_HOLES", B.DrilledHoles.Count()},
      {".PLACEMENT", B.Placement.Count()},
      {".NOTES", B.Notes.Count()},
      {".ELECTRICAL", File.LibraryFile.ElectrComps.Count()},
      {".MECHANICAL", File.LibraryFile.MechComps.Count()},
  };
}

// "board_outline" for ".BOARD_OUTLINE".
std::string JsonKey(std::string_view Keyword) {
  return LowerCase(Keyword.substr(1));
}

// A JSON string of a byte string; bytes above 127 are taken as Latin-1, the files' code page.
std::string JsonString(std::string_view S) {
  std::string R = "\"";
  for (const char C : S) {
    const auto U = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      R += '\\';
      R += C;
    } else if (U < 0x20 || U >= 0x7F) {
      char Buffer[8];
      std::snprintf(Buffer, sizeof(Buffer), "\\u%04x", U);
      R += Buffer;
    } else {
      R += C;
    }
  }
  return R + "\"";
}

void PrintSummary(const TQBTIDFFile& File, bool Json) {
  const TQBTIDFBoardHeader& H = File.BoardFile.Header;
  const TQBTIDFBoardOutline& Outline = File.BoardFile.Outline;
  const std::string LibraryName = FindFileIgnoringCase(File.GetFileName(fkLibrary));
  const std::string Version = IDFVersionKeywords[H.Version];
  const std::string Units = IDFUnitsKeywords[H.Units];
  if (Json) {
    std::string J = "{";
    J += "\"board_file\":" + JsonString(File.GetFileName(fkBoard));
    J += ",\"library_file\":" + JsonString(LibraryName);
    J += ",\"header\":{\"version\":" + JsonString(Version) +
         ",\"system\":" + JsonString(H.SystemName) + ",\"date\":" + JsonString(DateToIDF(H.Date)) +
         ",\"file_version\":" + std::to_string(H.FileVersion) +
         ",\"board_name\":" + JsonString(H.BoardName) + ",\"units\":" + JsonString(Units) + "}";
    J += ",\"board_outline\":{\"points\":" + std::to_string(Outline.Count()) +
         ",\"cutouts\":" + std::to_string(Outline.Cutouts.size()) + "}";
    for (const TSectionCount& S : SectionCounts(File)) {
      J += ",\"" + JsonKey(S.Keyword) + "\":" + std::to_string(S.Count);
    }
    J += "}";
    std::printf("%s\n", J.c_str());
    return;
  }
  std::printf("Board file:    %s\n", File.GetFileName(fkBoard).c_str());
  std::printf("Library file:  %s\n", LibraryName.c_str());
  std::printf("Version %s, system \"%s\", date %s, units %s, board \"%s\"\n", Version.c_str(),
              H.SystemName.c_str(), DateToIDF(H.Date).c_str(), Units.c_str(), H.BoardName.c_str());
  std::printf("%-16s %zu points, %zu cutouts\n", ".BOARD_OUTLINE",
              static_cast<size_t>(Outline.Count()), Outline.Cutouts.size());
  for (const TSectionCount& S : SectionCounts(File)) {
    std::printf("%-16s %d\n", S.Keyword, S.Count);
  }
}

int Check(const std::vector<std::string>& Args) {
  std::optional<std::string> Name;
  bool Json = false;
  for (const std::string& A : Args) {
    if (A == "--json") {
      Json = true;
    } else if (!A.empty() && A[0] == '-') {
      return UsageError("unknown option " + A);
    } else if (Name) {
      return UsageError("check takes one board file");
    } else {
      Name = A;
    }
  }
  if (!Name) {
    return UsageError("check needs a board file");
  }
  TQBTIDFFile File;
  if (!LoadPair(File, *Name)) {
    return ExitFailed;
  }
  PrintSummary(File, Json);
  return ExitOK;
}

// ---------------------------------------------------------------------------------------------
// Conversion

void SetGeometryUnits(TQBTIDFLibraryCompList& List, TQBTIDFUnitsDef Units) {
  for (int I = 0; I < List.Count(); ++I) {
    List.Comps(I)->Units = Units;
  }
}

int Convert(const std::vector<std::string>& Args) {
  std::vector<std::string> Names;
  std::optional<TQBTIDFVerNumber> Version;
  std::optional<TQBTIDFUnitsDef> Units;
  for (size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (A == "--version" || A == "--units") {
      if (I + 1 >= Args.size()) {
        return UsageError(A + " needs a value");
      }
      const std::string& V = Args[++I];
      if (A == "--version" && (V == "2.0" || V == "3.0")) {
        Version = V == "2.0" ? vn20 : vn30;
      } else if (A == "--units" && (SameText(V, "mm") || SameText(V, "thou"))) {
        Units = SameText(V, "mm") ? udMM : udTHOU;
      } else {
        return UsageError("bad value for " + A + ": " + V);
      }
    } else if (!A.empty() && A[0] == '-') {
      return UsageError("unknown option " + A);
    } else {
      Names.push_back(A);
    }
  }
  if (Names.size() != 2) {
    return UsageError("convert needs an input and an output board file");
  }
  TQBTIDFFile File;
  if (!LoadPair(File, Names[0])) {
    return ExitFailed;
  }
  try {
    // The import's order: every geometry in the board's units, then all in thousandths.
    const TQBTIDFUnitsDef FileUnits = File.BoardFile.Header.Units;
    const TQBTIDFUnitsDef TargetUnits = Units.value_or(FileUnits);
    const TQBTIDFVerNumber TargetVersion = Version.value_or(File.BoardFile.Header.Version);
    File.LibraryFile.NormalizeUnits(FileUnits);
    File.ConvertToThou(FileUnits);
    // Then the export's: out of thousandths into the target units and version.
    File.ConvertFromThou(TargetUnits);
    File.BoardFile.Header.Units = TargetUnits;
    SetGeometryUnits(File.LibraryFile.ElectrComps, TargetUnits);
    SetGeometryUnits(File.LibraryFile.MechComps, TargetUnits);
    File.SetVersion(TargetVersion);
    File.AdjustToVersion(TargetVersion);
    File.SaveToFile(Names[1]);
  } catch (const Exception& E) {
    std::fprintf(stderr, "idftool: %s\n", E.Message().c_str());
    return ExitFailed;
  }
  std::printf("Wrote %s and %s\n", File.GetFileName(fkBoard).c_str(),
              File.GetFileName(fkLibrary).c_str());
  return ExitOK;
}

int Run(int Argc, char** Argv) {
  if (Argc < 2) {
    return UsageError("no command");
  }
  const std::string Command = Argv[1];
  const std::vector<std::string> Args(Argv + 2, Argv + Argc);
  if (Command == "check") {
    return Check(Args);
  }
  if (Command == "convert") {
    return Convert(Args);
  }
  if (Command == "--help" || Command == "-h" || Command == "help") {
    std::printf("%s", Usage);
    return ExitOK;
  }
  return UsageError("unknown command " + Command);
}

} // namespace
} // namespace qbt

int main(int Argc, char** Argv) {
  return qbt::Run(Argc, Argv);
}
