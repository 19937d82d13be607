// Corpus comparison: reading reference files (total in the title or
// computed after the question, merging by case, refusals), the rows with
// their percentages and log-likelihood, three-level sorting and the saved
// table.
#include "frequency/corpus_comparison.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class ComparisonTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;

  std::string File(const std::string& text) { return dir.WriteFile("ref.txt", text); }
  const TComparisonRow* Row(const std::vector<TComparisonRow>& rows, const std::string& word) {
    for (const auto& r : rows)
      if (r.Word == word) return &r;
    return nullptr;
  }
};

TEST_F(ComparisonTest, LogLikelihoodAndPercentages) {
  // x: 10 of 1000 current words, absent from 1000 reference words.
  const std::vector<TWordListRow> rows = {{10, 1.0f, "x"}, {990, 99.0f, "y"}};
  const std::string path = File("Corpus Frequency List (1000 words)\r\n\r\n500\t50.0000%\tz\r\n500\t50%\ty\r\n");
  const TCorpusComparison c = CompareWithReference(state, rows, 1000, path);
  ASSERT_EQ(c.Rows.size(), 3u);
  EXPECT_EQ(c.Rows[0].Word, "z");  // reference words in file order, then current-only words
  EXPECT_EQ(c.Rows[2].Word, "x");
  const TComparisonRow& x = c.Rows[2];
  EXPECT_EQ(x.CurrentCount, 10);
  EXPECT_EQ(x.ReferenceCount, 0);
  EXPECT_FLOAT_EQ(x.CurrentPct, 1.0f);
  EXPECT_FLOAT_EQ(x.ReferencePct, 0.0f);
  EXPECT_NEAR(static_cast<double>(x.LL), 13.8629, 1e-4);
  std::ostringstream out;
  WriteComparisonFile(out, {x}, TComparisonColumns{});
  EXPECT_EQ(out.str(),
            "Current Count\tCurrent Pct\tCurrent Word\tReference Count\tReference Pct\tPct Change\tLL\r\n"
            "10\t1.0000%\tx\t0\t0.0000%\t1.0000%\t13.8629\r\n");

  const std::vector<TComparisonRow> same =
      CompareWithReference(state, {{50, 5.0f, "w"}, {950, 95.0f, "v"}}, 1000,
                           File("Alphabetical Word List (2000 words)\r\n\r\n100 5.0% w\r\n")).Rows;
  EXPECT_NEAR(static_cast<double>(Row(same, "w")->LL), 0.0, 1e-12);
}

TEST_F(ComparisonTest, ReferenceTotalsAndMerging) {
  const std::string batch =
      "Batch Frequency Data - Frequency Order\r\n"
      "--------------------------------------\r\n"
      "         4: 40.0000% the\r\n"
      "         3: 30.0000% The\r\n"
      "\r\n"
      "         3: 30.0000% cat\n";
  host.answers.push_back(TModalResult::mrYes);
  TReferenceList list = ReadReferenceFile(state, File(batch), 4);
  EXPECT_EQ(host.messages.back().text, "Missing word count.\r\nDo you want to calculata it?");
  EXPECT_EQ(list.Total, 10);
  ASSERT_EQ(list.Table->EntryCount(), 2);
  EXPECT_EQ(list.Table->WordAt(0), "the");
  EXPECT_EQ(list.Table->CountAt(0), 7);

  host.answers.push_back(TModalResult::mrNo);
  EXPECT_THROW(ReadReferenceFile(state, File(batch), 4), EAbort);

  list = ReadReferenceFile(state, File("Corpus Frequency List (123 words)\n\n1 a\n"), 4);
  EXPECT_EQ(list.Total, 123);
}

TEST_F(ComparisonTest, RefusedReferenceFilesAndFailedComputations) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"Some other file\r\n\r\n1 a\r\n", "Invalid frequency file!"},
      {"", "Invalid frequency file!"},
      {"Corpus Frequency List (many words)\r\n\r\n1 a\r\n", "Invalid frequency file!"},
      {"Corpus Frequency List (5 words)\r\n\r\ncat\r\n", "does not start with a count"},
  };
  for (const auto& c : cases) {
    try {
      ReadReferenceFile(state, File(c.text), 4);
      ADD_FAILURE() << c.text;
    } catch (const EAbort&) {
      ADD_FAILURE() << "silent for " << c.text;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
  const std::string good = File("Corpus Frequency List (5 words)\r\n\r\n5 a\r\n");
  EXPECT_THROW(CompareWithReference(state, {{1, 0.0f, "a"}}, 0, good), EComparisonFailed);
  EXPECT_THROW(CompareWithReference(state, {}, 5, File("Corpus Frequency List (0 words)\r\n\r\n")),
               EComparisonFailed);
}

TEST_F(ComparisonTest, SortsOnThreeLevels) {
  std::vector<TComparisonRow> rows(4);
  const char* words[] = {"pear", "apple", "fig", "kiwi"};
  const long double ll[] = {2, 5, 2, 2};
  const int counts[] = {1, 2, 3, 1};
  for (int i = 0; i < 4; ++i) {
    rows[i].Word = words[i];
    rows[i].LL = ll[i];
    rows[i].CurrentCount = counts[i];
  }
  TComparisonSort sort;
  ASSERT_TRUE(ParseComparisonSort("LL desc,Current Word", sort));
  SortComparisonRows(rows, sort, state.Language);
  std::vector<std::string> order;
  for (const auto& r : rows) order.push_back(r.Word);
  EXPECT_EQ(order, (std::vector<std::string>{"apple", "fig", "kiwi", "pear"}));

  ASSERT_TRUE(ParseComparisonSort("current count, Current Word desc", sort));
  SortComparisonRows(rows, sort, state.Language);
  order.clear();
  for (const auto& r : rows) order.push_back(r.Word);
  EXPECT_EQ(order, (std::vector<std::string>{"pear", "kiwi", "apple", "fig"}));

  for (const char* bad : {"Colour", "LL,LL,LL,LL"}) EXPECT_FALSE(ParseComparisonSort(bad, sort)) << bad;
}

TEST_F(ComparisonTest, SavedTableWithChosenColumns) {
  TComparisonRow row{3, 0.5f, "cat", 1, 0.25f, 1.5L};
  TComparisonColumns columns;
  for (int c : {0, 3, 4}) columns.Show[c] = false;
  std::ostringstream out;
  WriteComparisonFile(out, {row}, columns);
  EXPECT_EQ(out.str(), "Current Pct\tCurrent Word\tPct Change\tLL\r\n0.5000%\tcat\t0.2500%\t1.5000\r\n");
}

}  // namespace
}  // namespace korvane
