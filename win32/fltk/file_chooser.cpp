// The Open and Save As dialogs drawn with FLTK's file chooser.
#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Group.H>

#include <string>

#include "widgets.h"

namespace {

// A Windows pattern list ("*.txt;*.TEXT") as an FLTK pattern that matches
// whatever the case of the letters, as the platform's file system does.
std::string FltkPattern(const std::string& patterns) {
  std::string alternatives;
  int count = 0;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string one = patterns.substr(start, end - start);
    start = end + 1;
    if (one.empty()) continue;
    if (one == "*.*") one = "*";  // every file, with or without a dot
    std::string caseless;
    for (char c : one) {
      const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
      const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      if (lower != upper) {
        caseless += '[';
        caseless += lower;
        caseless += upper;
        caseless += ']';
      } else {
        caseless += c;
      }
    }
    if (count++) alternatives += ',';
    alternatives += caseless;
  }
  if (count == 0) return "*";
  if (count == 1) return alternatives;
  alternatives.insert(alternatives.begin(), '{');
  alternatives += '}';
  return alternatives;
}

// The chooser shows "name (pattern)"; the name drops its own "(...)" so the
// pattern is not shown twice.
std::string FilterEntry(const BackendFileFilter& filter) {
  std::string name = ToUtf8(filter.name.c_str());
  const auto open = name.rfind(" (");
  if (open != std::string::npos && name.back() == ')') name.erase(open);
  for (std::size_t i = 0;
       (i = name.find_first_of("\t/", i)) != std::string::npos;)
    name[i] = ' ';
  name += " (";
  name += FltkPattern(filter.patterns);
  name += ')';
  return name;
}

Fl_File_Input* FindNameField(Fl_Group* group) {
  for (int i = 0; i < group->children(); ++i) {
    Fl_Widget* child = group->child(i);
    if (auto* field = dynamic_cast<Fl_File_Input*>(child)) return field;
    if (Fl_Group* inner = child->as_group())
      if (Fl_File_Input* field = FindNameField(inner)) return field;
  }
  return nullptr;
}

}  // namespace

bool BackendChooseFile(const BackendFileRequest& request,
                       BackendFileAnswer& answer) {
  std::string filters;
  for (const BackendFileFilter& filter : request.filters) {
    if (!filters.empty()) filters += '\t';
    filters += FilterEntry(filter);
  }
  const std::string title = ToUtf8(request.title.c_str());
  Fl_File_Chooser chooser(
      request.directory.c_str(), filters.empty() ? nullptr : filters.c_str(),
      request.save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE,
      title.c_str());
  chooser.preview(0);
  if (!request.filters.empty()) chooser.filter_value(request.filterIndex);
  std::string proposed = request.directory;
  if (proposed.empty() || proposed.back() != '/') proposed += '/';
  proposed += request.fileName;
  chooser.value(proposed.c_str());
  chooser.show();
  // The name field starts with the folder's absolute path, the cursor after
  // it: FLTK's chooser turns a typed relative name into an absolute one at
  // each key in Save mode and puts the cursor back at the start, so a name
  // typed over a selection would come out scrambled.
  if (Fl_Window* window = Fl::first_window())
    if (Fl_File_Input* field = FindNameField(window))
      field->position(field->size());
  while (chooser.shown()) Fl::wait();
  const char* chosen = chooser.value();
  if (!chosen || !*chosen) return false;
  answer.path = chosen;
  answer.filterIndex = chooser.filter_value();
  return true;
}
