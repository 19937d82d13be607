// The configuration file: list and font encodings, the full read and write
// with their order and error messages, the two single keys, and where the
// file is read and written.
#include "app/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> list;
  for (int i = 0; i < count; ++i) list.push_back("entry " + std::to_string(i));
  return list;
}

// ---- Lists ------------------------------------------------------------------

TEST(ConfigListTest, KeyWidthFollowsTheCount) {
  struct Case {
    int count;
    std::vector<std::string> present;
    std::vector<std::string> absent;
  } cases[] = {
      {1, {"N0"}, {"N00"}},
      {7, {"N0", "N6"}, {"N00", "N7"}},
      {10, {"N0", "N9"}, {"N00", "N09", "N10"}},
      {11, {"N00", "N09", "N10"}, {"N0", "N9"}},
      {25, {"N00", "N24"}, {"N0", "N25"}},
      {250, {"N00", "N99", "N100", "N249"}, {"N000", "N099", "N250"}},
      {2500, {"N00", "N99", "N0100", "N2499"}, {"N0000", "N100", "N0099"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    IniFile ini("x.ini");
    const std::vector<std::string> list = Numbered(c.count);
    WriteList(ini, "S", "N", list);
    EXPECT_EQ(ini.ReadInteger("S", "NCount", -1), c.count);
    for (const std::string& key : c.present) EXPECT_TRUE(ini.ValueExists("S", key)) << key;
    for (const std::string& key : c.absent) EXPECT_FALSE(ini.ValueExists("S", key)) << key;
    std::vector<std::string> read{"stale"};
    ReadList(ini, "S", "N", read);
    EXPECT_EQ(read, list);
  }
}

TEST(ConfigListTest, MissingCountReadsTwentyAndEmptyValuesAreSkipped) {
  test::TempDir dir;
  const IniFile ini = IniFile::Load(dir.WriteFile("l.ini",
                                                  "[S]\n"
                                                  "N00=first\n"
                                                  "N3=one digit, not read\n"
                                                  "N07=\n"
                                                  "N08=eighth\n"
                                                  "N19=last\n"
                                                  "N20=beyond twenty\n"
                                                  "[T]\nNCount=0\nN0=ignored\n"));
  std::vector<std::string> list{"stale"};
  ReadList(ini, "S", "N", list);
  EXPECT_EQ(list, (std::vector<std::string>{"first", "eighth", "last"}));
  ReadList(ini, "T", "N", list);
  EXPECT_TRUE(list.empty());
}

TEST(ConfigListTest, AtMostTenThousandEntries) {
  IniFile ini("x.ini");
  WriteList(ini, "S", "N", Numbered(kMaxListEntries + 1));
  EXPECT_EQ(ini.ReadInteger("S", "NCount", -1), kMaxListEntries);
  EXPECT_FALSE(ini.ValueExists("S", "N10000"));
  ini.WriteInteger("S", "NCount", 20000);
  std::vector<std::string> list;
  ReadList(ini, "S", "N", list);
  EXPECT_EQ(list.size(), static_cast<std::size_t>(kMaxListEntries));
}

// ---- Fonts ------------------------------------------------------------------

TEST(ConfigFontTest, ParsesTheStoredForm) {
  struct Case {
    const char* value;
    TFont font;
  } cases[] = {
      {"Arial,10,1,255,0", {"Arial", 10, fsBold, clRed, 0}},
      {"Arial", {"Arial", 0, 0, 0, 0}},
      {"MS Sans Serif;8:3 16711680,1", {"MS Sans Serif", 8, 3, clBlue, 1}},
      {"Arial,ten,1x,-2147483640,", {"Arial", 0, 0, -2147483640, 0}},
      {"Arial,12,,4", {"Arial", 12, 0, 4, 0}},
      {"Arial, 10, 2, 255, 1", {"Arial", 10, 2, 255, 1}},
      {",9", {"", 9, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFont(c.value), c.font) << c.value;
}

TEST(ConfigFontTest, RoundTripsAndMissingKeysLeaveTheFont) {
  IniFile ini("x.ini");
  const TFont font{"Courier New", 11, fsItalic | fsUnderline, -2147483640, 238};
  WriteFont(ini, "S", "Font", font);
  EXPECT_EQ(ini.ReadString("S", "Font", ""), "Courier New,11,6,-2147483640,238");
  TFont read;
  ReadFont(ini, "S", "Font", read);
  EXPECT_EQ(read, font);

  ini.WriteString("S", "Empty", "");
  ReadFont(ini, "S", "Empty", read);
  ReadFont(ini, "S", "Missing", read);
  EXPECT_EQ(read, font);
}

// ---- Full configuration -------------------------------------------------------

// Every key of the state set away from its default, so that a key that is not
// read back shows as a difference.
void FillWithNonDefaults(ProgramState& state) {
  GeneralSettings& g = state.General;
  g.CorpusPath = "/home/ling/corpus/";
  g.StopListPath = "/home/ling/stop/";
  g.ConcordancePath = "/home/ling/conc/";
  g.FreqPath = "/home/ling/freq/";
  g.CorpusFreqPath = "/home/ling/wordlists/";
  g.CorpusFont = {"DejaVu Sans Mono", 12, fsBold, 0x00336699, 0};
  g.SystemFont = {"Noto Sans", 9, 0, 0, 1};
  state.URLHistory = {"http://example.org/a.txt", "ftp://example.org/b.txt"};

  ConcordConfig& c = state.ConcordConfig;
  c.MaximumHits = 777;
  c.FrequencyOfHits = 3;
  c.ContextType = 2;
  c.ContextSizes[0] = 60;
  c.ContextSizes[1] = 12;
  c.ContextSizes[2] = 5;
  c.ContextSizes[3] = 2;
  c.NonWordChars = ".,;:!?";
  c.SkippingChars = "-'";
  c.EqualChars = "a=\xE1=\xE0;e=\xE9";
  c.WildCard0orMore = '#';
  c.WildCard0or1 = '\0';
  c.WildCardExactly1 = '+';
  c.WildCardMatchWords = '~';
  c.MatchWordsLo = 0;
  c.MatchWordsHi = 9;
  c.TagSearchSeparator = '|';
  c.NormalFont = {"Arial", 10, 0, 0, 0};
  c.HiliteFont = {"Arial", 10, fsBold, clBlue, 0};
  c.CollocateFont = {"Arial", 10, fsItalic, 0x008000, 0};
  c.HighlightCollocates = false;
  c.BigContextSize = 30;
  c.DelimiterHistory = {".,;", ".,;:!"};
  c.SkippingHistory = {"-"};
  c.EqualHistory = {"a=b", "c=d;e=f"};
}

TEST(ConfigurationTest, WriteThenReadRestoresEverySetting) {
  test::TempDir dir;
  const std::string file = dir.WriteFile("KORVANE.INI", "[Stale]\r\nKey=left from before\r\n");
  ScriptedHost host;
  ProgramState written(host);
  FillWithNonDefaults(written);
  ASSERT_TRUE(WriteConfiguration(written, file));

  const std::string text = dir.ReadFile("KORVANE.INI");
  EXPECT_EQ(text.find("Stale"), std::string::npos);
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "line feed without carriage return at " << at;
  EXPECT_NE(text.find("[GeneralConfiguration]\r\nCorpusPath=/home/ling/corpus/\r\n"), std::string::npos);

  ProgramState read(host);
  ASSERT_TRUE(ReadConfiguration(read, file));
  EXPECT_EQ(read.General.CorpusFont, written.General.CorpusFont);
  EXPECT_EQ(read.ConcordConfig.CollocateFont, written.ConcordConfig.CollocateFont);
  EXPECT_EQ(read.ConcordConfig.WildCard0or1, '\0');
  EXPECT_EQ(read.ConcordConfig.EqualCharSets.size(), 2u);
  EXPECT_EQ(read.URLHistory, written.URLHistory);
  // Whatever was read back writes the same file again.
  IniFile again(file);
  WriteConfiguration(read, again);
  EXPECT_EQ(again.ToText(), text);
  EXPECT_TRUE(host.messages.empty());
}

TEST(ConfigurationTest, MissingFileGivesDefaultsAndResetsFonts) {
  test::TempDir dir;
  ScriptedHost host;
  ProgramState state(host);
  FillWithNonDefaults(state);
  ASSERT_TRUE(ReadConfiguration(state, (dir.path() / "KORVANE.INI").string()));
  EXPECT_EQ(state.General.CorpusFont, SystemDefaultFont());
  EXPECT_EQ(state.General.SystemFont, DefaultDialogFont());
  EXPECT_EQ(state.General.CorpusPath, "");
  EXPECT_EQ(state.ConcordConfig.MaximumHits, 500);
  EXPECT_EQ(state.ConcordConfig.HiliteFont.Color, clBlue);
  EXPECT_TRUE(state.URLHistory.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST(ConfigurationTest, StepsRunInTheirFixedOrder) {
  ScriptedHost host;
  ProgramState state(host);
  std::vector<std::string> log;
  constexpr int kSteps = static_cast<int>(ConfigStep::Count_);
  for (int i = 0; i < kSteps; ++i) {
    const std::string name = "Step" + std::to_string(i);
    state.Configuration.Set(static_cast<ConfigStep>(i),
                            {[&, name](const IniFile&) {
                               log.push_back(name + " urls=" + std::to_string(state.URLHistory.size()) +
                                             " path=" + state.General.CorpusPath);
                             },
                             [name](IniFile& ini) { ini.WriteString(name, "Key", "1"); }});
  }
  state.General.CorpusPath = "/c/";
  state.URLHistory = {"http://a/"};
  IniFile ini("x.ini");
  WriteConfiguration(state, ini);
  std::vector<std::string> sections{"GeneralConfiguration"};
  for (int i = 0; i < kSteps; ++i) {
    if (static_cast<ConfigStep>(i) == ConfigStep::Language) sections.push_back("URLHistory");
    sections.push_back("Step" + std::to_string(i));
  }
  EXPECT_EQ(ini.ReadSections(), sections);

  state.General.CorpusPath.clear();
  state.URLHistory.clear();
  ReadConfiguration(state, ini);
  ASSERT_EQ(log.size(), static_cast<std::size_t>(kSteps));
  EXPECT_EQ(log.front(), "Step0 urls=0 path=/c/");
  const int sentences = static_cast<int>(ConfigStep::Sentences);
  EXPECT_EQ(log[sentences], "Step" + std::to_string(sentences) + " urls=0 path=/c/");
  EXPECT_EQ(log.back(), "Step" + std::to_string(kSteps - 1) + " urls=1 path=/c/");
}

TEST(ConfigurationTest, ReadErrorIsShownAndKeepsWhatWasRead) {
  test::TempDir dir;
  const std::string file = dir.WriteFile("bad.ini", "[GeneralConfiguration]\nCorpusPath=/read/first/\n");
  ScriptedHost host;
  ProgramState state(host);
  state.Configuration.Set(ConfigStep::Headings,
                          {[](const IniFile&) { throw Exception("broken"); }, [](IniFile&) {}});
  EXPECT_FALSE(ReadConfiguration(state, file));
  EXPECT_EQ(state.General.CorpusPath, "/read/first/");

  fs::create_directory(dir.path() / "folder.ini");
  const std::string folder = (dir.path() / "folder.ini").string();
  EXPECT_FALSE(ReadConfiguration(state, folder));

  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtError);
  EXPECT_EQ(host.messages[0].text, "Could not read from configuration file " + file + "!");
  EXPECT_EQ(host.messages[1].text, "Could not read from configuration file " + folder + "!");
}

TEST(ConfigurationTest, WriteErrorIsShown) {
  test::TempDir dir;
  const std::string file = (dir.path() / "missing" / "KORVANE.INI").string();
  ScriptedHost host;
  ProgramState state(host);
  EXPECT_FALSE(WriteConfiguration(state, file));
  ASSERT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            std::vector<std::string>{"Could not write to configuration file " + file + "!"});
  EXPECT_FALSE(fs::exists(file));
}

// ---- Location -----------------------------------------------------------------

// Sets or clears an environment variable for one test and restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ConfigLocationTest, ProgramAndUserFolders) {
  test::TempDir dir;
  const std::string xdg = dir.path().string();
  {
    ScopedEnv config("XDG_CONFIG_HOME", xdg.c_str());
    const ConfigLocations locations = ConfigLocations::ForCurrentProcess();
    EXPECT_EQ(locations.UserDir, xdg + "/korvane/");
    EXPECT_EQ(locations.ProgramDir, fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
  }
  ScopedEnv home("HOME", xdg.c_str());
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/path"}) {
    ScopedEnv config("XDG_CONFIG_HOME", value);
    EXPECT_EQ(ConfigLocations::ForCurrentProcess().UserDir, xdg + "/.config/korvane/");
  }
}

struct LocationFixture {
  test::TempDir dir;
  ConfigLocations locations{(dir.path() / "bin").string() + "/", (dir.path() / "config/korvane").string() + "/"};
  std::string programFile = locations.ProgramDir + "KORVANE.INI";
  std::string userFile = locations.UserDir + "KORVANE.INI";

  LocationFixture() { fs::create_directory(dir.path() / "bin"); }
};

TEST(ConfigLocationTest, ProgramFolderFileWinsWhenWritable) {
  LocationFixture f;
  f.dir.WriteFile("bin/KORVANE.INI", "");
  f.dir.WriteFile("config/korvane/KORVANE.INI", "");
  EXPECT_EQ(ConfigReadLocation(f.locations), f.programFile);
  EXPECT_EQ(ConfigWriteLocation(f.locations), f.programFile);
}

TEST(ConfigLocationTest, UserFolderIsCreatedForWriting) {
  LocationFixture f;
  EXPECT_EQ(ConfigReadLocation(f.locations), f.userFile);
  EXPECT_FALSE(fs::exists(f.locations.UserDir));
  EXPECT_EQ(ConfigWriteLocation(f.locations), f.userFile);
  EXPECT_TRUE(fs::is_directory(f.locations.UserDir));
}

TEST(ConfigLocationTest, NoWritingLocationWhenTheUserFolderCannotBeMade) {
  LocationFixture f;
  f.dir.WriteFile("config", "a file where the folder should be");
  EXPECT_EQ(ConfigWriteLocation(f.locations), std::nullopt);
  EXPECT_EQ(ConfigReadLocation(f.locations), f.userFile);
  ScriptedHost host;
  ProgramState state(host);
  EXPECT_FALSE(WriteDefaultConfiguration(state, f.locations));
  WriteSaveOnExit(state, f.locations);
  EXPECT_TRUE(host.messages.empty());
}

TEST(ConfigLocationTest, ReadOnlyProgramFileGivesWayToTheUserFile) {
  LocationFixture f;
  f.dir.WriteFile("bin/KORVANE.INI", "[GeneralConfiguration]\r\nCorpusPath=/shipped/\r\n");
  chmod(f.programFile.c_str(), 0444);
  chmod(f.locations.ProgramDir.c_str(), 0555);
  if (access(f.programFile.c_str(), W_OK) == 0) {
    chmod(f.locations.ProgramDir.c_str(), 0755);
    GTEST_SKIP() << "permissions are not enforced for this user";
  }
  // The shipped settings are read until the user's own file exists, which
  // is where they are written; from then on that file is read.
  EXPECT_EQ(ConfigReadLocation(f.locations), f.programFile);
  EXPECT_EQ(ConfigWriteLocation(f.locations), f.userFile);
  ScriptedHost host;
  ProgramState state(host);
  ASSERT_TRUE(ReadDefaultConfiguration(state, f.locations));
  EXPECT_EQ(state.General.CorpusPath, "/shipped/");
  state.General.CorpusPath = "/mine/";
  ASSERT_TRUE(WriteDefaultConfiguration(state, f.locations));
  EXPECT_EQ(ConfigReadLocation(f.locations), f.userFile);
  ProgramState next(host);
  ReadDefaultConfiguration(next, f.locations);
  EXPECT_EQ(next.General.CorpusPath, "/mine/");
  chmod(f.locations.ProgramDir.c_str(), 0755);
}

TEST(ConfigLocationTest, SingleKeysSurviveTheFullWrite) {
  LocationFixture f;
  ScriptedHost host;
  ProgramState state(host);
  state.General.CorpusPath = "/corpus/";
  ASSERT_TRUE(WriteDefaultConfiguration(state, f.locations));
  state.General.SaveOnExit = true;
  WriteSaveOnExit(state, f.locations);
  state.General.WorkspacePath = "/work spaces/";
  WriteWorkspacePath(state, f.locations);

  // Each single key changes only itself.
  ProgramState check(host);
  ReadDefaultConfiguration(check, f.locations);
  ReadSaveOnExit(check, f.locations);
  ReadWorkspacePath(check, f.locations);
  EXPECT_EQ(check.General.CorpusPath, "/corpus/");
  EXPECT_TRUE(check.General.SaveOnExit);
  EXPECT_EQ(check.General.WorkspacePath, "/work spaces/");

  // The full write at exit keeps them.
  ASSERT_TRUE(WriteDefaultConfiguration(check, f.locations));
  ProgramState after(host);
  ReadSaveOnExit(after, f.locations);
  ReadWorkspacePath(after, f.locations);
  EXPECT_TRUE(after.General.SaveOnExit);
  EXPECT_EQ(after.General.WorkspacePath, "/work spaces/");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace korvane
