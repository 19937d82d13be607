// The hits distribution: bars per text or per slice of lines, their texts,
// and the preparation of the line tables the slices are cut by.
#include "tags/hits_distribution.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "corpus/corpus.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "results/concord_items.h"
#include "search/search_rec.h"
#include "tags/indexed_stream.h"
#include "tags/tag_collector.h"

namespace korvane {

namespace {

// The texts of a scope (consecutive corpus texts) laid end to end: where
// each starts and how many lines it has.
struct TScopeText {
  int Index = 0;
  std::int64_t Start = 0;
  std::int64_t Size = 0;
  std::int32_t Lines = 0;
  const TIndexedStream* LineTable = nullptr;
};

std::int32_t LineCount(const TCorpusText& text) {
  return text.LineTables.Index ? text.LineTables.Index->RecordCount() : 0;
}

std::int64_t TextSize(const TCorpusText& text) {
  return text.CorpusStreams ? std::max<std::int32_t>(text.CorpusStreams->GetSize(), 0) : 0;
}

std::vector<TScopeText> ScopeTexts(const Corpus& corpus, std::int32_t scope) {
  std::vector<TScopeText> texts;
  std::int64_t start = 0;
  for (int i = 0; i < corpus.Count(); ++i) {
    if (scope != kScopeEntireCorpus && scope - kScopeFirstText != i) continue;
    const TCorpusText& text = corpus.Texts[static_cast<std::size_t>(i)];
    texts.push_back({i, start, TextSize(text), LineCount(text), text.LineTables.Index.get()});
    start += texts.back().Size;
  }
  return texts;
}

// The step actually used for a scope of lines lines: very short scopes get
// coarser slices so that no slice is empty of lines.
std::int32_t EffectiveStep(std::int64_t lines, std::int32_t chosen) {
  switch (lines) {
    case 2: return 50;
    case 3: return 33;
    case 4: return chosen == 50 ? 50 : 25;
    case 5: return 20;
    default: return chosen;
  }
}

// The last line of slice c of slices: lines ÷ slices × c in floating point,
// rounded to the nearest line with halves going to the even neighbour.
std::int64_t SliceEndLine(std::int64_t lines, std::int32_t slices, std::int32_t c) {
  const double h = static_cast<double>(lines) / slices * c;
  const double rounded = std::fabs(h - std::trunc(h)) == 0.5 ? 2.0 * std::round(h / 2.0) : std::round(h);
  return static_cast<std::int64_t>(rounded);
}

// Where the slice that ends with scope line h ends: at the line break that
// closes that line, or, when the line is a text's last, where the next text
// starts (the scope's end after the last text).
std::int64_t SliceEndPosition(const std::vector<TScopeText>& texts, std::int64_t h) {
  std::int64_t before = 0;
  for (const TScopeText& text : texts) {
    if (before + text.Lines == h) return text.Start + text.Size;
    if (before + text.Lines > h)
      return text.Start + text.LineTable->ValueAt(static_cast<std::int32_t>(h - before), 0);
    before += text.Lines;
  }
  return texts.empty() ? 0 : texts.back().Start + texts.back().Size;
}

// Counts each hit of a text in the scope in the first slice that ends at or
// after it; the slices' ends never decrease, so that slice is found by
// bisection.
void CountSliceHits(const std::vector<TScopeText>& texts, const TConcordItems& list,
                    std::vector<TDistribItem>& items) {
  if (texts.empty()) return;
  const int first = texts.front().Index;
  for (int k = 0; k < list.Count(); ++k) {
    const TConcordItem& hit = list.Item(k);
    const std::int64_t slot = static_cast<std::int64_t>(hit.TextIndex) - first;
    if (slot < 0 || slot >= static_cast<std::int64_t>(texts.size())) continue;
    const std::int64_t position = texts[static_cast<std::size_t>(slot)].Start + hit.HitStart;
    const auto bar = std::lower_bound(items.begin(), items.end(), position,
                                      [](const TDistribItem& item, std::int64_t at) { return item.EndPosition < at; });
    if (bar != items.end()) ++bar->Hits;
  }
}

void ComputeSlices(const Corpus& corpus, const TConcordItems& list, TDistribution& dist, int stepIndex) {
  const std::vector<TScopeText> texts = ScopeTexts(corpus, dist.Scope);
  std::int64_t lines = 0;
  for (const TScopeText& text : texts) lines += text.Lines;
  if (lines == 0) return;
  const std::int64_t scopeEnd = texts.back().Start + texts.back().Size;
  if (lines == 1) {
    dist.Step = 100;
    dist.Items.push_back({100, 1, 0, scopeEnd});
  } else {
    dist.Step = EffectiveStep(lines, kDistribSteps[static_cast<std::size_t>(stepIndex)]);
    const std::int32_t slices = 100 / dist.Step;
    for (std::int32_t c = 1; c <= slices; ++c) {
      const std::int64_t h = SliceEndLine(lines, slices, c);
      dist.Items.push_back({dist.Step * c, static_cast<std::int32_t>(h), 0, SliceEndPosition(texts, h)});
    }
  }
  CountSliceHits(texts, list, dist.Items);
}

void ComputePerText(const Corpus& corpus, const TConcordItems& list, TDistribution& dist) {
  std::int64_t lines = 1;
  std::int64_t end = 0;
  for (const TCorpusText& text : corpus.Texts) {
    lines += LineCount(text);
    end += TextSize(text);
    dist.Items.push_back({0, static_cast<std::int32_t>(std::min<std::int64_t>(lines, INT32_MAX)), 0, end});
    dist.TextNames.push_back(DistribTextName(text.CorpusFiles));
  }
  for (int k = 0; k < list.Count(); ++k) {
    const std::int32_t index = list.Item(k).TextIndex;
    if (index >= 0 && index < corpus.Count()) ++dist.Items[static_cast<std::size_t>(index)].Hits;
  }
}

std::string Printf(const char* format, auto... values) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, values...);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
}

