// Starting the user's editor on a file (see editor_launch.h).
#include "frontend/editor_launch.h"

#include <cstdlib>
#include <map>

#include "frontend/settings.h"
#include "platform/process.h"

namespace {

// Editors started on files, by the file's name (without its folder): a file
// of the same name is matched by its name alone.
std::map<std::string, long> open_editors;

std::vector<std::string> split_words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

std::string base_name(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::string> editor_command(const std::string& path) {
  std::string chosen;
  reg_read_string("Editor", chosen);
  for (const char* name : {"VISUAL", "EDITOR"}) {
    if (!chosen.empty()) break;
    const char* value = std::getenv(name);
    if (value != nullptr) chosen = value;
  }
  std::vector<std::string> words = split_words(chosen);
  if (words.empty()) words.push_back("xdg-open");
  words.push_back(path);
  return words;
}

int editor_open(const std::string& path, bool reuse) {
  std::string name = base_name(path);
  if (reuse) {
    auto found = open_editors.find(name);
    if (found != open_editors.end() && process_running(found->second)) {
      // Bring its window forward where a tool for that is at hand.
      if (process_find_program("xdotool"))
        process_spawn({"xdotool", "search", "--pid", std::to_string(found->second), "windowactivate"}, "");
      return 0;
    }
  }
  long pid = 0;
  if (process_spawn(editor_command(path), "", &pid) < 0) return -1;
  open_editors[name] = pid;
  return 0;
}
