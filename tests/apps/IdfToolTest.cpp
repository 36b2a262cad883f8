// idftool as a script runs it: exit status, standard output and error, and the files it writes.
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

namespace qbt {
namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

TRun RunTool(const test::TempDir& Dir, const std::string& Args) {
  const std::string Out = Dir.File("stdout.txt");
  const std::string Err = Dir.File("stderr.txt");
  const std::string Command =
      std::string("'") + QBT_IDFTOOL + "' " + Args + " > '" + Out + "' 2> '" + Err + "'";
  const int Raw = std::system(Command.c_str());
  return {WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1, test::ReadBytes(Out), test::ReadBytes(Err)};
}

const std::string Example = std::string("'") + QBT_EXAMPLES_DIR + "/demo.emn'";

TEST(IdfTool, CheckPrintsTheSummary) {
  test::TempDir Dir;
  const TRun Text = RunTool(Dir, "check " + Example);
  EXPECT_EQ(Text.Status, 0) << Text.Err;
  EXPECT_NE(
      Text.Out.find("Version 3.0, system \"QBT example\", date 2024/03/18.09:30:00, units MM"),
      std::string::npos)
      << Text.Out;
  EXPECT_NE(Text.Out.find(".BOARD_OUTLINE   6 points, 2 cutouts\n"), std::string::npos);
  EXPECT_NE(Text.Out.find(".DRILLED_HOLES   6\n"), std::string::npos);
  EXPECT_NE(Text.Out.find(".MECHANICAL      1\n"), std::string::npos);

  const TRun Json = RunTool(Dir, "check " + Example + " --json");
  EXPECT_EQ(Json.Status, 0);
  for (const char* Part :
       {"\"header\":{\"version\":\"3.0\",\"system\":\"QBT example\"",
        "\"board_outline\":{\"points\":6,\"cutouts\":2}", "\"drilled_holes\":6", "\"placement\":4",
        "\"notes\":1", "\"route_keepout\":1", "\"electrical\":2", "\"mechanical\":1"}) {
    EXPECT_NE(Json.Out.find(Part), std::string::npos) << Part << " in " << Json.Out;
  }
}

TEST(IdfTool, ReadErrorsAndUsage) {
  test::TempDir Dir;
  test::WriteBytes(Dir.File("bad.emn"), ".HEADER\r\nBOARD_FILE 3.0 s 2009/05/12 1\r\nb INCH\r\n");
  test::WriteBytes(Dir.File("bad.emp"), "");
  const TRun Bad = RunTool(Dir, "check '" + Dir.File("bad.emn") + "'");
  EXPECT_EQ(Bad.Status, 1);
  EXPECT_EQ(Bad.Err, "File : " + Dir.File("bad.emn") +
                         "\r\nLine : 3  Char : 2\r\nUnknown units definition INCH\n");
  const struct {
    const char* Args;
    int Status;
  } Usage[] = {
      {"", 2},
      {"check", 2},
      {"frobnicate x.emn", 2},
      {"check a.emn b.emn", 2},
      {"check a.emn --yaml", 2},
      {"convert a.emn", 2},
      {"convert a.emn b.emn --version 4.0", 2},
      {"convert a.emn b.emn --units inch", 2},
      {"convert a.emn b.emn --units", 2},
      {"check no-such.emn", 1},
  };
  for (const auto& U : Usage) {
    EXPECT_EQ(RunTool(Dir, U.Args).Status, U.Status) << U.Args;
  }
}

TEST(IdfTool, ConvertWritesThePairInTheTargetUnitsAndVersion) {
  test::TempDir Dir;
  const std::string Out = Dir.File("out.emn");
  ASSERT_EQ(RunTool(Dir, "convert " + Example + " '" + Out + "' --units thou").Status, 0);
  const std::string Board = test::ReadBytes(Out);
  const std::string Library = test::ReadBytes(Dir.File("out.emp"));
  EXPECT_NE(Board.find("sensor_node THOU\r\n"), std::string::npos);
  EXPECT_NE(
      Board.find("\r\n125.984251968504 2110.23622047244 1259.84251968504 NPTH BOARD MTG MCAD"),
      std::string::npos)
      << Board;
  // Every geometry in the target units, whatever its own were.
  EXPECT_NE(Library.find("SOT23-5 \"LDO 3V3\" THOU 43.3070866141732\r\n"), std::string::npos);
  EXPECT_NE(Library.find("HDR1X3 HEADER_3P THOU 335.0\r\n"), std::string::npos);

  ASSERT_EQ(RunTool(Dir, "convert '" + Out + "' '" + Out + "' --version 2.0 --units mm").Status, 0);
  const std::string Board20 = test::ReadBytes(Out);
  EXPECT_NE(Board20.find("BOARD_FILE 2.0 \"QBT example\""), std::string::npos);
  EXPECT_NE(Board20.find("\r\n3.2 53.6 32.0 NPTH BOARD\r\n"), std::string::npos) << Board20;
  EXPECT_NE(test::ReadBytes(Dir.File("out.emp")).find("HDR1X3 HEADER_3P MM 8.509\r\n"),
            std::string::npos);
  EXPECT_EQ(test::ReadBytes(Dir.File("out.~emn")), Board); // the replaced file is kept

  // Nothing is written when reading fails.
  test::WriteBytes(Dir.File("bad.emn"), ".NOPE\r\n");
  EXPECT_EQ(
      RunTool(Dir, "convert '" + Dir.File("bad.emn") + "' '" + Dir.File("new.emn") + "'").Status,
      1);
  EXPECT_FALSE(std::filesystem::exists(Dir.File("new.emn")));
  EXPECT_FALSE(std::filesystem::exists(Dir.File("new.emp")));
}

} // namespace
} // namespace qbt
