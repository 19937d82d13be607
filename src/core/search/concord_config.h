// ConcordConfig: the settings that decide what a word is, how a search
// pattern is read and how much context a hit gets, plus the groups of
// settings that other subsystems own (sorting, batch search, tags,
// part-of-speech tags). One object lives in the program state.
//
// This file also holds the character classes that the reader, the pattern
// compiler and the matcher share: the reader's delimiter set, the search
// delimiter set, and the compiled equal-character groups; and the part of
// the search options dialog's OK that is no user-interface work.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/font.h"

namespace korvane {

class Host;
class IniFile;

// A set over the 256 byte values.
using CharSet = std::bitset<256>;
using CharSetArray = std::vector<CharSet>;

inline bool InSet(const CharSet& set, unsigned char c) { return set.test(c); }

// The default word delimiters: . , ; : ! # $ ^ & ( ) [ ] { } < > + = / \ | ` ~ "
inline constexpr const char* kDefaultNonWordChars = ".,;:!#$^&()[]{}<>+=/\\|`~\"";

// Three sort levels with reverse flags, two strings, and the fields of the
// copy's owner (advanced sort, advanced collocation, batch search).
struct TAdvancedSortColOptions {
  std::uint8_t FirstKey = 10;  // 10: unsorted
  bool FirstReverse = false;
  std::uint8_t SecondKey = 10;
  bool SecondReverse = false;
  std::uint8_t ThirdKey = 10;
  bool ThirdReverse = false;
  bool Custom = false;     // the customised key text is in force
  std::string CustomText;  // the customised key text
  std::string TagName;     // the tracked tag that sorts
  // Owned by the advanced-collocation settings.
  bool UseSpan = false;
  std::int32_t Span = 0;
};

// One meta tag of the part-of-speech settings: a name standing for a list of tags.
struct TMetaTag {
  std::string Name;
  std::vector<std::string> Tags;
};

class ConcordConfig {
 public:
  ConcordConfig();

  // --- Search options ---------------------------------------------------
  std::int32_t MaximumHits = 1024;
  std::int32_t FrequencyOfHits = 1;
  std::uint8_t ContextType = 0;  // 0 characters, 1 words, 2 lines, 3 sentence
  std::int32_t ContextSizes[4] = {40, 8, 3, 1};
  std::string NonWordChars = kDefaultNonWordChars;
  std::string SkippingChars = "-=";
  std::string EqualChars;
  CharSetArray EqualCharSets;
  char WildCard0orMore = '*';
  char WildCard0or1 = '%';
  char WildCardExactly1 = '?';
  char WildCardMatchWords = '@';
  std::uint8_t MatchWordsLo = 2;
  std::uint8_t MatchWordsHi = 5;
  char TagSearchSeparator = '&';

  // --- Search dialog switches -------------------------------------------
  bool IgnoreCase = true;
  bool UseSkipEqualChars = false;
  bool SentenceMode = false;
  bool RegularExpressions = false;
  bool TagSearch = false;

  // --- Sorting and collocation ------------------------------------------
  TAdvancedSortColOptions AdvancedSortOptions;
  TAdvancedSortColOptions AdvancedCollocOptions;

  // --- Batch search -----------------------------------------------------
  std::uint8_t BatchContextType = 0;
  std::int32_t BatchContextSizes[4] = {40, 8, 3, 1};
  bool BatchSuppressTags = false;
  bool BatchSuppressWordTags = false;
  bool BatchSuppressWords = false;
  TAdvancedSortColOptions BatchSortOptions;
  std::vector<std::string> BatchCustomSortKeys;

  // --- Fonts --------------------------------------------------------------
  TFont NormalFont;
  TFont HiliteFont;
  TFont CollocateFont;
  bool HighlightCollocates = true;

  // --- Tag settings -----------------------------------------------------
  char TagStart = '<';
  char TagStop = '>';
  std::string PageSeparator;
  bool ShowLines = false;
  bool ShowPages = false;
  bool RelativeLines = false;

