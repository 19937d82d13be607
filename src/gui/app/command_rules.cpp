// The menu's enabling rules, one function each.
#include "gui/app/command_rules.h"

namespace korvane::gui {

bool Always(const FrameFacts&) { return true; }
bool UnlessBusy(const FrameFacts& f) { return !f.Busy; }
bool CorpusLoaded(const FrameFacts& f) { return f.CorpusNotEmpty; }
bool CorpusAndIdle(const FrameFacts& f) { return f.CorpusNotEmpty && !f.Busy; }
bool WhileURLsUnfinished(const FrameFacts& f) { return f.UnfinishedURLs; }
bool WorkspaceAndIdle(const FrameFacts& f) { return f.WorkspaceLoaded && !f.Busy; }
bool WorkspaceLoaded(const FrameFacts& f) { return f.WorkspaceLoaded; }
bool SaveOnExitTicked(const FrameFacts& f) { return f.WorkspaceLoaded && f.SaveOnExit; }
bool CountWordsTicked(const FrameFacts& f) { return f.CountWordsWhileLoading; }
bool TagInfoMissingAndIdle(const FrameFacts& f) { return f.TagInfoMissing && !f.Busy; }
bool ConcordanceAndIdle(const FrameFacts& f) { return f.ActiveConcordance && !f.Busy; }
bool AnyConcordanceAndIdle(const FrameFacts& f) { return f.AnyConcordance && !f.Busy; }
bool CorpusConcordanceAndIdle(const FrameFacts& f) { return f.CorpusNotEmpty && f.ActiveConcordance && !f.Busy; }
bool FrequencyAndIdle(const FrameFacts& f) { return f.ActiveFrequency && !f.Busy; }
bool FrequencyActive(const FrameFacts& f) { return f.ActiveFrequency; }
bool ComparisonActive(const FrameFacts& f) { return f.ActiveComparison; }
bool AnyChildOpen(const FrameFacts& f) { return f.AnyChild; }

}  // namespace korvane::gui
