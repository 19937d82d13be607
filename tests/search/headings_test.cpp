// The headings list (editor rules, lookup without case, configuration),
// the headings/contexts search options and the combo-box histories.
#include "search/headings.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/scripted_host.h"
#include "search/field_text.h"
#include "search/heading_context_search.h"
#include "search/language.h"

namespace korvane {
namespace {

THeading Heading(const std::string& name, const std::string& marker = "<h>") {
  return THeading{name, {marker, "</h>", "<t>", "</t>"}};
}

class HeadingsTest : public ::testing::Test {
 protected:
  HeadingsTest() : language(config, 0x0407) {
    EXPECT_TRUE(list.Accept(host, language, -1, Heading("Chapter")));
    EXPECT_TRUE(list.Accept(host, language, -1, Heading("Section")));
  }
  std::vector<std::string> Names() const { return list.Names(); }

  ConcordConfig config;
  LanguageState language;
  ScriptedHost host;
  HeadingsList list;
};

TEST_F(HeadingsTest, EditorAcceptsUniqueNamesOnly) {
  struct Case {
    int editedIndex;
    THeading heading;
    std::vector<std::string> names;  // afterwards
    const char* warning;             // nullptr: accepted
  };
  const Case cases[] = {
      {-1, Heading("Verse"), {"Chapter", "Section", "Verse"}, nullptr},
      {-1, Heading("  Verse "), {"Chapter", "Section", "Verse"}, nullptr},
      {-1, Heading("chapter"), {"Chapter", "Section"}, "Heading with name \"chapter\" already exists."},
      {0, Heading("SECTION"), {"Chapter", "Section"}, "Heading with name \"SECTION\" already exists."},
      {0, Heading("Chapter", "<c>"), {"Section", "Chapter"}, nullptr},  // own name, new markers
      {0, Heading("Book"), {"Section", "Book"}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading.Name);
    list.Clear();
    list.Accept(host, language, -1, Heading("Chapter"));
    list.Accept(host, language, -1, Heading("Section"));
    host.messages.clear();

    EXPECT_EQ(list.Accept(host, language, c.editedIndex, c.heading), c.warning == nullptr);
    EXPECT_EQ(Names(), c.names);
    if (c.warning) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].text, c.warning);
      EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtWarning);
    } else {
      EXPECT_TRUE(host.messages.empty());
    }
  }
  THeadRecord record;
  ASSERT_TRUE(list.Lookup("Book", language, record));
  EXPECT_EQ(record.HeadStart, "<h>");
}

TEST_F(HeadingsTest, MarkersAreKeptAsTypedAndLookupIgnoresCase) {
  list.Accept(host, language, -1, THeading{"\xDC" "berschrift", {"<h1>#", " </h1>", "<t>", "</t>"}});
  THeadRecord record{"untouched", "", "", ""};
  EXPECT_FALSE(list.Lookup("Missing", language, record));
  EXPECT_EQ(record.HeadStart, "untouched");
  ASSERT_TRUE(list.Lookup("\xDC" "BERSCHRIFT", language, record));
  EXPECT_EQ(record, (THeadRecord{"<h1>#", " </h1>", "<t>", "</t>"}));
  EXPECT_EQ(MarkerText(record.HeadStart), "<h1> ");
  EXPECT_EQ(list.IndexOf("\xFC" "berschrift", language), 2);
}

TEST_F(HeadingsTest, OkNeedsEveryFieldAfterTrimming) {
  EXPECT_TRUE(HeadingFieldsComplete(Heading("Verse")));
  EXPECT_FALSE(HeadingFieldsComplete(Heading("   ")));
  EXPECT_FALSE(HeadingFieldsComplete(Heading("Verse", " ")));
  EXPECT_FALSE(HeadingFieldsComplete(THeading{"Verse", {"<h>", "</h>", "<t>", ""}}));
}

TEST_F(HeadingsTest, RemoveAsksFirst) {
  host.answers = {TModalResult::mrNo, TModalResult::mrYes};
  EXPECT_FALSE(list.AskRemove(host, 0));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Chapter", "Section"}));
  EXPECT_TRUE(list.AskRemove(host, 0));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Section"}));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "Remove \"Chapter\"?");
  EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(host.messages[0].focused, TMsgDlgBtn::mbNo);
}

TEST_F(HeadingsTest, ConfigurationLoadsCompleteHeadingsOnly) {
  IniFile ini("unused.ini");
  ini.WriteString("Headings", "NamesCount", "6");
  const char* names[] = {"Chapter", "NoStop", "Empty", "Missing", "CHAPTER", "Scene"};
  for (int i = 0; i < 6; ++i) ini.WriteString("Headings", "Names" + std::to_string(i), names[i]);
  auto markers = [&](const std::string& name, const char* headStart, const char* textStop) {
    ini.WriteString("Heading." + name, "HeadStart", headStart);
    ini.WriteString("Heading." + name, "HeadStop", "</h>");
    ini.WriteString("Heading." + name, "TextStart", "<t>");
    if (textStop) ini.WriteString("Heading." + name, "TextStop", textStop);
  };
  markers("Chapter", "<c>", "</t>");
  markers("NoStop", "<n>", nullptr);
  markers("Empty", "", "</t>");
  markers("Scene", "<s>#", "</t>");

  HeadingsList loaded;
  loaded.Read(ini, language);
  EXPECT_EQ(loaded.Names(), (std::vector<std::string>{"Chapter", "Scene"}));

  IniFile written("unused.ini");
  loaded.Write(written);
  HeadingsList again;
  again.Read(written, language);
  EXPECT_EQ(again.Items(), loaded.Items());
  EXPECT_EQ(written.ReadString("Heading.Scene", "HeadStart", ""), "<s>#");

  IniFile empty("unused.ini");
  again.Read(empty, language);
  EXPECT_EQ(again.Count(), 0);
}

TEST_F(HeadingsTest, HeadingChoiceFollowsLastHeading) {
  EXPECT_EQ(SelectedHeadingIndex(list, "section", language), 1);
  EXPECT_EQ(SelectedHeadingIndex(list, "Gone", language), 0);
  EXPECT_EQ(SelectedHeadingIndex(HeadingsList(), "Chapter", language), -1);
}

TEST(HeadingContextSearch, HistoriesAndLastHeadingRoundTrip) {
  HeadingContextSearch options;
  options.HeadingHistory = {"<h1>", "<h2>"};
  options.LeftHistory = {"left"};
  options.LastHeading = "Chapter";
  IniFile ini("unused.ini");
  options.Write(ini);

  HeadingContextSearch read;
  read.RightHistory = {"stale"};
  read.Read(ini);
  EXPECT_EQ(read.HeadingHistory, options.HeadingHistory);
  EXPECT_EQ(read.LeftHistory, options.LeftHistory);
  EXPECT_TRUE(read.RightHistory.empty());
  EXPECT_EQ(read.LastHeading, "Chapter");
}

TEST(FieldText, HistoryMovesTheTextToTheTop) {
  struct Case {
    std::vector<std::string> before;
    const char* typed;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {{"a", "b"}, "c", {"c", "a", "b"}},
      {{"a", "b", "c"}, " c ", {"c", "b", "a"}},  // exchanged with the first entry
      {{"a", "b"}, "a", {"a", "b"}},
      {{"a"}, "   ", {"a"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> history = c.before;
    EXPECT_EQ(AddToHistory(history, c.typed), TrimField(c.typed));
    EXPECT_EQ(history, c.after) << c.typed;
  }
}

}  // namespace
}  // namespace korvane
