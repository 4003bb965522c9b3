// "Save file..." and "Load file..." through the main window's dialog
// procedure while the file system misbehaves: the faults are made by the shim
// in tests/faults (calls that fail, come back short or interrupted, a file
// another program changes under the reader). Whatever happens, the person
// sees one message naming the file and the reason, a failed save leaves the
// old file as it was with no temporary file beside it, a failed load leaves
// the text area as it was, and no descriptor stays open. Needs an X display.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <win32_module.h>
#include <win32_testing.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backend.h"
#include "faults/file_faults.h"
#include "main_window.h"
#include "resource.h"
#include "support/dialog_text.h"
#include "support/test_files.h"

extern const Win32Module Win32ProgramModule;
HINSTANCE g_instance;

namespace fs = std::filesystem;
using file_faults::Call;
using file_faults::Effect;
using file_faults::Rule;

namespace {

// 20 000 bytes: every byte but zero, and line ends of the three kinds.
std::string SampleText() {
  std::string text;
  for (int i = 0; text.size() < 20000; ++i) {
    text.push_back(static_cast<char>(1 + i % 255));
    if (i % 61 == 0) text += "\r\n";
    if (i % 97 == 0) text += "\n";
    if (i % 89 == 0) text += "\r";
  }
  text.resize(20000);
  return text;
}

int OpenDescriptors() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++count;
    closedir(dir);
  }
  return count;
}

class FileFaultsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Once per process: each opening makes a new connection.
    static const bool opened = BackendOpen("file_faults_test");
    ASSERT_TRUE(opened) << "needs an X display";
  }

  void SetUp() override {
    Win32SetUnattended(true);
    Win32TakeMessageBoxes();
    g_instance = Win32InstanceOf(Win32ProgramModule);
    window_ = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN),
                                 nullptr, MainDialogProc, 0);
    ASSERT_NE(window_, nullptr);
    dir_ = fs::path(testing::TempDir()) /
           ("file_faults_test_" + std::to_string(getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  void TearDown() override {
    file_faults::Disarm();
    DestroyWindow(window_);
    fs::remove_all(dir_);
    Win32SetUnattended(false);
  }

  void SetText(const std::string& text) {
    SetDialogItemText(window_, IDC_TEXT, text);
  }
  std::string Text() { return DialogItemText(window_, IDC_TEXT); }

  // Presses the command with the file dialog answered and the rules armed
  // for that command only. A command that never returns (a loop that makes
  // no progress) ends the run instead of hanging it.
  void PressWithFaults(int command, const fs::path& path,
                       const std::vector<Rule>& rules) {
    Win32AnswerNextFileDialog(path.c_str());
    file_faults::Arm(rules);
    alarm(30);
    SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    alarm(0);
    fired_ = file_faults::Fired();
    file_faults::Disarm();
  }

  // Every rule picked at least one call: the fault really happened.
  void ExpectEveryRuleFired(const std::vector<Rule>& rules) {
    ASSERT_EQ(fired_.size(), rules.size());
    for (size_t i = 0; i < rules.size(); ++i)
      EXPECT_GT(fired_[i], 0) << "rule " << i << " never picked a call";
  }

  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  HWND window_ = nullptr;
  fs::path dir_;
  std::vector<int> fired_;
};

// --- Save -----------------------------------------------------------------

// How the target is written: through a temporary file renamed over it, or in
// place (a file with another hard link, which replacing would split off).
enum class Way { Replaced, InPlace };

struct SaveCase {
  const char* name;
  Way way;
  std::vector<Rule> rules;
  const char* reason;  // in the message; null: saved, no message
};
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveFaults : public FileFaultsTest,
                   public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveFaults, AreReportedOrOvercome) {
  const SaveCase& c = GetParam();
  const fs::path target = dir_ / "notes.txt";
  WriteFile(target, "old bytes");
  std::vector<std::string> names = {"notes.txt"};
  if (c.way == Way::InPlace) {
    fs::create_hard_link(target, dir_ / "other.txt");
    names.push_back("other.txt");
  }
  const std::string text = SampleText();
  SetText(text);
  const int descriptors = OpenDescriptors();

  Win32AnswerNextMessageBox(IDYES);  // it exists: replace it
  PressWithFaults(IDC_SAVE, target, c.rules);

  ExpectEveryRuleFired(c.rules);
  const auto shown = Win32TakeMessageBoxes();
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown[0].text.find("already exists"), std::string::npos);
  if (c.reason) {
    ASSERT_EQ(shown.size(), 2u) << "one message after the question";
    EXPECT_EQ(shown[1].caption, "Zorkel");
    EXPECT_NE(shown[1].text.find(target.string()), std::string::npos)
        << shown[1].text;
    EXPECT_NE(shown[1].text.find(c.reason), std::string::npos) << shown[1].text;
    if (c.way == Way::Replaced) {
      EXPECT_EQ(ReadFile(target), "old bytes") << "the old file is kept";
    }
  } else {
    EXPECT_EQ(shown.size(), 1u) << shown.back().text;
    EXPECT_TRUE(ReadFile(target) == text) << "the saved bytes differ";
  }
  if (c.way == Way::InPlace) {
    EXPECT_EQ(fs::hard_link_count(target), 2u) << "still one file, two names";
  }
  EXPECT_EQ(Text(), text) << "the text area is left as it was";
  EXPECT_EQ(Leftovers(), names) << "a temporary file was left";
  EXPECT_EQ(OpenDescriptors(), descriptors) << "a descriptor was left open";
}

