// Fuzz target for what servers send the client: an HTTP response header or
// a run of FTP replies, cut into arrivals of varying size and fed through
// the receive buffer, the header reader and the FTP dialogue the way the
// download stream feeds them. The first byte chooses the protocol and the
// arrival sizes. Refusals (EInetError) are expected; crashes, hangs,
// sanitizer reports and broken invariants are not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/ftp_dialogue.h"
#include "net/http_response.h"
#include "net/inet_errors.h"
#include "net/receive_buffer.h"

namespace {

using namespace korvane;

void Check(bool condition) {
  if (!condition) std::abort();
}

// A line never holds a line end.
void CheckLine(const std::string& line) {
  Check(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
}

// Walks the header like the stream: every complete line, then an over-long
// line refused or skipped. Returns true when the header ended.
bool FeedHTTP(TReceiveBuffer& buffer, THTTPResponse& response) {
  std::string line;
  while (buffer.NextHTTPLine(line)) {
    CheckLine(line);
    if (response.HandleLine(line)) return true;
  }
  if (buffer.Full()) {
    if (response.NeedsWholeLine(buffer.Unread())) throw EInetError(NotHTTPServerMessage());
    buffer.DiscardLine();
  }
  return false;
}

// Walks FTP replies like the stream; true once the transfer would begin.
bool FeedFTP(TReceiveBuffer& buffer, TFTPReplyReader& reader, TFTPDialogue& dialogue) {
  std::string line;
  TFTPReply reply;
  while (buffer.NextFTPLine(line)) {
    CheckLine(line);
    if (!reader.Parse(line, reply)) continue;
    Check(reply.code >= 0 && reply.code <= 999);
    std::string command;
    if (dialogue.HandleReply(reply, command) == TFTPAction::AcceptDataConnection) {
      Check(dialogue.AnnouncedSize() >= 0);
      return true;
    }
  }
  if (buffer.Full()) throw EInetError(BadServerResponseMessage(std::string(buffer.Unread())));
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool ftp = (data[0] & 1) != 0;
  const std::size_t piece = 1 + (data[0] >> 1) * 9;  // 1 to 1,144 bytes per arrival
  ++data;
  --size;

  TReceiveBuffer buffer;
  THTTPResponse response("http://h/");
  TURLParts parts;
  parts.path = "/a.txt";
  TFTPDialogue dialogue(parts, "ftp://h/a.txt");
  dialogue.Start();
  TFTPReplyReader reader;
  try {
    for (std::size_t at = 0; at < size;) {
      int freeSpace = 0;
      char* to = buffer.PrepareReceive(freeSpace);
      Check(freeSpace >= 0 && freeSpace <= TReceiveBuffer::kCapacity);
      const std::size_t n = std::min({piece, size - at, static_cast<std::size_t>(freeSpace)});
      std::memcpy(to, data + at, n);
      buffer.Received(static_cast<int>(n));
      at += n;
      const bool done = ftp ? FeedFTP(buffer, reader, dialogue) : FeedHTTP(buffer, response);
      if (done) {
        // What follows the header is data: it must be readable as it stands.
        Check(buffer.Unread().size() <= static_cast<std::size_t>(TReceiveBuffer::kCapacity));
        break;
      }
      // Every arrival leaves room for the next one, or the line was refused.
      Check(!buffer.Full());
    }
  } catch (const EInetError&) {
    // A refused response.
  }
  return 0;
}
