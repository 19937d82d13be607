// The "Save Workspace Options" dialog.
#include "gui/app/workspace_options_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane::gui {

TWkSpaceOptionsForm::TWkSpaceOptionsForm(const TWorkspaceOptions& options, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save Workspace Options"));
  auto* layout = new QVBoxLayout(this);
  const auto box = [this, layout](const char* caption, bool checked) {
    auto* check = new QCheckBox(QString::fromUtf8(caption), this);
    check->setChecked(checked);
    layout->addWidget(check);
    return check;
  };
  LinePagesBox = box("&Line and Page numbers info", options.KeepLinePages);
  WatchedTagsBox = box("&Tracked Tags info", options.KeepWatchedTags);
  FreqBox = box("Corpus &Frequency", options.KeepFreq);
  URLsBox = box("Downloaded &URLs", options.KeepURLs);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

TWorkspaceOptions TWkSpaceOptionsForm::Options() const {
  TWorkspaceOptions options;
  options.KeepLinePages = LinePagesBox->isChecked();
  options.KeepWatchedTags = WatchedTagsBox->isChecked();
  options.KeepFreq = FreqBox->isChecked();
  options.KeepURLs = URLsBox->isChecked();
  return options;
}

bool ExecuteWorkspaceOptions(TWorkspaceOptions& options, QWidget* parent) {
  TWkSpaceOptionsForm form(options, parent);
  if (form.exec() != QDialog::Accepted) return false;
  options = form.Options();
  return true;
}

}  // namespace korvane::gui
