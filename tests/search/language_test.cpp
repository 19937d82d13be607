// The language table, code pages, the user's default language, the code
// page tables (classes and case), the character tables of the search,
// double-byte characters and the "Language" key.
#include "search/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/errors.h"
#include "app/ini_file.h"

namespace korvane {
namespace {

constexpr LanguageId kGerman = 0x0407;
constexpr LanguageId kRussian = 0x0419;
constexpr LanguageId kPolish = 0x0415;
constexpr LanguageId kJapanese = 0x0411;
constexpr LanguageId kThai = 0x041E;

TEST(LanguageTable, NamesAndIdentifiers) {
  std::set<std::uint16_t> ids;
  for (const TLangMap& entry : kLanguageTable) ids.insert(entry.Id);
  EXPECT_EQ(ids.size(), kLanguageTable.size()) << "identifiers must be unique";

  struct Case {
    LanguageId id;
    const char* name;
  };
  for (const Case& c : {Case{0x0407, "German (Standard)"}, Case{0x0409, "English (United States)"},
                        Case{0x040A, "Spanish (Traditional Sort)"}, Case{0x0812, "Korean (JoHab)"},
                        Case{0x042D, "Basque"}, Case{0x0C1A, "Serbian"}, Case{0x081A, "Serbian"}}) {
    EXPECT_EQ(LanguageName(c.id), c.name);
  }
  EXPECT_EQ(LanguageIdOfName("Serbian"), 0x0C1Au) << "the first of the two entries";
  EXPECT_EQ(LanguageIdOfName("Norwegian (Nynorsk)"), 0x0814u);
  EXPECT_EQ(LanguageIdOfName("german (standard)"), 0u) << "names match exactly";
  EXPECT_EQ(LanguageName(0x0401), "") << "Arabic is not offered";
}

TEST(LanguageTable, DoubleByteFlagAndCodePages) {
  struct Case {
    LanguageId id;
    bool doubleByte;
    std::uint32_t codePage;
  };
  const Case cases[] = {
      {0x0409, false, 1252}, {0x0407, false, 1252}, {0x040A, false, 1252}, {0x0415, false, 1250},
      {0x0405, false, 1250}, {0x041A, false, 1250}, {0x081A, false, 1250}, {0x0C1A, false, 1251},
      {0x0419, false, 1251}, {0x0402, false, 1251}, {0x0408, false, 1253}, {0x041F, false, 1254},
      {0x0426, false, 1257}, {0x041E, true, 874},   {0x0411, true, 932},   {0x0804, true, 936},
      {0x1004, true, 936},   {0x0412, true, 949},   {0x0812, true, 949},   {0x0404, true, 950},
      {0x0C04, true, 950},   {0x0401, false, 1252},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(IsDoubleByteLanguage(c.id), c.doubleByte);
    EXPECT_EQ(CodePageOfLanguage(c.id), c.codePage);
  }

  const std::pair<int, std::uint32_t> charsets[] = {{0, 1252},   {204, 1251}, {238, 1250},
                                                    {161, 1253}, {162, 1254}, {186, 1257},
                                                    {1, 932},    {128, 932}};
  for (auto [charset, codePage] : charsets) EXPECT_EQ(CodePageOfCharset(charset, 932), codePage);
}

TEST(LanguageTable, UserDefaultFromTheEnvironment) {
  struct Case {
    const char* lcAll;
    const char* lang;
    LanguageId expected;
  };
  const Case cases[] = {
      {nullptr, "de_DE.UTF-8", 0x0407},
      {"", "fr_CA.ISO-8859-1", 0x0C0C},
      {"ru_RU.UTF-8", "de_DE.UTF-8", 0x0419},  // LC_ALL wins
      {"C.UTF-8", "de_DE.UTF-8", 0x0409},      // a set LC_ALL wins even when it is "C"
      {nullptr, "POSIX", 0x0409},
      {nullptr, nullptr, 0x0409},
      {nullptr, "de_BE.UTF-8", 0x0407},  // no identifier of its own: same language and script
      {nullptr, "sr_RS", 0x0C1A},        // Serbian is written in Cyrillic by default
      {nullptr, "pl_PL@euro", 0x0415},
      {nullptr, "ar_EG.UTF-8", 0x0409},  // not offered
      {nullptr, "xx_YY", 0x0409},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lang ? c.lang : "(null)");
    EXPECT_EQ(UserDefaultLanguage(c.lcAll, c.lang), c.expected);
  }
}

TEST(LanguageTable, InstalledLanguagesAreTableNamesOnce) {
  std::vector<std::string> installed = InstalledLanguages();
  for (const char* name : {"German (Standard)", "Russian", "Polish", "Japanese", "Thai", "Serbian"})
    EXPECT_NE(std::find(installed.begin(), installed.end(), name), installed.end()) << name;
  EXPECT_EQ(std::count(installed.begin(), installed.end(), "Serbian"), 1);
  for (const std::string& name : installed) EXPECT_NE(LanguageIdOfName(name), 0u) << name;
}

// --- Code page tables --------------------------------------------------------

TEST(CodePageTables, ClassBitsFromTheCharacterOfEachByte) {
  struct Case {
    std::uint32_t codePage;
    unsigned char byte;
    std::uint8_t bits;
    const char* what;
  };
  const std::uint8_t upperHex = kCtUpper | kCtXDigit;
  const Case cases[] = {
      {1252, 'A', upperHex, "A"},
      {1252, 'g', kCtLower, "g"},
      {1252, '7', kCtDigit | kCtXDigit, "7"},
      {1252, ' ', kCtSpace | kCtBlank, "space"},
      {1252, '\t', kCtSpace | kCtBlank | kCtCntrl, "tab"},
      {1252, '\n', kCtSpace | kCtCntrl, "line feed"},
      {1252, 0x01, kCtCntrl, "control"},
      {1252, '.', kCtPunct, "full stop"},
      {1252, '$', kCtPunct, "dollar"},
      {1252, 0xC4, kCtUpper, "A umlaut"},
      {1252, 0xE4, kCtLower, "a umlaut"},
      {1252, 0xDF, kCtLower, "sharp s"},
      {1252, 0x8A, kCtUpper, "S caron"},
      {1252, 0xA0, kCtSpace | kCtBlank, "no-break space"},
      {1251, 0xC0, kCtUpper, "Cyrillic A"},
      {1251, 0xE0, kCtLower, "Cyrillic a"},
      {1251, 0xA8, kCtUpper, "Cyrillic IO"},
      {1251, 0xB8, kCtLower, "Cyrillic io"},
      {1251, 0xB9, kCtPunct, "numero sign"},
      {1250, 0xA3, kCtUpper, "L stroke"},
      {1250, 0xB3, kCtLower, "l stroke"},
      {1250, 0xA5, kCtUpper, "A ogonek"},
      {1250, 0xB9, kCtLower, "a ogonek"},
      {1253, 0xC1, kCtUpper, "Greek Alpha"},
      {874, 0xA1, kCtLetter, "Thai ko kai, a letter without case"},
      {874, 0xF1, kCtDigit, "Thai digit one"},
      {932, 0x82, kCtLetter, "Shift-JIS lead byte"},
      {932, 0xB1, kCtLetter, "half-width katakana a"},
  };
  std::map<std::uint32_t, CodePageTables> tables;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!tables.count(c.codePage)) tables.emplace(c.codePage, BuildCodePageTables(c.codePage));
    EXPECT_EQ(+tables.at(c.codePage).Classes[c.byte], +c.bits);
  }
}

