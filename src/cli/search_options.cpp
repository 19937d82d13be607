// The search options that korvane-cli commands share: whole-number options,
// the search syntax, the request switches (case, skipping and equal
// characters, sentence mode, heading and context search), checking every
// pattern of a request as the search dialog does, and preparing the search.
// Switches not given take their values from the configuration.
#include <limits>

#include "commands.h"
#include "results/concord_items.h"
#include "search/pattern_validation.h"
#include "search/search.h"

namespace korvane::cli {

std::int32_t ParseNumber(const std::string& name, const std::string& value, std::int32_t low,
                         std::int32_t high) {
  try {
    std::size_t used = 0;
    const long n = std::stol(value, &used);
    if (used == value.size() && n >= low && n <= high) return static_cast<std::int32_t>(n);
  } catch (const std::exception&) {
  }
  if (high == std::numeric_limits<std::int32_t>::max())
    throw UsageError(name + " needs a whole number from " + std::to_string(low) + " up");
  throw UsageError(name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high));
}

std::int32_t NumberOption(CommandArgs& args, const std::string& name, std::int32_t fallback, std::int32_t low) {
  const std::optional<std::string> value = args.Value(name);
  return value ? ParseNumber(name, *value, low) : fallback;
}

TSearchMode SearchModeOption(CommandArgs& args) {
  const bool regex = args.Flag("--regex");
  const bool tag = args.Flag("--tag");
  if (regex && tag) throw UsageError("--regex and --tag exclude each other");
  return regex ? smRegex : tag ? smTag : smText;
}

TSearchRec SearchRequestOptions(ProgramState& state, CommandArgs& args) {
  ConcordConfig& config = state.ConcordConfig;
  TSearchRec request;
  request.Mode = SearchModeOption(args);
  if (args.Flag("--case-sensitive") || !config.IgnoreCase) request.Flags |= sfCaseSensitive;
  if (args.Flag("--skip-equal") || config.UseSkipEqualChars) {
    request.Flags |= sfSkipEqual;
    request.SkippingChars = config.SkippingChars;
    config.UseSkipEqualChars = true;
  }
  if (args.Flag("--sentence") || config.SentenceMode) {
    request.Flags |= sfSentenceMode;
    config.SentenceMode = true;
  }
  const std::optional<std::string> heading = args.Value("--heading");
  const std::optional<std::string> headingPattern = args.Value("--heading-pattern");
  if (heading.has_value() != headingPattern.has_value())
    throw UsageError("--heading and --heading-pattern go together");
  if (heading) {
    THeadRecord record;
    if (!state.Headings.Lookup(*heading, state.Language, record)) throw UsageError("no heading named " + *heading);
    request.Flags |= sfHeadingSearch;
    request.HeadStart = record.HeadStart;
    request.HeadStop = record.HeadStop;
    request.TextStart = record.TextStart;
    request.TextStop = record.TextStop;
    request.HeadingPattern = *headingPattern;
  }
  const std::optional<std::string> left = args.Value("--left");
  const std::optional<std::string> right = args.Value("--right");
  if (right && !left) throw UsageError("--right needs --left");
  if (left) {
    request.Flags |= sfContextSearch;
    request.LeftContext = *left;
    request.RightContext = right.value_or("");
  }
  return request;
}

std::string TakePattern(std::vector<std::string>& positionals, const std::string& command) {
  if (positionals.empty()) throw UsageError(command + " needs a pattern");
  const std::string pattern = positionals.front();
  positionals.erase(positionals.begin());
  if (pattern.find_first_not_of(" \t") == std::string::npos) throw UsageError("the pattern is empty");
  return pattern;
}

bool CheckRequestPatterns(CommandContext& context, const TSearchRec& request) {
  std::vector<std::pair<std::string, TPatternRole>> patterns;
  for (const std::string& pattern : request.Patterns) patterns.emplace_back(pattern, TPatternRole::SearchTerm);
  if (request.Has(sfHeadingSearch)) patterns.emplace_back(request.HeadingPattern, TPatternRole::HeadingPattern);
  if (request.Has(sfContextSearch)) {
    patterns.emplace_back(request.LeftContext, TPatternRole::LeftContextPattern);
    if (!request.RightContext.empty()) patterns.emplace_back(request.RightContext, TPatternRole::RightContextPattern);
  }
  for (const auto& [pattern, role] : patterns) {
    const TPatternCheck check = ValidatePattern(context.state, pattern, role, request.Mode, request.Has(sfSkipEqual));
    if (check.Outcome == TPatternCheck::Invalid) context.host.ShowError(check.Error);
    if (check.Outcome != TPatternCheck::Accepted) return false;
  }
  return true;
}

bool PrepareSearch(CommandContext& context, const TSearchRec& request, TSearch& search) {
  std::string message;
  if (search.Prepare(request, message) == esNone) return true;
  context.host.ShowError(message);
  return false;
}

bool RunSearchInto(CommandContext& context, const TSearchRec& request, std::int32_t maximum, TConcordItems& items) {
  if (!CheckRequestPatterns(context, request)) return false;
  TSearch search(context.state);
  if (!PrepareSearch(context, request, search)) return false;
  std::int32_t serial = 0;
  search.Execute(maximum, [&](std::unique_ptr<TConcordItem> item) {
    item->Serial = serial++;
    items.Add(std::move(item));
  });
  return true;
}

}  // namespace korvane::cli
