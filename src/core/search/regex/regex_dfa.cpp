// The lazy DFA (see regex_dfa.h). BuildTransition is the slow path that
// simulates the automaton for one state and one byte class and caches the
// result; the search loops only look transitions up.
#include "search/regex/regex_dfa.h"

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {
// Rough bookkeeping cost of one cached state besides its kernel and row.
constexpr std::size_t kStateOverheadBytes = 96;
}  // namespace

TRegexDfa::TRegexDfa(const TRegexProgram& program, TDirection direction, std::size_t cacheBudget)
    : program_(program),
      direction_(direction),
      cacheBudget_(cacheBudget),
      stride_(program.ClassCount + 1),
      edgeClass_(program.ClassCount) {
  const std::size_t size = program.Insts.size();
  current_.reserve(size * 2);
  next_.reserve(size * 2);
  reached_.reserve(size);
  stack_.reserve(size);
  visitedStamp_.assign(size, 0);
  steppedStamp_.assign(size, 0);
  Flush();
  flushCount_ = 0;
}

void TRegexDfa::Flush() {
  states_.clear();
  startOnly_.clear();
  kernelPool_.clear();
  transitions_.clear();
  index_.clear();
  startStates_.fill(-1);
  cacheBytes_ = 0;
  ++flushCount_;
  // State 0 is the dead state: no threads, no new starts, never a match.
  states_.push_back(TState{});
  startOnly_.push_back(0);
  transitions_.assign(stride_, kDeadState << 1);
}

std::int32_t TRegexDfa::StartState(std::uint8_t context) {
  std::int32_t& cached = startStates_[context];
  if (cached < 0) {
    next_.clear();
    const std::int32_t state = Intern(context, direction_ == TDirection::drForward ? smAlways : smOnce);
    startStates_[context] = state;  // Intern may have flushed the array
    return state;
  }
  return cached;
}

// Interns the kernel in next_ with the given context and start mode.
std::int32_t TRegexDfa::Intern(std::uint8_t context, std::uint8_t mode) {
  if (next_.empty() && mode == smNone) return kDeadState;
  if (!program_.HasAssertions) context = 0;
  key_.assign(1, static_cast<char>(context | (mode << 4)));
  key_.append(reinterpret_cast<const char*>(next_.data()), next_.size() * sizeof(std::int32_t));
  if (auto it = index_.find(key_); it != index_.end()) return it->second;

  const std::size_t cost = kStateOverheadBytes + 2 * key_.size() + stride_ * sizeof(std::int32_t);
  if (cacheBytes_ + cost > cacheBudget_ && states_.size() > 1) Flush();
  cacheBytes_ += cost;
  TState state;
  state.KernelBegin = static_cast<std::uint32_t>(kernelPool_.size());
  state.KernelSize = static_cast<std::uint32_t>(next_.size());
  state.Context = context;
  state.Mode = mode;
  kernelPool_.insert(kernelPool_.end(), next_.begin(), next_.end());
  const auto id = static_cast<std::int32_t>(states_.size());
  states_.push_back(state);
  startOnly_.push_back(next_.empty() && mode == smAlways ? 1 : 0);
  transitions_.resize(transitions_.size() + stride_, kUnknown);
  index_.emplace(key_, id);
  return id;
}

// Follows the non-consuming instructions from pc; consuming ones go to
// reached_, a match sets `matched`.
void TRegexDfa::Closure(std::int32_t pc, std::uint8_t before, std::uint8_t after, bool& matched) {
  stack_.clear();
  stack_.push_back(pc);
  while (!stack_.empty()) {
    const std::int32_t at = stack_.back();
    stack_.pop_back();
    if (visitedStamp_[at] == stamp_) continue;
    visitedStamp_[at] = stamp_;
    const TRegexInst& inst = program_.Insts[at];
    switch (inst.Op) {
      case TRegexOp::opSet:
        reached_.push_back(at);
        break;
      case TRegexOp::opMatch:
        matched = true;
        break;
      case TRegexOp::opSplit:
        stack_.push_back(inst.Arg);
        stack_.push_back(inst.Next);
        break;
      case TRegexOp::opAssert:
        if (AssertionHolds(inst.Assertion, before, after)) stack_.push_back(inst.Next);
        break;
      case TRegexOp::opLoopCheck:
        stack_.push_back(inst.Exit);
        stack_.push_back(inst.Next);
        break;
      default:  // jumps, saves, loop marks; back-references never reach a DFA
        stack_.push_back(inst.Next);
        break;
    }
  }
}

