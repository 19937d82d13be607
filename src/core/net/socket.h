// Sockets for the HTTP and FTP client: an owning handle that closes itself,
// and the few calls the client makes (resolve, connect with a time limit,
// listen, accept, send everything, local address). IPv4 stream sockets only.
//
// The functions report failure as an errno value (0 on success) so that the
// caller can put the matching socket error text into its own message. None
// of them keeps state; each may run on any thread for a socket that thread
// owns.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

// An owned descriptor (a socket or a pipe end); closed on destruction.
class TSocket {
 public:
  TSocket() = default;
  explicit TSocket(int handle) : handle_(handle) {}
  ~TSocket() { Close(); }
  TSocket(TSocket&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }
  TSocket& operator=(TSocket&& other) noexcept;
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;

  int Handle() const { return handle_; }
  bool Valid() const { return handle_ >= 0; }
  void Close();

 private:
  int handle_ = -1;
};

// The IPv4 address of a dotted address or a host name; false when the host
// is unknown.
bool ResolveHost(const std::string& host, in_addr& address);

// A new stream socket that allows address reuse; invalid on failure (errno
// tells why).
TSocket CreateStreamSocket();

// Connects without blocking longer than timeoutMs, calling betweenWaits
// every few milliseconds while the connection is pending (it may throw to
// give up). Returns 0 or the errno value (ETIMEDOUT after timeoutMs). The
// socket is left non-blocking.
int ConnectSocket(const TSocket& socket, const in_addr& address, std::uint16_t port, int timeoutMs,
                  const std::function<void()>& betweenWaits);

// Binds to any local port and listens. Returns 0, or the errno value of the
// call that failed; failedBind tells whether that was bind or listen.
int ListenOnAnyPort(const TSocket& socket, int backlog, bool& failedBind);

// Waits up to timeoutMs for a connection and accepts it; invalid when none
// came.
TSocket AcceptWithin(const TSocket& listener, int timeoutMs);

// Sends all of data, waiting up to timeoutMs for room; 0 or the errno value.
int SendAll(const TSocket& socket, std::string_view data, int timeoutMs);

// The local address and port of a socket, in host byte order; false on
// failure.
bool LocalAddress(const TSocket& socket, std::uint32_t& address, std::uint16_t& port);

}  // namespace korvane
