// Queries on the tag-information tables and the location text.
#include "tags/tag_info.h"

#include "app/program_state.h"
#include "corpus/synchro_stream.h"
#include "tags/indexed_stream.h"

namespace korvane {

namespace {

const TIndexedStream* Table(const ProgramState& state, int textIndex, TIndexSlot TCorpusText::*slot) {
  if (textIndex < 0 || textIndex >= state.corpus.Count()) return nullptr;
  return (state.corpus.Texts[static_cast<std::size_t>(textIndex)].*slot).Index.get();
}

std::string Number(std::int32_t value) { return value > 0 ? std::to_string(value) : "N/A"; }

}  // namespace

std::int32_t TTagInfo::LineNumberAt(int textIndex, std::int32_t position) const {
  const TIndexedStream* lines = Table(state_, textIndex, &TCorpusText::LineTables);
  return lines ? lines->FindLast(position) + 1 : -1;
}

std::int32_t TTagInfo::PageNumberAt(int textIndex, std::int32_t position) const {
  const TIndexedStream* pages = Table(state_, textIndex, &TCorpusText::PageTables);
  if (!pages || state_.ConcordConfig.PageSeparator.empty()) return -1;
  return pages->FindLast(position) + 1;
}

std::int32_t TTagInfo::RelativeLineAt(int textIndex, std::int32_t position) const {
  const TIndexedStream* lines = Table(state_, textIndex, &TCorpusText::LineTables);
  const std::int32_t page = PageNumberAt(textIndex, position);
  if (!lines || page <= 0) return -1;
  const std::int32_t pageStart = Table(state_, textIndex, &TCorpusText::PageTables)->ValueAt(page - 1, 0);
  return LineNumberAt(textIndex, position) - lines->FindLast(pageStart);
}

int TTagInfo::TrackedTagCount() const { return static_cast<int>(state_.WatchedTags.size()); }

std::string TTagInfo::TrackedTagName(int tagIndex) const {
  if (tagIndex < 0 || tagIndex >= TrackedTagCount()) return {};
  return state_.WatchedTags[static_cast<std::size_t>(tagIndex)].DisplayName();
}

std::optional<std::string> TTagInfo::TagValueAt(int textIndex, std::int32_t position, int tagIndex) const {
  const TIndexedStream* watched = Table(state_, textIndex, &TCorpusText::WatchedTagTables);
  if (!watched || tagIndex < 0 || tagIndex >= TrackedTagCount() || tagIndex >= watched->RecordWidth())
    return std::nullopt;
  const std::int32_t record = watched->FindLastInColumn(position, tagIndex);
  if (record < 0) return std::nullopt;
  std::int32_t at = watched->ValueAt(record, tagIndex);
  if (at < 0) return std::nullopt;
  const TCorpusText& text = state_.corpus.Texts[static_cast<std::size_t>(textIndex)];
  if (!text.CorpusStreams) return std::nullopt;
  char bytes[kTagValueBytes];
  const std::int32_t n = text.CorpusStreams->ReadAt(bytes, kTagValueBytes, at);
  return TagValueFromBytes(std::string_view(bytes, static_cast<std::size_t>(std::max(n, 0))),
                           state_.WatchedTags[static_cast<std::size_t>(tagIndex)], state_.ConcordConfig.TagStop);
}

std::string TagValueFromBytes(std::string_view bytes, const TWatchedTag& tag, char tagStop) {
  std::size_t end = bytes.size();
  if (tag.WatchCocoa) {
    const std::size_t stop = tagStop == '#' ? bytes.find_first_of(" \r\n", 1) : bytes.find(tagStop, 1);
    if (stop != std::string_view::npos) end = stop + 1;
  } else if (!tag.WatchStop.empty()) {
    std::vector<std::string> stops;
    if (tag.WatchStop.back() == '#') {
      for (char c : {' ', '\r', '\n'}) stops.push_back(tag.WatchStop.substr(0, tag.WatchStop.size() - 1) + c);
    } else {
      stops.push_back(tag.WatchStop);
    }
    for (const std::string& stop : stops) {
      const std::size_t found = bytes.find(stop);
      if (found != std::string_view::npos) {
        end = found + stop.size();
        break;
      }
    }
  }
  std::string value;
  const std::string_view raw = bytes.substr(0, end);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\r' || c == '\n') {
      value += ' ';
      if (i + 1 < raw.size() && (raw[i + 1] == '\r' || raw[i + 1] == '\n') && raw[i + 1] != c) ++i;
    } else if (static_cast<unsigned char>(c) >= ' ') {
      value += c;
    }
  }
  return value;
}

std::string LocationText(const ConcordConfig& config, const TTagQuery& query, int textIndex, std::int32_t position) {
  std::string text;
  if (config.ShowPages) text = "Page " + Number(query.PageNumberAt(textIndex, position));
  if (config.ShowLines) {
    if (!config.ShowPages)
      text = "Line " + Number(query.LineNumberAt(textIndex, position));
    else if (config.RelativeLines)
      text += ", Line " + Number(query.RelativeLineAt(textIndex, position));
    else
      text = "Line " + Number(query.LineNumberAt(textIndex, position)) + ", " + text;
  }
  for (int i = 0; i < query.TrackedTagCount(); ++i) {
    const std::optional<std::string> value = query.TagValueAt(textIndex, position, i);
    if (!value) continue;
    if (!text.empty()) text += ", ";
    text += *value;
  }
  return text;
}

}  // namespace korvane
