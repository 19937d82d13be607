// Corpus comparison: reading the reference file, computing the rows with
// their log-likelihood, sorting them and writing the saved table.
#include "frequency/corpus_comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "app/host.h"
#include "app/program_state.h"
#include "app/text_lines.h"
#include "frequency/word_count.h"
#include "search/language.h"

namespace korvane {
namespace {

constexpr const char* kReferenceTitles[] = {
    "Corpus Frequency List", "Alphabetical Word List", "Batch Frequency Data - Frequency Order",
    "Batch Frequency Data - Alphabetical Order"};

constexpr const char* kColumnHeadings[7] = {"Current Count", "Current Pct",   "Current Word", "Reference Count",
                                            "Reference Pct", "Pct Change",    "LL"};
constexpr const char* kSortCaptions[8] = {"Unsorted",        "Current Count",     "Current Percent",
                                          "Current Word",    "Reference Count",   "Reference Percent",
                                          "Percent change",  "LL"};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trimmed(const std::string& line) {
  std::size_t b = 0, e = line.size();
  while (b < e && IsBlankOrControl(line[b])) ++b;
  while (e > b && IsBlankOrControl(line[e - 1])) --e;
  return line.substr(b, e - b);
}

// A whole decimal number of at most 31 bits, or false.
bool ParseCount(const std::string& digits, std::int32_t& n) {
  if (digits.empty() || digits.size() > 10) return false;
  std::int64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > INT32_MAX) return false;
  n = static_cast<std::int32_t>(v);
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string Percent(long double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4Lf%%", v);
  return text;
}

std::string Cell(const TComparisonRow& row, int column) {
  char text[64];
  switch (column) {
    case 0: return std::to_string(row.CurrentCount);
    case 1: return Percent(row.CurrentPct);
    case 2: return row.Word;
    case 3: return std::to_string(row.ReferenceCount);
    case 4: return Percent(row.ReferencePct);
    case 5: return Percent(row.PctChange());
    default:
      std::snprintf(text, sizeof text, "%.4Lf", row.LL);
      return text;
  }
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareOn(TComparisonKey key, const TComparisonRow& a, const TComparisonRow& b,
              const LanguageState& language) {
  switch (key) {
    case ckCurrentCount: return Order(a.CurrentCount, b.CurrentCount);
    case ckCurrentPercent: return Order(a.CurrentPct, b.CurrentPct);
    case ckCurrentWord: return language.CompareStr(a.Word, b.Word, false);
    case ckReferenceCount: return Order(a.ReferenceCount, b.ReferenceCount);
    case ckReferencePercent: return Order(a.ReferencePct, b.ReferencePct);
    case ckPercentChange: return Order(a.PctChange(), b.PctChange());
    case ckLL: return Order(a.LL, b.LL);
    default: return 0;
  }
}

}  // namespace

std::unique_ptr<THashStrings> CurrentListFromRows(const std::vector<TWordListRow>& rows,
                                                  const LanguageState& language) {
  auto table = std::make_unique<THashStrings>(static_cast<int>(rows.size() / 2), language);
  for (const TWordListRow& row : rows) table->AddCount(row.Word, row.Count);
  return table;
}

TReferenceList ReadReferenceFile(ProgramState& state, const std::string& path, int bucketCount) {
  const std::vector<std::string> lines = ReadTextLines(path);

  const std::unique_ptr<TProgressForm> progress = state.host.CreateProgress(false);
  progress->Caption = "Corpus Frequency File";
  progress->ProgressLabel = "Reading...";
  progress->Show();

  const std::string title = lines.empty() ? std::string() : lines.front();
  if (std::none_of(std::begin(kReferenceTitles), std::end(kReferenceTitles),
                   [&](const char* t) { return title.find(t) != std::string::npos; }))
    throw Exception("Invalid frequency file!");

  TReferenceList list;
  list.Table = std::make_unique<THashStrings>(bucketCount, state.Language);
  const std::size_t open = title.find('(');
  const bool computeTotal = open == std::string::npos;
  if (!computeTotal) {
    const std::size_t space = title.find(' ', open + 1);
    if (!ParseCount(title.substr(open + 1, space == std::string::npos ? std::string::npos : space - open - 1),
                    list.Total))
      throw Exception("Invalid frequency file!");
  } else if (!state.host.AskYesNo("Missing word count.\r\nDo you want to calculata it?", true)) {
    throw EAbort();
  }

  std::int64_t sum = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::string line = Trimmed(lines[i]);
    if (line.empty()) continue;
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    std::int32_t count = 0;
    if (!ParseCount(line.substr(0, digits), count))
      throw Exception("Line " + std::to_string(i + 1) + " of " + path + " does not start with a count.");
    const std::size_t last = line.find_last_of(" \t");
    list.Table->AddCount(last == std::string::npos ? line : line.substr(last + 1), count);
    sum += count;
    progress->ProgressBar = static_cast<int>(100 * (i + 1) / lines.size());
    progress->Update();
    state.host.ProcessMessages();
    if (progress->Tag != 0) throw EAbort();
  }
  if (computeTotal) list.Total = static_cast<std::int32_t>(std::min<std::int64_t>(sum, INT32_MAX));
  return list;
}

std::vector<TComparisonRow> ComparisonRows(const THashStrings& current, std::int32_t totalWords,
                                           THashStrings& reference, std::int32_t referenceTotal,
                                           const LanguageState& language) {
  if (totalWords <= 0) throw EComparisonFailed("The current corpus has no counted words to compare.");
  if (referenceTotal <= 0) throw EComparisonFailed("The reference list has no words to compare.");
  const THashStrings* folded = &current;
  std::unique_ptr<THashStrings> copy;
  if (!current.CaseFolding) {
    copy = std::make_unique<THashStrings>(current.EntryCount(), language);
    for (int i = 0; i < current.EntryCount(); ++i) copy->AddCount(current.WordAt(i), current.CountAt(i));
    folded = copy.get();
  }
  for (int i = 0; i < folded->EntryCount(); ++i) reference.AddWord(folded->WordAt(i), false);

  const long double n1 = totalWords;
  const long double n2 = referenceTotal;
  const long double n = static_cast<long double>(static_cast<std::int64_t>(totalWords) + referenceTotal);
  std::vector<TComparisonRow> rows;
  rows.reserve(reference.EntryCount());
  for (int i = 0; i < reference.EntryCount(); ++i) {
    TComparisonRow row;
    row.Word = reference.WordAt(i);
    row.ReferenceCount = reference.CountAt(i);
    row.CurrentCount = folded->CountOf(row.Word);
    const long double c1 = row.CurrentCount;
    const long double c2 = row.ReferenceCount;
    row.CurrentPct = static_cast<float>(c1 / n1 * 100);
    row.ReferencePct = static_cast<float>(c2 / n2 * 100);
    const long double both = static_cast<long double>(static_cast<std::int64_t>(row.CurrentCount) + row.ReferenceCount);
    const long double e1 = n1 / n * both;
    const long double e2 = n2 / n * both;
    const long double term1 = row.CurrentCount != 0 ? c1 * std::log(c1 / e1) : 0;
    const long double term2 = row.ReferenceCount != 0 ? c2 * std::log(c2 / e2) : 0;
    row.LL = (term1 + term2) * 2;
    rows.push_back(std::move(row));
  }
  return rows;
}

TCorpusComparison CompareWithReference(ProgramState& state, const std::vector<TWordListRow>& rows,
                                       std::int32_t totalWords, const std::string& referencePath) {
  const std::unique_ptr<THashStrings> current = CurrentListFromRows(rows, state.Language);
  TReferenceList reference = ReadReferenceFile(state, referencePath, current->EntryCount());
  TCorpusComparison comparison;
  comparison.Rows = ComparisonRows(*current, totalWords, *reference.Table, reference.Total, state.Language);
  comparison.Reference = std::move(reference.Table);
  return comparison;
}

bool ParseComparisonSort(const std::string& text, TComparisonSort& sort) {
  TComparisonSort result;
  int level = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string item = Lower(Trimmed(text.substr(start, comma - start)));
    start = comma + 1;
    if (item.empty()) continue;
    bool descending = false;
    for (const char* suffix : {" desc", " asc"}) {
      const std::string s = suffix;
      if (item.size() > s.size() && item.compare(item.size() - s.size(), s.size(), s) == 0) {
        descending = s == " desc";
        item = Trimmed(item.substr(0, item.size() - s.size()));
      }
    }
    int key = -1;
    for (int k = 0; k < 8; ++k)
      if (item == Lower(kSortCaptions[k])) key = k;
    for (int c = 0; c < 7 && key < 0; ++c)
      if (item == Lower(kColumnHeadings[c])) key = c + 1;
    if (key < 0 || level == 3) return false;
    result.Key[level] = static_cast<TComparisonKey>(key);
    result.Descending[level] = descending;
    ++level;
  }
  sort = result;
  return true;
}