const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

}  // namespace

std::string StepCaption(int stepIndex) {
  return std::to_string(kDistribSteps.at(static_cast<std::size_t>(stepIndex))) + "%";
}

int StepIndexOf(std::int32_t percent) {
  const auto found = std::find(kDistribSteps.begin(), kDistribSteps.end(), percent);
  return found == kDistribSteps.end() ? -1 : static_cast<int>(found - kDistribSteps.begin());
}

std::string DistribTextName(const std::string& corpusName) {
  if (IsURL(corpusName)) return corpusName;
  return std::filesystem::path(corpusName).filename().string();
}

std::vector<std::string> ScopeNames(const Corpus& corpus) {
  std::vector<std::string> names = {"Entire corpus", "Files"};
  for (const TCorpusText& text : corpus.Texts) names.push_back(DistribTextName(text.CorpusFiles));
  return names;
}

std::int32_t DefaultScope(const Corpus& corpus) {
  return corpus.Count() < 2 ? kScopeEntireCorpus : kScopeFiles;
}

TDistribution ComputeDistribution(const Corpus& corpus, const TConcordItems& list, std::int32_t scope,
                                  int stepIndex) {
  if (scope < 0 || scope >= kScopeFirstText + corpus.Count())
    throw Exception("There is no scope " + std::to_string(scope) + ".");
  if (stepIndex < 0 || stepIndex >= static_cast<int>(kDistribSteps.size()))
    throw Exception("There is no step " + std::to_string(stepIndex) + ".");
  TDistribution dist;
  dist.Scope = scope;
  if (scope == kScopeFiles)
    ComputePerText(corpus, list, dist);
  else
    ComputeSlices(corpus, list, dist, stepIndex);
  for (const TDistribItem& item : dist.Items) dist.TotalHits += item.Hits;
  return dist;
}

std::vector<std::string> BarLabels(const TDistribution& dist, bool percent) {
  if (dist.Scope == kScopeFiles) return dist.TextNames;
  std::vector<std::string> labels;
  std::int32_t previous = percent ? 0 : 1;
  for (const TDistribItem& item : dist.Items) {
    const std::int32_t bound = percent ? item.Percent : item.Lines;
    labels.push_back(std::to_string(previous) + " - " + std::to_string(bound));
    previous = percent ? bound : bound + 1;
  }
  return labels;
}

std::string LeftAxisTitle(std::int32_t scope, bool percent) {
  if (scope == kScopeFiles) return "Files";
  return percent ? "Percent" : "Lines";
}

std::string BarMark(std::int32_t hits, std::int32_t totalHits) {
  if (totalHits == 0) return "0 (0%)";
  return Printf("%d (%.2f%%)", hits, static_cast<double>(hits) / totalHits * 100.0);
}

