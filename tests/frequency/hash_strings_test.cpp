// The frequency table: folding and merging, the top-frequency summary and
// its update rules, sorting, and the "HSTR" file with its damaged forms.
#include "frequency/hash_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class HashStringsTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;

  std::vector<std::pair<std::string, int>> Entries(const THashStrings& t) {
    std::vector<std::pair<std::string, int>> out;
    for (int i = 0; i < t.EntryCount(); ++i) out.emplace_back(t.WordAt(i), t.CountAt(i));
    return out;
  }
  std::string Int32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
    return s;
  }
};

using Entries_ = std::vector<std::pair<std::string, int>>;

TEST_F(HashStringsTest, CaseFoldingMergesWordsAndKeepsInsertionOrder) {
  THashStrings folded(4, state.Language);
  for (const char* w : {"The", "cat", "the", "THE", "Cat"}) folded.AddWord(w, true);
  folded.AddWord("dog", false);
  EXPECT_EQ(Entries(folded), (Entries_{{"the", 3}, {"cat", 2}, {"dog", 0}}));
  EXPECT_EQ(folded.CountOf("tHe"), 3);
  EXPECT_EQ(folded.CountOf("mouse"), 0);

  THashStrings exact(4, state.Language);
  exact.CaseFolding = false;
  exact.AddWord("The", true);
  exact.AddWord("the", true);
  EXPECT_EQ(Entries(exact), (Entries_{{"The", 1}, {"the", 1}}));
  EXPECT_EQ(exact.CountOf("THE"), 0);
}

TEST_F(HashStringsTest, OneBucketHoldsManyWordsInOrderAndFindsEach) {
  // A single bucket puts every word through the binary search and insertion.
  THashStrings table(0, state.Language);
  table.CaseFolding = false;
  const std::vector<std::string> words = {"pear", "apple", "zebra", "Apple", "mango", "b", "a", "pear"};
  for (const auto& w : words) table.AddCount(w, 2);
  EXPECT_EQ(table.EntryCount(), 7);
  EXPECT_EQ(table.CountOf("pear"), 4);
  EXPECT_EQ(table.CountOf("Apple"), 2);
  EXPECT_EQ(table.CountOf("kiwi"), 0);
  table.SortBy(foAlphabetical);
  for (int i = 1; i < table.EntryCount(); ++i)
    EXPECT_LT(state.Language.CompareStr(table.WordAt(i - 1), table.WordAt(i), false), 0) << i;
}

TEST_F(HashStringsTest, SortByFrequencyAndTheOrderState) {
  THashStrings table(16, state.Language);
  table.AddCount("few", 1);
  table.AddCount("many", 9);
  table.AddCount("some", 4);
  table.SortBy(foFrequency);
  EXPECT_EQ(Entries(table), (Entries_{{"many", 9}, {"some", 4}, {"few", 1}}));
  EXPECT_EQ(table.Order(), foFrequency);
  table.AddWord("few", true);
  EXPECT_EQ(table.Order(), foUnsorted);
  table.AddCount("few", 20);
  table.SortBy(foFrequency);
  EXPECT_EQ(table.WordAt(0), "few");
}

TEST_F(HashStringsTest, SummaryRebuiltFromCounts) {
  THashStrings table(8, state.Language);
  const std::vector<std::pair<std::string, int>> counts = {{"a", 5}, {"b", 5}, {"c", 3},
                                                           {"d", 2}, {"e", 2}, {"f", 1}};
  for (const auto& [w, n] : counts) table.AddCount(w, n);
  table.SetTopCapacity(3);
  ASSERT_EQ(table.TopUsed(), 3);
  const std::vector<std::pair<int, int>> slots = {{5, 2}, {3, 1}, {2, 2}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(table.TopValue(i), slots[i].first);
    EXPECT_EQ(table.TopWords(i), slots[i].second);
  }
  EXPECT_EQ(table.TopRank(5), 0);
  EXPECT_EQ(table.TopRank(2), 2);
  EXPECT_EQ(table.TopRank(1), -1);

  table.SetTopCapacity(5);  // raising rebuilds: 1 comes in
  EXPECT_EQ(table.TopUsed(), 4);
  EXPECT_EQ(table.TopRank(1), 3);
  table.SetTopCapacity(2);  // lowering only cuts
  EXPECT_EQ(table.TopUsed(), 2);
  EXPECT_EQ(table.TopRank(2), -1);
  table.SetTopCapacity(99);
  EXPECT_EQ(table.TopCapacity(), 32);
}

