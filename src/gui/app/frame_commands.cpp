// The main window's commands.
#include "gui/app/frame_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include <filesystem>

#include "app/config_file.h"
#include "app/program_state.h"
#include "app/workspace.h"
#include "corpus/corpus_loader.h"
#include "gui/app/about_box.h"
#include "gui/app/frame_form.h"
#include "gui/app/frame_menu.h"
#include "gui/app/gui_messages.h"
#include "gui/app/help.h"
#include "gui/app/qt_host.h"
#include "gui/app/qt_convert.h"
#include "gui/app/workspace_options_form.h"
#include "gui/corpus/corpora_list_dlg.h"
#include "gui/net/open_url_form.h"
#include "tags/tag_collector.h"

namespace korvane::gui {

TFrameCommands::TFrameCommands(TFrameForm& frame, ProgramState& state, QtHost& host)
    : QObject(&frame), frame_(frame), state_(state), host_(host) {}

void TFrameCommands::FirstActivation() {
  const QStringList& arguments = frame_.Arguments();
  const bool workspace =
      !arguments.isEmpty() && arguments.front().endsWith(QStringLiteral(".kws"), Qt::CaseInsensitive) &&
      OpenWorkspace(state_, NormalizePath(S(arguments.front())));
  if (!workspace) {
    ReadDefaultConfiguration(state_, frame_.Locations());
    std::vector<std::string> names;
    for (const QString& argument : arguments) names.push_back(S(argument));
    if (!names.empty()) LoadTexts(state_, names);
  }
  ReadSaveOnExit(state_, frame_.Locations());
  ReadWorkspacePath(state_, frame_.Locations());
  frame_.UpdateCorpusInfo();
  frame_.UpdateCaption();
  frame_.UpdateCommandStates();
}

bool TFrameCommands::CloseQuery() {
  if (state_.Busy.IsBusy()) return false;
  if (frame_.AskBeforeQuit && !host_.AskYesNo(S(QuitQuestion()), true)) return false;
  if (state_.corpus.WorkspaceFile.empty())
    WriteDefaultConfiguration(state_, frame_.Locations());
  else if (state_.General.SaveOnExit)
    SaveWorkspace(state_, state_.corpus.WorkspaceFile, false);
  return true;
}

void TFrameCommands::LoadCorpusFiles() {
  QFileDialog dialog(&frame_, QStringLiteral("Select File(s) to Open"), Q(state_.General.CorpusPath));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = {QStringLiteral("Text Files (*.TXT)"), QStringLiteral("All Files (*)")};
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters[1]);
  dialog.setDefaultSuffix(QStringLiteral("TXT"));
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::string> names;
  for (const QString& file : dialog.selectedFiles()) names.push_back(S(file));
  LoadTexts(state_, names);
  frame_.UpdateCommandStates();
}

void TFrameCommands::LoadCorpusURL() {
  const std::string url = ExecuteOpenURL(host_, state_.URLHistory, &frame_);
  if (url.empty()) return;
  LoadTexts(state_, {url});
  frame_.UpdateCommandStates();
}

void TFrameCommands::ToggleCountWordsWhileLoading() {
  state_.corpus.CountWordsWhileLoading = !state_.corpus.CountWordsWhileLoading;
  frame_.UpdateCommandStates();
}

void TFrameCommands::StopLoadingURLs() { state_.corpus.StopURLLoading = true; }

void TFrameCommands::UnloadCorpus() { frame_.UnloadCorpus(); }

void TFrameCommands::ViewCorpus() {
  TCorporaListDlg& dialog = frame_.CorporaList();
  dialog.setWindowTitle(SelectFilesToViewCaption());
  dialog.ShowDialog();
}

