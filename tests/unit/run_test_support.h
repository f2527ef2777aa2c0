// Shared set-up for the run-control tests: a started interpreter with an
// empty program buffer, emptied again afterwards.
#pragma once
#include "core_test_support.h"
#include "interpreter/memo.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"

class RunTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0);
    empty_program();
  }
  void TearDown() override {
    empty_program();
    CoreTest::TearDown();
  }
  // The text changes under the memos' feet: they are told, as every
  // change of the program text tells them.
  static void empty_program() {
    memo_program_changed();
    program_length = 0;
    program_buffer[0] = 0;
    statement_number_count = 0;
    reset_run_flags();
  }
};

// RunTest in window mode: the statement loop and the waits go through the
// scripted port.
class WindowRunTest : public RunTest {
 protected:
  std::uint32_t saved_console = 0;
  void SetUp() override {
    RunTest::SetUp();
    saved_console = console_mode;
    console_mode = 0;
    kill_requested = 0;
  }
  void TearDown() override {
    port.on_wait = nullptr;
    step_mode = step_requested = step_banner_pending = 0;
    kill_requested = 0;
    console_mode = saved_console;
    RunTest::TearDown();
  }
};
