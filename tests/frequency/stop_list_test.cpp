// The stop list and the frequency settings: where the words come from, when
// the list is active, the case rule of the stop-word test, and the
// configuration sections.
#include "frequency/stop_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "frequency/frequency_settings.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class StopListTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;

  IniFile Ini(const std::string& text) {
    return IniFile::Load(dir.WriteFile("KORVANE.INI", text));
  }
  void ReadBoth(const IniFile& ini) {
    state.Configuration.Get(ConfigStep::StopList).Read(ini);
    state.Configuration.Get(ConfigStep::FrequencyOptions).Read(ini);
  }
};

TEST_F(StopListTest, IsStopWordFollowsTheCaseRule) {
  TStopList& list = state.StopList;
  list.SetWords({"The", "of", "and"});
  EXPECT_FALSE(list.IsStopWord("of", true)) << "inactive list filters nothing";
  ASSERT_TRUE(list.SetActive(true));
  const struct {
    const char* word;
    bool ignoreCase;
    bool stop;
  } cases[] = {
      {"the", true, true},  {"THE", true, true},  {"The", false, true}, {"the", false, false},
      {"of", false, true},  {"Of", true, true},   {"off", true, false},  {"", true, false},
  };
  for (const auto& c : cases) EXPECT_EQ(list.IsStopWord(c.word, c.ignoreCase), c.stop) << c.word << c.ignoreCase;

  list.SetWords({});
  EXPECT_FALSE(list.SetActive(true));
  EXPECT_FALSE(list.Active());
}

TEST_F(StopListTest, WordsFromTheConfigurationSection) {
  ReadBoth(Ini("[StopList]\r\nWordCount=2\r\nWord0=the\r\nWord1=of\r\n"));
  EXPECT_EQ(state.StopList.Words(), (std::vector<std::string>{"the", "of"}));
  EXPECT_FALSE(state.FreqSettings.CountAllWords) << "defaults to content words when the list has words";
  EXPECT_TRUE(state.StopList.Active());

  ReadBoth(Ini("[StopList]\r\nWordCount=1\r\nWord0=the\r\n[FrequencyConfiguration]\r\nCountAllWords=1\r\n"
               "CollocationSpan=7\r\nCollocHighliteFirst=50\r\nMinimumFrequency=1\r\n"));
  EXPECT_FALSE(state.StopList.Active());
  EXPECT_EQ(state.FreqSettings.CollocationSpan, 2);
  EXPECT_EQ(state.FreqSettings.CollocHighliteFirst, 5);
  EXPECT_EQ(state.FreqSettings.MinimumFrequency, 1);

  ReadBoth(Ini("[FrequencyConfiguration]\r\nCountAllWords=0\r\n"));
  EXPECT_TRUE(state.StopList.Words().empty());
  EXPECT_FALSE(state.StopList.Active()) << "content words with an empty list filter nothing";
}

TEST_F(StopListTest, WordsFromAFileAndItsErrors) {
  const std::string path = dir.WriteFile("stop.txt", "the\r\nof\nand\r\n");
  ReadBoth(Ini("[FrequencyConfiguration]\r\nStopListFileName=" + path + "\r\n"));
  EXPECT_EQ(state.StopList.Words(), (std::vector<std::string>{"the", "of", "and"}));
  EXPECT_TRUE(state.StopList.Active());

  const std::string missing = (dir.path() / "gone.txt").string();
  ReadBoth(Ini("[StopList]\r\nWordCount=1\r\nWord0=x\r\n[FrequencyConfiguration]\r\nStopListFileName=" + missing +
               "\r\n"));
  EXPECT_TRUE(state.StopList.Words().empty());
  EXPECT_FALSE(state.StopList.Active());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unable to load stop-list words from file \r\n" + missing);

  state.StopList.SetWords({"a", "b"});
  const std::string saved = (dir.path() / "saved.txt").string();
  state.StopList.SaveToFile(saved);
  EXPECT_EQ(dir.ReadFile("saved.txt"), "a\r\nb\r\n");
}

TEST_F(StopListTest, WritingKeepsTheOldSectionWhenTheListIsEmpty) {
  IniFile ini = Ini("[StopList]\r\nWordCount=1\r\nWord0=old\r\n");
  state.StopList.SetWords({});
  state.Configuration.Get(ConfigStep::StopList).Write(ini);
  EXPECT_EQ(ini.ReadString("StopList", "Word0", ""), "old");
  EXPECT_EQ(ini.ReadString("FrequencyConfiguration", "StopListFileName", "?"), "");

  state.StopList.SetWords({"new", "words"});
  state.Configuration.Get(ConfigStep::StopList).Write(ini);
  std::vector<std::string> words;
  ReadList(ini, "StopList", "Word", words);
  EXPECT_EQ(words, (std::vector<std::string>{"new", "words"}));
}

TEST_F(StopListTest, ConsequencesOfChangedOptions) {
  const TFreqSettings before;
  auto changed = [&](auto change) {
    TFreqSettings after = before;
    change(after);
    return after;
  };
  const TFreqOptionsEffect none = FreqOptionsEffect(before, before, false);
  EXPECT_FALSE(none.DiscardWordTable || none.CloseFrequencyWindows || none.DropCollocates ||
               none.RehighlightCollocates);

  const TFreqOptionsEffect highlight =
      FreqOptionsEffect(before, changed([](TFreqSettings& s) { s.CollocHighliteFirst = 9; }), false);
  EXPECT_TRUE(highlight.RehighlightCollocates);
  EXPECT_FALSE(highlight.CloseFrequencyWindows || highlight.DropCollocates);

  const TFreqOptionsEffect minimum =
      FreqOptionsEffect(before, changed([](TFreqSettings& s) { s.MinimumFrequency = 9; }), false);
  EXPECT_TRUE(minimum.CloseFrequencyWindows && minimum.DropCollocates);
  EXPECT_FALSE(minimum.DiscardWordTable);

  const TFreqOptionsEffect tags = FreqOptionsEffect(before, changed([](TFreqSettings& s) { s.SkipTags = false; }), false);
  EXPECT_TRUE(tags.DiscardWordTable && tags.ResetWordCounts && tags.CloseFrequencyWindows);

  const TFreqOptionsEffect span =
      FreqOptionsEffect(before, changed([](TFreqSettings& s) { s.CollocationSpan = 3; }), false);
  EXPECT_TRUE(span.DropCollocates);
  EXPECT_FALSE(span.CloseFrequencyWindows);

  EXPECT_TRUE(FreqOptionsEffect(before, before, true).CloseFrequencyWindows);
}

}  // namespace
}  // namespace korvane
