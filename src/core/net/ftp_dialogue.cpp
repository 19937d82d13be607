// FTP reply lines and the login-and-retrieve dialogue; see ftp_dialogue.h.
#include "net/ftp_dialogue.h"

#include <initializer_list>
#include <utility>

#include "net/http_response.h"
#include "net/inet_errors.h"

namespace korvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool OneOf(int code, std::initializer_list<int> codes) {
  for (int c : codes)
    if (c == code) return true;
  return false;
}

}  // namespace

bool TFTPReplyReader::Parse(const std::string& line, TFTPReply& reply) {
  const bool hasCode = line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
  const int code = hasCode ? (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0') : 0;
  if (multiLineCode_ != 0) {
    // Inside a multi-line reply only its last line counts.
    if (code != multiLineCode_ || (line.size() > 3 && line[3] == '-')) return false;
    multiLineCode_ = 0;
  } else {
    if (!line.empty() && line[0] == '-') return false;
    if (!hasCode) throw EInetError(BadServerResponseMessage(line));
    if (line.size() > 3 && line[3] == '-') {
      multiLineCode_ = code;
      return false;
    }
  }
  reply.code = code;
  reply.text = std::string(TrimBlanks(std::string_view(line).substr(3)));
  return true;
}

TFTPDialogue::TFTPDialogue(const TURLParts& parts, std::string url)
    : parts_(parts), url_(std::move(url)), announcedSize_(kUndeterminedSize) {}

TFTPAction TFTPDialogue::HandleReply(const TFTPReply& reply, std::string& command) {
  const auto refuse = [&] { return EInetError(FTPErrorMessage(reply.code, reply.text)); };
  switch (step_) {
    case 1:
      if (!OneOf(reply.code, {220, 120})) throw refuse();
      command = "USER " + (parts_.user.empty() ? std::string("anonymous") : parts_.user);
      break;
    case 2:
      if (!OneOf(reply.code, {331, 230})) throw refuse();
      command = "PASS " + (parts_.user.empty() && parts_.password.empty()
                               ? std::string(kAnonymousFTPPassword)
                               : parts_.password);
      break;
    case 3:
      if (reply.code != 230) throw refuse();
      command = "REST 100";
      break;
    case 4:
      command = "REST 0";
      break;
    case 5:
      command = "TYPE I";
      break;
    case 6:
      if (reply.code != 200) throw refuse();
      ++step_;
      return TFTPAction::OpenDataSocketAndSendPort;
    case 7:
      if (reply.code != 200) throw refuse();
      command = "RETR " + parts_.path;
      break;
    case 8: {
      if (reply.code != 150) throw refuse();
      // "(N bytes)": the digits right after the first "(".
      const std::size_t open = reply.text.find('(');
      std::int64_t size = -1;
      for (std::size_t i = open == std::string::npos ? reply.text.size() : open + 1;
           i < reply.text.size() && IsDigit(reply.text[i]) && size < kUndeterminedSize; ++i)
        size = (size < 0 ? 0 : size * 10) + (reply.text[i] - '0');
      if (size >= kUndeterminedSize) throw EInetError(DocumentTooLargeMessage(url_));
      if (size >= 0) announcedSize_ = static_cast<std::int32_t>(size);
      step_ = 9;
      return TFTPAction::AcceptDataConnection;
    }
    default:
      throw refuse();
  }
  ++step_;
  return TFTPAction::Send;
}

std::string TFTPDialogue::PortCommand(std::uint32_t address, std::uint16_t port) {
  return "PORT " + std::to_string(address >> 24 & 255) + "," + std::to_string(address >> 16 & 255) +
         "," + std::to_string(address >> 8 & 255) + "," + std::to_string(address & 255) + "," +
         std::to_string(port >> 8) + "," + std::to_string(port & 255);
}

}  // namespace korvane
