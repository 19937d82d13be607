// Pattern splitting, batch options and the batch run.
#include "search/batch_search.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include "app/errors.h"
#include "app/host.h"
#include "app/ini_file.h"
#include "app/program_state.h"
#include "results/advanced_sort_settings.h"
#include "results/sort.h"
#include "search/search.h"

namespace korvane {

namespace {

constexpr const char* kSection = "BatchSearchConfiguration";
constexpr const char* kContextSizeKeys[4] = {"batchContextChars", "batchContextWords",
                                             "batchContextLines", "batchContextSentences"};
constexpr const char* kSortKeys[3] = {"First sort", "Second sort", "Third sort"};
constexpr const char* kReverseKeys[3] = {"First Reverse", "Second Reverse", "Third Reverse"};

// The status line while hits come in.
std::string MatchesText(std::int64_t count) {
  return " Batch search matches: " + std::to_string(count);
}
constexpr const char* kSortingText = " Sorting batch matches... (Press Escape to stop)";
constexpr const char* kSavingText = " Saving batch matches...";

std::string WriteErrorMessage(const std::string& path) {
  return "Unable to write to file: " + path + ".";
}

std::string TrimSpaces(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool AllUnsorted(const TAdvancedSortColOptions& options) {
  return options.FirstKey == pcUnsorted && options.SecondKey == pcUnsorted &&
         options.ThirdKey == pcUnsorted;
}

TConcordanceOutputOptions BatchOutputOptions(const ConcordConfig& config,
                                             TConcordanceOutputOptions options) {
  options.MaximumLines = 0;
  options.SortLabels = false;
  options.ContextType = config.BatchContextType;
  std::copy(std::begin(config.BatchContextSizes), std::end(config.BatchContextSizes),
            std::begin(options.ContextSizes));
  options.SuppressTags = config.BatchSuppressTags;
  options.SuppressPartOfSpeech = config.BatchSuppressWordTags;
  options.SuppressWords = config.BatchSuppressWords;
  return options;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string title;
  for (const auto& name : names) title += (title.empty() ? "" : ", ") + name;
  return title;
}

}  // namespace

TBatchPatterns SplitBatchPatterns(std::vector<std::string>& lines, TSearchMode mode) {
  TBatchPatterns result;
  std::int32_t lineOffset = 0;
  for (std::string& line : lines) {
    line = TrimSpaces(line);
    auto add = [&](std::string pattern, std::size_t column) {
      result.Patterns.push_back(std::move(pattern));
      result.Offsets.push_back(lineOffset + static_cast<std::int32_t>(column));
    };
    if (mode == smRegex) {
      if (!line.empty()) add(line, 0);
    } else {
      std::size_t start = 0;
      while (start < line.size()) {
        const std::size_t comma = std::min(line.find(',', start), line.size());
        std::string piece = line.substr(start, comma - start);
        piece.erase(piece.find_last_not_of(' ') + 1);
        if (!piece.empty()) add(std::move(piece), start);
        start = comma;
        while (start < line.size() && (line[start] == ',' || line[start] == ' ')) ++start;
      }
    }
    lineOffset += static_cast<std::int32_t>(line.size()) + 2;
  }
  return result;
}

std::uint8_t ReadBatchSortKey(std::string_view value) {
  if (auto code = SortKeyFromCaption(value)) return *code;
  const auto number = PlainInteger(value);
  if (!number) return pcUnsorted;
  std::int64_t code = *number;
  if (code > 6)
    code += 2;
  else if (code >= 1)
    code += 1;
  if (code < 0 || code > pcTrackedTag) return pcUnsorted;
  return static_cast<std::uint8_t>(code);
}

void ReadBatchOptions(const IniFile& ini, ConcordConfig& config) {
  const std::int32_t type = ini.ReadInteger(kSection, "BatchContextType", 0);
  config.BatchContextType = type >= 0 && type < 4 ? static_cast<std::uint8_t>(type) : 0;
  const std::int32_t defaults[4] = {40, 8, 3, 1};
  for (int i = 0; i < 4; ++i)
    config.BatchContextSizes[i] = ini.ReadInteger(kSection, kContextSizeKeys[i], defaults[i]);
  config.BatchSuppressTags = ini.ReadBool(kSection, "SuppressTags", false);
  config.BatchSuppressWordTags = ini.ReadBool(kSection, "SuppressPartOfSpeech", false);
  config.BatchSuppressWords = ini.ReadBool(kSection, "SuppressWords", false);
  if (config.BatchSuppressTags && config.BatchSuppressWordTags && config.BatchSuppressWords)
    config.BatchSuppressWords = false;

  TAdvancedSortColOptions& sort = config.BatchSortOptions;
  std::uint8_t* keys[3] = {&sort.FirstKey, &sort.SecondKey, &sort.ThirdKey};
  bool* reverses[3] = {&sort.FirstReverse, &sort.SecondReverse, &sort.ThirdReverse};
  for (int i = 0; i < 3; ++i) {
    *keys[i] = ReadBatchSortKey(ini.ReadString(kSection, kSortKeys[i], ""));
    *reverses[i] = ini.ReadBool(kSection, kReverseKeys[i], false);
  }
  sort.CustomText = ini.ReadBool(kSection, "AdvCollocation", false)
                        ? ini.ReadString(kSection, "AdvCollocationText", "")
                        : std::string();
  sort.TagName = ini.ReadString(kSection, "Sort Tag Name", "");
}

void WriteBatchOptions(IniFile& ini, const ConcordConfig& config) {
  ini.WriteInteger(kSection, "BatchContextType", config.BatchContextType);
  for (int i = 0; i < 4; ++i)
    ini.WriteInteger(kSection, kContextSizeKeys[i], config.BatchContextSizes[i]);
  ini.WriteBool(kSection, "SuppressTags", config.BatchSuppressTags);
  ini.WriteBool(kSection, "SuppressPartOfSpeech", config.BatchSuppressWordTags);
  ini.WriteBool(kSection, "SuppressWords", config.BatchSuppressWords);
  const TAdvancedSortColOptions& sort = config.BatchSortOptions;
  const std::uint8_t keys[3] = {sort.FirstKey, sort.SecondKey, sort.ThirdKey};
  const bool reverses[3] = {sort.FirstReverse, sort.SecondReverse, sort.ThirdReverse};
  for (int i = 0; i < 3; ++i) {
    ini.WriteString(kSection, kSortKeys[i], SortKeyCaption(keys[i]));
    ini.WriteBool(kSection, kReverseKeys[i], reverses[i]);
  }
  ini.WriteBool(kSection, "AdvCollocation", !sort.CustomText.empty());
  ini.WriteString(kSection, "AdvCollocationText", sort.CustomText);
  ini.WriteString(kSection, "Sort Tag Name", sort.TagName);
}

TBatchSearch::TBatchSearch(ProgramState& state, const TTagQuery& tags, const TBatchOutput& output)
    : state_(state),
      tags_(tags),
      output_(output),
      sorted_(output.CustomKeys != nullptr || !AllUnsorted(state.ConcordConfig.BatchSortOptions)),
      hits_(state),
      writer_(state, hits_, tags, BatchOutputOptions(state.ConcordConfig, output.Options)) {
  output_.Options = BatchOutputOptions(state.ConcordConfig, output.Options);
  const bool append = output.Append && std::filesystem::exists(output.Path);
  file_.open(output.Path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!file_) throw Exception(UnableToOpenFileMessage(output.Path));
}

TBatchSearch::~TBatchSearch() { hits_.Clear(); }

void TBatchSearch::Run(TSearch& search, const std::vector<std::string>& patternNames) {
  Start(patternNames);
  search.Execute(std::numeric_limits<std::int32_t>::max(),
                 [this](std::unique_ptr<TConcordItem> item) { AddHit(std::move(item)); });
  Finish();
}

void TBatchSearch::Start(const std::vector<std::string>& patternNames) {
  title_ = JoinNames(patternNames);
  if (!sorted_ && output_.Options.Html) {
    TConcordanceWriter::WriteHtmlHead(file_, state_.ConcordConfig, state_.Language.CodePage(),
                                      output_.Options.ContextType, title_);
    CheckStream();
  }
}

void TBatchSearch::AddHit(std::unique_ptr<TConcordItem> item) {
  item->Serial = serial_;
  const int index = hits_.Add(std::move(item));
  ++serial_;
  if (!sorted_) {
    try {
      WriteHit(index, matchCount_);
      file_.flush();  // the line is in the file while the scan goes on
      CheckStream();
    } catch (...) {
      hits_.Clear();
      throw;
    }
    hits_.Clear();
  }
  ++matchCount_;
  state_.host.StatusText(MatchesText(matchCount_));
}

void TBatchSearch::WriteHit(int index, std::int64_t number) {
  const auto& options = output_.Options;
  const std::uint8_t type = options.ContextType;
  TConcordLine line;
  try {
    line = hits_.BuildLine(index, hits_.LineSettingsFor(type, options.ContextSizes[type],
                                                        DisplayMask(options.SuppressTags,
                                                                    options.SuppressPartOfSpeech,
                                                                    options.SuppressWords)));
  } catch (const std::exception&) {
    line = TConcordLine{kOutOfMemoryLine, {}};
  }
  std::replace(line.Text.begin(), line.Text.end(), '\t', ' ');
  writer_.WriteRecord(file_, static_cast<int>(number), hits_.Item(index), std::move(line), 0);
  CheckStream();
}

void TBatchSearch::Finish() {
  if (sorted_) {
    BusyCursor cursor(state_.host);
    state_.host.StatusText(kSortingText);
    SortConcordance(hits_, state_.ConcordConfig.BatchSortOptions, output_.CustomKeys, tags_,
                    state_);
    state_.host.StatusText(kSavingText);
    state_.host.ProcessMessages();
    if (output_.Options.Html)
      TConcordanceWriter::WriteHtmlHead(file_, state_.ConcordConfig, state_.Language.CodePage(),
                                        output_.Options.ContextType, title_);
    for (int i = 0; i < hits_.Count(); ++i) WriteHit(i, i);
    if (output_.Options.Html) TConcordanceWriter::WriteHtmlTail(file_);
  } else if (output_.Options.Html) {
    TConcordanceWriter::WriteHtmlTail(file_);
  }
  file_.flush();
  CheckStream();
}

void TBatchSearch::CheckStream() {
  if (!file_) throw Exception(WriteErrorMessage(output_.Path));
}

}  // namespace korvane
