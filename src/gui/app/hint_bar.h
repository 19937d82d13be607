// HintBar: the main window's status bar with its three panels: HintWindow
// (the status line: hints, stage texts, the corpus summary in words),
// URLStatusPanel (the download boxes, hidden while none runs) and
// CorpusInfoWindow at the right edge (the corpus size or word counts; its
// width follows its text).
#pragma once

#include <QStatusBar>

class QLabel;

namespace korvane::gui {

class TURLStatusPanel;

class THintBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit THintBar(QWidget* parent);

  // text is shown as it is (the status line texts begin with a space).
  void SetHintText(const QString& text);
  QString HintText() const;
  // The corpus summary; the panel becomes as wide as the text plus 8 pixels.
  void SetCorpusInfo(const QString& text);
  QString CorpusInfo() const;

  QLabel* HintWindow = nullptr;
  TURLStatusPanel* URLStatusPanel = nullptr;
  QLabel* CorpusInfoWindow = nullptr;
};

}  // namespace korvane::gui
