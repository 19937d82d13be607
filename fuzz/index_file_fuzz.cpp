// Fuzz target for stored table files: a data file and its "IDXS" companion
// built from the input are opened as a table, and every lookup a caller may
// make is tried. Refusals ("Invalid index file: ...") are expected; crashes,
// reads outside the files, sanitizer reports and answers outside the table
// are not. The first two bytes give the data file's share of the input.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "app/errors.h"
#include "corpus/corpus.h"
#include "tags/indexed_stream.h"

namespace {

using namespace korvane;

void Check(bool condition) {
  if (!condition) std::abort();
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The folder of this process's two files.
const std::string& Folder() {
  static const std::string folder = [] {
    std::string path = "/tmp/korvane-index-fuzz-" + std::to_string(::getpid());
    ::mkdir(path.c_str(), 0700);
    return path + "/";
  }();
  return folder;
}

void TryLookups(const TIndexedStream& table) {
  const std::int32_t records = table.RecordCount();
  const std::int32_t width = table.RecordWidth();
  Check(records >= 0 && width >= 1);
  for (std::int32_t position : {INT32_MIN, -1, 0, 1, 4096, 65536, INT32_MAX}) {
    for (std::int32_t column = -1; column <= width && column < 4; ++column) {
      const std::int32_t found = table.FindLastInColumn(position, column);
      Check(found >= -1 && found < records);
      if (found >= 0) (void)table.ValueAt(found, column);
    }
  }
  for (std::int32_t index : {0, records / 2, records - 1})
    if (index >= 0 && index < records) (void)table.ValueAt(index, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t split = std::min<std::size_t>(size - 2, (data[0] << 8 | data[1]) * 4u);
  const std::string path = Folder() + "LNTfuzz.tmp";
  WriteFile(path, data + 2, split);
  WriteFile(CompanionFileName(path), data + 2 + split, size - 2 - split);
  try {
    const auto table = TIndexedStream::OpenStored(path, true);
    TryLookups(*table);
  } catch (const Exception&) {
  }
  return 0;
}
