// Shared set-up for the file and input tests: a started interpreter working
// in a scratch folder of its own, with statement and file helpers.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core_test_support.h"
#include "interpreter/files.h"
#include "interpreter/run_control.h"

class IoScratchTest : public CoreTest {
 protected:
  std::string folder;
  std::string previous;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous = cwd;
    char pattern[] = "/tmp/io_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    ASSERT_EQ(chdir(folder.c_str()), 0);
    command_line_mode = 0;
    console_mode = 0;
    kill_requested = 0;
  }
  void TearDown() override {
    file_close_all();
    free_field_table();
    kill_requested = 0;
    console_mode = 0;
    ASSERT_EQ(chdir(previous.c_str()), 0);
    std::string command = "rm -rf '" + folder + "'";
    (void)std::system(command.c_str());
    CoreTest::TearDown();
  }

  int run(const std::string& text) { return execute_statement_text(text.c_str()); }
  void ok(const std::string& text) {
    port.output.clear();
    EXPECT_GE(run(text), 0) << text << "\n" << port.output;
  }
  // The statement fails and reports error code.
  void fails_with(const std::string& text, int code) {
    port.output.clear();
    EXPECT_LT(run(text), 0) << text;
    EXPECT_TRUE(reported_code(code)) << text << "\n" << port.output;
  }
  static std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void write_file(const std::string& name, const std::string& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
  }
};
