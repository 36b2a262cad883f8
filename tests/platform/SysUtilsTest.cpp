#include "platform/SysUtils.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbt {
namespace {

TEST(Format, SubstitutesMarkersInOrder) {
  EXPECT_EQ(Format("Cannot create file \"%s\". %s", {"a.brd", "Permission denied"}),
            "Cannot create file \"a.brd\". Permission denied");
  EXPECT_EQ(Format("Token %S were expected but %S found", {".END", "X"}),
            "Token .END were expected but X found");
  EXPECT_EQ(Format("100%% of %d", {"7"}), "100% of 7");
  // Markers without an argument stay, so a short argument list never reads past its end.
  EXPECT_EQ(Format("%s and %s", {"one"}), "one and %s");
}

TEST(FormatSettings, ReadFromTheCLocale) {
  const TFormatSettings C = FormatSettingsFromLocale("C");
  EXPECT_EQ(C.DecimalSeparator, '.');
  EXPECT_EQ(C.DateSeparator, '/');
  EXPECT_EQ(C.TimeSeparator, ':');
  EXPECT_EQ(C.TimeAMString, "AM");
  // An unknown locale falls back to the C library's own.
  EXPECT_EQ(FormatSettingsFromLocale("xx_NOWHERE.UTF-8").DecimalSeparator, '.');
}

TEST(FileNames, SplitIntoFolderNameAndExtension) {
  EXPECT_EQ(ExtractFilePath("/a/b/board.emn"), "/a/b/");
  EXPECT_EQ(ExtractFileName("/a/b/board.emn"), "board.emn");
  EXPECT_EQ(ExtractFileExt("/a/b/board.emn"), ".emn");
  EXPECT_EQ(ExtractFileExt("/a.b/board"), "");
  EXPECT_EQ(ChangeFileExt("/a.b/board", ".pro"), "/a.b/board.pro");
  EXPECT_EQ(ChangeFileExt("x.brd", ".pro"), "x.pro");
}

TEST(FileAttributes, ReadOnlyIsTheAbsenceOfWriteBits) {
  test::TempDir Dir;
  const std::string F = Dir.File("f.txt");
  test::WriteBytes(F, "x");
  EXPECT_EQ(FileGetAttr(F) & faReadOnly, 0);
  ASSERT_TRUE(FileSetAttr(F, faReadOnly));
  struct stat St {};
  ASSERT_EQ(::stat(F.c_str(), &St), 0);
  EXPECT_EQ(St.st_mode & 0222, 0u);
  EXPECT_NE(FileGetAttr(F) & faReadOnly, 0);
  ASSERT_TRUE(FileSetAttr(F, 0));
  EXPECT_EQ(FileGetAttr(F) & faReadOnly, 0);
  EXPECT_EQ(FileGetAttr(Dir.File("missing")), faInvalid);
}

TEST(RenameFile, NeverReplacesAnExistingTarget) {
  test::TempDir Dir;
  test::WriteBytes(Dir.File("a"), "A");
  test::WriteBytes(Dir.File("b"), "B");
  EXPECT_FALSE(RenameFile(Dir.File("a"), Dir.File("b")));
  EXPECT_EQ(test::ReadBytes(Dir.File("b")), "B");
  EXPECT_TRUE(RenameFile(Dir.File("a"), Dir.File("c")));
  EXPECT_FALSE(FileExists(Dir.File("a")));
  EXPECT_EQ(test::ReadBytes(Dir.File("c")), "A");
}

TEST(Text, ComparisonsIgnoreAsciiCaseOnly) {
  EXPECT_TRUE(SameText(".board_outline", ".BOARD_OUTLINE"));
  EXPECT_FALSE(SameText("\xe4", "\xc4")); // bytes beyond ASCII compare exactly
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
}

} // namespace
} // namespace qbt
