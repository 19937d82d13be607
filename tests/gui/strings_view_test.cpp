// The line view: the scaled scroll range, centring on the centring segment,
// selection with the anchor, keys, wrapping, and the colours of runs in
// selected lines.
#include "gui/results/strings_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

#include "app/font.h"
#include "corpus/file_strings.h"
#include "gui/results/sv_scroll.h"

namespace korvane::gui {
namespace {

// Lines in memory.
class MemoryStrings : public TStrings {
 public:
  explicit MemoryStrings(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::int32_t GetCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Get(std::int32_t index) override { return lines_[static_cast<std::size_t>(index)]; }
  std::vector<std::string> lines_;
};

MemoryStrings Numbered(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return MemoryStrings(std::move(lines));
}

struct ShownView {
  explicit ShownView(TStrings& source, QSize size = QSize(400, 200)) {
    view.resize(size);
    view.SetSource(&source);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
  TStringsView view;
};

TEST(StringsViewTest, ScrollRangeOfAHundredThousandLinesIsScaled) {
  const int count = 100000;
  for (int linesPerPage : {10, 20, 45}) {
    const TSVScrollInfo info = VerticalScrollInfo(count, linesPerPage, 0);
    ASSERT_TRUE(info.Scaled);
    EXPECT_EQ(info.Max, kSVScrollLimit);
    const int bottom = info.Max - info.Page + 1;  // the thumb at its bottom end
    EXPECT_EQ(TopFromThumb(bottom, count, linesPerPage), count - 1) << linesPerPage;
    EXPECT_EQ(TopFromThumb(1, count, linesPerPage), 0);
    EXPECT_EQ(TopFromThumb(16384, count, linesPerPage),
              static_cast<int>(std::llround((count + linesPerPage - 2) * 16384.0 / kSVScrollLimit)));
  }
  // Small lists are not scaled: the thumb position is the top line.
  const TSVScrollInfo small = VerticalScrollInfo(100, 10, 7);
  EXPECT_FALSE(small.Scaled);
  EXPECT_EQ(small.Max, 108);
  EXPECT_EQ(small.Position, 7);
  EXPECT_EQ(TopFromThumb(7, 100, 10), 7);

  // The control itself: dragging the thumb to either end.
  MemoryStrings lines = Numbered(count);
  ShownView shown(lines);
  QScrollBar* bar = shown.view.verticalScrollBar();
  EXPECT_EQ(bar->maximum(), VerticalScrollInfo(count, shown.view.LinesPerPage(), 0).Max -
                                VerticalScrollInfo(count, shown.view.LinesPerPage(), 0).Page + 1);
  bar->setSliderPosition(bar->maximum());
  EXPECT_EQ(shown.view.TopIndex(), count - 1);
  bar->setSliderPosition(1);
  EXPECT_EQ(shown.view.TopIndex(), 0);
}

// x of the first character of the hit segment, as the default drawing puts it.
TEST(StringsViewTest, CentredLinesDrawTheirHitsInOneColumn) {
  MemoryStrings lines({std::string(39, 'a') + "HIT" + std::string(38, 'b'), "cccc" + std::string("HIT") + "dd"});
  TStringsView view;
  view.resize(700, 200);
  view.SetAlignment(TAlignment::taCenter);
  std::vector<int> hitColumns;
  view.OnFormatItem = [&](TStringsView& v, int index, QString& text, TSVFormatArray& format, TSVLabelInfo&) {
    text = QString::fromStdString(lines.Get(index));
    TSVFormatInfo hit;
    hit.Start = text.indexOf(QStringLiteral("HIT")) + 1;
    hit.Length = 3;
    hit.Centring = 1;
    hit.Font.Style = fsBold;
    hit.Font.Color = 0x0000FF;
    format.push_back(hit);
    (void)v;
  };
  view.SetSource(&lines);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  // The hit is drawn in red: its column is the leftmost reddish pixel.
  for (const TSVScreenDrawInfo& info : view.Screen()) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.DefaultDrawItem(painter, info.Rect, info.Format, 0, info.Lines, {});
    painter.end();
    int column = -1;
    for (int x = 0; x < image.width() && column < 0; ++x)
      for (int y = info.Rect.top(); y < info.Rect.top() + info.Rect.height(); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 120 && c.blue() < 120) {
          column = x;
          break;
        }
      }
    hitColumns.push_back(column);
  }
  ASSERT_EQ(hitColumns.size(), 2u);
  EXPECT_GT(hitColumns[0], 0);
  EXPECT_EQ(hitColumns[0], hitColumns[1]);
  // Both hits start where the centring puts them.
  const QFont bold = [&] {
    QFont f = view.font();
    f.setBold(true);
    return f;
  }();
  const int available = view.viewport()->width() - 4;
  const int hitWidth = QFontMetrics(bold).horizontalAdvance(QStringLiteral("HIT"));
  EXPECT_NEAR(hitColumns[0], (available - hitWidth) / 2 - 2, 3);
}

TEST(StringsViewTest, ShiftDownExtendsFromTheAnchor) {
  MemoryStrings lines = Numbered(20);
  TStringsView view;
  view.SetEnableSelect(true);
  view.SetMultiSelect(true);
  view.SetExtendedSelect(true);
  view.resize(300, 200);
  view.SetSource(&lines);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.setFocus();
  std::vector<std::pair<bool, int>> events;
  view.OnItemSelection = [&](TStringsView&, bool selected, int index) { events.emplace_back(selected, index); };

  // A click selects line 3 and makes it the anchor.
  const QRect line3 = view.Screen()[3].Rect;
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, line3.center());
  EXPECT_EQ(view.Current(), 3);
  EXPECT_EQ(view.Anchor(), 3);
  EXPECT_EQ(view.Selection(), (std::vector<int>{3}));

  QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(view.Selection(), (std::vector<int>{3, 4}));
  EXPECT_EQ(view.Current(), 4);
  QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(view.Selection(), (std::vector<int>{3, 4}));

  // Ctrl+click toggles without moving the anchor's range; a plain key starts again.
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, view.Screen()[7].Rect.center());
  EXPECT_EQ(view.Selection(), (std::vector<int>{3, 4, 7}));
  EXPECT_EQ(view.Anchor(), 7);
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.Selection(), (std::vector<int>{8}));
  const std::vector<std::pair<bool, int>> expected = {{true, 3},  {true, 4},  {true, 5},  {false, 5},
                                                      {true, 7},  {false, 3}, {false, 4}, {false, 7},
                                                      {true, 8}};
  EXPECT_EQ(events, expected);

  // Without ExtendedSelect a key moves a single selected line.
  view.SetExtendedSelect(false);
  view.SetMultiSelect(false);
  view.SetEnableSelect(true);
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_EQ(view.Current(), 19);
  EXPECT_EQ(view.Selection(), (std::vector<int>{19}));
  EXPECT_EQ(view.LastVisible(), 19);
}

TEST(StringsViewTest, KeysScrollWithoutSelection) {
  MemoryStrings lines = Numbered(100);
  ShownView shown(lines);
  TStringsView& view = shown.view;
  view.setFocus();
  const int page = view.LinesPerPage();
  const struct {
    Qt::Key key;
    int top;
  } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_PageDown, 1 + page}, {Qt::Key_Up, page},
               {Qt::Key_Home, 0}, {Qt::Key_End, 100 - page},   {Qt::Key_PageUp, 100 - 2 * page}};
  for (const auto& s : steps) {
    QTest::keyClick(&view, s.key);
    EXPECT_EQ(view.TopIndex(), s.top) << "key " << s.key;
  }
  EXPECT_EQ(view.Current(), -1);
}

