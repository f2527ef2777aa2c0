// The waiting states in window mode (INPUT reply, INKEY$ key, stepping pause,
// DELAY): each waits on the front-end port, sees what the host API hands over
// during a wait, and ends on Kill.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "interpreter/host_api.h"
#include "interpreter/input.h"
#include "interpreter/special_names.h"
#include "run_test_support.h"

namespace {

using RunWaitsTest = WindowRunTest;

TEST_F(RunWaitsTest, InputWaitTakesTheReplyHandedOverDuringTheWait) {
  EXPECT_FALSE(host_give_input_reply("too early"));  // nothing waits yet
  port.on_wait = [](int wait) {
    EXPECT_TRUE(host_input_waiting());
    if (wait == 3) {
      EXPECT_TRUE(host_give_input_reply("21"));
    }
  };
  EXPECT_GE(host_run_typed_line("input a : print a * 2"), 0) << port.output;
  EXPECT_EQ(port.waits, 3);
  EXPECT_NE(port.output.find("42"), std::string::npos) << port.output;
  EXPECT_FALSE(host_input_waiting());
}

TEST_F(RunWaitsTest, KeyWaitTakesTheKeyHandedOverDuringTheWait) {
  EXPECT_FALSE(host_give_key('q'));
  port.on_wait = [](int wait) {
    if (wait == 2) {
      EXPECT_TRUE(host_give_key('x'));
    }
  };
  EXPECT_GE(host_run_typed_line("k$ = inkey$"), 0) << port.output;
  EXPECT_EQ(port.waits, 2);
  EXPECT_EQ(eval_string("k$"), "x");
}

// Kill pressed during each kind of wait ends the wait and the run (a killed
// key wait fails quietly, as a failed wait does).
TEST_F(RunWaitsTest, KillEndsEveryWait) {
  struct Case {
    const char* line;
    bool reports_kill;
  };
  const Case cases[] = {{"input a : print 70 + 7", true}, {"k$ = inkey$ : print 70 + 7", false},
                        {"stop : print 70 + 7", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    port.output.clear();
    port.waits = 0;
    kill_requested = 0;
    step_mode = 0;
    port.on_wait = [](int wait) {
      if (wait == 2) host_request_kill();
    };
    EXPECT_LT(host_run_typed_line(c.line), 0);
    EXPECT_EQ(port.waits, 2);
    EXPECT_EQ(reported("User interrupted program"), c.reports_kill) << port.output;
    EXPECT_EQ(port.output.find("77"), std::string::npos) << port.output;
    EXPECT_FALSE(host_input_waiting());
  }
}

TEST_F(RunWaitsTest, SteppingPauseWaitsForStepThenContinue) {
  int steps_at_print = -1;
  port.on_wait = [&](int wait) {
    EXPECT_TRUE(host_stepping());
    if (wait == 2) host_request_step();  // runs "print 1", then pauses again
    if (wait == 4) {
      steps_at_print = static_cast<int>(port.output.find("1\n") != std::string::npos);
      host_request_continue();
    }
  };
  EXPECT_GE(host_run_typed_line("stop : print 1 : print 2"), 0) << port.output;
  EXPECT_EQ(port.waits, 4);
  EXPECT_EQ(steps_at_print, 1);
  EXPECT_NE(port.output.find("2\n"), std::string::npos) << port.output;
  EXPECT_FALSE(host_stepping());
}

TEST_F(RunWaitsTest, StepDuringInputWaitTurnsSteppingOn) {
  port.on_wait = [](int wait) {
    if (wait == 1) host_request_step();
    if (wait == 2) host_give_input_reply("5");
    if (wait == 3) host_request_continue();  // the pause before "print"
  };
  EXPECT_GE(host_run_typed_line("input a : print a"), 0) << port.output;
  EXPECT_EQ(port.waits, 3);
  EXPECT_NE(port.output.find("User interrupted program at offset"), std::string::npos) << port.output;
}

TEST_F(RunWaitsTest, DelayWaitsWithTheRemainingTimeAndEndsOnKill) {
  port.on_wait = [](int wait) {
    if (wait == 3) host_request_kill();
  };
  auto start = std::chrono::steady_clock::now();
  EXPECT_LT(host_run_typed_line("delay 10000 : print 7"), 0);
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5));
  EXPECT_EQ(port.waits, 3);
  EXPECT_GT(port.last_wait_timeout_ms, 0);
  EXPECT_LE(port.last_wait_timeout_ms, 10000);
  EXPECT_TRUE(reported("User interrupted program")) << port.output;
}

TEST_F(RunWaitsTest, DelayEndsWhenItsTimeHasPassed) {
  auto start = std::chrono::steady_clock::now();
  EXPECT_GE(host_run_typed_line("delay 30 : print 7"), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_NE(port.output.find("7\n"), std::string::npos) << port.output;
}

}  // namespace