constexpr const char* kTemporary = "*/.notes.txt.??????";
constexpr const char* kTarget = "*/notes.txt";

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveFaults,
    testing::Values(
        SaveCase{"FsyncFails",
                 Way::Replaced,
                 {{Call::Fsync, kTemporary, 1, 1, Effect::Fail, EIO}},
                 "Input/output error"},
        SaveCase{"FsyncInterrupted",
                 Way::Replaced,
                 {{Call::Fsync, kTemporary, 1, 1, Effect::Fail, EINTR}},
                 nullptr},
        SaveCase{"RenameFails",
                 Way::Replaced,
                 {{Call::Rename, kTarget, 1, 1, Effect::Fail, ENOSPC}},
                 "No space left on device"},
        SaveCase{"RenameRefusedOnABusyTargetWritesInPlace",
                 Way::Replaced,
                 {{Call::Rename, kTarget, 1, 1, Effect::Fail, EBUSY}},
                 nullptr},
        SaveCase{"ShortWrites",
                 Way::Replaced,
                 {{Call::Write, kTemporary, 1, 0, Effect::Short, 999}},
                 nullptr},
        SaveCase{"ShortWriteThenFailure",
                 Way::Replaced,
                 {{Call::Write, kTemporary, 1, 1, Effect::Short, 100},
                  {Call::Write, kTemporary, 2, 1, Effect::Fail, ENOSPC}},
                 "No space left on device"},
        SaveCase{"WriteInterrupted",
                 Way::Replaced,
                 {{Call::Write, kTemporary, 1, 3, Effect::Fail, EINTR}},
                 nullptr},
        SaveCase{"WriteMakesNoProgress",
                 Way::Replaced,
                 {{Call::Write, kTemporary, 1, 1, Effect::Short, 64},
                  {Call::Write, kTemporary, 2, 0, Effect::Short, 0}},
                 "No space left on device"},
        SaveCase{"CloseFails",
                 Way::Replaced,
                 {{Call::Close, kTemporary, 1, 1, Effect::Fail, EIO}},
                 "Input/output error"},
        SaveCase{"CloseInterrupted",
                 Way::Replaced,
                 {{Call::Close, kTemporary, 1, 1, Effect::Fail, EINTR}},
                 nullptr},
        SaveCase{"InPlaceOpenInterrupted",
                 Way::InPlace,
                 {{Call::Open, kTarget, 1, 1, Effect::Fail, EINTR}},
                 nullptr},
        SaveCase{"InPlaceOpenOutOfDescriptors",
                 Way::InPlace,
                 {{Call::Open, kTarget, 1, 1, Effect::Fail, EMFILE}},
                 "Too many open files"},
        SaveCase{"InPlaceShortWrites",
                 Way::InPlace,
                 {{Call::Write, kTarget, 1, 0, Effect::Short, 999}},
                 nullptr},
        SaveCase{"InPlaceShortWriteThenFailure",
                 Way::InPlace,
                 {{Call::Write, kTarget, 1, 1, Effect::Short, 100},
                  {Call::Write, kTarget, 2, 1, Effect::Fail, ENOSPC}},
                 "No space left on device"},
        SaveCase{"InPlaceWriteInterrupted",
                 Way::InPlace,
                 {{Call::Write, kTarget, 1, 3, Effect::Fail, EINTR}},
                 nullptr},
        SaveCase{"InPlaceWriteMakesNoProgress",
                 Way::InPlace,
                 {{Call::Write, kTarget, 1, 1, Effect::Short, 64},
                  {Call::Write, kTarget, 2, 0, Effect::Short, 0}},
                 "No space left on device"},
        SaveCase{"InPlaceCloseFails",
                 Way::InPlace,
                 {{Call::Close, kTarget, 1, 1, Effect::Fail, EIO}},
                 "Input/output error"},
        SaveCase{"InPlaceCloseInterrupted",
                 Way::InPlace,
                 {{Call::Close, kTarget, 1, 1, Effect::Fail, EINTR}},
                 nullptr}),
    [](const testing::TestParamInfo<SaveCase>& info) {
      return std::string(info.param.name);
    });

