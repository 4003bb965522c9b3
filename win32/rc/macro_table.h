// The names defined with #define, as written: a macro's body is kept as text
// and only tokenized and evaluated where the macro is used, so a definition
// the compiler cannot evaluate (a cast, a declaration) costs nothing until a
// statement uses it.
//
// Function-like macros are recorded (for #ifdef and defined()) but never
// expanded.
#pragma once

#include <map>
#include <string>

#include "rc_error.h"

struct Macro {
  std::string body;
  bool functionLike = false;
  Location defined;
};

class MacroTable {
 public:
  void Define(const std::string& name, Macro macro);
  void Undefine(const std::string& name);
  const Macro* Find(const std::string& name) const;

 private:
  std::map<std::string, Macro> macros_;
};
