// The parser of the regular-expression engine (see regex_parser.h). It reads
// the pattern one token ahead and follows the grammar of GNU regex
// closely, so that odd patterns ("*a", "a{,3}", "[]a]", "a)") mean
// the same here as there.
#include "search/regex/regex_parser.h"

#include <algorithm>
#include <string>
#include <utility>

#include "search/regex/regex_error.h"

namespace korvane {
namespace {

using TNodePtr = std::unique_ptr<TRegexNode>;
using TKind = TRegexNode::TKind;

// The longest name between "[:" and ":]" (and "[." ".]", "[=" "=]").
constexpr std::size_t kMaxBracketNameLength = 32;

enum class TTokenType {
  ttChar, ttAny, ttOpenBracket, ttOpenGroup, ttCloseGroup, ttAlt, ttStar, ttPlus, ttQuestion,
  ttOpenBrace, ttCloseBrace, ttBackRef, ttAnchor, ttWord, ttNotWord, ttSpace, ttNotSpace,
  ttTrailingBackslash, ttEnd,
};

struct TToken {
  TTokenType Type = TTokenType::ttEnd;
  std::uint8_t Char = 0;  // ttChar
  int Index = 0;          // ttBackRef: 1 to 9
  TAssertion Anchor = TAssertion::asLineStart;
  std::size_t Length = 0;
};

enum class TBracketTokenType { btChar, btRange, btClose, btNegate, btOpenCollating, btOpenEquivalence, btOpenClass, btEnd };

struct TBracketToken {
  TBracketTokenType Type = TBracketTokenType::btEnd;
  std::uint8_t Char = 0;
  std::size_t Length = 0;
};

struct TBracketElement {
  enum class TType { beChar, beCollating, beEquivalence, beClass } Type = TType::beChar;
  std::uint8_t Char = 0;
  std::string Name;
};

bool IsDupToken(TTokenType type) {
  return type == TTokenType::ttStar || type == TTokenType::ttPlus || type == TTokenType::ttQuestion ||
         type == TTokenType::ttOpenBrace;
}

// Whether a byte with class bits `type` belongs to the named bracket class;
// false for an unknown name, which `known` reports.
bool InCharClass(const std::string& name, std::uint8_t type, bool& known) {
  known = true;
  if (name == "alpha") return type & (kCtUpper | kCtLower);
  if (name == "upper") return type & kCtUpper;
  if (name == "lower") return type & kCtLower;
  if (name == "digit") return type & kCtDigit;
  if (name == "xdigit") return type & kCtXDigit;
  if (name == "alnum") return type & (kCtDigit | kCtUpper | kCtLower);
  if (name == "space") return type & kCtSpace;
  if (name == "punct") return type & kCtPunct;
  if (name == "print") return type & ~kCtCntrl;
  if (name == "graph") return (type & ~kCtCntrl) && !(type & kCtSpace);
  if (name == "cntrl") return type & kCtCntrl;
  if (name == "blank") return type & kCtBlank;
  known = false;
  return false;
}

class TParser {
 public:
  TParser(std::string_view pattern, const TRegExpTables& tables) : pattern_(pattern), tables_(tables) {
    current_ = PeekToken(0);
  }

  TRegexTree Parse() {
    TRegexTree tree;
    TNodePtr root = ParseRegExp(0);
    tree.Root = root ? std::move(root) : MakeNode(TKind::nkEmpty);
    tree.GroupCount = groupCount_;
    tree.HasBackRefs = hasBackRefs_;
    tree.HasAssertions = hasAssertions_;
    return tree;
  }

 private:
  [[noreturn]] static void Fail(TRegExpError code) { throw ERegExp(code); }

  static TNodePtr MakeNode(TKind kind) {
    auto node = std::make_unique<TRegexNode>();
    node->Kind = kind;
    return node;
  }

  // A node over children; its depth is bounded so that the compiler's
  // recursion stays shallow.
  static TNodePtr MakeParent(TKind kind, std::vector<TNodePtr> children) {
    TNodePtr node = MakeNode(kind);
    int depth = 0;
    for (const TNodePtr& child : children) depth = std::max(depth, child->Depth);
    node->Depth = depth + 1;
    if (node->Depth > kMaxRegexTreeDepth) Fail(TRegExpError::reTooBig);
    node->Children = std::move(children);
    return node;
  }

  TNodePtr MakeSet(const TByteSet& set) {
    TNodePtr node = MakeNode(TKind::nkSet);
    node->Set = set;
    return node;
  }

