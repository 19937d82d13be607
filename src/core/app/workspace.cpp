// Opening and saving workspaces, and the flag strings that tie each corpus
// text to its data in the workspace's data folder.
#include "app/workspace.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

#include "app/config_file.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "app/temp_file.h"
#include "corpus/corpus_loader.h"
#include "corpus/file_flags.h"
#include "corpus/synchro_stream.h"
#include "frequency/hash_strings.h"
#include "frequency/word_count.h"
#include "net/url_loading.h"
#include "tags/indexed_stream.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCorpusSection = "Corpus files";
constexpr const char* kBatchSection = "Batch patterns";

std::string FreqFile(const std::string& dataDir) { return dataDir + "FREQ" + ".tmp"; }

std::string BaseName(const std::string& path) { return fs::path(path).stem().string(); }
std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

// True when savedAs is a file directly inside dataDir.
bool SavedIn(const std::string& savedAs, const std::string& dataDir) {
  return !savedAs.empty() && !dataDir.empty() && savedAs.size() > dataDir.size() &&
         savedAs.compare(0, dataDir.size(), dataDir) == 0 &&
         savedAs.find('/', dataDir.size()) == std::string::npos;
}

// Where a private copy of a workspace's file goes: the temporary folder
// under the same name, or under a new name of the same kind when that name
// is taken there (it would overwrite another text's file).
std::string PrivateCopyName(const std::string& workspaceFile) {
  const std::string sameName = TempFolder() + FileNameOf(workspaceFile);
  std::error_code error;
  if (!fs::exists(sameName, error) && !error) return sameName;
  return TempFileName(BaseName(workspaceFile).substr(0, 3));
}

// The data files that flags names in dataDir: a document for U, a table
// and its companion for L, P and T.
std::set<std::string> NamedDataFiles(const std::string& flags, const std::string& dataDir) {
  std::set<std::string> files;
  if (const std::string u = FlagValue(flags, 'U'); !u.empty()) files.insert(FlagDataFile(dataDir, u));
  for (char letter : {'L', 'P', 'T'}) {
    const std::string value = FlagValue(flags, letter);
    if (value.empty()) continue;
    const std::string table = FlagDataFile(dataDir, value);
    files.insert(table);
    files.insert(CompanionFileName(table));
  }
  return files;
}

std::set<std::string> NamedDataFiles(const Corpus& corpus, const std::string& dataDir) {
  std::set<std::string> files;
  for (const TCorpusText& text : corpus.Texts) files.merge(NamedDataFiles(text.CorpusFileFlags, dataDir));
  return files;
}

// The data files that the flag strings stored in the loaded workspace's file
// name in its data folder; none when the file cannot be read.
std::set<std::string> StoredDataFiles(const Corpus& corpus) {
  std::set<std::string> files;
  try {
    const IniFile ini = IniFile::Load(corpus.WorkspaceFile);
    for (const std::string& flags : ReadListEntries(ini, kCorpusSection, "File flags"))
      files.merge(NamedDataFiles(flags, corpus.WorkspaceDataDir));
  } catch (const std::exception&) {
  }
  return files;
}

// Step one of a text's flag string: its URL document. Returns false when
// the document is not kept, so the text's string stays empty.
bool RebuildDocument(ProgramState& state, TCorpusText& text, TRebuildMode mode, std::string& flags) {
  auto* file = dynamic_cast<TFileSynchroStream*>(text.CorpusStreams.get());
  if (file == nullptr) return false;
  const std::string& dataDir = state.corpus.WorkspaceDataDir;
  const bool keep = state.Workspace.KeepURLs;
  if (mode == TRebuildMode::Opening && !file->PrivateCopy) {
    const std::string copy = PrivateCopyName(file->FileName());
    file->SaveToFile(copy);
    file->SwitchToFile(copy);
    file->PrivateCopy = true;
  } else if (mode == TRebuildMode::Saving && keep && !SavedIn(file->SavedAs, dataDir) &&
             !IsDownloading(*file)) {
    const std::string target = dataDir + FileNameOf(file->FileName());
    file->SaveToFile(target);
    file->SavedAs = target;
  }
  const bool saved = SavedIn(file->SavedAs, dataDir);
  if (keep && saved) flags += FlagEntry('U', BaseName(file->SavedAs));
  return saved;
}

