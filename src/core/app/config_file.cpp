// The configuration file KORVANE.INI: its location next to the program or in
// the user's configuration folder, the full read and write in the fixed order
// of the subsystems, the two keys kept on their own, and the shared encodings
// of fonts, characters and string lists.
//
// The full configuration is always written into a fresh image that replaces
// the file in one rename, so stale keys disappear as with deleting the file
// first, but a failed write leaves the previous file as it was.
#include "app/config_file.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/errors.h"
#include "app/program_state.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kURLHistorySection = "URLHistory";
constexpr const char* kURLHistoryName = "URLs";

std::string ReadErrorMessage(const std::string& file) {
  return "Could not read from configuration file " + file + "!";
}

std::string WriteErrorMessage(const std::string& file) {
  return "Could not write to configuration file " + file + "!";
}

// ---- Location -------------------------------------------------------------

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// The user's configuration base: $XDG_CONFIG_HOME when it is an absolute
// path, else the home folder's ".config". Empty when neither is known.
std::string UserConfigBase() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return WithSlash(home) + ".config";
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/')
    return WithSlash(found->pw_dir) + ".config";
  return {};
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool FolderWritable(const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; }

// The file can be read and replaced through a temporary file beside it.
bool Replaceable(const std::string& file) {
  return access(file.c_str(), R_OK | W_OK) == 0 &&
         FolderWritable(WithSlash(fs::path(file).parent_path().string()));
}

std::string InDir(const std::string& dir) { return dir.empty() ? std::string() : dir + kConfigFileName; }

// ---- Full configuration ---------------------------------------------------

// Writes the full configuration into a fresh image of file and replaces the
// file with it; withSingleKeys also carries SaveOnExit and WorkspacePath over,
// which the fresh image would otherwise drop.
bool WriteConfigurationFile(ProgramState& state, const std::string& file, bool withSingleKeys) {
  IniFile ini(file);
  WriteConfiguration(state, ini);
  if (withSingleKeys) {
    ini.WriteBool(kGeneralSection, "SaveOnExit", state.General.SaveOnExit);
    ini.WriteString(kGeneralSection, "WorkspacePath", state.General.WorkspacePath);
  }
  return SaveConfigurationImage(state, ini);
}

// The configuration file at the reading location; an empty image when it
// cannot be read, so that every key takes its default.
IniFile LoadSilently(const ConfigLocations& locations) {
  const std::string file = ConfigReadLocation(locations);
  try {
    return IniFile::Load(file);
  } catch (const std::exception&) {
    return IniFile(file);
  }
}

// Changes one key of the file at the writing location. Silent on errors, and
// a file that exists but cannot be read is left alone rather than replaced
// by one holding a single key.
void WriteSingleKey(const ConfigLocations& locations, const std::function<void(IniFile&)>& write) {
  const std::optional<std::string> file = ConfigWriteLocation(locations);
  if (!file) return;
  try {
    IniFile ini = IniFile::Load(*file);
    write(ini);
    ini.Save();
  } catch (const std::exception&) {
  }
}

// ---- Encodings ----------------------------------------------------------------

bool IsFontDelimiter(char c) { return c == ',' || c == ':' || c == ';'; }
bool IsNumberDelimiter(char c) { return c == ' ' || IsFontDelimiter(c); }

// A whole decimal number, or 0.
int ParseNumberOrZero(std::string_view text) {
  int value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last && first != last ? value : 0;
}

}  // namespace

// ---- Location -------------------------------------------------------------

ConfigLocations ConfigLocations::ForCurrentProcess() {
  ConfigLocations locations;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error && program.has_parent_path()) locations.ProgramDir = WithSlash(program.parent_path().string());
  const std::string base = UserConfigBase();
  if (!base.empty()) locations.UserDir = WithSlash(base) + "korvane/";
  return locations;
}

std::string ConfigReadLocation(const ConfigLocations& locations) {
  const std::string programFile = InDir(locations.ProgramDir);
  const std::string userFile = InDir(locations.UserDir);
  const bool programFileExists = !programFile.empty() && IsRegularFile(programFile);
  if (programFileExists && Replaceable(programFile)) return programFile;
  if (!userFile.empty() && IsRegularFile(userFile)) return userFile;
  // Read-only settings beside the program serve until the user's own file exists.
  if (programFileExists) return programFile;
  return userFile.empty() ? programFile : userFile;
}

