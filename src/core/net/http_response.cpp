// The HTTP request and the response header reader; see http_response.h.
#include "net/http_response.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

#include "net/inet_errors.h"

namespace korvane {
namespace {

bool IsDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number a size header holds, kUndeterminedSize or more when it is too
// large for a text, or -1 when the value is no number.
std::int64_t ParseSize(std::string_view s) {
  if (!IsDigits(s)) return -1;
  std::int64_t value = 0;
  for (char c : s) {
    value = value * 10 + (c - '0');
    if (value >= kUndeterminedSize) return kUndeterminedSize;
  }
  return value;
}

// When line begins with name and a colon (letter case ignored), value
// receives the rest, trimmed.
bool MatchHeader(std::string_view line, std::string_view name, std::string_view& value) {
  if (line.size() <= name.size() || line[name.size()] != ':') return false;
  if (strncasecmp(line.data(), name.data(), name.size()) != 0) return false;
  value = TrimBlanks(line.substr(name.size() + 1));
  return true;
}

// The headers whose values the client reads.
constexpr std::string_view kContentLength = "Content-Length";
constexpr std::string_view kContentRange = "Content-Range";
constexpr std::string_view kLocation = "Location";
constexpr std::string_view kContentEncoding = "Content-Encoding";
constexpr std::string_view kTransferEncoding = "Transfer-Encoding";

}  // namespace

std::string AgentText() {
  char version[64];
  std::snprintf(version, sizeof version, "Version %s (Build %.3d)", "2.2", 258);
  return std::string("Korvane") + " " + version;
}

std::string Base64Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += kAlphabet[v >> 6 & 63];
    out += kAlphabet[v & 63];
  }
  const std::size_t left = bytes.size() - i;
  if (left > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (left == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[v >> 18 & 63];
    out += kAlphabet[v >> 12 & 63];
    out += left == 2 ? kAlphabet[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

std::string HTTPRequest(const TURLParts& url) {
  std::string request = "GET " + url.path + " HTTP/1.1\r\n";
  request += "Host: " + url.host + "\r\n";
  request += "Agent: " + AgentText() + "\r\n";
  request += "Accept: *.*, */*\r\n";
  if (!url.user.empty())
    request += "Authorization: Basic " + Base64Encode(url.user + ":" + url.password) + "\r\n";
  request += "\r\n";
  return request;
}

std::string HTTPReasonPhrase(int code) {
  switch (code) {
    case 100: return "Continue";
    case 101: return "Switching Protocols";
    case 200: return "OK";
    case 201: return "Created";
    case 202: return "Accepted";
    case 203: return "Non-Authoritative Information";
    case 204: return "No Content";
    case 205: return "Reset Content";
    case 206: return "Partial Content";
    case 300: return "Multiple Choices";
    case 301: return "Moved Permanently";
    case 302: return "Moved Temporarily";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 305: return "Use Proxy";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 402: return "Payment Required";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 406: return "Not Acceptable";
    case 407: return "Proxy Authentication Required";
    case 408: return "Request Time-out";
    case 409: return "Conflict";
    case 410: return "Gone";
    case 411: return "Length Required";
    case 412: return "Precondition Failed";
    case 413: return "Request Entity Too Large";
    case 414: return "Request-URI Too Large";
    case 415: return "Unsupported Media Type";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Time-out";
    case 505: return "HTTP Version not supported";
    default: return UnknownHTTPStatusText(code);
  }
}

std::int32_t THTTPResponse::SizeValue(std::string_view text) const {
  const std::int64_t size = ParseSize(text);
  if (size < 0) return TotalSize;  // not a number: the size stays as it was
  if (size >= kUndeterminedSize) throw EInetError(DocumentTooLargeMessage(url_));
  return static_cast<std::int32_t>(size);
}

bool THTTPResponse::HandleLine(std::string_view line) {
  if (!statusLineSeen_) {
    HandleStatusLine(line);
    statusLineSeen_ = true;
    return false;
  }
  if (line.empty()) return true;
  HandleHeaderLine(line);
  return false;
}

bool THTTPResponse::NeedsWholeLine(std::string_view start) const {
  if (!statusLineSeen_) return true;
  for (std::string_view name :
       {kContentLength, kContentRange, kLocation, kContentEncoding, kTransferEncoding}) {
    const std::size_t n = std::min(start.size(), name.size());
    if (strncasecmp(start.data(), name.data(), n) == 0) return true;
  }
  return false;
}

void THTTPResponse::HandleStatusLine(std::string_view line) {
  if (line.find("HTTP") == std::string_view::npos) throw EInetError(NotHTTPServerMessage());
  if (line.starts_with("HTTP/")) {
    const std::string_view version = line.substr(5);
    const std::size_t dot = version.find('.');
    const std::size_t space = version.find(' ');
    if (dot == std::string_view::npos || space == std::string_view::npos || dot > space ||
        !IsDigits(version.substr(0, dot)) || !IsDigits(version.substr(dot + 1, space - dot - 1)))
      throw EInetError(NotHTTPServerMessage());
  }
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) throw EInetError(NotHTTPServerMessage());
  const std::string_view code = line.substr(space + 1, 3);
  if (code.size() != 3 || !IsDigits(code)) throw EInetError(NotHTTPServerMessage());
  StatusCode = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
  StatusText = std::string(TrimBlanks(line.substr(std::min(space + 4, line.size()))));
  if (StatusText.empty()) StatusText = HTTPReasonPhrase(StatusCode);
  if (StatusCode > 399) throw EInetError(HTTPStatusErrorMessage(StatusCode, StatusText));
  if (StatusCode > 299) RedirectionPending = true;
}

void THTTPResponse::HandleHeaderLine(std::string_view line) {
  std::string_view value;
  if (MatchHeader(line, kContentLength, value)) {
    TotalSize = SizeValue(value);
  } else if (MatchHeader(line, kContentRange, value)) {
    const std::size_t slash = value.find('/');
    if (slash != std::string_view::npos) TotalSize = SizeValue(TrimBlanks(value.substr(slash + 1)));
  } else if (MatchHeader(line, kLocation, value)) {
    RedirectURL = std::string(value);
  } else if (MatchHeader(line, kContentEncoding, value)) {
    throw EInetError(HTTPErrorMessage(UnsupportedEncodingText(std::string(value))));
  } else if (MatchHeader(line, kTransferEncoding, value)) {
    // Chunks would land in the text with their size lines; only the plain
    // form can be stored as it arrives.
    if (strcasecmp(std::string(value).c_str(), "identity") != 0)
      throw EInetError(HTTPErrorMessage(UnsupportedEncodingText(std::string(value))));
  }
  // "Server: ", "Date: ", "Content-Type: " and every other header change nothing.
}

}  // namespace korvane