  // The text bytes that compare equal to pattern byte c.
  TByteSet LiteralSet(std::uint8_t c) const {
    TByteSet set;
    for (int t = 0; t < 256; ++t) set[t] = tables_.Translate[t] == tables_.Translate[c];
    return set;
  }

  TByteSet SyntaxSet(std::uint8_t bit, bool negate) const {
    TByteSet set;
    for (int t = 0; t < 256; ++t) set[t] = ((tables_.WordSyntax[t] & bit) != 0) != negate;
    return set;
  }

  // --- Tokens outside brackets -----------------------------------------

  TToken PeekToken(std::size_t at) const {
    TToken token;
    if (at >= pattern_.size()) return token;
    const auto c = static_cast<std::uint8_t>(pattern_[at]);
    token.Length = 1;
    token.Type = TTokenType::ttChar;
    token.Char = c;
    switch (c) {
      case '\\': return PeekEscape(at);
      case '|': token.Type = TTokenType::ttAlt; break;
      case '*': token.Type = TTokenType::ttStar; break;
      case '+': token.Type = TTokenType::ttPlus; break;
      case '?': token.Type = TTokenType::ttQuestion; break;
      case '{': token.Type = TTokenType::ttOpenBrace; break;
      case '}': token.Type = TTokenType::ttCloseBrace; break;
      case '(': token.Type = TTokenType::ttOpenGroup; break;
      case ')': token.Type = TTokenType::ttCloseGroup; break;
      case '[': token.Type = TTokenType::ttOpenBracket; break;
      case '.': token.Type = TTokenType::ttAny; break;
      case '^': token.Type = TTokenType::ttAnchor; token.Anchor = TAssertion::asLineStart; break;
      case '$': token.Type = TTokenType::ttAnchor; token.Anchor = TAssertion::asLineEnd; break;
      default: break;
    }
    return token;
  }

  TToken PeekEscape(std::size_t at) const {
    TToken token;
    if (at + 1 >= pattern_.size()) {
      token.Type = TTokenType::ttTrailingBackslash;
      token.Length = 1;
      return token;
    }
    const auto c = static_cast<std::uint8_t>(pattern_[at + 1]);
    token.Length = 2;
    token.Type = TTokenType::ttChar;
    token.Char = c;
    auto anchor = [&token](TAssertion assertion) {
      token.Type = TTokenType::ttAnchor;
      token.Anchor = assertion;
    };
    switch (c) {
      case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        token.Type = TTokenType::ttBackRef;
        token.Index = c - '0';
        break;
      case '<': anchor(TAssertion::asWordStart); break;
      case '>': anchor(TAssertion::asWordEnd); break;
      case 'b': anchor(TAssertion::asWordBoundary); break;
      case 'B': anchor(TAssertion::asNotWordBoundary); break;
      case '`': anchor(TAssertion::asBufferStart); break;
      case '\'': anchor(TAssertion::asBufferEnd); break;
      case 'w': token.Type = TTokenType::ttWord; break;
      case 'W': token.Type = TTokenType::ttNotWord; break;
      case 's': token.Type = TTokenType::ttSpace; break;
      case 'S': token.Type = TTokenType::ttNotSpace; break;
      default: break;  // any other escaped byte stands for itself
    }
    return token;
  }

  void Next() {
    position_ += current_.Length;
    current_ = PeekToken(position_);
  }

  bool EndsBranch(int nest) const {
    return current_.Type == TTokenType::ttAlt || current_.Type == TTokenType::ttEnd ||
           (nest > 0 && current_.Type == TTokenType::ttCloseGroup);
  }

  // --- Grammar ---------------------------------------------------------

  // regexp: branch ("|" branch)*; returns null for the empty expression.
  // A back-reference may only name a group closed before it in its own
  // branch (or before the alternation): a group of another branch never
  // matches together with it.
  TNodePtr ParseRegExp(int nest) {
    const unsigned closedBefore = completedGroups_;
    std::vector<TNodePtr> branches;
    branches.push_back(ParseBranch(nest));
    while (current_.Type == TTokenType::ttAlt) {
      Next();
      const unsigned closedSoFar = completedGroups_;
      completedGroups_ = closedBefore;
      branches.push_back(EndsBranch(nest) ? nullptr : ParseBranch(nest));
      completedGroups_ |= closedSoFar;
    }
    if (branches.size() == 1) return std::move(branches.front());
    for (TNodePtr& branch : branches)
      if (!branch) branch = MakeNode(TKind::nkEmpty);
    return MakeParent(TKind::nkAlternate, std::move(branches));
  }

