// Resource lookup: an instance handle points at the program's Win32Module.
#include "module.h"

const Win32Module* ModuleOf(HINSTANCE instance) {
  return reinterpret_cast<const Win32Module*>(instance);
}

const Win32DialogTemplate* FindDialogTemplate(HINSTANCE instance, LPCSTR name) {
  const Win32Module* module = ModuleOf(instance);
  // Templates are named by number only (MAKEINTRESOURCE), as the program's are.
  if (!module || !IS_INTRESOURCE(name)) return nullptr;
  const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
  for (int i = 0; i < module->dialogCount; ++i)
    if (module->dialogs[i].id == id) return &module->dialogs[i];
  return nullptr;
}

const Win32IconResource* FindIcon(HINSTANCE instance, int id) {
  const Win32Module* module = ModuleOf(instance);
  if (!module) return nullptr;
  for (int i = 0; i < module->iconCount; ++i)
    if (module->icons[i].id == id) return &module->icons[i];
  return nullptr;
}

const Win32IconResource* ApplicationIcon(HINSTANCE instance) {
  const Win32Module* module = ModuleOf(instance);
  const Win32IconResource* best = nullptr;
  for (int i = 0; module && i < module->iconCount; ++i)
    if (!best || module->icons[i].id < best->id) best = &module->icons[i];
  return best;
}
