// The word-pattern match: a pattern with the three character wildcards
// against one text word, skipping characters stepped over, equal-character
// groups honoured. Only the two wildcards that can stand for a varying number
// of characters make the match try alternatives; words are at most 255
// characters, so the search stays small.
#include "search/word_match.h"

namespace korvane {
namespace {

constexpr std::size_t kMaxWord = 255;

struct Matcher {
  const TMatchTables& tables;
  const unsigned char* t;
  std::size_t tn;
  const unsigned char* p;
  std::size_t pn;

  // The characters of the word from ti on that are not skipping characters.
  std::size_t ComparedLeft(std::size_t ti) const {
    std::size_t n = 0;
    for (; ti < tn; ++ti)
      if (!tables.IsSkip(t[ti])) ++n;
    return n;
  }

  bool From(std::size_t ti, std::size_t pi) const {
    while (ti < tn && pi < pn) {
      while (ti < tn && tables.IsSkip(t[ti])) ++ti;
      if (ti == tn) break;
      const unsigned char c = p[pi];
      if (c == tables.Star) {
        if (pi + 1 == pn) return true;
        // When a plain character follows, only the places that hold it (or
        // a skipping character before it) can continue the match.
        const unsigned char next = p[pi + 1];
        const bool literal = next != tables.Star && next != tables.Percent && next != tables.Question;
        for (std::size_t k = ti; k < tn; ++k) {
          if (literal && !tables.IsSkip(t[k]) && !tables.Equal(next, t[k])) continue;
          if (From(k, pi + 1)) return true;
        }
        return false;
      }
      if (c == tables.Percent) {
        // A final zero-or-one wildcard takes exactly one remaining character;
        // skipping characters behind it are not compared, as everywhere else.
        if (pi + 1 == pn) return ComparedLeft(ti) == 1;
        if (From(ti, pi + 1)) return true;
        return ti + 1 < tn && From(ti + 1, pi + 1);
      }
      if (c != tables.Question && !tables.Equal(c, t[ti])) return false;
      ++ti;
      ++pi;
    }
    if (pi < pn) {
      for (; pi < pn; ++pi)
        if (p[pi] != tables.Star && p[pi] != tables.Percent) return false;
      return true;
    }
    for (; ti < tn; ++ti)
      if (!tables.IsSkip(t[ti])) return false;
    return true;
  }
};

}  // namespace

LowerCaseTable IdentityCaseTable() {
  LowerCaseTable table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  return table;
}

TMatchTables::TMatchTables(const CharSet& skipSet, const CharSetArray& equalGroups,
                           const CharSet& delimiterSet, char wildCard0orMore, char wildCard0or1,
                           char wildCardExactly1)
    : Star(static_cast<unsigned char>(wildCard0orMore)),
      Percent(static_cast<unsigned char>(wildCard0or1)),
      Question(static_cast<unsigned char>(wildCardExactly1)) {
  for (int c = 0; c < 256; ++c) {
    if (delimiterSet.test(c)) ByteClass[c] |= kDelimiter;
    if (skipSet.test(c)) ByteClass[c] |= kSkip;
  }
  // A disabled wildcard is the zero byte, which no pattern holds.
  if (!equalGroups.empty()) {
    hasGroups_ = true;
    equalTo_.assign(256, CharSet{});
    for (const CharSet& group : equalGroups)
      for (int c = 0; c < 256; ++c)
        if (group.test(c)) equalTo_[c] |= group;
  }
}

bool MatchWordPattern(const TMatchTables& tables, std::string_view text, std::string_view pattern) {
  if (text.size() > kMaxWord) text = text.substr(0, kMaxWord);
  const Matcher m{tables, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                  reinterpret_cast<const unsigned char*>(pattern.data()), pattern.size()};
  return m.From(0, 0);
}

std::string_view StripTagQuotes(std::string_view tag) {
  if (!tag.empty() && tag.front() == '"') tag.remove_prefix(1);
  if (!tag.empty() && tag.back() == '"') tag.remove_suffix(1);
  return tag;
}

}  // namespace korvane
