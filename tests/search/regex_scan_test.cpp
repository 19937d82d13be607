// The regular-expression scan over the corpus: the language tables reach the
// engine, line breaks and skipping characters are seen as running text but
// hits keep real text positions, and matches near the edges of the scan's
// window are found once and whole.
#include "search/regex_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "results/concord_item.h"
#include "search/scan_control.h"
#include "search/search.h"
#include "search/search_context.h"
#include "temp_dir.h"

namespace korvane {
namespace {

constexpr LanguageId kEnglishUS = 0x0409;
constexpr LanguageId kJapanese = 0x0411;

struct Hit {
  std::int32_t text, start, end;
  bool operator==(const Hit&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Hit& h) {
  return out << "{text " << h.text << ", " << h.start << ".." << h.end << "}";
}
using Hits = std::vector<Hit>;

class RegexScanTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  std::vector<std::unique_ptr<TConcordItem>> items;

  void SetUp() override { UseLanguage(kEnglishUS); }

  void UseLanguage(LanguageId id) {
    state.Language.SetLanguage(id, state.ConcordConfig);
    state.Language.RebuildCharTables(state.ConcordConfig);
  }

  void Load(const std::vector<std::string>& texts) {
    UnloadCorpus(state);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < texts.size(); ++i)
      names.push_back(dir.WriteFile("t" + std::to_string(i) + ".txt", texts[i]));
    LoadTexts(state, names);
    ASSERT_EQ(state.corpus.Count(), static_cast<int>(texts.size()));
  }

  static TSearchRec Request(const std::string& pattern, std::uint8_t flags = 0) {
    TSearchRec r;
    r.Mode = smRegex;
    r.Flags = flags;
    r.Patterns = {pattern};
    r.PatternNames = {pattern};
    return r;
  }

  Hits Run(const TSearchRec& request) {
    items.clear();
    TSearch search(state);
    std::string message;
    EXPECT_EQ(search.Prepare(request, message), esNone) << message;
    search.Execute(0, [this](std::unique_ptr<TConcordItem> item) { items.push_back(std::move(item)); });
    Hits hits;
    for (const auto& item : items) hits.push_back({item->TextIndex, item->HitStart, item->HitEnd});
    return hits;
  }

