// Edit Source and View Log: the user's text editor on a file. The editor is
// the Editor setting, else $VISUAL, else $EDITOR (each split at blanks into
// program and arguments, never run through a shell), else xdg-open.
#pragma once
#include <string>
#include <vector>

// The command that would open path: the editor's words and the path last.
std::vector<std::string> editor_command(const std::string& path);

// Opens path in the editor. With reuse, an editor this process started on a
// file of the same name that is still running is brought to the front instead
// of starting a second one. Returns 0, or -1 when no editor could be started.
int editor_open(const std::string& path, bool reuse);
