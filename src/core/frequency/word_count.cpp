// The corpus word count and the batch frequency lines.
//
// The count reads each text once, character by character, through a reader
// of its own; a run of word characters is one token. Progress is shown and
// Cancel polled only at every 4,096th character once 200 ms have passed, so
// the run is dominated by the table's insertions.
#include "frequency/word_count.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "app/busy_flags.h"
#include "app/program_state.h"
#include "corpus/buf_stream.h"
#include "corpus/corpus_loader.h"

namespace korvane {
namespace {


std::string DisplayName(const std::string& name) {
  if (IsURL(name)) return name;
  const std::size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Progress of one count: the dialog, and when it was last updated.
class CountProgress {
 public:
  CountProgress(Host& host, std::int64_t corpusSize)
      : host_(host), form_(host.CreateProgress(false)), lastTime_(host.GetTickCount()) {
    divisor_ = corpusSize > 0 ? static_cast<double>(corpusSize) : 1.0;
    form_->Caption = "Counting words in corpus";
    form_->Show();
  }
  void StartText(const std::string& name) {
    form_->ProgressLabel = "Scanning " + DisplayName(name) + "...";
    form_->Update();
  }
  // Called at every 4,096th character; false when the user cancelled.
  bool Check(std::uint32_t characters, std::uint32_t tokens) {
    const std::uint32_t now = host_.GetTickCount();
    const std::uint32_t elapsed = now - lastTime_;
    if (elapsed <= kCountCheckMillis) return true;
    host_.ProcessMessages();
    if (Cancelled()) return false;
    form_->ProgressBar = static_cast<int>(std::lround(characters / divisor_ * 100.0));
    const double rate = (tokens - lastTokens_) / (elapsed / 1000.0);
    form_->SpecialText = FormatRate(rate);
    form_->Update();
    lastTime_ = now;
    lastTokens_ = tokens;
    host_.ProcessMessages();
    return true;
  }
  bool Cancelled() const { return form_->Tag != 0; }

 private:
  static std::string FormatRate(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%d words/sec", static_cast<int>(std::lround(rate)));
    return text;
  }

  Host& host_;
  std::unique_ptr<TProgressForm> form_;
  double divisor_ = 1.0;
  std::uint32_t lastTime_;
  std::uint32_t lastTokens_ = 0;
};

}  // namespace

std::unique_ptr<THashStrings> NewCorpusWordTable(const ProgramState& state) {
  constexpr int kCorpusTableBuckets = 4096;
  auto table = std::make_unique<THashStrings>(kCorpusTableBuckets, state.Language);
  table->CaseFolding = state.FreqSettings.IgnoreCase;
  return table;
}

std::unique_ptr<THashStrings> CountCorpusWords(ProgramState& state) {
  Corpus& corpus = state.corpus;
  std::unique_ptr<THashStrings> table = NewCorpusWordTable(state);
  const std::int64_t size =
      corpus.SizeUndetermined() ? std::numeric_limits<std::int32_t>::max() : corpus.TotalSize();
  CountProgress progress(state.host, size);
  std::uint32_t tokens = 0;
  std::uint32_t characters = 0;

  for (TCorpusText& text : corpus.Texts) {
    TBufStream reader(text.CorpusStreams.get(), state.ConcordConfig.DelimiterSet());
    if (state.FreqSettings.SkipTags) reader.ApplySettings(state.ConcordConfig);
    progress.StartText(text.CorpusFiles);
    char word[kMaxCountedWordLength];
    int length = 0;
    bool inWord = false;
    bool stopped = false;
    for (;;) {
      TCharType type;
      const unsigned char c = reader.ReadCharTyped(type);
      if (c != 0 && type == ctWord) {
        if (length < kMaxCountedWordLength) word[length++] = static_cast<char>(c);
        inWord = true;
      } else if (inWord) {
        table->AddWord(std::string_view(word, length), true);
        ++tokens;
        length = 0;
        inWord = false;
      }
      if (c == 0) break;
      if (++characters % kCountCheckChars == 0 && !progress.Check(characters, tokens)) {
        stopped = true;
        break;
      }
    }
    if (stopped || progress.Cancelled()) return nullptr;
  }
  corpus.TotalWords = static_cast<std::int32_t>(tokens);
  table->SortBy(foFrequency);
  return table;
}

bool EnsureCorpusWordTable(ProgramState& state) {
  if (state.corpus.CorpusWordTable) return true;
  std::unique_ptr<THashStrings> table = CountCorpusWords(state);
  if (!table) return false;
  state.corpus.CorpusWordTable = std::move(table);
  state.host.CorpusInfoChanged();
  return true;
}

long double Percentage(std::int32_t count, std::int32_t total) {
  if (total <= 0) return 0.0L;
  return static_cast<long double>(count) / total * 100.0L;
}

void WriteFrequencyLines(std::ostream& out, THashStrings& table, bool alphabetical,
                         const ProgramState& state) {
  const TFreqSettings& settings = state.FreqSettings;
  table.SortBy(alphabetical ? foAlphabetical : foFrequency);
  char line[64];
  for (int i = 0; i < table.EntryCount(); ++i) {
    const std::int32_t f = table.CountAt(i);
    if (!settings.WithinLimits(f) || state.StopList.IsStopWord(table.WordAt(i), settings.IgnoreCase)) continue;
    std::snprintf(line, sizeof line, "%10.d: %1.4Lf%% ", f, Percentage(f, state.corpus.TotalWords));
    out << line << table.WordAt(i) << "\r\n";
  }
}

void WriteBatchFrequencyFile(std::ostream& out, ProgramState& state, bool alphabetical) {
  BusyScope busy(state.Busy, BusyKind::WordList);
  if (!EnsureCorpusWordTable(state)) return;
  out << (alphabetical ? "Batch Frequency Data - Alphabetical Order" : "Batch Frequency Data - Frequency Order")
      << "\r\n"
      << std::string(38, '-') << "\r\n";
  WriteFrequencyLines(out, *state.corpus.CorpusWordTable, alphabetical, state);
}

}  // namespace korvane
