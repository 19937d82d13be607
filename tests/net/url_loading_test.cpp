// Downloads as corpus texts: waiting until every download has ended (the
// command-line tool does this before it runs its command), stopping that
// wait, the failures it reports, and reading a text while it still arrives.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>

#include "corpus/buf_stream.h"
#include "corpus/corpus.h"
#include "download_fixture.h"
#include "loopback_server.h"
#include "net/inet_synchro_stream.h"
#include "net/url_loading.h"

namespace korvane::test {
namespace {

using URLLoadingTest = DownloadTest;

std::string ReadRequest(int fd) { return ReadUntil(fd, "\r\n\r\n"); }

// Adds a URL text to the corpus the way the loader does.
void AddURLText(ProgramState& state, std::string name) {
  TCorpusText text;
  text.CorpusStreams = OpenURLText(state, name);
  text.CorpusFiles = name;
  state.corpus.Texts.push_back(std::move(text));
}

TEST_F(URLLoadingTest, WaitingEndsWhenEveryDownloadHasEnded) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  LoopbackServer first([&](int fd, int) {
    ReadRequest(fd);
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nfirst");
    AwaitRelease(released);
    SendText(fd, "...");
  });
  LoopbackServer second([&](int fd, int) {
    ReadRequest(fd);
    SendText(fd, "HTTP/1.0 200 OK\r\n\r\nsecond");
    AwaitRelease(released);
    SendText(fd, "!");
  });
  AddURLText(state, first.HTTP("/1.txt"));
  AddURLText(state, second.HTTP("/2.txt"));
  ASSERT_EQ(state.corpus.UnfinishedURLs, 2);
  EXPECT_TRUE(state.corpus.SizeUndetermined());  // the second size is not announced

  release.set_value();
  WaitForURLDownloads(state);

  EXPECT_EQ(state.corpus.UnfinishedURLs, 0);
  EXPECT_FALSE(state.corpus.SizeUndetermined());
  EXPECT_EQ(state.corpus.TotalSize(), 8 + 7);
  EXPECT_EQ(Content(*state.corpus.Texts[1].CorpusStreams, 100), "second!");
  EXPECT_TRUE(host.messages.empty());
  ASSERT_FALSE(host.progressLog.empty());
  EXPECT_EQ(host.progressLog.front(), "show Loading URL(s)");
  EXPECT_TRUE(host.liveProgress.empty());
}

TEST_F(URLLoadingTest, CancelStopsTheDownloadsAndKeepsWhatArrived) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  LoopbackServer server([&](int fd, int) {
    ReadRequest(fd);
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
    AwaitRelease(released);
  });
  AddURLText(state, server.HTTP("/t.txt"));
  host.cancelAfterProcessMessages = host.processMessagesCalls + 3;

  WaitForURLDownloads(state);
  release.set_value();

  EXPECT_TRUE(state.corpus.StopURLLoading);
  EXPECT_EQ(state.corpus.UnfinishedURLs, 0);
  TSynchroStream& stream = *state.corpus.Texts[0].CorpusStreams;
  EXPECT_FALSE(IsDownloading(stream));
  EXPECT_EQ(Content(stream, 100), std::string("partial").substr(0, static_cast<std::size_t>(stream.GetSize())));
  EXPECT_TRUE(host.messages.empty());  // a stop is no failure
}

TEST_F(URLLoadingTest, FailuresDuringTheWaitAreShown) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  LoopbackServer server([&](int fd, int) {
    ReadRequest(fd);
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nab");
    AwaitRelease(released);  // then closes, 8 bytes short
  });
  const std::string url = server.HTTP("/t.txt");
  AddURLText(state, url);
  release.set_value();
  WaitForURLDownloads(state);
  EXPECT_EQ(host.MessagesOfKind(TMsgDlgType::mtError),
            (std::vector<std::string>{"Connection closed after 2 of 10 bytes of \"" + url + "\"."}));
}

TEST_F(URLLoadingTest, ReaderFollowsATextThatIsStillArriving) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  const std::string firstPart(9000, 'a');
  LoopbackServer server([&](int fd, int) {
    ReadRequest(fd);
    SendText(fd, "HTTP/1.0 200 OK\r\n\r\n" + firstPart);
    AwaitRelease(released);
    SendText(fd, "bc");
  });
  AddURLText(state, server.HTTP("/t.txt"));
  TSynchroStream& source = *state.corpus.Texts[0].CorpusStreams;
  ASSERT_TRUE(PumpUntil(host, [&] {
    return static_cast<const TInetSynchroStream&>(source).Received() == static_cast<int>(firstPart.size());
  }));

  TBufStream reader(&source, state.ConcordConfig.DelimiterSet());
  std::string read;
  for (char c; (c = static_cast<char>(reader.ReadChar())) != 0;) read += c;
  EXPECT_EQ(read, firstPart);

  release.set_value();
  WaitForURLDownloads(state);
  for (char c; (c = static_cast<char>(reader.ReadChar())) != 0;) read += c;
  EXPECT_EQ(read, firstPart + "bc");
}

TEST_F(URLLoadingTest, FilesAreNoLiveDownloads) {
  TFileSynchroStream file(temp.WriteFile("a.txt", "abc"), TFileOpenMode::ReadShareWrite);
  EXPECT_FALSE(IsLiveDownload(file));
  EXPECT_FALSE(IsDownloading(file));
}

}  // namespace
}  // namespace korvane::test
