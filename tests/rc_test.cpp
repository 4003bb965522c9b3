// The resource compiler. Fixture scripts (tests/rc/) and the program's own
// scripts are compiled into this binary by zorkel_add_resources() and
// checked through the Win32Module they define; faulty scripts are given to
// zorkel-rc as a process, for its exact "file:line: message", its exit
// status and the absence of any output file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <windows.h>
#include <win32_module.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "resource.h"

extern const Win32Module kRcControls;
extern const Win32Module kRcExpressions;
extern const Win32Module kRcPreprocess;
extern const Win32Module kRcAbout;
extern const Win32Module kRcProgram;

namespace {

namespace fs = std::filesystem;

constexpr unsigned long kChild = WS_CHILD | WS_VISIBLE;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)),
                     std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

const Win32DialogTemplate& Dialog(const Win32Module& module, int id) {
  for (int i = 0; i < module.dialogCount; ++i) {
    if (module.dialogs[i].id == id) return module.dialogs[i];
  }
  ADD_FAILURE() << "no dialog " << id << " in " << module.name;
  static const Win32DialogTemplate none{};
  return none;
}

std::string IconBytes(const Win32Module& module, int id) {
  for (int i = 0; i < module.iconCount; ++i) {
    if (module.icons[i].id == id) {
      return std::string(reinterpret_cast<const char*>(module.icons[i].data),
                         module.icons[i].size);
    }
  }
  ADD_FAILURE() << "no icon " << id << " in " << module.name;
  return "";
}

struct Item {
  const char* className;
  const char* text;
  int iconId;
  int id;
  unsigned long style;
  unsigned long exStyle;
  short x, y, cx, cy;
};

void ExpectItems(const Win32DialogTemplate& dialog,
                 const std::vector<Item>& expected) {
  ASSERT_EQ(dialog.itemCount, static_cast<int>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Win32DialogItem& got = dialog.items[i];
    const Item& want = expected[i];
    SCOPED_TRACE("item " + std::to_string(i) + " \"" + want.text + "\"");
    EXPECT_STREQ(got.className, want.className);
    EXPECT_STREQ(got.text, want.text);
    EXPECT_EQ(got.iconId, want.iconId);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.style, want.style) << std::hex << got.style;
    EXPECT_EQ(got.exStyle, want.exStyle) << std::hex << got.exStyle;
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
  }
}

TEST(RcControls, EachStatementHasItsDefaultsPlusTheScriptsStyle) {
  const unsigned long text = kChild | WS_GROUP;
  ExpectItems(
      Dialog(kRcControls, 200),
      {
          {"EDIT", "", 0, 10, kChild | WS_TABSTOP | WS_BORDER | ES_LEFT, 0, 1,
           2, 3, 4},
          {"EDIT", "", 0, 11, kChild | WS_BORDER | ES_MULTILINE, 0x200, 1, 2, 3,
           4},
          {"BUTTON", "Push", 0, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, -5,
           -6, 50, 14},
          {"BUTTON", "Push &centred", 0, 13, WS_CHILD | WS_TABSTOP | BS_CENTER,
           0x4, 0, 0, 1, 1},
          {"BUTTON", "Default", 0, IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON,
           0, 0, 0, 1, 1},
          {"STATIC", "Left", 0, -1, text | SS_LEFT, 0, 0, 0, 1, 1},
          {"STATIC", "Centre", 0, -1, text | SS_CENTER | SS_NOPREFIX, 0, 0, 0,
           1, 1},
          {"STATIC", "From a macro", 0, 0xFFFF, text | SS_RIGHT, 0, 0, 0, 1, 1},
          {"BUTTON", "Check", 0, 20, kChild | WS_TABSTOP | BS_CHECKBOX, 0, 0, 0,
           1, 1},
          {"BUTTON", "Auto", 0, 21, kChild | WS_GROUP | BS_AUTOCHECKBOX, 0, 0,
           0, 1, 1},
          {"BUTTON", "Group", 0, 22, kChild | BS_GROUPBOX, 0, 0, 0, 1, 1},
          {"STATIC", "", 300, 23, kChild | SS_ICON, 0, 7, 8, 0, 0},
          {"STATIC", "", 300, 24, kChild | SS_ICON, 0, 7, 8, 21, 20},
          {"BUTTON", "Generic", 0, 25, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0,
           1, 2, 3, 4},
          {"EDIT", "", 0, 26, kChild | ES_LEFT, 0x200, 1, 2, 3, 4},
          {"MSCTLS_CUSTOM", "Hidden", 0, 27, WS_CHILD, 0, 1, 2, 3, 4},
          // Set then cleared, cleared then set: the order counts.
          {"EDIT", "", 0, 28, kChild | WS_TABSTOP | WS_BORDER, 0, 1, 2, 3, 4},
      });
}

