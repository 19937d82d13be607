// korvane-cli distribution: where the hits of a search fall in the corpus,
// written as the table that the distribution window saves.
//
//   distribution PATTERN [search options] [--scope corpus|files|N] [--step PERCENT] TEXT...
//
// The search options are those of korvane-cli search that shape the request
// (--regex | --tag, --case-sensitive, --skip-equal, --sentence, --heading NAME
// --heading-pattern P, --left P [--right P], --max-hits N, --every N). The
// scope is the entire corpus, one bar per text ("files"), or text N alone
// (1 the first text); without --scope it is what the window opens with: the
// entire corpus for fewer than two texts, else one bar per text. The step
// is one of 2, 5, 10, 20, 25, 33 and 50 percent (5 when not given). With -o
// FILE the table replaces FILE as a whole, so a failed run leaves the old
// file.
#include "commands.h"
#include "results/concord_items.h"
#include "tags/hits_distribution.h"

namespace korvane::cli {
namespace {

// The step index of "--step 5" or "--step 5%".
int StepOption(CommandArgs& args) {
  const std::optional<std::string> value = args.Value("--step");
  if (!value) return kDefaultStepIndex;
  std::string digits = *value;
  if (!digits.empty() && digits.back() == '%') digits.pop_back();
  int index = -1;
  try {
    std::size_t used = 0;
    const int percent = std::stoi(digits, &used);
    if (used == digits.size()) index = StepIndexOf(percent);
  } catch (const std::exception&) {
  }
  if (index < 0) throw UsageError("--step takes 2, 5, 10, 20, 25, 33 or 50");
  return index;
}

// The scope of "--scope corpus|files|N" once the texts are loaded.
std::int32_t ScopeOption(const std::optional<std::string>& value, const Corpus& corpus) {
  if (!value) return DefaultScope(corpus);
  if (*value == "corpus") return kScopeEntireCorpus;
  if (*value == "files") return kScopeFiles;
  if (corpus.Empty()) throw UsageError("--scope N needs texts");
  return kScopeFirstText + ParseNumber("--scope", *value, 1, corpus.Count()) - 1;
}

}  // namespace

int RunDistribution(CommandContext& context, CommandArgs& args) {
  ProgramState& state = context.state;
  ConcordConfig& config = state.ConcordConfig;
  const std::int32_t maximum = NumberOption(args, "--max-hits", config.MaximumHits);
  config.FrequencyOfHits = NumberOption(args, "--every", config.FrequencyOfHits);
  const std::optional<std::string> scopeText = args.Value("--scope");
  const int stepIndex = StepOption(args);
  TSearchRec request = SearchRequestOptions(state, args);

  std::vector<std::string> positionals = args.Positionals();
  const std::string pattern = TakePattern(positionals, "distribution");
  request.Patterns = request.PatternNames = {pattern};
  if (!CheckRequestPatterns(context, request)) return 1;

  LoadTextArguments(context, positionals);
  const std::int32_t scope = ScopeOption(scopeText, state.corpus);
  TConcordItems list(state);
  if (!RunSearchInto(context, request, maximum, list) || !PrepareLineTables(state)) return 1;

  const TDistribution dist = ComputeDistribution(state.corpus, list, scope, stepIndex);
  if (context.global.Output)
    SaveDistribution(*context.global.Output, dist);
  else
    context.out << DistributionTableText(dist);
  return 0;
}

}  // namespace korvane::cli
