// Workspaces: the flag strings, what each save option keeps, reopening
// without rebuilding, private copies, damaged data, saving under a new name.
#include "app/workspace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "corpus/file_flags.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "tags/indexed_stream.h"
#include "temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// One program session: its own host and state over the same files.
struct Session {
  ScriptedHost host;
  ProgramState state{host};

  Session() {
    state.ConcordConfig.PageSeparator = "<pb>";
    state.WatchedTags = {TWatchedTag::Make("Speaker", "<sp", "</sp>")};
  }
  std::vector<std::string> Errors() const { return host.MessagesOfKind(TMsgDlgType::mtError); }
};

class WorkspaceTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::ScopedTempFolder temp{dir.path() / "tmp"};
  std::vector<std::string> texts = {
      dir.WriteFile("one.txt", "ab\r\n<sp who=A>cd</sp>\r\n<pb>ef gh\r\n"),
      dir.WriteFile("two.txt", "one two three\r\n<pb>four\r\n"),
  };

  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

  static std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static void SetOptions(ProgramState& state, bool lines, bool tags, bool freq) {
    state.Workspace.KeepLinePages = lines;
    state.Workspace.KeepWatchedTags = tags;
    state.Workspace.KeepFreq = freq;
  }

  // Saves the two texts as a workspace with every table kept.
  void SaveFull(const std::string& file, bool freq = false) {
    Session s;
    LoadTexts(s.state, texts);
    if (freq) s.state.corpus.CountWordsWhileLoading = true;
    SetOptions(s.state, true, true, freq);
    if (freq) {
      s.state.corpus.CorpusWordTable = std::make_unique<THashStrings>(4096, s.state.Language);
      s.state.corpus.CorpusWordTable->AddCount("harbour", 3);
    }
    s.state.BatchPatternLists.Patterns = {"the", "of"};
    ASSERT_TRUE(SaveWorkspace(s.state, file, false));
    ASSERT_THAT(s.Errors(), ::testing::IsEmpty());
  }
};

TEST(FileFlagsTest, EntriesAreWrittenAndReadByLetter) {
  EXPECT_EQ(FlagEntry('L', "LNT12"), "L.LNT12 ");
  const std::string flags = "U.ISTa1 L.LNTb2 P.PGTc3 T.WTTd4 W.5120 ";
  struct Case { char letter; const char* value; };
  for (const Case& c : {Case{'U', "ISTa1"}, Case{'L', "LNTb2"}, Case{'P', "PGTc3"}, Case{'T', "WTTd4"},
                        Case{'W', "5120"}, Case{'X', ""}})
    EXPECT_EQ(FlagValue(flags, c.letter), c.value) << c.letter;
  EXPECT_EQ(FlagValue("W.77", 'W'), "77");  // up to the end without a space
  EXPECT_EQ(FlagValue("", 'L'), "");
  EXPECT_EQ(WorkspaceDataDirFor("/work/novels.KWS"), "/work/novels/");
}

TEST_F(WorkspaceTest, FlagStringsNameTablesAndWordCountInOrder) {
  Session s;
  LoadTexts(s.state, texts);
  SetOptions(s.state, true, true, false);
  const std::string file = Path("novels.KWS");
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));

  const std::string dataDir = Path("novels") + "/";
  EXPECT_EQ(s.state.corpus.WorkspaceDataDir, dataDir);
  for (const TCorpusText& text : s.state.corpus.Texts) {
    const std::string& flags = text.CorpusFileFlags;
    EXPECT_THAT(flags, ::testing::MatchesRegex("L\\.LNT[A-Za-z0-9]+ P\\.PGT[A-Za-z0-9]+ T\\.WTT[A-Za-z0-9]+ W\\.[0-9]+ "));
    EXPECT_EQ(FlagValue(flags, 'W'), std::to_string(text.WordCount));
    for (char letter : {'L', 'P', 'T'}) {
      EXPECT_TRUE(fs::exists(dataDir + FlagValue(flags, letter) + ".tmp")) << letter;
      EXPECT_TRUE(fs::exists(dataDir + FlagValue(flags, letter) + "H.tmp")) << letter;
    }
  }
  // The flag strings (with their last space) and options stand in the file.
  EXPECT_NE(dir.ReadFile("novels.KWS").find("File flags1=" + s.state.corpus.Texts[1].CorpusFileFlags + "\r\n"),
            std::string::npos);
  const IniFile ini = IniFile::Load(file);
  EXPECT_EQ(ini.ReadString("Corpus files", "File0", ""), texts[0]);
  EXPECT_TRUE(ini.ReadBool("GeneralConfiguration", "KeepLinePages", false));
  EXPECT_FALSE(ini.ReadBool("GeneralConfiguration", "KeepURLs", true));
}

