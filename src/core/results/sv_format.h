// Formatting segments of a display line: the line builder produces them, the
// line view draws them, the exporters mark them up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

// Font changes of one segment; empty name, empty style (-1), colour 0 and
// size 0 keep the line's font.
struct TSVFontInfo {
  std::string Name;
  int Style = -1;  // set of TFontStyle bits, -1 to keep
  std::int32_t Color = 0;
  int Size = 0;

  bool operator==(const TSVFontInfo&) const = default;
};

struct TSVFormatInfo {
  std::int32_t Start = 0;   // 1-based character position in the line
  std::int32_t Length = 0;
  std::uint8_t Centring = 0;  // the view centres the line on this segment
  std::uint8_t Hit = 0;       // the segment is the search term
  TSVFontInfo Font;

  bool operator==(const TSVFormatInfo&) const = default;
};

// Segments in ascending, non-overlapping order of Start.
using TSVFormatArray = std::vector<TSVFormatInfo>;

}  // namespace korvane
