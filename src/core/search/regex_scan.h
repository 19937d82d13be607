// The seam between the word scan and the regular-expression scan.
//
// In regular-expression mode a pattern is one term holding a compiled
// expression, and finding its next match is not done token by token but by
// feeding the text to the expression engine in windows. The word scan
// (term_sequence.cpp) hands that case to FindNextRegexMatch; the compiled
// expression is owned by the term through TRegExpPtr, so that nothing outside
// regex_scan.cpp needs the engine's own headers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace korvane {

class TRegExp;
struct TRegExpTables;
class TSearchContext;
class TScanControl;
struct TPatternRules;

struct TRegExpDeleter {
  void operator()(TRegExp* regExp) const;
};
using TRegExpPtr = std::unique_ptr<TRegExp, TRegExpDeleter>;

// The scan's window on the text, kept by the context between searches so
// that a search starting inside it goes on there instead of reading the text
// again.
class TRegexWindow;
struct TRegexWindowDeleter {
  void operator()(TRegexWindow* window) const;
};
using TRegexWindowPtr = std::unique_ptr<TRegexWindow, TRegexWindowDeleter>;

// The engine's copy of the language tables in force (translate table, word
// syntax, character types), made once per search.
std::shared_ptr<const TRegExpTables> MakeRegExpTables(const std::array<std::uint8_t, 256>& translate,
                                                      const std::array<std::uint8_t, 256>& wordSyntax,
                                                      const std::array<std::uint8_t, 256>& charTypes);

// Compiles a regular-expression term with the tables of the search's rules
// (ASCII tables when the rules carry none). Throws ERegExp with the engine's message when
// the text does not compile.
TRegExpPtr CompileTermRegExp(const std::string& text, const TPatternRules& rules);

// Finds the next match of the context's single regular-expression term from
// the current position of its Reader within the reader's range. The text is
// read into a window of 8,192 characters in which every run of carriage
// returns and line feeds is one space and the skipping characters are left
// out; hits keep their real text positions. On success sets HitStart and
// HitEnd (a hit never ends with a line break) and leaves the reader at
// HitEnd. The filled window is kept in the context: when the next search
// starts where the last hit ended, on the same reader and range, it goes on in
// that window (the hits are those a window filled anew would give). Polls control for cancel at every word end it reads (so lets
// pending messages run) and reports progress through it. Returns false when
// there is no further match or the search was cancelled. Throws Exception
// "Internal regexp error." when the engine cannot finish a search.
bool FindNextRegexMatch(TSearchContext& context, TScanControl& control);

}  // namespace korvane
