// Loading into the program buffer, statement numbers, the typed-line road and
// the output channels' file records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "run_test_support.h"
#include "interpreter/commands.h"
#include "interpreter/file_table.h"
#include "interpreter/output_channels.h"
#include "rizozira/long_number.h"

namespace {

class RunBufferTest : public RunTest {
 protected:
  std::string folder;
  std::uint32_t saved_buffer_size = 0;

  void SetUp() override {
    RunTest::SetUp();
    char pattern[] = "/tmp/tov_run_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    saved_buffer_size = program_buffer_size;
  }
  void TearDown() override {
    program_buffer_size = saved_buffer_size;
    statement_number_capacity = size_settings[SIZE_NUMBER_OF_STATEMENT_NUMBERS].current;
    std::string command = "rm -rf '" + folder + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    RunTest::TearDown();
  }
  std::string write_file(const std::string& name, const std::string& text) {
    std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string text() const { return std::string(program_buffer, program_length); }
  int load(const std::string& path, int mode) {
    source_file_path = path;
    return load_program_file(mode);
  }
};

TEST_F(RunBufferTest, RunLoadFitsUpToBufferSizeMinusTwo) {
  program_buffer_size = 64;
  EXPECT_EQ(load(write_file("fits.bas", std::string(62, 'a')), 0), 0);
  EXPECT_EQ(program_length, 62u);
  EXPECT_EQ(program_buffer[62], 0);

  // One byte more does not fit: refused, and the half-read text is dropped
  // rather than left behind as a program.
  EXPECT_EQ(load(write_file("big.bas", std::string(63, 'b')), 0), -120);
  EXPECT_TRUE(reported("Program too large for buffer."));
  EXPECT_EQ(program_length, 0u);
  EXPECT_EQ(load(folder + "/missing.bas", 0), -1);
  source_file_path.clear();
  EXPECT_EQ(load_program_file(0), -1);
}

TEST_F(RunBufferTest, RunAppendAndIncludePlaceTheirText) {
  ASSERT_EQ(load(write_file("main.bas", "one\r\ntwo\r\nlast"), 0), 0);
  std::string part = write_file("part.bas", "p1\np2\n");
  ASSERT_EQ(load(part, 1), 0);
  EXPECT_EQ(text(), "one\r\ntwo\r\nlast\r\np1\np2\n");

  // INCLUDE behind the first line: the rest follows the inserted text.
  ASSERT_EQ(load(write_file("main2.bas", "one\r\ntwo\r\n"), 0), 0);
  next_line_offset = 5;
  ASSERT_EQ(load(write_file("inc.bas", "i1\r\ni2"), 2), 0);
  EXPECT_EQ(text(), "one\r\ni1\r\ni2\r\ntwo\r\n");
}

TEST_F(RunBufferTest, RunFailedIncludeLeavesTheTextAsItWas) {
  ASSERT_EQ(load(write_file("main.bas", "first\r\nsecond line\r\nthird\r\n"), 0), 0);
  std::string before = text();
  program_buffer_size = program_length + 12;
  next_line_offset = 7;
  EXPECT_EQ(load(write_file("large.bas", std::string(40, 'x')), 2), -120);
  EXPECT_EQ(text(), before);
  EXPECT_EQ(program_buffer[program_length], 0);
}

TEST_F(RunBufferTest, RunStatementNumbersAreCheckedAndEntered) {
  struct Case {
    const char* line;
    int allow_comma;
    int result;
    std::uint32_t number;
  };
  const Case cases[] = {
      {"print", 0, 0, 0},          {"0 print", 0, -9, 0},      {"2147483647 x", 0, 1, 2147483647u},
      {"2147483648 x", 0, -9, 0},  {"1234567890", 0, 1, 1234567890u}, {"12345678901", 0, -229, 0},
      {"10a", 0, -9, 0},           {"10:x", 0, 1, 10},         {"10//x", 0, 1, 10},
      {"10\tx", 0, 1, 10},         {"10,20", 0, -9, 0},        {"10,20", 1, 1, 10},
  };
  for (const Case& c : cases) {
    point_at(c.line);
    statement_number = 0;
    EXPECT_EQ(get_statement_number(c.allow_comma), c.result) << c.line;
    if (c.result == 1) {
      EXPECT_EQ(statement_number, c.number) << c.line;
    }
  }
}

TEST_F(RunBufferTest, RunPrescanEntersNumbersAndRefusesDuplicatesAndOverflow) {
  ASSERT_EQ(load(write_file("ok.bas", "10 print 1\nfor i = 1 to 2\n20 print i\nnext\n30 end\n"), 0), 0);
  ASSERT_EQ(prescan_program(), 0);
  ASSERT_EQ(statement_number_count, 3u);
  EXPECT_EQ(statement_number_table[1].number, 20u);
  EXPECT_EQ(statement_number_table[1].line_offset, 26u);
  EXPECT_EQ(statement_number_table[1].loop_line_offset, 12u);  // 1 + offset of the FOR line
  EXPECT_EQ(statement_number_table[2].loop_line_offset, 0u);

  ASSERT_EQ(load(write_file("dup.bas", "10 rem\n20 rem\n10 rem\n"), 0), 0);
  EXPECT_LT(prescan_program(), 0);
  EXPECT_TRUE(reported("Duplicate statement number."));

  std::string many;
  for (int i = 1; i <= 21; ++i) many += std::to_string(i) + " rem\n";
  ASSERT_EQ(load(write_file("many.bas", many), 0), 0);
  statement_number_capacity = 20;
  EXPECT_LT(prescan_program(), 0);
  EXPECT_TRUE(reported("Statement number table full"));
}

TEST_F(RunBufferTest, RunTypedLineLeavesTheProgramUnchanged) {
  ASSERT_EQ(load(write_file("prog.bas", "100 print \"sub\"\r\nreturn\r\n"), 0), 0);
  ASSERT_EQ(prescan_program(), 0);
  std::string before = text();
  point_at("gosub 100: print \"back\"");
  ASSERT_EQ(classify_command_line(), 1);
  run_typed_line();
  EXPECT_EQ(port.output, "sub\nback\n");
  EXPECT_EQ(text(), before);
  EXPECT_EQ(program_buffer[program_length], 0);

  // Without room for the line plus ten bytes nothing runs.
  port.output.clear();
  point_at("print 1");
  program_buffer_size = program_length + 7 + 10;
  run_typed_line();
  EXPECT_EQ(port.output, "Insufficient program file buffer space.\n");
  EXPECT_EQ(text(), before);
}

TEST_F(RunBufferTest, RunOffsetFieldsAreHexadecimal) {
  struct Case {
    std::uint32_t offset;
    const char* text;
  };
  const Case cases[] = {{0, "       0"}, {0x1A5, "     1A5"}, {0xFFFF, "    FFFF"}, {0x10000, "   10000"},
                        {0x123ABCD, " 123ABCD"}};
  for (const Case& c : cases) {
    char field[16];
    format_offset_field(c.offset, field, sizeof field);
    EXPECT_STREQ(field, c.text) << c.offset;
  }
}

// A file channel set up by hand: the text a PRINT or WRITE sends to it.
class RunChannelTest : public RunBufferTest {
 protected:
  FILE* stream = nullptr;
  char buffer[600] = {};
  void open_channel(std::uint32_t mode, std::int32_t width) {
    stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    file_entry& f = file_table[1];
    f = file_entry{};
    f.handle = 1;
    f.stream = stream;
    f.mode = mode;
    f.width = width;
    f.line_buffer = buffer;
    f.line_buffer_size = sizeof buffer;
    current_channel = 1;
  }
  std::string written() {
    std::fflush(stream);
    std::rewind(stream);
    std::string out;
    int c;
    while ((c = std::fgetc(stream)) != EOF) out += static_cast<char>(c);
    return out;
  }
  void TearDown() override {
    file_table[1] = file_entry{};
    current_channel = 0;
    if (stream) std::fclose(stream);
    RunBufferTest::TearDown();
  }
};

TEST_F(RunChannelTest, RunWriteOfALongNumberIsALengthRecordInPieces) {
  open_channel(FILE_MODE_OUTPUT, default_record_length);
  long_precision = 250;
  std::string digits(200, '7');
  ASSERT_EQ(long_convert_text(digits.c_str(), digits.size(), long_accumulator, 1), 0);
  ASSERT_EQ(print_item(ITEM_LONG, 1), 0);
  ASSERT_EQ(print_end_line(), 0);
  long_precision = long_precision_default;

  // "Length=N" on a line of its own, then pieces of at most 78 characters in
  // quotes, one to a line of the 80 columns a record may use.
  std::istringstream lines(written());
  std::string line;
  std::getline(lines, line);
  unsigned length = 0;
  ASSERT_EQ(std::sscanf(line.c_str(), "\"Length=%u\"", &length), 1) << line;
  EXPECT_GE(length, 200u);
  std::string joined;
  while (std::getline(lines, line)) {
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.front(), '"');
    EXPECT_EQ(line.back(), '"');
    EXPECT_LE(line.size(), 80u);
    joined += line.substr(1, line.size() - 2);
    if (joined.size() < length) {
      EXPECT_EQ(line.size(), 80u) << "only the last piece is short";
    }
  }
  EXPECT_EQ(joined.size(), length);
  EXPECT_EQ(joined.substr(0, 200), digits);
}

TEST_F(RunChannelTest, RunRandomRecordOverflowIsRefused) {
  open_channel(FILE_MODE_RANDOM, 10);
  std::snprintf(string_accumulator, string_accumulator_size, "%s", "abcdef");
  string_accumulator_length = 6;
  file_table[1].line_continues = 1;
  ASSERT_EQ(print_item(ITEM_STRING, 0), 0);
  EXPECT_EQ(print_item(ITEM_STRING, 0), -236);
  EXPECT_EQ(std::string(buffer, 6), "abcdef");
  EXPECT_EQ(written(), "");  // a RANDOM record is written by PUT only
}

TEST_F(RunChannelTest, RunBinaryPrintTranslatesEscapes) {
  open_channel(FILE_MODE_OUTPUT_BINARY, 8);
  file_table[1].descriptor = fileno(stream);
  point_at("");
  std::snprintf(string_accumulator, string_accumulator_size, "%s", "a\\0b\\n\\\\\\");
  string_accumulator_length = static_cast<std::int32_t>(std::strlen(string_accumulator));
  ASSERT_EQ(file_print_binary(), 0);
  EXPECT_EQ(written(), std::string("a\0b\n\\", 5));
  std::snprintf(string_accumulator, string_accumulator_size, "%s", "123456789");
  string_accumulator_length = 9;
  EXPECT_EQ(file_print_binary(), -330);
}

}  // namespace
