// korvane-cli search: a concordance search over the texts given, written in
// the text export format (or HTML), or only counted.
//
//   search PATTERN [options] TEXT...
//
// Every pattern is checked as the search dialog checks it; an invalid one
// prints the dialog's message and exits with 1. Options that are not given
// take their values from the configuration (IgnoreCase, UseSkipEqualChars,
// SentenceMode, MaximumHits, FrequencyOfHits, the context type and sizes).
#include <limits>

#include "commands.h"
#include "corpus/corpus_loader.h"
#include "output/concordance_writer.h"
#include "results/concord_items.h"
#include "search/pattern_validation.h"
#include "search/search.h"
#include "tags/tag_info.h"

namespace korvane::cli {
namespace {

std::int32_t ParseNumber(const std::string& name, const std::string& value, std::int32_t low) {
  try {
    std::size_t used = 0;
    const long n = std::stol(value, &used);
    if (used == value.size() && n >= low && n <= std::numeric_limits<std::int32_t>::max())
      return static_cast<std::int32_t>(n);
  } catch (const std::exception&) {
  }
  throw UsageError(name + " needs a whole number from " + std::to_string(low) + " up");
}

std::int32_t NumberOption(CommandArgs& args, const std::string& name, std::int32_t fallback,
                          std::int32_t low = 1) {
  const std::optional<std::string> value = args.Value(name);
  return value ? ParseNumber(name, *value, low) : fallback;
}

// "--context chars|words|lines|sentence[:SIZE]".
void ApplyContextOption(const std::string& text, TConcordDisplay& display) {
  static const char* const kNames[] = {"chars", "words", "lines", "sentence"};
  const std::size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  int type = -1;
  for (int i = 0; i < 4; ++i)
    if (name == kNames[i]) type = i;
  if (type < 0) throw UsageError("--context needs chars, words, lines or sentence");
  display.ContextType = static_cast<std::uint8_t>(type);
  if (colon != std::string::npos)
    display.ContextSizes[type] = ParseNumber("--context", text.substr(colon + 1), 0);
}

// Checks one pattern; shows the error of an invalid one. False when the
// search may not run.
bool CheckPattern(CommandContext& context, const std::string& pattern, TPatternRole role,
                  const TSearchRec& request) {
  const TPatternCheck check =
      ValidatePattern(context.state, pattern, role, request.Mode, request.Has(sfSkipEqual));
  if (check.Outcome == TPatternCheck::Invalid) context.host.ShowError(check.Error);
  return check.Outcome == TPatternCheck::Accepted;
}

}  // namespace

TSearchMode SearchModeOption(CommandArgs& args) {
  const bool regex = args.Flag("--regex");
  const bool tag = args.Flag("--tag");
  if (regex && tag) throw UsageError("--regex and --tag exclude each other");
  return regex ? smRegex : tag ? smTag : smText;
}

bool PrepareSearch(CommandContext& context, const TSearchRec& request, TSearch& search) {
  std::string message;
  if (search.Prepare(request, message) == esNone) return true;
  context.host.ShowError(message);
  return false;
}

int RunSearch(CommandContext& context, CommandArgs& args) {
  ProgramState& state = context.state;
  ConcordConfig& config = state.ConcordConfig;
  const bool countOnly = args.Flag("--count");
  const std::int32_t maximum = NumberOption(args, "--max-hits", config.MaximumHits);
  config.FrequencyOfHits = NumberOption(args, "--every", config.FrequencyOfHits);

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
    if (!state.Headings.Lookup(*heading, state.Language, record))
      throw UsageError("no heading named " + *heading);
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

  TConcordDisplay display;
  display.ContextType = config.ContextType;
  std::copy(std::begin(config.ContextSizes), std::end(config.ContextSizes), display.ContextSizes);
  if (const auto text = args.Value("--context")) ApplyContextOption(*text, display);
  display.ConcealHits = args.Flag("--conceal-hits");
  display.ConcealCollocates = args.Flag("--conceal-collocates");
  bool suppressTags = false, suppressPos = false, suppressWords = false;
  for (const std::string& what : args.Values("--suppress")) {
    if (what == "tags") suppressTags = true;
    else if (what == "pos") suppressPos = true;
    else if (what == "words") suppressWords = true;
    else throw UsageError("--suppress takes tags, pos or words");
  }
  const bool html = args.Flag("--html");
  const bool fileNames = args.Flag("--file-names");
  const bool labels = args.Flag("--labels");
  const bool lineNumbers = args.Flag("--line-numbers");
  const bool pageNumbers = args.Flag("--page-numbers");
  const bool relativeLines = args.Flag("--relative-lines");
  const bool trackedTags = args.Flag("--tracked-tags");
  const std::int32_t limit = NumberOption(args, "--limit", 0, 0);
  const std::optional<std::string> sortText = args.Value("--sort");

  std::vector<std::string> positionals = args.Positionals();
  if (positionals.empty()) throw UsageError("search needs a pattern");
  const std::string pattern = positionals.front();
  positionals.erase(positionals.begin());
  if (pattern.find_first_not_of(" \t") == std::string::npos) throw UsageError("the pattern is empty");

  if (!CheckPattern(context, pattern, TPatternRole::SearchTerm, request)) return 1;
  if (heading && !CheckPattern(context, request.HeadingPattern, TPatternRole::HeadingPattern, request)) return 1;
  if (left && !CheckPattern(context, request.LeftContext, TPatternRole::LeftContextPattern, request)) return 1;
  if (right && !right->empty() &&
      !CheckPattern(context, request.RightContext, TPatternRole::RightContextPattern, request))
    return 1;
  request.Patterns = {pattern};
  request.PatternNames = {pattern};

  LoadTextArguments(context, positionals);
  TSearch search(state);
  if (!PrepareSearch(context, request, search)) return 1;

  TConcordItems list(state);
  list.SetDisplay(display);
  list.SuppressTags = suppressTags;
  list.SuppressPartOfSpeech = suppressPos;
  list.SuppressWords = suppressWords;
  list.CollocColor = config.CollocateFont.Color;
  std::int64_t count = 0;
  std::int32_t serial = 0;
  search.Execute(maximum, [&](std::unique_ptr<TConcordItem> item) {
    ++count;
    if (countOnly) return;
    item->Serial = serial++;
    list.Add(std::move(item));
  });
  if (countOnly) {
    context.out << count << '\n';
    return 0;
  }
  if (sortText && !SortByOption(context, *sortText, list)) return 1;

  TConcordanceOutputOptions options = DefaultOutputOptions(list, state.corpus);
  options.Html = html;
  options.ShowFileNames = options.ShowFileNames || fileNames;
  options.SortLabels = labels;
  options.LineNumbers = lineNumbers;
  options.PageNumbers = pageNumbers;
  options.RelativeLines = relativeLines;
  options.TrackedTags = trackedTags;
  options.MaximumLines = limit;
  TTagInfo tags(state);
  TConcordanceWriter writer(state, list, tags, options);
  writer.Write(context.out, pattern);
  return 0;
}

}  // namespace korvane::cli