std::optional<std::string> ConfigWriteLocation(const ConfigLocations& locations) {
  const std::string programFile = InDir(locations.ProgramDir);
  if (!programFile.empty() && IsRegularFile(programFile) && Replaceable(programFile)) return programFile;
  if (locations.UserDir.empty()) return std::nullopt;
  std::error_code error;
  fs::create_directories(locations.UserDir, error);
  if (error) return std::nullopt;
  const std::string userFile = InDir(locations.UserDir);
  const bool usable = fs::exists(userFile, error) ? Replaceable(userFile) : FolderWritable(locations.UserDir);
  if (!usable) return std::nullopt;
  return userFile;
}

// ---- Full configuration ---------------------------------------------------

std::optional<IniFile> LoadConfigurationImage(ProgramState& state, const std::string& file) {
  try {
    return IniFile::Load(file);
  } catch (const std::exception&) {
    state.host.ShowError(ReadErrorMessage(file));
    return std::nullopt;
  }
}

bool SaveConfigurationImage(ProgramState& state, const IniFile& image) {
  try {
    image.Save();
    return true;
  } catch (const std::exception&) {
    state.host.ShowError(WriteErrorMessage(image.Path()));
    return false;
  }
}

bool ApplyConfigurationImage(ProgramState& state, const IniFile& image) {
  try {
    ReadConfiguration(state, image);
    return true;
  } catch (const std::exception&) {
    state.host.ShowError(ReadErrorMessage(image.Path()));
    return false;
  }
}

bool ReadConfiguration(ProgramState& state, const std::string& file) {
  const std::optional<IniFile> ini = LoadConfigurationImage(state, file);
  return ini && ApplyConfigurationImage(state, *ini);
}

bool WriteConfiguration(ProgramState& state, const std::string& file) {
  return WriteConfigurationFile(state, file, false);
}

void ReadConfiguration(ProgramState& state, const IniFile& ini) {
  GeneralSettings& general = state.General;
  general.CorpusFont = SystemDefaultFont();
  general.SystemFont = DefaultDialogFont();
  state.ConcordConfig.ResetFonts();

  general.CorpusPath = ini.ReadString(kGeneralSection, "CorpusPath", "");
  general.StopListPath = ini.ReadString(kGeneralSection, "StopListPath", "");
  general.ConcordancePath = ini.ReadString(kGeneralSection, "ConcordancePath", "");
  general.FreqPath = ini.ReadString(kGeneralSection, "FreqPath", "");
  general.CorpusFreqPath = ini.ReadString(kGeneralSection, "CorpusFreqPath", "");
  ReadFont(ini, kGeneralSection, "CorpusFont", general.CorpusFont);
  ReadFont(ini, kGeneralSection, "SystemFont", general.SystemFont);

  for (int i = 0; i < static_cast<int>(ConfigStep::Count_); ++i) {
    const auto step = static_cast<ConfigStep>(i);
    // The URL history comes after the sentence settings; the language is last.
    if (step == ConfigStep::Language) ReadList(ini, kURLHistorySection, kURLHistoryName, state.URLHistory);
    if (const auto& read = state.Configuration.Get(step).Read) read(ini);
  }
}

void WriteConfiguration(const ProgramState& state, IniFile& ini) {
  const GeneralSettings& general = state.General;
  ini.WriteString(kGeneralSection, "CorpusPath", general.CorpusPath);
  ini.WriteString(kGeneralSection, "StopListPath", general.StopListPath);
  ini.WriteString(kGeneralSection, "ConcordancePath", general.ConcordancePath);
  ini.WriteString(kGeneralSection, "FreqPath", general.FreqPath);
  ini.WriteString(kGeneralSection, "CorpusFreqPath", general.CorpusFreqPath);
  WriteFont(ini, kGeneralSection, "CorpusFont", general.CorpusFont);
  WriteFont(ini, kGeneralSection, "SystemFont", general.SystemFont);

  for (int i = 0; i < static_cast<int>(ConfigStep::Count_); ++i) {
    const auto step = static_cast<ConfigStep>(i);
    if (step == ConfigStep::Language) WriteList(ini, kURLHistorySection, kURLHistoryName, state.URLHistory);
    if (const auto& write = state.Configuration.Get(step).Write) write(ini);
  }
}

bool ReadDefaultConfiguration(ProgramState& state, const ConfigLocations& locations) {
  return ReadConfiguration(state, ConfigReadLocation(locations));
}

bool WriteDefaultConfiguration(ProgramState& state, const ConfigLocations& locations) {
  const std::optional<std::string> file = ConfigWriteLocation(locations);
  if (!file) return false;
  return WriteConfigurationFile(state, *file, true);
}