  TNodePtr ParseBranch(int nest) {
    std::vector<TNodePtr> items;
    while (!EndsBranch(nest)) {
      TNodePtr item = ParseExpression(nest);
      if (item) items.push_back(std::move(item));
    }
    if (items.empty()) return nullptr;
    if (items.size() == 1) return std::move(items.front());
    return MakeParent(TKind::nkConcat, std::move(items));
  }

  // One atom with its repetition operators; null when it is empty.
  TNodePtr ParseExpression(int nest) {
    // A repetition operator with nothing to repeat is skipped.
    while (IsDupToken(current_.Type)) Next();
    TNodePtr node;
    bool consumed = false;  // brackets read up to their "]" themselves
    switch (current_.Type) {
      case TTokenType::ttChar:
        node = MakeSet(LiteralSet(current_.Char));
        break;
      case TTokenType::ttAny: {
        TByteSet set;
        set.set();
        set.reset(0);
        node = MakeSet(set);
        break;
      }
      case TTokenType::ttOpenBracket:
        node = ParseBracket();
        consumed = true;
        break;
      case TTokenType::ttOpenGroup:
        node = ParseGroup(nest + 1);
        break;
      case TTokenType::ttBackRef:
        if (!(completedGroups_ & (1u << current_.Index))) Fail(TRegExpError::reSubReg);
        node = MakeNode(TKind::nkBackRef);
        node->Index = current_.Index;
        hasBackRefs_ = true;
        break;
      case TTokenType::ttAnchor:
        // An anchor takes no repetition: a following operator starts the
        // next expression and is skipped there.
        node = MakeNode(TKind::nkAssert);
        node->Assertion = current_.Anchor;
        hasAssertions_ = true;
        Next();
        return node;
      case TTokenType::ttWord: node = MakeSet(SyntaxSet(kSyntaxWord, false)); break;
      case TTokenType::ttNotWord: node = MakeSet(SyntaxSet(kSyntaxWord, true)); break;
      case TTokenType::ttSpace: node = MakeSet(SyntaxSet(kSyntaxSpace, false)); break;
      case TTokenType::ttNotSpace: node = MakeSet(SyntaxSet(kSyntaxSpace, true)); break;
      case TTokenType::ttCloseGroup: node = MakeSet(LiteralSet(')')); break;
      case TTokenType::ttCloseBrace: node = MakeSet(LiteralSet('}')); break;
      case TTokenType::ttTrailingBackslash: Fail(TRegExpError::reEscape);
      case TTokenType::ttAlt:
      case TTokenType::ttEnd:
        return nullptr;
      default:
        Fail(TRegExpError::reInternal);
    }
    if (!consumed) Next();
    while (IsDupToken(current_.Type)) node = ParseDup(std::move(node));
    return node;
  }

  // "(" regexp ")"; the current token is "(".
  TNodePtr ParseGroup(int nest) {
    if (nest > kMaxRegexTreeDepth) Fail(TRegExpError::reTooBig);
    const int index = ++groupCount_;
    Next();
    TNodePtr child;
    if (current_.Type != TTokenType::ttCloseGroup) {
      child = ParseRegExp(nest);
      if (current_.Type != TTokenType::ttCloseGroup) Fail(TRegExpError::reParen);
    }
    if (index <= 9) completedGroups_ |= 1u << index;
    std::vector<TNodePtr> children;
    children.push_back(child ? std::move(child) : MakeNode(TKind::nkEmpty));
    TNodePtr group = MakeParent(TKind::nkGroup, std::move(children));
    group->Index = index;
    return group;  // the caller consumes ")"
  }

  // The digits of an interval up to "," or "}": -1 when there are none, -2
  // when something else comes first or the pattern ends. `current_` is left
  // on the token that ended the number.
  int FetchNumber() {
    int number = -1;
    for (;;) {
      Next();
      if (current_.Type == TTokenType::ttEnd) return -2;
      if (current_.Type == TTokenType::ttCloseBrace || IsComma()) break;
      const bool digit = current_.Type == TTokenType::ttChar && current_.Char >= '0' && current_.Char <= '9';
      if (!digit || number == -2)
        number = -2;
      else if (number == -1)
        number = current_.Char - '0';
      else
        number = std::min(kMaxRegexRepeat + 1, number * 10 + current_.Char - '0');
    }
    return number;
  }

  bool IsComma() const { return current_.Type == TTokenType::ttChar && current_.Char == ','; }

