// Examining and recording one match of a pattern.
//
// Both steps run on the second reader of the text, so that the scanning
// reader keeps its position and buffer while a match is looked at. The
// sentence check reads the match's characters and asks the sentence
// settings whether a sentence delimiter inside it ends a sentence. Recording
// turns the match into a TConcordItem: where the hit truly starts and ends,
// its words as one short text, and the four words on either side with their
// offsets (the concordance line itself is cut from the text later, when it
// is shown).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "results/concord_item.h"

namespace korvane {

class TBufStream;
class TSearchContext;
class SentenceSettings;
class LanguageState;

// The largest stretch the sentence check reads; a longer hit runs across a
// sentence end by definition.
inline constexpr std::int32_t kSentenceCheckLimit = 8192;
// The search-term text of a hit holds at most this many characters.
inline constexpr std::size_t kHitTextLimit = 60;

// Where the words of the context's current match end: in text search one
// before HitEnd when the token reader consumed the delimiter after the last
// word, else HitEnd.
std::int32_t HitWordsEnd(const TSearchContext& context);

// True when the stretch from hitStart to hitEnd runs across a sentence end:
// a sentence delimiter outside tags whose word (with the delimiter) is not
// an abbreviation. Reads on reader (its range and type map change). Throws
// Exception when the text cannot be read.
bool RunsAcrossSentenceEnd(TBufStream& reader, std::int32_t hitStart, std::int32_t hitEnd,
                           const SentenceSettings& sentences, const LanguageState& language);

// The item of the context's current match in text textIndex of textSize
// bytes, read on reader (its range and type map change). Throws Exception
// when the text cannot be read.
std::unique_ptr<TConcordItem> MakeConcordItem(TBufStream& reader, const TSearchContext& context,
                                              std::int32_t textIndex, std::int32_t textSize);

// Builds the search-term text of a word hit: the words joined by single
// spaces, never longer than 60 characters. When they do not fit and the last
// word is shorter than 54 characters, the text is the start of the joined
// words, " ... " and the last word (59 characters).
class THitTextBuilder {
 public:
  void Add(std::string_view word);
  std::string Text() const;

 private:
  std::string head_;  // the first 60 characters of the joined words
  std::string last_;
  std::size_t total_ = 0;
};

// The search-term text of a regular-expression hit from its characters:
// every run of carriage returns and line feeds becomes one space (one at the
// very beginning is dropped). head is the whole hit, or its first 27
// characters when tail (its last 28) is given for a hit of 61 or more.
std::string RegexHitText(std::string_view head, std::string_view tail, bool shortened);

}  // namespace korvane
