// The error reporter: line echo, caret placement, quiet messages, channel.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

namespace {

// Records the channel in force whenever text reaches the screen.
class ChannelRecordingPort final : public FrontendPort {
 public:
  std::string output;
  std::string channels_seen;
  void print_text(std::string_view text) override {
    output.append(text);
    channels_seen += std::to_string(current_channel);
  }
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void focus_control(int) override {}
  void check_control(int, bool) override {}
  bool wait_for_event(int) override { return pump_messages(); }
  bool pump_messages() override { return true; }
  void run_finished() override {}
};

class SvcErrorsTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  char line[300] = {};

  void SetUp() override {
    install_frontend_port(&port);
    line_start = line_end = scan_pointer = statement_start = nullptr;
    line_length = 0;
    debug_mode = step_mode = trace_mode = 0;
    error_column = 0;
    current_channel = 0;
  }
  void TearDown() override {
    install_frontend_port(nullptr);
    line_start = line_end = scan_pointer = statement_start = nullptr;
    line_length = 0;
    debug_mode = step_mode = trace_mode = 0;
    current_channel = 0;
  }
  // Makes text the current line with the statement starting at statement_offset.
  void set_line(const char* text, int statement_offset = 0) {
    std::strncpy(line, text, sizeof line - 1);
    line_start = line;
    line_length = static_cast<std::int32_t>(std::strlen(line));
    line_end = line + line_length;
    statement_start = line + statement_offset;
    scan_pointer = statement_start;
  }
};

TEST_F(SvcErrorsTest, ReportBeforeAnyLineShowsOnlyTheMessage) {
  EXPECT_EQ(report_error(7), -7);
  EXPECT_EQ(port.output, "ERROR - Initialization Error.\n");
}

struct caret_case {
  const char* line;
  int statement_offset;
  int column;
  const char* expected_caret_line;
};

TEST_F(SvcErrorsTest, CaretStandsUnderFirstVisibleCharacterAtOrAfterColumn) {
  const caret_case cases[] = {
      {"print 1+", 0, 8, "        *"},         // column at the end of the line
      {"print 1+", 0, 40, "        *"},        // beyond the end: right after the last character
      {"print 1+", 0, -5, "        *"},        // below 0: the end of the line as well
      {"x = 1:print   y", 6, 5, "              *"},  // on blanks: moves to the next visible character
      {"\tif\ta then", 1, 2, "\t  \t*"},        // tabs stay tabs so the caret lines up
      {"a=1: b=2", 5, 0, "     *"},            // the statement start counts
  };
  for (const caret_case& c : cases) {
    port.output.clear();
    set_line(c.line, c.statement_offset);
    error_column = c.column;
    EXPECT_EQ(report_error(82), -82);
    EXPECT_EQ(port.output, std::string("\n") + c.line + "\n" + c.expected_caret_line +
                               "\nERROR - Missing right parenthesis.\n")
        << "line '" << c.line << "' column " << c.column;
  }
}

TEST_F(SvcErrorsTest, SteppingOrTracingDropsTheEmptyLineInFront) {
  for (int* flag : {&step_mode, &trace_mode}) {
    port.output.clear();
    *flag = 1;
    set_line("goto 99");
    error_column = 5;
    report_error(9);
    EXPECT_EQ(port.output, "goto 99\n     *\nERROR - Invalid statement number.\n");
    *flag = 0;
  }
}

TEST_F(SvcErrorsTest, EchoStopsAtTheLineEnd) {
  set_line("let a=(\r\n");
  line_length = static_cast<std::int32_t>(std::strlen("let a=(\r\n"));
  error_column = 20;
  report_error(82);
  EXPECT_EQ(port.output, "\nlet a=(\n       *\nERROR - Missing right parenthesis.\n");
}

TEST_F(SvcErrorsTest, LongLineEchoIsCappedAndCaretStaysInside) {
  std::string long_line(290, 'x');
  set_line(long_line.c_str());
  error_column = 1000;
  report_error(5);
  std::string expected = "\n" + std::string(256, 'x') + "\n" + std::string(255, ' ') + "*\nERROR - Test Statement Failed\n";
  EXPECT_EQ(port.output, expected);
}

