// The main window's commands.
#include "gui/app/frame_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "app/config_file.h"
#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "gui/app/about_box.h"
#include "gui/app/frame_form.h"
#include "gui/app/frame_menu.h"
#include "gui/app/gui_messages.h"
#include "gui/app/help.h"
#include "gui/app/qt_host.h"
#include "gui/app/qt_convert.h"
#include "gui/corpus/corpora_list_dlg.h"
#include "gui/net/open_url_form.h"

namespace korvane::gui {

TFrameCommands::TFrameCommands(TFrameForm& frame, ProgramState& state, QtHost& host)
    : QObject(&frame), frame_(frame), state_(state), host_(host) {}

void TFrameCommands::FirstActivation() {
  const QStringList& arguments = frame_.Arguments();
  if (!arguments.isEmpty() && arguments.front().endsWith(QStringLiteral(".kws"), Qt::CaseInsensitive)) {
    // Workspaces come with their own part of the program; until then the
    // start-up goes on as when a workspace cannot be read.
    NotAvailable(frame_.Menu().FMF_OpenWorkspace);
  }
  ReadDefaultConfiguration(state_, frame_.Locations());
  std::vector<std::string> names;
  for (const QString& argument : arguments) names.push_back(S(argument));
  if (!names.empty()) LoadTexts(state_, names);
  ReadSaveOnExit(state_, frame_.Locations());
  ReadWorkspacePath(state_, frame_.Locations());
  frame_.UpdateCorpusInfo();
  frame_.UpdateCaption();
  frame_.UpdateCommandStates();
}

bool TFrameCommands::CloseQuery() {
  if (state_.Busy.IsBusy()) return false;
  if (frame_.AskBeforeQuit && !host_.AskYesNo(S(QuitQuestion()), true)) return false;
  if (state_.corpus.WorkspaceFile.empty()) WriteDefaultConfiguration(state_, frame_.Locations());
  // With a workspace, "Save Workspace On Exit" saves it; workspaces come with
  // their own part of the program.
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