TEST(StringsViewTest, WrapsAWordWithoutSpacesExactlyAtTheRightEdge) {
  MemoryStrings lines({std::string(300, 'm'), "short words that wrap at a space when the line is long enough"});
  TStringsView view;
  view.resize(200, 300);
  view.SetWordWrap(true);
  view.SetSource(&lines);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QFontMetrics metrics(view.font());
  const int available = view.Screen()[0].Rect.width() - 4;
  const TSVStringsArray& parts = view.Screen()[0].Lines;
  ASSERT_GT(parts.size(), 1u);
  QString joined;
  for (const QString& part : parts) joined += part;
  EXPECT_EQ(joined, QString(300, QLatin1Char('m')));
  for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
    EXPECT_LE(metrics.horizontalAdvance(parts[k]), available);
    EXPECT_GT(metrics.horizontalAdvance(parts[k] + QLatin1Char('m')), available);
  }
  EXPECT_EQ(view.Screen()[0].Rect.height(), static_cast<int>(parts.size()) * view.LineHeight());

  // With spaces the break falls after the last space that fits.
  const TSVStringsArray& words = view.Screen()[1].Lines;
  ASSERT_GT(words.size(), 1u);
  for (std::size_t k = 0; k + 1 < words.size(); ++k) EXPECT_TRUE(words[k].endsWith(QLatin1Char(' '))) << k;
}

TEST(StringsViewTest, RunsInSelectedLinesTakeTheirColourXorTheSelectedTextColour) {
  const struct {
    QColor run;
    QColor selectedText;
    QColor drawn;
  } cases[] = {
      {QColor(255, 0, 0), QColor(255, 255, 255), QColor(0, 255, 255)},
      {QColor(0, 0, 255), QColor(255, 255, 255), QColor(255, 255, 0)},
      {QColor(0, 0, 0), QColor(0, 0, 0), QColor(0, 0, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(TStringsView::SelectedRunColor(c.run, c.selectedText), c.drawn);

  // In the focused control, a red collocate of the selected line is drawn in
  // red XOR the highlighted text colour.
  MemoryStrings lines({"a COLLOCATE b"});
  TStringsView view;
  QPalette palette = view.palette();
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Highlight, Qt::black);
  view.setPalette(palette);
  view.SetEnableSelect(true);
  view.OnFormatItem = [&](TStringsView&, int, QString& text, TSVFormatArray& format, TSVLabelInfo&) {
    text = QStringLiteral("a MMMMMMMMMM b");
    TSVFormatInfo collocate;
    collocate.Start = 3;
    collocate.Length = 10;
    collocate.Font.Color = 0x0000FF;  // red
    format.push_back(collocate);
  };
  view.resize(300, 100);
  view.SetSource(&lines);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.activateWindow();
  view.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.hasFocus(); }, 2000));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, view.Screen()[0].Rect.center());
  ASSERT_TRUE(view.IsSelected(0));
  const QImage image = view.viewport()->grab().toImage();
  bool cyan = false;
  for (int x = 0; x < image.width() && !cyan; ++x)
    for (int y = 0; y < view.LineHeight() && !cyan; ++y) cyan = image.pixelColor(x, y) == QColor(0, 255, 255);
  EXPECT_TRUE(cyan);
}

TEST(StringsViewTest, GrowingSourceFillsTheViewAndKeepsTheTopInRange) {
  MemoryStrings lines = Numbered(2);
  ShownView shown(lines);
  TStringsView& view = shown.view;
  EXPECT_FALSE(view.VisibleLinesFill());
  for (int i = 2; i < 50; ++i) lines.lines_.push_back("more " + std::to_string(i));
  view.ItemsChanged();
  EXPECT_TRUE(view.VisibleLinesFill());
  EXPECT_EQ(view.Screen()[2].Lines[0], QStringLiteral("more 2"));
  view.SetTopIndex(45);
  lines.lines_.resize(10);
  view.ItemsChanged();
  EXPECT_EQ(view.TopIndex(), 9);
}

}  // namespace
}  // namespace korvane::gui
