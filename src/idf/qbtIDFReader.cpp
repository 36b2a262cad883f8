// The section readers of board, panel and library files, and loading a translation's files.
#include "idf/qbtIDFReader.h"

#include "idf/qbtIDFModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace qbt {

namespace {

const char* const SUnknownSection = "Unknown IDF file section name %S.";
const char* const SUnsupportedVersion = "Unsupported IDF version %S";
const char* const SUnknownUnits = "Unknown units definition %S";
const char* const SUnsupportedSide = "Unsupported outline board side %S";
const char* const SUnsupportedLayer = "Unsupported routing layer %S used";
const char* const SUnknownPlating = "Unknown plating style %S";
const char* const SUnsupportedStatus = "Unsupported component placement status %S";
const char* const STokenExpected = "Token %S were expected but %S found";
const char* const STextTooLarge = "The file is too large to be read";

// The index of Token among the keywords from First to Last, ignoring case; -1 when absent or a
// marker.
int KeywordIndex(const TQBTIDFToken& Token, const char* const* First, const char* const* Last) {
  if (Token.IsMarker()) {
    return -1;
  }
  for (const char* const* K = First; K != Last; ++K) {
    if (SameText(Token.Text, *K)) {
      return static_cast<int>(K - First);
    }
  }
  return -1;
}
int KeywordIndex(const TQBTIDFToken& Token, std::initializer_list<const char*> Keywords) {
  return KeywordIndex(Token, Keywords.begin(), Keywords.end());
}
template <size_t N>
int KeywordIndex(const TQBTIDFToken& Token, const std::array<const char*, N>& Keywords) {
  return KeywordIndex(Token, Keywords.data(), Keywords.data() + N);
}

// Other outlines and placements lie on one side only.
constexpr std::array<const char*, 2> TwoSideKeywords = {"TOP", "BOTTOM"};

[[noreturn]] void RaiseTokenError(const char* Pattern, const TQBTIDFToken& Token) {
  throw Exception(Format(Pattern, {TokenDisplayText(Token)}));
}

// One text being read: the tokenizer's position and the last token.
class TQBTIDFTextReader {
public:
  explicit TQBTIDFTextReader(std::string_view Text) : FText(Text) {
    if (Text.size() >= static_cast<size_t>(INT32_MAX)) {
      throw Exception(STextTooLarge);
    }
  }

  const TQBTIDFToken& Next() {
    NextTokenSkipEOL(FText, FPos, FToken);
    return FToken;
  }
  std::string NextString() { return std::string(Next().Text); }
  long double Float() { return ReadFloat(FText, FPos); }
  int32_t Integer() { return ReadInteger(FText, FPos); }
  double Date() { return ReadDate(FText, FPos); }
  void Expect(std::string_view Keyword) { ExpectToken(FText, Keyword, FPos); }
  TQBTIDFOwner Owner(TQBTIDFVerNumber Version) { return ReadOwner(FText, FPos, Version); }

  // The last token as a number.
  long double TokenFloat() const {
    long double Value = 0;
    if (FToken.IsMarker() || !TextToIDFFloat(FToken.Text, Value)) {
      RaiseTokenError("'%s' is not a valid floating point value", FToken);
    }
    return Value;
  }
  int32_t TokenInteger() const {
    int32_t Value = 0;
    if (FToken.IsMarker() || !TextToIDFInteger(FToken.Text, Value)) {
      RaiseTokenError("'%s' is not a valid integer value", FToken);
    }
    return Value;
  }

  template <class TEnum, size_t N>
  TEnum Keyword(const std::array<const char*, N>& Keywords, const char* Message) {
    const int Index = KeywordIndex(Next(), Keywords);
    if (Index < 0) {
      RaiseTokenError(Message, FToken);
    }
    return static_cast<TEnum>(Index);
  }
  TQBTIDFUnitsDef Units() { return Keyword<TQBTIDFUnitsDef>(IDFUnitsKeywords, SUnknownUnits); }
  TQBTIDFVerNumber Version() {
    return Keyword<TQBTIDFVerNumber>(IDFVersionKeywords, SUnsupportedVersion);
  }
  TQBTIDFBoardSide TwoSides() {
    return Keyword<TQBTIDFBoardSide>(TwoSideKeywords, SUnsupportedSide);
  }
  TQBTIDFBoardSide ThreeSides() {
    return Keyword<TQBTIDFBoardSide>(IDFBoardSideKeywords, SUnsupportedSide);
  }
  TQBTIDFRouteLayers Layers() {
    return Keyword<TQBTIDFRouteLayers>(IDFRouteLayersKeywords, SUnsupportedLayer);
  }

