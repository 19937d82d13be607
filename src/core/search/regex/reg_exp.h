// TRegExp: one compiled regular expression of the program's search, and the
// interface the search uses. A pattern of the POSIX extended syntax (see
// regex_parser.h) is compiled once with the language tables in force at
// that moment, which it keeps; Search then finds the leftmost-longest
// non-empty match in a text from a start offset on.
//
// Patterns without back-references run on a lazy DFA over byte classes,
// with a skip loop over the bytes that can begin a match; patterns with
// back-references are first narrowed by that DFA (reading a back-reference
// as "any text") and then matched by a bounded backtracker. Search allocates
// nothing once the DFA states it needs are cached.
//
// A TRegExp is used by one thread at a time; it may be moved, not copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "search/regex/regex_error.h"
#include "search/regex/regex_tables.h"
#include "search/regex/regex_parser.h"

namespace korvane {

struct TRegexProgram;
class TRegexDfa;
class TRegexBacktracker;
struct TRegexSkip;

struct TRegExpMatch {
  bool Found = false;
  std::int32_t Start = 0;  // first byte of the match
  std::int32_t End = 0;    // one past its last byte; End > Start when Found
};

// The engine's budgets.
struct TRegExpLimits {
  // Memory of each of the two DFA state caches, in bytes.
  std::size_t DfaCacheBytes = 4 << 20;
  // Steps the back-reference matcher may take in one Search.
  std::uint64_t BackRefSteps = 20'000'000;
};

class TRegExp {
 public:
  // Compiles pattern with a copy of tables. Throws ERegExp with the
  // engine's message ("Unmatched ( or \(", "Invalid range end", ...) when it
  // does not compile.
  TRegExp(std::string_view pattern, const TRegExpTables& tables, const TRegExpLimits& limits = {});
  ~TRegExp();
  TRegExp(TRegExp&&) noexcept;
  TRegExp& operator=(TRegExp&&) noexcept;

  // The leftmost match of at least one byte that starts at or after start,
  // and the longest one from there. text runs from offset 0, which is the
  // start of the text for ^ and \`; its end is the end for $ and \'. Bytes
  // before start are context for ^, \b and the like only. A match of length
  // 0 is never reported: an expression that only matches the empty string
  // finds nothing. Throws ERegExp("Internal regexp error.") when a pattern
  // with back-references needs more than the limits' BackRefSteps.
  // text must be shorter than 2 GiB. Not const: it fills the DFA caches.
  TRegExpMatch Search(std::string_view text, std::int32_t start);

  // The bytes a match can begin with, on raw text bytes. Because the
  // translate table is applied before matching, this already holds every
  // byte that translates like a first byte, so under ignore case both cases
  // of a letter are in it.
  const TByteSet& Fastmap() const { return fastmap_; }
  bool FastmapValid() const { return true; }

  // Whether the pattern has back-references (and so uses the backtracker).
  bool HasBackRefs() const { return backtracker_ != nullptr; }

 private:
  std::unique_ptr<TRegexProgram> forward_;
  std::unique_ptr<TRegexProgram> reverse_;
  std::unique_ptr<TRegexProgram> backtrack_;
  std::unique_ptr<TRegexDfa> forwardDfa_;
  std::unique_ptr<TRegexDfa> reverseDfa_;
  std::unique_ptr<TRegexBacktracker> backtracker_;
  TByteSet fastmap_;
  std::unique_ptr<TRegexSkip> skip_;  // null when every byte can begin a match
  std::uint64_t backRefSteps_;
};

}  // namespace korvane
