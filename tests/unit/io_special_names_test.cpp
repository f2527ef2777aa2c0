// Special names: the stopwatch, flags, folders, the graph event, choosefont$
// in console mode, skip mode, and INKEY$ / INPUT reading a pipe in console mode.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <stdio_ext.h>
#include <string>

#include "core_test_support.h"
#include "graph/graph_state.h"
#include "session/paths.h"
#include "interpreter/functions.h"
#include "interpreter/input.h"
#include "interpreter/keywords.h"
#include "interpreter/pending.h"
#include "interpreter/run_control.h"
#include "interpreter/special_names.h"
#include "interpreter/timing.h"
#include "platform/terminal_keys.h"
#include "rizozira/long_number.h"

namespace {

// Standard input replaced by a pipe holding text (then its end) for the
// lifetime of the object.
class piped_stdin {
 public:
  explicit piped_stdin(const std::string& text) {
    int fds[2];
    if (pipe(fds) != 0) return;
    if (write(fds[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) return;
    close(fds[1]);
    saved_ = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
    __fpurge(stdin);
    std::clearerr(stdin);
  }
  ~piped_stdin() {
    if (saved_ < 0) return;
    dup2(saved_, STDIN_FILENO);
    close(saved_);
    __fpurge(stdin);
    std::clearerr(stdin);
  }

 private:
  int saved_ = -1;
};

class IoSpecialNamesTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    console_mode = 0;
  }
  void TearDown() override {
    console_mode = 0;
    degrees_mode = 0;
    graph_event = -1;
    CoreTest::TearDown();
  }
};

TEST_F(IoSpecialNamesTest, IoSpecialStopwatch) {
  ASSERT_EQ(timer_available, 1);
  EXPECT_EQ(eval_double("starttimer"), 1);
  usleep(20000);
  double elapsed = eval_double("endtimer");
  EXPECT_GE(elapsed, 15000);
  EXPECT_LT(elapsed, 5000000);
  // Without a counter both yield 0.
  timer_available = 0;
  EXPECT_EQ(eval_double("starttimer"), 0);
  EXPECT_EQ(eval_double("endtimer"), 0);
  timer_available = 1;
}

TEST_F(IoSpecialNamesTest, IoSpecialFlagsFoldersAndEvents) {
  degrees_mode = 1;
  EXPECT_EQ(eval_double("checkdegrees"), 1);
  degrees_mode = 0;
  EXPECT_EQ(eval_double("checkdegrees"), 0);
  math_error_flag = 1;
  EXPECT_EQ(eval_double("matherror"), 1);
  math_error_flag = 0;

  std::string saved_working = working_folder, saved_program = program_folder;
  working_folder = "/tmp/work";
  program_folder = "/srv/progs";
  EXPECT_EQ(eval_string("workingdir$"), "/tmp/work");
  EXPECT_EQ(eval_string("programdir$"), "/srv/progs");
  program_folder = "/" + std::string(300, 'p');  // longer than a string holds
  port.output.clear();
  EXPECT_LT(eval("programdir$"), 0);
  EXPECT_TRUE(reported_code(101));
  working_folder = saved_working;
  program_folder = saved_program;

  graph_event = -65;  // a typed A
  EXPECT_EQ(eval_double("checkmouseclick"), -65);
  EXPECT_EQ(eval_double("checkmouseclick"), -1);
}

TEST_F(IoSpecialNamesTest, IoSpecialSkipModeAndRange) {
  no_execute = 1;
  for (int index = 0; index <= 12; ++index) {
    EXPECT_EQ(do_special_name(index), 2) << index;
    EXPECT_EQ(double_accumulator, 0) << index;
    EXPECT_EQ(string_accumulator_length, 0) << index;
  }
  no_execute = 0;
  EXPECT_EQ(do_special_name(13), -1);
  EXPECT_EQ(do_special_name(-1), -1);
}

TEST_F(IoSpecialNamesTest, IoSpecialChoosefontRefusedInConsoleMode) {
  console_mode = 1;
  port.output.clear();
  EXPECT_LT(eval("choosefont$"), 0);
  EXPECT_TRUE(reported_code(311)) << port.output;
}

// In console mode INKEY$ takes the next byte of a pipe; at the end of input
// it ends with an error instead of waiting forever.
TEST_F(IoSpecialNamesTest, IoSpecialInkeyFromPipe) {
  console_mode = 1;
  piped_stdin input("xy");
  EXPECT_EQ(eval_string("inkey$"), "x");
  EXPECT_EQ(eval_string("inkey$"), "y");
  port.output.clear();
  EXPECT_LT(eval("inkey$"), 0);
  EXPECT_NE(port.output.find("ERROR - End of input: no key for INKEY$."), std::string::npos) << port.output;
}

// On a terminal the key wait discards keys typed before it, reads one key
// without waiting for Enter or echoing it, and restores the settings after.
TEST(IoTerminalKeys, IoSpecialRawModeOnlyWhileWaiting) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  termios before{};
  ASSERT_EQ(tcgetattr(slave, &before), 0);
  ASSERT_TRUE(before.c_lflag & ICANON);
  ASSERT_EQ(write(master, "z\n", 2), 2);  // typed before the wait
  usleep(20000);

