// The corpus scan: term sequences, regions, sentence mode, tag search, the
// counting of hits, and what a recorded hit holds.
#include "search/search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/errors.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "search/hit_recorder.h"
#include "temp_dir.h"

namespace korvane {
namespace {

class SearchTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  ProgramState state{host};
  test::TempDir dir;
  std::vector<std::unique_ptr<TConcordItem>> hits;
  std::unique_ptr<TSearch> search;

  void Load(const std::vector<std::string>& texts) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < texts.size(); ++i)
      names.push_back(dir.WriteFile("t" + std::to_string(i) + ".txt", texts[i]));
    LoadTexts(state, names);
    ASSERT_EQ(state.corpus.Count(), static_cast<int>(texts.size()));
  }

  static TSearchRec Request(const std::vector<std::string>& patterns, TSearchMode mode = smText,
                            std::uint8_t flags = 0) {
    TSearchRec r;
    r.Mode = mode;
    r.Flags = flags;
    r.Patterns = patterns;
    r.PatternNames = patterns;
    return r;
  }

  void Run(const TSearchRec& request, std::int32_t maximum = 0, TAddHitRoutine addHit = {}) {
    hits.clear();
    search = std::make_unique<TSearch>(state);
    std::string message;
    ASSERT_EQ(search->Prepare(request, message), esNone) << message;
    if (!addHit) addHit = [this](std::unique_ptr<TConcordItem> item) { hits.push_back(std::move(item)); };
    search->Execute(maximum, addHit);
  }

  static TSearchRec HeadingRequest(const char* headStart, const char* headStop, const char* textStart,
                                   const char* textStop, const char* headingPattern) {
    TSearchRec r = Request({"dog"}, smText, sfHeadingSearch);
    r.HeadStart = headStart;
    r.HeadStop = headStop;
    r.TextStart = textStart;
    r.TextStop = textStop;
    r.HeadingPattern = headingPattern;
    return r;
  }

  // The word in one slot of every hit.
  std::vector<std::string> WordsAt(int slot) const {
    std::vector<std::string> words;
    for (const auto& h : hits) words.push_back(h->Words[slot].value_or(""));
    return words;
  }

  std::vector<std::string> HitTexts() const {
    std::vector<std::string> texts;
    for (const auto& h : hits) texts.push_back(h->Words[pcSearchTerm].value_or("<none>"));
    return texts;
  }

  // The hit texts of one text search.
  std::vector<std::string> Find(const std::string& pattern, std::uint8_t flags = 0) {
    TSearchRec r = Request({pattern}, smText, flags);
    if (flags & sfSkipEqual) r.SkippingChars = state.ConcordConfig.SkippingChars;
    Run(r);
    return HitTexts();
  }
};

using Texts = std::vector<std::string>;

