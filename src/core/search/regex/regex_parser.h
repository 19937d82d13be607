// The parser of the regular-expression engine: turns a pattern of the POSIX
// extended syntax with the GNU operators into a tree. The syntax is fixed:
// bracket classes, anchors and repetition operators valid anywhere, a dot
// that matches a line break but not the zero byte, intervals {m,n} without
// backslashes, unescaped ( ) |, no empty ranges, and an unmatched ")" taken
// as an ordinary character; \w \W \s \S \b \B \< \> \` \' and the
// back-references \1 to \9 are the GNU operators. A repetition operator with
// nothing before it is skipped, as GNU regex does.
//
// Every character set in the tree is already a set of raw text bytes: a byte
// t of the text matches a pattern character p when Translate[t] equals
// Translate[p], so the matchers never translate.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "search/regex/regex_tables.h"

namespace korvane {

using TByteSet = std::bitset<256>;

// Zero-width conditions. "Before" and "after" are the bytes on either side
// of a text position; the ends of the text count as neither word characters
// nor line breaks.
enum class TAssertion : std::uint8_t {
  asLineStart,        // ^  text start or after a line feed
  asLineEnd,          // $  text end or before a line feed
  asBufferStart,      // \` text start
  asBufferEnd,        // \' text end
  asWordBoundary,     // \b word character on exactly one side
  asNotWordBoundary,  // \B word characters on both sides or on neither
  asWordStart,        // \< non-word before, word after
  asWordEnd,          // \> word before, non-word after
};

struct TRegexNode {
  enum class TKind : std::uint8_t { nkEmpty, nkSet, nkConcat, nkAlternate, nkRepeat, nkGroup, nkBackRef, nkAssert };

  TKind Kind = TKind::nkEmpty;
  TByteSet Set;       // nkSet: the text bytes it matches
  int Min = 0;        // nkRepeat: at least Min times
  int Max = 0;        // nkRepeat: at most Max times, -1 unbounded
  int Index = 0;      // nkGroup: number from 1; nkBackRef: the group referred to
  TAssertion Assertion = TAssertion::asLineStart;  // nkAssert
  int Depth = 1;      // height of the subtree, bounded by kMaxRegexTreeDepth
  std::vector<std::unique_ptr<TRegexNode>> Children;
};

struct TRegexTree {
  std::unique_ptr<TRegexNode> Root;  // never null; nkEmpty for an empty pattern
  int GroupCount = 0;
  bool HasBackRefs = false;
  bool HasAssertions = false;
};

// The deepest tree the compiler will walk (nested groups and repetitions).
inline constexpr int kMaxRegexTreeDepth = 1000;
// The largest count of an interval {m,n}.
inline constexpr int kMaxRegexRepeat = 0x7fff;

// Parses pattern with tables. Throws ERegExp with the code of the first fault
// ("Unmatched ( or \(", "Invalid range end", ...); a tree nested deeper than
// kMaxRegexTreeDepth is "Regular expression too big".
TRegexTree ParseRegex(std::string_view pattern, const TRegExpTables& tables);

}  // namespace korvane
