// Files: OPEN in both forms, CLOSE, RANDOM records with GET, PUT and FIELD,
// BINARY files, and the file functions, run as statements in a scratch folder.
#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "interpreter/file_table.h"
#include "interpreter/input.h"
#include "io_test_support.h"

namespace {

class IoFilesTest : public IoScratchTest {
 protected:
  double number(const std::string& expression) { return eval_double(expression); }
  std::string text(const std::string& expression) { return eval_string(expression); }
};

// Statement errors of OPEN, each leaving the number free.
TEST_F(IoFilesTest, IoFilesOpenStatementErrors) {
  write_file("in.txt", "1\n");
  const struct {
    const char* statement;
    int code;
  } cases[] = {
      {"open \"random\", 1, \"r.dat\"", 232},
      {"open \"output binary\", 2, \"b.dat\", 128", 327},
      {"open \"input binary\", 2, \"in.txt\", 200", 327},
      {"open \"input\", 1, \"missing.txt\"", 136},
      {"open \"input\", 1, \".\"", 136},  // a folder is no file
      {"open \"input binary\", 1, \"/tmp\"", 136},
      {"open \"bogus\", 1, \"x.txt\"", 131},
      {"open inp, 1, \"x.txt\"", 131},
      {"open \"output\", 0, \"x.txt\"", 132},
      {"open \"output\", 99999, \"x.txt\"", 132},
      {"open \"output\", 1, 5", 133},
      {"open \"output\", 1, \"x.txt\", 40000", 134},
      {"open \"output\", 1, \"x.txt\", -1", 134},
      {"open \"output\", 1, \"x.txt\", 0, 300000", 322},
      {"open \"output\", 1, \"x.txt\", 0, 9600, \"none\"", 323},
      {"open \"output\", 1, \"x.txt\", 0, 9600, \"no\", 3", 324},
      {"open \"input\", 1, \"in.txt\", 0, 9600, \"even\", 1.25", 324},
  };
  for (const auto& c : cases) {
    fails_with(c.statement, c.code);
    EXPECT_EQ(open_file_count, 0) << c.statement;
  }
  ok("open \"random\", 1, \"r.dat\", 128");
  ok("open \"output binary\", 2, \"b.dat\", 127");
  ok("open \"input\", 3, \"in.txt\", 0, 9600, \"Odd\", 1.5");
  EXPECT_EQ(open_file_count, 3);
  fails_with("open \"input\", 3, \"in.txt\"", 135);
  ok("close");
  EXPECT_EQ(open_file_count, 0);
  EXPECT_EQ(open_file_peak, 3);
}

// A program's files are closed in every child that SPAWN starts.
TEST_F(IoFilesTest, IoFilesAreClosedOnExec) {
  write_file("in.txt", "1\n");
  ok("open \"input\", 1, \"in.txt\"");
  ok("open \"output\", 2, \"o.txt\"");
  ok("open \"append\", 3, \"a.txt\"");
  ok("open \"random\", 4, \"r.dat\", 16");
  ok("open \"output binary\", 5, \"b.dat\", 16");
  for (int n = 1; n <= 5; ++n) {
    const file_entry& entry = file_table[n];
    const int fd = entry.stream != nullptr ? fileno(entry.stream) : entry.descriptor;
    ASSERT_GE(fd, 0) << n;
    EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0) << "file " << n;
  }
  ok("close");
}

// The OPEN function reports nothing of its own kind and answers a code.
TEST_F(IoFilesTest, IoFilesOpenFunctionResults) {
  write_file("in.txt", "1\n");
  const struct {
    const char* expression;
    double result;
  } cases[] = {
      {"open(\"input\", 1, \"missing.txt\")", -5},
      {"open(\"inp\", 1, \"in.txt\")", -1},
      {"open(\"input\", 0, \"in.txt\")", -2},
      {"open(\"input\", 1, \"in.txt\")", 0},
      {"open(\"input\", 1, \"in.txt\")", -3},
      {"open(\"INPUT\", 2, \"in.txt\", 10)", 0},
  };
  for (const auto& c : cases) {
    port.output.clear();
    EXPECT_EQ(number(c.expression), c.result) << c.expression;
    EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << c.expression << "\n" << port.output;
  }
  EXPECT_EQ(open_file_count, 2);
  // Argument types are still errors of the expression.
  port.output.clear();
  EXPECT_LT(eval("open(5, 3, \"in.txt\")"), 0);
  EXPECT_TRUE(reported_code(146));
  EXPECT_TRUE(reported_code(131));
  port.output.clear();
  EXPECT_LT(eval("open(\"input\", 3)"), 0);
  EXPECT_TRUE(reported_code(145));
  port.output.clear();
  EXPECT_LT(eval("open(\"random\", 3, \"r.dat\")"), 0);
  EXPECT_TRUE(reported_code(232));
  EXPECT_EQ(open_file_count, 2);
}

