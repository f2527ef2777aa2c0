// The main dialog's button and label states through a run, over a fake
// control layer: idle, running, stepping, waiting for INPUT, killed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "frontend/main_dialog.h"
#include "frontend/output_buffer.h"
#include "session/paths.h"
#include "session/recent_lists.h"
#include "frontend/settings.h"
#include "session/size_settings.h"
#include "frontend/startup.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"

namespace {

class FakeControls final : public DialogControls {
 public:
  std::map<int, std::string> texts;
  std::map<int, bool> enabled;
  std::map<int, bool> checks;
  std::string output;
  std::vector<std::string> messages;
  bool pink = false;
  bool ended = false;
  bool minimized = false;
  int pumps = 0;
  bool waiting = false;           // the pump in progress is a wait's
  std::function<void()> on_pump;  // what the user does while the run pumps
  std::vector<std::function<void()>> posted;

  void set_text(int c, const std::string& t) override { texts[c] = t; }
  std::string text(int c) override { return texts[c]; }
  void enable(int c, bool e) override { enabled[c] = e; }
  void check(int c, bool on) override { checks[c] = on; }
  bool checked(int c) override { return checks[c]; }
  void focus(int) override {}
  std::function<void(int)> on_focus_next;  // the window moving the focus on
  void focus_next(int c) override {
    if (on_focus_next) on_focus_next(c);
  }
  void select_all(int) override {}
  void set_reply_colour(bool waiting) override { pink = waiting; }
  void output_added(const std::string& t) override { output += t; }
  void output_replaced(const std::string& t) override { output = t; }
  void message(const std::string& t, const std::string&) override { messages.push_back(t); }
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
  bool choose_path(int, const std::string&, const std::string&, std::string&) override { return false; }
  void post(std::function<void()> call) override { posted.push_back(std::move(call)); }
  bool pump() override {
    ++pumps;
    if (on_pump) {
      auto act = on_pump;  // the action may replace itself
      act();
    }
    return !ended;
  }
  bool wait(int) override {
    waiting = true;
    bool open = pump();
    waiting = false;
    return open;
  }
  void open_customize() override {}
  void open_help() override {}
  void minimize() override { minimized = true; }
  void restore_and_raise() override {}
  void end_dialog() override { ended = true; }

  // The states the table compares: captions, enabled flags, label, colour.
  std::string state() {
    auto e = [&](int c) { return enabled[c] ? "E" : "D"; };
    return "run=" + texts[IDC_RUN] + "/" + e(IDC_RUN) + " step=" + texts[IDC_RUN_STEP] + "/" + e(IDC_RUN_STEP) +
           " kill=" + e(IDC_KILL) + " clear=" + e(IDC_CLEAR_SCREEN) + " log=" + e(IDC_VIEW_LOG) +
           " box=" + e(IDC_COMMAND) + " exit=" + e(IDC_EXIT) + " label=" + texts[IDC_COMMAND_LABEL] +
           (pink ? " pink" : "");
  }
};

class DialogStateTest : public ::testing::Test {
 protected:
  FakeControls controls;
  std::unique_ptr<MainDialog> dialog;
  std::string folder;

  std::string start_directory;

