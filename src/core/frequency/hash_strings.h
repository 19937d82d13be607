// THashStrings: the word-frequency table. Every word with its count sits in
// one of a fixed number of buckets (djb2 hash of the folded key; each bucket
// kept in the language's collation order, equality by that collation) and in
// a master list that can be ordered alphabetically or by frequency. A small
// summary of the highest distinct counts gives collocate highlighting its
// ranks. The table reads and writes the binary "HSTR" frequency file.
//
// Counting a corpus adds every running word, so lookups are made cheap
// without changing any answer: an exact-bytes map sits in front of the
// buckets, and a byte form that has been seen once finds its entry without a
// collator call; only a new byte form goes to the bucket's binary search.
//
// All members run on the caller's thread; a table is not thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <deque>
#include <vector>

namespace korvane {

class LanguageState;

enum TFreqOrder : std::uint8_t { foUnsorted = 0, foAlphabetical = 1, foFrequency = 2 };

class THashStrings {
 public:
  static constexpr int kMaxTopCapacity = 32;
  static constexpr std::size_t kMaxFileWordLength = 255;
  // The folding buffer of one key; longer words are cut to this less one.
  static constexpr std::size_t kKeyBufferSize = 1024;

  // A table of bucketCount buckets (less than 1 counts as 1) that folds and
  // compares words in language, which must outlive the table. CaseFolding
  // starts set; callers feeding folded or case-sensitive words clear it
  // before the first word.
  THashStrings(int bucketCount, const LanguageState& language);
  virtual ~THashStrings();
  THashStrings(const THashStrings&) = delete;
  THashStrings& operator=(const THashStrings&) = delete;

  bool CaseFolding = true;

  // Finds or inserts word; with increment its count grows by 1. A new word
  // added without increment has count 0.
  void AddWord(std::string_view word, bool increment);
  // Finds or inserts word and adds n to its count.
  void AddCount(std::string_view word, std::int32_t n);
  // The word's count, 0 when absent.
  std::int32_t CountOf(std::string_view word) const;

  int EntryCount() const { return static_cast<int>(master_.size()); }
  // Number of distinct words (the corpus information panel's types).
  int Count() const { return EntryCount(); }
  // Word and count at position i (0-based, valid) of the master list.
  const std::string& WordAt(int i) const { return master_[i]->Word; }
  std::int32_t CountAt(int i) const { return master_[i]->Count; }

  // Orders the master list: ascending collation (case-sensitive) or
  // descending count. Does nothing when already in that order; the order of
  // equal words or counts is not defined.
  void SortBy(TFreqOrder order);
  TFreqOrder Order() const { return order_; }
  // Removes every entry and empties the summary; capacity and order stay.
  void Clear();

  // The top-frequency summary: at most n (cut to 32) distinct counts.
  // Raising the capacity rebuilds the summary from the counts; lowering it
  // only cuts it.
  void SetTopCapacity(int n);
  int TopCapacity() const { return topCapacity_; }
  int TopUsed() const { return topUsed_; }
  // 0 for the highest count of the summary, 1 for the next, ...; -1 when v
  // is not in it.
  int TopRank(std::int32_t v) const;
  // Slot i (below TopUsed): the count and the number of words having it.
  std::int32_t TopValue(int i) const { return top_[i].Value; }
  std::int32_t TopWords(int i) const { return top_[i].Words; }

  // Writes the "HSTR" file in the master list's order, through a temporary
  // file that replaces path. Throws Exception when it cannot be written.
  void SaveToFile(const std::string& path) const;
  // Clears the table and adds every entry of the file with AddCount. Throws
  // Exception "Invalid frequency file: " + path for a wrong magic or version
  // or a damaged file (a length above 255, a negative count, a short file),
  // and the file layer's Exception when it cannot be read; the table is then
  // empty.
  void LoadFromFile(const std::string& path);

 private:
  struct Entry {
    std::string Word;
    std::int32_t Count = 0;
  };
  struct Slot {
    std::int32_t Value = 0;
    std::int32_t Words = 0;
  };
  // One slot of the exact-bytes index: a byte form of a key (pointing into
  // the entry's word or into exactKeys_) and its entry.
  struct ExactSlot {
    std::uint32_t Hash = 0;
    std::uint32_t Length = 0;
    const char* Key = nullptr;
    Entry* Target = nullptr;
  };

  // The entry of word (folded when CaseFolding), inserted with count 0 when
  // missing.
  Entry& FindOrInsert(std::string_view word);
  std::string_view Key(std::string_view word, char* buffer) const;
  // The index of key's slot in the exact index (not empty): the slot holding
  // it, or the empty slot where it belongs.
  std::size_t FindExact(std::string_view key, std::uint32_t hash) const;
  void AddExact(std::string_view key, std::uint32_t hash, Entry* entry);
  void UpdateTop(std::int32_t oldValue, std::int32_t newValue);
  // Index of the slot holding v, or with found false the insertion point.
  int FindTop(std::int32_t v, bool& found) const;

  const LanguageState& language_;
  std::vector<Entry*> master_;
  std::vector<std::unique_ptr<Entry>> entries_;
  std::vector<std::vector<Entry*>> buckets_;
  // Open addressing with linear probing; the size is a power of two kept at
  // least twice the number of byte forms.
  std::vector<ExactSlot> exact_;
  std::size_t exactUsed_ = 0;
  std::deque<std::string> exactKeys_;  // byte forms that differ from their entry's word
  TFreqOrder order_ = foUnsorted;
  Slot top_[kMaxTopCapacity];
  int topUsed_ = 0;
  int topCapacity_ = 0;
};

// "Unable to save to file \r\n" + path: a list or table file that could not
// be written.
std::string UnableToSaveMessage(const std::string& path);

// The djb2 hash: h = 5381, then h * 33 + byte for each byte, modulo 2^32.
std::uint32_t HashKey(std::string_view key);

}  // namespace korvane
