// Compiling patterns into terms and matching one term against one token.
#include "search/search_context.h"

#include <gtest/gtest.h>

#include "app/errors.h"

namespace korvane {
namespace {

LowerCaseTable AsciiLower() {
  LowerCaseTable table = IdentityCaseTable();
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c - 'A' + 'a');
  return table;
}

CharSet SetOf(const std::string& chars) {
  CharSet set;
  for (unsigned char c : chars) set.set(c);
  return set;
}

TEST(WordPatternTest, WildcardsSkippingAndEqualCharacters) {
  const TMatchTables plain(CharSet{}, {}, CharSet{}, '*', '%', '?');
  const TMatchTables skipping(SetOf("-="), {}, CharSet{}, '*', '%', '?');
  const TMatchTables equal(CharSet{}, {SetOf("e\xe9\xe8"), SetOf("a\xe1")}, CharSet{}, '*', '%', '?');
  const TMatchTables otherWildcards(CharSet{}, {}, CharSet{}, '+', '~', '#');
  struct Case {
    const TMatchTables* tables;
    const char* pattern;
    std::string word;
    bool matches;
  } cases[] = {
      {&plain, "colo%r", "color", true},
      {&plain, "colo%r", "colour", true},
      {&plain, "colo%r", "colouur", false},
      {&plain, "colo%r", "colr", false},
      {&plain, "thr?w", "threw", true},
      {&plain, "thr?w", "throw", true},
      {&plain, "thr?w", "thrw", false},
      {&plain, "thr?w", "thrown", false},
      {&plain, "a*", "a", true},
      {&plain, "a*", "apple", true},
      {&plain, "a*", "banana", false},
      {&plain, "*", "anything", true},
      {&plain, "*ing", "singing", true},
      {&plain, "*ing*", "singings", true},
      {&plain, "s*g", "sing", true},
      {&plain, "s*g", "sings", false},
      {&plain, "cat%", "cat", true},
      {&plain, "cat%", "cats", true},
      {&plain, "cat%", "catss", false},
      {&plain, "cat*%", "cat", true},
      {&plain, "cat?", "cat", false},
      {&plain, "ab%%", "abcd", true},
      {&plain, "ab%%", "abcde", false},
      {&plain, "cat", "cats", false},
      {&plain, "cats", "cat", false},
      // Skipping characters of the word are stepped over, those of the
      // pattern are compared like any other.
      {&skipping, "icecream", "ice-cream", true},
      {&skipping, "icecream", "ice=cream-", true},
      {&skipping, "ice-cream", "ice-cream", false},
      {&skipping, "ice*", "ice-cream", true},
      {&skipping, "cat%", "cats-", true},
      {&skipping, "cat%", "cat-", true},
      {&skipping, "cat?", "cat-s", true},
      {&plain, "icecream", "ice-cream", false},
      {&equal, "caf\xe9", "cafe", true},
      {&equal, "cafe", "caf\xe8", true},
      {&equal, "cafe", "caf\xe1", false},
      {&equal, "\xe1*", "apple", true},
      {&otherWildcards, "colo~r", "colour", true},
      {&otherWildcards, "thr#w", "threw", true},
      {&otherWildcards, "a+", "apple", true},
      {&otherWildcards, "a*", "apple", false},
      // Only the first 255 characters of a longer word take part.
      {&plain, "a*b", std::string(300, 'a') + "b", false},
      {&plain, "a*", std::string(300, 'a') + "b", true},
      {&plain, "a*b", std::string(254, 'a') + "b", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchWordPattern(*c.tables, c.word, c.pattern), c.matches)
        << c.pattern << " against " << c.word;
}

struct TermView {
  TTermKind kind;
  std::string text;
  bool operator==(const TermView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TermView& t) {
  return out << int(t.kind) << ":" << t.text;
}

std::vector<TermView> TermsOf(const TSearchContext& context) {
  std::vector<TermView> terms;
  for (const TTerm& t : context.Terms) terms.push_back({t.Kind, t.Text});
  return terms;
}

class CompileTest : public ::testing::Test {
 protected:
  ConcordConfig config;

  TPatternRules Rules(TSearchMode mode, bool caseSensitive = false) {
    return MakePatternRules(config, AsciiLower(), mode, caseSensitive, false, "");
  }
};

TEST_F(CompileTest, TextPatternsBecomeWordAndWordCountTerms) {
  struct Case {
    const char* pattern;
    std::vector<TermView> terms;
  } cases[] = {
      {"colour", {{tkWord, "colour"}}},
      {"Made  UP\tMind", {{tkWord, "made"}, {tkWord, "up"}, {tkWord, "mind"}}},
      {"  leading", {{tkWord, "leading"}}},
      {"made @ mind", {{tkWord, "made"}, {tkSkipWords, "@"}, {tkWord, "mind"}}},
      {"a@b", {{tkWord, "a"}, {tkSkipWords, "@"}, {tkWord, "b"}}},
      {"made @@ mind", {{tkWord, "made"}, {tkSkipAnyWords, "@@"}, {tkWord, "mind"}}},
      {"a@@@@b", {{tkWord, "a"}, {tkSkipAnyWords, "@@"}, {tkWord, "b"}}},
      {"a @ @ b", {{tkWord, "a"}, {tkSkipWords, "@"}, {tkSkipWords, "@"}, {tkWord, "b"}}},
      {"", {}},
  };
  const TPatternRules rules = Rules(smText);
  for (const Case& c : cases) {
    const TSearchContext context(c.pattern, rules);
    EXPECT_EQ(TermsOf(context), c.terms) << c.pattern;
  }
  const TPatternRules sensitive = Rules(smText, true);
  EXPECT_EQ(TermsOf(TSearchContext("Colour", sensitive)), (std::vector<TermView>{{tkWord, "Colour"}}));
}

TEST_F(CompileTest, TagTokensBecomePairsInTheOrderOfTheTags) {
  config.WordTag = 1;
  config.MetaTags = {{"Noun", {"NN1", "NN2"}}};
  struct Case {
    const char* pattern;
    std::vector<TermView> terms;
  } cases[] = {
      {"run&", {{tkWord, "run"}, {tkTag, "*"}}},
      {"&NN1", {{tkWord, "*"}, {tkTag, "nn1"}}},
      {"run&VVN", {{tkWord, "run"}, {tkTag, "vvn"}}},
      {"dog", {{tkWord, "dog"}, {tkTag, "*"}}},
      {"**", {{tkWord, "*"}, {tkTag, ""}}},
      {"&noun", {{tkWord, "*"}, {tkMetaTag, "noun"}}},
      {"&NOUN", {{tkWord, "*"}, {tkMetaTag, "noun"}}},
      {"&noun*", {{tkWord, "*"}, {tkTag, "noun*"}}},
      {"a&b&c", {{tkWord, "a"}, {tkTag, "b&c"}}},
      {"big @ dog&NN1",
       {{tkWord, "big"}, {tkTag, "*"}, {tkSkipWords, "@"}, {tkWord, "dog"}, {tkTag, "nn1"}}},
  };
  {
    const TPatternRules rules = Rules(smTag);
    for (const Case& c : cases) EXPECT_EQ(TermsOf(TSearchContext(c.pattern, rules)), c.terms) << c.pattern;
  }
  // Tags outside their words and before them: the tag term comes first.
  config.WordTag = 2;
  config.wTagBefore = true;
  {
    const TPatternRules rules = Rules(smTag);
    EXPECT_EQ(TermsOf(TSearchContext("dog&NN1", rules)),
              (std::vector<TermView>{{tkTag, "nn1"}, {tkWord, "dog"}}));
  }
  // Embedded tags have no "before": the word stays first.
  config.WordTag = 1;
  {
    const TPatternRules rules = Rules(smTag);
    EXPECT_EQ(TermsOf(TSearchContext("dog&NN1", rules)),
              (std::vector<TermView>{{tkWord, "dog"}, {tkTag, "nn1"}}));
  }
}

TEST_F(CompileTest, TagMatchStripsQuotesAndFollowsMetaTags) {
  config.WordTag = 1;
  config.MetaTags = {{"noun", {"NN1", "NN2", "NP*"}}};
  const TPatternRules rules = Rules(smTag);
  TSearchContext context("&noun dog&nn% &", rules);
  ASSERT_EQ(context.TermCount(), 6);
  const TTerm& meta = context.Terms[1];
  const TTerm& nn = context.Terms[3];
  const TTerm& any = context.Terms[5];
  struct Case {
    const TTerm* term;
    const char* tag;
    bool matches;
  } cases[] = {
      {&meta, "nn1", true}, {&meta, "np0", true}, {&meta, "\"nn2\"", true}, {&meta, "vvn", false},
      {&nn, "nn", true},    {&nn, "nn1", true},   {&nn, "\"nn1", true},     {&nn, "nn12", false},
      {&any, "vvn", true},  {&any, "", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(context.MatchTag(c.tag, *c.term), c.matches) << c.term->Text << " against " << c.tag;

  // The meta tag is removed after the pattern was compiled.
  context.ResolveMetaTags({});
  try {
    context.MatchTag("nn1", meta);
    FAIL() << "a missing meta tag must end the search";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Unknown meta tag: noun");
  }
}

TEST_F(CompileTest, SkippingCharactersAreFoldedAndLeaveTheDelimiters) {
  config.NonWordChars = ".,-";
  const TPatternRules rules = MakePatternRules(config, AsciiLower(), smText, false, true, "-X");
  EXPECT_TRUE(rules.SkipSet.test('-'));
  EXPECT_TRUE(rules.SkipSet.test('x'));
  EXPECT_FALSE(rules.SkipSet.test('X'));
  EXPECT_FALSE(rules.DelimiterSet.test('-')) << "a skipping character is part of a word";
  EXPECT_TRUE(rules.DelimiterSet.test(','));
  EXPECT_TRUE(rules.DelimiterSet.test('*')) << "the character wildcards end words";
  EXPECT_FALSE(rules.DelimiterSet.test('@')) << "the word-count wildcard does not";
  const TPatternRules without = MakePatternRules(config, AsciiLower(), smText, false, false, "-X");
  EXPECT_TRUE(without.SkipSet.none());
  EXPECT_TRUE(without.DelimiterSet.test('-'));
}

}  // namespace
}  // namespace korvane
