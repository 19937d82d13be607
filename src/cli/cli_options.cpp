#include "cli_options.h"

namespace korvane::cli {

SettingOverride ParseOverride(const std::string& text) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos) throw UsageError("--set needs SECTION.KEY=VALUE: " + text);
  const std::string name = text.substr(0, eq);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
    throw UsageError("--set needs SECTION.KEY=VALUE: " + text);
  return SettingOverride{name.substr(0, dot), name.substr(dot + 1), text.substr(eq + 1)};
}

GlobalOptions ParseGlobalOptions(int argc, char** argv) {
  GlobalOptions options;
  int i = 1;
  auto value = [&](const std::string& option) -> std::string {
    if (i + 1 >= argc) throw UsageError(option + " needs a value");
    return argv[++i];
  };
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ini") options.IniFile = value(arg);
    else if (arg == "--set") options.Overrides.push_back(ParseOverride(value(arg)));
    else if (arg == "--workspace") options.Workspace = value(arg);
    else if (arg == "--yes") options.Answer = true;
    else if (arg == "--no") options.Answer = false;
    else if (arg == "--quiet") options.Quiet = true;
    else if (arg == "-o" || arg == "--output") options.Output = value(arg);
    else if (arg == "-h" || arg == "--help") options.Help = true;
    else if (arg == "--version") options.Version = true;
    else if (!arg.empty() && arg[0] == '-') throw UsageError("unknown option " + arg);
    else break;
  }
  if (i < argc) options.Command = argv[i++];
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    // Global options may also follow the command.
    if (arg == "-o" || arg == "--output") options.Output = value(arg);
    else if (arg == "--quiet") options.Quiet = true;
    else if (arg == "--yes") options.Answer = true;
    else if (arg == "--no") options.Answer = false;
    else options.Arguments.push_back(arg);
  }
  return options;
}

CommandArgs::CommandArgs(std::vector<std::string> args) : args_(std::move(args)) {}

bool CommandArgs::Flag(const std::string& name) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it == name) {
      args_.erase(it);
      return true;
    }
  }
  return false;
}

std::optional<std::string> CommandArgs::Value(const std::string& name) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it == name) {
      if (it + 1 == args_.end()) throw UsageError(name + " needs a value");
      std::string value = *(it + 1);
      args_.erase(it, it + 2);
      return value;
    }
  }
  return std::nullopt;
}

std::vector<std::string> CommandArgs::Values(const std::string& name) {
  std::vector<std::string> values;
  while (auto v = Value(name)) values.push_back(*v);
  return values;
}

std::vector<std::string> CommandArgs::Positionals() const {
  for (const std::string& arg : args_)
    if (arg.size() > 2 && arg.rfind("--", 0) == 0) throw UsageError("unknown option " + arg);
  return args_;
}

}  // namespace korvane::cli
