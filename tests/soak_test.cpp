// A long session with the main window, through its real dialog procedure and
// the layer's input reports: thousands of user actions in an order drawn from
// a fixed seed (typing and pasting, Translate, Clear, the check boxes, Load,
// Save, the About box). After every action the program must be alive and hold
// exactly what the actions imply: a model of the session keeps the expected
// text (translated by the engine from a copy of the random source), the check
// boxes, the files and the messages shown. Memory is sampled along the way
// and must not grow steadily.
//
// ZORKEL_SOAK_ACTIONS sets the number of actions (default 6000, or 1500 under
// AddressSanitizer). The memory check needs at least 2000 and is left out
// under AddressSanitizer and Valgrind, whose own allocators hold freed memory
// back (they find leaks themselves). Needs an X display.
#include <gtest/gtest.h>
#include <unistd.h>
#include <win32_module.h>
#include <win32_testing.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

#include "backend.h"
#include "core/input.h"
#include "main_window.h"
#include "resource.h"
#include "translate.h"
#include "support/dialog_text.h"
#include "support/test_files.h"
#include "support/test_random.h"

extern const Win32Module Win32ProgramModule;
HINSTANCE g_instance;

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

bool UnderValgrind() {
#ifdef RUNNING_ON_VALGRIND
  return RUNNING_ON_VALGRIND != 0;
#else
  return false;
#endif
}

// The session's script: SplitMix64, the same numbers on every machine.
using Script = TestRandom;

// Windows-1252 text as people type and paste it: mostly printable ASCII,
// line ends of all three kinds, the upper half and control bytes, never a
// zero byte. Mostly short, now and then long.
std::string RandomText(Script& script) {
  const std::size_t kind = script.Below(20);
  const std::size_t length = kind < 14   ? script.Below(4096)
                             : kind < 19 ? 4096 + script.Below(60 * 1024)
                                         : 64 * 1024 + script.Below(448 * 1024);
  static const char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:!?'";
  std::string text;
  text.reserve(length + 1);
  while (text.size() < length) {
    const std::size_t pick = script.Below(40);
    if (pick == 0)
      text += "\r\n";
    else if (pick == 1)
      text += '\n';
    else if (pick == 2)
      text += '\r';
    else if (pick < 6)
      text += static_cast<char>(0x80 + script.Below(0x80));
    else if (pick == 6)
      text += static_cast<char>(1 + script.Below(31));
    else
      text += kLetters[script.Below(sizeof kLetters - 1)];
  }
  return text;
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

// Under AddressSanitizer each action costs several times as much.
std::size_t ActionCount() {
  const char* value = std::getenv("ZORKEL_SOAK_ACTIONS");
  if (!value || !*value) return kSanitized ? 1500 : 6000;
  return static_cast<std::size_t>(std::strtoul(value, nullptr, 10));
}

// --- The helper window ----------------------------------------------------
// A hidden dialog of the test's own. Its messages mark the end of a pump, and
// they reach it from inside the About box's modal loop too, where it closes
// the box the way it is told.

enum class CloseWay { OkCommand, CancelCommand, Escape, OkClick, CloseRequest };
constexpr int kCloseWays = 5;

constexpr UINT kMarker = WM_APP;
constexpr UINT kCloseAbout = WM_APP + 1;
constexpr UINT kStillOpen = WM_APP + 2;

HWND g_main;
bool g_markerSeen;

struct AboutVisit {
  bool found = false;       // the helper saw the box open
  bool mainEnabled = true;  // the main window's state meanwhile
  bool stuck = false;       // the box ignored its closing input
  HWND box = nullptr;
};
AboutVisit g_about;

INT_PTR CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case kMarker:
      g_markerSeen = true;
      return TRUE;
    case kCloseAbout: {
      // The box has the focus, on its OK button.
      HWND focus = GetFocus();
      HWND box = focus ? GetParent(focus) : nullptr;
      if (!box || box == g_main || box == hwnd ||
          !GetDlgItem(box, IDC_CREDITS) || !IsWindowVisible(box))
        return TRUE;
      g_about.found = true;
      g_about.box = box;
      g_about.mainEnabled = IsWindowEnabled(g_main);
      // Clicks on the main window meanwhile go nowhere.
      Win32ReportClick(GetDlgItem(g_main, IDC_CLEAR));
      Win32ReportClick(GetDlgItem(g_main, IDC_RAND_MODE));
      switch (static_cast<CloseWay>(wParam)) {
        case CloseWay::OkCommand:
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          break;
        case CloseWay::CancelCommand:
          PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
          break;
        case CloseWay::Escape:
          Win32ReportEscape(box);
          break;
        case CloseWay::OkClick:
          Win32ReportClick(GetDlgItem(box, IDOK));
          break;
        case CloseWay::CloseRequest:
          Win32ReportClose(box);
          break;
      }
      // Should the box stay, it is ended a few turns later instead of
      // waiting for input for ever.
      PostMessageA(hwnd, kStillOpen, 3, 0);
      return TRUE;
    }
    case kStillOpen:
      if (!IsWindow(g_about.box)) return TRUE;
      if (wParam > 0) {
        PostMessageA(hwnd, kStillOpen, wParam - 1, 0);
      } else {
        g_about.stuck = true;
        EndDialog(g_about.box, 0);
      }
      return TRUE;
  }
  return FALSE;
}

