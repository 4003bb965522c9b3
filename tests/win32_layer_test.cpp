// The layer through its API: dialogs from templates, the message queue and
// its order, the default dialog processing, check boxes, the edit control's
// bytes, dialog-unit geometry and the tooltip window. Needs an X display.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <win32_module.h>
#include <windows.h>

#include <string>
#include <vector>

#include "backend.h"
#include "core/input.h"

extern const Win32Module LayerTestModule;

namespace {

constexpr int IDD_TEST = 200;
constexpr int IDC_EDIT = 201;
constexpr int IDC_BOX = 202;
constexpr int IDC_GO = 203;
constexpr int IDC_PLAIN_BOX = 205;

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT boxStateThen;  // the auto check box's state when the message came
};

std::vector<Seen> g_seen;
INT_PTR g_initResult = TRUE;

INT_PTR CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  if (message == WM_INITDIALOG || message == WM_COMMAND ||
      message == WM_CLOSE || message == WM_MOUSEMOVE || message == WM_DESTROY)
    g_seen.push_back(
        {message, wParam, lParam,
         message == WM_DESTROY ? 0u : IsDlgButtonChecked(hwnd, IDC_BOX)});
  if (message == WM_INITDIALOG) return g_initResult;
  if (message == WM_COMMAND && wParam == IDC_GO) return TRUE;
  return FALSE;
}

class LayerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(BackendOpen("win32_layer_test")) << "needs an X display";
  }
  void SetUp() override {
    g_seen.clear();
    g_initResult = TRUE;
    dialog_ = CreateDialogParamA(Win32InstanceOf(LayerTestModule),
                                 MAKEINTRESOURCEA(IDD_TEST), nullptr,
                                 RecordingProc, 1234);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    Pump();  // leaves no posted message behind for the next test
  }
  // Takes and dispatches posted messages until none is left, those posted
  // while dispatching included.
  void Pump() {
    for (bool dispatched = true; dispatched;) {
      dispatched = false;
      PostMessageA(nullptr, WM_APP, 0, 0);  // marks the end of this round
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_APP && msg.hwnd == nullptr) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        dispatched = true;
      }
    }
  }
  std::string Text() {
    const auto n =
        SendDlgItemMessageA(dialog_, IDC_EDIT, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(n) + 1, '\xEE');
    const auto copied =
        SendDlgItemMessageA(dialog_, IDC_EDIT, WM_GETTEXT, text.size(),
                            reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(copied, n);
    EXPECT_EQ(text[static_cast<size_t>(n)], '\0');
    text.resize(static_cast<size_t>(n));
    return text;
  }
  HWND dialog_ = nullptr;
};

TEST_F(LayerTest, InitDialogComesFirstWithTheFirstTabStopAndTheParameter) {
  ASSERT_FALSE(g_seen.empty());
  EXPECT_EQ(g_seen[0].message, static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(reinterpret_cast<HWND>(g_seen[0].wParam),
            GetDlgItem(dialog_, IDC_EDIT));
  EXPECT_EQ(g_seen[0].lParam, 1234);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, IDC_EDIT));
  EXPECT_FALSE(IsWindowVisible(dialog_)) << "not visible until shown";
  ShowWindow(dialog_, SW_SHOWDEFAULT);
  EXPECT_TRUE(IsWindowVisible(dialog_));
}

