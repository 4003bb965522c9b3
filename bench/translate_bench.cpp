// Throughput of the translation pass on English-like text: the fast pass
// (TranslateText), the reference pass (TranslateTextReference) and a plain
// memcpy of the same buffer, for each text size and each combination of Rand
// and Hard mode, all in one run.
//
// The pass rewrites its buffer in place, and a second pass over translated
// text would find fewer letters with look-alikes. So every iteration first
// restores the buffer from an untouched copy and only the call itself is
// timed (manual timing); the restore is not part of the figure. The random
// source is kept across iterations, as the program keeps its own. Times are
// the benchmark thread's CPU time, so that other processes on a shared
// machine do not count against a figure.
//
// Each case is repeated and reported as mean, median, standard deviation and
// coefficient of variation; the median is the figure to compare. After the
// run, --table=FILE writes the medians as a Markdown table and
// --plot-script=FILE a gnuplot script that draws them into the PNG named by
// --plot=FILE.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "english_text.h"
#include "translate.h"
#include "translate_paths.h"
#include "translate_reference.h"

namespace {

constexpr std::size_t kSizes[] = {64 << 10, 1 << 20, 64 << 20};

enum class Kind { kFast, kReference, kMemcpy };
constexpr Kind kKinds[] = {Kind::kFast, Kind::kReference, Kind::kMemcpy};

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kFast:
      return "fast";
    case Kind::kReference:
      return "reference";
    case Kind::kMemcpy:
      return "memcpy";
  }
  return "";
}

struct Modes {
  bool rand;
  bool hard;
};
constexpr Modes kAllModes[] = {
    {false, false}, {false, true}, {true, false}, {true, true}};

std::string SizeName(std::size_t size) {
  return size >= (1 << 20) ? std::to_string(size >> 20) + " MiB"
                           : std::to_string(size >> 10) + " KiB";
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

// The registered name of a case; memcpy does not depend on the modes.
std::string CaseName(Kind kind, Modes m, std::size_t size) {
  std::string name = KindName(kind);
  if (kind != Kind::kMemcpy)
    name += std::string("/rand:") + OnOff(m.rand) + "/hard:" + OnOff(m.hard);
  return name + "/" + std::to_string(size);
}

// The untouched text of each size, generated once per run.
const std::string& PristineText(std::size_t size) {
  static std::map<std::size_t, std::string> texts;
  auto it = texts.find(size);
  if (it == texts.end()) it = texts.emplace(size, EnglishText(size)).first;
  return it->second;
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) +
         1e-9 * static_cast<double>(now.tv_nsec);
}

void RunCase(benchmark::State& state, Kind kind, Modes m, std::size_t size) {
  const std::string& pristine = PristineText(size);
  std::vector<char> buffer(size);
  RandomSource source;
  for (auto _ : state) {
    if (kind != Kind::kMemcpy)
      std::memcpy(buffer.data(), pristine.data(), size);
    benchmark::ClobberMemory();
    const double start = ThreadSeconds();
    switch (kind) {
      case Kind::kFast:
        TranslateText(source, buffer.data(), size, m.rand, m.hard);
        break;
      case Kind::kReference:
        TranslateTextReference(source, buffer.data(), size, m.rand, m.hard);
        break;
      case Kind::kMemcpy:
        std::memcpy(buffer.data(), pristine.data(), size);
        break;
    }
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    state.SetIterationTime(ThreadSeconds() - start);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(size));
}

void RegisterCases() {
  for (const std::size_t size : kSizes) {
    for (const Kind kind : kKinds) {
      for (const Modes m : kAllModes) {
        benchmark::RegisterBenchmark(CaseName(kind, m, size).c_str(),
                                     [kind, m, size](benchmark::State& state) {
                                       RunCase(state, kind, m, size);
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        if (kind == Kind::kMemcpy) break;
      }
    }
  }
}

// The console output as usual, and the median time of every case kept for
// the table and the plot.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        seconds_[run.run_name.function_name] =
            run.GetAdjustedRealTime() /
            benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
  }

  // MB/s (10^6 bytes a second) of a case, or 0 when it did not run.
  double MegabytesPerSecond(Kind kind, Modes m, std::size_t size) const {
    const auto it = seconds_.find(CaseName(kind, m, size));
    if (it == seconds_.end() || it->second <= 0) return 0;
    return static_cast<double>(size) / it->second / 1e6;
  }

 private:
  std::map<std::string, double> seconds_;
};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Ratio(double a, double b) {
  return a > 0 && b > 0 ? Fixed(a / b, a / b < 10 ? 2 : 1) + "×" : "–";
}

std::string Figure(double mbps) { return mbps > 0 ? Fixed(mbps, 0) : "–"; }

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("model name", 0) == 0) {
      const std::size_t colon = line.find(':');
      if (colon != std::string::npos) return line.substr(colon + 2);
    }
  }
  return "unknown processor";
}

