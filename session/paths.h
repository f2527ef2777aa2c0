// File paths: splitting a file name into folder and name against the right
// base folder, joining them, the display form relative to the working folder,
// and setting and restoring the working folder. Paths use "/"; a backslash in
// a name a program gives is read as "/". A path longer than path_max_chars is
// refused with "Invalid Path." (error 290), never cut.
#pragma once
#include <string>
#include <string_view>

constexpr std::size_t path_max_chars = 259;
constexpr int path_error_code = 290;  // "Invalid Path."

// Folder and file globals.
extern std::string startup_folder;      // current directory at start
extern std::string interpreter_folder;  // the program file's own folder, with trailing "/"
extern std::string default_work_folder; // working folder chosen at start
extern std::string working_folder;      // working folder in force; base of relative names in window mode
extern std::string run_start_folder;    // current directory when the last run started
extern std::string program_folder;      // folder of the running program (CHAIN, APPEND, INCLUDE base)
extern std::string program_file_name;   // name part of the running program
extern std::string src_pgm_path, src_pgm_name;
extern std::string log_file_path, log_file_name, log_file_full_path;
extern std::string jpeg_path, jpeg_file, jpeg_full_path;
extern unsigned use_working_dir;        // 1: show paths under the working folder relative to it

// Base folders for path_split.
enum path_base_mode : int {
  PATH_BASE_WORKING = 0,  // working folder (window mode) or current directory (console mode)
  PATH_BASE_PROGRAM = 1,  // program_folder in both modes
};

// The process's current directory; empty when it cannot be read.
std::string path_current_directory();
// The folder of the running program file, with a trailing "/"; empty when it
// cannot be found.
std::string path_program_folder();
// True when path names an existing folder.
bool path_is_folder(const std::string& path);
// True when something exists at path.
bool path_exists(const std::string& path);

// A file name as a program gave it, with every backslash read as "/".
std::string path_from_program_text(std::string_view text);

// Splits spec into its folder (absolute, without trailing "/" except the
// root) and its name; relative folders are taken against the base of mode.
// Returns 0, or -290 (reported) when the file specification or the folder is too long.
int path_split(std::string_view spec, std::string& folder, std::string& name, int mode);

// Joins folder and name with one "/" into out (out may be an input). An empty
// name leaves out unchanged. Returns 0, or -290 (reported, out unchanged) when
// the result would be too long.
int path_combine(std::string& out, std::string_view folder, std::string_view name);

// Removes trailing blanks and separators; the root "/" stays.
void path_trim_trailing(std::string& text);

// A relative text is first joined behind working_folder; then path_split mode
// 0. Returns 1, or a negative code (reported).
int path_resolve_split(std::string_view text, std::string& folder, std::string& name);

// path_split (mode 0 or 1) then path_combine back into text. Returns 0 or a
// negative code (reported; text unchanged).
int path_normalize(std::string& text);
int path_normalize_in_program_folder(std::string& text);

// The joined path, or the part after working_folder and its "/" when
// use_working_dir is 1 and the path lies inside the working folder.
void path_display_form(std::string_view folder, std::string_view name, std::string& out);

// What set_working_directory and apply_use_working_dir need from the main
// dialog; the dialog installs one. Without one no dialog exists, and a step
// that needs to ask or tell the user reports that it is not available.
class WorkingFolderUi {
 public:
  virtual ~WorkingFolderUi() = default;
  virtual void message(const std::string& text, const char* title) = 0;
  virtual bool ask_yes_no(const std::string& text, const char* title) = 0;
  // Shows text in the working-folder field (1085), selected when select is set.
  virtual void show_working_folder(const std::string& text, bool select) = 0;
  virtual bool use_working_dir_ticked() = 0;                 // check box 1038
  virtual void show_source_program(const std::string& text) = 0;  // field 1083
  virtual void show_log_file(const std::string& text) = 0;        // field 1081
};
void install_working_folder_ui(WorkingFolderUi* ui);  // nullptr: none
WorkingFolderUi* installed_working_folder_ui();        // nullptr when none is installed

// Reads the "Use Working Dir." box, redisplays the source and log fields and
// changes the current directory to working_folder.
void apply_use_working_dir();
// After a run: back to run_start_folder.
void restore_working_folder();

// The file choosers (the main dialog's Browse buttons and the programs'
// BROWSEINPUTFILE$ and BROWSEOUTPUTFILE$), through the dialog port: an open
// dialog (the file must exist) or a save dialog starting in folder, with
// title; in folder mode the folder chooser. Returns 1 on OK (folder := the
// chosen folder; name := the chosen file name, empty in folder mode), 0 on
// Cancel (nothing changes), or dialog_unavailable (ports/dialog_port.h) when
// no dialog can be shown.
int browse_open_file(bool folder_mode, const std::string& title, std::string& folder, std::string& name);
int browse_save_file(bool folder_mode, const std::string& title, std::string& folder, std::string& name);
