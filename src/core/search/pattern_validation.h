// Checking a pattern before a search accepts it.
//
// A text or tag pattern may not hold a word delimiter (it could never match a
// word) and may not begin or end with the word-count wildcard; a skipping
// character in it is allowed but never matches, so the user is asked first.
// A search term or search pattern may not hold two word-count wildcards in a
// row. A regular expression must compile. The search dialog and the command
// line both check every pattern here and show the text it returns.
#pragma once

#include <string>

#include "search/search_rec.h"

namespace korvane {

class ProgramState;

// What a pattern is, as the messages name it.
enum class TPatternRole { SearchTerm, SearchPattern, HeadingPattern, LeftContextPattern, RightContextPattern };

// "search term", "search pattern", "heading pattern", "left context pattern",
// "right context pattern".
const char* PatternRoleName(TPatternRole role);

struct TPatternCheck {
  enum TOutcome { Accepted, Invalid, Refused };
  TOutcome Outcome = Accepted;
  // With Invalid: the message to show. Refused means the user answered No to
  // the skipping-characters question, which was the message.
  std::string Error;
};

// Checks one pattern under the settings of state. useSkipEqual is the
// search's "use skipping and equal characters" choice. When the pattern holds
// skipping characters the host asks "There are skipping characters in the
// ...: ... Continue anyway?" (No focused), which lets pending messages run.
// An empty pattern is not judged here (the caller decides whether it may be
// empty).
TPatternCheck ValidatePattern(ProgramState& state, const std::string& pattern, TPatternRole role,
                              TSearchMode mode, bool useSkipEqual);

}  // namespace korvane
