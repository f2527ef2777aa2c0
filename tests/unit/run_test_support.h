// Shared set-up for the run-control tests: a started interpreter with an
// empty program buffer, emptied again afterwards.
#pragma once
#include "core_test_support.h"
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
  static void empty_program() {
    program_length = 0;
    program_buffer[0] = 0;
    statement_number_count = 0;
    reset_run_flags();
  }
};
