// The configuration file KORVANE.INI: where it lives, the order in which the
// settings of every subsystem are read and written, the general section, and
// the shared encodings of fonts and string lists.
//
// Subsystems do not know each other's keys: each registers a read and a write
// operation for its step in ConfigurationRegistry, and ReadConfiguration and
// WriteConfiguration call them in the fixed order of ConfigStep.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/font.h"
#include "app/ini_file.h"

namespace korvane {

class ProgramState;

// The steps in the order they are read and written.
enum class ConfigStep {
  SearchOptions,         // ConcordanceConfiguration and the three histories
  SearchDialog,          // switches and search histories
  BatchSearch,           // BatchSearchConfiguration
  Headings,              // Headings and the Heading.* sections
  HeadingContextSearch,  // heading/context search options
  AdvancedSortColloc,    // AdvancedSort, AdvancedColloc
  TagSettings,           // Tag Settings, Watched.*
  WordTagSettings,       // Word Tag Settings
  StopList,              // StopList
  FrequencyOptions,      // FrequencyConfiguration
  Sentences,             // SentDelimitersExcepts and FullSentence
  Language,              // GeneralConfiguration/Language, read after all others
  Count_
};

struct ConfigOperations {
  std::function<void(const IniFile&)> Read;
  std::function<void(IniFile&)> Write;
};

class ConfigurationRegistry {
 public:
  void Set(ConfigStep step, ConfigOperations operations) {
    steps_[static_cast<int>(step)] = std::move(operations);
  }
  const ConfigOperations& Get(ConfigStep step) const { return steps_[static_cast<int>(step)]; }

 private:
  ConfigOperations steps_[static_cast<int>(ConfigStep::Count_)];
};

// Where KORVANE.INI is looked for: the program's directory first, then the
// user's configuration directory ($XDG_CONFIG_HOME/korvane, by default
// ~/.config/korvane). Both end with "/".
struct ConfigLocations {
  std::string ProgramDir;
  std::string UserDir;
  // Locations of the running program and the current user.
  static ConfigLocations ForCurrentProcess();
};

inline constexpr const char* kConfigFileName = "KORVANE.INI";
// The section of the general settings (and of a workspace's save options).
inline constexpr const char* kGeneralSection = "GeneralConfiguration";

// The file to read, kept in step with the file to write so that saved
// settings are the ones read next time: ProgramDir + KORVANE.INI when it
// exists and is writable; else UserDir + KORVANE.INI when it exists; else
// ProgramDir + KORVANE.INI when it exists (read-only settings shipped beside
// the program); else UserDir + KORVANE.INI (missing: every key its default).
std::string ConfigReadLocation(const ConfigLocations& locations);
// The file to write: ProgramDir + KORVANE.INI when it exists and is writable;
// else UserDir + KORVANE.INI when it can be opened (created if missing, with
// its folder); else none.
std::optional<std::string> ConfigWriteLocation(const ConfigLocations& locations);

// Reads the full configuration. On an error shows "Could not read from
// configuration file <file>!" and returns false; settings read before the
// error stay in effect. A missing file is no error.
bool ReadConfiguration(ProgramState& state, const std::string& file);
// Writes the full configuration into a new image of the file and replaces
// the file. On an error shows "Could not write to configuration file
// <file>!" and returns false; the previous file is then unchanged.
bool WriteConfiguration(ProgramState& state, const std::string& file);
// The image of a configuration file; on an error shows "Could not read from
// configuration file <file>!" and returns none. A missing file gives an
// empty image.
std::optional<IniFile> LoadConfigurationImage(ProgramState& state, const std::string& file);
// Reads the full configuration from image; on an error shows the read error
// for image.Path() and returns false (settings read before it stay).
bool ApplyConfigurationImage(ProgramState& state, const IniFile& image);
// Writes image to its file through a temporary file. On an error shows
// "Could not write to configuration file <file>!" and returns false; the
// previous file is then unchanged.
bool SaveConfigurationImage(ProgramState& state, const IniFile& image);
// The full configuration into an open image (also used for workspaces).
void ReadConfiguration(ProgramState& state, const IniFile& ini);
void WriteConfiguration(const ProgramState& state, IniFile& ini);

bool ReadDefaultConfiguration(ProgramState& state, const ConfigLocations& locations);
// Writes the full configuration, plus SaveOnExit and WorkspacePath, at the
// writing location. Returns false without a message when there is none.
bool WriteDefaultConfiguration(ProgramState& state, const ConfigLocations& locations);
// The single keys SaveOnExit and WorkspacePath. Reading gives the default
// when the file or key is missing or unreadable; writing changes only that
// key and is silent on errors.
void ReadSaveOnExit(ProgramState& state, const ConfigLocations& locations);
void WriteSaveOnExit(const ProgramState& state, const ConfigLocations& locations);
void ReadWorkspacePath(ProgramState& state, const ConfigLocations& locations);
void WriteWorkspacePath(const ProgramState& state, const ConfigLocations& locations);

// "%s,%d,%d,%d,%d": name, size, style, colour, character set. A missing or
// empty key leaves the font unchanged.
void ReadFont(const IniFile& ini, const std::string& section, const std::string& key, TFont& font);
void WriteFont(IniFile& ini, const std::string& section, const std::string& key, const TFont& font);
std::string FormatFont(const TFont& font);
// Parses a non-empty font value; numbers that do not parse count as 0.
TFont ParseFont(const std::string& value);

// A character as a one-character string; an empty value reads as character 0
// and character 0 is written as an empty value.
char ReadChar(const IniFile& ini, const std::string& section, const std::string& key, char defaultValue);
void WriteChar(IniFile& ini, const std::string& section, const std::string& key, char value);

// A string list under name N: N + "Count" and N + index, the index zero-padded
// to the width ListKeyWidth gives. At most 10,000 entries; a missing count
// reads as 20; empty values are skipped.
void ReadList(const IniFile& ini, const std::string& section, const std::string& name,
              std::vector<std::string>& list);
void WriteList(IniFile& ini, const std::string& section, const std::string& name,
               const std::vector<std::string>& list);
// The same list read entry for entry: an empty value gives an empty entry,
// so that entry k of two parallel lists belong together.
std::vector<std::string> ReadListEntries(const IniFile& ini, const std::string& section, const std::string& name);
// The key of entry index in a list of count entries ("N0", "N07", "N100", ...).
std::string ListKey(const std::string& name, int index, int count);

inline constexpr int kMaxListEntries = 10000;

}  // namespace korvane
