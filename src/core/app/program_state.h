// The program state: every value that lives for the whole run (corpus,
// settings, language, lists, busy flags). It is created at start-up and
// passed by reference; there are no globals, so a test makes its own.
#pragma once

#include <string>
#include <vector>

#include "app/busy_flags.h"
#include "app/config_file.h"
#include "app/font.h"
#include "app/host.h"
#include "app/workspace_options.h"
#include "corpus/corpus.h"
#include "frequency/advanced_collocation.h"
#include "frequency/frequency_settings.h"
#include "frequency/stop_list.h"
#include "search/concord_config.h"
#include "search/heading_context_search.h"
#include "search/headings.h"
#include "search/language.h"
#include "search/sentence_settings.h"
#include "tags/tag_settings.h"

namespace korvane {

// The keys of "GeneralConfiguration" that the full configuration holds.
struct GeneralSettings {
  std::string CorpusPath;
  std::string StopListPath;
  std::string ConcordancePath;
  std::string FreqPath;
  std::string CorpusFreqPath;
  TFont CorpusFont = SystemDefaultFont();
  TFont SystemFont = DefaultDialogFont();
  // Read and written on their own, at the configuration file's location.
  std::string WorkspacePath;
  bool SaveOnExit = false;
};

class ProgramState {
 public:
  explicit ProgramState(Host& host);
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  Host& host;
  korvane::ConcordConfig ConcordConfig;
  GeneralSettings General;
  BusyFlags Busy;
  Corpus corpus;
  LanguageState Language{ConcordConfig};
  HeadingsList Headings;
  HeadingContextSearch HeadingContext;
  SentenceSettings Sentences;
  TStopList StopList{Language};
  TFreqSettings FreqSettings;
  TAdvancedCollocExtras AdvancedCollocExtras;
  // The tracked tags, in their configured order.
  std::vector<TWatchedTag> WatchedTags;
  // Set by "Cancel All" of a tag-information collection; callers clear it
  // before a batch of texts.
  bool CancelAllTagCollection = false;

  // The save options of the loaded workspace.
  TWorkspaceOptions Workspace;
  // The search dialog's batch pattern lists, kept with a workspace.
  TBatchPatternLists BatchPatternLists;

  // The sentence and URL history keys that the configuration file handles.
  std::vector<std::string> URLHistory;

  // The read and write operations of every subsystem, in their fixed order.
  ConfigurationRegistry Configuration;
};

}  // namespace korvane
