// The file functions of a test executable, with faults on demand: see
// file_faults.h. Each function finds the next definition of its name (the C
// library's, or AddressSanitizer's interceptor) once, and passes every call on
// to it while no rule is armed.
#include "file_faults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>

// AddressSanitizer's own read and write, present when its runtime is linked
// into the executable (clang): the definitions below replace the ones it
// would have put in their place, so calls are handed to these to keep its
// checks. Null in other builds.
extern "C" ssize_t __interceptor_read(int, void*, size_t) __attribute__((weak));
extern "C" ssize_t __interceptor_write(int, const void*, size_t)
    __attribute__((weak));

namespace file_faults {
namespace {

template <typename Function>
Function Next(const char* name) {
  void* found = dlsym(RTLD_NEXT, name);
  if (!found) {
    std::fprintf(stderr, "file_faults: no %s to pass calls on to\n", name);
    std::abort();
  }
  return reinterpret_cast<Function>(found);
}

using OpenFn = int (*)(const char*, int, ...);
using MkostempFn = int (*)(char*, int);
using ReadFn = ssize_t (*)(int, void*, size_t);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using FdFn = int (*)(int);
using RenameFn = int (*)(const char*, const char*);

OpenFn RealOpen() {
  static const OpenFn f = Next<OpenFn>("open");
  return f;
}
OpenFn RealOpen64() {
  static const OpenFn f = Next<OpenFn>("open64");
  return f;
}
MkostempFn RealMkostemp() {
  static const MkostempFn f = Next<MkostempFn>("mkostemp");
  return f;
}
ReadFn RealRead() {
  static const ReadFn f =
      __interceptor_read ? __interceptor_read : Next<ReadFn>("read");
  return f;
}
WriteFn RealWrite() {
  static const WriteFn f =
      __interceptor_write ? __interceptor_write : Next<WriteFn>("write");
  return f;
}
FdFn RealFsync() {
  static const FdFn f = Next<FdFn>("fsync");
  return f;
}
FdFn RealClose() {
  static const FdFn f = Next<FdFn>("close");
  return f;
}
RenameFn RealRename() {
  static const RenameFn f = Next<RenameFn>("rename");
  return f;
}

struct ArmedRule {
  Rule rule;
  std::string path;  // the pattern, kept
  int seen = 0;      // matching calls so far
  int fired = 0;     // calls picked
};

struct State {
  std::mutex lock;
  std::vector<ArmedRule> rules;
  std::map<int, std::string> paths;  // descriptors opened while armed
};

// Checked first by every call, so that a disarmed shim costs one load.
std::atomic<bool> g_armed{false};

// Never destroyed: calls keep coming while the program exits.
State& TheState() {
  static State* const state = new State;
  return *state;
}

bool Matches(const std::string& pattern, const std::string& path) {
  return !path.empty() && fnmatch(pattern.c_str(), path.c_str(), 0) == 0;
}

// Counts the call for every rule it matches, and returns the first rule that
// picks it.
std::optional<Rule> Pick(Call call, const std::string& path,
                         const std::string& otherPath = std::string()) {
  State& state = TheState();
  std::lock_guard<std::mutex> hold(state.lock);
  std::optional<Rule> picked;
  for (ArmedRule& armed : state.rules) {
    if (armed.rule.call != call ||
        !(Matches(armed.path, path) || Matches(armed.path, otherPath)))
      continue;
    ++armed.seen;
    const int from = armed.rule.nth;
    const bool inRange =
        armed.seen >= from &&
        (armed.rule.count == 0 || armed.seen < from + armed.rule.count);
    if (inRange && !picked) {
      ++armed.fired;
      picked = armed.rule;
    }
  }
  return picked;
}

std::string PathOf(int fd) {
  State& state = TheState();
  std::lock_guard<std::mutex> hold(state.lock);
  const auto it = state.paths.find(fd);
  return it == state.paths.end() ? std::string() : it->second;
}

void Follow(int fd, const char* path) {
  if (fd < 0 || !path) return;
  State& state = TheState();
  std::lock_guard<std::mutex> hold(state.lock);
  state.paths[fd] = path;
}

std::optional<Rule> PickForDescriptor(Call call, int fd) {
  if (!g_armed.load(std::memory_order_relaxed)) return std::nullopt;
  const std::string path = PathOf(fd);
  if (path.empty()) return std::nullopt;
  return Pick(call, path);
}

// Another program cutting or extending the file.
void Resize(const std::string& path, long size) {
  const int fd = RealOpen()(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat status;
  if (fstat(fd, &status) == 0) {
    if (size <= status.st_size) {
      if (ftruncate(fd, size) != 0) std::perror("file_faults: ftruncate");
    } else {
      const std::string more(static_cast<size_t>(size - status.st_size), 'x');
      if (pwrite(fd, more.data(), more.size(), status.st_size) < 0)
        std::perror("file_faults: pwrite");
    }
  }
  RealClose()(fd);
}

int OpenWith(OpenFn real, const char* path, int flags, va_list args) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE)
    mode = static_cast<mode_t>(va_arg(args, int));
  if (!g_armed.load(std::memory_order_relaxed)) return real(path, flags, mode);
  if (path) {
    if (const auto rule = Pick(Call::Open, path);
        rule && rule->effect == Effect::Fail) {
      errno = static_cast<int>(rule->value);
      return -1;
    }
  }
  const int fd = real(path, flags, mode);
  const int error = errno;
  Follow(fd, path);
  errno = error;
  return fd;
}

}  // namespace

