// The IDF text of every record, section and file, and the saving of the files.
#include "idf/qbtIDFModel.h"
#include "idf/qbtIDFParams.h"
#include "platform/DateUtils.h"

#include <string>
#include <string_view>

namespace qbt {

namespace {

constexpr std::string_view CRLF = "\r\n";

// The owner of a record: its keyword after a blank in version 3.0, a blank alone in 2.0.
void AppendOwnerText(std::string& Text, TQBTIDFVerNumber Version, TQBTIDFOwner Owner) {
  Text += ' ';
  if (Version == vn30) {
    Text += IDFOwnerKeywords[Owner];
  }
}

void TrimTrailingBlanks(std::string& Text, size_t From) {
  while (Text.size() > From && Text.back() == ' ') {
    Text.pop_back();
  }
}

// The points' lines joined by CR LF, without a final line break.
void AppendPointLines(std::string& Text, const TQBTIDFPointsList& Points, bool Relabel = false,
                      int32_t Label = 0) {
  for (int I = 0; I < Points.Count(); ++I) {
    if (I > 0) {
      Text += CRLF;
    }
    const TQBTIDFPointItem* Point = Points.PointItems(I);
    if (!Relabel) {
      Point->AppendText(Text);
      continue;
    }
    AppendIntToIDF(Text, Label);
    Text += ' ';
    AppendFloatToIDF(Text, Point->X);
    Text += ' ';
    AppendFloatToIDF(Text, Point->Y);
    Text += ' ';
    AppendFloatToIDF(Text, Point->InclAngle);
  }
}

// A number of a property value: 15 significant digits, without the ".0" of lengths.
void AppendPropNumber(std::string& Text, double Value) {
  const size_t Start = Text.size();
  AppendFloatToIDF(Text, Value);
  const std::string_view Written(Text.data() + Start, Text.size() - Start);
  if (Written.size() > 2 && Written.find('E') == std::string_view::npos &&
      Written.substr(Written.size() - 2) == ".0") {
    Text.resize(Text.size() - 2);
  }
}

void AppendTwoDigits(std::string& Text, int32_t V) {
  Text += static_cast<char>('0' + V / 10 % 10);
  Text += static_cast<char>('0' + V % 10);
}

void AppendSectionText(std::string& Text, std::string& Scratch, const TQBTIDFFileItems& Items) {
  Items.GetText(Scratch);
  if (!Scratch.empty()) {
    Text += Scratch;
    Text += CRLF;
  }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Field encodings

void AppendQuoteIDF(std::string& Out, std::string_view Text) {
  bool NeedsQuotes = Text.empty() || Text.front() == '#';
  for (char C : Text) {
    if (C == ' ' || C == '\r' || C == '\n' || C == '\0') {
      NeedsQuotes = true;
      break;
    }
  }
  if (NeedsQuotes) {
    Out += '"';
  }
  for (size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    switch (C) {
    case '"':
      Out += '\'';
      break;
    case '\r':
      // CR LF is one line break, and one blank.
      if (I + 1 < Text.size() && Text[I + 1] == '\n') {
        ++I;
      }
      Out += ' ';
      break;
    case '\n':
    case '\0': // would end the text when it is saved
      Out += ' ';
      break;
    default:
      Out += C;
    }
  }
  if (NeedsQuotes) {
    Out += '"';
  }
}

namespace {

// A name field (other outline identifier, property name) is written as it stands, unless it would
// not read back as the one token it is: empty, with blanks or line breaks, or read as a comment.
void AppendNameIDF(std::string& Out, std::string_view Name) {
  const bool AsItStands = !Name.empty() && Name.front() != '#' && Name.front() != '"' &&
                          Name.find_first_of(std::string_view(" \r\n\0", 4)) == Name.npos;
  if (AsItStands) {
    Out += Name;
  } else {
    AppendQuoteIDF(Out, Name);
  }
}

} // namespace

std::string QuoteIDF(std::string_view Text) {
  std::string S;
  AppendQuoteIDF(S, Text);
  return S;
}

void AppendDateToIDF(std::string& Out, double Date) {
  const TDateTimeRec P = DecodeDateTime(Date);
  AppendTwoDigits(Out, P.Year / 100);
  AppendTwoDigits(Out, P.Year % 100);
  Out += '/';
  AppendTwoDigits(Out, P.Month);
  Out += '/';
  AppendTwoDigits(Out, P.Day);
  Out += '.';
  AppendTwoDigits(Out, P.Hour);
  Out += ':';
  AppendTwoDigits(Out, P.Minute);
  Out += ':';
  AppendTwoDigits(Out, P.Second);
}

std::string DateToIDF(double Date) {
  std::string S;
  AppendDateToIDF(S, Date);
  return S;
}

// ---------------------------------------------------------------------------------------------
// Records with an outline

void TQBTIDFPointsListItem::GetText(std::string& Text) const {
  Points.GetText(Text);
}

void TQBTIDFBoardFileItem::AppendSection(std::string& Text, std::string_view Keyword,
                                         std::string_view SecondLine,
                                         std::string_view EndKeyword) const {
  if (Points.Count() == 0) {
    return;
  }
  Text += Keyword;
  AppendOwnerText(Text, Version(), Owner);
  Text += CRLF;
  if (!SecondLine.empty()) {
    Text += SecondLine;
    Text += CRLF;
  }
  AppendPointLines(Text, Points);
  Text += CRLF;
  Text += EndKeyword;
}

void TQBTIDFOtherOutline::GetText(std::string& Text) const {
  Text.clear();
  std::string Second;
  AppendNameIDF(Second, Identifier);
  Second += ' ';
  AppendFloatToIDF(Second, Thickness);
  if (Version() == vn30) {
    Second += ' ';
    Second += IDFBoardSideKeywords[Side];
  }
  AppendSection(Text, ".OTHER_OUTLINE", Second, ".END_OTHER_OUTLINE");
}

void TQBTIDFRouteOutline::GetText(std::string& Text) const {
  Text.clear();
  AppendSection(Text, ".ROUTE_OUTLINE", Version() == vn30 ? IDFRouteLayersKeywords[Layers] : "",
                ".END_ROUTE_OUTLINE");
}

void TQBTIDFPlaceOutline::GetText(std::string& Text) const {
  Text.clear();
  std::string Second;
  if (Version() == vn30) {
    Second = IDFBoardSideKeywords[Side];
    Second += ' ';
    AppendFloatToIDF(Second, Height);
  }
  AppendSection(Text, ".PLACE_OUTLINE", Second, ".END_PLACE_OUTLINE");
}

void TQBTIDFRouteKeepOut::GetText(std::string& Text) const {
  Text.clear();
  AppendSection(Text, ".ROUTE_KEEPOUT", IDFRouteLayersKeywords[Layers], ".END_ROUTE_KEEPOUT");
}

void TQBTIDFViaKeepOut::GetText(std::string& Text) const {
  Text.clear();
  AppendSection(Text, ".VIA_KEEPOUT", "", ".END_VIA_KEEPOUT");
}

void TQBTIDFPlaceKeepOut::GetText(std::string& Text) const {
  Text.clear();
  std::string Second = IDFBoardSideKeywords[Side];
  Second += ' ';
  AppendFloatToIDF(Second, Height);
  if (Version() == vn20) {
    Second += ' ';
    AppendFloatToIDF(Second, SecondHeight);
  }
  AppendSection(Text, ".PLACE_KEEPOUT", Second, ".END_PLACE_KEEPOUT");
}

void TQBTIDFPlaceRegion::GetText(std::string& Text) const {
  Text.clear();
  std::string Second = IDFBoardSideKeywords[Side];
  Second += ' ';
  AppendQuoteIDF(Second, GroupName);
  AppendSection(Text, ".PLACE_REGION", Second, ".END_PLACE_REGION");
}

// ---------------------------------------------------------------------------------------------
// Drilled holes and placement

void TQBTIDFDrilledHole::AppendText(std::string& Text, TQBTIDFVerNumber V) const {
  const size_t Start = Text.size();
  AppendFloatToIDF(Text, Diameter);
  Text += ' ';
  AppendFloatToIDF(Text, X);
  Text += ' ';
  AppendFloatToIDF(Text, Y);
  Text += ' ';
  Text += IDFPlatingKeywords[Plating];
  Text += ' ';
  if (AssocPart == apRefDes) {
    AppendQuoteIDF(Text, AssocPartName);
  } else {
    Text += IDFAssocPartKeywords[AssocPart];
  }
  Text += ' ';
  if (V == vn30) {
    if (HoleType == htOther) {
      AppendQuoteIDF(Text, HoleTypeName);
    } else {
      Text += IDFHoleTypeKeywords[HoleType];
    }
  }
  AppendOwnerText(Text, V, Owner);
  TrimTrailingBlanks(Text, Start);
}

void TQBTIDFDrilledHole::GetText(std::string& Text) const {
  Text.clear();
  AppendText(Text);
}

void TQBTIDFDrilledHoles::GetText(std::string& Text) const {
  Text.clear();
  AppendText(Text);
}

namespace {

// A section of one line group per record, between its keyword and its end keyword; an empty
// section is not written. Records follow their board file's version.
template <class TSection>
void AppendRecordSection(std::string& Text, const TSection& Section, const char* Keyword,
                         const char* EndKeyword) {
  if (Section.Count() == 0) {
    return;
  }
  const TQBTIDFVerNumber V = Section.BoardFile ? Section.BoardFile->Header.Version : vn30;
  Text += Keyword;
  for (int I = 0; I < Section.Count(); ++I) {
    Text += CRLF;
    Section.Items(I)->AppendText(Text, V);
  }
  Text += CRLF;
  Text += EndKeyword;
}

} // namespace

void TQBTIDFDrilledHoles::AppendText(std::string& Text) const {
  AppendRecordSection(Text, *this, ".DRILLED_HOLES", ".END_DRILLED_HOLES");
}

void TQBTIDFPlacementItem::AppendText(std::string& Text, TQBTIDFVerNumber V) const {
  AppendQuoteIDF(Text, PackageName);
  Text += ' ';
  AppendQuoteIDF(Text, PartNumber);
  Text += ' ';
  if (RefDesKind == rkRefDes) {
    AppendQuoteIDF(Text, RefDes);
  } else {
    Text += IDFRefDesKindKeywords[RefDesKind];
  }
  Text += CRLF;
  AppendFloatToIDF(Text, X);
  Text += ' ';
  AppendFloatToIDF(Text, Y);
  if (V == vn30) {
    Text += ' ';
    AppendFloatToIDF(Text, MountOffset);
  }
  Text += ' ';
  AppendFloatToIDF(Text, Rotation);
  Text += ' ';
  Text += IDFBoardSideKeywords[Side];
  Text += ' ';
  // Version 3.0 calls a fixed part ECAD's; version 2.0 knows no owners of a placement.
  TQBTIDFPlacementStatus Written = Status;
  if (V == vn30 && Written == stFixed) {
    Written = stECAD;
  } else if (V == vn20 && (Written == stMCAD || Written == stECAD)) {
    Written = stFixed;
  }
  Text += IDFPlacementStatusKeywords[Written];
}

void TQBTIDFPlacementItem::GetText(std::string& Text) const {
  Text.clear();
  AppendText(Text);
}

void TQBTIDFPlacementItems::GetText(std::string& Text) const {
  Text.clear();
  AppendText(Text);
}

void TQBTIDFPlacementItems::AppendText(std::string& Text) const {
  AppendRecordSection(Text, *this, ".PLACEMENT", ".END_PLACEMENT");
}

// ---------------------------------------------------------------------------------------------
// Board outline and notes

void TQBTIDFBoardOutline::GetText(std::string& Text) const {
  Text.clear();
  if (Count() == 0) {
    return;
  }
  const bool Panel = BoardFile != nullptr && BoardFile->Kind == fkPanel;
  Text += Panel ? ".PANEL_OUTLINE" : ".BOARD_OUTLINE";
  AppendOwnerText(Text, BoardFile ? BoardFile->Header.Version : vn30, Owner);
  TrimTrailingBlanks(Text, 0);
  Text += CRLF;
  AppendFloatToIDF(Text, Thickness);
  Text += CRLF;
  AppendPointLines(Text, *this);
  // Each cutout under its own rising label, so that reading the file gives the same loops back.
  int32_t Label = 0;
  for (const auto& Cutout : Cutouts) {
    if (Cutout->Count() == 0) {
      continue;
    }
    Text += CRLF;
    AppendPointLines(Text, *Cutout, true, ++Label);
  }
  Text += CRLF;
  Text += Panel ? ".END_PANEL_OUTLINE" : ".END_BOARD_OUTLINE";
}

void TQBTIDFNoteItem::GetText(std::string& Out) const {
  Out.clear();
  AppendFloatToIDF(Out, X);
  Out += ' ';
  AppendFloatToIDF(Out, Y);
  Out += ' ';
  AppendFloatToIDF(Out, TextHeight);
  Out += ' ';
  AppendFloatToIDF(Out, TextLength);
  Out += ' ';
  AppendQuoteIDF(Out, Text);
}

void TQBTIDFNotes::GetText(std::string& Text) const {
  Text.clear();
  if (Count() == 0) {
    return;
  }
  std::string Line;
  Text += ".NOTES";
  for (int I = 0; I < Count(); ++I) {
    Items(I)->GetText(Line);
    Text += CRLF;
    Text += Line;
  }
  Text += CRLF;
  Text += ".END_NOTES";
}

// ---------------------------------------------------------------------------------------------
// Library records

void TQBTIDFElectrProp::GetText(std::string& Text) const {
  Text = "PROP ";
  if (Kind == epCustom) {
    AppendNameIDF(Text, Name);
  } else {
    Text += IDFElectrPropKeywords[Kind];
  }
  Text += ' ';
  if (const double* Number = std::get_if<double>(&Value)) {
    AppendPropNumber(Text, *Number);
  } else {
    AppendQuoteIDF(Text, std::get<std::string>(Value));
  }
}

void TQBTIDFLibraryComp::GetPropsText(std::string& Text) const {
  Text.clear();
}

void TQBTIDFElectrComp::GetPropsText(std::string& Text) const {
  Text.clear();
  if (Version() == vn30) {
    Props.GetText(Text);
  }
}

void TQBTIDFLibraryComp::GetText(std::string& Text) const {
  Text = IsElectrical ? ".ELECTRICAL" : ".MECHANICAL";
  Text += CRLF;
  AppendQuoteIDF(Text, GeometryName);
  Text += ' ';
  AppendQuoteIDF(Text, PartNumber);
  Text += ' ';
  Text += IDFUnitsKeywords[Units];
  Text += ' ';
  AppendFloatToIDF(Text, Height);
  Text += CRLF;
  AppendPointLines(Text, Points);
  Text += CRLF;
  std::string Props;
  GetPropsText(Props);
  if (!Props.empty()) {
    Text += Props;
    Text += CRLF;
  }
  Text += IsElectrical ? ".END_ELECTRICAL" : ".END_MECHANICAL";
}

// ---------------------------------------------------------------------------------------------
// Files

void TQBTIDFBoardFile::GetText(std::string& Text) const {
  Text.clear();
  Text += ".HEADER";
  Text += CRLF;
  Text += Kind == fkPanel ? "PANEL_FILE " : "BOARD_FILE ";
  Text += IDFVersionKeywords[Header.Version];
  Text += ' ';
  AppendQuoteIDF(Text, Header.SystemName);
  Text += ' ';
  AppendDateToIDF(Text, Header.Date);
  Text += ' ';
  AppendIntToIDF(Text, Header.FileVersion);
  Text += CRLF;
  AppendQuoteIDF(Text, Header.BoardName);
  Text += ' ';
  Text += IDFUnitsKeywords[Header.Units];
  Text += CRLF;
  Text += ".END_HEADER";
  Text += CRLF;

  // Read on every call: the dialog may have changed them since the last file.
  const TQBTIDFExportSections Sections = GetExportParams().Sections;
  std::string Scratch;
  if (Sections.Contains(esBoardOutline)) {
    AppendSectionText(Text, Scratch, Outline);
  }
  AppendSectionText(Text, Scratch, OtherOutlines);
  if (Sections.Contains(esRouteOutline)) {
    AppendSectionText(Text, Scratch, RouteOutlines);
  }
  if (Sections.Contains(esPlaceOutline)) {
    AppendSectionText(Text, Scratch, PlaceOutlines);
  }
  if (Sections.Contains(esRouteKeepOut)) {
    AppendSectionText(Text, Scratch, RouteKeepOuts);
  }
  AppendSectionText(Text, Scratch, ViaKeepOuts);
  if (Sections.Contains(esPlaceKeepOut)) {
    AppendSectionText(Text, Scratch, PlaceKeepOuts);
  }
  if (Sections.Contains(esPlaceRegion)) {
    AppendSectionText(Text, Scratch, PlaceRegions);
  }
  // The two large sections go straight into the file text.
  if (Sections.Contains(esDrilledHoles) && DrilledHoles.Count() > 0) {
    DrilledHoles.AppendText(Text);
    Text += CRLF;
  }
  if (Sections.Contains(esPlacement) && Placement.Count() > 0) {
    Placement.AppendText(Text);
    Text += CRLF;
  }
  if (Sections.Contains(esNotes) && Header.Version == vn30) {
    AppendSectionText(Text, Scratch, Notes);
  }
}

namespace {

// Keeps a backup of the file it replaces, then writes the file's whole text.
template <class TFile>
void SaveWithBackup(const TFile& File, const std::string& Name) {
  MakeBackup(Name);
  std::string Text;
  File.GetText(Text);
  SaveStringToFile(Name, Text);
}

} // namespace

void TQBTIDFBoardFile::SaveToFile(const std::string& Name) const {
  SaveWithBackup(*this, Name);
}

void TQBTIDFLibraryFile::GetText(std::string& Text) const {
  Text.clear();
  Text += ".HEADER";
  Text += CRLF;
  Text += "LIBRARY_FILE ";
  Text += IDFVersionKeywords[Header.Version];
  Text += ' ';
  AppendQuoteIDF(Text, Header.SystemName);
  Text += ' ';
  AppendDateToIDF(Text, Header.Date);
  Text += ' ';
  AppendIntToIDF(Text, Header.FileVersion);
  Text += CRLF;
  Text += ".END_HEADER";
  Text += CRLF;
  std::string Scratch;
  AppendSectionText(Text, Scratch, ElectrComps);
  AppendSectionText(Text, Scratch, MechComps);
}

void TQBTIDFLibraryFile::SaveToFile(const std::string& Name) const {
  SaveWithBackup(*this, Name);
}

} // namespace qbt
