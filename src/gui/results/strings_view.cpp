// The line view's state: source, properties, selection, keys, mouse and
// scrolling. Layout and drawing are in strings_view_layout.cpp and
// strings_view_paint.cpp.
#include "gui/results/strings_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

#include "corpus/file_strings.h"
#include "gui/results/sv_scroll.h"

namespace korvane::gui {
namespace {

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

void Toggle(std::vector<int>& list, int value) {
  const auto it = std::find(list.begin(), list.end(), value);
  if (it == list.end())
    list.push_back(value);
  else
    list.erase(it);
}

}  // namespace

TStringsView::TStringsView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setBackgroundRole(QPalette::Base);
  fontColor_ = palette().color(QPalette::Text);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  RecomputeMetrics();
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &TStringsView::VerticalAction);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, &TStringsView::HorizontalAction);
}

TStringsView::~TStringsView() = default;

// ---- Source, fonts, labels ----------------------------------------------------

int TStringsView::Count() const { return source_ != nullptr ? source_->GetCount() : 0; }

void TStringsView::SetSource(TStrings* source) {
  source_ = source;
  if (source == nullptr) {
    screen_.clear();
    above_.reset();
    below_.reset();
    lastVisible_ = -1;
    viewport()->update();
    UpdateScrollBars();
    return;
  }
  top_ = 0;
  hOffset_ = 0;
  widestPixels_ = 0;
  widestChars_ = 0;
  current_ = -1;
  anchor_ = -1;
  selection_.clear();
  if (Count() > 0 && enableSelect_) current_ = 0;
  Recreate();
}

void TStringsView::SetFonts(const TSVFontsArray& fonts) {
  fonts_ = fonts;
  RecomputeMetrics();
  RefreshView();
}

void TStringsView::ShowLabels(bool show) {
  if (showLabels_ == show) return;
  showLabels_ = show;
  RefreshView();
}

void TStringsView::SetLabelWidth(int width) {
  if (width <= 0 || width + 4 >= viewport()->width() - 2) return;
  labelWidth_ = width;
  if (showLabels_) RefreshView();
}

// ---- Changes ------------------------------------------------------------------

void TStringsView::ItemsChanged() {
  const int count = Count();
  // Lines that went away leave the selection.
  if (current_ >= count) current_ = count - 1;
  if (anchor_ >= count) anchor_ = -1;
  std::vector<int> kept;
  for (int i : selection_)
    if (i < count) kept.push_back(i);
  if (kept.size() != selection_.size()) SetSelection(kept);

  if (lastVisible_ >= count || !filled_) {
    if (count > 0 && top_ > count - 1) {
      top_ = count - 1;
      if (OnTopIndexChanged) OnTopIndexChanged(*this);
    }
    Layout();
    viewport()->update();
  }
  UpdateScrollBars();
}

void TStringsView::RefreshView() {
  Layout();
  viewport()->update();
  UpdateScrollBars();
}

void TStringsView::ClearSelection() {
  if (selection_.empty()) return;
  SetSelection({});
  viewport()->update();
}

// ---- State --------------------------------------------------------------------

bool TStringsView::IsSelected(int index) const { return isEnabled() && Contains(selection_, index); }

int TStringsView::ItemAtPoint(const QPoint& point, bool pastEnd) const {
  // A line is hit anywhere across the control, its label included.
  for (const TSVScreenDrawInfo& info : screen_)
    if (point.y() >= info.Rect.top() && point.y() < info.Rect.top() + info.Rect.height()) return info.Index;
  return pastEnd ? Count() : -1;
}

void TStringsView::SetCurrent(int index) {
  if (index == -1) {
    current_ = -1;
    viewport()->update();
    return;
  }
  if (!enableSelect_ || !isEnabled() || index < 0 || index >= Count() || index == current_) return;
  SelectLine(index, SelectBy::Key, Qt::NoModifier);
}

void TStringsView::SetTopIndex(int top) { SetTopLine(top); }

int TStringsView::LinesPerPage() const { return std::max(0, viewport()->height() / lineHeight_); }

int TStringsView::CharsPerPage() const { return std::max(0, viewport()->width() / charWidth_); }

bool TStringsView::ClientHoldsALine() const { return viewport()->height() >= lineHeight_; }

// ---- Properties ---------------------------------------------------------------

void TStringsView::SetAlignment(TAlignment alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  Recreate();
}

