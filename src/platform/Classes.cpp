#include "platform/Classes.h"

#include "platform/SysUtils.h"

namespace qbt {

int TStringList::AddObject(std::string_view S, intptr_t Object) {
  int Index = Count();
  if (Sorted) {
    Find(S, Index);
  }
  FEntries.insert(FEntries.begin() + Index, TEntry{std::string(S), Object});
  return Index;
}

bool TStringList::Find(std::string_view S, int& Index) const {
  int Lo = 0, Hi = Count() - 1;
  bool Found = false;
  while (Lo <= Hi) {
    const int Mid = (Lo + Hi) / 2;
    const int Cmp = CompareText(FEntries[Mid].Text, S);
    if (Cmp < 0) {
      Lo = Mid + 1;
    } else {
      Hi = Mid - 1;
      if (Cmp == 0) {
        Found = true;
      }
    }
  }
  Index = Lo;
  return Found;
}

int TStringList::IndexOf(std::string_view S) const {
  if (Sorted) {
    int Index = 0;
    return Find(S, Index) ? Index : -1;
  }
  for (int I = 0; I < Count(); ++I) {
    if (SameText(FEntries[I].Text, S)) {
      return I;
    }
  }
  return -1;
}

} // namespace qbt
