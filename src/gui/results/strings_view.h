// TStringsView: the program's own line view, which shows a list of text lines
// of any length without holding them. It asks a string list (TStrings) for
// the lines it shows, lets its owner format each visible line (runs in other
// fonts and colours, a label in a margin column), wraps long lines on request,
// and can centre every line on one of its runs, which gives the keyword-in-
// context layout of a concordance. Only the visible lines, plus the one above
// and the one below, are formatted and laid out.
//
// Selection comes in three modes (single; MultiSelect; MultiSelect with
// ExtendedSelect and its anchor), driven by keys, clicks and drags. The
// vertical scroll bar's range is independent of the number of lines (see
// sv_scroll.h); scrolling by one line moves pixels instead of repainting.
//
// Everything runs on the user-interface thread. The source's count may grow
// while the view shows it; its owner calls ItemsChanged() then.
//
// The work is split over three files: this class's state, selection, keys and
// scrolling (strings_view.cpp), layout and wrapping (strings_view_layout.cpp)
// and drawing (strings_view_paint.cpp).
#pragma once

#include <QAbstractScrollArea>
#include <QFont>

#include <functional>
#include <optional>
#include <vector>

#include "gui/app/text_codec.h"
#include "gui/results/strings_view_types.h"

class QPainter;

namespace korvane {
class TStrings;
}

namespace korvane::gui {

class TStringsView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // --- Events (set by the owner) ---------------------------------------------
  // Fills the text, format and label of line index (format and label start
  // empty, text empty). Without it the text is the source's line.
  std::function<void(TStringsView&, int index, QString& text, TSVFormatArray& format, TSVLabelInfo& label)>
      OnFormatItem;
  // Splits a line into sub-lines and sets the rectangle's bottom. Without it
  // the default wrapper runs.
  std::function<void(TStringsView&, int index, const QString& text, QRect& rect, const TSVFormatArray& format,
                     TSVStringsArray& lines)>
      OnWrapItem;
  // Draws a line from sub-line startIndex on; reports the height and the
  // width drawn. Without it the default drawing runs.
  std::function<void(TStringsView&, QPainter&, const QRect& rect, int& height, int& width,
                     const TSVFormatArray& format, int index, int startIndex, const TSVStringsArray& lines,
                     TSVOwnerDrawState state)>
      OnDrawItem;
  std::function<void(TStringsView&, QPainter&, int index, const QRect& rect, const TSVLabelInfo& label)>
      OnDrawLabel;
  // The current line, or its selected state, changed.
  std::function<void(TStringsView&)> OnItemChanged;
  // A line was added to or removed from the selection.
  std::function<void(TStringsView&, bool selected, int index)> OnItemSelection;
  std::function<void(TStringsView&)> OnTopIndexChanged;

  explicit TStringsView(QWidget* parent = nullptr);
  ~TStringsView() override;

  // --- Source, fonts, labels ---------------------------------------------------
  // Shows source (not owned; none detaches). Resets top, offset, current line,
  // anchor and selection; with lines and EnableSelect line 0 becomes current.
  void SetSource(TStrings* source);
  TStrings* Source() const { return source_; }
  int Count() const;
  // The fonts the owner's format segments use, for the line height and the
  // character width. The control's own font always counts as well.
  void SetFonts(const TSVFontsArray& fonts);
  // How source lines (bytes) become characters.
  void SetCodec(const TextCodec& codec) { codec_ = codec; }
  void ShowLabels(bool show);
  // Taken only when above 0 and narrower than the client area less 6 pixels.
  void SetLabelWidth(int width);
  bool LabelsShown() const { return showLabels_ && labelWidth_ > 0; }
  int LabelWidth() const { return labelWidth_; }

  // --- Changes -------------------------------------------------------------------
  // Lines were added or removed: keeps the top within the lines and lays out
  // again when the view was not full or its last line is gone.
  void ItemsChanged();
  // Lays out and repaints.
  void RefreshView();
  void ClearSelection();

