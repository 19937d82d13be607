// URLs of network texts: splitting one into scheme, user information, host,
// port and path, resolving the target of a redirection against the URL that
// was asked for, and the "Open URL" dialog's history list.
//
// Only the two schemes of the client are understood, written
// (http | ftp)://[user[:password]@]server[:port][/path]. Everything here is
// pure text work and may run on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The text without spaces and control characters at either end, as URL
// fields and server replies are trimmed.
std::string_view TrimBlanks(std::string_view text);

enum class TURLScheme : unsigned char { HTTP = 0, FTP = 1 };

// The parts of a URL as the client uses them.
struct TURLParts {
  TURLScheme scheme = TURLScheme::HTTP;
  std::string user;      // empty when absent
  std::string password;  // empty when absent
  std::string host;
  std::string port;      // as text; "80" or "21" when absent
  std::string path;      // from the first "/" after the host; "/" when absent
};

// Splits a URL; false (parts unspecified) when the text is not a valid HTTP
// or FTP URL: no "://", another scheme, an empty user information before
// "@", an empty or non-numeric port or one above 65535, or an empty host.
bool ParseURL(const std::string& text, TURLParts& parts);

// The absolute URL that a redirection's "Location: " value names. A value
// with "://" is taken as it stands; one beginning with "/" replaces the path
// of current; any other replaces the last segment of current's path.
// current must be a URL that ParseURL accepted (its parts are given).
std::string ResolveRedirectURL(const std::string& current, const TURLParts& currentParts,
                               const std::string& location);

// --- The "Open URL" dialog's history ------------------------------------------

// Puts a text at the top of the history: nothing for an empty text; a text
// not in the list (exact, case-sensitive) is inserted at the top; a text found
// further down changes place with the first entry.
void PutURLAtTop(std::vector<std::string>& history, const std::string& text);

// The dialog's OK: trims the text, checks it and puts it at the top of the
// history; returns the trimmed text. Throws Exception "\"URL\" field can not
// be empty." or "\"%s\" is incomplete or bad URL." and leaves the history
// unchanged.
std::string AcceptOpenURL(std::vector<std::string>& history, const std::string& text);

}  // namespace korvane