TEST_F(HashStringsTest, SummaryUpdatesAsWordsAreCounted) {
  THashStrings table(8, state.Language);
  table.SetTopCapacity(1);
  for (const char* w : {"A", "A", "B", "B", "B"}) table.AddWord(w, true);
  // A's value 2 dropped out when B reached 3 and does not come back.
  ASSERT_EQ(table.TopUsed(), 1);
  EXPECT_EQ(table.TopValue(0), 3);
  EXPECT_EQ(table.TopWords(0), 1);
  EXPECT_EQ(table.TopRank(2), -1);

  THashStrings three(8, state.Language);
  three.SetTopCapacity(3);
  for (const char* w : {"x", "y", "x", "z", "x", "y"}) three.AddWord(w, true);
  // x 3, y 2, z 1
  EXPECT_EQ(three.TopRank(3), 0);
  EXPECT_EQ(three.TopRank(2), 1);
  EXPECT_EQ(three.TopRank(1), 2);
  three.AddWord("new", false);  // a word added without counting leaves the summary alone
  EXPECT_EQ(three.TopWords(2), 1);
  three.Clear();
  EXPECT_EQ(three.TopUsed(), 0);
  EXPECT_EQ(three.EntryCount(), 0);
  EXPECT_EQ(three.TopCapacity(), 3);
}

TEST_F(HashStringsTest, FileRoundTripTruncatesLongWordsAndMergesOnLoad) {
  THashStrings table(8, state.Language);
  table.CaseFolding = false;
  const std::string longWord(300, 'w');
  table.AddCount("The", 3);
  table.AddCount(longWord, 2);
  table.AddCount("the", 4);
  const std::string path = (dir.path() / "FREQ.tmp").string();
  table.SaveToFile(path);
  const std::string bytes = dir.ReadFile("FREQ.tmp");
  EXPECT_EQ(bytes.substr(0, 12), "HSTR" + Int32(1) + Int32(3));
  EXPECT_EQ(bytes.size(), 12u + 3 * 8 + 3 + 255 + 3);

  THashStrings exact(8, state.Language);
  exact.CaseFolding = false;
  exact.LoadFromFile(path);
  EXPECT_EQ(Entries(exact), (Entries_{{"The", 3}, {std::string(255, 'w'), 2}, {"the", 4}}));

  THashStrings folded(8, state.Language);
  folded.LoadFromFile(path);
  EXPECT_EQ(Entries(folded), (Entries_{{"the", 7}, {std::string(255, 'w'), 2}}));
  EXPECT_EQ(folded.Order(), foUnsorted);

  THashStrings empty(8, state.Language);
  empty.SaveToFile(path);
  folded.LoadFromFile(path);
  EXPECT_EQ(folded.EntryCount(), 0);
}

TEST_F(HashStringsTest, DamagedFilesAreRefusedAndLeaveTheTableEmpty) {
  const std::string entry = Int32(3) + "cat" + Int32(2);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"version 2", "HSTR" + Int32(2) + Int32(0)},
      {"wrong magic", "HSTX" + Int32(1) + Int32(0)},
      {"no header", "HS"},
      {"no entry count", "HSTR" + Int32(1)},
      {"length above 255", "HSTR" + Int32(1) + Int32(2) + entry + Int32(256) + std::string(256, 'x') + Int32(1)},
      {"negative count", "HSTR" + Int32(1) + Int32(2) + entry + Int32(3) + "dog" + Int32(0xFFFFFFFF)},
      {"short file", "HSTR" + Int32(1) + Int32(3) + entry + Int32(3) + "do"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.WriteFile("bad.tmp", c.bytes);
    THashStrings table(8, state.Language);
    table.AddCount("old", 1);
    try {
      table.LoadFromFile(path);
      ADD_FAILURE() << c.name << ": loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), "Invalid frequency file: " + path) << c.name;
    }
    EXPECT_EQ(table.EntryCount(), 0) << c.name;
    EXPECT_EQ(table.CountOf("cat"), 0) << c.name;
  }
  THashStrings table(8, state.Language);
  EXPECT_THROW(table.LoadFromFile((dir.path() / "missing.tmp").string()), Exception);
}

}  // namespace
}  // namespace korvane
