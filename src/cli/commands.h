// The commands of korvane-cli. Each command reads its own options, runs one
// operation of the core on the loaded corpus and writes its result to out.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "cli_host.h"
#include "cli_options.h"
#include "search/search_rec.h"

namespace korvane {
class TConcordItems;
class TSearch;
}

namespace korvane::cli {

struct CommandContext {
  ProgramState& state;
  CliHost& host;
  const GlobalOptions& global;
  std::ostream& out;
};

// A command returns its exit status: 0 done, 1 an error was shown.
using CommandFunction = int (*)(CommandContext&, CommandArgs&);

struct Command {
  const char* name;
  CommandFunction run;
  // The command opens -o FILE itself (to append to it, say).
  bool ownsOutput = false;
};

// Every command, by name.
const std::vector<Command>& Commands();

// Loads the positional arguments that are not the command's own as texts.
void LoadTextArguments(CommandContext& context, const std::vector<std::string>& names);

int RunInfo(CommandContext& context, CommandArgs& args);
int RunSearch(CommandContext& context, CommandArgs& args);
int RunBatch(CommandContext& context, CommandArgs& args);
// The search syntax chosen by --regex or --tag (text otherwise). Throws
// UsageError when both are given.
TSearchMode SearchModeOption(CommandArgs& args);
// Prepares search for request; shows the preparation error and returns false
// when a pattern does not compile.
bool PrepareSearch(CommandContext& context, const TSearchRec& request, TSearch& search);
// Sorts list by a customised sort text ("1r,0"); false after its error was shown.
bool SortByOption(CommandContext& context, const std::string& text, TConcordItems& list);
int RunWordList(CommandContext& context, CommandArgs& args);
int RunBatchFreq(CommandContext& context, CommandArgs& args);
int RunCompare(CommandContext& context, CommandArgs& args);
int RunCollocates(CommandContext& context, CommandArgs& args);
int RunAdvancedColloc(CommandContext& context, CommandArgs& args);
int RunTags(CommandContext& context, CommandArgs& args);
int RunWorkspaceSave(CommandContext& context, CommandArgs& args);

}  // namespace korvane::cli
