// The main window's menu with its captions, shortcuts, hints and rules.
#include "gui/app/frame_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace korvane::gui {

TFrameMenu::TFrameMenu(QMainWindow& frame) : frame_(frame) {
  const QKeySequence none;
  FileMenu = AddMenu(nullptr, "&File", "", Always);
  FMF_LoadCorpusFiles = Add(FileMenu, "&Load Corpus File(s)...", QKeySequence(Qt::CTRL | Qt::Key_L),
                            "Add file(s) to current corpus", UnlessBusy);
  FMF_LoadCorpusURL =
      Add(FileMenu, "Load Corpus &URL...", QKeySequence(Qt::CTRL | Qt::Key_U), "Add URL to current corpus", UnlessBusy);
  FMF_CountWordsWhileLoading = Add(FileMenu, "Count Words while Loading", none,
                                   "Counts word tokens and types during file loading", Always, CountWordsTicked);
  FMF_StopLoadingURLs = Add(FileMenu, "Stop Loading U&RL(s)", QKeySequence(Qt::CTRL | Qt::Key_R),
                            "Stop loading URL(s) to current corpus", WhileURLsUnfinished);
  FMF_UnloadCorpus =
      Add(FileMenu, "U&nload Corpus", none, "Unload the whole corpus and close all windows", CorpusAndIdle);
  FileMenu->addSeparator();
  FMF_ViewCorpus = Add(FileMenu, "&View Corpus File/URL...", QKeySequence(Qt::CTRL | Qt::Key_V),
                       "Select a corpus text to view from the list of available files/URLs", CorpusLoaded);
  FileMenu->addSeparator();
  FMF_OpenWorkspace = Add(FileMenu, "Open &Workspace...", QKeySequence(Qt::CTRL | Qt::Key_O),
                          "Open workspace with saved corpus, tags and search information", UnlessBusy);
  FMF_SaveWorkspace = Add(FileMenu, "&Save Workspace...", none, "Save active workspace", WorkspaceAndIdle);
  FMF_SaveWorkspaceAs = Add(FileMenu, "Save Workspace &As...", none, "Create new workspace", UnlessBusy);
  FMF_SaveWorkspaceOnExit = Add(FileMenu, "Save Workspace &On Exit", none,
                                "Save active workspace when exiting Korvane", WorkspaceLoaded, SaveOnExitTicked);
  FileMenu->addSeparator();
  FMF_CollectTagInformation = Add(FileMenu, "&Collect Tag Information", none,
                                  "Collect tag info, line and page info, and count words", TagInfoMissingAndIdle);
  TagSettingsMenu = AddMenu(FileMenu, "&Tag Settings", "Set normal and POS tag info", UnlessBusy);
  FMF_NormalTags =
      Add(TagSettingsMenu, "&Normal Tags ...", none, "Set tracked tags and page delimiter", UnlessBusy);
  FMF_PartOfSpeechTags =
      Add(TagSettingsMenu, "Part of &Speech Tags ...", none, "Set POS tags and meta-tags", UnlessBusy);
  FMF_Language =
      Add(FileMenu, "Lan&guage...", none, "Set language for search and sort related functions", UnlessBusy);
  FileMenu->addSeparator();
  FMF_PrintSetup = Add(FileMenu, "&Print Setup...", none, "Set up the printer", UnlessBusy);
  FileMenu->addSeparator();
  FMF_Exit = Add(FileMenu, "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), "Quit Korvane", UnlessBusy);

  ConcordanceMenu = AddMenu(nullptr, "&Concordance", "", Always, CorpusLoaded);
  FMC_Search = Add(ConcordanceMenu, "&Search...", QKeySequence(Qt::CTRL | Qt::Key_S),
                   "Generate a concordance based on a search pattern (e.g., \"speak* to\")", CorpusAndIdle);
  FMC_AdvancedSearch = Add(ConcordanceMenu, "&Advanced Search...", QKeySequence(Qt::CTRL | Qt::Key_A),
                           "Generate a concordance using one of the three possible search types", CorpusAndIdle);
  FMC_SearchOptions = Add(ConcordanceMenu, "Search &Options...", none, "Set common search options", CorpusAndIdle);
  ConcordanceMenu->addSeparator();
  FMC_SaveAsFile = Add(ConcordanceMenu, "Sa&ve as File...", none, "Save the concordance hits as a text file",
                       ConcordanceAndIdle);
  FMC_Print = Add(ConcordanceMenu, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P),
                  "Print the concordance hits to the current printer", ConcordanceAndIdle);
  ConcordanceMenu->addSeparator();
  FMC_CloseAll = Add(ConcordanceMenu, "&Close All", none, "Close all concordance windows", AnyConcordanceAndIdle);

  FrequencyMenu = AddMenu(nullptr, "Fre&quency", "", Always, CorpusLoaded);
  FMQ_CollocateFrequency = Add(FrequencyMenu, "Collocate &Frequency", QKeySequence(Qt::CTRL | Qt::Key_F),
                               "Calculate frequencies of words surrounding the search term", CorpusConcordanceAndIdle);
  FMQ_AdvancedCollocation = Add(FrequencyMenu, "&Advanced Collocation", none,
                                "Display, count and rank collocations", CorpusConcordanceAndIdle);
  FrequencyMenu->addSeparator();
  CorpusFrequencyMenu = AddMenu(FrequencyMenu, "&Corpus Frequency Data",
                                "Calculate frequency of all words in the corpus", CorpusAndIdle);
  FMQ_CorpusFrequencyOrder = Add(CorpusFrequencyMenu, "Frequency Order", none,
                                 "View corpus word list in order of decreasing frequencies", CorpusAndIdle);
  FMQ_CorpusAlphabeticalOrder = Add(CorpusFrequencyMenu, "Alphabetical Order", none,
                                    "View corpus word list in alphabetical order", CorpusAndIdle);
  BatchFrequencyMenu = AddMenu(FrequencyMenu, "&Batch Frequency Data",
                               "Save to file calculated frequency of all words in the corpus", CorpusAndIdle);
  FMQ_BatchFrequencyOrder = Add(BatchFrequencyMenu, "Frequency Order", none,
                                "Generate corpus word list in order of decreasing frequencies", CorpusAndIdle);
  FMQ_BatchAlphabeticalOrder = Add(BatchFrequencyMenu, "Alphabetical Order", none,
                                   "Generate corpus word list in alphabetical order", CorpusAndIdle);
  FMQ_FrequencyOptions =
      Add(FrequencyMenu, "Frequency &Options...", none, "Set options for the frequency data", CorpusAndIdle);
  FrequencyMenu->addSeparator();
  FMQ_CorpusComparison = Add(FrequencyMenu, "Corpus Comparison", none,
                             "Compares current frequency list with a saved list", FrequencyAndIdle);
  FMQ_Sort = Add(FrequencyMenu, "Sort...", none, "Reorders the corpus comparison data", ComparisonActive);
  FrequencyMenu->addSeparator();
  FMQ_CopyToClipboard = Add(FrequencyMenu, "Copy to Clipboard", QKeySequence(Qt::CTRL | Qt::Key_C),
                            "Copies selected text", FrequencyAndIdle);
  FMQ_SaveAsFile = Add(FrequencyMenu, "Sa&ve as File...", none, "Save the frequency information as a text file",
                       FrequencyAndIdle);
  FMQ_Print = Add(FrequencyMenu, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P),
                  "Print the frequency information to the current printer", FrequencyAndIdle);

  DisplayMenu = AddMenu(nullptr, "&Display", "", FrequencyActive, FrequencyActive);
  FMD_ChangeFont = Add(DisplayMenu, "Change &Font ...", none, "Change font for the active window", FrequencyActive,
                       nullptr, FrequencyActive);

  WindowMenu = AddMenu(nullptr, "&Window", "", AnyChildOpen, AnyChildOpen);
  FMW_Tile = Add(WindowMenu, "&Tile", none, "Tile open windows", AnyChildOpen);
  FMW_Cascade = Add(WindowMenu, "&Cascade", QKeySequence(Qt::SHIFT | Qt::Key_F5), "Cascade open windows", AnyChildOpen);
  FMW_ArrangeIcons =
      Add(WindowMenu, "&Arrange Icons", none, "Arrange icons within Korvane's main window", AnyChildOpen);

  InfoMenu = AddMenu(nullptr, "&Info", "", Always);
  FMI_Help = Add(InfoMenu, "&Help", QKeySequence(Qt::Key_F1), "View help file", Always);
  FMI_About = Add(InfoMenu, "&About Korvane...", none, "See information about Korvane", Always);
}

