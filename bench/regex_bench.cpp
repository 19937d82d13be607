// Speed of the regular-expression engine: TRegExp::Search walked through a
// ~50 MB text from match to match, as the scan does, for three patterns (a
// literal, an alternation of five words, a class-heavy pattern), beside
// `grep -c -E` on the same bytes for comparison (C locale, output into a
// pipe: with its output on /dev/null grep stops at the first match).
//
// The text is the first 50 MB of KORVANE_BENCH_FILE when that is set (see
// bench/run.sh), otherwise English-like text generated with a fixed seed.
// Throughput is reported as bytes per second; grep's in real time.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

#include "search/regex/reg_exp.h"

namespace {

constexpr std::size_t kTextBytes = 50'000'000;

const char* const kPatterns[] = {"which", "people|because|through|between|without", "[A-Z][a-z]+ing\\b"};

std::string GenerateText() {
  static const char* const kWords[] = {
      "the", "of", "and", "to", "a", "in", "that", "is", "was", "he", "for", "it", "with", "as", "his", "on",
      "be", "at", "by", "had", "which", "people", "because", "through", "between", "without", "morning",
      "evening", "nothing", "something", "being", "king", "thing", "reading", "writing", "harbour",
      "letters", "colour", "government", "house", "water", "little", "time", "never", "under", "while"};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kWords)) - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  text.reserve(kTextBytes + 64);
  std::size_t lineStart = 0;
  bool sentenceStart = true;
  while (text.size() < kTextBytes) {
    std::string word = kWords[pick(random)];
    if (sentenceStart || percent(random) < 5) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    text += word;
    sentenceStart = percent(random) < 8;
    text += sentenceStart ? ". " : (percent(random) < 6 ? ", " : " ");
    if (text.size() - lineStart > 70) {
      text += "\r\n";
      lineStart = text.size();
    }
  }
  text.resize(kTextBytes);
  return text;
}

const std::string& Text() {
  static const std::string text = [] {
    if (const char* path = std::getenv("KORVANE_BENCH_FILE"); path && *path) {
      std::ifstream in(path, std::ios::binary);
      std::string content(kTextBytes, '\0');
      in.read(content.data(), static_cast<std::streamsize>(content.size()));
      content.resize(static_cast<std::size_t>(in.gcount()));
      if (!content.empty()) return content;
    }
    return GenerateText();
  }();
  return text;
}

// The text in a temporary file for grep, removed at exit.
class TTextFile {
 public:
  TTextFile() {
    char name[] = "/tmp/korvane-regex-benchXXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return;
    path_ = name;
    const std::string& text = Text();
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n = write(fd, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fd);
  }
  ~TTextFile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void BM_RegExpSearch(benchmark::State& state) {
  const std::string& text = Text();
  korvane::TRegExp regExp(kPatterns[state.range(0)], korvane::AsciiRegExpTables());
  std::int64_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    for (auto m = regExp.Search(text, 0); m.Found; m = regExp.Search(text, m.End)) ++matches;
    benchmark::DoNotOptimize(matches);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(kPatterns[state.range(0)]);
}
BENCHMARK(BM_RegExpSearch)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_GrepCount(benchmark::State& state) {
  static const TTextFile file;
  if (file.Path().empty()) {
    state.SkipWithError("cannot write the text to a temporary file");
    return;
  }
  const std::string command =
      std::string("LC_ALL=C grep -c -E '") + kPatterns[state.range(0)] + "' " + file.Path();
  long lines = 0;
  for (auto _ : state) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe || std::fscanf(pipe.get(), "%ld", &lines) != 1) {
      state.SkipWithError("grep did not run");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Text().size()));
  state.counters["lines"] = static_cast<double>(lines);
  state.SetLabel(kPatterns[state.range(0)]);
}
BENCHMARK(BM_GrepCount)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