bool WriteTable(const MedianReporter& r, const std::string& path) {
  std::ofstream out(path);
  out << "# Translation pass throughput\n\n"
      << "Written by `make bench`: English-like text, one thread, on "
      << CpuModel() << "; the fast pass ran on its `"
      << TranslatePathName(FastestTranslatePath()) << "` path.\n"
      << "Each figure is the median of the repetitions, in MB/s (10^6 bytes "
         "a second of the\nbenchmark thread's CPU time); the ratios divide "
         "the fast pass's figure by the others.\n\n"
      << "| text | Rand | Hard | fast MB/s | reference MB/s | memcpy MB/s | "
         "fast / reference | fast / memcpy |\n"
      << "|---:|:---:|:---:|---:|---:|---:|---:|---:|\n";
  for (const std::size_t size : kSizes) {
    const double copy = r.MegabytesPerSecond(Kind::kMemcpy, {}, size);
    for (const Modes m : kAllModes) {
      const double fast = r.MegabytesPerSecond(Kind::kFast, m, size);
      const double reference = r.MegabytesPerSecond(Kind::kReference, m, size);
      if (fast == 0 && reference == 0) continue;
      out << "| " << SizeName(size) << " | " << OnOff(m.rand) << " | "
          << OnOff(m.hard) << " | " << Figure(fast) << " | "
          << Figure(reference) << " | " << Figure(copy) << " | "
          << Ratio(fast, reference) << " | " << Ratio(fast, copy) << " |\n";
    }
  }
  return static_cast<bool>(out);
}

// A 2 x 2 panel plot, one panel per combination of modes, MB/s against text
// size on log scales, one line per implementation.
bool WritePlotScript(const MedianReporter& r, const std::string& path,
                     const std::string& png) {
  std::ofstream out(path);
  out << "# Written by zorkel-bench; run with gnuplot.\n"
      << "set terminal pngcairo size 1200,900 font 'DejaVu Sans,10'\n"
      << "set output '" << png << "'\n"
      << "set logscale xy\n"
      << "set xrange [40000:110000000]\n"
      << "set xtics ('64 KiB' 65536, '1 MiB' 1048576, '64 MiB' 67108864)\n"
      << "set xlabel ''\n"
      << "set ylabel 'MB/s (median)'\n"
      << "set format y '%g'\n"
      << "set yrange [10:100000]\n"
      << "set grid\n"
      << "set key outside bottom center horizontal maxrows 1\n";
  int panel = 0;
  for (const Modes m : kAllModes) {
    out << "$panel" << panel << " << EOD\n# size fast reference memcpy\n";
    for (const std::size_t size : kSizes) {
      out << size << ' ' << r.MegabytesPerSecond(Kind::kFast, m, size) << ' '
          << r.MegabytesPerSecond(Kind::kReference, m, size) << ' '
          << r.MegabytesPerSecond(Kind::kMemcpy, m, size) << '\n';
    }
    out << "EOD\n";
    ++panel;
  }
  out << "set datafile missing '0'\n"
      << "set multiplot layout 2,2 title 'Translation pass on English-like "
         "text, one thread ("
      << CpuModel() << ")'\n";
  panel = 0;
  for (const Modes m : kAllModes) {
    // A panel whose cases were all filtered out is left empty.
    bool any = false;
    for (const std::size_t size : kSizes) {
      any |= r.MegabytesPerSecond(Kind::kFast, m, size) > 0 ||
             r.MegabytesPerSecond(Kind::kReference, m, size) > 0;
    }
    if (!any) {
      out << "set multiplot next\n";
      ++panel;
      continue;
    }
    out << "set title 'Rand " << OnOff(m.rand) << ", Hard " << OnOff(m.hard)
        << "'\n"
        << "plot $panel" << panel
        << " using 1:2 with linespoints lw 2 pt 7 title 'fast "
           "(TranslateText)', \\\n"
        << "     $panel" << panel
        << " using 1:3 with linespoints lw 2 pt 5 title 'reference', \\\n"
        << "     $panel" << panel
        << " using 1:4 with linespoints lw 2 pt 9 dt 2 title 'memcpy'\n";
    ++panel;
  }
  out << "unset multiplot\n";
  return static_cast<bool>(out);
}

// Takes --name=VALUE out of the arguments.
std::string TakeFlag(std::vector<char*>& args, std::string_view name) {
  std::string value;
  const std::string prefix = "--" + std::string(name) + "=";
  for (auto it = args.begin(); it != args.end();) {
    if (*it && std::string_view(*it).rfind(prefix, 0) == 0) {
      value = *it + prefix.size();
      it = args.erase(it);
    } else {
      ++it;
    }
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  // Defaults that keep a whole run to about a minute and a half on a
  // two-core machine: five repetitions of at least a fifth of a second each,
  // shown as aggregates only. They come before the command-line arguments,
  // so any of them can be overridden there (the last occurrence of a flag
  // wins).
  char repetitions[] = "--benchmark_repetitions=5";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  char minTime[] = "--benchmark_min_time=0.2";
  std::vector<char*> args = {argv[0], repetitions, aggregatesOnly, minTime};
  args.insert(args.end(), argv + 1, argv + argc);
  const std::string table = TakeFlag(args, "table");
  const std::string plotScript = TakeFlag(args, "plot-script");
  const std::string plot = TakeFlag(args, "plot");
  if (!plotScript.empty() && plot.empty()) {
    std::cerr << "zorkel-bench: --plot-script needs --plot=FILE.png\n";
    return 2;
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);

  RegisterCases();
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (!table.empty() && !WriteTable(reporter, table)) {
    std::cerr << "zorkel-bench: cannot write " << table << '\n';
    return 1;
  }
  if (!plotScript.empty() && !WritePlotScript(reporter, plotScript, plot)) {
    std::cerr << "zorkel-bench: cannot write " << plotScript << '\n';
    return 1;
  }
  return 0;
}
