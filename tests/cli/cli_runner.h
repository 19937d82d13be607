// Runs korvane-cli as a program for the command-line tests.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "temp_dir.h"

namespace korvane::test {

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

// Runs korvane-cli with args (a shell-quoted string) and an empty settings
// file; the output is read from standard output, standard input is empty.
inline RunResult RunCli(const std::string& args) {
  TempDir dir;
  const std::string ini = dir.WriteFile("KORVANE.INI", "");
  const std::string errFile = (dir.path() / "stderr").string();
  const std::string command =
      std::string(KORVANE_CLI) + " --ini " + ini + " " + args + " 2>" + errFile + " </dev/null";
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = dir.ReadFile("stderr");
  return result;
}

}  // namespace korvane::test