// Step two for one table slot: private copy or saving, then its entry.
void RebuildTable(ProgramState& state, TIndexSlot& slot, char letter, bool keep, TRebuildMode mode,
                  std::string& flags) {
  if (!slot.Index) return;
  const std::string& dataDir = state.corpus.WorkspaceDataDir;
  TIndexedStream& table = *slot.Index;
  if (mode == TRebuildMode::Opening && !table.OwnsFile()) {
    const std::string copy = PrivateCopyName(table.FileName());
    table.SaveAs(copy);
    const std::string savedAs = table.SavedAs;
    // The workspace's own file stays; only the object goes.
    slot.Index.reset();
    slot.Name = copy;
    slot.Index = TIndexedStream::OpenStored(copy, true);
    slot.Index->PrivateCopy = true;
    slot.Index->SavedAs = savedAs;
  } else if (mode == TRebuildMode::Saving && keep && !SavedIn(table.SavedAs, dataDir)) {
    const std::string target = dataDir + FileNameOf(table.FileName());
    table.SaveAs(target);
    table.SavedAs = target;
  }
  if (keep) flags += FlagEntry(letter, BaseName(slot.Index->SavedAs.empty() ? slot.Name : slot.Index->SavedAs));
}

std::string RebuildTextFlags(ProgramState& state, TCorpusText& text, TRebuildMode mode) {
  std::string flags;
  if (IsURL(text.CorpusFiles) && !RebuildDocument(state, text, mode, flags)) return std::string();
  const TWorkspaceOptions& options = state.Workspace;
  RebuildTable(state, text.LineTables, 'L', options.KeepLinePages, mode, flags);
  RebuildTable(state, text.PageTables, 'P', options.KeepLinePages, mode, flags);
  RebuildTable(state, text.WatchedTagTables, 'T', options.KeepWatchedTags, mode, flags);
  if (text.WordCount != 0) flags += FlagEntry('W', std::to_string(text.WordCount));
  return flags;
}

// A text's name as the workspace keeps it: a file name given bare (on a
// command line) is made absolute, so that the workspace opens from any
// current folder; URLs and full paths stay as they are.
std::string WorkspaceTextName(const std::string& name) {
  if (IsURL(name) || fs::path(name).is_absolute()) return name;
  std::error_code error;
  const fs::path full = fs::absolute(name, error);
  return error ? name : full.lexically_normal().string();
}

void ReadWorkspaceOptions(const IniFile& ini, TWorkspaceOptions& options) {
  options.KeepLinePages = ini.ReadBool(kGeneralSection, "KeepLinePages", false);
  options.KeepWatchedTags = ini.ReadBool(kGeneralSection, "KeepWatchedTags", false);
  options.KeepFreq = ini.ReadBool(kGeneralSection, "KeepFreq", false);
  options.KeepURLs = ini.ReadBool(kGeneralSection, "KeepURLs", false);
}

void WriteWorkspaceSections(const ProgramState& state, IniFile& ini) {
  std::vector<std::string> names;
  std::vector<std::string> flags;
  for (const TCorpusText& text : state.corpus.Texts) {
    names.push_back(WorkspaceTextName(text.CorpusFiles));
    flags.push_back(text.CorpusFileFlags);
  }
  ini.EraseSection(kCorpusSection);
  WriteList(ini, kCorpusSection, "File", names);
  WriteList(ini, kCorpusSection, "File flags", flags);
  const TWorkspaceOptions& options = state.Workspace;
  ini.WriteBool(kGeneralSection, "KeepLinePages", options.KeepLinePages);
  ini.WriteBool(kGeneralSection, "KeepWatchedTags", options.KeepWatchedTags);
  ini.WriteBool(kGeneralSection, "KeepFreq", options.KeepFreq);
  ini.WriteBool(kGeneralSection, "KeepURLs", options.KeepURLs);
  ini.EraseSection(kBatchSection);
  WriteList(ini, kBatchSection, "Patterns", state.BatchPatternLists.Patterns);
  WriteList(ini, kBatchSection, "GrepPatterns", state.BatchPatternLists.GrepPatterns);
  WriteList(ini, kBatchSection, "TagsPatterns", state.BatchPatternLists.TagsPatterns);
}

