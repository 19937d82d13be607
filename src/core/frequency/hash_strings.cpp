// THashStrings: buckets, master list, top-frequency summary and the "HSTR"
// frequency file. See hash_strings.h for the layout and the fast path.
#include "frequency/hash_strings.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/errors.h"
#include "app/ini_file.h"
#include "search/language.h"

namespace korvane {
namespace {

constexpr std::uint32_t kMagic = 0x52545348;  // "HSTR" read little-endian
constexpr std::uint32_t kVersion = 1;

void PutInt32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Reads the little-endian integers and byte runs of a frequency file held in
// memory; every read says whether the data was there.
class FileReader {
 public:
  explicit FileReader(std::string_view data) : data_(data) {}
  bool Int32(std::uint32_t& v) {
    if (data_.size() - pos_ < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return true;
  }
  bool Bytes(std::size_t n, std::string_view& out) {
    if (data_.size() - pos_ < n) return false;
    out = data_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

std::string InvalidFileMessage(const std::string& path) { return "Invalid frequency file: " + path; }

}  // namespace

std::string UnableToSaveMessage(const std::string& path) { return "Unable to save to file \r\n" + path; }

std::uint32_t HashKey(std::string_view key) {
  std::uint32_t h = 5381;
  for (unsigned char b : key) h = h * 33 + b;
  return h;
}

namespace {

// FNV-1a: the exact index's hash, which spreads short words well.
std::uint32_t ExactHash(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (unsigned char b : key) h = (h ^ b) * 16777619u;
  return h;
}

constexpr std::size_t kInitialExactSlots = 1024;

// Byte equality of two runs of the same length; words are short, so a plain
// loop beats a library call.
bool SameBytes(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace

std::size_t THashStrings::FindExact(std::string_view key, std::uint32_t hash) const {
  const std::size_t mask = exact_.size() - 1;
  std::size_t i = hash & mask;
  for (;;) {
    const ExactSlot& slot = exact_[i];
    if (slot.Target == nullptr ||
        (slot.Hash == hash && slot.Length == key.size() && SameBytes(slot.Key, key.data(), key.size())))
      return i;
    i = (i + 1) & mask;
  }
}

void THashStrings::AddExact(std::string_view key, std::uint32_t hash, Entry* entry) {
  if (2 * (exactUsed_ + 1) > exact_.size()) {
    std::vector<ExactSlot> old(std::max(kInitialExactSlots, 2 * exact_.size()));
    old.swap(exact_);
    for (const ExactSlot& slot : old)
      if (slot.Target != nullptr) exact_[FindExact({slot.Key, slot.Length}, slot.Hash)] = slot;
  }
  const char* stored = entry->Word.data();
  if (entry->Word != key) stored = exactKeys_.emplace_back(key).data();
  exact_[FindExact(key, hash)] = ExactSlot{hash, static_cast<std::uint32_t>(key.size()), stored, entry};
  ++exactUsed_;
}

THashStrings::THashStrings(int bucketCount, const LanguageState& language)
    : language_(language), buckets_(static_cast<std::size_t>(std::max(bucketCount, 1))) {}

THashStrings::~THashStrings() = default;

std::string_view THashStrings::Key(std::string_view word, char* buffer) const {
  if (!CaseFolding) return word;
  const std::size_t n = std::min(word.size(), kKeyBufferSize - 1);
  std::memcpy(buffer, word.data(), n);
  language_.LowerCaseInPlace(buffer, n);
  return {buffer, n};
}

THashStrings::Entry& THashStrings::FindOrInsert(std::string_view word) {
  char buffer[kKeyBufferSize];
  const std::string_view key = Key(word, buffer);
  const std::uint32_t exactHash = ExactHash(key);
  if (!exact_.empty()) {
    if (Entry* found = exact_[FindExact(key, exactHash)].Target) return *found;
  }

  std::vector<Entry*>& bucket = buckets_[HashKey(key) % buckets_.size()];
  int lo = 0;
  int hi = static_cast<int>(bucket.size()) - 1;
  Entry* match = nullptr;
  while (hi >= lo) {
    const int mid = (lo + hi) / 2;
    const int c = language_.CompareStr(bucket[mid]->Word, key, false);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        match = bucket[mid];
        lo = mid;
      }
    }
  }
  if (match == nullptr) {
    entries_.push_back(std::make_unique<Entry>(Entry{std::string(key), 0}));
    match = entries_.back().get();
    bucket.insert(bucket.begin() + lo, match);
    master_.push_back(match);
  }
  AddExact(key, exactHash, match);
  return *match;
}

void THashStrings::AddWord(std::string_view word, bool increment) {
  Entry& entry = FindOrInsert(word);
  order_ = foUnsorted;
  if (!increment) return;
  ++entry.Count;
  UpdateTop(entry.Count - 1, entry.Count);
}

void THashStrings::AddCount(std::string_view word, std::int32_t n) {
  Entry& entry = FindOrInsert(word);
  order_ = foUnsorted;
  const std::int32_t old = entry.Count;
  entry.Count = static_cast<std::int32_t>(static_cast<std::uint32_t>(old) + static_cast<std::uint32_t>(n));
  UpdateTop(old, entry.Count);
}

std::int32_t THashStrings::CountOf(std::string_view word) const {
  char buffer[kKeyBufferSize];
  const std::string_view key = Key(word, buffer);
  if (!exact_.empty()) {
    if (const Entry* found = exact_[FindExact(key, ExactHash(key))].Target) return found->Count;
  }
  const std::vector<Entry*>& bucket = buckets_[HashKey(key) % buckets_.size()];
  auto it = std::lower_bound(bucket.begin(), bucket.end(), key, [&](const Entry* e, std::string_view k) {
    return language_.CompareStr(e->Word, k, false) < 0;
  });
  if (it != bucket.end() && language_.CompareStr((*it)->Word, key, false) == 0) return (*it)->Count;
  return 0;
}

void THashStrings::SortBy(TFreqOrder order) {
  if (order == order_) return;
  if (order == foAlphabetical) {
    // One collation key per entry, then byte comparisons only.
    std::vector<std::pair<CollationKey, Entry*>> keyed;
    keyed.reserve(master_.size());
    for (Entry* e : master_) keyed.emplace_back(language_.SortKey(e->Word, false), e);
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first.Compare(b.first) < 0; });
    for (std::size_t i = 0; i < keyed.size(); ++i) master_[i] = keyed[i].second;
  } else if (order == foFrequency) {
    std::sort(master_.begin(), master_.end(), [](const Entry* a, const Entry* b) { return a->Count > b->Count; });
  }
  order_ = order;
}

void THashStrings::Clear() {
  master_.clear();
  entries_.clear();
  exact_.clear();
  exactUsed_ = 0;
  exactKeys_.clear();
  for (auto& bucket : buckets_) bucket.clear();
  topUsed_ = 0;
}

int THashStrings::FindTop(std::int32_t v, bool& found) const {
  int lo = 0;
  int hi = topUsed_ - 1;
  found = false;
  while (hi >= lo) {
    const int mid = (lo + hi) / 2;
    if (top_[mid].Value == v) {
      found = true;
      return mid;
    }
    if (top_[mid].Value > v)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return lo;
}

void THashStrings::UpdateTop(std::int32_t oldValue, std::int32_t newValue) {
  if (topCapacity_ == 0) return;
  bool found = false;
  if (oldValue != 0) {
    const int i = FindTop(oldValue, found);
    if (found && --top_[i].Words == 0) {
      std::move(top_ + i + 1, top_ + topUsed_, top_ + i);
      --topUsed_;
    }
  }
  const int i = FindTop(newValue, found);
  if (found) {
    ++top_[i].Words;
    return;
  }
  if (i >= topCapacity_) return;
  const int last = std::min(topUsed_, topCapacity_ - 1);  // a full summary drops its smallest slot
  std::move_backward(top_ + i, top_ + last, top_ + last + 1);
  top_[i] = {newValue, 1};
  topUsed_ = last + 1;
}

void THashStrings::SetTopCapacity(int n) {
  n = std::clamp(n, 0, kMaxTopCapacity);
  if (n > topCapacity_) {
    topCapacity_ = n;
    topUsed_ = 0;
    for (const Entry* e : master_) UpdateTop(0, e->Count);
  } else {
    topCapacity_ = n;
    topUsed_ = std::min(topUsed_, n);
  }
}

int THashStrings::TopRank(std::int32_t v) const {
  bool found = false;
  const int i = FindTop(v, found);
  return found ? i : -1;
}

void THashStrings::SaveToFile(const std::string& path) const {
  std::string bytes;
  PutInt32(bytes, kMagic);
  PutInt32(bytes, kVersion);
  PutInt32(bytes, static_cast<std::uint32_t>(master_.size()));
  for (const Entry* e : master_) {
    const std::size_t n = std::min(e->Word.size(), kMaxFileWordLength);
    PutInt32(bytes, static_cast<std::uint32_t>(n));
    bytes.append(e->Word, 0, n);
    PutInt32(bytes, static_cast<std::uint32_t>(e->Count));
  }
  WriteFileAtomically(path, bytes, UnableToSaveMessage(path));
}

void THashStrings::LoadFromFile(const std::string& path) {
  Clear();
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Exception(UnableToOpenFileMessage(path));
  const std::string data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) throw Exception(UnableToOpenFileMessage(path));

  FileReader reader(data);
  std::uint32_t magic = 0, version = 0, n = 0;
  if (!reader.Int32(magic) || !reader.Int32(version) || magic != kMagic || version != kVersion ||
      !reader.Int32(n))
    throw Exception(InvalidFileMessage(path));
  try {
    for (std::uint32_t i = 0; i < n; ++i) {
      std::uint32_t length = 0, count = 0;
      std::string_view word;
      if (!reader.Int32(length) || length > kMaxFileWordLength || !reader.Bytes(length, word) ||
          !reader.Int32(count) || static_cast<std::int32_t>(count) < 0)
        throw Exception(InvalidFileMessage(path));
      AddCount(word, static_cast<std::int32_t>(count));
    }
  } catch (...) {
    Clear();
    throw;
  }
  order_ = foUnsorted;
}

}  // namespace korvane
