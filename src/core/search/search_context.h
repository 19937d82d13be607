// One compiled search pattern (TSearchContext) with its terms (TTerm), and
// the rules that every pattern of one search shares (TPatternRules).
//
// A text or tag pattern is read as tokens separated by spaces, tabs and
// word-count wildcards; each token becomes a word term, a word/tag pair of
// terms (tag search), or a word-count term ("@" skips a few words, "@@" any
// number). A regular-expression pattern becomes one term that holds the
// compiled expression. The context also carries the working state of the
// scan that uses it: the reader, the current token, where the current
// attempt and hit start and end. The scan itself (how terms are matched in
// sequence over a text) is in term_sequence.cpp, its skip-ahead for patterns
// that begin with plain characters in literal_skip.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corpus/buf_stream.h"
#include "search/concord_config.h"
#include "search/regex_scan.h"
#include "search/search_rec.h"
#include "search/word_match.h"

namespace korvane {

class TScanControl;
class TSynchroStream;

enum TTermKind : std::uint8_t {
  tkWord = 0,          // one word, by the word-pattern rules
  tkTag = 1,           // one part-of-speech tag, by the word-pattern rules
  tkMetaTag = 2,       // a tag that one of a meta tag's patterns matches
  tkRegex = 3,         // a regular expression over running text
  tkSkipWords = 4,     // skips MatchWordsLo to MatchWordsHi words
  tkSkipAnyWords = 5,  // skips any number of words, none included
};

class TTerm {
 public:
  // A term of kind tkRegex gets its compiled expression from the context that
  // adds it (TSearchContext::AddTerm).
  TTerm(TTermKind kind, std::string text);
  ~TTerm();
  TTerm(TTerm&&) noexcept;
  TTerm& operator=(TTerm&&) noexcept;

  TTermKind Kind;
  std::string Text;
  TRegExpPtr RegExp;  // kind tkRegex only

  // Kind tkMetaTag, filled when a run starts (TSearchContext::ResolveMetaTags):
  // the meta tag's patterns, case-folded as the search requires, or
  // MetaTagKnown false when no meta tag of this name exists any longer.
  bool MetaTagKnown = false;
  std::vector<std::string> MetaTagPatterns;

  // A tag term accepts a word that carries no tag when it is of kind tkTag
  // and its text is empty or the zero-or-more wildcard alone.
  bool AcceptsMissingTag(char wildCard0orMore) const;
};

// What every pattern of one search shares: the syntax, the case rule, the
// language's lower-casing, the skipping set and equal groups, the wildcards
// and the part-of-speech settings in force when the search was prepared.
struct TPatternRules {
  TSearchMode Mode = smText;
  bool CaseSensitive = false;
  LowerCaseTable Lower = IdentityCaseTable();
  CharSet SkipSet;
  CharSet DelimiterSet;  // the search delimiter set minus SkipSet
  std::string EqualChars;
  TMatchTables Tables{CharSet{}, CharSetArray{}, CharSet{}, '*', '%', '?'};
  char WildCard0orMore = '*';
  char WildCardMatchWords = '@';
  char TagSearchSeparator = '&';
  std::uint8_t MatchWordsLo = 2;
  std::uint8_t MatchWordsHi = 5;
  std::uint8_t WordTag = 0;
  bool wTagBefore = false;
  std::vector<std::string> wTagStarts;
  // The meta tags the compiler looks names up in (not owned).
  const std::vector<TMetaTag>* MetaTags = nullptr;
  // Lets a text pattern whose first word begins with plain characters skip
  // ahead to the tokens that begin with them. Off, every token is tried; the
  // matches are the same either way.
  bool AllowLiteralSkip = true;
  // How many bytes the skip-ahead reads from the source at a time.
  std::int32_t SkipChunkSize = 64 * 1024;
  // Lets the regular-expression scan go on in the window of its last hit; off, every search fills a new one.
  bool KeepRegexWindow = true;
  // The language tables regular expressions are compiled with (regular-
  // expression mode only).
  std::shared_ptr<const TRegExpTables> RegExpTables;
  // The language's lead bytes, which the regular-expression scan keeps
  // together with their trail bytes (double-byte languages only).
  bool DoubleByte = false;
  std::array<bool, 256> LeadByte{};

  // Folds a text as the search requires (lower-case unless case-sensitive).
  std::string Fold(std::string text) const;
  // The byte table that Fold applies: Lower, or identity when case-sensitive.
  const LowerCaseTable& FoldTable() const { return CaseSensitive ? identity_ : Lower; }

 private:
  LowerCaseTable identity_ = IdentityCaseTable();
};

// The rules of a search from the settings. skippingChars is the request's
// copy of the skipping characters; they and the equal-character groups take
// part only when skipEqual is set. Lower-cases the skipping characters
// unless the search is case-sensitive.
TPatternRules MakePatternRules(const ConcordConfig& config, const LowerCaseTable& lower,
                               TSearchMode mode, bool caseSensitive, bool skipEqual,
                               const std::string& skippingChars);

// The text of the error a meta-tag term raises when its meta tag is gone.
std::string UnknownMetaTagMessage(const std::string& name);
// The text of the error a regular-expression term raises in the word matcher.
std::string MisplacedCaseMessage();

class TSearchContext {
 public:
  // Compiles the pattern under the rules (which must outlive the context).
  // In regular-expression mode throws ERegExp when it does not compile.
  TSearchContext(const std::string& pattern, const TPatternRules& rules,
                 std::string patternName = {});
  ~TSearchContext();
  TSearchContext(const TSearchContext&) = delete;
  TSearchContext& operator=(const TSearchContext&) = delete;