// --- The session ------------------------------------------------------------

struct Model {
  std::string text;
  bool rand = true;
  bool hard = true;
  RandomSource random;                       // follows the process source
  std::map<std::string, std::string> files;  // the folder's files, by name
};

enum Action {
  kType,
  kAppend,
  kTranslate,
  kClear,
  kToggleRand,
  kToggleHard,
  kSave,
  kSaveFailing,
  kLoad,
  kLoadMissing,
  kLoadOutside,
  kCancel,
  kAbout,
  kActionKinds
};

const char* const kActionNames[kActionKinds] = {
    "type",        "append",       "translate",    "clear",
    "toggle rand", "toggle hard",  "save",         "save (failing)",
    "load",        "load missing", "load outside", "cancel a dialog",
    "about"};

// How often each action comes, out of the sum.
constexpr int kWeights[kActionKinds] = {14, 8,  20, 4, 7, 7, 12,
                                        2,  10, 1,  2, 2, 4};

Action PickAction(Script& script) {
  int total = 0;
  for (int w : kWeights) total += w;
  int pick = static_cast<int>(script.Below(static_cast<std::size_t>(total)));
  for (int a = 0; a < kActionKinds; ++a) {
    if (pick < kWeights[a]) return static_cast<Action>(a);
    pick -= kWeights[a];
  }
  return kType;
}

class SoakTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool opened = BackendOpen("soak_test");
    ASSERT_TRUE(opened) << "needs an X display";
  }

  void SetUp() override {
    Win32SetUnattended(true);
    Win32TakeMessageBoxes();
    g_instance = Win32InstanceOf(Win32ProgramModule);
    g_main = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                MainDialogProc, 0);
    ASSERT_NE(g_main, nullptr);
    ShowWindow(g_main, SW_SHOWNORMAL);
    helper_ = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT),
                                 nullptr, HelperProc, 0);
    ASSERT_NE(helper_, nullptr);
    dir_ = fs::path(testing::TempDir()) /
           ("soak_test_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    model_.random = ProcessRandom();
  }

  void TearDown() override {
    DestroyWindow(g_main);
    Pump();  // what is left for the windows
    DestroyWindow(helper_);
    fs::remove_all(dir_);
    Win32SetUnattended(false);
  }

  // Dispatches posted messages until none is left, those posted meanwhile
  // included, then lets the toolkit draw.
  void Pump() {
    for (bool dispatched = true; dispatched;) {
      dispatched = false;
      g_markerSeen = false;
      PostMessageA(helper_, kMarker, 0, 0);
      MSG msg;
      while (!g_markerSeen && GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.hwnd == helper_ && msg.message == kMarker) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        dispatched = true;
      }
    }
    BackendPoll();
  }

  void Click(int control) {
    Win32ReportClick(GetDlgItem(g_main, control));
    Pump();
  }
  // A button pressed by a click, or now and then by its command sent
  // straight to the dialog procedure.
  void Press(int control) {
    if (script_.OneIn(4))
      SendMessageA(g_main, WM_COMMAND, static_cast<WPARAM>(control), 0);
    else
      Click(control);
  }

  void SetText(const std::string& text) {
    SetDialogItemText(g_main, IDC_TEXT, text);
  }
  std::string Text() { return DialogItemText(g_main, IDC_TEXT); }

  std::string FileName() {
    return "f" + std::to_string(script_.Below(8)) + ".txt";
  }

  // The overwrite question for an existing target, answered Yes or No.
  bool AnswerOverwrite() {
    const bool yes = !script_.OneIn(5);
    Win32AnswerNextMessageBox(yes ? IDYES : IDNO);
    expected_.push_back("already exists");
    return yes;
  }

  void Step(Action action) {
    switch (action) {
      case kType:
        model_.text = RandomText(script_);
        SetText(model_.text);
        break;
      case kAppend:
        model_.text += RandomText(script_).substr(0, 2000);
        SetText(model_.text);
        break;
      case kTranslate:
        TranslateText(model_.random, model_.text.data(), model_.text.size(),
                      model_.rand, model_.hard);
        Press(IDC_TRANSLATE);
        break;
      case kClear:
        model_.text.clear();
        Press(IDC_CLEAR);
        break;
      case kToggleRand:
        model_.rand = !model_.rand;
        Click(IDC_RAND_MODE);
        break;
      case kToggleHard:
        model_.hard = !model_.hard;
        Click(IDC_HARD_MODE);
        break;
      case kSave: {
        const std::string name = FileName();
        if (!model_.files.count(name) || AnswerOverwrite())
          model_.files[name] = model_.text;
        Win32AnswerNextFileDialog((dir_ / name).c_str());
        Press(IDC_SAVE);
        if (fs::exists(dir_ / name) &&
            ReadFile(dir_ / name) != model_.files[name])
          ADD_FAILURE() << name << " does not hold the text saved";
        break;
      }
      case kSaveFailing: {
        std::string target;
        if (script_.OneIn(2)) {
          target = "/dev/full";
          const bool yes = AnswerOverwrite();
          // Nothing to write is nothing to fail.
          if (yes && !model_.text.empty())
            expected_.push_back("No space left on device");
        } else {
          target = (dir_ / "gone" / "f.txt").string();
          expected_.push_back("No such file");
        }
        failingTarget_ = target;
        Win32AnswerNextFileDialog(target.c_str());
        Press(IDC_SAVE);
        break;
      }
      case kLoad: {
        if (model_.files.empty()) return Step(kLoadMissing);
        auto it = model_.files.begin();
        std::advance(it, static_cast<long>(script_.Below(model_.files.size())));
        model_.text = it->second.substr(0, it->second.find('\0'));
        Win32AnswerNextFileDialog((dir_ / it->first).c_str());
        Press(IDC_LOAD);
        break;
      }
      case kLoadMissing:
        // The dialog says the file is not there, and is then cancelled.
        expected_.push_back("File not found");
        Win32AnswerNextFileDialog((dir_ / "missing.txt").c_str());
        Press(IDC_LOAD);
        break;
      case kLoadOutside: {
        // Another program wrote the file: a zero byte ends the text.
        std::string bytes = RandomText(script_);
        bytes.insert(script_.Below(bytes.size() + 1), 1, '\0');
        WriteFile(dir_ / "outside.txt", bytes);
        model_.files["outside.txt"] = bytes;
        model_.text = bytes.substr(0, bytes.find('\0'));
        Win32AnswerNextFileDialog((dir_ / "outside.txt").c_str());
        Press(IDC_LOAD);
        break;
      }
      case kCancel:
        Win32AnswerNextFileDialog(nullptr);
        Press(script_.OneIn(2) ? IDC_LOAD : IDC_SAVE);
        break;
      case kAbout: {
        g_about = AboutVisit{};
        const auto way = static_cast<WPARAM>(script_.Below(kCloseWays));
        if (script_.OneIn(2)) {
          Win32ReportClick(GetDlgItem(g_main, IDC_ABOUT));
          PostMessageA(helper_, kCloseAbout, way, 0);
          Pump();
        } else {
          PostMessageA(helper_, kCloseAbout, way, 0);
          SendMessageA(g_main, WM_COMMAND, IDC_ABOUT, 0);
          Pump();
        }
        EXPECT_TRUE(g_about.found) << "the About box did not open";
        EXPECT_FALSE(g_about.mainEnabled)
            << "the main window took input while the box was open";
        EXPECT_FALSE(g_about.stuck)
            << "closing way " << way << " left the About box open";
        EXPECT_FALSE(IsWindow(g_about.box));
        break;
      }
      case kActionKinds:
        break;
    }
  }

  // Everything the model says, after an action.
  void Check(std::size_t index, Action action) {
    const std::string where =
        "action " + std::to_string(index) + " (" + kActionNames[action] + ")";
    ASSERT_TRUE(IsWindow(g_main)) << where << ": the main window is gone";
    ASSERT_TRUE(IsWindowEnabled(g_main)) << where;
    const std::string text = Text();
    if (text != model_.text) {
      std::size_t at = 0;
      while (at < text.size() && at < model_.text.size() &&
             text[at] == model_.text[at])
        ++at;
      FAIL() << where << ": the text area holds " << text.size() << " bytes, "
             << model_.text.size()
             << " expected; the first difference is at byte " << at;
    }
    ASSERT_EQ(IsDlgButtonChecked(g_main, IDC_RAND_MODE) == BST_CHECKED,
              model_.rand)
        << where;
    ASSERT_EQ(IsDlgButtonChecked(g_main, IDC_HARD_MODE) == BST_CHECKED,
              model_.hard)
        << where;
    ASSERT_EQ(ProcessRandom().state, model_.random.state)
        << where << ": the random sequence went astray";

    const auto shown = Win32TakeMessageBoxes();
    std::vector<std::string> texts;
    for (const auto& box : shown) texts.push_back(box.text);
    ASSERT_EQ(shown.size(), expected_.size())
        << where << ": messages shown: " << testing::PrintToString(texts);
    for (std::size_t i = 0; i < shown.size(); ++i)
      ASSERT_NE(shown[i].text.find(expected_[i]), std::string::npos)
          << where << ": " << shown[i].text;
    if (!failingTarget_.empty() && !shown.empty() &&
        shown.back().text.find("already exists") == std::string::npos) {
      ASSERT_NE(shown.back().text.find(failingTarget_), std::string::npos)
          << where << ": the message does not name the file";
    }
    expected_.clear();
    failingTarget_.clear();

    // Only the files saved are there: no temporary file is left behind.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expectedNames;
    for (const auto& [name, bytes] : model_.files)
      expectedNames.push_back(name);
    ASSERT_EQ(names, expectedNames) << where;
  }

  HWND helper_ = nullptr;
  fs::path dir_;
  Script script_{0x5EED'2026'0001u};
  Model model_;
  std::vector<std::string> expected_;  // parts of the messages due, in order
  std::string failingTarget_;
};

