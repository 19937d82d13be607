// The hits distribution: slices cut by the line tables, the rules for very
// short scopes, hit placement at slice ends, per-text bars, labels, marks,
// header lines, the saved table and the preparation of missing line tables.
#include "tags/hits_distribution.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "results/concord_items.h"
#include "search/search_rec.h"
#include "tags/indexed_stream.h"
#include "temp_dir.h"

namespace korvane {
namespace {

// n lines "abc" joined by CR LF: line k (1-based) starts at 5(k - 1) and its
// CR stands at 5k - 2; the text is 5n - 2 bytes long.
std::string Lines(int n) {
  std::string text;
  for (int k = 0; k < n; ++k) text += k == 0 ? "abc" : "\r\nabc";
  return text;
}

class HitsDistributionTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedHost host;
  ProgramState state{host};
  TConcordItems list{state};

  void Load(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : files) paths.push_back(dir.WriteFile(name, bytes));
    LoadTexts(state, paths);
    ASSERT_EQ(state.corpus.Count(), static_cast<int>(files.size()));
  }

  void Hit(std::int32_t text, std::int32_t start) {
    auto item = std::make_unique<TConcordItem>();
    item->TextIndex = text;
    item->HitStart = start;
    item->HitEnd = start + 1;
    list.Add(std::move(item));
  }

  TDistribution Compute(std::int32_t scope, std::int32_t step) {
    return ComputeDistribution(state.corpus, list, scope, StepIndexOf(step));
  }

  static std::vector<std::int32_t> Field(const TDistribution& dist, std::int32_t TDistribItem::*field) {
    std::vector<std::int32_t> values;
    for (const TDistribItem& item : dist.Items) values.push_back(item.*field);
    return values;
  }
  static std::vector<std::int64_t> Ends(const TDistribution& dist) {
    std::vector<std::int64_t> values;
    for (const TDistribItem& item : dist.Items) values.push_back(item.EndPosition);
    return values;
  }
};

