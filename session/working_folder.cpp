// Choosing the working folder from the main dialog's field: validation, the
// offer to create a missing folder, and the recent-folders list.
#include "session/working_folder.h"

#include <sys/stat.h>

#include <string>

#include "session/paths.h"
#include "session/recent_lists.h"
#include "interpreter/errors.h"
#include "interpreter/run_state.h"

namespace {
// A prompt that needs the dialog while none is installed.
int no_dialog_for(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(path_error_code, text.c_str());
}
}  // namespace

int set_working_directory(std::string_view text) {
  if (kill_requested) return 0;
  WorkingFolderUi* ui = installed_working_folder_ui();
  const std::string* newest = recent_list_newest(recent_working_dirs);
  std::string fallback = newest ? *newest : default_work_folder;
  auto fall_back = [&]() {
    working_folder = fallback;
    ui->show_working_folder(working_folder, true);
    return -1;
  };

  if (text.empty()) {
    if (!ui) return no_dialog_for("Asking for a working folder");
    ui->message("Please specify a path for the Working Directory", "Tovarelle");
    return fall_back();
  }
  if (text[0] == '.') return report_error(path_error_code);

  std::string path(text);
  if (path_normalize(path) < 0) return -path_error_code;
  if (!path_exists(path)) {
    if (!ui) return no_dialog_for("Asking to create a folder");
    std::string shown = path.substr(0, 256);
    if (!ui->ask_yes_no("Path " + shown + " does not exist.  Do you wish to create it?",
                                       "Tovarelle"))
      return fall_back();
    if (::mkdir(path.c_str(), 0777) != 0) {
      ui->message("Unable to create directory.", "Tovarelle");
      return fall_back();
    }
  } else if (!path_is_folder(path)) {
    if (!ui) return no_dialog_for("Telling of an invalid folder");
    ui->message("Path " + path + " is not a valid directory.", "Tovarelle");
    ui->show_working_folder(working_folder, true);
    return -1;
  }
  working_folder = path;
  path_trim_trailing(working_folder);
  apply_use_working_dir();
  if (ui) ui->show_working_folder(working_folder, false);
  if (!newest || *newest != working_folder) recent_list_push(recent_working_dirs, working_folder);
  return 0;
}