TEST_F(SearchTest, TextPatternsFindWordsAndWordSequences) {
  struct Case {
    const char* pattern;
    const char* text;
    Texts found;
  } cases[] = {
      {"colo%r", "Colour, color; colouur colr.", {"Colour", "color"}},
      {"thr?w", "threw throw thrw thrown", {"threw", "throw"}},
      {"made @ mind", "He made up his mind.", {"made up his mind"}},
      {"made @ mind", "She made up her own mind.", {"made up her own mind"}},
      {"made @ mind", "They made his mind.", {}},
      {"made @ mind", "made a b c d e mind", {"made a b c d e mind"}},
      {"made @ mind", "made a b c d e f mind", {}},
      {"made @@ mind", "They made his mind.", {"made his mind"}},
      {"made @@ mind", "We made mind.", {"made mind"}},
      {"made @@ mind", "made a b c d e f mind", {"made a b c d e f mind"}},
      // Matches of one pattern do not overlap; adjacent ones are all found.
      {"the the", "the the the", {"the the"}},
      {"a b a", "a b a b a", {"a b a"}},
      {"dog", "dog dog", {"dog", "dog"}},
      // A failed attempt restarts after its first word only.
      {"x y", "x x y", {"x y"}},
      {"dog", "cat", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    UnloadCorpus(state);
    Load({c.text});
    EXPECT_EQ(Find(c.pattern), c.found);
  }
}

TEST_F(SearchTest, ZeroBytesEndTheRegionWhereverTheyStand) {
  struct Case {
    std::string text;
    std::size_t hits;
  } cases[] = {
      {std::string("dog dog\0dog dog", 15), 2},
      {std::string("cat\0dog", 7), 0},
      {std::string("\0dog", 4), 0},
      {std::string("dog\0", 4), 1},
  };
  for (const Case& c : cases) {
    UnloadCorpus(state);
    Load({c.text});
    Run(Request({"dog"}));
    EXPECT_EQ(hits.size(), c.hits) << c.text.size();
    Run(Request({"d*"}));
    EXPECT_EQ(hits.size(), c.hits) << "token by token, " << c.text.size();
  }
}

TEST_F(SearchTest, SkippingCharactersAndCase) {
  Load({"An ice-cream, two icecreams and an ICECREAM."});
  EXPECT_EQ(Find("icecream"), (Texts{"ICECREAM"}));
  EXPECT_EQ(Find("icecream", sfSkipEqual), (Texts{"ice-cream", "ICECREAM"}));
  EXPECT_EQ(Find("ice-cream", sfSkipEqual), Texts{}) << "the pattern's own skipping characters are compared";
  EXPECT_EQ(Find("icecream", sfCaseSensitive), Texts{});
  EXPECT_EQ(Find("ICECREAM", sfCaseSensitive), (Texts{"ICECREAM"}));
}

TEST_F(SearchTest, RecordedHitHoldsItsPlaceAndTheWordsAround) {
  const std::string text = "one two, three four  five (six) seven eight nine";
  Load({text});
  Run(Request({"five six"}));
  ASSERT_EQ(hits.size(), 1u);
  const TConcordItem& hit = *hits[0];
  EXPECT_EQ(hit.TextIndex, 0);
  EXPECT_EQ(hit.HitStart, static_cast<std::int32_t>(text.find("five")));
  EXPECT_EQ(hit.HitEnd, static_cast<std::int32_t>(text.find("six") + 3)) << "the delimiter after it is not part of the hit";
  EXPECT_EQ(hit.Words[pcSearchTerm], "five six");
  const std::pair<int, const char*> words[] = {{pc4L, "one"},   {pc3L, "two"},   {pc2L, "three"},
                                               {pc1L, "four"},  {pc1R, "seven"}, {pc2R, "eight"},
                                               {pc3R, "nine"}};
  for (auto [slot, word] : words) {
    EXPECT_EQ(hit.Words[slot], word) << slot;
    EXPECT_EQ(hit.WordStart[slot], static_cast<std::int32_t>(text.find(word))) << slot;
    EXPECT_EQ(hit.WordEnd[slot], static_cast<std::int32_t>(text.find(word) + std::strlen(word))) << slot;
  }
  EXPECT_FALSE(hit.Words[pc4R].has_value()) << "the text ends before a fourth word";

  // A word that runs to the end of the text ends the hit there.
  UnloadCorpus(state);
  Load({"last word"});
  Run(Request({"word"}));
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0]->HitEnd, 9);
  EXPECT_EQ(hits[0]->Words[pc1L], "last");
}

TEST_F(SearchTest, LongHitTextIsShortenedAroundItsLastWord) {
  std::string text = "start";
  for (int i = 0; i < 20; ++i) text += " word" + std::to_string(i);
  text += " finish";
  Load({text});
  Run(Request({"start @@ finish"}));
  ASSERT_EQ(hits.size(), 1u);
  const std::string shown = *hits[0]->Words[pcSearchTerm];
  EXPECT_EQ(shown.size(), 59u);
  EXPECT_EQ(shown, text.substr(0, 54 - 6) + " ... finish");

  THitTextBuilder fits;
  for (const char* w : {"a", "b"}) fits.Add(w);
  EXPECT_EQ(fits.Text(), "a b");
  THitTextBuilder longLast;
  longLast.Add("x");
  longLast.Add(std::string(60, 'y'));
  EXPECT_EQ(longLast.Text(), "x " + std::string(58, 'y')) << "a last word of 54 or more is cut at 60";
  EXPECT_EQ(RegexHitText("\r\nab\r\n\ncd", {}, false), "ab cd");
}

