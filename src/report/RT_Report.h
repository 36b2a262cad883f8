// The report builder: a report is an XML document under a root "report" element, filled through
// nested Begin/End calls, saved as XML or transformed with an XSLT stylesheet into HTML.
#pragma once

#include "platform/DateTime.h"
#include "platform/SysUtils.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbt {

// Raised for misplaced closing calls and for errors of the transformation.
class EGeneralReportException : public Exception {
public:
  using Exception::Exception;
};

// A borrowed handle to an element of a report's document; valid while the report lives.
class TReportElement {
public:
  TReportElement() = default;
  explicit operator bool() const { return FNode != nullptr; }

  std::string Name() const;
  void SetAttribute(std::string_view Name, std::string_view Value);

  friend bool operator==(TReportElement A, TReportElement B) { return A.FNode == B.FNode; }

private:
  friend class TBaseReport;
  explicit TReportElement(void* Node) : FNode(Node) {}
  void* FNode = nullptr;
};

// Flags of BeginTable.
inline constexpr uint32_t tfSuppressTitle = 2;
inline constexpr uint32_t tfNumericTotals = 4;

// The elapsed-time text: hours, minutes and seconds of at least two digits each, separated by
// ":", padded on the right with blanks to 8 characters.
std::string ElapsedTimeText(std::chrono::seconds Elapsed);

class TBaseReport {
public:
  // A new document with the root "report", its "title" and the host's "resource_path".
  TBaseReport(std::string_view Title, std::string_view FileName);
  virtual ~TBaseReport();
  TBaseReport(const TBaseReport&) = delete;
  TBaseReport& operator=(const TBaseReport&) = delete;

  const std::string& FileName() const { return FFileName; }
  const TDateTimeRec& StartDateTime() const { return FStart; }
  TReportElement Root() const;
  TReportElement Current() const;

  // Records the start and adds "date", "time" and, with a file name, "filename".
  virtual void BeginReport();
  // Adds "elapsed_time"; Current must be the root.
  virtual void EndReport();

  TReportElement BeginNode(std::string_view Name);
  // Makes Current's parent Current; the root has none to go to.
  void EndNode();
  TReportElement AddElement(std::string_view Name);
  TReportElement AddTextElement(std::string_view Name, std::string_view Text);
  void AddText(std::string_view Text);
  void LineBreak();
  // With SplitLines every carriage return of Value becomes a "linebreak" element.
  void AddValue(std::string_view Value, bool SplitLines = false);
  TReportElement AddFile(std::string_view Text, std::string_view FileName);

  // Tables. An empty style means none.
  TReportElement BeginTable(std::string_view Title, uint32_t Flags = 0);
  // A table whose title is not shown as a heading and whose columns take the title.
  void AddTitleTable(std::string_view Title);
  void BeginColumns(bool UseTitle = false);
  void EndColumns();
  // Evens out rows written as HTML "tr" elements, then closes the table.
  void EndTable();
  void BeginRow(std::string_view Style = {});
  void EndRow();
  void BeginCell(std::string_view Style = {});
  void EndCell();
  void AddRow(const std::vector<std::string>& Values, const std::vector<std::string>& Styles = {});

  void BeginFrontMatter(std::string_view Name);
  void EndFrontMatter();
  // A whole front-matter block of one value; Current must be the root.
  void WriteFrontMatter(std::string_view Name, std::string_view Value);

  // HTML through the host's default stylesheet, or XML in test mode. True when the file was
  // written; SavedName names it, and is empty when no stylesheet was there to use.
  bool SaveReport(const std::string& BaseName, std::string& SavedName);
  bool TransformToHTML(const std::string& BaseName, const std::string& StyleSheet,
                       std::string& SavedName);
  bool SaveXML(const std::string& BaseName, std::string& SavedName);

  // The document as XML text, as SaveXML writes it.
  std::string GetXMLText() const;

private:
  struct TDocument;
  void RequireCurrent(std::string_view Name, std::string_view Message) const;
  bool ReplaceWithTempFile(const std::string& Bytes, const std::string& SavedName);

  std::unique_ptr<TDocument> FDocument;
  std::string FFileName;
  TDateTimeRec FStart;
  std::chrono::steady_clock::time_point FStartClock;
};

// The report class the system creates.
class TGeneralReport : public TBaseReport {
public:
  using TBaseReport::TBaseReport;
};

} // namespace qbt
