// A download from a real HTTP server: Python's http.server, started by the
// test on 127.0.0.1 with a free port and stopped at its end. Skipped when
// Python cannot be started.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "download_fixture.h"
#include "loopback_server.h"
#include "net/inet_errors.h"
#include "net/url_loading.h"

extern char** environ;

namespace korvane::test {
namespace {

// python3 -m http.server serving a folder; the port is read from the line it
// prints when it is ready. Stopped (by its process id) on destruction.
class PythonHTTPServer {
 public:
  explicit PythonHTTPServer(const std::string& folder) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                          "--directory", folder.c_str(), nullptr};
    const int spawned = posix_spawnp(&pid_, "python3", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
      pid_ = -1;
      ::close(out[0]);
      return;
    }
    // The pipe stays open while the server runs: it writes the rest of its
    // line after the port and would die of a broken pipe.
    output_ = out[0];
    ReadPort(output_);
  }

  ~PythonHTTPServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    if (output_ >= 0) ::close(output_);
  }

  PythonHTTPServer(const PythonHTTPServer&) = delete;
  PythonHTTPServer& operator=(const PythonHTTPServer&) = delete;

  // 0 when the server did not start.
  int Port() const { return port_; }

 private:
  // Reads its output for at most 10 seconds until "port N" appears.
  void ReadPort(int fd) {
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char chunk[256];
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n <= 0) return;
      output.append(chunk, static_cast<std::size_t>(n));
      // "port N " with the whole number (the space after it has arrived).
      for (std::size_t at = output.find("port "); at != std::string::npos; at = output.find("port ", at + 1)) {
        const std::size_t digits = at + 5;
        const std::size_t end = output.find_first_not_of("0123456789", digits);
        if (end != std::string::npos && end > digits && output[end] == ' ') {
          port_ = std::stoi(output.substr(digits, end - digits));
          return;
        }
      }
    }
  }

  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
};

using PythonServerTest = DownloadTest;

TEST_F(PythonServerTest, DownloadsAFileAndReportsAMissingOne) {
  TempDir site;
  std::string text;
  for (int i = 0; i < 600; ++i) text += "line " + std::to_string(i) + " of the text\r\n";
  site.WriteFile("text.txt", text);
  PythonHTTPServer server(site.path().string());
  if (server.Port() == 0) GTEST_SKIP() << "python3 -m http.server could not be started on 127.0.0.1";
  const std::string origin = "http://127.0.0.1:" + std::to_string(server.Port());

  std::string name = origin + "/text.txt";
  std::unique_ptr<TSynchroStream> stream = OpenURLText(state, name);
  ASSERT_TRUE(PumpUntil(host, [&] { return !IsDownloading(*stream); }));
  EXPECT_EQ(stream->GetSize(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(Content(*stream, stream->GetSize()), text);

  std::string missing = origin + "/missing.txt";
  try {
    OpenURLText(state, missing);
    ADD_FAILURE() << "a missing file was downloaded";
  } catch (const EInetError& e) {
    EXPECT_STREQ(e.what(), "HTTP error 404: \"File not found\"");
  }
}

}  // namespace
}  // namespace korvane::test
