// Comparing words in the language's order: one million word pairs through
// the collator (each comparison converts both words and runs the collation
// algorithm) against the same pairs through collation keys computed once per
// word, as sorts and frequency tables use them. The key computation itself
// is measured separately, since it is the price of the second way.
//
// The words are generated German-like words of the windows-1252 code page,
// with capitals and umlauts, so that the comparisons reach the accent and
// case levels.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "search/language.h"

namespace korvane {
namespace {

constexpr int kWords = 20000;
constexpr int kPairs = 1000000;

struct Fixture {
  ConcordConfig config;
  LanguageState language{config, 0x0407};
  std::vector<std::string> words;
  std::vector<std::pair<int, int>> pairs;

  Fixture() {
    std::mt19937 random(42);
    const std::string letters = "aabcdeeefghiiklmnnoprrssttuuz\xE4\xF6\xFC\xDF";
    std::uniform_int_distribution<int> length(3, 12), letter(0, static_cast<int>(letters.size()) - 1),
        percent(0, 99), word(0, kWords - 1);
    for (int i = 0; i < kWords; ++i) {
      std::string w;
      for (int n = length(random); n > 0; --n) w += letters[letter(random)];
      if (percent(random) < 30) w[0] = static_cast<char>(language.UpperChar(static_cast<unsigned char>(w[0])));
      words.push_back(std::move(w));
    }
    // Half of the pairs share their first letters, as neighbours in a sort do.
    for (int i = 0; i < kPairs; ++i) {
      int a = word(random), b = word(random);
      if (i % 2 == 0) {
        words.push_back(words[a].substr(0, 2) + words[b]);
        b = static_cast<int>(words.size()) - 1;
      }
      pairs.emplace_back(a, b);
    }
  }
};

Fixture& Data() {
  static Fixture fixture;  // built once, outside the timed loops
  return fixture;
}

void BM_CompareThroughCollator(benchmark::State& state) {
  Fixture& data = Data();
  const bool ignoreCase = state.range(0) != 0;
  for (auto _ : state) {
    int sum = 0;
    for (auto [a, b] : data.pairs) sum += data.language.CompareStr(data.words[a], data.words[b], ignoreCase);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

void BM_CompareThroughKeys(benchmark::State& state) {
  Fixture& data = Data();
  const bool ignoreCase = state.range(0) != 0;
  std::vector<CollationKey> keys;
  keys.reserve(data.words.size());
  for (const std::string& w : data.words) keys.push_back(data.language.SortKey(w, ignoreCase));
  for (auto _ : state) {
    int sum = 0;
    for (auto [a, b] : data.pairs) sum += keys[a].Compare(keys[b]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

// Computing the keys of every word of the fixture (20,000 words plus one
// per second pair).
void BM_ComputeKeys(benchmark::State& state) {
  Fixture& data = Data();
  const bool ignoreCase = state.range(0) != 0;
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const std::string& w : data.words) bytes += data.language.SortKey(w, ignoreCase).Bytes().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(data.words.size()));
}

BENCHMARK(BM_CompareThroughCollator)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareThroughKeys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKeys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
