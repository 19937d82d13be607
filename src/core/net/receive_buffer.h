// The receive buffer of a download: 1,024 bytes that every arrival of data
// is appended to, and the splitting of what it holds into the lines of an
// HTTP header or of FTP replies.
//
// Lines end at a carriage return, a line feed, or the two together. HTTP
// keeps empty lines (one ends the header), so a carriage return at the very
// end of the buffered data leaves a line feed to skip when it arrives; FTP
// skips every run of line ends. A line that fills the whole buffer without
// ending cannot be completed: the owner sees Full() and decides whether to
// fail or to DiscardLine(). The buffer is pure memory work, used by one
// thread at a time.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

class TReceiveBuffer {
 public:
  static constexpr int kCapacity = 1024;

  // Moves the unread bytes to the front and returns where new bytes go;
  // freeSpace receives how many fit (0 when the buffer is full).
  char* PrepareReceive(int& freeSpace);
  // n bytes were written at the place PrepareReceive gave.
  void Received(int n);

  // Takes the next complete HTTP header line (without its line end); false
  // when no complete line is buffered.
  bool NextHTTPLine(std::string& line);
  // Takes the next complete FTP reply line, skipping empty ones.
  bool NextFTPLine(std::string& line);

  // The buffer holds kCapacity unread bytes and no line end among them.
  bool Full() const { return fill_ - read_ == kCapacity; }
  // Drops the buffered start of an over-long line and the rest of it as it
  // arrives, up to and including its line end.
  void DiscardLine();

  // The unread bytes, after skipping a line feed left over from the last
  // header line. Consume(n) marks n of them read.
  std::string_view Unread();
  void Consume(int n) { read_ += n; }
  // Forgets everything buffered (a new connection).
  void Clear();

 private:
  // Skips the line feed of a carriage return that ended the last line.
  void SkipPendingLineFeed();
  // The offset of the first carriage return or line feed at or after from,
  // or fill_.
  int FindLineEnd(int from) const;

  char data_[kCapacity + 1] = {};
  int fill_ = 0;
  int read_ = 0;
  bool crPending_ = false;
  bool discarding_ = false;
};

}  // namespace korvane
