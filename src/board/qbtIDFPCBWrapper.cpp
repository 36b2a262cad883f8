// Records, their conversion and comparison, and the provider-side facilities of the unit.
#include "board/qbtIDFPCBWrapper.h"

#include <cmath>

namespace qbt {

TQBTPCBObjectRec ConvertPCBObjectRec(const TQBTPCBObjectRec& Source, TQBTIDFUnitsDef FromUnits,
                                     TQBTIDFUnitsDef ToUnits) {
  TQBTPCBObjectRec Result = Source;
  Result.MountOffset = Convert(Source.MountOffset, FromUnits, ToUnits);
  Result.StartPoint = ConvertPoint(Source.StartPoint, FromUnits, ToUnits);
  Result.EndPoint = ConvertPoint(Source.EndPoint, FromUnits, ToUnits);
  Result.Width = Convert(Source.Width, FromUnits, ToUnits);
  Result.HoleSize = Convert(Source.HoleSize, FromUnits, ToUnits);
  Result.BoundingRect = ConvertRect(Source.BoundingRect, FromUnits, ToUnits);
  Result.Height = Convert(Source.Height, FromUnits, ToUnits);
  return Result;
}

namespace {

template <class T>
int32_t Sign(const T& A, const T& B) {
  if (A < B) {
    return -1;
  }
  return B < A ? 1 : 0;
}

int32_t ComparePoints(const TQBTPointRec& A, const TQBTPointRec& B) {
  const int32_t ByX = Sign(A.X, B.X);
  return ByX != 0 ? ByX : Sign(A.Y, B.Y);
}

bool PointsMatch(const TQBTIDFPointItem& A, const TQBTIDFPointItem& B) {
  return std::fabs(A.X - B.X) < 0.1L && std::fabs(A.Y - B.Y) < 0.1L;
}

// The number of points that make the loop: a closed list repeats its first point at the end.
int DistinctPointCount(const TQBTIDFPointsList& List) {
  const int Count = List.Count();
  if (Count > 1) {
    const TQBTIDFPointItem& First = *List.PointItems(0);
    const TQBTIDFPointItem& Last = *List.PointItems(Count - 1);
    if (First.X == Last.X && First.Y == Last.Y) {
      return Count - 1;
    }
  }
  return Count;
}

} // namespace

bool IsSameBoundingPolygon(const TQBTIDFPointsList* A, const TQBTIDFPointsList* B) {
  if (A == nullptr || B == nullptr) {
    return false;
  }
  const int N = DistinctPointCount(*A);
  if (N < 1 || N != DistinctPointCount(*B)) {
    return false;
  }
  int Shift = 0;
  while (Shift < N && !PointsMatch(*B->PointItems(Shift), *A->PointItems(0))) {
    ++Shift;
  }
  if (Shift == N) {
    return false;
  }
  for (int J = 0; J < N; ++J) {
    if (!PointsMatch(*A->PointItems(J), *B->PointItems((J + Shift) % N))) {
      return false;
    }
  }
  return true;
}

int32_t ComparePCBObjectField(const TQBTPCBObjectRec& A, const TQBTPCBObjectRec& B,
                              TQBTPCBObjectField Field) {
  switch (Field) {
  case pfHandle:
    return Sign(A.Handle, B.Handle);
  case pfComponent:
    return Sign(A.Component, B.Component);
  case pfLayer:
    return int32_t{A.Layer} - int32_t{B.Layer};
  case pfPlacement:
    return int32_t{A.Placement} - int32_t{B.Placement};
  case pfKind:
    return int32_t{A.Kind} - int32_t{B.Kind};
  case pfRuleKind:
    return int32_t{A.RuleKind} - int32_t{B.RuleKind};
  case pfName:
    return CompareText(A.Name, B.Name);
  case pfPattern:
    return CompareText(A.Pattern, B.Pattern);
  case pfComment:
    return CompareText(A.Comment, B.Comment);
  case pfMountOffset:
    return Sign(A.MountOffset, B.MountOffset);
  case pfWidth:
    return Sign(A.Width, B.Width);
  case pfAngle:
    return Sign(A.Angle, B.Angle);
  case pfHoleSize:
    return Sign(A.HoleSize, B.HoleSize);
  case pfHeight:
    return Sign(A.Height, B.Height);
  case pfStartPoint:
    return ComparePoints(A.StartPoint, B.StartPoint);
  case pfEndPoint:
    return ComparePoints(A.EndPoint, B.EndPoint);
  case pfBoundingRect: {
    const int32_t ByFirst = ComparePoints(A.BoundingRect.First, B.BoundingRect.First);
    return ByFirst != 0 ? ByFirst : ComparePoints(A.BoundingRect.Second, B.BoundingRect.Second);
  }
  case pfIsKeepOut:
    return int32_t{A.IsKeepOut} - int32_t{B.IsKeepOut};
  case pfPlated:
    return int32_t{A.Plated} - int32_t{B.Plated};
  case pfSelected:
    return int32_t{A.Selected} - int32_t{B.Selected};
  case pfBoundingPolygon:
    return IsSameBoundingPolygon(A.BoundingPolygon, B.BoundingPolygon) ? 0 : 1;
  }
  return 0;
}

int32_t ComparePCBObjectRecs(const TQBTPCBObjectRec& A, const TQBTPCBObjectRec& B,
                             TQBTPCBObjectFields Fields) {
  for (int Field = 0; Field < PCBObjectFieldCount && !Fields.Empty(); ++Field) {
    const auto F = static_cast<TQBTPCBObjectField>(Field);
    if (!Fields.Contains(F)) {
      continue;
    }
    Fields.Exclude(F);
    const int32_t Result = ComparePCBObjectField(A, B, F);
    if (Result != 0) {
      return Result;
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Provider facilities

TQBTCurrentProviderHook CurrentProviderHook = nullptr;

TQBTRef<IQBTPCBObjectProvider> GetCurrentProvider() {
  if (CurrentProviderHook == nullptr) {
    return nullptr;
  }
  return CurrentProviderHook();
}

bool IsMountingHoleName(const std::string& Name) {
  return Name.find("MTG") != std::string::npos;
}

TStringList& ReportedFootprints() {
  static TStringList List = [] {
    TStringList Sorted;
    Sorted.Sorted = true;
    return Sorted;
  }();
  return List;
}

void ClearReportedFootprints() {
  ReportedFootprints().Clear();
}

} // namespace qbt
