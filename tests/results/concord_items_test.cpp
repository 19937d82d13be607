// The hit list: adding and deleting hits, display lines with concealing and
// the fallback text, the hit text, tracked-tag values and the string view.
#include "results/concord_items.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "tags/tag_query.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class ConcordItemsTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  TConcordItems list{state};
  int serial = 0;

  void LoadText(const std::string& text) {
    const int n = state.corpus.Count();
    LoadTexts(state, {dir.WriteFile("t" + std::to_string(n) + ".txt", text)});
    ASSERT_EQ(state.corpus.Count(), n + 1);
  }

  // Adds a hit on [start, end) of text textIndex with the next serial.
  int AddHit(int textIndex, std::int32_t start, std::int32_t end) {
    auto item = std::make_unique<TConcordItem>();
    item->TextIndex = textIndex;
    item->HitStart = start;
    item->HitEnd = end;
    item->Serial = serial++;
    return list.Add(std::move(item));
  }

  void UseContext(std::uint8_t type, std::int32_t size) {
    TConcordDisplay display;
    display.ContextType = type;
    display.ContextSizes[type] = size;
    list.SetDisplay(display);
  }
};

TEST_F(ConcordItemsTest, DeletingKeepsTheOrderOfFinding) {
  LoadText("one two three four five");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AddHit(0, 4 * i, 4 * i + 3), i);
  list.Delete(1);
  list.Delete(2);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(0).Serial, 0);
  EXPECT_EQ(list.Item(1).Serial, 2);
  EXPECT_EQ(list.Item(2).Serial, 4);
  EXPECT_THROW(list.Delete(3), Exception);
  EXPECT_THROW(list.Item(-1), Exception);
  EXPECT_EQ(list.Count(), 3);
}

TEST_F(ConcordItemsTest, ConcealingReplacesTheSegmentsCharactersWithDashes) {
  const std::string text = "big red cat sat down";
  LoadText(text);
  AddHit(0, 8, 11);
  TConcordItem& item = list.Item(0);
  item.Words[pc1R] = "sat";
  item.WordStart[pc1R] = 12;
  item.WordEnd[pc1R] = 15;
  item.CollocateRanks[pc1R] = 0;
  list.CollocOn = true;
  list.CollocFirst = pc4L;
  list.CollocLast = pc4R;

  struct Case {
    bool hits;
    bool collocates;
    const char* line;
  } cases[] = {
      {false, false, "... big red cat sat down ..."},
      {true, false, "... big red --- sat down ..."},
      {false, true, "... big red cat --- down ..."},
      {true, true, "... big red --- --- down ..."},
  };
  for (const Case& c : cases) {
    TConcordDisplay display;
    display.ContextSizes[ctxCharacters] = 40;
    display.ConcealHits = c.hits;
    display.ConcealCollocates = c.collocates;
    list.SetDisplay(display);
    EXPECT_EQ(list.DisplayLine(0), c.line) << c.hits << c.collocates;
    ASSERT_EQ(item.Format.size(), 2u);
    EXPECT_EQ(item.Format[0].Hit, 1) << "the concealed hit keeps its segment";
    EXPECT_EQ(item.Format[0].Start, 13);
    EXPECT_EQ(item.Format[0].Length, 3);
  }
}

TEST_F(ConcordItemsTest, DisplayLineFollowsTheSuppressFlags) {
  const std::string text = "<p>the <b>cat</b> sat</p>";
  LoadText(text);
  AddHit(0, 10, 13);
  UseContext(ctxCharacters, 40);
  EXPECT_EQ(list.DisplayLine(0), "... <p>the <b>cat</b> sat</p> ...");
  list.SuppressTags = true;
  EXPECT_EQ(list.DisplayLine(0), "... the cat sat ...");
  list.SuppressTags = false;
  list.SuppressWords = true;
  EXPECT_EQ(list.DisplayLine(0), "... <p> <b></b> </p> ...");
  EXPECT_EQ(list.HitText(0), "... <p> <b></b> </p> ...") << "no hit segment: the whole line";
}

