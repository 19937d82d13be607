// The receive buffer and its line splitting; see receive_buffer.h.
#include "net/receive_buffer.h"

#include <cstring>

namespace korvane {

char* TReceiveBuffer::PrepareReceive(int& freeSpace) {
  if (read_ > 0) {
    std::memmove(data_, data_ + read_, static_cast<std::size_t>(fill_ - read_));
    fill_ -= read_;
    read_ = 0;
  }
  freeSpace = kCapacity - fill_;
  return data_ + fill_;
}

void TReceiveBuffer::Received(int n) {
  fill_ += n;
  data_[fill_] = 0;
}

int TReceiveBuffer::FindLineEnd(int from) const {
  int i = from;
  while (i < fill_ && data_[i] != '\r' && data_[i] != '\n') ++i;
  return i;
}

void TReceiveBuffer::SkipPendingLineFeed() {
  if (!crPending_ || read_ >= fill_) return;
  if (data_[read_] == '\n') ++read_;
  crPending_ = false;
}

bool TReceiveBuffer::NextHTTPLine(std::string& line) {
  for (;;) {
    SkipPendingLineFeed();
    const int end = FindLineEnd(read_);
    if (end == fill_) {
      if (discarding_) read_ = fill_;
      return false;
    }
    const bool wasDiscarding = discarding_;
    if (!wasDiscarding) line.assign(data_ + read_, static_cast<std::size_t>(end - read_));
    read_ = end + 1;
    discarding_ = false;
    if (data_[end] == '\r') crPending_ = true;
    if (!wasDiscarding) return true;
  }
}

bool TReceiveBuffer::NextFTPLine(std::string& line) {
  for (;;) {
    while (read_ < fill_ && (data_[read_] == '\r' || data_[read_] == '\n')) ++read_;
    const int end = FindLineEnd(read_);
    if (end == fill_) {
      if (discarding_) read_ = fill_;
      return false;
    }
    const bool wasDiscarding = discarding_;
    if (!wasDiscarding) line.assign(data_ + read_, static_cast<std::size_t>(end - read_));
    read_ = end;
    while (read_ < fill_ && (data_[read_] == '\r' || data_[read_] == '\n')) ++read_;
    discarding_ = false;
    if (!wasDiscarding) return true;
  }
}

void TReceiveBuffer::DiscardLine() {
  read_ = fill_;
  discarding_ = true;
}

std::string_view TReceiveBuffer::Unread() {
  SkipPendingLineFeed();
  return std::string_view(data_ + read_, static_cast<std::size_t>(fill_ - read_));
}

void TReceiveBuffer::Clear() {
  fill_ = 0;
  read_ = 0;
  data_[0] = 0;
  crPending_ = false;
  discarding_ = false;
}

}  // namespace korvane
