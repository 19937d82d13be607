// The tag and part-of-speech settings: their sections in the configuration
// file, the re-wrapping of tag texts, the editor checks, and what a change
// releases.
#include <gtest/gtest.h>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "temp_dir.h"
#include "tags/tag_settings.h"
#include "tags/word_tag_settings.h"

namespace korvane {
namespace {

class TagSettingsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedHost host;
  ProgramState state{host};

  IniFile Ini(const std::string& text) { return IniFile::Load(dir.WriteFile("KORVANE.INI", text)); }
};

TEST_F(TagSettingsTest, ReadsTagSectionsWithTrimmingAndDefaults) {
  ReadConfiguration(state, Ini("[Tag Settings]\r\nTagStart=  [ \r\nTagStop=\r\nPageSeparator=  [pb] \r\n"
                               "ShowLines=1\r\nRelativeLines=1\r\nWatchedNamesCount=3\r\n"
                               "WatchedNames0=speaker\r\nWatchedNames1=\r\nWatchedNames2=act\r\n"
                               "[Watched.speaker]\r\nTagStart=[speaker]\r\nTagStop=[/speaker]\r\n"
                               "[Watched.act]\r\nTagStart=A\r\n"
                               "[Word Tag Settings]\r\nWordTag=1\r\nwTagDelimiter= \r\nwTagStop= # \r\n"
                               "wTagStartsCount=2\r\nwTagStarts0=<w\r\nwTagStarts1=[\r\n"
                               "MetaTagNamesCount=3\r\nMetaTagNames0=noun\r\nMetaTagNames1=\r\nMetaTagNames2=verb\r\n"
                               "MetaTagStringsCount=3\r\nMetaTagStrings0=NN, NNS,, NP\r\nMetaTagStrings1=X\r\n"
                               "MetaTagStrings2=VB\r\n"));
  const ConcordConfig& config = state.ConcordConfig;
  EXPECT_EQ(config.TagStart, '[');
  EXPECT_EQ(config.TagStop, '>');  // empty value gives the default
  EXPECT_EQ(config.PageSeparator, "[pb]");
  EXPECT_TRUE(config.ShowLines);
  EXPECT_FALSE(config.ShowPages);
  EXPECT_TRUE(config.RelativeLines);

  // The unnamed row without a start is dropped; the others keep their order.
  ASSERT_EQ(state.WatchedTags.size(), 2u);
  EXPECT_EQ(state.WatchedTags[0].WatchName, "speaker");
  EXPECT_EQ(state.WatchedTags[0].WatchStopLen, 10);
  EXPECT_FALSE(state.WatchedTags[0].WatchCocoa);
  EXPECT_EQ(state.WatchedTags[1].WatchStart, "A");
  EXPECT_TRUE(state.WatchedTags[1].WatchCocoa);

  EXPECT_EQ(config.WordTag, 1);
  EXPECT_EQ(config.wTagDelimiter, '_');
  EXPECT_EQ(config.wTagStop, '#');
  EXPECT_EQ(config.wTagStarts, (std::vector<std::string>{"<w", "["}));
  ASSERT_EQ(config.MetaTags.size(), 2u);
  EXPECT_EQ(config.MetaTags[0].Name, "noun");
  EXPECT_EQ(config.MetaTags[0].Tags, (std::vector<std::string>{"NN", "NNS", "NP"}));
  EXPECT_EQ(config.MetaTags[1].Name, "verb");
  EXPECT_EQ(config.MetaTags[1].Tags, (std::vector<std::string>{"VB"}));
}

TEST_F(TagSettingsTest, MissingSectionsGiveDefaultsAndSavedSettingsReadBack) {
  ReadConfiguration(state, Ini(""));
  EXPECT_EQ(state.ConcordConfig.TagStart, '<');
  EXPECT_EQ(state.ConcordConfig.wTagDelimiter, '_');
  EXPECT_TRUE(state.WatchedTags.empty());
  EXPECT_TRUE(state.ConcordConfig.MetaTags.empty());

  state.ConcordConfig.TagStop = '#';
  state.ConcordConfig.PageSeparator = "<pb#";
  state.ConcordConfig.ShowPages = true;
  state.WatchedTags = {TWatchedTag::Make("", "<sp#", "</sp#"), TWatchedTag::Make("ref", "A", "")};
  state.ConcordConfig.WordTag = 2;
  state.ConcordConfig.wTagStarts = {"<w"};
  state.ConcordConfig.MetaTags = {{"noun", {"NN", "NNS"}}};
  IniFile written(dir.path().string() + "/OUT.INI");
  WriteConfiguration(state, written);
  EXPECT_NE(written.ToText().find("MetaTagStrings0=NN, NNS\r\n"), std::string::npos);

  ScriptedHost otherHost;
  ProgramState other{otherHost};
  ReadConfiguration(other, written);
  EXPECT_EQ(other.ConcordConfig.TagStop, '#');
  EXPECT_EQ(other.ConcordConfig.PageSeparator, "<pb#");
  EXPECT_TRUE(other.ConcordConfig.ShowPages);
  ASSERT_EQ(other.WatchedTags.size(), 2u);
  EXPECT_EQ(other.WatchedTags[0].WatchStart, "<sp#");  // an unnamed tag keeps its row
  EXPECT_EQ(other.WatchedTags[1].WatchName, "ref");
  EXPECT_TRUE(other.WatchedTags[1].WatchCocoa);
  EXPECT_EQ(other.ConcordConfig.WordTag, 2);
  EXPECT_EQ(other.ConcordConfig.wTagStarts, state.ConcordConfig.wTagStarts);
  ASSERT_EQ(other.ConcordConfig.MetaTags.size(), 1u);
  EXPECT_EQ(other.ConcordConfig.MetaTags[0].Tags, state.ConcordConfig.MetaTags[0].Tags);
}

TEST(TagRewrapTest, MovesTextsToNewTagCharacters) {
  std::string page = "<pb>";
  std::vector<TTrackedTagRow> rows = {{"sp", "<speaker>", "</speaker>"}, {"ref", "<A", ""}, {"", "", ""}};
  RewrapTagTexts('<', '>', '[', ']', page, rows);
  EXPECT_EQ(page, "[pb]");
  EXPECT_EQ(rows[0], (TTrackedTagRow{"sp", "[speaker]", "[/speaker]"}));
  EXPECT_EQ(rows[1], (TTrackedTagRow{"ref", "A", ""}));
  EXPECT_TRUE(rows[2].Empty());

  std::string empty;
  RewrapTagTexts('[', ']', '<', '#', empty, rows);
  EXPECT_EQ(empty, "");
  EXPECT_EQ(rows[0], (TTrackedTagRow{"sp", "<speaker#", "</speaker#"}));

  // A text typed without tag characters gets them (adding a tracked tag).
  std::vector<TTrackedTagRow> added = {{"sp", "speaker", "/speaker"}};
  RewrapTagTexts('<', '>', '<', '>', empty, added);
  EXPECT_EQ(added[0], (TTrackedTagRow{"sp", "<speaker>", "</speaker>"}));

  EXPECT_EQ(WrapPageDelimiter("  pb ", '<', '>'), "<pb>");
  EXPECT_EQ(WrapPageDelimiter("<pb>", '<', '>'), "<pb>");
  EXPECT_EQ(WrapPageDelimiter("   ", '<', '>'), "");
}

TEST_F(TagSettingsTest, EditorChecks) {
  EXPECT_THROW(CheckTagStart('#'), Exception);
  EXPECT_NO_THROW(CheckTagStart('['));

  struct Case { const char* start; const char* stop; bool cocoa; bool ok; };
  for (const Case& c : {Case{" ", "x", false, false}, Case{"sp", " ", false, false}, Case{"sp", "/sp", false, true},
                        Case{"A", "", true, true}, Case{"A B", "", true, false}}) {
    EXPECT_EQ(TrackedTagAcceptable(c.start, c.stop, c.cocoa), c.ok) << c.start << "|" << c.stop;
  }

  const std::vector<TTrackedTagRow> rows = {{"speaker", "<speaker>", "</speaker>"}, {"act", "A", ""}};
  try {
    CheckTrackedTagName(" Speaker ", rows, -1, state.Language);
    FAIL() << "duplicate accepted";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Duplicated tag name.");
  }
  EXPECT_NO_THROW(CheckTrackedTagName("Speaker", rows, 0, state.Language));  // editing itself
  EXPECT_NO_THROW(CheckTrackedTagName("x", {{"", "", ""}}, -1, state.Language));

  const std::vector<TMetaTagRow> metaRows = {{"noun", "NN"}, {"", ""}};
  EXPECT_THROW(CheckMetaTagName("NOUN", metaRows, -1, state.Language), Exception);
  EXPECT_NO_THROW(CheckMetaTagName("noun", metaRows, 0, state.Language));
  EXPECT_NO_THROW(CheckMetaTagName("verb", metaRows, -1, state.Language));
}

TEST_F(TagSettingsTest, WordTagDialogDecidesWhetherReadingChanged) {
  ConcordConfig& config = state.ConcordConfig;
  config.NonWordChars = ".,_;";
  TWordTagDialogValues values;
  values.MetaTagRows = {{"noun", "NN, NNS"}};
  EXPECT_FALSE(StoreWordTagSettings(config, values));  // meta-tags alone change nothing
  EXPECT_EQ(config.MetaTags.size(), 1u);

  values.Embedded = true;
  EXPECT_TRUE(StoreWordTagSettings(config, values));
  EXPECT_EQ(config.WordTag, 1);
  EXPECT_EQ(config.NonWordChars, ".,;");
  values.Stop = '#';  // not used by embedded tags
  EXPECT_FALSE(StoreWordTagSettings(config, values));
  values.Delimiter = '/';
  EXPECT_TRUE(StoreWordTagSettings(config, values));

  values.Outside = true;
  values.StartCells = {" ", ""};
  EXPECT_FALSE(CanConfirmWordTags(values));
  values.StartCells = {" <w ", "", "["};
  EXPECT_TRUE(CanConfirmWordTags(values));
  EXPECT_TRUE(StoreWordTagSettings(config, values));
  EXPECT_EQ(config.WordTag, 2);
  EXPECT_EQ(config.wTagStarts, (std::vector<std::string>{"<w", "["}));
  EXPECT_FALSE(WordTagReadingChanged(config, values));
  values.StartCells = {"<w"};
  EXPECT_TRUE(WordTagReadingChanged(config, values));
}

TEST_F(TagSettingsTest, ChangeReleasesOnlyTheInvalidatedTables) {
  state.corpus.Texts.resize(2);
  for (TCorpusText& text : state.corpus.Texts) {
    text.PageTables.Name = "PGT.tmp";
    text.WatchedTagTables.Name = "WTT.tmp";
  }
  ReleaseChangedTagTables(state.corpus, {});
  EXPECT_FALSE(state.corpus.Texts[0].PageTables.IsMissing());
  EXPECT_FALSE(state.corpus.Texts[1].WatchedTagTables.IsMissing());

  ReleaseChangedTagTables(state.corpus, {.TagsChanged = false, .PageDelimiterChanged = true});
  for (const TCorpusText& text : state.corpus.Texts) {
    EXPECT_TRUE(text.PageTables.IsMissing());
    EXPECT_FALSE(text.WatchedTagTables.IsMissing());
  }

  ReleaseChangedTagTables(state.corpus, {.TagsChanged = true});
  EXPECT_TRUE(state.corpus.Texts[1].WatchedTagTables.IsMissing());
}

}  // namespace
}  // namespace korvane
