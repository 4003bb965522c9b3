// The resource statements: ICON resources, DIALOG and DIALOGEX templates
// and their controls, read from the preprocessor's tokens into a
// ResourceScript.
//
// Ids must evaluate to numbers (string names are refused); an ICON control's
// icon must be an ICON resource of the same script, defined before or after.
// The first problem throws RcError; nothing is skipped or guessed.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "control_kinds.h"
#include "expression.h"
#include "preprocessor.h"
#include "resource_script.h"

class ScriptParser {
 public:
  // ICON file names are looked up next to the file holding the statement,
  // then in `resourceDirs`.
  ScriptParser(Preprocessor& in, std::vector<std::string> resourceDirs);

  ResourceScript Parse();

 private:
  void Statement();
  void IconStatement(int id, const Location& where);
  void DialogStatement(int id, bool extended, const Location& where);
  void DialogOptions(DialogResource& dialog);
  void Control(DialogResource& dialog, const ControlKind& kind, bool extended);
  std::string ClassName();
  void CheckIconReferences() const;

  void SkipLoadOptions();
  void ExpectComma();
  bool OptionalComma();
  std::string String(const char* what);
  std::uint32_t Number();
  short Coordinate();
  int ResourceId(const Token& name);
  StyleValue Style();

  Preprocessor& in_;
  Evaluator evaluator_;
  std::vector<std::string> resourceDirs_;
  ResourceScript script_;
  std::vector<std::pair<int, Location>> iconReferences_;  // ICON controls
};
