// The message texts of the network client; see inet_errors.h.
#include "net/inet_errors.h"

#include <cerrno>

namespace korvane {

int WinSockErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EPERM: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case EWOULDBLOCK: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case EPIPE: return 10058;
    case ENOBUFS: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    case EUSERS: return 10068;
    case EDQUOT: return 10069;
    case ESTALE: return 10070;
    case EREMOTE: return 10071;
    default: return 0;
  }
}

std::string WinSockErrorText(int code) {
  switch (code) {
    case 10004: return "Interrupted system call";
    case 10009: return "Bad file number";
    case 10013: return "Permission denied";
    case 10014: return "Bad address";
    case 10022: return "Invalid argument";
    case 10024: return "Too many open files";
    case 10035: return "Operation would block";
    case 10036: return "Operation now in progress";
    case 10037: return "Operation already in progress";
    case 10038: return "Socket operation on non-socket";
    case 10039: return "Destination address required";
    case 10040: return "Message too long";
    case 10041: return "Protocol wrong type for socket";
    case 10042: return "Protocol not available";
    case 10043: return "Protocol not supported";
    case 10044: return "Socket type not supported";
    case 10045: return "Operation not supported on socket";
    case 10046: return "Protocol family not supported";
    case 10047: return "Address family not supported by protocol family";
    case 10048: return "Address already in use";
    case 10049: return "Address not available";
    case 10050: return "Network is down";
    case 10051: return "Network is unreachable";
    case 10052: return "Network dropped connection on reset";
    case 10053: return "Connection aborted";
    case 10054: return "Connection reset by peer";
    case 10055: return "No buffer space available";
    case 10056: return "Socket is already connected";
    case 10057: return "Socket is not connected";
    case 10058: return "Can't send after socket shutdown";
    case 10059: return "Too many references: can't splice";
    case 10060: return "Connection timed out";
    case 10061: return "Connection refused";
    case 10062: return "Too many levels of symbolic links";
    case 10063: return "File name too long";
    case 10064: return "Host is down";
    case 10065: return "No route to host";
    case 10066: return "Directory not empty";
    case 10067: return "Too many processes";
    case 10068: return "Too many users";
    case 10069: return "Disc quota exceeded";
    case 10070: return "Stale NFS file handle";
    case 10071: return "Too many levels of remote in path";
    case 10091: return "Network sub-system is unusable";
    case 10092: return "WinSock DLL cannot support this application";
    case 10093: return "WinSock not initialized";
    case 11001: return "Host not found";
    case 11002: return "Non-authoritative host not found";
    case 11003: return "Non-recoverable error";
    case 11004: return "No Data";
    default: return "Unknown WinSock error";
  }
}

std::string BadURLMessage(const std::string& url) { return "Bad or incomplete URL: " + url + "."; }
std::string AlreadyConnectedMessage() { return "Already connected."; }
std::string AlreadyDisconnectedMessage() { return "Already disconnected."; }
std::string HeaderNotReceivedMessage() { return "Header not received."; }
std::string UnknownHostMessage(const std::string& host) { return "Invalid or uknown host: " + host; }
std::string CreateClientSocketMessage() { return "Unable to create client socket."; }

std::string ConnectFailedMessage(const std::string& host, int winSockError) {
  return "Unable to connect to: " + host + ".\r\nWinSock error: " + WinSockErrorText(winSockError) +
         ".";
}

std::string SendFailedMessage(const std::string& host, int winSockError) {
  return "Unable to send to: " + host + ".\r\nWinSock error: " + WinSockErrorText(winSockError) + ".";
}

std::string ReceiveFailedMessage(const std::string& host, int winSockError) {
  return "Unable to receive from: " + host + ".\r\nWinSock error: " + WinSockErrorText(winSockError) +
         ".";
}

std::string ConnectionTimeoutMessage() { return "Connection timeout."; }

std::string ClosedBeforeReplyMessage(const std::string& host) {
  return "Host: " + host + " closed the connection without a complete reply.";
}

std::string ResolvingHostStatus(const std::string& host) { return "Resolving host: " + host; }
std::string ContactingHostStatus(const std::string& host) { return "Contacting host: " + host; }
std::string HostContactedStatus(const std::string& host) {
  return "Host: " + host + " contacted, waiting for reply";
}

std::string ZeroLengthMessage(const std::string& url) {
  return "\"" + url + "\" is a document with zero length.";
}

std::string DocumentTooLargeMessage(const std::string& url) {
  return "\"" + url + "\" is too large (2 GB or more).";
}

std::string DownloadTruncatedMessage(const std::string& url, std::int32_t received,
                                     std::int32_t total) {
  return "Connection closed after " + std::to_string(received) + " of " + std::to_string(total) +
         " bytes of \"" + url + "\".";
}

std::string DownloadWriteFailedMessage(const std::string& url, const std::string& fileName) {
  return "Unable to write the download of \"" + url + "\" to: " + fileName + ".";
}

std::string NotHTTPServerMessage() { return "Connection established but this is not a HTTP server."; }

std::string HTTPStatusErrorMessage(int code, const std::string& reason) {
  return "HTTP error " + std::to_string(code) + ": \"" + reason + "\"";
}

std::string HTTPErrorMessage(const std::string& text) { return "HTTP error: \"" + text + "\""; }

std::string UnsupportedEncodingText(const std::string& encoding) {
  return "Unsupported encoding: " + encoding + ".";
}

std::string RedirectURLMissingText() {
  return "Redirection required but redirect URL was not specified.";
}

std::string TooManyRedirectionsText() { return "Too many redirections."; }

std::string UnknownHTTPStatusText(int code) { return "Unknown HTTP status: " + std::to_string(code); }

std::string FTPErrorMessage(int code, const std::string& text) {
  if (code <= 0) return "FTP error: \"" + text + "\"";
  return "FTP error " + std::to_string(code) + ": \"" + text + "\"";
}

std::string BadServerResponseMessage(const std::string& line) {
  return "Bad server response: \"" + line + "\".";
}

std::string NoDataConnectionMessage() { return "No response from FTP server to our data connection."; }
std::string CreateDataSocketMessage() { return "Unable to create FTP data socket."; }
std::string BindDataSocketMessage() { return "Unable to bind FTP data socket."; }
std::string ListenDataSocketMessage() { return "FTP data socket is unable to listen."; }

std::string EmptyURLFieldMessage() { return "\"URL\" field can not be empty."; }
std::string IncompleteURLMessage(const std::string& text) {
  return "\"" + text + "\" is incomplete or bad URL.";
}

std::string LoadingURLsCaption() { return "Loading URL(s)"; }
std::string WaitingForURLsLabel(int count) {
  return "Waiting for " + std::to_string(count) + " URL(s)...";
}

}  // namespace korvane