// The corpus word table the workspace saved, or (when it has none and words
// are counted on load) a fresh count. A damaged saved table shows its error
// and is treated as missing.
void RestoreCorpusWordTable(ProgramState& state) {
  Corpus& corpus = state.corpus;
  const std::string freq = FreqFile(corpus.WorkspaceDataDir);
  std::error_code error;
  if (fs::exists(freq, error)) {
    try {
      std::unique_ptr<THashStrings> table = NewCorpusWordTable(state);
      table->LoadFromFile(freq);
      corpus.CorpusWordTable = std::move(table);
      return;
    } catch (const Exception& e) {
      state.host.ShowError(e.what());
    }
  }
  if (!corpus.CorpusWordTable && corpus.CountWordsWhileLoading) EnsureCorpusWordTable(state);
}

// The workspace sections of the file: texts, save options, batch lists.
// Throws on the first error; what was done before it stays.
void ReadWorkspaceSections(ProgramState& state, const IniFile& ini) {
  // Both lists entry for entry, so that flag string k belongs to name k.
  std::vector<std::string> names = ReadListEntries(ini, kCorpusSection, "File");
  std::vector<std::string> flags = ReadListEntries(ini, kCorpusSection, "File flags");
  flags.resize(names.size());
  for (std::size_t k = names.size(); k-- > 0;) {
    if (!names[k].empty()) continue;
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(k));
    flags.erase(flags.begin() + static_cast<std::ptrdiff_t>(k));
  }
  ReadWorkspaceOptions(ini, state.Workspace);
  if (!names.empty()) {
    LoadTexts(state, names, flags);
    RestoreCorpusWordTable(state);
  }
  ReadList(ini, kBatchSection, "Patterns", state.BatchPatternLists.Patterns);
  ReadList(ini, kBatchSection, "GrepPatterns", state.BatchPatternLists.GrepPatterns);
  ReadList(ini, kBatchSection, "TagsPatterns", state.BatchPatternLists.TagsPatterns);
}

// Objects whose copy in a data folder was deleted are no longer saved there
// (else a later save with the option on again would name a missing file).
void ForgetDeletedCopies(Corpus& corpus, const std::set<std::string>& deleted) {
  for (TCorpusText& text : corpus.Texts) {
    if (auto* file = dynamic_cast<TFileSynchroStream*>(text.CorpusStreams.get());
        file != nullptr && deleted.count(file->SavedAs) != 0)
      file->SavedAs.clear();
    for (TIndexSlot* slot : {&text.LineTables, &text.PageTables, &text.WatchedTagTables})
      if (slot->Index && deleted.count(slot->Index->SavedAs) != 0) slot->Index->SavedAs.clear();
  }
}

// Deletes the remembered files of the previous data folder that the new
// flag strings no longer name, and the folder when none of them is left.
void DeleteUnnamedDataFiles(Corpus& corpus, const std::set<std::string>& remembered,
                            const std::string& previousDir) {
  const std::set<std::string> named = NamedDataFiles(corpus, previousDir);
  std::set<std::string> deleted;
  for (const std::string& file : remembered) {
    if (named.count(file) != 0) continue;
    std::error_code ignored;
    fs::remove(file, ignored);
    deleted.insert(file);
  }
  ForgetDeletedCopies(corpus, deleted);
  if (deleted.size() == remembered.size()) {
    std::error_code ignored;
    fs::remove(previousDir, ignored);  // only when empty
  }
}

}  // namespace

std::string WorkspaceDataDirFor(const std::string& file) {
  const fs::path path(file);
  return (path.parent_path() / path.stem()).string() + "/";
}

bool OpenWorkspace(ProgramState& state, const std::string& file, const std::function<void(IniFile&)>& adjust) {
  // A missing file would read as a workspace without texts.
  std::error_code error;
  if (!fs::exists(file, error)) {
    state.host.ShowError(UnableToOpenFileMessage(file));
    return false;
  }
  std::optional<IniFile> image = LoadConfigurationImage(state, file);
  if (!image) return false;
  if (adjust) adjust(*image);
  if (!ApplyConfigurationImage(state, *image)) return false;
  UnloadCorpus(state);
  Corpus& corpus = state.corpus;
  corpus.WorkspaceFile = file;
  corpus.WorkspaceDataDir = WorkspaceDataDirFor(file);
  state.Workspace = TWorkspaceOptions();
  try {
    ReadWorkspaceSections(state, *image);
  } catch (const std::exception&) {
    // A damaged section ends the reading; what was loaded stays.
  }
  RecomputeTotalWords(corpus);
  state.host.CorpusInfoChanged();
  state.host.WorkspaceChanged();
  BusyCursor busy(state.host);
  RebuildFileFlags(state, TRebuildMode::Opening);
  return true;
}

