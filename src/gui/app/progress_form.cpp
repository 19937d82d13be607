// The single progress dialog.
#include "gui/app/progress_form.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/app/qt_convert.h"

namespace korvane::gui {
namespace {

constexpr int kDialogWidth = 360;

}  // namespace

void CentreOnScreen(QWidget& w) {
  const QScreen* screen = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  w.adjustSize();
  QRect frame = w.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  w.move(frame.topLeft());
}

QProgressBar* CreateBlueProgressBar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setFixedHeight(16);
  bar->setStyleSheet(QStringLiteral(
      "QProgressBar { border: 1px solid gray; background: white; }"
      "QProgressBar::chunk { background-color: #0000ff; }"));
  return bar;
}

Qt::WindowFlags ProgressDialogFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

TProgressDialog::TProgressDialog(TProgressForm& form, QWidget* parent)
    : QDialog(parent, ProgressDialogFlags()), form_(form) {
  setMinimumWidth(kDialogWidth);
  auto* layout = new QVBoxLayout(this);
  ProgressLabel = new QLabel(this);
  ProgressLabel->setTextFormat(Qt::PlainText);
  ProgressBar = CreateBlueProgressBar(this);
  SpecialText = new QLabel(this);
  SpecialText->setTextFormat(Qt::PlainText);
  QFont italic = SpecialText->font();
  italic.setItalic(true);
  SpecialText->setFont(italic);
  layout->addWidget(ProgressLabel);
  layout->addWidget(ProgressBar);
  layout->addWidget(SpecialText);
  SpecialText->setVisible(!form.CancelAllOffered);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  connect(CancelButton, &QPushButton::clicked, this, [this] { form_.Tag = 1; });
  buttons->addWidget(CancelButton);
  if (form.CancelAllOffered) {
    CancelAllButton = new QPushButton(QStringLiteral("Cancel All"), this);
    connect(CancelAllButton, &QPushButton::clicked, this, [this] { form_.Tag = 2; });
    buttons->addWidget(CancelAllButton);
  }
  buttons->addStretch();
  layout->addLayout(buttons);
}

void TProgressDialog::ShowFields() {
  setWindowTitle(Q(form_.Caption));
  ProgressLabel->setText(Q(form_.ProgressLabel));
  ProgressBar->setValue(form_.ProgressBar);
  SpecialText->setText(Q(form_.SpecialText));
}

void TProgressDialog::reject() { form_.Tag = 1; }

QtProgressForm::QtProgressForm(bool cancelAll, QWidget* parent)
    : TProgressForm(cancelAll), dialog_(new TProgressDialog(*this, parent)) {}

QtProgressForm::~QtProgressForm() { delete dialog_.data(); }

void QtProgressForm::Show() {
  if (!dialog_) return;
  dialog_->ShowFields();
  CentreOnScreen(*dialog_);
  dialog_->show();
  dialog_->raise();
}

void QtProgressForm::Update() {
  if (dialog_) dialog_->ShowFields();
}

}  // namespace korvane::gui
