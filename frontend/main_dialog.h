// The main dialog's logic without Qt: its roads (Run, Run/Step, Continue,
// Kill, Exit, the typed line, the edits with their recent lists, Edit Source,
// View Log, Clear Screen), its button states, and the run host that runs
// programs and typed lines through the host API. A window (the Qt dialog, or
// a fake in tests) implements DialogControls and forwards its events here.
#pragma once
#include <functional>
#include <string>

#include "frontend/output_buffer.h"
#include "session/paths.h"
#include "frontend/pump_slice.h"
#include "ports/frontend_port.h"

// What the logic needs from the window.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void set_text(int control, const std::string& text) = 0;
  virtual std::string text(int control) = 0;
  virtual void enable(int control, bool enabled) = 0;
  virtual void check(int control, bool checked) = 0;
  virtual bool checked(int control) = 0;
  virtual void focus(int control) = 0;
  // The focus to the control after this one in tab order, its text selected.
  virtual void focus_next(int control) = 0;
  virtual void select_all(int control) = 0;
  // The command box's background: pink while INPUT waits for its reply.
  virtual void set_reply_colour(bool waiting) = 0;
  // The output box: added text at its end, or the whole text anew.
  virtual void output_added(const std::string& display_text) = 0;
  virtual void output_replaced(const std::string& display_text) = 0;
  virtual void message(const std::string& text, const std::string& title) = 0;
  virtual bool ask_yes_no(const std::string& text, const std::string& title) = 0;
  // A file or folder chooser; true with the chosen path on OK.
  virtual bool choose_path(int kind, const std::string& title, const std::string& start, std::string& chosen) = 0;
  // Runs call later from the event loop (a posted message).
  virtual void post(std::function<void()> call) = 0;
  // The event pump: dispatch what is pending / wait for the next event.
  // False once the window is closing.
  virtual bool pump() = 0;
  virtual bool wait(int timeout_ms) = 0;
  virtual void open_customize() = 0;
  virtual void open_help() = 0;
  virtual void minimize() = 0;
  virtual void restore_and_raise() = 0;
  virtual void end_dialog() = 0;  // closes the window (the Exit road's end)
};

enum choose_kind : int { CHOOSE_OPEN_FILE = 0, CHOOSE_SAVE_FILE = 1, CHOOSE_FOLDER = 2 };

// The run host: the interpreter started once, the start banner, runs and
// typed lines, the editor, Clear Screen. Every run request ends with the
// dialog's idle state.
class RunHost {
 public:
  explicit RunHost(class MainDialog& dialog) : dialog_(dialog) {}
  // Starts the interpreter and prints the banner. False after "Initialization
  // Error.": every later request then answers with that error.
  bool create();
  void run_program(bool step);
  void run_command(const std::string& line);
  void edit_source();
  void view_log();
  int clear_screen();
  bool init_failed() const { return init_failed_; }

 private:
  void refuse();
  void open_editor(const std::string& path, bool reuse);
  MainDialog& dialog_;
  bool init_failed_ = false;
};

class MainDialog final : public FrontendPort, public WorkingFolderUi {
 public:
  explicit MainDialog(DialogControls& controls);
  ~MainDialog() override;
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  // The dialog's start: output buffer, paths, the run host and its banner,
  // idle state; a program named on the command line is posted to run.
  void init(bool autorun);

  // Buttons and keys (control ids of ports/control_ids.h).
  void command(int control);
  void typed_line();                       // Enter in the command box
  void edit_entered(int control);          // Enter in 1081, 1083, 1085
  void edit_left(int control);             // focus left 1081, 1083, 1085
  // The focus came into an edit (the fields, the command box, the output
  // box): like any command, it carries out a pending check of a field left.
  void edit_focused(int control);
  // Up (-1) or Down (+1) in an edit with a recent list; true when the field changed.
  bool browse_recent(int control, int direction);
  void exit_road();
  bool exiting() const { return exiting_; }
  // A key typed while INKEY$ waits; true when it was taken.
  bool key_typed(unsigned char key);

  RunHost& run_host() { return run_host_; }
  DialogControls& controls() { return controls_; }
  void show_paths();
  // The pump's time slices (tests give it a clock of their own).
  PumpSlice& pump_slice() { return slice_; }
  // Hands the printed text collected since the last call to the output box
  // and writes out the log: at every pump, before every wait, at the end of
  // a run, on Kill and Exit.
  void flush_output();

  // FrontendPort
  void print_text(std::string_view text) override;
  void set_control_text(int control, std::string_view text) override;
  void enable_control(int control, bool enabled) override;
  void check_control(int control, bool checked) override;
  void focus_control(int control) override;
  bool pump_messages() override;
  bool wait_for_event(int timeout_ms) override;
  void run_finished() override;
  int clear_output() override;
  void minimize_window() override;
  std::string control_text(int control) override;
  void destroy_control(int control) override {}

  // WorkingFolderUi
  void message(const std::string& text, const char* title) override;
  bool ask_yes_no(const std::string& text, const char* title) override;
  void show_working_folder(const std::string& text, bool select) override;
  bool use_working_dir_ticked() override;
  void show_source_program(const std::string& text) override;
  void show_log_file(const std::string& text) override;

 private:
  void run_road();
  void run_road_stepping(bool stepping);
  void run_step_road();
  void append_output(std::string_view text);
  bool pump_now();
  bool deferred_check(int control);
  void validate_edit(int control, bool enter);
  void refill_empty_field(int control);
  void update_log_widgets();

  DialogControls& controls_;
  RunHost run_host_;
  int deferred_validation_ = 0;  // 0 none, 1 log name empty, 2 source name empty, 3 working folder
  bool message_box_active_ = false;
  bool moving_on_ = false;  // Enter moves the focus on: that leave is no new check
  bool exiting_ = false;
  bool installed_ = false;
  PumpSlice slice_;
  // Printed text not yet handed to the box (trimmed: the box must take the
  // whole buffer anew), and whether a flush has been posted for it.
  output_append_result pending_;
  bool flush_posted_ = false;
};

// The window's edit fields that keep a recent list.
int edit_field_index(int control);  // 0 working folder, 1 source, 2 log, 3 command box; -1 other
