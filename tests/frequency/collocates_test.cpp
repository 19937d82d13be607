// Collocates of a concordance: counting per slot with folding and the stop
// list, ranks from the top-frequency summary, highlighting from the 100th
// hit, cancelling a build, and the collocation table rows and file.
#include "frequency/collocates.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "frequency/hash_strings.h"
#include "results/concord_items.h"

namespace korvane {
namespace {

class CollocatesTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  TConcordItems items{state};

  void SetUp() override { state.FreqSettings.CollocationSpan = 1; }

  // A hit with the given words at 1L (slot 4) and 1R (slot 5); empty: none.
  void AddHit(const std::string& left, const std::string& right) {
    auto item = std::make_unique<TConcordItem>();
    if (!left.empty()) item->Words[4] = left;
    if (!right.empty()) item->Words[5] = right;
    items.Add(std::move(item));
  }
  void AddRight(const std::vector<std::pair<std::string, int>>& counts) {
    for (const auto& [word, n] : counts)
      for (int i = 0; i < n; ++i) AddHit("", word);
  }
  std::map<std::string, int> RightRanks() {
    std::map<std::string, int> ranks;
    for (int i = 0; i < items.Count(); ++i)
      if (items.Item(i).Words[5]) ranks[*items.Item(i).Words[5]] = items.Item(i).CollocateRanks[5];
    return ranks;
  }
};

TEST_F(CollocatesTest, RanksFollowTheHighestCounts) {
  state.FreqSettings.CollocHighliteFirst = 3;
  // The fours come first, so a summary kept up word by word would lose them
  // while the higher counts climb past.
  AddRight({{"d", 4}, {"e", 4}, {"f", 2}, {"g", 1}, {"a", 9}, {"b", 9}, {"c", 7}});
  SetCollocHighlight(items, state, true);
  ASSERT_TRUE(CollocatesBuilt(items, 4, 5));
  EXPECT_EQ(RightRanks(), (std::map<std::string, int>{
                              {"a", 0}, {"b", 0}, {"c", 1}, {"d", 2}, {"e", 2}, {"f", 255}, {"g", 255}}));
  EXPECT_EQ(items.CollocTables[4]->WordAt(0).size(), 1u);
  EXPECT_EQ(items.CollocTables[4]->CountAt(0), 9);  // sorted by frequency

  // A new highlight count re-ranks without a new build.
  state.FreqSettings.CollocHighliteFirst = 1;
  UpdateCollocHighlightCount(items, state);
  EXPECT_EQ(RightRanks()["c"], 255);
  EXPECT_EQ(RightRanks()["a"], 0);
}

TEST_F(CollocatesTest, RanksComeFromTheFinalCounts) {
  // Counted in this order, a summary of two slots kept up word by word loses
  // the count 2 (when w reaches 4 while 4 and 3 fill it) and cannot get it
  // back when x joins w at 4; y's 2 is still the second-highest count.
  state.FreqSettings.CollocHighliteFirst = 2;
  for (const char* w : {"w", "w", "w", "x", "x", "y", "y", "x", "w", "x"}) AddHit("", w);
  SetCollocHighlight(items, state, true);
  EXPECT_EQ(RightRanks(), (std::map<std::string, int>{{"w", 0}, {"x", 0}, {"y", 1}}));
}

TEST_F(CollocatesTest, OnceCountedWordsAreNeverShaded) {
  state.FreqSettings.CollocHighliteFirst = 5;
  AddRight({{"x", 1}, {"y", 1}, {"z", 2}});
  SetCollocHighlight(items, state, true);
  EXPECT_EQ(RightRanks(), (std::map<std::string, int>{{"x", 255}, {"y", 255}, {"z", 0}}));
}

TEST_F(CollocatesTest, FoldingAndStopWords) {
  for (const char* w : {"The", "the", "THE", "big", "big", "big"}) AddHit(w, "of");
  state.StopList.SetWords({"of"});
  state.StopList.SetActive(true);
  BuildCollocates(items, state, 4, 5);
  const THashStrings& left = *items.CollocTables[3];
  EXPECT_EQ(left.CountOf("the"), 3);
  EXPECT_EQ(left.EntryCount(), 2);
  EXPECT_EQ(items.CollocTables[4]->EntryCount(), 0) << "a stop word is never counted";

  state.FreqSettings.IgnoreCase = false;
  items.CollocOn = false;
  SetCollocHighlight(items, state, true);  // built for the span: only re-ranked
  EXPECT_EQ(items.Item(0).CollocateRanks[5], 255) << "a stop word is never shaded";
  BuildCollocates(items, state, 4, 5);
  EXPECT_EQ(items.CollocTables[3]->EntryCount(), 4);
  EXPECT_EQ(items.CollocTables[3]->CountOf("The"), 1);
}

TEST_F(CollocatesTest, HighlightingStartsAtTheHundredthHit) {
  for (int i = 0; i < 99; ++i) {
    AddHit("left", i % 2 ? "odd" : "even");
    CollocatesAfterAdd(items, state, true);
  }
  EXPECT_FALSE(items.CollocOn);
  AddHit("left", "odd");
  CollocatesAfterAdd(items, state, true);
  ASSERT_TRUE(items.CollocOn);
  EXPECT_EQ(items.CollocTables[3]->CountOf("left"), 100);
  AddHit("left", "new");
  CollocatesAfterAdd(items, state, true);
  EXPECT_EQ(items.CollocTables[3]->CountOf("left"), 101);
  EXPECT_EQ(items.CollocTables[4]->CountOf("new"), 1);

  TConcordItems few{state};
  for (int i = 0; i < 3; ++i) {
    auto item = std::make_unique<TConcordItem>();
    item->Words[4] = "w";
    few.Add(std::move(item));
    CollocatesAfterAdd(few, state, true);
  }
  EXPECT_FALSE(few.CollocOn);
  CollocatesAfterSearch(few, state, true);
  EXPECT_TRUE(few.CollocOn);
  EXPECT_EQ(few.Item(0).CollocateRanks[4], 0);
}

TEST_F(CollocatesTest, CancelledBuildLeavesNoTables) {
  AddRight({{"w", 600}});
  host.cancelAfterProcessMessages = host.processMessagesCalls + 2;
  EXPECT_THROW(BuildCollocates(items, state, 4, 5), EAbort);
  for (const auto& table : items.CollocTables) EXPECT_EQ(table, nullptr);
  EXPECT_FALSE(CollocatesBuilt(items, 4, 5));
}

TEST_F(CollocatesTest, TableRowsAndTheSavedTable) {
  state.FreqSettings.MinimumFrequency = 3;
  AddRight({{"five", 5}, {"four", 4}, {"two", 2}, {"one", 1}});
  BuildCollocates(items, state, 4, 5);
  const std::vector<TCollocRow> rows = CollocationRows(items, state, 4, 5, 100);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1]->Word, "five");
  EXPECT_EQ(rows[1][1]->Word, "four");
  EXPECT_FALSE(rows[2][0] || rows[2][1]) << "the last row holds only empty cells";
  EXPECT_EQ(CollocationRows(items, state, 4, 5, 1).size(), 1u);

  std::ostringstream out;
  WriteCollocateTable(out, items, state, "cat", 0);
  EXPECT_EQ(out.str(), "Word: cat\r\n\r\n1-Left\t\t1-Right\r\n\t\t5\tfive\r\n\t\t4\tfour\r\n\t\t\t\r\n");
  EXPECT_EQ(CollocationCaption("cat"), "Frequency Statistics - [cat]");
  EXPECT_EQ(CollocationCaption(""), "Frequency Statistics");
}

}  // namespace
}  // namespace korvane