  void SetUp() override {
    start_directory = path_current_directory();  // the dialog changes to its working folder
    console_mode = 0;
    size_settings_reset_current();
    output_buffer = output_buffer_state{};
    create_log_file = 0;
    use_working_dir = 0;
    folder = ::testing::TempDir();
    path_trim_trailing(folder);
    working_folder = folder;
    dialog = std::make_unique<MainDialog>(controls);
    dialog->init(false);
  }
  void TearDown() override {
    controls.on_pump = nullptr;
    dialog.reset();
    if (::chdir(start_directory.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << start_directory;
  }
  void use_program(const std::string& name, const std::string& text) {
    std::ofstream(folder + "/" + name) << text;
    src_pgm_path = folder;
    src_pgm_name = name;
  }
};

const char* const idle_state =
    "run=Run/E step=Run/Step/E kill=D clear=E log=E box=E exit=E label=Command:";

TEST_F(DialogStateTest, StatesThroughRuns) {
  struct row {
    const char* name;
    const char* program;
    int button;                           // pressed to start
    std::function<bool()> at;             // the moment to look at the controls
    const char* expected;                 // the state then
    std::function<void(MainDialog&)> go;  // what the user does next
    const char* output;                   // expected in the output box at the end
  };
  const row rows[] = {
      {"running", "i = 0\nwhile 1\ni = i + 1\nwend\n", IDC_RUN, [] { return host_is_busy(); },
       "run=Run/D step=Step/E kill=E clear=D log=D box=D exit=E label=Command:",
       [](MainDialog& d) { d.command(IDC_KILL); }, "User interrupted program"},
      {"stepping pause", "print \"one\"\nprint \"two\"\n", IDC_RUN_STEP, [] { return host_stepping(); },
       "run=Continue/E step=Step/E kill=E clear=E log=D box=E exit=E label=Stepping -- Command:",
       [](MainDialog& d) { d.command(IDC_RUN); }, "two"},
      {"waiting for INPUT", "input \"n\"; n\nprint n * 2\n", IDC_RUN, [] { return host_input_waiting(); },
       "run=Run/D step=Step/E kill=E clear=D log=D box=E exit=D label=Data: pink",
       [](MainDialog& d) {
         d.controls().set_text(IDC_COMMAND, "21");
         d.typed_line();
       },
       "42"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    use_program(std::string("state_") + std::to_string(&r - rows) + ".bas", r.program);
    controls.output.clear();
    std::string seen;
    bool acted = false;
    controls.on_pump = [&] {
      if (acted || !r.at()) return;
      acted = true;
      seen = controls.state();
      r.go(*dialog);
    };
    dialog->command(r.button);
    controls.on_pump = nullptr;
    EXPECT_TRUE(acted);
    EXPECT_EQ(seen, r.expected);
    EXPECT_EQ(controls.state(), idle_state);  // back to idle after every run
    EXPECT_NE(controls.output.find(r.output), std::string::npos) << controls.output;
    EXPECT_FALSE(host_is_busy());
  }
}

TEST_F(DialogStateTest, IdleAfterStartAndAfterTypedLines) {
  EXPECT_EQ(controls.state(), idle_state);
  EXPECT_NE(controls.output.find("Tovarelle BASIC for Linux"), std::string::npos);
  controls.output.clear();
  for (const char* line : {"print 6 * 7", "list", "10 print 1", ""}) {
    controls.texts[IDC_COMMAND] = line;
    dialog->typed_line();
    EXPECT_EQ(controls.state(), idle_state) << line;
    EXPECT_EQ(controls.texts[IDC_COMMAND], "") << line;
  }
  // Each line is echoed, then its output; a statement number is refused.
  EXPECT_EQ(controls.output.rfind("print 6 * 7\n", 0), 0u) << controls.output;
  EXPECT_LT(controls.output.find("42"), controls.output.find("\nlist\n"));
  EXPECT_NE(controls.output.find("Statement number invalid in command line."), std::string::npos);
  // Every line went into the history, the empty one too; Up shows the newest.
  EXPECT_EQ(*recent_list_newest(command_history), "");
  EXPECT_TRUE(dialog->browse_recent(IDC_COMMAND, -1));
  EXPECT_TRUE(dialog->browse_recent(IDC_COMMAND, -1));
  EXPECT_EQ(controls.texts[IDC_COMMAND], "10 print 1");
  EXPECT_TRUE(dialog->browse_recent(IDC_COMMAND, +1));
  EXPECT_TRUE(dialog->browse_recent(IDC_COMMAND, +1));
  EXPECT_EQ(controls.texts[IDC_COMMAND], "");
}

TEST_F(DialogStateTest, LineTypedWhileSteppingRunsBeforeTheNextStatement) {
  use_program("stepping_line.bas", "a = 5\nprint \"after\"; a\n");
  int stage = 0;
  controls.on_pump = [&] {
    if (!host_stepping() || host_input_waiting()) return;
    if (stage == 0) {
      stage = 1;
      controls.texts[IDC_COMMAND] = "print \"typed\"; a + 1";
      dialog->typed_line();
    } else if (stage == 1 && controls.output.find("typed") != std::string::npos) {
      stage = 2;
      dialog->command(IDC_RUN);  // Continue
    }
  };
  dialog->command(IDC_RUN_STEP);
  controls.on_pump = nullptr;
  EXPECT_EQ(stage, 2);
  std::size_t typed = controls.output.find("typed");
  ASSERT_NE(typed, std::string::npos) << controls.output;
  EXPECT_LT(typed, controls.output.find("after"));
  EXPECT_EQ(controls.state(), idle_state);
}

TEST_F(DialogStateTest, ExitDuringARunKillsItAndEndsTheDialog) {
  use_program("exit_loop.bas", "while 1\nwend\n");
  controls.on_pump = [&] {
    if (host_is_busy()) dialog->command(IDC_EXIT);
  };
  dialog->command(IDC_RUN);
  EXPECT_TRUE(controls.ended);
  EXPECT_TRUE(dialog->exiting());
  EXPECT_FALSE(host_is_busy());
}

TEST_F(DialogStateTest, EmptySourceNameIsRefilledAndDeferredCheckSwallowsTheClick) {
  recent_list_clear(recent_source_programs);
  controls.texts[IDC_SOURCE_PROGRAM] = "";
  dialog->edit_left(IDC_SOURCE_PROGRAM);
  EXPECT_TRUE(controls.messages.empty());
  dialog->command(IDC_RUN);  // the pending check runs instead of Run
  ASSERT_EQ(controls.messages.size(), 1u);
  EXPECT_EQ(controls.messages[0], "Please specify a name for the BASIC Program File");
  EXPECT_EQ(src_pgm_name, "program.txt");
  EXPECT_EQ(controls.output.find("Beginning Program Execution"), std::string::npos);
  // The field's own Browse button does not trigger the check.
  controls.texts[IDC_LOG_FILE] = "";
  dialog->edit_left(IDC_LOG_FILE);
  dialog->command(IDC_BROWSE_LOG);
  EXPECT_EQ(controls.messages.size(), 1u);
}

}  // namespace

namespace {

// Kill during one long statement: the computation's own polls see it.
TEST_F(DialogStateTest, KillStopsAMillionDigitComputationWithinASecond) {
  struct row {
    const char* name;
    const char* program;
  };
  const row rows[] = {
      {"pi to a million digits", "float 1000000\nlong x\nx = longpi\nprint \"finished\"\n"},
      {"e to a million digits", "float 1000000\nlong x\nx = longe\nprint \"finished\"\n"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    use_program("kill_long.bas", r.program);
    controls.output.clear();
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now(), killed{};
    controls.on_pump = [&] {
      if (killed != std::chrono::steady_clock::time_point{}) return;
      if (!host_computing() || std::chrono::steady_clock::now() - started < std::chrono::milliseconds(300)) return;
      killed = std::chrono::steady_clock::now();
      dialog->command(IDC_KILL);
    };
    dialog->command(IDC_RUN);
    auto ended = std::chrono::steady_clock::now();
    controls.on_pump = nullptr;
    ASSERT_NE(killed, std::chrono::steady_clock::time_point{}) << "the computation never pumped";
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(ended - killed).count(), 1000);
    EXPECT_NE(controls.output.find("User interrupted program"), std::string::npos) << controls.output;
    EXPECT_EQ(controls.output.find("finished"), std::string::npos);
    EXPECT_EQ(controls.state(), idle_state);
  }
}

}  // namespace

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Edit Source reuses an editor still open on the file; View Log always starts
// a new one; an editor that cannot start is error 215 in the output box.
TEST_F(DialogStateTest, EditorForSourceAndLog) {
  std::string record = folder + "/editor_calls.txt";
  std::string editor = folder + "/fake_editor.sh";
  std::ofstream(editor) << "#!/bin/sh\necho \"$2 $1\" >> " << record << "\nsleep 3\n";
  ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
  std::remove(record.c_str());
  ::setenv("VISUAL", (editor + " --wait").c_str(), 1);
  use_program("edited.bas", "print 1\n");
  log_file_path = folder;
  log_file_name = "viewed.log";
  dialog->command(IDC_EDIT_SOURCE);
  dialog->command(IDC_VIEW_LOG);
  dialog->command(IDC_VIEW_LOG);
  dialog->command(IDC_EDIT_SOURCE);  // the first editor still runs: no second one
  auto lines = [&] {
    std::string text = slurp(record);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  };
  for (int i = 0; i < 200 && lines() < 3; ++i) ::usleep(10000);
  ::usleep(100000);
  std::string calls = slurp(record);
  EXPECT_EQ(lines(), 3) << calls;
  EXPECT_NE(calls.find(folder + "/edited.bas --wait"), std::string::npos) << calls;
  EXPECT_NE(calls.find(folder + "/viewed.log --wait"), std::string::npos) << calls;
  EXPECT_EQ(controls.output.find("Unable to Launch"), std::string::npos);

  ::setenv("VISUAL", "/nonexistent/editor", 1);
  use_program("other.bas", "print 1\n");
  dialog->command(IDC_EDIT_SOURCE);
  // Error 215, naming the editor that was tried.
  EXPECT_NE(controls.output.find("ERROR - Unable to Launch /nonexistent/editor\n"), std::string::npos) << controls.output;
  ::unsetenv("VISUAL");
}

}  // namespace

namespace {

// DEBUG TESTROUTINE 1 minimises the window; 7 takes the texts of the
// dialog's controls 10 and 11, which this dialog does not have.
TEST_F(DialogStateTest, DebugTestRoutinesThatActOnTheWindow) {
  controls.texts[IDC_COMMAND] = "test_routine_desired = 1 : debug testroutine";
  dialog->typed_line();
  EXPECT_TRUE(controls.minimized);
  controls.output.clear();
  controls.texts[IDC_COMMAND] = "dummy$ = \"x\" : test_routine_desired = 7 : debug testroutine : print \"[\"; dummy$; dummy2$; \"]\"";
  dialog->typed_line();
  EXPECT_NE(controls.output.find("[]"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.output.find("ERROR"), std::string::npos) << controls.output;
}

// Settings failures reach the user in message boxes: those told at start,
// before the window existed, once it is up, and a failed save on Exit.
TEST_F(DialogStateTest, SettingsFailuresAreShownInMessageBoxes) {
  dialog.reset();
  settings_tell("The settings file was not read (test).");
  dialog = std::make_unique<MainDialog>(controls);
  dialog->init(false);
  EXPECT_EQ(controls.messages, std::vector<std::string>{"The settings file was not read (test)."});

  controls.messages.clear();
  int saved_key = settings_key;
  settings_key = 0;  // no store: nothing can be saved
  dialog->exit_road();
  settings_key = saved_key;
  ASSERT_EQ(controls.messages.size(), 1u);
  EXPECT_NE(controls.messages[0].find("settings"), std::string::npos) << controls.messages[0];
  EXPECT_TRUE(controls.ended);
}

}  // namespace

namespace {

void type_into(FakeControls& controls, MainDialog& dialog, const std::string& line) {
  controls.texts[IDC_COMMAND] = line;
  dialog.typed_line();
}

// RUN and LOAD typed into the command box start runs; typed in a stepping
// pause they would replace the paused program and are refused.
TEST_F(DialogStateTest, TypedRunAndLoad) {
  use_program("typed_run.bas", "a$ = \"ran42\"\nprint a$\n");
  src_pgm_name = "program.txt";  // the source field names another file
  controls.output.clear();
  type_into(controls, *dialog, "load \"typed_run.bas\"");
  EXPECT_NE(controls.output.find("Program successfully loaded. No errors"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.output.find("ran"), std::string::npos) << controls.output;
  type_into(controls, *dialog, "run");
  EXPECT_NE(controls.output.find("ran42"), std::string::npos) << controls.output;
  controls.output.clear();
  type_into(controls, *dialog, "run \"typed_run.bas\"");
  EXPECT_NE(controls.output.find("ran42"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.output.find("ERROR"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.state(), idle_state);

  use_program("paused.bas", "print \"one\"\nprint \"two\"\n");
  controls.output.clear();
  bool typed = false;
  controls.on_pump = [&] {
    if (!host_stepping()) return;
    if (!typed) {
      typed = true;
      type_into(controls, *dialog, "run \"typed_run.bas\"");
    } else if (controls.output.find("RUN or LOAD") != std::string::npos) {
      dialog->command(IDC_RUN);  // Continue
    }
  };
  dialog->command(IDC_RUN_STEP);
  controls.on_pump = nullptr;
  EXPECT_NE(controls.output.find("RUN or LOAD only valid from the command line."), std::string::npos) << controls.output;
  EXPECT_NE(controls.output.find("two"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.output.find("ran"), std::string::npos) << controls.output;
}

// DATA and FIELD typed into the command box are refused; the program lines
// a typed GOSUB reaches keep theirs.
TEST_F(DialogStateTest, TypedDataAndFieldAreRefused) {
  for (const char* line : {"data 1, 2", "field #1, 5 as q$"}) {
    controls.output.clear();
    type_into(controls, *dialog, line);
    EXPECT_NE(controls.output.find("Statement not valid from the command line."), std::string::npos)
        << line << ": " << controls.output;
  }
  use_program("with_data.bas", "end\n100 data 7\nread n\nprint \"read\"; n\nreturn\n");
  type_into(controls, *dialog, "load \"with_data.bas\"");
  controls.output.clear();
  type_into(controls, *dialog, "gosub 100");
  EXPECT_NE(controls.output.find("read            7"), std::string::npos) << controls.output;
  EXPECT_EQ(controls.output.find("ERROR"), std::string::npos) << controls.output;
}

// Kill stops a typed endless loop, and a typed line's stepping pause.
TEST_F(DialogStateTest, KillEndsTypedLines) {
  struct row {
    const char* line;
    std::function<bool()> at;
  };
  const row rows[] = {
      {"while 1 : wend", [] { return host_is_busy(); }},
      {"stop : print \"not reached\"", [] { return host_stepping(); }},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.line);
    controls.output.clear();
    bool killed = false;
    controls.on_pump = [&] {
      if (killed || !r.at()) return;
      killed = true;
      EXPECT_TRUE(controls.enabled[IDC_KILL]);
      dialog->command(IDC_KILL);
    };
    type_into(controls, *dialog, r.line);
    controls.on_pump = nullptr;
    EXPECT_TRUE(killed);
    EXPECT_NE(controls.output.find("User interrupted program"), std::string::npos) << controls.output;
    EXPECT_EQ(controls.output.find("\nnot reached"), std::string::npos) << controls.output;
    EXPECT_EQ(controls.state(), idle_state);
  }
}

// Run/Step pressed during a long computation: the pause that follows has
// the stepping pause's captions and states.
TEST_F(DialogStateTest, PauseAfterRunStepDuringAComputation) {
  use_program("computing.bas", "float 50000\nlong x\nx = longpi\nprint \"next\"\n");
  bool pressed = false;
  std::string seen;
  controls.on_pump = [&] {
    if (!pressed && host_computing()) {
      pressed = true;
      dialog->command(IDC_RUN_STEP);
    } else if (pressed && seen.empty() && host_stepping() && !host_computing()) {
      seen = controls.state();
      dialog->command(IDC_RUN);  // Continue
    }
  };
  dialog->command(IDC_RUN);
  controls.on_pump = nullptr;
  ASSERT_TRUE(pressed) << "the computation never pumped";
  EXPECT_EQ(seen, "run=Continue/E step=Step/E kill=E clear=E log=D box=E exit=E label=Stepping -- Command:");
  EXPECT_NE(controls.output.find("next"), std::string::npos);
}

// A pending check of the folder field left for another control: going into
// another edit carries it out, so the next click is handled; Enter checks
// the field and moves on without leaving a check behind. A click straight
// from the field is used up by the check.
TEST_F(DialogStateTest, RunAfterLeavingTheFolderField) {
  use_program("after_folder.bas", "print \"ran\"\n");
  controls.on_focus_next = [&](int control) { dialog->edit_left(control); };
  struct row {
    const char* name;
    std::function<void()> leave;
    bool runs;
  };
  const row rows[] = {
      {"into the command box",
       [&] {
         dialog->edit_left(IDC_WORKING_DIR);
         dialog->edit_focused(IDC_COMMAND);
       },
       true},
      {"by Enter", [&] { dialog->edit_entered(IDC_WORKING_DIR); }, true},
      {"straight to Run", [&] { dialog->edit_left(IDC_WORKING_DIR); }, false},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    controls.texts[IDC_WORKING_DIR] = folder;
    r.leave();
    controls.output.clear();
    dialog->command(IDC_RUN);
    EXPECT_EQ(controls.output.find("ran") != std::string::npos, r.runs) << controls.output;
    EXPECT_TRUE(controls.messages.empty());
    EXPECT_EQ(working_folder, folder);
  }
}

// A CHDIR in a program started by Run lasts for that run only.
TEST_F(DialogStateTest, ChdirLastsForTheRun) {
  ASSERT_EQ(::mkdir((folder + "/sub").c_str(), 0755) == 0 || errno == EEXIST, true);
  use_program("chdir.bas", "chdir \"sub\"\nprint \"in \"; workingdir$\n");
  dialog->command(IDC_RUN);
  EXPECT_NE(controls.output.find("in " + folder + "/sub"), std::string::npos) << controls.output;
  EXPECT_EQ(working_folder, folder);
  EXPECT_EQ(path_current_directory(), folder);
  EXPECT_EQ(controls.texts[IDC_WORKING_DIR], folder);
}

// A program the window cannot find or name says which file it tried.
TEST_F(DialogStateTest, ProgramNotFoundNamesThePathTried) {
  src_pgm_path = folder;
  src_pgm_name = "missing.bas";
  controls.output.clear();
  dialog->command(IDC_RUN);
  EXPECT_NE(controls.output.find("ERROR - Unable to load program.\n" + folder + "/missing.bas\n"), std::string::npos)
      << controls.output;

  apply_command_line_program(std::string(254, 'p') + ".bas");  // too long a path with the working folder
  EXPECT_EQ(autorun_pending, 0u);
  dialog = std::make_unique<MainDialog>(controls);
  controls.output.clear();
  dialog->init(false);
  EXPECT_NE(controls.output.find("ERROR - Invalid Path.\n" + folder + "/ppp"), std::string::npos) << controls.output;
  command_line_program_refused.clear();
}

// A clock that moves 20 microseconds at every reading: the statement loop
// reads it about once a statement, so time passes as the program runs.
std::uint64_t fake_now = 0;
std::uint64_t fake_clock() { return fake_now += 20; }

// The statement loop's pumps come once a slice, never more often, and every
// wait pumps at once with the text printed before it already in the box.
TEST_F(DialogStateTest, PumpsOncePerTimeSliceAndBeforeEveryWait) {
  dialog->pump_slice().set_clock(fake_clock);
  const std::uint64_t slice = dialog->pump_slice().slice_us();
  use_program("slices.bas",
              "for i = 1 to 20000\nnext\nprint \"before the wait\"\ninput \"n\"; n\n"
              "for i = 1 to 20000\nnext\nprint \"after\"; n\n");
  std::vector<std::uint64_t> free_pumps;  // the fake time of each pump that was not a wait
  int waits = 0;
  bool shown_before_wait = false;
  controls.on_pump = [&] {
    if (!controls.waiting) {
      free_pumps.push_back(fake_now);
      return;
    }
    ++waits;
    shown_before_wait = controls.output.find("before the wait") != std::string::npos;
    controls.texts[IDC_COMMAND] = "21";
    dialog->typed_line();
  };
  dialog->command(IDC_RUN);
  controls.on_pump = nullptr;
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(shown_before_wait) << controls.output;
  EXPECT_NE(controls.output.find("n21\nafter"), std::string::npos) << controls.output;
  // 80,000 statements or so: several slices, each with exactly one pump.
  ASSERT_GE(free_pumps.size(), 10u);
  for (std::size_t k = 1; k < free_pumps.size(); ++k)
    EXPECT_GE(free_pumps[k] - free_pumps[k - 1], slice) << "pump " << k;
  EXPECT_LE(free_pumps.size(), fake_now / slice + 1);
}

}  // namespace
