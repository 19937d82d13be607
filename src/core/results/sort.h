// Sorting of a concordance: how two hits compare under one key, how the
// three keys of a sort (or a customised key sequence) combine into the
// comparison of two lines, and the sort of a whole hit list.
//
// The list sort is a quicksort with the middle item as pivot. It is not
// stable; the order of equal lines is whatever this very algorithm leaves,
// so the algorithm itself is kept as it is. To keep a sort of a million
// hits within seconds, every hit's collation key (or reversed word) is
// computed once per sort and per key, and the quicksort compares those
// bytes; the result is the same as comparing through the collator each time.
//
// Everything here runs on the user-interface thread and never lets pending
// messages run; a sort runs to completion.
#pragma once

#include <cstdint>

#include "results/concord_item.h"
#include "results/custom_sort.h"
#include "search/concord_config.h"

namespace korvane {

class ProgramState;
class TConcordItems;
class TTagQuery;

// The settings a comparison depends on: the language's collation and case
// mapping, IgnoreCase, and the skipping characters when they are in use.
class TSortSettings {
 public:
  explicit TSortSettings(const ProgramState& state);
  const ProgramState& State() const { return state_; }
  bool IgnoreCase() const { return ignoreCase_; }
  bool Skipping() const { return skipping_; }
  // word without the skipping characters (the word itself when they are
  // not in use).
  std::string Stripped(const std::string& word) const;

 private:
  const ProgramState& state_;
  bool ignoreCase_;
  bool skipping_;
  bool skipChar_[256] = {};
};

// -1, 0 or 1 as hit a sorts before, with or after hit b under key (a key
// code other than 10) and its reverse flag, comparing through the collator:
// words absent last, tag values absent first, unassigned letters after "z",
// reverse comparison by word endings.
int CompareItems(const TConcordItem& a, const TConcordItem& b, std::uint8_t key, bool reverse,
                 const TSortSettings& settings);

// The levels a sort compares, in order: the customised sequence when one is
// given, otherwise First, Second and Third without the unset ones (10).
TAdvancedSortColList SortLevels(const TAdvancedSortColOptions& options,
                                const TAdvancedSortColList* custom);

// -1, 0 or 1 as line a compares with line b: the first level that does not
// compare equal decides.
int CompareLines(const TConcordItem& a, const TConcordItem& b, const TAdvancedSortColList& levels,
                 const TSortSettings& settings);

// How the list sort compares. Both give the same order; DirectComparison
// calls the collator for every comparison and exists for checking and
// measuring.
enum class TSortMethod { PrecomputedKeys, DirectComparison };

// Sorts list by options, or by custom when it is given (pass it only while
// the options' customised sort is on; it is used only during this call).
// Stores the three keys in the list's SortKeys. When a key is the tracked
// tag and TagName is set, the tag is looked up among tags' tracked tags by
// exact name; when its index differs from the list's TagIndex the index is
// taken over and, unless it is -1, the hits' tag values are computed. A
// list of 0 or 1 hits stays as it is. Throws std::bad_alloc when memory
// runs out; the hits are then still all in the list, in some order.
void SortConcordance(TConcordItems& list, const TAdvancedSortColOptions& options,
                     const TAdvancedSortColList* custom, const TTagQuery& tags,
                     const ProgramState& state,
                     TSortMethod method = TSortMethod::PrecomputedKeys);

// The options of a menu sort command: first and second key (10 for none),
// no third key, no reverse flags; the other fields come from base.
TAdvancedSortColOptions MenuSortOptions(const TAdvancedSortColOptions& base, std::uint8_t first,
                                        std::uint8_t second);

// True when a window whose last sort used last may skip a sort with next:
// no customised sequence is given, the three keys and reverse flags are
// equal, no key is "Defined" (letters change between sorts), and when a
// key is the tracked tag the tag names are equal.
bool SortIsRedundant(const TAdvancedSortColOptions& next, const TAdvancedSortColOptions& last,
                     bool customGiven);

}  // namespace korvane
