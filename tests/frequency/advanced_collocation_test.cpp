// Advanced collocation: position keys with gaps, span runs, folding, the
// result rows with the percentage of hits, and the configuration section.
#include "frequency/advanced_collocation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "results/concord_items.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class AdvancedCollocationTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  TConcordItems items{state};
  test::TempDir dir;

  // A hit from the words 4L..4R around term; empty strings are absent words.
  void AddHit(const std::vector<std::string>& left, const std::string& term, const std::vector<std::string>& right) {
    auto item = std::make_unique<TConcordItem>();
    item->Words[0] = term;
    for (std::size_t i = 0; i < left.size(); ++i)  // left[0] is 1L
      if (!left[i].empty()) item->Words[4 - i] = left[i];
    for (std::size_t i = 0; i < right.size(); ++i)
      if (!right[i].empty()) item->Words[5 + i] = right[i];
    items.Add(std::move(item));
  }
  static TAdvancedSortColList Positions(std::initializer_list<std::uint8_t> codes) {
    TAdvancedSortColList list;
    for (auto c : codes) list.push_back({c, false});
    return list;
  }
  std::vector<std::string> Rows(const TWordList& list) {
    std::vector<std::string> out;
    for (const auto& r : list.Rows) out.push_back(r.Word + ":" + std::to_string(r.Count));
    return out;
  }
};

using Strings = std::vector<std::string>;

TEST_F(AdvancedCollocationTest, PositionKeys) {
  // she sat in the middle of the room
  AddHit({"the", "in", "sat", "she"}, "middle", {"of", "the", "room"});
  // At the start of a text: no left words.
  AddHit({}, "middle", {"of", "the"});
  state.FreqSettings.MinimumFrequency = 1;
  const struct {
    TAdvancedSortColList positions;
    Strings rows;
  } cases[] = {
      {Positions({3, 5}), {"in ... of:1", " ... of:1"}},
      {Positions({4, 0, 5}), {"the middle of:1", "middle of:1"}},
      {Positions({2, 3}), {"sat in:1", ":1"}},
  };
  for (const auto& c : cases) {
    const TWordList list = AdvancedCollocationList(items, state, c.positions, 0);
    Strings rows = Rows(list);
    std::sort(rows.begin(), rows.end());
    Strings expected = c.rows;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected) << list.Caption;
  }
  EXPECT_EQ(AdvancedCollocationCaption(Positions({4, 5}), 0), "Advanced Collocation - 1L, 1R");
  EXPECT_EQ(AdvancedCollocationCaption({}, 3), "Advanced Collocation - Span 3");
}

TEST_F(AdvancedCollocationTest, SpanRunsFoldingAndPercentOfHits) {
  AddHit({"b", "a"}, "HIT", {"c", "d"});
  state.FreqSettings.MinimumFrequency = 1;
  TWordList list = AdvancedCollocationList(items, state, {}, 2);
  Strings rows = Rows(list);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Strings{"b hit:1", "hit c:1"}));
  EXPECT_FLOAT_EQ(list.Rows[0].Percentage, 100.0f);

  AddHit({}, "The", {"cat"});
  AddHit({"x"}, "the", {"cat"});
  list = AdvancedCollocationList(items, state, {}, 3);  // runs reaching past the text start are skipped
  rows = Rows(list);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Strings{"a b hit:1", "b hit c:1", "hit c d:1", "x the cat:1"}));

  list = AdvancedCollocationList(items, state, Positions({0, 5}), 0);
  ASSERT_FALSE(list.Rows.empty());
  EXPECT_EQ(list.Rows[0].Word, "the cat");
  EXPECT_EQ(list.Rows[0].Count, 2);
  EXPECT_NEAR(list.Rows[0].Percentage, 200.0f / 3, 1e-4);
}

TEST_F(AdvancedCollocationTest, ConfigurationSection) {
  const IniFile ini = IniFile::Load(dir.WriteFile(
      "K.INI", "[AdvancedColloc]\r\nFirst=1L\r\nSecond=3\r\nThird=9\r\nSpanNumber=7\r\nShowFirst=5\r\n"
               "SpanCollocation=1\r\n"));
  TAdvancedSortColOptions options;
  TAdvancedCollocExtras extras;
  ReadAdvancedColloc(ini, options, extras);
  EXPECT_EQ(options.FirstKey, 4);
  EXPECT_EQ(options.SecondKey, 0) << "older list: 3 is the search term";
  EXPECT_EQ(options.ThirdKey, 10);
  EXPECT_EQ(options.Span, 2);
  EXPECT_TRUE(options.UseSpan);
  EXPECT_EQ(extras.ShowFirst, 5);
  IniFile out((dir.path() / "out.ini").string());
  WriteAdvancedColloc(out, options, extras);
  EXPECT_EQ(out.ReadString("AdvancedColloc", "Second", ""), "Search term");
  EXPECT_EQ(out.ReadString("AdvancedColloc", "Third", ""), "None");
}

}  // namespace
}  // namespace korvane
