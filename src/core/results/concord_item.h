// TConcordItem: one hit of a concordance. It holds where the hit lies in
// which text, the hit's own text, the four words on either side with their
// offsets, and a few marks; the visible line is rebuilt from the text when
// it is needed, so no context text is stored.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "results/sv_format.h"

namespace korvane {

// Slot and sort-key codes.
enum TPositionCode : std::uint8_t {
  pcSearchTerm = 0,
  pc4L = 1, pc3L = 2, pc2L = 3, pc1L = 4,
  pc1R = 5, pc2R = 6, pc3R = 7, pc4R = 8,
  pcOriginalOrder = 9,
  pcUnsorted = 10,
  pcDefined = 11,
  pcTrackedTag = 12,
};

inline constexpr int kWordSlots = 9;
inline constexpr std::uint8_t kNoRank = 255;
inline constexpr std::uint8_t kNoLetter = 255;

class TConcordItem {
 public:
  // Slot 0: the search-term text; slots 1..8: the words 4L..4R, absent
  // (nullopt) where the text has no such word. At most 255 characters each,
  // in their own case.
  std::array<std::optional<std::string>, kWordSlots> Words;
  // Entries 1..8: [WordStart, WordEnd) of the slot's word; entry 0 stays 0.
  std::array<std::int32_t, kWordSlots> WordStart{};
  std::array<std::int32_t, kWordSlots> WordEnd{};
  // Entries 1..8: the collocate rank (0 most frequent group) or kNoRank.
  std::array<std::uint8_t, kWordSlots> CollocateRanks;
  // The value of the tracked tag at the hit, absent when none.
  std::optional<std::string> TagValue;
  std::int32_t Serial = 0;
  std::int32_t TextIndex = 0;
  std::int32_t HitStart = 0;
  std::int32_t HitEnd = 0;
  TSVFormatArray Format;
  std::uint8_t Letter = kNoLetter;

  TConcordItem() { CollocateRanks.fill(kNoRank); }
};

}  // namespace korvane