  const TQBTIDFToken& Token() const { return FToken; }

private:
  std::string_view FText;
  int32_t FPos = 1;
  TQBTIDFToken FToken;
};

void ResetReadPosition(TQBTIDFFileKind Kind) {
  ReadPosition = TQBTIDFReadPosition{1, 1, 1, Kind};
  LastTokenQuoted = false;
}

// ---------------------------------------------------------------------------------------------
// Points

// Points until EndKeyword (or, when given, OtherEnd); returns whether OtherEnd ended them.
bool ReadPoints(TQBTIDFTextReader& R, TQBTIDFPointsList& Points, std::string_view EndKeyword,
                std::string_view OtherEnd = {}) {
  Points.RecordSourcePosition();
  for (;;) {
    const TQBTIDFToken& Token = R.Next();
    if (Token.Is(EndKeyword)) {
      return false;
    }
    if (!OtherEnd.empty() && Token.Is(OtherEnd)) {
      return true;
    }
    TQBTIDFPointItem* Point = Points.AddPoint(R.TokenInteger(), 0, 0, 0);
    Point->RecordSourcePosition();
    Point->X = R.Float();
    Point->Y = R.Float();
    Point->InclAngle = R.Float();
  }
}

// Whether a loop is complete: its last point repeats its first, or it is a full circle.
bool IsClosedLoop(const TQBTIDFPointsList& Points) {
  const int N = Points.Count();
  if (N < 2) {
    return false;
  }
  const TQBTIDFPointItem* First = Points.PointItems(0);
  const TQBTIDFPointItem* Last = Points.PointItems(N - 1);
  if (N == 2 && (Last->InclAngle == 360 || Last->InclAngle == -360)) {
    return true;
  }
  return First->X == Last->X && First->Y == Last->Y;
}

// ---------------------------------------------------------------------------------------------
// Board file sections

class TQBTIDFBoardReader {
public:
  TQBTIDFBoardReader(TQBTIDFBoardFile& Board, std::string_view Text) : FBoard(Board), R(Text) {}

  void Read() {
    TStringList Sections;
    FillSectionTable(Sections);
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Kind == tkEndOfText) {
        return;
      }
      switch (Token.IsMarker() ? 0 : FindSection(Sections, Token.Text)) {
      case siHeader:
        ReadHeader();
        break;
      case siBoardOutline:
      case siPanelOutline:
        ReadOutline();
        break;
      case siOtherOutline:
        ReadOtherOutline();
        break;
      case siRouteOutline:
        ReadRouteOutline();
        break;
      case siPlaceOutline:
        ReadPlaceOutline();
        break;
      case siRouteKeepOut:
        ReadRouteKeepOut();
        break;
      case siViaKeepOut:
        ReadViaKeepOut();
        break;
      case siPlaceKeepOut:
        ReadPlaceKeepOut();
        break;
      case siPlaceRegion:
        ReadPlaceRegion();
        break;
      case siDrilledHoles:
        ReadDrilledHoles();
        break;
      case siPlacement:
        ReadPlacement();
        break;
      case siNotes:
        ReadNotes();
        break;
      default:
        RaiseTokenError(SUnknownSection, Token);
      }
    }
  }

