// Compiling a pattern into terms: the pattern tokenizer, the word/tag pairs
// of tag search, and the rules every pattern of a search shares.
#include "search/search_context.h"

#include <algorithm>

#include "app/errors.h"

namespace korvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string LowerWith(const LowerCaseTable& lower, std::string text) {
  for (char& c : text) c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
  return text;
}

bool SameWithoutCase(const LowerCaseTable& lower, const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

const TMetaTag* FindMetaTag(const LowerCaseTable& lower, const std::vector<TMetaTag>& metaTags,
                            const std::string& name) {
  for (const TMetaTag& metaTag : metaTags)
    if (SameWithoutCase(lower, metaTag.Name, name)) return &metaTag;
  return nullptr;
}

}  // namespace

// --- TTerm -------------------------------------------------------------------

TTerm::TTerm(TTermKind kind, std::string text) : Kind(kind), Text(std::move(text)) {}
TTerm::~TTerm() = default;
TTerm::TTerm(TTerm&&) noexcept = default;
TTerm& TTerm::operator=(TTerm&&) noexcept = default;

bool TTerm::AcceptsMissingTag(char wildCard0orMore) const {
  return Kind == tkTag && (Text.empty() || (Text.size() == 1 && Text[0] == wildCard0orMore));
}

// --- Rules ---------------------------------------------------------------------

std::string TPatternRules::Fold(std::string text) const {
  return CaseSensitive ? text : LowerWith(Lower, std::move(text));
}

TPatternRules MakePatternRules(const ConcordConfig& config, const LowerCaseTable& lower,
                               TSearchMode mode, bool caseSensitive, bool skipEqual,
                               const std::string& skippingChars) {
  TPatternRules rules;
  rules.Mode = mode;
  rules.CaseSensitive = caseSensitive;
  rules.Lower = lower;
  std::string skipping;
  if (skipEqual) {
    skipping = rules.Fold(skippingChars);
    for (unsigned char c : skipping) rules.SkipSet.set(c);
    rules.EqualChars = config.EqualChars;
  }
  rules.DelimiterSet = config.SearchDelimiterSet(skipping);
  rules.Tables = TMatchTables(rules.SkipSet, skipEqual ? config.EqualCharSets : CharSetArray{},
                              rules.DelimiterSet, config.WildCard0orMore, config.WildCard0or1,
                              config.WildCardExactly1);
  rules.WildCard0orMore = config.WildCard0orMore;
  rules.WildCardMatchWords = config.WildCardMatchWords;
  rules.TagSearchSeparator = config.TagSearchSeparator;
  rules.MatchWordsLo = config.MatchWordsLo;
  rules.MatchWordsHi = std::max(config.MatchWordsHi, config.MatchWordsLo);
  rules.WordTag = config.WordTag;
  rules.wTagBefore = config.wTagBefore;
  rules.wTagStarts = config.wTagStarts;
  rules.MetaTags = &config.MetaTags;
  return rules;
}

std::string UnknownMetaTagMessage(const std::string& name) { return "Unknown meta tag: " + name; }

std::string MisplacedCaseMessage() { return "Missplaced case."; }

// --- TSearchContext --------------------------------------------------------------

TSearchContext::TSearchContext(const std::string& pattern, const TPatternRules& rules,
                               std::string patternName)
    : Rules(rules),
      Mode(rules.Mode),
      SkipSet(rules.SkipSet),
      EqualChars(rules.EqualChars),
      CaseSensitive(rules.CaseSensitive),
      DelimiterSet(rules.DelimiterSet),
      PatternName(std::move(patternName)) {
  if (Mode == smRegex)
    AddTerm(tkRegex, pattern);
  else
    Tokenize(pattern);
  if (rules.MetaTags) ResolveMetaTags(*rules.MetaTags);
  PrepareLiteralPrefix();
}

TSearchContext::~TSearchContext() = default;

void TSearchContext::AddTerm(TTermKind kind, std::string text) {
  TTerm term(kind, std::move(text));
  if (kind == tkRegex) term.RegExp = CompileTermRegExp(term.Text, Rules);
  Terms.push_back(std::move(term));
}

