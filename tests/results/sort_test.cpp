// Sorting of concordance lines: the comparison under each key, the order a
// whole list takes, tracked-tag values, the precomputed keys against the
// collator, and when a window may skip a repeated sort.
#include "results/sort.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "results/concord_items.h"
#include "tags/tag_query.h"

namespace korvane {
namespace {

using Word = std::optional<std::string>;

// Tracked tags with fixed values per hit start.
class FakeTags final : public TTagQuery {
 public:
  std::vector<std::string> names;
  std::map<std::int32_t, std::string> values;  // by hit start
  mutable int fills = 0;
  std::int32_t LineNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t PageNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t RelativeLineAt(int, std::int32_t) const override { return -1; }
  int TrackedTagCount() const override { return static_cast<int>(names.size()); }
  std::string TrackedTagName(int i) const override { return names[static_cast<std::size_t>(i)]; }
  std::optional<std::string> TagValueAt(int, std::int32_t position, int) const override {
    ++fills;
    auto it = values.find(position);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

class SortTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  TConcordItems list{state};
  TNoTagInfo noTags;
  int serial = 0;

  SortTest() { state.Language.SetLanguage(0x0409, state.ConcordConfig); }

  // Adds a hit with the search term, the first word left and right; the hit
  // start is its serial number.
  TConcordItem& Add(Word term, Word left = "x", Word right = "x") {
    auto item = std::make_unique<TConcordItem>();
    item->Words[pcSearchTerm] = term;
    item->Words[pc1L] = left;
    item->Words[pc1R] = right;
    item->HitStart = serial;
    item->Serial = serial++;
    TConcordItem& added = *item;
    list.Add(std::move(item));
    return added;
  }

  std::vector<std::string> Terms() const {
    std::vector<std::string> terms;
    for (int i = 0; i < list.Count(); ++i) terms.push_back(list.Item(i).Words[0].value_or("-"));
    return terms;
  }

  void Sort(std::uint8_t first, bool reverse = false, std::uint8_t second = pcUnsorted,
            const TAdvancedSortColList* custom = nullptr, const TTagQuery* tags = nullptr) {
    TAdvancedSortColOptions options;
    options.FirstKey = first;
    options.FirstReverse = reverse;
    options.SecondKey = second;
    SortConcordance(list, options, custom, tags ? *tags : noTags, state);
  }
};

TEST_F(SortTest, ComparesUnderEachKey) {
  struct Case {
    std::uint8_t key;
    bool reverse;
    Word a, b;
    int expected;
    const char* fault;
  };
  const Case cases[] = {
      {pcSearchTerm, false, "apple", "Banana", -1, "locale order, case ignored"},
      {pcSearchTerm, false, "Apple", "apple", 0, "case ignored"},
      {pcSearchTerm, true, "talked", "walked", -1, "endings agree up to t against w"},
      {pcSearchTerm, true, "walked", "walks", -1, "d before s from the end"},
      {pcSearchTerm, true, "ked", "talked", -1, "the word that runs out first comes first"},
      {pcSearchTerm, true, "TALKED", "walked", -1, "reverse comparison folds case"},
      {pc1L, false, std::nullopt, "zebra", 1, "absent word after a present one"},
      {pc1L, true, std::nullopt, "zebra", 1, "absent word last in reverse too"},
      {pc1L, false, std::nullopt, std::nullopt, 0, "two absent words are equal"},
  };
  const TSortSettings settings(state);
  for (const Case& c : cases) {
    TConcordItem a, b;
    a.Words[pcSearchTerm] = b.Words[pcSearchTerm] = "t";
    a.Words[c.key] = c.a;
    b.Words[c.key] = c.b;
    EXPECT_EQ(CompareItems(a, b, c.key, c.reverse, settings), c.expected) << c.fault;
    EXPECT_EQ(CompareItems(b, a, c.key, c.reverse, settings), -c.expected) << c.fault;
  }
}

TEST_F(SortTest, CaseAndSkippingCharactersFollowTheSearchOptions) {
  TConcordItem a, b;
  a.Words[0] = "co-op";
  b.Words[0] = "coop";
  EXPECT_NE(CompareItems(a, b, 0, false, TSortSettings(state)), 0);
  state.ConcordConfig.UseSkipEqualChars = true;  // SkippingChars is "-="
  EXPECT_EQ(CompareItems(a, b, 0, false, TSortSettings(state)), 0);
  EXPECT_EQ(CompareItems(a, b, 0, true, TSortSettings(state)), 0);

  a.Words[0] = "Walked";
  b.Words[0] = "walked";
  state.ConcordConfig.IgnoreCase = false;
  EXPECT_NE(CompareItems(a, b, 0, true, TSortSettings(state)), 0);
  EXPECT_LT(CompareItems(a, b, 0, true, TSortSettings(state)), 0) << "'W' is below 'w' as a byte";
}

TEST_F(SortTest, ReverseSortGathersWordEndings) {
  for (const char* w : {"walks", "talked", "jumps", "walked", "ran"}) Add(w);
  Sort(pcSearchTerm, true);
  EXPECT_EQ(Terms(), (std::vector<std::string>{"talked", "walked", "ran", "walks", "jumps"}));
}

TEST_F(SortTest, FirstLeftPutsHitsAtATextsStartLastAndSecondKeyBreaksTies) {
  Add("a", std::nullopt, "m");
  Add("b", "cat", "z");
  Add("c", "Cat", "b");
  Add("d", "ant", "q");
  Sort(pc1L, false, pc1R);
  EXPECT_EQ(Terms(), (std::vector<std::string>{"d", "c", "b", "a"}));
  EXPECT_EQ(list.SortKeys[0].Key, pc1L);
  EXPECT_EQ(list.SortKeys[1].Key, pc1R);
  EXPECT_EQ(list.SortKeys[2].Key, pcUnsorted);

  Sort(pcOriginalOrder);
  EXPECT_EQ(Terms(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(SortTest, DefinedPutsLetterAFirstAndUnletteredLinesLast) {
  Add("none");
  Add("z").Letter = 'z';
  Add("a").Letter = 'a';
  Add("m").Letter = 'm';
  const TAdvancedSortColList custom = {{pcDefined, false}};
  Sort(pcUnsorted, false, pcUnsorted, &custom);
  EXPECT_EQ(Terms(), (std::vector<std::string>{"a", "m", "z", "none"}));
  EXPECT_EQ(list.CustomKeys, nullptr) << "the caller's sequence must not stay referenced";
}

TEST_F(SortTest, TrackedTagPutsMissingValuesFirstAndFillsValuesOnce) {
  FakeTags tags;
  tags.names = {"speaker", "page"};
  Add("x1");                           // start 0: no value
  Add("x2");                           // start 1
  Add("x3");                           // start 2: no value
  tags.values = {{1, "Bob"}, {3, "alice"}};
  Add("x4");                           // start 3
  TAdvancedSortColOptions options;
  options.FirstKey = pcTrackedTag;
  options.FirstReverse = true;  // ignored for tag values
  options.SecondKey = pcOriginalOrder;
  options.TagName = "speaker";
  SortConcordance(list, options, nullptr, tags, state);
  EXPECT_EQ(Terms(), (std::vector<std::string>{"x1", "x3", "x4", "x2"}));
  EXPECT_EQ(list.TagIndex, 0);
  const int fills = tags.fills;
  SortConcordance(list, options, nullptr, tags, state);
  EXPECT_EQ(tags.fills, fills) << "the same tag is not computed again";

  options.TagName = "Speaker";  // names compare exactly
  SortConcordance(list, options, nullptr, tags, state);
  EXPECT_EQ(list.TagIndex, -1);
  EXPECT_EQ(list.Item(0).Words[0], "x1") << "hits keep the values they had";
}

TEST_F(SortTest, EmptyAndSingleListsStayAsTheyAre) {
  Sort(pc1R);
  EXPECT_EQ(list.Count(), 0);
  Add("only");
  Sort(pc1R, true);
  EXPECT_EQ(Terms(), std::vector<std::string>{"only"});
}

// The precomputed keys must give exactly the order the collator gives, for
// every kind of key, on words with case and accent differences, skipping
// characters, duplicates and absent words.
TEST_F(SortTest, PrecomputedKeysSortLikeTheCollator) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {"a", "A", "b", "\xE9", "\xC9", "e", "-", "z", "ss", "\xDF"};
  auto randomWord = [&]() -> Word {
    if (random() % 7 == 0) return std::nullopt;
    std::string w;
    for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) w += pieces[random() % pieces.size()];
    return w;
  };
  const TAdvancedSortColList levelSets[] = {
      {{pc1R, false}, {pc1L, false}},
      {{pc1L, true}, {pcSearchTerm, false}, {pcOriginalOrder, false}},
      {{pcSearchTerm, false}},
  };
  for (bool ignoreCase : {true, false}) {
    for (bool skipping : {false, true}) {
      state.ConcordConfig.IgnoreCase = ignoreCase;
      state.ConcordConfig.UseSkipEqualChars = skipping;
      for (const auto& levels : levelSets) {
        std::vector<std::vector<Word>> rows;
        for (int i = 0; i < 400; ++i) rows.push_back({randomWord(), randomWord(), randomWord()});
        auto sorted = [&](TSortMethod method) {
          TConcordItems items(state);
          for (std::size_t i = 0; i < rows.size(); ++i) {
            auto item = std::make_unique<TConcordItem>();
            item->Words[pcSearchTerm] = rows[i][0];
            item->Words[pc1L] = rows[i][1];
            item->Words[pc1R] = rows[i][2];
            item->Serial = static_cast<std::int32_t>(i);
            items.Add(std::move(item));
          }
          TAdvancedSortColOptions options;
          SortConcordance(items, options, &levels, noTags, state, method);
          std::vector<std::int32_t> serials;
          for (int i = 0; i < items.Count(); ++i) serials.push_back(items.Item(i).Serial);
          return serials;
        };
        const auto direct = sorted(TSortMethod::DirectComparison);
        EXPECT_EQ(sorted(TSortMethod::PrecomputedKeys), direct)
            << "ignoreCase " << ignoreCase << " skipping " << skipping;
        // And the result is in order.
        const TSortSettings settings(state);
        for (std::size_t i = 1; i < direct.size(); ++i) {
          TConcordItem a, b;
          for (int s : {0, 1, 2}) {
            const std::uint8_t slot = s == 0 ? pcSearchTerm : s == 1 ? pc1L : pc1R;
            a.Words[slot] = rows[static_cast<std::size_t>(direct[i - 1])][static_cast<std::size_t>(s)];
            b.Words[slot] = rows[static_cast<std::size_t>(direct[i])][static_cast<std::size_t>(s)];
          }
          a.Serial = direct[i - 1];
          b.Serial = direct[i];
          ASSERT_LE(CompareLines(a, b, levels, settings), 0) << "position " << i;
        }
      }
    }
  }
}

TEST(SortRedundancy, RepeatsOnlyWhatCanHaveChanged) {
  TAdvancedSortColOptions last;
  last.FirstKey = pc1R;
  last.SecondKey = pc1L;
  auto with = [&](auto change) {
    TAdvancedSortColOptions next = last;
    change(next);
    return next;
  };
  EXPECT_TRUE(SortIsRedundant(last, last, false));
  EXPECT_FALSE(SortIsRedundant(last, last, true)) << "a customised sequence always sorts";
  EXPECT_FALSE(SortIsRedundant(with([](auto& o) { o.ThirdReverse = true; }), last, false));
  EXPECT_FALSE(SortIsRedundant(with([](auto& o) { o.SecondKey = pc2L; }), last, false));

  last.FirstKey = pcDefined;
  EXPECT_FALSE(SortIsRedundant(last, last, false)) << "letters change between sorts";

  last.FirstKey = pcTrackedTag;
  last.TagName = "speaker";
  EXPECT_TRUE(SortIsRedundant(last, last, false));
  EXPECT_FALSE(SortIsRedundant(with([](auto& o) { o.TagName = "page"; }), last, false));

  const auto menu = MenuSortOptions(with([](auto& o) { o.ThirdKey = pc2R; o.FirstReverse = true; }),
                                    pc1R, pcUnsorted);
  EXPECT_EQ(menu.FirstKey, pc1R);
  EXPECT_EQ(menu.ThirdKey, pcUnsorted);
  EXPECT_FALSE(menu.FirstReverse);
}

}  // namespace
}  // namespace korvane