TEST_F(WorkspaceTest, AllOptionsOffKeepOnlyTheWordCount) {
  Session s;
  LoadTexts(s.state, texts);
  const std::string file = Path("bare.KWS");
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));
  for (const TCorpusText& text : s.state.corpus.Texts)
    EXPECT_EQ(text.CorpusFileFlags, "W." + std::to_string(text.WordCount) + " ");
  EXPECT_FALSE(fs::exists(Path("bare")));
}

TEST_F(WorkspaceTest, ReopeningReusesSavedDataThroughPrivateCopies) {
  const std::string file = Path("novels.KWS");
  SaveFull(file, true);
  const std::vector<std::string> saved = FilesIn(Path("novels"));

  Session s;
  s.state.corpus.CountWordsWhileLoading = true;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  EXPECT_THAT(s.Errors(), ::testing::IsEmpty());
  // Neither the collector nor a word count ran.
  EXPECT_EQ(s.host.progressFormsCreated, 0);
  ASSERT_EQ(s.state.corpus.Count(), 2);
  ASSERT_TRUE(s.state.corpus.CorpusWordTable);
  EXPECT_EQ(s.state.corpus.CorpusWordTable->Count(), 1);
  EXPECT_GT(s.state.corpus.TotalWords, 0);
  EXPECT_EQ(s.state.BatchPatternLists.Patterns, (std::vector<std::string>{"the", "of"}));
  EXPECT_TRUE(s.state.Workspace.KeepWatchedTags);

  // The tables are answered from private copies in the temporary folder.
  const std::string tempFolder = (dir.path() / "tmp").string();
  for (const TCorpusText& text : s.state.corpus.Texts)
    for (const TIndexSlot* slot : {&text.LineTables, &text.PageTables, &text.WatchedTagTables}) {
      ASSERT_TRUE(slot->Index);
      EXPECT_TRUE(slot->Index->PrivateCopy);
      EXPECT_EQ(fs::path(slot->Name).parent_path().string(), tempFolder);
    }
  // Unloading deletes the copies and never the workspace's own files.
  UnloadCorpus(s.state);
  EXPECT_THAT(FilesIn(tempFolder), ::testing::IsEmpty());
  EXPECT_EQ(FilesIn(Path("novels")), saved);
}

TEST_F(WorkspaceTest, AnEmptyFlagStringKeepsTheLaterTextsData) {
  const std::string file = Path("novels.KWS");
  SaveFull(file);
  IniFile ini = IniFile::Load(file);
  ini.WriteString("Corpus files", "File flags0", "");
  ini.Save();

  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  EXPECT_THAT(s.Errors(), ::testing::IsEmpty());
  EXPECT_EQ(s.host.progressFormsCreated, 1);  // the first text only
  for (const TCorpusText& text : s.state.corpus.Texts) {
    EXPECT_TRUE(text.LineTables.Index && text.PageTables.Index && text.WatchedTagTables.Index);
    EXPECT_GT(text.WordCount, 0);
  }
}

TEST_F(WorkspaceTest, ADamagedTableIsReportedAndRebuilt) {
  const std::string file = Path("novels.KWS");
  SaveFull(file);
  const std::string lines = FlagValue(IniFile::Load(file).ReadString("Corpus files", "File flags1", ""), 'L');
  const std::string damaged = Path("novels") + "/" + lines + ".tmp";
  std::ofstream(CompanionFileName(damaged), std::ios::binary | std::ios::trunc) << "IDXS";

  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  EXPECT_THAT(s.Errors(), ::testing::ElementsAre("Invalid index file: " + damaged));
  EXPECT_EQ(s.host.progressFormsCreated, 1);
  const TCorpusText& text = s.state.corpus.Texts[1];
  ASSERT_TRUE(text.LineTables.Index);
  EXPECT_EQ(text.LineTables.Index->RecordCount(), 3);
}

TEST_F(WorkspaceTest, SavingUnderANewNameCopiesEverythingAndLeavesTheOldOne) {
  const std::string first = Path("novels.KWS");
  SaveFull(first, true);
  const std::vector<std::string> firstFiles = FilesIn(Path("novels"));

  const std::string second = Path("copy.KWS");
  {
    Session s;
    ASSERT_TRUE(OpenWorkspace(s.state, first));
    EXPECT_TRUE(IsLoadedWorkspace(s.state, Path("./novels.KWS")));
    EXPECT_FALSE(IsLoadedWorkspace(s.state, second));
    ASSERT_TRUE(SaveWorkspace(s.state, second, true));
    EXPECT_THAT(s.Errors(), ::testing::IsEmpty());
  }
  EXPECT_EQ(FilesIn(Path("novels")), firstFiles);
  EXPECT_EQ(FilesIn(Path("copy")), firstFiles);

  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, second));
  EXPECT_THAT(s.Errors(), ::testing::IsEmpty());
  EXPECT_EQ(s.host.progressFormsCreated, 0);
  EXPECT_TRUE(s.state.corpus.CorpusWordTable);
}