TEST(RcControls, DialogStatementsAndDefaults) {
  const Win32DialogTemplate& full = Dialog(kRcControls, 200);
  EXPECT_EQ(full.style, DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT);
  EXPECT_EQ(full.exStyle, 0x8ul);
  EXPECT_EQ(full.x, 1);
  EXPECT_EQ(full.y, 2);
  EXPECT_EQ(full.cx, 300);
  EXPECT_EQ(full.cy, 200);
  // "" is a quote, the C escapes are decoded, and bytes above 127 (here
  // e-acute and the euro sign of Windows-1252) pass through unchanged.
  EXPECT_EQ(std::string(full.caption),
            "Caf\xe9 \"quoted\" \\ \t?? RAW:\xe9\x80");
  EXPECT_STREQ(full.fontFace, "Tahoma");
  EXPECT_EQ(full.fontPointSize, 9);

  const Win32DialogTemplate& bare = Dialog(kRcControls, 201);
  EXPECT_EQ(bare.style, WS_POPUP | WS_BORDER | WS_SYSMENU);
  EXPECT_EQ(bare.exStyle, 0ul);
  EXPECT_EQ(bare.x, 10);
  EXPECT_EQ(bare.cy, 40);
  EXPECT_STREQ(bare.caption, "");
  EXPECT_STREQ(bare.fontFace, "");
  EXPECT_EQ(bare.fontPointSize, 0);
  EXPECT_EQ(bare.itemCount, 0);
}

TEST(RcControls, IconIsTheFileItNames) {
  ASSERT_EQ(kRcControls.iconCount, 1);
  EXPECT_EQ(IconBytes(kRcControls, 300), ReadFile(RC_FIXTURE_ICON));
  EXPECT_STREQ(kRcControls.name, "controls");
}

TEST(RcExpressions, ValuesFollowCPrecedenceAndMacroSubstitution) {
  // In the order of tests/rc/expressions.rc.
  const struct {
    const char* expression;
    int value;
  } cases[] = {
      {"0x10 | 0x01", 17},
      {"6 & 3", 2},
      {"1 + 2 * 3", 7},
      {"(1 + 2) * 3", 9},
      {"10 - 2 - 3", 5},
      {"4 | 2 & 1", 4},
      {"6 & 3 + 1", 4},
      {"-(5)", -5},
      {"~0", -1},
      {"~0xFFFFFFF0", 15},
      {"100 / 7", 14},
      {"-7 / 2", -3},
      {"0xFFFFFFFFUL", -1},
      {"10L + 5U + 1ul + 0x2Lu", 18},
      {"BASE + 1 (BASE 0x10)", 17},
      {"SUM * 2 (SUM 2 + 1)", 4},
      {"PAREN * 2 (PAREN (2 + 1))", 6},
      {"CHAIN * 2 (CHAIN SUM)", 4},
      {"NEGATIVE ((-1))", -1},
      {"007 (decimal)", 7},
  };
  const Win32DialogTemplate& dialog = Dialog(kRcExpressions, 1);
  ASSERT_EQ(dialog.itemCount, static_cast<int>(std::size(cases)));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(dialog.items[i].id, cases[i].value) << cases[i].expression;
  }
}

