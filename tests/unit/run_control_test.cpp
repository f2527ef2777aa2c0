// The statement loop's window-mode hooks: pumping before every statement,
// Kill, and the enabling of the Step button.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "run_test_support.h"
#include "tests/support/test_files.h"

namespace {

class RunControlTest : public WindowRunTest {
 protected:
  void load_text(const std::string& text) {
    std::string path = test_temp_path("run_control_test", "run.bas");
    std::ofstream(path, std::ios::binary) << text;
    source_file_path = path;
    ASSERT_EQ(load_program_file(0), 0);
    ASSERT_EQ(prescan_program(), 0);
  }
  int run_typed(const std::string& line) {
    point_at(line);
    int kind = classify_command_line();
    return kind == 1 ? run_typed_line() : kind;
  }
};

TEST_F(RunControlTest, RunQuitWhilePumpingEndsTheRunAsKill) {
  load_text("10 x = x + 1\r\ngoto 10\r\n");
  port.pumps = 0;  // the pre-scan pumped too
  port.quit_after_pumps = 25;
  EXPECT_LT(run_typed("goto 10"), 0);
  EXPECT_TRUE(reported("User interrupted program"));
  EXPECT_EQ(port.pumps, 25);
  EXPECT_EQ(program_ended, 1);
  EXPECT_EQ(step_mode, 0);
  // One pump before each statement: 24 statements ran, the 12th "x = x + 1" last.
  EXPECT_EQ(eval_double("x"), 12.0);
}

TEST_F(RunControlTest, RunPumpsAndEnablesStepOnceAfterARequest) {
  load_text("print 1: print 2\r\n");
  EXPECT_LT(run_typed("gosub 5"), 0);  // no such number: nothing of the program ran
  EXPECT_TRUE(reported("Statement number not found."));
  port.events.clear();
  port.pumps = 0;
  port.output.clear();
  program_offset = 0;
  run_step_needs_enable = 1;  // as after a step request, which may disable Run/Step
  EXPECT_GE(run_program_lines(), 0);
  EXPECT_EQ(port.output, "1\n2\n");
  EXPECT_EQ(port.pumps, 2);
  // Enabled again after the first statement; not again while nothing asked
  // for a step.
  int step_enables = 0;
  for (const std::string& event : port.events) step_enables += event == "enable 1049 1";
  EXPECT_EQ(step_enables, 1);
  EXPECT_EQ(run_step_needs_enable, 0);
}

TEST_F(RunControlTest, RunLeavesNoLineOfItsOwnForLaterReports) {
  load_text("print 1\r\nx = 2\r\n");
  program_offset = 0;
  EXPECT_GE(run_program_lines(), 0);
  EXPECT_EQ(line_start, nullptr);
  EXPECT_EQ(scan_pointer, nullptr);
  // A report made after the run, as the desktop's folder checks make one,
  // shows no line: the run's line buffer is gone.
  port.output.clear();
  report_error(err_invalid_statement);
  EXPECT_TRUE(reported_code(err_invalid_statement));
  EXPECT_EQ(port.output.find("x = 2"), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find('*'), std::string::npos) << port.output;
}

}  // namespace
