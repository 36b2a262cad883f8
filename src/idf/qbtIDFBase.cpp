#include "idf/qbtIDFBase.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace qbt {

TQBTCoordConvert QBTCoordConvert;
TQBTIDFReadPosition ReadPosition;
bool LastTokenQuoted = false;

// ---------------------------------------------------------------------------------------------
// Units

namespace {

// Stored as doubles, as the factors always were; the udCoord row and column are never used.
constexpr double Factor[4][4] = {
    {1.0, 100000.0, 39.37007874015748, 1.0},
    {0.00001, 1.0, 0.0003937007874015748, 1.0},
    {0.0254, 2540.0, 1.0, 1.0},
    {1.0, 1.0, 1.0, 1.0},
};

void CheckCoordConvert() {
  if (QBTCoordConvert.MMsToCoord == nullptr) {
    throw Exception("Can not convert TCoord value. QBTCoordConvert should be assigned.");
  }
}

} // namespace

long double Convert(long double Value, TQBTIDFUnitsDef FromUnits, TQBTIDFUnitsDef ToUnits) {
  if (FromUnits == ToUnits) {
    return Value;
  }
  if (FromUnits == udCoord) {
    return FromCoord(static_cast<int32_t>(RoundMasked(Value)), ToUnits);
  }
  if (ToUnits == udCoord) {
    return ToCoord(Value, FromUnits);
  }
  return Value * static_cast<long double>(Factor[FromUnits][ToUnits]);
}

long double ToCoord(long double Value, TQBTIDFUnitsDef FromUnits) {
  CheckCoordConvert();
  MaskFloatExceptions();
  switch (FromUnits) {
  case udMM:
    return QBTCoordConvert.MMsToCoord(static_cast<double>(Value));
  case udTNM:
    return QBTCoordConvert.MMsToCoord(static_cast<double>(Convert(Value, udTNM, udMM)));
  case udTHOU:
    return QBTCoordConvert.MilsToCoord(static_cast<double>(Value));
  case udCoord:
    break;
  }
  return static_cast<long double>(RoundMasked(Value));
}

long double FromCoord(int32_t Coord, TQBTIDFUnitsDef ToUnits) {
  CheckCoordConvert();
  MaskFloatExceptions();
  switch (ToUnits) {
  case udMM:
    return QBTCoordConvert.CoordToMMs(Coord);
  case udTNM:
    return Convert(QBTCoordConvert.CoordToMMs(Coord), udMM, udTNM);
  case udTHOU:
    return QBTCoordConvert.CoordToMils(Coord);
  case udCoord:
    break;
  }
  return Coord;
}

TQBTPointRec ConvertPoint(const TQBTPointRec& Point, TQBTIDFUnitsDef FromUnits,
                          TQBTIDFUnitsDef ToUnits) {
  return TQBTPointRec{Convert(Point.X, FromUnits, ToUnits), Convert(Point.Y, FromUnits, ToUnits)};
}

TQBTRectRec ConvertRect(const TQBTRectRec& Rect, TQBTIDFUnitsDef FromUnits,
                        TQBTIDFUnitsDef ToUnits) {
  return TQBTRectRec{ConvertPoint(Rect.First, FromUnits, ToUnits),
                     ConvertPoint(Rect.Second, FromUnits, ToUnits)};
}

// ---------------------------------------------------------------------------------------------
// Number text

namespace {

constexpr int Precision = 15;

// Powers of ten up to 10^27 are exact in the 64-bit mantissa of the extended type.
long double PowerOfTen(int N) {
  static const auto Table = [] {
    std::array<long double, 28> T{};
    long double P = 1;
    for (auto& V : T) {
      V = P;
      P *= 10;
    }
    return T;
  }();
  if (N >= 0 && N < static_cast<int>(Table.size())) {
    return Table[static_cast<size_t>(N)];
  }
  return std::pow(10.0L, static_cast<long double>(N));
}

// Appends the decimal digits of V (no sign) to Out.
void AppendDigits(std::string& Out, uint64_t V) {
  char Buffer[24];
  char* P = Buffer + sizeof(Buffer);
  do {
    *--P = static_cast<char>('0' + V % 10);
    V /= 10;
  } while (V != 0);
  Out.append(P, static_cast<size_t>(Buffer + sizeof(Buffer) - P));
}

} // namespace

