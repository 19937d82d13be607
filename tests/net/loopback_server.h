// In-process servers for the network tests: a listening socket on 127.0.0.1
// and a thread that serves a fixed number of connections with a handler the
// test writes. Every wait is bounded: the thread gives up accepting after
// kServerWaitMs, every read gives up after kServerWaitMs, and the destructor
// stops and joins the thread, so a test that fails cannot hang.
//
// Also the pumping helpers that let a test (the user-interface thread) run
// the steps that download threads hand over.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <string_view>
#include <thread>

#include "app/host.h"
#include "corpus/synchro_stream.h"
#include "net/inet_thread.h"

namespace korvane::test {

// The longest any server step waits for its peer.
inline constexpr int kServerWaitMs = 10000;

// Sends all bytes; false when the peer has gone.
inline bool SendText(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Reads until the text holds terminator (or the peer closes, or
// kServerWaitMs pass); returns what was read up to and including it.
inline std::string ReadUntil(int fd, std::string_view terminator) {
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kServerWaitMs);
  while (text.find(terminator) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char c;
    if (::recv(fd, &c, 1, 0) <= 0) break;
    text += c;
  }
  return text;
}

// Waits for a signal from the test, at most kServerWaitMs.
inline void AwaitRelease(std::shared_future<void> release) {
  release.wait_for(std::chrono::milliseconds(kServerWaitMs));
}

class LoopbackServer {
 public:
  // handler(fd, n) serves the n-th connection (from 0); the connection is
  // closed when it returns.
  using Handler = std::function<void(int fd, int n)>;

  explicit LoopbackServer(Handler handler, int connections = 1) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, connections] { Serve(connections); });
  }

  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }

  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  std::string URL(const std::string& scheme, const std::string& path) const {
    return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::string HTTP(const std::string& path) const { return URL("http", path); }

 private:
  void Serve(int connections) {
    for (int n = 0; n < connections && !stop_; ++n) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kServerWaitMs);
      int fd = -1;
      while (fd < 0 && !stop_ && std::chrono::steady_clock::now() < deadline) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) fd = ::accept(listener_, nullptr, nullptr);
      }
      if (fd < 0) return;
      const int on = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      handler_(fd, n);
      ::close(fd);
    }
  }

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Lets the test's user-interface thread run handed-over steps until done()
// holds or kServerWaitMs pass; whether done() held.
inline bool PumpUntil(Host& host, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kServerWaitMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    LetPendingMessagesRun(host, 20);
  }
  return true;
}

// Every byte a source holds now, read through ReadAt as readers do.
inline std::string Content(TSynchroStream& stream, std::int32_t size) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::int32_t position = 0;
  const std::int32_t n = stream.ReadAt(bytes.data(), size, position);
  bytes.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return bytes;
}

}  // namespace korvane::test
