// The batch search: splitting pattern lists, the batch options of the
// configuration file, and runs to a file, unsorted (written hit by hit) and
// sorted (written at the end), replacing or appending.
#include "search/batch_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "search/search.h"
#include "tags/tag_query.h"
#include "temp_dir.h"

namespace korvane {
namespace {

TEST(SplitBatchPatterns, SplitsTextLinesAtCommasAndKeepsOffsets) {
  std::vector<std::string> lines = {"cat, dog", "  bird  ", "", ",fish,, eel ,"};
  const TBatchPatterns split = SplitBatchPatterns(lines, smText);
  EXPECT_EQ(split.Patterns, (std::vector<std::string>{"cat", "dog", "bird", "fish", "eel"}));
  EXPECT_EQ(split.Offsets, (std::vector<std::int32_t>{0, 5, 10, 19, 26}));
  EXPECT_EQ(lines, (std::vector<std::string>{"cat, dog", "bird", "", ",fish,, eel ,"}));

  std::vector<std::string> tagLines = {"_NN,_VB"};
  EXPECT_EQ(SplitBatchPatterns(tagLines, smTag).Patterns, (std::vector<std::string>{"_NN", "_VB"}));
}

TEST(SplitBatchPatterns, RegularExpressionsAreWholeLines) {
  std::vector<std::string> lines = {"a{1,2}b", "", " c+ "};
  const TBatchPatterns split = SplitBatchPatterns(lines, smRegex);
  EXPECT_EQ(split.Patterns, (std::vector<std::string>{"a{1,2}b", "c+"}));
  EXPECT_EQ(split.Offsets, (std::vector<std::int32_t>{0, 11}));
}

TEST(BatchOptions, ConvertsOlderSortNumbers) {
  struct Case {
    const char* stored;
    std::uint8_t code;
  };
  const Case cases[] = {
      {"0", 0},    {"1", 2},     {"6", 7},      {"7", 9},          {"10", 12},
      {"11", 10},  {"-1", 10},   {"1R", pc1R},  {"Defined", pcDefined}, {"abc", 10},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadBatchSortKey(c.stored), c.code) << c.stored;
}

TEST(BatchOptions, ReadsCorrectionsAndRoundTrips) {
  IniFile ini("unused.ini");
  ini.WriteInteger("BatchSearchConfiguration", "BatchContextType", 5);
  ini.WriteBool("BatchSearchConfiguration", "SuppressTags", true);
  ini.WriteBool("BatchSearchConfiguration", "SuppressPartOfSpeech", true);
  ini.WriteBool("BatchSearchConfiguration", "SuppressWords", true);
  ini.WriteString("BatchSearchConfiguration", "First sort", "3");
  ini.WriteString("BatchSearchConfiguration", "AdvCollocationText", "1r, 0");
  ConcordConfig config;
  ReadBatchOptions(ini, config);
  EXPECT_EQ(config.BatchContextType, 0);
  EXPECT_TRUE(config.BatchSuppressTags && config.BatchSuppressWordTags);
  EXPECT_FALSE(config.BatchSuppressWords) << "words cannot be left out with the other two";
  EXPECT_EQ(config.BatchSortOptions.FirstKey, 4);
  EXPECT_EQ(config.BatchSortOptions.CustomText, "") << "the text counts only with AdvCollocation";

  config.BatchContextType = 2;
  config.BatchContextSizes[2] = 7;
  config.BatchSortOptions.SecondKey = pcTrackedTag;
  config.BatchSortOptions.SecondReverse = true;
  config.BatchSortOptions.CustomText = "1r, 0";
  config.BatchSortOptions.TagName = "speaker";
  IniFile saved("unused.ini");
  WriteBatchOptions(saved, config);
  EXPECT_EQ(saved.ReadString("BatchSearchConfiguration", "Second sort", ""), "Tracked tag");
  ConcordConfig read;
  ReadBatchOptions(saved, read);
  EXPECT_EQ(read.BatchContextType, 2);
  EXPECT_EQ(read.BatchContextSizes[2], 7);
  EXPECT_EQ(read.BatchSortOptions.FirstKey, 4);
  EXPECT_EQ(read.BatchSortOptions.SecondKey, pcTrackedTag);
  EXPECT_TRUE(read.BatchSortOptions.SecondReverse);
  EXPECT_EQ(read.BatchSortOptions.CustomText, "1r, 0");
  EXPECT_EQ(read.BatchSortOptions.TagName, "speaker");
}

class BatchRunTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  TNoTagInfo noTags;
  std::string outPath = (dir.path() / "out.txt").string();

  BatchRunTest() {
    LoadTexts(state, {dir.WriteFile("t.txt", "the dog saw a cat. a bird saw the dog and a cat.")});
  }

  std::vector<std::string> names;