  // Adds a term; a term of kind tkRegex is compiled at once and throws
  // ERegExp when it does not compile.
  void AddTerm(TTermKind kind, std::string text);

  // Looks the meta tags of every meta-tag term up in the list as it is now.
  void ResolveMetaTags(const std::vector<TMetaTag>& metaTags);

  // The tag match: the current tag token against a term of kind tkTag or
  // tkMetaTag. Throws Exception "Unknown meta tag: <name>" when a meta-tag
  // term's meta tag no longer exists.
  bool MatchTag(std::string_view tag, const TTerm& term) const;

  const TPatternRules& Rules;
  TSearchMode Mode;
  std::vector<TTerm> Terms;
  int TermCount() const { return static_cast<int>(Terms.size()); }
  CharSet SkipSet;
  std::string EqualChars;
  bool CaseSensitive;
  CharSet DelimiterSet;
  std::string PatternName;

  // Finds the next match of the pattern from HitStart (the current position
  // of Reader) within Reader's range. On success HitStart is where the match
  // attempt began, HitEnd the position after it, and the reader stands at
  // HitEnd, so the next call continues there and matches of one pattern
  // never overlap. False when there is no further match in the range or the
  // search was cancelled. Polls control for cancel on every term tried (and
  // so lets pending messages run every 512th time) and reports progress
  // through it. Throws Exception "Unknown meta tag: ..." and "Missplaced
  // case." (a regular-expression term among word terms); these end the search.
  bool FindNext(TScanControl& control);

  // Points the context at a reader for the next scans (FindNext from the
  // reader's position within its range). source, when given, is the source
  // under the reader, which the skip-ahead may read directly in large chunks;
  // without it the skip-ahead reads through the reader.
  void Attach(TBufStream& reader, TSynchroStream* source);

  // --- Working state of a scan ------------------------------------------
  // The reader the context works on now and its source (set by Attach).
  TBufStream* Reader = nullptr;
  TSynchroStream* Source = nullptr;
  char WordBuffer[256] = {};     // the current token, at most 255 characters
  std::size_t WordLength = 0;
  TCharType TokenKind = ctNone;  // in tag search: ctWord or ctWordTag
  std::int32_t HitStart = 0;
  std::int32_t HitEnd = 0;
  // True when the last token of the hit was ended by a delimiter that the
  // token reader consumed (so the hit's words end one character before HitEnd).
  bool LastDelimiterConsumed = false;
  TRegexWindowPtr RegexWindow;  // the regular-expression scan's window, kept between searches

 private:
  void Tokenize(const std::string& pattern);
  void AddTagSearchToken(const std::string& token);
  bool IsMetaTagName(const std::string& name) const;
  void PrepareLiteralPrefix();

  // The term sequence (term_sequence.cpp).
  bool TryTerm(int i);
  bool MatchPair(int i);
  bool SkipWords(int i);
  bool SkipAnyWords(int i);
  bool ReadToken();
  bool ReadTextToken();
  bool ReadTagToken();
  void TakeTagValue(bool cut);
  void GiveBackToken();
  void SkipFollowing(TCharType kind);
  bool ReadWordUnit();
  void HoldAtZero();
  bool MatchWordTerm(const TTerm& term) const;
  // The skip-ahead (literal_skip.cpp).
  bool SkipToLiteralPrefix();
  bool SkipInChunks();
  bool SkipByteByByte();
  bool PrefixAt(const unsigned char* bytes) const;

  TScanControl* control_ = nullptr;
  bool first_ = false;              // the attempt's first term is not decided yet
  std::int32_t attemptStart_ = 0;   // where a failed attempt restarts
  bool lastTokenEmpty_ = true;      // the last token read met the end of the range
  std::int32_t tokenStart_ = 0;     // position before the last token was read
  std::int32_t attemptStartBefore_ = 0;  // attemptStart_ before the last token

  // The literal start of the first term, when the scan may skip ahead to the
  // next token that begins with it (text search without skipping or equal
  // characters); empty otherwise. skipClass_ marks delimiters and the bytes
  // that fold to the prefix's first byte, and 0 as the end.
  static constexpr std::uint8_t kPrefixStart = 4;
  static constexpr std::uint8_t kRangeEnd = 8;  // the 0 read at the end (or a zero byte)
  std::string literalPrefix_;
  std::array<std::uint8_t, 256> skipClass_{};
  // The skip-ahead's own window on Source: chunkLength_ bytes from chunkStart_.
  std::vector<unsigned char> chunk_;
  std::int32_t chunkStart_ = 0;
  std::int32_t chunkLength_ = 0;
};

}  // namespace korvane
