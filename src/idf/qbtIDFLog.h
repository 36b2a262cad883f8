// The translation log: the errors and warnings of one export or import, by kind, in the order
// they were added. It decides the outcome of a run and becomes its reports.
#pragma once

#include "idf/qbtIDFBase.h"
#include "report/RT_Report.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace qbt {

enum TQBTIDFLogKind : uint8_t {
  lkLoadErrors = 0,
  lkImportErrors = 1,
  lkLoadWarnings = 2,
  lkImportWarnings = 3,
  lkErrors = 4,
  lkWarnings = 5,
  lkSaveWarnings = 6,
  lkSaveErrors = 7,
  lkExportWarnings = 8,
  lkExportErrors = 9,
};

inline constexpr int LogKindCount = 10;

inline constexpr std::array<const char*, LogKindCount> LogKindNames = {
    "Load Errors", "Import Errors", "Load Warnings", "Import Warnings", "Errors",
    "Warnings",    "Save Warnings", "Save Errors",   "Export Warnings", "Export Errors"};

// A set of log kinds, 16 bits over the kind values.
class TQBTIDFLogKinds {
public:
  constexpr TQBTIDFLogKinds() = default;
  constexpr TQBTIDFLogKinds(std::initializer_list<TQBTIDFLogKind> Kinds) {
    for (TQBTIDFLogKind Kind : Kinds) {
      FBits = static_cast<uint16_t>(FBits | (1u << Kind));
    }
  }
  constexpr bool Contains(TQBTIDFLogKind Kind) const { return Kind < 16 && (FBits >> Kind) & 1u; }
  constexpr uint16_t Bits() const { return FBits; }

private:
  uint16_t FBits = 0;
};

inline constexpr TQBTIDFLogKinds LogErrorKinds = {lkLoadErrors, lkImportErrors, lkErrors,
                                                  lkSaveErrors, lkExportErrors};
inline constexpr TQBTIDFLogKinds LogWarningKinds = {lkLoadWarnings, lkImportWarnings, lkWarnings,
                                                    lkSaveWarnings, lkExportWarnings};
inline constexpr TQBTIDFLogKinds LogImportKinds = {lkLoadErrors,     lkImportErrors, lkLoadWarnings,
                                                   lkImportWarnings, lkErrors,       lkWarnings};
inline constexpr TQBTIDFLogKinds LogExportKinds = {lkErrors,     lkWarnings,       lkSaveWarnings,
                                                   lkSaveErrors, lkExportWarnings, lkExportErrors};

// The category name of Kind; empty for values outside the ten kinds.
std::string_view LogKindName(TQBTIDFLogKind Kind);

// "File : <name>\r\nLine : <line>  Char : <column>\r\n<message>": a message with its place in
// an IDF file.
std::string LogLocationText(std::string_view FileName, int32_t Line, int32_t Char,
                            std::string_view Message);

class TQBTIDFLogFileItem : public TQBTIDFCollectionItem {
public:
  QBT_CLASS_NAME(TQBTIDFLogFileItem)
  TQBTIDFLogKind Kind = lkLoadErrors;
  std::string Text; // may span several lines

  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFLogFile : public TQBTIDFItemsOf<TQBTIDFLogFileItem, TQBTIDFCollection> {
public:
  QBT_CLASS_NAME(TQBTIDFLogFile)

  TQBTIDFLogFileItem* AddMessage(TQBTIDFLogKind Kind, std::string_view Text);
  // A load error at Line and Char of FileName.
  TQBTIDFLogFileItem* AddFileError(std::string_view FileName, int32_t Line, int32_t Char,
                                   std::string_view Message);
  // Message with the place Items were read from, when they name a file and were read at all
  // (line and column both non-zero); Message alone otherwise.
  TQBTIDFLogFileItem* AddItemsMessage(const TQBTIDFFileItems& Items, TQBTIDFLogKind Kind,
                                      std::string_view Message);

  int32_t CountOf(TQBTIDFLogKinds Kinds) const;
  bool HasErrors() const { return CountOf(LogErrorKinds) > 0; }
  bool HasWarnings() const { return CountOf(LogWarningKinds) > 0; }

  // The texts of the entries of Kind, in order, each followed by CR LF CR LF.
  std::string GetKindText(TQBTIDFLogKind Kind) const;
  // "<category> : <count>", CR LF CR LF, then GetKindText.
  std::string GetKindSummary(TQBTIDFLogKind Kind) const;
  // The summaries of Kinds in kind order, each followed by CR LF.
  std::string GetText(TQBTIDFLogKinds Kinds) const;

  // One table per kind of Kinds, in kind order, each holding a row per entry.
  void AddToReport(TBaseReport& Report, TQBTIDFLogKinds Kinds) const;
  void AddKindToReport(TBaseReport& Report, TQBTIDFLogKind Kind) const;
};

// The one log of the process, created empty on first use.
TQBTIDFLogFile& GetLog();

// The names the translation report opens with.
struct TQBTIDFReportFileNames {
  std::string PCBFileName;
  std::string BoardFileName;
  std::string LibraryFileName;
};

// The translation report of a run over Log: the three file names as front matter, then one
// table per category of the run (an import's or an export's six), each present even when empty.
std::unique_ptr<TGeneralReport> CreateTranslationReport(const TQBTIDFLogFile& Log, bool IsImport,
                                                        const TQBTIDFReportFileNames& Names);

} // namespace qbt
