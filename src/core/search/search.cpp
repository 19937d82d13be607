// TSearch: preparing a request, and the walk over texts, heading regions,
// context regions and patterns with its progress window.
#include "search/search.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/errors.h"
#include "app/host.h"
#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "search/hit_recorder.h"
#include "search/regex/regex_error.h"

namespace korvane {
namespace {

// Progress bars are redrawn on every 1024th report, the speed line looked at
// on every 1024th report and shown at most every 500 ms; pending messages
// run on every 512th cancel check.
constexpr std::uint32_t kProgressInterval = 1024;
constexpr std::uint32_t kSpeedInterval = 1024;
constexpr std::uint32_t kSpeedDisplayMs = 500;
constexpr std::uint32_t kMessageInterval = 512;
// The progress window's Tag when the user asked to cancel.
constexpr int kCancelTag = 1;

int Percent(std::int64_t part, std::int64_t whole) {
  if (whole <= 0) return 0;
  return static_cast<int>(std::clamp<std::int64_t>(part * 100 / whole, 0, 100));
}

const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

std::string ScanningText(const std::string& name) {
  const std::string shown = IsURL(name) ? name : std::filesystem::path(name).filename().string();
  return "Scanning " + shown + "...";
}

std::string SearchingForText(const std::string& patternName) {
  return "Searching for [" + patternName + "]...";
}

std::string SpeedText(std::int64_t wordsPerSecond) {
  return std::to_string(wordsPerSecond) + " words/sec";
}

// Restores the cursor and drops the progress window however the run ends.
class RunGuard {
 public:
  RunGuard(Host& host, std::unique_ptr<TDoubleProgressForm>& form) : host_(host), form_(form) {
    host_.SetBusyCursor(true);
  }
  ~RunGuard() {
    form_.reset();
    host_.SetBusyCursor(false);
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  Host& host_;
  std::unique_ptr<TDoubleProgressForm>& form_;
};

}  // namespace

THeadingMarker NormaliseHeadingMarker(const std::string& marker) {
  THeadingMarker m;
  m.Text = marker;
  for (char& c : m.Text)
    if (c == '#') c = ' ';
  if (!m.Text.empty() && m.Text.back() == ' ') {
    m.Text.pop_back();
    m.BlankAfter = true;
  }
  m.Length = static_cast<std::int32_t>(m.Text.size());
  return m;
}

TSearch::TSearch(ProgramState& state) : state_(state) {}
TSearch::~TSearch() = default;

// --- Preparation -----------------------------------------------------------------

std::unique_ptr<TSearchContext> TSearch::Compile(const std::string& pattern,
                                                 const std::string& name) {
  return std::make_unique<TSearchContext>(pattern, *rules_, name);
}

TSearchErrorStage TSearch::Prepare(const TSearchRec& request, std::string& errorMessage) {
  const ConcordConfig& config = state_.ConcordConfig;
  request_ = request.PreparedCopy();
  // The stored setting is never below 1, but a division must not depend on it.
  request_.FrequencyOfHits = std::max<std::int32_t>(config.FrequencyOfHits, 1);
  const bool skipEqual = request_.Has(sfSkipEqual);
  if (skipEqual) request_.EqualChars = config.EqualChars;
  sentenceMode_ = request_.Has(sfSentenceMode);

  rules_ = std::make_unique<TPatternRules>(MakePatternRules(
      config, state_.Language.CodePageData().Lower, request_.Mode, request_.Has(sfCaseSensitive),
      skipEqual, request_.SkippingChars));
  if (request_.Mode == smRegex) {
    // The expression folds case and equal characters as this request asks,
    // whatever the stored settings the language's own table follows.
    ConcordConfig rule = config;
    rule.IgnoreCase = !request_.Has(sfCaseSensitive);
    rule.UseSkipEqualChars = skipEqual;
    const CodePageTables& codePage = state_.Language.CodePageData();
    rules_->RegExpTables = MakeRegExpTables(
        BuildTranslateTable(state_.Language.CharTypes(), codePage.Lower, codePage.Upper, rule),
        state_.Language.WordSyntax(), state_.Language.CharTypes());
  }
  rules_->DoubleByte = state_.Language.DoubleByte();
  rules_->LeadByte = state_.Language.CodePageData().LeadByte;

  heading_.reset();
  left_.reset();
  right_.reset();
  patterns_.clear();
  errorMessage.clear();
  TSearchErrorStage stage = esNone;
  try {
    headingSearch_ = request_.Has(sfHeadingSearch);
    if (headingSearch_) {
      headStart_ = NormaliseHeadingMarker(request_.HeadStart);
      headStop_ = NormaliseHeadingMarker(request_.HeadStop);
      textStart_ = NormaliseHeadingMarker(request_.TextStart);
      textStop_ = NormaliseHeadingMarker(request_.TextStop);
      stage = esHeadingPattern;
      heading_ = Compile(request_.HeadingPattern, request_.HeadingPattern);
    }
    contextSearch_ = request_.Has(sfContextSearch);
    if (contextSearch_) {
      stage = esLeftContext;
      left_ = Compile(request_.LeftContext, request_.LeftContext);
      if (!request_.RightContext.empty()) {
        stage = esRightContext;
        right_ = Compile(request_.RightContext, request_.RightContext);
      }
    }
    stage = esSearchPattern;
    for (std::size_t i = 0; i < request.Patterns.size(); ++i) {
      const std::string& name = i < request.PatternNames.size() ? request.PatternNames[i] : request.Patterns[i];
      patterns_.push_back(Compile(request.Patterns[i], name));
    }
  } catch (const ERegExp& e) {
    errorMessage = e.what();
    return stage;
  }
  return esNone;
}

// --- The run -------------------------------------------------------------------------

void TSearch::FillDetails() {
  TDoubleProgressForm& f = *form_;
  f.DetailsButtonVisible = true;
  f.DetailSearch = SearchModeName(request_.Mode);
  f.DetailIgnoreCase = OnOff(!request_.Has(sfCaseSensitive));
  f.DetailSentMode = OnOff(sentenceMode_);
  f.DetailFreqOfHits = std::to_string(request_.FrequencyOfHits);
  f.PaddingPanelVisible = request_.Has(sfSkipEqual);
  f.DetailSkippingChars = request_.SkippingChars;
  f.DetailEqualChars = request_.EqualChars;
  f.HeadingsPanelVisible = headingSearch_;
  f.DetailHeadingStart = request_.HeadStart;
  f.DetailHeadingStop = request_.HeadStop;
  f.DetailHeadingMatch = request_.HeadingPattern;
  f.DetailTextStart = request_.TextStart;
  f.DetailTextStop = request_.TextStop;
  f.ContextsPanelVisible = contextSearch_;
  f.DetailLeftContext = request_.LeftContext;
  f.DetailRightContext = request_.RightContext;
}

void TSearch::Execute(std::int32_t maximumHits, const TAddHitRoutine& addHit) {
  Host& host = state_.host;
  const ConcordConfig& config = state_.ConcordConfig;
  Corpus& corpus = state_.corpus;

  form_ = host.CreateDoubleProgress();
  RunGuard guard(host, form_);
  FillDetails();
  form_->ProgressLabel = "Progress through entire corpus:";
  form_->SpecialText.clear();
  form_->Show();

  cancelled_ = false;
  overall_ = 0;
  wordCounter_ = 0;
  matchCount_ = 0;
  recordedCount_ = 0;
  progressCalls_ = speedCalls_ = cancelChecks_ = 0;
  holdOverall_ = false;
  speedDisplay_ = false;
  barsOff_ = false;
  totalSize_ = corpus.TotalSize();

  // The meta tags as they are now, not as they were when the patterns were
  // compiled: a removed one makes its terms fail with "Unknown meta tag: ".
  for (auto* context : {heading_.get(), left_.get(), right_.get()})
    if (context) context->ResolveMetaTags(config.MetaTags);
  for (auto& context : patterns_) context->ResolveMetaTags(config.MetaTags);

  const CharSet delimiters = config.DelimiterSet();
  for (int i = 0; i < corpus.Count() && !cancelled_; ++i) {
    TCorpusText& text = corpus.Texts[i];
    if (!text.CorpusStreams) continue;
    form_->SubProgressLabel = ScanningText(text.CorpusFiles);
    TBufStream scan(text.CorpusStreams.get(), delimiters);
    TBufStream second(text.CorpusStreams.get(), delimiters);
    scan.ApplySettings(config);
    second.ApplySettings(config);
    source_ = text.CorpusStreams.get();
    textLength_ = scan.RangeEnd();
    lastTextPosition_ = 0;
    form_->SubProgressBar = 0;
    form_->Update();
    ScanText(i, scan, second, maximumHits, addHit);
    holdOverall_ = false;
    barsOff_ = false;
    ReportProgress(textLength_, true);
  }
}

void TSearch::ScanText(std::int32_t textIndex, TBufStream& scan, TBufStream& second,
                       std::int32_t maximumHits, const TAddHitRoutine& addHit) {
  std::int32_t headingFrom = 0;
  while (!cancelled_) {
    std::int32_t rangeStart = 0;
    std::int32_t rangeEnd = textLength_;
    std::int32_t afterRange = textLength_;
    if (headingSearch_ && !NextTextRange(scan, headingFrom, rangeStart, rangeEnd, afterRange)) break;
    RestartSpeedTimer();
    std::int32_t contextFrom = rangeStart;
    while (!cancelled_) {
      std::int32_t regionStart = rangeStart;
      std::int32_t regionEnd = rangeEnd;
      std::int32_t afterRegion = rangeEnd;
      if (contextSearch_ &&
          !NextSearchRegion(scan, contextFrom, rangeEnd, regionStart, regionEnd, afterRegion))
        break;
      holdOverall_ = false;
      speedDisplay_ = true;
      SetAction("Searching...");
      for (auto& context : patterns_) {
        if (cancelled_) break;
        SetCaption(SearchingForText(context->PatternName));
        state_.host.ProcessMessages();
        if (form_->Tag == kCancelTag) {
          cancelled_ = true;
          break;
        }
        scan.SetRange(regionStart, regionEnd);
        context->Attach(scan, source_);
        while (!cancelled_ && context->FindNext(*this))
          HandleMatch(*context, second, textIndex, maximumHits, addHit);
      }
      if (!contextSearch_) break;
      contextFrom = afterRegion;
    }
    if (!headingSearch_) break;
    headingFrom = afterRange;
  }
}

void TSearch::HandleMatch(TSearchContext& context, TBufStream& second, std::int32_t textIndex,
                          std::int32_t maximumHits, const TAddHitRoutine& addHit) {
  if (sentenceMode_ && RunsAcrossSentenceEnd(second, context.HitStart, HitWordsEnd(context),
                                             state_.Sentences, state_.Language))
    return;
  ++matchCount_;
  if (matchCount_ % request_.FrequencyOfHits == 0) {
    std::unique_ptr<TConcordItem> item = MakeConcordItem(second, context, textIndex, textLength_);
    try {
      addHit(std::move(item));
      ++recordedCount_;
    } catch (const EAbort&) {
      --matchCount_;
    }
  }
  if (maximumHits > 0 && recordedCount_ >= maximumHits) cancelled_ = true;
}

// The heading step: the next text range that belongs to a heading whose text
// matches the heading pattern, looked for from `from`. next is where the
// heading after it begins (or the end of the range's closing marker).
bool TSearch::NextTextRange(TBufStream& scan, std::int32_t from, std::int32_t& start,
                            std::int32_t& end, std::int32_t& next) {
  SetCaption("Locating header and text");
  std::int32_t pos = from;
  while (!cancelled_) {
    SetAction("Locating header start...");
    scan.SetRange(pos, textLength_);
    const std::int32_t headAt = scan.FindString(headStart_.Text, headStart_.BlankAfter, FindProgress());
    if (headAt < 0 || headAt + headStart_.Length > textLength_) return false;
    const std::int32_t headingStart = headAt + headStart_.Length;
    ReportProgress(headingStart, true);
    holdOverall_ = true;

    SetAction("Locating header end...");
    scan.SetPosition(headingStart);
    const std::int32_t stopAt = scan.FindString(headStop_.Text, headStop_.BlankAfter, FindProgress());
    if (stopAt < 0 || stopAt + headStop_.Length > textLength_) return false;

    SetAction("Searching header pattern...");
    scan.SetRange(headingStart, stopAt);
    heading_->Attach(scan, source_);
    RestartSpeedTimer();
    speedDisplay_ = true;
    barsOff_ = true;
    const bool matches = heading_->FindNext(*this);
    barsOff_ = false;
    speedDisplay_ = false;
    const std::int32_t afterStop = stopAt + headStop_.Length;
    ReportProgress(afterStop, true);
    if (cancelled_) return false;
    if (!matches) {
      pos = afterStop;
      continue;
    }

    SetAction("Locating text range/next header...");
    scan.SetRange(afterStop, textLength_);
    std::int32_t p1 = -1, p2 = -1, p3 = -1;
    scan.FindFirstOf({textStart_.Text, textStart_.BlankAfter}, {textStop_.Text, textStop_.BlankAfter},
                     {headStart_.Text, headStart_.BlankAfter}, p1, p2, p3, FindProgress());
    if (cancelled_) return false;
    if (p1 >= 0 && p2 >= 0) {
      start = p1 + textStart_.Length;
      end = std::max(start, p2);
      next = p3 >= 0 ? p3 : p2 + textStop_.Length;
      return true;
    }
    if (p3 < 0 || p3 + headStart_.Length > textLength_) return false;
    pos = p3;
  }
  return false;
}

// The context step: the next stretch after a match of the left context, up to
// the start of the next match of the right context (or the range end when
// there is no right context). next is where the next left context is looked for.
bool TSearch::NextSearchRegion(TBufStream& scan, std::int32_t from, std::int32_t rangeEnd,
                               std::int32_t& start, std::int32_t& end, std::int32_t& next) {
  SetCaption("Locating contexts");
  SetAction("Searching left context...");
  scan.SetRange(from, rangeEnd);
  left_->Attach(scan, source_);
  if (!left_->FindNext(*this)) return false;
  start = left_->HitEnd;
  if (!right_) {
    end = rangeEnd;
    next = rangeEnd;
    return true;
  }
  SetAction("Searching right context...");
  holdOverall_ = true;
  scan.SetRange(left_->HitEnd, rangeEnd);
  right_->Attach(scan, source_);
  if (!right_->FindNext(*this)) return false;
  end = std::max(start, right_->HitStart);
  next = right_->HitEnd;
  return true;
}

// --- Progress, speed and cancel -------------------------------------------------------

void TSearch::SetAction(const std::string& action) {
  form_->ActionLabel = action;
  form_->Update();
}

void TSearch::SetCaption(const std::string& caption) {
  form_->Caption = caption;
  form_->Update();
}

void TSearch::RestartSpeedTimer() {
  wordCounter_ = 0;
  speedCalls_ = 0;
  speedStart_ = lastSpeedDisplay_ = state_.host.GetTickCount();
}

TFindCallback TSearch::FindProgress() {
  return [this](TBufStream&, std::int32_t offset, bool& stop) {
    if (offset >= 0) ReportProgress(offset, false);
    stop = PollCancel();
  };
}

bool TSearch::PollCancel() {
  if (++cancelChecks_ % kMessageInterval == 0) state_.host.ProcessMessages();
  if (form_->Tag == kCancelTag) cancelled_ = true;
  return cancelled_;
}

void TSearch::ReportProgress(std::int32_t position, bool force) {
  ++progressCalls_;
  if (!barsOff_ && (force || progressCalls_ % kProgressInterval == 0)) {
    form_->SubProgressBar = Percent(position, textLength_);
    if (!holdOverall_) {
      if (position > lastTextPosition_) overall_ += position - lastTextPosition_;
      lastTextPosition_ = position;
      form_->ProgressBar = Percent(overall_, totalSize_);
    }
    form_->Update();
  }
  if (speedDisplay_ && ++speedCalls_ % kSpeedInterval == 0) {
    const std::uint32_t now = state_.host.GetTickCount();
    if (now - lastSpeedDisplay_ > kSpeedDisplayMs) {
      const double seconds = (now - speedStart_) / 1000.0;
      form_->SpecialText = SpeedText(std::llround(static_cast<double>(wordCounter_) / seconds));
      form_->Update();
      lastSpeedDisplay_ = now;
    }
  }
}

}  // namespace korvane