TEST_F(SoakTest, ThousandsOfRandomActionsKeepTheWindowAsTheModelSays) {
  const std::size_t actions = ActionCount();
  constexpr std::size_t kWarmUp = 500;
  constexpr std::size_t kSampleEvery = 250;
  const bool checkMemory = !kSanitized && !UnderValgrind() && actions >= 2000;
  std::vector<long> resident;  // KiB, after the warm-up
  std::size_t done[kActionKinds] = {};

  for (std::size_t i = 0; i < actions; ++i) {
    const Action action = PickAction(script_);
    Step(action);
    ++done[action];
    ASSERT_NO_FATAL_FAILURE(Check(i, action));
    if (HasFailure()) return;
    if (i + 1 >= kWarmUp && (i + 1 - kWarmUp) % kSampleEvery == 0)
      resident.push_back(ResidentKiB());
  }
  // Every file as last saved.
  for (const auto& [name, bytes] : model_.files)
    EXPECT_TRUE(ReadFile(dir_ / name) == bytes) << name;

  std::string summary = std::to_string(actions) + " actions:";
  for (int a = 0; a < kActionKinds; ++a)
    summary += std::string(" ") + kActionNames[a] + " " +
               std::to_string(done[a]) + ",";
  summary += " resident KiB after the warm-up:";
  for (long kib : resident) summary += " " + std::to_string(kib);
  std::printf("%s\n", summary.c_str());
  for (int a = 0; a < kActionKinds && actions >= 1000; ++a)
    EXPECT_GT(done[a], 0u) << kActionNames[a] << " never came";

  if (!checkMemory) {
    std::printf("memory not checked (%s)\n",
                actions < 2000 ? "too few actions" : "a checking allocator");
    return;
  }
  // A leak grows the process at every step it leaks in; the first texts,
  // the toolkit's caches and the allocator's free lists only at the start.
  // Steady growth: more than the slack overall, and in both halves.
  ASSERT_GE(resident.size(), 4u);
  const long first = resident.front();
  const long middle = resident[resident.size() / 2];
  const long last = resident.back();
  constexpr long kSlackKiB = 16 * 1024;
  EXPECT_FALSE(last - first > kSlackKiB && middle - first > kSlackKiB / 4 &&
               last - middle > kSlackKiB / 4)
      << "the process grew steadily from " << first << " KiB to " << last
      << " KiB";
}

}  // namespace