void AppendIntToIDF(std::string& Out, int64_t Value) {
  if (Value < 0) {
    Out += '-';
    AppendDigits(Out, static_cast<uint64_t>(0) - static_cast<uint64_t>(Value));
  } else {
    AppendDigits(Out, static_cast<uint64_t>(Value));
  }
}

void AppendFloatToIDF(std::string& Out, long double Value) {
  if (std::isnan(Value)) {
    Out += "NAN";
    return;
  }
  if (std::isinf(Value)) {
    Out += Value < 0 ? "-INF" : "INF";
    return;
  }
  if (Value == 0) {
    Out += "0.0";
    return;
  }
  const bool Negative = Value < 0;
  const long double Abs = Negative ? -Value : Value;

  // Exponent E of the first significant digit, and the 15 significant digits as an integer.
  // The binary exponent gives E or one less (corrected below); log10 and nearbyint of the
  // extended type would cost more than all the rest of the number's text.
  int BinaryExponent = 0;
  std::frexp(Abs, &BinaryExponent);
  int E = static_cast<int>(std::floor((BinaryExponent - 1) * 0.30102999566398120));
  auto Scaled = [&](int Exp) {
    int Shift = Precision - 1 - Exp;
    long double S = Abs;
    // Below about 1E-4918 the power of ten itself would overflow: scale in two steps.
    constexpr int MaxShift = 4000;
    if (Shift > MaxShift) {
      S *= PowerOfTen(MaxShift);
      Shift -= MaxShift;
    }
    S = Shift >= 0 ? S * PowerOfTen(Shift) : S / PowerOfTen(-Shift);
    // Nearest, ties to even, as the default rounding mode does; S is below 2^63 here.
    return static_cast<uint64_t>(std::llrint(S));
  };
  constexpr uint64_t Low = 100000000000000ULL; // 10^14
  constexpr uint64_t High = Low * 10;          // 10^15
  uint64_t Digits = Scaled(E);
  if (Digits >= High) {
    ++E;
    Digits = Scaled(E);
  } else if (Digits < Low) {
    --E;
    Digits = Scaled(E);
  }
  if (Digits >= High) { // rounding carried into a new digit: 9.99...95 -> 10
    Digits /= 10;
    ++E;
  }
  // The 15 digits two at a time, then without trailing zeros.
  static constexpr char DigitPairs[] = "00010203040506070809101112131415161718192021222324"
                                       "25262728293031323334353637383940414243444546474849"
                                       "50515253545556575859606162636465666768697071727374"
                                       "75767778798081828384858687888990919293949596979899";
  char Text[Precision];
  for (int I = Precision - 2; I >= 1; I -= 2) {
    std::memcpy(Text + I, DigitPairs + (Digits % 100) * 2, 2);
    Digits /= 100;
  }
  Text[0] = static_cast<char>('0' + Digits);
  int DigitCount = Precision;
  while (DigitCount > 1 && Text[DigitCount - 1] == '0') {
    --DigitCount;
  }

  // Composed here and appended once: at most sign, "0.", 4 zeros, 15 digits, ".0" or an exponent.
  char Buffer[48];
  char* P = Buffer;
  auto Put = [&P](const char* From, int Count) {
    std::memcpy(P, From, static_cast<size_t>(Count));
    P += Count;
  };
  if (Negative) {
    *P++ = '-';
  }
  const bool Exponent = Abs < 0.00001L || E >= Precision;
  if (Exponent) {
    *P++ = Text[0];
    if (DigitCount > 1) {
      *P++ = '.';
      Put(Text + 1, DigitCount - 1);
    }
    *P++ = 'E';
    Out.append(Buffer, static_cast<size_t>(P - Buffer));
    AppendIntToIDF(Out, E);
    return;
  }
  if (E < 0) {
    *P++ = '0';
    *P++ = '.';
    for (int I = -E - 1; I > 0; --I) {
      *P++ = '0';
    }
    Put(Text, DigitCount);
  } else if (const int IntegralDigits = E + 1; DigitCount <= IntegralDigits) {
    Put(Text, DigitCount);
    for (int I = IntegralDigits - DigitCount; I > 0; --I) {
      *P++ = '0';
    }
    *P++ = '.';
    *P++ = '0';
  } else {
    Put(Text, IntegralDigits);
    *P++ = '.';
    Put(Text + IntegralDigits, DigitCount - IntegralDigits);
  }
  Out.append(Buffer, static_cast<size_t>(P - Buffer));
}

