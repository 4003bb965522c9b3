// The resource compiler on any script.
//
// The input is written as the main script, fuzz.rc, in a scratch folder that
// also holds two small icon files (fixture.ico, zorkel.ico); the include
// folders are those the project's own scripts use (ui/, tests/rc/,
// win32/include/), so the seed scripts compile and their headers are read.
// Everything else a script names is missing, and #include or ICON of it is
// just an error.
//
// Each run must end in one of two ways, as zorkel-rc does:
//  - an RcError with a message, a line of 1 or more, and a file that is the
//    script or one it included (for the script, a line it has);
//  - a valid template: ids in range and unique, texts without zero bytes,
//    class names in upper case, every ICON control's icon defined, icons
//    that look like .ico files, a font face only with a size and
//    DS_SETFONT; and the C++ source written from it is printable ASCII
//    whose string literals give back the exact texts.
// Any other exception, a crash, a sanitizer report or a hang (libFuzzer's
// -timeout) is a finding; a failed check aborts with a description.
//
// Scripts whose #include or ICON names could leave these folders (an
// absolute path, "..") are skipped, so that the fuzzer never reads system
// files such as /proc's.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "cpp_writer.h"
#include "fuzz_input.h"
#include "icon_file.h"
#include "preprocessor.h"
#include "rc_error.h"
#include "resource_script.h"
#include "script_parser.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT

[[noreturn]] void Fail(const std::string& what, const std::string& script) {
  std::fprintf(stderr, "fuzz_rc: %s\n  script: %s\n", what.c_str(),
               Shown(script, 400).c_str());
  std::abort();
}

// A minimal .ico file: one 1x1 image entry and its 8 bytes.
std::string TinyIcon() {
  const unsigned char bytes[] = {0, 0, 1, 0, 1,  0,          // header
                                 1, 1, 0, 0, 1,  0, 32, 0,   // entry
                                 8, 0, 0, 0, 22, 0, 0,  0,   // size, at
                                 1, 2, 3, 4, 5,  6, 7,  8};  // image
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

struct Scratch {
  std::string dir;
  std::string script;
  std::vector<std::string> includeDirs;
};

void RemoveScratch();

// Made on first use and never destroyed, so that the exit handler removing
// the folder still has its name.
const Scratch& GetScratch() {
  static const Scratch* const scratch = [] {
    auto* s = new Scratch;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
        "/zorkel-fuzz-rc.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("fuzz_rc: cannot make a scratch folder");
      std::abort();
    }
    s->dir = pattern;
    s->script = s->dir + "/fuzz.rc";
    for (const char* name : {"fixture.ico", "zorkel.ico"}) {
      std::ofstream(s->dir + "/" + name, std::ios::binary) << TinyIcon();
    }
    const std::string root = ZORKEL_SOURCE_DIR;
    s->includeDirs = {root + "/ui", root + "/tests/rc",
                      root + "/win32/include"};
    std::atexit(RemoveScratch);
    return s;
  }();
  return *scratch;
}

void RemoveScratch() {
  std::error_code ignored;
  fs::remove_all(GetScratch().dir, ignored);
}

// Whether the script could name a file outside the scratch and include
// folders: an absolute path or a ".." step, in the raw text or once \x
// escapes are decoded.
bool MayLeaveFolders(const std::string& script) {
  std::string decoded;
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] == '\\' && i + 2 < script.size() && script[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(script[i + 2]))) {
      std::size_t end = i + 2;
      int value = 0;
      while (end < script.size() && end < i + 4 &&
             std::isxdigit(static_cast<unsigned char>(script[end]))) {
        const char h = script[end];
        value = value * 16 + (h <= '9'   ? h - '0'
                              : h <= 'F' ? h - 'A' + 10
                                         : h - 'a' + 10);
        ++end;
      }
      decoded.push_back(static_cast<char>(value));
      i = end - 1;
    } else {
      decoded.push_back(script[i]);
    }
  }
  const std::string& decodedText = decoded;
  for (const std::string* text : {&script, &decodedText}) {
    for (const char* risky : {"\"/", "\"\\", "</", "<\\", "../", "..\\"}) {
      if (text->find(risky) != std::string::npos) return true;
    }
  }
  return false;
}

// The value of a C++ string literal as CppStringLiteral writes them: "...",
// with \\ \" \? and three-digit octal escapes (a digit after one is a
// character of its own, as in C++).
bool DecodeLiteral(const std::string& literal, std::string& value) {
  if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"') {
    return false;
  }
  const std::size_t end = literal.size() - 1;  // the closing quote
  value.clear();
  for (std::size_t i = 1; i < end; ++i) {
    const char c = literal[i];
    if (c == '"') return false;
    if (c != '\\') {
      value.push_back(c);
      continue;
    }
    if (i + 1 >= end) return false;
    const char e = literal[i + 1];
    if (e == '\\' || e == '"' || e == '?') {
      value.push_back(e);
      i += 1;
      continue;
    }
    if (i + 3 >= end) return false;
    int v = 0;
    for (std::size_t k = i + 1; k <= i + 3; ++k) {
      if (literal[k] < '0' || literal[k] > '7') return false;
      v = v * 8 + (literal[k] - '0');
    }
    if (v > 255) return false;
    value.push_back(static_cast<char>(v));
    i += 3;
  }
  return true;
}

