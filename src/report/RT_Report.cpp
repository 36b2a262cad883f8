#include "report/RT_Report.h"

#include "platform/Dialogs.h"
#include "platform/HostFiles.h"
#include "platform/Registry.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>
#include <unistd.h>

namespace qbt {

namespace {

const xmlChar* X(const char* S) {
  return reinterpret_cast<const xmlChar*>(S);
}
const char* C(const xmlChar* S) {
  return reinterpret_cast<const char*>(S);
}

xmlNode* NodeOf(void* P) {
  return static_cast<xmlNode*>(P);
}

// Windows-1252 characters of the bytes 0x80 to 0x9F; the system's texts come from that code
// page when they are not UTF-8. Unassigned bytes map to the replacement character.
constexpr std::array<char32_t, 32> Cp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& Out, char32_t Cp) {
  if (Cp < 0x80) {
    Out += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    Out += static_cast<char>(0xC0 | (Cp >> 6));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    Out += static_cast<char>(0xE0 | (Cp >> 12));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Cp >> 18));
    Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence at S[I], 0 when there is none.
size_t Utf8SequenceAt(std::string_view S, size_t I, char32_t& Cp) {
  const auto B = [&](size_t K) { return static_cast<unsigned char>(S[I + K]); };
  const unsigned char Lead = B(0);
  size_t Length = 0;
  char32_t Min = 0;
  if (Lead >= 0xC2 && Lead <= 0xDF) {
    Length = 2, Cp = Lead & 0x1F, Min = 0x80;
  } else if (Lead >= 0xE0 && Lead <= 0xEF) {
    Length = 3, Cp = Lead & 0x0F, Min = 0x800;
  } else if (Lead >= 0xF0 && Lead <= 0xF4) {
    Length = 4, Cp = Lead & 0x07, Min = 0x10000;
  } else {
    return 0;
  }
  if (S.size() - I < Length) {
    return 0;
  }
  for (size_t K = 1; K < Length; ++K) {
    if ((B(K) & 0xC0) != 0x80) {
      return 0;
    }
    Cp = (Cp << 6) | (B(K) & 0x3F);
  }
  if (Cp < Min || Cp > 0x10FFFF || (Cp >= 0xD800 && Cp <= 0xDFFF)) {
    return 0;
  }
  return Length;
}

bool IsXmlChar(char32_t Cp) {
  return Cp == 0x9 || Cp == 0xA || Cp == 0xD || (Cp >= 0x20 && Cp <= 0xD7FF) ||
         (Cp >= 0xE000 && Cp <= 0xFFFD) || (Cp >= 0x10000 && Cp <= 0x10FFFF);
}

// Text that an XML document can hold: UTF-8 stays, other bytes are read as Windows-1252, and
// characters XML cannot carry become the replacement character, so the saved report always
// parses again.
std::string XmlText(std::string_view S) {
  std::string Out;
  Out.reserve(S.size());
  for (size_t I = 0; I < S.size();) {
    const unsigned char Byte = static_cast<unsigned char>(S[I]);
    char32_t Cp = Byte;
    size_t Length = 1;
    if (Byte >= 0x80) {
      Length = Utf8SequenceAt(S, I, Cp);
      if (Length == 0) {
        Length = 1;
        Cp = Byte < 0xA0 ? Cp1252High[Byte - 0x80] : Byte;
      }
    }
    AppendUtf8(Out, IsXmlChar(Cp) ? Cp : 0xFFFD);
    I += Length;
  }
  return Out;
}

xmlNode* NewElement(xmlNode* Parent, std::string_view Name) {
  const std::string N(Name);
  if (xmlValidateName(X(N.c_str()), 0) != 0) {
    throw EGeneralReportException(Format("Invalid element name \"%s\"", {XmlText(Name)}));
  }
  xmlNode* Node = xmlNewDocNode(Parent->doc, nullptr, X(N.c_str()), nullptr);
  if (Node == nullptr) {
    throw EGeneralReportException("Out of memory");
  }
  xmlAddChild(Parent, Node);
  return Node;
}

void AddContent(xmlNode* Node, std::string_view Text) {
  const std::string T = XmlText(Text);
  if (!T.empty()) {
    xmlNodeAddContentLen(Node, X(T.c_str()), static_cast<int>(T.size()));
  }
}

std::string TakeXmlString(xmlChar* S) {
  std::string Result = S != nullptr ? C(S) : "";
  xmlFree(S);
  return Result;
}

bool IsElement(const xmlNode* Node, const char* Name) {
  return Node != nullptr && Node->type == XML_ELEMENT_NODE && xmlStrcmp(Node->name, X(Name)) == 0;
}

// The error record's pointer type differs between versions of the XML engine (const or not).
template <class T>
struct TSecondArgument;
template <class R, class A, class B>
struct TSecondArgument<R (*)(A, B)> {
  using Type = B;
};
using TEngineErrorPtr = TSecondArgument<xmlStructuredErrorFunc>::Type;

// Collects the messages of the XML and XSLT engines while it lives.
class TEngineErrors {
public:
  TEngineErrors() {
    xmlSetStructuredErrorFunc(this, &TEngineErrors::Structured);
    xmlSetGenericErrorFunc(this, &TEngineErrors::Generic);
    xsltSetGenericErrorFunc(this, &TEngineErrors::Generic);
  }
  ~TEngineErrors() {
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    xsltSetGenericErrorFunc(nullptr, nullptr);
  }
  TEngineErrors(const TEngineErrors&) = delete;
  TEngineErrors& operator=(const TEngineErrors&) = delete;

