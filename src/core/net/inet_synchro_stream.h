// TInetSynchroStream: the source stream of a text fetched by URL.
//
// The stream downloads one document over HTTP or FTP into a temporary file
// ("IST....tmp") and reads it through its file base class, so searches and
// the viewer work on the bytes that have arrived while more arrive. Creating
// it connects, sends the request (or runs the FTP dialogue up to RETR) and
// waits for the response header; from then on its TInetThread watches the
// socket and every receive step runs on the user-interface thread: the
// stream's state is only touched there, and the file is appended to under the
// stream's lock, which every ReadAt and SeekAt also takes.
//
// Life of a download: connect, send, receive the header (an HTTP redirection
// disconnects and connects again to the new URL; FTP sends one command per
// reply), receive the data, disconnect. Its size is the largest 32-bit value
// until the server announces it or the transfer ends; a transfer that ends
// early (stopped, failed, cut off) keeps what arrived and its size becomes
// the number of bytes received.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "corpus/synchro_stream.h"
#include "net/ftp_dialogue.h"
#include "net/http_response.h"
#include "net/inet_thread.h"
#include "net/receive_buffer.h"
#include "net/socket.h"
#include "net/url.h"

namespace korvane {

class ProgramState;

class TInetSynchroStream : public TFileSynchroStream {
 public:
  // The longest wait for the response header after connecting.
  static constexpr std::uint32_t kHeaderWaitMs = 60000;
  // The longest wait for a connection to a host.
  static constexpr int kConnectTimeoutMs = 30000;
  // The longest wait for an FTP server to open the data connection.
  static constexpr int kDataConnectionTimeoutMs = 10000;
  // The longest wait for room to send a request.
  static constexpr int kSendTimeoutMs = 10000;
  // Redirections followed before the download is refused.
  static constexpr int kMaxRedirections = 10;

  // Downloads url: creates the download file, connects, sends the request
  // and waits up to kHeaderWaitMs for the response header (HTTP) or the data
  // connection (FTP), letting pending messages run. When the download goes
  // on after that, it is counted in UnfinishedURLs and the frame gets its
  // progress box. User-interface thread only.
  // Throws EInetError with the user's message ("Bad or incomplete URL: %s.",
  // "Connection timeout.", "\"%s\" is a document with zero length.", any
  // server or socket error), EAbort when StopURLLoading is set meanwhile,
  // Exception when the download file cannot be made; nothing of the
  // download is left behind then.
  TInetSynchroStream(ProgramState& state, const std::string& url);
  // Ends the thread, disconnects (a running download leaves UnfinishedURLs
  // and its progress box) and deletes the download file when it is still
  // the program's private copy. User-interface thread only.
  ~TInetSynchroStream() override;

  // The announced size, the largest 32-bit value while it is undetermined,
  // and the bytes received once the transfer has ended. Any thread.
  std::int32_t GetSize() override;
  // Waits up to 2,000 ms, letting pending messages run, until count bytes
  // have arrived or the transfer has ended; whether either holds.
  // User-interface thread only.
  bool WaitFor(std::int32_t count) override;

  // The rest is for the user-interface thread.

  // The URL asked for, or the target of the last redirection: the text's
  // name in the corpus.
  const std::string& URL() const { return url_; }
  // The transfer still runs.
  bool Downloading() const { return connectionState_ != TConnectionState::Disconnected; }
  // Every byte arrived (the announced size, or the server closed the
  // connection).
  bool Complete() const { return complete_; }
  // An error ended the transfer after the stream was created; the text
  // keeps what arrived. ErrorText is the error's message.
  bool Failed() const { return failed_; }
  const std::string& ErrorText() const { return errorText_; }
  std::int32_t Received() const { return received_; }
  // GetSize for const callers.
  std::int32_t TotalSize() const { return totalSize_; }

 private:
  enum class TStage { Connect, Send, ReceiveHeader, ReceiveData, Disconnect };
  enum class TConnectionState { Disconnected, Connected, RequestSent, HeaderReceived };
  // What reading header lines led to.
  enum class THeaderProgress { NeedMore, Done, Reconnected };

  // A new, empty temporary file for the download; throws Exception.
  static std::string CreateDownloadFile();

  // Waits for the header after the first request; the checks of Create.
  void AwaitHeader();
  // Stage 0: resolves, connects and sends the first request. Inside Create
  // the wait for the connection lets pending messages run and honours
  // StopURLLoading.
  void Connect(bool insideCreate);
  // Stage 1: sends a request or command (an empty one sends nothing).
  void Send(const std::string& request);
  // One hand-over of the thread. Catches every error: it marks the stream
  // failed and disconnects. Returns whether the thread goes on.
  bool Step(TInetEvent event);
  // Receives what arrived on the watched socket and handles it by stage.
  void Receive();
  THeaderProgress HandleHTTPHeader();
  THeaderProgress EndOfHTTPHeader();
  THeaderProgress HandleFTPReplies();
  void OpenDataSocket();
  void AcceptDataConnection();
  // Stage 3: appends the buffered bytes to the file.
  void AppendData();
  // Stage 4.
  void Disconnect();
  const TSocket& WatchedSocket() const { return data_.Valid() ? data_ : control_; }

  ProgramState& state_;
  std::string url_;
  TURLParts parts_;

  TSocket control_;
  TSocket data_;
  TSocket listener_;
  TStage stage_ = TStage::Connect;
  TConnectionState connectionState_ = TConnectionState::Disconnected;
  TReceiveBuffer buffer_;
  THTTPResponse response_{""};
  TFTPReplyReader replyReader_;
  std::unique_ptr<TFTPDialogue> ftp_;
  int redirections_ = 0;

  bool headerReceived_ = false;
  bool complete_ = false;
  bool connectionClosed_ = false;
  bool failed_ = false;
  std::string errorText_;
  std::atomic<std::int32_t> totalSize_{kUndeterminedSize};
  std::atomic<std::int32_t> received_{0};
  bool counted_ = false;

  // Last, so that it ends before anything it reaches is destroyed.
  std::unique_ptr<TInetThread> thread_;
};

}  // namespace korvane