  // --- State -----------------------------------------------------------------
  bool IsSelected(int index) const;
  // Selected line indexes in the order they were selected.
  const std::vector<int>& Selection() const { return selection_; }
  // The visible line at point, or -1; with pastEnd, Count() when no line is hit.
  int ItemAtPoint(const QPoint& point, bool pastEnd) const;
  int Current() const { return current_; }
  // Selects index as the keyboard would (selection enabled, control enabled,
  // a valid index different from the current one); -1 only clears the
  // current line.
  void SetCurrent(int index);
  int Anchor() const { return anchor_; }
  int TopIndex() const { return top_; }
  void SetTopIndex(int top);
  int LastVisible() const { return lastVisible_; }
  bool VisibleLinesFill() const { return filled_; }
  int LineHeight() const { return lineHeight_; }
  int CharWidth() const { return charWidth_; }
  int LinesPerPage() const;
  int CharsPerPage() const;
  int HorizontalOffset() const { return hOffset_; }
  const TSVScreen& Screen() const { return screen_; }

  // --- Properties --------------------------------------------------------------
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  bool EnableSelect() const { return enableSelect_; }
  void SetEnableSelect(bool enable);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool multi);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool extended);
  // The control colour (the background of lines and labels).
  void SetColor(const QColor& color);
  QColor Color() const;
  // The control font's colour.
  void SetFontColor(const QColor& color);
  QColor FontColor() const { return fontColor_; }

  // The default wrapper, for owners whose OnWrapItem adds to it.
  void DefaultWrap(const QString& text, QRect& rect, const TSVFormatArray& format, TSVStringsArray& lines) const;
  // The default drawing of one line; returns the widest sub-line drawn.
  int DefaultDrawItem(QPainter& painter, const QRect& rect, const TSVFormatArray& format, int startIndex,
                      const TSVStringsArray& lines, TSVOwnerDrawState state) const;
  // The colour of a run in a selected line: the run's colour XOR the selected
  // text colour, in red, green and blue.
  static QColor SelectedRunColor(const QColor& run, const QColor& selectedText);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  enum class SelectBy { Click, Drag, Key };

  // --- Layout (strings_view_layout.cpp) ---
  void Layout();
  TSVScreenDrawInfo LayoutLine(int index, int top);
  void RecomputeMetrics();
  QFont SegmentFont(const TSVFontInfo& info) const;
  // The segment that holds 1-based character position, or none.
  static const TSVFormatInfo* SegmentAt(const TSVFormatArray& format, int position);
  // The top line that shows the last line at the bottom of the view.
  int TopForLastLine();

  // --- Drawing (strings_view_paint.cpp) ---
  void PaintLabels(QPainter& painter, const QRect& update) const;
  void PaintLabel(QPainter& painter, const TSVScreenDrawInfo& info) const;
  int SubLineWidth(const QString& subLine, int firstPosition, const TSVFormatArray& format,
                   int* centreStart, int* centreWidth) const;

  // --- Selection, keys, scrolling (strings_view.cpp) ---
  void SelectLine(int index, SelectBy by, Qt::KeyboardModifiers modifiers);
  void SetSelection(const std::vector<int>& selection);
  void ScrollIntoView(int index);
  void SetTopLine(int top);
  void ScrollLines(int delta);
  void SetHorizontalOffset(int offset);
  int HorizontalMaximum() const;
  bool HorizontalAvailable() const;
  void UpdateScrollBars();
  void VerticalAction(int action);
  void HorizontalAction(int action);
  void Recreate();
  void ClearCurrentAndSelection();
  bool ClientHoldsALine() const;
  int LineAtDragPoint(const QPoint& point) const;
  QColor InactiveSelectionColor() const;

  TStrings* source_ = nullptr;
  TextCodec codec_;
  TSVFontsArray fonts_;
  bool showLabels_ = false;
  int labelWidth_ = 0;
  std::vector<int> selection_;
  int lineHeight_ = 1;
  int charWidth_ = 1;
  int widestPixels_ = 0;
  int widestChars_ = 0;
  bool inLayout_ = false;
  int current_ = -1;
  int anchor_ = -1;
  int top_ = 0;
  int hOffset_ = 0;
  int lastVisible_ = -1;
  bool lastFits_ = true;
  bool filled_ = false;
  int overflow_ = 0;
  std::optional<TSVScreenDrawInfo> above_;
  std::optional<TSVScreenDrawInfo> below_;
  TSVScreen screen_;
  int lastThumb_ = -1;

  TAlignment alignment_ = TAlignment::taLeftJustify;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool wordWrap_ = false;
  bool enableSelect_ = false;
  bool multiSelect_ = false;
  bool extendedSelect_ = false;
  QColor fontColor_;
};

}  // namespace korvane::gui
