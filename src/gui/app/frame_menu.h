// The main window's menu: every command is one QAction, created once here
// with its caption, shortcut and hint (shown in the status line while the
// item is highlighted), and tied to the rules that give its enabled, ticked
// and visible state. The frame connects the actions to its commands and calls
// Apply at every idle pass.
#pragma once

#include <QKeySequence>

#include <vector>

#include "gui/app/command_rules.h"

class QAction;
class QMainWindow;
class QMenu;

namespace korvane::gui {

class TFrameMenu {
 public:
  // Builds the menu bar of frame.
  explicit TFrameMenu(QMainWindow& frame);

  // Sets every command's enabled, ticked and visible state from the facts.
  void Apply(const FrameFacts& facts) const;

  QMenu* FileMenu = nullptr;
  QAction* FMF_LoadCorpusFiles = nullptr;
  QAction* FMF_LoadCorpusURL = nullptr;
  QAction* FMF_CountWordsWhileLoading = nullptr;
  QAction* FMF_StopLoadingURLs = nullptr;
  QAction* FMF_UnloadCorpus = nullptr;
  QAction* FMF_ViewCorpus = nullptr;
  QAction* FMF_OpenWorkspace = nullptr;
  QAction* FMF_SaveWorkspace = nullptr;
  QAction* FMF_SaveWorkspaceAs = nullptr;
  QAction* FMF_SaveWorkspaceOnExit = nullptr;
  QAction* FMF_CollectTagInformation = nullptr;
  QMenu* TagSettingsMenu = nullptr;
  QAction* FMF_NormalTags = nullptr;
  QAction* FMF_PartOfSpeechTags = nullptr;
  QAction* FMF_Language = nullptr;
  QAction* FMF_PrintSetup = nullptr;
  QAction* FMF_Exit = nullptr;

  QMenu* ConcordanceMenu = nullptr;
  QAction* FMC_Search = nullptr;
  QAction* FMC_AdvancedSearch = nullptr;
  QAction* FMC_SearchOptions = nullptr;
  QAction* FMC_SaveAsFile = nullptr;
  QAction* FMC_Print = nullptr;
  QAction* FMC_CloseAll = nullptr;

  QMenu* FrequencyMenu = nullptr;
  QAction* FMQ_CollocateFrequency = nullptr;
  QAction* FMQ_AdvancedCollocation = nullptr;
  QMenu* CorpusFrequencyMenu = nullptr;
  QAction* FMQ_CorpusFrequencyOrder = nullptr;
  QAction* FMQ_CorpusAlphabeticalOrder = nullptr;
  QMenu* BatchFrequencyMenu = nullptr;
  QAction* FMQ_BatchFrequencyOrder = nullptr;
  QAction* FMQ_BatchAlphabeticalOrder = nullptr;
  QAction* FMQ_FrequencyOptions = nullptr;
  QAction* FMQ_CorpusComparison = nullptr;
  QAction* FMQ_Sort = nullptr;
  QAction* FMQ_CopyToClipboard = nullptr;
  QAction* FMQ_SaveAsFile = nullptr;
  QAction* FMQ_Print = nullptr;

  QMenu* DisplayMenu = nullptr;
  QAction* FMD_ChangeFont = nullptr;

  QMenu* WindowMenu = nullptr;
  QAction* FMW_Tile = nullptr;
  QAction* FMW_Cascade = nullptr;
  QAction* FMW_ArrangeIcons = nullptr;

  QMenu* InfoMenu = nullptr;
  QAction* FMI_Help = nullptr;
  QAction* FMI_About = nullptr;

 private:
  struct Rule {
    QAction* Action;
    FrameRule Enabled;
    FrameRule Checked;  // none: not a tick item
    FrameRule Visible;  // none: always visible
  };

  QAction* Add(QMenu* menu, const char* caption, const QKeySequence& shortcut, const char* hint,
               FrameRule enabled, FrameRule checked = nullptr, FrameRule visible = nullptr);
  QMenu* AddMenu(QMenu* parent, const char* caption, const char* hint, FrameRule enabled,
                 FrameRule visible = nullptr);

  QMainWindow& frame_;
  std::vector<Rule> rules_;
};

}  // namespace korvane::gui
