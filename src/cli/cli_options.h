// Command-line parsing of korvane-cli: the global options, the command name,
// and a small reader for each command's own options.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvane::cli {

// A command line that cannot be understood (exit status 2).
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct SettingOverride {
  std::string Section;
  std::string Key;
  std::string Value;
};

struct GlobalOptions {
  std::optional<std::string> IniFile;
  std::vector<SettingOverride> Overrides;
  std::optional<std::string> Workspace;
  std::optional<bool> Answer;  // --yes / --no
  bool Quiet = false;
  std::optional<std::string> Output;
  bool Help = false;
  bool Version = false;
  std::string Command;
  std::vector<std::string> Arguments;  // the command's options and texts
};

// Parses argv. Throws UsageError.
GlobalOptions ParseGlobalOptions(int argc, char** argv);
// "SECTION.KEY=VALUE": the key is the text between the last "." before the
// "=" and the "="; the section may hold spaces and dots. Throws UsageError.
SettingOverride ParseOverride(const std::string& text);

// Reads a command's options in order; whatever is not an option is a
// positional argument (a pattern or a text name).
class CommandArgs {
 public:
  explicit CommandArgs(std::vector<std::string> args);

  // True (and consumed) when the flag is present.
  bool Flag(const std::string& name);
  // The value after the option (consumed), or none. Throws UsageError when
  // the option is last.
  std::optional<std::string> Value(const std::string& name);
  // Every value of a repeatable option (consumed).
  std::vector<std::string> Values(const std::string& name);
  // What is left, in order. Throws UsageError on an unknown "--option".
  std::vector<std::string> Positionals() const;

 private:
  std::vector<std::string> args_;
};

}  // namespace korvane::cli
