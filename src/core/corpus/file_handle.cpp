// TFileHandle over POSIX file descriptors.
#include "corpus/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korvane {

TFileHandle::~TFileHandle() { Close(); }

bool TFileHandle::Open(const std::string& fileName) {
  Close();
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  position_ = 0;
  size_ = st.st_size;
  return true;
}

std::int32_t TFileHandle::ReadAt(std::int64_t offset, std::int32_t count, void* buffer) {
  if (handle_ < 0) return -1;
  if (count <= 0) return 0;
  if (offset >= 0 && offset != position_) {
    if (::lseek(handle_, offset, SEEK_SET) < 0) return -1;
    position_ = offset;
  }
  auto* out = static_cast<char*>(buffer);
  std::int32_t total = 0;
  while (total < count) {
    const ssize_t n = ::read(handle_, out + total, static_cast<std::size_t>(count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (total == 0) return -1;
      break;
    }
    if (n == 0) break;
    total += static_cast<std::int32_t>(n);
  }
  position_ += total;
  return total;
}

void TFileHandle::Close() {
  if (handle_ >= 0) ::close(handle_);
  handle_ = -1;
  position_ = 0;
  size_ = -1;
}

}  // namespace korvane