TEST(RcPreprocessor, BranchesIncludesAndHeaders) {
  // The ids the taken branches define; see tests/rc/preprocess.rc.
  const int expected[] = {1, 4, 5, 6, 7, 8, 42, WM_USER + 4};
  const Win32DialogTemplate& dialog = Dialog(kRcPreprocess, 250);
  ASSERT_EQ(dialog.itemCount, static_cast<int>(std::size(expected)));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(dialog.items[i].id, expected[i]) << "item " << i;
  }
  // The statement spanning a comment and a continued line.
  EXPECT_EQ(dialog.cx, 10);
  EXPECT_EQ(dialog.cy, 20);
}

TEST(RcProgramScripts, MainWindow) {
  const Win32DialogTemplate& main = Dialog(kRcProgram, IDD_MAIN);
  EXPECT_EQ(main.style, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION |
                            WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(main.cx, 304);
  EXPECT_EQ(main.cy, 172);
  EXPECT_STREQ(main.caption, "Zorkel DeziVere0d v1.0 by Murkwin / Tolvag");
  EXPECT_STREQ(main.fontFace, "MS Sans Serif");
  EXPECT_EQ(main.fontPointSize, 8);
  const unsigned long push = kChild | WS_TABSTOP | BS_PUSHBUTTON;
  const unsigned long check = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
  ExpectItems(
      main,
      {
          {"EDIT", "", 0, IDC_TEXT,
           kChild | WS_TABSTOP | WS_BORDER | ES_MULTILINE | WS_VSCROLL |
               WS_HSCROLL,
           0, 6, 7, 230, 152},
          {"BUTTON", "Rand mode", 0, IDC_RAND_MODE, check, 0, 245, 7, 49, 10},
          {"BUTTON", "Hard mode", 0, IDC_HARD_MODE, check, 0, 245, 22, 49, 10},
          {"BUTTON", "Load file...", 0, IDC_LOAD, push, 0, 247, 36, 50, 14},
          {"BUTTON", "Translate !", 0, IDC_TRANSLATE,
           kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 247, 56, 50, 14},
          {"BUTTON", "Save file...", 0, IDC_SAVE, push, 0, 247, 77, 50, 14},
          {"BUTTON", "Quit", 0, IDC_QUIT, push, 0, 247, 96, 50, 14},
          {"BUTTON", "About...", 0, IDC_ABOUT, push, 0, 247, 117, 50, 14},
          {"BUTTON", "Clear", 0, IDC_CLEAR, push, 0, 6, 159, 230, 8},
          {"STATIC", "", IDI_MAIN, IDC_STATIC, kChild | SS_ICON, 0, 259, 139,
           21, 20},
      });
  EXPECT_EQ(IconBytes(kRcProgram, IDI_MAIN), ReadFile(ZORKEL_ICON_FILE));
}

TEST(RcProgramScripts, AboutBox) {
  const Win32DialogTemplate& about = Dialog(kRcAbout, IDD_ABOUT);
  EXPECT_EQ(about.style,
            DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_STREQ(about.caption, "About...");
  EXPECT_STREQ(about.fontFace, "MS Sans Serif");
  EXPECT_EQ(about.fontPointSize, 8);
  const unsigned long text = kChild | WS_GROUP | SS_LEFT;
  ExpectItems(
      about,
      {
          {"BUTTON", "OK", 0, IDOK,
           kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_CENTER, 0, 63, 98, 50,
           14},
          {"EDIT", "", 0, IDC_CREDITS,
           kChild | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL |
               ES_READONLY,
           0, 7, 34, 165, 56},
          {"STATIC", "", IDI_MAIN, IDC_STATIC, kChild | SS_ICON, 0, 7, 7, 21,
           20},
          {"STATIC", "Zorkel DuvaDazodo v1.0 by Murkwin / Tolvag", 0,
           IDC_STATIC, text, 0, 33, 10, 135, 8},
          {"STATIC", "some text", 0, IDC_STATIC, text, 0, 29, 19, 143, 8},
      });
}

// zorkel-rc as a process.

struct RcRun {
  int status = -1;  // exit status, or -1 if it did not exit normally
  std::string err;
};

RcRun RunRc(const std::vector<std::string>& args, const std::string& errFile) {
  std::vector<std::string> all = {ZORKEL_RC_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  RcRun run;
  const int spawned =
      posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0] << ": "
                  << std::strerror(spawned);
    return run;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.err = ReadFile(errFile);
  return run;
}

class RcProcess : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "rc_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = fs::path(pattern).lexically_normal().string();
    fs::create_directories(dir_ + "/out");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Compiles `script` (a path under the temporary folder) with the usual
  // options; extra options go before the script.
  RcRun Compile(const std::string& script,
                const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"-I",
                                     ZORKEL_WIN32_INCLUDE_DIR,
                                     "--resource-dir",
                                     Path("res"),
                                     "--depfile",
                                     Path("out/out.d"),
                                     "-o",
                                     Path("out/out.cpp"),
                                     "--symbol",
                                     "kTest"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(Path(script));
    return RunRc(args, Path("stderr.txt"));
  }

  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ + "/out")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string dir_;
};

