// TOpenURLForm: the "Open URL" dialog of "Load Corpus &URL...": an editable
// list of the URLs used before (the most recent first), the URL syntax as a
// hint, "OK" and "Cancel". OK checks the URL and puts it at the top of the
// history; a bad one is refused with its message and the dialog stays open.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;

namespace korvane {
class Host;
}

namespace korvane::gui {

class TOpenURLForm : public QDialog {
  Q_OBJECT

 public:
  // history is read when the dialog opens and takes the list's entries when
  // it closes, whichever button closed it.
  TOpenURLForm(Host& host, std::vector<std::string>& history, QWidget* parent = nullptr);
  ~TOpenURLForm() override;

  // The accepted URL (trimmed); empty after Cancel.
  const std::string& URL() const { return url_; }

  QComboBox* URLList = nullptr;

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the history in the list, keeping the edited text.
  void ShowHistory();

  Host& host_;
  std::vector<std::string>& history_;
  std::vector<std::string> entries_;
  std::string url_;
};

// Runs the dialog modally; returns the accepted URL or empty. Lets pending
// messages run while it is shown.
std::string ExecuteOpenURL(Host& host, std::vector<std::string>& history, QWidget* parent);

}  // namespace korvane::gui
