// Whole runs for the declaration, DATA and user-function rules that a
// program test cannot reach: table capacities, the call-depth limit and a
// full program buffer.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core_test_support.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/user_functions.h"

namespace {

class FnRunTest : public CoreTest {
 protected:
  std::string folder;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    char pattern[] = "/tmp/fn_run_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::remove((folder + "/prog.bas").c_str());
    std::remove(folder.c_str());
    CoreTest::TearDown();
  }
  // Runs text as a program file; returns the run's result.
  int run_text(const std::string& text) {
    std::string path = folder + "/prog.bas";
    std::ofstream(path) << text;
    source_file_path = path;
    program_already_loaded = 0;
    port.output.clear();
    return run_program();
  }
};

TEST_F(FnRunTest, FnDataTableCapacityIsCheckedByThePrescanOnly) {
  std::uint32_t saved = data_capacity;
  data_capacity = 50;
  std::string program;
  for (int i = 1; i <= 50; ++i) program += "DATA " + std::to_string(i) + "\n";
  program += "FOR i = 1 TO 50: READ v: NEXT\nPRINT v\n";
  run_text(program);
  EXPECT_NE(port.output.find("50 \n"), std::string::npos) << port.output;
  EXPECT_FALSE(reported_code(123)) << port.output;

  run_text("DATA 0\n" + program);
  EXPECT_TRUE(reported_code(123)) << port.output;
  data_capacity = saved;
}

TEST_F(FnRunTest, FnRecursionStopsAtTheDepthLimitAndUnwinds) {
  for (const char* program : {"DEF r(n) = r(n)\nx = r(1)\n",
                              "DEF r(n) = GOSUB 10\nx = r(1)\nEND\n10 RETURN r(n)\n"}) {
    run_text(program);
    EXPECT_TRUE(reported_code(216)) << program;
    EXPECT_TRUE(reported_code(200)) << program;
    EXPECT_EQ(user_call_chain, nullptr);
    EXPECT_EQ(user_call_depth, 0);
  }
  // The refused call is the 200th: its argument is 200 and none goes deeper.
  run_text("DEF r(n) = r(n + 1)\nx = r(1)\n");
  EXPECT_NE(port.output.find("n = (Float var.)                     200\n"), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find("                     201\n"), std::string::npos);
  // 199 nested calls are allowed.
  run_text("DEF c(n) = GOSUB 10\nPRINT c(198)\nEND\n10 IF n <= 0 THEN RETURN 0\n20 RETURN c(n - 1) + 1\n");
  EXPECT_FALSE(reported_code(216)) << port.output;
  EXPECT_NE(port.output.find("198 \n"), std::string::npos) << port.output;
}

TEST_F(FnRunTest, FnGosubBodyWithFullProgramBufferIsAnError) {
  run_text("DEF g(x) = GOSUB 10\nEND\n10 RETURN 7\n");
  ASSERT_EQ(user_function_count, 1) << port.output;
  user_function_index = 0;
  std::uint32_t saved = program_length;
  program_length = program_buffer_size - 12;  // no room for the body line
  port.output.clear();
  int r = do_function(FUNC_USER_FUNCTION, nullptr, 0);
  program_length = saved;
  EXPECT_LT(r, 0);
  EXPECT_NE(port.output.find("Insufficient program file buffer space.\n"), std::string::npos) << port.output;
  EXPECT_TRUE(reported_code(200)) << port.output;
  EXPECT_EQ(user_call_chain, nullptr);
}

TEST_F(FnRunTest, FnDefRecordsItsForm) {
  run_text("DEF e$(a$, n, b) = LEFT$(a$, n) : DEF s(q) = GOSUB 100\nEND\n100 RETURN q\n");
  ASSERT_EQ(user_function_count, 2) << port.output;
  const user_function* e = user_function_table[find_user_function("E$")];
  EXPECT_EQ(e->kind, 0u);
  ASSERT_EQ(e->param_count, 3u);
  EXPECT_EQ(e->params[0].type, static_cast<std::uint32_t>(ITEM_STRING));
  EXPECT_EQ(e->params[1].type, static_cast<std::uint32_t>(ITEM_DOUBLE));
  EXPECT_STREQ(e->body, "LEFT$(a$, n) : DEF s(q) = GOSUB 100");
  const user_function* s = user_function_table[find_user_function("s")];
  EXPECT_EQ(s->kind, 1u);
  EXPECT_STREQ(s->body, "GOSUB 100");
}

}  // namespace
