// The base of the IDF model: scalar and unit conventions, the unit conversion shared by the whole
// system, the owning collections and records that remember where they were read, and the outline
// point list.
#pragma once

#include "platform/SysUtils.h"
#include "util/qbtIDFProcs.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Shared value types

struct TQBTPointRec {
  long double X = 0;
  long double Y = 0;
};

struct TQBTRectRec {
  TQBTPointRec First;
  TQBTPointRec Second;
};

// ---------------------------------------------------------------------------------------------
// Units and versions

enum TQBTIDFUnitsDef : uint8_t { udMM = 0, udTNM = 1, udTHOU = 2, udCoord = 3 };
enum TQBTIDFVerNumber : uint8_t { vn20 = 0, vn30 = 1 };
enum TQBTIDFFileKind : uint8_t { fkBoard = 0, fkPanel = 1, fkLibrary = 2 };

inline constexpr std::array<const char*, 4> IDFUnitsKeywords = {"MM", "TNM", "THOU", "CRD"};
inline constexpr std::array<const char*, 4> IDFUnitsSuffixes = {"mm", "tnm", "mil", "crd"};
inline constexpr std::array<const char*, 2> IDFVersionKeywords = {"2.0", "3.0"};

// The host's coordinate conversions, installed by the host layer when the plug-in loads.
struct TQBTCoordConvert {
  int32_t (*MMsToCoord)(double) = nullptr;
  int32_t (*MilsToCoord)(double) = nullptr;
  double (*CoordToMMs)(int32_t) = nullptr;
  double (*CoordToMils)(int32_t) = nullptr;
};
extern TQBTCoordConvert QBTCoordConvert;

long double Convert(long double Value, TQBTIDFUnitsDef FromUnits, TQBTIDFUnitsDef ToUnits);
long double ToCoord(long double Value, TQBTIDFUnitsDef FromUnits);
long double FromCoord(int32_t Coord, TQBTIDFUnitsDef ToUnits);
TQBTPointRec ConvertPoint(const TQBTPointRec& Point, TQBTIDFUnitsDef FromUnits,
                          TQBTIDFUnitsDef ToUnits);
TQBTRectRec ConvertRect(const TQBTRectRec& Rect, TQBTIDFUnitsDef FromUnits,
                        TQBTIDFUnitsDef ToUnits);

// ---------------------------------------------------------------------------------------------
// Number text of IDF files: up to 15 significant digits, "." always, ".0" on values written
// without fractional digits, exponent form below 0.00001 or beyond 15 integral digits.

// Appends the text of Value to Out; no allocation beyond Out's own growth.
void AppendFloatToIDF(std::string& Out, long double Value);
std::string FloatToIDF(long double Value);
void AppendIntToIDF(std::string& Out, int64_t Value);

// ---------------------------------------------------------------------------------------------
// Where the reader is: the start of the last token scan and the kind of the file being read.

struct TQBTIDFReadPosition {
  int32_t Pos = 1;
  int32_t Line = 1;
  int32_t Char = 1;
  TQBTIDFFileKind FileKind = fkBoard;
};
extern TQBTIDFReadPosition ReadPosition;
extern bool LastTokenQuoted;

// ---------------------------------------------------------------------------------------------
// Collections

// Root of everything that can be assigned from another object and names its class.
class TQBTIDFPersistent {
public:
  virtual ~TQBTIDFPersistent() = default;
  virtual const char* ClassName() const = 0;
  // Copies Source into this object; the base lets Source try AssignTo.
  virtual void Assign(const TQBTIDFPersistent& Source);
  // Copies this object into Dest, for pairs Dest's class does not know; the base raises
  // "Cannot assign a %s to a %s".
  virtual void AssignTo(TQBTIDFPersistent& Dest) const;

protected:
  [[noreturn]] void AssignError(const TQBTIDFPersistent* Source) const;
};

#define QBT_CLASS_NAME(Name)                                                                       \
  const char* ClassName() const override {                                                         \
    return #Name;                                                                                  \
  }

class TQBTIDFCollection;

class TQBTIDFCollectionItem : public TQBTIDFPersistent {
public:
  TQBTIDFCollectionItem() = default;
  TQBTIDFCollectionItem(const TQBTIDFCollectionItem&) = delete;
  TQBTIDFCollectionItem& operator=(const TQBTIDFCollectionItem&) = delete;
  // An item destroyed leaves its collection.
  ~TQBTIDFCollectionItem() override;

  TQBTIDFCollection* Collection() const { return FCollection; }
  int Index() const;

private:
  friend class TQBTIDFCollection;
  TQBTIDFCollection* FCollection = nullptr;
};

// An owning ordered collection whose item class is fixed when it is created.
class TQBTIDFCollection : public TQBTIDFPersistent {
public:
  using TItemClass = TQBTIDFCollectionItem* (*)();

  explicit TQBTIDFCollection(TItemClass ItemClass) : FItemClass(ItemClass) {}
  TQBTIDFCollection(const TQBTIDFCollection&) = delete;
  TQBTIDFCollection& operator=(const TQBTIDFCollection&) = delete;
  ~TQBTIDFCollection() override;
  QBT_CLASS_NAME(TQBTIDFCollection)

