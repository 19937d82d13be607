// The table file of fixed-width records and its "IDXS" companion file.
#include "tags/indexed_stream.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "app/errors.h"
#include "app/ini_file.h"
#include "corpus/corpus.h"

namespace korvane {

static_assert(std::endian::native == std::endian::little, "table files are little-endian");

namespace {

constexpr char kMagic[4] = {'I', 'D', 'X', 'S'};
constexpr std::int32_t kVersion = 1;

[[noreturn]] void ThrowInvalid(const std::string& path) { throw Exception("Invalid index file: " + path); }
std::string CannotWriteMessage(const std::string& path) { return "Cannot write to file " + path; }
[[noreturn]] void ThrowCannotRead(const std::string& path) { throw Exception("Cannot read from file " + path); }

void PutInt(std::string& bytes, std::int32_t value) {
  char raw[4];
  std::memcpy(raw, &value, 4);
  bytes.append(raw, 4);
}

std::int32_t GetInt(const std::string& bytes, std::size_t offset) {
  std::int32_t value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TIndexedStream::~TIndexedStream() {
  try {
    FlushPending();
  } catch (const Exception&) {
    // The table goes anyway; whoever reads its file finds it short.
  }
}

std::unique_ptr<TIndexedStream> TIndexedStream::Create(const std::string& path, std::int32_t width) {
  if (width < 1 || width > kBlockIntegers) throw std::invalid_argument("record width out of range");
  std::unique_ptr<TIndexedStream> table(new TIndexedStream);
  table->file_.open(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
  if (!table->file_) throw Exception(UnableToOpenFileMessage(path));
  table->fileName_ = path;
  table->created_ = true;
  table->recordWidth_ = width;
  table->indexGrowth_ = kBlockIntegers / width;
  table->recordsPerBlock_ = kBlockIntegers / width;
  return table;
}

std::unique_ptr<TIndexedStream> TIndexedStream::OpenStored(const std::string& path, bool readOnly) {
  std::unique_ptr<TIndexedStream> table(new TIndexedStream);
  auto mode = std::ios::in | std::ios::binary;
  if (!readOnly) mode |= std::ios::out;
  table->file_.open(path, mode);
  if (!table->file_) throw Exception(UnableToOpenFileMessage(path));
  table->fileName_ = path;

  const std::string companion = ReadWholeFile(CompanionFileName(path));
  if (companion.size() < 12 || std::memcmp(companion.data(), kMagic, 4) != 0 || GetInt(companion, 4) != kVersion)
    ThrowInvalid(path);
  const std::int32_t n = GetInt(companion, 8);
  if (n < 0 || companion.size() != 32 + 4 * static_cast<std::size_t>(n)) ThrowInvalid(path);
  table->blockIndex_.resize(static_cast<std::size_t>(n));
  if (n > 0) std::memcpy(table->blockIndex_.data(), companion.data() + 12, 4 * static_cast<std::size_t>(n));
  const std::size_t tail = 12 + 4 * static_cast<std::size_t>(n);
  table->recordCount_ = GetInt(companion, tail);
  table->recordWidth_ = GetInt(companion, tail + 4);
  table->indexCount_ = GetInt(companion, tail + 8);
  table->indexGrowth_ = GetInt(companion, tail + 12);
  table->recordsPerBlock_ = GetInt(companion, tail + 16);

  // The sizes must agree with each other and with the data file, so that a
  // lookup never reads outside what the tables hold.
  const std::int64_t width = table->recordWidth_;
  const std::int64_t records = table->recordCount_;
  std::error_code error;
  const auto dataSize = std::filesystem::file_size(path, error);
  if (width < 1 || width > kBlockIntegers || table->recordsPerBlock_ != kBlockIntegers / width ||
      table->indexGrowth_ < 1 || records < 0 || error ||
      table->indexCount_ != (records + table->recordsPerBlock_ - 1) / table->recordsPerBlock_ ||
      static_cast<std::int64_t>(table->indexCount_) * width > n ||
      static_cast<std::int64_t>(dataSize) < records * width * 4)
    ThrowInvalid(path);
  table->Stored = true;
  return table;
}

void TIndexedStream::AppendToIndex(std::span<const std::int32_t> values, std::size_t newLength) {
  if (newLength > blockIndex_.size()) blockIndex_.resize(newLength, 0);
  std::memcpy(blockIndex_.data() + static_cast<std::size_t>(indexCount_) * recordWidth_, values.data(),
              4 * values.size());
  ++indexCount_;
}

void TIndexedStream::WriteRecord(std::span<const std::int32_t> values) {
  // Records gather in memory and go to the file a block at a time: a write
  // per record made building a table of a large text take many times longer
  // than reading the text.
  pending_.insert(pending_.end(), values.begin(), values.end());
  ++recordCount_;
  if (pending_.size() >= static_cast<std::size_t>(kBlockIntegers)) FlushPending();
}

void TIndexedStream::FlushPending() const {
  if (pending_.empty()) return;
  file_.seekp(0, std::ios::end);
  file_.write(reinterpret_cast<const char*>(pending_.data()), static_cast<std::streamsize>(4 * pending_.size()));
  file_.flush();
  pending_.clear();
  if (!file_) {
    file_.clear();
    throw Exception(CannotWriteMessage(fileName_));
  }
}

void TIndexedStream::AppendValue(std::int32_t value) {
  if (recordWidth_ != 1) throw std::logic_error("AppendValue on a wide table");
  if (recordCount_ % recordsPerBlock_ == 0) {
    std::size_t length = blockIndex_.size();
    if (indexCount_ % kBlockIntegers == 0)
      length = static_cast<std::size_t>(indexCount_ / kBlockIntegers + 1) * 4 * kBlockIntegers;
    AppendToIndex({&value, 1}, length);
  }
  WriteRecord({&value, 1});
}

void TIndexedStream::AppendRecord(std::span<const std::int32_t> values) {
  if (static_cast<std::int32_t>(values.size()) != recordWidth_) throw std::logic_error("record of wrong width");
  if (recordCount_ % recordsPerBlock_ == 0) {
    std::size_t length = blockIndex_.size();
    if (indexCount_ % indexGrowth_ == 0)
      length = static_cast<std::size_t>(indexGrowth_) * recordWidth_ * (indexCount_ / indexGrowth_ + 1);
    AppendToIndex(values, length);
  }
  WriteRecord(values);
}

std::string TIndexedStream::CompanionBytes() const {
  std::string bytes(kMagic, 4);
  PutInt(bytes, kVersion);
  PutInt(bytes, static_cast<std::int32_t>(blockIndex_.size()));
  bytes.append(reinterpret_cast<const char*>(blockIndex_.data()), 4 * blockIndex_.size());
  for (std::int32_t value : {recordCount_, recordWidth_, indexCount_, indexGrowth_, recordsPerBlock_})
    PutInt(bytes, value);
  return bytes;
}

void TIndexedStream::SaveAs(const std::string& path) {
  FlushPending();
  const std::string message = CannotWriteMessage(path);
  WriteFileAtomically(CompanionFileName(path), CompanionBytes(), message);
  std::string data = ReadWholeFile(fileName_);
  data.resize(static_cast<std::size_t>(recordCount_) * recordWidth_ * 4);
  WriteFileAtomically(path, data, message);
}

std::vector<std::int32_t> TIndexedStream::ReadBlock(std::int32_t block) const {
  const std::int64_t first = static_cast<std::int64_t>(block) * recordsPerBlock_;
  const std::int64_t count = std::min<std::int64_t>(recordsPerBlock_, recordCount_ - first);
  std::vector<std::int32_t> values(static_cast<std::size_t>(count * recordWidth_));
  FlushPending();
  file_.seekg(first * recordWidth_ * 4);
  file_.read(reinterpret_cast<char*>(values.data()), static_cast<std::streamsize>(4 * values.size()));
  if (!file_) {
    file_.clear();
    ThrowCannotRead(fileName_);
  }
  return values;
}

std::int32_t TIndexedStream::FindLastInColumn(std::int32_t position, std::int32_t column) const {
  if (recordCount_ == 0 || column < 0 || column >= recordWidth_) return -1;
  // The last block whose first record is at most position.
  std::int32_t low = 0, high = indexCount_;  // answer in [low - 1, high - 1]
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    if (blockIndex_[static_cast<std::size_t>(mid) * recordWidth_ + column] <= position) low = mid + 1;
    else high = mid;
  }
  const std::int32_t block = low - 1;
  if (block < 0) return -1;
  const std::vector<std::int32_t> values = ReadBlock(block);
  const std::int32_t count = static_cast<std::int32_t>(values.size()) / recordWidth_;
  low = 0;
  high = count;
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    if (values[static_cast<std::size_t>(mid) * recordWidth_ + column] <= position) low = mid + 1;
    else high = mid;
  }
  return block * recordsPerBlock_ + low - 1;
}

std::int32_t TIndexedStream::ValueAt(std::int32_t index, std::int32_t column) const {
  if (index < 0 || index >= recordCount_ || column < 0 || column >= recordWidth_)
    throw std::out_of_range("record outside the table");
  std::int32_t value = 0;
  FlushPending();
  file_.seekg((static_cast<std::int64_t>(index) * recordWidth_ + column) * 4);
  file_.read(reinterpret_cast<char*>(&value), 4);
  if (!file_) {
    file_.clear();
    ThrowCannotRead(fileName_);
  }
  return value;
}

}  // namespace korvane
