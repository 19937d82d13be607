// The checks a pattern passes before a search accepts it.
#include "search/pattern_validation.h"

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "app/scripted_host.h"

namespace korvane {
namespace {

TEST(PatternValidationTest, RefusesWhatCanNeverMatch) {
  ScriptedHost host;
  ProgramState state(host);
  using R = TPatternRole;
  struct Case {
    const char* pattern;
    TPatternRole role;
    TSearchMode mode;
    const char* error;  // empty: accepted
  } cases[] = {
      {"don't", R::SearchTerm, smText, ""},
      {"end.", R::SearchTerm, smText, "The following characters in the search term are invalid:\r\n."},
      {"(a;b)", R::HeadingPattern, smText,
       "The following characters in the heading pattern are invalid:\r\n;()"},
      {"@ made", R::SearchTerm, smText, "You cannot begin or end a search term with @"},
      {"made @", R::RightContextPattern, smText, "You cannot begin or end a right context pattern with @"},
      {"made @ mind", R::SearchTerm, smText, ""},
      {"made @@ mind", R::SearchTerm, smText, "You cannot specify @@ in the search term"},
      {"made @@ mind", R::SearchPattern, smTag, "You cannot specify @@ in the search pattern"},
      {"made @@ mind", R::LeftContextPattern, smText, ""},
      {"run&VVN", R::SearchTerm, smTag, ""},
      {"run&VVN", R::SearchTerm, smText, "The following characters in the search term are invalid:\r\n&"},
      {"run&VVN.", R::SearchTerm, smTag, "The following characters in the search term are invalid:\r\n."},
      {"colou?r", R::SearchTerm, smRegex, ""},
      {"end.", R::SearchTerm, smRegex, ""},
      {"(colour", R::SearchTerm, smRegex, "Unmatched ( or \\("},
  };
  for (const Case& c : cases) {
    const TPatternCheck check = ValidatePattern(state, c.pattern, c.role, c.mode, false);
    EXPECT_EQ(check.Outcome, *c.error ? TPatternCheck::Invalid : TPatternCheck::Accepted) << c.pattern;
    EXPECT_EQ(check.Error, c.error) << c.pattern;
  }
  EXPECT_TRUE(host.messages.empty()) << "the caller shows the error";
}

TEST(PatternValidationTest, AsksBeforeAcceptingSkippingCharacters) {
  ScriptedHost host;
  ProgramState state(host);
  EXPECT_EQ(ValidatePattern(state, "ice-cream", TPatternRole::SearchTerm, smText, false).Outcome,
            TPatternCheck::Accepted);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(ValidatePattern(state, "ice-cream", TPatternRole::SearchTerm, smText, true).Outcome,
            TPatternCheck::Refused)
      << "No is the focused answer";
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "There are skipping characters in the search term:\r\n-\r\nContinue anyway?");
  EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(host.messages[0].focused, TMsgDlgBtn::mbNo);

  host.answers.push_back(TModalResult::mrYes);
  EXPECT_EQ(ValidatePattern(state, "ice-cream", TPatternRole::SearchTerm, smText, true).Outcome,
            TPatternCheck::Accepted);
}

}  // namespace
}  // namespace korvane
