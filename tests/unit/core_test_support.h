// Shared set-up for the core tests: a started interpreter with captured output.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "frontend/size_settings.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/init.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/variables.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

// Starts the interpreter once per test with default sizes (or the sizes a
// test sets before calling start()), captures screen output, and clears all
// variables between tests.
class CoreTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  std::optional<scan_text_scope> scope;
  expr_item item;

  void SetUp() override {
    install_frontend_port(&port);
    size_settings_reset_current();
    no_execute = 0;
    prescan_mode = 0;
    long_all_mode = 0;
    debug_mode = 0;
  }
  void TearDown() override {
    scope.reset();
    // A run leaves the scan on its own line buffers, gone once it returned:
    // the next test starts with no line, as the interpreter does.
    line_start = line_end = scan_pointer = statement_start = nullptr;
    line_length = 0;
    line_text_origin = 0;
    clear_all_variables();
    no_execute = 0;
    prescan_mode = 0;
    long_all_mode = 0;
    debug_mode = 0;
    install_frontend_port(nullptr);
  }
  int start() { return init_interpreter_tables(); }

  // Points the scanner at line until the next call or the end of the test.
  void point_at(const std::string& line) {
    scope.reset();
    scope.emplace(line);
  }
  // Scans one item at the start of line into item.
  int scan(const std::string& line, int flags) {
    point_at(line);
    item = expr_item{};
    return get_item(item, flags);
  }
  // The text after the scan position.
  std::string rest() const { return std::string(scan_pointer, line_end); }

  // Evaluates text; on success the value is in the accumulators.
  int eval(const std::string& text) { return evaluate_expression_text(text); }
  double eval_double(const std::string& text) {
    int result = eval(text);
    EXPECT_EQ(result, 2) << text << "\n" << port.output;
    return double_accumulator;
  }
  std::string eval_string(const std::string& text) {
    int result = eval(text);
    EXPECT_EQ(result, 3) << text << "\n" << port.output;
    return string_accumulator;
  }
  // Whether the report of error code was printed.
  bool reported_code(int code) const {
    const char* message = error_messages[code];
    if (message[0] == '-') ++message;
    return reported(message);
  }
  // Whether the captured output holds the message line "ERROR - <text>".
  bool reported(const std::string& message) const {
    return port.output.find("ERROR - " + message + "\n") != std::string::npos;
  }
};

// CoreTest with the interpreter already started at the default sizes.
class StartedCoreTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
  }
};
