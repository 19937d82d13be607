// TFrameCommands: what the main window's menu commands do, the start-up on
// first activation, and the close query. Each command copies what the user
// chose into a core call; commands whose work this version lacks say so in an
// information box.
//
// Every command runs on the user-interface thread; the loading commands let
// pending messages run (the busy flags guard the menu meanwhile).
#pragma once

#include <QObject>
#include <QString>

#include <string>

#include "app/workspace_options.h"

class QAction;

namespace korvane {
class ProgramState;
}

namespace korvane::gui {

class TFrameForm;
class QtHost;

class TFrameCommands : public QObject {
  Q_OBJECT

 public:
  TFrameCommands(TFrameForm& frame, ProgramState& state, QtHost& host);

  // Once, when the main window is first shown: a workspace named as the first
  // argument, or else the configuration file and every argument as a text.
  void FirstActivation();
  // Whether the main window may close now; refused while busy, else asked
  // unless "E&xit" was chosen. On yes the configuration file is written, or
  // with a workspace loaded and "Save Workspace On Exit" ticked the
  // workspace is saved.
  bool CloseQuery();

  void LoadCorpusFiles();
  void LoadCorpusURL();
  void ToggleCountWordsWhileLoading();
  void StopLoadingURLs();
  void UnloadCorpus();
  void ViewCorpus();
  // "Open Workspace...", "Save Workspace...", "Save Workspace As...".
  void OpenWorkspaceFile();
  void SaveWorkspaceFile();
  void SaveWorkspaceFileAs();
  void ToggleSaveWorkspaceOnExit();
  void CollectTagInformation();
  void PrintSetup();
  void Exit();
  void CloseAllConcordances();
  void Help();
  void About();
  // The information box of a command whose work this version lacks.
  void NotAvailable(const QAction* command);

 private:
  QString AskWorkspaceFile(bool save);
  void RememberWorkspacePath(const std::string& file);
  bool UnfinishedURLsAccepted(const TWorkspaceOptions& options);

  TFrameForm& frame_;
  ProgramState& state_;
  QtHost& host_;
};

}  // namespace korvane::gui
