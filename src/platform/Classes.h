// A small stand-in for the runtime library's string list: texts with an attached number,
// optionally kept sorted (ignoring ASCII case), with an update bracket.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbt {

class TStringList {
public:
  struct TEntry {
    std::string Text;
    intptr_t Object = 0;
  };

  bool Sorted = false;

  int Count() const { return static_cast<int>(FEntries.size()); }
  const std::string& Strings(int Index) const { return FEntries.at(Index).Text; }
  intptr_t Objects(int Index) const { return FEntries.at(Index).Object; }
  int Add(std::string_view S) { return AddObject(S, 0); }
  int AddObject(std::string_view S, intptr_t Object);
  void Clear() { FEntries.clear(); }
  // Sorted: binary search ignoring ASCII case; unsorted: first equal text. -1 when absent.
  int IndexOf(std::string_view S) const;
  // Sorted lists only: Index is the position of S or where it would be inserted.
  bool Find(std::string_view S, int& Index) const;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { --FUpdateCount; }
  int UpdateCount() const { return FUpdateCount; }

private:
  std::vector<TEntry> FEntries;
  int FUpdateCount = 0;
};

// What the utilities need of a list box with check marks.
class TCheckListItems {
public:
  virtual ~TCheckListItems() = default;
  virtual int Count() const = 0;
  virtual bool Checked(int Index) const = 0;
  virtual void SetChecked(int Index, bool State) = 0;
};

} // namespace qbt
