// Operations several subsystems share: the sorted pointer list, string and file helpers,
// backups, text positions, the date and time settings bracket, floating-point masking and
// the trace log.
#pragma once

#include "platform/Classes.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Sorted pointer list

enum TQBTDuplicates : uint8_t { duIgnore = 0, duAccept = 1, duError = 2 };

class TQBTIDFSortedList {
public:
  TQBTIDFSortedList() = default;
  TQBTIDFSortedList(const TQBTIDFSortedList&) = delete;
  TQBTIDFSortedList& operator=(const TQBTIDFSortedList&) = delete;
  // Subclasses that own their items must call Clear in their own destructor, so that their
  // Delete runs while they still exist.
  virtual ~TQBTIDFSortedList();

  TQBTDuplicates Duplicates = duIgnore;
  bool Sorted = true;

  // Negative, 0 or positive as Item sorts before, with or after Key.
  virtual int32_t CompareWithKey(const void* Item, const void* Key) const;
  virtual int32_t CompareItems(const void* Item1, const void* Item2) const;
  // Removes the pointer at Index; owning subclasses free the item here as well.
  virtual void Delete(int Index);

  int Count() const { return static_cast<int>(List.size()); }
  void* Items(int Index) const;
  void Clear();
  int Add(void* Item);
  int IndexOf(const void* Key) const;
  bool FindKey(const void* Key, int& Index) const;
  bool FindItem(const void* Item, int& Index) const;

protected:
  std::vector<void*> List;

private:
  template <class TCompare>
  bool Search(TCompare Compare, int& Index) const;
};

// ---------------------------------------------------------------------------------------------
// Records

struct TQBTNameIDRec {
  std::string Name;
  int32_t ID = 0;
};

struct TQBTSaveDateTimeFormatRec {
  std::string ShortTimeFormat;
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string LongTimeFormat;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string TimeAMString;
  std::string TimePMString;
};

// A character index into a text with its line and column, all 1-based.
struct TQBTTextPosition {
  int32_t Pos = 1;
  int32_t Line = 1;
  int32_t Char = 1;
};

// ---------------------------------------------------------------------------------------------
// String operations

std::string AddLineBreak(std::string_view S);
std::string AppendSpaces(std::string_view S, int N);
int MaxLength(const std::vector<std::string>& Strings);
std::string JoinNonBlank(const std::vector<std::string>& Strings);
bool MatchesAny(std::string_view S, const std::vector<std::string>& Strings);
std::string RemoveChars(std::string_view S, std::string_view CharSet);
std::string ReplaceChar(std::string_view S, char From, char To);
std::string IncludeTrailingChar(std::string_view S, char Ch);
// On this platform the trailing delimiter is the file system's own ("/").
std::string IncludeTrailingBackslash(std::string_view S);
std::string FileNameWithoutExt(const std::string& Name);
std::string BoolToText(bool B);
void FillNameIDList(const std::vector<TQBTNameIDRec>& Records, TStringList& List);
void FillStrings(const std::vector<std::string>& Strings, TStringList& List);
bool PointerInList(const void* P, const std::vector<const void*>& Pointers);

// Frees the objects of List from the last entry to the first, removing each entry first.
template <class T>
void FreeListObjects(std::vector<T*>* List) {
  if (List == nullptr) {
    return;
  }
  while (!List->empty()) {
    T* Object = List->back();
    List->pop_back();
    delete Object;
  }
}

// ---------------------------------------------------------------------------------------------
// File operations

// Lines are split at CR LF, CR or LF; a NUL ends the text; every line is written with CR LF.
void SaveStringToFile(const std::string& FileName, std::string_view Text);
std::string LoadFileToString(const std::string& FileName);
void AppendStringToFile(const std::string& FileName, std::string_view Text);
// The lines of Text as SaveStringToFile writes them.
std::string NormalizeLineBreaks(std::string_view Text);
bool ChangeFileAttributes(const std::string& FileName, uint32_t ClearMask, uint32_t SetMask);
std::string BackupFileName(const std::string& FileName);
void MakeBackup(const std::string& FileName);
std::string TraceLogFileName();
void WriteTraceLog(std::string_view Message) noexcept;
// WriteTraceLog into a file of the caller's choice.
void WriteTraceLogFile(const std::string& LogFileName, std::string_view Message) noexcept;

// ---------------------------------------------------------------------------------------------
// Date and time settings

void SaveDateTimeSettings(TQBTSaveDateTimeFormatRec& Rec);
void RestoreDateTimeSettings(const TQBTSaveDateTimeFormatRec& Rec);

// Saves the settings on construction and restores them on every way out of the scope.
class TQBTDateTimeSettingsBracket {
public:
  TQBTDateTimeSettingsBracket() { SaveDateTimeSettings(FSaved); }
  ~TQBTDateTimeSettingsBracket() { RestoreDateTimeSettings(FSaved); }
  TQBTDateTimeSettingsBracket(const TQBTDateTimeSettingsBracket&) = delete;
  TQBTDateTimeSettingsBracket& operator=(const TQBTDateTimeSettingsBracket&) = delete;

private:
  TQBTSaveDateTimeFormatRec FSaved;
};

// ---------------------------------------------------------------------------------------------
// Text positions and floating point

TQBTTextPosition AdvanceTextPosition(const TQBTTextPosition& Previous, std::string_view Text,
                                     int32_t NewPos);

void MaskFloatExceptions();
// Nearest integer, ties to even.
int64_t RoundMasked(long double X);

// ---------------------------------------------------------------------------------------------
// Check list boxes

int CountItemsChecked(const TCheckListItems& ListBox, bool State);
void SetAllItemsChecked(TCheckListItems& ListBox, bool State);

} // namespace qbt
