// The filter's loop over inputs and chunks.
#include "filter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "diagnostics.h"
#include "fd_io.h"
#include "output.h"
#include "pass.h"
#include "translate.h"

namespace cli {

namespace {

// The longest UTF-8 sequence that can be cut short: a 4-byte one missing its
// last byte. That many bytes may be carried from one read to the next.
constexpr std::size_t kMaxCarried = 3;

enum class Outcome { kDone, kReadFailed, kWriteFailed };

class Filter {
 public:
  explicit Filter(const Settings& settings)
      : settings_(settings),
        source_{settings.seed},
        buffer_(std::make_unique<char[]>(kMaxCarried + kChunkBytes)) {}

  // Translates one open input. A read error is reported, and what was read
  // before it is still translated and written.
  Outcome Translate(int fd, std::string_view name) {
    return settings_.passes == 1 ? Stream(fd, name) : Whole(fd, name);
  }

 private:
  Outcome Stream(int fd, std::string_view name) {
    Outcome outcome = Outcome::kDone;
    std::size_t carried = 0;
    for (;;) {
      const ssize_t got = ReadSome(fd, buffer_.get() + carried, kChunkBytes);
      if (got < 0) {
        ReportFileError(name, errno);
        outcome = Outcome::kReadFailed;
      }
      const bool atEnd = got <= 0;
      const std::size_t held =
          carried + (atEnd ? 0 : static_cast<std::size_t>(got));
      out_.clear();
      const std::size_t used =
          TranslatePiece(source_, settings_.modes, {buffer_.get(), held}, atEnd,
                         out_, scratch_);
      if (!WriteOutput(out_)) return Outcome::kWriteFailed;
      if (atEnd) return outcome;
      carried = held - used;
      std::copy(buffer_.get() + used, buffer_.get() + held, buffer_.get());
    }
  }

  Outcome Whole(int fd, std::string_view name) {
    Outcome outcome = Outcome::kDone;
    std::string text;
    for (;;) {
      const ssize_t got = ReadSome(fd, buffer_.get(), kChunkBytes);
      if (got < 0) {
        ReportFileError(name, errno);
        outcome = Outcome::kReadFailed;
      }
      if (got <= 0) break;
      text.append(buffer_.get(), static_cast<std::size_t>(got));
    }
    for (unsigned pass = 0; pass < settings_.passes; ++pass) {
      out_.clear();
      TranslatePiece(source_, settings_.modes, text, true, out_, scratch_);
      text.swap(out_);
    }
    if (!WriteOutput(text)) return Outcome::kWriteFailed;
    return outcome;
  }

  const Settings& settings_;
  RandomSource source_;
  std::unique_ptr<char[]> buffer_;
  std::string out_;
  std::string scratch_;
};

}  // namespace

int RunFilter(const Settings& settings) {
  Filter filter(settings);
  bool readFailed = false;
  auto translate = [&](int fd, std::string_view name) {
    const Outcome outcome = filter.Translate(fd, name);
    readFailed |= outcome == Outcome::kReadFailed;
    return outcome != Outcome::kWriteFailed;
  };

  // No FILE means standard input, as "-" does.
  static const std::vector<std::string> kStandardInputOnly = {"-"};
  const std::vector<std::string>& inputs =
      settings.inputs.empty() ? kStandardInputOnly : settings.inputs;
  for (const std::string& input : inputs) {
    if (input == "-") {
      if (!translate(STDIN_FILENO, kStandardInputName)) return 1;
      continue;
    }
    const int fd = open(input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      ReportFileError(input, errno);
      readFailed = true;
      continue;
    }
    const bool written = translate(fd, input);
    close(fd);  // read-only: nothing can be lost here
    if (!written) return 1;
  }
  if (!CloseOutput()) return 1;
  return readFailed ? 1 : 0;
}

}  // namespace cli