// ---- Single keys ------------------------------------------------------------

void ReadSaveOnExit(ProgramState& state, const ConfigLocations& locations) {
  state.General.SaveOnExit = LoadSilently(locations).ReadBool(kGeneralSection, "SaveOnExit", false);
}

void WriteSaveOnExit(const ProgramState& state, const ConfigLocations& locations) {
  WriteSingleKey(locations, [&](IniFile& ini) {
    ini.WriteBool(kGeneralSection, "SaveOnExit", state.General.SaveOnExit);
  });
}

void ReadWorkspacePath(ProgramState& state, const ConfigLocations& locations) {
  state.General.WorkspacePath = LoadSilently(locations).ReadString(kGeneralSection, "WorkspacePath", "");
}

void WriteWorkspacePath(const ProgramState& state, const ConfigLocations& locations) {
  WriteSingleKey(locations, [&](IniFile& ini) {
    ini.WriteString(kGeneralSection, "WorkspacePath", state.General.WorkspacePath);
  });
}

// ---- Fonts --------------------------------------------------------------------

std::string FormatFont(const TFont& font) {
  return font.Name + "," + std::to_string(font.Size) + "," + std::to_string(font.Style) + "," +
         std::to_string(font.Color) + "," + std::to_string(font.Charset);
}

TFont ParseFont(const std::string& value) {
  std::string_view rest = value;
  const std::size_t nameEnd = std::find_if(rest.begin(), rest.end(), IsFontDelimiter) - rest.begin();
  TFont font;
  font.Name = std::string(rest.substr(0, nameEnd));
  rest.remove_prefix(std::min(nameEnd + 1, rest.size()));
  int* numbers[] = {&font.Size, &font.Style, &font.Color, &font.Charset};
  for (int* number : numbers) {
    // Spaces before a number are skipped, so that hand-written "Arial, 10" reads as meant.
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    const std::size_t end = std::find_if(rest.begin(), rest.end(), IsNumberDelimiter) - rest.begin();
    *number = ParseNumberOrZero(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return font;
}

void ReadFont(const IniFile& ini, const std::string& section, const std::string& key, TFont& font) {
  const std::string value = ini.ReadString(section, key, "");
  if (!value.empty()) font = ParseFont(value);
}

void WriteFont(IniFile& ini, const std::string& section, const std::string& key, const TFont& font) {
  ini.WriteString(section, key, FormatFont(font));
}

// ---- Characters ---------------------------------------------------------------

char ReadChar(const IniFile& ini, const std::string& section, const std::string& key, char defaultValue) {
  const std::string value = ini.ReadString(section, key, std::string(1, defaultValue));
  return value.empty() ? '\0' : value.front();
}

void WriteChar(IniFile& ini, const std::string& section, const std::string& key, char value) {
  ini.WriteString(section, key, value == '\0' ? std::string() : std::string(1, value));
}

// ---- Lists --------------------------------------------------------------------

std::string ListKey(const std::string& name, int index, int count) {
  const std::string last = std::to_string(count - 1);
  const std::size_t width = last.size() == 1 || index >= 100 ? last.size() : 2;
  std::string digits = std::to_string(index);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return name + digits;
}

void ReadList(const IniFile& ini, const std::string& section, const std::string& name,
              std::vector<std::string>& list) {
  list.clear();
  const int count = std::min(ini.ReadInteger(section, name + "Count", 20), kMaxListEntries);
  for (int i = 0; i < count; ++i) {
    std::string value = ini.ReadString(section, ListKey(name, i, count), "");
    if (!value.empty()) list.push_back(std::move(value));
  }
}

std::vector<std::string> ReadListEntries(const IniFile& ini, const std::string& section, const std::string& name) {
  std::vector<std::string> list;
  const int count = std::clamp(ini.ReadInteger(section, name + "Count", 20), 0, kMaxListEntries);
  for (int i = 0; i < count; ++i) list.push_back(ini.ReadString(section, ListKey(name, i, count), ""));
  return list;
}

void WriteList(IniFile& ini, const std::string& section, const std::string& name,
               const std::vector<std::string>& list) {
  const int count = static_cast<int>(std::min<std::size_t>(list.size(), kMaxListEntries));
  ini.WriteInteger(section, name + "Count", count);
  for (int i = 0; i < count; ++i) ini.WriteString(section, ListKey(name, i, count), list[i]);
}

}  // namespace korvane
