// The errors of the HTTP and FTP client and every text they carry.
//
// Each network failure is an EInetError whose message the user reads; the
// functions below are the only places that write those texts, so a message
// reads the same wherever it is raised. The socket error texts keep the
// numbering of the Windows socket library the program's messages were
// written for: errno values are first mapped to those numbers.
#pragma once

#include <cstdint>
#include <string>

#include "app/errors.h"

namespace korvane {

// Every failure of a download: connecting, talking to the server, receiving.
class EInetError : public Exception {
 public:
  explicit EInetError(const std::string& message) : Exception(message) {}
};

// --- Socket error texts ------------------------------------------------------

// The socket error number (10004 ... 11004) for an errno value; 0 for an
// errno that has none.
int WinSockErrorFromErrno(int errnoValue);
// "Connection refused" for 10061, ...; "Unknown WinSock error" for any
// number without a text.
std::string WinSockErrorText(int code);

// --- Connecting ------------------------------------------------------------

// "Bad or incomplete URL: %s."
std::string BadURLMessage(const std::string& url);
// "Already connected."
std::string AlreadyConnectedMessage();
// "Already disconnected."
std::string AlreadyDisconnectedMessage();
// "Header not received."
std::string HeaderNotReceivedMessage();
// "Invalid or uknown host: %s"
std::string UnknownHostMessage(const std::string& host);
// "Unable to create client socket."
std::string CreateClientSocketMessage();
// "Unable to connect to: %s.\r\nWinSock error: %s." with the host and the
// text of the socket error number.
std::string ConnectFailedMessage(const std::string& host, int winSockError);
// "Unable to send to: %s.\r\nWinSock error: %s."
std::string SendFailedMessage(const std::string& host, int winSockError);
// "Unable to receive from: %s.\r\nWinSock error: %s."
std::string ReceiveFailedMessage(const std::string& host, int winSockError);
// "Connection timeout."
std::string ConnectionTimeoutMessage();
// "Host: %s closed the connection without a complete reply."
std::string ClosedBeforeReplyMessage(const std::string& host);

// --- Status line texts -------------------------------------------------------

// "Resolving host: %s"
std::string ResolvingHostStatus(const std::string& host);
// "Contacting host: %s"
std::string ContactingHostStatus(const std::string& host);
// "Host: %s contacted, waiting for reply"
std::string HostContactedStatus(const std::string& host);

// --- The document ------------------------------------------------------------

// "\"%s\" is a document with zero length."
std::string ZeroLengthMessage(const std::string& url);
// "\"%s\" is too large (2 GB or more)."
std::string DocumentTooLargeMessage(const std::string& url);
// "Connection closed after %d of %d bytes of \"%s\"."
std::string DownloadTruncatedMessage(const std::string& url, std::int32_t received,
                                     std::int32_t total);
// "Unable to write the download of \"%s\" to: %s."
std::string DownloadWriteFailedMessage(const std::string& url, const std::string& fileName);

// --- HTTP ----------------------------------------------------------------------

// "Connection established but this is not a HTTP server."
std::string NotHTTPServerMessage();
// "HTTP error %d: \"%s\""
std::string HTTPStatusErrorMessage(int code, const std::string& reason);
// "HTTP error: \"%s\""
std::string HTTPErrorMessage(const std::string& text);
// "Unsupported encoding: %s."
std::string UnsupportedEncodingText(const std::string& encoding);
// "Redirection required but redirect URL was not specified."
std::string RedirectURLMissingText();
// "Too many redirections."
std::string TooManyRedirectionsText();
// "Unknown HTTP status: %d"
std::string UnknownHTTPStatusText(int code);

// --- FTP -----------------------------------------------------------------------

// "FTP error %d: \"%s\"", or "FTP error: \"%s\"" when code is 0 or less.
std::string FTPErrorMessage(int code, const std::string& text);
// "Bad server response: \"%s\"."
std::string BadServerResponseMessage(const std::string& line);
// "No response from FTP server to our data connection."
std::string NoDataConnectionMessage();
// "Unable to create FTP data socket."
std::string CreateDataSocketMessage();
// "Unable to bind FTP data socket."
std::string BindDataSocketMessage();
// "FTP data socket is unable to listen."
std::string ListenDataSocketMessage();

// --- The "Open URL" dialog ---------------------------------------------------

// "\"URL\" field can not be empty."
std::string EmptyURLFieldMessage();
// "\"%s\" is incomplete or bad URL."
std::string IncompleteURLMessage(const std::string& text);

// --- Waiting for downloads -------------------------------------------------

// "Loading URL(s)"
std::string LoadingURLsCaption();
// "Waiting for %d URL(s)..."
std::string WaitingForURLsLabel(int count);

}  // namespace korvane
