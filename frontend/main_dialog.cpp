// The main dialog's roads and the run host (see main_dialog.h). The window
// calls in here for every button, key and edit event; the interpreter reaches
// the window through this object as its front-end port.
#include "frontend/main_dialog.h"

#include <unistd.h>

#include <cstdio>

#include "frontend/editor_launch.h"
#include "frontend/help_links.h"
#include "session/recent_lists.h"
#include "frontend/settings.h"
#include "frontend/startup.h"
#include "session/working_folder.h"
#include "graph/graph_window.h"
#include "interpreter/host_api.h"
#include "interpreter/program_buffer.h"
#include "platform/process.h"

namespace {

constexpr std::size_t typed_line_max = 255;
constexpr std::size_t path_field_max = 259;

std::string strip_crlf(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

std::string combined(const std::string& folder, const std::string& name) {
  std::string out;
  if (path_combine(out, folder, name) < 0) return name;
  return out;
}

std::string display_form(const std::string& folder, const std::string& name) {
  std::string out;
  path_display_form(folder, name, out);
  return out;
}

// One banner line centred on an 80-column line.
std::string centred(std::string_view text) {
  std::string line;
  if (!text.empty() && text.size() < 80) line.assign((80 - text.size()) / 2, ' ');
  line += text;
  line += '\n';
  return line;
}

// What a road printed outside a run shows at once, when the road returns.
struct output_flush_on_return {
  MainDialog& dialog;
  ~output_flush_on_return() { dialog.flush_output(); }
};

recent_list* list_for(int control) {
  switch (control) {
    case IDC_WORKING_DIR: return &recent_working_dirs;
    case IDC_SOURCE_PROGRAM: return &recent_source_programs;
    case IDC_LOG_FILE: return &recent_log_files;
    case IDC_COMMAND: return &command_history;
    default: return nullptr;
  }
}

}  // namespace

int edit_field_index(int control) {
  switch (control) {
    case IDC_WORKING_DIR: return 0;
    case IDC_SOURCE_PROGRAM: return 1;
    case IDC_LOG_FILE: return 2;
    case IDC_COMMAND: return 3;
    default: return -1;
  }
}

// ---------------------------------------------------------------- run host

bool RunHost::create() {
  if (host_init() < 0) {
    init_failed_ = true;
    return false;
  }
  std::string site = help_address(help_setting_web_site);
  const std::string lines[9] = {
      "",
      "Tovarelle BASIC for Linux, version " + std::string(TOVARELLE_VERSION),
      "",
      "Free to use for calculation, data handling and graphing,",
      "provided as it is, without warranty of any kind.",
      "",
      "New here? Type HELP 2 or press Help: \"Introduction to Tovarelle\".",
      "",
      site.empty() ? std::string("Type a statement below, or name a program and press Run.") : "Web site: " + site,
  };
  for (const std::string& line : lines) dialog_.print_text(centred(line));
  return true;
}

void RunHost::refuse() {
  // The stores were never made: nothing may run, but the dialog stays usable.
  dialog_.print_text("Initialization Error.\n");
  dialog_.run_finished();
}

void RunHost::run_program(bool step) {
  if (init_failed_) return refuse();
  if (host_is_busy()) return;
  // The folder goes back here after the run: a CHDIR lasts for the run only.
  run_start_folder = path_current_directory();
  host_run_program_file(source_file_path, step);
  if (!host_is_busy()) dialog_.run_finished();
}

void RunHost::run_command(const std::string& line) {
  if (init_failed_) return refuse();
  if (host_is_busy()) return;
  host_run_command_line(line);
  dialog_.run_finished();
}

// Error 215 names the editor that could not be started.
void RunHost::open_editor(const std::string& path, bool reuse) {
  if (editor_open(path, reuse) < 0) host_report_error(215, "Unable to Launch " + editor_command(path).front());
}

void RunHost::edit_source() { open_editor(source_file_path, true); }
void RunHost::view_log() { open_editor(log_file_full_path, false); }

int RunHost::clear_screen() {
  host_reset_screen_channel();
  return dialog_.clear_output();
}

// ---------------------------------------------------------------- dialog

MainDialog::MainDialog(DialogControls& controls) : controls_(controls), run_host_(*this) {}

MainDialog::~MainDialog() {
  if (installed_) {
    install_frontend_port(nullptr);
    install_working_folder_ui(nullptr);
    settings_install_teller(nullptr);
  }
}

void MainDialog::init(bool autorun) {
  output_buffer_init();
  install_frontend_port(this);
  install_working_folder_ui(this);
  installed_ = true;
  show_paths();
  update_log_widgets();
  run_host_.create();
  if (!command_line_program_refused.empty()) {
    // The program named on the command line made too long a path.
    host_report_error(path_error_code);
    print_text(command_line_program_refused + "\n");
  }
  run_finished();
  // Settings failures (also those of the start, which waited) in a message box.
  settings_install_teller([this](const std::string& text) { message(text, "Tovarelle"); });
  if (autorun) controls_.post([this] { command(IDC_RUN); });
}

void MainDialog::show_paths() {
  controls_.set_text(IDC_WORKING_DIR, working_folder);
  controls_.check(IDC_USE_WORKING_DIR, use_working_dir != 0);
  // The current directory is the working folder whether or not "Use Working
  // Dir." is ticked (the tick only changes how paths are shown): a run goes
  // back to the folder that was current when it started, and that must be
  // the working folder, not the folder the shell started us in.
  if (!working_folder.empty() && chdir(working_folder.c_str()) != 0) {
    // A folder that went away: relative names then resolve against the
    // current directory until the user picks another.
  }
  controls_.set_text(IDC_SOURCE_PROGRAM, display_form(src_pgm_path, src_pgm_name));
  source_file_path = combined(src_pgm_path, src_pgm_name);
  controls_.set_text(IDC_LOG_FILE, display_form(log_file_path, log_file_name));
}

void MainDialog::update_log_widgets() {
  controls_.set_text(IDC_CREATE_LOG, "Create Log File:");
  controls_.check(IDC_CREATE_LOG, create_log_file != 0);
  controls_.enable(IDC_LOG_FILE, create_log_file != 0);
  controls_.enable(IDC_BROWSE_LOG, create_log_file != 0);
  controls_.enable(IDC_LOG_GROUP, true);
  controls_.enable(IDC_CREATE_LOG, true);
  controls_.enable(IDC_SOURCE_PROGRAM, true);
  controls_.enable(IDC_BROWSE_SOURCE, true);
}

// A pending check of an edit that was left is carried out at the next
// command, unless the command is the field's own Browse button or Exit.
// Returns true when it ran (the command itself is then not carried out).
bool MainDialog::deferred_check(int control) {
  if (deferred_validation_ <= 0) return false;
  static const int own_browse[4] = {0, IDC_BROWSE_LOG, IDC_BROWSE_SOURCE, IDC_BROWSE_WORKDIR};
  int pending = deferred_validation_;
  deferred_validation_ = 0;
  if (control == own_browse[pending] || control == IDC_EXIT) return false;
  if (pending == 1) refill_empty_field(IDC_LOG_FILE);
  if (pending == 2) refill_empty_field(IDC_SOURCE_PROGRAM);
  if (pending == 3) {
    std::string text = strip_crlf(controls_.text(IDC_WORKING_DIR));
    if (text.size() > path_field_max) text.resize(path_field_max);
    if (set_working_directory(text) == -1) controls_.focus(IDC_WORKING_DIR);
    message_box_active_ = false;
  }
  return true;
}

void MainDialog::command(int control) {
  output_flush_on_return flush{*this};
  if (deferred_check(control)) return;
  switch (control) {
    case IDC_RUN: return run_road();
    case IDC_RUN_STEP: return run_step_road();
    case IDC_KILL: return host_request_kill();
    case IDC_EXIT: return exit_road();
    case IDC_EDIT_SOURCE:
      source_file_path = combined(src_pgm_path, src_pgm_name);
      return run_host_.edit_source();
    case IDC_VIEW_LOG:
      log_close();
      log_file_full_path = combined(log_file_path, log_file_name);
      return run_host_.view_log();
    case IDC_CLEAR_SCREEN: run_host_.clear_screen(); return;
    case IDC_CUSTOMIZE:
      controls_.enable(IDC_CUSTOMIZE, false);
      controls_.open_customize();
      controls_.enable(IDC_CUSTOMIZE, true);
      return;
    case IDC_HELP: return controls_.open_help();
    case IDC_BROWSE_SOURCE: {
      if (use_working_dir) src_pgm_path = working_folder;
      std::string chosen;
      if (controls_.choose_path(CHOOSE_OPEN_FILE, "Select the Basic Program", combined(src_pgm_path, src_pgm_name),
                                chosen) &&
          path_resolve_split(chosen, src_pgm_path, src_pgm_name) >= 0) {
        controls_.set_text(IDC_SOURCE_PROGRAM, display_form(src_pgm_path, src_pgm_name));
        recent_list_push_path(recent_source_programs, combined(src_pgm_path, src_pgm_name), true);
      }
      controls_.focus(IDC_SOURCE_PROGRAM);
      return;
    }
    case IDC_BROWSE_LOG: {
      std::string chosen;
      if (controls_.choose_path(CHOOSE_SAVE_FILE, "Select the Log File", combined(log_file_path, log_file_name),
                                chosen) &&
          path_resolve_split(chosen, log_file_path, log_file_name) >= 0) {
        controls_.set_text(IDC_LOG_FILE, display_form(log_file_path, log_file_name));
        recent_list_push_path(recent_log_files, combined(log_file_path, log_file_name), true);
      }
      return;
    }
    case IDC_BROWSE_WORKDIR: {
      std::string chosen;
      if (controls_.choose_path(CHOOSE_FOLDER, "Select the Working Folder", working_folder, chosen))
        set_working_directory(chosen);
      return;
    }
    case IDC_CREATE_LOG:
      create_log_file = controls_.checked(IDC_CREATE_LOG) ? 1 : 0;
      return update_log_widgets();
    case IDC_USE_WORKING_DIR: return apply_use_working_dir();
    default: return;
  }
}

void MainDialog::run_road() {
  run_road_stepping(false);
}

void MainDialog::run_road_stepping(bool stepping) {
  controls_.set_text(IDC_COMMAND, "");
  controls_.set_text(IDC_RUN_STEP, "Step");
  if (host_stepping()) {
    // Continue: the paused run goes on freely.
    controls_.set_text(IDC_RUN, "Run");
    controls_.enable(IDC_RUN, false);
    controls_.enable(IDC_CLEAR_SCREEN, false);
    if (host_input_waiting()) {
      controls_.set_text(IDC_COMMAND_LABEL, "Data:");
      controls_.focus(IDC_COMMAND);
    } else {
      controls_.enable(IDC_COMMAND, false);
      controls_.set_text(IDC_COMMAND_LABEL, "Command:");
    }
    host_request_continue();
    if (host_is_busy()) return;
  }
  if (host_is_busy()) return;  // never a second run inside a running one
  if (log_open() < 0) {
    run_finished();  // nothing runs: the buttons go back to idle
    return;
  }
  host_print_banner("\n----- Beginning Program Execution---------------------------------------------\n");
  source_file_path = combined(src_pgm_path, src_pgm_name);
  path_split(source_file_path, program_folder, program_file_name, PATH_BASE_WORKING);
  if (!stepping) {
    controls_.enable(IDC_RUN, false);
    controls_.enable(IDC_CLEAR_SCREEN, false);
  }
  controls_.enable(IDC_VIEW_LOG, false);
  controls_.enable(IDC_KILL, true);
  controls_.enable(IDC_COMMAND, false);
  run_host_.run_program(stepping);
}

void MainDialog::run_step_road() {
  host_request_step();
  sound_stop();
  if (host_key_waiting()) {
    controls_.set_text(IDC_RUN, "Continue");
    controls_.set_text(IDC_COMMAND_LABEL, "Stepping -- INKEY$:");
    controls_.enable(IDC_COMMAND, false);
    controls_.enable(IDC_RUN_STEP, false);
    return;
  }
  if (host_computing()) {
    controls_.enable(IDC_RUN, false);
    controls_.enable(IDC_RUN_STEP, false);
    controls_.enable(IDC_COMMAND, false);
    return;
  }
  controls_.enable(IDC_RUN, true);
  controls_.enable(IDC_CLEAR_SCREEN, true);
  controls_.enable(IDC_COMMAND, true);
  controls_.set_text(IDC_RUN, "Continue");
  controls_.set_text(IDC_RUN_STEP, "Step");
  controls_.set_text(IDC_COMMAND_LABEL, host_input_waiting() ? "Stepping -- Data:" : "Stepping -- Command:");
  controls_.focus(IDC_COMMAND);
  if (!host_is_busy()) run_road_stepping(true);
}

void MainDialog::typed_line() {
  output_flush_on_return flush{*this};
  command_history.browse_pos = command_history.size;
  std::string line = strip_crlf(controls_.text(IDC_COMMAND));
  if (line.size() > typed_line_max) line.resize(typed_line_max);
  command_history_push(line);
  controls_.set_text(IDC_COMMAND, "");
  if (host_input_waiting()) {
    host_give_input_reply(line);
    controls_.enable(IDC_COMMAND, false);
    return;
  }
  append_output(line + "\n");
  if (host_stepping() && host_is_busy()) {
    host_queue_stepping_command(line);
    return;
  }
  if (host_is_busy()) return;  // a line typed during a free run has nothing to join
  if (log_open() < 0) {
    run_finished();
    return;
  }
  controls_.enable(IDC_RUN, false);
  controls_.enable(IDC_CLEAR_SCREEN, false);
  controls_.enable(IDC_VIEW_LOG, false);
  controls_.enable(IDC_COMMAND, false);
  controls_.enable(IDC_KILL, true);  // a typed endless loop can be stopped
  run_host_.run_command(line);
}

void MainDialog::exit_road() {
  if (exiting_) return;
  exiting_ = true;
  host_request_kill();
  flush_output();
  graph_window_destroy();
  log_close();
  reg_save_settings();
  controls_.end_dialog();
}

bool MainDialog::key_typed(unsigned char key) {
  if (key == '\t') return false;
  return host_give_key(key);
}

// ---------------------------------------------------------------- edits

void MainDialog::refill_empty_field(int control) {
  bool log = control == IDC_LOG_FILE;
  message_box_active_ = true;
  controls_.message(log ? "Please specify a name for the Log File or uncheck the \"Create Log File\" box"
                        : "Please specify a name for the BASIC Program File",
                    "Tovarelle");
  message_box_active_ = false;
  const std::string* newest = recent_list_newest(log ? recent_log_files : recent_source_programs);
  std::string fill = newest ? *newest : (log ? "logfile.log" : "program.txt");
  std::string& folder = log ? log_file_path : src_pgm_path;
  std::string& name = log ? log_file_name : src_pgm_name;
  path_resolve_split(fill, folder, name);
  controls_.set_text(control, display_form(folder, name));
  controls_.focus(control);
  controls_.select_all(control);
}

void MainDialog::validate_edit(int control, bool enter) {
  if (message_box_active_ || exiting_) return;
  std::string text = strip_crlf(controls_.text(control));
  std::size_t limit = control == IDC_SOURCE_PROGRAM ? path_field_max - 1 : path_field_max;
  if (text.size() > limit) text.resize(limit);
  bool keep_focus = false;
  if (control == IDC_WORKING_DIR) {
    if (!enter) {
      deferred_validation_ = 3;
      return;
    }
    keep_focus = set_working_directory(text) == -1;
  } else {
    bool log = control == IDC_LOG_FILE;
    if (text.empty()) {
      if (!enter) {
        deferred_validation_ = log ? 1 : 2;
        return;
      }
      refill_empty_field(control);
      return;
    }
    std::string& folder = log ? log_file_path : src_pgm_path;
    std::string& name = log ? log_file_name : src_pgm_name;
    if (path_resolve_split(text, folder, name) < 0) {
      keep_focus = true;
    } else {
      controls_.set_text(control, display_form(folder, name));
      recent_list_push_path(log ? recent_log_files : recent_source_programs, combined(folder, name), true);
      if (!log) source_file_path = combined(folder, name);
    }
  }
  if (!enter) return;
  if (keep_focus) {
    controls_.focus(control);
    return;
  }
  // Checked: the focus moves on, and leaving the field that way needs no
  // second check (a deferred one would swallow the next click).
  moving_on_ = true;
  controls_.focus_next(control);
  moving_on_ = false;
}

void MainDialog::edit_entered(int control) { validate_edit(control, true); }

void MainDialog::edit_left(int control) {
  if (!moving_on_) validate_edit(control, false);
}

void MainDialog::edit_focused(int control) { deferred_check(control); }

bool MainDialog::browse_recent(int control, int direction) {
  recent_list* list = list_for(control);
  if (list == nullptr || list->first_used >= list->size) return false;
  int pos = list->browse_pos + direction;
  if (pos < list->first_used) pos = list->first_used;
  if (pos < 0) pos = 0;
  if (pos > list->size - 1) pos = list->size - 1;
  list->browse_pos = pos;
  const std::string& slot = list->slots[static_cast<std::size_t>(pos)];
  if (control == IDC_SOURCE_PROGRAM || control == IDC_LOG_FILE) {
    bool log = control == IDC_LOG_FILE;
    std::string& folder = log ? log_file_path : src_pgm_path;
    std::string& name = log ? log_file_name : src_pgm_name;
    if (path_resolve_split(slot, folder, name) >= 0) controls_.set_text(control, display_form(folder, name));
    if (!log) source_file_path = combined(folder, name);
  } else {
    controls_.set_text(control, slot);
  }
  return true;
}

// ---------------------------------------------------------------- front-end port

// Printed text goes into the buffer (and the log's stream) at once but
// reaches the box in batches: the statement loop's pump, every wait, the end
// of a run, Kill and Exit flush it; a posted flush covers the waits that run
// an event loop of their own (modal dialogs), so nothing printed lingers
// while the window is idle.
void MainDialog::append_output(std::string_view text) {
  if (output_append_text(text, &pending_) < 0) return;
  if (!flush_posted_) {
    flush_posted_ = true;
    controls_.post([this] {
      flush_posted_ = false;
      flush_output();
    });
  }
}

void MainDialog::flush_output() {
  if (pending_.trimmed) controls_.output_replaced(output_display_text(output_buffer.text));
  else if (!pending_.added.empty()) controls_.output_added(output_display_text(pending_.added));
  pending_.clear();
  log_flush();
}

void MainDialog::print_text(std::string_view text) { append_output(text); }

void MainDialog::set_control_text(int control, std::string_view text) {
  controls_.set_text(control, std::string(text));
  if (control == IDC_COMMAND_LABEL) controls_.set_reply_colour(host_input_waiting());
}

void MainDialog::enable_control(int control, bool enabled) {
  controls_.enable(control, enabled);
  if (control == IDC_COMMAND) controls_.set_reply_colour(host_input_waiting());
}

void MainDialog::check_control(int control, bool checked) { controls_.check(control, checked); }
void MainDialog::focus_control(int control) { controls_.focus(control); }

// The statement loop's pump: cheap until a slice has passed.
bool MainDialog::pump_messages() {
  if (!slice_.due()) return !exiting_;
  return pump_now();
}

bool MainDialog::pump_now() {
  flush_output();
  bool open = controls_.pump();
  slice_.pumped();
  return open && !exiting_;
}

// Every wait shows what was printed before it and dispatches at once.
bool MainDialog::wait_for_event(int timeout_ms) {
  flush_output();
  bool open = controls_.wait(timeout_ms);
  slice_.pumped();
  return open && !exiting_;
}

void MainDialog::run_finished() {
  flush_output();
  controls_.set_text(IDC_RUN, "Run");
  controls_.set_text(IDC_RUN_STEP, "Run/Step");
  controls_.enable(IDC_RUN, true);
  controls_.enable(IDC_RUN_STEP, true);
  controls_.enable(IDC_CLEAR_SCREEN, true);
  controls_.enable(IDC_VIEW_LOG, true);
  controls_.enable(IDC_KILL, false);
  controls_.enable(IDC_EXIT, true);
  controls_.enable(IDC_COMMAND, true);
  controls_.set_text(IDC_COMMAND_LABEL, "Command:");
  controls_.set_reply_colour(false);
  controls_.focus(IDC_COMMAND);
}

int MainDialog::clear_output() {
  if (output_buffer_empty() < 0) return -1;
  pending_.clear();
  log_flush();
  controls_.output_replaced("");
  return 0;
}

void MainDialog::minimize_window() { controls_.minimize(); }
std::string MainDialog::control_text(int control) {
  if (control == IDC_OUTPUT) flush_output();
  return controls_.text(control);
}

// ---------------------------------------------------------------- working-folder questions

void MainDialog::message(const std::string& text, const char* title) {
  bool was_active = message_box_active_;
  message_box_active_ = true;
  controls_.message(text, title);
  message_box_active_ = was_active;
}

bool MainDialog::ask_yes_no(const std::string& text, const char* title) {
  bool was_active = message_box_active_;
  message_box_active_ = true;
  bool yes = controls_.ask_yes_no(text, title);
  message_box_active_ = was_active;
  return yes;
}

void MainDialog::show_working_folder(const std::string& text, bool select) {
  controls_.set_text(IDC_WORKING_DIR, text);
  if (select) controls_.select_all(IDC_WORKING_DIR);
}

bool MainDialog::use_working_dir_ticked() { return controls_.checked(IDC_USE_WORKING_DIR); }
void MainDialog::show_source_program(const std::string& text) { controls_.set_text(IDC_SOURCE_PROGRAM, text); }
void MainDialog::show_log_file(const std::string& text) { controls_.set_text(IDC_LOG_FILE, text); }