  // A new item of the item class, at the end.
  TQBTIDFCollectionItem* Add();
  // A new item of the item class, at Index.
  TQBTIDFCollectionItem* Insert(int Index);
  void Clear();
  void Delete(int Index);
  int Count() const { return static_cast<int>(FItems.size()); }
  TQBTIDFCollectionItem* Items(int Index) const;
  int IndexOf(const TQBTIDFCollectionItem* Item) const;
  void Exchange(int Index1, int Index2);
  void Reserve(int Capacity) { FItems.reserve(static_cast<size_t>(Capacity)); }
  // Kept for the update bracket of the callers; the collection notifies nobody.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { --FUpdateCount; }

  // Clears this collection and appends a copy of every item of Source, in order.
  void Assign(const TQBTIDFPersistent& Source) override;

  TItemClass ItemClass() const { return FItemClass; }

private:
  friend class TQBTIDFCollectionItem;
  void RemoveItem(TQBTIDFCollectionItem* Item);

  TItemClass FItemClass;
  std::vector<TQBTIDFCollectionItem*> FItems;
  int FUpdateCount = 0;
};

template <class T>
TQBTIDFCollectionItem* NewItemOf() {
  return new T();
}

// Typed access for a collection of one item class.
template <class TItem, class TBase>
class TQBTIDFItemsOf : public TBase {
public:
  TQBTIDFItemsOf() : TBase(&NewItemOf<TItem>) {}
  TItem* Add() { return static_cast<TItem*>(TBase::Add()); }
  TItem* Insert(int Index) { return static_cast<TItem*>(TBase::Insert(Index)); }
  TItem* Items(int Index) const { return static_cast<TItem*>(TBase::Items(Index)); }
};

// ---------------------------------------------------------------------------------------------
// Records and record lists of IDF files

class TQBTIDFFileItem : public TQBTIDFCollectionItem {
public:
  QBT_CLASS_NAME(TQBTIDFFileItem)
  int32_t SourceChar = 0;
  int32_t SourceLine = 0;

  // The record's file text.
  virtual void GetText(std::string& Text) const = 0;
  virtual void ConvertFromThou(TQBTIDFUnitsDef Units);
  virtual void ConvertToThou(TQBTIDFUnitsDef Units);
  virtual void MoveBy(const TQBTPointRec& Offset);
  virtual void AdjustToVersion(TQBTIDFVerNumber Version);

  // Copies the reader's current line and column.
  void RecordSourcePosition();
  // Copies the source position of another record.
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFFileItems : public TQBTIDFCollection {
public:
  using TQBTIDFCollection::TQBTIDFCollection;
  QBT_CLASS_NAME(TQBTIDFFileItems)
  int32_t SourceChar = 0;
  int32_t SourceLine = 0;

  virtual void GetFileName(std::string& Name) const;
  // The item texts joined by CR LF.
  virtual void GetText(std::string& Text) const;
  virtual void ConvertFromThou(TQBTIDFUnitsDef Units);
  virtual void ConvertToThou(TQBTIDFUnitsDef Units);
  virtual void MoveBy(const TQBTPointRec& Offset);
  virtual void AdjustToVersion(TQBTIDFVerNumber Version);

  TQBTIDFFileItem* FileItems(int Index) const {
    return static_cast<TQBTIDFFileItem*>(Items(Index));
  }
  void RecordSourcePosition();
};

// ---------------------------------------------------------------------------------------------
// Outline points

class TQBTIDFPointItem : public TQBTIDFFileItem {
public:
  QBT_CLASS_NAME(TQBTIDFPointItem)
  int32_t LoopLabel = 0;
  long double X = 0;
  long double Y = 0;
  // Included angle of the arc from the previous point; 0 straight, +-360 a full circle.
  long double InclAngle = 0;

  // LoopLabel, X, Y and InclAngle separated by blanks.
  void GetText(std::string& Text) const override;
  void AppendText(std::string& Text) const;
  void ConvertFromThou(TQBTIDFUnitsDef Units) override;
  void ConvertToThou(TQBTIDFUnitsDef Units) override;
  void MoveBy(const TQBTPointRec& Offset) override;
  void Assign(const TQBTIDFPersistent& Source) override;
};

class TQBTIDFPointsList : public TQBTIDFFileItems {
public:
  TQBTIDFPointsList() : TQBTIDFFileItems(&NewItemOf<TQBTIDFPointItem>) {}
  explicit TQBTIDFPointsList(TItemClass ItemClass) : TQBTIDFFileItems(ItemClass) {}
  QBT_CLASS_NAME(TQBTIDFPointsList)

  TQBTIDFPointItem* PointItems(int Index) const {
    return static_cast<TQBTIDFPointItem*>(Items(Index));
  }
  TQBTIDFPointItem* AddPoint(int32_t LoopLabel, long double X, long double Y,
                             long double InclAngle);
};

} // namespace qbt
