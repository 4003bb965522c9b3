// Recording the thread's last error from the layer's KERNEL32 functions.
// Internal.
//
// Beside the Win32 code that GetLastError returns, the thread remembers the
// errno value behind the most recent code that came from a failed system
// call, so that FormatMessageA of that code gives Linux's own wording of
// what went wrong ("Is a directory" rather than "Access is denied.").
#pragma once

#include <windows.h>

// The documented Win32 code nearest to errno value `error`.
DWORD ErrorCodeForErrno(int error);

// A system call failed with errno value `error`: the last error becomes
// `code` (by default ErrorCodeForErrno(error)) and `error` is remembered as
// the reason behind it.
void SetLastErrorFromErrno(int error);
void SetLastErrorFromErrno(int error, DWORD code);

// The layer itself found a failure that no errno value describes: the last
// error becomes `code`, whose text is then the fixed English one.
void SetLastErrorFromLayer(DWORD code);
