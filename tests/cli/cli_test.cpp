// korvane-cli run as a program: its output, its messages and exit status.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "temp_dir.h"

namespace korvane {
namespace {

using test::RunCli;
using test::RunResult;

TEST(CliInfoTest, PrintsCorpusInfoAndStatusLine) {
  test::TempDir dir;
  const std::string text = dir.WriteFile("t.txt", std::string(2048, 'a'));
  const RunResult r = RunCli("info " + text);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2.00 kbytes, 1 file\n 1 file in current corpus\n");
}

TEST(CliInfoTest, MissingFileIsAnErrorButOthersLoad) {
  test::TempDir dir;
  const std::string text = dir.WriteFile("t.txt", "x");
  const std::string missing = (dir.path() / "nope.txt").string();
  const RunResult r = RunCli("info " + missing + " " + text);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Unable to open file: " + missing + ".\n");
  EXPECT_EQ(r.out, "1 byte, 1 file\n 1 file in current corpus\n");
}

TEST(CliUsageTest, BadUsageExitsWith2) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  EXPECT_EQ(RunCli("--set NoDotKey=1 info").status, 2);
  const RunResult help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: korvane-cli"), std::string::npos);
}

TEST(CliQuestionTest, AnswersComeFromYesNo) {
  test::TempDir dir;
  const std::string binary = dir.WriteFile("b.bin", std::string("\x01\x02\x03\x04\x05\x06", 6));
  EXPECT_EQ(RunCli("--no info " + binary).out, "0 bytes, 0 files\n No files loaded\n");
  EXPECT_EQ(RunCli("--yes info " + binary).out, "6 bytes, 1 file\n 1 file in current corpus\n");
}

}  // namespace
}  // namespace korvane
