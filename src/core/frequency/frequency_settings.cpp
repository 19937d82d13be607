// The "FrequencyConfiguration" section and the consequences of changed
// frequency options.
#include "frequency/frequency_settings.h"

#include "app/config_file.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "frequency/hash_strings.h"
#include "frequency/stop_list.h"

namespace korvane {
namespace {

constexpr const char* kSection = "FrequencyConfiguration";

}  // namespace

void TFreqSettings::Read(const IniFile& ini, TStopList& stopList, bool& countWordsWhileLoading) {
  MinimumFrequency = ini.ReadInteger(kSection, "MinimumFrequency", 3);
  MaximumFrequency = ini.ReadInteger(kSection, "MaximumFrequency", 0);
  MaximumLines = ini.ReadInteger(kSection, "MaximumLines", 100);
  CollocationSpan = ini.ReadInteger(kSection, "CollocationSpan", 2);
  if (CollocationSpan < 1 || CollocationSpan > 4) CollocationSpan = 2;
  CollocHighliteFirst = ini.ReadInteger(kSection, "CollocHighliteFirst", 5);
  if (CollocHighliteFirst < 1 || CollocHighliteFirst > 32) CollocHighliteFirst = 5;
  IgnoreCase = ini.ReadBool(kSection, "IgnoreCase", true);
  CountAllWords = ini.ReadBool(kSection, "CountAllWords", stopList.Words().empty());
  SkipTags = ini.ReadBool(kSection, "SkipTags", true);
  countWordsWhileLoading = ini.ReadBool(kSection, "ScanTextsOnLoad", false);
  ReadFont(ini, kSection, "Font", Font);
  stopList.SetActive(!CountAllWords);
}

void TFreqSettings::Write(IniFile& ini, bool countWordsWhileLoading) const {
  ini.WriteInteger(kSection, "MinimumFrequency", MinimumFrequency);
  ini.WriteInteger(kSection, "MaximumFrequency", MaximumFrequency);
  ini.WriteInteger(kSection, "MaximumLines", MaximumLines);
  ini.WriteInteger(kSection, "CollocationSpan", CollocationSpan);
  ini.WriteInteger(kSection, "CollocHighliteFirst", CollocHighliteFirst);
  ini.WriteBool(kSection, "IgnoreCase", IgnoreCase);
  ini.WriteBool(kSection, "CountAllWords", CountAllWords);
  ini.WriteBool(kSection, "SkipTags", SkipTags);
  ini.WriteBool(kSection, "ScanTextsOnLoad", countWordsWhileLoading);
  WriteFont(ini, kSection, "Font", Font);
}

TFreqOptionsEffect FreqOptionsEffect(const TFreqSettings& before, const TFreqSettings& after,
                                     bool stopListActiveAndEdited) {
  TFreqOptionsEffect effect;
  const bool countingChanged = before.IgnoreCase != after.IgnoreCase || before.SkipTags != after.SkipTags;
  effect.DiscardWordTable = countingChanged;
  effect.ResetWordCounts = before.SkipTags != after.SkipTags;
  effect.CloseFrequencyWindows = stopListActiveAndEdited || countingChanged ||
                                 before.MinimumFrequency != after.MinimumFrequency ||
                                 before.MaximumFrequency != after.MaximumFrequency ||
                                 before.MaximumLines != after.MaximumLines;
  if (!effect.CloseFrequencyWindows && before.CollocationSpan == after.CollocationSpan)
    effect.RehighlightCollocates = before.CollocHighliteFirst != after.CollocHighliteFirst;
  else
    effect.DropCollocates = true;
  return effect;
}

void ApplyFreqOptionsEffect(ProgramState& state, const TFreqOptionsEffect& effect) {
  if (effect.ResetWordCounts) {
    for (TCorpusText& text : state.corpus.Texts) text.WordCount = 0;
    state.corpus.TotalWords = 0;
  }
  if (effect.DiscardWordTable) {
    state.corpus.CorpusWordTable.reset();
    state.host.CorpusInfoChanged();
  }
}

}  // namespace korvane
