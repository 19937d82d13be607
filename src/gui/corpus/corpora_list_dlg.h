// TCorporaListDlg: the non-modal "List of Open Corpora" dialog. It lists the
// corpus texts in load order and lets the user view, remove and reload them.
// "&Remove" and "&Show" work on every selected text; "Re&load" replaces cached
// copies of URL texts by new downloads. The buttons follow the selection and
// whether a long operation runs. It lives as long as the main window.
#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace korvane {
class ProgramState;
}

namespace korvane::gui {

class TFrameServices;

// The button rules: nothing selected disables all three.
bool RemoveButtonEnabled(bool anySelected, bool busy);
bool ShowButtonEnabled(bool anySelected);
bool ReloadButtonEnabled(bool selectedCachedURL);

class TCorporaListDlg : public QDialog {
  Q_OBJECT

 public:
  TCorporaListDlg(ProgramState& state, TFrameServices& frame, QWidget* parent);

  // Shows the dialog (non-modal) and brings it to the front.
  void ShowDialog();
  // Lists the corpus again, keeping the selection where the texts stay.
  void Refresh();
  void UpdateButtons();

  // The commands of the buttons. RemoveSelected lets pending messages run
  // after the removal; when the corpus is then empty the dialog closes and the
  // main window unloads the corpus.
  void RemoveSelected();
  void ShowSelected();
  void ReloadSelected();

  QLabel* ListLabel = nullptr;
  QListWidget* CorporaList = nullptr;
  QPushButton* RemoveButton = nullptr;
  QPushButton* ShowButton = nullptr;
  QPushButton* ReloadButton = nullptr;
  QPushButton* CloseButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Selected text indexes in ascending order.
  std::vector<int> SelectedTexts() const;

  ProgramState& state_;
  TFrameServices& frame_;
};

}  // namespace korvane::gui
