// The enabling rules of the main window's menu. The frame gathers the facts
// once per idle pass (FrameFacts) and every menu command takes its enabled,
// ticked and visible state from one rule function here. The letters of the
// rules: E the corpus is not empty, B busy, C the active child is a
// concordance, AnyC some child is a concordance, F the active child is a
// collocation, word-list or corpus-comparison window, W a workspace is loaded.
#pragma once

namespace korvane::gui {

struct FrameFacts {
  bool CorpusNotEmpty = false;     // E
  bool Busy = false;               // B
  bool ActiveConcordance = false;  // C
  bool AnyConcordance = false;     // AnyC
  bool ActiveFrequency = false;    // F
  bool ActiveComparison = false;
  bool WorkspaceLoaded = false;    // W
  bool TagInfoMissing = false;     // some text lacks a table or its word count
  bool UnfinishedURLs = false;
  bool AnyChild = false;
  bool CountWordsWhileLoading = false;
  bool SaveOnExit = false;
};

using FrameRule = bool (*)(const FrameFacts&);

bool Always(const FrameFacts&);
bool UnlessBusy(const FrameFacts& f);                 // not B
bool CorpusLoaded(const FrameFacts& f);               // E
bool CorpusAndIdle(const FrameFacts& f);              // E and not B
bool WhileURLsUnfinished(const FrameFacts& f);
bool WorkspaceAndIdle(const FrameFacts& f);           // W and not B
bool WorkspaceLoaded(const FrameFacts& f);            // W
bool SaveOnExitTicked(const FrameFacts& f);           // W and SaveOnExit
bool CountWordsTicked(const FrameFacts& f);
bool TagInfoMissingAndIdle(const FrameFacts& f);
bool ConcordanceAndIdle(const FrameFacts& f);         // C and not B
bool AnyConcordanceAndIdle(const FrameFacts& f);      // AnyC and not B
bool CorpusConcordanceAndIdle(const FrameFacts& f);   // E, C and not B
bool FrequencyAndIdle(const FrameFacts& f);           // F and not B
bool FrequencyActive(const FrameFacts& f);            // F
bool ComparisonActive(const FrameFacts& f);
bool AnyChildOpen(const FrameFacts& f);

}  // namespace korvane::gui
