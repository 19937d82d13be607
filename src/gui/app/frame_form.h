// TFrameForm: the main window. A multiple-document frame whose menu starts
// every operation, whose status bar shows hints, the corpus summary and the
// download boxes, and which keeps the menu's state in step with the corpus,
// the active child window and any running operation.
//
// The window holds layout and forwarding only: the commands are
// TFrameCommands, the menu and its rules TFrameMenu. The frame notifications
// of the core arrive here through QtHost. The idle update (menu state, then
// every child's own commands) runs after user input and other events that
// may change the state, and every second while an operation is busy.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "gui/app/child_form.h"
#include "gui/app/command_rules.h"
#include "gui/app/text_codec.h"

class QMdiArea;
class QMdiSubWindow;
class QPrinter;

namespace korvane {
class ProgramState;
}

namespace korvane::gui {

class QtHost;
class TFrameMenu;
class TFrameCommands;
class THintBar;
class TCorporaListDlg;
class TFullTextForm;

class TFrameForm : public QMainWindow, public TFrameServices {
  Q_OBJECT

 public:
  // arguments: the command line after the program name. locations: where
  // the configuration file is read and written.
  TFrameForm(ProgramState& state, QtHost& host, ConfigLocations locations, QStringList arguments,
             QWidget* parent = nullptr);
  ~TFrameForm() override;

  // --- Frame notifications (from the core, through the host) ---------------
  // A stage text in the status line; empty restores the status line.
  void ShowStatusText(const QString& text);
  void UpdateCorpusInfo();
  void AddURLBox(const std::string& url, std::int32_t totalSize);
  void UpdateURLBox(const std::string& url, std::int32_t received);
  void RemoveURLBox(const std::string& url);
  // The corpus changed: word-list windows close.
  void CorpusChanged();
  void RecountWords();
  void BigContextSizeChanged();
  void TagSettingsChanged();
  // A text was removed (after the fact): its viewer closes if still open.
  void TextRemoved(int index);

  // --- TFrameServices --------------------------------------------------------
  QPrinter& Printer() override;
  const TextCodec& Codec() const override { return codec_; }
  void UpdateCommandStates() override;
  void HideAllTextViewers() override;
  void ShowText(int index) override;
  void CloseTextViewer(int index) override;
  void UnloadCorpus() override;

  // --- For the commands ------------------------------------------------------
  // The status line (left panel) with a hint, or the corpus summary.
  void UpdateStatusLine(const QString& hint = {});
  // "Korvane", or "Korvane - Name" with a workspace.
  void UpdateCaption();
  FrameFacts Facts() const;
  std::vector<TChildForm*> Children() const;
  TChildForm* ActiveChild() const;
  // The viewer of a text name (exactly that name), or none.
  TFullTextForm* FindViewer(const std::string& name) const;
  void CloseChildren(ChildKind kind);
  void CloseAllChildren();
  QMdiArea* MdiArea() const { return mdiArea_; }
  THintBar* HintBar() const { return hintBar_; }
  TFrameMenu& Menu() const { return *menu_; }
  TCorporaListDlg& CorporaList() const { return *corporaList_; }
  QTimer& IdleTimer() { return idleTimer_; }
  const QStringList& Arguments() const { return arguments_; }
  const ConfigLocations& Locations() const { return locations_; }

  // Set at creation, cleared by "E&xit": closing asks first.
  bool AskBeforeQuit = true;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ScheduleIdle();
  void RunIdle();
  void ChildActivated(QMdiSubWindow* window);
  void FillWindowMenu();
  void ArrangeIcons();
  void ConnectCommands();

  ProgramState& state_;
  QtHost& host_;
  ConfigLocations locations_;
  QStringList arguments_;
  TextCodec codec_;
  QMdiArea* mdiArea_ = nullptr;
  THintBar* hintBar_ = nullptr;
  std::unique_ptr<TFrameMenu> menu_;
  std::unique_ptr<TFrameCommands> commands_;
  TCorporaListDlg* corporaList_ = nullptr;
  std::unique_ptr<QPrinter> printer_;
  QTimer idleTimer_;
  QPointer<QAction> childMenuAction_;
  std::vector<QAction*> windowListActions_;
  bool idleScheduled_ = false;
  bool wasBusy_ = false;
  bool activated_ = false;
};

}  // namespace korvane::gui
