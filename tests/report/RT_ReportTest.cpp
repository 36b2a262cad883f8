#include "report/RT_Report.h"

#include "platform/HostFiles.h"
#include "support/ForeignLock.h"
#include "support/RecordingPresenter.h"
#include "support/RegistrySandbox.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <regex>

namespace qbt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordingPresenter;
using test::RegistrySandbox;
using test::TempDir;
using test::WriteBytes;

// The document with the texts that depend on the clock and the program's folder blanked.
std::string Stable(const TBaseReport& Report) {
  static const std::regex Varying("<(date|time|resource_path|elapsed_time)>[^<]*</");
  return std::regex_replace(Report.GetXMLText(), Varying, "<$1>*</");
}

std::vector<std::string> FilesIn(const fs::path& Folder) {
  std::vector<std::string> Names;
  for (const auto& Entry : fs::directory_iterator(Folder)) {
    Names.push_back(Entry.path().filename().string());
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

using Names = std::vector<std::string>;

constexpr const char* Header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

TEST(ReportBuilder, WritesTheReportVocabulary) {
  TGeneralReport Report("Board Check", "");
  Report.BeginReport();
  Report.BeginFrontMatter("PCB Filename");
  Report.AddFile("a & b.PcbDoc", "/x/a & b.PcbDoc");
  Report.EndFrontMatter();
  Report.WriteFrontMatter("Note", "<none>");
  Report.BeginTable("Holes", tfSuppressTitle | tfNumericTotals);
  Report.BeginColumns(true);
  Report.EndColumns();
  Report.BeginRow("bold");
  Report.BeginCell("red");
  Report.AddText("x");
  Report.EndCell();
  Report.EndRow();
  Report.AddRow({"1", "2"}, {"left"});
  Report.EndTable();
  Report.BeginTable("Plain");
  Report.BeginColumns();
  Report.EndColumns();
  Report.EndTable();
  Report.LineBreak();
  Report.EndReport();
  EXPECT_EQ(Stable(Report), std::string(Header) + R"(<report>
  <title>Board Check</title>
  <resource_path>*</resource_path>
  <date>*</date>
  <time>*</time>
  <frontmatter>
    <name>PCB Filename</name>
    <file filename="/x/a &amp; b.PcbDoc">a &amp; b.PcbDoc</file>
  </frontmatter>
  <frontmatter>
    <name>Note</name>
    <text>&lt;none&gt;</text>
  </frontmatter>
  <table suppress_title="true" numeric_totals="true">
    <title>Holes</title>
    <columns use="title"/>
    <row html_style="bold">
      <cell html_style="red">
        <text>x</text>
      </cell>
    </row>
    <row>
      <cell html_style="left">
        <text>1</text>
      </cell>
      <cell>
        <text>2</text>
      </cell>
    </row>
  </table>
  <table>
    <title>Plain</title>
    <columns/>
  </table>
  <linebreak/>
  <elapsed_time>*</elapsed_time>
</report>
)");
}

TEST(ReportBuilder, BeginReportStampsDateTimeAndFileName) {
  const TFormatSettings Saved = FormatSettings();
  FormatSettings().ShortDateFormat = "yyyy-mm-dd";
  FormatSettings().DateSeparator = '/';
  FormatSettings().LongTimeFormat = "hh:nn:ss";
  TGeneralReport Report("T", "/b/board.emn");
  Report.BeginReport();
  FormatSettings() = Saved;
  const std::string Xml = Report.GetXMLText();
  EXPECT_TRUE(std::regex_search(Xml, std::regex("<date>20[0-9]{2}-[01][0-9]-[0-3][0-9]</date>")))
      << Xml;
  EXPECT_TRUE(std::regex_search(Xml, std::regex("<time>[0-2][0-9]:[0-5][0-9]:[0-6][0-9]</time>")));
  EXPECT_NE(Xml.find("<filename>\n    <file filename=\"/b/board.emn\">/b/board.emn</file>\n  "
                     "</filename>"),
            std::string::npos)
      << Xml;
  EXPECT_NE(Xml.find("<resource_path>" + HostTemplatesFolder() + "</resource_path>"),
            std::string::npos);
}

TEST(ReportBuilder, MisplacedClosingCallsRaiseAndChangeNothing) {
  using Step = std::function<void(TBaseReport&)>;
  struct Case {
    Step Setup;
    Step Close;
    const char* Message;
  };
  const Step Nothing = [](TBaseReport&) {};
  const Step InTable = [](TBaseReport& R) { R.BeginTable("T"); };
  const Step InRow = [](TBaseReport& R) {
    R.BeginTable("T");
    R.BeginRow();
  };
  const Case Cases[] = {
      {InTable, [](TBaseReport& R) { R.EndRow(); }, "Improperly placed EndRow"},
      {InRow, [](TBaseReport& R) { R.EndCell(); }, "Improperly placed EndCell"},
      {InRow, [](TBaseReport& R) { R.EndTable(); }, "Improperly placed EndTable"},
      {Nothing, [](TBaseReport& R) { R.EndColumns(); }, "Improperly placed EndColumns"},
      {InTable, [](TBaseReport& R) { R.EndReport(); }, "Improperly placed EndReport"},
      {InTable, [](TBaseReport& R) { R.WriteFrontMatter("N", "V"); },
       "Improperly placed WriteFrontMatter"},
      {InTable, [](TBaseReport& R) { R.EndFrontMatter(); }, "Improperly placed EndFrontMatter"},
      {Nothing, [](TBaseReport& R) { R.EndNode(); }, "Improperly placed EndNode"},
  };
  for (const Case& C : Cases) {
    TGeneralReport Report("T", "");
    C.Setup(Report);
    const std::string Before = Report.GetXMLText();
    const TReportElement Current = Report.Current();
    try {
      C.Close(Report);
      ADD_FAILURE() << "no exception for " << C.Message;
    } catch (const EGeneralReportException& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
    EXPECT_EQ(Report.GetXMLText(), Before) << C.Message;
    EXPECT_TRUE(Report.Current() == Current) << C.Message;
  }
}

TEST(ReportBuilder, ClosingCallsReturnToTheParent) {
  TGeneralReport Report("T", "");
  Report.BeginTable("T");
  Report.BeginRow();
  Report.BeginCell();
  Report.EndCell();
  EXPECT_EQ(Report.Current().Name(), "row");
  Report.EndRow();
  EXPECT_EQ(Report.Current().Name(), "table");
  Report.EndTable();
  EXPECT_TRUE(Report.Current() == Report.Root());
  Report.WriteFrontMatter("N", "V");
  EXPECT_TRUE(Report.Current() == Report.Root());
}

TEST(ReportBuilder, EndTableEvensOutHtmlRows) {
  TGeneralReport Report("T", "");
  Report.BeginTable("T");
  const auto Row = [&](std::initializer_list<const char*> Cells) {
    Report.BeginNode("tr");
    for (const char* Cell : Cells) {
      Report.AddTextElement(Cell, Cell);
    }
    Report.EndNode();
  };
  Row({"th"});             // a lone heading spans the table
  Row({"td", "td", "th"}); // the widest row
  Row({"td"});             // a lone data cell is filled up
  Row({"th", "td"});
  Report.AddRow({"builder rows are left alone"});
  Report.EndTable();
  const std::string Xml = Report.GetXMLText();
  const std::string Table = Xml.substr(Xml.find("<table>"));
  EXPECT_EQ(Table, R"(<table>
    <title>T</title>
    <tr>
      <th colspan="3">th</th>
    </tr>
    <tr>
      <td>td</td>
      <td>td</td>
      <th>th</th>
    </tr>
    <tr>
      <td>td</td>
      <td/>
      <td/>
    </tr>
    <tr>
      <th>th</th>
      <td>td</td>
      <td/>
    </tr>
    <row>
      <cell>
        <text>builder rows are left alone</text>
      </cell>
    </row>
  </table>
</report>
)");
}

TEST(ReportBuilder, EndTableLeavesASingleColumnAlone) {
  TGeneralReport Report("T", "");
  Report.BeginTable("T");
  Report.BeginNode("tr");
  Report.AddTextElement("th", "only");
  Report.EndNode();
  Report.EndTable();
  EXPECT_NE(Report.GetXMLText().find("<tr>\n      <th>only</th>\n    </tr>"), std::string::npos);
}

TEST(ReportBuilder, AddValueSplitsAtCarriageReturns) {
  struct Case {
    const char* Value;
    bool Split;
    const char* Body; // the children added, one per line
  };
  const Case Cases[] = {
      {"a\rb", true, "<text>a</text>|<linebreak/>|<text>b</text>"},
      {"\rb", true, "<text>b</text>"},
      {"a\r\rb", true, "<text>a</text>|<linebreak/>|<text>b</text>"},
      {"a\r", true, "<text>a</text>|<linebreak/>|<text/>"},
      {"plain", true, "<text>plain</text>"},
      {"a\rb", false, "<text>a&#13;b</text>"},
  };
  for (const Case& C : Cases) {
    TGeneralReport Report("T", "");
    Report.BeginNode("cell");
    Report.AddValue(C.Value, C.Split);
    std::string Xml = Report.GetXMLText();
    const size_t Start = Xml.find("<cell>") + 6;
    std::string Body = Xml.substr(Start, Xml.find("</cell>") - Start);
    Body = std::regex_replace(Body, std::regex("\\s*\n\\s*"), "|");
    Body = std::regex_replace(Body, std::regex("^\\||\\|$"), "");
    EXPECT_EQ(Body, C.Body) << C.Value;
  }
}

TEST(ReportBuilder, ElapsedTimeText) {
  struct Case {
    long long Seconds;
    const char* Text;
  };
  const Case Cases[] = {
      {0, "00:00:00"},  {3, "00:00:03"},       {59, "00:00:59"},
      {61, "00:01:01"}, {3600, "01:00:00"},    {86399, "23:59:59"},
      {-5, "00:00:00"}, {360000, "100:00:00"}, // more than two hour digits stay whole
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(ElapsedTimeText(std::chrono::seconds(C.Seconds)), C.Text) << C.Seconds;
  }
}

TEST(ReportBuilder, TextsThatXmlCannotCarryStillGiveAWellFormedFile) {
  TGeneralReport Report("T", "");
  // Windows-1252 bytes, UTF-8, a control character and a broken UTF-8 sequence.
  Report.AddText("\x80 \xE9 \xC3\xA9 \x01 \xE2\x82");
  Report.BeginNode("cell").SetAttribute("html_style", "a\x02");
  const std::string Xml = Report.GetXMLText();
  xmlDoc* Doc = xmlReadMemory(Xml.data(), static_cast<int>(Xml.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  ASSERT_NE(Doc, nullptr) << Xml;
  xmlFreeDoc(Doc);
  EXPECT_NE(
      Xml.find("<text>\xE2\x82\xAC \xC3\xA9 \xC3\xA9 \xEF\xBF\xBD \xC3\xA2\xE2\x80\x9A</text>"),
      std::string::npos)
      << Xml;
  EXPECT_THROW(Report.BeginNode("not a name"), EGeneralReportException);
}

// ---------------------------------------------------------------------------------------------
// Saving

const char* const MinimalSheet = R"(<?xml version="1.0"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  %PARAM%
  <xsl:output method="html"/>
  <xsl:template match="/report"><p><xsl:value-of select="title"/></p></xsl:template>
</xsl:stylesheet>
)";

std::string SheetWith(const std::string& Param) {
  return std::regex_replace(MinimalSheet, std::regex("%PARAM%"), Param);
}

class ReportSaving : public ::testing::Test {
protected:
  RegistrySandbox Registry; // test mode off unless a test turns it on
  RecordingPresenter Presenter;
  TempDir Out;
  std::string Base() const { return Out.File("IDFReport_board.emn"); }
  std::string Sheet(const std::string& Text) const {
    WriteBytes(Out.File("sheet.xsl"), Text);
    return Out.File("sheet.xsl");
  }
};

TEST_F(ReportSaving, SaveReportRunsTheHostStylesheetOutsideTestMode) {
  TGeneralReport Report("IDF File Translation Report", "");
  Report.BeginReport();
  Report.AddTitleTable("Load Errors");
  Report.AddRow({"File : b.emn"});
  Report.EndTable();
  Report.EndReport();
  std::string Saved;
  ASSERT_TRUE(Report.SaveReport(Base(), Saved));
  EXPECT_EQ(Saved, Out.File("IDFReport_board.html"));
  const std::string Html = ReadBytes(Saved);
  EXPECT_NE(Html.find("<h1>IDF File Translation Report</h1>"), std::string::npos) << Html;
  EXPECT_NE(Html.find("<th>Load Errors</th>"), std::string::npos) << Html;
  EXPECT_NE(Html.find("<td>File : b.emn</td>"), std::string::npos) << Html;
  EXPECT_EQ(FilesIn(Out.Path()), (Names{"IDFReport_board.html"}));
  EXPECT_TRUE(Presenter.Boxes.empty());
}

TEST_F(ReportSaving, SaveReportWritesXmlInTestMode) {
  Registry.SetTestMode(true);
  TGeneralReport Report("Title", "");
  Report.WriteFrontMatter("IDF Board Filename", "board.emn");
  std::string Saved;
  ASSERT_TRUE(Report.SaveReport(Base(), Saved));
  EXPECT_EQ(Saved, Out.File("IDFReport_board.xml"));
  EXPECT_EQ(ReadBytes(Saved), Report.GetXMLText());
  EXPECT_EQ(FilesIn(Out.Path()), (Names{"IDFReport_board.xml"}));
}

TEST_F(ReportSaving, AnExistingReportIsReplacedWhole) {
  WriteBytes(Out.File("IDFReport_board.xml"), std::string(100000, 'x'));
  TGeneralReport Report("Title", "");
  std::string Saved;
  ASSERT_TRUE(Report.SaveXML(Base(), Saved));
  EXPECT_EQ(ReadBytes(Saved), Report.GetXMLText());
  EXPECT_EQ(FilesIn(Out.Path()), (Names{"IDFReport_board.xml"}));
}

TEST_F(ReportSaving, AMissingStylesheetShowsTheErrorBoxAndWritesNothing) {
  TGeneralReport Report("Title", "");
  std::string Saved = "previous";
  EXPECT_FALSE(Report.TransformToHTML(Base(), Out.File("none.xsl"), Saved));
  EXPECT_EQ(Saved, "");
  ASSERT_EQ(Presenter.Boxes.size(), 1u);
  EXPECT_EQ(Presenter.Boxes[0].Caption, "Error");
  EXPECT_EQ(Presenter.Boxes[0].Text, Out.File("none.xsl") + " does not exist");
  EXPECT_TRUE(fs::is_empty(Out.Path()));
}

TEST_F(ReportSaving, TheStylesheetMayNameTheFileExtension) {
  struct Case {
    const char* Param;
    const char* Saved;
  };
  const Case Cases[] = {
      {"", "IDFReport_board.html"},
      {R"(<xsl:param name="file_extension">htm</xsl:param>)", "IDFReport_board.htm"},
      {R"(<xsl:param name="file_extension"> .xhtml </xsl:param>)", "IDFReport_board.xhtml"},
      {R"(<xsl:param name="file_extension" select="'txt'"/>)", "IDFReport_board.txt"},
      {R"(<xsl:param name="other">txt</xsl:param>
          <xsl:param name="file_extension">htm</xsl:param>
          <xsl:param name="file_extension">txt</xsl:param>)",
       "IDFReport_board.htm"},
      // Only the stylesheet's own parameters count, not those of a template.
      {R"(<xsl:template name="t"><xsl:param name="file_extension">txt</xsl:param></xsl:template>)",
       "IDFReport_board.html"},
  };
  for (const Case& C : Cases) {
    const std::string StyleSheet = Sheet(SheetWith(C.Param));
    TGeneralReport Report("Title", "");
    std::string Saved;
    ASSERT_TRUE(Report.TransformToHTML(Base(), StyleSheet, Saved)) << C.Param;
    EXPECT_EQ(Saved, Out.File(C.Saved)) << C.Param;
    EXPECT_EQ(ReadBytes(Saved).substr(0, 12), "<p>Title</p>") << C.Param;
    fs::remove(Saved);
  }
}

// HTML stylesheets name their characters by entities of their own; none may go missing.
TEST_F(ReportSaving, TheStylesheetsEntitiesReachTheReport) {
  const std::string StyleSheet = Sheet(R"(<?xml version="1.0"?>
<!DOCTYPE xsl:stylesheet [<!ENTITY nbsp "&#160;">]>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html"/>
  <xsl:template match="/report"><p>a&nbsp;<xsl:value-of select="title"/></p></xsl:template>
</xsl:stylesheet>
)");
  TGeneralReport Report("Title", "");
  std::string Saved;
  ASSERT_TRUE(Report.TransformToHTML(Base(), StyleSheet, Saved));
  EXPECT_EQ(ReadBytes(Saved), "<p>a\xC2\xA0Title</p>\n");
}

TEST_F(ReportSaving, EngineErrorsAreShownAndRaised) {
  struct Case {
    const char* Name;
    std::string Text;
    const char* MessagePart;
  };
  const Case Cases[] = {
      {"not well-formed", "<xsl:stylesheet", "Couldn't find end of Start Tag"},
      {"no stylesheet", "<html/>", ""},
      {"terminating message",
       SheetWith(R"(<xsl:template match="/"><xsl:message terminate="yes">stop here</xsl:message>
                    </xsl:template>)"),
       "stop here"},
      {"unknown function",
       SheetWith(R"X(<xsl:template match="/"><xsl:value-of select="nowhere()"/></xsl:template>)X"),
       "nowhere"},
  };
  for (const Case& C : Cases) {
    Presenter.Boxes.clear();
    const std::string StyleSheet = Sheet(C.Text);
    TGeneralReport Report("Title", "");
    std::string Saved;
    std::string Message;
    try {
      Report.TransformToHTML(Base(), StyleSheet, Saved);
      ADD_FAILURE() << "no exception for " << C.Name;
    } catch (const EGeneralReportException& E) {
      Message = E.Message();
    }
    EXPECT_FALSE(Message.empty()) << C.Name;
    EXPECT_NE(Message.find(C.MessagePart), std::string::npos) << C.Name << ": " << Message;
    ASSERT_EQ(Presenter.Boxes.size(), 1u) << C.Name;
    EXPECT_EQ(Presenter.Boxes[0].Text, "Error using " + StyleSheet + "\n\n" + Message) << C.Name;
    EXPECT_EQ(FilesIn(Out.Path()), (Names{"sheet.xsl"})) << C.Name;
  }
}

TEST_F(ReportSaving, AReportInUseIsLeftUntouched) {
  const std::string Target = Out.File("IDFReport_board.xml");
  WriteBytes(Target, "the old report");
  test::ForeignLock Lock(Target, test::LockStyle::Record);
  TGeneralReport Report("Title", "");
  std::string Saved;
  EXPECT_FALSE(Report.SaveXML(Base(), Saved));
  EXPECT_EQ(ReadBytes(Target), "the old report");
  ASSERT_EQ(Presenter.Boxes.size(), 1u);
  EXPECT_NE(Presenter.Boxes[0].Text.find(Target), std::string::npos);
  EXPECT_EQ(FilesIn(Out.Path()), (Names{"IDFReport_board.xml"}));
}

TEST_F(ReportSaving, AFolderThatCannotTakeTheReportRaises) {
  TGeneralReport Report("Title", "");
  std::string Saved;
  EXPECT_THROW(Report.SaveXML(Out.File("missing/IDFReport_board.emn"), Saved),
               EGeneralReportException);
  // A folder where the report's own name is taken by a folder: the move fails.
  fs::create_directory(Out.File("IDFReport_board.xml"));
  fs::create_directory(Out.File("IDFReport_board.xml/inside"));
  EXPECT_THROW(Report.SaveXML(Base(), Saved), EGeneralReportException);
  EXPECT_EQ(FilesIn(Out.Path()), (Names{"IDFReport_board.xml"}));
}

} // namespace
} // namespace qbt
