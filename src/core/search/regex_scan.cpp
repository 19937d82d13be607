// The regular-expression side of the scan: the engine's tables, the
// compilation of a term, and the windowed scan that feeds the corpus text to
// the engine.
//
// The engine matches over a contiguous byte string, the corpus is read
// through a buffered reader, so the scan copies the text into a window of
// kChunkSize characters. While copying it makes the text look as a reader of
// running text sees it: every run of carriage returns and line feeds becomes
// one space, and the skipping characters of the search are left out. For
// every window character it records how many text characters were dropped
// before it (its shift), so that a match found in the window maps back to
// real text positions. When the window holds no match and the text goes on,
// it slides by half a window and the search continues.
#include "search/regex_scan.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "app/errors.h"
#include "search/regex/reg_exp.h"
#include "search/scan_control.h"
#include "search/search_context.h"

namespace korvane {

void TRegExpDeleter::operator()(TRegExp* regExp) const { delete regExp; }

std::shared_ptr<const TRegExpTables> MakeRegExpTables(const std::array<std::uint8_t, 256>& translate,
                                                      const std::array<std::uint8_t, 256>& wordSyntax,
                                                      const std::array<std::uint8_t, 256>& charTypes) {
  auto tables = std::make_shared<TRegExpTables>();
  tables->Translate = translate;
  tables->WordSyntax = wordSyntax;
  tables->CharType = charTypes;
  return tables;
}

TRegExpPtr CompileTermRegExp(const std::string& text, const TPatternRules& rules) {
  if (rules.RegExpTables) return TRegExpPtr(new TRegExp(text, *rules.RegExpTables));
  return TRegExpPtr(new TRegExp(text, AsciiRegExpTables()));
}

namespace {

constexpr std::int32_t kChunkSize = 8192;
constexpr std::int32_t kSlide = kChunkSize / 2;
// The window holds this many characters, so that one filling serves the
// searches of many hits; a search sees kChunkSize characters of it at a time.
constexpr std::int32_t kCapacity = 8 * kChunkSize;

// Kinds of window characters.
constexpr std::uint8_t kSingle = 0;
constexpr std::uint8_t kLead = 1;
constexpr std::uint8_t kTrail = 2;

inline bool IsLineBreak(unsigned char c) { return c == '\r' || c == '\n'; }

// What the filling of the window does with a byte, beyond storing it.
constexpr std::uint8_t kIsDelimiter = 1;  // ends a word (the cancel check)
constexpr std::uint8_t kIsLineBreak = 2;  // part of a line-break run
constexpr std::uint8_t kIsSkipped = 4;    // a skipping character, dropped
constexpr std::uint8_t kIsLead = 8;       // leads a double-byte character

// The part of the window one search runs over: Length characters from
// window offset From, as a window filled anew at From would hold them.
struct TView {
  std::int32_t From = 0;
  std::int32_t Length = 0;
  bool Full = false;  // holds kChunkSize characters (less a lead byte given back)
};

}  // namespace

// The scan's window on the text: chunk_ holds Filled characters, chunkShift_
// and chunkKind_ their shifts and kinds; offset i stands for text position
// Start + i + chunkShift_[i]. The window is filled once from the text and
// searched in views of kChunkSize characters; since a view starting at any
// character holds what a window filled anew there would hold, consecutive
// searches share one filling. It remembers the reader, range and position of
// the last hit, so the next search can tell whether it still applies.
class TRegexWindow {
 public:
  explicit TRegexWindow(const TPatternRules& rules)
      : chunk_(new char[kCapacity + 1]),
        chunkShift_(new std::int32_t[kCapacity]),
        chunkKind_(new std::uint8_t[kCapacity]) {
    const LowerCaseTable& fold = rules.FoldTable();
    for (int c = 1; c < 256; ++c) {
      const auto b = static_cast<unsigned char>(c);
      std::uint8_t kind = 0;
      if (InSet(rules.DelimiterSet, b)) kind |= kIsDelimiter;
      if (IsLineBreak(b)) kind |= kIsLineBreak;
      else if (InSet(rules.SkipSet, fold[b])) kind |= kIsSkipped;
      if (rules.DoubleByte && rules.LeadByte[b]) kind |= kIsLead;
      class_[c] = kind;
    }
    class_[0] = InSet(rules.DelimiterSet, 0) ? kIsDelimiter : 0;
  }

