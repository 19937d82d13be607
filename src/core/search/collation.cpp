// The collator pair of a language: tertiary strength compares with case,
// secondary strength ignores case but keeps accents.
#include "search/collation.h"

#include <unicode/ucol.h>

#include "app/errors.h"

namespace korvane {

void Collator::Closer::operator()(UCollator* c) const { ucol_close(c); }

namespace {

UCollator* OpenCollator(const std::string& locale, UCollationStrength strength) {
  UErrorCode status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status) || !collator) {
    ucol_close(collator);
    throw Exception("No collation is available for the locale " + locale + ".");
  }
  ucol_setStrength(collator, strength);
  return collator;
}

}  // namespace

Collator::Collator(const std::string& locale)
    : withCase_(OpenCollator(locale, UCOL_TERTIARY)),
      withoutCase_(OpenCollator(locale, UCOL_SECONDARY)) {}

Collator::~Collator() = default;
Collator::Collator(Collator&&) noexcept = default;
Collator& Collator::operator=(Collator&&) noexcept = default;

int Collator::Compare(const char16_t* a, std::int32_t aLength, const char16_t* b,
                      std::int32_t bLength, bool ignoreCase) const {
  switch (ucol_strcoll(For(ignoreCase), a, aLength, b, bLength)) {
    case UCOL_LESS: return -1;
    case UCOL_GREATER: return 1;
    default: return 0;
  }
}

CollationKey Collator::Key(const char16_t* s, std::int32_t length, bool ignoreCase) const {
  std::string bytes(64, '\0');
  auto fill = [&] {
    return ucol_getSortKey(For(ignoreCase), s, length, reinterpret_cast<uint8_t*>(bytes.data()),
                           static_cast<int32_t>(bytes.size()));
  };
  int32_t needed = fill();
  if (needed > static_cast<int32_t>(bytes.size())) {
    bytes.resize(needed);
    needed = fill();
  }
  bytes.resize(needed);
  return CollationKey(std::move(bytes));
}

}  // namespace korvane
