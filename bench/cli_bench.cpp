// zorkel-cli on a large file to /dev/null: wall time and peak memory, beside
// cat of the same file in the same run. Prints a Markdown table.
// Usage: zorkel-cli-bench ZORKEL_CLI [MiB] [RUNS]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "english_text.h"

namespace {

struct Run {
  double seconds;
  long peakKiB;
};

// Runs a command with the file as standard input and /dev/null as output.
Run Time(const std::vector<std::string>& command, const std::string& input) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    dup2(in, 0);
    dup2(out, 1);
    std::vector<char*> argv;
    for (const std::string& word : command)
      argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "zorkel-cli-bench: %s failed\n", command[0].c_str());
    std::exit(1);
  }
  return Run{seconds, usage.ru_maxrss};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zorkel-cli-bench ZORKEL_CLI [MiB] [RUNS]\n");
    return 2;
  }
  const std::size_t mib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 256;
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const std::string path =
      "/tmp/zorkel-cli-bench-" + std::to_string(getpid()) + ".txt";
  {
    const std::string text = EnglishText(mib << 20);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
      std::fprintf(stderr, "zorkel-cli-bench: cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(f);
  }
  const double bytes = static_cast<double>(mib << 20);
  std::vector<double> cli, utf8, cat;
  long peak = 0, peakUtf8 = 0;
  for (int i = 0; i < runs; ++i) {
    Run r = Time({argv[1]}, path);
    cli.push_back(bytes / r.seconds / 1e6);
    peak = std::max(peak, r.peakKiB);
    r = Time({argv[1], "--utf-8"}, path);
    utf8.push_back(bytes / r.seconds / 1e6);
    peakUtf8 = std::max(peakUtf8, r.peakKiB);
    cat.push_back(bytes / Time({"cat"}, path).seconds / 1e6);
  }
  std::remove(path.c_str());
  std::printf(
      "| %zu MiB to /dev/null (median of %d) | MB/s (wall) | peak memory |\n",
      mib, runs);
  std::printf("|---|---:|---:|\n");
  std::printf("| zorkel-cli | %.0f | %.1f MiB |\n", Median(cli), peak / 1024.0);
  std::printf("| zorkel-cli --utf-8 | %.0f | %.1f MiB |\n", Median(utf8),
              peakUtf8 / 1024.0);
  std::printf("| cat (reference) | %.0f | |\n", Median(cat));
  return 0;
}
