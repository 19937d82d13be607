// URL parsing, redirection targets and the URL history; see url.h.
#include "net/url.h"

#include <algorithm>
#include <cctype>

#include "net/inet_errors.h"

namespace korvane {
namespace {

std::string Trim(const std::string& s) { return std::string(TrimBlanks(s)); }

std::string UpperCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A decimal port from 0 to 65535.
bool IsPortNumber(const std::string& s) {
  if (s.empty() || s.size() > 5) return false;
  if (!std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  return std::stoi(s) <= 65535;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool ParseURL(const std::string& text, TURLParts& parts) {
  const std::size_t separator = text.find("://");
  if (separator == std::string::npos) return false;
  const std::string scheme = UpperCase(Trim(text.substr(0, separator)));
  if (scheme == "HTTP") {
    parts.scheme = TURLScheme::HTTP;
  } else if (scheme == "FTP") {
    parts.scheme = TURLScheme::FTP;
  } else {
    return false;
  }
  std::string rest = Trim(text.substr(separator + 3));

  const std::size_t slash = rest.find('/');
  if (slash == std::string::npos) {
    parts.path = "/";
  } else {
    parts.path = Trim(rest.substr(slash));
    rest.erase(slash);
  }

  parts.user.clear();
  parts.password.clear();
  const std::size_t at = rest.rfind('@');
  if (at != std::string::npos) {
    const std::string userInfo = Trim(rest.substr(0, at));
    if (userInfo.empty()) return false;
    rest.erase(0, at + 1);
    const std::size_t colon = userInfo.find(':');
    if (colon == std::string::npos) {
      parts.user = userInfo;
    } else {
      parts.user = Trim(userInfo.substr(0, colon));
      parts.password = Trim(userInfo.substr(colon + 1));
    }
  }

  const std::size_t colon = rest.find(':');
  if (colon == std::string::npos) {
    parts.port = parts.scheme == TURLScheme::HTTP ? "80" : "21";
  } else {
    parts.port = Trim(rest.substr(colon + 1));
    if (!IsPortNumber(parts.port)) return false;
    rest.erase(colon);
  }

  parts.host = Trim(rest);
  return !parts.host.empty();
}

std::string ResolveRedirectURL(const std::string& current, const TURLParts& currentParts,
                               const std::string& location) {
  if (location.find("://") != std::string::npos) return location;
  const std::size_t separator = current.find("://");
  if (location.starts_with("//")) return Trim(current.substr(0, separator)) + ":" + location;
  const std::size_t slash = current.find('/', separator + 3);
  const std::string origin =
      Trim(slash == std::string::npos ? current : current.substr(0, slash));
  if (location.starts_with("/")) return origin + location;
  // Relative to the folder of the current path (a query is not a folder).
  const std::string path = currentParts.path.substr(0, currentParts.path.find('?'));
  return origin + path.substr(0, path.rfind('/') + 1) + location;
}

void PutURLAtTop(std::vector<std::string>& history, const std::string& text) {
  if (text.empty()) return;
  const auto found = std::find(history.begin(), history.end(), text);
  if (found == history.end()) {
    history.insert(history.begin(), text);
  } else if (found != history.begin()) {
    std::iter_swap(history.begin(), found);
  }
}

std::string AcceptOpenURL(std::vector<std::string>& history, const std::string& text) {
  const std::string url = Trim(text);
  if (url.empty()) throw Exception(EmptyURLFieldMessage());
  TURLParts parts;
  if (!ParseURL(url, parts)) throw Exception(IncompleteURLMessage(url));
  PutURLAtTop(history, url);
  return url;
}

}  // namespace korvane
