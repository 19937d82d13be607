// Where a hit stands in its text: its line, its page, its line within the
// page, and the values of the tracked tags in force there. The hit list, the
// concordance writer and the information box ask these questions through
// TTagQuery; the tag-information tables of the texts answer them. Until a
// text has such tables every answer is "none", which is what TNoTagInfo
// gives for every text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

class TTagQuery {
 public:
  virtual ~TTagQuery() = default;

  // The 1-based line of the position in text textIndex, or -1 when the text
  // has no line table.
  virtual std::int32_t LineNumberAt(int textIndex, std::int32_t position) const = 0;
  // The 1-based page of the position, or -1 when the text has no page table
  // or no page delimiter is set.
  virtual std::int32_t PageNumberAt(int textIndex, std::int32_t position) const = 0;
  // The line counted from the start of the position's page, or -1 when the
  // page or the line is not known.
  virtual std::int32_t RelativeLineAt(int textIndex, std::int32_t position) const = 0;

  // The number of tracked tags, in their configured order.
  virtual int TrackedTagCount() const = 0;
  // The name shown for tracked tag tagIndex: its name, or its start text when
  // the name is empty.
  virtual std::string TrackedTagName(int tagIndex) const = 0;
  // The value of tracked tag tagIndex at the position, absent when the tag
  // has not occurred before it or the text has no tracked-tag table.
  virtual std::optional<std::string> TagValueAt(int textIndex, std::int32_t position,
                                                int tagIndex) const = 0;
};

// The answer for a corpus without tag information: no lines, no pages, no
// tracked tags.
class TNoTagInfo final : public TTagQuery {
 public:
  std::int32_t LineNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t PageNumberAt(int, std::int32_t) const override { return -1; }
  std::int32_t RelativeLineAt(int, std::int32_t) const override { return -1; }
  int TrackedTagCount() const override { return 0; }
  std::string TrackedTagName(int) const override { return {}; }
  std::optional<std::string> TagValueAt(int, std::int32_t, int) const override {
    return std::nullopt;
  }
};

}  // namespace korvane