TEST_F(LayerTest, AClickTogglesTheAutoCheckBoxBeforeTheCommand) {
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BOX),
            static_cast<UINT>(BST_UNCHECKED));
  Win32ReportClick(GetDlgItem(dialog_, IDC_BOX));
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BOX),
            static_cast<UINT>(BST_UNCHECKED))
      << "input waits in the queue";
  Pump();
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[1].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(g_seen[1].wParam, MAKEWPARAM(IDC_BOX, BN_CLICKED));
  EXPECT_EQ(reinterpret_cast<HWND>(g_seen[1].lParam),
            GetDlgItem(dialog_, IDC_BOX));
  EXPECT_EQ(g_seen[1].boxStateThen, static_cast<UINT>(BST_CHECKED));
  Win32ReportClick(GetDlgItem(dialog_, IDC_BOX));
  Pump();
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BOX),
            static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(LayerTest, APlainCheckBoxOnlyReportsAndCheckDlgButtonSets) {
  Win32ReportClick(GetDlgItem(dialog_, IDC_PLAIN_BOX));
  Pump();
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_PLAIN_BOX),
            static_cast<UINT>(BST_UNCHECKED));
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[1].wParam, MAKEWPARAM(IDC_PLAIN_BOX, BN_CLICKED));
  EXPECT_TRUE(CheckDlgButton(dialog_, IDC_PLAIN_BOX, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_PLAIN_BOX),
            static_cast<UINT>(BST_CHECKED));
  // A push button has no check state.
  CheckDlgButton(dialog_, IDC_GO, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_GO),
            static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(LayerTest, SendMessageIsSynchronousAndReturnsTheProcedureResult) {
  const LRESULT handled = SendMessageA(dialog_, WM_COMMAND, IDC_GO, 0);
  EXPECT_EQ(handled, TRUE);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(SendMessageA(dialog_, WM_COMMAND, 999, 0), 0);
  EXPECT_EQ(SendMessageA(nullptr, WM_COMMAND, IDC_GO, 0), 0);
}

TEST_F(LayerTest, CloseRequestBecomesTheCancelCommand) {
  Win32ReportClose(dialog_);
  Pump();
  ASSERT_EQ(g_seen.size(), 3u);
  EXPECT_EQ(g_seen[1].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(g_seen[2].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(g_seen[2].wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_TRUE(IsWindow(dialog_)) << "the procedure decides what cancel does";
}

TEST_F(LayerTest, EscapeDoesNothingInAModelessDialog) {
  Win32ReportEscape(dialog_);
  Pump();
  EXPECT_EQ(g_seen.size(), 1u);
}

TEST_F(LayerTest, InputToADisabledWindowIsDropped) {
  EnableWindow(dialog_, FALSE);
  Win32ReportClick(GetDlgItem(dialog_, IDC_BOX));
  Win32ReportClose(dialog_);
  Pump();
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BOX),
            static_cast<UINT>(BST_UNCHECKED));
  EnableWindow(dialog_, TRUE);
  Win32ReportClick(GetDlgItem(dialog_, IDC_BOX));
  Pump();
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BOX),
            static_cast<UINT>(BST_CHECKED));
}

TEST_F(LayerTest, QuitComesAfterThePostedMessagesWithItsCode) {
  PostMessageA(dialog_, WM_COMMAND, IDC_GO, 0);
  PostQuitMessage(7);
  PostMessageA(dialog_, WM_COMMAND, IDC_GO, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(LayerTest, DestroyWindowSendsDestroyAndEndsTheHandles) {
  HWND box = GetDlgItem(dialog_, IDC_BOX);
  EXPECT_TRUE(DestroyWindow(dialog_));
  EXPECT_EQ(g_seen.back().message, static_cast<UINT>(WM_DESTROY));
  EXPECT_FALSE(IsWindow(dialog_));
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(dialog_, WM_COMMAND, IDC_GO, 0));
}

std::string EveryByte() {
  std::string s;
  for (int c = 1; c < 256; ++c) s.push_back(static_cast<char>(c));
  return s;
}

TEST_F(LayerTest, TheEditControlGivesBackTheBytesItWasGiven) {
  const std::string cases[] = {
      "",
      "hello world",
      "line one\r\nline two\r\n",
      "lone\nline feeds\n\n",
      "lone\rcarriage\rreturns\r",
      "mixed\r\n\n\r\r\n\n\rend",
      "\xA3\xD8\xE7\x80 \x81\x8D\x8F\x90\x9D",
      EveryByte(),
  };
  for (const std::string& text : cases) {
    SendDlgItemMessageA(dialog_, IDC_EDIT, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(Text(), text);
  }
}

TEST_F(LayerTest, GetTextCopiesAtMostTheBufferLessOne) {
  SetWindowTextA(GetDlgItem(dialog_, IDC_EDIT), "abcdef");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_EDIT, WM_GETTEXT, 4,
                                reinterpret_cast<LPARAM>(buffer)),
            3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_EDIT, WM_GETTEXT, 0,
                                reinterpret_cast<LPARAM>(buffer)),
            0);
  EXPECT_EQ(GetWindowTextLengthA(dialog_), 12) << "the caption's bytes";
}

