// Advanced collocation: multi-word strings around the hits of a concordance
// counted into a frequency table, either a chosen sequence of positions
// ("in ... of" for 2L, 1R) or every run of N consecutive words that holds the
// search term (the span), and the rows of the word list that shows them with
// the percentage of hits. Also the "AdvancedColloc" configuration section.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frequency/word_list.h"
#include "results/custom_sort.h"

namespace korvane {

class IniFile;
class ProgramState;
class TConcordItems;
struct TAdvancedSortColOptions;

// The field of the advanced collocation options that the shared sort
// options record does not hold.
struct TAdvancedCollocExtras {
  std::int32_t ShowFirst = 0;  // 0..1000, 0 unlimited; stored, not applied
};

inline constexpr int kAdvancedCollocBuckets = 8192;
inline constexpr int kMinSpanNumber = 2;
inline constexpr int kMaxSpanNumber = 5;

// Reads section "AdvancedColloc": positions as collocation list captions or
// integers of the older list ("3L" ... "3R", "None"), anything else "None";
// SpanNumber outside 2..5 reads as 2.
void ReadAdvancedColloc(const IniFile& ini, TAdvancedSortColOptions& options, TAdvancedCollocExtras& extras);
void WriteAdvancedColloc(IniFile& ini, const TAdvancedSortColOptions& options,
                         const TAdvancedCollocExtras& extras);

// The string of one hit in position mode: the words at the positions in
// order, joined by a space, with " ..." before a word whose position is not
// the right neighbour of the previous listed one. Positions are key codes
// (0 the search term, 1..8 4L..4R).
std::string PositionKey(const std::vector<std::string>& words, const std::vector<bool>& present,
                        const TAdvancedSortColList& positions);

// Counts every hit into a new table (8192 buckets, CaseFolding = IgnoreCase)
// sorted by frequency: the position key of each hit, or with span > 0 each
// run of span words holding the search term that has all its words. The
// progress window "Advanced Collocation" is shown above 256 hits. Throws
// EAbort on cancel; the table is then gone. Lets pending messages run.
std::unique_ptr<THashStrings> CountAdvancedCollocation(TConcordItems& items, ProgramState& state,
                                                       const TAdvancedSortColList& positions, int span);

// "Advanced Collocation - Span N" or "Advanced Collocation - 1L, 1R".
std::string AdvancedCollocationCaption(const TAdvancedSortColList& positions, int span);

// The whole count as a word list: caption, and rows in frequency order with
// the percentage of hits, filtered as word lists are. No status text.
TWordList AdvancedCollocationList(TConcordItems& items, ProgramState& state,
                                  const TAdvancedSortColList& positions, int span);

}  // namespace korvane
