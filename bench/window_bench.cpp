// The window at scale, measured in-process under an X display: start to the
// first shown window, the Translate command on a 16 MiB text (fetch,
// translate, set, shown), Load and Save of a 16 MiB file, and the idle
// memory. Prints medians of several runs beside the same run's reference
// figures (a copy of the text, and writing and reading it with plain stdio).
// Usage: zorkel-window-bench [RUNS]
#include <sys/wait.h>
#include <unistd.h>
#include <win32_module.h>
#include <win32_testing.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "backend.h"
#include "english_text.h"
#include "main_window.h"
#include "resource.h"

extern const Win32Module Win32ProgramModule;
HINSTANCE g_instance;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Lets the window draw what changed, as the user would see it.
void Show() {
  for (int i = 0; i < 3; ++i) BackendPoll();
}

HWND OpenMainWindow() {
  g_instance = Win32InstanceOf(Win32ProgramModule);
  HWND window = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN),
                                   nullptr, MainDialogProc, 0);
  ShowWindow(window, SW_SHOWDEFAULT);
  Show();
  return window;
}

// Start to the first shown window, in a fresh process each time.
double StartUpMilliseconds() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const auto start = Clock::now();
    if (!BackendOpen("zorkel")) _exit(1);
    OpenMainWindow();
    const double ms = Milliseconds(start, Clock::now());
    if (write(fds[1], &ms, sizeof ms) != sizeof ms) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  double ms = -1;
  if (read(fds[0], &ms, sizeof ms) != sizeof ms) ms = -1;
  close(fds[0]);
  waitpid(child, nullptr, 0);
  return ms;
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

std::string GetText(HWND window) {
  const auto n = SendDlgItemMessageA(window, IDC_TEXT, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  SendDlgItemMessageA(window, IDC_TEXT, WM_GETTEXT, text.size(),
                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<double> startUp;
  for (int i = 0; i < runs; ++i) startUp.push_back(StartUpMilliseconds());

  if (!BackendOpen("zorkel-window-bench")) {
    std::fprintf(stderr, "zorkel-window-bench: needs an X display\n");
    return 1;
  }
  HWND window = OpenMainWindow();
  for (int i = 0; i < 20; ++i) BackendPoll();
  const long idleKiB = ResidentKiB();

  const std::size_t size = 16u << 20;
  const std::string text = EnglishText(size);
  const std::string path =
      "/tmp/zorkel-window-bench-" + std::to_string(getpid()) + ".txt";
  Win32SetUnattended(true);

  std::vector<double> translate, load, save, copy, stdioWrite, stdioRead;
  for (int i = 0; i < runs; ++i) {
    SendDlgItemMessageA(window, IDC_TEXT, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
    Show();
    auto t0 = Clock::now();
    SendMessageA(window, WM_COMMAND, IDC_TRANSLATE, 0);
    Show();
    translate.push_back(Milliseconds(t0, Clock::now()));

    t0 = Clock::now();
    Win32AnswerNextFileDialog(path.c_str());
    Win32AnswerNextMessageBox(IDYES);  // replace the previous run's file
    SendMessageA(window, WM_COMMAND, IDC_SAVE, 0);
    save.push_back(Milliseconds(t0, Clock::now()));

    SendDlgItemMessageA(window, IDC_TEXT, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(""));
    Show();
    t0 = Clock::now();
    Win32AnswerNextFileDialog(path.c_str());
    SendMessageA(window, WM_COMMAND, IDC_LOAD, 0);
    Show();
    load.push_back(Milliseconds(t0, Clock::now()));
    if (GetText(window).size() != size) {
      std::fprintf(stderr, "zorkel-window-bench: the text did not survive\n");
      return 1;
    }

    // References in the same run: a plain copy, and stdio on the same file.
    t0 = Clock::now();
    std::string copied = text;
    copy.push_back(Milliseconds(t0, Clock::now()));
    t0 = Clock::now();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(copied.data(), 1, copied.size(), f);
      fflush(f);
      fsync(fileno(f));
      std::fclose(f);
    }
    stdioWrite.push_back(Milliseconds(t0, Clock::now()));
    t0 = Clock::now();
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      std::fread(copied.data(), 1, copied.size(), f);
      std::fclose(f);
    }
    stdioRead.push_back(Milliseconds(t0, Clock::now()));
  }
  std::remove(path.c_str());
  Win32TakeMessageBoxes();

  std::printf("| measure (median of %d) | window | reference |\n", runs);
  std::printf("|---|---|---|\n");
  std::printf("| start to first shown window | %.1f ms | |\n", Median(startUp));
  std::printf(
      "| Translate, 16 MiB (fetch, translate, set, shown) | %.1f ms | "
      "copy of the text: %.1f ms |\n",
      Median(translate), Median(copy));
  std::printf("| Save, 16 MiB | %.1f ms | stdio write + fsync: %.1f ms |\n",
              Median(save), Median(stdioWrite));
  std::printf("| Load, 16 MiB (shown) | %.1f ms | stdio read: %.1f ms |\n",
              Median(load), Median(stdioRead));
  std::printf("| idle memory (resident) | %.1f MiB | |\n", idleKiB / 1024.0);
  DestroyWindow(window);
  return 0;
}