TEST_F(SearchTest, FrequencyOfHitsCountsAcrossTextsAndPatterns) {
  Load({"dog cat dog", "cat dog", "dog cat cat"});
  state.ConcordConfig.FrequencyOfHits = 3;
  // Matches in order: text 0: dog dog cat; text 1: dog cat; text 2: dog cat cat.
  Run(Request({"dog", "cat"}));
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0]->TextIndex, 0);
  EXPECT_EQ(hits[0]->HitStart, 4) << "the third match is text 0's cat";
  EXPECT_EQ(hits[1]->TextIndex, 2);
  EXPECT_EQ(hits[1]->HitStart, 0) << "the sixth is text 2's dog";
  EXPECT_EQ(search->MatchCount(), 8);

  state.ConcordConfig.FrequencyOfHits = 0;  // never a division by zero
  Run(Request({"dog"}));
  EXPECT_EQ(hits.size(), 4u);
}

TEST_F(SearchTest, MaximumEndsTheWholeSearch) {
  Load({"dog cat dog", "dog cat"});
  Run(Request({"dog", "cat"}), 1);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(*hits[0]->Words[pcSearchTerm], "dog");
  EXPECT_TRUE(search->WasCancelled());
  EXPECT_EQ(search->MatchCount(), 1);
}

TEST_F(SearchTest, SilentAbortFromTheAddHitRoutineDoesNotCount) {
  Load({"a1 a2 a3 a4 a5 a6"});
  state.ConcordConfig.FrequencyOfHits = 2;
  int calls = 0;
  // The first routine call (a2) is refused: a3 becomes the second match.
  Run(Request({"a?"}), 2, [&](std::unique_ptr<TConcordItem> item) {
    if (++calls == 1) throw EAbort();
    hits.push_back(std::move(item));
  });
  EXPECT_EQ(HitTexts(), (Texts{"a3", "a5"}));
  EXPECT_TRUE(search->WasCancelled()) << "two recorded hits reach the maximum";

  // Any other error ends the search and reaches the caller, progress window gone.
  EXPECT_THROW(Run(Request({"a?"}), 0, [](std::unique_ptr<TConcordItem>) { throw Exception("full"); }),
               Exception);
  EXPECT_TRUE(host.liveDoubleProgress.empty());
}

TEST_F(SearchTest, HeadingSearchFindsTextUnderMatchingHeadings) {
  Load({"<h>Sports</h> <t>dog one</t> dog x\n"
        "<h>News</h> <t>dog two</t>\n"
        "<h>Sports</h> no text start dog three\n"
        "<h>More sports</h> <t>dog four</t> <t>dog five</t>\n"});
  Run(HeadingRequest("<h>", "</h>", "<t>", "</t>", "sports"));
  EXPECT_EQ(WordsAt(pc1R), (Texts{"one", "four"}))
      << "a heading without a text start is skipped; one text range per heading";
}

TEST_F(SearchTest, HeadingMarkersAreNormalised) {
  const THeadingMarker m = NormaliseHeadingMarker("<H1>#");
  EXPECT_EQ(m.Text, "<H1>") << "the case is kept: markers are compared byte for byte";
  EXPECT_TRUE(m.BlankAfter);
  EXPECT_EQ(m.Length, 4);
  const THeadingMarker inner = NormaliseHeadingMarker("a#b");
  EXPECT_EQ(inner.Text, "a b");
  EXPECT_FALSE(inner.BlankAfter);

  Load({"<H1>x</H1> <T>dog</T> <H1>y</H1> <T>dog</T> <H1>x</H1>dog <T>dog</T>"});
  Run(HeadingRequest("<H1>#", "</H1>", "<T>", "</T>", "x"));
  EXPECT_EQ(hits.size(), 0u) << "<H1> is followed by no white space anywhere";
  Run(HeadingRequest("<H1>", "</H1>", "<T>", "</T>", "x"));
  EXPECT_EQ(hits.size(), 2u);
}