TEST_F(LayerTest, ControlsSitWhereTheirDialogUnitsSay) {
  RECT units{110, 20, 160, 34};  // the "Go" button
  ASSERT_TRUE(MapDialogRect(dialog_, &units));
  RECT go;
  GetWindowRect(GetDlgItem(dialog_, IDC_GO), &go);
  RECT frame;
  GetWindowRect(dialog_, &frame);
  EXPECT_EQ(go.left - frame.left, units.left);
  EXPECT_EQ(go.top - frame.top, units.top);
  EXPECT_EQ(go.right - go.left, units.right - units.left);
  EXPECT_EQ(go.bottom - go.top, units.bottom - units.top);
  // The client area is the template's 200 by 100 units.
  RECT whole{0, 0, 200, 100};
  MapDialogRect(dialog_, &whole);
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, whole.right);
  EXPECT_EQ(client.bottom, whole.bottom);
  // Four horizontal units are one average character width: a sane font.
  RECT four{0, 0, 4, 8};
  MapDialogRect(dialog_, &four);
  EXPECT_GE(four.right, 4);
  EXPECT_LE(four.right, 12);
  EXPECT_GE(four.bottom, 10);
  EXPECT_LE(four.bottom, 24);
}

TEST_F(LayerTest, TheTooltipWindowTakesToolsByWindow) {
  HWND tooltip =
      CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                      CW_USEDEFAULT, CW_USEDEFAULT, 10, 10, dialog_, nullptr,
                      Win32InstanceOf(LayerTestModule), nullptr);
  ASSERT_NE(tooltip, nullptr);
  TOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, IDC_GO));
  info.lpszText = const_cast<LPSTR>(
      "Go \xE7"
      "a");
  EXPECT_EQ(
      SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)),
      TRUE);
  info.cbSize = 8;  // too small for any version of the record
  EXPECT_EQ(
      SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)),
      FALSE);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  // The tooltip is owned by the dialog and ends with it.
  DestroyWindow(dialog_);
  EXPECT_FALSE(IsWindow(tooltip));
}

// --- Modal dialogs ---------------------------------------------------------

// The input a modal dialog receives once its loop runs: its WM_INITDIALOG
// posts WM_APP to itself, and WM_APP sets off the input.
enum class ModalInput { Go, Escape, CloseRequest, QuitRequest };

constexpr int IDC_OTHER = 204;
constexpr INT_PTR kGoResult = 42;
constexpr INT_PTR kCancelResult = 77;
constexpr INT_PTR kNotEnded = -2;
constexpr int kQuitCode = 9;

struct ModalRun {
  ModalInput input = ModalInput::Go;
  HWND owner = nullptr;
  HWND box = nullptr;
  std::vector<WPARAM> commands;    // the box's WM_COMMAND messages
  std::vector<BOOL> ownerEnabled;  // the owner's state at each of them
  bool returned = false;           // DialogBoxParamA came back (opener)
};

ModalRun g_run;

INT_PTR CALLBACK ModalProc(HWND hwnd, UINT message, WPARAM wParam,
                           LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG:
      g_run.box = hwnd;
      PostMessageA(hwnd, WM_APP, 0, 0);
      return TRUE;
    case WM_APP:
      // Input for the owner, which takes none while the box is open.
      Win32ReportClick(GetDlgItem(g_run.owner, IDC_BOX));
      switch (g_run.input) {
        case ModalInput::Go:
          PostMessageA(hwnd, WM_COMMAND, IDC_GO, 0);
          break;
        case ModalInput::Escape:
          Win32ReportEscape(hwnd);
          break;
        case ModalInput::CloseRequest:
          Win32ReportClose(hwnd);
          break;
        case ModalInput::QuitRequest:
          PostMessageA(hwnd, WM_COMMAND, IDC_OTHER, 0);  // before the quit
          PostQuitMessage(kQuitCode);
          return TRUE;
      }
      // Should the input not end the box, this ends it two turns later
      // (after the cancel command a WM_CLOSE leads to), instead of waiting
      // for input forever.
      PostMessageA(hwnd, WM_APP + 1, 0, 0);
      return TRUE;
    case WM_APP + 1:
      PostMessageA(hwnd, WM_APP + 2, 0, 0);
      return TRUE;
    case WM_APP + 2:
      EndDialog(hwnd, kNotEnded);
      return TRUE;
    case WM_COMMAND:
      g_run.commands.push_back(wParam);
      g_run.ownerEnabled.push_back(IsWindowEnabled(g_run.owner));
      if (wParam == IDC_GO) EndDialog(hwnd, kGoResult);
      if (wParam == IDCANCEL) EndDialog(hwnd, kCancelResult);
      return TRUE;
  }
  return FALSE;
}