std::string DistributionCaption(const std::string& pattern) { return "Hits Distribution for: " + pattern; }

std::vector<std::pair<std::string, std::string>> DistributionHeader(const std::string& pattern,
                                                                    std::int32_t totalHits,
                                                                    const TSearchRec& request) {
  std::vector<std::pair<std::string, std::string>> lines = {
      {"Search pattern:", pattern},
      {"Hits:", std::to_string(totalHits)},
      {"Search:", SearchModeName(request.Mode)},
      {"Ignore case:", OnOff(!request.Has(sfCaseSensitive))},
      {"Freq. of hits:", std::to_string(request.FrequencyOfHits)},
      {"Sent. mode:", OnOff(request.Has(sfSentenceMode))},
  };
  if (request.Has(sfSkipEqual)) {
    lines.emplace_back("Skipping characters:", request.SkippingChars);
    lines.emplace_back("Equal characters:", request.EqualChars);
  }
  if (request.Has(sfHeadingSearch)) {
    lines.emplace_back("Heading start:", request.HeadStart);
    lines.emplace_back("Heading stop:", request.HeadStop);
    lines.emplace_back("Heading match:", request.HeadingPattern);
    lines.emplace_back("Text start:", request.TextStart);
    lines.emplace_back("Text stop:", request.TextStop);
  }
  if (request.Has(sfContextSearch)) {
    lines.emplace_back("Left context:", request.LeftContext);
    lines.emplace_back("Right context:", request.RightContext);
  }
  return lines;
}

std::string DistributionTableText(const TDistribution& dist) {
  std::string text;
  if (dist.Scope == kScopeFiles) {
    text = "File name                  Hits\r\n-------------------------------\r\n";
    for (std::size_t i = 0; i < dist.Items.size(); ++i) {
      std::string name = dist.TextNames[i];
      if (name.size() < 24) name.resize(24, ' ');
      text += name + Printf("%7d", dist.Items[i].Hits) + "\r\n";
    }
  } else {
    text = "  %     Line    Hits\r\n--------------------\r\n";
    for (const TDistribItem& item : dist.Items)
      text += Printf("%3d%8d%7d", item.Percent, item.Lines, item.Hits) + "\r\n";
  }
  return text;
}

void SaveDistribution(const std::string& path, const TDistribution& dist) {
  WriteFileAtomically(path, DistributionTableText(dist), UnableToOpenFileMessage(path));
}

bool PrepareLineTables(ProgramState& state) {
  Corpus& corpus = state.corpus;
  const auto lacksLines = [](const TCorpusText& text) { return !text.LineTables.Index; };
  if (std::none_of(corpus.Texts.begin(), corpus.Texts.end(), lacksLines)) return true;
  // Only the texts without a line table are read, so their words would make
  // a corpus word table that holds part of the corpus.
  struct RestoreCounting {
    Corpus& corpus;
    bool counting;
    ~RestoreCounting() { corpus.CountWordsWhileLoading = counting; }
  } restore{corpus, corpus.CountWordsWhileLoading};
  corpus.CountWordsWhileLoading = false;
  state.CancelAllTagCollection = false;
  TCollectRequest request;
  request.Lines = true;
  request.Pages = false;
  request.WatchedTags = false;
  request.CancelAllOffered = true;
  for (int i = 0; i < corpus.Count(); ++i) {
    if (!lacksLines(corpus.Texts[static_cast<std::size_t>(i)])) continue;
    // The collection lets messages run; look the text up again afterwards.
    const std::string name = corpus.Texts[static_cast<std::size_t>(i)].CorpusFiles;
    std::int32_t words = corpus.Texts[static_cast<std::size_t>(i)].WordCount;
    try {
      CollectTagInfo(state, name, request, words);
    } catch (const EAbort&) {
      continue;
    } catch (const Exception& e) {
      state.host.ShowError(e.what());
      break;
    }
    const int index = corpus.IndexOf(name);
    if (index >= 0) corpus.Texts[static_cast<std::size_t>(index)].WordCount = words;
  }
  RecomputeTotalWords(corpus);
  state.host.CorpusInfoChanged();
  return std::none_of(corpus.Texts.begin(), corpus.Texts.end(), lacksLines);
}

}  // namespace korvane
