// QtHost: the core's Host for the desktop program. Messages and questions
// become TMessageDialog, input queries TIForm, progress objects Qt progress
// dialogs; ProcessMessages runs Qt's pending events; Synchronize and Post
// queue calls from other threads onto the user-interface thread; the frame
// notifications go to the main window once it exists.
#pragma once

#include <QObject>
#include <QPointer>

#include "app/host.h"

class QWidget;

namespace korvane::gui {

class TFrameForm;

class QtHost : public QObject, public Host {
  Q_OBJECT

 public:
  // Must be created on the user-interface thread, after the QApplication.
  QtHost();

  // The main window that receives the frame notifications and parents the
  // dialogs; none before it exists (and in tests of single windows).
  void SetFrame(TFrameForm* frame);

  TModalResult ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                 TMsgDlgBtn focused) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, const TFont& font,
                  std::string& text) override;
  std::unique_ptr<TProgressForm> CreateProgress(bool cancelAll) override;
  std::unique_ptr<TDoubleProgressForm> CreateDoubleProgress() override;
  // Runs pending events and posted calls. The caller's state may change.
  void ProcessMessages() override;
  void Synchronize(const std::function<void()>& fn) override;
  void Post(std::function<void()> fn) override;
  void SetBusyCursor(bool busy) override;

  void StatusText(const std::string& text) override;
  void CorpusInfoChanged() override;
  void URLBoxAdd(const std::string& url, std::int32_t totalSize) override;
  void URLBoxUpdate(const std::string& url, std::int32_t received) override;
  void URLBoxRemove(const std::string& url) override;
  void CorpusChanged() override;
  void RecountWords() override;
  void UnloadCorpusRequested(bool flag) override;
  void BigContextSizeChanged() override;
  void TagSettingsChanged() override;
  void ShowText(int index) override;
  void TextRemoved(int index) override;
  void CloseTextViewer(int index) override;
  void CloseAllChildWindows() override;
  void WorkspaceChanged() override;

  // The window that parents a new dialog: the active modal dialog, else the
  // active window, else the main window.
  QWidget* DialogParent() const;

 private:
  QPointer<TFrameForm> frame_;
  int busyCursors_ = 0;
};

}  // namespace korvane::gui