TEST(CodePageTables, UnknownCodePageIsRefused) {
  EXPECT_THROW(BuildCodePageTables(12345), Exception);
}

// --- Language state ------------------------------------------------------------

TEST(LanguageState, LowerCasesThroughTheCodePageTables) {
  struct Case {
    LanguageId language;
    std::string text;
    std::string lower;
    const char* what;
  };
  const Case cases[] = {
      {kGerman, "\xC4RGER", "\xE4rger", "Ärger"},
      {kGerman, "\xC9" "COLE", "\xE9" "cole", "ÉCOLE"},
      {kGerman, "\x8A\x9F\xDF", "\x9A\xFF\xDF", "Š Ÿ ß (ß has no single-byte capital)"},
      {kRussian, "\xCC\xCE\xD1\xCA\xC2\xC0 \xA8", "\xEC\xEE\xF1\xEA\xE2\xE0 \xB8", "МОСКВА Ё"},
      {kPolish, "\xA3\xD3" "D\x8F", "\xB3\xF3" "d\x9F", "ŁÓDŹ"},
      {0x041F, "I\xDD", "ii", "Turkish I and dotted İ"},
      {kJapanese, "\x83\x41" "BC", "\x83\x41" "bc", "katakana a: its trail byte 'A' stays"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConcordConfig config;
    LanguageState language(config, c.language);
    EXPECT_EQ(language.LowerCaseCopy(c.text), c.lower);
    std::string inPlace = c.text;
    language.LowerCaseInPlace(inPlace);
    EXPECT_EQ(inPlace, c.lower);
  }
}

TEST(LanguageState, SingleBytesAndCounterparts) {
  ConcordConfig config;
  LanguageState language(config, kGerman);
  EXPECT_EQ(language.LowerChar(0xC4), 0xE4);
  EXPECT_EQ(language.UpperChar(0xE4), 0xC4);
  EXPECT_EQ(language.UpperChar(0xFF), 0x9F) << "ÿ has its capital elsewhere in the code page";
  EXPECT_EQ(language.UpperChar(0xB5), 0xB5) << "the capital of µ is not in the code page";
  EXPECT_EQ(language.CaseCounterpart('A'), 'a');
  EXPECT_EQ(language.CaseCounterpart(0xE9), 0xC9);
  EXPECT_EQ(language.CaseCounterpart('7'), 0);
  EXPECT_EQ(language.CaseCounterpart('.'), 0) << "a delimiter is punctuation only";
  EXPECT_TRUE(language.IsUpperCaseLetter('D'));
  EXPECT_TRUE(language.IsUpperCaseLetter(0xC4));
  EXPECT_FALSE(language.IsUpperCaseLetter('d'));
  EXPECT_FALSE(language.IsUpperCaseLetter('$')) << "punctuation counts as a letter, not as a capital";
}

TEST(LanguageState, DelimitersDecideWhatIsPunctuation) {
  ConcordConfig config;
  LanguageState language(config, kGerman);
  // Not a delimiter: the apostrophe belongs to words ("don't").
  EXPECT_EQ(+language.CharTypes()['\''], +kCtLetter);
  EXPECT_EQ(+language.WordSyntax()['\''], +kSyntaxWord);

  config.NonWordChars += "'";
  language.RebuildCharTables(config);
  EXPECT_EQ(+language.CharTypes()['\''], +kCtPunct);
  EXPECT_EQ(+language.WordSyntax()['\''], 0);

  config.NonWordChars = "a";  // any byte listed becomes punctuation only
  language.RebuildCharTables(config);
  EXPECT_EQ(+language.CharTypes()['a'], +kCtPunct);
  EXPECT_EQ(+language.CharTypes()['.'], +kCtLetter) << "no longer a delimiter";
  EXPECT_EQ(+language.WordSyntax()['_'], +kSyntaxWord);
  EXPECT_EQ(+language.WordSyntax()['5'], kSyntaxWord | kSyntaxDigit);
  EXPECT_EQ(+language.WordSyntax()[' '], +kSyntaxSpace);
  EXPECT_EQ(+language.WordSyntax()['\n'], +kSyntaxSpace);
}

CharSet Group(std::string_view members) {
  CharSet set;
  for (char c : members) set.set(static_cast<unsigned char>(c));
  return set;
}

TEST(LanguageState, TranslateTableFoldsCaseAndEqualCharacters) {
  const unsigned char A = 'A', a = 'a', AAcute = 0xC1, aAcute = 0xE1, AUml = 0xC4, aUml = 0xE4;
  struct Case {
    bool ignoreCase;
    bool useEqual;
    CharSetArray groups;
    std::vector<std::pair<unsigned char, unsigned char>> expected;
    const char* what;
  };
  const Case cases[] = {
      {false, false, {Group("a\xE1")}, {{A, A}, {AAcute, AAcute}, {aAcute, aAcute}},
       "neither switch: identity"},
      {true, false, {}, {{A, a}, {AUml, aUml}, {aUml, aUml}, {'.', '.'}}, "case only"},
      {true, true, {Group("a\xE1")}, {{A, a}, {a, a}, {AAcute, a}, {aAcute, a}, {AUml, aUml}},
       "a=á under ignore case"},
      {false, true, {Group("a\xE1")}, {{A, A}, {a, a}, {AAcute, AAcute}, {aAcute, a}},
       "a=á with case"},
      {true, true, {Group("\xC1" "A")}, {{A, a}, {a, a}, {AAcute, a}, {aAcute, a}},
       "a group in capitals has a lower-case representative under ignore case"},
      {false, true, {Group("ab"), Group("bc")}, {{'a', 'a'}, {'b', 'b'}, {'c', 'b'}},
       "the last group wins"},
      {true, true, {Group("1-")}, {{'1', '-'}, {'-', '-'}, {0, 0}},
       "members without case leave byte 0 alone"},
  };
  ConcordConfig config;
  LanguageState language(config, kGerman);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    config.IgnoreCase = c.ignoreCase;
    config.UseSkipEqualChars = c.useEqual;
    config.EqualCharSets = c.groups;
    language.RebuildTranslateTable(config);
    for (auto [from, to] : c.expected)
      EXPECT_EQ(+language.TranslateTable()[from], +to) << "byte " << +from;
  }
}

