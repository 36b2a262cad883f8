// Board objects read on first use, lists filled on first use, and their per-field indexes.
#include "board/qbtIDFPCBWrapperObjects.h"

#include "geometry/qbtIDFPolygons.h"

#include <algorithm>

namespace qbt {

namespace {

// Copies the fields a setter can change.
void CopySettableField(TQBTPCBObjectRec& To, const TQBTPCBObjectRec& From,
                       TQBTPCBObjectField Field) {
  switch (Field) {
  case pfName:
    To.Name = From.Name;
    break;
  case pfLayer:
    To.Layer = From.Layer;
    break;
  case pfPattern:
    To.Pattern = From.Pattern;
    break;
  case pfPlacement:
    To.Placement = From.Placement;
    break;
  case pfMountOffset:
    To.MountOffset = From.MountOffset;
    break;
  case pfStartPoint:
    To.StartPoint = From.StartPoint;
    break;
  case pfEndPoint:
    To.EndPoint = From.EndPoint;
    break;
  case pfWidth:
    To.Width = From.Width;
    break;
  case pfIsKeepOut:
    To.IsKeepOut = From.IsKeepOut;
    break;
  case pfAngle:
    To.Angle = From.Angle;
    break;
  case pfPlated:
    To.Plated = From.Plated;
    break;
  case pfHoleSize:
    To.HoleSize = From.HoleSize;
    break;
  case pfBoundingRect:
    To.BoundingRect = From.BoundingRect;
    break;
  case pfHeight:
    To.Height = From.Height;
    break;
  case pfComment:
    To.Comment = From.Comment;
    break;
  default:
    break;
  }
}

template <class T>
bool SameExact(const T& A, const T& B) {
  return A == B;
}

bool SamePointExact(const TQBTPointRec& A, const TQBTPointRec& B) {
  return IsSamePointExact(A, B);
}

// Corners matching pairwise or crosswise, within the tolerant comparison.
bool SameRect(const TQBTRectRec& A, const TQBTRectRec& B) {
  return IsSameSegment({A.First, A.Second}, {B.First, B.Second});
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TQBTPCBObject

TQBTPCBObject::TQBTPCBObject(TQBTPCBObjectList* Owner, uint32_t Handle) : FOwner(Owner) {
  FRec.Handle = Handle;
}

TQBTPCBObject::~TQBTPCBObject() {
  try {
    Flush();
  } catch (...) {
    // A destructor has nobody to report to; the provider has had its chance.
  }
  delete FRec.BoundingPolygon;
  FRec.BoundingPolygon = nullptr;
}

void TQBTPCBObject::BeginUpdate() {
  if (FUpdateCount == 0) {
    FSavedChanged = FChanged;
  }
  ++FUpdateCount;
}

void TQBTPCBObject::EndUpdate() {
  if (FUpdateCount <= 0) {
    return;
  }
  --FUpdateCount;
  if (FUpdateCount == 0 && FChanged != FSavedChanged) {
    Flush();
  }
}

void TQBTPCBObject::Load() {
  if (FLoaded) {
    return;
  }
  IQBTPCBObjectProvider* Provider = FOwner != nullptr ? FOwner->Provider() : nullptr;
  if (Provider == nullptr) {
    throw Exception(
        Format("Board object %d cannot be read: its list is gone", {std::to_string(FRec.Handle)}));
  }
  TQBTPCBObjectRec Fresh;
  try {
    Provider->ReadObject(FRec.Handle, Fresh);
  } catch (...) {
    delete Fresh.BoundingPolygon;
    throw;
  }
  // Values set before the first read are the caller's; the board need not have taken them.
  for (int Field = 0; Field < PCBObjectFieldCount; ++Field) {
    const auto F = static_cast<TQBTPCBObjectField>(Field);
    if (FSetUnloaded.Contains(F)) {
      CopySettableField(Fresh, FRec, F);
    }
  }
  FRec = std::move(Fresh);
  FSetUnloaded = {};
  FLoaded = true;
}

void TQBTPCBObject::Flush() {
  if (FChanged.Empty()) {
    return;
  }
  IQBTPCBObjectProvider* Provider = FOwner != nullptr ? FOwner->Provider() : nullptr;
  if (Provider != nullptr) {
    Provider->WriteObject(FChanged, FRec);
  }
  FChanged = {};
}

void TQBTPCBObject::Detach() {
  try {
    Flush();
  } catch (...) {
    // The list is going away; there is nobody left to tell.
  }
  FOwner = nullptr;
  FComponent = nullptr;
}

TQBTRef<IQBTPCBObject> TQBTPCBObject::GetComponent() {
  if (!FComponentResolved) {
    const uint32_t Component = Rec().Component;
    FComponentResolved = true;
    if (Component != 0 && FOwner != nullptr) {
      TQBTRef<IQBTPCBObject> Found = FOwner->FindByHandle(Component);
      FComponent = static_cast<TQBTPCBObject*>(Found.Get());
    }
  }
  return TQBTRef<IQBTPCBObject>(FComponent);
}

template <class T, class TSame>
void TQBTPCBObject::SetField(TQBTPCBObjectField Field, T TQBTPCBObjectRec::*Member, const T& Value,
                             TSame Same) {
  if (FLoaded && Same(FRec.*Member, Value)) {
    return;
  }
  BeginUpdate();
  FRec.*Member = Value;
  FChanged.Include(Field);
  if (!FLoaded) {
    FSetUnloaded.Include(Field);
  }
  EndUpdate();
}

void TQBTPCBObject::SetName(const std::string& Value) {
  SetField(pfName, &TQBTPCBObjectRec::Name, Value, SameExact<std::string>);
}
void TQBTPCBObject::SetLayer(uint8_t Value) {
  SetField(pfLayer, &TQBTPCBObjectRec::Layer, Value, SameExact<uint8_t>);
}
void TQBTPCBObject::SetPattern(const std::string& Value) {
  SetField(pfPattern, &TQBTPCBObjectRec::Pattern, Value, SameExact<std::string>);
}
void TQBTPCBObject::SetPlacement(uint8_t Value) {
  SetField(pfPlacement, &TQBTPCBObjectRec::Placement, Value, SameExact<uint8_t>);
}
void TQBTPCBObject::SetMountOffset(long double Value) {
  SetField(pfMountOffset, &TQBTPCBObjectRec::MountOffset, Value, SameExact<long double>);
}
void TQBTPCBObject::SetStartPoint(const TQBTPointRec& Value) {
  SetField(pfStartPoint, &TQBTPCBObjectRec::StartPoint, Value, SamePointExact);
}
void TQBTPCBObject::SetEndPoint(const TQBTPointRec& Value) {
  SetField(pfEndPoint, &TQBTPCBObjectRec::EndPoint, Value, SamePointExact);
}
void TQBTPCBObject::SetWidth(long double Value) {
  SetField(pfWidth, &TQBTPCBObjectRec::Width, Value, SameExact<long double>);
}
void TQBTPCBObject::SetIsKeepOut(bool Value) {
  SetField(pfIsKeepOut, &TQBTPCBObjectRec::IsKeepOut, Value, SameExact<bool>);
}
void TQBTPCBObject::SetAngle(long double Value) {
  SetField(pfAngle, &TQBTPCBObjectRec::Angle, Value, SameExact<long double>);
}
void TQBTPCBObject::SetPlated(bool Value) {
  SetField(pfPlated, &TQBTPCBObjectRec::Plated, Value, SameExact<bool>);
}
void TQBTPCBObject::SetHoleSize(long double Value) {
  SetField(pfHoleSize, &TQBTPCBObjectRec::HoleSize, Value, SameExact<long double>);
}
void TQBTPCBObject::SetBoundingRect(const TQBTRectRec& Value) {
  SetField(pfBoundingRect, &TQBTPCBObjectRec::BoundingRect, Value, SameRect);
}
void TQBTPCBObject::SetHeight(long double Value) {
  SetField(pfHeight, &TQBTPCBObjectRec::Height, Value, SameExact<long double>);
}
void TQBTPCBObject::SetComment(const std::string& Value) {
  SetField(pfComment, &TQBTPCBObjectRec::Comment, Value, SameExact<std::string>);
}

// ---------------------------------------------------------------------------------------------
// Indexes

TQBTSortedByFieldsItem::TQBTSortedByFieldsItem(const TQBTRef<IQBTPCBObjectProvider>& Provider)
    : FListObject(new TQBTPCBObjectList(Provider, false)) {
  FList = TQBTRef<IQBTPCBObjectList>(FListObject);
}

namespace {

// Fields whose comparison orders every pair of values consistently, so that a stable sort
// groups them as one insertion after another would.
bool HasTotalOrder(TQBTPCBObjectField Field) {
  switch (Field) {
  case pfHandle:
  case pfName:
  case pfLayer:
  case pfPattern:
  case pfPlacement:
  case pfIsKeepOut:
  case pfKind:
  case pfPlated:
  case pfRuleKind:
  case pfComponent:
  case pfComment:
  case pfSelected:
    return true;
  default:
    return false;
  }
}

// Integral fields compare as their values; the key sorts as ComparePCBObjectField does.
bool IntegralKey(const TQBTPCBObjectRec& Rec, TQBTPCBObjectField Field, uint64_t& Key) {
  switch (Field) {
  case pfHandle:
    Key = Rec.Handle;
    return true;
  case pfComponent:
    Key = Rec.Component;
    return true;
  case pfLayer:
    Key = Rec.Layer;
    return true;
  case pfPlacement:
    Key = Rec.Placement;
    return true;
  case pfKind:
    Key = Rec.Kind;
    return true;
  case pfRuleKind:
    Key = Rec.RuleKind;
    return true;
  case pfIsKeepOut:
    Key = Rec.IsKeepOut;
    return true;
  case pfPlated:
    Key = Rec.Plated;
    return true;
  case pfSelected:
    Key = Rec.Selected;
    return true;
  default:
    return false;
  }
}

} // namespace

TQBTSortedByFields::TQBTSortedByFields(TQBTPCBObjectList& Source, TQBTPCBObjectField Field)
    : FField(Field) {
  Sorted = true;
  Duplicates = duIgnore;
  const TQBTRef<IQBTPCBObjectProvider> Provider(Source.Provider());
  const auto& Objects = Source.Objects();
  // Every object is read before the first group is made, so that a provider error leaves no
  // half-built index behind.
  for (const auto& Object : Objects) {
    Object->Rec();
  }

  if (HasTotalOrder(Field)) {
    // Sorting once keeps large boards fast; within a group the list order stays.
    std::vector<TQBTPCBObject*> Order;
    Order.reserve(Objects.size());
    for (const auto& Object : Objects) {
      Order.push_back(Object.Get());
    }
    uint64_t Probe = 0;
    if (IntegralKey(TQBTPCBObjectRec(), Field, Probe)) {
      std::vector<std::pair<uint64_t, TQBTPCBObject*>> Keyed;
      Keyed.reserve(Order.size());
      for (TQBTPCBObject* Object : Order) {
        uint64_t Key = 0;
        IntegralKey(Object->Rec(), Field, Key);
        Keyed.emplace_back(Key, Object);
      }
      std::stable_sort(Keyed.begin(), Keyed.end(),
                       [](const auto& A, const auto& B) { return A.first < B.first; });
      for (size_t I = 0; I < Keyed.size(); ++I) {
        Order[I] = Keyed[I].second;
      }
    } else {
      std::stable_sort(Order.begin(), Order.end(), [Field](TQBTPCBObject* A, TQBTPCBObject* B) {
        return ComparePCBObjectField(A->Rec(), B->Rec(), Field) < 0;
      });
    }
    TQBTSortedByFieldsItem* Group = nullptr;
    for (TQBTPCBObject* Object : Order) {
      if (Group == nullptr || ComparePCBObjectField(FirstRec(Group), Object->Rec(), Field) != 0) {
        Group = new TQBTSortedByFieldsItem(Provider);
        List.push_back(Group);
      }
      Group->List().Append(TQBTRef<TQBTPCBObject>(Object));
    }
    return;
  }

  for (const auto& Object : Objects) {
    const TQBTPCBObjectRec& Rec = Object->Rec();
    int Index = 0;
    if (FindKey(&Rec, Index)) {
      SortedItems(Index)->List().Append(Object);
      continue;
    }
    auto* Group = new TQBTSortedByFieldsItem(Provider);
    Group->List().Append(Object);
    List.insert(List.begin() + Index, Group);
  }
}

TQBTSortedByFields::~TQBTSortedByFields() {
  Clear();
}

const TQBTPCBObjectRec& TQBTSortedByFields::FirstRec(const void* Item) const {
  const auto* Group = static_cast<const TQBTSortedByFieldsItem*>(Item);
  return Group->List().Objects().front()->Rec();
}

TQBTSortedByFieldsItem* TQBTSortedByFields::Find(const TQBTPCBObjectRec& Key) const {
  int Index = 0;
  return FindKey(&Key, Index) ? SortedItems(Index) : nullptr;
}

int32_t TQBTSortedByFields::CompareWithKey(const void* Item, const void* Key) const {
  return ComparePCBObjectField(FirstRec(Item), *static_cast<const TQBTPCBObjectRec*>(Key), FField);
}

int32_t TQBTSortedByFields::CompareItems(const void* Item1, const void* Item2) const {
  return ComparePCBObjectField(FirstRec(Item1), FirstRec(Item2), FField);
}

void TQBTSortedByFields::Delete(int Index) {
  delete SortedItems(Index);
  TQBTIDFSortedList::Delete(Index);
}

TQBTSortedByFields& TQBTFilterCache::GetIndex(TQBTPCBObjectField Field) {
  auto& Index = FIndexes[Field];
  if (Index == nullptr) {
    Index = std::make_unique<TQBTSortedByFields>(*FList, Field);
  }
  return *Index;
}

TQBTPCBObjectList* TQBTFilterCache::Lookup(const TQBTPCBObjectRec& Key, TQBTPCBObjectField Field) {
  TQBTSortedByFieldsItem* Group = GetIndex(Field).Find(Key);
  return Group != nullptr ? &Group->List() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// TQBTPCBObjectList

TQBTPCBObjectList::TQBTPCBObjectList(TQBTRef<IQBTPCBObjectProvider> Provider, bool FillFromProvider)
    : FFilled(!FillFromProvider), FProvider(std::move(Provider)), FFilterCache(*this) {}

TQBTPCBObjectList::~TQBTPCBObjectList() {
  // The objects this list made write back while the provider is still held, and forget the
  // list, so that one outliving it can no longer reach it.
  for (const auto& Object : FItems) {
    if (Object->FOwner == this) {
      Object->Detach();
    }
  }
}

void TQBTPCBObjectList::Fill() {
  if (FFilled) {
    return;
  }
  if (FProvider == nullptr) {
    FFilled = true;
    return;
  }
  const size_t Before = FItems.size();
  try {
    FProvider->EnumObjects([this](uint32_t Handle) {
      FItems.push_back(TQBTRef<TQBTPCBObject>(new TQBTPCBObject(this, Handle)));
    });
  } catch (...) {
    // Half a board is no board: the next use enumerates again.
    FItems.resize(Before);
    throw;
  }
  FFilled = true;
}

const std::vector<TQBTRef<TQBTPCBObject>>& TQBTPCBObjectList::Objects() {
  Fill();
  return FItems;
}

int32_t TQBTPCBObjectList::GetCount() {
  return static_cast<int32_t>(Objects().size());
}

TQBTRef<IQBTPCBObject> TQBTPCBObjectList::GetItem(int32_t Index) {
  const auto& Items = Objects();
  if (Index < 0 || static_cast<size_t>(Index) >= Items.size()) {
    throw Exception(Format("List index out of bounds (%d)", {std::to_string(Index)}));
  }
  return Items[static_cast<size_t>(Index)];
}

TQBTRef<IQBTPCBObject> TQBTPCBObjectList::FindByHandle(uint32_t Handle) {
  TQBTPCBObjectRec Key;
  Key.Handle = Handle;
  TQBTRef<IQBTPCBObjectList> Found = Filter(Key, {pfHandle});
  if (Found->GetCount() == 0) {
    return nullptr;
  }
  return Found->GetItem(0);
}

TQBTRef<IQBTPCBObjectList> TQBTPCBObjectList::Filter(const TQBTPCBObjectRec& Key,
                                                     TQBTPCBObjectFields Fields) {
  if (Fields.Contains(pfLayer) && Key.Layer == 0) {
    Fields.Exclude(pfLayer);
  }
  if (Fields.Contains(pfKind) && Key.Kind == okNone) {
    Fields.Exclude(pfKind);
  }
  if (Fields.Empty()) {
    return TQBTRef<IQBTPCBObjectList>(this);
  }

  // One index narrows the search; the remaining fields are compared on its candidates.
  TQBTPCBObjectList* Candidates = this;
  for (TQBTPCBObjectField Field : {pfHandle, pfComponent, pfKind, pfLayer, pfName}) {
    if (!Fields.Contains(Field)) {
      continue;
    }
    Candidates = FFilterCache.Lookup(Key, Field);
    if (Candidates == nullptr) {
      return SharedEmptyList();
    }
    Fields.Exclude(Field);
    if (Fields.Empty()) {
      return TQBTRef<IQBTPCBObjectList>(Candidates);
    }
    break;
  }

  auto* Result = new TQBTPCBObjectList(FProvider, false);
  TQBTRef<IQBTPCBObjectList> ResultRef(Result);
  for (const auto& Object : Candidates->Objects()) {
    if (ComparePCBObjectRecs(Object->Rec(), Key, Fields) == 0) {
      Result->Append(Object);
    }
  }
  return ResultRef;
}

// ---------------------------------------------------------------------------------------------
// Free operations

TQBTRef<IQBTPCBObjectList> CreatePCBObjectList(const TQBTRef<IQBTPCBObjectProvider>& Provider) {
  return TQBTRef<IQBTPCBObjectList>(new TQBTPCBObjectList(Provider, true));
}

TQBTRef<IQBTPCBObjectList> SharedEmptyList() {
  static const TQBTRef<IQBTPCBObjectList> Empty(new TQBTPCBObjectList(nullptr, false));
  return Empty;
}

} // namespace qbt
