// The message dialog: construction, layout in dialog units, and the buttons.
#include "gui/app/message_dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "gui/app/help.h"

namespace korvane::gui {
namespace {

constexpr int kMarginUnits = 8;
constexpr int kIconSpacingUnits = 10;
constexpr int kTextSpacingUnits = 10;
constexpr int kButtonWidthUnits = 50;
constexpr int kButtonHeightUnits = 14;
constexpr int kButtonSpacingUnits = 4;
constexpr int kIconSize = 32;

constexpr TMsgDlgBtn kButtonOrder[] = {
    TMsgDlgBtn::mbYes,   TMsgDlgBtn::mbNo,  TMsgDlgBtn::mbOK,       TMsgDlgBtn::mbCancel,
    TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore, TMsgDlgBtn::mbAll,
    TMsgDlgBtn::mbNoToAll, TMsgDlgBtn::mbYesToAll, TMsgDlgBtn::mbHelp};

int Units(double unit, int count) { return static_cast<int>(std::lround(unit * count)); }

QStyle::StandardPixmap IconOf(TMsgDlgType kind) {
  switch (kind) {
    case TMsgDlgType::mtWarning: return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError: return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation: return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation: return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtCustom: break;
  }
  return QStyle::SP_CustomBase;
}

QString WithLineFeeds(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Restores the cursor the application had when it goes.
class ArrowCursor {
 public:
  ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
  ArrowCursor(const ArrowCursor&) = delete;
  ArrowCursor& operator=(const ArrowCursor&) = delete;
};

}  // namespace

DialogUnits DialogUnitsOf(const QFontMetrics& metrics) {
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const double average = metrics.horizontalAdvance(letters) / 52.0;
  return DialogUnits{average / 4.0, metrics.height() / 8.0};
}

MessageDialogLayout LayoutMessageDialog(DialogUnits u, QSize textBlock, bool hasIcon, int buttonCount) {
  MessageDialogLayout layout;
  const int marginX = Units(u.X, kMarginUnits);
  const int marginY = Units(u.Y, kMarginUnits);
  const int buttonWidth = Units(u.X, kButtonWidthUnits);
  const int buttonHeight = Units(u.Y, kButtonHeightUnits);
  const int buttonSpacing = Units(u.X, kButtonSpacingUnits);

  int textLeft = marginX;
  int textHeight = textBlock.height();
  if (hasIcon) {
    layout.Icon = QRect(marginX, marginY, kIconSize, kIconSize);
    textLeft += kIconSize + Units(u.X, kIconSpacingUnits);
    textHeight = std::max(textHeight, kIconSize);
  }
  layout.Text = QRect(textLeft, marginY, textBlock.width(), textHeight);

  const int rowWidth = buttonCount > 0 ? buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing : 0;
  const int contentWidth = std::max(textLeft - marginX + textBlock.width(), rowWidth);
  layout.Client = QSize(contentWidth + 2 * marginX,
                        marginY + textHeight + Units(u.Y, kTextSpacingUnits) + buttonHeight + marginY);

  const int buttonTop = marginY + textHeight + Units(u.Y, kTextSpacingUnits);
  int x = (layout.Client.width() - rowWidth) / 2;
  for (int i = 0; i < buttonCount; ++i) {
    layout.Buttons.emplace_back(x, buttonTop, buttonWidth, buttonHeight);
    x += buttonWidth + buttonSpacing;
  }
  return layout;
}

QFont MessageDialogFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  font.setBold(false);
  return font;
}

TMessageDialog::TMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                               TMsgDlgBtn focused, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QString::fromUtf8(MessageDialogTitle(kind)));
  setFont(MessageDialogFont());
  const QFontMetrics metrics(font());
  const DialogUnits units = DialogUnitsOf(metrics);

  message_ = new QLabel(this);
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setText(WithLineFeeds(text));
  message_->setObjectName(QStringLiteral("Message"));

  const QScreen* screen = parent != nullptr && parent->screen() != nullptr ? parent->screen()
                                                                           : QGuiApplication::primaryScreen();
  const int wrapWidth = std::max(100, (screen != nullptr ? screen->geometry().width() : 1024) / 2);
  const QSize textBlock =
      metrics.boundingRect(QRect(0, 0, wrapWidth, 0), Qt::TextWordWrap | Qt::AlignLeft, message_->text()).size();

  const QStyle::StandardPixmap iconKind = IconOf(kind);
  QLabel* icon = nullptr;
  if (iconKind != QStyle::SP_CustomBase) {
    icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(iconKind, nullptr, this).pixmap(kIconSize, kIconSize));
  }

  std::vector<TMsgDlgBtn> shown;
  for (TMsgDlgBtn b : kButtonOrder)
    if (buttons.Contains(b)) shown.push_back(b);
  const MessageDialogLayout layout = LayoutMessageDialog(units, textBlock, icon != nullptr, static_cast<int>(shown.size()));
  if (icon != nullptr) icon->setGeometry(layout.Icon);
  message_->setGeometry(layout.Text.x(), layout.Text.y(), textBlock.width() + 1, layout.Text.height());

  const TMsgDlgBtn defaultButton = DefaultMessageButton(buttons);
  cancelButton_ = CancelMessageButton(buttons);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const TMsgDlgBtn b = shown[i];
    auto* button = new QPushButton(QString::fromUtf8(MessageButtonCaption(b)), this);
    button->setGeometry(layout.Buttons[i]);
    button->setAutoDefault(true);
    button->setDefault(b == defaultButton);
    connect(button, &QPushButton::clicked, this, [this, b] { Press(b); });
    buttons_[b] = button;
  }
  setFixedSize(layout.Client);
  if (QPushButton* f = Button(focused)) f->setFocus();
}

QPushButton* TMessageDialog::Button(TMsgDlgBtn button) const {
  const auto it = buttons_.find(button);
  return it == buttons_.end() ? nullptr : it->second;
}

TModalResult TMessageDialog::Execute() {
  ArrowCursor cursor;
  exec();
  return result_;
}

void TMessageDialog::Press(TMsgDlgBtn button) {
  if (button == TMsgDlgBtn::mbHelp) {
    OpenHelp(this);
    return;
  }
  result_ = MessageButtonResult(button);
  done(static_cast<int>(result_));
}

void TMessageDialog::reject() {
  if (QPushButton* cancel = Button(cancelButton_)) cancel->click();
}

}  // namespace korvane::gui
