// The subset of COMCTL32 that Zorkel uses: InitCommonControls and the tooltip
// control. Declares only what the program and the layer's tests use, with the
// documented names and values.
#pragma once

#include <windows.h>

#define CCSIZEOF_STRUCT(structname, member) \
  (offsetof(structname, member) + sizeof(((structname*)0)->member))

#define TOOLTIPS_CLASSA "tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSA

// Tooltip styles.
#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02

// Tool flags.
#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010

// Tooltip messages.
#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_DELTOOLA (WM_USER + 5)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_ADDTOOL TTM_ADDTOOLA

typedef struct tagTOOLINFOA {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
} TTTOOLINFOA, *LPTTTOOLINFOA, TOOLINFOA, *LPTOOLINFOA;
typedef TOOLINFOA TOOLINFO;

// The record's size in each of its versions; version 2 ends after lParam.
#define TTTOOLINFOA_V1_SIZE CCSIZEOF_STRUCT(TTTOOLINFOA, lpszText)
#define TTTOOLINFOA_V2_SIZE CCSIZEOF_STRUCT(TTTOOLINFOA, lParam)
#define TTTOOLINFOA_V3_SIZE CCSIZEOF_STRUCT(TTTOOLINFOA, lpReserved)

void WINAPI InitCommonControls(void);
