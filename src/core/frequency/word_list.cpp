// Word-list rows, status text and the saved word-list file.
#include "frequency/word_list.h"

#include <cstdio>

#include "app/busy_flags.h"
#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "frequency/word_count.h"

namespace korvane {
namespace {

std::string Counted(std::int64_t n, const std::string& noun) {
  const std::string digits = WithThousands(n);
  return digits + " " + noun + (digits == "1" ? "" : "s");
}

}  // namespace

std::vector<TWordListRow> WordListRows(THashStrings& table, TFreqOrder order, std::int32_t base,
                                       const ProgramState& state) {
  const TFreqSettings& settings = state.FreqSettings;
  if (order != foUnsorted) table.SortBy(order);
  std::vector<TWordListRow> rows;
  for (int i = 0; i < table.EntryCount(); ++i) {
    const std::int32_t n = table.CountAt(i);
    if (!settings.WithinLimits(n) || state.StopList.IsStopWord(table.WordAt(i), settings.IgnoreCase)) continue;
    rows.push_back({n, static_cast<float>(Percentage(n, base)), table.WordAt(i)});
    if (static_cast<std::int32_t>(rows.size()) >= settings.MaximumLines) break;
  }
  return rows;
}

std::string WordListStatusText(const THashStrings& table, const ProgramState& state) {
  std::int64_t tokens = 0;
  std::int64_t types = 0;
  for (int i = 0; i < table.EntryCount(); ++i) {
    if (state.StopList.IsStopWord(table.WordAt(i), state.FreqSettings.IgnoreCase)) continue;
    tokens += table.CountAt(i);
    ++types;
  }
  return Counted(tokens, "word") + ", " + Counted(types, "type");
}

bool ConfirmUnfinishedURLs(ProgramState& state) {
  if (state.corpus.UnfinishedURLs <= 0) return true;
  return state.host.AskYesNo(
      "There are unfinished URL(s). Frequency results may be incomplete. Continue anyway?", true);
}

bool BuildCorpusWordList(ProgramState& state, bool alphabetical, TWordList& list) {
  if (!ConfirmUnfinishedURLs(state)) return false;
  BusyScope busy(state.Busy, BusyKind::WordList);
  if (!EnsureCorpusWordTable(state)) return false;
  THashStrings& table = *state.corpus.CorpusWordTable;
  list.Caption = alphabetical ? kAlphabeticalListCaption : kFrequencyListCaption;
  list.Rows = WordListRows(table, alphabetical ? foAlphabetical : foFrequency, state.corpus.TotalWords, state);
  list.StatusText = WordListStatusText(table, state);
  return true;
}

std::string CountCell(const TWordListRow& row) { return std::to_string(row.Count); }

std::string PercentageCell(const TWordListRow& row) {
  char text[48];
  std::snprintf(text, sizeof text, "%1.4f%%", static_cast<double>(row.Percentage));
  return text;
}

void WriteWordListFile(std::ostream& out, const TWordList& list, std::int32_t totalWords,
                       std::int32_t maxLines, bool withFrequencies) {
  out << list.Caption << " (" << totalWords << " words)\r\n\r\n";
  std::size_t n = list.Rows.size();
  if (maxLines > 0 && static_cast<std::size_t>(maxLines) < n) n = static_cast<std::size_t>(maxLines);
  for (std::size_t i = 0; i < n; ++i) {
    const TWordListRow& row = list.Rows[i];
    if (withFrequencies) out << CountCell(row) << '\t' << PercentageCell(row) << '\t';
    out << row.Word << "\r\n";
  }
}

}  // namespace korvane