TEST_F(WorkspaceTest, SavingAgainDeletesWhatTheOptionsNoLongerKeep) {
  const std::string file = Path("novels.KWS");
  SaveFull(file, true);
  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  SetOptions(s.state, false, true, false);
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));
  const std::vector<std::string> left = FilesIn(Path("novels"));
  EXPECT_EQ(left.size(), 4u);  // the two tracked-tag tables and their companions
  for (const std::string& name : left) EXPECT_EQ(name.substr(0, 3), "WTT") << name;

  SetOptions(s.state, false, false, false);
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));
  EXPECT_FALSE(fs::exists(Path("novels")));  // the emptied folder goes too
}

TEST_F(WorkspaceTest, SavingInPlaceDeletesTheDataOfRemovedTextsAndRebuiltTables) {
  const std::string file = Path("novels.KWS");
  SaveFull(file);
  const IniFile saved = IniFile::Load(file);
  const std::string dataDir = Path("novels") + "/";
  const std::string removedTable = FlagDataFile(dataDir, FlagValue(saved.ReadString("Corpus files", "File flags0", ""), 'L'));
  const std::string damaged = FlagDataFile(dataDir, FlagValue(saved.ReadString("Corpus files", "File flags1", ""), 'P'));
  std::ofstream(CompanionFileName(damaged), std::ios::binary | std::ios::trunc) << "IDXS";

  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  RemoveText(s.state, 0);
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));
  EXPECT_FALSE(fs::exists(removedTable));
  EXPECT_FALSE(fs::exists(damaged));
  // What is left is exactly what the new flag string names.
  const std::vector<std::string> left = FilesIn(Path("novels"));
  EXPECT_EQ(left.size(), 6u);
  for (const std::string& name : left)
    EXPECT_NE(s.state.corpus.Texts[0].CorpusFileFlags.find(name.substr(0, 9)), std::string::npos) << name;
}

TEST_F(WorkspaceTest, AnOptionTurnedOffAndOnAgainSavesItsTablesAgain) {
  const std::string file = Path("novels.KWS");
  SaveFull(file);
  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  SetOptions(s.state, false, true, false);
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));
  SetOptions(s.state, true, true, false);
  ASSERT_TRUE(SaveWorkspace(s.state, file, false));

  Session reopened;
  ASSERT_TRUE(OpenWorkspace(reopened.state, file));
  EXPECT_THAT(reopened.Errors(), ::testing::IsEmpty());
  EXPECT_EQ(reopened.host.progressFormsCreated, 0);
}

TEST_F(WorkspaceTest, TextsGivenByBareNamesOpenFromAnyFolder) {
  const fs::path before = fs::current_path();
  const std::string file = Path("novels.KWS");
  {
    Session s;
    fs::current_path(dir.path());
    LoadTexts(s.state, {"one.txt"});
    const bool saved = SaveWorkspace(s.state, file, false);
    fs::current_path(before);
    ASSERT_EQ(s.state.corpus.Count(), 1);
    ASSERT_TRUE(saved);
  }
  EXPECT_EQ(IniFile::Load(file).ReadString("Corpus files", "File0", ""), texts[0]);
  Session s;
  ASSERT_TRUE(OpenWorkspace(s.state, file));
  EXPECT_THAT(s.Errors(), ::testing::IsEmpty());
  EXPECT_EQ(s.state.corpus.Count(), 1);
}

TEST_F(WorkspaceTest, AFailedWriteIsReportedAndChangesNothing) {
  Session s;
  LoadTexts(s.state, texts);
  SetOptions(s.state, true, true, false);
  const std::string file = Path("missing-folder/novels.KWS");
  EXPECT_FALSE(SaveWorkspace(s.state, file, false));
  EXPECT_THAT(s.Errors(), ::testing::ElementsAre("Could not write to configuration file " + file + "!"));
  EXPECT_TRUE(s.state.corpus.WorkspaceFile.empty());
  EXPECT_FALSE(fs::exists(Path("missing-folder")));
  for (const TCorpusText& text : s.state.corpus.Texts) EXPECT_EQ(text.CorpusFileFlags, "");
}

TEST_F(WorkspaceTest, AnUnreadableWorkspaceIsReported) {
  Session s;
  fs::create_directories(Path("folder.KWS"));
  EXPECT_FALSE(OpenWorkspace(s.state, Path("folder.KWS")));
  EXPECT_THAT(s.Errors(), ::testing::ElementsAre("Could not read from configuration file " + Path("folder.KWS") + "!"));
}

}  // namespace
}  // namespace korvane
