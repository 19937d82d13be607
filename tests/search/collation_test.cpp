// Comparison in the language's order, with and without case, and collation
// keys that must order exactly as the collator does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "search/language.h"

namespace korvane {
namespace {

constexpr LanguageId kGerman = 0x0407;
constexpr LanguageId kSwedish = 0x041D;
constexpr LanguageId kSpanishTraditional = 0x040A;
constexpr LanguageId kSpanishModern = 0x0C0A;

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Collation, CompareWithAndWithoutCase) {
  struct Case {
    const char* a;
    const char* b;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"\xC4", "\xE4", true, 0},             // Ä = ä without case
      {"\xE4", "\xC4", false, -1},           // with case the lower-case letter comes first
      {"\xC4rger", "\xE4rger", true, 0},
      {"a", "\xE4", true, -1},               // the accent still counts
      {"ABC", "abc", true, 0},
      {"abc", "abd", false, -1},
      {"", "a", false, -1},
      {"\xC4rger", "Auto", false, -1},       // Ä sorts with A, not after z
      {"Zug", "\xE4rgern", false, 1},
  };
  ConcordConfig config;
  LanguageState german(config, kGerman);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(german.CompareStr(c.a, c.b, c.ignoreCase), c.expected);
    EXPECT_EQ(german.CompareStr(c.b, c.a, c.ignoreCase), -c.expected);
  }
}

TEST(Collation, SortsInTheGermanOrder) {
  ConcordConfig config;
  LanguageState german(config, kGerman);
  std::vector<std::string> words = {"Zug", "\xE4rgern", "Auto", "\xC4rger", "apfel", "Arger"};
  std::sort(words.begin(), words.end(),
            [&](const std::string& a, const std::string& b) { return german.CompareStr(a, b, false) < 0; });
  EXPECT_EQ(words, (std::vector<std::string>{"apfel", "Arger", "\xC4rger", "\xE4rgern", "Auto", "Zug"}));
}

TEST(Collation, EachLanguageHasItsOwnOrder) {
  ConcordConfig config;
  LanguageState language(config, kGerman);
  EXPECT_LT(language.CompareStr("\xF6l", "zebra", false), 0) << "German sorts ö with o";
  language.SetLanguage(kSwedish, config);
  EXPECT_GT(language.CompareStr("\xF6l", "zebra", false), 0) << "Swedish sorts ö after z";

  language.SetLanguage(kSpanishModern, config);
  EXPECT_LT(language.CompareStr("chico", "cuna", false), 0);
  language.SetLanguage(kSpanishTraditional, config);
  EXPECT_GT(language.CompareStr("chico", "cuna", false), 0) << "ch is a letter after c";
}

TEST(Collation, ComparesTheCodePagesCharacters) {
  ConcordConfig config;
  LanguageState russian(config, 0x0419);
  // ж (0xE6) comes before я (0xFF) but after а (0xE0); Ж is its capital.
  EXPECT_LT(russian.CompareStr("\xE0", "\xE6", false), 0);
  EXPECT_LT(russian.CompareStr("\xE6", "\xFF", false), 0);
  EXPECT_EQ(russian.CompareStr("\xC6", "\xE6", true), 0);

  LanguageState japanese(config, 0x0411);
  // Full-width ａ (0x82 0x81) sorts with a, before b, although its bytes are
  // greater: pairs are decoded as one character.
  EXPECT_LT(japanese.CompareStr("\x82\x81", "b", false), 0);
  EXPECT_LT(japanese.CompareStr("\x82\xA9", "\x82\xB3", false), 0);  // か before さ
}

// The keys must give the collator's answer for every pair, in both modes,
// including long words (which the comparison converts on the heap) and words
// that differ only by case, accents or length.
TEST(Collation, KeysOrderExactlyAsTheCollator) {
  std::vector<std::string> words = {
      "",        "a",        "A",        "\xE4",      "\xC4",     "ab",      "Ab",
      "abc",     "\xC4rger", "\xE4rger", "Arger",     "arg",      "Auto",    "zebra",
      "Zug",     "stra\xDF" "e", "strasse", "co-op", "coop",   "co op",   "42",
      "4 2",     "\xE9" "cole", "ECOLE",  "\xC9" "COLE", "r\xE9sum\xE9", "resume", "R\xE9sum\xE9"};
  words.push_back(std::string(200, 'x') + "a");
  words.push_back(std::string(200, 'x') + "B");
  words.push_back(std::string(200, 'X') + "a");

  ConcordConfig config;
  LanguageState german(config, kGerman);
  for (bool ignoreCase : {false, true}) {
    std::vector<CollationKey> keys;
    for (const std::string& w : words) keys.push_back(german.SortKey(w, ignoreCase));
    for (std::size_t i = 0; i < words.size(); ++i)
      for (std::size_t j = 0; j < words.size(); ++j)
        ASSERT_EQ(keys[i].Compare(keys[j]), Sign(german.CompareStr(words[i], words[j], ignoreCase)))
            << "\"" << words[i] << "\" / \"" << words[j] << "\" ignoreCase " << ignoreCase;
  }
  EXPECT_TRUE(german.SortKey("\xC4", true) == german.SortKey("\xE4", true));
  EXPECT_TRUE(german.SortKey("\xE4", false) < german.SortKey("\xC4", false));
}

}  // namespace
}  // namespace korvane
