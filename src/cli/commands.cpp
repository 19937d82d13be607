#include "commands.h"

#include "corpus/corpus_loader.h"
#include "frequency/word_count.h"
#include "net/url_loading.h"

namespace korvane::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info", RunInfo},
      {"search", RunSearch},
      {"batch", RunBatch, true},
      {"wordlist", RunWordList},
      {"batchfreq", RunBatchFreq},
      {"compare", RunCompare},
      {"collocates", RunCollocates},
      {"advcolloc", RunAdvancedColloc},
      {"tags", RunTags},
      {"distribution", RunDistribution, true},
      {"workspace-save", RunWorkspaceSave},
  };
  return commands;
}

void LoadTextArguments(CommandContext& context, const std::vector<std::string>& names) {
  if (!names.empty()) LoadTexts(context.state, names);
  // A command works on complete texts: wait for the downloads it started.
  WaitForURLDownloads(context.state);
}

int RunInfo(CommandContext& context, CommandArgs& args) {
  const bool count = args.Flag("--count");
  LoadTextArguments(context, args.Positionals());
  if (count) EnsureCorpusWordTable(context.state);
  context.out << CorpusInfoText(context.state.corpus) << "\n"
              << StatusLineText(context.state.corpus) << "\n";
  return 0;
}

}  // namespace korvane::cli
