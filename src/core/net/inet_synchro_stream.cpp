// The download stream of a URL text; see inet_synchro_stream.h.
#include "net/inet_synchro_stream.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/errors.h"
#include "app/host.h"
#include "app/program_state.h"
#include "net/inet_errors.h"

namespace korvane {
namespace {

// How long one wait for a hand-over lasts while a caller waits for the
// download, before messages run again.
constexpr int kWaitSliceMs = 20;

}  // namespace

std::string TInetSynchroStream::CreateDownloadFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") + "/ISTXXXXXX.tmp";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) throw Exception(UnableToOpenFileMessage(name));
  ::close(fd);
  return name;
}

TInetSynchroStream::TInetSynchroStream(ProgramState& state, const std::string& url)
    : TFileSynchroStream(CreateDownloadFile(), TFileOpenMode::ReadWriteShareWrite),
      state_(state),
      url_(url) {
  PrivateCopy = true;
  try {
    thread_ = std::make_unique<TInetThread>(state_.host, [this](TInetEvent e) { return Step(e); });
    if (!ParseURL(url_, parts_)) throw EInetError(BadURLMessage(url_));
    Connect(true);
    thread_->Start();
    AwaitHeader();
  } catch (...) {
    thread_.reset();
    if (Downloading()) Disconnect();
    std::remove(FileName().c_str());
    throw;
  }
}

TInetSynchroStream::~TInetSynchroStream() {
  thread_.reset();
  try {
    if (Downloading()) Disconnect();
  } catch (...) {
    // A frame that fails to take a notification must not stop the release.
  }
  if (PrivateCopy) std::remove(FileName().c_str());
}

std::int32_t TInetSynchroStream::GetSize() { return totalSize_; }

bool TInetSynchroStream::WaitFor(std::int32_t count) {
  const std::uint32_t start = state_.host.GetTickCount();
  while (state_.host.GetTickCount() - start < 2000 && Downloading() && received_ < count)
    LetPendingMessagesRun(state_.host, kWaitSliceMs);
  return received_ >= count || !Downloading();
}

void TInetSynchroStream::AwaitHeader() {
  Host& host = state_.host;
  Corpus& corpus = state_.corpus;
  const std::uint32_t start = host.GetTickCount();
  while (host.GetTickCount() - start < kHeaderWaitMs && !headerReceived_ && !complete_ && !failed_ &&
         !corpus.StopURLLoading && Downloading())
    LetPendingMessagesRun(host, kWaitSliceMs);
  if (failed_) throw EInetError(errorText_);
  if (corpus.StopURLLoading) throw EAbort();
  if (!headerReceived_) throw EInetError(ConnectionTimeoutMessage());
  if (totalSize_ == 0) throw EInetError(ZeroLengthMessage(url_));
  if (Downloading()) {
    counted_ = true;
    ++corpus.UnfinishedURLs;
    host.URLBoxAdd(url_, totalSize_);
    // What arrived with the header: the box shows it at once.
    if (received_ > 0) host.URLBoxUpdate(url_, received_);
  }
}

void TInetSynchroStream::Connect(bool insideCreate) {
  stage_ = TStage::Connect;
  if (Downloading()) throw EInetError(AlreadyConnectedMessage());
  Host& host = state_.host;
  totalSize_ = kUndeterminedSize;
  received_ = 0;
  headerReceived_ = false;
  complete_ = false;
  connectionClosed_ = false;
  buffer_.Clear();
  response_ = THTTPResponse(url_);
  replyReader_ = TFTPReplyReader();
  ftp_ = std::make_unique<TFTPDialogue>(parts_, url_);

  host.StatusText(ResolvingHostStatus(parts_.host));
  in_addr address{};
  if (!ResolveHost(parts_.host, address)) throw EInetError(UnknownHostMessage(parts_.host));
  control_ = CreateStreamSocket();
  if (!control_.Valid()) throw EInetError(CreateClientSocketMessage());
  host.StatusText(ContactingHostStatus(parts_.host));
  std::function<void()> betweenWaits;
  if (insideCreate) {
    betweenWaits = [this] {
      state_.host.ProcessMessages();
      if (state_.corpus.StopURLLoading) throw EAbort();
    };
  }
  const int error = ConnectSocket(control_, address, static_cast<std::uint16_t>(std::stoi(parts_.port)),
                                  kConnectTimeoutMs, betweenWaits);
  if (error != 0) {
    control_.Close();
    throw EInetError(ConnectFailedMessage(parts_.host, WinSockErrorFromErrno(error)));
  }
  host.StatusText(HostContactedStatus(parts_.host));
  connectionState_ = TConnectionState::Connected;
  thread_->SetWatchedSocket(control_.Handle());
  if (parts_.scheme == TURLScheme::HTTP) {
    Send(HTTPRequest(parts_));
  } else {
    ftp_->Start();  // the greeting comes first
    Send("");
  }
}

