// TSearch: one search over the corpus, from the prepared request to the hits.
//
// Preparation copies the request and compiles its patterns (the heading
// pattern, the left and right context, every search pattern) under one set
// of rules. Execute then walks the texts in corpus order. Each text is read
// through two readers on its source: the scanning reader, and a second one
// that looks at and records hits without disturbing the scan. Within a text
// the search first narrows where it looks: with heading search, to the text
// ranges that follow a heading whose text matches the heading pattern; with
// context search, to the stretches between a match of the left context and
// the next match of the right context. In every such region each pattern in
// turn finds its matches, one after another and never overlapping. A match
// that runs across a sentence end is dropped in sentence mode; of the rest
// every FrequencyOfHits-th (counted across texts and patterns) becomes a
// TConcordItem, handed to the caller's add-hit routine, until the maximum is
// reached or the user cancels. A two-bar progress window shows the text and
// the corpus scanned and the words tried per second.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "results/concord_item.h"
#include "search/scan_control.h"
#include "search/search_context.h"
#include "search/search_rec.h"

namespace korvane {

class ProgramState;
class TDoubleProgressForm;
class TSynchroStream;

// Receives each recorded hit and takes it over. Throwing EAbort means "do not
// count this match": it counts neither towards FrequencyOfHits nor towards
// the maximum, and the search goes on. Any other exception ends the search
// and reaches Execute's caller. It may let pending messages run.
using TAddHitRoutine = std::function<void(std::unique_ptr<TConcordItem>)>;

// The stage at which preparation met a pattern that does not compile.
enum TSearchErrorStage : int {
  esNone = 0,
  esLeftContext = 1,
  esRightContext = 2,
  esHeadingPattern = 3,
  esSearchPattern = 4,
};

// A heading marker as the scan looks for it: "#" read as a space, a final
// space taken off and remembered as "must be followed by white space".
struct THeadingMarker {
  std::string Text;
  bool BlankAfter = false;
  std::int32_t Length = 0;
};

// Normalises a heading marker. The marker is compared with the text byte for
// byte, so its case is kept whether or not the search ignores case.
THeadingMarker NormaliseHeadingMarker(const std::string& marker);

class TSearch final : private TScanControl {
 public:
  // A search over the corpus, settings, language and host of state, which
  // must outlive it.
  explicit TSearch(ProgramState& state);
  ~TSearch() override;
  TSearch(const TSearch&) = delete;
  TSearch& operator=(const TSearch&) = delete;

  // Copies and compiles the request. Returns esNone, or the stage of the
  // regular expression that did not compile with the engine's message in
  // errorMessage (the patterns compiled before it stay). Any other error
  // passes to the caller as an exception.
  TSearchErrorStage Prepare(const TSearchRec& request, std::string& errorMessage);

  // Runs the prepared search over every text and hands the hits to addHit.
  // maximumHits below 1 sets no limit. Shows the double progress window
  // through the host while it runs and lets pending messages run every 512th
  // cancel check and at each pattern start. A cancel (or the maximum)
  // ends the search normally; the hits recorded so far stay with the
  // caller. Exceptions ("Unknown meta tag: ...", read errors, the add-hit
  // routine's) end the search; the progress window is gone and the cursor
  // restored before they reach the caller.
  void Execute(std::int32_t maximumHits, const TAddHitRoutine& addHit);

  const TSearchRec& Request() const { return request_; }
  const std::vector<std::unique_ptr<TSearchContext>>& PatternContexts() const { return patterns_; }
  // After Execute: whether the user (or the maximum) stopped the search, how
  // many matches were counted, and how many hits were recorded.
  bool WasCancelled() const { return cancelled_; }
  std::int64_t MatchCount() const { return matchCount_; }
  std::int64_t RecordedCount() const { return recordedCount_; }

 private:
  // TScanControl
  bool PollCancel() override;
  bool Cancelled() const override { return cancelled_; }
  void ReportProgress(std::int32_t position, bool force) override;
  void CountAttempts(std::uint32_t count) override { wordCounter_ += count; }
  void SetSpeedDisplay(bool on) override { speedDisplay_ = on; }

  std::unique_ptr<TSearchContext> Compile(const std::string& pattern, const std::string& name);
  void FillDetails();
  void ScanText(std::int32_t textIndex, TBufStream& scan, TBufStream& second,
                std::int32_t maximumHits, const TAddHitRoutine& addHit);
  bool NextTextRange(TBufStream& scan, std::int32_t from, std::int32_t& start, std::int32_t& end,
                     std::int32_t& next);
  bool NextSearchRegion(TBufStream& scan, std::int32_t from, std::int32_t rangeEnd,
                        std::int32_t& start, std::int32_t& end, std::int32_t& next);
  void HandleMatch(TSearchContext& context, TBufStream& second, std::int32_t textIndex,
                   std::int32_t maximumHits, const TAddHitRoutine& addHit);
  void SetAction(const std::string& action);
  void SetCaption(const std::string& caption);
  void RestartSpeedTimer();
  TFindCallback FindProgress();

  ProgramState& state_;
  TSearchRec request_;
  std::unique_ptr<TPatternRules> rules_;
  bool sentenceMode_ = false;

  bool headingSearch_ = false;
  THeadingMarker headStart_, headStop_, textStart_, textStop_;
  std::unique_ptr<TSearchContext> heading_;
  bool contextSearch_ = false;
  std::unique_ptr<TSearchContext> left_;
  std::unique_ptr<TSearchContext> right_;
  std::vector<std::unique_ptr<TSearchContext>> patterns_;

  // The run.
  std::unique_ptr<TDoubleProgressForm> form_;
  bool cancelled_ = false;
  std::uint32_t progressCalls_ = 0;
  std::uint32_t speedCalls_ = 0;
  std::uint32_t cancelChecks_ = 0;
  bool holdOverall_ = false;
  bool speedDisplay_ = false;
  bool barsOff_ = false;
  TSynchroStream* source_ = nullptr;  // the source of the text being scanned
  std::int32_t textLength_ = 0;
  std::int64_t totalSize_ = 0;
  std::int64_t overall_ = 0;
  std::int32_t lastTextPosition_ = 0;
  std::uint64_t wordCounter_ = 0;
  std::uint32_t speedStart_ = 0;
  std::uint32_t lastSpeedDisplay_ = 0;
  std::int64_t matchCount_ = 0;
  std::int64_t recordedCount_ = 0;
};

}  // namespace korvane