void TStringsView::SetBorderStyle(TBorderStyle style) {
  if (borderStyle_ == style) return;
  borderStyle_ = style;
  setFrameStyle(style == TBorderStyle::bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
  Recreate();
}

void TStringsView::SetWordWrap(bool wrap) {
  if (wordWrap_ == wrap) return;
  wordWrap_ = wrap;
  Recreate();
}

void TStringsView::SetEnableSelect(bool enable) {
  if (enableSelect_ == enable) return;
  enableSelect_ = enable;
  if (!enable)
    ClearCurrentAndSelection();
  else if (Count() > 0 && current_ < 0)
    current_ = 0;
  viewport()->update();
}

void TStringsView::SetMultiSelect(bool multi) {
  if (multiSelect_ == multi) return;
  multiSelect_ = multi;
  if (!multi) ClearCurrentAndSelection();
  viewport()->update();
}

void TStringsView::SetExtendedSelect(bool extended) {
  extendedSelect_ = extended;
  anchor_ = -1;
}

void TStringsView::SetColor(const QColor& color) {
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Base, color);
  viewport()->setPalette(p);
  viewport()->update();
}

QColor TStringsView::Color() const { return viewport()->palette().color(QPalette::Base); }

void TStringsView::SetFontColor(const QColor& color) {
  fontColor_ = color;
  viewport()->update();
}

void TStringsView::ClearCurrentAndSelection() {
  current_ = -1;
  anchor_ = -1;
  SetSelection({});
}

// Alignment, word wrap and border change the window as a whole: the text
// starts again at its left end.
void TStringsView::Recreate() {
  hOffset_ = 0;
  const Qt::ScrollBarPolicy policy = HorizontalAvailable() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (horizontalScrollBarPolicy() != policy) setHorizontalScrollBarPolicy(policy);
  RefreshView();
}

// ---- Selection ----------------------------------------------------------------

void TStringsView::SelectLine(int a, SelectBy by, Qt::KeyboardModifiers modifiers) {
  if (!enableSelect_ || a < 0 || a >= Count()) return;
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool extending = by == SelectBy::Drag ? !ctrl : modifiers.testFlag(Qt::ShiftModifier);
  std::vector<int> selection = selection_;

  if (multiSelect_ && extendedSelect_ && extending && anchor_ >= 0) {
    // The lines from the anchor to a; the anchor itself only if it was selected.
    const bool anchorSelected = Contains(selection_, anchor_);
    selection.clear();
    const int step = a >= anchor_ ? 1 : -1;
    for (int i = anchor_;; i += step) {
      if (i != anchor_ || anchorSelected || i == a) selection.push_back(i);
      if (i == a) break;
    }
  } else if (!multiSelect_) {
    selection = {a};
  } else if (extendedSelect_) {
    anchor_ = a;
    if (ctrl && (by == SelectBy::Click || (by == SelectBy::Drag && a != current_))) {
      Toggle(selection, a);
    } else if (!(ctrl && by == SelectBy::Key)) {
      selection = {a};
    }
  } else if (by == SelectBy::Click) {
    Toggle(selection, a);
  } else if (by == SelectBy::Key) {
    selection.erase(std::remove(selection.begin(), selection.end(), current_), selection.end());
    if (!Contains(selection, a)) selection.push_back(a);
  }

  const int oldCurrent = current_;
  const bool wasSelected = Contains(selection_, a);
  current_ = a;
  const bool selectionChanged = selection != selection_;
  SetSelection(selection);
  if (oldCurrent != a || selectionChanged) {
    ScrollIntoView(a);
    viewport()->update();
  }
  if ((oldCurrent != a || wasSelected != Contains(selection_, a)) && OnItemChanged) OnItemChanged(*this);
}

void TStringsView::SetSelection(const std::vector<int>& selection) {
  const std::vector<int> old = selection_;
  selection_ = selection;
  if (!OnItemSelection) return;
  for (int i : old)
    if (!Contains(selection_, i)) OnItemSelection(*this, false, i);
  for (int i : selection_)
    if (!Contains(old, i)) OnItemSelection(*this, true, i);
}

