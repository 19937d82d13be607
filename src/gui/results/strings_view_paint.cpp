// The line view's drawing: the visible lines (by the owner or by the default
// drawing, which aligns, centres on the centring segment and draws every run
// in its segment's font and colour), the label column and the focus frame.
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTimer>

#include <algorithm>

#include "corpus/file_strings.h"
#include "gui/app/qt_convert.h"
#include "gui/results/strings_view.h"

namespace korvane::gui {
namespace {

int Bottom(const QRect& r) { return r.top() + r.height(); }

QString Displayed(QString text) {
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return text;
}

// The end (exclusive, 0-based in the sub-line) of the run that starts at from:
// the next segment boundary or the sub-line's end.
int RunEnd(const TSVFormatArray& format, int firstPosition, int from, int length) {
  const int position = firstPosition + from;  // 1-based in the line
  for (const TSVFormatInfo& segment : format) {
    const int end = segment.Start + segment.Length;
    if (position < segment.Start) return std::min(length, segment.Start - firstPosition);
    if (position < end) return std::min(length, end - firstPosition);
  }
  return length;
}

}  // namespace

QColor TStringsView::SelectedRunColor(const QColor& run, const QColor& selectedText) {
  return QColor(run.red() ^ selectedText.red(), run.green() ^ selectedText.green(),
                run.blue() ^ selectedText.blue());
}

QColor TStringsView::InactiveSelectionColor() const { return palette().color(QPalette::Midlight); }

int TStringsView::SubLineWidth(const QString& subLine, int firstPosition, const TSVFormatArray& format,
                               int* centreStart, int* centreWidth) const {
  int x = 0;
  const int length = static_cast<int>(subLine.size());
  for (int from = 0; from < length;) {
    const int to = RunEnd(format, firstPosition, from, length);
    const TSVFormatInfo* segment = SegmentAt(format, firstPosition + from);
    const QFontMetrics metrics(segment != nullptr ? SegmentFont(segment->Font) : font());
    const int width = metrics.horizontalAdvance(Displayed(subLine.mid(from, to - from)));
    if (segment != nullptr && segment->Centring != 0 && centreStart != nullptr) {
      if (*centreStart < 0) *centreStart = x;
      *centreWidth += width;
    }
    x += width;
    from = to;
  }
  return x;
}

int TStringsView::DefaultDrawItem(QPainter& painter, const QRect& rect, const TSVFormatArray& format,
                                  int startIndex, const TSVStringsArray& lines, TSVOwnerDrawState state) const {
  QColor text = fontColor_;
  QColor background = Color();
  const QColor selectedText =
      hasFocus() ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::WindowText);
  const bool selected = state.Selected && !state.Disabled;
  if (state.Disabled) {
    text = palette().color(QPalette::Disabled, QPalette::Text);
  } else if (selected) {
    text = selectedText;
    background = hasFocus() ? palette().color(QPalette::Highlight) : InactiveSelectionColor();
  }
  painter.fillRect(rect, background);

  const int leftStart = rect.left() + 2;
  const int rightEdge = rect.left() + rect.width() - 2;
  const int available = rightEdge - leftStart;
  int widest = 0;
  int firstPosition = 1;
  for (int k = 0; k < startIndex && k < static_cast<int>(lines.size()); ++k)
    firstPosition += static_cast<int>(lines[static_cast<std::size_t>(k)].size());

