#include "util/qbtIDFProcs.h"

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace qbt {

// ---------------------------------------------------------------------------------------------
// Sorted pointer list

TQBTIDFSortedList::~TQBTIDFSortedList() {
  Clear();
}

int32_t TQBTIDFSortedList::CompareWithKey(const void* Item, const void* Key) const {
  return CompareItems(Item, Key);
}

int32_t TQBTIDFSortedList::CompareItems(const void* Item1, const void* Item2) const {
  const auto A = reinterpret_cast<uintptr_t>(Item1);
  const auto B = reinterpret_cast<uintptr_t>(Item2);
  return A < B ? -1 : (A > B ? 1 : 0);
}

void* TQBTIDFSortedList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw Exception(Format("List index out of bounds (%d)", {std::to_string(Index)}));
  }
  return List[static_cast<size_t>(Index)];
}

void TQBTIDFSortedList::Delete(int Index) {
  Items(Index); // raises for an index out of range
  List.erase(List.begin() + Index);
}

void TQBTIDFSortedList::Clear() {
  while (Count() > 0) {
    Delete(Count() - 1);
  }
}

template <class TCompare>
bool TQBTIDFSortedList::Search(TCompare Compare, int& Index) const {
  int Lo = 0;
  int Hi = Count() - 1;
  bool Found = false;
  while (Lo <= Hi) {
    const int Mid = (Lo + Hi) / 2;
    const int32_t Cmp = Compare(List[static_cast<size_t>(Mid)]);
    if (Cmp < 0) {
      Lo = Mid + 1;
    } else {
      Hi = Mid - 1;
      if (Cmp == 0) {
        Found = true;
        if (Duplicates != duAccept) {
          Lo = Mid;
        }
      }
    }
  }
  Index = Lo;
  return Found;
}

bool TQBTIDFSortedList::FindKey(const void* Key, int& Index) const {
  if (!Sorted) {
    Index = IndexOf(Key);
    return Index >= 0;
  }
  return Search([&](const void* Item) { return CompareWithKey(Item, Key); }, Index);
}

bool TQBTIDFSortedList::FindItem(const void* Item, int& Index) const {
  if (!Sorted) {
    Index = -1;
    for (int I = 0; I < Count(); ++I) {
      if (List[static_cast<size_t>(I)] == Item) {
        Index = I;
        break;
      }
    }
    return Index >= 0;
  }
  return Search([&](const void* Held) { return CompareItems(Held, Item); }, Index);
}

int TQBTIDFSortedList::IndexOf(const void* Key) const {
  if (Sorted) {
    int Index = -1;
    return FindKey(Key, Index) ? Index : -1;
  }
  for (int I = 0; I < Count(); ++I) {
    if (CompareWithKey(List[static_cast<size_t>(I)], Key) == 0) {
      return I;
    }
  }
  return -1;
}

int TQBTIDFSortedList::Add(void* Item) {
  if (!Sorted) {
    List.push_back(Item);
    return Count() - 1;
  }
  int Index = 0;
  if (FindItem(Item, Index)) {
    if (Duplicates == duIgnore) {
      return Index;
    }
    if (Duplicates == duError) {
      throw Exception("Can't insert duplicate item");
    }
  }
  List.insert(List.begin() + Index, Item);
  return Index;
}

// ---------------------------------------------------------------------------------------------
// String operations

std::string AddLineBreak(std::string_view S) {
  return S.empty() ? std::string() : std::string(S) + "\r\n";
}

std::string AppendSpaces(std::string_view S, int N) {
  std::string R(S);
  if (N > 0) {
    R.append(static_cast<size_t>(N), ' ');
  }
  return R;
}

int MaxLength(const std::vector<std::string>& Strings) {
  size_t Max = 0;
  for (const auto& S : Strings) {
    Max = std::max(Max, S.size());
  }
  return static_cast<int>(Max);
}

std::string JoinNonBlank(const std::vector<std::string>& Strings) {
  std::string R;
  for (const auto& S : Strings) {
    if (Trim(S).empty()) {
      continue;
    }
    if (!R.empty()) {
      R += ' ';
    }
    R += S;
  }
  return R;
}

bool MatchesAny(std::string_view S, const std::vector<std::string>& Strings) {
  for (const auto& Candidate : Strings) {
    if (SameText(S, Candidate)) {
      return true;
    }
  }
  return false;
}

