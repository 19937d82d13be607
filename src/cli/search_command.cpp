// korvane-cli search: a concordance search over the texts given, written in
// the text export format (or HTML), or only counted.
//
//   search PATTERN [options] TEXT...
//
// Every pattern is checked as the search dialog checks it; an invalid one
// prints the dialog's message and exits with 1. Options that are not given
// take their values from the configuration (IgnoreCase, UseSkipEqualChars,
// SentenceMode, MaximumHits, FrequencyOfHits, the context type and sizes).
#include "commands.h"
#include "corpus/corpus_loader.h"
#include "output/concordance_writer.h"
#include "results/concord_items.h"
#include "search/search.h"
#include "tags/tag_info.h"

namespace korvane::cli {
namespace {

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

}  // namespace

int RunSearch(CommandContext& context, CommandArgs& args) {
  ProgramState& state = context.state;
  ConcordConfig& config = state.ConcordConfig;
  const bool countOnly = args.Flag("--count");
  const std::int32_t maximum = NumberOption(args, "--max-hits", config.MaximumHits);
  config.FrequencyOfHits = NumberOption(args, "--every", config.FrequencyOfHits);

  TSearchRec request = SearchRequestOptions(state, args);

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
  const std::string pattern = TakePattern(positionals, "search");
  request.Patterns = {pattern};
  request.PatternNames = {pattern};
  if (!CheckRequestPatterns(context, request)) return 1;

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