void CheckText(const std::string& text, const char* what,
               const std::string& script) {
  if (text.find('\0') != std::string::npos) {
    Fail(std::string(what) + " holds a zero byte", script);
  }
  const std::string literal = CppStringLiteral(text);
  std::string back;
  if (!DecodeLiteral(literal, back) || back != text) {
    Fail(std::string(what) + " is not written back exactly: " + Shown(literal),
         script);
  }
}

void CheckTemplate(const ResourceScript& result, const std::string& script) {
  std::set<int> iconIds;
  for (const IconResource& icon : result.icons) {
    if (icon.id < 1 || icon.id > 0xffff || !iconIds.insert(icon.id).second) {
      Fail("icon id " + std::to_string(icon.id) + " out of range or repeated",
           script);
    }
    if (!LooksLikeIconFile(icon.bytes) || icon.path.empty()) {
      Fail("icon " + std::to_string(icon.id) + " is not an icon file", script);
    }
  }
  std::set<int> dialogIds;
  for (const DialogResource& d : result.dialogs) {
    const std::string name = "dialog " + std::to_string(d.id);
    if (d.id < 1 || d.id > 0xffff || !dialogIds.insert(d.id).second) {
      Fail(name + ": id out of range or repeated", script);
    }
    CheckText(d.caption, "a caption", script);
    CheckText(d.fontFace, "a font name", script);
    if (d.fontPointSize < 0 || d.fontPointSize > 0x7fff ||
        (!d.fontFace.empty() &&
         (d.fontPointSize < 1 || (d.style & kSetFont) == 0))) {
      Fail(name + ": font size " + std::to_string(d.fontPointSize) +
               " does not go with its face and style",
           script);
    }
    for (const ControlItem& item : d.items) {
      CheckText(item.text, "a control's text", script);
      CheckText(item.className, "a class name", script);
      if (item.className.empty() ||
          item.className.find_first_of("abcdefghijklmnopqrstuvwxyz") !=
              std::string::npos) {
        Fail(name + ": class name '" + Shown(item.className) +
                 "' is empty or not upper case",
             script);
      }
      if (item.iconId != 0 && iconIds.count(item.iconId) == 0) {
        Fail(name + ": control uses undefined icon " +
                 std::to_string(item.iconId),
             script);
      }
    }
  }

  const std::string source =
      WriteModuleSource(result, "kFuzz", "fuzz", "fuzz.rc");
  for (const char c : source) {
    const auto b = static_cast<unsigned char>(c);
    if (c != '\n' && (b < 0x20 || b >= 0x7f)) {
      Fail("the C++ source holds a byte that is not printable ASCII", script);
    }
  }
  if (source.find("const Win32Module kFuzz = {\"fuzz\", ") ==
      std::string::npos) {
    Fail("the C++ source defines no module", script);
  }
}

void CheckError(const RcError& error, const Preprocessor& preprocessor,
                const std::string& script) {
  const Location& where = error.where();
  const std::string message = error.what();
  if (message.empty()) Fail("an error without a message", script);
  if (where.line < 1) {
    Fail("error '" + message + "' at line " + std::to_string(where.line),
         script);
  }
  const std::vector<std::string>& files = preprocessor.files();
  const bool known =
      where.file == GetScratch().script ||
      std::find(files.begin(), files.end(), where.file) != files.end();
  if (!known) {
    Fail("error '" + message + "' in a file never read: " + where.file, script);
  }
  if (where.file == GetScratch().script) {
    const auto lines = std::count(script.begin(), script.end(), '\n') + 1;
    if (where.line > lines) {
      Fail("error '" + message + "' at line " + std::to_string(where.line) +
               " of a script of " + std::to_string(lines) + " lines",
           script);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  if (MayLeaveFolders(script)) return -1;  // not kept in the corpus
  const Scratch& scratch = GetScratch();
  {
    std::ofstream out(scratch.script, std::ios::binary | std::ios::trunc);
    out << script;
    if (!out.flush()) Fail("cannot write " + scratch.script, script);
  }

  Preprocessor preprocessor(scratch.includeDirs);
  try {
    if (!preprocessor.Start(scratch.script)) {
      Fail("cannot read the script just written", script);
    }
    ScriptParser parser(preprocessor, {});
    const ResourceScript result = parser.Parse();
    CheckTemplate(result, script);
  } catch (const RcError& error) {
    CheckError(error, preprocessor, script);
  }
  return 0;
}
