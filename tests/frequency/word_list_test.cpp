// The corpus word count and what is made of it: word-list rows with the
// frequency limits and the stop list, the status text, the batch frequency
// file and the saved word list; cancelling the count.
#include "frequency/word_list.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "frequency/word_count.h"
#include "temp_dir.h"

namespace korvane {
namespace {

// A clock that moves one second per look, so that every 4,096th character
// reaches the progress check.
class FastClockHost : public ScriptedHost {
 public:
  std::uint32_t GetTickCount() const override { return now_ += 1000; }

 private:
  mutable std::uint32_t now_ = 0;
};

class WordListTest : public ::testing::Test {
 protected:
  FastClockHost host;
  ProgramState state{host};
  test::TempDir dir;

  void Load(const std::string& text) {
    const int n = state.corpus.Count();
    LoadTexts(state, {dir.WriteFile("t" + std::to_string(n) + ".txt", text)});
    ASSERT_EQ(state.corpus.Count(), n + 1);
  }
  std::vector<std::string> Words(const std::vector<TWordListRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.Word + ":" + std::to_string(r.Count));
    return out;
  }
};

using Strings = std::vector<std::string>;

TEST_F(WordListTest, CountsTheCorpusAndFiltersTheList) {
  Load("The cat saw the cat.");
  state.FreqSettings.MinimumFrequency = 1;
  TWordList list;
  ASSERT_TRUE(BuildCorpusWordList(state, true, list));
  EXPECT_EQ(state.corpus.TotalWords, 5);
  EXPECT_EQ(list.Caption, "Alphabetical Word List");
  EXPECT_EQ(Words(list.Rows), (Strings{"cat:2", "saw:1", "the:2"}));
  EXPECT_FLOAT_EQ(list.Rows[0].Percentage, 40.0f);
  EXPECT_EQ(list.StatusText, "5 words, 3 types");

  state.FreqSettings.MinimumFrequency = 3;
  EXPECT_TRUE(WordListRows(*state.corpus.CorpusWordTable, foFrequency, 5, state).empty());
  EXPECT_EQ(WordListStatusText(*state.corpus.CorpusWordTable, state), "5 words, 3 types");

  state.FreqSettings.MinimumFrequency = 1;
  state.FreqSettings.MaximumFrequency = 1;
  EXPECT_EQ(Words(WordListRows(*state.corpus.CorpusWordTable, foFrequency, 5, state)), (Strings{"saw:1"}));
}

TEST_F(WordListTest, MaximumLinesCutsRowsButNotTheBatchFile) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "w" + std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i) + " ";
  Load(text);
  state.FreqSettings.MinimumFrequency = 1;
  for (const auto& [maxLines, rows] : std::vector<std::pair<int, std::size_t>>{{10, 10}, {0, 1}, {-5, 1}, {100, 30}}) {
    state.FreqSettings.MaximumLines = maxLines;
    TWordList list;
    ASSERT_TRUE(BuildCorpusWordList(state, false, list));
    EXPECT_EQ(list.Rows.size(), rows) << maxLines;
  }
  state.FreqSettings.MaximumLines = 10;
  std::ostringstream out;
  WriteBatchFrequencyFile(out, state, false);
  std::istringstream lines(out.str());
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) ++n;
  EXPECT_EQ(n, 2 + 30);
}

TEST_F(WordListTest, LongWordsTagsAndTheLastWord) {
  const std::string hundred(100, 'x');
  Load(hundred + " <b>bold</b> end");
  state.FreqSettings.MinimumFrequency = 1;
  ASSERT_TRUE(EnsureCorpusWordTable(state));
  const THashStrings& skipping = *state.corpus.CorpusWordTable;
  EXPECT_EQ(skipping.CountOf(std::string(64, 'x')), 1);
  EXPECT_EQ(skipping.CountOf("b"), 0);
  EXPECT_EQ(skipping.CountOf("end"), 1);
  EXPECT_EQ(state.corpus.TotalWords, 3);

  state.FreqSettings.SkipTags = false;
  state.corpus.CorpusWordTable.reset();
  ASSERT_TRUE(EnsureCorpusWordTable(state));
  EXPECT_EQ(state.corpus.CorpusWordTable->CountOf("b"), 2);
  EXPECT_EQ(state.corpus.TotalWords, 5);
}

TEST_F(WordListTest, StopWordsLeaveListsStatusAndBatchFile) {
  Load("The cat saw the cat. THE end.");
  state.FreqSettings.MinimumFrequency = 1;
  state.StopList.SetWords({"the"});
  state.StopList.SetActive(true);
  TWordList list;
  ASSERT_TRUE(BuildCorpusWordList(state, true, list));
  EXPECT_EQ(Words(list.Rows), (Strings{"cat:2", "end:1", "saw:1"}));
  EXPECT_EQ(list.StatusText, "4 words, 3 types");
  std::ostringstream out;
  WriteBatchFrequencyFile(out, state, true);
  EXPECT_EQ(out.str(),
            "Batch Frequency Data - Alphabetical Order\r\n"
            "--------------------------------------\r\n"
            "         2: 28.5714% cat\r\n"
            "         1: 14.2857% end\r\n"
            "         1: 14.2857% saw\r\n");

  // Case respected: "The" as a stop word no longer filters "the".
  state.FreqSettings.IgnoreCase = false;
  state.StopList.SetWords({"The"});
  state.StopList.SetActive(true);
  state.corpus.CorpusWordTable.reset();
  ASSERT_TRUE(BuildCorpusWordList(state, true, list));
  EXPECT_EQ(Words(list.Rows), (Strings{"cat:2", "end:1", "saw:1", "the:1", "THE:1"}));

  state.StopList.SetActive(false);  // "Count all words"
  EXPECT_EQ(WordListStatusText(*state.corpus.CorpusWordTable, state), "7 words, 6 types");
}

TEST_F(WordListTest, SavedWordListFile) {
  TWordList list{"Corpus Frequency List", {{2, 40.0f, "cat"}, {1, 20.0f, "saw"}}, ""};
  std::ostringstream full, cut;
  WriteWordListFile(full, list, 5, 0, true);
  EXPECT_EQ(full.str(), "Corpus Frequency List (5 words)\r\n\r\n2\t40.0000%\tcat\r\n1\t20.0000%\tsaw\r\n");
  WriteWordListFile(cut, list, 5, 1, false);
  EXPECT_EQ(cut.str(), "Corpus Frequency List (5 words)\r\n\r\ncat\r\n");
}

TEST_F(WordListTest, CancelledCountLeavesNoTable) {
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "word ";
  Load(text);
  state.corpus.TotalWords = 77;
  host.cancelAfterProcessMessages = host.processMessagesCalls + 1;
  EXPECT_FALSE(EnsureCorpusWordTable(state));
  EXPECT_EQ(state.corpus.CorpusWordTable, nullptr);
  EXPECT_EQ(state.corpus.TotalWords, 77);

  std::ostringstream out;
  host.cancelAfterProcessMessages = host.processMessagesCalls + 1;
  WriteBatchFrequencyFile(out, state, false);
  EXPECT_EQ(out.str(), "");
}

TEST_F(WordListTest, EmptyCorpusGivesAnEmptyTable) {
  ASSERT_TRUE(EnsureCorpusWordTable(state));
  EXPECT_EQ(state.corpus.CorpusWordTable->EntryCount(), 0);
  EXPECT_EQ(state.corpus.TotalWords, 0);
}

}  // namespace
}  // namespace korvane
