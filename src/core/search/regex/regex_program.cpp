// The compiler from tree to automaton (see regex_program.h). Instructions are
// laid out in order, so every fragment falls through to the next one and
// only branches and loops carry targets.
#include "search/regex/regex_program.h"

#include <unordered_map>

#include "search/regex/regex_error.h"

namespace korvane {

bool AssertionHolds(TAssertion assertion, std::uint8_t before, std::uint8_t after) {
  const bool wordBefore = before & kCtxWord;
  const bool wordAfter = after & kCtxWord;
  switch (assertion) {
    case TAssertion::asLineStart: return before & (kCtxEdge | kCtxNewline);
    case TAssertion::asLineEnd: return after & (kCtxEdge | kCtxNewline);
    case TAssertion::asBufferStart: return before & kCtxEdge;
    case TAssertion::asBufferEnd: return after & kCtxEdge;
    case TAssertion::asWordBoundary: return wordBefore != wordAfter;
    case TAssertion::asNotWordBoundary: return wordBefore == wordAfter;
    case TAssertion::asWordStart: return !wordBefore && wordAfter;
    case TAssertion::asWordEnd: return wordBefore && !wordAfter;
  }
  return false;
}

namespace {

using TKind = TRegexNode::TKind;

class TCompiler {
 public:
  TCompiler(TRegexProgram& program) : program_(program) {}

  void Compile(const TRegexNode& root) {
    Emit(root);
    TRegexInst match;
    match.Op = TRegexOp::opMatch;
    Add(match);
  }

 private:
  bool Backtrack() const { return program_.Kind == TRegexProgramKind::pkBacktrack; }
  std::int32_t Here() const { return static_cast<std::int32_t>(program_.Insts.size()); }

  std::int32_t Add(TRegexInst inst) {
    if (program_.Insts.size() >= kMaxRegexProgramSize) throw ERegExp(TRegExpError::reTooBig);
    if (inst.Op != TRegexOp::opSplit && inst.Op != TRegexOp::opJump && inst.Op != TRegexOp::opLoopCheck)
      inst.Next = Here() + 1;
    program_.Insts.push_back(inst);
    return Here() - 1;
  }

  std::int32_t Add(TRegexOp op, std::int32_t arg = 0) {
    TRegexInst inst;
    inst.Op = op;
    inst.Arg = arg;
    inst.Next = Here() + 1;
    return Add(inst);
  }

  std::int32_t SetIndex(const TByteSet& set) {
    auto [it, added] = setIndex_.emplace(set, static_cast<std::int32_t>(program_.Sets.size()));
    if (added) program_.Sets.push_back(set);
    return it->second;
  }

  void EmitAnyBytes() {
    TByteSet all;
    all.set();
    const std::int32_t loop = Add(TRegexOp::opSplit);
    Add(TRegexOp::opSet, SetIndex(all));
    TRegexInst back;
    back.Op = TRegexOp::opJump;
    back.Next = loop;
    Add(back);
    program_.Insts[loop].Arg = Here();
  }

  // x*: split over the body, which jumps back. In the backtracker an
  // iteration may match the empty string only as the first one, as POSIX
  // has it; this also keeps the loop from spinning.
  void EmitStar(const TRegexNode& body) {
    EmitLoopEnter();
    const std::int32_t loop = Add(TRegexOp::opSplit);
    const std::int32_t check = EmitGuardedBody(body);
    TRegexInst back;
    back.Op = TRegexOp::opJump;
    back.Next = loop;
    Add(back);
    program_.Insts[loop].Arg = Here();
    if (check >= 0) program_.Insts[check].Exit = Here();
  }

  // x+: the body, then a split back to it.
  void EmitPlus(const TRegexNode& body) {
    EmitLoopEnter();
    const std::int32_t top = Here();
    const std::int32_t check = EmitGuardedBody(body);
    const std::int32_t split = Add(TRegexOp::opSplit);
    program_.Insts[split].Next = top;
    program_.Insts[split].Arg = Here();
    if (check >= 0) program_.Insts[check].Exit = Here();
  }

  // Reserves the two registers of a loop (iteration start, entry) and marks
  // the entry.
  void EmitLoopEnter() {
    if (!Backtrack()) return;
    loopRegister_ = program_.RegisterCount;
    program_.RegisterCount += 2;
    Add(TRegexOp::opLoopEnter, loopRegister_);
  }

  // The body of a loop; returns the opLoopCheck to patch, or -1.
  std::int32_t EmitGuardedBody(const TRegexNode& body) {
    if (!Backtrack()) {
      Emit(body);
      return -1;
    }
    const std::int32_t mark = loopRegister_;
    Add(TRegexOp::opLoopStart, mark);
    Emit(body);
    TRegexInst check;
    check.Op = TRegexOp::opLoopCheck;
    check.Arg = mark;
    check.Next = Here() + 1;
    return Add(check);
  }

  void EmitRepeat(const TRegexNode& node) {
    const TRegexNode& body = *node.Children.front();
    if (node.Max < 0) {
      for (int i = 1; i < node.Min; ++i) Emit(body);
      if (node.Min == 0)
        EmitStar(body);
      else
        EmitPlus(body);
      return;
    }
    for (int i = 0; i < node.Min; ++i) Emit(body);
    // The optional copies nest: skipping one skips the rest, which keeps the
    // backtracker from trying the same count many ways.
    std::vector<std::int32_t> skips;
    for (int i = node.Min; i < node.Max; ++i) {
      skips.push_back(Add(TRegexOp::opSplit));
      Emit(body);
    }
    for (std::int32_t split : skips) program_.Insts[split].Arg = Here();
  }

