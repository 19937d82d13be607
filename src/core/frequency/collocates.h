// Collocates of a concordance: for each word position around the hits
// (slots 1..8 = 4L..4R) a frequency table of the words standing there, the
// rank of every hit's words among the most frequent counts (which the line
// builder shades), and the rows of the collocation window with its saved
// text table.
//
// The tables live in the hit list (CollocTables, CollocFirst, CollocLast,
// CollocOn); these functions are the operations on them. All run on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace korvane {

class ProgramState;
class TConcordItem;
class TConcordItems;

// The first and last slot of span n (1..4): 5 - n and 4 + n.
inline int SpanFirstSlot(int span) { return 5 - span; }
inline int SpanLastSlot(int span) { return 4 + span; }
// "4-Left" ... "1-Left", "1-Right" ... "4-Right" for slots 1..8.
const char* CollocSlotName(int slot);

// Above this many hits a slot's table gets hits / 64 buckets instead of 256.
inline constexpr int kCollocLargeConcordance = 16383;
// The build polls its progress dialog (shown above this many hits) every
// 256th hit.
inline constexpr int kCollocCheckHits = 256;
// A search with HighlightCollocates turns highlighting on at this hit.
inline constexpr int kCollocHighlightAtHit = 100;

// Counts every hit into fresh tables of slots first..last, ranks all hits
// and sorts the tables by frequency, with the progress dialog "Generating
// collocation". On cancel or any error the tables are freed and the
// exception (EAbort for a cancel) passes on. Lets pending messages run.
void BuildCollocates(TConcordItems& items, ProgramState& state, int first, int last);
// True when the tables were built for exactly first..last and all exist.
bool CollocatesBuilt(const TConcordItems& items, int first, int last);
// Adds the words of hit at the built slots (folded when IgnoreCase, stop
// words left out) to their tables.
void CountCollocates(TConcordItems& items, const ProgramState& state, const TConcordItem& hit);
// Stores the rank of each built slot's word: TopRank of its count when the
// count is at least 2, else kNoRank.
void RankCollocates(TConcordItems& items, const ProgramState& state, TConcordItem& hit);
void RankAllCollocates(TConcordItems& items, const ProgramState& state);
// Turns shading on or off. Turning on with tables built for the current
// span sets their highlight capacity and re-ranks; otherwise builds them.
// May build (see BuildCollocates).
void SetCollocHighlight(TConcordItems& items, ProgramState& state, bool on);
// Frees the tables of slots 1..8.
void FreeCollocates(TConcordItems& items);
// A new highlight count from the options: every built table gets it as
// capacity and all hits are re-ranked (only while highlighting is on).
void UpdateCollocHighlightCount(TConcordItems& items, ProgramState& state);

// To be called by the owner of a searching concordance after each hit was
// appended: at the 100th hit with highlightDuringSearch it turns shading on
// (building the tables); after that each new hit is counted and ranked.
void CollocatesAfterAdd(TConcordItems& items, ProgramState& state, bool highlightDuringSearch);

// To be called when a search into the concordance ended: CollocColor takes
// the collocate font's colour and, when the window's highlight mark is set,
// shading is turned on (building the tables when the search ended below the
// 100th hit) and every hit is ranked from the final counts. May build.
void CollocatesAfterSearch(TConcordItems& items, ProgramState& state, bool highlightMark);

// The rows of the collocation window or of its saved table: for each slot of
// first..last the entries in frequency order that pass the frequency
// limits, side by side; while some slot has entries left and fewer than
// maxRows rows exist (a negative maxRows: no limit). As the test for another
// row comes before the skipping, the last row may hold only empty cells.
struct TCollocCell {
  std::int32_t Count = 0;
  std::string Word;
};
using TCollocRow = std::vector<std::optional<TCollocCell>>;
std::vector<TCollocRow> CollocationRows(TConcordItems& items, const ProgramState& state, int first,
                                        int last, std::int32_t maxRows);
// "Frequency Statistics - [" + pattern + "]", or "Frequency Statistics".
std::string CollocationCaption(const std::string& pattern);
// The saved collocate table: "Word: " + pattern, an empty line, the slot
// names joined by two tabs, then the rows (count, tab, word or one tab per
// slot, slots separated by a tab), at most maxLines rows (0: all). CR LF.
void WriteCollocateTable(std::ostream& out, TConcordItems& items, const ProgramState& state,
                         const std::string& pattern, std::int32_t maxLines);

}  // namespace korvane