  std::unique_ptr<TSearch> Prepared(std::vector<std::string> lines) {
    const TBatchPatterns split = SplitBatchPatterns(lines, smText);
    names = split.Patterns;
    TSearchRec request;
    request.Patterns = request.PatternNames = split.Patterns;
    auto search = std::make_unique<TSearch>(state);
    std::string message;
    EXPECT_EQ(search->Prepare(request, message), esNone) << message;
    return search;
  }

  // Runs the batch, noting the file's size after each hit is handed over.
  std::vector<std::uintmax_t> Run(const TBatchOutput& output, std::vector<std::string> lines) {
    auto search = Prepared(std::move(lines));
    TBatchSearch batch(state, noTags, output);
    std::vector<std::uintmax_t> sizes;
    batch.Start(names);
    search->Execute(std::numeric_limits<std::int32_t>::max(),
                    [&](std::unique_ptr<TConcordItem> item) {
                      batch.AddHit(std::move(item));
                      sizes.push_back(std::filesystem::file_size(outPath));
                    });
    batch.Finish();
    return sizes;
  }

  std::string Output() const { return dir.ReadFile("out.txt"); }

  // The hit texts marked in a text output, in file order.
  std::vector<std::string> MarkedHits() const {
    std::vector<std::string> hits;
    const std::string text = Output();
    for (std::size_t at = text.find("[["); at != std::string::npos; at = text.find("[[", at + 2))
      hits.push_back(text.substr(at + 2, text.find("]]", at) - at - 2));
    return hits;
  }
};

TEST_F(BatchRunTest, UnsortedRunWritesEveryPatternsHitsWhileScanning) {
  TBatchOutput output;
  output.Path = outPath;
  const auto sizes = Run(output, {"cat, dog", "bird"});
  ASSERT_EQ(sizes.size(), 5u);
  for (std::size_t i = 1; i < sizes.size(); ++i) EXPECT_GT(sizes[i], sizes[i - 1]);
  EXPECT_GT(sizes[0], 0u);
  EXPECT_EQ(MarkedHits(), (std::vector<std::string>{"cat", "cat", "dog", "dog", "bird"}));
  EXPECT_EQ(host.statusTexts.back(), " Batch search matches: 5");
}

TEST_F(BatchRunTest, SortedRunWritesOnlyAtTheEndInSortedOrder) {
  state.ConcordConfig.BatchSortOptions.FirstKey = pcSearchTerm;
  state.ConcordConfig.BatchSortOptions.SecondKey = pcOriginalOrder;
  TBatchOutput output;
  output.Path = outPath;
  const auto sizes = Run(output, {"dog, cat", "bird"});
  EXPECT_EQ(sizes, std::vector<std::uintmax_t>(5, 0));
  EXPECT_EQ(MarkedHits(), (std::vector<std::string>{"bird", "cat", "cat", "dog", "dog"}));
  EXPECT_NE(std::find(host.statusTexts.begin(), host.statusTexts.end(),
                      " Sorting batch matches... (Press Escape to stop)"),
            host.statusTexts.end());
  EXPECT_EQ(host.statusTexts.back(), " Saving batch matches...");
}

TEST_F(BatchRunTest, IgnoresTheHitLimitButKeepsTheFrequencyOfHits) {
  state.ConcordConfig.MaximumHits = 1;
  state.ConcordConfig.FrequencyOfHits = 2;
  TBatchOutput output;
  output.Path = outPath;
  auto search = Prepared({"cat, dog"});
  TBatchSearch batch(state, noTags, output);
  batch.Run(*search, names);
  EXPECT_EQ(batch.MatchCount(), 2);
  EXPECT_EQ(MarkedHits().size(), 2u);
}

TEST_F(BatchRunTest, AppendsOrReplacesAndWritesHtmlHeadAndTail) {
  dir.WriteFile("out.txt", "earlier results\r\n");
  TBatchOutput output;
  output.Path = outPath;
  output.Append = true;
  output.Options.Html = true;
  Run(output, {"bird, dog"});
  std::string text = Output();
  EXPECT_EQ(text.rfind("earlier results\r\n", 0), 0u);
  EXPECT_NE(text.find("Search Result for 'bird, dog'"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - std::string(kHtmlTail).size()), kHtmlTail);

  output.Append = false;
  output.Options.Html = false;
  Run(output, {"bird"});
  EXPECT_EQ(Output().find("earlier results"), std::string::npos);
  EXPECT_EQ(MarkedHits(), std::vector<std::string>{"bird"});
}

TEST_F(BatchRunTest, AFileThatCannotBeOpenedIsRefused) {
  TBatchOutput output;
  output.Path = (dir.path() / "missing" / "out.txt").string();
  try {
    TBatchSearch batch(state, noTags, output);
    FAIL() << "opened";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to open file: " + output.Path + ".");
  }
}

}  // namespace
}  // namespace korvane
