// INPUT and LINE INPUT: files (values across lines, empty lines, EOF and
// INPUT(n) probes, long-number records), "%" strings, and keyboard replies
// with the redo loop through a scripted window.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "interpreter/file_table.h"
#include "interpreter/input.h"
#include "io_test_support.h"
#include "interpreter/special_names.h"
#include "rizozira/long_number.h"

namespace {

// A window whose message pump answers the INPUT or key wait with the next
// scripted reply.
class ReplyPort final : public FrontendPort {
 public:
  std::string output;
  std::deque<std::string> replies;
  int pumps = 0;
  void print_text(std::string_view text) override { output.append(text); }
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void focus_control(int) override {}
  void check_control(int, bool) override {}
  bool wait_for_event(int) override { return pump_messages(); }
  bool pump_messages() override {
    ++pumps;
    if (!input_waiting && !key_waiting) return true;  // the statement loop's own pump
    if (replies.empty()) return false;                 // nothing more: the window quits
    std::string reply = replies.front();
    replies.pop_front();
    if (key_waiting) {
      key_char = reply.empty() ? 0 : static_cast<unsigned char>(reply[0]);
      key_ready = 1;
    } else {
      std::snprintf(input_line, sizeof input_line, "%s", reply.c_str());
      input_ready = 1;
    }
    return true;
  }
  void run_finished() override {}
};

class IoInputTest : public IoScratchTest {};

TEST_F(IoInputTest, IoInputValuesAcrossLines) {
  write_file("d.txt", "1\n2\r\n\n1,2,3\n\"q,r\", word here ,7\n");
  ok("open \"input\", 1, \"d.txt\"");
  ok("input #1, a, b");  // b comes from the next line
  EXPECT_EQ(eval_double("a * 10 + b"), 12);
  ok("input #1, c");  // the empty line is skipped; 2 and 3 stay
  EXPECT_EQ(eval_double("c"), 1);
  ok("input #1, d, e");
  EXPECT_EQ(eval_double("d * 10 + e"), 23);
  ok("input #1, s$, t$, u");
  EXPECT_EQ(eval_string("s$"), "q,r");
  EXPECT_EQ(eval_string("t$"), "word here");
  EXPECT_EQ(eval_double("u"), 7);
  fails_with("input #1, v", 139);
}

TEST_F(IoInputTest, IoInputLineInputKeepsTextAndEmptyLines) {
  write_file("l.txt", "  a, b  \n\nlast");
  ok("open \"input\", 1, \"l.txt\"");
  ok("line input #1, a$");
  EXPECT_EQ(eval_string("a$"), "  a, b  ");
  ok("line input #1, a$");
  EXPECT_EQ(eval_string("a$"), "");
  ok("line input #1, a$");
  EXPECT_EQ(eval_string("a$"), "last");
  fails_with("line input #1, a$", 139);
  fails_with("line input #1, x", 112);
}

TEST_F(IoInputTest, IoInputEofAndKindProbes) {
  write_file("e.txt", "\"s\", 5, 12abc\n\n\n");
  // 12abc is one value only for the probe: INPUT # refuses it (119).
  ok("open \"input\", 1, \"e.txt\"");
  EXPECT_EQ(eval_double("eof(1)"), 0);
  EXPECT_EQ(eval_double("input(1)"), 1);  // a string
  ok("input #1, a$");
  EXPECT_EQ(eval_double("input(1)"), 2);  // a number
  ok("input #1, n");
  EXPECT_EQ(eval_double("input(1)"), 3);  // a number followed by text
  fails_with("input #1, w$", 119);
  ok("close 1");
  write_file("e.txt", "7\n\n\n");
  ok("open \"input\", 1, \"e.txt\"");
  ok("input #1, n");
  EXPECT_EQ(eval_double("eof(1)"), -1);  // only empty lines follow
  EXPECT_EQ(eval_double("input(1)"), 0);

  write_file("f.txt", "x\n\n");
  ok("open \"input\", 2, \"f.txt\"");
  ok("line input #2, a$");
  EXPECT_EQ(eval_double("eof(2, \"LINE\")"), 0);  // the empty line still counts
  ok("line input #2, a$");
  EXPECT_EQ(eval_double("eof(2, \"line\")"), -1);

  ok("open \"output\", 3, \"o.txt\"");
  port.output.clear();
  EXPECT_LT(eval("eof(3)"), 0);
  EXPECT_TRUE(reported_code(141));
  port.output.clear();
  EXPECT_LT(eval("eof(2, \"lines\")"), 0);
  EXPECT_TRUE(reported_code(156));
  port.output.clear();
  EXPECT_LT(eval("eof(4)"), 0);
  EXPECT_TRUE(reported_code(128));
}

TEST_F(IoInputTest, IoInputRandomRecordValues) {
  write_file("r.dat", "1,xy abc    ");
  ok("open \"random\", 1, \"r.dat\", 12");
  ok("get #1");
  ok("input #1, a, b$");
  EXPECT_EQ(eval_double("a"), 1);
  EXPECT_EQ(eval_string("b$"), "xy abc");
  EXPECT_EQ(eval_double("eof(1)"), -1);
  fails_with("input #1, c", 236);
}

TEST_F(IoInputTest, IoInputFromString) {
  ok("s$ = \"3, x y, 4\"");
  ok("input %s$, a, b$");
  EXPECT_EQ(eval_double("a"), 3);
  EXPECT_EQ(eval_string("b$"), "x y");
  ok("input %s$, a, b$, c, d");  // too few values is not an error here
  EXPECT_EQ(eval_double("c"), 4);
  port.output.clear();
  EXPECT_LT(run("input %s$, a, b, c"), 0);  // "x y" is no number
  EXPECT_NE(port.output.find("Input line (partial):"), std::string::npos) << port.output;
  EXPECT_EQ(eval_string("s$"), "3, x y, 4");

  // A long text is shown through a window of 78 characters around the error.
  std::string values;
  for (int i = 0; i < 29; ++i) values += "11,";
  values += "zz, 5";  // 92 characters, the bad value at column 87
  ok("s$ = \"" + values + "\"");
  port.output.clear();
  EXPECT_LT(run("input %s$, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t, u, v, w, x, y, z, "
                "a1, b1, c1, d1"),
            0);
  const std::string shown = values.substr(values.size() - 78);
  EXPECT_NE(port.output.find("Input line (partial):\n" + shown + "\n" + std::string(87 - 14, ' ') + "*\n"),
            std::string::npos)
      << port.output;
}

TEST_F(IoInputTest, IoInputLongRecordHeaders) {
  const struct {
    const char* header;
    int code;
    unsigned length;
  } cases[] = {
      {"Length=200", 0, 200},       {"LENGTH=7", 0, 7},         {"length=1000016", 0, 1000016},
      {"Length=1000017", 184, 0},   {"Length=-1", 184, 0},      {"Length=+5", 184, 0},
      {"Length=", 184, 0},          {"Length=4294967297", 184, 0}, {"Length=0", 184, 0},
      {"Length=12x", 184, 0},       {"Size=12", 183, 0},        {"Len", 183, 0},
  };
  for (const auto& c : cases) {
    std::uint32_t length = 99;
    EXPECT_EQ(parse_long_record_header(c.header, length), c.code) << c.header;
    if (c.code == 0) {
      EXPECT_EQ(length, c.length) << c.header;
    }
  }
}

TEST_F(IoInputTest, IoInputLongRecordReadBack) {
  // 30 digits in pieces, then further values of the same line.
  write_file("long.txt",
             "\"Length=30\"\n\"123456789012345\"\n\"678901234567890\", 5, \"after\"\n"
             "\"Length=4\"\n\"12345\"\n"
             "\"Length=-1\"\n\"1\"\n");
  ok("open \"input\", 1, \"long.txt\"");
  ok("long x");
  ok("input #1, x, n, a$");
  EXPECT_EQ(eval_double("n"), 5);
  EXPECT_EQ(eval_string("a$"), "after");
  ASSERT_EQ(eval("x"), 14) << port.output;
  char* text = nullptr;
  ASSERT_GE(long_to_text_alloc(long_accumulator, &text), 0);
  EXPECT_EQ(std::string(text).substr(0, 31), "123456789012345678901234567890.");
  std::free(text);
  fails_with("input #1, x", 185);
  ok("close 1");
  ok("open \"input\", 1, \"long.txt\"");
  ok("line input #1, a$");
  ok("line input #1, a$");
  ok("line input #1, a$");
  ok("line input #1, a$");
  ok("line input #1, a$");
  fails_with("input #1, x", 184);
}

// A record read into a whole string array is spread over its elements.
TEST_F(IoInputTest, IoInputLongRecordIntoStringArray) {
  write_file("arr.txt", "\"Length=12\"\n\"123456\"\n\"789012\"\n");
  ok("dim s$(3)");
  ok("open \"input\", 1, \"arr.txt\"");
  ok("input #1, s$");
  EXPECT_EQ(eval_string("s$(0) + s$(1) + s$(2)"), "123456789012") << port.output;
  ok("dim n(2)");
  fails_with("input #1, n", 114);  // a whole numeric array takes no values
}

TEST_F(IoInputTest, IoInputKeyboardRedoLoop) {
  ReplyPort window;
  install_frontend_port(&window);
  window.replies = {"1", "1, 2, 3", "4, 5"};
  EXPECT_GE(run("input \"Value\"; a, b"), 0) << window.output;
  EXPECT_EQ(eval_double("a * 10 + b"), 45);
  EXPECT_NE(window.output.find("ERROR - Not enough data values."), std::string::npos) << window.output;
  EXPECT_NE(window.output.find("ERROR - Too many data values."), std::string::npos) << window.output;
  EXPECT_NE(window.output.find("?Redo from start:\n4, 5\n"), std::string::npos) << window.output;
  EXPECT_EQ(window.output.find("Value1\n"), 0u) << window.output;

  window.output.clear();
  window.replies = {"  keep, commas   "};
  EXPECT_GE(run("line input a$"), 0);
  EXPECT_EQ(eval_string("a$"), "  keep, commas");

  // A Kill (here: the window quits) ends the wait and the statement.
  window.replies.clear();
  ok("q = 7");
  run("input q");
  EXPECT_EQ(kill_requested, 1);
  kill_requested = 0;
  EXPECT_EQ(eval_double("q"), 7);

  // A fault in the variable list fails the statement once: asking again
  // could never mend it. A bad reply still asks again.
  const char* list_faults[] = {"input 5", "input a, 7", "input n(9)"};
  ok("dim n(2)");
  for (const char* statement : list_faults) {
    window.replies = {"1", "2", "3"};
    EXPECT_LT(run(statement), 0) << statement;
    EXPECT_EQ(window.replies.size(), 2u) << statement << "\n" << window.output;
  }
  window.replies = {"x", "3"};
  EXPECT_GE(run("input n(1)"), 0) << window.output;
  EXPECT_EQ(eval_double("n(1)"), 3);
  install_frontend_port(&port);
}

TEST_F(IoInputTest, IoInputPromptErrors) {
  fails_with("input \"x\" a", 111);
  fails_with("line input \"p\"; 5", 112);
  fails_with("line print a$", 47);
}

// INKEY$ in window mode takes the key the window stored; a failed wait gives -1.
TEST_F(IoInputTest, IoInputInkeyFromWindow) {
  ReplyPort window;
  install_frontend_port(&window);
  window.replies = {"k"};
  EXPECT_EQ(eval_string("inkey$"), "k");
  window.replies.clear();
  EXPECT_LT(eval("inkey$"), 0);
  install_frontend_port(&port);
}

TEST(IoInputUnit, IoInputBinaryEscapes) {
  EXPECT_EQ(binary_input_text("a\0b\nc\rd\\e", 9), "a\\0b\\nc\\rd\\\\e");
  EXPECT_EQ(binary_input_text("", 0), "");
}

}  // namespace
