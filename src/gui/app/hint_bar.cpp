// The status bar's panels.
#include "gui/app/hint_bar.h"

#include <QLabel>

#include <algorithm>

#include "gui/app/url_info_box.h"

namespace korvane::gui {
namespace {
constexpr int kBarHeight = 21;

QLabel* Panel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setContentsMargins(0, 0, 0, 0);
  return label;
}
}  // namespace

THintBar::THintBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(std::max(kBarHeight, fontMetrics().height() + 6));
  HintWindow = Panel(this);
  HintWindow->setMinimumWidth(1);
  URLStatusPanel = new TURLStatusPanel(this);
  CorpusInfoWindow = Panel(this);
  addWidget(HintWindow, 1);
  addPermanentWidget(URLStatusPanel);
  addPermanentWidget(CorpusInfoWindow);
}

void THintBar::SetHintText(const QString& text) { HintWindow->setText(text); }

QString THintBar::HintText() const { return HintWindow->text(); }

void THintBar::SetCorpusInfo(const QString& text) {
  CorpusInfoWindow->setText(text);
  CorpusInfoWindow->setFixedWidth(CorpusInfoWindow->fontMetrics().horizontalAdvance(text) + 8 +
                                  2 * CorpusInfoWindow->frameWidth());
}

QString THintBar::CorpusInfo() const { return CorpusInfoWindow->text(); }

}  // namespace korvane::gui