  // The collected text, or Fallback when the engine said nothing.
  std::string Text(std::string_view Fallback) const {
    const std::string T = Trim(FText);
    return T.empty() ? std::string(Fallback) : T;
  }

private:
  static void Structured(void* Context, TEngineErrorPtr Error) {
    auto* Self = static_cast<TEngineErrors*>(Context);
    if (Error == nullptr || Error->message == nullptr) {
      return;
    }
    if (!Self->FText.empty() && Self->FText.back() != '\n') {
      Self->FText += '\n';
    }
    if (Error->line > 0) {
      Self->FText += Format("Line %d: ", {std::to_string(Error->line)});
    }
    Self->FText += Error->message;
  }
  static void Generic(void* Context, const char* Pattern, ...) {
    auto* Self = static_cast<TEngineErrors*>(Context);
    std::array<char, 2048> Buffer{};
    va_list Args;
    va_start(Args, Pattern);
    std::vsnprintf(Buffer.data(), Buffer.size(), Pattern, Args);
    va_end(Args);
    Self->FText += Buffer.data();
  }

  std::string FText;
};

// The output extension a stylesheet declares in its top-level "file_extension" parameter.
std::string DeclaredExtension(const xmlDoc* StyleDoc) {
  const xmlNode* Root = xmlDocGetRootElement(StyleDoc);
  for (const xmlNode* Child = Root ? Root->children : nullptr; Child; Child = Child->next) {
    if (!IsElement(Child, "param") || Child->ns == nullptr ||
        xmlStrcmp(Child->ns->href, XSLT_NAMESPACE) != 0) {
      continue;
    }
    if (TakeXmlString(xmlGetProp(Child, X("name"))) != "file_extension") {
      continue;
    }
    std::string Value = Trim(TakeXmlString(xmlNodeGetContent(Child)));
    if (Value.empty()) {
      // A string literal in "select" says the same as content.
      Value = Trim(TakeXmlString(xmlGetProp(Child, X("select"))));
      if (Value.size() >= 2 && (Value.front() == '\'' || Value.front() == '"') &&
          Value.back() == Value.front()) {
        Value = Value.substr(1, Value.size() - 2);
      } else {
        Value.clear();
      }
    }
    if (Value.empty()) {
      break;
    }
    return Value.front() == '.' ? Value : "." + Value;
  }
  return ".html";
}

[[noreturn]] void FailWithStyleSheet(const std::string& StyleSheet, const std::string& Message) {
  ShowErrorBox("Error using " + StyleSheet + "\n\n" + Message, "Error");
  throw EGeneralReportException(Message);
}

void WriteWholeFile(const std::string& FileName, const std::string& Bytes) {
  std::FILE* F = std::fopen(FileName.c_str(), "wb");
  bool Ok = F != nullptr;
  int Error = errno;
  if (Ok) {
    Ok = std::fwrite(Bytes.data(), 1, Bytes.size(), F) == Bytes.size() && std::fflush(F) == 0 &&
         ::fsync(fileno(F)) == 0;
    Error = errno;
    Ok = (std::fclose(F) == 0) && Ok;
  }
  if (!Ok) {
    throw EGeneralReportException(
        Format("Cannot write file \"%s\". %s", {FileName, SysErrorMessage(Error)}));
  }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Elements

std::string TReportElement::Name() const {
  return FNode != nullptr ? C(NodeOf(FNode)->name) : "";
}

void TReportElement::SetAttribute(std::string_view Name, std::string_view Value) {
  const std::string N(Name);
  if (FNode == nullptr || xmlValidateName(X(N.c_str()), 0) != 0) {
    throw EGeneralReportException(Format("Invalid attribute name \"%s\"", {XmlText(Name)}));
  }
  xmlSetProp(NodeOf(FNode), X(N.c_str()), X(XmlText(Value).c_str()));
}

std::string ElapsedTimeText(std::chrono::seconds Elapsed) {
  const long long Total = Elapsed.count() < 0 ? 0 : Elapsed.count();
  const auto TwoDigits = [](long long V) { return (V < 10 ? "0" : "") + std::to_string(V); };
  std::string Text =
      TwoDigits(Total / 3600) + ":" + TwoDigits(Total / 60 % 60) + ":" + TwoDigits(Total % 60);
  if (Text.size() < 8) {
    Text.append(8 - Text.size(), ' ');
  }
  return Text;
}

// ---------------------------------------------------------------------------------------------
// The report

struct TBaseReport::TDocument {
  xmlDoc* Doc = nullptr;
  xmlNode* Current = nullptr;

  TDocument() {
    xmlInitParser();
    Doc = xmlNewDoc(X("1.0"));
    xmlNode* Root = Doc ? xmlNewDocNode(Doc, nullptr, X("report"), nullptr) : nullptr;
    if (Root == nullptr) {
      xmlFreeDoc(Doc);
      throw EGeneralReportException("Out of memory");
    }
    xmlDocSetRootElement(Doc, Root);
    Current = Root;
  }
  ~TDocument() { xmlFreeDoc(Doc); }
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;
};

TBaseReport::TBaseReport(std::string_view Title, std::string_view FileName)
    : FDocument(std::make_unique<TDocument>()), FFileName(FileName), FStart(Now()),
      FStartClock(std::chrono::steady_clock::now()) {
  AddTextElement("title", Title);
  AddTextElement("resource_path", HostTemplatesFolder());
}

TBaseReport::~TBaseReport() = default;

TReportElement TBaseReport::Root() const {
  return TReportElement(xmlDocGetRootElement(FDocument->Doc));
}

TReportElement TBaseReport::Current() const {
  return TReportElement(FDocument->Current);
}

void TBaseReport::RequireCurrent(std::string_view Name, std::string_view Message) const {
  if (!IsElement(FDocument->Current, std::string(Name).c_str())) {
    throw EGeneralReportException(std::string(Message));
  }
}

void TBaseReport::BeginReport() {
  FStart = Now();
  FStartClock = std::chrono::steady_clock::now();
  AddTextElement("date", DateToStr(FStart));
  AddTextElement("time", TimeToStr(FStart));
  if (!FFileName.empty()) {
    BeginNode("filename");
    AddFile(FFileName, FFileName);
    EndNode();
  }
}

void TBaseReport::EndReport() {
  RequireCurrent("report", "Improperly placed EndReport");
  const auto Elapsed = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::steady_clock::now() - FStartClock);
  AddTextElement("elapsed_time", ElapsedTimeText(Elapsed));
}

TReportElement TBaseReport::BeginNode(std::string_view Name) {
  FDocument->Current = NewElement(FDocument->Current, Name);
  return TReportElement(FDocument->Current);
}

void TBaseReport::EndNode() {
  xmlNode* Parent = FDocument->Current->parent;
  // The root's parent is the document itself, where nothing can be added.
  if (Parent == nullptr || Parent->type != XML_ELEMENT_NODE) {
    throw EGeneralReportException("Improperly placed EndNode");
  }
  FDocument->Current = Parent;
}

TReportElement TBaseReport::AddElement(std::string_view Name) {
  return TReportElement(NewElement(FDocument->Current, Name));
}

TReportElement TBaseReport::AddTextElement(std::string_view Name, std::string_view Text) {
  xmlNode* Node = NewElement(FDocument->Current, Name);
  AddContent(Node, Text);
  return TReportElement(Node);
}

void TBaseReport::AddText(std::string_view Text) {
  AddTextElement("text", Text);
}

void TBaseReport::LineBreak() {
  AddElement("linebreak");
}

void TBaseReport::AddValue(std::string_view Value, bool SplitLines) {
  if (!SplitLines) {
    AddText(Value);
    return;
  }
  size_t Start = 0;
  for (size_t Cr = Value.find('\r'); Cr != std::string_view::npos; Cr = Value.find('\r', Start)) {
    const std::string_view Piece = Value.substr(Start, Cr - Start);
    if (!Piece.empty()) {
      AddText(Piece);
      LineBreak();
    }
    Start = Cr + 1;
  }
  AddText(Value.substr(Start));
}

TReportElement TBaseReport::AddFile(std::string_view Text, std::string_view FileName) {
  TReportElement File = AddTextElement("file", Text);
  File.SetAttribute("filename", FileName);
  return File;
}

TReportElement TBaseReport::BeginTable(std::string_view Title, uint32_t Flags) {
  TReportElement Table = BeginNode("table");
  if (Flags & tfSuppressTitle) {
    Table.SetAttribute("suppress_title", "true");
  }
  if (Flags & tfNumericTotals) {
    Table.SetAttribute("numeric_totals", "true");
  }
  AddTextElement("title", Title);
  return Table;
}

void TBaseReport::AddTitleTable(std::string_view Title) {
  BeginTable(Title, tfSuppressTitle);
  BeginColumns(true);
  EndColumns();
}

void TBaseReport::BeginColumns(bool UseTitle) {
  TReportElement Columns = BeginNode("columns");
  if (UseTitle) {
    Columns.SetAttribute("use", "title");
  }
}

void TBaseReport::EndColumns() {
  RequireCurrent("columns", "Improperly placed EndColumns");
  FDocument->Current = FDocument->Current->parent;
}

void TBaseReport::EndTable() {
  RequireCurrent("table", "Improperly placed EndTable");
  xmlNode* Table = FDocument->Current;
  const auto CellCount = [](const xmlNode* Row) {
    int Count = 0;
    for (const xmlNode* Cell = Row->children; Cell; Cell = Cell->next) {
      Count += IsElement(Cell, "td") || IsElement(Cell, "th") ? 1 : 0;
    }
    return Count;
  };
  int Widest = 0;
  for (const xmlNode* Row = Table->children; Row; Row = Row->next) {
    if (IsElement(Row, "tr")) {
      Widest = std::max(Widest, CellCount(Row));
    }
  }
  if (Widest > 0) {
    const std::string Span = std::to_string(Widest);
    for (xmlNode* Row = Table->children; Row; Row = Row->next) {
      if (!IsElement(Row, "tr")) {
        continue;
      }
      const int Count = CellCount(Row);
      xmlNode* OnlyCell = nullptr;
      for (xmlNode* Cell = Row->children; Cell && Count == 1; Cell = Cell->next) {
        if (IsElement(Cell, "td") || IsElement(Cell, "th")) {
          OnlyCell = Cell;
        }
      }
      // A lone heading spans the table; other short rows are filled up with empty cells.
      if (Count == 1 && IsElement(OnlyCell, "th") && Widest > 1) {
        xmlSetProp(OnlyCell, X("colspan"), X(Span.c_str()));
        continue;
      }
      for (int I = Count; I < Widest; ++I) {
        NewElement(Row, "td");
      }
    }
  }
  FDocument->Current = Table->parent;
}

void TBaseReport::BeginRow(std::string_view Style) {
  TReportElement Row = BeginNode("row");
  if (!Style.empty()) {
    Row.SetAttribute("html_style", Style);
  }
}

void TBaseReport::EndRow() {
  RequireCurrent("row", "Improperly placed EndRow");
  FDocument->Current = FDocument->Current->parent;
}

void TBaseReport::BeginCell(std::string_view Style) {
  TReportElement Cell = BeginNode("cell");
  if (!Style.empty()) {
    Cell.SetAttribute("html_style", Style);
  }
}

void TBaseReport::EndCell() {
  RequireCurrent("cell", "Improperly placed EndCell");
  FDocument->Current = FDocument->Current->parent;
}

void TBaseReport::AddRow(const std::vector<std::string>& Values,
                         const std::vector<std::string>& Styles) {
  BeginRow();
  for (size_t I = 0; I < Values.size(); ++I) {
    BeginCell(I < Styles.size() ? std::string_view(Styles[I]) : std::string_view());
    AddValue(Values[I]);
    EndCell();
  }
  EndRow();
}

void TBaseReport::BeginFrontMatter(std::string_view Name) {
  BeginNode("frontmatter");
  AddTextElement("name", Name);
}

void TBaseReport::EndFrontMatter() {
  RequireCurrent("frontmatter", "Improperly placed EndFrontMatter");
  FDocument->Current = FDocument->Current->parent;
}

void TBaseReport::WriteFrontMatter(std::string_view Name, std::string_view Value) {
  RequireCurrent("report", "Improperly placed WriteFrontMatter");
  BeginFrontMatter(Name);
  AddValue(Value);
  EndFrontMatter();
}

// ---------------------------------------------------------------------------------------------
// Saving

std::string TBaseReport::GetXMLText() const {
  xmlChar* Buffer = nullptr;
  int Size = 0;
  xmlDocDumpFormatMemoryEnc(FDocument->Doc, &Buffer, &Size, "UTF-8", 1);
  std::string Text(Buffer != nullptr ? C(Buffer) : "", Buffer != nullptr ? Size : 0);
  xmlFree(Buffer);
  return Text;
}

bool TBaseReport::ReplaceWithTempFile(const std::string& Bytes, const std::string& SavedName) {
  // Beside the target, so that the move stays on one file system and replaces in one step.
  std::string TempName;
  try {
    TempName = HostCreateTempFile(ExtractFilePath(SavedName), "Pro");
  } catch (const Exception& E) {
    throw EGeneralReportException(E.Message());
  }
  try {
    WriteWholeFile(TempName, Bytes);
  } catch (...) {
    DeleteFile(TempName);
    throw;
  }
  if (HostIsFileInUse(SavedName)) {
    ShowFileInUseNotice(SavedName);
    DeleteFile(TempName);
    return false;
  }
  if (!HostReplaceFile(TempName, SavedName)) {
    const int Error = errno;
    DeleteFile(TempName);
    throw EGeneralReportException(
        Format("Cannot create file \"%s\". %s", {SavedName, SysErrorMessage(Error)}));
  }
  return true;
}

bool TBaseReport::SaveReport(const std::string& BaseName, std::string& SavedName) {
  if (IsTestMode()) {
    return SaveXML(BaseName, SavedName);
  }
  return TransformToHTML(BaseName, HostTemplatesFolder() + "report_html_default.xsl", SavedName);
}

bool TBaseReport::TransformToHTML(const std::string& BaseName, const std::string& StyleSheet,
                                  std::string& SavedName) {
  SavedName.clear();
  if (!HostFileExists(StyleSheet)) {
    ShowErrorBox(StyleSheet + " does not exist", "Error");
    return false;
  }

  std::string Output;
  {
    TEngineErrors Errors;
    // Read as the XSLT engine reads its own stylesheets, so that their entities are expanded
    // (a reference left in a template is dropped from the output), but from local files only.
    xmlDoc* StyleDoc =
        xmlReadFile(StyleSheet.c_str(), nullptr, XSLT_PARSE_OPTIONS | XML_PARSE_NONET);
    if (StyleDoc == nullptr) {
      FailWithStyleSheet(StyleSheet, Errors.Text("The stylesheet cannot be read"));
    }
    SavedName = ChangeFileExt(BaseName, DeclaredExtension(StyleDoc));

    xsltStylesheet* Sheet = xsltParseStylesheetDoc(StyleDoc);
    if (Sheet == nullptr || Sheet->errors != 0) {
      // Without a stylesheet the document is still ours to free.
      if (Sheet != nullptr) {
        xsltFreeStylesheet(Sheet);
      } else {
        xmlFreeDoc(StyleDoc);
      }
      FailWithStyleSheet(StyleSheet, Errors.Text("The stylesheet is not valid"));
    }

    xsltTransformContext* Context = xsltNewTransformContext(Sheet, FDocument->Doc);
    xsltSecurityPrefs* Security = xsltNewSecurityPrefs();
    // A report stylesheet only renders the document: it writes and fetches nothing.
    if (Security != nullptr) {
      xsltSetSecurityPrefs(Security, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
      xsltSetSecurityPrefs(Security, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
      xsltSetSecurityPrefs(Security, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
      xsltSetSecurityPrefs(Security, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
      if (Context != nullptr) {
        xsltSetCtxtSecurityPrefs(Security, Context);
      }
    }
    xmlDoc* Result = Context != nullptr ? xsltApplyStylesheetUser(Sheet, FDocument->Doc, nullptr,
                                                                  nullptr, nullptr, Context)
                                        : nullptr;
    const bool Failed = Result == nullptr || Context->state == XSLT_STATE_ERROR ||
                        Context->state == XSLT_STATE_STOPPED;
    xmlChar* Text = nullptr;
    int Length = 0;
    if (!Failed && xsltSaveResultToString(&Text, &Length, Result, Sheet) == 0 && Text != nullptr) {
      Output.assign(C(Text), static_cast<size_t>(Length));
    }
    xmlFree(Text);
    xmlFreeDoc(Result);
    if (Context != nullptr) {
      xsltFreeTransformContext(Context);
    }
    xsltFreeSecurityPrefs(Security);
    xsltFreeStylesheet(Sheet);
    if (Failed) {
      FailWithStyleSheet(StyleSheet, Errors.Text("The transformation failed"));
    }
  }
  return ReplaceWithTempFile(Output, SavedName);
}

bool TBaseReport::SaveXML(const std::string& BaseName, std::string& SavedName) {
  SavedName = ChangeFileExt(BaseName, ".xml");
  return ReplaceWithTempFile(GetXMLText(), SavedName);
}

} // namespace qbt