TEST_F(SearchTest, ContextSearchSearchesBetweenLeftAndRightContexts) {
  Load({"start a dog b end c dog d start e dog end dog"});
  TSearchRec r = Request({"dog"}, smText, sfContextSearch);
  r.LeftContext = "start";
  r.RightContext = "end";
  Run(r);
  EXPECT_EQ(WordsAt(pc1L), (Texts{"a", "e"}));

  r.RightContext.clear();
  Run(r);
  EXPECT_EQ(WordsAt(pc1L), (Texts{"a", "c", "e", "end"}))
      << "without a right context the region runs to the end, once";
}

TEST_F(SearchTest, SentenceModeDropsHitsAcrossSentenceEnds) {
  Load({"I met Dr. Smith at the end. The dog barked at the end."});
  state.Sentences.SmartAbbrDetect = true;
  struct Case {
    const char* pattern;
    std::size_t inSentenceMode;
    std::size_t without;
  } cases[] = {
      {"dr smith", 1, 1},
      {"end the", 0, 1},
      {"end", 2, 2},
      {"smith @@ barked", 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Find(c.pattern, sfSentenceMode).size(), c.inSentenceMode) << c.pattern;
    EXPECT_EQ(Find(c.pattern).size(), c.without) << c.pattern;
  }
  state.Sentences.SmartAbbrDetect = false;
  EXPECT_EQ(Find("dr smith", sfSentenceMode).size(), 0u) << "Dr. is no exception unless listed";
}

TEST_F(SearchTest, PreparationReportsTheStageOfAnExpressionThatDoesNotCompile) {
  struct Case {
    const char* left;
    const char* right;
    const char* heading;
    const char* pattern;
    TSearchErrorStage stage;
  } cases[] = {
      {"(a", "b", "c", "d", esLeftContext},
      {"a", "b)x[", "c", "d", esRightContext},
      {"a", "", "[z-a]", "d", esHeadingPattern},
      {"a", "b", "c", "(d", esSearchPattern},
      {"a", "b", "c", "d", esNone},
  };
  for (const Case& c : cases) {
    TSearchRec r = Request({"ok", c.pattern}, smRegex, sfContextSearch | sfHeadingSearch);
    r.LeftContext = c.left;
    r.RightContext = c.right;
    r.HeadingPattern = c.heading;
    TSearch search(state);
    std::string message;
    EXPECT_EQ(search.Prepare(r, message), c.stage) << c.pattern;
    EXPECT_EQ(message.empty(), c.stage == esNone) << message;
  }
  // Text patterns never fail to compile.
  TSearch text(state);
  std::string message;
  EXPECT_EQ(text.Prepare(Request({"(d"}), message), esNone);
}

class TagSearchTest : public SearchTest {
 protected:
  void SetUp() override { state.ConcordConfig.MetaTags = {{"noun", {"NN1", "NN2"}}}; }

  Texts FindTag(const std::string& pattern) {
    Run(Request({pattern}, smTag));
    return HitTexts();
  }
};

TEST_F(TagSearchTest, EmbeddedTags) {
  state.ConcordConfig.WordTag = 1;
  Load({"hello the_AT0 dog_NN1 barks_VVZ ,_PUN loud_AJ0 dogs_NN2 dog_VVB"});
  struct Case {
    const char* pattern;
    Texts found;
  } cases[] = {
      {"dog&NN1", {"dog"}},
      {"&NN1", {"dog"}},
      {"dog", {"dog", "dog"}},
      {"dog&", {"dog", "dog"}},
      {"dog&VV*", {"dog"}},
      {"&noun", {"dog", "dogs"}},
      {"**", {"hello"}},
      {"the dog&NN1", {"the dog"}},
      // "@" counts words with their tags; a tag without a word is no word.
      {"dog @ dogs", {"dog barks loud dogs"}},
  };
  for (const Case& c : cases) EXPECT_EQ(FindTag(c.pattern), c.found) << c.pattern;
}

