#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/HostFiles.h"
#include "platform/Registry.h"
#include "platform/SysUtils.h"
#include "support/ForeignLock.h"
#include "support/RecordingPresenter.h"
#include "support/RegistrySandbox.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbt {
namespace {

namespace fs = std::filesystem;
using test::ForeignLock;
using test::LockStyle;
using test::ReadBytes;
using test::RegistrySandbox;
using test::TempDir;
using test::WriteBytes;

TEST(Registry, KeysAreFoldersFoundWithoutRegardToCase) {
  RegistrySandbox Registry;
  Registry.CreateKey("HKEY_LOCAL_MACHINE/Software/harlune/TESTMODE");
  TRegistry Reg;
  Reg.RootKey = HKEY_LOCAL_MACHINE;
  EXPECT_TRUE(Reg.KeyExists("\\Software\\Harlune\\TestMode"));
  EXPECT_TRUE(Reg.KeyExists("Software\\Harlune"));
  EXPECT_FALSE(Reg.KeyExists("\\Software\\Harlune\\Other"));
  // Names that would lead out of the registry's folders are no keys.
  EXPECT_FALSE(Reg.KeyExists("\\Software\\..\\Software\\Harlune"));
  EXPECT_FALSE(Reg.KeyExists("\\Software/Harlune"));
  Reg.RootKey = HKEY_CURRENT_USER;
  EXPECT_FALSE(Reg.KeyExists("\\Software\\Harlune\\TestMode"));
}

TEST(Registry, OpeningAMissingKeyCreatesNothing) {
  RegistrySandbox Registry;
  TRegistry Reg;
  Reg.RootKey = HKEY_LOCAL_MACHINE;
  EXPECT_FALSE(Reg.OpenKeyReadOnly(TestModeKey));
  EXPECT_TRUE(Reg.CurrentFolder().empty());
  EXPECT_TRUE(fs::is_empty(Registry.Root()));
}

TEST(Registry, TestModeIsAskedAnewAtEveryCall) {
  RegistrySandbox Registry;
  EXPECT_FALSE(IsTestMode());
  Registry.SetTestMode(true);
  EXPECT_TRUE(IsTestMode());
  Registry.SetTestMode(false);
  EXPECT_FALSE(IsTestMode());
}

TEST(Registry, RootFolderFallsBackToTheHomeFolder) {
  RegistrySandbox Registry;
  EXPECT_EQ(RegistryRootFolder(), Registry.Root().string());
  ::setenv(RegistryRootVariable, "", 1);
  const char* Home = std::getenv("HOME");
  EXPECT_EQ(RegistryRootFolder(),
            Home && *Home ? std::string(Home) + "/.qbt/registry" : "/etc/qbt/registry");
}

TEST(Dialogs, TheDefaultPresenterAnswersAsAClosedBox) {
  EXPECT_FALSE(ConfirmYesNo("Show Log Report?"));
  EXPECT_EQ(MessageBox("Text", "Caption", mtInformation, mbOK), mrCancel);
}

TEST(Dialogs, AnInstalledPresenterSeesEveryBoxUntilItLeaves) {
  {
    test::RecordingPresenter Presenter(mrYes);
    ShowErrorBox("x.xsl does not exist");
    EXPECT_TRUE(ConfirmYesNo("Show Log Report?"));
    ASSERT_EQ(Presenter.Boxes.size(), 2u);
    EXPECT_EQ(Presenter.Boxes[0].Caption, "Error");
    EXPECT_EQ(Presenter.Boxes[0].Type, mtError);
    EXPECT_EQ(Presenter.Boxes[1].Buttons, mbYesNo);
    EXPECT_EQ(Presenter.Texts(),
              (std::vector<std::string>{"x.xsl does not exist", "Show Log Report?"}));
  }
  EXPECT_FALSE(ConfirmYesNo("Again?"));
}

TEST(HostFiles, InUseOnlyWhileAnotherProcessHoldsALock) {
  TempDir Dir;
  const std::string File = Dir.File("report.html");
  EXPECT_FALSE(HostIsFileInUse(File)); // missing
  WriteBytes(File, "old");
  EXPECT_FALSE(HostIsFileInUse(File));
  for (LockStyle Style : {LockStyle::Record, LockStyle::WholeFile}) {
    {
      ForeignLock Lock(File, Style);
      EXPECT_TRUE(HostIsFileInUse(File));
    }
    EXPECT_FALSE(HostIsFileInUse(File));
  }
  // Looking must not take the file away from its owner.
  EXPECT_EQ(ReadBytes(File), "old");
}

TEST(HostFiles, TempFilesLieInTheGivenFolderWithThePrefix) {
  TempDir Dir;
  const mode_t Mask = ::umask(022);
  const std::string Temp = HostCreateTempFile(Dir.Path().string(), "Pro");
  const std::string Second = HostCreateTempFile(Dir.Path().string() + "/", "Pro");
  ::umask(Mask);
  EXPECT_EQ(ExtractFilePath(Temp), Dir.Path().string() + "/");
  EXPECT_EQ(ExtractFileName(Temp).rfind("Pro", 0), 0u);
  EXPECT_NE(Temp, Second);
  struct stat St {};
  ASSERT_EQ(::stat(Temp.c_str(), &St), 0);
  EXPECT_EQ(St.st_mode & 0777, 0644u);
  EXPECT_EQ(St.st_size, 0);
  EXPECT_THROW(HostCreateTempFile(Dir.File("missing"), "Pro"), Exception);
}

TEST(HostFiles, ReplaceMovesOverAnExistingFile) {
  TempDir Dir;
  WriteBytes(Dir.File("new"), "new");
  WriteBytes(Dir.File("target"), "old");
  EXPECT_TRUE(HostReplaceFile(Dir.File("new"), Dir.File("target")));
  EXPECT_EQ(ReadBytes(Dir.File("target")), "new");
  EXPECT_FALSE(FileExists(Dir.File("new")));
  EXPECT_FALSE(HostReplaceFile(Dir.File("new"), Dir.File("target")));
}

TEST(HostFiles, TemplatesFolderKeepsTheProgramFoldersCase) {
  const std::string Program = GetModuleFileName();
  EXPECT_EQ(HostTemplatesFolder(), ExtractFilePath(Program) + "Templates/");
  std::string Folder, Name;
  HostSplitFileName("/a/B/board.emn", Folder, Name);
  EXPECT_EQ(Folder, "/a/B/");
  EXPECT_EQ(Name, "board.emn");
}

TEST(DateTime, FormatsByPatternLetters) {
  const TFormatSettings Saved = FormatSettings();
  FormatSettings().DateSeparator = '.';
  FormatSettings().TimeSeparator = ':';
  FormatSettings().TimeAMString = "vorm.";
  FormatSettings().TimePMString = "nachm.";
  const TDateTimeRec T{2024, 3, 7, 15, 4, 9, 45};
  const TDateTimeRec Midnight{2024, 12, 31, 0, 5, 0, 0};
  struct Case {
    const char* Pattern;
    TDateTimeRec Value;
    const char* Expected;
  };
  const Case Cases[] = {
      {"mm/dd/yy", T, "03.07.24"},
      {"d/m/yyyy", T, "7.3.2024"},
      {"hh:nn:ss", T, "15:04:09"},
      {"h:mm", T, "15:04"}, // "m" right after an hour is minutes
      {"hh:nn ampm", T, "03:04 nachm."},
      {"h:nn AM/PM", Midnight, "12:05 AM"},
      {"h a/p", T, "3 p"},
      {"ddd dd mmm", T, "Thu 07 Mar"},
      {"dddd, mmmm d", Midnight, "Tuesday, December 31"},
      {"ss.zzz", T, "09.045"},
      {"'at' hh\"h\"", T, "at 15h"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FormatDateTime(C.Pattern, C.Value), C.Expected) << C.Pattern;
  }
  FormatSettings() = Saved;
}

TEST(DateTime, NowIsAPlausibleCalendarDate) {
  const TDateTimeRec T = Now();
  EXPECT_GE(T.Year, 2020);
  EXPECT_TRUE(T.Month >= 1 && T.Month <= 12 && T.Day >= 1 && T.Day <= 31);
  EXPECT_TRUE(T.Hour >= 0 && T.Hour < 24 && T.Minute < 60 && T.Second <= 60);
}

} // namespace
} // namespace qbt