std::string RemoveChars(std::string_view S, std::string_view CharSet) {
  std::string R;
  R.reserve(S.size());
  for (char C : S) {
    if (CharSet.find(C) == std::string_view::npos) {
      R += C;
    }
  }
  return R;
}

std::string ReplaceChar(std::string_view S, char From, char To) {
  std::string R(S);
  for (char& C : R) {
    if (C == From) {
      C = To;
    }
  }
  return R;
}

std::string IncludeTrailingChar(std::string_view S, char Ch) {
  std::string R(S);
  if (!R.empty() && R.back() != Ch) {
    R += Ch;
  }
  return R;
}

std::string IncludeTrailingBackslash(std::string_view S) {
  return IncludeTrailingChar(S, PathDelim);
}

std::string FileNameWithoutExt(const std::string& Name) {
  return ChangeFileExt(ExtractFileName(Name), "");
}

std::string BoolToText(bool B) {
  return B ? "True" : "False";
}

void FillNameIDList(const std::vector<TQBTNameIDRec>& Records, TStringList& List) {
  List.BeginUpdate();
  List.Clear();
  for (const auto& Rec : Records) {
    List.AddObject(Rec.Name, Rec.ID);
  }
  List.EndUpdate();
}

void FillStrings(const std::vector<std::string>& Strings, TStringList& List) {
  List.BeginUpdate();
  List.Clear();
  for (const auto& S : Strings) {
    List.Add(S);
  }
  List.EndUpdate();
}

