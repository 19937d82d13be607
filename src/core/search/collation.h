// String comparison in the order of a language, through an ICU collator,
// with or without regard to case; and collation keys, computed once per
// string, whose byte-wise comparison gives exactly the collator's order, so
// that sorts and frequency tables compare keys instead of calling the
// collator again and again.
//
// The collator works on UTF-16; the language state converts the code page's
// bytes before calling it.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <string>

struct UCollator;

namespace korvane {

// A sort key. Keys of the same collator and case mode compare like the
// strings they were made from; keys of different collators or modes do not
// compare meaningfully.
class CollationKey {
 public:
  CollationKey() = default;
  explicit CollationKey(std::string bytes) : bytes_(std::move(bytes)) {}

  // -1, 0 or 1 as the strings compare.
  int Compare(const CollationKey& other) const {
    int c = bytes_.compare(other.bytes_);  // unsigned bytes, like memcmp
    return (c > 0) - (c < 0);
  }
  friend bool operator==(const CollationKey& a, const CollationKey& b) {
    return a.bytes_ == b.bytes_;
  }
  friend std::strong_ordering operator<=>(const CollationKey& a, const CollationKey& b) {
    return a.Compare(b) <=> 0;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

class Collator {
 public:
  // Opens the collator of an ICU locale. Throws Exception when ICU cannot.
  explicit Collator(const std::string& locale);
  ~Collator();
  Collator(Collator&&) noexcept;
  Collator& operator=(Collator&&) noexcept;

  // -1, 0 or 1 (less, equal, greater). With ignoreCase only the letters and
  // their accents count ("Ä" equals "ä" but not "a"). May be called from
  // any thread while the object is not being replaced.
  int Compare(const char16_t* a, std::int32_t aLength, const char16_t* b, std::int32_t bLength,
              bool ignoreCase) const;
  // The key of s for the same mode.
  CollationKey Key(const char16_t* s, std::int32_t length, bool ignoreCase) const;

 private:
  struct Closer {
    void operator()(UCollator* c) const;
  };
  std::unique_ptr<UCollator, Closer> withCase_;
  std::unique_ptr<UCollator, Closer> withoutCase_;

  const UCollator* For(bool ignoreCase) const {
    return ignoreCase ? withoutCase_.get() : withCase_.get();
  }
};

}  // namespace korvane
