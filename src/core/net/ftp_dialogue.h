// The FTP side of the client: reading reply lines and the fixed dialogue
// that logs in and asks for one file.
//
// The client waits for the greeting, logs in (anonymously when the URL has
// no user), asks for binary transfer, offers a data port with PORT and
// retrieves the path with RETR; the "150" reply that opens the transfer may
// announce the size as "(N bytes)". Each reply is checked against the step
// the dialogue has reached, and any other reply ends the download with the
// server's code and text. Pure text work; may run on any thread. The socket
// work each step asks for is the download stream's.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "net/url.h"

namespace korvane {

// One reply: its three-digit code and the text after it, trimmed.
struct TFTPReply {
  int code = 0;
  std::string text;
};

// Reads reply lines. The inner lines of a multi-line reply (from "NNN-" up
// to the line that begins with the same code and a space) are skipped.
class TFTPReplyReader {
 public:
  // True with reply filled when the line is a reply to act on; false for a
  // line to skip. Throws EInetError "Bad server response: \"%s\"." when a line
  // outside a multi-line reply does not begin with a three-digit code.
  bool Parse(const std::string& line, TFTPReply& reply);

 private:
  int multiLineCode_ = 0;  // the code of the open multi-line reply, 0 when none
};

// What the stream does after a reply.
enum class TFTPAction {
  Send,                       // send the command
  OpenDataSocketAndSendPort,  // listen on a data port and send PortCommand
  AcceptDataConnection,       // the transfer begins on the data port
};

// The password of an anonymous login.
inline constexpr const char* kAnonymousFTPPassword = "korvane@localhost";

class TFTPDialogue {
 public:
  // url names the document in messages.
  TFTPDialogue(const TURLParts& parts, std::string url);

  // The step reached: 0 before the greeting is awaited, 9 once the transfer
  // runs.
  int Step() const { return step_; }
  // Begins the dialogue: the greeting is awaited without sending anything.
  void Start() { step_ = 1; }

  // Checks a reply against the step reached and moves to the next step.
  // For Send, command receives the command line (without its line end).
  // Throws EInetError "FTP error %d: \"%s\"" for a reply the step does not
  // expect, and "\"%s\" is too large (2 GB or more)." for an announced size
  // the program cannot hold.
  TFTPAction HandleReply(const TFTPReply& reply, std::string& command);

  // The size the "150" reply announced, or kUndeterminedSize.
  std::int32_t AnnouncedSize() const { return announcedSize_; }

  // "PORT a,b,c,d,p1,p2" for an IPv4 address and a port in host byte order.
  static std::string PortCommand(std::uint32_t address, std::uint16_t port);

 private:
  TURLParts parts_;
  std::string url_;
  int step_ = 0;
  std::int32_t announcedSize_;
};

}  // namespace korvane
