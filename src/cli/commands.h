// The commands of korvane-cli. Each command reads its own options, runs one
// operation of the core on the loaded corpus and writes its result to out.
#pragma once

#include <climits>
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

// --- Search options shared by the commands that search ---------------------
// A whole number from low to high; throws UsageError naming the option.
std::int32_t ParseNumber(const std::string& name, const std::string& value, std::int32_t low,
                         std::int32_t high = INT32_MAX);
// The option's whole number (low and up), or fallback when it is not given.
std::int32_t NumberOption(CommandArgs& args, const std::string& name, std::int32_t fallback,
                          std::int32_t low = 1);
// The search syntax chosen by --regex or --tag (text otherwise). Throws
// UsageError when both are given.
TSearchMode SearchModeOption(CommandArgs& args);
// The request of --regex/--tag, --case-sensitive, --skip-equal, --sentence,
// --heading NAME --heading-pattern P and --left P [--right P]; switches not
// given come from the configuration (which takes the skipping and sentence
// switches the request uses, as the search dialog sets them).
TSearchRec SearchRequestOptions(ProgramState& state, CommandArgs& args);
// Takes the pattern off the front of positionals; throws UsageError when
// there is none or it is blank.
std::string TakePattern(std::vector<std::string>& positionals, const std::string& command);
// Checks every pattern of the request (search patterns, heading pattern,
// contexts) as the search dialog does; shows the error of an invalid one and
// returns false when the search may not run.
bool CheckRequestPatterns(CommandContext& context, const TSearchRec& request);
// Prepares search for request; shows the preparation error and returns false
// when a pattern does not compile.
bool PrepareSearch(CommandContext& context, const TSearchRec& request, TSearch& search);
// Checks the request's patterns, then runs the search over the loaded texts
// (at most maximum hits), numbering the hits into items in the order found.
// False when the search could not run (its message shown).
bool RunSearchInto(CommandContext& context, const TSearchRec& request, std::int32_t maximum, TConcordItems& items);

// Sorts list by a customised sort text ("1r,0"); false after its error was shown.
bool SortByOption(CommandContext& context, const std::string& text, TConcordItems& list);
int RunWordList(CommandContext& context, CommandArgs& args);
int RunBatchFreq(CommandContext& context, CommandArgs& args);
int RunCompare(CommandContext& context, CommandArgs& args);
int RunCollocates(CommandContext& context, CommandArgs& args);
int RunAdvancedColloc(CommandContext& context, CommandArgs& args);
int RunTags(CommandContext& context, CommandArgs& args);
int RunDistribution(CommandContext& context, CommandArgs& args);
int RunWorkspaceSave(CommandContext& context, CommandArgs& args);

}  // namespace korvane::cli
