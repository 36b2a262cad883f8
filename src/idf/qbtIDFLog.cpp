#include "idf/qbtIDFLog.h"

namespace qbt {

std::string_view LogKindName(TQBTIDFLogKind Kind) {
  return Kind < LogKindCount ? LogKindNames[Kind] : "";
}

std::string LogLocationText(std::string_view FileName, int32_t Line, int32_t Char,
                            std::string_view Message) {
  return Format("File : %S\r\nLine : %S  Char : %S\r\n%S",
                {FileName, std::to_string(Line), std::to_string(Char), Message});
}

void TQBTIDFLogFileItem::Assign(const TQBTIDFPersistent& Source) {
  const auto* Item = dynamic_cast<const TQBTIDFLogFileItem*>(&Source);
  if (Item == nullptr) {
    AssignError(&Source);
  }
  Kind = Item->Kind;
  Text = Item->Text;
}

TQBTIDFLogFileItem* TQBTIDFLogFile::AddMessage(TQBTIDFLogKind Kind, std::string_view Text) {
  TQBTIDFLogFileItem* Item = Add();
  Item->Kind = Kind;
  Item->Text = std::string(Text);
  return Item;
}

TQBTIDFLogFileItem* TQBTIDFLogFile::AddFileError(std::string_view FileName, int32_t Line,
                                                 int32_t Char, std::string_view Message) {
  return AddMessage(lkLoadErrors, LogLocationText(FileName, Line, Char, Message));
}

TQBTIDFLogFileItem* TQBTIDFLogFile::AddItemsMessage(const TQBTIDFFileItems& Items,
                                                    TQBTIDFLogKind Kind, std::string_view Message) {
  std::string FileName;
  Items.GetFileName(FileName);
  // Lists the export built were never read: they have no place in a file to point at.
  if (FileName.empty() || Items.SourceLine == 0 || Items.SourceChar == 0) {
    return AddMessage(Kind, Message);
  }
  return AddMessage(Kind, LogLocationText(FileName, Items.SourceLine, Items.SourceChar, Message));
}

int32_t TQBTIDFLogFile::CountOf(TQBTIDFLogKinds Kinds) const {
  int32_t Count = 0;
  for (int I = 0; I < this->Count(); ++I) {
    Count += Kinds.Contains(Items(I)->Kind) ? 1 : 0;
  }
  return Count;
}

std::string TQBTIDFLogFile::GetKindText(TQBTIDFLogKind Kind) const {
  std::string Text;
  for (int I = 0; I < Count(); ++I) {
    if (Items(I)->Kind == Kind) {
      Text += Items(I)->Text;
      Text += "\r\n\r\n";
    }
  }
  return Text;
}

std::string TQBTIDFLogFile::GetKindSummary(TQBTIDFLogKind Kind) const {
  std::string Text(LogKindName(Kind));
  Text += " : ";
  Text += std::to_string(CountOf({Kind}));
  Text += "\r\n\r\n";
  Text += GetKindText(Kind);
  return Text;
}

std::string TQBTIDFLogFile::GetText(TQBTIDFLogKinds Kinds) const {
  std::string Text;
  for (int K = 0; K < LogKindCount; ++K) {
    const auto Kind = static_cast<TQBTIDFLogKind>(K);
    if (Kinds.Contains(Kind)) {
      Text += GetKindSummary(Kind);
      Text += "\r\n";
    }
  }
  return Text;
}

void TQBTIDFLogFile::AddToReport(TBaseReport& Report, TQBTIDFLogKinds Kinds) const {
  for (int K = 0; K < LogKindCount; ++K) {
    const auto Kind = static_cast<TQBTIDFLogKind>(K);
    if (Kinds.Contains(Kind)) {
      AddKindToReport(Report, Kind);
    }
  }
}

void TQBTIDFLogFile::AddKindToReport(TBaseReport& Report, TQBTIDFLogKind Kind) const {
  Report.AddTitleTable(LogKindName(Kind));
  for (int I = 0; I < Count(); ++I) {
    if (Items(I)->Kind == Kind) {
      Report.AddRow({Items(I)->Text});
    }
  }
  Report.EndTable();
}

TQBTIDFLogFile& GetLog() {
  static TQBTIDFLogFile Log;
  return Log;
}

std::unique_ptr<TGeneralReport> CreateTranslationReport(const TQBTIDFLogFile& Log, bool IsImport,
                                                        const TQBTIDFReportFileNames& Names) {
  auto Report = std::make_unique<TGeneralReport>("IDF File Translation Report", "");
  Report->BeginReport();
  Report->BeginFrontMatter("PCB Filename");
  Report->AddFile(Names.PCBFileName, Names.PCBFileName);
  Report->EndFrontMatter();
  Report->WriteFrontMatter("IDF Board Filename", Names.BoardFileName);
  Report->WriteFrontMatter("IDF Library Filename", Names.LibraryFileName);
  Log.AddToReport(*Report, IsImport ? LogImportKinds : LogExportKinds);
  Report->EndReport();
  return Report;
}

} // namespace qbt
