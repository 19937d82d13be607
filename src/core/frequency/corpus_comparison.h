// Corpus comparison: the current word list set against a reference list
// read from a saved word-list or batch frequency file. Every word of either
// list gets both counts, both percentages, their difference and the
// log-likelihood LL; the rows sort on three levels and are saved as a
// tab-separated table of the chosen columns.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/errors.h"
#include "frequency/hash_strings.h"
#include "frequency/word_list.h"

namespace korvane {

class LanguageState;
class TProgressForm;
class ProgramState;

struct TComparisonRow {
  std::int32_t CurrentCount = 0;
  float CurrentPct = 0;
  std::string Word;
  std::int32_t ReferenceCount = 0;
  float ReferencePct = 0;
  long double LL = 0;

  // "Pct Change": the difference of the percentages, in percentage points.
  long double PctChange() const {
    return static_cast<long double>(CurrentPct) - static_cast<long double>(ReferencePct);
  }
};

// A comparison that cannot be computed (a list without running words): the
// desktop program opens no window, the command line shows the message.
class EComparisonFailed : public Exception {
 public:
  using Exception::Exception;
};

// The reference list: its table (case-folded) and its running-word total.
struct TReferenceList {
  std::unique_ptr<THashStrings> Table;
  std::int32_t Total = 0;
};

struct TCorpusComparison {
  std::unique_ptr<THashStrings> Reference;  // the union of both word sets
  std::vector<TComparisonRow> Rows;
};

// The current list of a word-list window: rows added in row order to a
// case-folding table of half as many buckets as rows.
std::unique_ptr<THashStrings> CurrentListFromRows(const std::vector<TWordListRow>& rows,
                                                  const LanguageState& language);

// Reads a reference file into a case-folding table of bucketCount buckets,
// with the progress dialog "Corpus Frequency File". Throws Exception
// "Invalid frequency file!" when the first line has none of the four titles
// (or its total is not a number), Exception naming the line when a data line
// does not start with a count, the file layer's Exception when it cannot be
// read, and EAbort when the user declines to compute a missing total or
// cancels. User-interface thread; lets pending messages run.
TReferenceList ReadReferenceFile(ProgramState& state, const std::string& path, int bucketCount);

// The rows of current (totalWords running words) against reference, in the
// reference table's order after the current words were added to it. Throws
// EComparisonFailed when either total is not positive.
std::vector<TComparisonRow> ComparisonRows(const THashStrings& current, std::int32_t totalWords,
                                           THashStrings& reference, std::int32_t referenceTotal,
                                           const LanguageState& language);

// The whole command: the current list from rows, the reference file, the rows.
TCorpusComparison CompareWithReference(ProgramState& state, const std::vector<TWordListRow>& rows,
                                       std::int32_t totalWords, const std::string& referencePath);

// Sort keys: 0 "Unsorted", 1 "Current Count", 2 "Current Percent",
// 3 "Current Word", 4 "Reference Count", 5 "Reference Percent",
// 6 "Percent change", 7 "LL".
enum TComparisonKey : int {
  ckUnsorted, ckCurrentCount, ckCurrentPercent, ckCurrentWord, ckReferenceCount,
  ckReferencePercent, ckPercentChange, ckLL
};
struct TComparisonSort {
  TComparisonKey Key[3] = {ckUnsorted, ckUnsorted, ckUnsorted};
  bool Descending[3] = {false, false, false};
};
// "LL desc,Current Word": up to three levels by key caption or column
// heading (case ignored), each with an optional " desc" or " asc". False for
// an unknown name or more than three levels.
bool ParseComparisonSort(const std::string& text, TComparisonSort& sort);
// Sorts rows level by level; words compare in the language's collation with
// case. Not stable.
void SortComparisonRows(std::vector<TComparisonRow>& rows, const TComparisonSort& sort,
                        const LanguageState& language);

// The columns chosen for saving, in grid order.
struct TComparisonColumns {
  bool Show[7] = {true, true, true, true, true, true, true};
};
// The saved table: the chosen columns' headings joined by tabs, then one line
// per row; lines end with CR LF. With a progress object, a cancel stops after
// the current row.
void WriteComparisonFile(std::ostream& out, const std::vector<TComparisonRow>& rows,
                         const TComparisonColumns& columns, TProgressForm* progress = nullptr);

}  // namespace korvane
