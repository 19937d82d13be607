// The "Open URL" dialog.
#include "gui/net/open_url_form.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/errors.h"
#include "app/host.h"
#include "gui/app/qt_convert.h"
#include "net/url.h"

namespace korvane::gui {

TOpenURLForm::TOpenURLForm(Host& host, std::vector<std::string>& history, QWidget* parent)
    : QDialog(parent), host_(host), history_(history), entries_(history) {
  setWindowTitle(QStringLiteral("Open URL"));
  setMinimumWidth(460);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("&URL:"), this);
  URLList = new QComboBox(this);
  URLList->setEditable(true);
  URLList->setInsertPolicy(QComboBox::NoInsert);
  label->setBuddy(URLList);
  const QString hint = QStringLiteral("URL syntax: (http | ftp)://[user[:password]@]server[:port][/path]");
  URLList->setToolTip(hint);
  auto* syntax = new QLabel(hint, this);
  syntax->setEnabled(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TOpenURLForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(label);
  layout->addWidget(URLList);
  layout->addWidget(syntax);
  layout->addWidget(buttons);
  ShowHistory();
  if (URLList->count() > 0) URLList->setCurrentIndex(0);
  URLList->installEventFilter(this);
}

TOpenURLForm::~TOpenURLForm() { history_ = entries_; }

void TOpenURLForm::ShowHistory() {
  const QString text = URLList->currentText();
  URLList->clear();
  for (const std::string& url : entries_) URLList->addItem(Q(url));
  URLList->setEditText(text);
}

bool TOpenURLForm::eventFilter(QObject* watched, QEvent* event) {
  // Leaving the list keeps what was typed in the history.
  if (watched == URLList && event->type() == QEvent::FocusOut) {
    PutURLAtTop(entries_, S(URLList->currentText().trimmed()));
    ShowHistory();
  }
  return QDialog::eventFilter(watched, event);
}

void TOpenURLForm::accept() {
  try {
    url_ = AcceptOpenURL(entries_, S(URLList->currentText()));
  } catch (const Exception& e) {
    host_.ShowError(e.what());
    URLList->setFocus();
    return;
  }
  QDialog::accept();
}

std::string ExecuteOpenURL(Host& host, std::vector<std::string>& history, QWidget* parent) {
  TOpenURLForm form(host, history, parent);
  if (form.exec() != QDialog::Accepted) return {};
  return form.URL();
}

}  // namespace korvane::gui