TEST_F(LayerTest, AModalDialogEndsOnItsInputWithItsResult) {
  struct Case {
    const char* name;
    ModalInput input;
    WPARAM command;
    INT_PTR result;
  };
  const Case cases[] = {
      {"EndDialog on a command", ModalInput::Go, IDC_GO, kGoResult},
      {"Escape", ModalInput::Escape, MAKEWPARAM(IDCANCEL, BN_CLICKED),
       kCancelResult},
      {"close request", ModalInput::CloseRequest,
       MAKEWPARAM(IDCANCEL, BN_CLICKED), kCancelResult},
  };
  ShowWindow(dialog_, SW_SHOWNORMAL);
  HWND go = GetDlgItem(dialog_, IDC_GO);
  for (const Case& c : cases) {
    SetFocus(go);
    g_seen.clear();
    g_run = ModalRun{};
    g_run.input = c.input;
    g_run.owner = dialog_;
    const INT_PTR result =
        DialogBoxParamA(Win32InstanceOf(LayerTestModule),
                        MAKEINTRESOURCEA(IDD_TEST), dialog_, ModalProc, 0);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(g_run.commands, std::vector<WPARAM>{c.command}) << c.name;
    EXPECT_EQ(g_run.ownerEnabled, std::vector<BOOL>{FALSE})
        << c.name << ": the owner is disabled while the box is open";
    EXPECT_TRUE(IsWindowEnabled(dialog_)) << c.name << ": and enabled after";
    EXPECT_TRUE(g_seen.empty()) << c.name << ": the owner took input";
    EXPECT_FALSE(IsWindow(g_run.box)) << c.name << ": the box is destroyed";
    EXPECT_EQ(GetFocus(), go) << c.name << ": the focus is back in the owner";
    Pump();  // drops what is left for the box, before the next one is made
  }
}

// An owner that opens the modal box on its "Go" command.
INT_PTR CALLBACK OpenerProc(HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  (void)lParam;
  if (message != WM_COMMAND || wParam != IDC_GO) return FALSE;
  DialogBoxParamA(Win32InstanceOf(LayerTestModule), MAKEINTRESOURCEA(IDD_TEST),
                  hwnd, ModalProc, 0);
  g_run.returned = true;
  return TRUE;
}

TEST_F(LayerTest, AQuitRequestInAModalLoopEndsTheBoxAndReachesTheOuterLoop) {
  HWND opener =
      CreateDialogParamA(Win32InstanceOf(LayerTestModule),
                         MAKEINTRESOURCEA(IDD_TEST), nullptr, OpenerProc, 0);
  ASSERT_NE(opener, nullptr);
  ShowWindow(opener, SW_SHOWNORMAL);
  g_run = ModalRun{};
  g_run.input = ModalInput::QuitRequest;
  g_run.owner = opener;
  PostMessageA(opener, WM_COMMAND, IDC_GO, 0);

  // The program's own loop: the box opens from inside one of its messages.
  std::vector<UINT> outer;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    outer.push_back(msg.message);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(kQuitCode));
  EXPECT_EQ(outer, std::vector<UINT>{WM_COMMAND})
      << "everything after the opening command went to the modal loop";
  EXPECT_TRUE(g_run.returned);
  EXPECT_EQ(g_run.commands, std::vector<WPARAM>{IDC_OTHER})
      << "messages posted before the quit are still delivered";
  EXPECT_FALSE(IsWindow(g_run.box));
  EXPECT_TRUE(IsWindowEnabled(opener));
  DestroyWindow(opener);
}

}  // namespace
