// Sorting a concordance of one million hits by the first word to the right
// and then the first word to the left, once with every hit's collation keys
// computed in advance (how the program sorts) and once calling the collator
// for every comparison. Both give the same order; the difference is the
// price of comparing through the collator.
//
// The words are drawn from a vocabulary of 20,000 generated windows-1252
// words with capitals and accents, skewed so that frequent words repeat as
// they do in a text; a few hits have no left word (start of a text).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/scripted_host.h"
#include "results/concord_items.h"
#include "results/sort.h"
#include "tags/tag_query.h"

namespace korvane {
namespace {

constexpr int kHits = 1000000;
constexpr int kVocabulary = 20000;

struct Fixture {
  ScriptedHost host;
  ProgramState state{host};
  TConcordItems list{state};
  TNoTagInfo noTags;

  Fixture() {
    state.Language.SetLanguage(0x0409, state.ConcordConfig);
    std::mt19937 random(42);
    const std::string letters = "aabcdeeefghiiklmnnoprrssttuuz\xE9\xE8\xE4\xF6";
    std::uniform_int_distribution<int> length(2, 10), letter(0, static_cast<int>(letters.size()) - 1),
        percent(0, 99);
    std::vector<std::string> words;
    for (int i = 0; i < kVocabulary; ++i) {
      std::string w;
      for (int n = length(random); n > 0; --n) w += letters[static_cast<std::size_t>(letter(random))];
      if (percent(random) < 20) w[0] = static_cast<char>(state.Language.UpperChar(static_cast<unsigned char>(w[0])));
      words.push_back(std::move(w));
    }
    // A skewed choice: small indexes far more often than large ones.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto pick = [&]() {
      const double u = unit(random);
      return words[static_cast<std::size_t>(u * u * u * (kVocabulary - 1))];
    };
    for (int i = 0; i < kHits; ++i) {
      auto item = std::make_unique<TConcordItem>();
      item->Words[pcSearchTerm] = "the";
      if (percent(random) != 0) item->Words[pc1L] = pick();
      item->Words[pc1R] = pick();
      item->Serial = i;
      list.Add(std::move(item));
    }
  }

  void Restore() {
    TAdvancedSortColOptions options;
    options.FirstKey = pcOriginalOrder;
    SortConcordance(list, options, nullptr, noTags, state);
  }
};

Fixture& Shared() {
  static Fixture fixture;  // built once for both benchmarks
  return fixture;
}

void SortBy1R1L(benchmark::State& run, TSortMethod method) {
  Fixture& f = Shared();
  TAdvancedSortColOptions options;
  options.FirstKey = pc1R;
  options.SecondKey = pc1L;
  for (auto _ : run) {
    run.PauseTiming();
    f.Restore();
    run.ResumeTiming();
    SortConcordance(f.list, options, nullptr, f.noTags, f.state, method);
  }
  run.SetItemsProcessed(run.iterations() * kHits);
}

void BM_SortPrecomputedKeys(benchmark::State& run) { SortBy1R1L(run, TSortMethod::PrecomputedKeys); }
void BM_SortThroughCollator(benchmark::State& run) { SortBy1R1L(run, TSortMethod::DirectComparison); }

BENCHMARK(BM_SortPrecomputedKeys)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortThroughCollator)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
