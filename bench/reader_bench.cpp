// Reading speed of the buffered reader over one text file, named by the
// environment variable KORVANE_BENCH_FILE: typed reading with the default
// tag settings (as the word counter and the search scan read), typed reading
// with part-of-speech start strings, and plain reading. Each run counts the
// words it sees so that the loop does real work; throughput is reported as
// bytes per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "corpus/buf_stream.h"
#include "corpus/synchro_stream.h"
#include "search/concord_config.h"

namespace {

using korvane::ConcordConfig;
using korvane::TBufStream;
using korvane::TCharType;
using korvane::TFileSynchroStream;

std::optional<std::string> BenchFile(benchmark::State& state) {
  const char* path = std::getenv("KORVANE_BENCH_FILE");
  if (path == nullptr || *path == '\0') {
    state.SkipWithError("set KORVANE_BENCH_FILE to a text file");
    return std::nullopt;
  }
  return std::string(path);
}

void ReadTyped(benchmark::State& state, const ConcordConfig& config) {
  const auto path = BenchFile(state);
  if (!path) return;
  TFileSynchroStream source(*path, korvane::TFileOpenMode::ReadShareWrite);
  TBufStream reader(&source, config.DelimiterSet());
  reader.ApplySettings(config);
  std::int64_t words = 0;
  for (auto _ : state) {
    reader.SetRange(0, source.GetSize());
    TCharType type = korvane::ctNone;
    bool inWord = false;
    words = 0;
    while (reader.ReadCharTyped(type) != 0) {
      const bool word = type == korvane::ctWord;
      words += word && !inWord;
      inWord = word;
    }
    benchmark::DoNotOptimize(words);
  }
  state.SetBytesProcessed(state.iterations() * source.GetSize());
  state.counters["words"] = static_cast<double>(words);
}

void BM_ReadCharTyped(benchmark::State& state) { ReadTyped(state, ConcordConfig()); }
BENCHMARK(BM_ReadCharTyped)->Unit(benchmark::kMillisecond);

void BM_ReadCharTypedWordTagStarts(benchmark::State& state) {
  ConcordConfig config;
  config.WordTag = 2;
  config.wTagStarts = {"<w ", "<c "};
  ReadTyped(state, config);
}
BENCHMARK(BM_ReadCharTypedWordTagStarts)->Unit(benchmark::kMillisecond);

void BM_ReadChar(benchmark::State& state) {
  const auto path = BenchFile(state);
  if (!path) return;
  TFileSynchroStream source(*path, korvane::TFileOpenMode::ReadShareWrite);
  TBufStream reader(&source, ConcordConfig().DelimiterSet());
  std::int64_t lines = 0;
  for (auto _ : state) {
    reader.SetRange(0, source.GetSize());
    lines = 0;
    for (unsigned char c = reader.ReadChar(); c != 0; c = reader.ReadChar()) lines += c == '\n';
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * source.GetSize());
}
BENCHMARK(BM_ReadChar)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