void TInetSynchroStream::Send(const std::string& request) {
  stage_ = TStage::Send;
  if (!request.empty()) {
    const int error = SendAll(control_, request, kSendTimeoutMs);
    if (error != 0) throw EInetError(SendFailedMessage(parts_.host, WinSockErrorFromErrno(error)));
  }
  connectionState_ = TConnectionState::RequestSent;
  stage_ = TStage::ReceiveHeader;
}

bool TInetSynchroStream::Step(TInetEvent event) {
  try {
    if (state_.corpus.StopURLLoading || event == TInetEvent::Error) {
      if (Downloading()) Disconnect();
      return false;
    }
    if (event == TInetEvent::Readable) Receive();
    return Downloading();
  } catch (const EAbort&) {
    if (Downloading()) Disconnect();
    return false;
  } catch (const std::exception& e) {
    failed_ = true;
    errorText_ = e.what();
    if (Downloading()) Disconnect();
    return false;
  }
}

void TInetSynchroStream::Receive() {
  int freeSpace = 0;
  char* at = buffer_.PrepareReceive(freeSpace);
  bool closed = false;
  if (freeSpace > 0) {
    const ssize_t n = ::recv(WatchedSocket().Handle(), at, static_cast<std::size_t>(freeSpace), MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
      throw EInetError(ReceiveFailedMessage(parts_.host, WinSockErrorFromErrno(errno)));
    }
    if (n == 0) closed = true;
    buffer_.Received(static_cast<int>(n));
  }
  if (stage_ == TStage::ReceiveHeader) {
    const THeaderProgress progress =
        parts_.scheme == TURLScheme::HTTP ? HandleHTTPHeader() : HandleFTPReplies();
    if (progress == THeaderProgress::Reconnected) return;  // closed was the old connection's
    if (progress == THeaderProgress::NeedMore) {
      if (closed) throw EInetError(ClosedBeforeReplyMessage(parts_.host));
      return;
    }
  }
  AppendData();
  if (closed && Downloading()) {
    connectionClosed_ = true;
    complete_ = true;
    if (totalSize_ != kUndeterminedSize && received_ < totalSize_) {
      // Cut off before the announced end: the text keeps what arrived, and
      // the user learns that it is incomplete.
      failed_ = true;
      complete_ = false;
      errorText_ = DownloadTruncatedMessage(url_, received_, totalSize_);
    }
    Disconnect();
  }
}

TInetSynchroStream::THeaderProgress TInetSynchroStream::HandleHTTPHeader() {
  std::string line;
  while (buffer_.NextHTTPLine(line))
    if (response_.HandleLine(line)) return EndOfHTTPHeader();
  if (buffer_.Full()) {
    // A line longer than the buffer: fatal when the client needs it, else
    // skipped (servers send long cookies and policies).
    if (response_.NeedsWholeLine(buffer_.Unread())) throw EInetError(NotHTTPServerMessage());
    buffer_.DiscardLine();
  }
  return THeaderProgress::NeedMore;
}

TInetSynchroStream::THeaderProgress TInetSynchroStream::EndOfHTTPHeader() {
  if (response_.RedirectionPending) {
    if (response_.RedirectURL.empty()) throw EInetError(HTTPErrorMessage(RedirectURLMissingText()));
    if (++redirections_ > kMaxRedirections)
      throw EInetError(HTTPErrorMessage(TooManyRedirectionsText()));
    const std::string target = ResolveRedirectURL(url_, parts_, response_.RedirectURL);
    Disconnect();
    TURLParts parts;
    if (!ParseURL(target, parts)) throw EInetError(BadURLMessage(target));
    url_ = target;
    parts_ = parts;
    Connect(false);
    return THeaderProgress::Reconnected;
  }
  connectionState_ = TConnectionState::HeaderReceived;
  headerReceived_ = true;
  totalSize_ = response_.TotalSize;
  state_.host.StatusText("");
  stage_ = TStage::ReceiveData;
  return THeaderProgress::Done;
}