TEST_F(HitsDistributionTest, HundredLinesInTenPercentSlices) {
  Load({{"a.txt", Lines(100)}});
  // Line 10 ends at its CR (48): a hit there is in the first slice, the LF
  // behind it and the next line are in the second; the last byte in the last.
  for (std::int32_t at : {0, 48, 49, 50, 497}) Hit(0, at);
  const TDistribution dist = Compute(kScopeEntireCorpus, 10);
  EXPECT_EQ(Field(dist, &TDistribItem::Percent), (std::vector<std::int32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(Field(dist, &TDistribItem::Lines), (std::vector<std::int32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(Ends(dist), (std::vector<std::int64_t>{48, 98, 148, 198, 248, 298, 348, 398, 448, 498}));
  EXPECT_EQ(Field(dist, &TDistribItem::Hits), (std::vector<std::int32_t>{2, 2, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(dist.TotalHits, 5);
}

TEST_F(HitsDistributionTest, SliceEndingWithATextEndsWhereTheNextTextStarts) {
  Load({{"a.txt", Lines(5)}, {"b.txt", Lines(15)}});  // 23 and 73 bytes
  Hit(0, 22);  // last byte of the first text
  Hit(1, 0);   // first byte of the second text: position 23, the end of slice 1
  Hit(1, 1);
  Hit(1, 72);
  const TDistribution dist = Compute(kScopeEntireCorpus, 25);
  EXPECT_EQ(Field(dist, &TDistribItem::Lines), (std::vector<std::int32_t>{5, 10, 15, 20}));
  EXPECT_EQ(Ends(dist), (std::vector<std::int64_t>{23, 23 + 23, 23 + 48, 96}));
  EXPECT_EQ(Field(dist, &TDistribItem::Hits), (std::vector<std::int32_t>{2, 1, 0, 1}));
}

TEST_F(HitsDistributionTest, ShortScopesGetCoarserSlices) {
  struct Case {
    int lines;
    std::int32_t step;
    std::vector<std::int32_t> percents;
    std::vector<std::int32_t> lineBounds;
  };
  const Case cases[] = {
      {0, 5, {}, {}},
      {1, 5, {100}, {1}},
      {2, 5, {50, 100}, {1, 2}},
      {3, 2, {33, 66, 99}, {1, 2, 3}},
      {3, 50, {33, 66, 99}, {1, 2, 3}},
      {4, 5, {25, 50, 75, 100}, {1, 2, 3, 4}},
      {4, 50, {50, 100}, {2, 4}},
      {5, 50, {20, 40, 60, 80, 100}, {1, 2, 3, 4, 5}},
      {6, 50, {50, 100}, {3, 6}},
      // 10 ÷ 4 × 1 = 2.5 and 10 ÷ 4 × 3 = 7.5: halves go to the even neighbour.
      {10, 25, {25, 50, 75, 100}, {2, 5, 8, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lines << " lines, step " << c.step);
    UnloadCorpus(state);
    list.Clear();
    if (c.lines > 0) Load({{"t.txt", Lines(c.lines)}});
    Hit(0, 0);
    Hit(0, 5 * c.lines - 3);
    const TDistribution dist = Compute(kScopeEntireCorpus, c.step);
    EXPECT_EQ(Field(dist, &TDistribItem::Percent), c.percents);
    EXPECT_EQ(Field(dist, &TDistribItem::Lines), c.lineBounds);
    if (!c.percents.empty()) {
      EXPECT_EQ(dist.TotalHits, 2);
      EXPECT_EQ(dist.Items.back().EndPosition, 5 * c.lines - 2);
    }
  }
}

TEST_F(HitsDistributionTest, OneTextScopeCountsOnlyThatText) {
  Load({{"a.txt", Lines(10)}, {"b.txt", Lines(10)}});
  for (std::int32_t at : {0, 47}) Hit(0, at);
  for (std::int32_t at : {0, 5, 25, 47}) Hit(1, at);
  Hit(5, 0);  // a hit of a text that is gone
  const TDistribution one = Compute(kScopeFirstText + 1, 50);
  EXPECT_EQ(Ends(one), (std::vector<std::int64_t>{23, 48}));
  EXPECT_EQ(Field(one, &TDistribItem::Hits), (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(one.TotalHits, 4);
  const TDistribution all = Compute(kScopeEntireCorpus, 50);
  // The first slice ends with the first text, where the second begins.
  EXPECT_EQ(Field(all, &TDistribItem::Hits), (std::vector<std::int32_t>{3, 3}));
  EXPECT_THROW(Compute(kScopeFirstText + 2, 50), Exception);
}

TEST_F(HitsDistributionTest, FilesScopeListsEveryText) {
  Load({{"first.txt", Lines(2)}, {"a_rather_long_file_name_here.txt", Lines(3)}, {"third.txt", Lines(1)}});
  Hit(2, 0);
  Hit(0, 1);
  Hit(2, 1);
  const TDistribution dist = Compute(kScopeFiles, 5);
  EXPECT_EQ(Field(dist, &TDistribItem::Hits), (std::vector<std::int32_t>{1, 0, 2}));
  EXPECT_EQ(Field(dist, &TDistribItem::Lines), (std::vector<std::int32_t>{3, 6, 7}));
  EXPECT_EQ(BarLabels(dist, true), (std::vector<std::string>{"first.txt", "a_rather_long_file_name_here.txt", "third.txt"}));
  EXPECT_EQ(DistributionTableText(dist),
            "File name                  Hits\r\n"
            "-------------------------------\r\n"
            "first.txt                     1\r\n"
            "a_rather_long_file_name_here.txt      0\r\n"
            "third.txt                     2\r\n");
  EXPECT_EQ(DefaultScope(state.corpus), kScopeFiles);
  EXPECT_EQ(ScopeNames(state.corpus),
            (std::vector<std::string>{"Entire corpus", "Files", "first.txt", "a_rather_long_file_name_here.txt",
                                      "third.txt"}));
}

TEST_F(HitsDistributionTest, SavedSliceTableAndFailedSave) {
  Load({{"a.txt", Lines(100)}});
  for (int k = 0; k < 12; ++k) Hit(0, 25 * k);  // ten up to 248, two after
  const TDistribution dist = Compute(kScopeEntireCorpus, 50);
  const std::string path = (dir.path() / "dist.txt").string();
  SaveDistribution(path, dist);
  EXPECT_EQ(dir.ReadFile("dist.txt"),
            "  %     Line    Hits\r\n"
            "--------------------\r\n"
            " 50      50     10\r\n"
            "100     100      2\r\n");
  const std::string bad = (dir.path() / "missing" / "dist.txt").string();
  try {
    SaveDistribution(bad, dist);
    ADD_FAILURE() << "saving into a missing folder succeeded";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), UnableToOpenFileMessage(bad));
  }
}

TEST_F(HitsDistributionTest, LabelsMarksAndTitles) {
  Load({{"a.txt", Lines(100)}});
  const TDistribution dist = Compute(kScopeEntireCorpus, 25);
  EXPECT_EQ(BarLabels(dist, true), (std::vector<std::string>{"0 - 25", "25 - 50", "50 - 75", "75 - 100"}));
  EXPECT_EQ(BarLabels(dist, false), (std::vector<std::string>{"1 - 25", "26 - 50", "51 - 75", "76 - 100"}));
  struct Mark { std::int32_t hits, total; const char* text; };
  for (const Mark& m : {Mark{1, 3, "1 (33.33%)"}, Mark{2, 3, "2 (66.67%)"}, Mark{0, 5, "0 (0.00%)"},
                        Mark{7, 7, "7 (100.00%)"}, Mark{0, 0, "0 (0%)"}})
    EXPECT_EQ(BarMark(m.hits, m.total), m.text);
  EXPECT_EQ(LeftAxisTitle(kScopeFiles, true), "Files");
  EXPECT_EQ(LeftAxisTitle(kScopeEntireCorpus, true), "Percent");
  EXPECT_EQ(LeftAxisTitle(kScopeFirstText, false), "Lines");
  EXPECT_EQ(DistribTextName("/data/corpus/b.txt"), "b.txt");
  EXPECT_EQ(DistribTextName("http://example.org/texts/b.txt"), "http://example.org/texts/b.txt");
  EXPECT_EQ(DefaultScope(state.corpus), kScopeEntireCorpus);
  EXPECT_EQ(StepCaption(6), "50%");
  EXPECT_EQ(StepIndexOf(33), 5);
  EXPECT_EQ(StepIndexOf(30), -1);
}

TEST_F(HitsDistributionTest, HeaderShowsTheRequestsSettings) {
  EXPECT_EQ(DistributionCaption("dog*"), "Hits Distribution for: dog*");
  TSearchRec plain;
  plain.FrequencyOfHits = 3;
  using Lines = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(DistributionHeader("dog*", 12, plain),
            (Lines{{"Search pattern:", "dog*"}, {"Hits:", "12"}, {"Search:", "Text"}, {"Ignore case:", "ON"},
                   {"Freq. of hits:", "3"}, {"Sent. mode:", "OFF"}}));
  TSearchRec full;
  full.Mode = smRegex;
  full.Flags = sfCaseSensitive | sfSentenceMode | sfSkipEqual | sfHeadingSearch | sfContextSearch;
  full.SkippingChars = "-";
  full.EqualChars = "aA";
  full.HeadStart = "<h>";
  full.HeadStop = "</h>";
  full.HeadingPattern = "intro";
  full.TextStart = "<t>";
  full.TextStop = "</t>";
  full.LeftContext = "<s>";
  full.RightContext = "</s>";
  EXPECT_EQ(DistributionHeader("d.g", 0, full),
            (Lines{{"Search pattern:", "d.g"}, {"Hits:", "0"}, {"Search:", "Regex"}, {"Ignore case:", "OFF"},
                   {"Freq. of hits:", "1"}, {"Sent. mode:", "ON"}, {"Skipping characters:", "-"},
                   {"Equal characters:", "aA"}, {"Heading start:", "<h>"}, {"Heading stop:", "</h>"},
                   {"Heading match:", "intro"}, {"Text start:", "<t>"}, {"Text stop:", "</t>"},
                   {"Left context:", "<s>"}, {"Right context:", "</s>"}}));
}

TEST_F(HitsDistributionTest, PrepareCollectsMissingLineTablesOnly) {
  Load({{"a.txt", Lines(3)}, {"b.txt", "one two\r\nthree"}});
  EXPECT_TRUE(PrepareLineTables(state));  // nothing missing: nothing read
  TCorpusText& b = state.corpus.Texts[1];
  b.LineTables.Release();
  b.PageTables.Release();
  b.WordCount = 0;
  state.corpus.CorpusWordTable.reset();
  state.corpus.CountWordsWhileLoading = true;
  state.CancelAllTagCollection = true;  // left over from an earlier batch
  const int infoChanges = host.corpusInfoChanges;
  EXPECT_TRUE(PrepareLineTables(state));
  ASSERT_TRUE(b.LineTables.Index);
  EXPECT_EQ(b.LineTables.Index->RecordCount(), 2);
  EXPECT_FALSE(b.PageTables.Index);
  EXPECT_EQ(b.WordCount, 3);
  EXPECT_EQ(state.corpus.TotalWords, state.corpus.Texts[0].WordCount + 3);
  EXPECT_FALSE(state.corpus.CorpusWordTable);  // one text's words are not the corpus's
  EXPECT_TRUE(state.corpus.CountWordsWhileLoading);
  EXPECT_GT(host.corpusInfoChanges, infoChanges);

  b.LineTables.Release();
  host.cancelAfterProcessMessages = host.processMessagesCalls + 1;
  EXPECT_FALSE(PrepareLineTables(state));
  EXPECT_FALSE(b.LineTables.Index);
  EXPECT_TRUE(host.messages.empty());  // a cancel is silent
}

}  // namespace
}  // namespace korvane
