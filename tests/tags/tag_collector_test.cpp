// The tag-information collection: line, page and tracked-tag tables, tags
// and delimiters across block boundaries, word counting, and cancelling.
#include "tags/tag_collector.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "tags/indexed_stream.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class TagCollectorTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedHost host;
  ProgramState state{host};

  TCorpusText& AddText(const std::string& bytes) {
    const std::string path = dir.WriteFile("text" + std::to_string(state.corpus.Count()) + ".txt", bytes);
    TCorpusText text;
    text.CorpusFiles = path;
    text.CorpusStreams = std::make_unique<TFileSynchroStream>(path, TFileOpenMode::ReadShareWrite);
    state.corpus.Texts.push_back(std::move(text));
    return state.corpus.Texts.back();
  }

  std::int32_t Collect(TCorpusText& text) {
    std::int32_t words = 0;
    CollectTagInfo(state, text.CorpusFiles, {}, words);
    return words;
  }

  static std::vector<std::int32_t> Values(const TIndexSlot& slot, std::int32_t column = 0) {
    std::vector<std::int32_t> values;
    for (std::int32_t i = 0; i < slot.Index->RecordCount(); ++i) values.push_back(slot.Index->ValueAt(i, column));
    return values;
  }

  // A text of filler bytes with snippets written at the given positions.
  static std::string Text(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string>> snippets) {
    std::string text(size, 'x');
    for (const auto& [at, snippet] : snippets) text.replace(at, snippet.size(), snippet);
    return text;
  }
};

TEST_F(TagCollectorTest, LineTablesRecordLineBreaks) {
  struct Case { const char* text; std::vector<std::int32_t> table; };
  for (const Case& c : {Case{"ab\r\ncd\r\nef", {0, 2, 6}}, Case{"ab\ncd\nef", {0, 2, 5}}, Case{"", {0}}}) {
    TCorpusText& text = AddText(c.text);
    Collect(text);
    ASSERT_TRUE(text.LineTables.Index);
    EXPECT_EQ(Values(text.LineTables), c.table) << c.text;
  }
  const TIndexedStream& lines = *state.corpus.Texts[0].LineTables.Index;
  EXPECT_EQ(lines.FindLast(0) + 1, 1);
  EXPECT_EQ(lines.FindLast(4) + 1, 2);
  EXPECT_EQ(lines.FindLast(9) + 1, 3);
  EXPECT_TRUE(state.corpus.Texts[0].PageTables.IsMissing() || !state.corpus.Texts[0].PageTables.Index);
}

TEST_F(TagCollectorTest, PagesAndTrackedTagsAcrossBlockBoundaries) {
  state.ConcordConfig.PageSeparator = "<pb>";
  state.WatchedTags = {TWatchedTag::Make("A", "<a>", "</a>"), TWatchedTag::Make("B", "<b>", "</b>"),
                       TWatchedTag::Make("ref", "H", "")};
  TCorpusText& text = AddText(Text(140000, {{10, "<a n=1>"}, {30, "<b>"}, {50, "<a>"}, {100, "<pb>"},
                                            {900, "<pb>"}, {65534, "<pb>"}, {130555, "<H Hamlet>"},
                                            {131000, "<Hx y>"}}));
  Collect(text);
  EXPECT_EQ(Values(text.PageTables), (std::vector<std::int32_t>{0, 100, 900, 65534}));
  ASSERT_TRUE(text.WatchedTagTables.Index);
  EXPECT_EQ(Values(text.WatchedTagTables, 0), (std::vector<std::int32_t>{10, 50, 50}));
  EXPECT_EQ(Values(text.WatchedTagTables, 1), (std::vector<std::int32_t>{30, 30, 30}));
  EXPECT_EQ(Values(text.WatchedTagTables, 2), (std::vector<std::int32_t>{-1, -1, 130555}));
  const TIndexedStream& pages = *text.PageTables.Index;
  EXPECT_EQ(pages.FindLast(50) + 1, 1);
  EXPECT_EQ(pages.FindLast(100) + 1, 2);
  EXPECT_EQ(pages.FindLast(1000) + 1, 3);
  EXPECT_EQ(text.WatchedTagTables.Index->FindLastInColumn(5, 0), -1);
}

TEST_F(TagCollectorTest, CountsWordsAndFillsTheCorpusWordTable) {
  state.corpus.CountWordsWhileLoading = true;
  TCorpusText& text = AddText("The cat <tag here> saw the\r\ndog");
  EXPECT_EQ(Collect(text), 5);
  ASSERT_TRUE(state.corpus.CorpusWordTable);
  EXPECT_EQ(state.corpus.CorpusWordTable->CountOf("the"), 2);
  EXPECT_EQ(state.corpus.CorpusWordTable->CountOf("dog"), 1);
  EXPECT_EQ(state.corpus.CorpusWordTable->CountOf("here"), 0);

  const std::string firstTable = text.LineTables.Name;
  std::int32_t known = 7;  // a known count is kept and adds nothing
  CollectTagInfo(state, text.CorpusFiles, {}, known);
  EXPECT_EQ(known, 7);
  EXPECT_EQ(state.corpus.CorpusWordTable->CountOf("the"), 2);
  // The table built again replaces the first one and its file.
  EXPECT_NE(text.LineTables.Name, firstTable);
  EXPECT_FALSE(std::filesystem::exists(firstTable));
}