void RebuildFileFlags(ProgramState& state, TRebuildMode mode) {
  for (TCorpusText& text : state.corpus.Texts) {
    text.CorpusFileFlags.clear();
    try {
      text.CorpusFileFlags = RebuildTextFlags(state, text, mode);
    } catch (const Exception& e) {
      // The object that failed is left out; the other texts go on.
      state.host.ShowError(e.what());
    }
  }
}

bool SaveWorkspace(ProgramState& state, const std::string& file, bool keepPrevious) {
  BusyCursor busy(state.host);
  Corpus& corpus = state.corpus;
  // The data files the loaded workspace's file names now: besides those of
  // the texts' current flag strings they include those of texts removed
  // since and of tables that could not be read and were built again, which
  // must go too when the workspace is saved in place.
  std::set<std::string> stored;
  if (!keepPrevious && !corpus.WorkspaceFile.empty()) stored = StoredDataFiles(corpus);
  // The configuration is written once, with the text list as it stands, so
  // that the file is whole at every moment; it is written again below with
  // the new flag strings.
  IniFile configuration(file);
  WriteConfiguration(state, configuration);
  IniFile image = configuration;
  WriteWorkspaceSections(state, image);
  if (!SaveConfigurationImage(state, image)) return false;
  corpus.WorkspaceFile = file;

  std::set<std::string> remembered;
  const std::string previousDir = corpus.WorkspaceDataDir;
  if (!keepPrevious) {
    remembered = NamedDataFiles(corpus, previousDir);
    remembered.merge(stored);
  }

  corpus.WorkspaceDataDir = WorkspaceDataDirFor(file);
  if (state.Workspace.Any()) {
    std::error_code error;
    fs::create_directories(corpus.WorkspaceDataDir, error);
    if (error) {
      // Nothing could be kept; the file still names what it named before.
      state.host.ShowError(UnableToOpenFileMessage(corpus.WorkspaceDataDir));
      return false;
    }
  }
  RebuildFileFlags(state, TRebuildMode::Saving);

  const std::string freq = FreqFile(corpus.WorkspaceDataDir);
  try {
    if (state.Workspace.KeepFreq && corpus.CorpusWordTable) {
      corpus.CorpusWordTable->SaveToFile(freq);
    } else {
      std::error_code ignored;
      fs::remove(freq, ignored);
    }
  } catch (const Exception& e) {
    state.host.ShowError(e.what());
  }

  if (!remembered.empty()) DeleteUnnamedDataFiles(corpus, remembered, previousDir);

  image = configuration;
  WriteWorkspaceSections(state, image);
  const bool written = SaveConfigurationImage(state, image);
  state.host.WorkspaceChanged();
  return written;
}

TWorkspaceOptions OptionsForSave(const ProgramState& state) {
  TWorkspaceOptions options = state.Workspace;
  options.KeepFreq = options.KeepFreq && state.corpus.CorpusWordTable != nullptr;
  return options;
}

TWorkspaceOptions OptionsForSaveAs(const ProgramState& state) {
  TWorkspaceOptions options;
  options.KeepLinePages = true;
  options.KeepWatchedTags = true;
  options.KeepFreq = state.corpus.CorpusWordTable != nullptr;
  options.KeepURLs = false;
  return options;
}

bool UnfinishedURLsWouldBeLost(const ProgramState& state, const TWorkspaceOptions& options) {
  return options.KeepURLs && state.corpus.UnfinishedURLs > 0;
}

std::string UnfinishedURLsQuestion() {
  return "There are unfinished URL(s) and will not be saved. Continue anyway?";
}

bool IsLoadedWorkspace(const ProgramState& state, const std::string& file) {
  const std::string& loaded = state.corpus.WorkspaceFile;
  if (loaded.empty()) return false;
  std::error_code error;
  if (fs::equivalent(loaded, file, error) && !error) return true;
  const fs::path a = fs::absolute(loaded, error).lexically_normal();
  const fs::path b = fs::absolute(file, error).lexically_normal();
  return !error && a == b;
}

std::string LoadedWorkspaceMessage() {
  return "This is the currently loaded workspace and you can not overwrite it. Please use \"Save "
         "Workspace...\" command or choose a new name.";
}

}  // namespace korvane
