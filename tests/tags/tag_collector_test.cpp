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

}  // namespace
}  // namespace korvane
