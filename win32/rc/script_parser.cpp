#include "script_parser.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "icon_file.h"

namespace {

// Statements of the platform's scripts that this compiler does not support.
const char* const kUnsupportedStatements[] = {"LANGUAGE", "STRINGTABLE",
                                              "VERSION", "CHARACTERISTICS"};
const char* const kUnsupportedTypes[] = {
    "ACCELERATORS", "BITMAP",  "CURSOR",     "DLGINIT",      "FONT",
    "HTML",         "MENU",    "MENUEX",     "MESSAGETABLE", "RCDATA",
    "TEXTINCLUDE",  "TOOLBAR", "VERSIONINFO"};
const char* const kUnsupportedDialogOptions[] = {"MENU", "CLASS", "LANGUAGE",
                                                 "CHARACTERISTICS", "VERSION"};
// Memory and load flags of old scripts; they mean nothing here.
const char* const kLoadOptions[] = {"PRELOAD",  "LOADONCALL",  "FIXED",
                                    "MOVEABLE", "DISCARDABLE", "PURE",
                                    "IMPURE",   "SHARED",      "NONSHARED"};
// Class names CONTROL accepts without quotes.
const char* const kClassKeywords[] = {"BUTTON",  "COMBOBOX",  "EDIT",
                                      "LISTBOX", "SCROLLBAR", "STATIC"};

template <std::size_t N>
bool IsOneOf(const Token& token, const char* const (&keywords)[N]) {
  return std::any_of(std::begin(keywords), std::end(keywords),
                     [&](const char* k) { return IsKeyword(token, k); });
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

ScriptParser::ScriptParser(Preprocessor& in,
                           std::vector<std::string> resourceDirs)
    : in_(in),
      evaluator_(in.macros()),
      resourceDirs_(std::move(resourceDirs)) {}

ResourceScript ScriptParser::Parse() {
  while (in_.Peek().kind != TokenKind::kEnd) Statement();
  CheckIconReferences();
  return std::move(script_);
}

void ScriptParser::Statement() {
  const Token name = in_.Next();
  if (IsOneOf(name, kUnsupportedStatements)) {
    throw RcError(name.where, "unsupported statement '" + name.text + "'");
  }
  if (name.kind != TokenKind::kName && name.kind != TokenKind::kNumber) {
    throw RcError(name.where,
                  "expected a resource id, found " + Describe(name));
  }
  const Token type = in_.Next();
  if (type.kind != TokenKind::kName) {
    throw RcError(type.where, "expected a resource type after " +
                                  Describe(name) + ", found " + Describe(type));
  }
  const bool icon = IsKeyword(type, "ICON");
  const bool dialog = IsKeyword(type, "DIALOG");
  const bool dialogEx = IsKeyword(type, "DIALOGEX");
  if (!icon && !dialog && !dialogEx) {
    const char* what =
        IsOneOf(type, kUnsupportedTypes) ? "unsupported" : "unknown";
    throw RcError(type.where,
                  std::string(what) + " resource type '" + type.text + "'");
  }
  const int id = ResourceId(name);
  if (icon) {
    IconStatement(id, name.where);
  } else {
    DialogStatement(id, dialogEx, name.where);
  }
}

int ScriptParser::ResourceId(const Token& name) {
  Token end;
  end.text = "end of the name";
  end.where = name.where;
  TokenList tokens({name}, end);
  const std::uint32_t id = evaluator_.Number(tokens);
  if (id < 1 || id > 0xffff) {
    throw RcError(name.where,
                  "resource id " +
                      std::to_string(static_cast<std::int32_t>(id)) +
                      " out of range (1 to 65535)");
  }
  return static_cast<int>(id);
}

void ScriptParser::IconStatement(int id, const Location& where) {
  SkipLoadOptions();
  const Token fileToken = in_.Peek();
  const std::string name = String("an icon file name");
  for (const IconResource& icon : script_.icons) {
    if (icon.id == id) {
      throw RcError(where, "duplicate icon id " + std::to_string(id));
    }
  }
  std::string written = name;
  std::replace(written.begin(), written.end(), '\\', '/');
  const std::string scriptDir =
      std::filesystem::path(fileToken.where.file).parent_path().string();
  const std::optional<std::string> path =
      FindIconFile(written, scriptDir, resourceDirs_);
  if (!path) {
    throw RcError(fileToken.where, "cannot find icon file '" + name + "'");
  }
  std::optional<std::vector<unsigned char>> bytes = ReadBytes(*path);
  if (!bytes) {
    throw RcError(fileToken.where, "cannot read icon file '" + name + "'");
  }
  if (!LooksLikeIconFile(*bytes)) {
    throw RcError(fileToken.where, "'" + name + "' is not an icon file");
  }
  script_.icons.push_back({id, std::move(*bytes), *path});
}

void ScriptParser::DialogStatement(int id, bool extended,
                                   const Location& where) {
  for (const DialogResource& dialog : script_.dialogs) {
    if (dialog.id == id) {
      throw RcError(where, "duplicate dialog id " + std::to_string(id));
    }
  }
  DialogResource dialog;
  dialog.id = id;
  dialog.style = style::kDialogDefault;
  SkipLoadOptions();
  dialog.x = Coordinate();
  ExpectComma();
  dialog.y = Coordinate();
  ExpectComma();
  dialog.cx = Coordinate();
  ExpectComma();
  dialog.cy = Coordinate();
  if (extended && OptionalComma()) Number();  // the help id: unused here

  DialogOptions(dialog);
  const Token begin = in_.Next();
  if (!IsKeyword(begin, "BEGIN") && !IsPunct(begin, "{")) {
    throw RcError(begin.where, "expected BEGIN, found " + Describe(begin));
  }
  while (true) {
    const Token& next = in_.Peek();
    if (IsKeyword(next, "END") || IsPunct(next, "}")) {
      in_.Next();
      break;
    }
    if (next.kind == TokenKind::kEnd) {
      throw RcError(begin.where, "BEGIN without END");
    }
    const ControlKind* kind = FindControlKind(next);
    if (kind == nullptr) {
      if (IsUnsupportedControl(next)) {
        throw RcError(next.where, "unsupported control '" + next.text + "'");
      }
      throw RcError(next.where,
                    "expected a control or END, found " + Describe(next));
    }
    in_.Next();
    Control(dialog, *kind, extended);
  }
  script_.dialogs.push_back(std::move(dialog));
}

void ScriptParser::DialogOptions(DialogResource& dialog) {
  while (true) {
    const Token& next = in_.Peek();
    if (IsKeyword(next, "STYLE")) {
      in_.Next();
      dialog.style = Style().Apply(0);
    } else if (IsKeyword(next, "EXSTYLE")) {
      in_.Next();
      dialog.exStyle = Style().Apply(0);
    } else if (IsKeyword(next, "CAPTION")) {
      in_.Next();
      dialog.caption = String("a caption");
    } else if (IsKeyword(next, "FONT")) {
      const Location where = in_.Next().where;
      const std::uint32_t size = Number();
      if (size < 1 || size > 0x7fff) {
        throw RcError(where, "font size out of range");
      }
      dialog.fontPointSize = static_cast<int>(size);
      ExpectComma();
      dialog.fontFace = String("a font name");
      // DIALOGEX's weight, italic and character set: the layer picks its
      // own font, so they are read and dropped.
      for (int i = 0; i < 3 && OptionalComma(); ++i) Number();
    } else if (IsOneOf(next, kUnsupportedDialogOptions)) {
      throw RcError(next.where,
                    "unsupported dialog statement '" + next.text + "'");
    } else {
      break;
    }
  }
  // A template with a font says so in its style, as on the platform.
  if (!dialog.fontFace.empty()) dialog.style |= style::kSetFont;
}

void ScriptParser::Control(DialogResource& dialog, const ControlKind& kind,
                           bool extended) {
  ControlItem item;
  item.className = kind.className != nullptr ? kind.className : "";
  StyleValue given;

  if (kind.shape == ControlShape::kText ||
      kind.shape == ControlShape::kGeneric) {
    item.text = String("the control's text");
    ExpectComma();
  } else if (kind.shape == ControlShape::kIcon) {
    evaluator_.ExpandFront(in_);
    if (in_.Peek().kind == TokenKind::kString) {
      throw RcError(in_.Peek().where, "expected an icon id, found a string");
    }
    const Location where = in_.Peek().where;
    item.iconId = static_cast<std::int32_t>(Number());
    iconReferences_.push_back({item.iconId, where});
    ExpectComma();
  }
  item.id = static_cast<std::int32_t>(Number());
  ExpectComma();
  if (kind.shape == ControlShape::kGeneric) {
    item.className = ClassName();
    ExpectComma();
    given = Style();
    ExpectComma();
  }
  item.x = Coordinate();
  ExpectComma();
  item.y = Coordinate();

  // The optional tail: ICON's size is optional too; CONTROL's style came
  // earlier, so only its extended style can follow.
  bool tail = true;
  if (kind.shape == ControlShape::kIcon) {
    tail = OptionalComma();
    if (tail) {
      item.cx = Coordinate();
      ExpectComma();
      item.cy = Coordinate();
    }
  } else {
    ExpectComma();
    item.cx = Coordinate();
    ExpectComma();
    item.cy = Coordinate();
  }
  if (tail && kind.shape != ControlShape::kGeneric) {
    tail = OptionalComma();
    if (tail) given = Style();
  }
  if (tail && OptionalComma()) {
    item.exStyle = Style().Apply(0);
    if (extended && OptionalComma()) Number();  // the help id: unused here
  }
  item.style = given.Apply(kind.defaultStyle);
  dialog.items.push_back(std::move(item));
}

std::string ScriptParser::ClassName() {
  evaluator_.ExpandFront(in_);
  const Token token = in_.Peek();
  std::string name;
  if (IsOneOf(token, kClassKeywords)) {
    in_.Next();
    name = token.text;
  } else {
    name = String("a class name");
  }
  if (name.empty()) throw RcError(token.where, "empty class name");
  return Upper(name);
}

void ScriptParser::CheckIconReferences() const {
  for (const auto& [id, where] : iconReferences_) {
    const bool defined =
        std::any_of(script_.icons.begin(), script_.icons.end(),
                    [id = id](const IconResource& i) { return i.id == id; });
    if (!defined) throw RcError(where, "undefined icon " + std::to_string(id));
  }
}

void ScriptParser::SkipLoadOptions() {
  while (IsOneOf(in_.Peek(), kLoadOptions)) in_.Next();
}

void ScriptParser::ExpectComma() {
  const Token token = in_.Next();
  if (!IsPunct(token, ",")) {
    throw RcError(token.where, "expected ',', found " + Describe(token));
  }
}

bool ScriptParser::OptionalComma() {
  if (!IsPunct(in_.Peek(), ",")) return false;
  in_.Next();
  return true;
}

std::string ScriptParser::String(const char* what) {
  evaluator_.ExpandFront(in_);
  const Token token = in_.Next();
  if (token.kind != TokenKind::kString) {
    throw RcError(token.where, std::string("expected ") + what + ", found " +
                                   Describe(token));
  }
  return token.text;
}

std::uint32_t ScriptParser::Number() { return evaluator_.Number(in_); }

short ScriptParser::Coordinate() {
  const Location where = in_.Peek().where;
  const auto value = static_cast<std::int32_t>(Number());
  if (value < -32768 || value > 32767) {
    throw RcError(where, "value " + std::to_string(value) +
                             " out of range (-32768 to 32767)");
  }
  return static_cast<short>(value);
}

StyleValue ScriptParser::Style() { return evaluator_.Style(in_); }