// Moves the threads in reached_ over a byte of byteClass into next_, as one
// group (separated from earlier ones by a mark), sorted so that equal
// states have equal keys.
void TRegexDfa::Step(int byteClass) {
  const std::size_t begin = next_.size();
  if (begin > 0) next_.push_back(kMark);
  const std::size_t first = next_.size();
  if (byteClass != edgeClass_) {
    for (std::int32_t pc : reached_) {
      const TRegexInst& inst = program_.Insts[pc];
      if (!program_.ClassSets[inst.Arg][byteClass]) continue;
      if (steppedStamp_[inst.Next] == stamp_) continue;
      steppedStamp_[inst.Next] = stamp_;
      next_.push_back(inst.Next);
    }
  }
  if (next_.size() == first) {
    next_.resize(begin);
    return;
  }
  std::sort(next_.begin() + static_cast<std::ptrdiff_t>(first), next_.end());
}

std::int32_t TRegexDfa::BuildTransition(std::int32_t stateId, int byteClass) {
  if (++stamp_ == 0) {  // the stamps wrapped around
    std::fill(visitedStamp_.begin(), visitedStamp_.end(), 0);
    std::fill(steppedStamp_.begin(), steppedStamp_.end(), 0);
    stamp_ = 1;
  }
  const TState state = states_[stateId];
  current_.assign(kernelPool_.begin() + state.KernelBegin,
                  kernelPool_.begin() + state.KernelBegin + state.KernelSize);
  const std::size_t flushesBefore = flushCount_;

  // The two sides of the position before the byte, in text order.
  const std::uint8_t scanNext = byteClass == edgeClass_ ? EdgeContext() : program_.ClassContext[byteClass];
  const std::uint8_t before = direction_ == TDirection::drForward ? state.Context : scanNext;
  const std::uint8_t after = direction_ == TDirection::drForward ? scanNext : state.Context;

  next_.clear();
  bool matched = false;
  for (std::size_t i = 0; i < current_.size() && !matched;) {
    reached_.clear();
    for (; i < current_.size() && current_[i] != kMark; ++i) Closure(current_[i], before, after, matched);
    if (i < current_.size()) ++i;
    Step(byteClass);
  }
  std::uint8_t mode = state.Mode;
  if (matched) {
    mode = smNone;  // the leftmost start is known: no later start can win
  } else if (mode != smNone) {
    reached_.clear();
    bool emptyMatch = false;  // an empty match is never reported
    Closure(program_.Start, before, after, emptyMatch);
    Step(byteClass);
    if (mode == smOnce) mode = smNone;
  }

  std::int32_t next = kDeadState;
  if (byteClass != edgeClass_) next = Intern(scanNext, mode);
  const std::int32_t result = (next << 1) | (matched ? 1 : 0);
  if (flushCount_ == flushesBefore)
    transitions_[static_cast<std::size_t>(stateId) * stride_ + byteClass] = result;
  return result;
}

std::ptrdiff_t TRegexDfa::FindMatchEnd(std::string_view text, std::size_t start, const TRegexSkip* skip) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t size = text.size();
  if (start > size) return -1;
  const std::uint8_t* p = data + start;
  const std::uint8_t* const end = data + size;
  const std::uint8_t* const byteClass = program_.ByteClass.data();
  std::int32_t state = StartState(start == 0 ? EdgeContext() : ContextOf(data[start - 1]));
  std::ptrdiff_t lastMatch = -1;
  while (p < end) {
    if (skip && startOnly_[state]) {
      // Nothing has started yet: jump to the next byte that can begin a match.
      const std::uint8_t* q = p;
      if (skip->Count == 1) {
        q = static_cast<const std::uint8_t*>(std::memchr(p, skip->Single, static_cast<std::size_t>(end - p)));
        if (!q) return -1;
      } else {
        while (q < end && !skip->Table[*q]) ++q;
        if (q == end) return -1;
      }
      if (q != p) {
        p = q;
        state = StartState(ContextOf(p[-1]));
      }
    }
    const std::int32_t t = Transition(state, byteClass[*p]);
    if (t & 1) lastMatch = p - data;
    state = t >> 1;
    if (state == kDeadState) return lastMatch;
    ++p;
  }
  if (Transition(state, edgeClass_) & 1) lastMatch = static_cast<std::ptrdiff_t>(size);
  return lastMatch;
}

std::ptrdiff_t TRegexDfa::FindMatchStart(std::string_view text, std::size_t start, std::size_t end) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  if (end > text.size() || start >= end) return -1;
  const std::uint8_t* const byteClass = program_.ByteClass.data();
  std::int32_t state = StartState(end == text.size() ? EdgeContext() : ContextOf(data[end]));
  std::ptrdiff_t best = -1;
  for (std::size_t p = end; p > start; --p) {
    const std::int32_t t = Transition(state, byteClass[data[p - 1]]);
    if (t & 1) best = static_cast<std::ptrdiff_t>(p);
    state = t >> 1;
    if (state == kDeadState) return best;
  }
  // The position `start` itself: its condition sees the byte before it.
  const std::int32_t t = Transition(state, start == 0 ? edgeClass_ : byteClass[data[start - 1]]);
  if (t & 1) best = static_cast<std::ptrdiff_t>(start);
  return best;
}

}  // namespace korvane
