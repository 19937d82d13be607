// The fixture of the download tests: a scripted host on the test's thread
// (which plays the user-interface thread), a program state, and a private
// temporary folder as TMPDIR so that a test can see which download files
// ("IST....tmp") exist.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "temp_dir.h"

namespace korvane::test {

class DownloadTest : public ::testing::Test {
 protected:

  // The download files that exist now.
  int DownloadFiles() const {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
      if (entry.path().filename().string().starts_with("IST")) ++n;
    return n;
  }

  TempDir temp;
  ScopedTempFolder tempFolder{temp.path()};
  ScriptedHost host;
  ProgramState state{host};
};

}  // namespace korvane::test
