// korvane-cli distribution run as a program: the default scope, the scope and
// step options, the output file, and bad options.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "temp_dir.h"

namespace korvane {
namespace {

using test::RunCli;
using test::RunResult;

constexpr const char* kSliceHeader = "  %     Line    Hits\r\n--------------------\r\n";

class DistributionCliTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  // Four lines with "dog" on the first and the last; two lines without.
  const std::string a = dir.WriteFile("a.txt", "dog cat\r\ncat\r\ncat\r\ndog");
  const std::string b = dir.WriteFile("b.txt", "no hits here\r\n");
};

TEST_F(DistributionCliTest, ScopesAndSteps) {
  struct Case {
    std::string args;
    std::string table;
  };
  const Case cases[] = {
      // One text opens on the entire corpus, two on one bar per text.
      {"dog " + a + " --step 50", std::string(kSliceHeader) + " 50       2      1\r\n100       4      1\r\n"},
      {"dog " + a + " " + b,
       "File name                  Hits\r\n-------------------------------\r\n"
       "a.txt                         2\r\n"
       "b.txt                         0\r\n"},
      {"dog --scope 1 --step 5% " + a + " " + b,
       std::string(kSliceHeader) + " 25       1      1\r\n 50       2      0\r\n 75       3      0\r\n100       4      1\r\n"},
      {"dog --scope 2 " + a + " " + b, std::string(kSliceHeader) + " 50       1      0\r\n100       2      0\r\n"},
      // The entire corpus: six lines, 33% slices of two lines each.
      {"dog --scope corpus --step 33 " + a + " " + b,
       std::string(kSliceHeader) + " 33       2      1\r\n 66       4      1\r\n 99       6      0\r\n"},
  };
  for (const Case& c : cases) {
    const RunResult r = RunCli("distribution " + c.args);
    EXPECT_EQ(r.status, 0) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, c.table) << c.args;
  }
}

TEST_F(DistributionCliTest, OutputFileReplacesTheOldOne) {
  const std::string out = dir.WriteFile("dist.txt", "old contents that are longer than the table\r\n");
  const RunResult r = RunCli("-o " + out + " distribution dog --scope files " + a);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(dir.ReadFile("dist.txt"),
            "File name                  Hits\r\n-------------------------------\r\n"
            "a.txt                         2\r\n");
}

TEST_F(DistributionCliTest, BadOptionsAndPatterns) {
  for (const std::string& args : {"dog --step 3 " + a, "dog --scope 3 " + a + " " + b, "dog --scope x " + a,
                                  std::string("--step 5")}) {
    const RunResult r = RunCli("distribution " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err, "") << args;
  }
  const RunResult regex = RunCli("distribution --regex 'dog(' " + a);
  EXPECT_EQ(regex.status, 1);
  EXPECT_NE(regex.err, "");
  EXPECT_EQ(regex.out, "");
}

}  // namespace
}  // namespace korvane
