// GRAPH print, metafile and jpeg in a running program reach the installed
// export port; a cancel is quiet, a failure is reported once and ends the run.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "session/size_settings.h"
#include "graph/graph_window.h"
#include "interpreter/errors.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "ports/graph_export_port.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/scripted_port.h"
#include "tests/support/test_files.h"

namespace {

// An export port that answers as told and records what was asked of it.
class FakeExportPort final : public GraphExportPort {
 public:
  int answer = 0;
  std::string failure_text;
  bool report_while_drawing = false;  // the drawing reports its own error
  std::vector<std::string> calls;

  int print(std::string& failure) override { return act("print", failure); }
  int export_metafile(std::string& failure) override { return act("metafile", failure); }
  int export_jpeg(std::string& failure) override { return act("jpeg", failure); }

 private:
  int act(const char* what, std::string& failure) {
    calls.emplace_back(what);
    if (report_while_drawing) report_error_no_echo(262);
    if (answer < 0) failure = failure_text;
    return answer;
  }
};

class GraphExportActionsTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  FakeGraphHost host;
  std::uint32_t saved_console = 0;

  void SetUp() override {
    install_frontend_port(&port);
    size_settings_reset_current();
    ASSERT_EQ(host_init(), 0);
    saved_console = console_mode;
    console_mode = 0;
  }
  void TearDown() override {
    install_graph_export_port(nullptr);
    graph_window_destroy();
    console_mode = saved_console;
    interpreter_reset();
    install_frontend_port(nullptr);
  }
  // Runs a program that opens the graph and runs GRAPH action between two prints.
  void run_with(const std::string& action) {
    std::string path = test_temp_path("graph_export_actions", "run.bas");
    std::ofstream(path, std::ios::binary) << "graph\nprint \"before\"\ngraph " << action << "\nprint \"after\"\n";
    port.output.clear();
    host_run_program_file(path, false);
  }
  int reports() const {
    int n = 0;
    for (std::size_t at = port.output.find("ERROR - "); at != std::string::npos;
         at = port.output.find("ERROR - ", at + 1))
      ++n;
    return n;
  }
};

TEST_F(GraphExportActionsTest, EachActionReachesItsExport) {
  FakeExportPort fake;
  install_graph_export_port(&fake);
  for (const char* action : {"print", "metafile", "jpeg"}) {
    run_with(action);
    EXPECT_NE(port.output.find("after"), std::string::npos) << action << "\n" << port.output;
    EXPECT_EQ(reports(), 0) << port.output;
  }
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"print", "metafile", "jpeg"}));
}

TEST_F(GraphExportActionsTest, CancelIsQuietAndFailureEndsTheRunWithOneReport) {
  struct outcome_case {
    int answer;
    bool drawing_reports;
    const char* expect_report;  // null: none
  };
  const outcome_case cases[] = {
      {graph_export_cancelled, false, nullptr},
      {-1, false, "ERROR - JPEG file could not be created.\n"},
      {-262, true, "ERROR - GRAPH: |offset / scale| is too large\n"},
  };
  for (const outcome_case& c : cases) {
    FakeExportPort fake;
    fake.answer = c.answer;
    fake.failure_text = "JPEG file could not be created.";
    fake.report_while_drawing = c.drawing_reports;
    install_graph_export_port(&fake);
    run_with("jpeg");
    SCOPED_TRACE(port.output);
    EXPECT_NE(port.output.find("before"), std::string::npos);
    if (!c.expect_report) {
      EXPECT_EQ(reports(), 0);
      EXPECT_NE(port.output.find("after"), std::string::npos);
    } else {
      EXPECT_EQ(reports(), 1);
      EXPECT_NE(port.output.find(c.expect_report), std::string::npos);
      EXPECT_EQ(port.output.find("after"), std::string::npos);
    }
    install_graph_export_port(nullptr);
  }
}

// The File menu calls the actions themselves: a failure was shown by the
// export and reaches no program.
TEST_F(GraphExportActionsTest, MenuActionsReportNothing) {
  FakeExportPort fake;
  fake.answer = -1;
  fake.failure_text = "Unable to print.";
  install_graph_export_port(&fake);
  port.output.clear();
  EXPECT_LT(graph_print(), 0);
  fake.answer = graph_export_cancelled;
  EXPECT_EQ(graph_export_metafile(), graph_action_cancelled);
  EXPECT_EQ(port.output, "");
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"print", "metafile"}));
}

TEST_F(GraphExportActionsTest, WithoutAnExportPortTheActionIsRefused) {
  run_with("print");
  EXPECT_NE(port.output.find("ERROR - Printing the graph is not available without a graph window.\n"),
            std::string::npos)
      << port.output;
  EXPECT_EQ(port.output.find("after"), std::string::npos);
}

}  // namespace