  int y = rect.top();
  for (int k = std::max(0, startIndex); k < static_cast<int>(lines.size()); ++k) {
    const QString& subLine = lines[static_cast<std::size_t>(k)];
    int centreStart = -1;
    int centreWidth = 0;
    const int width = SubLineWidth(subLine, firstPosition, format, &centreStart, &centreWidth);
    widest = std::max(widest, width);
    int x = leftStart;
    if (alignment_ == TAlignment::taRightJustify) {
      x = rightEdge - width;
    } else if (alignment_ == TAlignment::taCenter) {
      // The centring segment of every line begins in the same column.
      x = centreStart >= 0 ? (available - centreWidth) / 2 - 2 - centreStart : leftStart + (available - width) / 2;
    }
    x -= hOffset_ * charWidth_;

    const int length = static_cast<int>(subLine.size());
    for (int from = 0; from < length;) {
      const int to = RunEnd(format, firstPosition, from, length);
      const TSVFormatInfo* segment = SegmentAt(format, firstPosition + from);
      QFont runFont = font();
      QColor color = text;
      if (segment != nullptr) {
        runFont = SegmentFont(segment->Font);
        if (!state.Disabled) {
          const QColor own = segment->Font.Color != 0 ? ToQColor(segment->Font.Color) : fontColor_;
          color = selected ? SelectedRunColor(own, selectedText) : (segment->Font.Color != 0 ? own : text);
        }
      }
      const QFontMetrics metrics(runFont);
      const QString run = Displayed(subLine.mid(from, to - from));
      painter.setFont(runFont);
      painter.setPen(color);
      painter.drawText(x, y + (lineHeight_ - metrics.height()) / 2 + metrics.ascent(), run);
      x += metrics.horizontalAdvance(run);
      from = to;
    }
    firstPosition += length;
    y += lineHeight_;
    if (y >= Bottom(rect)) break;
  }
  return widest;
}

void TStringsView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect update = event->rect();
  const QColor background = Color();
  if (inLayout_) return;  // a repaint follows the layout
  if (source_ == nullptr || Count() == 0 || !ClientHoldsALine()) {
    painter.fillRect(update, background);
    return;
  }

  int widest = widestPixels_;
  for (const TSVScreenDrawInfo& info : screen_) {
    if (!info.Rect.intersects(update)) continue;
    TSVOwnerDrawState state;
    state.Disabled = !isEnabled();
    state.Selected = IsSelected(info.Index);
    state.Focused = info.Index == current_ && hasFocus();
    painter.save();
    painter.setClipRect(info.Rect & update);
    int height = 0;
    int width = 0;
    if (OnDrawItem)
      OnDrawItem(*this, painter, info.Rect, height, width, info.Format, info.Index, 0, info.Lines, state);
    else
      width = DefaultDrawItem(painter, info.Rect, info.Format, 0, info.Lines, state);
    painter.restore();
    widest = std::max(widest, width);
  }

  const int viewHeight = viewport()->height();
  const int below = screen_.empty() ? 0 : Bottom(screen_.back().Rect);
  if (below < viewHeight) painter.fillRect(QRect(0, below, viewport()->width(), viewHeight - below), background);
  if (LabelsShown()) PaintLabels(painter, update);

  if (hasFocus()) {
    for (const TSVScreenDrawInfo& info : screen_) {
      if (info.Index != current_) continue;
      QStyleOptionFocusRect option;
      option.initFrom(this);
      option.rect = info.Rect.adjusted(0, 0, -1, -1);
      option.backgroundColor = palette().color(QPalette::Highlight);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
  }

  if (widest != widestPixels_) {
    // The horizontal range follows the widest line drawn; the scroll bar is
    // changed after painting.
    widestPixels_ = widest;
    widestChars_ = widest / charWidth_ + 1;
    QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
  }
}

void TStringsView::PaintLabels(QPainter& painter, const QRect& update) const {
  const int column = labelWidth_ + 2;
  painter.fillRect(QRect(0, 0, column, viewport()->height()) & update, Color());
  for (const TSVScreenDrawInfo& info : screen_)
    if (!info.Label.Text.isEmpty()) PaintLabel(painter, info);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(labelWidth_ - 2, 0, labelWidth_ - 2, viewport()->height());
}

void TStringsView::PaintLabel(QPainter& painter, const TSVScreenDrawInfo& info) const {
  const QRect rect(2, info.Rect.top(), std::max(0, labelWidth_ - 6), lineHeight_);
  if (OnDrawLabel) {
    OnDrawLabel(const_cast<TStringsView&>(*this), painter, info.Index, rect, info.Label);
    return;
  }
  Qt::Alignment alignment = Qt::AlignLeft;
  if (info.Label.Kind == 1) alignment = Qt::AlignRight;
  if (info.Label.Kind == 2) alignment = Qt::AlignHCenter;
  painter.save();
  painter.setFont(SegmentFont(info.Label.Font));
  painter.setPen(info.Label.Font.Color != 0 ? ToQColor(info.Label.Font.Color) : fontColor_);
  painter.setClipRect(rect);
  painter.drawText(rect, static_cast<int>(alignment | Qt::AlignVCenter), info.Label.Text);
  painter.restore();
}

}  // namespace korvane::gui
