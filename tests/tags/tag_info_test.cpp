// Lines, pages, relative lines and tracked-tag values of positions, and the
// location text built from them.
#include "tags/tag_info.h"

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/synchro_stream.h"
#include "tags/tag_collector.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class TagInfoTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedHost host;
  ProgramState state{host};
  TTagInfo info{state};

  void Load(const std::string& bytes) {
    const std::string path = dir.WriteFile("text.txt", bytes);
    TCorpusText text;
    text.CorpusFiles = path;
    text.CorpusStreams = std::make_unique<TFileSynchroStream>(path, TFileOpenMode::ReadShareWrite);
    state.corpus.Texts.push_back(std::move(text));
    std::int32_t words = 0;
    CollectTagInfo(state, path, {}, words);
  }
};

// Line 1: "a <sp>John</sp>", line 2: "b", line 3: "<pb>c", line 4: "<sp>Mary\r\nAnn</sp> d".
constexpr const char* kDialogue = "a <sp>John</sp>\r\nb\r\n<pb>c\r\n<sp>Mary\r\nAnn</sp> d";

TEST_F(TagInfoTest, AnswersLinesPagesAndTagValues) {
  state.ConcordConfig.PageSeparator = "<pb>";
  state.WatchedTags = {TWatchedTag::Make("speaker", "<sp>", "</sp>"), TWatchedTag::Make("", "<act>", "</act>")};
  Load(kDialogue);
  const std::int32_t d = static_cast<std::int32_t>(std::string_view(kDialogue).rfind('d'));
  struct Case { std::int32_t position; std::int32_t line, page, relative; std::optional<std::string> speaker; };
  for (const Case& c : {Case{0, 1, 1, 1, std::nullopt}, Case{17, 2, 1, 2, "<sp>John</sp>"},
                        Case{21, 3, 2, 1, "<sp>John</sp>"}, Case{d, 5, 2, 3, "<sp>Mary Ann</sp>"}}) {
    EXPECT_EQ(info.LineNumberAt(0, c.position), c.line) << c.position;
    EXPECT_EQ(info.PageNumberAt(0, c.position), c.page) << c.position;
    EXPECT_EQ(info.RelativeLineAt(0, c.position), c.relative) << c.position;
    EXPECT_EQ(info.TagValueAt(0, c.position, 0), c.speaker) << c.position;
    EXPECT_EQ(info.TagValueAt(0, c.position, 1), std::nullopt);
  }
  EXPECT_EQ(info.TrackedTagName(1), "<act>");

  ConcordConfig& config = state.ConcordConfig;
  config.ShowPages = config.ShowLines = config.RelativeLines = true;
  EXPECT_EQ(LocationText(config, info, 0, d), "Page 2, Line 3, <sp>Mary Ann</sp>");
  config.RelativeLines = false;
  EXPECT_EQ(LocationText(config, info, 0, d), "Line 5, Page 2, <sp>Mary Ann</sp>");
  config.ShowPages = false;
  EXPECT_EQ(LocationText(config, info, 0, 0), "Line 1");
  config.ShowLines = false;
  EXPECT_EQ(LocationText(config, info, 0, 0), "");
}

TEST_F(TagInfoTest, TextWithoutPagesOrTablesAnswersNone) {
  Load("one\r\ntwo");
  EXPECT_EQ(info.PageNumberAt(0, 5), -1);
  EXPECT_EQ(info.RelativeLineAt(0, 5), -1);
  EXPECT_EQ(info.LineNumberAt(1, 5), -1);  // no such text
  state.ConcordConfig.ShowPages = true;
  EXPECT_EQ(LocationText(state.ConcordConfig, info, 0, 5), "Page N/A");
}

TEST(TagValueTest, CutsAndNormalisesValues) {
  const TWatchedTag cocoa = TWatchedTag::Make("", "A", "");
  const TWatchedTag hashStop = TWatchedTag::Make("", "<sp#", "</sp#");
  EXPECT_EQ(TagValueFromBytes("<A Shake\tspeare> text", cocoa, '>'), "<A Shakespeare>");
  EXPECT_EQ(TagValueFromBytes("<A x\n\ry", cocoa, '>'), "<A x y");
  EXPECT_EQ(TagValueFromBytes("<sp Kim\r\n</sp\rmore", hashStop, '#'), "<sp Kim </sp ");
}

}  // namespace
}  // namespace korvane