private:
  TQBTIDFVerNumber Version() const { return FBoard.Header.Version; }
  TQBTIDFOwner Owner() { return R.Owner(Version()); }

  void ReadHeader() {
    TQBTIDFBoardHeader& H = FBoard.Header;
    R.Next(); // the file type says nothing the file kind does not
    H.Version = R.Version();
    H.SystemName = R.NextString();
    H.Date = R.Date();
    H.FileVersion = R.Integer();
    H.BoardName = R.NextString();
    H.Units = R.Units();
    R.Expect(".END_HEADER");
  }

  void ReadOutline() {
    TQBTIDFBoardOutline& Outline = FBoard.Outline;
    Outline.Owner = Owner();
    Outline.Thickness = R.Float();
    Outline.RecordSourcePosition();
    Outline.Cutouts.clear();
    int32_t HighestLabel = 0;
    TQBTIDFPointsList* Loop = nullptr; // the newest cutout list, none while on the outer loop
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Is(".END_BOARD_OUTLINE") || Token.Is(".END_PANEL_OUTLINE")) {
        return;
      }
      const int32_t Label = R.TokenInteger();
      // Most files label every cutout 1: a closed loop followed by another point begins the
      // next cutout, so that holes are not merged into one loop zig-zagging between them.
      if (Label > HighestLabel || (Loop != nullptr && IsClosedLoop(*Loop))) {
        Loop = Outline.AddCutout();
        Loop->RecordSourcePosition();
      }
      HighestLabel = std::max(HighestLabel, Label);
      TQBTIDFPointsList& Points = Loop != nullptr ? *Loop : Outline;
      TQBTIDFPointItem* Point = Points.AddPoint(Label == 0 ? 0 : 1, 0, 0, 0);
      Point->RecordSourcePosition();
      Point->X = R.Float();
      Point->Y = R.Float();
      Point->InclAngle = R.Float();
    }
  }

  template <class TItem, class TItems>
  TItem& NewRecord(TItems& Items) {
    TItem* Item = Items.Add();
    Item->RecordSourcePosition();
    return *Item;
  }

  void ReadOtherOutline() {
    auto& Item = NewRecord<TQBTIDFOtherOutline>(FBoard.OtherOutlines);
    Item.Owner = Owner();
    Item.Identifier = R.NextString();
    Item.Thickness = R.Float();
    if (Version() == vn30) {
      Item.Side = R.TwoSides();
    }
    ReadPoints(R, Item.Points, ".END_OTHER_OUTLINE");
  }

  void ReadRouteOutline() {
    auto& Item = NewRecord<TQBTIDFRouteOutline>(FBoard.RouteOutlines);
    Item.Owner = Owner();
    if (Version() == vn30) {
      Item.Layers = R.Layers();
    }
    ReadPoints(R, Item.Points, ".END_ROUTE_OUTLINE");
  }

  void ReadPlaceOutline() {
    auto& Item = NewRecord<TQBTIDFPlaceOutline>(FBoard.PlaceOutlines);
    Item.Owner = Owner();
    if (Version() == vn30) {
      Item.Side = R.ThreeSides();
      Item.Height = R.Float();
    }
    ReadPoints(R, Item.Points, ".END_PLACE_OUTLINE");
  }

  void ReadRouteKeepOut() {
    auto& Item = NewRecord<TQBTIDFRouteKeepOut>(FBoard.RouteKeepOuts);
    Item.Owner = Owner();
    Item.Layers = R.Layers();
    ReadPoints(R, Item.Points, ".END_ROUTE_KEEPOUT");
  }

  void ReadViaKeepOut() {
    auto& Item = NewRecord<TQBTIDFViaKeepOut>(FBoard.ViaKeepOuts);
    Item.Owner = Owner();
    ReadPoints(R, Item.Points, ".END_VIA_KEEPOUT");
  }

  void ReadPlaceKeepOut() {
    auto& Item = NewRecord<TQBTIDFPlaceKeepOut>(FBoard.PlaceKeepOuts);
    Item.Owner = Owner();
    Item.Side = R.ThreeSides();
    Item.Height = R.Float();
    if (Version() == vn20) {
      Item.SecondHeight = R.Float();
    }
    ReadPoints(R, Item.Points, ".END_PLACE_KEEPOUT");
  }

  void ReadPlaceRegion() {
    auto& Item = NewRecord<TQBTIDFPlaceRegion>(FBoard.PlaceRegions);
    Item.Owner = Owner();
    Item.Side = R.ThreeSides();
    Item.GroupName = R.NextString();
    ReadPoints(R, Item.Points, ".END_PLACE_REGION");
  }

  void ReadDrilledHoles() {
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Is(".END_DRILLED_HOLES")) {
        return;
      }
      auto& Hole = NewRecord<TQBTIDFDrilledHole>(FBoard.DrilledHoles);
      Hole.Diameter = R.TokenFloat();
      Hole.X = R.Float();
      Hole.Y = R.Float();
      Hole.Plating = R.Keyword<TQBTIDFPlating>(IDFPlatingKeywords, SUnknownPlating);
      const int Part = KeywordIndex(R.Next(), {"BOARD", "NOREFDES", "PANEL"});
      Hole.AssocPart =
          Part == 0 ? apBoard : (Part == 1 ? apNoRefDes : (Part == 2 ? apPanel : apRefDes));
      Hole.AssocPartName = std::string(R.Token().Text);
      if (Version() == vn30) {
        const int Type = KeywordIndex(R.Next(), IDFHoleTypeKeywords.data(),
                                      IDFHoleTypeKeywords.data() + htOther);
        Hole.HoleType = Type < 0 ? htOther : static_cast<TQBTIDFHoleType>(Type);
        Hole.HoleTypeName = std::string(R.Token().Text);
        Hole.Owner = Owner();
      }
    }
  }

  void ReadPlacement() {
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Is(".END_PLACEMENT")) {
        return;
      }
      auto& Item = NewRecord<TQBTIDFPlacementItem>(FBoard.Placement);
      Item.PackageName = std::string(Token.Text);
      Item.PartNumber = R.NextString();
      const int Kind = KeywordIndex(R.Next(), {"NOREFDES", "BOARD"});
      Item.RefDesKind = Kind == 0 ? rkNoRefDes : (Kind == 1 ? rkBoard : rkRefDes);
      Item.RefDes = std::string(R.Token().Text);
      Item.X = R.Float();
      Item.Y = R.Float();
      if (Version() == vn30) {
        Item.MountOffset = R.Float();
      }
      Item.Rotation = R.Float();
      Item.Side = R.TwoSides();
      Item.Status =
          R.Keyword<TQBTIDFPlacementStatus>(IDFPlacementStatusKeywords, SUnsupportedStatus);
    }
  }

  void ReadNotes() {
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Is(".END_NOTES")) {
        return;
      }
      auto& Note = NewRecord<TQBTIDFNoteItem>(FBoard.Notes);
      Note.X = R.TokenFloat();
      Note.Y = R.Float();
      Note.TextHeight = R.Float();
      Note.TextLength = R.Float();
      Note.Text = R.NextString();
    }
  }

  TQBTIDFBoardFile& FBoard;
  TQBTIDFTextReader R;
};