void Arm(const std::vector<Rule>& rules) {
  State& state = TheState();
  {
    std::lock_guard<std::mutex> hold(state.lock);
    state.rules.clear();
    state.paths.clear();
    for (const Rule& rule : rules)
      state.rules.push_back(ArmedRule{rule, rule.path ? rule.path : ""});
  }
  g_armed.store(true);
}

void Disarm() {
  g_armed.store(false);
  State& state = TheState();
  std::lock_guard<std::mutex> hold(state.lock);
  state.paths.clear();
}

std::vector<int> Fired() {
  State& state = TheState();
  std::lock_guard<std::mutex> hold(state.lock);
  std::vector<int> fired;
  for (const ArmedRule& armed : state.rules) fired.push_back(armed.fired);
  return fired;
}

}  // namespace file_faults

using file_faults::Call;
using file_faults::Effect;

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd =
      file_faults::OpenWith(file_faults::RealOpen(), path, flags, args);
  va_end(args);
  return fd;
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd =
      file_faults::OpenWith(file_faults::RealOpen64(), path, flags, args);
  va_end(args);
  return fd;
}

int mkostemp(char* pattern, int flags) {
  const int fd = file_faults::RealMkostemp()(pattern, flags);
  if (file_faults::g_armed.load(std::memory_order_relaxed)) {
    const int error = errno;
    file_faults::Follow(fd, pattern);
    errno = error;
  }
  return fd;
}

ssize_t read(int fd, void* buffer, size_t count) {
  if (const auto rule = file_faults::PickForDescriptor(Call::Read, fd)) {
    switch (rule->effect) {
      case Effect::Fail:
        errno = static_cast<int>(rule->value);
        return -1;
      case Effect::Short:
        if (static_cast<size_t>(rule->value) < count)
          count = static_cast<size_t>(rule->value);
        break;
      case Effect::Resize:
        file_faults::Resize(file_faults::PathOf(fd), rule->value);
        break;
    }
  }
  return file_faults::RealRead()(fd, buffer, count);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  if (const auto rule = file_faults::PickForDescriptor(Call::Write, fd)) {
    switch (rule->effect) {
      case Effect::Fail:
        errno = static_cast<int>(rule->value);
        return -1;
      case Effect::Short:
        if (static_cast<size_t>(rule->value) < count)
          count = static_cast<size_t>(rule->value);
        if (count == 0) return 0;
        break;
      case Effect::Resize:
        break;
    }
  }
  return file_faults::RealWrite()(fd, buffer, count);
}

int fsync(int fd) {
  const auto rule = file_faults::PickForDescriptor(Call::Fsync, fd);
  if (rule && rule->effect == Effect::Fail) {
    errno = static_cast<int>(rule->value);
    return -1;
  }
  return file_faults::RealFsync()(fd);
}

int close(int fd) {
  std::optional<file_faults::Rule> rule;
  if (file_faults::g_armed.load(std::memory_order_relaxed)) {
    rule = file_faults::PickForDescriptor(Call::Close, fd);
    file_faults::State& state = file_faults::TheState();
    std::lock_guard<std::mutex> hold(state.lock);
    state.paths.erase(fd);
  }
  const int result = file_faults::RealClose()(fd);
  if (rule && rule->effect == Effect::Fail) {
    errno = static_cast<int>(rule->value);
    return -1;
  }
  return result;
}

int rename(const char* from, const char* to) noexcept {
  if (file_faults::g_armed.load(std::memory_order_relaxed) && from && to) {
    const auto rule = file_faults::Pick(Call::Rename, from, to);
    if (rule && rule->effect == Effect::Fail) {
      errno = static_cast<int>(rule->value);
      return -1;
    }
  }
  return file_faults::RealRename()(from, to);
}

}  // extern "C"
