// Sentence delimiters, the abbreviation test, the exceptions list with its
// configuration sections and files, and the exceptions editor.
#include "search/sentence_settings.h"

#include <gtest/gtest.h>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/scripted_host.h"
#include "search/language.h"
#include "search/sentence_exceptions_editor.h"
#include "temp_dir.h"

namespace korvane {
namespace {

constexpr LanguageId kGerman = 0x0407;
constexpr LanguageId kPolish = 0x0415;

class SentenceTest : public ::testing::Test {
 protected:
  SentenceTest() : language(config, kGerman) {}
  ConcordConfig config;
  LanguageState language;
  SentenceSettings settings;
};

TEST_F(SentenceTest, DelimitersAreStoredWithoutSpaces) {
  EXPECT_EQ(settings.SentDelimiters(), ".!?");
  settings.SetSentDelimiters(". ! ;");
  EXPECT_EQ(settings.SentDelimiters(), ".!;");
  for (unsigned char c : {'.', '!', ';'}) EXPECT_TRUE(settings.IsSentenceDelimiter(c)) << c;
  for (unsigned char c : {'?', ' ', ','}) EXPECT_FALSE(settings.IsSentenceDelimiter(c)) << c;
}

TEST_F(SentenceTest, ExactlyOneAbbreviationRuleIsInForce) {
  settings.SetExceptions({"etc", "dr", "e.g", "\xFC" "bers"}, language);
  struct Case {
    const char* word;  // with its delimiter
    bool smart;
    bool listed;
  };
  const Case cases[] = {
      {"Dr.", true, true},      {"U.S.", true, false},   {"etc.", false, true},
      {"ETC.", true, true},    {"D.", true, false},     {"\xC4" "g.", true, false},
      {"Prof.", false, false},  {"Dr!", false, false},   {"etc!", false, false},
      {"e.g.", false, true},    {"E.G.", true, true},   {"$1.", false, false},
      {".", false, false},      {"", false, false},      {"etcx.", false, false},
      {"\xDC" "BERS.", false, true},  {"\xDC" "b.", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    settings.SmartAbbrDetect = true;
    EXPECT_EQ(settings.IsAbbreviation(c.word, language), c.smart);
    settings.SmartAbbrDetect = false;
    EXPECT_EQ(settings.IsAbbreviation(c.word, language), c.listed);
  }
  settings.ClearExceptions();
  EXPECT_FALSE(settings.IsAbbreviation("Dr.", language)) << "nothing listed";
  settings.AddException(std::string(100, 'x'), language);
  EXPECT_TRUE(settings.IsAbbreviation(std::string(100, 'X') + ".", language));
}

TEST_F(SentenceTest, ExceptionsAreNormalisedSortedAndUnique) {
  struct Case {
    const char* typed;
    int index;  // -1: not added
  };
  const Case cases[] = {{"E.g.", 0}, {"  Etc. ", 1}, {"etc", -1}, {".", -1}, {"   ", -1}, {"al.", 0}};
  for (const Case& c : cases) EXPECT_EQ(settings.AddException(c.typed, language), c.index) << c.typed;
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"al", "e.g", "etc"}));

  settings.RemoveException("e.g");
  settings.RemoveException("absent");
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"al", "etc"}));

  LanguageState polish(config, kPolish);
  EXPECT_EQ(NormaliseException("\xA3\xD3" "D\x8F.", polish), "\xB3\xF3" "d\x9F");  // ŁÓDŹ. -> łódź
}

TEST_F(SentenceTest, ConfigurationSections) {
  IniFile ini("unused.ini");
  const std::vector<std::string> stored = {" Etc. ", "DR", "Dr", "\xC4RA"};
  WriteList(ini, "SentDelimitersExcepts", "Word", stored);
  ini.WriteString("FullSentence", "SentDelimiters", ". !");
  ini.WriteString("FullSentence", "SentDelimitersPath", "/home/ling/lists");
  ini.WriteBool("FullSentence", "SmartAbbrDetect", true);

  settings.Read(ini);
  EXPECT_EQ(settings.SentDelimiters(), ".!");
  EXPECT_EQ(settings.SentDelimitersPath, "/home/ling/lists");
  EXPECT_TRUE(settings.SmartAbbrDetect);
  settings.NormaliseExceptions(language);
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"dr", "etc", "\xE4ra"}));

  IniFile written("unused.ini");
  settings.Write(written);
  SentenceSettings again;
  again.Read(written);
  EXPECT_EQ(again.Exceptions(), settings.Exceptions());
  EXPECT_EQ(again.SentDelimiters(), ".!");
  EXPECT_TRUE(again.SmartAbbrDetect);

  SentenceSettings defaults;
  defaults.Read(IniFile("unused.ini"));
  EXPECT_EQ(defaults.SentDelimiters(), ".!?");
  EXPECT_FALSE(defaults.SmartAbbrDetect);
  EXPECT_TRUE(defaults.Exceptions().empty());
}

