// Advanced collocation: the "AdvancedColloc" section, the position and span
// keys of one hit, and the count over a concordance.
#include "frequency/advanced_collocation.h"

#include <algorithm>

#include "app/errors.h"
#include "app/host.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "frequency/word_count.h"
#include "results/advanced_sort_settings.h"
#include "results/concord_items.h"

namespace korvane {
namespace {

constexpr const char* kSection = "AdvancedColloc";
constexpr std::uint8_t kNone = 10;
constexpr int kCheckHits = 256;
// The collocation list left to right: 4L, 3L, 2L, 1L, search term, 1R .. 4R.
constexpr std::uint8_t kListOrder[9] = {1, 2, 3, 4, 0, 5, 6, 7, 8};
constexpr int kSearchTermIndex = 4;

int ListIndex(std::uint8_t code) {
  for (int i = 0; i < 9; ++i)
    if (kListOrder[i] == code) return i;
  return -1;
}

std::string CollocCaption(std::uint8_t code) {
  for (const TSortModeItem& item : CollocationModeItems())
    if (item.Code == code) return item.Caption;
  return "None";
}

std::uint8_t ReadPosition(const IniFile& ini, const char* key) {
  const std::string value = ini.ReadString(kSection, key, "");
  for (const TSortModeItem& item : CollocationModeItems())
    if (value == item.Caption) return item.Code;
  static constexpr std::uint8_t kOlderList[8] = {2, 3, 4, 0, 5, 6, 7, kNone};
  if (const auto n = PlainInteger(value); n && *n >= 0 && *n <= 7) return kOlderList[*n];
  return kNone;
}

}  // namespace

void ReadAdvancedColloc(const IniFile& ini, TAdvancedSortColOptions& options, TAdvancedCollocExtras& extras) {
  options.FirstKey = ReadPosition(ini, "First");
  options.FirstReverse = ini.ReadBool(kSection, "FirstReverse", false);
  options.SecondKey = ReadPosition(ini, "Second");
  options.SecondReverse = ini.ReadBool(kSection, "SecondReverse", false);
  options.ThirdKey = ReadPosition(ini, "Third");
  options.ThirdReverse = ini.ReadBool(kSection, "ThirdReverse", false);
  options.Custom = ini.ReadBool(kSection, "Custom", false);
  options.CustomText = ini.ReadString(kSection, "CustomText", "");
  extras.ShowFirst = std::clamp(ini.ReadInteger(kSection, "ShowFirst", 0), 0, 1000);
  options.UseSpan = ini.ReadBool(kSection, "SpanCollocation", false);
  options.Span = ini.ReadInteger(kSection, "SpanNumber", kMinSpanNumber);
  if (options.Span < kMinSpanNumber || options.Span > kMaxSpanNumber) options.Span = kMinSpanNumber;
}

void WriteAdvancedColloc(IniFile& ini, const TAdvancedSortColOptions& options,
                         const TAdvancedCollocExtras& extras) {
  ini.WriteString(kSection, "First", CollocCaption(options.FirstKey));
  ini.WriteBool(kSection, "FirstReverse", options.FirstReverse);
  ini.WriteString(kSection, "Second", CollocCaption(options.SecondKey));
  ini.WriteBool(kSection, "SecondReverse", options.SecondReverse);
  ini.WriteString(kSection, "Third", CollocCaption(options.ThirdKey));
  ini.WriteBool(kSection, "ThirdReverse", options.ThirdReverse);
  ini.WriteBool(kSection, "Custom", options.Custom);
  ini.WriteString(kSection, "CustomText", options.CustomText);
  ini.WriteInteger(kSection, "ShowFirst", extras.ShowFirst);
  ini.WriteBool(kSection, "SpanCollocation", options.UseSpan);
  // A span that was never set (0) is written as the 2 it reads as.
  const bool validSpan = options.Span >= kMinSpanNumber && options.Span <= kMaxSpanNumber;
  ini.WriteInteger(kSection, "SpanNumber", validSpan ? options.Span : kMinSpanNumber);
}

std::string PositionKey(const std::vector<std::string>& words, const std::vector<bool>& present,
                        const TAdvancedSortColList& positions) {
  std::string key;
  int previous = -1;
  for (const TAdvancedSortColItem& item : positions) {
    const int index = ListIndex(item.Key);
    if (index < 0) continue;
    if (present[item.Key]) {
      if (previous >= 0 && index != previous + 1) key += " ...";
      if (!key.empty()) key += ' ';
      key += words[item.Key];
    }
    previous = index;
  }
  return key;
}

std::unique_ptr<THashStrings> CountAdvancedCollocation(TConcordItems& items, ProgramState& state,
                                                       const TAdvancedSortColList& positions, int span) {
  const int hits = items.Count();
  const std::unique_ptr<TProgressForm> progress = state.host.CreateProgress(false);
  progress->Caption = "Advanced Collocation";
  progress->ProgressLabel = "Counting Hits";
  if (hits > kCheckHits) progress->Show();
  auto table = std::make_unique<THashStrings>(kAdvancedCollocBuckets, state.Language);
  table->CaseFolding = state.FreqSettings.IgnoreCase;
  std::vector<std::string> words(kWordSlots);
  std::vector<bool> present(kWordSlots);
  for (int v = 0; v < hits; ++v) {
    if (v % kCheckHits == 0) {
      progress->ProgressBar = hits > 1 ? static_cast<int>(100LL * v / (hits - 1)) : 0;
      progress->Update();
      state.host.ProcessMessages();
      if (progress->Tag != 0) throw EAbort();
    }
    const TConcordItem& hit = items.Item(v);
    for (int slot = 0; slot < kWordSlots; ++slot) {
      present[slot] = hit.Words[slot].has_value();
      words[slot] = hit.Words[slot].value_or(std::string());
    }
    if (span <= 0) {
      table->AddWord(PositionKey(words, present, positions), true);
      continue;
    }
    for (int start = kSearchTermIndex; start > kSearchTermIndex - span; --start) {
      std::string run;
      bool complete = true;
      for (int i = start; i < start + span && complete; ++i) {
        const std::uint8_t slot = kListOrder[i];
        complete = present[slot];
        if (!run.empty()) run += ' ';
        run += words[slot];
      }
      if (complete) table->AddWord(run, true);
    }
  }
  table->SortBy(foFrequency);
  return table;
}

std::string AdvancedCollocationCaption(const TAdvancedSortColList& positions, int span) {
  std::string caption = "Advanced Collocation - ";
  if (span > 0) return caption + "Span " + std::to_string(span);
  for (std::size_t i = 0; i < positions.size(); ++i)
    caption += (i > 0 ? ", " : "") + CollocCaption(positions[i].Key);
  return caption;
}

TWordList AdvancedCollocationList(TConcordItems& items, ProgramState& state,
                                  const TAdvancedSortColList& positions, int span) {
  std::unique_ptr<THashStrings> table = CountAdvancedCollocation(items, state, positions, span);
  TWordList list;
  list.Caption = AdvancedCollocationCaption(positions, span);
  list.Rows = WordListRows(*table, foUnsorted, items.Count(), state);
  return list;
}

}  // namespace korvane