// ---------------------------------------------------------------------------------------------
// Library file sections

class TQBTIDFLibraryReader {
public:
  TQBTIDFLibraryReader(TQBTIDFLibraryFile& Library, std::string_view Text)
      : FLibrary(Library), R(Text) {}

  void Read() {
    TStringList Sections;
    FillSectionTable(Sections);
    for (;;) {
      const TQBTIDFToken& Token = R.Next();
      if (Token.Kind == tkEndOfText) {
        return;
      }
      switch (Token.IsMarker() ? 0 : FindSection(Sections, Token.Text)) {
      case siHeader:
        ReadHeader();
        break;
      case siElectrical:
        ReadGeometry(*FLibrary.ElectrComps.Add(), ".END_ELECTRICAL");
        break;
      case siMechanical:
        ReadGeometry(*FLibrary.MechComps.Add(), ".END_MECHANICAL");
        break;
      default:
        RaiseTokenError(SUnknownSection, Token);
      }
    }
  }

private:
  void ReadHeader() {
    TQBTIDFLibraryHeader& H = FLibrary.Header;
    R.Next(); // the file type
    const TQBTIDFToken& Token = R.Next();
    // Writers of the older version put the quoted system name right after the file type.
    if (LastTokenQuoted) {
      H.Version = vn20;
      H.SystemName = std::string(Token.Text);
    } else {
      const int Index = KeywordIndex(Token, IDFVersionKeywords);
      if (Index < 0) {
        RaiseTokenError(SUnsupportedVersion, Token);
      }
      H.Version = static_cast<TQBTIDFVerNumber>(Index);
      H.SystemName = R.NextString();
    }
    H.Date = R.Date();
    H.FileVersion = R.Integer();
    R.Expect(".END_HEADER");
  }