  // One repetition operator applied to elem (which may be null).
  TNodePtr ParseDup(TNodePtr elem) {
    int min = 0;
    int max = -1;
    if (current_.Type == TTokenType::ttOpenBrace) {
      min = FetchNumber();
      if (min == -1) {
        if (!IsComma()) Fail(TRegExpError::reBadBrace);  // "{}"
        min = 0;                                          // "{,n}" is "{0,n}"
      }
      if (min != -2) {
        if (current_.Type == TTokenType::ttCloseBrace)
          max = min;
        else if (IsComma())
          max = FetchNumber();
        else
          max = -2;
      }
      if (min == -2 || max == -2)
        Fail(current_.Type == TTokenType::ttEnd ? TRegExpError::reBrace : TRegExpError::reBadBrace);
      if ((max != -1 && min > max) || current_.Type != TTokenType::ttCloseBrace) Fail(TRegExpError::reBadBrace);
      if ((max == -1 ? min : max) > kMaxRegexRepeat) Fail(TRegExpError::reTooBig);
    } else {
      min = current_.Type == TTokenType::ttPlus ? 1 : 0;
      max = current_.Type == TTokenType::ttQuestion ? 1 : -1;
    }
    Next();
    if (!elem || (min == 0 && max == 0)) return nullptr;
    std::vector<TNodePtr> children;
    children.push_back(std::move(elem));
    TNodePtr repeat = MakeParent(TKind::nkRepeat, std::move(children));
    repeat->Min = min;
    repeat->Max = max;
    return repeat;
  }

  // --- Bracket expressions ---------------------------------------------

  TBracketToken PeekBracketToken(std::size_t at) const {
    TBracketToken token;
    if (at >= pattern_.size()) return token;
    const auto c = static_cast<std::uint8_t>(pattern_[at]);
    token.Char = c;
    token.Length = 1;
    token.Type = TBracketTokenType::btChar;
    if (c == '[') {
      const std::uint8_t c2 = at + 1 < pattern_.size() ? static_cast<std::uint8_t>(pattern_[at + 1]) : 0;
      TBracketTokenType type = TBracketTokenType::btChar;
      if (c2 == '.') type = TBracketTokenType::btOpenCollating;
      if (c2 == '=') type = TBracketTokenType::btOpenEquivalence;
      if (c2 == ':') type = TBracketTokenType::btOpenClass;
      if (type != TBracketTokenType::btChar) {
        token.Type = type;
        token.Char = c2;
        token.Length = 2;
      }
      return token;
    }
    if (c == '-') token.Type = TBracketTokenType::btRange;
    if (c == ']') token.Type = TBracketTokenType::btClose;
    if (c == '^') token.Type = TBracketTokenType::btNegate;
    return token;
  }

  // The name of "[:name:]" and its kin; `at` is just past the opener.
  void ParseBracketSymbol(TBracketElement& element, const TBracketToken& token, std::size_t& at) const {
    const std::uint8_t delimiter = token.Char;
    if (at >= pattern_.size()) Fail(TRegExpError::reBracket);
    for (std::size_t i = 0;; ++i) {
      if (i >= kMaxBracketNameLength) Fail(TRegExpError::reBracket);
      const auto c = static_cast<std::uint8_t>(pattern_[at++]);
      if (at >= pattern_.size()) Fail(TRegExpError::reBracket);
      if (c == delimiter && pattern_[at] == ']') break;
      element.Name.push_back(static_cast<char>(c));
    }
    ++at;
    if (token.Type == TBracketTokenType::btOpenCollating) element.Type = TBracketElement::TType::beCollating;
    if (token.Type == TBracketTokenType::btOpenEquivalence) element.Type = TBracketElement::TType::beEquivalence;
    if (token.Type == TBracketTokenType::btOpenClass) element.Type = TBracketElement::TType::beClass;
  }

  void ParseBracketElement(TBracketElement& element, const TBracketToken& token, std::size_t& at,
                           bool acceptHyphen) const {
    at += token.Length;
    element = TBracketElement();
    if (token.Type == TBracketTokenType::btOpenCollating || token.Type == TBracketTokenType::btOpenEquivalence ||
        token.Type == TBracketTokenType::btOpenClass) {
      ParseBracketSymbol(element, token, at);
      return;
    }
    // A "-" that does not start a range is allowed only first or last.
    if (token.Type == TBracketTokenType::btRange && !acceptHyphen &&
        PeekBracketToken(at).Type != TBracketTokenType::btClose)
      Fail(TRegExpError::reRange);
    element.Char = token.Char;
  }

