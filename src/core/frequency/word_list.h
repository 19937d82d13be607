// Word lists: the rows a word-list window shows (filtered by the frequency
// limits and the stop list, at most MaximumLines of them), the status text
// "N words, M types", and the saved word-list file. The same rows serve the
// results of advanced collocation, whose percentages are of the hits.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "frequency/hash_strings.h"

namespace korvane {

class ProgramState;

struct TWordListRow {
  std::int32_t Count = 0;
  float Percentage = 0;  // of the window's base
  std::string Word;
};

// Captions of the two corpus word lists.
inline constexpr const char* kFrequencyListCaption = "Corpus Frequency List";
inline constexpr const char* kAlphabeticalListCaption = "Alphabetical Word List";

// A word-list window's contents: a caption and rows in display order.
struct TWordList {
  std::string Caption;
  std::vector<TWordListRow> Rows;
  std::string StatusText;
};

// The rows of table: sorted alphabetically for order foAlphabetical, by
// frequency for foFrequency, kept as they are for foUnsorted; every entry
// that passes the list filter, with count / base * 100, until MaximumLines
// rows are made (at least one row is made when any entry passes).
std::vector<TWordListRow> WordListRows(THashStrings& table, TFreqOrder order, std::int32_t base,
                                       const ProgramState& state);

// "N words, M types" over every entry of table that is not a stop word
// (frequency limits do not apply), numbers with thousands separators.
std::string WordListStatusText(const THashStrings& table, const ProgramState& state);

// Builds a corpus word list (frequency order, or alphabetical) from
// CorpusWordTable, counting the corpus first when needed. Returns false when
// the count was cancelled. When URLs are still loading asks first and returns
// false on No. Lets pending messages run.
bool BuildCorpusWordList(ProgramState& state, bool alphabetical, TWordList& list);

// The saved word list: caption + " (" + totalWords + " words)", an empty
// line, then up to maxLines rows (0: all) as count, tab, percentage, tab,
// word, or the word alone. Lines end with CR LF.
void WriteWordListFile(std::ostream& out, const TWordList& list, std::int32_t totalWords,
                       std::int32_t maxLines, bool withFrequencies);

// "%d", "%1.4f%%": the count and percentage cells of a row.
std::string CountCell(const TWordListRow& row);
std::string PercentageCell(const TWordListRow& row);

// Asks "There are unfinished URL(s). ..." when downloads still run; true to go on.
bool ConfirmUnfinishedURLs(ProgramState& state);

}  // namespace korvane
