// The corpus word count: every word of every text counted into one frequency
// table, with progress and cancel, and the plain-text frequency lines that
// batch frequency files are made of.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "frequency/hash_strings.h"

namespace korvane {

class ProgramState;

// Longest word kept by the count; longer runs are counted under their start.
inline constexpr int kMaxCountedWordLength = 64;
// The count touches the user interface at most every 4,096 characters and
// 200 ms.
inline constexpr std::uint32_t kCountCheckChars = 4096;
inline constexpr std::uint32_t kCountCheckMillis = 200;

// An empty corpus word table: 4096 buckets, the current language, case
// folded when the frequency option IgnoreCase is on.
std::unique_ptr<THashStrings> NewCorpusWordTable(const ProgramState& state);

// Counts every text into a new table (4096 buckets, CaseFolding = IgnoreCase;
// tags left out when SkipTags) with the progress dialog "Counting words in
// corpus". Returns the table sorted by frequency and sets TotalWords, or
// none when the user cancelled (TotalWords unchanged). User-interface thread;
// lets pending messages run.
std::unique_ptr<THashStrings> CountCorpusWords(ProgramState& state);
// Counts the corpus when CorpusWordTable is absent and stores the result,
// telling the frame that the corpus information changed. Returns whether a
// table exists afterwards. Lets pending messages run.
bool EnsureCorpusWordTable(ProgramState& state);

// A count as a percentage of total (0 when total is not positive).
long double Percentage(std::int32_t count, std::int32_t total);

// Sorts table (alphabetically or by frequency) and writes one line
// "%10.d: %1.4f%% %s" (count, percentage of TotalWords, word) with CR LF for
// every entry that passes the list filter. Stream errors are the caller's.
void WriteFrequencyLines(std::ostream& out, THashStrings& table, bool alphabetical,
                         const ProgramState& state);
// The batch frequency file: its title, a line of 38 hyphens, then the
// frequency lines of CorpusWordTable. With no table (a cancelled count)
// nothing is written. Runs EnsureCorpusWordTable first.
void WriteBatchFrequencyFile(std::ostream& out, ProgramState& state, bool alphabetical);

}  // namespace korvane