TInetSynchroStream::THeaderProgress TInetSynchroStream::HandleFTPReplies() {
  std::string line;
  TFTPReply reply;
  while (buffer_.NextFTPLine(line)) {
    if (!replyReader_.Parse(line, reply)) continue;
    std::string command;
    switch (ftp_->HandleReply(reply, command)) {
      case TFTPAction::Send:
        Send(command + "\r\n");
        break;
      case TFTPAction::OpenDataSocketAndSendPort:
        OpenDataSocket();
        break;
      case TFTPAction::AcceptDataConnection:
        AcceptDataConnection();
        return THeaderProgress::Reconnected;
    }
  }
  if (buffer_.Full()) throw EInetError(BadServerResponseMessage(std::string(buffer_.Unread())));
  return THeaderProgress::NeedMore;
}

void TInetSynchroStream::OpenDataSocket() {
  listener_ = CreateStreamSocket();
  if (!listener_.Valid()) throw EInetError(CreateDataSocketMessage());
  bool failedBind = false;
  if (ListenOnAnyPort(listener_, 50, failedBind) != 0)
    throw EInetError(failedBind ? BindDataSocketMessage() : ListenDataSocketMessage());
  std::uint32_t anyAddress = 0;
  std::uint16_t dataPort = 0;
  std::uint32_t localAddress = 0;
  std::uint16_t controlPort = 0;
  if (!LocalAddress(listener_, anyAddress, dataPort) || !LocalAddress(control_, localAddress, controlPort))
    throw EInetError(BindDataSocketMessage());
  Send(TFTPDialogue::PortCommand(localAddress, dataPort) + "\r\n");
}

void TInetSynchroStream::AcceptDataConnection() {
  totalSize_ = ftp_->AnnouncedSize();
  data_ = AcceptWithin(listener_, kDataConnectionTimeoutMs);
  if (!data_.Valid()) throw EInetError(NoDataConnectionMessage());
  listener_.Close();
  buffer_.Clear();  // what it held came from the control connection
  thread_->SetWatchedSocket(data_.Handle());
  connectionState_ = TConnectionState::HeaderReceived;
  headerReceived_ = true;
  state_.host.StatusText("");
  stage_ = TStage::ReceiveData;
}

void TInetSynchroStream::AppendData() {
  if (connectionState_ != TConnectionState::HeaderReceived) throw EInetError(HeaderNotReceivedMessage());
  const std::string_view bytes = buffer_.Unread();
  std::int32_t count = static_cast<std::int32_t>(bytes.size());
  // Bytes past the announced end belong to nothing we asked for.
  if (totalSize_ != kUndeterminedSize) count = std::min(count, totalSize_ - received_);
  buffer_.Consume(static_cast<int>(bytes.size()));
  if (count > 0) {
    if (count >= kUndeterminedSize - received_) throw EInetError(DocumentTooLargeMessage(url_));
    std::int32_t written = 0;
    {
      std::lock_guard<std::recursive_mutex> guard(lock_);
      Seek(0, 2);
      written = Write(bytes.data(), count);
    }
    if (written > 0) received_ += written;
    if (written != count) throw EInetError(DownloadWriteFailedMessage(url_, FileName()));
    // Before Create returns there is no progress box to update yet.
    if (counted_) state_.host.URLBoxUpdate(url_, received_);
  }
  if (received_ == totalSize_) {
    complete_ = true;
    Disconnect();
  }
}

void TInetSynchroStream::Disconnect() {
  stage_ = TStage::Disconnect;
  if (!Downloading()) throw EInetError(AlreadyDisconnectedMessage());
  connectionState_ = TConnectionState::Disconnected;
  totalSize_ = received_.load();
  if (thread_) thread_->SetWatchedSocket(-1);
  control_.Close();
  data_.Close();
  listener_.Close();
  Host& host = state_.host;
  host.CorpusInfoChanged();
  host.StatusText("");
  if (counted_) {
    counted_ = false;
    --state_.corpus.UnfinishedURLs;
    host.URLBoxRemove(url_);
  }
}

}  // namespace korvane
