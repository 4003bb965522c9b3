// The Open and Save As dialogs: what the OPENFILENAMEA record asks for is
// checked here (filters, must-exist, the overwrite question, the default
// extension, the buffer), whoever answers: the backend's chooser or a test.
#include <commdlg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "backend.h"
#include "test_answers.h"
#include "window.h"

namespace {

DWORD lastDialogError = 0;

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? buffer : "/";
}

std::string Absolute(const std::string& path, const std::string& directory) {
  if (!path.empty() && path[0] == '/') return path;
  return directory + (directory.size() > 1 ? "/" : "") + path;
}

std::vector<BackendFileFilter> Filters(LPCSTR filter) {
  std::vector<BackendFileFilter> filters;
  // Pairs of zero-terminated strings, ended by an empty string.
  while (filter && *filter) {
    BackendFileFilter entry;
    entry.name = filter;
    filter += entry.name.size() + 1;
    entry.patterns = filter;
    filter += entry.patterns.size() + 1;
    filters.push_back(entry);
  }
  return filters;
}

// The name the record proposes, and the folder the chooser starts in.
void StartingPoint(const OPENFILENAMEA& ofn, BackendFileRequest& request) {
  const std::string proposed =
      ofn.lpstrFile
          ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile))
          : std::string();
  std::string directory = ofn.lpstrInitialDir && *ofn.lpstrInitialDir
                              ? ofn.lpstrInitialDir
                              : CurrentDirectory();
  const auto slash = proposed.rfind('/');
  if (slash != std::string::npos) {
    directory =
        Absolute(slash == 0 ? "/" : proposed.substr(0, slash), directory);
    request.fileName = proposed.substr(slash + 1);
  } else {
    request.fileName = proposed;
  }
  request.directory = directory;
}

// Adds the default extension (at most three characters, as documented) to a
// name that has none. A file that exists under the name as given is the one
// meant (a device such as /dev/null, a "Makefile"), so it keeps its name.
std::string WithDefaultExtension(const std::string& path, LPCSTR extension) {
  if (!extension || !*extension || Exists(path)) return path;
  const std::string base = BaseName(path);
  if (base.find('.') != std::string::npos && base.back() != '.') return path;
  std::string result = path;
  if (result.back() != '.') result += '.';
  return result + std::string(extension, strnlen(extension, 3));
}

std::optional<std::string> Ask(const BackendFileRequest& request,
                               int& filterIndex) {
  std::optional<std::string> answer;
  if (TakeFileDialogAnswer(answer)) {
    if (answer) answer = Absolute(*answer, request.directory);
    return answer;
  }
  if (Unattended()) return std::nullopt;
  BackendFileAnswer chosen;
  if (!BackendChooseFile(request, chosen)) return std::nullopt;
  filterIndex = chosen.filterIndex;
  return chosen.path;
}

// Shows the chooser until the person gives an acceptable answer or cancels.
std::optional<std::string> Choose(OPENFILENAMEA& ofn, bool save) {
  BackendFileRequest request;
  request.save = save;
  request.title = ofn.lpstrTitle ? ofn.lpstrTitle : (save ? "Save As" : "Open");
  request.filters = Filters(ofn.lpstrFilter);
  // nFilterIndex counts from 1; 0 picks the first pair too.
  if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= request.filters.size())
    request.filterIndex = static_cast<int>(ofn.nFilterIndex) - 1;
  StartingPoint(ofn, request);

  for (;;) {
    int filterIndex = request.filterIndex;
    std::optional<std::string> path = Ask(request, filterIndex);
    if (!path) return std::nullopt;
    request.filterIndex = filterIndex;
    if (save) *path = WithDefaultExtension(*path, ofn.lpstrDefExt);
    const std::string name = BaseName(*path);
    // Must-exist is a question for opening: a Save As that demanded an
    // existing file could never create one.
    if (!save && (ofn.Flags & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST)) &&
        !Exists(*path)) {
      MessageBoxA(ofn.hwndOwner,
                  (*path + "\nFile not found.\nCheck the file name and try "
                           "again.")
                      .c_str(),
                  request.title.c_str(), MB_OK | MB_ICONWARNING);
      continue;
    }
    if (save && (ofn.Flags & OFN_OVERWRITEPROMPT) && Exists(*path) &&
        MessageBoxA(
            ofn.hwndOwner,
            (name + " already exists.\nDo you want to replace it?").c_str(),
            "Confirm Save As", MB_YESNO | MB_ICONWARNING) != IDYES)
      continue;
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex + 1);
    return path;
  }
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save) {
  lastDialogError = 0;
  if (!ofn || (ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400 &&
               ofn->lStructSize != sizeof(OPENFILENAMEA))) {
    lastDialogError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    lastDialogError = CDERR_INITIALIZATION;
    return FALSE;
  }
  // The owner takes no input while the dialog is open.
  HWND owner = IsLive(ofn->hwndOwner) ? TopLevelOf(ofn->hwndOwner) : nullptr;
  const bool disableOwner = owner && owner->enabled;
  if (disableOwner) EnableWindow(owner, FALSE);
  const std::optional<std::string> path = Choose(*ofn, save);
  if (disableOwner && IsLive(owner)) EnableWindow(owner, TRUE);
  if (!path) return FALSE;  // cancelled: no extended error

  if (path->size() + 1 > ofn->nMaxFile) {
    // The buffer is too small: its first two bytes tell the size needed.
    if (ofn->nMaxFile >= 2) {
      const auto needed = static_cast<WORD>(
          path->size() + 1 > 0xFFFF ? 0xFFFF : path->size() + 1);
      std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
    }
    lastDialogError = FNERR_BUFFERTOOSMALL;
    return FALSE;
  }
  std::memcpy(ofn->lpstrFile, path->c_str(), path->size() + 1);
  const auto nameAt = path->rfind('/') + 1;
  ofn->nFileOffset = static_cast<WORD>(nameAt);
  const auto dot = path->rfind('.');
  ofn->nFileExtension = static_cast<WORD>(
      dot != std::string::npos && dot >= nameAt ? dot + 1 : path->size());
  return TRUE;
}

}  // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
  return RunFileDialog(lpofn, false);
}

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn) {
  return RunFileDialog(lpofn, true);
}

DWORD WINAPI CommDlgExtendedError(void) { return lastDialogError; }