void SortComparisonRows(std::vector<TComparisonRow>& rows, const TComparisonSort& sort,
                        const LanguageState& language) {
  if (sort.Key[0] == ckUnsorted && sort.Key[1] == ckUnsorted && sort.Key[2] == ckUnsorted) return;
  std::sort(rows.begin(), rows.end(), [&](const TComparisonRow& a, const TComparisonRow& b) {
    for (int level = 0; level < 3; ++level) {
      int c = CompareOn(sort.Key[level], a, b, language);
      if (sort.Descending[level]) c = -c;
      if (c != 0) return c < 0;
    }
    return false;
  });
}

void WriteComparisonFile(std::ostream& out, const std::vector<TComparisonRow>& rows,
                         const TComparisonColumns& columns, TProgressForm* progress) {
  auto writeLine = [&](auto cellOf) {
    bool first = true;
    for (int c = 0; c < 7; ++c) {
      if (!columns.Show[c]) continue;
      if (!first) out << '\t';
      out << cellOf(c);
      first = false;
    }
    out << "\r\n";
  };
  writeLine([](int c) { return std::string(kColumnHeadings[c]); });
  for (std::size_t i = 0; i < rows.size(); ++i) {
    writeLine([&](int c) { return Cell(rows[i], c); });
    if (progress != nullptr) {
      progress->ProgressBar = static_cast<int>(100 * (i + 1) / rows.size());
      progress->Update();
      if (progress->Tag != 0) break;
    }
  }
}

}  // namespace korvane