TEST_F(TagSearchTest, TagsOutsideWordsInBothOrders) {
  state.ConcordConfig.WordTag = 2;
  state.ConcordConfig.wTagBefore = true;
  state.ConcordConfig.wTagStarts = {"<w"};
  state.ConcordConfig.wTagStop = '>';
  const std::string text = "hello <w AT0>the <w NN1>dog <p> <w VVZ>barks <w NN2>cats";
  Load({text});
  EXPECT_EQ(FindTag("dog&NN1"), (Texts{"dog"}));
  EXPECT_EQ(FindTag("&NN1"), (Texts{"dog"}));
  EXPECT_EQ(FindTag("&noun"), (Texts{"dog", "cats"}));
  EXPECT_EQ(FindTag("**"), (Texts{"hello"}));
  EXPECT_EQ(FindTag("dog barks"), (Texts{"dog barks"})) << "an SGML tag between them is passed over";
  EXPECT_EQ(FindTag("the&NN1"), Texts{});
  Run(Request({"dog&NN1"}, smTag));
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0]->HitStart, static_cast<std::int32_t>(text.find("<w NN1>"))) << "the hit starts at the tag before the word";

  state.ConcordConfig.wTagBefore = false;
  state.ConcordConfig.wTagStarts = {"["};
  state.ConcordConfig.wTagStop = ']';
  UnloadCorpus(state);
  Load({"the [AT0] dog [NN1] barks [VVZ] cat"});
  EXPECT_EQ(FindTag("dog&NN1"), (Texts{"dog"})) << "a start string without a separator keeps the whole tag";
  EXPECT_EQ(FindTag("&VVZ"), (Texts{"barks"}));
  EXPECT_EQ(FindTag("cat"), (Texts{"cat"})) << "the last word stands without a tag";
  EXPECT_EQ(FindTag("**"), (Texts{"cat"}));
}

TEST_F(TagSearchTest, MissingMetaTagEndsTheSearch) {
  state.ConcordConfig.WordTag = 1;
  Load({"the_AT0 dog_NN1"});
  search = std::make_unique<TSearch>(state);
  std::string message;
  ASSERT_EQ(search->Prepare(Request({"&noun"}, smTag), message), esNone);
  state.ConcordConfig.MetaTags.clear();
  try {
    search->Execute(0, [](std::unique_ptr<TConcordItem>) {});
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Unknown meta tag: noun");
  }
  EXPECT_TRUE(host.liveDoubleProgress.empty());
}

TEST_F(SearchTest, ProgressWindowShowsTheSearchAndHonoursCancel) {
  Load({"dog cat"});
  TSearchRec r = Request({"dog"}, smText, sfSkipEqual | sfContextSearch);
  r.SkippingChars = "-";
  r.LeftContext = "dog";
  r.Patterns = {"c?t"};
  r.PatternNames = {"c?t"};
  Run(r, 0, [&](std::unique_ptr<TConcordItem>) {
    ASSERT_EQ(host.liveDoubleProgress.size(), 1u);
    const TDoubleProgressForm& f = *host.liveDoubleProgress[0];
    EXPECT_EQ(f.Caption, "Searching for [c?t]...");
    EXPECT_EQ(f.SubProgressLabel, "Scanning t0.txt...");
    EXPECT_EQ(f.ProgressLabel, "Progress through entire corpus:");
    EXPECT_EQ(f.DetailSearch, "Text");
    EXPECT_EQ(f.DetailIgnoreCase, "ON");
    EXPECT_EQ(f.DetailSentMode, "OFF");
    EXPECT_EQ(f.DetailFreqOfHits, "1");
    EXPECT_TRUE(f.PaddingPanelVisible);
    EXPECT_EQ(f.DetailSkippingChars, "-");
    EXPECT_FALSE(f.HeadingsPanelVisible);
    EXPECT_TRUE(f.ContextsPanelVisible);
    EXPECT_EQ(f.DetailLeftContext, "dog");
  });
  EXPECT_TRUE(host.liveDoubleProgress.empty());

  // Cancel: the hits recorded so far stay, the later texts are not read.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "dog ";
  UnloadCorpus(state);
  Load({many, "dog"});
  host.cancelAfterProcessMessages = host.processMessagesCalls + 3;
  Run(Request({"dog"}));
  EXPECT_TRUE(search->WasCancelled());
  EXPECT_GT(hits.size(), 0u);
  EXPECT_LT(hits.size(), 20000u);
  for (const auto& h : hits) EXPECT_EQ(h->TextIndex, 0);
}

