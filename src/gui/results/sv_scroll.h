// The vertical scroll range of the line view. Its range is independent of the
// number of lines: 0 to count + lines per page - 2, with a page of the lines
// per page, and when that range reaches 32,768 the range, page and position
// are scaled to 0 ... 32,767 so that any number of lines fits a scroll bar.
// Positions are in the Windows sense: the last reachable position is
// Max - Page + 1.
#pragma once

namespace korvane::gui {

inline constexpr int kSVScrollLimit = 32767;

struct TSVScrollInfo {
  int Max = 0;
  int Page = 0;
  int Position = 0;
  bool Scaled = false;
};

// The scroll bar of count lines with linesPerPage (at least 1) per page and
// top as the first visible line.
TSVScrollInfo VerticalScrollInfo(int count, int linesPerPage, int top);

// The top line for a thumb position: in a scaled range, line 0 for positions
// up to 1, the last line from 32,761 on, else the position mapped back and
// rounded; always within 0 ... count - 1.
int TopFromThumb(int thumb, int count, int linesPerPage);

}  // namespace korvane::gui