  // Empties the window for a filling from text position start of the
  // reader's range.
  void Reset(TBufStream& reader, std::int32_t start) {
    reader_ = &reader;
    rangeStart_ = reader.RangeStart();
    rangeEnd_ = reader.RangeEnd();
    Start = start;
    Filled = 0;
    fillAt_ = start;
    ended_ = false;
    dropped_ = 0;
    inLineBreak_ = false;
    inWord_ = false;
  }

  // The window offset at which a search from text position from goes on,
  // or -1 when the window does not apply: another reader or range, a
  // reader moved since the last hit, or a start whose context character a
  // new window would read differently.
  std::int32_t ResumeOffset(const TBufStream& reader, std::int32_t from) const {
    if (!resumable_ || &reader != reader_ || reader.RangeStart() != rangeStart_ ||
        reader.RangeEnd() != rangeEnd_ || from != resumeAt_ || from <= rangeStart_)
      return -1;
    // Positions grow with the offset: find the character that stands for
    // from - 1, the new window's context character.
    std::int32_t lo = 0, hi = Filled;
    while (lo < hi) {
      const std::int32_t mid = lo + (hi - lo) / 2;
      if (PositionOf(mid) < from - 1) lo = mid + 1;
      else hi = mid;
    }
    if (lo == Filled || PositionOf(lo) != from - 1) return -1;  // dropped: read anew
    // A trail byte that could lead would pair with the next byte when read
    // first.
    if (chunkKind_[lo] == kTrail && (class_[static_cast<unsigned char>(chunk_[lo])] & kIsLead)) return -1;
    return lo;
  }

  void Remember(std::int32_t hitEnd) {
    resumable_ = true;
    resumeAt_ = hitEnd;
  }
  void Forget() { resumable_ = false; }

  // Makes sure the view from offset from is filled (moving the window's
  // front when room runs out; from becomes the view's new offset). A new
  // window is filled just far enough for its first view, since its search
  // may be the only one; later views fill the window to the brim, so that
  // many searches share one filling. Returns false when the search was
  // cancelled.
  bool EnsureView(TScanControl& control, std::int32_t& from, bool firstView) {
    if (!ended_ && Filled - from < kChunkSize) {
      if (from + 2 * kChunkSize > kCapacity) {
        Drop(from);
        from = 0;
      }
      if (!Fill(control, firstView ? from + kChunkSize : kCapacity)) return false;
    }
    return !control.Cancelled();
  }

  // The view from offset from, as a window filled anew there would end: at
  // kChunkSize characters, or one less when its last would be a lead byte,
  // which a new window gives back to keep the pair together.
  TView ViewAt(std::int32_t from) const {
    TView view{from, std::min(kChunkSize, Filled - from), false};
    if (view.Length == kChunkSize) {
      view.Full = true;
      const std::int32_t last = from + kChunkSize - 1;
      const std::uint8_t kind = class_[static_cast<unsigned char>(chunk_[last])];
      if (chunkKind_[last] != kTrail && (kind & (kIsLead | kIsLineBreak | kIsSkipped)) == kIsLead)
        --view.Length;
    }
    return view;
  }

  // The text position of window offset i (i < Filled).
  std::int32_t PositionOf(std::int32_t i) const { return Start + i + chunkShift_[i]; }
  std::string_view Text(const TView& view) const {
    return {chunk_.get() + view.From, static_cast<std::size_t>(view.Length)};
  }
  bool IsTrail(std::int32_t i) const { return chunkKind_[i] == kTrail; }

  std::int32_t Start = 0;  // text position of window offset 0, shifts aside
  std::int32_t Filled = 0;

 private:
  // Appends characters from the text until the window holds target
  // characters (a pair may go one over) or the range ends. Returns false
  // when cancelled.
  bool Fill(TScanControl& control, std::int32_t target);
  // Drops the first n characters.
  void Drop(std::int32_t n);

