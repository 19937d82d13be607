// The double progress dialog with its detail panels.
#include "gui/app/double_progress_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/progress_form.h"
#include "gui/app/qt_convert.h"

namespace korvane::gui {
namespace {

constexpr int kDialogWidth = 400;

QLabel* PlainLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QString DetailsCaption(bool shown) {
  return shown ? QStringLiteral("No details <<") : QStringLiteral("Details >>");
}

}  // namespace

TDoubleProgressDialog::TDoubleProgressDialog(TDoubleProgressForm& form, QWidget* parent)
    : QDialog(parent, ProgressDialogFlags()), form_(form) {
  setMinimumWidth(kDialogWidth);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ActionLabel = PlainLabel(this);
  SubProgressLabel = PlainLabel(this);
  SubProgressBar = CreateBlueProgressBar(this);
  ProgressLabel = PlainLabel(this);
  ProgressBar = CreateBlueProgressBar(this);
  SpecialText = PlainLabel(this);
  QFont italic = SpecialText->font();
  italic.setItalic(true);
  SpecialText->setFont(italic);
  for (QWidget* w : {static_cast<QWidget*>(ActionLabel), static_cast<QWidget*>(SubProgressLabel),
                     static_cast<QWidget*>(SubProgressBar), static_cast<QWidget*>(ProgressLabel),
                     static_cast<QWidget*>(ProgressBar), static_cast<QWidget*>(SpecialText)})
    layout->addWidget(w);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  connect(CancelButton, &QPushButton::clicked, this, [this] { form_.Tag = 1; });
  DetailsButton = new QPushButton(DetailsCaption(false), this);
  connect(DetailsButton, &QPushButton::clicked, this, &TDoubleProgressDialog::ToggleDetails);
  buttons->addWidget(CancelButton);
  buttons->addWidget(DetailsButton);
  buttons->addStretch();
  layout->addLayout(buttons);

  OptionsPanel = AddPanel({"Search:", "Ignore case:", "Freq. of hits:", "Sent. mode:"}, options_);
  PaddingPanel = AddPanel({"Skipping characters:", "Equal characters:"}, padding_);
  HeadingsPanel =
      AddPanel({"Heading start:", "Heading stop:", "Heading match:", "Text start:", "Text stop:"}, headings_);
  ContextsPanel = AddPanel({"Left context:", "Right context:"}, contexts_);
  ShowPanels();
}

QWidget* TDoubleProgressDialog::AddPanel(const std::initializer_list<const char*>& captions,
                                         std::vector<QLabel*>& values) {
  auto* panel = new QWidget(this);
  auto* form = new QFormLayout(panel);
  form->setContentsMargins(0, 0, 0, 0);
  for (const char* caption : captions) {
    QLabel* value = PlainLabel(panel);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    form->addRow(QString::fromLatin1(caption), value);
    values.push_back(value);
  }
  static_cast<QVBoxLayout*>(layout())->addWidget(panel);
  return panel;
}

void TDoubleProgressDialog::ShowPanels() {
  OptionsPanel->setVisible(detailsShown_);
  PaddingPanel->setVisible(detailsShown_ && form_.PaddingPanelVisible);
  HeadingsPanel->setVisible(detailsShown_ && form_.HeadingsPanelVisible);
  ContextsPanel->setVisible(detailsShown_ && form_.ContextsPanelVisible);
  DetailsButton->setText(DetailsCaption(detailsShown_));
}

void TDoubleProgressDialog::ToggleDetails() {
  detailsShown_ = !detailsShown_;
  ShowPanels();
}

void TDoubleProgressDialog::ShowFields() {
  setWindowTitle(Q(form_.Caption));
  ActionLabel->setText(Q(form_.ActionLabel));
  SubProgressLabel->setText(Q(form_.SubProgressLabel));
  SubProgressBar->setValue(form_.SubProgressBar);
  ProgressLabel->setText(Q(form_.ProgressLabel));
  ProgressBar->setValue(form_.ProgressBar);
  SpecialText->setText(Q(form_.SpecialText));
  DetailsButton->setVisible(form_.DetailsButtonVisible);
  const std::string* values[] = {&form_.DetailSearch,       &form_.DetailIgnoreCase,   &form_.DetailFreqOfHits,
                                 &form_.DetailSentMode,     &form_.DetailSkippingChars, &form_.DetailEqualChars,
                                 &form_.DetailHeadingStart, &form_.DetailHeadingStop,  &form_.DetailHeadingMatch,
                                 &form_.DetailTextStart,    &form_.DetailTextStop,     &form_.DetailLeftContext,
                                 &form_.DetailRightContext};
  std::size_t k = 0;
  for (auto* group : {&options_, &padding_, &headings_, &contexts_})
    for (QLabel* label : *group) label->setText(Q(*values[k++]));
  ShowPanels();
}

void TDoubleProgressDialog::reject() { form_.Tag = 1; }

QtDoubleProgressForm::QtDoubleProgressForm(QWidget* parent) : dialog_(new TDoubleProgressDialog(*this, parent)) {}

QtDoubleProgressForm::~QtDoubleProgressForm() { delete dialog_.data(); }

void QtDoubleProgressForm::Show() {
  if (!dialog_) return;
  dialog_->ShowFields();
  CentreOnScreen(*dialog_);
  dialog_->show();
  dialog_->raise();
}

void QtDoubleProgressForm::Update() {
  if (dialog_) dialog_->ShowFields();
}

}  // namespace korvane::gui
