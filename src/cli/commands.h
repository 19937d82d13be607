// The commands of korvane-cli. Each command reads its own options, runs one
// operation of the core on the loaded corpus and writes its result to out.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "cli_host.h"
#include "cli_options.h"

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
};

// Every command, by name.
const std::vector<Command>& Commands();

// Loads the positional arguments that are not the command's own as texts.
void LoadTextArguments(CommandContext& context, const std::vector<std::string>& names);

int RunInfo(CommandContext& context, CommandArgs& args);
int RunSearch(CommandContext& context, CommandArgs& args);

}  // namespace korvane::cli
