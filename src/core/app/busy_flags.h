// Busy flags: each long operation sets its own flag and clears it on every
// exit path (BusyScope). The frame disables its commands while any is set.
#pragma once

namespace korvane {

enum class BusyKind {
  AddingTexts, CollectingTags, Searching, Saving, Printing, Collocation, WordList, Count_
};

class BusyFlags {
 public:
  bool IsBusy() const {
    for (int n : flags_)
      if (n > 0) return true;
    return false;
  }
  bool Is(BusyKind kind) const { return flags_[static_cast<int>(kind)] > 0; }
  void Set(BusyKind kind) { ++flags_[static_cast<int>(kind)]; }
  void Clear(BusyKind kind) {
    if (flags_[static_cast<int>(kind)] > 0) --flags_[static_cast<int>(kind)];
  }

 private:
  int flags_[static_cast<int>(BusyKind::Count_)] = {};
};

// Sets a busy flag for its lifetime.
class BusyScope {
 public:
  BusyScope(BusyFlags& flags, BusyKind kind) : flags_(flags), kind_(kind) { flags_.Set(kind_); }
  ~BusyScope() { flags_.Clear(kind_); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyFlags& flags_;
  BusyKind kind_;
};

}  // namespace korvane
