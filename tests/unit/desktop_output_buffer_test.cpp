// The output box's buffer rules and the log file, without a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "frontend/output_buffer.h"
#include "session/paths.h"
#include "frontend/settings.h"
#include "session/size_settings.h"
#include "interpreter/output_channels.h"
#include "ports/frontend_port.h"

namespace {

// The port print_text reaches while the log opens: it feeds the buffer, as
// the main dialog does.
class BufferPort final : public FrontendPort {
 public:
  void print_text(std::string_view text) override { output_append_text(text); }
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void check_control(int, bool) override {}
  void focus_control(int) override {}
  bool pump_messages() override { return true; }
  bool wait_for_event(int) override { return true; }
  void run_finished() override {}
};

class OutputBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    size_settings_reset_current();
    output_buffer = output_buffer_state{};
    output_column = 0;
    output_buffer_init();
  }
  void TearDown() override {
    log_close();
    create_log_file = 0;
    install_frontend_port(nullptr);
  }
};

TEST_F(OutputBufferTest, ConversionTable) {
  struct row {
    const char* name;
    std::vector<std::string> texts;  // appended in order
    std::string box;                 // the buffer afterwards
    int column;
  };
  const std::string eighty(80, 'x');
  const row rows[] = {
      {"three texts join on one line", {"abc", "def", "ghi"}, "abcdefghi", 9},
      {"LF becomes CR LF", {"a\nb"}, "a\r\nb", 1},
      {"lone CR becomes CR LF", {"a\rb"}, "a\r\nb", 1},
      {"CR LF stays one line end", {"a\r\nb"}, "a\r\nb", 1},
      {"81st character starts a new line", {eighty + "y"}, eighty + "\r\ny", 1},
      {"text ending at column 80 gets its line end", {eighty, "z"}, eighty + "\r\nz", 1},
      {"a line end at column 80 is not doubled", {eighty.substr(0, 79) + "w", "\n"}, eighty.substr(0, 79) + "w\r\n\r\n", 0},
      {"column carries across calls", {std::string(79, 'q'), "rs"}, std::string(79, 'q') + "r\r\ns", 1},
  };
  for (const row& r : rows) {
    SetUp();
    for (const std::string& t : r.texts) ASSERT_EQ(output_append_text(t), 0) << r.name;
    EXPECT_EQ(output_buffer.text, r.box) << r.name;
    EXPECT_EQ(output_column, r.column) << r.name;
  }
}

TEST_F(OutputBufferTest, OneCallTakesAtMost560ConvertedBytes) {
  ASSERT_EQ(output_append_text(std::string(1000, 'a')), 0);
  // Six full lines of 82 bytes with their CR LF, then 68 characters: 560
  // bytes in all, the line ends counted; the rest of the text is dropped.
  EXPECT_EQ(output_buffer.text.size(), 560u);
  EXPECT_EQ(output_buffer.text.substr(0, 82), std::string(80, 'a') + "\r\n");
  // The worst case of line ends never writes past the work area.
  for (const std::string& text : {std::string(1000, '\n'), std::string(1000, '\r'), std::string("\r\n") + std::string(999, 'b')}) {
    SetUp();
    output_column = 79;
    ASSERT_EQ(output_append_text(text), 0);
    EXPECT_LE(output_buffer.text.size(), output_work_size);
  }
}

TEST_F(OutputBufferTest, FullBufferDropsOldestWholeLines) {
  size_settings[SIZE_CONSOLE_BUFFER_SIZE].current = 4096;
  output_buffer = output_buffer_state{};
  output_buffer_init();
  for (int i = 0; i < 400; ++i) {
    char line[32];
    std::snprintf(line, sizeof line, "line %04d\n", i);
    ASSERT_EQ(output_append_text(line), 0);
    ASSERT_LT(output_buffer.text.size(), 4096u);
  }
  // Whole lines only, the newest kept, the oldest gone.
  EXPECT_EQ(output_buffer.text.rfind("line 0399\r\n"), output_buffer.text.size() - 11);
  EXPECT_EQ(output_buffer.text.find("line 0000"), std::string::npos);
  EXPECT_EQ(output_buffer.text.substr(0, 5), "line ");
}

TEST_F(OutputBufferTest, NoBufferMeansNothingShown) {
  output_buffer = output_buffer_state{};
  EXPECT_EQ(output_append_text("x"), -1);
  EXPECT_EQ(output_buffer_empty(), -1);
}

TEST_F(OutputBufferTest, DisplayTextKeepsUtf8AndReadsOtherBytesAsWindows1252) {
  EXPECT_EQ(output_display_text("a\r\nb"), "a\nb");
  EXPECT_EQ(output_display_text("caf\xc3\xa9"), "caf\xc3\xa9");       // UTF-8 stays
  EXPECT_EQ(output_display_text("caf\xe9"), "caf\xc3\xa9");            // 1252 e-acute
  EXPECT_EQ(output_display_text("\x80"), "\xe2\x82\xac");              // euro sign
  EXPECT_EQ(output_display_text("\xed\xa0\x80"), "\xc3\xad\xc2\xa0\xe2\x82\xac");  // a surrogate is not UTF-8
}

TEST_F(OutputBufferTest, LogFileHeaderAndCopyWithoutCarriageReturns) {
  BufferPort port;
  install_frontend_port(&port);
  std::string folder = ::testing::TempDir();
  path_trim_trailing(folder);
  log_file_path = folder;
  log_file_name = "desktop_log_test.log";
  create_log_file = 1;
  start_time = 0;
  ASSERT_EQ(log_open(), 0);
  EXPECT_EQ(logging_active, 1u);
  output_append_text("hello\r\nworld" + std::string(85, '!') + "\n");
  // Written out at the flush (the desktop's every pump): readable before the
  // log closes.
  ASSERT_EQ(log_flush(), 0);
  std::ifstream early(folder + "/desktop_log_test.log");
  std::stringstream seen;
  seen << early.rdbuf();
  EXPECT_NE(seen.str().find("hello\nworld"), std::string::npos);
  log_close();

  std::ifstream in(folder + "/desktop_log_test.log");
  std::stringstream all;
  all << in.rdbuf();
  std::string text = all.str();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.rfind("Log File Opened\nTovarelle BASIC Log File\nDate & Time = ", 0), 0u) << text;
  EXPECT_NE(text.find("1970\n\nhello\nworld"), std::string::npos) << text;
  // Wrapped at 80 columns as in the box.
  EXPECT_NE(text.find("world" + std::string(75, '!') + "\n" + std::string(10, '!') + "\n"), std::string::npos);
  // A second opening replaces the old content.
  ASSERT_EQ(log_open(), 0);
  log_close();
  std::ifstream again(folder + "/desktop_log_test.log");
  std::stringstream fresh;
  fresh << again.rdbuf();
  EXPECT_EQ(fresh.str().find("hello"), std::string::npos);
}

TEST_F(OutputBufferTest, LogThatCannotOpenIsReportedAndStaysClosed) {
  BufferPort port;
  install_frontend_port(&port);
  log_file_path = "/nonexistent-folder-for-tovarelle";
  log_file_name = "x.log";
  create_log_file = 1;
  EXPECT_EQ(log_open(), -1);
  EXPECT_EQ(logging_active, 0u);
  EXPECT_NE(output_buffer.text.find("Cant open LOG file.\r\n"), std::string::npos);
  // Logging off: nothing is opened and nothing fails.
  create_log_file = 0;
  EXPECT_EQ(log_open(), 0);
  EXPECT_EQ(logging_active, 0u);
}

}  // namespace
