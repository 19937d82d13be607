// Comparison of hits and the quicksort of a hit list, with the per-sort
// keys that keep the comparisons down to byte compares.
#include "results/sort.h"

#include <string_view>
#include <utility>
#include <vector>

#include "app/program_state.h"
#include "results/concord_items.h"
#include "tags/tag_query.h"

namespace korvane {

namespace {

int Sign(int c) { return (c > 0) - (c < 0); }

bool IsWordKey(std::uint8_t key) { return key <= pc4R; }

// Absent words sort after present ones; absent tag values before them.
int CompareAbsence(bool aPresent, bool bPresent, bool absentFirst) {
  if (aPresent == bPresent) return 0;
  const int absentA = absentFirst ? -1 : 1;
  return aPresent ? -absentA : absentA;
}

// The word with its characters in reverse order, lower-cased when case is
// ignored; comparing two of these byte by byte compares the words by their
// endings, the word that runs out first sorting first.
std::string ReversedWord(const std::string& word, const TSortSettings& settings) {
  std::string reversed(word.rbegin(), word.rend());
  if (settings.IgnoreCase())
    for (char& c : reversed)
      c = static_cast<char>(settings.State().Language.LowerChar(static_cast<unsigned char>(c)));
  return reversed;
}

int CompareBytes(const std::string& a, const std::string& b) { return Sign(a.compare(b)); }

// The quicksort over v[lo..hi]: middle pivot, scans from both ends,
// exchange and step. It recurses into the smaller part and loops on the
// larger one; the parts are disjoint, so which is done first does not
// change the result, and the stack stays shallow on any input.
template <class Compare>
void QuickSort(std::vector<std::int32_t>& v, std::int32_t lo, std::int32_t hi, Compare& compare) {
  while (lo < hi) {
    std::int32_t i = lo;
    std::int32_t j = hi;
    const std::int32_t pivot = v[static_cast<std::size_t>((lo + hi) / 2)];
    do {
      while (compare(v[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (compare(v[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) QuickSort(v, lo, j, compare);
      lo = i;
    } else {
      if (i < hi) QuickSort(v, i, hi, compare);
      hi = j;
    }
  }
}

// One level of a sort with every hit's key computed in advance: the
// collation key of the word or tag value, or the reversed word.
struct LevelKeys {
  TAdvancedSortColItem Level;
  std::vector<std::string> Bytes;
  std::vector<bool> Present;
};

LevelKeys ComputeLevelKeys(const TConcordItems& list, TAdvancedSortColItem level,
                           const TSortSettings& settings) {
  LevelKeys keys{level, {}, {}};
  const bool isWord = IsWordKey(level.Key);
  if (!isWord && level.Key != pcTrackedTag) return keys;  // read from the hit itself
  const LanguageState& language = settings.State().Language;
  const int n = list.Count();
  keys.Bytes.resize(static_cast<std::size_t>(n));
  keys.Present.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const TConcordItem& item = list.Item(i);
    const std::optional<std::string>& value = isWord ? item.Words[level.Key] : item.TagValue;
    if (!value) continue;
    keys.Present[static_cast<std::size_t>(i)] = true;
    std::string& bytes = keys.Bytes[static_cast<std::size_t>(i)];
    if (!isWord) {
      bytes = language.SortKey(*value, settings.IgnoreCase()).Bytes();
    } else {
      const std::string word = settings.Stripped(*value);
      bytes = level.Reverse ? ReversedWord(word, settings)
                            : language.SortKey(word, settings.IgnoreCase()).Bytes();
    }
  }
  return keys;
}

// Compares hits by the keys computed for the sort.
class KeyComparer {
 public:
  KeyComparer(const TConcordItems& list, const TAdvancedSortColList& levels,
              const TSortSettings& settings)
      : list_(list) {
    for (const auto& level : levels) levels_.push_back(ComputeLevelKeys(list, level, settings));
  }

  int operator()(std::int32_t a, std::int32_t b) const {
    for (const LevelKeys& keys : levels_) {
      const int c = CompareLevel(keys, a, b);
      if (c != 0) return c;
    }
    return 0;
  }

 private:
  int CompareLevel(const LevelKeys& keys, std::int32_t a, std::int32_t b) const {
    const auto ua = static_cast<std::size_t>(a);
    const auto ub = static_cast<std::size_t>(b);
    switch (keys.Level.Key) {
      case pcOriginalOrder: return Sign(list_.Item(a).Serial - list_.Item(b).Serial);
      case pcDefined: return Sign(int{list_.Item(a).Letter} - int{list_.Item(b).Letter});
      default: break;
    }
    const bool pa = keys.Present[ua];
    const bool pb = keys.Present[ub];
    if (!pa || !pb) return CompareAbsence(pa, pb, keys.Level.Key == pcTrackedTag);
    return CompareBytes(keys.Bytes[ua], keys.Bytes[ub]);
  }

  const TConcordItems& list_;
  std::vector<LevelKeys> levels_;
};

// Compares hits through the collator every time.
class DirectComparer {
 public:
  DirectComparer(const TConcordItems& list, const TAdvancedSortColList& levels,
                 const TSortSettings& settings)
      : list_(list), levels_(levels), settings_(settings) {}
  int operator()(std::int32_t a, std::int32_t b) const {
    return CompareLines(list_.Item(a), list_.Item(b), levels_, settings_);
  }

 private:
  const TConcordItems& list_;
  const TAdvancedSortColList& levels_;
  const TSortSettings& settings_;
};

bool UsesTrackedTag(const TAdvancedSortColOptions& options, const TAdvancedSortColList* custom) {
  if (options.FirstKey == pcTrackedTag || options.SecondKey == pcTrackedTag ||
      options.ThirdKey == pcTrackedTag)
    return true;
  if (custom == nullptr) return false;
  for (const auto& item : *custom)
    if (item.Key == pcTrackedTag) return true;
  return false;
}

void UpdateTagValues(TConcordItems& list, const std::string& tagName, const TTagQuery& tags) {
  int found = -1;
  for (int i = 0; i < tags.TrackedTagCount(); ++i) {
    if (tags.TrackedTagName(i) == tagName) {
      found = i;
      break;
    }
  }
  if (found == list.TagIndex) return;
  list.TagIndex = found;
  if (found >= 0) list.FillTags(tags);
}

// Moves the hits into the order of order (order[k]: the index of the hit
// that goes to position k), following each cycle of the permutation once.
void Reorder(TConcordItems& list, const std::vector<std::int32_t>& order) {
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start] || order[start] == static_cast<std::int32_t>(start)) continue;
    TConcordItem held = std::move(list.Item(static_cast<int>(start)));
    std::size_t k = start;
    while (true) {
      placed[k] = true;
      const auto from = static_cast<std::size_t>(order[k]);
      if (from == start) {
        list.Item(static_cast<int>(k)) = std::move(held);
        break;
      }
      list.Item(static_cast<int>(k)) = std::move(list.Item(static_cast<int>(from)));
      k = from;
    }
  }
}

// Clears the list's reference to the customised sequence when the sort
// ends, however it ends: the sequence belongs to the caller.
class CustomKeysScope {
 public:
  CustomKeysScope(TConcordItems& list, const TAdvancedSortColList* custom) : list_(list) {
    list_.CustomKeys = custom;
  }
  ~CustomKeysScope() { list_.CustomKeys = nullptr; }
  CustomKeysScope(const CustomKeysScope&) = delete;
  CustomKeysScope& operator=(const CustomKeysScope&) = delete;

 private:
  TConcordItems& list_;
};

}  // namespace

TSortSettings::TSortSettings(const ProgramState& state)
    : state_(state),
      ignoreCase_(state.ConcordConfig.IgnoreCase),
      skipping_(state.ConcordConfig.UseSkipEqualChars && !state.ConcordConfig.SkippingChars.empty()) {
  for (unsigned char c : state.ConcordConfig.SkippingChars) skipChar_[c] = true;
}

std::string TSortSettings::Stripped(const std::string& word) const {
  if (!skipping_) return word;
  std::string result;
  result.reserve(word.size());
  for (char c : word)
    if (!skipChar_[static_cast<unsigned char>(c)]) result.push_back(c);
  return result;
}

int CompareItems(const TConcordItem& a, const TConcordItem& b, std::uint8_t key, bool reverse,
                 const TSortSettings& settings) {
  const LanguageState& language = settings.State().Language;
  switch (key) {
    case pcOriginalOrder: return Sign(a.Serial - b.Serial);
    case pcDefined: return Sign(int{a.Letter} - int{b.Letter});
    case pcTrackedTag:
      if (!a.TagValue || !b.TagValue)
        return CompareAbsence(a.TagValue.has_value(), b.TagValue.has_value(), true);
      return language.CompareStr(*a.TagValue, *b.TagValue, settings.IgnoreCase());
    default: break;
  }
  if (!IsWordKey(key)) return 0;
  const auto& wa = a.Words[key];
  const auto& wb = b.Words[key];
  if (!wa || !wb) return CompareAbsence(wa.has_value(), wb.has_value(), false);
  const std::string sa = settings.Stripped(*wa);
  const std::string sb = settings.Stripped(*wb);
  if (reverse) return CompareBytes(ReversedWord(sa, settings), ReversedWord(sb, settings));
  return language.CompareStr(sa, sb, settings.IgnoreCase());
}

TAdvancedSortColList SortLevels(const TAdvancedSortColOptions& options,
                                const TAdvancedSortColList* custom) {
  if (custom != nullptr) return *custom;
  TAdvancedSortColList levels;
  const TAdvancedSortColItem keys[] = {{options.FirstKey, options.FirstReverse},
                                       {options.SecondKey, options.SecondReverse},
                                       {options.ThirdKey, options.ThirdReverse}};
  for (const auto& key : keys)
    if (key.Key != pcUnsorted) levels.push_back(key);
  return levels;
}

int CompareLines(const TConcordItem& a, const TConcordItem& b, const TAdvancedSortColList& levels,
                 const TSortSettings& settings) {
  for (const auto& level : levels) {
    const int c = CompareItems(a, b, level.Key, level.Reverse, settings);
    if (c != 0) return c;
  }
  return 0;
}

void SortConcordance(TConcordItems& list, const TAdvancedSortColOptions& options,
                     const TAdvancedSortColList* custom, const TTagQuery& tags,
                     const ProgramState& state, TSortMethod method) {
  list.SortKeys = {TSortKey{options.FirstKey, options.FirstReverse},
                   TSortKey{options.SecondKey, options.SecondReverse},
                   TSortKey{options.ThirdKey, options.ThirdReverse}};
  CustomKeysScope scope(list, custom);
  if (UsesTrackedTag(options, custom) && !options.TagName.empty())
    UpdateTagValues(list, options.TagName, tags);

  const int n = list.Count();
  if (n < 2) return;
  const TSortSettings settings(state);
  const TAdvancedSortColList levels = SortLevels(options, custom);
  std::vector<std::int32_t> order(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i;
  if (method == TSortMethod::PrecomputedKeys) {
    KeyComparer compare(list, levels, settings);
    QuickSort(order, 0, n - 1, compare);
  } else {
    DirectComparer compare(list, levels, settings);
    QuickSort(order, 0, n - 1, compare);
  }
  Reorder(list, order);
}

TAdvancedSortColOptions MenuSortOptions(const TAdvancedSortColOptions& base, std::uint8_t first,
                                        std::uint8_t second) {
  TAdvancedSortColOptions options = base;
  options.FirstKey = first;
  options.SecondKey = second;
  options.ThirdKey = pcUnsorted;
  options.FirstReverse = options.SecondReverse = options.ThirdReverse = false;
  return options;
}

bool SortIsRedundant(const TAdvancedSortColOptions& next, const TAdvancedSortColOptions& last,
                     bool customGiven) {
  if (customGiven) return false;
  const std::uint8_t keys[] = {next.FirstKey, next.SecondKey, next.ThirdKey};
  if (next.FirstKey != last.FirstKey || next.SecondKey != last.SecondKey ||
      next.ThirdKey != last.ThirdKey || next.FirstReverse != last.FirstReverse ||
      next.SecondReverse != last.SecondReverse || next.ThirdReverse != last.ThirdReverse)
    return false;
  bool tracked = false;
  for (std::uint8_t key : keys) {
    if (key == pcDefined) return false;
    tracked = tracked || key == pcTrackedTag;
  }
  return !tracked || next.TagName == last.TagName;
}

}  // namespace korvane