TEST_F(ConcordItemsTest, LineThatCannotBeBuiltShowsOutOfMemoryAndKeepsItsFormat) {
  LoadText("the cat sat");
  AddHit(0, 4, 7);
  UseContext(ctxWords, 1);
  EXPECT_EQ(list.DisplayLine(0), "... the cat sat ...");
  const TSVFormatArray format = list.Item(0).Format;
  list.Item(0).TextIndex = 5;  // its text is gone
  EXPECT_EQ(list.DisplayLine(0), kOutOfMemoryLine);
  EXPECT_EQ(list.Item(0).Format, format);
  EXPECT_EQ(list.HitText(0), kOutOfMemoryLine);
}

TEST_F(ConcordItemsTest, HitTextIsTheHitAsShown) {
  std::string longHit;
  for (int i = 0; i < 100; ++i) longHit += static_cast<char>('a' + i % 26);
  LoadText("a cat b " + longHit + " c");
  AddHit(0, 2, 5);
  AddHit(0, 8, 108);
  UseContext(ctxWords, 1);
  EXPECT_EQ(list.HitText(0), "cat");
  const std::string shortened = longHit.substr(0, 27) + " ... " + longHit.substr(72);
  ASSERT_EQ(shortened.size(), 60u);
  EXPECT_EQ(list.HitText(1), shortened);
  list.Display.ConcealHits = true;
  EXPECT_EQ(list.HitText(1), std::string(60, '-'));
}

// Tracked-tag values from a table: (text, position) -> value.
class FakeTags final : public TTagQuery {
 public:
  std::map<std::pair<int, std::int32_t>, std::string> values;
  mutable int askedTag = -1;

  std::int32_t LineNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t PageNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t RelativeLineAt(int, std::int32_t) const override { return -1; }
  int TrackedTagCount() const override { return 2; }
  std::string TrackedTagName(int) const override { return "speaker"; }
  std::optional<std::string> TagValueAt(int text, std::int32_t position,
                                        int tag) const override {
    askedTag = tag;
    const auto it = values.find({text, position});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

TEST_F(ConcordItemsTest, FillTagsStoresEachHitsValueAndClearTagsDropsThem) {
  LoadText("a b c d");
  AddHit(0, 0, 1);
  AddHit(0, 2, 3);
  AddHit(0, 4, 5);
  FakeTags tags;
  tags.values = {{{0, 0}, "<sp>Ann</sp>"}, {{0, 2}, ""}};

  list.FillTags(tags);
  EXPECT_EQ(tags.askedTag, -1) << "nothing is asked while TagIndex is -1";
  EXPECT_FALSE(list.Item(0).TagValue);

  list.TagIndex = 1;
  list.FillTags(tags);
  EXPECT_EQ(tags.askedTag, 1);
  EXPECT_EQ(list.Item(0).TagValue, "<sp>Ann</sp>");
  EXPECT_FALSE(list.Item(1).TagValue) << "an empty value is stored as none";
  EXPECT_FALSE(list.Item(2).TagValue);

  list.ClearTags();
  EXPECT_EQ(list.TagIndex, -1);
  EXPECT_FALSE(list.Item(0).TagValue);
}

TEST_F(ConcordItemsTest, StringViewShowsLinesAndRefusesClearAndInsert) {
  LoadText("the cat sat");
  AddHit(0, 4, 7);
  AddHit(0, 8, 11);
  UseContext(ctxCharacters, 0);
  TConcordStrings strings(list);
  EXPECT_EQ(strings.Count(), 2);
  EXPECT_EQ(strings.Get(1), "sat");

  const struct {
    std::function<void()> call;
    const char* message;
  } refusals[] = {
      {[&] { strings.Clear(); }, "\"Clear\" is unsupported method for TConcordStrings"},
      {[&] { strings.Insert(0, "x"); }, "\"Insert\" is unsupported method for TConcordStrings"},
  };
  for (const auto& r : refusals) {
    try {
      r.call();
      ADD_FAILURE() << r.message;
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), r.message);
    }
    EXPECT_EQ(list.Count(), 2);
  }

  strings.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(strings.Get(0), "sat");
}

}  // namespace
}  // namespace korvane