  void ReadGeometry(TQBTIDFLibraryComp& Comp, std::string_view EndKeyword) {
    Comp.RecordSourcePosition();
    Comp.GeometryName = R.NextString();
    Comp.PartNumber = R.NextString();
    Comp.Units = R.Units();
    Comp.Height = R.Float();
    if (!ReadPoints(R, Comp.Points, EndKeyword, "PROP")) {
      return;
    }
    for (bool First = true;; First = false) {
      if (!First) {
        // Whatever stands here is taken as the next "PROP"; only the end of the text can not
        // be, or a file cut off here would never end.
        const TQBTIDFToken& Token = R.Next();
        if (Token.Is(EndKeyword)) {
          return;
        }
        if (Token.Kind == tkEndOfText) {
          throw Exception(Format(STokenExpected, {EndKeyword, TokenDisplayText(Token)}));
        }
      }
      TQBTIDFElectrProp* Prop = Comp.Props.Add();
      Prop->RecordSourcePosition();
      const TQBTIDFToken& Name = R.Next();
      // The first keyword is that of a custom property, written as its own name.
      const int Kind = KeywordIndex(Name, IDFElectrPropKeywords.data() + 1,
                                    IDFElectrPropKeywords.data() + IDFElectrPropKeywords.size());
      Prop->Kind = static_cast<TQBTIDFElectrPropKind>(Kind + 1);
      Prop->Name = std::string(Name.Text);
      const TQBTIDFToken& Value = R.Next();
      long double Number = 0;
      // A value is held as a double: one beyond its range stays text.
      if (!Value.IsMarker() && TextToIDFFloat(Value.Text, Number) &&
          std::fabs(Number) <= std::numeric_limits<double>::max()) {
        Prop->Value = static_cast<double>(Number);
      } else {
        Prop->Value = std::string(Value.Text);
      }
    }
  }

  TQBTIDFLibraryFile& FLibrary;
  TQBTIDFTextReader R;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Owner

TQBTIDFOwner ReadOwner(std::string_view Text, int32_t& Pos, TQBTIDFVerNumber Version) {
  if (Version != vn30) {
    return owUnowned;
  }
  TQBTIDFToken Token;
  NextToken(Text, Pos, Token);
  const int Index = KeywordIndex(Token, IDFOwnerKeywords);
  return Index < 0 ? owUnowned : static_cast<TQBTIDFOwner>(Index);
}

// ---------------------------------------------------------------------------------------------
// Files

void TQBTIDFBoardFile::LoadFromFile(const std::string& Name) {
  // Set before opening, so that a file that cannot be opened is reported against this file.
  ResetReadPosition(Kind);
  const std::string Text = LoadFileToString(Name);
  LoadFromText(Text);
}

void TQBTIDFBoardFile::LoadFromText(const std::string& Text) {
  ResetReadPosition(Kind);
  Clear();
  TQBTIDFBoardReader(*this, Text).Read();
}

void TQBTIDFLibraryFile::LoadFromFile(const std::string& Name) {
  ResetReadPosition(fkLibrary);
  const std::string Text = LoadFileToString(Name);
  LoadFromText(Text);
}

void TQBTIDFLibraryFile::LoadFromText(const std::string& Text) {
  ResetReadPosition(fkLibrary);
  Clear();
  TQBTIDFLibraryReader(*this, Text).Read();
}

void TQBTIDFFile::LoadFromFile(const std::string& Name) {
  FileName = Name;
  BoardFile.LoadFromFile(FindFileIgnoringCase(GetBoardFileName(Name)));
  LibraryFile.LoadFromFile(FindFileIgnoringCase(GetLibraryFileName(Name)));
}

std::string ReadErrorFileName(const TQBTIDFFile& File) {
  return FindFileIgnoringCase(File.GetFileName(ReadPosition.FileKind));
}

} // namespace qbt
