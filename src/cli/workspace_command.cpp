// korvane-cli workspace-save: saves the settings and the loaded texts (those
// of --workspace, then the TEXT arguments) as a workspace.
//
//   workspace-save FILE.KWS [--keep l,t,f,u|none] TEXT...
//
// Without --keep, a loaded workspace saved under its own name keeps its
// options, and any other save takes the defaults of a new workspace (tables
// kept, the corpus word table when it exists, no URL documents).
#include <string>

#include "app/workspace.h"
#include "commands.h"
#include "corpus/corpus_loader.h"
#include "frequency/word_count.h"

namespace korvane::cli {

namespace {

// "l,t,f,u" in any order and combination, or "none".
TWorkspaceOptions ParseKeepOption(const std::string& text) {
  TWorkspaceOptions options;
  if (text == "none") return options;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    if (item == "l") options.KeepLinePages = true;
    else if (item == "t") options.KeepWatchedTags = true;
    else if (item == "f") options.KeepFreq = true;
    else if (item == "u") options.KeepURLs = true;
    else throw UsageError("--keep takes l, t, f and u separated by commas, or none");
    at = comma + 1;
  }
  return options;
}

}  // namespace

int RunWorkspaceSave(CommandContext& context, CommandArgs& args) {
  ProgramState& state = context.state;
  const std::optional<std::string> keep = args.Value("--keep");
  std::vector<std::string> positionals = args.Positionals();
  if (positionals.empty()) throw UsageError("workspace-save needs a workspace file");
  const std::string file = NormalizePath(positionals.front());
  positionals.erase(positionals.begin());
  LoadTextArguments(context, positionals);

  const bool sameWorkspace = IsLoadedWorkspace(state, file);
  if (keep) {
    state.Workspace = ParseKeepOption(*keep);
    // Asking for the corpus frequency means counting it when it is missing.
    if (state.Workspace.KeepFreq && !EnsureCorpusWordTable(state)) return 1;
  } else {
    state.Workspace = sameWorkspace ? OptionsForSave(state) : OptionsForSaveAs(state);
  }
  const bool keepPrevious = !sameWorkspace && !state.corpus.WorkspaceFile.empty();
  return SaveWorkspace(state, file, keepPrevious) ? 0 : 1;
}

}  // namespace korvane::cli
