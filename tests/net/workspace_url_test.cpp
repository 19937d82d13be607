// Downloaded documents in workspaces: a finished download is kept in the
// data folder and read from there (through a private copy) when the
// workspace opens again, with no connection; a download that still runs is
// not kept and its text gets an empty flag string.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>

#include "app/workspace.h"
#include "corpus/corpus_loader.h"
#include "corpus/file_flags.h"
#include "corpus/synchro_stream.h"
#include "download_fixture.h"
#include "loopback_server.h"
#include "net/url_loading.h"

namespace korvane::test {
namespace {

namespace fs = std::filesystem;

using WorkspaceURLTest = DownloadTest;

TEST_F(WorkspaceURLTest, AFinishedDownloadIsKeptAndReadBackWithoutAConnection) {
  const std::string body = "the harbour\r\nat dawn\r\n";
  std::atomic<int> connections{0};
  std::string url;
  {
    LoopbackServer server([&](int fd, int) {
      ++connections;
      ReadUntil(fd, "\r\n\r\n");
      SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    });
    url = server.HTTP("/harbour.txt");
    LoadTexts(state, {url});
    WaitForURLDownloads(state);
  }
  ASSERT_EQ(state.corpus.Count(), 1);
  state.Workspace.KeepURLs = true;
  state.Workspace.KeepLinePages = true;
  const std::string file = (temp.path() / "web.KWS").string();
  ASSERT_TRUE(SaveWorkspace(state, file, false));
  const std::string flags = state.corpus.Texts[0].CorpusFileFlags;
  EXPECT_THAT(flags, ::testing::MatchesRegex("U\\.IST[A-Za-z0-9]+ L\\.LNT[A-Za-z0-9]+ W\\.4 "));
  const std::string saved = FlagDataFile(WorkspaceDataDirFor(file), FlagValue(flags, 'U'));
  ASSERT_TRUE(fs::exists(saved));
  UnloadCorpus(state);
  ASSERT_TRUE(fs::exists(saved));  // unloading never touches the workspace

  ScriptedHost again;
  ProgramState reopened(again);
  ASSERT_TRUE(OpenWorkspace(reopened, file));
  EXPECT_TRUE(again.messages.empty()) << again.messages.front().text;
  EXPECT_EQ(connections, 1);
  ASSERT_EQ(reopened.corpus.Count(), 1);
  TSynchroStream& source = *reopened.corpus.Texts[0].CorpusStreams;
  EXPECT_EQ(Content(source, 1000), body);
  auto* copy = dynamic_cast<TFileSynchroStream*>(&source);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->PrivateCopy);
  EXPECT_NE(copy->FileName(), saved);
  UnloadCorpus(reopened);
  EXPECT_TRUE(fs::exists(saved));
}

TEST_F(WorkspaceURLTest, ARunningDownloadIsNotKept) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  LoopbackServer server([&](int fd, int) {
    ReadUntil(fd, "\r\n\r\n");
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nstill coming");
    AwaitRelease(released);
  });
  const std::string local = temp.path() / "local.txt";
  { std::ofstream(local) << "one two\r\n"; }
  LoadTexts(state, {server.HTTP("/slow.txt"), local});
  ASSERT_EQ(state.corpus.Count(), 2);
  state.Workspace.KeepURLs = true;
  EXPECT_TRUE(UnfinishedURLsWouldBeLost(state, state.Workspace));
  ASSERT_TRUE(SaveWorkspace(state, (temp.path() / "web.KWS").string(), false));
  EXPECT_EQ(state.corpus.Texts[0].CorpusFileFlags, "");
  EXPECT_EQ(state.corpus.Texts[1].CorpusFileFlags, "W.2 ");
  release.set_value();
}

}  // namespace
}  // namespace korvane::test
