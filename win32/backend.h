// Everything the layer's core asks of a toolkit, and nothing more: native
// top-level windows and controls, text and state pushed into them, and a wait
// for input. A backend reports input only through win32/core/input.h; it
// never calls a window or dialog procedure. Texts are Windows-1252 bytes; the
// backend converts them for display. Sizes and positions are pixels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

struct BackendWidget;  // the backend's own object for one window
struct IconImage;

enum class BackendControl {
  PushButton,
  DefPushButton,
  CheckBox,
  Edit,
  StaticText,
  StaticIcon
};

struct BackendFont {
  int averageWidth;  // the dialog font's average character width
  int height;        // and its character height, as dialog units use them
};

// Opens the display; false (with nothing shown) when there is none.
bool BackendOpen(const char* programName);
void BackendClose();

// Waits until at least one native event arrived and handles it; input is
// reported to the core, which queues it.
void BackendWait();
// Handles the native events already waiting, without blocking.
void BackendPoll();

BackendFont BackendMeasureFont(const char* face, int pointSize);
POINT BackendCursorPos();

BackendWidget* BackendCreateWindow(HWND hwnd, const char* caption, int width,
                                   int height, DWORD style, HWND owner);
BackendWidget* BackendCreateControl(HWND hwnd, BackendWidget* window,
                                    BackendControl kind, const RECT& rect,
                                    DWORD style, const char* text,
                                    const IconImage* icon);
void BackendDestroy(BackendWidget* widget);

void BackendShow(BackendWidget* widget, bool visible);
void BackendEnable(BackendWidget* widget, bool enabled);
void BackendFocus(BackendWidget* widget);
void BackendSetWindowIcon(BackendWidget* window, const IconImage& icon);

void BackendSetCaption(BackendWidget* widget, const char* text);
void BackendSetCheck(BackendWidget* widget, bool checked);
void BackendSetTooltip(BackendWidget* widget, const char* text);

void BackendSetEditText(BackendWidget* edit, const char* text,
                        std::size_t length);
std::string BackendGetEditText(BackendWidget* edit);
std::size_t BackendEditTextLength(BackendWidget* edit);
void BackendSetEditReadOnly(BackendWidget* edit, bool readOnly);

// The common dialogs. The core checks the answers (must exist, overwrite,
// default extension, buffer size); the backend only asks the person.
struct BackendFileFilter {
  std::string name;      // as the program gave it, Windows-1252
  std::string patterns;  // "*.txt" or "*.txt;*.text"
};
struct BackendFileRequest {
  bool save = false;
  std::string title;      // Windows-1252
  std::string directory;  // where the chooser starts
  std::string fileName;   // the name it proposes, or ""
  std::vector<BackendFileFilter> filters;
  int filterIndex = 0;  // the filter selected at start, from 0
};
struct BackendFileAnswer {
  std::string path;  // absolute
  int filterIndex = 0;
};
// False when the person cancelled.
bool BackendChooseFile(const BackendFileRequest& request,
                       BackendFileAnswer& answer);

// A modal message box; returns the IDOK/IDCANCEL/IDYES/IDNO of the answer.
int BackendMessageBox(const char* text, const char* caption, UINT type);