// The workspace open and save dialogs: start in WorkspacePath, "KWS" added
// to a name without extension. Returns the chosen file or empty.
QString TFrameCommands::AskWorkspaceFile(bool save) {
  QFileDialog dialog(&frame_, save ? QStringLiteral("Save Workspace As") : QStringLiteral("Select Workspace to Open"),
                     Q(state_.General.WorkspacePath));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = {QStringLiteral("Korvane Workspaces (*.KWS)"), QStringLiteral("All Files (*)")};
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters[0]);
  dialog.setDefaultSuffix(QStringLiteral("KWS"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void TFrameCommands::RememberWorkspacePath(const std::string& file) {
  state_.General.WorkspacePath = std::filesystem::path(file).parent_path().string() + "/";
  WriteWorkspacePath(state_, frame_.Locations());
}

// Asks before saving when downloads still run and their documents would be
// kept: they are left out.
bool TFrameCommands::UnfinishedURLsAccepted(const TWorkspaceOptions& options) {
  return !UnfinishedURLsWouldBeLost(state_, options) || host_.WarnYesNo(UnfinishedURLsQuestion(), true);
}

void TFrameCommands::OpenWorkspaceFile() {
  const QString file = AskWorkspaceFile(false);
  if (file.isEmpty()) return;
  if (OpenWorkspace(state_, NormalizePath(S(file)))) RememberWorkspacePath(state_.corpus.WorkspaceFile);
  frame_.UpdateCorpusInfo();
  frame_.UpdateCaption();
  frame_.UpdateCommandStates();
}

void TFrameCommands::SaveWorkspaceFile() {
  TWorkspaceOptions options = OptionsForSave(state_);
  if (!ExecuteWorkspaceOptions(options, host_.DialogParent())) return;
  state_.Workspace = options;
  if (UnfinishedURLsAccepted(options)) SaveWorkspace(state_, state_.corpus.WorkspaceFile, false);
  frame_.UpdateCommandStates();
}

void TFrameCommands::SaveWorkspaceFileAs() {
  const QString chosen = AskWorkspaceFile(true);
  if (chosen.isEmpty()) return;
  const std::string file = NormalizePath(S(chosen));
  if (IsLoadedWorkspace(state_, file)) {
    host_.ShowError(LoadedWorkspaceMessage());
    return;
  }
  const TWorkspaceOptions previous = state_.Workspace;
  TWorkspaceOptions options = OptionsForSaveAs(state_);
  if (!ExecuteWorkspaceOptions(options, host_.DialogParent())) return;
  state_.Workspace = options;
  if (!UnfinishedURLsAccepted(options)) {
    state_.Workspace = previous;
    return;
  }
  const bool keepPrevious = !state_.corpus.WorkspaceFile.empty();
  if (SaveWorkspace(state_, file, keepPrevious)) RememberWorkspacePath(file);
  frame_.UpdateCaption();
  frame_.UpdateCommandStates();
}

void TFrameCommands::CollectTagInformation() {
  {
    BusyScope busy(state_.Busy, BusyKind::CollectingTags);
    frame_.UpdateCommandStates();
    CollectAllTagInfo(state_);
  }
  frame_.UpdateCorpusInfo();
  frame_.UpdateCommandStates();
}

void TFrameCommands::ToggleSaveWorkspaceOnExit() {
  state_.General.SaveOnExit = !state_.General.SaveOnExit;
  WriteSaveOnExit(state_, frame_.Locations());
  frame_.UpdateCommandStates();
}

void TFrameCommands::PrintSetup() {
  QPrintDialog dialog(&frame_.Printer(), &frame_);
  dialog.setWindowTitle(QStringLiteral("Print Setup"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  dialog.exec();
}

void TFrameCommands::Exit() {
  frame_.AskBeforeQuit = false;
  frame_.close();
}

void TFrameCommands::CloseAllConcordances() { frame_.CloseChildren(ChildKind::Concordance); }

void TFrameCommands::Help() { OpenHelp(&frame_); }

void TFrameCommands::About() {
  TAboutBox box(&frame_);
  box.exec();
}

void TFrameCommands::NotAvailable(const QAction* command) {
  host_.ShowInfo(S(CommandNotAvailableMessage(command != nullptr ? command->text() : QString())));
}

}  // namespace korvane::gui
