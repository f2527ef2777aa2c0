// Shared set-up for the graph tests: a started interpreter in window mode with
// the fake graph host standing in for the window.
#pragma once
#include <cstdint>
#include <string>

#include "core_test_support.h"
#include "graph/graph_window.h"
#include "interpreter/functions.h"
#include "ports/font_engine.h"
#include "tests/support/fake_graph_host.h"

class GraphWindowTest : public CoreTest {
 protected:
  FakeGraphHost host;
  std::uint32_t saved_console = 0;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0);
    saved_console = console_mode;
    console_mode = 0;
    degrees_mode = 0;
  }
  void TearDown() override {
    graph_window_destroy();
    install_graph_font_engine(nullptr);
    console_mode = saved_console;
    degrees_mode = 0;
    CoreTest::TearDown();
  }
  // Runs statement routine stmt over the parameter text args; its result.
  int run_statement(int (*stmt)(), const std::string& args) {
    point_at(args);
    return stmt();
  }
};