void TStringsView::ScrollIntoView(int index) {
  const int count = Count();
  const int lines = std::max(1, LinesPerPage());
  if (index < top_) {
    SetTopLine(index);
    return;
  }
  if (index > lastVisible_) {
    if (index == count - 1) {
      SetTopLine(std::max(top_, TopForLastLine()));
    } else if (index == lastVisible_ + 1) {
      SetTopLine(top_ + 1);
    } else {
      // Page by page, the pages counted at once.
      const int pages = (index - lastVisible_ + lines - 1) / lines;
      SetTopLine(top_ + pages * lines);
      for (int guard = 0; index > lastVisible_ && guard < count; ++guard) SetTopLine(top_ + lines);
    }
  }
  // The last, partly visible line scrolls the view down line by line.
  while (index == lastVisible_ && !lastFits_ && top_ < index) SetTopLine(top_ + 1);
}

// ---- Scrolling ----------------------------------------------------------------

void TStringsView::SetTopLine(int top) {
  const int count = Count();
  if (count == 0) return;
  top = std::clamp(top, 0, count - 1);
  if (top == top_) return;
  const int old = top_;
  // One line: move the pixels by the height of the line that leaves or enters.
  int pixels = 0;
  if (top == old + 1 && !screen_.empty())
    pixels = -screen_.front().Rect.height();
  else if (top == old - 1 && above_)
    pixels = above_->Rect.height();
  top_ = top;
  if (OnTopIndexChanged) OnTopIndexChanged(*this);
  Layout();
  if (pixels != 0)
    viewport()->scroll(0, pixels);
  else
    viewport()->update();
  UpdateScrollBars();
}

void TStringsView::ScrollLines(int delta) { SetTopLine(top_ + delta); }

bool TStringsView::HorizontalAvailable() const {
  return alignment_ != TAlignment::taCenter && !wordWrap_ && Count() > 0;
}

int TStringsView::HorizontalMaximum() const {
  const int page = std::max(1, CharsPerPage() / 2);
  const int range = CharsPerPage() / 2 + widestChars_;
  return std::max(0, range - page + 1);
}

void TStringsView::SetHorizontalOffset(int offset) {
  offset = std::clamp(offset, 0, HorizontalMaximum());
  if (offset == hOffset_) return;
  hOffset_ = offset;
  viewport()->update();
  UpdateScrollBars();
}

void TStringsView::UpdateScrollBars() {
  const Qt::ScrollBarPolicy policy = HorizontalAvailable() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (horizontalScrollBarPolicy() != policy) setHorizontalScrollBarPolicy(policy);

  QScrollBar* vertical = verticalScrollBar();
  {
    const QSignalBlocker block(vertical);
    const TSVScrollInfo info = VerticalScrollInfo(Count(), LinesPerPage(), top_);
    vertical->setSingleStep(1);
    vertical->setPageStep(info.Page);
    vertical->setRange(0, std::max(0, info.Max - info.Page + 1));
    vertical->setValue(info.Position);
    lastThumb_ = info.Position;
  }
  QScrollBar* horizontal = horizontalScrollBar();
  {
    const QSignalBlocker block(horizontal);
    horizontal->setSingleStep(1);
    horizontal->setPageStep(std::max(1, CharsPerPage() / 2));
    horizontal->setRange(0, HorizontalMaximum());
    horizontal->setValue(hOffset_);
  }
}

void TStringsView::VerticalAction(int action) {
  QScrollBar* bar = verticalScrollBar();
  const int last = Count() - 1;
  const int lines = std::max(1, LinesPerPage());
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: ScrollLines(1); break;
    case QAbstractSlider::SliderSingleStepSub: ScrollLines(-1); break;
    case QAbstractSlider::SliderPageStepAdd: SetTopLine(std::min(last, top_ + lines)); break;
    case QAbstractSlider::SliderPageStepSub: SetTopLine(std::max(0, top_ - lines)); break;
    case QAbstractSlider::SliderToMinimum: SetTopLine(0); break;
    case QAbstractSlider::SliderToMaximum: SetTopLine(last); break;
    case QAbstractSlider::SliderMove: {
      const int thumb = bar->sliderPosition();
      if (thumb != lastThumb_) SetTopLine(TopFromThumb(thumb, Count(), LinesPerPage()));
      break;
    }
    default: break;
  }
  const TSVScrollInfo info = VerticalScrollInfo(Count(), LinesPerPage(), top_);
  lastThumb_ = info.Position;
  bar->setSliderPosition(info.Position);
}

