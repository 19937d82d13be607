// Socket handles and calls of the client; see socket.h.
#include "net/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace korvane {
namespace {

// How long one wait inside ConnectSocket lasts before betweenWaits runs.
constexpr int kConnectWaitSliceMs = 20;

int ElapsedMs(std::chrono::steady_clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count());
}

// poll for one event, retried after signals; the poll result.
int PollOne(int handle, short events, int timeoutMs) {
  pollfd fd{handle, events, 0};
  for (;;) {
    const int r = ::poll(&fd, 1, timeoutMs);
    if (r >= 0 || errno != EINTR) return r;
  }
}

}  // namespace

TSocket& TSocket::operator=(TSocket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

void TSocket::Close() {
  if (handle_ >= 0) ::close(handle_);
  handle_ = -1;
}

bool ResolveHost(const std::string& host, in_addr& address) {
  if (::inet_pton(AF_INET, host.c_str(), &address) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  ::freeaddrinfo(found);
  return true;
}

TSocket CreateStreamSocket() {
  TSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.Valid()) {
    const int on = 1;
    ::setsockopt(socket.Handle(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  }
  return socket;
}

int ConnectSocket(const TSocket& socket, const in_addr& address, std::uint16_t port, int timeoutMs,
                  const std::function<void()>& betweenWaits) {
  const int flags = ::fcntl(socket.Handle(), F_GETFL, 0);
  if (flags < 0 || ::fcntl(socket.Handle(), F_SETFL, flags | O_NONBLOCK) < 0) return errno;
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr = address;
  if (::connect(socket.Handle(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return 0;
  if (errno != EINPROGRESS && errno != EINTR) return errno;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const int r = PollOne(socket.Handle(), POLLOUT, kConnectWaitSliceMs);
    if (r < 0) return errno;
    if (r > 0) {
      int error = 0;
      socklen_t length = sizeof error;
      if (::getsockopt(socket.Handle(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
      return error;
    }
    if (ElapsedMs(start) >= timeoutMs) return ETIMEDOUT;
    if (betweenWaits) betweenWaits();
  }
}

int ListenOnAnyPort(const TSocket& socket, int backlog, bool& failedBind) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = 0;
  failedBind = true;
  if (::bind(socket.Handle(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return errno;
  failedBind = false;
  if (::listen(socket.Handle(), backlog) != 0) return errno;
  return 0;
}

TSocket AcceptWithin(const TSocket& listener, int timeoutMs) {
  if (PollOne(listener.Handle(), POLLIN, timeoutMs) <= 0) return TSocket();
  for (;;) {
    const int handle = ::accept4(listener.Handle(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (handle >= 0 || errno != EINTR) return TSocket(handle);
  }
}

int SendAll(const TSocket& socket, std::string_view data, int timeoutMs) {
  const auto start = std::chrono::steady_clock::now();
  while (!data.empty()) {
    const ssize_t n = ::send(socket.Handle(), data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      data.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return errno;
    const int left = timeoutMs - ElapsedMs(start);
    if (left <= 0) return ETIMEDOUT;
    if (PollOne(socket.Handle(), POLLOUT, left) < 0) return errno;
  }
  return 0;
}

bool LocalAddress(const TSocket& socket, std::uint32_t& address, std::uint16_t& port) {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (::getsockname(socket.Handle(), reinterpret_cast<sockaddr*>(&local), &length) != 0) return false;
  address = ntohl(local.sin_addr.s_addr);
  port = ntohs(local.sin_port);
  return true;
}

}  // namespace korvane