TEST_F(SvcErrorsTest, QuietMessagesOnlyUnderDebug) {
  set_line("print (1");
  error_column = 0;
  EXPECT_EQ(report_error(11), -11);
  EXPECT_EQ(port.output, "");
  EXPECT_EQ(report_error(0), -1);
  EXPECT_EQ(port.output, "");

  debug_mode = 1;
  EXPECT_EQ(report_error(11), -11);
  EXPECT_EQ(port.output, "\nprint (1\n*\nERROR - Error return from evaluate_expression.\n");
  port.output.clear();
  EXPECT_EQ(report_error(0), -1);
  EXPECT_EQ(port.output, "\nprint (1\n*\nERROR -  \n");
}

TEST_F(SvcErrorsTest, EchoOnlyCodeHasNoMessageLine) {
  set_line("input a");
  error_column = 6;
  EXPECT_EQ(report_error(error_code_echo_only), -error_code_echo_only);
  EXPECT_EQ(port.output, "\ninput a\n      *\n");
}

TEST_F(SvcErrorsTest, NoEchoAndHereVariants) {
  set_line("graph scale");
  EXPECT_EQ(report_error_no_echo(5), -5);
  EXPECT_EQ(error_no_echo, 0);
  EXPECT_EQ(port.output, "ERROR - Test Statement Failed\n");

  port.output.clear();
  error_column = 0;
  scan_pointer = line + 6;
  report_error_here(5);
  EXPECT_EQ(error_column, 6);
  EXPECT_EQ(port.output, "\ngraph scale\n      *\nERROR - Test Statement Failed\n");
}

TEST_F(SvcErrorsTest, CustomMessageAndUnknownCodes) {
  EXPECT_EQ(report_error_message(47, "Graphs are not available in this build."), -47);
  EXPECT_EQ(report_error(338), -338);
  EXPECT_EQ(report_error(-4), -1);
  EXPECT_EQ(port.output,
            "ERROR - Graphs are not available in this build.\n"
            "ERROR - Unknown error code 338.\n"
            "ERROR - Unknown error code -4.\n");
}

TEST_F(SvcErrorsTest, ReportGoesToScreenAndRestoresFileChannel) {
  ChannelRecordingPort recorder;
  install_frontend_port(&recorder);
  set_line("print #2, 1/");
  current_channel = 2;
  error_column = 12;
  report_error(106);
  EXPECT_EQ(current_channel, 2);
  EXPECT_NE(recorder.output.find("ERROR - User interrupted program\n"), std::string::npos);
  EXPECT_EQ(recorder.channels_seen.find_first_not_of('0'), std::string::npos);
  debug_mode = 0;
  report_error(10);  // quiet: nothing printed, channel restored all the same
  EXPECT_EQ(current_channel, 2);
}

TEST(SvcErrorMessages, TableHoldsEveryCodeWithItsExactText) {
  for (int code = 0; code < error_message_count; ++code) {
    ASSERT_NE(error_messages[code], nullptr) << code;
    EXPECT_GT(std::strlen(error_messages[code]), 0u) << code;
  }
  const std::pair<int, const char*> samples[] = {
      {0, " "},
      {1, "Unable to Allocate storage for Variable Names."},
      {6, "-Error return from processing statement line."},
      {106, "User interrupted program"},
      {220, "Expect equal (\"=\") sign."},
      {239, "Expecting \"AS\""},
      {323, "Invalid patiry for SERIAL open."},
      {337, "Invalid value for CHANGESHAPE parameter."},
  };
  for (auto [code, text] : samples) EXPECT_STREQ(error_messages[code], text) << code;
}

// The whole table against the list kept beside this test (code, tab, text).
TEST(SvcErrorMessages, WholeTableMatchesTheMessageList) {
  std::filesystem::path list = std::filesystem::path(TOV_UNIT_TEST_DIR) / "svc_error_messages.txt";
  std::ifstream in(list);
  ASSERT_TRUE(in) << list;
  std::vector<bool> seen(error_message_count, false);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    int code = std::stoi(line.substr(0, tab));
    ASSERT_GE(code, 0);
    ASSERT_LT(code, error_message_count);
    seen[static_cast<std::size_t>(code)] = true;
    EXPECT_EQ(std::string(error_messages[code]), line.substr(tab + 1)) << "code " << code;
  }
  for (int code = 0; code < error_message_count; ++code) EXPECT_TRUE(seen[static_cast<std::size_t>(code)]) << code;
}

}  // namespace
