#include "idf/qbtIDFLog.h"

#include <gtest/gtest.h>
#include <regex>

namespace qbt {
namespace {

// A point list that names the file it was read from, as a board outline does.
class NamedPoints : public TQBTIDFPointsList {
public:
  explicit NamedPoints(std::string FileName) : FFileName(std::move(FileName)) {}
  void GetFileName(std::string& Name) const override { Name = FFileName; }

private:
  std::string FFileName;
};

TEST(TranslationLog, PlainTextOfALoadError) {
  TQBTIDFLogFile Log;
  Log.AddFileError("/idf/board.emn", 12, 5, "Token .END_HEADER were expected but X found");
  EXPECT_EQ(Log.GetText(LogImportKinds), "Load Errors : 1\r\n"
                                         "\r\n"
                                         "File : /idf/board.emn\r\n"
                                         "Line : 12  Char : 5\r\n"
                                         "Token .END_HEADER were expected but X found\r\n"
                                         "\r\n"
                                         "\r\n"
                                         "Import Errors : 0\r\n\r\n\r\n"
                                         "Load Warnings : 0\r\n\r\n\r\n"
                                         "Import Warnings : 0\r\n\r\n\r\n"
                                         "Errors : 0\r\n\r\n\r\n"
                                         "Warnings : 0\r\n\r\n\r\n");
}

TEST(TranslationLog, AnEmptyLogListsEveryCategoryOfTheRunWithNone) {
  TQBTIDFLogFile Log;
  EXPECT_FALSE(Log.HasErrors());
  EXPECT_FALSE(Log.HasWarnings());
  EXPECT_EQ(Log.GetText(LogExportKinds), "Errors : 0\r\n\r\n\r\n"
                                         "Warnings : 0\r\n\r\n\r\n"
                                         "Save Warnings : 0\r\n\r\n\r\n"
                                         "Save Errors : 0\r\n\r\n\r\n"
                                         "Export Warnings : 0\r\n\r\n\r\n"
                                         "Export Errors : 0\r\n\r\n\r\n");
}

TEST(TranslationLog, EveryKindHasItsClassAndItsRuns) {
  struct Case {
    TQBTIDFLogKind Kind;
    const char* Name;
    bool Error;
    bool Import;
    bool Export;
  };
  const Case Cases[] = {
      {lkLoadErrors, "Load Errors", true, true, false},
      {lkImportErrors, "Import Errors", true, true, false},
      {lkLoadWarnings, "Load Warnings", false, true, false},
      {lkImportWarnings, "Import Warnings", false, true, false},
      {lkErrors, "Errors", true, true, true},
      {lkWarnings, "Warnings", false, true, true},
      {lkSaveWarnings, "Save Warnings", false, false, true},
      {lkSaveErrors, "Save Errors", true, false, true},
      {lkExportWarnings, "Export Warnings", false, false, true},
      {lkExportErrors, "Export Errors", true, false, true},
  };
  for (const Case& C : Cases) {
    TQBTIDFLogFile Log;
    Log.AddMessage(C.Kind, "entry");
    const std::string Summary = std::string(C.Name) + " : 1\r\n\r\nentry\r\n\r\n";
    EXPECT_EQ(Log.GetKindSummary(C.Kind), Summary) << C.Name;
    EXPECT_EQ(Log.HasErrors(), C.Error) << C.Name;
    EXPECT_EQ(Log.HasWarnings(), !C.Error) << C.Name;
    EXPECT_EQ(Log.GetText(LogImportKinds).find(Summary) != std::string::npos, C.Import) << C.Name;
    EXPECT_EQ(Log.GetText(LogExportKinds).find(Summary) != std::string::npos, C.Export) << C.Name;
  }
}

TEST(TranslationLog, CategoriesComeInKindOrderEntriesInTheirOwn) {
  TQBTIDFLogFile Log;
  Log.AddMessage(lkImportWarnings, "w1");
  Log.AddMessage(lkLoadErrors, "e1");
  Log.AddMessage(lkImportWarnings, "w2\r\nsecond line");
  Log.AddMessage(lkLoadErrors, "e2");
  EXPECT_EQ(Log.CountOf({lkLoadErrors, lkImportWarnings}), 4);
  EXPECT_EQ(Log.CountOf({lkImportWarnings}), 2);
  EXPECT_EQ(Log.CountOf({}), 0);
  EXPECT_EQ(Log.GetKindText(lkImportWarnings), "w1\r\n\r\nw2\r\nsecond line\r\n\r\n");
  EXPECT_EQ(Log.GetText({lkImportWarnings, lkLoadErrors}),
            "Load Errors : 2\r\n\r\ne1\r\n\r\ne2\r\n\r\n\r\n"
            "Import Warnings : 2\r\n\r\nw1\r\n\r\nw2\r\nsecond line\r\n\r\n\r\n");
  Log.Clear();
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_FALSE(Log.HasErrors());
}

TEST(TranslationLog, ItemsMessagesCarryTheirPlaceOnlyWhenRead) {
  struct Case {
    const char* FileName;
    int32_t Line;
    int32_t Char;
    const char* Text;
  };
  const Case Cases[] = {
      {"/idf/b.emn", 40, 3, "File : /idf/b.emn\r\nLine : 40  Char : 3\r\nOutline warning"},
      {"/idf/b.emn", 0, 0, "Outline warning"}, // built by the export, never read
      {"/idf/b.emn", 40, 0, "Outline warning"},
      {"/idf/b.emn", 0, 3, "Outline warning"},
      {"", 40, 3, "Outline warning"}, // lists that name no file
  };
  for (const Case& C : Cases) {
    NamedPoints Points(C.FileName);
    Points.SourceLine = C.Line;
    Points.SourceChar = C.Char;
    TQBTIDFLogFile Log;
    const TQBTIDFLogFileItem* Item =
        Log.AddItemsMessage(Points, lkImportWarnings, "Outline warning");
    EXPECT_EQ(Item->Kind, lkImportWarnings);
    EXPECT_EQ(Item->Text, C.Text) << C.FileName << " " << C.Line << " " << C.Char;
  }
}

TEST(TranslationLog, OneLogServesTheProcess) {
  TQBTIDFLogFile& Log = GetLog();
  EXPECT_EQ(&Log, &GetLog());
  Log.Clear();
  Log.AddMessage(lkExportWarnings, "kept between calls");
  EXPECT_EQ(GetLog().CountOf({lkExportWarnings}), 1);
  Log.Clear();
}

TEST(TranslationLog, EntriesCopyWithTheirKind) {
  TQBTIDFLogFile Log;
  Log.AddMessage(lkSaveErrors, "disk full");
  TQBTIDFLogFile Copy;
  Copy.Assign(Log);
  ASSERT_EQ(Copy.Count(), 1);
  EXPECT_EQ(Copy.Items(0)->Kind, lkSaveErrors);
  EXPECT_EQ(Copy.Items(0)->Text, "disk full");
}

// ---------------------------------------------------------------------------------------------
// The translation report

std::string Stable(const TBaseReport& Report) {
  static const std::regex Varying("<(date|time|resource_path|elapsed_time)>[^<]*</");
  return std::regex_replace(Report.GetXMLText(), Varying, "<$1>*</");
}

std::string EmptyTable(const char* Title) {
  return std::string("  <table suppress_title=\"true\">\n    <title>") + Title +
         "</title>\n    <columns use=\"title\"/>\n  </table>\n";
}

const char* const ReportHead = R"(<?xml version="1.0" encoding="UTF-8"?>
<report>
  <title>IDF File Translation Report</title>
  <resource_path>*</resource_path>
  <date>*</date>
  <time>*</time>
  <frontmatter>
    <name>PCB Filename</name>
    <file filename="/pcb/board.PcbDoc">/pcb/board.PcbDoc</file>
  </frontmatter>
  <frontmatter>
    <name>IDF Board Filename</name>
    <text>/idf/board.emn</text>
  </frontmatter>
  <frontmatter>
    <name>IDF Library Filename</name>
    <text>/idf/board.emp</text>
  </frontmatter>
)";

const TQBTIDFReportFileNames FileNames{"/pcb/board.PcbDoc", "/idf/board.emn", "/idf/board.emp"};

TEST(TranslationReport, WithoutEntriesStillHoldsEveryCategoryTable) {
  TQBTIDFLogFile Log;
  const auto Report = CreateTranslationReport(Log, true, FileNames);
  EXPECT_EQ(Stable(*Report), ReportHead + EmptyTable("Load Errors") + EmptyTable("Import Errors") +
                                 EmptyTable("Load Warnings") + EmptyTable("Import Warnings") +
                                 EmptyTable("Errors") + EmptyTable("Warnings") +
                                 "  <elapsed_time>*</elapsed_time>\n</report>\n");
}

TEST(TranslationReport, AnExportListsItsEntriesRowByRowInItsCategories) {
  TQBTIDFLogFile Log;
  Log.AddMessage(lkExportWarnings, "second category, first");
  Log.AddMessage(lkLoadErrors, "not an export category");
  Log.AddMessage(lkWarnings, "a warning of both runs");
  Log.AddMessage(lkExportWarnings, "second category, second");
  const auto Report = CreateTranslationReport(Log, false, FileNames);
  const auto Row = [](const char* Text) {
    return std::string("    <row>\n      <cell>\n        <text>") + Text +
           "</text>\n      </cell>\n    </row>\n";
  };
  const auto TableOf = [](const char* Title, const std::string& Rows) {
    std::string Table = EmptyTable(Title);
    return Table.insert(Table.size() - std::string("  </table>\n").size(), Rows);
  };
  EXPECT_EQ(Stable(*Report),
            ReportHead + EmptyTable("Errors") + TableOf("Warnings", Row("a warning of both runs")) +
                EmptyTable("Save Warnings") + EmptyTable("Save Errors") +
                TableOf("Export Warnings",
                        Row("second category, first") + Row("second category, second")) +
                EmptyTable("Export Errors") + "  <elapsed_time>*</elapsed_time>\n</report>\n");
}

} // namespace
} // namespace qbt
