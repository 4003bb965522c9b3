// "Load file..." and "Save file..." through the main window's real dialog
// procedure, with the file dialogs answered by the layer's test seam: the
// edge cases of the file format, and faults provoked for real (a full file
// system, a read-only mount, a bind-mounted file, /dev/full, devices, FIFOs).
// Needs an X display; the mount cases need root and run in a private mount
// namespace.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <win32_module.h>
#include <win32_testing.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "backend.h"
#include "main_window.h"
#include "resource.h"
#include "text_file.h"
#include "support/dialog_text.h"
#include "support/test_files.h"
#include "translate.h"

extern const Win32Module Win32ProgramModule;
HINSTANCE g_instance;

namespace fs = std::filesystem;

namespace {

std::string EveryByte() {
  std::string s;
  for (int c = 1; c < 256; ++c) s.push_back(static_cast<char>(c));
  return s;
}

bool g_privateMounts = false;

class TextFileTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(BackendOpen("textfile_test")) << "needs an X display";
    // Mounts made by these tests stay inside this process.
    g_privateMounts =
        unshare(CLONE_NEWNS) == 0 &&
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  }

  void SetUp() override {
    Win32SetUnattended(true);
    Win32TakeMessageBoxes();
    g_instance = Win32InstanceOf(Win32ProgramModule);
    window_ = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN),
                                 nullptr, MainDialogProc, 0);
    ASSERT_NE(window_, nullptr);
    dir_ = fs::path(testing::TempDir()) /
           ("textfile_test_" + std::to_string(getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  void TearDown() override {
    for (const fs::path& mountPoint : mounts_)
      umount2(mountPoint.c_str(), MNT_DETACH);
    DestroyWindow(window_);
    fs::remove_all(dir_);
    Win32SetUnattended(false);
  }

  void SetText(const std::string& text) {
    SetDialogItemText(window_, IDC_TEXT, text);
  }
  std::string Text() { return DialogItemText(window_, IDC_TEXT); }
  void Press(int command, const char* answer) {
    Win32AnswerNextFileDialog(answer);
    SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(command), 0);
  }
  void Save(const fs::path& path) { Press(IDC_SAVE, path.c_str()); }
  void Load(const fs::path& path) { Press(IDC_LOAD, path.c_str()); }

  // The one message shown since the last call; fails when there was none
  // or more than one.
  Win32ShownMessageBox TheMessage() {
    const auto shown = Win32TakeMessageBoxes();
    EXPECT_EQ(shown.size(), 1u);
    if (shown.size() != 1) return {};
    return shown[0];
  }
  void ExpectNoMessage() { EXPECT_TRUE(Win32TakeMessageBoxes().empty()); }

  // Files in dir_ other than those named.
  std::vector<std::string> Leftovers(const fs::path& in) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(in))
      names.push_back(entry.path().filename());
    return names;
  }

  fs::path MountTmpfs(const char* name, const char* size) {
    const fs::path where = dir_ / name;
    fs::create_directories(where);
    const std::string options = std::string("size=") + size;
    EXPECT_EQ(mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()), 0)
        << std::strerror(errno);
    mounts_.push_back(where);
    return where;
  }

  HWND window_ = nullptr;
  fs::path dir_;
  std::vector<fs::path> mounts_;
};

#define NEEDS_PRIVATE_MOUNTS()                                     \
  if (!g_privateMounts)                                            \
  GTEST_SKIP() << "needs root for a private mount namespace; run " \
                  "the suite as root (as CI does)"

struct RoundTrip {
  const char* name;
  std::string text;
};
// Test names show the case name, not the bytes.
void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

class TextFileRoundTrip : public TextFileTest,
                          public testing::WithParamInterface<RoundTrip> {};

