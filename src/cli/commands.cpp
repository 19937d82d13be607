#include "commands.h"

#include "corpus/corpus_loader.h"

namespace korvane::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info", RunInfo},
  };
  return commands;
}

void LoadTextArguments(CommandContext& context, const std::vector<std::string>& names) {
  if (!names.empty()) LoadTexts(context.state, names);
}

int RunInfo(CommandContext& context, CommandArgs& args) {
  LoadTextArguments(context, args.Positionals());
  context.out << CorpusInfoText(context.state.corpus) << "\n"
              << StatusLineText(context.state.corpus) << "\n";
  return 0;
}

}  // namespace korvane::cli