TEST_F(IoFilesTest, IoFilesFilesizeIsTheSizeAtOpen) {
  write_file("k.txt", std::string(1000, 'x'));
  ok("open \"input\", 1, \"k.txt\"");
  EXPECT_EQ(number("filesize(1)"), 1000);
  write_file("k.txt", std::string(10, 'x'));
  EXPECT_EQ(number("filesize(1)"), 1000);
  port.output.clear();
  EXPECT_LT(eval("filesize(2)"), 0);
  EXPECT_TRUE(reported_code(128));
  port.output.clear();
  EXPECT_LT(eval("filesize(-1)"), 0);
  EXPECT_TRUE(reported_code(125));
}

TEST_F(IoFilesTest, IoFilesRandomRecordsGrowReadBackAndPersist) {
  ok("open \"random\", 1, \"r.dat\", 4");
  ok("print #1, \"AB\";");
  ok("put #1");  // record 1: AB and two blanks
  ok("print #1, \"CDEF\";");
  ok("put #1");
  ok("print #1, \"XY\";");
  ok("put #1, 5");  // the file grows to five records
  EXPECT_EQ(read_file("r.dat").size(), 20u);
  EXPECT_EQ(read_file("r.dat").substr(0, 8), "AB  CDEF");
  EXPECT_EQ(read_file("r.dat").substr(16), "XY  ");
  ok("close 1");

  ok("open \"random\", 1, \"r.dat\", 4");
  ok("get #1 : line input #1, a$");
  EXPECT_EQ(text("a$"), "AB  ");
  ok("get #1 : line input #1, a$");
  EXPECT_EQ(text("a$"), "CDEF");
  ok("get #1, 5 : line input #1, a$");
  EXPECT_EQ(text("a$"), "XY  ");

  const struct {
    const char* statement;
    int code;
  } errors[] = {{"get #1, 0", 231}, {"get #1, 16777217", 231}, {"get #1, 6", 233},
                {"put #1, -3", 231}, {"get 1", 125}, {"line input #1, a$", 236}};
  for (const auto& e : errors) fails_with(e.statement, e.code);
  fails_with("print #1, \"toolong\"", 236);
}

// A short last record must not keep the previous record's bytes in its tail.
TEST_F(IoFilesTest, IoFilesShortLastRecordIsBlankFilled) {
  write_file("s.dat", std::string("ABCDEFGH") + "xy" + std::string("\0z", 2));
  ok("open \"random\", 1, \"s.dat\", 8");
  ok("get #1 : line input #1, a$");
  EXPECT_EQ(text("a$"), "ABCDEFGH");
  ok("get #1 : line input #1, a$");
  EXPECT_EQ(text("a$"), "xy      ");  // tail blank, the zero byte and after it blank too
  EXPECT_EQ(last_get_record_bytes(1), std::string("xy\0z", 4));  // as read, for the debugging aids
}

TEST_F(IoFilesTest, IoFilesOtherModesRefuseGetAndPut) {
  ok("open \"output\", 1, \"o.txt\"");
  fails_with("get #1", 129);
}

TEST_F(IoFilesTest, IoFilesFieldOnARecord) {
  write_file("f.dat", "0123456789ABCDEFGHIJ");
  prescan_mode = 1;
  no_execute = 1;
  ok("field #1, 10 as space$, 5 as b$, 5 AS c$");
  prescan_mode = 0;
  no_execute = 0;
  ASSERT_EQ(field_count, 1);
  ok("open \"random\", 1, \"f.dat\", 20");
  ok("get #1");
  EXPECT_EQ(text("b$"), "ABCDE");
  EXPECT_EQ(text("c$"), "FGHIJ");
  ok("field #1, 10 as space$, 5 as b$, 5 AS c$");  // at run time only checked
  EXPECT_EQ(field_count, 1);
}

TEST_F(IoFilesTest, IoFilesFieldSyntaxErrors) {
  prescan_mode = 1;
  no_execute = 1;
  const struct {
    const char* statement;
    int code;
  } cases[] = {
      {"field s$, 200 as a$, 56 as b$", 273},
      {"field #1, 0 as a$", 246},
      {"field #1, 256 as a$", 246},
      {"field #1, 5 xs a$", 239},
      {"field #1, 5 as", 240},
      {"field #1, 5 as 7", 241},
      {"field #1, 5 as a", 242},
      {"field #1, 5 as a$, 5 as a$", 178},
      {"field #1 5 as a$", 126},
      {"field #0, 5 as a$", 127},
      {"field x, 5 as a$", 125},
      {"field s$ 5 as a$", 230},
      {"field #1, as a$", 144},
  };
  for (const auto& c : cases) fails_with(c.statement, c.code);
  EXPECT_EQ(field_count, 0);
  // Ten fields end the list; the eleventh "," is the statement loop's.
  std::string ten = "field #1";
  for (int i = 0; i < 10; ++i) ten += ", 1 as f" + std::to_string(i) + "$";
  ok(ten);
  ASSERT_EQ(field_count, 1);
  EXPECT_EQ(field_table[0]->entry_count, 10u);
  prescan_mode = 0;
  no_execute = 0;
  command_line_mode = 1;
  typed_line_offset = 0;  // the statement counts as typed into the command box
  fails_with("field #1, 5 as q$", 175);
  typed_line_offset = no_typed_line;
  command_line_mode = 0;
}

