// Tests of TRegExp beyond what the C library can check: the language tables
// as the engine's hooks (word characters, bracket classes, translation), the
// error messages, and Search's contract (start offset and the context before
// it, empty matches, back-references and their step budget).
#include "search/regex/reg_exp.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace korvane {
namespace {

using namespace std::string_literals;

constexpr std::uint8_t kEAcute = 0xE9;       // é in windows-1252
constexpr std::uint8_t kAAcute = 0xE1;       // á
constexpr std::uint8_t kCapitalAAcute = 0xC1;  // Á

// What the language services give for an English windows-1252 setting: the
// ASCII tables plus the accented letters, with the hyphen a letter (it is not
// among the word delimiters) or punctuation (it is).
TRegExpTables LanguageTables(bool hyphenIsDelimiter) {
  TRegExpTables tables = AsciiRegExpTables();
  for (std::uint8_t c : {kEAcute, kAAcute}) {
    tables.CharType[c] = kCtLower;
    tables.WordSyntax[c] = kSyntaxWord;
  }
  tables.CharType[kCapitalAAcute] = kCtUpper;
  tables.WordSyntax[kCapitalAAcute] = kSyntaxWord;
  tables.CharType['-'] = hyphenIsDelimiter ? kCtPunct : kCtUpper | kCtLower;
  tables.WordSyntax['-'] = hyphenIsDelimiter ? 0 : kSyntaxWord;
  return tables;
}

// The translation of ignore case, plus the equal-character group a=á.
TRegExpTables IgnoreCaseTables() {
  TRegExpTables tables = LanguageTables(true);
  for (int c = 'A'; c <= 'Z'; ++c) tables.Translate[c] = static_cast<std::uint8_t>(c - 'A' + 'a');
  for (std::uint8_t c : {kAAcute, kCapitalAAcute}) tables.Translate[c] = 'a';
  return tables;
}

std::string Found(TRegExp& re, std::string_view text, std::int32_t start = 0) {
  const TRegExpMatch m = re.Search(text, start);
  if (!m.Found) return "none";
  return std::to_string(m.Start) + "-" + std::to_string(m.End);
}

TEST(TRegExpTest, WordSyntaxTableDecidesWordCharacters) {
  struct TCase {
    const char* Pattern;
    const char* Text;
    bool HyphenIsDelimiter;
    const char* Expected;
  };
  const TCase cases[] = {
      {"\\bwell\\b", "a well-known fact", false, "none"},
      {"\\bwell\\b", "a well-known fact", true, "2-6"},
      {"\\w+", "a well-known fact", false, "0-1"},
      {"\\w\\w+", "a well-known fact", false, "2-12"},
      {"\\w\\w+", "a well-known fact", true, "2-6"},
      {"\\<known", "well-known", false, "none"},
      {"\\<known", "well-known", true, "5-10"},
      {"well\\>", "well-known", true, "0-4"},
      {"\\bthe\\b", "other the", true, "6-9"},
      {"caf\\w", "caf\xe9", true, "0-4"},
      {"\\W", "caf\xe9!", true, "4-5"},
  };
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, LanguageTables(c.HyphenIsDelimiter));
    EXPECT_EQ(Found(re, c.Text), c.Expected) << c.Pattern << " in " << c.Text;
  }
}

TEST(TRegExpTest, CharacterTypeTableDecidesBracketClasses) {
  struct TCase {
    const char* Pattern;
    std::string Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {"[[:alpha:]]+", "caf\xe9!", "0-4"},
      {"[[:lower:]]+", "CAF\xe9", "3-4"},
      {"[[:xdigit:]]+", "xyz09afAFg", "3-9"},
      {"[[:alnum:]]+", "--a1\xe9.", "0-5"},  // the hyphen is a letter here
      {"[[:punct:]]", "a-b.c", "3-4"},
      {"[[:upper:]][[:lower:]]+", "the Caf\xe9", "4-8"},
      {"[[:blank:]]+", "a \t\nb", "1-3"},
      {"[[:space:]]+", "a \t\nb", "1-4"},
      {"[[:cntrl:]]", "ab\x01", "2-3"},
      {"[[:graph:]]+", " ab\xe9 ", "1-4"},
      // Any class bit but control: a line feed is a space, so printable.
      {"[[:print:]]+", "\x01" "a \n\x01", "1-4"},
      {"[^[:alpha:][:space:]]+", "ab 12.\xe9", "3-6"},
  };
  const TRegExpTables tables = LanguageTables(false);
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, tables);
    EXPECT_EQ(Found(re, c.Text), c.Expected) << c.Pattern;
  }
  TRegExp ascii("[[:alpha:]]+", AsciiRegExpTables());
  EXPECT_EQ(Found(ascii, "caf\xe9"), "0-3") << "without the language's table é is no letter";
}