  // --- Part-of-speech tag settings --------------------------------------
  std::uint8_t WordTag = 0;  // 0 none, 1 embedded after a delimiter, 2 outside the word
  bool wTagBefore = false;
  char wTagDelimiter = '_';
  std::vector<std::string> wTagStarts;
  char wTagStop = '>';
  std::vector<TMetaTag> MetaTags;

  // --- Values edited by the search options dialog beside the object ------
  std::int32_t BigContextSize = 10;  // kilobytes of the larger context pane
  std::vector<std::string> DelimiterHistory;
  std::vector<std::string> SkippingHistory;
  std::vector<std::string> EqualHistory;

  // Resets the three concordance fonts to their start-up values: the system
  // font, the highlight font blue and the collocate font red.
  void ResetFonts();

  // The reader's delimiter set: codes 0 to 32, NonWordChars and the four
  // wildcards.
  CharSet DelimiterSet() const;
  // The search delimiter set of a compiled pattern: codes 0 to 32,
  // NonWordChars and the three character wildcards, minus the skipping
  // characters given.
  CharSet SearchDelimiterSet(const std::string& skippingChars) const;

  // Compiles EqualChars into EqualCharSets. Returns false, and leaves
  // EqualCharSets unchanged, when the text is not valid.
  bool CompileEqualChars();
  // True when a and b are the same byte, or UseSkipEqualChars is on and one
  // group holds both.
  bool IsEqualChar(unsigned char a, unsigned char b) const;

  // Reads and writes the search options' keys of "ConcordanceConfiguration"
  // and the three history sections. Missing keys read as their defaults,
  // except the fonts, which a missing key leaves as they are. Reading
  // corrects ContextType outside 0..3 to 0, BigContextSize outside 1..31 to
  // 10 and FrequencyOfHits below 1 to 1, and compiles EqualChars (an invalid
  // text stays in EqualChars and the previous groups stay in force).
  void Load(const IniFile& ini);
  void Save(IniFile& ini) const;
};

// Compiles an equal-character text ("a=á=à;e=é": groups separated by ";",
// members by "=") into groups. Returns false when the text is not valid;
// groups is then untouched. An empty text gives no groups.
bool CompileEqualCharText(const std::string& text, CharSetArray& groups);

// What the search options dialog hands over on OK, after it has clamped its
// numbers to their ranges.
struct TSearchOptionsValues {
  std::int32_t MaximumHits = 500;
  std::int32_t FrequencyOfHits = 1;
  std::uint8_t ContextType = 0;
  std::int32_t ContextSize = 40;  // the size of ContextType
  std::string NonWordChars;
  std::string SkippingChars;
  std::string EqualChars;
  // Character 0 (an empty edit) disables the wildcard.
  char WildCard0orMore = '*';
  char WildCard0or1 = '%';
  char WildCardExactly1 = '?';
  char WildCardMatchWords = '@';
  std::uint8_t MatchWordsLo = 2;
  std::uint8_t MatchWordsHi = 5;
  std::string TagSearchSeparator;  // empty keeps the current separator
  bool HighlightCollocates = true;
  std::int32_t BigContextSize = 10;  // the chosen context window: 10, 20 or 30
};

// The context window the dialog shows for a stored BigContextSize: 10, 20 or
// 30 as they are, any other size as 10.
inline std::int32_t BigContextSizeChoice(std::int32_t size) {
  return size == 10 || size == 20 || size == 30 ? size : 10;
}

struct TSearchOptionsResult {
  // The delimiters or a wildcard changed: the caller discards every word
  // count and the corpus word table and gives every reader the new
  // DelimiterSet().
  bool WordDefinitionChanged = false;
  // False when EqualChars is not valid: the error was shown and the dialog
  // stays open with the focus on the equal characters.
  bool EqualCharsValid = true;
};

// Stores the dialog's values into config. With part-of-speech tags embedded
// in words, the tag delimiter is taken out of the word delimiters and the
// user is told so through host. Then compiles the equal characters, showing
// an error through host when they are not valid; when they are, a changed
// BigContextSize is stored and announced through host. The caller rebuilds
// the language's character tables afterwards. User-interface thread only.
TSearchOptionsResult ApplySearchOptions(ConcordConfig& config, const TSearchOptionsValues& values,
                                        Host& host);

}  // namespace korvane