// --- Load -----------------------------------------------------------------

struct LoadCase {
  const char* name;
  std::vector<Rule> rules;
  const char* reason;  // in the message; null: loaded, no message
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadFaults : public FileFaultsTest,
                   public testing::WithParamInterface<LoadCase> {};

constexpr const char* kSource = "*/source.txt";
constexpr long kSourceSize = 20000;  // SampleText()
constexpr const char* kChanged = "It changed while it was being read";

TEST_P(LoadFaults, AreReportedOrOvercome) {
  const LoadCase& c = GetParam();
  const fs::path source = dir_ / "source.txt";
  const std::string text = SampleText();
  ASSERT_EQ(static_cast<long>(text.size()), kSourceSize);
  WriteFile(source, text);
  SetText("kept text");
  const int descriptors = OpenDescriptors();

  PressWithFaults(IDC_LOAD, source, c.rules);

  ExpectEveryRuleFired(c.rules);
  const auto shown = Win32TakeMessageBoxes();
  if (c.reason) {
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Zorkel");
    EXPECT_NE(shown[0].text.find(source.string()), std::string::npos)
        << shown[0].text;
    EXPECT_NE(shown[0].text.find(c.reason), std::string::npos) << shown[0].text;
    EXPECT_EQ(Text(), "kept text") << "a failed load changed the text area";
  } else {
    EXPECT_TRUE(shown.empty()) << shown[0].text;
    EXPECT_TRUE(Text() == text) << "the loaded text differs from the file";
  }
  EXPECT_EQ(OpenDescriptors(), descriptors) << "a descriptor was left open";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LoadFaults,
    testing::Values(
        LoadCase{"OpenInterrupted",
                 {{Call::Open, kSource, 1, 1, Effect::Fail, EINTR}},
                 nullptr},
        LoadCase{"OpenOutOfDescriptors",
                 {{Call::Open, kSource, 1, 1, Effect::Fail, EMFILE}},
                 "Too many open files"},
        LoadCase{"ReadFails",
                 {{Call::Read, kSource, 1, 1, Effect::Fail, EIO}},
                 "Input/output error"},
        LoadCase{"ShortReads",
                 {{Call::Read, kSource, 1, 0, Effect::Short, 777}},
                 nullptr},
        LoadCase{"ShortReadThenFailure",
                 {{Call::Read, kSource, 1, 1, Effect::Short, 500},
                  {Call::Read, kSource, 2, 1, Effect::Fail, EIO}},
                 "Input/output error"},
        LoadCase{"ReadInterrupted",
                 {{Call::Read, kSource, 1, 3, Effect::Fail, EINTR}},
                 nullptr},
        LoadCase{"ShrinksWhileRead",
                 {{Call::Read, kSource, 1, 1, Effect::Resize, kSourceSize / 2}},
                 kChanged},
        LoadCase{"EmptiedWhileRead",
                 {{Call::Read, kSource, 1, 1, Effect::Resize, 0}},
                 kChanged},
        LoadCase{
            "GrowsWhileRead",
            {{Call::Read, kSource, 1, 1, Effect::Resize, kSourceSize + 100}},
            kChanged},
        LoadCase{"GrowsBetweenShortReads",
                 {{Call::Read, kSource, 1, 1, Effect::Short, 1000},
                  {Call::Read, kSource, 2, 1, Effect::Resize, kSourceSize + 1}},
                 kChanged},
        LoadCase{"GrowsOnceReadToItsSize",
                 {{Call::Read, kSource, 2, 1, Effect::Resize, kSourceSize + 1}},
                 kChanged},
        LoadCase{"FailsOnceReadToItsSize",
                 {{Call::Read, kSource, 2, 1, Effect::Fail, EIO}},
                 "Input/output error"}),
    [](const testing::TestParamInfo<LoadCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
