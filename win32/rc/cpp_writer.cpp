#include "cpp_writer.h"

#include <cstdio>
#include <sstream>

namespace {

std::string Hex32(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08XUL", static_cast<unsigned>(value));
  return buf;
}

void WriteIconBytes(std::ostringstream& out, std::size_t index,
                    const IconResource& icon) {
  out << "const unsigned char kIcon" << index << "Bytes[] = {";
  for (std::size_t i = 0; i < icon.bytes.size(); ++i) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X,", icon.bytes[i]);
    out << (i % 12 == 0 ? "\n    " : " ") << buf;
  }
  out << "\n};\n\n";
}

void WriteItems(std::ostringstream& out, std::size_t index,
                const DialogResource& dialog) {
  out << "const Win32DialogItem kDialog" << index << "Items[] = {\n";
  for (const ControlItem& item : dialog.items) {
    out << "    {" << CppStringLiteral(item.className) << ", "
        << CppStringLiteral(item.text) << ", " << item.iconId << ", " << item.id
        << ", " << Hex32(item.style) << ", " << Hex32(item.exStyle) << ", "
        << item.x << ", " << item.y << ", " << item.cx << ", " << item.cy
        << "},\n";
  }
  out << "};\n\n";
}

}  // namespace

std::string CppStringLiteral(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || c == '?') {
      // '?' too: no trigraph warnings, whatever the compiler's mode.
      out += '\\';
      out += c;
    } else if (b >= 0x20 && b < 0x7f) {
      out += c;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", b);
      out += buf;
    }
  }
  return out + "\"";
}

std::string WriteModuleSource(const ResourceScript& script,
                              const std::string& symbol,
                              const std::string& moduleName,
                              const std::string& scriptName) {
  std::ostringstream out;
  out << "// Made by zorkel-rc from " << scriptName
      << "; edit the script, not this file.\n"
      << "#include <win32_module.h>\n\n"
      << "namespace {\n\n";

  for (std::size_t i = 0; i < script.icons.size(); ++i) {
    WriteIconBytes(out, i, script.icons[i]);
  }
  if (!script.icons.empty()) {
    out << "const Win32IconResource kIcons[] = {\n";
    for (std::size_t i = 0; i < script.icons.size(); ++i) {
      out << "    {" << script.icons[i].id << ", kIcon" << i
          << "Bytes, sizeof kIcon" << i << "Bytes},\n";
    }
    out << "};\n\n";
  }

  for (std::size_t i = 0; i < script.dialogs.size(); ++i) {
    if (!script.dialogs[i].items.empty()) WriteItems(out, i, script.dialogs[i]);
  }
  if (!script.dialogs.empty()) {
    out << "const Win32DialogTemplate kDialogs[] = {\n";
    for (std::size_t i = 0; i < script.dialogs.size(); ++i) {
      const DialogResource& d = script.dialogs[i];
      out << "    {" << d.id << ", " << Hex32(d.style) << ", "
          << Hex32(d.exStyle) << ", " << d.x << ", " << d.y << ", " << d.cx
          << ", " << d.cy << ", " << CppStringLiteral(d.caption) << ", "
          << CppStringLiteral(d.fontFace) << ", " << d.fontPointSize << ", ";
      if (d.items.empty()) {
        out << "nullptr, 0},\n";
      } else {
        out << "kDialog" << i << "Items, " << d.items.size() << "},\n";
      }
    }
    out << "};\n\n";
  }

  out << "}  // namespace\n\n"
      << "extern const Win32Module " << symbol << ";\n"
      << "const Win32Module " << symbol << " = {"
      << CppStringLiteral(moduleName) << ", "
      << (script.dialogs.empty() ? "nullptr" : "kDialogs") << ", "
      << script.dialogs.size() << ", "
      << (script.icons.empty() ? "nullptr" : "kIcons") << ", "
      << script.icons.size() << "};\n";
  return out.str();
}