bool PointerInList(const void* P, const std::vector<const void*>& Pointers) {
  for (const void* Q : Pointers) {
    if (Q == P) {
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// File operations

namespace {

// Closes the descriptor on every way out.
class TFileHandle {
public:
  explicit TFileHandle(int Fd) : FFd(Fd) {}
  ~TFileHandle() {
    if (FFd >= 0) {
      ::close(FFd);
    }
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int Fd() const { return FFd; }
  // Closes now and reports whether the data reached the file.
  bool Close() {
    const int Fd = FFd;
    FFd = -1;
    return ::close(Fd) == 0;
  }

private:
  int FFd;
};

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    const ssize_t N = ::write(Fd, Bytes.data(), Bytes.size());
    if (N < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    Bytes.remove_prefix(static_cast<size_t>(N));
  }
  return true;
}

[[noreturn]] void RaiseFileError(const char* Pattern, const std::string& FileName, int Error) {
  throw Exception(Format(Pattern, {FileName, SysErrorMessage(Error)}));
}

constexpr const char* SFCreateError = "Cannot create file \"%s\". %s";
constexpr const char* SFOpenError = "Cannot open file \"%s\". %s";

void WriteNewFile(const std::string& FileName, std::string_view Bytes) {
  TFileHandle File(::open(FileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (File.Fd() < 0) {
    RaiseFileError(SFCreateError, FileName, errno);
  }
  if (!WriteAll(File.Fd(), Bytes) || !File.Close()) {
    RaiseFileError(SFCreateError, FileName, errno);
  }
}

} // namespace

std::string NormalizeLineBreaks(std::string_view Text) {
  std::string R;
  R.reserve(Text.size() + Text.size() / 16 + 2);
  size_t I = 0;
  const size_t N = Text.size();
  while (I < N && Text[I] != '\0') {
    size_t LineEnd = I;
    while (LineEnd < N && Text[LineEnd] != '\r' && Text[LineEnd] != '\n' && Text[LineEnd] != '\0') {
      ++LineEnd;
    }
    R.append(Text.substr(I, LineEnd - I));
    R += "\r\n";
    I = LineEnd;
    if (I < N && Text[I] == '\r') {
      ++I;
      if (I < N && Text[I] == '\n') {
        ++I;
      }
    } else if (I < N && Text[I] == '\n') {
      ++I;
    }
  }
  return R;
}

namespace {

// True when Text is already as NormalizeLineBreaks would make it: no NUL, every line ended by
// CR LF. The large files the system writes are, and need no copy.
bool HasNormalLineBreaks(std::string_view Text) {
  const size_t N = Text.size();
  if (N == 0) {
    return true;
  }
  const auto* T = reinterpret_cast<const unsigned char*>(Text.data());
  if (N < 2 || T[N - 2] != '\r' || T[N - 1] != '\n' || T[0] == '\n') {
    return false;
  }
  // One branch-free pass the compiler vectorises: a CR must be followed by an LF and an LF
  // preceded by a CR, and there is no NUL.
  unsigned Bad = 0;
  for (size_t I = 0; I + 1 < N; ++I) {
    Bad |= static_cast<unsigned>(T[I] == '\r') ^ static_cast<unsigned>(T[I + 1] == '\n');
    Bad |= static_cast<unsigned>(T[I] == 0);
  }
  return Bad == 0;
}

} // namespace

void SaveStringToFile(const std::string& FileName, std::string_view Text) {
  if (HasNormalLineBreaks(Text)) {
    WriteNewFile(FileName, Text);
    return;
  }
  WriteNewFile(FileName, NormalizeLineBreaks(Text));
}

std::string LoadFileToString(const std::string& FileName) {
  TFileHandle File(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC));
  if (File.Fd() < 0) {
    RaiseFileError(SFOpenError, FileName, errno);
  }
  std::string Bytes;
  char Buffer[1 << 16];
  for (;;) {
    const ssize_t N = ::read(File.Fd(), Buffer, sizeof(Buffer));
    if (N < 0) {
      if (errno == EINTR) {
        continue;
      }
      RaiseFileError(SFOpenError, FileName, errno);
    }
    if (N == 0) {
      break;
    }
    Bytes.append(Buffer, static_cast<size_t>(N));
  }
  return NormalizeLineBreaks(Bytes);
}

void AppendStringToFile(const std::string& FileName, std::string_view Text) {
  if (!FileExists(FileName)) {
    SaveStringToFile(FileName, Text);
    return;
  }
  TFileHandle File(::open(FileName.c_str(), O_RDWR | O_CLOEXEC));
  if (File.Fd() < 0) {
    RaiseFileError(SFOpenError, FileName, errno);
  }
  if (::lseek(File.Fd(), 0, SEEK_END) < 0 || !WriteAll(File.Fd(), Text) || !File.Close()) {
    RaiseFileError(SFOpenError, FileName, errno);
  }
}

bool ChangeFileAttributes(const std::string& FileName, uint32_t ClearMask, uint32_t SetMask) {
  const int32_t Attr = FileGetAttr(FileName);
  if (Attr == faInvalid) {
    return false;
  }
  return FileSetAttr(FileName, (static_cast<uint32_t>(Attr) & ~ClearMask) | SetMask);
}

std::string BackupFileName(const std::string& FileName) {
  // The whole extension is kept: cut to four characters, x.emn and x.emp would share a backup.
  std::string Ext = ExtractFileExt(FileName);
  if (Ext.empty()) {
    Ext = ".~";
  } else {
    Ext.insert(1, 1, '~');
  }
  const std::string Dir = ExtractFilePath(FileName);
  return IncludeTrailingBackslash(Dir) + ChangeFileExt(ExtractFileName(FileName), Ext);
}

void MakeBackup(const std::string& FileName) {
  if (!FileExists(FileName)) {
    return;
  }
  const std::string Backup = BackupFileName(FileName);
  if (FileExists(Backup)) {
    ChangeFileAttributes(Backup, faReadOnly, 0);
    DeleteFile(Backup);
  }
  RenameFile(FileName, Backup);
}

std::string TraceLogFileName() {
  const std::string Exe = GetModuleFileName();
  return ExtractFilePath(Exe) + FileNameWithoutExt(Exe) + "_QBT.log";
}

void WriteTraceLogFile(const std::string& LogFileName, std::string_view Message) noexcept {
  try {
    AppendStringToFile(LogFileName, std::string(Message) + "\r\n");
  } catch (...) {
    // The trace log must never disturb the host.
  }
}

void WriteTraceLog(std::string_view Message) noexcept {
  try {
    WriteTraceLogFile(TraceLogFileName(), Message);
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------------------------
// Date and time settings

void SaveDateTimeSettings(TQBTSaveDateTimeFormatRec& Rec) {
  const TFormatSettings& S = FormatSettings();
  Rec.ShortTimeFormat = S.ShortTimeFormat;
  Rec.ShortDateFormat = S.ShortDateFormat;
  Rec.LongDateFormat = S.LongDateFormat;
  Rec.LongTimeFormat = S.LongTimeFormat;
  Rec.DateSeparator = S.DateSeparator;
  Rec.TimeSeparator = S.TimeSeparator;
  Rec.TimeAMString = S.TimeAMString;
  Rec.TimePMString = S.TimePMString;
}

void RestoreDateTimeSettings(const TQBTSaveDateTimeFormatRec& Rec) {
  TFormatSettings& S = FormatSettings();
  S.ShortTimeFormat = Rec.ShortTimeFormat;
  S.ShortDateFormat = Rec.ShortDateFormat;
  S.LongDateFormat = Rec.LongDateFormat;
  S.LongTimeFormat = Rec.LongTimeFormat;
  S.DateSeparator = Rec.DateSeparator;
  S.TimeSeparator = Rec.TimeSeparator;
  S.TimeAMString = Rec.TimeAMString;
  S.TimePMString = Rec.TimePMString;
}

// ---------------------------------------------------------------------------------------------
// Text positions

namespace {

inline bool IsBreakChar(char C) {
  return C == '\r' || C == '\n';
}
inline bool ArePartners(char A, char B) {
  return (A == '\r' && B == '\n') || (A == '\n' && B == '\r');
}

// Whether the break character at 1-based Pos closes a pair begun just before it. Pairs are
// found from left to right, so in a run of alternating CR and LF every second one closes.
bool ClosesPair(std::string_view Text, int32_t Pos) {
  int32_t Run = 0;
  for (int32_t I = Pos;
       I > 1 && ArePartners(Text[static_cast<size_t>(I - 2)], Text[static_cast<size_t>(I - 1)]);
       --I) {
    ++Run;
  }
  return Run % 2 == 1;
}

} // namespace

TQBTTextPosition AdvanceTextPosition(const TQBTTextPosition& Previous, std::string_view Text,
                                     int32_t NewPos) {
  if (NewPos <= 1) {
    return TQBTTextPosition{1, 1, 1};
  }
  const auto Length = static_cast<int32_t>(std::min<size_t>(Text.size(), INT32_MAX));
  TQBTTextPosition Result = Previous;
  if (NewPos > Length) {
    Result.Pos = NewPos;
    return Result;
  }
  if (Previous.Pos < 1 || Previous.Pos > NewPos) {
    Result = TQBTTextPosition{1, 1, 1};
  }
  int32_t P = Result.Pos;
  bool SecondHalf = IsBreakChar(Text[static_cast<size_t>(P - 1)]) && ClosesPair(Text, P);
  for (; P < NewPos; ++P) {
    const char C = Text[static_cast<size_t>(P - 1)];
    if (!IsBreakChar(C)) {
      ++Result.Char;
      SecondHalf = false;
    } else if (SecondHalf) {
      SecondHalf = false;
    } else {
      ++Result.Line;
      Result.Char = 1;
      SecondHalf = P < Length && ArePartners(C, Text[static_cast<size_t>(P)]);
    }
  }
  Result.Pos = NewPos;
  return Result;
}

// ---------------------------------------------------------------------------------------------
// Floating point

void MaskFloatExceptions() {
  fedisableexcept(FE_ALL_EXCEPT);
}

int64_t RoundMasked(long double X) {
  MaskFloatExceptions();
  const int SavedRounding = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const long double R = std::nearbyintl(X);
  std::fesetround(SavedRounding);
  if (std::isnan(R)) {
    return 0;
  }
  constexpr long double Max = static_cast<long double>(std::numeric_limits<int64_t>::max());
  constexpr long double Min = static_cast<long double>(std::numeric_limits<int64_t>::min());
  if (R >= Max) {
    return std::numeric_limits<int64_t>::max();
  }
  if (R <= Min) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(R);
}

// ---------------------------------------------------------------------------------------------
// Check list boxes

int CountItemsChecked(const TCheckListItems& ListBox, bool State) {
  int N = 0;
  for (int I = 0; I < ListBox.Count(); ++I) {
    if (ListBox.Checked(I) == State) {
      ++N;
    }
  }
  return N;
}

void SetAllItemsChecked(TCheckListItems& ListBox, bool State) {
  for (int I = 0; I < ListBox.Count(); ++I) {
    ListBox.SetChecked(I, State);
  }
}

// ---------------------------------------------------------------------------------------------
// Load of the unit: one line in the trace log each time a library holding it is loaded.

namespace {
struct TTraceLogAtLoad {
  TTraceLogAtLoad() {
    WriteTraceLog("------------- Application [" + GetModuleFileName() + "] started -------------");
  }
};
const TTraceLogAtLoad TraceLogAtLoad;
} // namespace

} // namespace qbt
