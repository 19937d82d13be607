// Where a hit stands in its text, answered from the texts' line, page and
// tracked-tag tables: TTagInfo implements TTagQuery for the hit list, the
// concordance writer and the information box, and LocationText makes the
// one-line location shown with a hit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tags/tag_query.h"

namespace korvane {

class ProgramState;
struct TWatchedTag;
class ConcordConfig;

// Answers from state's corpus, settings and tracked tags, which must outlive
// it. Queries on a text without the needed table answer -1 or no value; a
// table that cannot be read throws Exception. User-interface thread.
class TTagInfo final : public TTagQuery {
 public:
  explicit TTagInfo(const ProgramState& state) : state_(state) {}

  std::int32_t LineNumberAt(int textIndex, std::int32_t position) const override;
  std::int32_t PageNumberAt(int textIndex, std::int32_t position) const override;
  std::int32_t RelativeLineAt(int textIndex, std::int32_t position) const override;
  int TrackedTagCount() const override;
  std::string TrackedTagName(int tagIndex) const override;
  std::optional<std::string> TagValueAt(int textIndex, std::int32_t position, int tagIndex) const override;

 private:
  const ProgramState& state_;
};

// Bytes read from a tracked tag's occurrence to find its value.
inline constexpr std::int32_t kTagValueBytes = 128;

// The value of tag in bytes read at its occurrence: a COCOA reference up to
// and including its tag stop, an element up to and including its stop text,
// or all bytes when no end is found; line breaks become one space and other
// control characters are removed.
std::string TagValueFromBytes(std::string_view bytes, const TWatchedTag& tag, char tagStop);

// The location text of a position: page, line and tracked-tag values as the
// display switches of config ask, numbers of 0 or less written "N/A".
std::string LocationText(const ConcordConfig& config, const TTagQuery& query, int textIndex, std::int32_t position);

}  // namespace korvane