  // The single byte a collating symbol or equivalence class names.
  static std::uint8_t SingleCharName(const TBracketElement& element) {
    if (element.Name.size() != 1) Fail(TRegExpError::reCollate);
    return static_cast<std::uint8_t>(element.Name[0]);
  }

  void AddElement(const TBracketElement& element, TByteSet& members) const {
    switch (element.Type) {
      case TBracketElement::TType::beChar:
        members.set(tables_.Translate[element.Char]);
        break;
      case TBracketElement::TType::beCollating:
      case TBracketElement::TType::beEquivalence:
        members.set(tables_.Translate[SingleCharName(element)]);
        break;
      case TBracketElement::TType::beClass:
        for (int b = 0; b < 256; ++b) {
          bool known = true;
          if (InCharClass(element.Name, tables_.CharType[b], known)) members.set(tables_.Translate[b]);
          if (!known) Fail(TRegExpError::reCharClass);
        }
        break;
    }
  }

  void AddRange(const TBracketElement& first, const TBracketElement& last, TByteSet& members) const {
    using TType = TBracketElement::TType;
    if (first.Type == TType::beClass || first.Type == TType::beEquivalence || last.Type == TType::beClass ||
        last.Type == TType::beEquivalence)
      Fail(TRegExpError::reRange);
    const std::uint8_t from = first.Type == TType::beCollating ? SingleCharName(first) : first.Char;
    const std::uint8_t to = last.Type == TType::beCollating ? SingleCharName(last) : last.Char;
    if (from > to) Fail(TRegExpError::reRange);
    for (int c = from; c <= to; ++c) members.set(tables_.Translate[c]);
  }

  // "[" ... "]"; the current token is "[". Leaves the token after "]" current.
  TNodePtr ParseBracket() {
    std::size_t at = position_ + 1;
    TBracketToken token = PeekBracketToken(at);
    if (token.Type == TBracketTokenType::btEnd) Fail(TRegExpError::reBadPattern);
    bool negate = false;
    if (token.Type == TBracketTokenType::btNegate) {
      negate = true;
      at += token.Length;
      token = PeekBracketToken(at);
      if (token.Type == TBracketTokenType::btEnd) Fail(TRegExpError::reBadPattern);
    }
    if (token.Type == TBracketTokenType::btClose) token.Type = TBracketTokenType::btChar;  // "[]" and "[^]"
    TByteSet members;
    bool firstRound = true;
    for (;;) {
      TBracketElement first;
      ParseBracketElement(first, token, at, firstRound);
      firstRound = false;
      token = PeekBracketToken(at);
      bool isRange = false;
      TBracketToken rangeEnd;
      if (first.Type != TBracketElement::TType::beClass && first.Type != TBracketElement::TType::beEquivalence) {
        if (token.Type == TBracketTokenType::btEnd) Fail(TRegExpError::reBracket);
        if (token.Type == TBracketTokenType::btRange) {
          at += token.Length;
          rangeEnd = PeekBracketToken(at);
          if (rangeEnd.Type == TBracketTokenType::btEnd) Fail(TRegExpError::reBracket);
          if (rangeEnd.Type == TBracketTokenType::btClose) {
            at -= token.Length;  // a "-" before "]" is an ordinary character
            token.Type = TBracketTokenType::btChar;
          } else {
            isRange = true;
          }
        }
      }
      if (isRange) {
        TBracketElement last;
        ParseBracketElement(last, rangeEnd, at, true);
        token = PeekBracketToken(at);
        AddRange(first, last, members);
      } else {
        AddElement(first, members);
      }
      if (token.Type == TBracketTokenType::btEnd) Fail(TRegExpError::reBracket);
      if (token.Type == TBracketTokenType::btClose) break;
    }
    at += token.Length;
    position_ = at;
    current_ = PeekToken(position_);
    TByteSet set;
    for (int t = 0; t < 256; ++t) set[t] = members[tables_.Translate[t]] != negate;
    return MakeSet(set);
  }

  std::string_view pattern_;
  const TRegExpTables& tables_;
  std::size_t position_ = 0;
  TToken current_;
  int groupCount_ = 0;
  unsigned completedGroups_ = 0;  // bit i: group i (1 to 9) is closed
  bool hasBackRefs_ = false;
  bool hasAssertions_ = false;
};

}  // namespace

TRegexTree ParseRegex(std::string_view pattern, const TRegExpTables& tables) {
  return TParser(pattern, tables).Parse();
}

}  // namespace korvane
