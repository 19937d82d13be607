// The double progress dialog of searches: an action line, a bar for the
// current text and a bar for the whole corpus, a special text line, "Cancel",
// and a "Details >>" button (when the caller shows it) that opens the panels
// below: the search options, and those of the padding, headings and contexts
// panels that the caller made visible. The search fills the core's
// TDoubleProgressForm and calls Update(); Cancel and Escape only set Tag to 1.
#pragma once

#include <QDialog>
#include <QPointer>

#include "app/host.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace korvane::gui {

class TDoubleProgressDialog : public QDialog {
  Q_OBJECT

 public:
  TDoubleProgressDialog(TDoubleProgressForm& form, QWidget* parent);

  void ShowFields();
  // "Details >>" / "No details <<": shows or hides the detail panels.
  void ToggleDetails();
  bool DetailsShown() const { return detailsShown_; }

  QLabel* ActionLabel = nullptr;
  QLabel* SubProgressLabel = nullptr;
  QProgressBar* SubProgressBar = nullptr;
  QLabel* ProgressLabel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* SpecialText = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* DetailsButton = nullptr;
  QWidget* OptionsPanel = nullptr;
  QWidget* PaddingPanel = nullptr;
  QWidget* HeadingsPanel = nullptr;
  QWidget* ContextsPanel = nullptr;

 protected:
  void reject() override;

 private:
  // A panel of "caption value" rows with the values in bold; values receives
  // the value labels in order.
  QWidget* AddPanel(const std::initializer_list<const char*>& captions, std::vector<QLabel*>& values);
  void ShowPanels();

  TDoubleProgressForm& form_;
  bool detailsShown_ = false;
  std::vector<QLabel*> options_, padding_, headings_, contexts_;
};

class QtDoubleProgressForm : public TDoubleProgressForm {
 public:
  explicit QtDoubleProgressForm(QWidget* parent);
  ~QtDoubleProgressForm() override;

  void Show() override;
  void Update() override;

  TDoubleProgressDialog* Dialog() const { return dialog_; }

 private:
  QPointer<TDoubleProgressDialog> dialog_;
};

}  // namespace korvane::gui
