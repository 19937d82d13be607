// korvane-cli: opens a corpus, runs one operation of the core, writes the
// result in the program's own file format and exits.
//   0 done, 1 an error (its message on standard error), 2 bad usage,
//   130 interrupted by Ctrl-C (what was found so far is still written).
#include <fstream>
#include <iostream>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/workspace.h"
#include "cli_host.h"
#include "cli_options.h"
#include "corpus/corpus_loader.h"
#include "commands.h"

#ifndef KORVANE_VERSION
#define KORVANE_VERSION "0"
#endif

namespace korvane::cli {
namespace {

constexpr const char* kUsage =
    "usage: korvane-cli [global options] COMMAND [command options] [TEXT ...]\n"
    "\n"
    "global options:\n"
    "  --ini FILE                 read settings from FILE (never written)\n"
    "  --set SECTION.KEY=VALUE    override a configuration key after reading\n"
    "  --workspace FILE.KWS       open a workspace; TEXT arguments are added after its texts\n"
    "  --yes | --no               answer every question\n"
    "  --quiet                    no progress on standard error\n"
    "  -o, --output FILE          write the result to FILE\n"
    "  -h, --help, --version\n"
    "\n"
    "commands:\n"
    "  info [--count] TEXT...     the corpus info and status-line texts (--count: count words first)\n"
    "  search PATTERN [options] TEXT...\n"
    "                             a concordance (text export format, --html for HTML):\n"
    "                             --regex | --tag, --case-sensitive, --skip-equal, --sentence,\n"
    "                             --heading NAME --heading-pattern P, --left P [--right P],\n"
    "                             --context chars|words|lines|sentence[:SIZE], --max-hits N,\n"
    "                             --every N, --sort TEXT, --file-names, --line-numbers,\n"
    "                             --page-numbers, --relative-lines, --tracked-tags, --labels,\n"
    "                             --conceal-hits, --conceal-collocates,\n"
    "                             --suppress tags|pos|words, --limit N, --count\n"
    "  batch PATTERN-FILE -o FILE [--append] [--html] [--regex | --tag] TEXT...\n"
    "                             a batch search into FILE\n"
    "  wordlist [--alpha] TEXT... the word list of the corpus\n"
    "  batchfreq [--alpha] TEXT...\n"
    "                             the batch frequency data\n"
    "  compare REFERENCE [--sort SPEC] TEXT...\n"
    "                             the corpus comparison table\n"
    "  collocates PATTERN TEXT... the collocate table of a search\n"
    "  advcolloc PATTERN (--positions TEXT | --span N) TEXT...\n"
    "                             the advanced collocation list\n"
    "  distribution PATTERN [search options] [--scope corpus|files|N] [--step PERCENT] TEXT...\n"
    "                             the hits distribution table (N: the N-th text alone)\n"
    "  tags TEXT...               collect tag information; per text its lines, pages and words\n"
    "  workspace-save FILE.KWS [--keep l,t,f,u|none] TEXT...\n"
    "                             save the settings and texts as a workspace, keeping line and\n"
    "                             page tables (l), tracked-tag tables (t), the corpus word\n"
    "                             table (f) and downloaded URLs (u)\n";

// Reads the settings as the desktop program does, then applies --set. With
// --workspace the workspace's settings and texts follow (--set applying to
// them too). Returns false when the workspace cannot be read (its error was
// shown).
bool ReadSettings(ProgramState& state, const GlobalOptions& options) {
  const std::string file =
      options.IniFile ? *options.IniFile : ConfigReadLocation(ConfigLocations::ForCurrentProcess());
  IniFile ini = IniFile::Load(file);
  for (const SettingOverride& o : options.Overrides) ini.WriteString(o.Section, o.Key, o.Value);
  ReadConfiguration(state, ini);
  if (!options.Workspace) return true;
  return OpenWorkspace(state, NormalizePath(*options.Workspace), [&options](IniFile& workspace) {
    for (const SettingOverride& o : options.Overrides) workspace.WriteString(o.Section, o.Key, o.Value);
  });
}

int Run(int argc, char** argv) {
  GlobalOptions options;
  try {
    options = ParseGlobalOptions(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "korvane-cli: " << e.what() << "\n" << kUsage;
    return 2;
  }
  if (options.Help) {
    std::cout << kUsage;
    return 0;
  }
  if (options.Version) {
    std::cout << "korvane-cli " << KORVANE_VERSION << "\n";
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& c : Commands())
    if (options.Command == c.name) command = &c;
  if (command == nullptr) {
    std::cerr << "korvane-cli: " << (options.Command.empty() ? "no command" : "unknown command " + options.Command)
              << "\n" << kUsage;
    return 2;
  }

  CliHost host(options.Answer, options.Quiet);
  ProgramState state(host);
  std::ofstream file;
  if (options.Output && !command->ownsOutput) {
    file.open(*options.Output, std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << UnableToOpenFileMessage(*options.Output) << "\n";
      return 1;
    }
  }
  std::ostream& out = file.is_open() ? static_cast<std::ostream&>(file) : std::cout;
  int status = 0;
  try {
    if (ReadSettings(state, options)) {
      CommandContext context{state, host, options, out};
      CommandArgs args(options.Arguments);
      status = command->run(context, args);
    } else {
      status = 1;
    }
  } catch (const UsageError& e) {
    std::cerr << "korvane-cli: " << e.what() << "\n";
    return 2;
  } catch (const EAbort&) {
    status = 0;
  } catch (const Exception& e) {
    host.ShowError(e.what());
  }
  out.flush();
  if (CliHost::Interrupted()) return 130;
  if (status == 0 && host.ErrorShown()) status = 1;
  return status;
}

}  // namespace
}  // namespace korvane::cli

int main(int argc, char** argv) { return korvane::cli::Run(argc, argv); }
