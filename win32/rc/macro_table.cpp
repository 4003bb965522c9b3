#include "macro_table.h"

void MacroTable::Define(const std::string& name, Macro macro) {
  macros_[name] = std::move(macro);
}

void MacroTable::Undefine(const std::string& name) { macros_.erase(name); }

const Macro* MacroTable::Find(const std::string& name) const {
  const auto it = macros_.find(name);
  return it == macros_.end() ? nullptr : &it->second;
}
