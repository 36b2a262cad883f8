// The classes behind the object and list interfaces: the lazily read board object, the list
// that fills itself from its provider, and the per-field sorted indexes that make filtering
// fast.
#pragma once

#include "board/qbtIDFPCBWrapper.h"
#include "util/qbtIDFProcs.h"

#include <array>
#include <memory>
#include <vector>

namespace qbt {

class TQBTPCBObjectList;

// ---------------------------------------------------------------------------------------------
// Board object

class TQBTPCBObject final : public TQBTInterfacedObject<IQBTPCBObject> {
public:
  TQBTPCBObject(TQBTPCBObjectList* Owner, uint32_t Handle);

  // IQBTPCBUpdates
  void BeginUpdate() override;
  void EndUpdate() override;

  // IQBTPCBObject
  std::string GetComment() override { return Rec().Comment; }
  uint32_t GetHandle() override { return FRec.Handle; }
  std::string GetName() override { return Rec().Name; }
  uint8_t GetLayer() override { return Rec().Layer; }
  std::string GetPattern() override { return Rec().Pattern; }
  uint8_t GetPlacement() override { return Rec().Placement; }
  long double GetMountOffset() override { return Rec().MountOffset; }
  TQBTPointRec GetStartPoint() override { return Rec().StartPoint; }
  TQBTPointRec GetEndPoint() override { return Rec().EndPoint; }
  long double GetWidth() override { return Rec().Width; }
  bool GetIsKeepOut() override { return Rec().IsKeepOut; }
  long double GetAngle() override { return Rec().Angle; }
  TQBTPCBObjectKind GetKind() override { return Rec().Kind; }
  uint32_t GetComponentHandle() override { return Rec().Component; }
  TQBTPCBObjectRec GetRec() override { return Rec(); }
  bool GetPlated() override { return Rec().Plated; }
  long double GetHoleSize() override { return Rec().HoleSize; }
  TQBTRectRec GetBoundingRect() override { return Rec().BoundingRect; }
  TQBTIDFPointsList* GetBoundingPolygon() override { return Rec().BoundingPolygon; }
  TQBTRef<IQBTPCBObject> GetComponent() override;
  long double GetHeight() override { return Rec().Height; }
  bool GetSelected() override { return Rec().Selected; }
  void SetName(const std::string& Value) override;
  void SetLayer(uint8_t Value) override;
  void SetPattern(const std::string& Value) override;
  void SetPlacement(uint8_t Value) override;
  void SetMountOffset(long double Value) override;
  void SetStartPoint(const TQBTPointRec& Value) override;
  void SetEndPoint(const TQBTPointRec& Value) override;
  void SetWidth(long double Value) override;
  void SetIsKeepOut(bool Value) override;
  void SetAngle(long double Value) override;
  void SetPlated(bool Value) override;
  void SetHoleSize(long double Value) override;
  void SetBoundingRect(const TQBTRectRec& Value) override;
  void SetBoundingPolygon(TQBTIDFPointsList*) override {}
  void SetHeight(long double Value) override;
  void SetComment(const std::string& Value) override;

  // The record, read from the provider on first use.
  const TQBTPCBObjectRec& Rec() {
    if (!FLoaded) {
      Load();
    }
    return FRec;
  }
  bool Loaded() const { return FLoaded; }
  TQBTPCBObjectFields Changed() const { return FChanged; }

private:
  friend class TQBTPCBObjectList;
  ~TQBTPCBObject() override;

  void Load();
  void Flush();
  // Stores Value into Field unless the loaded record already holds an equal value.
  template <class T, class TSame>
  void SetField(TQBTPCBObjectField Field, T TQBTPCBObjectRec::*Member, const T& Value, TSame Same);
  // The list that created the object is gone; nothing more is read or written.
  void Detach();

