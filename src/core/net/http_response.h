// The HTTP side of the client: the one request it sends and the reading of
// the response header, line by line.
//
// The client asks for a whole document with a plain GET and reads only what
// it needs from the answer: the status (an error above 399, a redirection
// above 299), the size ("Content-Length: " or the total of "Content-Range: "),
// the redirection target ("Location: "). A document it cannot store as it
// arrives (a content or transfer encoding) is refused. Pure text work; may
// run on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "net/url.h"

namespace korvane {

// The size of a download whose size is not known yet.
inline constexpr std::int32_t kUndeterminedSize = 0x7FFFFFFF;

// The client's name and version as it sends them: "Korvane Version 2.2 (Build 258)".
std::string AgentText();

// Base64 of bytes in the RFC 2045 alphabet, padded with "=".
std::string Base64Encode(std::string_view bytes);

// The GET request for a URL's path and host, every line ended by carriage
// return and line feed, with "Authorization: Basic" when a user is given.
std::string HTTPRequest(const TURLParts& url);

// The reason phrase of RFC 2068 for a status code, or "Unknown HTTP status: %d".
std::string HTTPReasonPhrase(int code);

// The response header as it is read. Feed every line to HandleLine until it
// returns true.
class THTTPResponse {
 public:
  // url names the document in messages.
  explicit THTTPResponse(std::string url) : url_(std::move(url)) {}

  // Handles one line (without its line end); true when it was the empty line
  // that ends the header. Throws EInetError: "Connection established but this
  // is not a HTTP server." for a bad status line, "HTTP error %d: \"%s\"" for
  // a status above 399, "HTTP error: \"Unsupported encoding: %s.\"" for an
  // encoded document, "\"%s\" is too large (2 GB or more)." for a size the
  // program cannot hold.
  bool HandleLine(std::string_view line);

  // Whether a line that begins with start must be read whole: the status
  // line and the headers the client acts on. Other lines may be skipped
  // when they do not fit the receive buffer.
  bool NeedsWholeLine(std::string_view start) const;

  bool StatusLineSeen() const { return statusLineSeen_; }

  int StatusCode = 0;
  std::string StatusText;
  bool RedirectionPending = false;
  std::string RedirectURL;
  // kUndeterminedSize until a size header gives it.
  std::int32_t TotalSize = kUndeterminedSize;

 private:
  void HandleStatusLine(std::string_view line);
  void HandleHeaderLine(std::string_view line);
  // The size a size header's value gives; TotalSize when it is no number.
  std::int32_t SizeValue(std::string_view text) const;

  std::string url_;

  bool statusLineSeen_ = false;
};

}  // namespace korvane
