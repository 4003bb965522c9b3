// Live windows, their life and their common state: creation, destruction,
// visibility, enabling, focus and captions.
#include "window.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "backend.h"

namespace {

std::unordered_set<HWND>& LiveWindows() {
  static std::unordered_set<HWND> live;
  return live;
}

void Unlink(HWND hwnd) {
  if (hwnd->parent && IsLive(hwnd->parent)) {
    auto& siblings = hwnd->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd),
                   siblings.end());
  }
}

}  // namespace

HWND NewWindow(WindowClass windowClass) {
  HWND hwnd = new HWND__;
  hwnd->windowClass = windowClass;
  LiveWindows().insert(hwnd);
  return hwnd;
}

bool IsLive(HWND hwnd) { return hwnd && LiveWindows().count(hwnd) != 0; }

HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (hwnd->style & WS_CHILD) && hwnd->parent) hwnd = hwnd->parent;
  return hwnd;
}

LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (hwnd->windowClass) {
    case WindowClass::Dialog:
      return DialogWindowProc(hwnd, message, wParam, lParam);
    case WindowClass::Button:
      return ButtonWindowProc(hwnd, message, wParam, lParam);
    case WindowClass::Edit:
      return EditWindowProc(hwnd, message, wParam, lParam);
    case WindowClass::Static:
      return StaticWindowProc(hwnd, message, wParam, lParam);
    case WindowClass::Tooltip:
      return TooltipWindowProc(hwnd, message, wParam, lParam);
  }
  return 0;
}

LRESULT CopyTextOut(const char* text, std::size_t length, WPARAM size,
                    LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  const std::size_t n = std::min<std::size_t>(length, size - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT CaptionMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      hwnd->text = text ? text : "";
      if (hwnd->widget) BackendSetCaption(hwnd->widget, hwnd->text.c_str());
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyTextOut(hwnd->text.data(), hwnd->text.size(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(hwnd->text.size());
  }
  return 0;
}

BOOL WINAPI IsWindow(HWND hWnd) { return IsLive(hWnd) ? TRUE : FALSE; }

BOOL WINAPI DestroyWindow(HWND hWnd) {
  if (!IsLive(hWnd)) return FALSE;
  // Owned popups (the tooltip window) go with their owner.
  std::vector<HWND> owned;
  for (HWND other : LiveWindows())
    if (other != hWnd && !(other->style & WS_CHILD) && other->parent == hWnd)
      owned.push_back(other);
  for (HWND popup : owned) DestroyWindow(popup);

  SendMessageA(hWnd, WM_DESTROY, 0, 0);
  if (!IsLive(hWnd)) return TRUE;  // destroyed while handling WM_DESTROY
  const std::vector<HWND> children = hWnd->children;
  for (HWND child : children) DestroyWindow(child);
  if (hWnd->widget) BackendDestroy(hWnd->widget);
  Unlink(hWnd);
  LiveWindows().erase(hWnd);
  delete hWnd;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  if (!IsLive(hWnd)) return FALSE;
  const BOOL wasVisible = hWnd->visible ? TRUE : FALSE;
  hWnd->visible = nCmdShow != SW_HIDE;
  if (hWnd->visible)
    hWnd->style |= WS_VISIBLE;
  else
    hWnd->style &= ~static_cast<DWORD>(WS_VISIBLE);
  if (hWnd->widget) BackendShow(hWnd->widget, hWnd->visible);
  return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  for (HWND w = hWnd; IsLive(w);
       w = (w->style & WS_CHILD) ? w->parent : nullptr)
    if (!w->visible) return FALSE;
  return IsLive(hWnd) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  if (!IsLive(hWnd)) return FALSE;
  const BOOL wasDisabled = hWnd->enabled ? FALSE : TRUE;
  hWnd->enabled = bEnable != FALSE;
  if (hWnd->enabled)
    hWnd->style &= ~static_cast<DWORD>(WS_DISABLED);
  else
    hWnd->style |= WS_DISABLED;
  if (hWnd->widget) BackendEnable(hWnd->widget, hWnd->enabled);
  return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  return IsLive(hWnd) && hWnd->enabled ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
  return IsLive(hWnd) ? hWnd->parent : nullptr;
}

namespace {
HWND focusWindow = nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
  HWND previous = IsLive(focusWindow) ? focusWindow : nullptr;
  if (!IsLive(hWnd)) return previous;
  focusWindow = hWnd;
  if (hWnd->widget) BackendFocus(hWnd->widget);
  return previous;
}

void NoteFocus(HWND hwnd) {
  if (IsLive(hwnd)) focusWindow = hwnd;
}

HWND WINAPI GetFocus(void) {
  return IsLive(focusWindow) ? focusWindow : nullptr;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!IsLive(hWnd)) return FALSE;
  return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString))
             ? TRUE
             : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (!IsLive(hWnd) || nMaxCount <= 0) return 0;
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT,
                                       static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  if (!IsLive(hWnd)) return 0;
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  if (!IsLive(hWnd) || !lpRect) return FALSE;
  RECT r = hWnd->rect;
  for (HWND p = (hWnd->style & WS_CHILD) ? hWnd->parent : nullptr; IsLive(p);
       p = (p->style & WS_CHILD) ? p->parent : nullptr) {
    r.left += p->rect.left;
    r.right += p->rect.left;
    r.top += p->rect.top;
    r.bottom += p->rect.top;
  }
  *lpRect = r;
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  if (!IsLive(hWnd) || !lpRect) return FALSE;
  *lpRect = RECT{0, 0, hWnd->rect.right - hWnd->rect.left,
                 hWnd->rect.bottom - hWnd->rect.top};
  return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  if (!IsLive(hWnd)) return 0;
  switch (nIndex) {
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(hWnd->instance);
    case GWLP_ID:
      return hWnd->id;
    case GWL_STYLE:
      return static_cast<LONG_PTR>(hWnd->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(hWnd->exStyle);
  }
  return 0;
}