  int saved_stdin = dup(STDIN_FILENO);
  dup2(slave, STDIN_FILENO);
  __fpurge(stdin);
  std::clearerr(stdin);
  std::atomic<bool> raw_seen{false};
  std::thread device([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    termios during{};
    if (tcgetattr(slave, &during) == 0) raw_seen = !(during.c_lflag & ICANON) && !(during.c_lflag & ECHO);
    (void)!write(master, "k", 1);  // no Enter: a single key
  });
  unsigned char key = 0;
  int got = terminal_read_key(key);
  device.join();
  dup2(saved_stdin, STDIN_FILENO);
  close(saved_stdin);
  __fpurge(stdin);
  std::clearerr(stdin);

  EXPECT_EQ(got, 1);
  EXPECT_EQ(key, 'k');
  EXPECT_TRUE(raw_seen.load());
  termios after{};
  ASSERT_EQ(tcgetattr(slave, &after), 0);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  close(slave);
  close(master);
}

// Console INPUT reads its reply from the console; when the input has ended
// the statement fails once instead of asking again forever.
TEST_F(IoSpecialNamesTest, IoSpecialConsoleInputEndsAtEndOfInput) {
  console_mode = 1;
  piped_stdin input("1\r\n  text, kept  \n" + std::string(300, '7') + "\nx\n");
  port.output.clear();
  EXPECT_GE(execute_statement_text("input a"), 0) << port.output;
  EXPECT_EQ(eval_double("a"), 1);
  EXPECT_EQ(port.output, "?");  // the prompt; the console showed the reply
  EXPECT_GE(execute_statement_text("line input \"\"; b$"), 0);
  EXPECT_EQ(eval_string("b$"), "  text, kept");
  // An over-long reply keeps its first 255 characters; the rest is dropped.
  EXPECT_GE(execute_statement_text("line input l$"), 0);
  EXPECT_EQ(eval_string("l$"), std::string(255, '7'));
  port.output.clear();
  EXPECT_LT(execute_statement_text("input c"), 0);  // "x" is no number, then the input ends
  EXPECT_NE(port.output.find("?Redo from start:"), std::string::npos) << port.output;
  EXPECT_NE(port.output.find("ERROR - End of input: no reply for INPUT."), std::string::npos) << port.output;
  port.output.clear();
  EXPECT_LT(execute_statement_text("line input d$"), 0);  // LINE INPUT ends the same way
  EXPECT_NE(port.output.find("ERROR - End of input: no reply for INPUT."), std::string::npos) << port.output;
}

}  // namespace
