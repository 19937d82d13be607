// URL progress boxes and their panel.
#include "gui/app/url_info_box.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

#include "gui/app/gui_messages.h"

namespace korvane::gui {
namespace {
constexpr int kBoxWidth = 16;
}

QRect URLBoxGeometry(int index, int count, int panelWidth, int panelHeight) {
  int width = kBoxWidth;
  if (count > 0 && kBoxWidth * count > panelWidth - 4) width = (panelWidth - 4) / count;
  return QRect(2 + index * width, 2, width, panelHeight - 6);
}

int URLBoxBarHeight(std::int32_t totalSize, std::int32_t received, int boxHeight) {
  if (totalSize <= 0 || totalSize == INT32_MAX) return 0;
  const auto height = std::lround(static_cast<double>(received) / totalSize * boxHeight);
  return static_cast<int>(std::clamp<long>(height, 0, boxHeight));
}

TURLInfoBox::TURLInfoBox(const std::string& url, std::int32_t totalSize, QWidget* parent)
    : QWidget(parent), url_(url), totalSize_(totalSize) {
  UpdateHint();
}

void TURLInfoBox::SetReceived(std::int32_t received) {
  received_ = received;
  UpdateHint();
  update();
}

QString TURLInfoBox::Hint() const { return URLBoxHint(url_, totalSize_, received_); }

void TURLInfoBox::UpdateHint() {
  setToolTip(Hint());
  setStatusTip(Hint());
}

void TURLInfoBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect box(1, 1, width() - 2, height() - 1);
  painter.fillRect(box, QColor(0x00, 0x00, 0x80));
  if (totalSize_ == INT32_MAX) {
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::yellow);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
    return;
  }
  const int bar = URLBoxBarHeight(totalSize_, received_, box.height());
  painter.fillRect(QRect(box.left(), box.top() + box.height() - bar, box.width(), bar), QColor(0x80, 0x00, 0x00));
}

TURLStatusPanel::TURLStatusPanel(QWidget* parent) : QWidget(parent) {
  setFixedWidth(kWidth);
  hide();
}

void TURLStatusPanel::Add(const std::string& url, std::int32_t totalSize) {
  auto* box = new TURLInfoBox(url, totalSize, this);
  boxes_.push_back(box);
  show();
  LayoutBoxes();
  box->show();
}

void TURLStatusPanel::Update(const std::string& url, std::int32_t received) {
  for (TURLInfoBox* box : boxes_)
    if (box->URL() == url) {
      box->SetReceived(received);
      return;
    }
}

void TURLStatusPanel::Remove(const std::string& url) {
  const auto it = std::find_if(boxes_.begin(), boxes_.end(), [&](TURLInfoBox* b) { return b->URL() == url; });
  if (it == boxes_.end()) return;
  delete *it;
  boxes_.erase(it);
  if (boxes_.empty())
    hide();
  else
    LayoutBoxes();
}

void TURLStatusPanel::resizeEvent(QResizeEvent*) { LayoutBoxes(); }

void TURLStatusPanel::LayoutBoxes() {
  const int n = static_cast<int>(boxes_.size());
  for (int i = 0; i < n; ++i) boxes_[static_cast<std::size_t>(i)]->setGeometry(URLBoxGeometry(i, n, width(), height()));
}

}  // namespace korvane::gui
