// korvane-cli commands of the frequency features:
//
//   wordlist [--alpha] [--lines N] [--words-only] TEXT...
//       the saved word-list file (frequency or alphabetical order);
//   batchfreq [--alpha] TEXT...
//       the batch frequency data file;
//   collocates PATTERN TEXT...
//       the collocate table of the concordance of PATTERN (CollocationSpan);
//   advcolloc PATTERN (--positions TEXT | --span N) TEXT...
//       the advanced collocation list, saved as a word list;
//   compare REFERENCE [--sort KEYS] TEXT...
//       the corpus comparison table of the corpus frequency list (as the
//       word-list window shows it) against a saved list; a comparison that
//       cannot be computed prints its reason and exits with 1.
//
// A cancelled word count (Ctrl-C) writes nothing.
#include <limits>

#include "commands.h"
#include "corpus/corpus_loader.h"
#include "frequency/advanced_collocation.h"
#include "frequency/collocates.h"
#include "results/concord_items.h"
#include "search/search.h"
#include "frequency/corpus_comparison.h"
#include "frequency/word_count.h"
#include "frequency/word_list.h"

namespace korvane::cli {
namespace {

// Searches the corpus for pattern (every hit, text syntax) into items. False
// when the pattern was refused (its message shown).
bool SearchInto(CommandContext& context, const std::string& pattern, TConcordItems& items) {
  TSearchRec request;
  request.Mode = smText;
  request.Patterns = request.PatternNames = {pattern};
  return RunSearchInto(context, request, INT32_MAX, items);
}

}  // namespace

int RunCollocates(CommandContext& context, CommandArgs& args) {
  std::vector<std::string> positionals = args.Positionals();
  const std::string pattern = TakePattern(positionals, "collocates");
  LoadTextArguments(context, positionals);
  ProgramState& state = context.state;
  TConcordItems items(state);
  if (!SearchInto(context, pattern, items)) return 1;
  const int span = state.FreqSettings.CollocationSpan;
  BuildCollocates(items, state, SpanFirstSlot(span), SpanLastSlot(span));
  WriteCollocateTable(context.out, items, state, pattern, 0);
  return 0;
}

int RunAdvancedColloc(CommandContext& context, CommandArgs& args) {
  const std::optional<std::string> positionsText = args.Value("--positions");
  const std::optional<std::string> spanText = args.Value("--span");
  if (positionsText.has_value() == spanText.has_value())
    throw UsageError("advcolloc needs either --positions TEXT or --span N");
  int span = 0;
  TAdvancedSortColList positions;
  if (spanText) {
    if (spanText->size() != 1 || (*spanText)[0] < '0' + kMinSpanNumber || (*spanText)[0] > '0' + kMaxSpanNumber)
      throw UsageError("--span needs a number from 2 to 5");
    span = (*spanText)[0] - '0';
  } else {
    int errorPosition = 0;
    if (!ParseCustomText(*positionsText, TCustomTextMode::Collocation, &context.host, errorPosition, positions)) {
      if (context.host.ErrorShown()) return 1;
      throw UsageError("--positions needs positions such as \"2l, 1r\"");
    }
  }
  std::vector<std::string> positionals = args.Positionals();
  const std::string pattern = TakePattern(positionals, "advcolloc");
  LoadTextArguments(context, positionals);
  ProgramState& state = context.state;
  TConcordItems items(state);
  if (!SearchInto(context, pattern, items)) return 1;
  const TWordList list = AdvancedCollocationList(items, state, positions, span);
  WriteWordListFile(context.out, list, state.corpus.TotalWords, 0, true);
  return 0;
}

int RunWordList(CommandContext& context, CommandArgs& args) {
  const bool alphabetical = args.Flag("--alpha");
  const std::int32_t lines = NumberOption(args, "--lines", 0, 0);
  const bool withFrequencies = !args.Flag("--words-only");
  LoadTextArguments(context, args.Positionals());
  TWordList list;
  if (!BuildCorpusWordList(context.state, alphabetical, list)) return 0;
  WriteWordListFile(context.out, list, context.state.corpus.TotalWords, lines, withFrequencies);
  return 0;
}

int RunBatchFreq(CommandContext& context, CommandArgs& args) {
  const bool alphabetical = args.Flag("--alpha");
  LoadTextArguments(context, args.Positionals());
  if (!ConfirmUnfinishedURLs(context.state)) return 0;
  WriteBatchFrequencyFile(context.out, context.state, alphabetical);
  return 0;
}

int RunCompare(CommandContext& context, CommandArgs& args) {
  const std::optional<std::string> sort = args.Value("--sort");
  std::vector<std::string> positionals = args.Positionals();
  if (positionals.empty()) throw UsageError("compare needs a reference file");
  const std::string reference = positionals.front();
  positionals.erase(positionals.begin());
  TComparisonSort order;
  if (sort && !ParseComparisonSort(*sort, order)) throw UsageError("--sort: unknown column in \"" + *sort + "\"");
  LoadTextArguments(context, positionals);
  ProgramState& state = context.state;
  // The current list is the corpus frequency list as its window would show it.
  TWordList list;
  if (!BuildCorpusWordList(state, false, list)) return 0;
  TCorpusComparison comparison = CompareWithReference(state, list.Rows, state.corpus.TotalWords, reference);
  SortComparisonRows(comparison.Rows, order, state.Language);
  WriteComparisonFile(context.out, comparison.Rows, TComparisonColumns{});
  return 0;
}

}  // namespace korvane::cli
