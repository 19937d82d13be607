// Workspaces: one settings file (".KWS") holding the whole configuration,
// the corpus text list with a flag string per text, the save options and the
// batch pattern lists, plus a data folder beside it (the file name without
// its extension) holding what is costly to rebuild: line, page and
// tracked-tag tables, the corpus word table ("FREQ.tmp") and downloaded URL
// documents.
//
// An opened workspace is worked on through private temporary copies of its
// data, so that its folder changes only when the workspace is saved; each
// saved object remembers where its copy in a data folder is (SavedAs), so
// saving again writes only what is new, and saving under a new name copies
// everything into the new folder.
//
// Everything here runs on the user-interface thread and lets pending
// messages run.
#pragma once

#include <functional>
#include <string>

#include "app/workspace_options.h"

namespace korvane {

class IniFile;
class ProgramState;

inline constexpr const char* kWorkspaceExtension = "KWS";

// The data folder of a workspace file: the name without its extension, and
// "/" ("/work/novels.KWS" gives "/work/novels/").
std::string WorkspaceDataDirFor(const std::string& file);

// Opens the workspace file: its settings, then (after unloading the corpus)
// its texts with their saved tables, word counts and documents, the corpus
// word table, the batch pattern lists, and the private copies of its data.
// adjust, when given, changes the file's image before it is read (settings
// given on a command line). Returns false, after the error was shown, when
// the file is missing ("Unable to open file: ...") or cannot be read;
// errors in the workspace sections end their reading silently and the texts
// loaded so far stay.
bool OpenWorkspace(ProgramState& state, const std::string& file,
                   const std::function<void(IniFile&)>& adjust = {});

// Saves the workspace under file with state.Workspace's options: the
// configuration and text list, the data the options keep (into the data
// folder, created when needed), and the flag strings naming it. Unless
// keepPrevious, data files of the previous data folder that the new flag
// strings no longer name are deleted, and the folder when it is left empty.
// The file is always replaced as a whole (a failed write keeps the previous
// one). Returns false when the file or the data folder could not be written
// (the error was shown); an error saving one table or document is shown and
// that object is left out.
bool SaveWorkspace(ProgramState& state, const std::string& file, bool keepPrevious);

// How the flag strings are rebuilt: after opening (data becomes private
// copies) or while saving (data goes into the data folder).
enum class TRebuildMode { Opening, Saving };
// Rebuilds every text's flag string from its objects, in corpus order.
void RebuildFileFlags(ProgramState& state, TRebuildMode mode);

// The options the "Save Workspace Options" dialog shows for "Save
// Workspace..." (the current ones; the corpus frequency only while a corpus
// word table exists) and for "Save Workspace As..." (the defaults of a new
// workspace).
TWorkspaceOptions OptionsForSave(const ProgramState& state);
TWorkspaceOptions OptionsForSaveAs(const ProgramState& state);

// True when saving with options would leave out URL documents that are
// still downloading, so the user is asked first.
bool UnfinishedURLsWouldBeLost(const ProgramState& state, const TWorkspaceOptions& options);
std::string UnfinishedURLsQuestion();
// True when file names the loaded workspace ("Save Workspace As..." refuses
// it with LoadedWorkspaceMessage()).
bool IsLoadedWorkspace(const ProgramState& state, const std::string& file);
std::string LoadedWorkspaceMessage();

}  // namespace korvane
