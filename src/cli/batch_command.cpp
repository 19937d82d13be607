// korvane-cli batch: a batch search of the patterns in a pattern file, with
// its hits written to the file given by -o, and the customised sort of
// korvane-cli search ("--sort TEXT").
//
//   batch PATTERN-FILE -o FILE [--append] [--html] [--regex | --tag] TEXT...
//
// The pattern file is split as the search dialog splits its batch list
// (commas separate text and tag patterns; a regular expression is a whole
// line). The context, suppress and sort settings are the batch options of
// the configuration; the customised batch sort is never on, as after the
// desktop program starts.
#include <fstream>
#include <limits>

#include "app/errors.h"
#include "app/text_lines.h"
#include "commands.h"
#include "results/concord_items.h"
#include "results/custom_sort.h"
#include "results/sort.h"
#include "search/batch_search.h"
#include "search/pattern_validation.h"
#include "search/search.h"
#include "tags/tag_info.h"

namespace korvane::cli {

// Sorts list by the customised sort text of "--sort"; a text that does not
// parse shows its message and returns false.
bool SortByOption(CommandContext& context, const std::string& text, TConcordItems& list) {
  TAdvancedSortColList keys;
  int position = 0;
  if (!ParseCustomText(text, TCustomTextMode::Sort, &context.host, position, keys)) {
    if (text.find_first_not_of(' ') == std::string::npos) throw UsageError("--sort needs a text");
    return false;
  }
  TAdvancedSortColOptions options;
  options.CustomText = text;
  TTagInfo tags(context.state);
  SortConcordance(list, options, &keys, tags, context.state);
  return true;
}

int RunBatch(CommandContext& context, CommandArgs& args) {
  ProgramState& state = context.state;
  const ConcordConfig& config = state.ConcordConfig;
  TBatchOutput output;
  output.Append = args.Flag("--append");
  output.Options.Html = args.Flag("--html");
  const TSearchMode mode = SearchModeOption(args);
  if (!context.global.Output) throw UsageError("batch needs -o FILE");
  output.Path = *context.global.Output;

  std::vector<std::string> positionals = args.Positionals();
  if (positionals.empty()) throw UsageError("batch needs a pattern file");
  std::vector<std::string> lines = ReadTextLines(positionals.front());
  positionals.erase(positionals.begin());

  TSearchRec request;
  request.Mode = mode;
  if (!config.IgnoreCase) request.Flags |= sfCaseSensitive;
  if (config.UseSkipEqualChars) {
    request.Flags |= sfSkipEqual;
    request.SkippingChars = config.SkippingChars;
  }
  if (config.SentenceMode) request.Flags |= sfSentenceMode;
  const TBatchPatterns split = SplitBatchPatterns(lines, request.Mode);
  if (split.Patterns.empty()) {
    context.host.ShowError("This is an empty patterns list.");
    return 1;
  }
  for (const std::string& pattern : split.Patterns) {
    const TPatternCheck check = ValidatePattern(state, pattern, TPatternRole::SearchPattern,
                                                request.Mode, request.Has(sfSkipEqual));
    if (check.Outcome == TPatternCheck::Invalid) context.host.ShowError(check.Error);
    if (check.Outcome != TPatternCheck::Accepted) return 1;
  }
  request.Patterns = request.PatternNames = split.Patterns;

  LoadTextArguments(context, positionals);
  TSearch search(state);
  if (!PrepareSearch(context, request, search)) return 1;
  TTagInfo tags(state);
  TBatchSearch batch(state, tags, output);
  batch.Run(search, split.Patterns);
  return 0;
}

}  // namespace korvane::cli