// --- The skip-ahead against the plain token-by-token scan ------------------------------

class Control : public TScanControl {
 public:
  bool PollCancel() override { return false; }
  bool Cancelled() const override { return false; }
  void ReportProgress(std::int32_t, bool) override {}
  void CountAttempts(std::uint32_t) override {}
  void SetSpeedDisplay(bool) override {}
};

TEST(TermSequenceTest, RegularExpressionTermAmongWordsIsRefused) {
  test::TempDir dir;
  TFileSynchroStream stream(dir.WriteFile("t.txt", "x a"), TFileOpenMode::ReadShareWrite);
  ConcordConfig config;
  TBufStream reader(&stream, config.DelimiterSet());
  const TPatternRules rules = MakePatternRules(config, IdentityCaseTable(), smText, false, false, "");
  TSearchContext context("x", rules);
  context.AddTerm(tkRegex, "a");
  context.Attach(reader, nullptr);
  Control control;
  try {
    context.FindNext(control);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Missplaced case.");
  }
}

// Each match as recorded: from its first word (an attempt may begin on the
// delimiters before it) to its end.
std::vector<std::pair<std::int32_t, std::int32_t>> Matches(TSearchContext& context, TBufStream& reader,
                                                           TSynchroStream* source, const std::string& text) {
  Control control;
  std::vector<std::pair<std::int32_t, std::int32_t>> found;
  reader.SetRange(0, reader.Size());
  context.Attach(reader, source);
  while (context.FindNext(control)) {
    std::int32_t start = context.HitStart;
    while (context.DelimiterSet.test(static_cast<unsigned char>(text[start]))) ++start;
    found.emplace_back(start, context.HitEnd);
  }
  return found;
}

// The skip-ahead, through the reader or in chunks from the source (small
// chunks, so that prefixes straddle them), against trying every token.
TEST(LiteralSkipTest, SkippingAheadFindsWhatTheTokenScanFinds) {
  std::mt19937 random(20240611);
  const std::vector<std::string> vocabulary = {"the", "then", "they", "The", "THE", "at", "a",
                                               "cat", "cats", "scat", "colour", "color", "Co"};
  const std::vector<std::string> separators = {" ", "  ", ", ", ".\r\n", "\n", "-", std::string(1, '\0')};
  const std::vector<std::string> patterns = {"the",      "th*", "the cat", "co%o*r", "ca? @ the",
                                             "a @@ the", "t",   "then*",   "cats the"};
  ConcordConfig config;
  config.NonWordChars = ".,";
  LowerCaseTable lower = IdentityCaseTable();
  for (int c = 'A'; c <= 'Z'; ++c) lower[c] = static_cast<unsigned char>(c + 32);
  test::TempDir dir;
  for (int round = 0; round < 60; ++round) {
    std::string text;
    const int words = 1 + static_cast<int>(random() % 3000);
    for (int i = 0; i < words; ++i) {
      text += vocabulary[random() % vocabulary.size()];
      const auto pick = random() % 400;
      text += pick == 0 ? separators[6] : separators[pick % 6];
    }
    const std::string file = dir.WriteFile("r.txt", text);
    TFileSynchroStream stream(file, TFileOpenMode::ReadShareWrite);
    TBufStream reader(&stream, config.DelimiterSet());
    for (bool caseSensitive : {false, true}) {
      TPatternRules fast = MakePatternRules(config, lower, smText, caseSensitive, false, "");
      fast.SkipChunkSize = 3 + round % 40;
      TPatternRules plain = fast;
      plain.AllowLiteralSkip = false;
      for (const std::string& pattern : patterns) {
        SCOPED_TRACE("round " + std::to_string(round) + ", pattern " + pattern + ", case-sensitive " +
                     std::to_string(caseSensitive));
        TSearchContext a(pattern, fast);
        TSearchContext b(pattern, plain);
        const auto expected = Matches(b, reader, nullptr, text);
        EXPECT_EQ(Matches(a, reader, nullptr, text), expected) << "byte by byte";
        EXPECT_EQ(Matches(a, reader, &stream, text), expected) << "in chunks";
      }
    }
  }
}

}  // namespace
}  // namespace korvane