  void Emit(const TRegexNode& node) {
    switch (node.Kind) {
      case TKind::nkEmpty:
        break;
      case TKind::nkSet:
        Add(TRegexOp::opSet, SetIndex(node.Set));
        break;
      case TKind::nkConcat:
        if (program_.Kind == TRegexProgramKind::pkReverse) {
          for (auto it = node.Children.rbegin(); it != node.Children.rend(); ++it) Emit(**it);
        } else {
          for (const auto& child : node.Children) Emit(*child);
        }
        break;
      case TKind::nkAlternate: {
        std::vector<std::int32_t> jumps;
        for (std::size_t i = 0; i + 1 < node.Children.size(); ++i) {
          const std::int32_t split = Add(TRegexOp::opSplit);
          Emit(*node.Children[i]);
          TRegexInst jump;
          jump.Op = TRegexOp::opJump;
          jumps.push_back(Add(jump));
          program_.Insts[split].Arg = Here();
        }
        Emit(*node.Children.back());
        for (std::int32_t jump : jumps) program_.Insts[jump].Next = Here();
        break;
      }
      case TKind::nkRepeat:
        EmitRepeat(node);
        break;
      case TKind::nkGroup:
        if (Backtrack()) Add(TRegexOp::opSave, 2 * node.Index);
        Emit(*node.Children.front());
        if (Backtrack()) Add(TRegexOp::opSave, 2 * node.Index + 1);
        break;
      case TKind::nkBackRef:
        if (Backtrack())
          Add(TRegexOp::opBackRef, node.Index);
        else
          EmitAnyBytes();
        break;
      case TKind::nkAssert: {
        TRegexInst inst;
        inst.Op = TRegexOp::opAssert;
        inst.Assertion = node.Assertion;
        Add(inst);
        break;
      }
    }
  }

  TRegexProgram& program_;
  std::unordered_map<TByteSet, std::int32_t> setIndex_;
  std::int32_t loopRegister_ = 0;  // of the loop being emitted
};

// Splits the byte values into classes that every set (and, with conditions,
// the word characters and the line feed) treats alike.
void ComputeByteClasses(TRegexProgram& program) {
  std::vector<TByteSet> distinctions = program.Sets;
  if (program.HasAssertions) {
    TByteSet word;
    TByteSet newline;
    for (int c = 0; c < 256; ++c) word[c] = program.ByteContext(static_cast<std::uint8_t>(c)) & kCtxWord;
    newline.set('\n');
    distinctions.push_back(word);
    distinctions.push_back(newline);
  }
  std::array<int, 256> classOf{};
  int classCount = 1;
  for (const TByteSet& set : distinctions) {
    // Refine: (old class, in set) -> new class.
    std::vector<int> renumber(2 * classCount, -1);
    int next = 0;
    for (int c = 0; c < 256; ++c) {
      int& slot = renumber[2 * classOf[c] + (set[c] ? 1 : 0)];
      if (slot < 0) slot = next++;
      classOf[c] = slot;
    }
    classCount = next;
  }
  program.ClassCount = classCount;
  program.ClassContext.assign(classCount, 0);
  for (int c = 0; c < 256; ++c) {
    program.ByteClass[c] = static_cast<std::uint8_t>(classOf[c]);
    if (program.HasAssertions) program.ClassContext[classOf[c]] = program.ByteContext(static_cast<std::uint8_t>(c));
  }
  program.ClassSets.assign(program.Sets.size(), TByteSet());
  for (std::size_t s = 0; s < program.Sets.size(); ++s)
    for (int c = 0; c < 256; ++c)
      if (program.Sets[s][c]) program.ClassSets[s].set(classOf[c]);
}

}  // namespace

TRegexProgram CompileRegex(const TRegexTree& tree, const TRegExpTables& tables, TRegexProgramKind kind) {
  TRegexProgram program;
  program.Kind = kind;
  program.GroupCount = tree.GroupCount;
  program.RegisterCount = kind == TRegexProgramKind::pkBacktrack ? 2 * (tree.GroupCount + 1) : 0;
  program.HasAssertions = tree.HasAssertions;
  program.Translate = tables.Translate;
  program.WordSyntax = tables.WordSyntax;
  TCompiler(program).Compile(*tree.Root);
  program.Start = 0;
  ComputeByteClasses(program);
  return program;
}

TByteSet RegexFirstBytes(const TRegexProgram& program) {
  TByteSet first;
  std::vector<bool> seen(program.Insts.size(), false);
  std::vector<std::int32_t> stack{program.Start};
  while (!stack.empty()) {
    const std::int32_t pc = stack.back();
    stack.pop_back();
    if (seen[pc]) continue;
    seen[pc] = true;
    const TRegexInst& inst = program.Insts[pc];
    switch (inst.Op) {
      case TRegexOp::opSet:
        first |= program.Sets[inst.Arg];
        break;
      case TRegexOp::opBackRef:  // may repeat any text, or none
        first.set();
        stack.push_back(inst.Next);
        break;
      case TRegexOp::opSplit:
        stack.push_back(inst.Next);
        stack.push_back(inst.Arg);
        break;
      case TRegexOp::opLoopCheck:
        stack.push_back(inst.Next);
        stack.push_back(inst.Exit);
        break;
      case TRegexOp::opMatch:  // an empty match is never reported
        break;
      default:
        stack.push_back(inst.Next);
        break;
    }
  }
  return first;
}

}  // namespace korvane
