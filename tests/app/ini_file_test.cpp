// The INI file: Windows profile reading rules, CR LF writing, and a save
// that never destroys the previous file.
#include "app/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "app/errors.h"
#include "temp_dir.h"

namespace korvane {
namespace {

TEST(IniFileTest, ReadsLikeAWindowsProfile) {
  test::TempDir dir;
  const std::string path = dir.WriteFile("a.ini",
                                         "stray=before any section\n"
                                         "[General]\r\n"
                                         "Path = C:\\corpus = texts \r\n"
                                         "path=second occurrence\n"
                                         "; a comment\n"
                                         "no equals sign\n"
                                         "  Count\t=\t7  \n"
                                         "[Other]\n"
                                         "Key=other\n"
                                         "[GENERAL]\n"
                                         "Late=section seen again\n"
                                         "Count=8\n");
  const IniFile ini = IniFile::Load(path);
  EXPECT_EQ(ini.ReadString("general", "PATH", "-"), "C:\\corpus = texts");
  EXPECT_EQ(ini.ReadInteger("General", "count", 0), 7);
  EXPECT_EQ(ini.ReadString("General", "Late", "-"), "section seen again");
  EXPECT_EQ(ini.ReadString("Other", "Key", "-"), "other");
  EXPECT_FALSE(ini.ValueExists("General", "stray"));
  EXPECT_EQ(ini.ReadString("General", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"General", "Other"}));
  EXPECT_EQ(ini.ReadSection("General"), (std::vector<std::string>{"Path", "Count", "Late"}));
}

TEST(IniFileTest, ReadsNumbersAndBooleans) {
  IniFile ini("x.ini");
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"42", 42}, {"-5", -5}, {"$FF", 255}, {"0x10", 16}, {"$FFFFFFFF", -1},
      {"12abc", -99}, {"", -99}, {"99999999999", -99},
  };
  for (const Case& c : cases) {
    ini.WriteString("S", "N", c.text);
    EXPECT_EQ(ini.ReadInteger("S", "N", -99), c.value) << c.text;
  }
  ini.WriteString("S", "B", "0");
  EXPECT_FALSE(ini.ReadBool("S", "B", true));
  ini.WriteString("S", "B", "2");
  EXPECT_TRUE(ini.ReadBool("S", "B", false));
  EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(IniFileTest, WritesCrLfAndEditsInPlace) {
  test::TempDir dir;
  IniFile ini((dir.path() / "w.ini").string());
  ini.WriteString("First", "A", "1");
  ini.WriteBool("Second", "On", true);
  ini.WriteInteger("First", "B", -3);
  ini.WriteString("first", "a", "changed");
  EXPECT_EQ(ini.ToText(), "[First]\r\nA=changed\r\nB=-3\r\n\r\n[Second]\r\nOn=1\r\n");

  ini.EraseSection("SECOND");
  ini.DeleteKey("First", "b");
  ini.Save();
  EXPECT_EQ(dir.ReadFile("w.ini"), "[First]\r\nA=changed\r\n");
  EXPECT_EQ(IniFile::Load(ini.Path()).ReadString("First", "A", ""), "changed");
}

TEST(IniFileTest, MissingFileIsEmptyAndUnreadableFileIsAnError) {
  test::TempDir dir;
  EXPECT_TRUE(IniFile::Load((dir.path() / "none.ini").string()).ReadSections().empty());
  std::filesystem::create_directory(dir.path() / "folder.ini");
  EXPECT_THROW(IniFile::Load((dir.path() / "folder.ini").string()), Exception);
}

// Counts the files in a folder, to see that no temporary file is left behind.
int FileCount(const std::filesystem::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

TEST(IniFileTest, FailedSaveKeepsThePreviousFile) {
  test::TempDir dir;
  const std::string path = dir.WriteFile("keep.ini", "[Old]\r\nKey=value\r\n");
  IniFile ini(path);
  ini.WriteString("New", "Key", std::string(4096, 'x'));

  // A file size limit makes the write fail half-way, as a full disk would.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(ini.Save(), Exception);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(dir.ReadFile("keep.ini"), "[Old]\r\nKey=value\r\n");
  EXPECT_EQ(FileCount(dir.path()), 1);
}

TEST(IniFileTest, SaveIntoReadOnlyFolderKeepsThePreviousFile) {
  test::TempDir dir;
  const std::string path = dir.WriteFile("keep.ini", "[Old]\r\n");
  chmod(dir.path().c_str(), 0555);
  if (access(dir.path().c_str(), W_OK) == 0) {
    chmod(dir.path().c_str(), 0755);
    GTEST_SKIP() << "permissions are not enforced for this user";
  }
  IniFile ini(path);
  ini.WriteString("New", "Key", "v");
  EXPECT_THROW(ini.Save(), Exception);
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(dir.ReadFile("keep.ini"), "[Old]\r\n");
}

}  // namespace
}  // namespace korvane