  // The texts the hits of one search cover, as they stand in the corpus.
  std::vector<std::string> Find(const std::string& pattern, const std::vector<std::string>& texts,
                                std::uint8_t flags = 0) {
    Load(texts);
    TSearchRec request = Request(pattern, flags);
    if (flags & sfSkipEqual) request.SkippingChars = state.ConcordConfig.SkippingChars;
    std::vector<std::string> found;
    for (const Hit& h : Run(request))
      found.push_back(texts[h.text].substr(h.start, h.end - h.start));
    return found;
  }
};

using Strings = std::vector<std::string>;

TEST_F(RegexScanTest, LanguageTablesDecideWhatAnExpressionMatches) {
  struct Case {
    const char* what;
    const char* pattern;
    const char* text;
    bool ignoreCase;
    const char* extraDelimiters;
    const char* equalChars;  // with skipping/equal characters on when set
    Strings found;
  } cases[] = {
      {"optional letter", "colou?r", "color colour COLOUR", false, "", nullptr, {"color", "colour"}},
      {"ignore case folds text and pattern", "colou?r", "color colour COLOUR", true, "", nullptr,
       {"color", "colour", "COLOUR"}},
      {"ignore case on a class", "[a-z]+ing\\b", "RUNNING Walking", true, "", nullptr,
       {"RUNNING", "Walking"}},
      {"a word boundary is not inside a word", "\\bthe\\b", "other the", true, "", nullptr, {"the"}},
      {"a hyphen that is no delimiter is part of the word", "\\bwell\\b", "well-known", true, "",
       nullptr, {}},
      {"a hyphen that is a delimiter ends the word", "\\bwell\\b", "well-known", true, "-", nullptr,
       {"well"}},
      {"alpha takes the language's letters", "[[:alpha:]]+", "caf\xE9 1", true, "", nullptr,
       {"caf\xE9"}},
      {"word characters take the language's letters", "\\w+", "na\xEFve!", true, "", nullptr,
       {"na\xEFve"}},
      {"xdigit", "[[:xdigit:]]+", "cafe 09 xyz FA", true, "", nullptr, {"cafe", "09", "FA"}},
      {"equal characters", "a", "\xE1 a b", true, "", "a=\xE1", {"\xE1", "a"}},
      {"equal characters under ignore case", "a", "\xC1", true, "", "a=\xE1", {"\xC1"}},
      {"equal characters only with skip/equal on", "a", "\xE1 a", true, "", nullptr, {"a"}},
      {"only the empty string", "x*", "abc", true, "", nullptr, {}},
      {"only an anchor", "^|$|\\b", "abc def", true, "", nullptr, {}},
      {"back-reference", "(..)\\1", "abab cdce", true, "", nullptr, {"abab"}},
      {"matches do not overlap", "aa", "aaaaa", true, "", nullptr, {"aa", "aa"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConcordConfig& config = state.ConcordConfig;
    config.IgnoreCase = c.ignoreCase;
    config.NonWordChars = std::string(kDefaultNonWordChars) + c.extraDelimiters;
    config.UseSkipEqualChars = c.equalChars != nullptr;
    config.EqualChars = c.equalChars ? c.equalChars : "";
    ASSERT_TRUE(config.CompileEqualChars());
    state.Language.RebuildCharTables(config);
    const std::uint8_t flags = (c.ignoreCase ? 0 : sfCaseSensitive) | (c.equalChars ? sfSkipEqual : 0);
    EXPECT_EQ(Find(c.pattern, {c.text}, flags), c.found);
  }
}

TEST_F(RegexScanTest, TheRequestsCaseAndEqualCharacterRulesWinOverTheStoredOnes) {
  ConcordConfig& config = state.ConcordConfig;
  config.IgnoreCase = true;
  config.UseSkipEqualChars = false;
  config.EqualChars = "a=\xE1";
  ASSERT_TRUE(config.CompileEqualChars());
  state.Language.RebuildCharTables(config);
  EXPECT_EQ(Find("colou?r", {"colour COLOUR"}, sfCaseSensitive), Strings{"colour"});
  EXPECT_EQ(Find("a", {"\xE1 a"}, sfSkipEqual), (Strings{"\xE1", "a"}));

  config.IgnoreCase = false;
  config.UseSkipEqualChars = true;
  state.Language.RebuildCharTables(config);
  EXPECT_EQ(Find("colou?r", {"colour COLOUR"}), (Strings{"colour", "COLOUR"}));
  EXPECT_EQ(Find("a", {"\xE1 a"}), Strings{"a"});
}

TEST_F(RegexScanTest, HitsKeepRealTextPositionsAcrossLineBreaksAndSkippedCharacters) {
  struct Case {
    const char* what;
    const char* pattern;
    std::string text;
    std::uint8_t flags;
    Hits hits;
  } cases[] = {
      {"a CR LF run reads as one space", "big dog", "a big\r\n\r\ndog", 0, {{0, 2, 12}}},
      {"a lone LF too", "big dog", "big\ndog big\rdog", 0, {{0, 0, 7}, {0, 8, 15}}},
      {"after a line break", "dog", "\r\n\r\ndog dog", 0, {{0, 4, 7}, {0, 8, 11}}},
      {"the space stands for the line break", "g d", "big\r\ndog", 0, {{0, 2, 6}}},
      {"a hit never ends with a line break", "big.", "big\r\n\r\ndog", 0, {{0, 0, 3}}},
      {"nor inside a run at the text end", "big.", "big\r\n", 0, {{0, 0, 3}}},
      {"skipping characters are left out", "wellknown", "a well-known fact", sfSkipEqual,
       {{0, 2, 12}}},
      {"skipped characters after the first one", "ab", "x a==b ab", sfSkipEqual,
       {{0, 2, 6}, {0, 7, 9}}},
      {"an anchor holds at the text start only", "^dog", "dog dog", 0, {{0, 0, 3}}},
      {"$ holds at the text end", "dog$", "dog dog", 0, {{0, 4, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load({c.text});
    TSearchRec request = Request(c.pattern, c.flags);
    if (c.flags & sfSkipEqual) request.SkippingChars = state.ConcordConfig.SkippingChars;
    EXPECT_EQ(Run(request), c.hits);
  }
}

// Puts word at position p of a text of filler words, one text per position.
std::vector<std::string> TextsWithWordAt(const std::string& word, std::int32_t from, std::int32_t to,
                                         std::int32_t size, const std::string& filler = "zz ") {
  std::vector<std::string> texts;
  for (std::int32_t p = from; p <= to; ++p) {
    std::string text;
    while (static_cast<std::int32_t>(text.size()) < size) text += filler;
    text.resize(size);
    text[p - 1] = ' ';
    text.replace(p, word.size(), word);
    text[p + word.size()] = ' ';
    texts.push_back(text);
  }
  return texts;
}

TEST_F(RegexScanTest, MatchesAtTheWindowEdgesAreFoundOnceAndWhole) {
  // The scan window holds 8,192 characters and slides by 4,096; its ends in
  // the text lie at 8,192 and 12,288 here. A word crossing them is found
  // whole, once, and a word boundary at a window end is not taken for one in
  // the text.
  struct Case {
    const char* pattern;
    const char* word;
    std::int32_t from, to;
    bool found;
  } cases[] = {
      {"[a-z]+ing\\b", "running", 8180, 8195, true},
      {"[a-z]+ing\\b", "running", 12275, 12290, true},
      {"\\bwell\\b", "wellness", 8185, 8192, false},
      {"\\bwell\\b", "wellness", 12280, 12287, false},
      {"ness$", "wellness", 8180, 8188, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern + std::string(" at ") + std::to_string(c.from));
    Load(TextsWithWordAt(c.word, c.from, c.to, 20000));
    Hits expected;
    if (c.found)
      for (std::int32_t p = c.from; p <= c.to; ++p)
        expected.push_back({p - c.from, p, p + static_cast<std::int32_t>(std::strlen(c.word))});
    EXPECT_EQ(Run(Request(c.pattern)), expected);
  }
}

TEST_F(RegexScanTest, PositionsStayRightWhenManyLineBreaksWereDroppedBeforeASlide) {
  // Every filler unit drops one character, so the window ends fall far from
  // the text positions 8,192 and 12,288; the hits must still map back.
  const std::string filler = "ab\r\ncd ";
  std::vector<std::string> texts = TextsWithWordAt("running", 9330, 9370, 30000, filler);
  Load(texts);
  const Hits hits = Run(Request("run+ing"));
  ASSERT_EQ(hits.size(), texts.size());
  for (std::size_t i = 0; i < hits.size(); ++i) {
    const std::int32_t p = 9330 + static_cast<std::int32_t>(i);
    EXPECT_EQ(hits[i], (Hit{static_cast<std::int32_t>(i), p, p + 7}));
  }
}

TEST_F(RegexScanTest, DoubleByteCharactersStayWhole) {
  UseLanguage(kJapanese);
  // 0x83 0x41 is one character whose trail byte is the code of "A".
  Load({"\x83\x41 A \x83\x41"});
  EXPECT_EQ(Run(Request("A")), (Hits{{0, 3, 4}}));
  EXPECT_EQ(Run(Request("\x83\x41")), (Hits{{0, 0, 2}, {0, 5, 7}}));
  // A pair at the window's last place goes whole into the next window.
  Load(TextsWithWordAt("\x83\x41", 8188, 8195, 20000));
  Hits expected;
  for (std::int32_t p = 8188; p <= 8195; ++p) expected.push_back({p - 8188, p, p + 2});
  EXPECT_EQ(Run(Request("\x83\x41")), expected);
}

TEST_F(RegexScanTest, HeadingAndContextPatternsAreRegularExpressionsToo) {
  const std::string headed = "<h>Chap 1</h> <t>one dog</t> <h>Intro</h> <t>two dog</t>";
  Load({headed});
  TSearchRec heading = Request("dog", sfHeadingSearch);
  heading.HeadStart = "<h>";
  heading.HeadStop = "</h>";
  heading.TextStart = "<t>";
  heading.TextStop = "</t>";
  heading.HeadingPattern = "Chap [0-9]";
  const auto first = static_cast<std::int32_t>(headed.find("dog"));
  EXPECT_EQ(Run(heading), (Hits{{0, first, first + 3}}));

  Load({"from a dog to x dog from b dog to"});
  TSearchRec context = Request("dog", sfContextSearch);
  context.LeftContext = "\\bfro?m\\b";
  context.RightContext = "\\bto\\b";
  EXPECT_EQ(Run(context).size(), 2u);
}

TEST_F(RegexScanTest, PreparationReportsTheStageAndTheEnginesMessage) {
  struct Case {
    TSearchRec request;
    TSearchErrorStage stage;
    const char* message;
  };
  TSearchRec bad = Request("colo(u");
  TSearchRec badHeading = Request("dog", sfHeadingSearch);
  badHeading.HeadingPattern = "[z-a]";
  TSearchRec badLeft = Request("dog", sfContextSearch);
  badLeft.LeftContext = "a{2";
  TSearchRec badRight = Request("dog", sfContextSearch);
  badRight.LeftContext = "a";
  badRight.RightContext = "[[:word:]]";
  const Case cases[] = {
      {bad, esSearchPattern, "Unmatched ( or \\("},
      {badHeading, esHeadingPattern, "Invalid range end"},
      {badLeft, esLeftContext, "Unmatched \\{"},
      {badRight, esRightContext, "Invalid character class name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TSearch search(state);
    std::string message;
    EXPECT_EQ(search.Prepare(c.request, message), c.stage);
    EXPECT_EQ(message, c.message);
  }
}

TEST_F(RegexScanTest, AnExpressionTooCostlyToMatchEndsTheSearchWithTheEnginesMessage) {
  Load({std::string(200, 'a') + " " + std::string(40, 'b')});
  TSearch search(state);
  std::string message;
  ASSERT_EQ(search.Prepare(Request("(.*)(.*)(.*)(.*)\\4\\3\\2\\1(b|c)"), message), esNone);
  try {
    search.Execute(0, [](std::unique_ptr<TConcordItem>) {});
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Internal regexp error.");
  }
}

TEST_F(RegexScanTest, CancellingStopsTheScan) {
  std::string text;
  while (text.size() < 400000) text += "zz ";
  Load({text});
  host.cancelAfterProcessMessages = host.processMessagesCalls + 3;
  TSearch search(state);
  std::string message;
  ASSERT_EQ(search.Prepare(Request("nowhere"), message), esNone);
  search.Execute(0, [](std::unique_ptr<TConcordItem>) {});
  EXPECT_TRUE(search.WasCancelled());
}

class QuietControl : public TScanControl {
 public:
  bool PollCancel() override { return false; }
  bool Cancelled() const override { return false; }
  void ReportProgress(std::int32_t, bool) override {}
  void CountAttempts(std::uint32_t) override {}
  void SetSpeedDisplay(bool) override {}
};

// Every hit of one context over the reader's range [from, to). With jumps,
// every fifth hit moves the reader a little past the hit's end, as a caller
// stepping elsewhere would.
Hits ScanRange(TSearchContext& context, TBufStream& reader, std::int32_t from, std::int32_t to, bool jumps) {
  QuietControl control;
  Hits hits;
  reader.SetRange(from, to);
  context.Attach(reader, nullptr);
  while (context.FindNext(control)) {
    hits.push_back({0, context.HitStart, context.HitEnd});
    if (jumps && hits.size() % 5 == 0) reader.SetPosition(context.HitEnd + static_cast<std::int32_t>(hits.size() % 3));
  }
  return hits;
}

// Going on in the window of the last hit finds exactly what a window filled
// anew at every hit finds: over generated texts with dense hits, line-break
// runs, skipping characters, double-byte pairs and many window ends, for
// expressions whose matches depend on their surroundings and on the window's
// ends (anchors, word boundaries, long repeats).
TEST(RegexWindowTest, GoingOnInTheWindowFindsWhatANewWindowFinds) {
  std::mt19937 random(20261211);
  const std::vector<std::string> words = {"captain", "captain", "cap", "tain", "the", "other", "a", "ab",
                                          "abc", "well", "known", "bcd", "\x83\x41", "\x82\x81"};
  const std::vector<std::string> separators = {" ", " ", " ", "  ", "\r\n", "\n\r\n\r", "\r", "-", "'",
                                               "-\r\n-", "\r\n'\r\n", ", ", "'-", "\x83"};
  const std::vector<std::string> patterns = {"captain", "\\bthe\\b", "^[a-z]", "[a-z]$", "b\\>", "n [a-z]",
                                             "\\Bai", "t[^x]*n", "(ab|a)(c|bcd)?", "e[^\\r]*a"};
  ConcordConfig config;
  LowerCaseTable lower = IdentityCaseTable();
  for (int c = 'A'; c <= 'Z'; ++c) lower[c] = static_cast<unsigned char>(c + 32);
  test::TempDir dir;
  for (int round = 0; round < 8; ++round) {
    const bool doubleByte = round % 3 == 2;
    std::string text;
    const std::size_t size = round % 4 == 3 ? 14000 : 1 + random() % 6000;
    while (text.size() < size) {
      const std::string& word = words[random() % (doubleByte ? words.size() : words.size() - 2)];
      text += word;
      const auto pick = random() % (doubleByte ? separators.size() : separators.size() - 1);
      // Long line-break runs now and then, so that many characters drop.
      text += random() % 50 == 0 ? std::string(1 + random() % 300, '\n') : separators[pick];
    }
    const std::string file = dir.WriteFile("r" + std::to_string(round) + ".txt", text);
    TFileSynchroStream stream(file, TFileOpenMode::ReadShareWrite);
    TBufStream reader(&stream, config.DelimiterSet());
    const std::int32_t n = reader.Size();
    for (bool skipping : {false, true}) {
      TPatternRules kept = MakePatternRules(config, lower, smRegex, false, skipping, "-'");
      kept.DoubleByte = doubleByte;
      for (int b = 0x81; b <= 0x9f; ++b) kept.LeadByte[b] = true;
      TPatternRules renewed = kept;
      renewed.KeepRegexWindow = false;
      for (const std::string& pattern : patterns) {
        SCOPED_TRACE("round " + std::to_string(round) + ", pattern " + pattern + ", skipping " +
                     std::to_string(skipping));
        TSearchContext a(pattern, kept);
        TSearchContext b(pattern, renewed);
        for (bool jumps : {false, true}) {
          EXPECT_EQ(ScanRange(a, reader, 0, n, jumps), ScanRange(b, reader, 0, n, jumps)) << "jumps " << jumps;
        }
        // A new range on the same reader, right after a scan of the whole.
        EXPECT_EQ(ScanRange(a, reader, n / 3, n - n / 4, false), ScanRange(b, reader, n / 3, n - n / 4, false));
      }
    }
  }
}

}  // namespace
}  // namespace korvane
