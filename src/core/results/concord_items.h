// TConcordItems: the hit list of one concordance, and TConcordStrings, the
// read-only string-list view of it that the line view draws from.
//
// The list owns its hits in display order. It keeps no context text: each
// display line is rebuilt from the corpus text by the line builder whenever
// it is asked for, with the list's own display block (context type and
// sizes, concealing) and suppress flags. Besides the hits the list carries
// the keys of the last sort, the tracked-tag values of the hits and the
// per-position collocate tables with their highlighting state.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/concord_item.h"
#include "search/line_builder.h"

namespace korvane {

class ProgramState;
class THashStrings;
class TTagQuery;
struct TAdvancedSortColItem;

// One sort level: a position or key code and its reverse flag.
struct TSortKey {
  std::uint8_t Key = pcUnsorted;
  bool Reverse = false;
};

// The display block that the concordance window owns and copies into its
// list as a whole whenever it changes.
struct TConcordDisplay {
  std::uint8_t ContextType = ctxCharacters;
  std::int32_t ContextSizes[4] = {40, 8, 3, 1};
  bool ConcealHits = false;
  bool ConcealCollocates = false;
};

// The text a display line shows when it cannot be built.
inline constexpr const char* kOutOfMemoryLine = "<out of memory>";

class TConcordItems {
 public:
  // An empty list over the corpus and settings of state, which must outlive
  // it. TagIndex is -1.
  explicit TConcordItems(ProgramState& state);
  ~TConcordItems();
  TConcordItems(const TConcordItems&) = delete;
  TConcordItems& operator=(const TConcordItems&) = delete;

  // The three keys of the last sort (code 10: none).
  std::array<TSortKey, 3> SortKeys;
  // The customised key sequence of the last sort; not owned.
  const std::vector<TAdvancedSortColItem>* CustomKeys = nullptr;
  // Index among the tracked tags of the tag whose values the hits' TagValue
  // hold, or -1.
  std::int32_t TagIndex = -1;

  // Collocate tables of the slots 1..8 (element 0 is slot 1), absent until
  // built, with the slot range they were built for and the highlighting
  // state.
  std::array<std::unique_ptr<THashStrings>, 8> CollocTables;
  std::uint8_t CollocFirst = kNoCollocates;
  std::uint8_t CollocLast = kNoCollocates;
  bool CollocOn = false;
  std::int32_t CollocColor = 0;

  TConcordDisplay Display;
  // Character classes left out of display lines; the window sets them in place.
  bool SuppressTags = false;
  bool SuppressPartOfSpeech = false;
  bool SuppressWords = false;

  // Appends a hit and returns its index. When appending fails the hit is
  // freed and the error (std::bad_alloc) passes on.
  int Add(std::unique_ptr<TConcordItem> item);
  // Frees hit index and moves the later hits up. Serial numbers stay as they
  // are, so the order of finding survives with gaps.
  void Delete(int index);
  // Frees every hit, last to first.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Item and Delete throw Exception "List index out of bounds (N)" for an
  // index outside 0..Count()-1.
  TConcordItem& Item(int index) {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
  }
  const TConcordItem& Item(int index) const {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
  }

  // Copies the window's display block.
  void SetDisplay(const TConcordDisplay& display) { Display = display; }

  // The line of hit index as the window shows it: built with the display
  // block, the suppress flags and the collocate highlighting, the hit's
  // characters replaced by "-" when ConcealHits is set and those of the
  // collocates when ConcealCollocates is set. Stores the segments in the
  // hit's Format. A line that cannot be built is "<out of memory>", and
  // Format then keeps what it had.
  std::string DisplayLine(int index);
  // DisplayLine cut to its hit segment (the whole line when it has none).
  // A hit longer than 60 characters comes back in its shortened form.
  std::string HitText(int index);

  // The line settings of this list for a context type and size and a
  // character mask: the collocate colour, rank count and slot range are
  // the list's while highlighting is on.
  TLineSettings LineSettingsFor(std::uint8_t contextType, std::int32_t contextSize,
                                TCharTypeMask mask) const;
  // Builds the line of hit index with settings through its text's reader,
  // after giving the reader the current tag settings. Throws when the line
  // cannot be built (an unknown text, a window that cannot be read).
  TConcordLine BuildLine(int index, const TLineSettings& settings);

  // Frees every hit's TagValue and sets TagIndex to -1.
  void ClearTags();
  // For every hit in list order stores the value of tracked tag TagIndex at
  // its start, as query answers it (an empty value is stored as none). Does
  // nothing while TagIndex is -1.
  void FillTags(const TTagQuery& query);

 private:
  void CheckIndex(int index) const;
  // The line of hit index with concealing applied, its segments stored in
  // the hit; none when it cannot be built.
  std::optional<TConcordLine> ShownLine(int index);
  // The number of collocate ranks that are coloured: the highlight capacity
  // of the table of CollocFirst.
  int HighlightCapacity() const;

  ProgramState& state_;
  std::vector<std::unique_ptr<TConcordItem>> items_;
};

// The hit list seen as a list of display lines. It owns nothing; Clear and
// Insert are refused.
class TConcordStrings {
 public:
  explicit TConcordStrings(TConcordItems& items) : items_(items) {}

  int Count() const { return items_.Count(); }
  std::string Get(int index) { return items_.DisplayLine(index); }
  // Deletes the hit, freeing it.
  void Delete(int index) { items_.Delete(index); }
  // Throw Exception "\"Clear\" is unsupported method for TConcordStrings"
  // and "\"Insert\" is unsupported method for TConcordStrings"; the list is
  // unchanged.
  [[noreturn]] void Clear();
  [[noreturn]] void Insert(int index, const std::string& line);

 private:
  TConcordItems& items_;
};

}  // namespace korvane
