// Unique temporary file names.
#include "app/temp_file.h"

#include <cstdlib>
#include <unistd.h>

#include "app/errors.h"

namespace korvane {

std::string TempFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = folder != nullptr && *folder != 0 ? folder : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

std::string TempFileName(const std::string& prefix) {
  std::string name = TempFolder() + prefix + "XXXXXX.tmp";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) throw Exception(UnableToOpenFileMessage(name));
  ::close(fd);
  return name;
}

}  // namespace korvane