TEST_P(TextFileRoundTrip, SavedBytesAreTheTextAndLoadGivesThemBack) {
  const std::string& text = GetParam().text;
  const fs::path file = dir_ / "text.txt";
  SetText(text);
  Save(file);
  ExpectNoMessage();
  EXPECT_EQ(ReadFile(file), text);
  SetText("something else");
  Load(file);
  ExpectNoMessage();
  EXPECT_EQ(Text(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextFileRoundTrip,
    testing::Values(RoundTrip{"Empty", ""},
                    RoundTrip{"CrLf", "line one\r\nline two\r\n"},
                    RoundTrip{"LoneLineEnds", "a\nb\rc\r\n\n"},
                    RoundTrip{"EveryByte", EveryByte()}),
    [](const testing::TestParamInfo<RoundTrip>& info) {
      return std::string(info.param.name);
    });

TEST_F(TextFileTest, LoadingAnEmptyFileEmptiesTheTextArea) {
  WriteFile(dir_ / "empty.txt", "");
  SetText("old text");
  Load(dir_ / "empty.txt");
  EXPECT_EQ(Text(), "");
  ExpectNoMessage();
}

TEST_F(TextFileTest, AZeroByteEndsTheLoadedText) {
  WriteFile(dir_ / "zero.txt", std::string("abc\0def", 7));
  Load(dir_ / "zero.txt");
  EXPECT_EQ(Text(), "abc");
}

TEST_F(TextFileTest, LineFeedsAloneAreLoadedUnchanged) {
  WriteFile(dir_ / "unix.txt", "one\ntwo\n");
  Load(dir_ / "unix.txt");
  EXPECT_EQ(Text(), "one\ntwo\n");
}

TEST_F(TextFileTest, CancelChangesNothingAndNeitherCommandDraws) {
  SetText("kept");
  CheckDlgButton(window_, IDC_RAND_MODE, BST_UNCHECKED);
  const RandomSource before = ProcessRandom();
  Press(IDC_LOAD, nullptr);
  Press(IDC_SAVE, nullptr);
  EXPECT_EQ(Text(), "kept");
  EXPECT_TRUE(Leftovers(dir_).empty());
  ExpectNoMessage();
  WriteFile(dir_ / "a.txt", "from file");
  Save(dir_ / "b.txt");
  Load(dir_ / "a.txt");
  EXPECT_EQ(ProcessRandom().state, before.state);
  EXPECT_EQ(IsDlgButtonChecked(window_, IDC_RAND_MODE),
            static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(window_, IDC_HARD_MODE),
            static_cast<UINT>(BST_CHECKED));
}

TEST_F(TextFileTest, SaveAddsTheDefaultExtensionToANameWithout) {
  SetText("x");
  Save(dir_ / "notes");
  EXPECT_EQ(ReadFile(dir_ / "notes.TXT"), "x");
}

TEST_F(TextFileTest, SaveAsksBeforeReplacingAndNoKeepsTheFile) {
  WriteFile(dir_ / "old.txt", "old");
  SetText("new");
  Win32AnswerNextMessageBox(IDNO);
  Save(dir_ / "old.txt");  // No, then the dialog is cancelled
  EXPECT_EQ(ReadFile(dir_ / "old.txt"), "old");
  const auto asked = Win32TakeMessageBoxes();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].text.find("old.txt already exists"), std::string::npos);
  Win32AnswerNextMessageBox(IDYES);
  Save(dir_ / "old.txt");
  EXPECT_EQ(ReadFile(dir_ / "old.txt"), "new");
}

// Every save failure: one message naming the file and the reason, the text
// area unchanged, the old file intact and no temporary file left.
struct SaveFault {
  const char* name;
  const char* target;  // under the test's folder, or absolute
  const char* reason;
};
// Test names show the case name, not the bytes.
void PrintTo(const SaveFault& c, std::ostream* os) { *os << c.name; }

class SaveFaults : public TextFileTest,
                   public testing::WithParamInterface<SaveFault> {};

TEST_P(SaveFaults, AreReportedAndLoseNothing) {
  WriteFile(dir_ / "plain", "old bytes");
  fs::create_directories(dir_ / "folder.txt");
  const std::string target = GetParam().target[0] == '/'
                                 ? std::string(GetParam().target)
                                 : (dir_ / GetParam().target).string();
  SetText("new text");
  if (fs::exists(target)) Win32AnswerNextMessageBox(IDYES);  // replace it
  Save(target);
  const auto shown = Win32TakeMessageBoxes();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().caption, "Zorkel");
  const std::string message = shown.back().text;
  EXPECT_NE(message.find(target), std::string::npos) << message;
  EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
  EXPECT_EQ(Text(), "new text");
  EXPECT_EQ(ReadFile(dir_ / "plain"), "old bytes");
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.txt"));
  std::vector<std::string> left = Leftovers(dir_);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"folder.txt", "plain"}));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveFaults,
    testing::Values(
        SaveFault{"MissingFolder", "no/such/folder.txt", "No such file"},
        SaveFault{"UnderARegularFile", "plain/x.txt", "Not a directory"},
        SaveFault{"AFolder", "folder.txt", "Is a directory"},
        SaveFault{"FullDevice", "/dev/full", "No space left on device"}),
    [](const testing::TestParamInfo<SaveFault>& info) {
      return std::string(info.param.name);
    });

TEST_F(TextFileTest, AFullFileSystemKeepsTheOldFile) {
  NEEDS_PRIVATE_MOUNTS();
  const fs::path small = MountTmpfs("small", "64k");
  WriteFile(small / "notes.txt", "the old notes");
  SetText(std::string(200 * 1024, 'x'));
  Win32AnswerNextMessageBox(IDYES);
  Save(small / "notes.txt");
  const auto shown = Win32TakeMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);  // the overwrite question, then the failure
  EXPECT_NE(shown[1].text.find("No space left on device"), std::string::npos)
      << shown[1].text;
  EXPECT_EQ(ReadFile(small / "notes.txt"), "the old notes");
  EXPECT_EQ(Leftovers(small), std::vector<std::string>{"notes.txt"});
}