std::string FloatToIDF(long double Value) {
  std::string S;
  AppendFloatToIDF(S, Value);
  return S;
}

// ---------------------------------------------------------------------------------------------
// Collections

void TQBTIDFPersistent::Assign(const TQBTIDFPersistent& Source) {
  Source.AssignTo(*this);
}

void TQBTIDFPersistent::AssignTo(TQBTIDFPersistent& Dest) const {
  Dest.AssignError(this);
}

void TQBTIDFPersistent::AssignError(const TQBTIDFPersistent* Source) const {
  throw Exception(
      Format("Cannot assign a %s to a %s", {Source ? Source->ClassName() : "nil", ClassName()}));
}

TQBTIDFCollectionItem::~TQBTIDFCollectionItem() {
  if (FCollection != nullptr) {
    FCollection->RemoveItem(this);
  }
}

int TQBTIDFCollectionItem::Index() const {
  return FCollection ? FCollection->IndexOf(this) : -1;
}

TQBTIDFCollection::~TQBTIDFCollection() {
  Clear();
}

TQBTIDFCollectionItem* TQBTIDFCollection::Add() {
  return Insert(Count());
}

TQBTIDFCollectionItem* TQBTIDFCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) {
    throw Exception(Format("List index out of bounds (%d)", {std::to_string(Index)}));
  }
  TQBTIDFCollectionItem* Item = FItemClass();
  Item->FCollection = this;
  FItems.insert(FItems.begin() + Index, Item);
  return Item;
}

TQBTIDFCollectionItem* TQBTIDFCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw Exception(Format("List index out of bounds (%d)", {std::to_string(Index)}));
  }
  return FItems[static_cast<size_t>(Index)];
}

int TQBTIDFCollection::IndexOf(const TQBTIDFCollectionItem* Item) const {
  // Searched from the end: items are mostly removed and asked for near the end.
  for (size_t I = FItems.size(); I-- > 0;) {
    if (FItems[I] == Item) {
      return static_cast<int>(I);
    }
  }
  return -1;
}

void TQBTIDFCollection::Exchange(int Index1, int Index2) {
  std::swap(FItems.at(static_cast<size_t>(Index1)), FItems.at(static_cast<size_t>(Index2)));
}

void TQBTIDFCollection::RemoveItem(TQBTIDFCollectionItem* Item) {
  const int Index = IndexOf(Item);
  if (Index >= 0) {
    FItems.erase(FItems.begin() + Index);
  }
  Item->FCollection = nullptr;
}

void TQBTIDFCollection::Clear() {
  while (!FItems.empty()) {
    TQBTIDFCollectionItem* Item = FItems.back();
    FItems.pop_back();
    Item->FCollection = nullptr;
    delete Item;
  }
}

void TQBTIDFCollection::Delete(int Index) {
  delete Items(Index);
}

void TQBTIDFCollection::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFCollection*>(&Source);
  if (Other == nullptr) {
    TQBTIDFPersistent::Assign(Source);
    return;
  }
  if (Other == this) {
    return;
  }
  Clear();
  FItems.reserve(Other->FItems.size());
  for (const TQBTIDFCollectionItem* SourceItem : Other->FItems) {
    Add()->Assign(*SourceItem);
  }
}

// ---------------------------------------------------------------------------------------------
// Records and lists

