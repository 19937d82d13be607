// Matching one pattern term against one word or tag of the text.
//
// A compiled search reads the text token by token; each token is compared
// with a term by the word-pattern rules: skipping characters of the text word
// are stepped over and never compared, characters of one equal-character
// group compare equal, and three wildcards stand for zero or more, zero or
// one, and exactly one character. TMatchTables holds everything this needs as
// 256-entry tables, computed once per search, so that comparing a token costs
// table lookups and no allocation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/concord_config.h"

namespace korvane {

// The language's lower-casing of single bytes.
using LowerCaseTable = std::array<unsigned char, 256>;

// Identity: every byte stays as it is.
LowerCaseTable IdentityCaseTable();

class TMatchTables {
 public:
  // Bits of ByteClass.
  static constexpr std::uint8_t kDelimiter = 1;  // ends a text token
  static constexpr std::uint8_t kSkip = 2;       // skipping character

  // skipSet: the skipping characters in force (already case-folded as the
  // search requires); equalGroups: the equal-character groups in force (empty
  // when they are not used); delimiterSet: the search delimiter set minus the
  // skipping characters.
  TMatchTables(const CharSet& skipSet, const CharSetArray& equalGroups, const CharSet& delimiterSet,
               char wildCard0orMore, char wildCard0or1, char wildCardExactly1);

  std::array<std::uint8_t, 256> ByteClass{};
  unsigned char Star, Percent, Question;

  bool IsSkip(unsigned char c) const { return (ByteClass[c] & kSkip) != 0; }
  bool IsDelimiter(unsigned char c) const { return (ByteClass[c] & kDelimiter) != 0; }
  // True when the bytes are the same or one equal-character group holds both.
  bool Equal(unsigned char a, unsigned char b) const {
    return a == b || (hasGroups_ && equalTo_[a].test(b));
  }
  bool HasEqualGroups() const { return hasGroups_; }

 private:
  bool hasGroups_ = false;
  std::vector<CharSet> equalTo_;  // per byte: the bytes it compares equal to
};

// True when the text word matches the pattern. Both are compared as they
// are: the caller has case-folded them as the search requires. Only the
// first 255 characters of a longer word take part.
bool MatchWordPattern(const TMatchTables& tables, std::string_view text, std::string_view pattern);

// A tag token as the matcher compares it: one double quote at its start and
// one at its end are removed.
std::string_view StripTagQuotes(std::string_view tag);

}  // namespace korvane
