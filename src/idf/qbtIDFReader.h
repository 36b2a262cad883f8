// Reading IDF files: the tokenizer with its two markers, the number, date and keyword fields,
// the section table, and the error texts of a failed read. The section readers themselves are
// the LoadFromText bodies of the board and library files (qbtIDFReader.cpp).
#pragma once

#include "idf/qbtIDFBase.h"
#include "idf/qbtIDFModel.h"
#include "platform/Classes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Tokens

// The two markers are kinds of their own, so that bytes 1 and 2 in a file stay ordinary text.
enum TQBTIDFTokenKind : uint8_t { tkEndOfLine = 0, tkEndOfText = 1, tkQuoted = 2, tkPlain = 3 };

// A token is a view into the text being read; it is valid as long as that text is.
struct TQBTIDFToken {
  TQBTIDFTokenKind Kind = tkEndOfText;
  std::string_view Text;

  bool IsMarker() const { return Kind == tkEndOfLine || Kind == tkEndOfText; }
  // Whether this is a plain or quoted token equal to Keyword, ignoring ASCII case.
  bool Is(std::string_view Keyword) const;
};

// The text of a token as error messages show it: markers by name, long tokens cut short.
std::string TokenDisplayText(const TQBTIDFToken& Token);

// One token from the 1-based character index Pos, markers included. Updates ReadPosition to
// where the scan begins and LastTokenQuoted.
void NextToken(std::string_view Text, int32_t& Pos, TQBTIDFToken& Token);
// NextToken repeated while it returns the end-of-line marker.
void NextTokenSkipEOL(std::string_view Text, int32_t& Pos, TQBTIDFToken& Token);

// ---------------------------------------------------------------------------------------------
// Fields

// Finite decimal numbers with "." only: an optional sign, digits with an optional fraction and
// an optional exponent. No blanks, "nan", "inf" or hexadecimal.
bool TextToIDFFloat(std::string_view S, long double& Value);
// An optional sign and decimal digits within the range of int32.
bool TextToIDFInteger(std::string_view S, int32_t& Value);

long double ReadFloat(std::string_view Text, int32_t& Pos);
int32_t ReadInteger(std::string_view Text, int32_t& Pos);
// A date-time (days since 1899-12-30) read with StrToIDFDate.
double ReadDate(std::string_view Text, int32_t& Pos);
// The optional owner at the end of a version 3.0 section line; owUnowned when it is missing or
// not recognised, and always in version 2.0 files, whose lines carry none.
TQBTIDFOwner ReadOwner(std::string_view Text, int32_t& Pos, TQBTIDFVerNumber Version);
// Raises "Token %S were expected but %S found" unless the next token is Expected.
void ExpectToken(std::string_view Text, std::string_view Expected, int32_t& Pos);

// The header date: year/month/day first, then month/day/year; "." between date and time.
double StrToIDFDate(std::string_view S);
// The date parser of the process settings: the order of year, month and day is that of
// FormatSettings().ShortDateFormat; DateSeparator and TimeSeparator separate the parts.
bool TryStrToDateTime(std::string_view S, double& DateTime);

// ---------------------------------------------------------------------------------------------
// Sections

enum TQBTIDFSectionID : int32_t {
  siHeader = 1,
  siBoardOutline = 2,
  siOtherOutline = 3,
  siRouteOutline = 4,
  siPlaceOutline = 5,
  siRouteKeepOut = 6,
  siViaKeepOut = 7,
  siPlaceKeepOut = 8,
  siPlaceRegion = 9,
  siDrilledHoles = 10,
  siPlacement = 11,
  siPanelOutline = 12,
  siNotes = 13,
  siElectrical = 14,
  siMechanical = 15,
};

// The section keywords, sorted and compared without regard to case.
void FillSectionTable(TStringList& Table);
// The ID of Keyword in a table made by FillSectionTable, 0 when it is no section keyword.
int32_t FindSection(const TStringList& Table, std::string_view Keyword);

// ---------------------------------------------------------------------------------------------
// Read errors

// The load-error text of a failed read of FileName at ReadPosition.
std::string FormatReadError(const std::string& FileName, const std::string& Message);
// The name of the file of File that was being read when reading stopped (ReadPosition.FileKind).
std::string ReadErrorFileName(const TQBTIDFFile& File);

// The file to read for a name the model derives: that name, or when it does not exist a file of
// the same folder whose name equals it ignoring case (X.EMN and X.EMP, written on systems that
// ignore case, for the derived X.emn and X.emp).
std::string FindFileIgnoringCase(const std::string& LibraryFileName);

} // namespace qbt
