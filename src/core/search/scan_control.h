// TScanControl: what a pattern's scan asks of the search that runs it.
//
// The matcher of one pattern (term_sequence.cpp, and the regular-expression
// scan) knows tokens and terms; the search that owns it knows the progress
// window, the cancel request, the word counter and the speed display. This
// narrow interface is all the matcher sees of the search, so that either side
// can change without the other.
#pragma once

#include <cstdint>

namespace korvane {

class TScanControl {
 public:
  virtual ~TScanControl() = default;

  // Picks up the user's cancel request; every 512th call lets pending
  // messages run (the caller's state may change under it). True when the
  // search is cancelled.
  virtual bool PollCancel() = 0;
  // True when the search is cancelled (no polling).
  virtual bool Cancelled() const = 0;
  // Reports position as scanned in the current text. Throttled unless
  // forced; does nothing while the pattern runs without progress reporting.
  virtual void ReportProgress(std::int32_t position, bool force) = 0;
  // Counts match attempts (words tried) for the speed display.
  virtual void CountAttempts(std::uint32_t count) = 0;
  // Switches the words-per-second display on or off.
  virtual void SetSpeedDisplay(bool on) = 0;
};

}  // namespace korvane
