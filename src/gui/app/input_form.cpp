// The input query form.
#include "gui/app/input_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/qt_convert.h"

namespace korvane::gui {

TIForm::TIForm(const QString& caption, const QString& prompt, const TFont& font, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(caption);
  setMinimumWidth(320);
  auto* layout = new QVBoxLayout(this);
  PromptLabel = new QLabel(prompt, this);
  EditBox = new QLineEdit(this);
  EditBox->setFont(ToQFont(font));
  PromptLabel->setBuddy(EditBox);
  layout->addWidget(PromptLabel);
  layout->addWidget(EditBox);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  EditBox->setFocus();
}

bool ExecuteInputQuery(const QString& caption, const QString& prompt, const TFont& font, QString& text,
                       QWidget* parent) {
  TIForm form(caption, prompt, font, parent);
  const bool ok = form.exec() == QDialog::Accepted;
  text = form.EditBox->text();
  return ok;
}

}  // namespace korvane::gui