struct BadScript {
  const char* name;
  std::map<std::string, std::string> files;  // test.rc is compiled
  const char* errorFile;                     // where the error is reported
  int line;
  const char* message;
};

// Names the case in test names and failure messages.
void PrintTo(const BadScript& bad, std::ostream* os) { *os << bad.name; }

// Dialog boilerplate for the cases about controls.
std::string InDialog(const std::string& body) {
  return "1 DIALOG 0, 0, 10, 10\nBEGIN\n" + body + "\nEND\n";
}

// `count` copies of `text` in a row, for scripts nested far too deep.
std::string Repeated(const std::string& text, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += text;
  return out;
}

// Four short definitions: D expands to 64000 nested parentheses.
std::string MacrosNestedTooDeeply() {
  return "#define A ((((((((((((((((((((\n#define B " + Repeated("A ", 20) +
         "\n#define C " + Repeated("B ", 20) + "\n#define D " +
         Repeated("C ", 8) + "\n";
}

// 1 inside `depth` pairs of parentheses.
std::string Parenthesised(std::size_t depth) {
  return std::string(depth, '(') + "1" + std::string(depth, ')');
}

const BadScript kBadScripts[] = {
    {"UnsupportedType",
     {{"test.rc", "1 MENU\nBEGIN\nEND\n"}},
     "test.rc",
     1,
     "unsupported resource type 'MENU'"},
    {"UnknownType",
     {{"test.rc", "\n1 WIDGET \"x\"\n"}},
     "test.rc",
     2,
     "unknown resource type 'WIDGET'"},
    {"UnsupportedStatement",
     {{"test.rc", "LANGUAGE 9, 1\n"}},
     "test.rc",
     1,
     "unsupported statement 'LANGUAGE'"},
    {"StringName",
     {{"test.rc", "\"MAIN\" DIALOG 0, 0, 1, 1\n"}},
     "test.rc",
     1,
     "expected a resource id, found a string"},
    {"IdZero",
     {{"test.rc", "0 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"}},
     "test.rc",
     1,
     "resource id 0 out of range (1 to 65535)"},
    {"UnsupportedControl",
     {{"test.rc", InDialog("LISTBOX 5, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "unsupported control 'LISTBOX'"},
    {"NotAControl",
     {{"test.rc", InDialog("BUTTON \"a\", 5, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "expected a control or END, found 'BUTTON'"},
    {"UndefinedName",
     {{"test.rc", InDialog("PUSHBUTTON \"a\", IDC_NOPE, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "undefined name 'IDC_NOPE'"},
    {"MissingComma",
     {{"test.rc", InDialog("PUSHBUTTON \"a\" 1, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "expected ',', found '1'"},
    {"MissingBegin",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nLTEXT \"\", 1\n"}},
     "test.rc",
     2,
     "expected BEGIN, found 'LTEXT'"},
    {"UnsupportedDialogStatement",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nMENU 5\nBEGIN\nEND\n"}},
     "test.rc",
     2,
     "unsupported dialog statement 'MENU'"},
    {"BeginWithoutEnd",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nBEGIN\nLTEXT \"\", 1, 0, 0, 1, 1\n"}},
     "test.rc",
     2,
     "BEGIN without END"},
    {"CoordinateOutOfRange",
     {{"test.rc", InDialog("LTEXT \"\", 1, 40000, 0, 1, 1")}},
     "test.rc",
     3,
     "value 40000 out of range (-32768 to 32767)"},
    {"NumberTooLarge",
     {{"test.rc", InDialog("LTEXT \"\", 0x100000000, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "number too large"},
    {"DivisionByZero",
     {{"test.rc", InDialog("LTEXT \"\", 1 / 0, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "division by zero"},
    {"NotOutsideStyle",
     {{"test.rc", InDialog("LTEXT \"\", NOT 1, 0, 0, 1, 1")}},
     "test.rc",
     3,
     "NOT is only allowed in a style"},
    {"NotWithAnd",
     {{"test.rc", InDialog("LTEXT \"\", 1, 0, 0, 1, 1, NOT 1 & 3")}},
     "test.rc",
     3,
     "NOT can only be combined with |"},
    {"UnevaluableDefineUsed",
     {{"test.rc", "#include <windows.h>\n" +
                      InDialog("LTEXT \"\", 1, CW_USEDEFAULT, 0, 1, 1")}},
     "test.rc",
     4,
     "cannot evaluate 'CW_USEDEFAULT': undefined name 'int'"},
    {"FunctionLikeMacroUsed",
     {{"test.rc", "#include <windows.h>\n" +
                      InDialog("LTEXT \"\", LOWORD(5), 0, 0, 1, 1")}},
     "test.rc",
     4,
     "cannot use function-like macro 'LOWORD'"},
    {"SelfReference",
     {{"test.rc",
       "#define LOOP LOOP + 1\n" + InDialog("LTEXT \"\", LOOP, 0, 0, 1, 1")}},
     "test.rc",
     4,
     "cannot evaluate 'LOOP': 'LOOP' refers to itself"},
    {"UnterminatedString",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nCAPTION \"abc\nBEGIN\nEND\n"}},
     "test.rc",
     2,
     "unterminated string"},
    {"UnknownEscape",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nCAPTION \"a\\qb\"\nBEGIN\nEND\n"}},
     "test.rc",
     2,
     "unknown escape '\\q'"},
    {"ZeroByte",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nCAPTION \"a\\x00\"\nBEGIN\nEND\n"}},
     "test.rc",
     2,
     "a string cannot hold a zero byte"},
    {"UnterminatedComment",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\n/* open\n\n"}},
     "test.rc",
     2,
     "unterminated comment"},
    {"LineAfterCommentAndContinuation",
     {{"test.rc",
       "/* a\nb */ 1 DIALOG 0, 0, \\\n 1, 1\nBEGIN\n"
       "  LTEXT \"\", NOPE, 0, 0, 1, 1\nEND\n"}},
     "test.rc",
     5,
     "undefined name 'NOPE'"},
    {"MissingIconFile",
     {{"test.rc", "1 ICON \"nope.ico\"\n"}},
     "test.rc",
     1,
     "cannot find icon file 'nope.ico'"},
    {"NotAnIcon",
     {{"test.rc", "1 ICON \"bad.ico\"\n"}, {"res/bad.ico", "not an icon"}},
     "test.rc",
     1,
     "'bad.ico' is not an icon file"},
    {"UndefinedIcon",
     {{"test.rc", InDialog("ICON 9, 5, 0, 0")}},
     "test.rc",
     3,
     "undefined icon 9"},
    {"DuplicateDialog",
     {{"test.rc",
       "5 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"
       "5 DIALOGEX 0, 0, 1, 1\nBEGIN\nEND\n"}},
     "test.rc",
     4,
     "duplicate dialog id 5"},
    {"DuplicateIcon",
     {{"test.rc", "7 ICON \"a.ico\"\n7 ICON \"a.ico\"\n"},
      {"res/a.ico", "fixture"}},
     "test.rc",
     2,
     "duplicate icon id 7"},
    {"MissingQuotedInclude",
     {{"test.rc", "#include \"missing.h\"\n"}},
     "test.rc",
     1,
     "cannot find include file 'missing.h'"},
    {"MissingAngleInclude",
     {{"test.rc", "\n#include <missing.h>\n"}},
     "test.rc",
     2,
     "cannot find include file 'missing.h'"},
    {"EndifWithoutIf",
     {{"test.rc", "#endif\n"}},
     "test.rc",
     1,
     "#endif without #if"},
    {"ElseAfterElse",
     {{"test.rc", "#if 1\n#else\n#else\n#endif\n"}},
     "test.rc",
     3,
     "#else after #else"},
    {"UnterminatedIfInHeader",
     {{"test.rc", "#include \"open.h\"\n"}, {"open.h", "// x\n#ifdef A\n"}},
     "open.h",
     2,
     "unterminated #ifdef"},
    {"ErrorDirective",
     {{"test.rc", "#if 1\n#error stop here\n#endif\n"}},
     "test.rc",
     2,
     "#error stop here"},
    {"UnknownDirective",
     {{"test.rc", "#warning x\n"}},
     "test.rc",
     1,
     "unknown directive '#warning'"},
    // Nesting deep enough to overflow the stack of a recursive evaluator:
    // a clear error instead.
    {"ParenthesesNestedTooDeeply",
     {{"test.rc",
       InDialog("LTEXT \"\", " + Parenthesised(100000) + ", 0, 0, 1, 1")}},
     "test.rc",
     3,
     "expression nested too deeply"},
    {"UnaryMinusNestedTooDeeplyInIf",
     {{"test.rc", "#if " + Repeated("-", 100000) + "1\n#endif\n"}},
     "test.rc",
     1,
     "expression nested too deeply"},
    {"NotNestedTooDeeply",
     {{"test.rc", "1 DIALOG 0, 0, 1, 1\nSTYLE " + Repeated("NOT ", 100000) +
                      "1\nBEGIN\nEND\n"}},
     "test.rc",
     2,
     "expression nested too deeply"},
    {"NestedTooDeeplyThroughMacros",
     {{"test.rc",
       MacrosNestedTooDeeply() + InDialog("LTEXT \"\", D 1, 0, 0, 1, 1")}},
     "test.rc",
     7,
     "cannot evaluate 'D': expression nested too deeply"},
    {"ErrorInIncludedScript",
     {{"test.rc", "#include \"part.rc\"\n"}, {"part.rc", "\n1 WIDGET\n"}},
     "part.rc",
     2,
     "unknown resource type 'WIDGET'"},
};

class RcBadScript : public RcProcess,
                    public testing::WithParamInterface<BadScript> {};

TEST_P(RcBadScript, StopsWithFileLineAndMessageAndWritesNothing) {
  const BadScript& bad = GetParam();
  for (const auto& [name, content] : bad.files) {
    // Any icon the case names is a real one unless it says otherwise.
    WriteFile(Path(name),
              content == "fixture" ? ReadFile(RC_FIXTURE_ICON) : content);
  }
  const RcRun run = Compile("test.rc");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, Path(bad.errorFile) + ":" + std::to_string(bad.line) +
                         ": " + bad.message + "\n");
  EXPECT_TRUE(OutputFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RcBadScript, testing::ValuesIn(kBadScripts),
                         [](const testing::TestParamInfo<BadScript>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(RcProcess, CommandLineProblems) {
  WriteFile(Path("test.rc"), "");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string firstLine;
  } cases[] = {
      {{}, 2, "zorkel-rc: no script given"},
      {{Path("test.rc")}, 2, "zorkel-rc: no output file given (-o)"},
      {{"-o", Path("out/x.cpp"), Path("test.rc")},
       2,
       "zorkel-rc: no symbol given (--symbol)"},
      {{"-o", Path("out/x.cpp"), "--symbol", "1abc", Path("test.rc")},
       2,
       "zorkel-rc: '1abc' is not a C++ identifier"},
      {{"--frob"}, 2, "zorkel-rc: unknown option '--frob'"},
      {{"-o", Path("out/x.cpp"), "--symbol", "k", Path("nothere.rc")},
       1,
       "zorkel-rc: cannot read '" + Path("nothere.rc") + "'"},
      {{"-o", Path("no/such/dir/x.cpp"), "--symbol", "k", Path("test.rc")},
       1,
       "zorkel-rc: cannot write '" + Path("no/such/dir/x.cpp") +
           "': No such file or directory"},
  };
  for (const auto& c : cases) {
    const RcRun run = RunRc(c.args, Path("stderr.txt"));
    EXPECT_EQ(run.status, c.status) << c.firstLine;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
  }
  EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(RcProcess, IconsAreSoughtNextToTheScriptThenInResourceDirs) {
  const std::string icon = ReadFile(RC_FIXTURE_ICON);
  WriteFile(Path("scripts/test.rc"),
            "1 ICON \"both.ico\"\n2 ICON \"sub/near.ico\"\n"
            "3 ICON \"far.ico\"\n");
  WriteFile(Path("scripts/both.ico"), icon);
  WriteFile(Path("scripts/sub/near.ico"), icon);
  WriteFile(Path("res/both.ico"), icon);
  WriteFile(Path("res/far.ico"), icon);

  const RcRun run = Compile("scripts/test.rc");
  ASSERT_EQ(run.status, 0) << run.err;
  // The depfile names the files read, so it shows which icon was taken.
  const std::string deps = ReadFile(Path("out/out.d"));
  EXPECT_NE(deps.find(Path("scripts/both.ico")), std::string::npos) << deps;
  EXPECT_EQ(deps.find(Path("res/both.ico")), std::string::npos) << deps;
  EXPECT_NE(deps.find(Path("scripts/sub/near.ico")), std::string::npos);
  EXPECT_NE(deps.find(Path("res/far.ico")), std::string::npos);
  EXPECT_EQ(deps.find(Path("out/out.cpp") + ":"), 0u) << deps;
}

TEST_F(RcProcess, ExpressionsNestUpToTheLimit) {
  // 255 parentheses around a value, or 255 unary operators before it, are
  // the deepest nesting accepted; one more is the error of the cases above.
  WriteFile(
      Path("test.rc"),
      "#if " + Repeated("- ", 254) + "-1 != -1\n#error wrong\n#endif\n" +
          InDialog("LTEXT \"\", " + Parenthesised(255) + ", 0, 0, 1, 1, " +
                   Repeated("-", 254) + "~0xFFFFFFFB"));
  const RcRun ok = Compile("test.rc");
  EXPECT_EQ(ok.status, 0) << ok.err;
  // Id 1; style 4 (~0xFFFFFFFB negated an even number of times) on LTEXT's
  // default.
  const std::string out = ReadFile(Path("out/out.cpp"));
  EXPECT_NE(out.find("{\"STATIC\", \"\", 0, 1, 0x50020004UL, 0x00000000UL, "
                     "0, 0, 1, 1}"),
            std::string::npos)
      << out;

  WriteFile(Path("test.rc"),
            InDialog("LTEXT \"\", " + Parenthesised(256) + ", 0, 0, 1, 1"));
  const RcRun deeper = Compile("test.rc");
  EXPECT_EQ(deeper.status, 1);
  EXPECT_EQ(deeper.err, Path("test.rc") + ":3: expression nested too deeply\n");
}

TEST_F(RcProcess, SameScriptGivesTheSameFileWhereverItIsWritten) {
  WriteFile(Path("test.rc"), ReadFile(RC_CONTROLS_SCRIPT));
  WriteFile(Path("res/fixture.ico"), ReadFile(RC_FIXTURE_ICON));
  ASSERT_EQ(Compile("test.rc").status, 0);
  const std::string first = ReadFile(Path("out/out.cpp"));
  fs::create_directories(Path("elsewhere"));
  const RcRun again = RunRc(
      {"-I", ZORKEL_WIN32_INCLUDE_DIR, "--resource-dir", Path("res"), "-o",
       Path("elsewhere/other.cpp"), "--symbol", "kTest", Path("test.rc")},
      Path("stderr.txt"));
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(ReadFile(Path("elsewhere/other.cpp")), first);
}

}  // namespace
