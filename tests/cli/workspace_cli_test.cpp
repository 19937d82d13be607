// korvane-cli with workspaces: saving the sample corpus as a workspace and
// searching it again through the workspace.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_runner.h"
#include "temp_dir.h"

namespace korvane {
namespace {

using test::RunCli;
using test::RunResult;

std::string SampleTexts() {
  std::string names;
  for (const char* name : {"harbour.txt", "letters.txt", "play.txt", "tagged.txt"})
    names += std::string(" ") + KORVANE_SAMPLES + "/" + name;
  return names;
}

TEST(CliWorkspaceTest, AWorkspaceSearchesLikeItsTexts) {
  test::TempDir dir;
  const std::string workspace = (dir.path() / "samples.KWS").string();
  const std::string pages = "--set \"Tag Settings.PageSeparator=<pb\" ";
  const RunResult saved = RunCli(pages + "workspace-save " + workspace + " --keep l,t,f" + SampleTexts());
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "samples" / "FREQ.tmp"));

  const std::string search = "search --line-numbers --page-numbers --file-names the";
  const RunResult plain = RunCli(pages + search + SampleTexts());
  // The page delimiter comes back with the workspace's own settings.
  const RunResult reopened = RunCli("--workspace " + workspace + " " + search);
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(reopened.status, 0) << reopened.err;
  EXPECT_NE(plain.out.find("Page 2"), std::string::npos);
  EXPECT_EQ(reopened.out, plain.out);
  EXPECT_EQ(reopened.err, "");

  // Further texts join the workspace's texts.
  const std::string extra = dir.WriteFile("extra.txt", "the end\r\n");
  const RunResult info = RunCli("--workspace " + workspace + " info " + extra);
  EXPECT_NE(info.out.find(" 5 files in current corpus"), std::string::npos) << info.out << info.err;
}

TEST(CliWorkspaceTest, BadKeepOptionsAndMissingWorkspacesAreReported) {
  test::TempDir dir;
  const std::string workspace = (dir.path() / "w.KWS").string();
  EXPECT_EQ(RunCli("workspace-save " + workspace + " --keep l,x").status, 2);
  EXPECT_EQ(RunCli("workspace-save").status, 2);
  const std::string folder = (dir.path() / "folder").string();
  const RunResult missing = RunCli("--workspace " + folder + " info");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "Unable to open file: " + folder + ".\n");
  std::filesystem::create_directory(folder);
  const RunResult unreadable = RunCli("--workspace " + (dir.path() / "folder").string() + " info");
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("Could not read from configuration file"), std::string::npos);
}

}  // namespace
}  // namespace korvane