// Tokens run up to a space, a tab or a word-count wildcard; one or two
// word-count wildcards in a row form a token of their own (further ones are
// dropped), so "a@b" reads like "a @ b".
void TSearchContext::Tokenize(const std::string& pattern) {
  const char matchWords = Rules.WildCardMatchWords;
  std::size_t pos = 0;
  const std::size_t n = pattern.size();
  while (pos < n && IsBlank(pattern[pos])) ++pos;
  while (pos < n) {
    std::string token;
    if (matchWords != 0 && pattern[pos] == matchWords) {
      token.push_back(matchWords);
      ++pos;
      if (pos < n && pattern[pos] == matchWords) {
        token.push_back(matchWords);
        ++pos;
      }
      while (pos < n && pattern[pos] == matchWords) ++pos;
    } else {
      const std::size_t start = pos;
      while (pos < n && !IsBlank(pattern[pos]) && !(matchWords != 0 && pattern[pos] == matchWords))
        ++pos;
      token = pattern.substr(start, pos - start);
    }
    while (pos < n && IsBlank(pattern[pos])) ++pos;

    if (token.size() == 1 && token[0] == matchWords)
      AddTerm(tkSkipWords, token);
    else if (token.size() == 2 && token[0] == matchWords && token[1] == matchWords)
      AddTerm(tkSkipAnyWords, token);
    else if (Mode == smTag)
      AddTagSearchToken(Rules.Fold(token));
    else
      AddTerm(tkWord, Rules.Fold(token));
  }
}

bool TSearchContext::IsMetaTagName(const std::string& name) const {
  return Rules.MetaTags && FindMetaTag(Rules.Lower, *Rules.MetaTags, name) != nullptr;
}

// A tag-search token is a word part and a tag part around the separator
// ("run&VVN"); an empty part stands for any. "**" is any word without a tag.
void TSearchContext::AddTagSearchToken(const std::string& token) {
  const std::string any(1, Rules.WildCard0orMore);
  std::string word;
  std::string tag;
  const std::size_t sep = token.find(Rules.TagSearchSeparator);
  if (sep != std::string::npos) {
    word = token.substr(0, sep);
    tag = token.substr(sep + 1);
    if (word.empty()) word = any;
    if (tag.empty()) tag = any;
  } else if (token == "**") {
    word = any;
  } else {
    word = token;
    tag = any;
  }

  const TMatchTables& t = Rules.Tables;
  const bool hasWildcard = tag.find_first_of(std::string{static_cast<char>(t.Star),
                                                         static_cast<char>(t.Percent),
                                                         static_cast<char>(t.Question)}) !=
                           std::string::npos;
  const TTermKind tagKind = !hasWildcard && IsMetaTagName(tag) ? tkMetaTag : tkTag;

  // Tags that stand outside their words and before them come first.
  if (Rules.WordTag != 1 && Rules.wTagBefore) {
    AddTerm(tagKind, tag);
    AddTerm(tkWord, word);
  } else {
    AddTerm(tkWord, word);
    AddTerm(tagKind, tag);
  }
}

void TSearchContext::ResolveMetaTags(const std::vector<TMetaTag>& metaTags) {
  for (TTerm& term : Terms) {
    if (term.Kind != tkMetaTag) continue;
    const TMetaTag* metaTag = FindMetaTag(Rules.Lower, metaTags, term.Text);
    term.MetaTagKnown = metaTag != nullptr;
    term.MetaTagPatterns.clear();
    if (metaTag)
      for (const std::string& tag : metaTag->Tags) term.MetaTagPatterns.push_back(Rules.Fold(tag));
  }
}

bool TSearchContext::MatchTag(std::string_view tag, const TTerm& term) const {
  tag = StripTagQuotes(tag);
  if (term.Kind != tkMetaTag) return MatchWordPattern(Rules.Tables, tag, term.Text);
  if (!term.MetaTagKnown) throw Exception(UnknownMetaTagMessage(term.Text));
  for (const std::string& pattern : term.MetaTagPatterns)
    if (MatchWordPattern(Rules.Tables, tag, pattern)) return true;
  return false;
}

}  // namespace korvane
