// The line view's layout: the metrics of its fonts, the formatting and
// wrapping of one line, and the visible lines with the one above and the one
// below them.
#include <QFontMetrics>

#include <algorithm>

#include "corpus/file_strings.h"
#include "gui/app/qt_convert.h"
#include "gui/results/strings_view.h"

namespace korvane::gui {
namespace {

// Marks a layout in progress for as long as it lives.
class LayoutScope {
 public:
  explicit LayoutScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~LayoutScope() { flag_ = false; }
  LayoutScope(const LayoutScope&) = delete;
  LayoutScope& operator=(const LayoutScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TStringsView::RecomputeMetrics() {
  // Metrics follow the fonts in use, so that a smaller font brings the lines
  // closer again.
  const auto measure = [](const QFont& font, int& height, int& width) {
    const QFontMetrics metrics(font);
    height = std::max(height, metrics.lineSpacing());
    width = std::max(width, metrics.horizontalAdvance(QLatin1Char('0')));
  };
  int height = 1;
  int width = 1;
  measure(font(), height, width);
  for (const TSVFontInfo& info : fonts_) measure(SegmentFont(info), height, width);
  lineHeight_ = height;
  charWidth_ = width;
}

QFont TStringsView::SegmentFont(const TSVFontInfo& info) const { return ApplyFontInfo(font(), info); }

const TSVFormatInfo* TStringsView::SegmentAt(const TSVFormatArray& format, int position) {
  for (const TSVFormatInfo& segment : format) {
    if (segment.Start > position) break;
    if (position < segment.Start + segment.Length) return &segment;
  }
  return nullptr;
}

TSVScreenDrawInfo TStringsView::LayoutLine(int index, int top) {
  TSVScreenDrawInfo info;
  info.Index = index;
  QString text;
  if (OnFormatItem)
    OnFormatItem(*this, index, text, info.Format, info.Label);
  else if (source_ != nullptr)
    text = codec_.Decode(source_->Get(index));

  const int left = LabelsShown() ? labelWidth_ + 2 : 0;
  const int right = viewport()->width();
  info.Rect = QRect(left, top, std::max(0, right - left), wordWrap_ ? viewport()->height() : lineHeight_);
  if (!wordWrap_)
    info.Lines = {text};
  else if (OnWrapItem)
    OnWrapItem(*this, index, text, info.Rect, info.Format, info.Lines);
  else
    DefaultWrap(text, info.Rect, info.Format, info.Lines);
  if (info.Lines.empty()) info.Lines.push_back(QString());
  return info;
}

void TStringsView::DefaultWrap(const QString& text, QRect& rect, const TSVFormatArray& format,
                               TSVStringsArray& lines) const {
  const int available = rect.width() - 4;  // 2 pixels off each side
  const QFont base = font();

  // Width and height of every character in the font of its segment.
  const int n = static_cast<int>(text.size());
  std::vector<int> widths(static_cast<std::size_t>(n));
  std::vector<int> heights(static_cast<std::size_t>(n));
  const TSVFormatInfo* segment = nullptr;
  QFontMetrics metrics(base);
  for (int i = 0; i < n; ++i) {
    const TSVFormatInfo* at = SegmentAt(format, i + 1);
    if (i == 0 || at != segment) {
      segment = at;
      metrics = QFontMetrics(at != nullptr ? SegmentFont(at->Font) : base);
    }
    const QChar c = text[i] == QLatin1Char('\t') ? QLatin1Char(' ') : text[i];
    widths[static_cast<std::size_t>(i)] = metrics.horizontalAdvance(c);
    heights[static_cast<std::size_t>(i)] = metrics.height();
  }

  int total = 0;
  const auto finish = [&](int from, int to) {
    int height = lineHeight_;
    for (int k = from; k < to; ++k) height = std::max(height, heights[static_cast<std::size_t>(k)]);
    lines.push_back(text.mid(from, to - from));
    total += height;
  };

  int start = 0;
  int x = 0;
  int lastSpace = -1;
  for (int i = 0; i < n; ++i) {
    const int w = widths[static_cast<std::size_t>(i)];
    while (x + w > available && i > start) {
      // Break after the last space, or before this character in a line
      // without one.
      const int end = lastSpace >= start ? lastSpace + 1 : i;
      finish(start, end);
      start = end;
      lastSpace = -1;
      x = 0;
      for (int k = start; k < i; ++k) x += widths[static_cast<std::size_t>(k)];
    }
    if (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')) lastSpace = i;
    x += w;
  }
  finish(start, n);
  rect.setHeight(std::max(lineHeight_, total));
}

void TStringsView::Layout() {
  if (inLayout_) return;
  const LayoutScope scope(inLayout_);
  screen_.clear();
  above_.reset();
  below_.reset();
  lastVisible_ = top_ - 1;
  filled_ = false;
  lastFits_ = true;
  overflow_ = 0;
  const int count = Count();
  if (count == 0) {
    top_ = 0;
    lastVisible_ = -1;
    return;
  }
  top_ = std::clamp(top_, 0, count - 1);
  const int clientHeight = viewport()->height();
  if (top_ > 0) above_ = LayoutLine(top_ - 1, -lineHeight_);
  int y = 0;
  int i = top_;
  while (i < count && (y < clientHeight || screen_.empty())) {
    TSVScreenDrawInfo info = LayoutLine(i, y);
    y = info.Rect.top() + info.Rect.height();
    screen_.push_back(std::move(info));
    ++i;
  }
  lastVisible_ = i - 1;
  filled_ = y >= clientHeight;
  lastFits_ = y <= clientHeight;
  overflow_ = std::max(0, y - clientHeight);
  if (i < count) below_ = LayoutLine(i, y);
}

int TStringsView::TopForLastLine() {
  const int count = Count();
  if (count == 0) return 0;
  const int clientHeight = viewport()->height();
  int height = 0;
  int top = count - 1;
  for (int i = count - 1; i >= 0; --i) {
    const int lineHeight = LayoutLine(i, 0).Rect.height();
    if (i != count - 1 && height + lineHeight > clientHeight) break;
    height += lineHeight;
    top = i;
  }
  return top;
}

}  // namespace korvane::gui
