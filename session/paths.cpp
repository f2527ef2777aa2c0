// Paths and the working folder: see paths.h.
#include "session/paths.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include "interpreter/errors.h"
#include "interpreter/run_state.h"
#include "ports/dialog_port.h"

std::string startup_folder;
std::string interpreter_folder;
std::string default_work_folder;
std::string working_folder;
std::string run_start_folder;
std::string program_folder;
std::string program_file_name;
std::string src_pgm_path, src_pgm_name;
std::string log_file_path, log_file_name, log_file_full_path;
std::string jpeg_path, jpeg_file, jpeg_full_path;
unsigned use_working_dir = 1;

namespace {

WorkingFolderUi* working_folder_ui = nullptr;

bool ends_with_separator(std::string_view text) { return !text.empty() && text.back() == '/'; }

// The base folder of a relative name for mode.
std::string base_folder(int mode) {
  if (mode == PATH_BASE_PROGRAM) return program_folder;
  return console_mode ? path_current_directory() : working_folder;
}

// The refusal of an over-long path.
int path_too_long() { return report_error(path_error_code); }

}  // namespace

std::string path_current_directory() {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return {};
  return buf;
}

std::string path_program_folder() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string exe(buf, static_cast<std::size_t>(n));
  std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

bool path_is_folder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool path_exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::string path_from_program_text(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

int path_combine(std::string& out, std::string_view folder, std::string_view name) {
  if (name.empty()) return 0;
  std::string joined(folder);
  if (!ends_with_separator(joined)) joined += '/';
  joined.append(name);
  if (joined.size() > path_max_chars) return path_too_long();
  out = std::move(joined);
  return 0;
}

int path_split(std::string_view spec, std::string& folder, std::string& name, int mode) {
  std::string copy = path_from_program_text(spec);
  if (copy.size() > path_max_chars) return path_too_long();
  std::string base = base_folder(mode);

  std::string folder_part, name_part;
  std::size_t slash = copy.rfind('/');
  if (slash == std::string::npos) {
    name_part = copy;
  } else {
    name_part = copy.substr(slash + 1);
    folder_part = copy.substr(0, slash + 1);
  }

  if (folder_part.empty()) {
    folder_part = base;
  } else if (folder_part[0] != '/') {  // relative: under the base folder
    std::string joined;
    if (path_combine(joined, base, folder_part) < 0) return -path_error_code;
    folder_part = std::move(joined);
  }
  if (folder_part.size() > 1 && ends_with_separator(folder_part)) folder_part.pop_back();
  // The full path (folder, separator, name) must fit as well.
  std::size_t separator = (name_part.empty() || ends_with_separator(folder_part)) ? 0 : 1;
  if (folder_part.size() + separator + name_part.size() > path_max_chars) return path_too_long();
  folder = std::move(folder_part);
  name = std::move(name_part);
  return 0;
}

void path_trim_trailing(std::string& text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '/' || text.back() == '\\')) {
    if (text == "/") return;  // the root keeps its separator
    text.pop_back();
  }
}

int path_resolve_split(std::string_view text, std::string& folder, std::string& name) {
  std::string path = path_from_program_text(text);
  if (path.empty() || path[0] != '/') {
    std::string joined;
    if (path_combine(joined, working_folder, path) < 0) return -path_error_code;
    if (!path.empty()) path = std::move(joined);
  }
  int rc = path_split(path, folder, name, PATH_BASE_WORKING);
  return rc < 0 ? rc : 1;
}

namespace {
int normalize_with_mode(std::string& text, int mode) {
  std::string folder, name;
  int rc = path_split(text, folder, name, mode);
  if (rc < 0) return rc;
  return path_combine(text, folder, name);
}
}  // namespace

int path_normalize(std::string& text) { return normalize_with_mode(text, PATH_BASE_WORKING); }
int path_normalize_in_program_folder(std::string& text) { return normalize_with_mode(text, PATH_BASE_PROGRAM); }

void path_display_form(std::string_view folder, std::string_view name, std::string& out) {
  std::string joined(folder);
  if (!name.empty()) {
    if (!ends_with_separator(joined)) joined += '/';
    joined.append(name);
  }
  std::size_t n = working_folder.size();
  // File names on this system are case-sensitive, so the prefix is compared exactly.
  if (use_working_dir == 1 && n > 0 && joined.size() > n + 1 && joined.compare(0, n, working_folder) == 0 &&
      joined[n] == '/') {
    out = joined.substr(n + 1);
    return;
  }
  out = std::move(joined);
}

void install_working_folder_ui(WorkingFolderUi* ui) { working_folder_ui = ui; }
WorkingFolderUi* installed_working_folder_ui() { return working_folder_ui; }

void apply_use_working_dir() {
  if (working_folder_ui) {
    use_working_dir = working_folder_ui->use_working_dir_ticked() ? 1 : 0;
    std::string shown;
    path_display_form(src_pgm_path, src_pgm_name, shown);
    working_folder_ui->show_source_program(shown);
    path_display_form(log_file_path, log_file_name, shown);
    working_folder_ui->show_log_file(shown);
  }
  if (!working_folder.empty()) (void)::chdir(working_folder.c_str());
}

void restore_working_folder() {
  if (run_start_folder.empty()) return;  // no run has started: nothing to go back to
  if (::chdir(run_start_folder.c_str()) != 0) return;
  working_folder = run_start_folder;
  if (!console_mode && working_folder_ui) {
    apply_use_working_dir();
    working_folder_ui->show_working_folder(working_folder, false);
  }
}

namespace {

int browse_file(bool save, bool folder_mode, const std::string& title, std::string& folder, std::string& name) {
  DialogPort& dialogs = dialog_port();
  std::string chosen_folder = folder;
  std::string chosen_name = folder_mode ? std::string() : name;
  int result = folder_mode ? dialogs.choose_folder(title, chosen_folder)
                           : dialogs.choose_file(save, title, chosen_folder, chosen_name);
  if (result == dialog_unavailable) return dialog_unavailable;
  if (result < 0) return 0;
  folder = chosen_folder;
  name = folder_mode ? std::string() : chosen_name;
  return 1;
}

}  // namespace

int browse_open_file(bool folder_mode, const std::string& title, std::string& folder, std::string& name) {
  return browse_file(false, folder_mode, title, folder, name);
}

int browse_save_file(bool folder_mode, const std::string& title, std::string& folder, std::string& name) {
  return browse_file(true, folder_mode, title, folder, name);
}
