// The hit list and its string view: adding and deleting hits, the display
// line with concealing, the hit text, and the tracked-tag values.
#include "results/concord_items.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "app/errors.h"
#include "app/program_state.h"
#include "corpus/buf_stream.h"
#include "frequency/hash_strings.h"
#include "tags/tag_query.h"

namespace korvane {

namespace {

// The toolkit's refusal of a list index that does not exist.
std::string ListIndexErrorMessage(int index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace

TConcordItems::TConcordItems(ProgramState& state) : state_(state) {}

TConcordItems::~TConcordItems() { Clear(); }

int TConcordItems::Add(std::unique_ptr<TConcordItem> item) {
  items_.push_back(std::move(item));
  return Count() - 1;
}

void TConcordItems::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

void TConcordItems::Clear() {
  while (!items_.empty()) items_.pop_back();
}

void TConcordItems::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw Exception(ListIndexErrorMessage(index));
}

int TConcordItems::HighlightCapacity() const {
  // The frequency tables keep no top-frequency summary yet, so no rank is
  // coloured.
  return 0;
}

TLineSettings TConcordItems::LineSettingsFor(std::uint8_t contextType, std::int32_t contextSize,
                                             TCharTypeMask mask) const {
  TLineSettings settings;
  settings.ContextType = contextType;
  settings.ContextSize = contextSize;
  settings.Mask = mask;
  settings.CollocColor = CollocColor;
  if (CollocOn) {
    settings.RankCount = HighlightCapacity();
    settings.CollocFirst = CollocFirst;
    settings.CollocLast = CollocLast;
  }
  return settings;
}

TConcordLine TConcordItems::BuildLine(int index, const TLineSettings& settings) {
  const TConcordItem& item = Item(index);
  if (item.TextIndex < 0 || item.TextIndex >= state_.corpus.Count() ||
      !state_.corpus.Texts[static_cast<std::size_t>(item.TextIndex)].CorpusReaders)
    throw Exception("The hit's text is no longer in the corpus.");
  TBufStream& reader = *state_.corpus.Texts[static_cast<std::size_t>(item.TextIndex)].CorpusReaders;
  reader.ApplySettings(state_.ConcordConfig);
  reader.ClearTagState();
  return BuildConcordLine(reader, item, settings, LineFontsOf(state_.ConcordConfig),
                          state_.Sentences, state_.Language);
}

std::optional<TConcordLine> TConcordItems::ShownLine(int index) {
  const std::uint8_t type =
      Display.ContextType <= ctxSentence ? Display.ContextType : std::uint8_t{ctxCharacters};
  TConcordLine line;
  try {
    line = BuildLine(index, LineSettingsFor(type, Display.ContextSizes[type],
                                            DisplayMask(SuppressTags, SuppressPartOfSpeech,
                                                        SuppressWords)));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  for (const TSVFormatInfo& segment : line.Format) {
    if (segment.Hit ? !Display.ConcealHits : !Display.ConcealCollocates) continue;
    const auto from = static_cast<std::size_t>(segment.Start - 1);
    const auto to = std::min(line.Text.size(), from + static_cast<std::size_t>(segment.Length));
    for (std::size_t i = from; i < to; ++i) line.Text[i] = '-';
  }
  Item(index).Format = line.Format;
  return line;
}

std::string TConcordItems::DisplayLine(int index) {
  std::optional<TConcordLine> line = ShownLine(index);
  return line ? std::move(line->Text) : std::string(kOutOfMemoryLine);
}

std::string TConcordItems::HitText(int index) {
  std::optional<TConcordLine> line = ShownLine(index);
  if (!line) return kOutOfMemoryLine;
  for (const TSVFormatInfo& segment : line->Format)
    if (segment.Hit)
      return line->Text.substr(static_cast<std::size_t>(segment.Start - 1),
                               static_cast<std::size_t>(segment.Length));
  return std::move(line->Text);
}

void TConcordItems::ClearTags() {
  for (auto& item : items_) item->TagValue.reset();
  TagIndex = -1;
}

void TConcordItems::FillTags(const TTagQuery& query) {
  if (TagIndex == -1) return;
  for (auto& item : items_) {
    item->TagValue = query.TagValueAt(item->TextIndex, item->HitStart, TagIndex);
    if (item->TagValue && item->TagValue->empty()) item->TagValue.reset();
  }
}

void TConcordStrings::Clear() {
  throw Exception("\"Clear\" is unsupported method for TConcordStrings");
}

void TConcordStrings::Insert(int, const std::string&) {
  throw Exception("\"Insert\" is unsupported method for TConcordStrings");
}

}  // namespace korvane