TEST(TRegExpTest, TranslateTableFoldsCaseAndEqualCharacters) {
  struct TCase {
    const char* Pattern;
    std::string Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {"colou?r", "COLOUR and color", "0-6"},
      {"colou?r", "the Color", "4-9"},
      {"a", "\xe1", "0-1"},                 // a=á
      {"\xe1", "A", "0-1"},
      {"\xc1", "xa", "1-2"},
      {"[a-c]+", "\xc1" "BC", "0-3"},
      {"[^a]", "\xe1" "A\xc1" "b", "3-4"},
      {"[[:upper:]]+", "abC", "0-3"},       // classes fold too
      {"(b)\\1", "bB", "0-2"},              // back-references compare folded
      {"[[=a=]]", "\xe1", "0-1"},
  };
  const TRegExpTables tables = IgnoreCaseTables();
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, tables);
    EXPECT_EQ(Found(re, c.Text), c.Expected) << c.Pattern;
  }
  TRegExp caseSensitive("colou?r", LanguageTables(true));
  EXPECT_EQ(Found(caseSensitive, "COLOUR and color"), "11-16");
}

TEST(TRegExpTest, KeepsTheTablesInForceWhenCompiled) {
  TRegExpTables tables = IgnoreCaseTables();
  TRegExp re("colou?r", tables);
  tables = AsciiRegExpTables();
  EXPECT_EQ(Found(re, "COLOUR"), "0-6");
}

TEST(TRegExpTest, FastmapHoldsEveryByteAMatchMayBeginWith) {
  TRegExp folded("colou?r", IgnoreCaseTables());
  EXPECT_TRUE(folded.FastmapValid());
  EXPECT_TRUE(folded.Fastmap()['c']);
  EXPECT_TRUE(folded.Fastmap()['C']);
  EXPECT_EQ(folded.Fastmap().count(), 2u);

  TRegExp optional("x?(ab|\\bc)", AsciiRegExpTables());
  EXPECT_EQ(optional.Fastmap().count(), 3u);  // x, a, c

  TRegExp backRef("(a*)\\1b", AsciiRegExpTables());
  EXPECT_TRUE(backRef.Fastmap().all());  // \1 may begin with anything
}

TEST(TRegExpTest, CompileErrorsCarryTheEngineMessages) {
  struct TCase {
    std::string Pattern;
    const char* Message;
  };
  const TCase cases[] = {
      {"(ab", "Unmatched ( or \\("},
      {"a(", "Unmatched ( or \\("},
      {"[ab", "Unmatched [ or [^"},
      {"[[:alpha:", "Unmatched [ or [^"},
      {"[", "Invalid regular expression"},
      {"a{1", "Unmatched \\{"},
      {"a{2,1}", "Invalid content of \\{\\}"},
      {"a{}", "Invalid content of \\{\\}"},
      {"a{1,2,3}", "Invalid content of \\{\\}"},
      {"[z-a]", "Invalid range end"},
      {"[a-z-9]", "Invalid range end"},
      {"[[:foo:]]", "Invalid character class name"},
      {"[[.ab.]]", "Invalid collation character"},
      {"ab\\", "Trailing backslash"},
      {"\\1(a)", "Invalid back reference"},
      {"(a)|\\1", "Invalid back reference"},
      {"(a\\1)", "Invalid back reference"},
      {"a{32768}", "Regular expression too big"},
      {std::string(2000, '(') + std::string(2000, ')'), "Regular expression too big"},
      {"(a{1000}){1000}", "Regular expression too big"},
  };
  for (const TCase& c : cases) {
    try {
      TRegExp re(c.Pattern, AsciiRegExpTables());
      ADD_FAILURE() << c.Pattern << " compiled";
    } catch (const ERegExp& e) {
      EXPECT_STREQ(e.what(), c.Message) << c.Pattern;
    }
  }
}

TEST(TRegExpTest, OddButValidPatterns) {
  struct TCase {
    const char* Pattern;
    const char* Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {"a)", "xa)", "1-3"},     // an unmatched ")" is an ordinary character
      {"*a", "xa", "1-2"},      // an operator with nothing before it is skipped
      {"^*a", "a", "0-1"},
      {"{2}a", "2}a", "0-3"},
      {"a{,2}", "aaa", "0-2"},
      {"[]a]+", "x]a]", "1-4"},
      {"[^]a]", "]ab", "2-3"},
      {"[a-]+", "x-a-", "1-4"},
      {"a|b|", "cb", "1-2"},
      {"\\.\\n", "a.n", "1-3"},  // escaped ordinary characters stand for themselves
  };
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, AsciiRegExpTables());
    EXPECT_EQ(Found(re, c.Text), c.Expected) << c.Pattern;
  }
}

