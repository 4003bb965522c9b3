// The C runtime start-up of a Win32 program: opens the display, calls
// WinMain with the program's module as instance handle, and exits with what
// WinMain returns. Linked only into programs that have a WinMain.
#include <windows.h>
#include <win32_module.h>

#include <cstdio>
#include <string>

#include "backend.h"

// The program's resources, compiled from its resource script.
extern const Win32Module Win32ProgramModule;

int main(int argc, char** argv) {
  const char* slash = nullptr;
  for (const char* p = argv[0]; *p; ++p)
    if (*p == '/') slash = p;
  const char* programName = slash ? slash + 1 : argv[0];

  if (!BackendOpen(programName)) {
    std::fprintf(stderr, "%s: cannot open the X display (is DISPLAY set?)\n",
                 programName);
    return 1;
  }
  // The command line as the platform gives it: the arguments after the
  // program's name, separated by blanks.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  const int result = WinMain(Win32InstanceOf(Win32ProgramModule), nullptr,
                             commandLine.data(), SW_SHOWDEFAULT);
  BackendClose();
  return result;
}