  bool FLoaded = false;
  TQBTPCBObjectList* FOwner; // not counted: the list outlives the use of its objects
  int32_t FUpdateCount = 0;
  TQBTPCBObjectRec FRec;
  TQBTPCBObjectFields FChanged;
  TQBTPCBObjectFields FSavedChanged;
  // Set before the object was read; reading keeps these values.
  TQBTPCBObjectFields FSetUnloaded;
  // Not counted: the component is an object of the same list, which holds it; counting it
  // would let a component that names itself keep itself alive.
  TQBTPCBObject* FComponent = nullptr;
  bool FComponentResolved = false;
};

// ---------------------------------------------------------------------------------------------
// Indexes

// The objects that share one value of the index field.
class TQBTSortedByFieldsItem {
public:
  explicit TQBTSortedByFieldsItem(const TQBTRef<IQBTPCBObjectProvider>& Provider);
  TQBTSortedByFieldsItem(const TQBTSortedByFieldsItem&) = delete;
  TQBTSortedByFieldsItem& operator=(const TQBTSortedByFieldsItem&) = delete;

  TQBTPCBObjectList& List() const { return *FListObject; }
  TQBTRef<IQBTPCBObjectList> FList;

private:
  TQBTPCBObjectList* FListObject;
};

// The objects of a list grouped by the value of one field, groups in ascending order of that
// value and each group in list order.
class TQBTSortedByFields : public TQBTIDFSortedList {
public:
  TQBTSortedByFields(TQBTPCBObjectList& Source, TQBTPCBObjectField Field);
  ~TQBTSortedByFields() override;

  TQBTPCBObjectField Field() const { return FField; }
  TQBTSortedByFieldsItem* SortedItems(int Index) const {
    return static_cast<TQBTSortedByFieldsItem*>(Items(Index));
  }
  // The group holding Key's value of the field, or nil.
  TQBTSortedByFieldsItem* Find(const TQBTPCBObjectRec& Key) const;

  // Key is a TQBTPCBObjectRec.
  int32_t CompareWithKey(const void* Item, const void* Key) const override;
  int32_t CompareItems(const void* Item1, const void* Item2) const override;
  void Delete(int Index) override;

private:
  const TQBTPCBObjectRec& FirstRec(const void* Item) const;

  TQBTPCBObjectField FField;
};

// The indexes of one list, each built on first request.
class TQBTFilterCache {
public:
  explicit TQBTFilterCache(TQBTPCBObjectList& List) : FList(&List) {}

  TQBTSortedByFields& GetIndex(TQBTPCBObjectField Field);
  // The list of the objects whose Field equals Key's, or nil.
  TQBTPCBObjectList* Lookup(const TQBTPCBObjectRec& Key, TQBTPCBObjectField Field);

private:
  TQBTPCBObjectList* FList; // not counted: the list owns this cache
  std::array<std::unique_ptr<TQBTSortedByFields>, PCBObjectFieldCount> FIndexes;
};

// ---------------------------------------------------------------------------------------------
// Object list

class TQBTPCBObjectList final : public TQBTInterfacedObject<IQBTPCBObjectList> {
public:
  // A list that does not fill from its provider starts filled and empty.
  TQBTPCBObjectList(TQBTRef<IQBTPCBObjectProvider> Provider, bool FillFromProvider);

  // IQBTGetInstance
  void* GetInstance() noexcept override { return this; }

  // IQBTPCBObjectList
  int32_t GetCount() override;
  TQBTRef<IQBTPCBObject> GetItem(int32_t Index) override;
  TQBTRef<IQBTPCBObject> FindByHandle(uint32_t Handle) override;
  TQBTRef<IQBTPCBObjectProvider> GetProvider() override { return FProvider; }
  TQBTRef<IQBTPCBObjectList> Filter(const TQBTPCBObjectRec& Key,
                                    TQBTPCBObjectFields Fields) override;

  // Enumerates the provider's objects unless the list is complete.
  void Fill();
  // The objects, in order, after filling.
  const std::vector<TQBTRef<TQBTPCBObject>>& Objects();
  IQBTPCBObjectProvider* Provider() const { return FProvider.Get(); }
  void Append(const TQBTRef<TQBTPCBObject>& Object) { FItems.push_back(Object); }

private:
  ~TQBTPCBObjectList() override;

  bool FFilled;
  std::vector<TQBTRef<TQBTPCBObject>> FItems;
  TQBTRef<IQBTPCBObjectProvider> FProvider;
  TQBTFilterCache FFilterCache;
};

// The list behind an interface of this unit.
inline TQBTPCBObjectList& ListInstance(IQBTPCBObjectList& List) {
  return *static_cast<TQBTPCBObjectList*>(List.GetInstance());
}

} // namespace qbt
