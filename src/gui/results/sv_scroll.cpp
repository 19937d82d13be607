// Scaling of the line view's vertical scroll range.
#include "gui/results/sv_scroll.h"

#include <algorithm>
#include <cmath>

namespace korvane::gui {
namespace {

// Thumb positions from here on show the last line.
constexpr int kLastLineThumb = 32761;

int ScaleToLimit(long long value, long long range) {
  return static_cast<int>(std::llround(static_cast<double>(kSVScrollLimit) * static_cast<double>(value) /
                                       static_cast<double>(range)));
}

long long RangeOf(int count, int linesPerPage) {
  return std::max<long long>(0, static_cast<long long>(count) + std::max(1, linesPerPage) - 2);
}

}  // namespace

TSVScrollInfo VerticalScrollInfo(int count, int linesPerPage, int top) {
  const int page = std::max(1, linesPerPage);
  const long long range = RangeOf(count, page);
  if (range <= kSVScrollLimit) return TSVScrollInfo{static_cast<int>(range), page, top, false};
  return TSVScrollInfo{kSVScrollLimit, std::max(1, ScaleToLimit(page, range)), ScaleToLimit(top, range), true};
}

int TopFromThumb(int thumb, int count, int linesPerPage) {
  if (count <= 0) return 0;
  const long long range = RangeOf(count, linesPerPage);
  long long top = thumb;
  if (range > kSVScrollLimit) {
    if (thumb <= 1)
      top = 0;
    else if (thumb >= kLastLineThumb)
      top = count - 1;
    else
      top = std::llround(static_cast<double>(range) * thumb / kSVScrollLimit);
  }
  return static_cast<int>(std::clamp<long long>(top, 0, count - 1));
}

}  // namespace korvane::gui
