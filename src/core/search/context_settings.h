// The context settings block: the unit of a concordance line's left and
// right context (0 Characters, 1 Words, 2 Lines, 3 Sentence) and the size of
// each unit, laid out like the context fields of the search settings. The
// concordance window and the batch search each keep one, edited by the
// context options dialog.
#pragma once

#include <algorithm>
#include <cstdint>

namespace korvane {

struct ContextSizeRange {
  std::int32_t Min;
  std::int32_t Max;
};

// The sizes a unit allows: Characters 0..1000, Words 0..40, Lines 0..10,
// Sentence exactly 1.
inline constexpr ContextSizeRange kContextSizeRanges[4] = {{0, 1000}, {0, 40}, {0, 10}, {1, 1}};

// size limited to the range of type; a type above 3 counts as Characters.
inline std::int32_t ClampContextSize(int type, std::int32_t size) {
  const ContextSizeRange& range = kContextSizeRanges[(type >= 0 && type < 4) ? type : 0];
  return std::clamp(size, range.Min, range.Max);
}

struct ContextSettings {
  std::uint8_t ContextType = 0;
  std::int32_t ContextSizes[4] = {40, 8, 3, 1};

  // What the context options dialog's OK stores: size, limited to the
  // range of type, as the size of type, and type as the unit. A type above
  // 3 counts as Characters.
  void Set(int type, std::int32_t size) {
    if (type < 0 || type > 3) type = 0;
    ContextSizes[type] = ClampContextSize(type, size);
    ContextType = static_cast<std::uint8_t>(type);
  }
  std::int32_t Size() const { return ContextSizes[ContextType < 4 ? ContextType : 0]; }
};

}  // namespace korvane