void TStringsView::HorizontalAction(int action) {
  QScrollBar* bar = horizontalScrollBar();
  const int half = std::max(1, CharsPerPage() / 2);
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: SetHorizontalOffset(hOffset_ + 1); break;
    case QAbstractSlider::SliderSingleStepSub: SetHorizontalOffset(hOffset_ - 1); break;
    case QAbstractSlider::SliderPageStepAdd: SetHorizontalOffset(hOffset_ + half); break;
    case QAbstractSlider::SliderPageStepSub: SetHorizontalOffset(hOffset_ - half); break;
    case QAbstractSlider::SliderToMinimum: SetHorizontalOffset(0); break;
    case QAbstractSlider::SliderToMaximum: SetHorizontalOffset(HorizontalMaximum()); break;
    case QAbstractSlider::SliderMove: SetHorizontalOffset(bar->sliderPosition()); break;
    default: break;
  }
  bar->setSliderPosition(hOffset_);
}

// The scroll bars call this for value changes; the view scrolls itself.
void TStringsView::scrollContentsBy(int, int) {}

// ---- Keys and mouse -----------------------------------------------------------

void TStringsView::keyPressEvent(QKeyEvent* event) {
  const int count = Count();
  if (!ClientHoldsALine() || count == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool horizontal = HorizontalAvailable() && modifiers.testFlag(Qt::ControlModifier);
  const bool select = enableSelect_;
  const int last = count - 1;
  const int lines = std::max(1, LinesPerPage());
  const int half = CharsPerPage() / 2;
  switch (event->key()) {
    case Qt::Key_PageUp:
      if (horizontal) SetHorizontalOffset(hOffset_ - half);
      else if (select) SelectLine(std::max(0, current_ - lines), SelectBy::Key, modifiers);
      else SetTopLine(top_ - lines);
      break;
    case Qt::Key_PageDown:
      if (horizontal) SetHorizontalOffset(hOffset_ + half);
      else if (select) SelectLine(std::min(last, current_ + lines), SelectBy::Key, modifiers);
      else SetTopLine(std::min(last, top_ + lines));
      break;
    case Qt::Key_Home:
      if (horizontal) SetHorizontalOffset(0);
      else if (select) SelectLine(0, SelectBy::Key, modifiers);
      else SetTopLine(0);
      break;
    case Qt::Key_End:
      if (horizontal) SetHorizontalOffset(HorizontalMaximum());
      else if (select) SelectLine(last, SelectBy::Key, modifiers);
      else SetTopLine(TopForLastLine());
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (!HorizontalAvailable()) {
        QWidget::keyPressEvent(event);
        return;
      }
      SetHorizontalOffset(hOffset_ + (event->key() == Qt::Key_Left ? -1 : 1));
      break;
    case Qt::Key_Up:
      if (select) SelectLine(std::max(0, current_ - 1), SelectBy::Key, modifiers);
      else ScrollLines(-1);
      break;
    case Qt::Key_Down:
      if (select) SelectLine(std::min(last, current_ + 1), SelectBy::Key, modifiers);
      else ScrollLines(1);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

int TStringsView::LineAtDragPoint(const QPoint& point) const {
  if (point.y() < 0) return top_ - 1;
  if (point.y() >= viewport()->height()) return lastVisible_ + 1;
  return ItemAtPoint(point, false);
}

void TStringsView::mousePressEvent(QMouseEvent* event) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  if (!enableSelect_ || event->button() != Qt::LeftButton || viewport()->height() <= lineHeight_) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const int line = LineAtDragPoint(event->position().toPoint());
  if (line >= 0 && line < Count()) SelectLine(line, SelectBy::Click, event->modifiers());
  event->accept();
}

void TStringsView::mouseMoveEvent(QMouseEvent* event) {
  if (!enableSelect_ || !event->buttons().testFlag(Qt::LeftButton) || viewport()->height() <= lineHeight_) {
    QAbstractScrollArea::mouseMoveEvent(event);
    return;
  }
  const int line = LineAtDragPoint(event->position().toPoint());
  if (line >= 0 && line < Count() && line != current_) SelectLine(line, SelectBy::Drag, event->modifiers());
  event->accept();
}

void TStringsView::wheelEvent(QWheelEvent* event) {
  // One line per wheel message, whatever its size.
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  ScrollLines(delta > 0 ? -1 : 1);
  event->accept();
}

void TStringsView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TStringsView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TStringsView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Layout();
  UpdateScrollBars();
}

void TStringsView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    RecomputeMetrics();
    RefreshView();
  } else if (event->type() == QEvent::EnabledChange) {
    viewport()->update();
  }
}

}  // namespace korvane::gui
