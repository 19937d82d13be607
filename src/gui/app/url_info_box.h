// The URL progress boxes of the status bar: one small box per running
// download, navy with a maroon bar that rises with the share received, or a
// yellow "?" while the size is undetermined. Its hint tells the URL and the
// progress. The panel lays the boxes out side by side, 16 pixels wide each,
// narrower when they do not fit.
#pragma once

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvane::gui {

// Box i of n in a panel of the given size.
QRect URLBoxGeometry(int index, int count, int panelWidth, int panelHeight);
// The height of the received bar in a box of boxHeight pixels.
int URLBoxBarHeight(std::int32_t totalSize, std::int32_t received, int boxHeight);

class TURLInfoBox : public QWidget {
  Q_OBJECT

 public:
  // totalSize is the largest 32-bit value while the size is undetermined.
  TURLInfoBox(const std::string& url, std::int32_t totalSize, QWidget* parent);

  void SetReceived(std::int32_t received);
  const std::string& URL() const { return url_; }
  QString Hint() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateHint();

  std::string url_;
  std::int32_t totalSize_;
  std::int32_t received_ = 0;
};

// URLStatusPanel: the boxes of the running downloads; hidden while none runs.
class TURLStatusPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 156;

  explicit TURLStatusPanel(QWidget* parent);

  void Add(const std::string& url, std::int32_t totalSize);
  // Finds the box by its URL (exact, with case).
  void Update(const std::string& url, std::int32_t received);
  void Remove(const std::string& url);
  const std::vector<TURLInfoBox*>& Boxes() const { return boxes_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayoutBoxes();

  std::vector<TURLInfoBox*> boxes_;
};

}  // namespace korvane::gui
