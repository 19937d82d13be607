// The search configuration: the equal-character syntax, reading and writing
// its keys with their corrections, and what the options dialog's OK stores.
#include "search/concord_config.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/scripted_host.h"

namespace korvane {
namespace {

// The groups as strings of their members in byte order.
std::vector<std::string> GroupTexts(const CharSetArray& groups) {
  std::vector<std::string> texts;
  for (const CharSet& group : groups) {
    std::string text;
    for (int c = 0; c < 256; ++c)
      if (group.test(c)) text += static_cast<char>(c);
    texts.push_back(text);
  }
  return texts;
}

TEST(EqualCharsTest, ValidityAndGroups) {
  struct Case {
    const char* text;
    bool valid;
    std::vector<std::string> groups;
  } cases[] = {
      {"a=b=c;d=e", true, {"abc", "de"}},
      {"a=b;;c=d", false, {}},
      {"a=b=", true, {"ab"}},
      {"1=2", false, {}},
      {"a = b = c", true, {"abc"}},
      {"ab=c", false, {}},
      {"a=b;", true, {"ab"}},
      {"  ", true, {}},
      {"", true, {}},
      {";", false, {}},
      {"=a", false, {}},
      {"a==b", false, {}},
      {"A=a", true, {"Aa"}},
      {"a=\xE1=\xE0;e=\xE9", true, {"a\xE0\xE1", "e\xE9"}},
  };
  for (const Case& c : cases) {
    CharSetArray groups(1);
    groups[0].set('z');
    EXPECT_EQ(CompileEqualCharText(c.text, groups), c.valid) << c.text;
    // An invalid text leaves the groups in force as they were.
    EXPECT_EQ(GroupTexts(groups), c.valid ? c.groups : std::vector<std::string>{"z"}) << c.text;
  }
}

TEST(EqualCharsTest, GroupsCountOnlyWhenSwitchedOn) {
  ConcordConfig config;
  config.EqualChars = "a=\xE1";
  ASSERT_TRUE(config.CompileEqualChars());
  EXPECT_FALSE(config.IsEqualChar('a', 0xE1));
  config.UseSkipEqualChars = true;
  EXPECT_TRUE(config.IsEqualChar('a', 0xE1));
  EXPECT_FALSE(config.IsEqualChar('a', 'b'));
}

IniFile WithKeys(std::initializer_list<std::pair<const char*, const char*>> keys) {
  IniFile ini("x.ini");
  for (const auto& [key, value] : keys) ini.WriteString("ConcordanceConfiguration", key, value);
  return ini;
}

TEST(ConcordConfigLoadTest, MissingKeysGiveDefaults) {
  ConcordConfig config;
  EXPECT_EQ(config.MaximumHits, 1024);  // before any file is read
  config.NormalFont = {"Arial", 9, 0, 0, 0};
  config.Load(IniFile("empty.ini"));
  EXPECT_EQ(config.MaximumHits, 500);
  EXPECT_EQ(config.NonWordChars, kDefaultNonWordChars);
  EXPECT_EQ(std::string(kDefaultNonWordChars).size(), 25u);
  EXPECT_EQ(config.SkippingChars, "-=");
  EXPECT_EQ(config.WildCardMatchWords, '@');
  EXPECT_EQ(config.TagSearchSeparator, '&');
  EXPECT_EQ(config.ContextSizes[0], 40);
  EXPECT_EQ(config.BigContextSize, 10);
  EXPECT_TRUE(config.HighlightCollocates);
  EXPECT_EQ(config.NormalFont, (TFont{"Arial", 9, 0, 0, 0}));  // a missing font key changes nothing
}

TEST(ConcordConfigLoadTest, CorrectsOutOfRangeValues) {
  struct Case {
    const char* key;
    const char* value;
    std::int32_t ConcordConfig::*field;
    std::int32_t expected;
  } ints[] = {
      {"FrequencyOfHits", "0", &ConcordConfig::FrequencyOfHits, 1},
      {"FrequencyOfHits", "-3", &ConcordConfig::FrequencyOfHits, 1},
      {"FrequencyOfHits", "7", &ConcordConfig::FrequencyOfHits, 7},
      {"BigContextSize", "15", &ConcordConfig::BigContextSize, 15},
      {"BigContextSize", "0", &ConcordConfig::BigContextSize, 10},
      {"BigContextSize", "32", &ConcordConfig::BigContextSize, 10},
      {"BigContextSize", "31", &ConcordConfig::BigContextSize, 31},
      {"MaximumHits", "2147483647", &ConcordConfig::MaximumHits, 2147483647},
  };
  for (const Case& c : ints) {
    ConcordConfig config;
    config.Load(WithKeys({{c.key, c.value}}));
    EXPECT_EQ(config.*c.field, c.expected) << c.key << "=" << c.value;
  }
  struct TypeCase {
    const char* value;
    int expected;
  } types[] = {{"5", 0}, {"4", 0}, {"-1", 0}, {"260", 0}, {"3", 3}, {"1", 1}};
  for (const TypeCase& c : types) {
    ConcordConfig config;
    config.Load(WithKeys({{"ContextType", c.value}}));
    EXPECT_EQ(config.ContextType, c.expected) << c.value;
  }
}

TEST(ConcordConfigLoadTest, CharactersAreOneCharacterStrings) {
  ConcordConfig config;
  config.Load(WithKeys({{"WildCard0orMore", ""}, {"WildCard0or1", "#x"}, {"TagSearchSeparator", "/"}}));
  EXPECT_EQ(config.WildCard0orMore, '\0');
  EXPECT_EQ(config.WildCard0or1, '#');
  EXPECT_EQ(config.WildCardExactly1, '?');
  EXPECT_EQ(config.TagSearchSeparator, '/');
  // A disabled wildcard is no delimiter.
  EXPECT_FALSE(config.DelimiterSet().test('*'));
  EXPECT_TRUE(config.DelimiterSet().test('#'));

  IniFile ini("x.ini");
  config.Save(ini);
  EXPECT_EQ(ini.ReadString("ConcordanceConfiguration", "WildCard0orMore", "-"), "");
  EXPECT_EQ(ini.ReadString("ConcordanceConfiguration", "WildCard0or1", "-"), "#");
}

TEST(ConcordConfigLoadTest, CollocateFontFollowsTheHighlightFontInRed) {
  const char* hilite = "Arial,10,1,16711680,0";
  struct Case {
    const char* hiliteValue;
    const char* collocateValue;
    TFont expected;
  } cases[] = {
      {hilite, nullptr, {"Arial", 10, fsBold, clRed, 0}},
      {hilite, "Times,12,2,32768,0", {"Times", 12, fsItalic, 32768, 0}},
      {nullptr, nullptr, {SystemDefaultFont().Name, SystemDefaultFont().Size, 0, clRed, SystemDefaultFont().Charset}},
  };
  for (const Case& c : cases) {
    IniFile ini("x.ini");
    if (c.hiliteValue) ini.WriteString("ConcordanceConfiguration", "HiliteFont", c.hiliteValue);
    if (c.collocateValue) ini.WriteString("ConcordanceConfiguration", "CollocateFont", c.collocateValue);
    ConcordConfig config;
    config.Load(ini);
    EXPECT_EQ(config.CollocateFont, c.expected) << (c.collocateValue ? c.collocateValue : "-");
  }
}

TEST(ConcordConfigLoadTest, InvalidEqualCharsKeepThePreviousGroups) {
  ConcordConfig config;
  config.Load(WithKeys({{"EqualChars", "a=b"}}));
  ASSERT_EQ(GroupTexts(config.EqualCharSets), std::vector<std::string>{"ab"});
  config.Load(WithKeys({{"EqualChars", "a=b;;c"}}));
  EXPECT_EQ(config.EqualChars, "a=b;;c");
  EXPECT_EQ(GroupTexts(config.EqualCharSets), std::vector<std::string>{"ab"});
}

TEST(ConcordConfigLoadTest, HistoriesLiveInTheirOwnSections) {
  ConcordConfig config;
  config.DelimiterHistory = {".,;"};
  config.SkippingHistory = {"-", "'"};
  config.EqualHistory = {"a=b"};
  IniFile ini("x.ini");
  config.Save(ini);
  EXPECT_EQ(ini.ReadString("DelimiterHistory", "NonWordChars0", ""), ".,;");
  EXPECT_EQ(ini.ReadString("SkippingHistory", "SkippingChars1", ""), "'");
  EXPECT_EQ(ini.ReadString("EqualHistory", "EqualCharsCount", ""), "1");
  ConcordConfig read;
  read.Load(ini);
  EXPECT_EQ(read.DelimiterHistory, config.DelimiterHistory);
  EXPECT_EQ(read.SkippingHistory, config.SkippingHistory);
  EXPECT_EQ(read.EqualHistory, config.EqualHistory);
}

// ---- The options dialog's OK ----------------------------------------------------

TSearchOptionsValues ValuesOf(const ConcordConfig& config) {
  TSearchOptionsValues v;
  v.MaximumHits = config.MaximumHits;
  v.FrequencyOfHits = config.FrequencyOfHits;
  v.ContextType = config.ContextType;
  v.ContextSize = config.ContextSizes[config.ContextType];
  v.NonWordChars = config.NonWordChars;
  v.SkippingChars = config.SkippingChars;
  v.EqualChars = config.EqualChars;
  v.WildCard0orMore = config.WildCard0orMore;
  v.WildCard0or1 = config.WildCard0or1;
  v.WildCardExactly1 = config.WildCardExactly1;
  v.WildCardMatchWords = config.WildCardMatchWords;
  v.MatchWordsLo = config.MatchWordsLo;
  v.MatchWordsHi = config.MatchWordsHi;
  v.TagSearchSeparator = std::string(1, config.TagSearchSeparator);
  v.HighlightCollocates = config.HighlightCollocates;
  v.BigContextSize = BigContextSizeChoice(config.BigContextSize);
  return v;
}

TEST(ApplySearchOptionsTest, StoresValuesAndTellsWhetherWordsChanged) {
  struct Case {
    const char* what;
    void (*edit)(TSearchOptionsValues&);
    bool wordsChanged;
  } cases[] = {
      {"nothing", [](TSearchOptionsValues&) {}, false},
      {"delimiters", [](TSearchOptionsValues& v) { v.NonWordChars += "'"; }, true},
      {"a wildcard disabled", [](TSearchOptionsValues& v) { v.WildCard0or1 = '\0'; }, true},
      {"word-count wildcard", [](TSearchOptionsValues& v) { v.WildCardMatchWords = '~'; }, true},
      {"skipping characters", [](TSearchOptionsValues& v) { v.SkippingChars = "'"; }, false},
      {"hits and context", [](TSearchOptionsValues& v) {
         v.MaximumHits = 9;
         v.ContextType = 1;
         v.ContextSize = 20;
       }, false},
  };
  for (const Case& c : cases) {
    ConcordConfig config;
    TSearchOptionsValues values = ValuesOf(config);
    c.edit(values);
    ScriptedHost host;
    const TSearchOptionsResult result = ApplySearchOptions(config, values, host);
    EXPECT_EQ(result.WordDefinitionChanged, c.wordsChanged) << c.what;
    EXPECT_TRUE(result.EqualCharsValid);
    EXPECT_EQ(ValuesOf(config).NonWordChars, values.NonWordChars);
    EXPECT_EQ(config.ContextSizes[values.ContextType], values.ContextSize);
    EXPECT_EQ(config.MaximumHits, values.MaximumHits);
    EXPECT_TRUE(host.messages.empty()) << c.what;
  }
}

TEST(ApplySearchOptionsTest, EmbeddedTagDelimiterCannotEndWords) {
  ConcordConfig config;
  config.WordTag = 1;
  TSearchOptionsValues values = ValuesOf(config);
  values.NonWordChars = ".,_;_";
  values.TagSearchSeparator.clear();
  ScriptedHost host;
  ApplySearchOptions(config, values, host);
  EXPECT_EQ(config.NonWordChars, ".,;_");
  EXPECT_EQ(config.TagSearchSeparator, '&');  // an empty edit keeps it
  EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtInformation),
            std::vector<std::string>{"\"_\" is tag delimiter and can't be a word delimiter.\r"
                                     "Symbol will be deleted from word delimiters."});

