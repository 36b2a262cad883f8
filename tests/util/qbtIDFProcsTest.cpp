#include "util/qbtIDFProcs.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

namespace qbt {
namespace {

// Items are small integers disguised as pointers; the list compares them by value.
class IntList : public TQBTIDFSortedList {
public:
  std::vector<int> Deleted;
  ~IntList() override { Clear(); }
  int32_t CompareItems(const void* A, const void* B) const override {
    return Value(A) < Value(B) ? -1 : (Value(A) > Value(B) ? 1 : 0);
  }
  void Delete(int Index) override {
    Deleted.push_back(Index);
    TQBTIDFSortedList::Delete(Index);
  }
  static int Value(const void* P) { return static_cast<int>(reinterpret_cast<intptr_t>(P)) / 8; }
  static void* Item(int V, int Tag = 0) { return reinterpret_cast<void*>(intptr_t(V * 8 + Tag)); }
  std::vector<intptr_t> Raw() const {
    std::vector<intptr_t> R;
    for (int I = 0; I < Count(); ++I) {
      R.push_back(reinterpret_cast<intptr_t>(Items(I)));
    }
    return R;
  }
};

TEST(SortedList, DuplicateRules) {
  IntList Ignore;
  for (int V : {5, 1, 3}) {
    Ignore.Add(IntList::Item(V));
  }
  EXPECT_EQ(Ignore.Add(IntList::Item(3, 1)), 1); // index of the equal item already held
  EXPECT_EQ(Ignore.Raw(), (std::vector<intptr_t>{8, 24, 40}));

  IntList Accept;
  Accept.Duplicates = duAccept;
  Accept.Add(IntList::Item(3, 1));
  Accept.Add(IntList::Item(3, 2));
  Accept.Add(IntList::Item(1));
  EXPECT_EQ(Accept.Add(IntList::Item(3, 3)), 1); // before all equal ones
  EXPECT_EQ(Accept.Raw(), (std::vector<intptr_t>{8, 27, 26, 25}));

  IntList Error;
  Error.Duplicates = duError;
  Error.Add(IntList::Item(2));
  try {
    Error.Add(IntList::Item(2, 1));
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Can't insert duplicate item");
  }
  EXPECT_EQ(Error.Count(), 1);
}

TEST(SortedList, SearchesSortedAndUnsorted) {
  IntList L;
  for (int V : {9, 2, 7, 4}) {
    L.Add(IntList::Item(V));
  }
  int Index = -1;
  EXPECT_TRUE(L.FindKey(IntList::Item(7), Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(L.FindKey(IntList::Item(5), Index));
  EXPECT_EQ(Index, 2); // insertion point
  EXPECT_EQ(L.IndexOf(IntList::Item(1)), -1);

  IntList U;
  U.Sorted = false;
  U.Add(IntList::Item(4, 1));
  U.Add(IntList::Item(1));
  U.Add(IntList::Item(4, 2));
  EXPECT_EQ(U.IndexOf(IntList::Item(4, 5)), 0); // first match from 0 upward
  EXPECT_TRUE(U.FindItem(U.Items(2), Index));
  EXPECT_EQ(Index, 2); // the very same pointer, not an equal one
  EXPECT_FALSE(U.FindItem(IntList::Item(4, 5), Index));
}

TEST(SortedList, BaseComparesPointersOverTheirFullWidth) {
  // Pointers that differ only above bit 31 must still order correctly.
  TQBTIDFSortedList L;
  void* Low = reinterpret_cast<void*>(uintptr_t(0x00000001'00000000ULL));
  void* High = reinterpret_cast<void*>(uintptr_t(0x00000002'00000000ULL));
  L.Add(High);
  L.Add(Low);
  EXPECT_EQ(L.Items(0), Low);
  EXPECT_EQ(L.Items(1), High);
  EXPECT_LT(L.CompareItems(Low, High), 0);
}

TEST(SortedList, ClearDeletesLastFirst) {
  IntList L;
  for (int V : {1, 2, 3}) {
    L.Add(IntList::Item(V));
  }
  L.Clear();
  EXPECT_EQ(L.Deleted, (std::vector<int>{2, 1, 0}));
  try {
    L.Items(0);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (0)");
  }
}

TEST(Strings, SmallOperations) {
  EXPECT_EQ(AddLineBreak("a"), "a\r\n");
  EXPECT_EQ(AddLineBreak(""), "");
  EXPECT_EQ(AppendSpaces("abc", 0), "abc");
  EXPECT_EQ(AppendSpaces("abc", -2), "abc");
  EXPECT_EQ(AppendSpaces("abc", 2), "abc  ");
  EXPECT_EQ(MaxLength({}), 0);
  EXPECT_EQ(MaxLength({"a", "abcd", "ab"}), 4);
  EXPECT_EQ(JoinNonBlank({"a", " \t ", "b", ""}), "a b");
  EXPECT_EQ(JoinNonBlank({" a", "b "}), " a b "); // kept unchanged
  EXPECT_TRUE(MatchesAny(".end_header", {".HEADER", ".END_HEADER"}));
  EXPECT_FALSE(MatchesAny("x", {}));
  EXPECT_EQ(RemoveChars("1,234 mm", ", "), "1234mm");
  EXPECT_EQ(ReplaceChar("a/b/c", '/', '-'), "a-b-c");
  EXPECT_EQ(IncludeTrailingChar("", '/'), "");
  EXPECT_EQ(IncludeTrailingChar("a/", '/'), "a/");
  EXPECT_EQ(IncludeTrailingBackslash("dir"), "dir/");
  EXPECT_EQ(FileNameWithoutExt("/x/y/board.emn"), "board");
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
  int A = 0, B = 0;
  EXPECT_TRUE(PointerInList(&B, {&A, &B}));
  EXPECT_FALSE(PointerInList(nullptr, {&A}));
}

TEST(Strings, FillNameIDListSortsIgnoringCase) {
  TStringList List;
  List.Sorted = true;
  List.Add("stale");
  FillNameIDList({{".PLACEMENT", 9}, {".board_outline", 2}, {".HEADER", 1}}, List);
  ASSERT_EQ(List.Count(), 3);
  EXPECT_EQ(List.Strings(0), ".board_outline");
  EXPECT_EQ(List.Objects(List.IndexOf(".placement")), 9);
  EXPECT_EQ(List.UpdateCount(), 0);
}

struct Counted {
  static int Alive;
  Counted() { ++Alive; }
  ~Counted() { --Alive; }
};
int Counted::Alive = 0;

TEST(Lists, FreeListObjectsFreesEveryObject) {
  std::vector<Counted*> L{new Counted, new Counted};
  FreeListObjects(&L);
  EXPECT_TRUE(L.empty());
  EXPECT_EQ(Counted::Alive, 0);
  FreeListObjects<Counted>(nullptr); // a missing list is nothing to do
}

struct SaveCase {
  const char* Name;
  std::string Text;
  std::string File;
};

TEST(Files, SaveStringToFileWritesCrLfLines) {
  const SaveCase Cases[] = {
      {"no final break", "a\r\nb", "a\r\nb\r\n"},
      {"final CR LF adds no line", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"LF only", "a\nb\n", "a\r\nb\r\n"},
      {"lone CR", "a\rb", "a\r\nb\r\n"},
      {"LF CR is two breaks", "a\n\rb", "a\r\n\r\nb\r\n"},
      {"empty line kept", "a\r\n\r\nb", "a\r\n\r\nb\r\n"},
      {"NUL ends the text", std::string("a\nb\0c\n", 6), "a\r\nb\r\n"},
      {"empty text", "", ""},
      // Texts that end in CR LF but still need their breaks mended.
      {"CR CR LF", "a\r\r\n", "a\r\n\r\n"},
      {"LF then CR LF", "a\n\r\n", "a\r\n\r\n"},
      {"NUL among CR LF lines", std::string("a\r\n\0b\r\n", 7), "a\r\n"},
  };
  test::TempDir Dir;
  for (const auto& C : Cases) {
    const std::string F = Dir.File("out.txt");
    SaveStringToFile(F, C.Text);
    EXPECT_EQ(test::ReadBytes(F), C.File) << C.Name;
  }
}

TEST(Files, LoadAppendAndTheirErrors) {
  test::TempDir Dir;
  const std::string F = Dir.File("in.txt");
  test::WriteBytes(F, "x\ny");
  EXPECT_EQ(LoadFileToString(F), "x\r\ny\r\n");

  AppendStringToFile(F, "z\n\0"); // bytes unchanged, also a lone LF
  EXPECT_EQ(test::ReadBytes(F), std::string("x\nyz\n", 5));
  const std::string New = Dir.File("new.txt");
  AppendStringToFile(New, "p\nq");
  EXPECT_EQ(test::ReadBytes(New), "p\r\nq\r\n");

  try {
    LoadFileToString(Dir.File("missing.txt"));
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(),
              "Cannot open file \"" + Dir.File("missing.txt") + "\". No such file or directory");
  }
  const std::string Bad = F + "/sub.txt"; // F is a file, not a folder
  try {
    SaveStringToFile(Bad, "a");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot create file \"" + Bad + "\". Not a directory");
  }
}

TEST(Backups, FileNames) {
  const std::pair<const char*, const char*> Cases[] = {
      {"board.brd", "board.~brd"}, {"x.emn", "x.~emn"},       {"a.b", "a.~b"},
      {"noext", "noext.~"},        {"/d/x.emp", "/d/x.~emp"}, {"/d.e/f", "/d.e/f.~"},
  };
  for (const auto& [Name, Backup] : Cases) {
    EXPECT_EQ(BackupFileName(Name), Backup) << Name;
  }
  // The board and library files of one pair keep separate backups.
  EXPECT_NE(BackupFileName("x.emn"), BackupFileName("x.emp"));
}

TEST(Backups, MakeBackupReplacesAReadOnlyBackupAndNeverFails) {
  test::TempDir Dir;
  const std::string F = Dir.File("x.emn");
  MakeBackup(F); // nothing there: nothing happens
  test::WriteBytes(F, "new");
  test::WriteBytes(Dir.File("x.~emn"), "old");
  ASSERT_TRUE(FileSetAttr(Dir.File("x.~emn"), faReadOnly));
  MakeBackup(F);
  EXPECT_FALSE(FileExists(F));
  EXPECT_EQ(test::ReadBytes(Dir.File("x.~emn")), "new");
  EXPECT_NO_THROW(MakeBackup(F + "/inside"));
}

TEST(TraceLog, LoadLineAndSilentFailures) {
  const std::string Log = LoadFileToString(TraceLogFileName());
  EXPECT_NE(
      Log.find("------------- Application [" + GetModuleFileName() + "] started -------------\r\n"),
      std::string::npos);
  EXPECT_EQ(ExtractFileName(TraceLogFileName()), "util_tests_QBT.log");

  test::TempDir Dir;
  test::WriteBytes(Dir.File("plain"), "");
  WriteTraceLogFile(Dir.File("plain") + "/QBT.log", "lost"); // folder is a file: no trace
  WriteTraceLogFile(Dir.File("t.log"), "one");
  WriteTraceLogFile(Dir.File("t.log"), "two");
  EXPECT_EQ(test::ReadBytes(Dir.File("t.log")), "one\r\ntwo\r\n");
}

TEST(DateTimeSettings, BracketRestoresOnEveryPath) {
  const TFormatSettings Before = FormatSettings();
  try {
    TQBTDateTimeSettingsBracket Bracket;
    FormatSettings().DateSeparator = '-';
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    FormatSettings().TimeAMString = "vorm.";
    throw Exception("parse failed");
  } catch (const Exception&) {
  }
  EXPECT_EQ(FormatSettings().DateSeparator, Before.DateSeparator);
  EXPECT_EQ(FormatSettings().ShortDateFormat, Before.ShortDateFormat);
  EXPECT_EQ(FormatSettings().TimeAMString, Before.TimeAMString);
}

// Line and column of every position by the definition: breaks found left to right.
std::vector<TQBTTextPosition> Reference(const std::string& Text) {
  std::vector<TQBTTextPosition> R(Text.size() + 1);
  int Line = 1, Char = 1;
  for (size_t I = 0; I < Text.size(); ++I) {
    R[I + 1] = {static_cast<int32_t>(I + 1), Line, Char};
    const char C = Text[I];
    if (C == '\r' || C == '\n') {
      const char Partner = C == '\r' ? '\n' : '\r';
      if (I + 1 < Text.size() && Text[I + 1] == Partner) {
        ++I;
        R[I + 1] = {static_cast<int32_t>(I + 1), Line + 1, 1};
      }
      ++Line;
      Char = 1;
    } else {
      ++Char;
    }
  }
  return R;
}

TEST(TextPosition, ExamplesOfTheDefinition) {
  const std::string Text = "AB\r\nXY";
  TQBTTextPosition P = AdvanceTextPosition({}, Text, 1);
  EXPECT_EQ(P.Line, 1);
  EXPECT_EQ(P.Char, 1);
  P = AdvanceTextPosition(P, Text, 5);
  EXPECT_EQ(P.Line, 2);
  EXPECT_EQ(P.Char, 1);
  P = AdvanceTextPosition(P, Text, 6);
  EXPECT_EQ(P.Line, 2);
  EXPECT_EQ(P.Char, 2);

  // A text starting with an empty line: the first letter is on line 2.
  P = AdvanceTextPosition({}, "\r\nAB", 3);
  EXPECT_EQ(P.Line, 2);
  EXPECT_EQ(P.Char, 1);
  // CR LF CR LF is two breaks; LF CR LF CR too.
  EXPECT_EQ(AdvanceTextPosition({}, "\r\n\r\nA", 5).Line, 3);
  EXPECT_EQ(AdvanceTextPosition({}, "\n\r\n\rA", 5).Line, 3);
  // A pair split between two calls counts once.
  P = AdvanceTextPosition({}, "A\r\nB", 3);
  P = AdvanceTextPosition(P, "A\r\nB", 4);
  EXPECT_EQ(P.Line, 2);
  EXPECT_EQ(P.Char, 1);
  // Beyond the end the line and column stay.
  P = AdvanceTextPosition(P, "A\r\nB", 9);
  EXPECT_EQ(P.Pos, 9);
  EXPECT_EQ(P.Line, 2);
}

TEST(TextPosition, IncrementalStepsMatchTheDefinition) {
  std::mt19937 Rng(42);
  const char Alphabet[] = {'a', ' ', '\r', '\n'};
  for (int Round = 0; Round < 300; ++Round) {
    std::string Text(1 + Rng() % 40, 'a');
    for (char& C : Text) {
      C = Alphabet[Rng() % 4];
    }
    const auto Expected = Reference(Text);
    TQBTTextPosition P = AdvanceTextPosition({}, Text, 1);
    for (int32_t Pos = 1; Pos <= static_cast<int32_t>(Text.size());
         Pos += 1 + static_cast<int32_t>(Rng() % 3)) {
      P = AdvanceTextPosition(P, Text, Pos);
      ASSERT_EQ(P.Line, Expected[Pos].Line) << "pos " << Pos << " round " << Round;
      ASSERT_EQ(P.Char, Expected[Pos].Char) << "pos " << Pos << " round " << Round;
    }
  }
}

TEST(FloatingPoint, RoundMaskedTiesToEven) {
  const std::pair<long double, int64_t> Cases[] = {
      {2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {-0.5L, 0}, {1.5L, 2}, {0.49999L, 0}, {-7.6L, -8},
  };
  for (const auto& [X, Expected] : Cases) {
    EXPECT_EQ(RoundMasked(X), Expected) << static_cast<double>(X);
  }
  EXPECT_EQ(RoundMasked(1e30L), INT64_MAX); // out of range saturates instead of overflowing
}

class FakeCheckList : public TCheckListItems {
public:
  std::vector<bool> States{true, false, true};
  int Count() const override { return static_cast<int>(States.size()); }
  bool Checked(int I) const override { return States[static_cast<size_t>(I)]; }
  void SetChecked(int I, bool S) override { States[static_cast<size_t>(I)] = S; }
};

TEST(CheckLists, CountAndSetAll) {
  FakeCheckList L;
  EXPECT_EQ(CountItemsChecked(L, true), 2);
  EXPECT_EQ(CountItemsChecked(L, false), 1);
  SetAllItemsChecked(L, false);
  EXPECT_EQ(CountItemsChecked(L, false), 3);
}

} // namespace
} // namespace qbt