void TQBTIDFFileItem::ConvertFromThou(TQBTIDFUnitsDef) {}
void TQBTIDFFileItem::ConvertToThou(TQBTIDFUnitsDef) {}
void TQBTIDFFileItem::MoveBy(const TQBTPointRec&) {}
void TQBTIDFFileItem::AdjustToVersion(TQBTIDFVerNumber) {}

void TQBTIDFFileItem::RecordSourcePosition() {
  SourceLine = ReadPosition.Line;
  SourceChar = ReadPosition.Char;
}

void TQBTIDFFileItem::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFFileItem*>(&Source);
  if (Other == nullptr) {
    TQBTIDFPersistent::Assign(Source);
    return;
  }
  SourceChar = Other->SourceChar;
  SourceLine = Other->SourceLine;
}

void TQBTIDFFileItems::GetFileName(std::string& Name) const {
  Name.clear();
}

void TQBTIDFFileItems::GetText(std::string& Text) const {
  Text.clear();
  std::string ItemText;
  for (int I = 0; I < Count(); ++I) {
    FileItems(I)->GetText(ItemText);
    if (!Text.empty()) {
      Text += "\r\n";
    }
    Text += ItemText;
  }
}

void TQBTIDFFileItems::ConvertFromThou(TQBTIDFUnitsDef Units) {
  for (int I = 0; I < Count(); ++I) {
    FileItems(I)->ConvertFromThou(Units);
  }
}

void TQBTIDFFileItems::ConvertToThou(TQBTIDFUnitsDef Units) {
  for (int I = 0; I < Count(); ++I) {
    FileItems(I)->ConvertToThou(Units);
  }
}

void TQBTIDFFileItems::MoveBy(const TQBTPointRec& Offset) {
  for (int I = 0; I < Count(); ++I) {
    FileItems(I)->MoveBy(Offset);
  }
}

void TQBTIDFFileItems::AdjustToVersion(TQBTIDFVerNumber Version) {
  for (int I = 0; I < Count(); ++I) {
    FileItems(I)->AdjustToVersion(Version);
  }
}

void TQBTIDFFileItems::RecordSourcePosition() {
  SourceLine = ReadPosition.Line;
  SourceChar = ReadPosition.Char;
}

// ---------------------------------------------------------------------------------------------
// Points

void TQBTIDFPointItem::AppendText(std::string& Text) const {
  AppendIntToIDF(Text, LoopLabel);
  Text += ' ';
  AppendFloatToIDF(Text, X);
  Text += ' ';
  AppendFloatToIDF(Text, Y);
  Text += ' ';
  AppendFloatToIDF(Text, InclAngle);
}

void TQBTIDFPointItem::GetText(std::string& Text) const {
  Text.clear();
  AppendText(Text);
}

void TQBTIDFPointItem::ConvertFromThou(TQBTIDFUnitsDef Units) {
  X = Convert(X, udTHOU, Units);
  Y = Convert(Y, udTHOU, Units);
}

void TQBTIDFPointItem::ConvertToThou(TQBTIDFUnitsDef Units) {
  X = Convert(X, Units, udTHOU);
  Y = Convert(Y, Units, udTHOU);
}

void TQBTIDFPointItem::MoveBy(const TQBTPointRec& Offset) {
  X += Offset.X;
  Y += Offset.Y;
}

void TQBTIDFPointItem::Assign(const TQBTIDFPersistent& Source) {
  const auto* Other = dynamic_cast<const TQBTIDFPointItem*>(&Source);
  if (Other == nullptr) {
    TQBTIDFPersistent::Assign(Source);
    return;
  }
  TQBTIDFFileItem::Assign(Source);
  LoopLabel = Other->LoopLabel;
  X = Other->X;
  Y = Other->Y;
  InclAngle = Other->InclAngle;
}

TQBTIDFPointItem* TQBTIDFPointsList::AddPoint(int32_t LoopLabel, long double X, long double Y,
                                              long double InclAngle) {
  auto* Point = static_cast<TQBTIDFPointItem*>(Add());
  Point->LoopLabel = LoopLabel;
  Point->X = X;
  Point->Y = Y;
  Point->InclAngle = InclAngle;
  return Point;
}

} // namespace qbt
