// Downloads over FTP from an in-process server on 127.0.0.1: the login and
// retrieval dialogue the client holds, the data connection it offers, the
// size the "150" reply announces, and the server replies that end it.
#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "download_fixture.h"
#include "loopback_server.h"
#include "net/inet_errors.h"
#include "net/inet_synchro_stream.h"

namespace korvane::test {
namespace {

using FTPDownloadTest = DownloadTest;

// A small FTP server for one control connection. It answers every command
// the client's dialogue uses; replies can be replaced per command.
struct FTPScript {
  std::string greeting = "220-Welcome to the test server\r\n   no code on this line\r\n220 Ready.\r\n";
  std::map<std::string, std::string> replies;  // command word -> reply in place of the usual one
  std::string data = "the text of the document";
  bool announceSize = true;
  std::shared_future<void> holdData;  // when valid: the data's second half waits for it

  std::mutex mutex;
  std::vector<std::string> commands;

  std::vector<std::string> Commands() {
    std::lock_guard<std::mutex> lock(mutex);
    return commands;
  }

  void Serve(int fd) {
    SendText(fd, greeting);
    int dataPort = -1;
    for (;;) {
      std::string line = ReadUntil(fd, "\r\n");
      if (!line.ends_with("\r\n")) return;
      line.resize(line.size() - 2);
      {
        std::lock_guard<std::mutex> lock(mutex);
        commands.push_back(line);
      }
      const std::string verb = line.substr(0, line.find(' '));
      if (replies.count(verb) != 0) {
        SendText(fd, replies[verb]);
      } else if (verb == "USER") {
        SendText(fd, "331 Please specify the password.\r\n");
      } else if (verb == "PASS") {
        SendText(fd, "230 Login successful.\r\n");
      } else if (verb == "REST") {
        SendText(fd, "350 Restart position accepted.\r\n");
      } else if (verb == "TYPE") {
        SendText(fd, "200 Switching to Binary mode.\r\n");
      } else if (verb == "PORT") {
        int a, b, c, d, high, low;
        if (std::sscanf(line.c_str(), "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &high, &low) == 6)
          dataPort = high * 256 + low;
        SendText(fd, "200 PORT command successful.\r\n");
      } else if (verb == "RETR") {
        Retrieve(fd, dataPort);
      } else {
        SendText(fd, "502 Command not implemented.\r\n");
      }
    }
  }

  void Retrieve(int control, int dataPort) {
    const int data = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in client{};
    client.sin_family = AF_INET;
    client.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    client.sin_port = htons(static_cast<std::uint16_t>(dataPort));
    if (::connect(data, reinterpret_cast<sockaddr*>(&client), sizeof client) != 0) {
      ::close(data);
      SendText(control, "425 Failed to establish connection.\r\n");
      return;
    }
    const std::string size = announceSize ? " (" + std::to_string(this->data.size()) + " bytes)" : "";
    if (holdData.valid()) {
      SendText(control, "150 Opening BINARY mode data connection for file" + size + ".\r\n");
      SendText(data, this->data.substr(0, this->data.size() / 2));
      AwaitRelease(holdData);
      SendText(data, this->data.substr(this->data.size() / 2));
      ::close(data);
      SendText(control, "226 Transfer complete.\r\n");
    } else {
      // Both replies in one piece: what follows "150" is no part of the text.
      SendText(control, "150 Opening BINARY mode data connection for file" + size +
                            ".\r\n226 Transfer complete.\r\n");
      SendText(data, this->data);
      ::close(data);
    }
  }
};

TEST_F(FTPDownloadTest, AnonymousLoginRetrievesTheAnnouncedSize) {
  FTPScript script;
  LoopbackServer server([&](int fd, int) { script.Serve(fd); });
  TInetSynchroStream stream(state, server.URL("ftp", "/pub/a.txt"));
  ASSERT_TRUE(PumpUntil(host, [&] { return !stream.Downloading(); }));

  EXPECT_TRUE(stream.Complete());
  EXPECT_EQ(stream.GetSize(), static_cast<std::int32_t>(script.data.size()));
  EXPECT_EQ(Content(stream, 1000), script.data);
  const std::vector<std::string> commands = script.Commands();
  ASSERT_EQ(commands.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 5),
            (std::vector<std::string>{"USER anonymous", "PASS korvane@localhost", "REST 100", "REST 0",
                                      "TYPE I"}));
  EXPECT_TRUE(commands[5].starts_with("PORT 127,0,0,1,")) << commands[5];
  EXPECT_EQ(commands[6], "RETR /pub/a.txt");
}

TEST_F(FTPDownloadTest, UserWithoutPasswordSendsAnEmptyPassword) {
  FTPScript script;
  LoopbackServer server([&](int fd, int) { script.Serve(fd); });
  TInetSynchroStream stream(state, "ftp://joe@127.0.0.1:" + std::to_string(server.Port()) + "/a.txt");
  ASSERT_TRUE(PumpUntil(host, [&] { return !stream.Downloading(); }));
  const std::vector<std::string> commands = script.Commands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0], "USER joe");
  EXPECT_EQ(commands[1], "PASS ");
}

TEST_F(FTPDownloadTest, ReplyWithoutSizeLeavesTheSizeUndeterminedUntilTheEnd) {
  std::promise<void> release;
  FTPScript script;
  script.announceSize = false;
  script.holdData = release.get_future().share();
  LoopbackServer server([&](int fd, int) { script.Serve(fd); });
  TInetSynchroStream stream(state, server.URL("ftp", "/a.txt"));

  EXPECT_EQ(stream.GetSize(), INT32_MAX);
  EXPECT_EQ(state.corpus.UnfinishedURLs, 1);
  release.set_value();
  ASSERT_TRUE(PumpUntil(host, [&] { return !stream.Downloading(); }));
  EXPECT_EQ(stream.GetSize(), static_cast<std::int32_t>(script.data.size()));
  EXPECT_EQ(Content(stream, 1000), script.data);
  EXPECT_EQ(state.corpus.UnfinishedURLs, 0);
}

TEST_F(FTPDownloadTest, ServerRepliesThatEndTheDialogue) {
  struct Case {
    std::string greeting;  // empty: the usual one
    std::string command;   // the command whose reply is replaced; empty: none
    std::string reply;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"421 Service not available.\r\n", "", "", "FTP error 421: \"Service not available.\""},
      {"", "USER", "530 This FTP server is anonymous only.\r\n",
       "FTP error 530: \"This FTP server is anonymous only.\""},
      {"", "PASS", "530 Login incorrect.\r\n", "FTP error 530: \"Login incorrect.\""},
      {"", "TYPE", "504 Command not implemented for that parameter.\r\n",
       "FTP error 504: \"Command not implemented for that parameter.\""},
      {"", "RETR", "550 Failed to open file.\r\n", "FTP error 550: \"Failed to open file.\""},
      {"", "RETR", "550-No such file\r\n550 Failed to open file.\r\n", "FTP error 550: \"Failed to open file.\""},
      {"hello there\r\n", "", "", "Bad server response: \"hello there\"."},
      {std::string(1500, 'x'), "", "", "Bad server response: \"" + std::string(1024, 'x') + "\"."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FTPScript script;
    if (!c.greeting.empty()) script.greeting = c.greeting;
    if (!c.command.empty()) script.replies[c.command] = c.reply;
    LoopbackServer server([&](int fd, int) { script.Serve(fd); });
    try {
      TInetSynchroStream stream(state, server.URL("ftp", "/a.txt"));
      ADD_FAILURE() << "the dialogue went on";
    } catch (const EInetError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_EQ(DownloadFiles(), 0);
  }
}

}  // namespace
}  // namespace korvane::test