// The exceptions are stored before the language that wrote them; they must be
// lower-cased in that language, not in the one in force at start-up.
TEST(SentenceConfiguration, ExceptionsFollowTheLanguageOfTheFile) {
  ScriptedHost host;
  ProgramState state(host);
  state.Language.SetLanguage(0x0409, state.ConcordConfig);
  IniFile ini("unused.ini");
  WriteList(ini, "SentDelimitersExcepts", "Word", {"\xA3\xF3" "d\x9F"});  // Łódź in 1250
  ini.WriteInteger("GeneralConfiguration", "Language", static_cast<int>(kPolish));
  ReadConfiguration(state, ini);
  EXPECT_EQ(state.Language.CurrentLanguage(), kPolish);
  EXPECT_EQ(state.Sentences.Exceptions(), (std::vector<std::string>{"\xB3\xF3" "d\x9F"}));
}

TEST_F(SentenceTest, ExceptionsFiles) {
  test::TempDir dir;
  settings.SetExceptions({"etc", "dr"}, language);
  const std::string saved = (dir.path() / "words.txt").string();
  settings.SaveExceptions(saved);
  EXPECT_EQ(dir.ReadFile("words.txt"), "dr\r\netc\r\n");

  const std::string typed = dir.WriteFile("typed.txt", "Dr.\nU.S.\r\n\r\nz.B.\rca\n");
  settings.LoadExceptions(typed, language);
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"ca", "dr", "u.s", "z.b"}));

  const std::string missing = (dir.path() / "missing.txt").string();
  try {
    settings.LoadExceptions(missing, language);
    FAIL() << "a missing file must not load";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to load words from \n" + missing);
  }
  EXPECT_THROW(settings.LoadExceptions(dir.path().string(), language), Exception) << "a folder";
  EXPECT_EQ(settings.Exceptions().size(), 4u) << "a failed load keeps the list";

  const std::string unwritable = (dir.path() / "no" / "such" / "words.txt").string();
  try {
    settings.SaveExceptions(unwritable);
    FAIL() << "a file in a missing folder cannot be written";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to save to file \n" + unwritable);
  }
}

TEST_F(SentenceTest, EditorWorksOnTheLiveListAndUndoes) {
  test::TempDir dir;
  ScriptedHost host;
  settings.SetExceptions({"etc"}, language);
  SentenceExceptionsEditor editor(settings, language, host);

  EXPECT_EQ(editor.Add("E.g."), 0);
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"e.g", "etc"})) << "changed at once";
  EXPECT_TRUE(editor.Modified());

  // Cancel answered with Cancel: the editor stays and keeps the change.
  host.answers = {TModalResult::mrCancel};
  EXPECT_FALSE(editor.Cancel());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "Setting are modified.\rAre you sure that you want to exit without saving changes ?");
  EXPECT_EQ(host.messages[0].focused, TMsgDlgBtn::mbOK);
  EXPECT_EQ(settings.Exceptions().size(), 2u);

  // Clear asks; Cancel keeps the words.
  host.answers = {TModalResult::mrCancel, TModalResult::mrOk};
  EXPECT_FALSE(editor.Clear());
  EXPECT_EQ(host.messages.back().text, "Remove all words from list?");
  EXPECT_TRUE(editor.Clear());
  EXPECT_TRUE(settings.Exceptions().empty());
  host.messages.clear();
  EXPECT_FALSE(editor.Clear()) << "nothing to clear, nothing asked";
  EXPECT_TRUE(host.messages.empty());

  // Cancel with OK restores the copy taken at the start.
  EXPECT_TRUE(editor.Cancel());
  EXPECT_EQ(settings.Exceptions(), (std::vector<std::string>{"etc"}));
  EXPECT_FALSE(editor.Modified());
  EXPECT_TRUE(editor.Cancel()) << "no changes, no question";
}

TEST_F(SentenceTest, EditorFileCommandsReportAndRemember) {
  test::TempDir dir;
  ScriptedHost host;
  settings.SetExceptions({"etc"}, language);
  SentenceExceptionsEditor editor(settings, language, host);

  const std::string good = (dir.path() / "list.txt").string();
  EXPECT_TRUE(editor.Save(good));
  EXPECT_EQ(editor.FileName(), good);
  EXPECT_EQ(settings.SentDelimitersPath, dir.path().string());

  const std::string bad = (dir.path() / "gone" / "list.txt").string();
  EXPECT_FALSE(editor.Save(bad));
  EXPECT_EQ(editor.FileName(), "") << "a failed save forgets the name";
  ASSERT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            (std::vector<std::string>{"Unable to save to file \n" + bad}));

  const std::string other = dir.WriteFile("other.txt", "Bzw.\n");
  EXPECT_TRUE(editor.Load(other));
  EXPECT_EQ(editor.Words(), (std::vector<std::string>{"bzw"}));
  EXPECT_EQ(editor.FileName(), other);

  host.messages.clear();
  EXPECT_FALSE(editor.Load(bad));
  EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            (std::vector<std::string>{"Unable to load words from \n" + bad}));
  EXPECT_EQ(editor.Words(), (std::vector<std::string>{"bzw"}));
  EXPECT_EQ(settings.SentDelimitersPath, (dir.path() / "gone").string())
      << "the folder chosen is remembered even when loading fails";
}

}  // namespace
}  // namespace korvane
