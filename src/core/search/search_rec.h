// TSearchRec: what one search asks for. The search dialog (or the command
// line, or a batch run) fills it: the patterns, the search syntax, the
// options, and the optional heading and context restrictions. TSearch takes a
// copy of it when it prepares the search and compiles the patterns from it;
// the record itself holds no compiled state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

// The search syntax.
enum TSearchMode : std::uint8_t { smText = 0, smRegex = 1, smTag = 2 };

// The bits of TSearchRec::Flags.
enum TSearchFlag : std::uint8_t {
  sfContextSearch = 1,   // search only between a left and a right context pattern
  sfHeadingSearch = 2,   // search only in texts under a matching heading
  sfSkipEqual = 4,       // use skipping and equal characters
  sfCaseSensitive = 8,   // do not ignore case
  sfSentenceMode = 16,   // hits may not cross a sentence end
};

// "Text", "Regex" or "Tag": the name of a syntax in the progress details.
const char* SearchModeName(TSearchMode mode);

struct TSearchRec {
  TSearchMode Mode = smText;
  std::uint8_t Flags = 0;
  // The patterns as the user sees them (progress captions, batch output) and
  // the texts to compile, parallel lists.
  std::vector<std::string> PatternNames;
  std::vector<std::string> Patterns;
  std::string LeftContext;
  std::string RightContext;  // may be empty
  std::string HeadStart;
  std::string HeadingPattern;
  std::string HeadStop;
  std::string TextStart;
  std::string TextStop;
  std::string SkippingChars;  // set with sfSkipEqual
  std::string EqualChars;     // set during preparation with sfSkipEqual
  std::int32_t FrequencyOfHits = 1;  // set during preparation

  bool Has(TSearchFlag flag) const { return (Flags & flag) != 0; }

  // The copy that a prepared search keeps: Mode, Flags and the eight strings
  // from LeftContext to SkippingChars; no pattern lists, EqualChars empty and
  // FrequencyOfHits 1 until preparation sets them.
  TSearchRec PreparedCopy() const;
};

}  // namespace korvane
