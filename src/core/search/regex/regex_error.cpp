// The standard message texts of the regular-expression engine.
#include "search/regex/regex_error.h"

namespace korvane {

const char* RegExpErrorMessage(TRegExpError code) {
  switch (code) {
    case TRegExpError::reSuccess: return "Success";
    case TRegExpError::reNoMatch: return "No match";
    case TRegExpError::reBadPattern: return "Invalid regular expression";
    case TRegExpError::reCollate: return "Invalid collation character";
    case TRegExpError::reCharClass: return "Invalid character class name";
    case TRegExpError::reEscape: return "Trailing backslash";
    case TRegExpError::reSubReg: return "Invalid back reference";
    case TRegExpError::reBracket: return "Unmatched [ or [^";
    case TRegExpError::reParen: return "Unmatched ( or \\(";
    case TRegExpError::reBrace: return "Unmatched \\{";
    case TRegExpError::reBadBrace: return "Invalid content of \\{\\}";
    case TRegExpError::reRange: return "Invalid range end";
    case TRegExpError::reSpace: return "Memory exhausted";
    case TRegExpError::reBadRepeat: return "Invalid preceding regular expression";
    case TRegExpError::rePrematureEnd: return "Premature end of regular expression";
    case TRegExpError::reTooBig: return "Regular expression too big";
    case TRegExpError::reRightParen: return "Unmatched ) or \\)";
    case TRegExpError::reInternal: return "Internal regexp error.";
  }
  return "Internal regexp error.";
}

}  // namespace korvane
