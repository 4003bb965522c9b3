// The common controls' tooltip window ("tooltips_class32"): tools identified
// by their window handle, with texts shown by the toolkit's own tooltips.
#include <commctrl.h>

#include "backend.h"
#include "window.h"

namespace {

bool ClassNameIs(LPCSTR name, const char* expected) {
  if (!name || IS_INTRESOURCE(name)) return false;
  for (; *name && *expected; ++name, ++expected) {
    char a = *name, b = *expected;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    if (a != b) return false;
  }
  return *name == *expected;
}

LRESULT AddTool(HWND tooltip, const TOOLINFOA* info) {
  if (!info || info->cbSize < TTTOOLINFOA_V1_SIZE) return FALSE;
  // Only tools that are whole windows: a tool given as a rectangle of a
  // window would need hit-testing that no caller of this layer asks for.
  if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
  HWND tool = reinterpret_cast<HWND>(info->uId);
  if (!IsLive(tool) || !info->lpszText || IS_INTRESOURCE(info->lpszText))
    return FALSE;
  tooltip->tools.push_back(ToolEntry{tool, info->uFlags, info->lpszText});
  // The toolkit's tooltip watches the tool's own widget, which is what
  // TTF_SUBCLASS asks of the tooltip window.
  if (tool->widget) BackendSetTooltip(tool->widget, info->lpszText);
  return TRUE;
}

}  // namespace

LRESULT TooltipWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  switch (message) {
    case TTM_ADDTOOLA:
      return AddTool(hwnd, reinterpret_cast<const TOOLINFOA*>(lParam));
    case TTM_RELAYEVENT:
      // Mouse messages of tools the tooltip does not watch itself. Every tool
      // here is watched through its widget, so a relayed message only
      // records where the mouse was.
      if (const MSG* relayed = reinterpret_cast<const MSG*>(lParam))
        hwnd->lastRelayed = *relayed;
      return 0;
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(hwnd->tools.size());
    case TTM_ACTIVATE:
      for (const ToolEntry& entry : hwnd->tools)
        if (IsLive(entry.tool) && entry.tool->widget)
          BackendSetTooltip(entry.tool->widget,
                            wParam ? entry.text.c_str() : nullptr);
      return 0;
    case WM_DESTROY:
      for (const ToolEntry& entry : hwnd->tools)
        if (IsLive(entry.tool) && entry.tool->widget)
          BackendSetTooltip(entry.tool->widget, nullptr);
      return 0;
  }
  return CaptionMessage(hwnd, message, wParam, lParam);
}

void WINAPI InitCommonControls(void) {
  // The control classes of this layer are built in; there is nothing to
  // register.
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName,
                            LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent,
                            HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  (void)X;
  (void)Y;
  (void)hMenu;
  (void)lpParam;
  // The tooltip window is the only window this layer creates outside a
  // dialog template.
  if (!ClassNameIs(lpClassName, TOOLTIPS_CLASSA)) return nullptr;
  HWND tooltip = NewWindow(WindowClass::Tooltip);
  tooltip->parent = IsLive(hWndParent) ? hWndParent : nullptr;  // the owner
  tooltip->instance = hInstance;
  tooltip->style = dwStyle;
  tooltip->exStyle = dwExStyle;
  tooltip->text = lpWindowName ? lpWindowName : "";
  tooltip->rect = RECT{0, 0, nWidth, nHeight};
  return tooltip;
}