QMenu* TFrameMenu::AddMenu(QMenu* parent, const char* caption, const char* hint, FrameRule enabled,
                           FrameRule visible) {
  QMenu* menu = parent != nullptr ? parent->addMenu(QString::fromUtf8(caption))
                                  : frame_.menuBar()->addMenu(QString::fromUtf8(caption));
  menu->menuAction()->setStatusTip(QString::fromUtf8(hint));
  // Hints of the items show in the status line, not as tooltips.
  menu->setToolTipsVisible(false);
  rules_.push_back(Rule{menu->menuAction(), enabled, nullptr, visible});
  return menu;
}

QAction* TFrameMenu::Add(QMenu* menu, const char* caption, const QKeySequence& shortcut, const char* hint,
                         FrameRule enabled, FrameRule checked, FrameRule visible) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setShortcut(shortcut);
  action->setStatusTip(QString::fromUtf8(hint));
  action->setCheckable(checked != nullptr);
  // Shortcuts work wherever the focus is inside the main window.
  action->setShortcutContext(Qt::WindowShortcut);
  rules_.push_back(Rule{action, enabled, checked, visible});
  return action;
}

void TFrameMenu::Apply(const FrameFacts& facts) const {
  for (const Rule& rule : rules_) {
    rule.Action->setEnabled(rule.Enabled(facts));
    if (rule.Checked != nullptr) rule.Action->setChecked(rule.Checked(facts));
    if (rule.Visible != nullptr) rule.Action->setVisible(rule.Visible(facts));
  }
}

}  // namespace korvane::gui
