// The frequency settings: the values of the "FrequencyConfiguration" section
// that word lists, batch frequency files, collocates and the stop list
// follow, the list filter they share, and what a change of them means for
// the corpus word table and the open windows.
#pragma once

#include <cstdint>

#include "app/font.h"

namespace korvane {

class IniFile;
class TStopList;
class ProgramState;

struct TFreqSettings {
  static constexpr std::int32_t kMaxLinesCap = 950000;

  std::int32_t MinimumFrequency = 3;
  std::int32_t MaximumFrequency = 0;  // 0: no maximum
  std::int32_t MaximumLines = 100;
  std::int32_t CollocationSpan = 2;      // 1..4 words each side
  std::int32_t CollocHighliteFirst = 5;  // 1..32
  bool IgnoreCase = true;
  bool CountAllWords = true;
  bool SkipTags = true;
  TFont Font = SystemDefaultFont();

  // The list filter: count n passes the frequency limits.
  bool WithinLimits(std::int32_t n) const {
    return n >= MinimumFrequency && (MaximumFrequency == 0 || n <= MaximumFrequency);
  }

  // Reads the section; must run right after the stop list was read, since
  // CountAllWords defaults to true exactly when the stop list is empty and
  // decides whether the stop list filters. ScanTextsOnLoad goes to
  // countWordsWhileLoading.
  void Read(const IniFile& ini, TStopList& stopList, bool& countWordsWhileLoading);
  void Write(IniFile& ini, bool countWordsWhileLoading) const;
};

// What confirming the options dialog must do, from the settings before and
// after it.
struct TFreqOptionsEffect {
  bool DiscardWordTable = false;    // IgnoreCase or SkipTags changed
  bool ResetWordCounts = false;     // SkipTags changed: texts not counted, TotalWords 0
  bool CloseFrequencyWindows = false;  // collocation and word-list windows close
  bool DropCollocates = false;      // every concordance drops its collocate tables
  bool RehighlightCollocates = false;  // only CollocHighliteFirst changed
};
TFreqOptionsEffect FreqOptionsEffect(const TFreqSettings& before, const TFreqSettings& after,
                                     bool stopListActiveAndEdited);

// Applies the core part of an effect: discards CorpusWordTable and resets the
// texts' word counts as it says, and tells the frame that the corpus
// information changed. Windows are the caller's.
void ApplyFreqOptionsEffect(ProgramState& state, const TFreqOptionsEffect& effect);

}  // namespace korvane
