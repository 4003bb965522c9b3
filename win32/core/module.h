// Finding a program's resources through its instance handle. Internal.
#pragma once

#include <windows.h>
#include <win32_module.h>

const Win32Module* ModuleOf(HINSTANCE instance);
const Win32DialogTemplate* FindDialogTemplate(HINSTANCE instance, LPCSTR name);
const Win32IconResource* FindIcon(HINSTANCE instance, int id);
// The module's application icon: the icon with the lowest identifier.
const Win32IconResource* ApplicationIcon(HINSTANCE instance);
