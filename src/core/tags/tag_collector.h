// The tag-information collection: one pass over a text's bytes that builds
// its line table, page table and tracked-tag table, counts its words and,
// while words are counted on load, adds them to the corpus word table.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class ProgramState;

// Which tables to build.
struct TCollectRequest {
  bool Lines = true;
  bool Pages = true;
  bool WatchedTags = true;
  bool CancelAllOffered = false;  // the progress dialog offers "Cancel All"
};

// Texts are read in blocks of this size; every further block keeps the last
// kCollectOverlap bytes of the previous one in front of the new bytes, so
// that delimiters and tags crossing a block boundary are found.
inline constexpr std::int32_t kCollectBlockSize = 65536;
inline constexpr std::int32_t kCollectOverlap = 512;

// Collects the tag information of the text named name (nothing when it is
// not in the corpus or state.CancelAllTagCollection is set). Words are
// counted when wordCount is below 1, and wordCount then receives the count.
// The finished tables go into the text's slots. On cancel (EAbort; "Cancel
// All", or "Cancel" when "Cancel All" is not offered, also sets
// CancelAllTagCollection) or on an error the tables being built are deleted
// and their slots emptied, and the exception passes on. User-interface
// thread; lets pending messages run once per block.
void CollectTagInfo(ProgramState& state, const std::string& name, const TCollectRequest& request,
                    std::int32_t& wordCount);

// "Collect Tag Information": collects lines, pages and tracked tags for every
// text that lacks them and counts the texts not counted yet, then updates
// TotalWords and the corpus information. An error is shown and stops the
// loop. Returns false when the loop was cancelled or stopped by an error.
// User-interface thread; lets pending messages run.
bool CollectAllTagInfo(ProgramState& state);

}  // namespace korvane
