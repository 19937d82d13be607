// The single progress dialog of long operations: a label, a blue bar from 0
// to 100, an italic line of special text, and either "Cancel" or "Cancel" and
// "Cancel All". The operation owns the form (the core's TProgressForm), sets
// its fields, calls Update() to show them, lets messages run and reads Tag:
// the buttons only set Tag (1 Cancel, 2 Cancel All), they never stop anything
// themselves. Escape is Cancel. The dialog has no system buttons and stays
// above the main window.
#pragma once

#include <QDialog>
#include <QPointer>

#include "app/host.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace korvane::gui {

class TProgressDialog : public QDialog {
  Q_OBJECT

 public:
  TProgressDialog(TProgressForm& form, QWidget* parent);

  // Copies the form's fields into the widgets.
  void ShowFields();

  QLabel* ProgressLabel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* SpecialText = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* CancelAllButton = nullptr;  // only with Cancel All

 protected:
  void reject() override;

 private:
  TProgressForm& form_;
};

// The host's progress object: the core's form with its Qt dialog.
class QtProgressForm : public TProgressForm {
 public:
  QtProgressForm(bool cancelAll, QWidget* parent);
  ~QtProgressForm() override;

  void Show() override;
  void Update() override;

  TProgressDialog* Dialog() const { return dialog_; }

 private:
  QPointer<TProgressDialog> dialog_;
};

// A blue bar as the progress dialogs show it.
QProgressBar* CreateBlueProgressBar(QWidget* parent);
// Moves a window to the centre of its screen, at its natural size.
void CentreOnScreen(QWidget& window);
// Window flags of a dialog without system buttons.
Qt::WindowFlags ProgressDialogFlags();

}  // namespace korvane::gui