TEST_F(TextFileTest, AReadOnlyMountIsReported) {
  NEEDS_PRIVATE_MOUNTS();
  const fs::path ro = MountTmpfs("ro", "64k");
  WriteFile(ro / "notes.txt", "kept");
  ASSERT_EQ(
      mount(nullptr, ro.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  SetText("new");
  Win32AnswerNextMessageBox(IDYES);
  Save(ro / "notes.txt");
  const auto shown = Win32TakeMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[1].text.find("Read-only file system"), std::string::npos)
      << shown[1].text;
  EXPECT_EQ(ReadFile(ro / "notes.txt"), "kept");
}

TEST_F(TextFileTest, ABindMountedFileIsWrittenInPlace) {
  NEEDS_PRIVATE_MOUNTS();
  WriteFile(dir_ / "source.txt", "source");
  WriteFile(dir_ / "mounted.txt", "mounted");
  ASSERT_EQ(mount((dir_ / "source.txt").c_str(), (dir_ / "mounted.txt").c_str(),
                  nullptr, MS_BIND, nullptr),
            0);
  mounts_.push_back(dir_ / "mounted.txt");
  SetText("through the mount");
  Win32AnswerNextMessageBox(IDYES);
  Save(dir_ / "mounted.txt");
  EXPECT_EQ(Win32TakeMessageBoxes().size(), 1u);  // only the question
  EXPECT_EQ(ReadFile(dir_ / "source.txt"), "through the mount");
}

TEST_F(TextFileTest, ReplacingKeepsPermissionsLinksAndHardLinks) {
  WriteFile(dir_ / "private.txt", "old");
  fs::permissions(dir_ / "private.txt", fs::perms(0640));
  WriteFile(dir_ / "real.txt", "old");
  fs::create_symlink("real.txt", dir_ / "link.txt");
  WriteFile(dir_ / "one.txt", "old");
  fs::create_hard_link(dir_ / "one.txt", dir_ / "two.txt");

  SetText("new");
  for (const char* name : {"private.txt", "link.txt", "one.txt"}) {
    Win32AnswerNextMessageBox(IDYES);
    Save(dir_ / name);
  }
  EXPECT_EQ(ReadFile(dir_ / "private.txt"), "new");
  EXPECT_EQ(fs::status(dir_ / "private.txt").permissions(), fs::perms(0640));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
  EXPECT_EQ(ReadFile(dir_ / "real.txt"), "new");
  EXPECT_EQ(ReadFile(dir_ / "two.txt"), "new") << "the hard link is kept";
  EXPECT_EQ(fs::hard_link_count(dir_ / "one.txt"), 2u);
}

TEST_F(TextFileTest, SavingToADeviceWritesInPlace) {
  SetText("into the void");
  Win32AnswerNextMessageBox(IDYES);
  Save("/dev/null");
  EXPECT_EQ(Win32TakeMessageBoxes().size(), 1u);  // only the question
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// Every load failure: one message naming the file and the reason, and the
// text area unchanged. FIFOs and devices are refused at once.
struct LoadFault {
  const char* name;
  const char* source;
  const char* reason;
};
// Test names show the case name, not the bytes.
void PrintTo(const LoadFault& c, std::ostream* os) { *os << c.name; }

class LoadFaults : public TextFileTest,
                   public testing::WithParamInterface<LoadFault> {};

TEST_P(LoadFaults, AreReportedAndChangeNothing) {
  fs::create_directories(dir_ / "folder.txt");
  ASSERT_EQ(mkfifo((dir_ / "pipe.txt").c_str(), 0600), 0);
  { std::ofstream big(dir_ / "big.txt"); }
  fs::resize_file(dir_ / "big.txt", kLargestTextFile + 1);  // sparse
  const std::string source = GetParam().source[0] == '/'
                                 ? std::string(GetParam().source)
                                 : (dir_ / GetParam().source).string();
  SetText("kept text");
  alarm(10);  // a load that waits on a pipe fails the run instead of hanging
  Load(source);
  alarm(0);
  const std::string message = TheMessage().text;
  EXPECT_NE(message.find(source), std::string::npos) << message;
  EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
  EXPECT_EQ(Text(), "kept text");
}

INSTANTIATE_TEST_SUITE_P(
    Sources, LoadFaults,
    testing::Values(LoadFault{"Missing", "missing.txt", "File not found"},
                    LoadFault{"Folder", "folder.txt", "directory"},
                    LoadFault{"Fifo", "pipe.txt", "not a regular file"},
                    LoadFault{"DevZero", "/dev/zero", "not a regular file"},
                    LoadFault{"TooLarge", "big.txt", "larger than 64 MiB"}),
    [](const testing::TestParamInfo<LoadFault>& info) {
      return std::string(info.param.name);
    });

TEST_F(TextFileTest, TheFileNameBufferHoldsLongPaths) {
  // A path of about 3000 bytes, beyond the 280 bytes of old.
  fs::path deep = dir_;
  for (int i = 0; i < 12; ++i) deep /= std::string(240, 'd');
  fs::create_directories(deep);
  const fs::path file = deep / "long.txt";
  SetText("deep");
  Save(file);
  ExpectNoMessage();
  EXPECT_EQ(ReadFile(file), "deep");
}

}  // namespace