TEST(LanguageState, DoubleByteCharacters) {
  ConcordConfig config;
  LanguageState language(config, kJapanese);
  EXPECT_TRUE(language.DoubleByte());
  EXPECT_EQ(language.CodePage(), 932u);
  const std::string text = "\x93\xFA\x96\x7Bx\x82";  // 日本 x, then a lead byte at the end
  EXPECT_TRUE(language.IsDoubleByteLead(text, 0));
  EXPECT_TRUE(language.IsDoubleByteLead(text, 2));
  EXPECT_FALSE(language.IsDoubleByteLead(text, 4));
  EXPECT_FALSE(language.IsDoubleByteLead(text, 5)) << "no trail byte follows";
  EXPECT_FALSE(language.IsDoubleByteLead(std::string("\x82\0", 2), 0)) << "a zero is no trail";
  EXPECT_EQ(language.ToUnicode(text), u"\u65E5\u672Cx\uFFFD");

  for (LanguageId other : {kGerman, kThai}) {
    language.SetLanguage(other, config);
    EXPECT_EQ(language.DoubleByte(), other == kThai) << "Thai carries the flag";
    EXPECT_FALSE(language.IsDoubleByteLead(text, 0)) << "a single-byte code page has no lead bytes";
  }
  language.SetLanguage(0x0412, config);  // Korean
  EXPECT_TRUE(language.IsDoubleByteLead("\xB0\xA1", 0));
  EXPECT_EQ(language.ToUnicode("\xB0\xA1"), u"\uAC00");
}