  std::unique_ptr<char[]> chunk_;
  std::unique_ptr<std::int32_t[]> chunkShift_;
  std::unique_ptr<std::uint8_t[]> chunkKind_;
  std::array<std::uint8_t, 256> class_{};  // kIs... bits per byte
  TBufStream* reader_ = nullptr;
  std::int32_t rangeStart_ = 0;
  std::int32_t rangeEnd_ = 0;
  std::int32_t fillAt_ = 0;      // text position the filling goes on from
  bool ended_ = false;           // the filling met the end of the range or the data
  std::int32_t dropped_ = 0;     // characters dropped since the filling began
  bool inLineBreak_ = false;     // the last character kept was a line-break run
  bool inWord_ = false;          // the last character read was not a delimiter
  bool resumable_ = false;       // the last search found a hit ending at resumeAt_
  std::int32_t resumeAt_ = 0;
};

void TRegexWindowDeleter::operator()(TRegexWindow* window) const { delete window; }

bool TRegexWindow::Fill(TScanControl& control, std::int32_t target) {
  TBufStream& reader = *reader_;
  if (reader.Position() != fillAt_) reader.SetPosition(fillAt_);
  const std::uint8_t* classOf = class_.data();
  char* chunk = chunk_.get();
  std::int32_t* shift = chunkShift_.get();
  std::uint8_t* kinds = chunkKind_.get();
  std::int32_t filled = Filled;
  std::int32_t dropped = dropped_;
  bool inLineBreak = inLineBreak_;
  bool inWord = inWord_;
  std::int32_t at = fillAt_;
  const std::int32_t rangeEnd = rangeEnd_;
  bool cancelled = false;
  bool ended = true;
  const auto store = [&](unsigned char c, std::uint8_t kind) {
    chunk[filled] = static_cast<char>(c);
    shift[filled] = dropped;
    kinds[filled] = kind;
    ++filled;
  };
  while (at < rangeEnd) {
    if (filled >= target) {
      ended = false;
      break;
    }
    const unsigned char c = reader.ReadChar();
    if (c == 0 && reader.Position() == at) break;  // the data ended before the range
    ++at;
    const std::uint8_t kind = classOf[c];
    if (kind == 0) [[likely]] {
      store(c, kSingle);
      inWord = true;
      inLineBreak = false;
      continue;
    }
    if (kind & kIsDelimiter) {
      if (inWord && control.PollCancel()) {
        cancelled = true;
        break;
      }
      inWord = false;
    } else {
      inWord = true;
    }
    if (kind & kIsLineBreak) {
      if (inLineBreak) {
        ++dropped;
      } else {
        store(' ', kSingle);
        inLineBreak = true;
      }
      continue;
    }
    if (kind & kIsSkipped) {
      ++dropped;
      continue;
    }
    inLineBreak = false;
    if (kind & kIsLead) {
      if (filled + 1 == kCapacity) {
        --at;  // keep the pair together in the next filling
        ended = false;
        break;
      }
      const unsigned char trail = at < rangeEnd ? reader.ReadChar() : 0;
      if (trail != 0) {
        ++at;
        store(c, kLead);
        store(trail, kTrail);
        continue;
      }
      // A lead byte without a trail byte stands alone (a zero byte that was
      // read is read again as a character of its own).
      reader.SetPosition(at);
    }
    store(c, kSingle);
  }
  Filled = filled;
  dropped_ = dropped;
  inLineBreak_ = inLineBreak;
  inWord_ = inWord;
  fillAt_ = at;
  ended_ = ended && !cancelled;
  chunk_[Filled] = '\0';
  return !cancelled && !control.Cancelled();
}

void TRegexWindow::Drop(std::int32_t n) {
  const std::int32_t count = Filled - n;
  std::memmove(chunk_.get(), chunk_.get() + n, static_cast<std::size_t>(count));
  std::memmove(chunkShift_.get(), chunkShift_.get() + n, static_cast<std::size_t>(count) * sizeof(std::int32_t));
  std::memmove(chunkKind_.get(), chunkKind_.get() + n, static_cast<std::size_t>(count));
  Filled = count;
  Start += n;
}

namespace {

// Searches the view from offset; a match that begins on a trail byte is
// not a match there and the search goes on from the byte after it.
TRegExpMatch SearchView(TRegExp& regExp, const TRegexWindow& window, const TView& view, std::int32_t offset) {
  for (;;) {
    TRegExpMatch m = regExp.Search(window.Text(view), offset);
    if (!m.Found || !window.IsTrail(view.From + m.Start)) return m;
    offset = m.Start + 1;
  }
}

// A hit never ends with line breaks: where the match took a line-break run
// (seen as one space) as its last character, or ends inside such a run, the
// end moves back before the run.
std::int32_t EndBeforeLineBreak(TBufStream& reader, std::int32_t start, std::int32_t end) {
  while (end - 1 > start) {
    reader.SetPosition(end - 1);
    if (!IsLineBreak(reader.ReadChar())) break;
    --end;
  }
  return end;
}

bool ScanWindows(TSearchContext& context, TScanControl& control, TRegExp& regExp, TRegexWindow& window) {
  TBufStream& reader = *context.Reader;
  const std::int32_t rangeStart = reader.RangeStart();
  const std::int32_t rangeEnd = reader.RangeEnd();
  const std::int32_t position = reader.Position();
  std::int32_t hitFrom = position;
  if (hitFrom < rangeStart) hitFrom = rangeStart;
  if (hitFrom >= rangeEnd) return false;
  context.HitStart = hitFrom;

  // The search runs over views of kChunkSize characters; each is what a
  // window filled anew at its first character would hold, so where the
  // window of the last hit still applies it is searched on, and the hits are
  // the same. One character before the start, when there is one, is read as
  // context for anchors and word boundaries; it is not searched as a match
  // start.
  std::int32_t from = context.Rules.KeepRegexWindow ? window.ResumeOffset(reader, position) : -1;
  std::int32_t offset = 1;
  std::int32_t viewStart = hitFrom - 1;  // the text position a new window would start at (progress)
  window.Forget();
  if (from < 0) {
    viewStart = hitFrom > rangeStart ? hitFrom - 1 : hitFrom;
    window.Reset(reader, viewStart);
    from = 0;
    if (!window.EnsureView(control, from, true) || window.Filled == 0) return false;
    // The context character may have been dropped or folded into a line
    // break run together with the first character; only a character of its
    // own is skipped.
    offset = window.PositionOf(0) < hitFrom ? 1 : 0;
  } else if (!window.EnsureView(control, from, false)) {
    return false;
  }
  for (;;) {
    control.ReportProgress(viewStart, true);
    const TView view = window.ViewAt(from);
    const TRegExpMatch m = SearchView(regExp, window, view, offset);
    // A match that reaches the end of a full view may change once the text
    // after it is seen ($, \b, a longer repeat); when it starts in the half
    // that the slide keeps, it is looked for again in the next view.
    const bool deferred = m.Found && view.Full && m.End == view.Length && m.Start >= kSlide;
    if (m.Found && !deferred) {
      std::int32_t start = window.PositionOf(from + m.Start);
      std::int32_t end = m.End < view.Length ? window.PositionOf(from + m.End)
                                             : window.PositionOf(from + view.Length - 1) + 1;
      if (start > rangeEnd - 1) start = rangeEnd - 1;
      if (end > rangeEnd) end = rangeEnd;
      if (end <= start) return false;
      end = EndBeforeLineBreak(reader, start, end);
      context.HitStart = start;
      context.HitEnd = end;
      context.LastDelimiterConsumed = false;
      reader.SetPosition(end);
      control.ReportProgress(end, false);
      window.Remember(end);
      return true;
    }
    if (!view.Full) return false;
    // Slide: the next view begins half a window on, keeping one character
    // as context.
    from += kSlide - 1;
    viewStart += kSlide - 1;
    offset = 1;
    if (!window.EnsureView(control, from, false)) return false;
  }
}

}  // namespace

bool FindNextRegexMatch(TSearchContext& context, TScanControl& control) {
  control.SetSpeedDisplay(false);
  if (context.Terms.empty() || !context.Terms.front().RegExp) return false;
  try {
    if (!context.RegexWindow) context.RegexWindow.reset(new TRegexWindow(context.Rules));
    return ScanWindows(context, control, *context.Terms.front().RegExp, *context.RegexWindow);
  } catch (const ERegExp& e) {
    // The engine gave up (a pattern too costly to match): the search ends
    // with the engine's message like any other error.
    throw Exception(e.what());
  }
}

}  // namespace korvane
