// GetMessageA, PostMessageA, SendMessageA, DispatchMessageA and the quit
// request. Posted messages wait in one FIFO; when it is empty the backend
// waits for native input, which the core turns into posted messages.
#include "message_queue.h"

#include <chrono>
#include <deque>

#include "backend.h"
#include "window.h"

namespace {

struct QueueState {
  std::deque<MSG> posted;
  bool quitRequested = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  POINT lastPoint{};
};

QueueState& Queue() {
  static QueueState state;
  return state;
}

bool InFilter(const MSG& msg, HWND hwnd, UINT min, UINT max) {
  if (hwnd && msg.hwnd != hwnd) return false;
  if (min == 0 && max == 0) return true;
  return msg.message >= min && msg.message <= max;
}

}  // namespace

DWORD MessageClock() {
  static const auto start = std::chrono::steady_clock::now();
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start)
          .count());
}

bool QueueHasMessages() {
  return !Queue().posted.empty() || Queue().quitRequested;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd && !IsLive(hWnd)) return FALSE;
  MSG msg{};
  msg.hwnd = hWnd;
  msg.message = Msg;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = MessageClock();
  msg.pt = BackendCursorPos();
  Queue().posted.push_back(msg);
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  // Like the platform, the quit request is a flag that GetMessageA turns into
  // WM_QUIT once no other posted message is waiting.
  Queue().quitRequested = true;
  Queue().quitCode = nExitCode;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                        UINT wMsgFilterMax) {
  QueueState& q = Queue();
  for (;;) {
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
      if (!InFilter(*it, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
      *lpMsg = *it;
      q.posted.erase(it);
      q.lastTime = lpMsg->time;
      q.lastPoint = lpMsg->pt;
      return TRUE;
    }
    if (q.quitRequested) {
      q.quitRequested = false;
      *lpMsg = MSG{};
      lpMsg->message = WM_QUIT;
      lpMsg->wParam = static_cast<WPARAM>(q.quitCode);
      lpMsg->time = MessageClock();
      q.lastTime = lpMsg->time;
      return FALSE;
    }
    BackendWait();
  }
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  // Characters reach the edit controls through the toolkit itself; there are
  // no WM_KEYDOWN messages to turn into WM_CHAR.
  (void)lpMsg;
  return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg || !IsLive(lpMsg->hwnd)) return 0;
  return WindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam,
                         lpMsg->lParam);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!IsLive(hWnd)) return 0;
  return WindowProcedure(hWnd, Msg, wParam, lParam);
}

LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(Queue().lastTime); }

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  *lpPoint = BackendCursorPos();
  return TRUE;
}