TEST(LanguageState, AFailedChangeKeepsEverything) {
  ConcordConfig config;
  config.NonWordChars += "'";
  LanguageState language(config, kRussian);
  const ByteTable types = language.CharTypes();
  EXPECT_THROW(language.SetLanguage(0xFFFF, config), Exception);
  EXPECT_EQ(language.CurrentLanguage(), kRussian);
  EXPECT_EQ(language.CodePage(), 1251u);
  EXPECT_EQ(language.CharTypes(), types);
  EXPECT_EQ(language.LowerChar(0xC0), 0xE0);
}

TEST(LanguageState, ChoosingALanguageByName) {
  ConcordConfig config;
  LanguageState language(config, kGerman);
  EXPECT_FALSE(language.SelectLanguage("German (Standard)", config)) << "the same: the corpus stays";
  EXPECT_FALSE(language.SelectLanguage("", config)) << "nothing selected";
  EXPECT_EQ(language.CurrentLanguage(), kGerman);
  EXPECT_TRUE(language.SelectLanguage("Russian", config));
  EXPECT_EQ(language.CurrentLanguage(), kRussian);
  EXPECT_EQ(language.CodePage(), 1251u);
}

TEST(LanguageState, ConfigurationKey) {
  struct Case {
    const char* stored;  // nullptr: no key
    LanguageId expected;
  };
  const Case cases[] = {
      {nullptr, kGerman},    // missing: the user's default
      {"1049", kRussian},    // 0x0419
      {"1025", kGerman},     // Arabic is not in the table
      {"banana", kGerman},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    ConcordConfig config;
    LanguageState language(config, kGerman);
    language.SetLanguage(kPolish, config);
    IniFile ini("unused.ini");
    if (c.stored) ini.WriteString("GeneralConfiguration", "Language", c.stored);
    config.NonWordChars = ".";
    language.Read(ini, config);
    EXPECT_EQ(language.CurrentLanguage(), c.expected);
    EXPECT_EQ(language.CodePage(), CodePageOfLanguage(c.expected));
    EXPECT_EQ(+language.CharTypes()[','], +kCtLetter) << "tables follow the settings read before";
  }

  ConcordConfig config;
  LanguageState language(config, kGerman);
  language.SetLanguage(kThai, config);
  IniFile ini("unused.ini");
  language.Write(ini);
  EXPECT_EQ(ini.ReadString("GeneralConfiguration", "Language", ""), "1054");
}

}  // namespace
}  // namespace korvane
