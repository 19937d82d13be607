// ERegExp, the error of the regular-expression engine, and the engine's
// standard message texts. A pattern that does not compile raises ERegExp with
// the message of its fault; a search that the engine cannot finish within
// its budgets raises ERegExp with "Internal regexp error.".
#pragma once

#include <stdexcept>

namespace korvane {

// The engine's error codes, in the order of its standard messages.
enum class TRegExpError {
  reSuccess,
  reNoMatch,
  reBadPattern,
  reCollate,
  reCharClass,
  reEscape,
  reSubReg,
  reBracket,
  reParen,
  reBrace,
  reBadBrace,
  reRange,
  reSpace,
  reBadRepeat,
  rePrematureEnd,
  reTooBig,
  reRightParen,
  reInternal,
};

// The message text of a code; the only place these texts are written.
const char* RegExpErrorMessage(TRegExpError code);

// The engine's exception: what() is the message text of Code().
class ERegExp : public std::runtime_error {
 public:
  explicit ERegExp(TRegExpError code) : std::runtime_error(RegExpErrorMessage(code)), code_(code) {}
  TRegExpError Code() const { return code_; }

 private:
  TRegExpError code_;
};

}  // namespace korvane
