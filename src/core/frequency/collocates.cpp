// Collocate tables of a concordance: building, counting, ranking, shading
// switch, and the collocation table rows and file.
#include "frequency/collocates.h"

#include <algorithm>
#include <memory>

#include "app/errors.h"
#include "app/host.h"
#include "app/program_state.h"
#include "frequency/hash_strings.h"
#include "results/concord_items.h"

namespace korvane {
namespace {

constexpr int kSmallTableBuckets = 256;
constexpr int kLargeTableDivisor = 64;
// Words are folded or cut to this many bytes before they are counted.
constexpr std::size_t kMaxCollocWordLength = 256;

// The word of a slot as it is counted: lower-cased when IgnoreCase, cut to
// 256 bytes.
std::string CollocKey(const std::string& word, const ProgramState& state) {
  std::string key = word.substr(0, kMaxCollocWordLength);
  if (state.FreqSettings.IgnoreCase) state.Language.LowerCaseInPlace(key);
  return key;
}

bool ValidRange(int first, int last) { return first >= 1 && last <= 8 && first <= last; }

THashStrings* Table(TConcordItems& items, int slot) { return items.CollocTables[slot - 1].get(); }

// A summary updated word by word loses a count that drops out of it while
// full and later comes back in reach, so words of that count would not be
// shaded. Once the counts are final the summaries are rebuilt from them.
void RebuildSummaries(TConcordItems& items) {
  if (!ValidRange(items.CollocFirst, items.CollocLast)) return;
  for (int slot = items.CollocFirst; slot <= items.CollocLast; ++slot) {
    THashStrings* table = Table(items, slot);
    if (table == nullptr) continue;
    const int capacity = table->TopCapacity();
    table->SetTopCapacity(0);
    table->SetTopCapacity(capacity);
  }
}

}  // namespace

const char* CollocSlotName(int slot) {
  static constexpr const char* kNames[8] = {"4-Left",  "3-Left",  "2-Left",  "1-Left",
                                            "1-Right", "2-Right", "3-Right", "4-Right"};
  return slot >= 1 && slot <= 8 ? kNames[slot - 1] : "";
}

bool CollocatesBuilt(const TConcordItems& items, int first, int last) {
  if (items.CollocFirst != first || items.CollocLast != last || !ValidRange(first, last)) return false;
  for (int slot = first; slot <= last; ++slot)
    if (!items.CollocTables[slot - 1]) return false;
  return true;
}

void CountCollocates(TConcordItems& items, const ProgramState& state, const TConcordItem& hit) {
  if (!ValidRange(items.CollocFirst, items.CollocLast)) return;
  for (int slot = items.CollocFirst; slot <= items.CollocLast; ++slot) {
    THashStrings* table = Table(items, slot);
    if (table == nullptr || !hit.Words[slot]) continue;
    const std::string key = CollocKey(*hit.Words[slot], state);
    if (!state.StopList.IsStopWord(key, state.FreqSettings.IgnoreCase)) table->AddWord(key, true);
  }
}

void RankCollocates(TConcordItems& items, const ProgramState& state, TConcordItem& hit) {
  if (!ValidRange(items.CollocFirst, items.CollocLast)) return;
  for (int slot = items.CollocFirst; slot <= items.CollocLast; ++slot) {
    THashStrings* table = Table(items, slot);
    if (table == nullptr || !hit.Words[slot]) continue;
    const std::int32_t c = table->CountOf(CollocKey(*hit.Words[slot], state));
    const int rank = c >= 2 ? table->TopRank(c) : -1;
    hit.CollocateRanks[slot] = rank < 0 ? kNoRank : static_cast<std::uint8_t>(rank);
  }
}

void RankAllCollocates(TConcordItems& items, const ProgramState& state) {
  for (int i = 0; i < items.Count(); ++i) RankCollocates(items, state, items.Item(i));
}

void FreeCollocates(TConcordItems& items) {
  for (auto& table : items.CollocTables) table.reset();
}

void BuildCollocates(TConcordItems& items, ProgramState& state, int first, int last) {
  if (!ValidRange(first, last)) throw Exception("Internal error: collocate slots out of range");
  const int hits = items.Count();
  const std::unique_ptr<TProgressForm> progress = state.host.CreateProgress(false);
  progress->Caption = "Generating collocation";
  if (hits > kCollocCheckHits) progress->Show();
  try {
    items.CollocFirst = static_cast<std::uint8_t>(first);
    items.CollocLast = static_cast<std::uint8_t>(last);
    const int buckets = hits > kCollocLargeConcordance ? hits / kLargeTableDivisor : kSmallTableBuckets;
    for (int slot = first; slot <= last; ++slot) {
      auto& table = items.CollocTables[slot - 1];
      if (table)
        table->Clear();
      else
        table = std::make_unique<THashStrings>(buckets, state.Language);
      table->CaseFolding = false;
      table->SetTopCapacity(items.CollocOn ? state.FreqSettings.CollocHighliteFirst : 0);
    }
    for (int i = 0; i < hits; ++i) {
      CountCollocates(items, state, items.Item(i));
      if (i % kCollocCheckHits == 0) {
        progress->ProgressBar = hits > 0 ? static_cast<int>(100LL * i / hits) : 0;
        progress->Update();
        state.host.ProcessMessages();
        if (progress->Tag != 0) throw EAbort();
      }
    }
    RebuildSummaries(items);
    RankAllCollocates(items, state);
    for (int slot = first; slot <= last; ++slot) Table(items, slot)->SortBy(foFrequency);
  } catch (...) {
    FreeCollocates(items);
    throw;
  }
}

void SetCollocHighlight(TConcordItems& items, ProgramState& state, bool on) {
  if (on == items.CollocOn) return;
  items.CollocOn = on;
  if (!on) return;
  const int span = state.FreqSettings.CollocationSpan;
  const int first = SpanFirstSlot(span);
  const int last = SpanLastSlot(span);
  if (CollocatesBuilt(items, first, last)) {
    for (int slot = first; slot <= last; ++slot) Table(items, slot)->SetTopCapacity(state.FreqSettings.CollocHighliteFirst);
    RankAllCollocates(items, state);
  } else {
    BuildCollocates(items, state, first, last);
  }
}

void UpdateCollocHighlightCount(TConcordItems& items, ProgramState& state) {
  if (!items.CollocOn || !ValidRange(items.CollocFirst, items.CollocLast)) return;
  for (int slot = items.CollocFirst; slot <= items.CollocLast; ++slot)
    if (THashStrings* table = Table(items, slot)) table->SetTopCapacity(state.FreqSettings.CollocHighliteFirst);
  RankAllCollocates(items, state);
}

void CollocatesAfterAdd(TConcordItems& items, ProgramState& state, bool highlightDuringSearch) {
  if (highlightDuringSearch && items.Count() == kCollocHighlightAtHit && !items.CollocOn) {
    SetCollocHighlight(items, state, true);
    return;
  }
  if (!items.CollocOn || items.Count() == 0) return;
  TConcordItem& hit = items.Item(items.Count() - 1);
  CountCollocates(items, state, hit);
  RankCollocates(items, state, hit);
}

void CollocatesAfterSearch(TConcordItems& items, ProgramState& state, bool highlightMark) {
  items.CollocColor = static_cast<std::int32_t>(state.ConcordConfig.CollocateFont.Color);
  if (!highlightMark) return;
  SetCollocHighlight(items, state, true);
  RebuildSummaries(items);
  RankAllCollocates(items, state);
}

std::vector<TCollocRow> CollocationRows(TConcordItems& items, const ProgramState& state, int first,
                                        int last, std::int32_t maxRows) {
  std::vector<TCollocRow> rows;
  if (!CollocatesBuilt(items, first, last)) return rows;
  const TFreqSettings& settings = state.FreqSettings;
  std::vector<int> cursor(static_cast<std::size_t>(last - first + 1), 0);
  auto remaining = [&] {
    for (int slot = first; slot <= last; ++slot)
      if (cursor[slot - first] < Table(items, slot)->EntryCount()) return true;
    return false;
  };
  for (int slot = first; slot <= last; ++slot) Table(items, slot)->SortBy(foFrequency);
  while (remaining() && (maxRows < 0 || static_cast<std::int32_t>(rows.size()) < maxRows)) {
    TCollocRow row;
    for (int slot = first; slot <= last; ++slot) {
      const THashStrings& table = *Table(items, slot);
      int& at = cursor[slot - first];
      while (at < table.EntryCount() && !settings.WithinLimits(table.CountAt(at))) ++at;
      if (at < table.EntryCount()) {
        row.push_back(TCollocCell{table.CountAt(at), table.WordAt(at)});
        ++at;
      } else {
        row.push_back(std::nullopt);
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string CollocationCaption(const std::string& pattern) {
  return pattern.empty() ? "Frequency Statistics" : "Frequency Statistics - [" + pattern + "]";
}

void WriteCollocateTable(std::ostream& out, TConcordItems& items, const ProgramState& state,
                         const std::string& pattern, std::int32_t maxLines) {
  const int first = items.CollocFirst;
  const int last = items.CollocLast;
  out << "Word: " << pattern << "\r\n\r\n";
  for (int slot = first; slot <= last; ++slot) out << (slot > first ? "\t\t" : "") << CollocSlotName(slot);
  out << "\r\n";
  for (const TCollocRow& row : CollocationRows(items, state, first, last, maxLines > 0 ? maxLines : -1)) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out << '\t';
      if (row[i])
        out << row[i]->Count << '\t' << row[i]->Word;
      else
        out << '\t';
    }
    out << "\r\n";
  }
}

}  // namespace korvane
