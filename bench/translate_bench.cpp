// Throughput of the translation pass on English-like text, for each
// combination of Rand and Hard mode, beside a plain memcpy of the same size.
//
// The pass rewrites its buffer in place, and a second pass over translated
// text would find fewer letters with look-alikes. So every iteration first
// restores the buffer from an untouched copy and only the TranslateText call
// itself is timed (manual timing); the restore is not part of the figure. The
// random source is kept across iterations, as the program keeps its own.
//
// Each case is repeated and reported as mean, median, standard deviation and
// coefficient of variation; the median is the figure to compare. With manual
// timing the "Time" column is the translate call alone, while the "CPU"
// column covers the whole iteration, restore included.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "english_text.h"
#include "translate.h"

namespace {

constexpr std::int64_t kSmall = 64 << 10;  // 64 KiB
constexpr std::int64_t kMedium = 1 << 20;  // 1 MiB
constexpr std::int64_t kLarge = 64 << 20;  // 64 MiB

// The untouched text of each size, generated once per run.
const std::string& PristineText(std::size_t size) {
  static std::map<std::size_t, std::string> texts;
  auto it = texts.find(size);
  if (it == texts.end()) it = texts.emplace(size, EnglishText(size)).first;
  return it->second;
}

void BM_TranslateText(benchmark::State& state) {
  const bool randMode = state.range(0) != 0;
  const bool hardMode = state.range(1) != 0;
  const auto size = static_cast<std::size_t>(state.range(2));
  const std::string& pristine = PristineText(size);
  std::vector<char> buffer(size);
  RandomSource source;
  for (auto _ : state) {
    std::memcpy(buffer.data(), pristine.data(), size);
    const auto start = std::chrono::steady_clock::now();
    TranslateText(source, buffer.data(), size, randMode, hardMode);
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
  state.SetBytesProcessed(state.iterations() * state.range(2));
}

void BM_Memcpy(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const std::string& source = PristineText(size);
  std::vector<char> buffer(size);
  for (auto _ : state) {
    std::memcpy(buffer.data(), source.data(), size);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_TranslateText)
    ->Name("TranslateText")
    ->ArgNames({"rand", "hard", ""})
    ->ArgsProduct({{0, 1}, {0, 1}, {kSmall, kMedium, kLarge}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Memcpy)
    ->Name("memcpy")
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  // Defaults that keep a whole run to about half a minute on a two-core
  // machine: three repetitions of at least a quarter of a second each, shown
  // as aggregates only. They come before the command-line arguments, so any of
  // them can be overridden there (the last occurrence of a flag wins).
  char repetitions[] = "--benchmark_repetitions=3";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  char minTime[] = "--benchmark_min_time=0.25";
  std::vector<char*> args = {argv[0], repetitions, aggregatesOnly, minTime};
  args.insert(args.end(), argv + 1, argv + argc);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);

  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