TEST(TRegExpTest, SearchFindsTheLeftmostLongestNonEmptyMatch) {
  struct TCase {
    const char* Pattern;
    std::string Text;
    std::int32_t Start;
    const char* Expected;
  };
  const TCase cases[] = {
      {"a|ab|abc", "xabcd", 0, "1-4"},
      {"(a|ab)(c|bcd)", "abcd", 0, "0-4"},
      {"x*", "abc", 0, "none"},  // only the empty string: never a hit
      {"^|$|\\b", "a b", 0, "none"},
      {"", "abc", 0, "none"},
      {"a*", "bbaa", 0, "2-4"},   // an empty match first does not hide a later one
      {"(the)?", "a the", 0, "2-5"},
      {"\\bb", "ab b", 1, "3-4"}, // bytes before start are context
      {"^b", "ab", 1, "none"},
      {"^b", "a\nb", 2, "2-3"},   // ^ and $ also match at line feeds
      {"a$", "a\nb", 0, "0-1"},
      {"\\`a", "a\na", 1, "none"},
      {"a\\'", "a\na", 0, "2-3"},
      {"a.b", "a\nb", 0, "0-3"},  // the dot matches a line feed
      {"a.b", "a\0b"s, 0, "none"},  // but not the zero byte
      {"[^x]+", "a\0b"s, 0, "0-3"},
      // Conditions inside repeated groups.
      {"a(|\\'.*a){2}", "aaaa", 0, "0-1"},
      {"b|b*(\\<.)+a", "b_A\nA.bba", 0, "0-1"},
      {"(\\<\\w+\\W*)+", "-ab cd_e, f", 0, "1-11"},
      {"(^a\n?)+", "ba\na\nab", 0, "3-6"},
      {"(x\\b|\\By)+", "xyxy yx", 0, "1-2"},
      {"(\\By|x\\b)+", "xyyx", 0, "1-4"},
      {"b", "abc", 5, "none"},
      {"b", "abc", -3, "1-2"},
  };
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, AsciiRegExpTables());
    EXPECT_EQ(Found(re, c.Text, c.Start), c.Expected) << c.Pattern << " from " << c.Start;
  }
}

TEST(TRegExpTest, RepeatedSearchesWalkThroughATextAsTheScanDoes) {
  const std::string text = "The other theme: the end, then THE.";
  TRegExp re("\\bthe\\w*", IgnoreCaseTables());
  std::string hits;
  for (TRegExpMatch m = re.Search(text, 0); m.Found; m = re.Search(text, m.End))
    hits += text.substr(m.Start, m.End - m.Start) + "|";
  EXPECT_EQ(hits, "The|theme|the|then|THE|");
}

TEST(TRegExpTest, BackReferences) {
  struct TCase {
    const char* Pattern;
    const char* Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {"\\b(\\w+) \\1\\b", "it is the the end", "6-13"},
      {"(a|b)\\1", "abba", "1-3"},
      {"(a*)b\\1", "aabaa aba", "0-5"},
      {"(x)?y\\1", "ay", "none"},      // a group that took no part matches nothing
      {"(x)?y\\1", "xyx", "0-3"},
      {"((a?)x)?\\2y", "y", "none"},
      {"(a+)(b+)\\2\\1", "aabbbbaa ab", "0-8"},
  };
  for (const TCase& c : cases) {
    TRegExp re(c.Pattern, AsciiRegExpTables());
    EXPECT_TRUE(re.HasBackRefs());
    EXPECT_EQ(Found(re, c.Text), c.Expected) << c.Pattern;
  }
}

TEST(TRegExpTest, PathologicalBackReferenceSearchEndsInAnInternalError) {
  TRegExpLimits limits;
  limits.BackRefSteps = 100'000;
  TRegExp re("((a*)*)*\\1c", AsciiRegExpTables(), limits);
  const std::string text = std::string(60, 'a') + "xc";
  try {
    re.Search(text, 0);
    ADD_FAILURE() << "the search finished";
  } catch (const ERegExp& e) {
    EXPECT_STREQ(e.what(), "Internal regexp error.");
  }
}

}  // namespace
}  // namespace korvane
