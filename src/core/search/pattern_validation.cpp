// The checks of one pattern and their messages.
#include "search/pattern_validation.h"

#include "app/host.h"
#include "app/program_state.h"
#include "search/regex/regex_error.h"
#include "search/regex_scan.h"
#include "search/search_context.h"

namespace korvane {
namespace {

// The characters of set (in its order) that occur in pattern; skip is a
// position of set left out, or npos.
std::string CharsOccurring(const std::string& set, const std::string& pattern,
                           std::size_t skip = std::string::npos) {
  std::string found;
  for (std::size_t i = 0; i < set.size(); ++i)
    if (i != skip && pattern.find(set[i]) != std::string::npos) found.push_back(set[i]);
  return found;
}

std::string InvalidCharactersMessage(const std::string& name, const std::string& chars) {
  return "The following characters in the " + name + " are invalid:\r\n" + chars;
}

std::string BeginOrEndMessage(const std::string& name, char wildcard) {
  return "You cannot begin or end a " + name + " with " + std::string(1, wildcard);
}

std::string SkippingCharactersQuestion(const std::string& name, const std::string& chars) {
  return "There are skipping characters in the " + name + ":\r\n" + chars + "\r\nContinue anyway?";
}

std::string DoubleWildcardMessage(const std::string& name, char wildcard) {
  return "You cannot specify " + std::string(2, wildcard) + " in the " + name;
}

TPatternCheck Invalid(std::string message) {
  return {TPatternCheck::Invalid, std::move(message)};
}

}  // namespace

const char* PatternRoleName(TPatternRole role) {
  switch (role) {
    case TPatternRole::SearchTerm: return "search term";
    case TPatternRole::SearchPattern: return "search pattern";
    case TPatternRole::HeadingPattern: return "heading pattern";
    case TPatternRole::LeftContextPattern: return "left context pattern";
    case TPatternRole::RightContextPattern: return "right context pattern";
  }
  return "search term";
}

TPatternCheck ValidatePattern(ProgramState& state, const std::string& pattern, TPatternRole role,
                              TSearchMode mode, bool useSkipEqual) {
  const ConcordConfig& config = state.ConcordConfig;
  const std::string name = PatternRoleName(role);

  if (mode == smRegex) {
    TPatternRules rules;
    rules.RegExpTables = MakeRegExpTables(state.Language.TranslateTable(), state.Language.WordSyntax(),
                                          state.Language.CharTypes());
    try {
      CompileTermRegExp(pattern, rules);
    } catch (const ERegExp& e) {
      return Invalid(e.what());
    }
    return {};
  }

  // In tag search the separator may be a delimiter: its first place in the
  // delimiters is exempt.
  const std::size_t exempt =
      mode == smTag ? config.NonWordChars.find(config.TagSearchSeparator) : std::string::npos;
  const std::string invalid = CharsOccurring(config.NonWordChars, pattern, exempt);
  if (!invalid.empty()) return Invalid(InvalidCharactersMessage(name, invalid));

  const char matchWords = config.WildCardMatchWords;
  if (matchWords != 0 && !pattern.empty() && (pattern.front() == matchWords || pattern.back() == matchWords))
    return Invalid(BeginOrEndMessage(name, matchWords));

  if (useSkipEqual) {
    const std::string skipping = CharsOccurring(config.SkippingChars, pattern);
    if (!skipping.empty() && !state.host.WarnYesNo(SkippingCharactersQuestion(name, skipping), false))
      return {TPatternCheck::Refused, {}};
  }

  if ((role == TPatternRole::SearchTerm || role == TPatternRole::SearchPattern) && matchWords != 0 &&
      pattern.find(std::string(2, matchWords)) != std::string::npos)
    return Invalid(DoubleWildcardMessage(name, matchWords));
  return {};
}

}  // namespace korvane