TEST_F(TagCollectorTest, CancelRemovesHalfBuiltTables) {
  state.ConcordConfig.PageSeparator = "<pb>";
  TCorpusText& text = AddText(Text(200000, {{70000, "<pb>"}}));
  host.cancelAfterProcessMessages = 2;
  std::int32_t words = 0;
  EXPECT_THROW(CollectTagInfo(state, text.CorpusFiles, {}, words), EAbort);
  EXPECT_TRUE(state.CancelAllTagCollection);  // plain Cancel ends the batch when Cancel All is not offered
  for (const TIndexSlot* slot : {&text.LineTables, &text.PageTables}) {
    EXPECT_TRUE(slot->IsMissing());
    EXPECT_FALSE(slot->Index);
  }
  // Later collections of the batch do nothing.
  host.cancelAfterProcessMessages = -1;
  CollectTagInfo(state, text.CorpusFiles, {}, words);
  EXPECT_FALSE(text.LineTables.Index);
  EXPECT_TRUE(CollectAllTagInfo(state));
  EXPECT_TRUE(text.LineTables.Index);
}


TEST_F(TagCollectorTest, CancellingOneTextWhileLoadingDropsTheCorpusWordTable) {
  state.corpus.CountWordsWhileLoading = true;
  const std::vector<std::string> paths = {dir.WriteFile("a.txt", "alpha beta"),
                                          dir.WriteFile("b.txt", Text(200000, {{0, "gamma "}})),
                                          dir.WriteFile("c.txt", "delta epsilon")};
  // Loading lets messages run once per added text (calls 1-3), the
  // collection once per block: a.txt (4), then b.txt's first two blocks (5, 6).
  host.cancelAfterProcessMessages = 6;
  host.cancelTag = 1;  // Cancel, not Cancel All: only b.txt is given up
  LoadTexts(state, paths);
  ASSERT_EQ(state.corpus.Count(), 3);
  const TCorpusText& a = state.corpus.Texts[0];
  const TCorpusText& b = state.corpus.Texts[1];
  const TCorpusText& c = state.corpus.Texts[2];
  EXPECT_FALSE(b.LineTables.Index);
  EXPECT_EQ(b.WordCount, 0);
  for (const TCorpusText* done : {&a, &c}) {
    EXPECT_TRUE(done->LineTables.Index) << done->CorpusFiles;
    EXPECT_EQ(done->WordCount, 2) << done->CorpusFiles;
  }
  // A table without b.txt's words would be wrong, and c.txt does not start
  // a new one.
  EXPECT_FALSE(state.corpus.CorpusWordTable);
  EXPECT_TRUE(state.corpus.CountWordsWhileLoading);
  EXPECT_EQ(state.corpus.TotalWords, 0);
  EXPECT_TRUE(host.messages.empty());
}

// The word count of the collection, one character at a time as the state
// machine is defined: tags (and part-of-speech tags) skipped up to their
// stop, a word a run of characters that are neither delimiters nor starts.
std::int32_t ReferenceWordCount(const std::string& text, const ProgramState& state) {
  const ConcordConfig& config = state.ConcordConfig;
  CharSet separators = config.DelimiterSet();
  if (config.WordTag != 2) separators.reset(static_cast<unsigned char>(config.wTagDelimiter));
  const bool skipTags = state.FreqSettings.SkipTags;
  const bool posTags = skipTags && config.WordTag == 2;
  const auto stops = [](char stop, char c) { return stop == '#' ? c == ' ' || c == '\r' || c == '\n' : c == stop; };
  enum { Separator, Word, Tag, PosTag } mode = Separator;
  std::int32_t words = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (mode == Tag || mode == PosTag) {
      if (stops(mode == Tag ? config.TagStop : config.wTagStop, c)) mode = Separator;
      continue;
    }
    bool posStart = false;
    for (const std::string& start : config.wTagStarts)
      posStart = posStart || (posTags && !start.empty() && text.compare(i, start.size(), start) == 0);
    if (posStart) mode = PosTag;
    else if (skipTags && c == config.TagStart) mode = Tag;
    else if (separators.test(static_cast<unsigned char>(c))) mode = Separator;
    else if (mode != Word) ++words, mode = Word;
  }
  return words;
}

TEST_F(TagCollectorTest, WordCountsAgreeWithTheStateMachineOnRandomTexts) {
  const char* const pieces[] = {"the", "dog", "\xC4rger", "cat's", "x", "<b>", "</b>", "<w NN1>", "dog_NN1",
                                "[NN1]", "<pb n=2>", "a<b>c", "#", "_", " ", "  ", "\r\n", "\n", "\t", ".",
                                "<", "> ", "<w ", "[", "]"};
  struct Setting { bool skipTags; std::uint8_t wordTag; char tagStop; char wTagStop; };
  const Setting settings[] = {{true, 0, '>', '>'}, {false, 0, '>', '>'}, {true, 2, '>', ']'},
                              {true, 2, '#', '#'}, {true, 1, '#', ' '}, {false, 2, '>', '#'}};
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (const Setting& setting : settings) {
    state.FreqSettings.SkipTags = setting.skipTags;
    state.ConcordConfig.WordTag = setting.wordTag;
    state.ConcordConfig.TagStop = setting.tagStop;
    state.ConcordConfig.wTagStop = setting.wTagStop;
    state.ConcordConfig.wTagStarts = {"<w ", "["};
    for (int round = 0; round < 4; ++round) {
      std::string text;
      // Long enough to cross block boundaries.
      while (text.size() < 150000) text += pieces[next() % std::size(pieces)];
      TCorpusText& added = AddText(text);
      EXPECT_EQ(Collect(added), ReferenceWordCount(text, state))
          << "skip " << setting.skipTags << " word tags " << int(setting.wordTag) << " round " << round;
    }
  }
}

}  // namespace
}  // namespace korvane
