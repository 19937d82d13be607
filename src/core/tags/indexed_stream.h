// TIndexedStream: a file of fixed-width records of 32-bit integers with an
// in-memory index of every block's first record; the line, page and
// tracked-tag tables of a text are kept in it. A block holds at most 2,048
// integers, so a lookup bisects the index and then reads one block of at
// most 8,192 bytes. The index lives in a companion file (magic "IDXS") beside
// a stored data file.
//
// Not thread-safe: one thread uses a table at a time.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace korvane {

class TIndexedStream {
 public:
  static constexpr std::int32_t kBlockIntegers = 2048;

  // Creates (truncates) the data file at path for records of width integers.
  // Throws Exception when the file cannot be created.
  static std::unique_ptr<TIndexedStream> Create(const std::string& path, std::int32_t width);
  // Opens a data file and its companion. Throws Exception("Invalid index
  // file: " + path) when the companion is missing, has a wrong magic or
  // version, or describes more records than the data file holds.
  static std::unique_ptr<TIndexedStream> OpenStored(const std::string& path, bool readOnly);

  TIndexedStream(const TIndexedStream&) = delete;
  TIndexedStream& operator=(const TIndexedStream&) = delete;
  ~TIndexedStream();

  // Appends one record of width 1 / of RecordWidth values. Throws Exception
  // when the file cannot be written.
  void AppendValue(std::int32_t value);
  void AppendRecord(std::span<const std::int32_t> values);

  // Writes the companion for path and a copy of the data file to path; this
  // table keeps its own file. Throws Exception on failure.
  void SaveAs(const std::string& path);

  // The index of the last record whose value (column) is at most position,
  // or -1 when there is none.
  std::int32_t FindLast(std::int32_t position) const { return FindLastInColumn(position, 0); }
  std::int32_t FindLastInColumn(std::int32_t position, std::int32_t column) const;
  // The value in column of record index (0 <= index < RecordCount).
  std::int32_t ValueAt(std::int32_t index, std::int32_t column) const;

  std::int32_t RecordCount() const { return recordCount_; }
  std::int32_t IndexCount() const { return indexCount_; }
  std::int32_t RecordWidth() const { return recordWidth_; }
  std::int32_t IndexGrowth() const { return indexGrowth_; }
  std::int32_t RecordsPerBlock() const { return recordsPerBlock_; }
  const std::vector<std::int32_t>& BlockIndex() const { return blockIndex_; }
  const std::string& FileName() const { return fileName_; }

  bool Stored = false;  // opened from, or saved to, a data file with its companion
  bool Fresh = false;   // built by the collection in the temporary folder
  // The file is a private temporary copy of a table a workspace saved.
  bool PrivateCopy = false;
  // The copy of this table in a workspace's data folder (data file path),
  // empty while the table is saved in none.
  std::string SavedAs;
  // True when the file is the program's own (created here or a private
  // copy) and goes with the table; a workspace's saved file never does.
  bool OwnsFile() const { return created_ || PrivateCopy; }

 private:
  TIndexedStream() = default;
  void AppendToIndex(std::span<const std::int32_t> values, std::size_t newLength);
  void WriteRecord(std::span<const std::int32_t> values);
  // Writes the records gathered in memory to the file. Throws Exception when
  // they cannot be written.
  void FlushPending() const;
  // The companion file's bytes for the current fields.
  std::string CompanionBytes() const;
  std::vector<std::int32_t> ReadBlock(std::int32_t block) const;

  mutable std::fstream file_;
  // Appended records not yet in the file.
  mutable std::vector<std::int32_t> pending_;
  std::vector<std::int32_t> blockIndex_;
  std::int32_t recordCount_ = 0;
  std::int32_t indexCount_ = 0;
  std::int32_t recordWidth_ = 1;
  std::int32_t indexGrowth_ = kBlockIntegers;
  std::int32_t recordsPerBlock_ = kBlockIntegers;
  std::string fileName_;
  bool created_ = false;
};

}  // namespace korvane