  // With tags outside the words the character stays a delimiter.
  config.WordTag = 2;
  ScriptedHost quiet;
  ApplySearchOptions(config, values, quiet);
  EXPECT_EQ(config.NonWordChars, ".,_;_");
  EXPECT_TRUE(quiet.messages.empty());
}

TEST(ApplySearchOptionsTest, ContextWindowOfFifteenBecomesTenOnOK) {
  ConcordConfig config;
  config.Load(WithKeys({{"BigContextSize", "15"}}));
  ASSERT_EQ(config.BigContextSize, 15);
  TSearchOptionsValues values = ValuesOf(config);
  EXPECT_EQ(values.BigContextSize, 10);
  ScriptedHost host;
  ApplySearchOptions(config, values, host);
  EXPECT_EQ(config.BigContextSize, 10);
  EXPECT_EQ(host.bigContextChanges, 1);
  ApplySearchOptions(config, values, host);
  EXPECT_EQ(host.bigContextChanges, 1);
}

TEST(ApplySearchOptionsTest, WrongEqualCharsAreReported) {
  ConcordConfig config;
  config.EqualChars = "a=b";
  ASSERT_TRUE(config.CompileEqualChars());
  TSearchOptionsValues values = ValuesOf(config);
  values.EqualChars = "1=2";
  ScriptedHost host;
  EXPECT_FALSE(ApplySearchOptions(config, values, host).EqualCharsValid);
  EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            std::vector<std::string>{"Wrong \"equal characters\" syntax"});
  EXPECT_EQ(config.EqualChars, "1=2");
  EXPECT_EQ(GroupTexts(config.EqualCharSets), std::vector<std::string>{"ab"});
  // The dialog stays open, so the context window is not taken yet.
  values.BigContextSize = 30;
  ApplySearchOptions(config, values, host);
  EXPECT_EQ(config.BigContextSize, 10);
  EXPECT_EQ(host.bigContextChanges, 0);
}

}  // namespace
}  // namespace korvane