TEST_F(IoFilesTest, IoFilesCloseWritesPendingText) {
  ok("open \"output\", 1, \"p.txt\" : open \"output\", 2, \"q.txt\"");
  ok("x = 5 : print #1, x;");
  ok("print #2, \"a\";");
  ok("close");
  EXPECT_EQ(read_file("p.txt"), "            5 ");
  EXPECT_EQ(read_file("q.txt"), "a");
  EXPECT_EQ(open_file_count, 0);
  fails_with("close 0", 138);
  ok("close 3");  // a closed number is left alone
}

// Writes that fail (a full device) are reported, not lost.
TEST_F(IoFilesTest, IoFilesFailedWritesAreReported) {
  ok("open \"output\", 1, \"/dev/full\"");
  ok("print #1, \"lost?\"");
  port.output.clear();
  EXPECT_LT(run("close 1"), 0);
  EXPECT_TRUE(reported("Error on output file.")) << port.output;
  EXPECT_EQ(open_file_count, 0);  // the channel is closed all the same
  ok("open \"random\", 2, \"/dev/full\", 8");
  fails_with("put #2", 235);

  // CLOSE without a list closes every file and still fails on the lost text.
  ok("open \"append\", 1, \"/dev/full\"");
  ok("write #1, 1, 2");
  port.output.clear();
  EXPECT_LT(run("close"), 0);
  EXPECT_TRUE(reported("Error on output file.")) << port.output;
  EXPECT_EQ(open_file_count, 0);

  // At the end of a run no statement is executing: the failure is reported
  // without a source line to echo.
  ok("open \"output\", 3, \"/dev/full\"");
  ok("print #3, \"lost too\"");
  port.output.clear();
  EXPECT_LT(file_close_all(), 0);
  EXPECT_EQ(port.output.find("print"), std::string::npos) << port.output;
  EXPECT_TRUE(reported("Error on output file.")) << port.output;
}

// Output-binary files are created readable and writable by their owner.
TEST_F(IoFilesTest, IoFilesBinaryRoundTrip) {
  ok("open \"output binary\", 1, \"b.bin\", 20");
  ok("print #1, \"a\\\\0b\\\\nc\\\\\\\\\"");
  ok("close 1");
  struct stat info {};
  ASSERT_EQ(stat("b.bin", &info), 0);
  EXPECT_TRUE(info.st_mode & S_IRUSR);
  EXPECT_TRUE(info.st_mode & S_IWUSR);
  EXPECT_EQ(read_file("b.bin"), std::string("a\0b\nc\\", 6));

  write_file("raw.bin", std::string("x\0y\r\nz\\", 7) + "tail");
  ok("open \"input binary\", 1, \"raw.bin\", 7");
  ok("line input #1, a$");
  EXPECT_EQ(text("a$"), "x\\0y\\r\\nz\\\\");
  ok("line input #1, a$");
  EXPECT_EQ(text("a$"), "tail");
  const struct {
    const char* statement;
    int code;
  } cases[] = {{"line input #1, a$", 139}, {"input #1, a$", 328}, {"x = eof(1)", 328},
               {"x = eof(1, \"line\")", 329}};
  for (const auto& c : cases) fails_with(c.statement, c.code);
}

TEST(IoFilesUnit, IoFilesModeWords) {
  const struct {
    const char* word;
    int mode;
  } cases[] = {{"input", 0},         {"OUTPUT", 1},       {"Random", 2},        {"append", 3},
               {"serial", 4},        {"input binary", 5}, {"OUTPUT BINARY", 6}, {"inp", -1},
               {"input  binary", -1}, {"", -1}};
  for (const auto& c : cases) EXPECT_EQ(file_mode_from_word(c.word), c.mode) << c.word;
}

TEST(IoFilesUnit, IoFilesPathText) {
  std::string path;
  EXPECT_TRUE(open_file_path("sub\\data.txt", path));
  EXPECT_EQ(path, "sub/data.txt");
  EXPECT_TRUE(open_file_path(std::string(259, 'a'), path));
  EXPECT_FALSE(open_file_path(std::string(260, 'a'), path));
}

}  // namespace
