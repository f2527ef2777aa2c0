// Serial channels over pseudo-terminal pairs: settings, line reads with
// their limits and time-outs, the probe, line writes, hang-ups and stalls.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

#include "core_test_support.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/serial.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_port.h"

namespace {

// Everything the device side received within timeout_ms (then 50 ms quiet).
std::string drain_device(int master, int timeout_ms) {
  std::string got;
  char chunk[256];
  pollfd p{master, POLLIN, 0};
  while (poll(&p, 1, timeout_ms) == 1) {
    ssize_t n = read(master, chunk, sizeof chunk);
    if (n <= 0) break;
    got.append(chunk, static_cast<std::size_t>(n));
    timeout_ms = 50;
  }
  return got;
}

// A pseudo-terminal pair: the test plays the device on the master side, the
// channel opens the slave like a serial port.
class MiscSerialPair : public ::testing::Test {
 protected:
  void SetUp() override {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    slave_path = ptsname(master);
    entry.width = 80;
    entry.line_buffer = buffer;
    entry.line_buffer_size = sizeof buffer;
    install_frontend_port(&port);
    saved_console_mode = console_mode;
  }
  void TearDown() override {
    serial_close(entry);
    if (master >= 0) close(master);
    install_frontend_port(nullptr);
    console_mode = saved_console_mode;
    kill_requested = 0;
    serial_eof_probe = 0;
  }
  void open_port(serial_line_settings settings = {}) {
    ASSERT_NE(serial_open_port(entry, slave_path.c_str(), settings), 0u) << slave_path;
  }
  void device_sends(const std::string& bytes) {
    ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    tcdrain(master);
    usleep(20000);  // let the line discipline pass the bytes on
  }
  // Everything the device received within timeout_ms.
  std::string device_receives(int timeout_ms = 300) { return drain_device(master, timeout_ms); }
  void set_line(const std::string& text) {
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    entry.buffer_length = static_cast<std::int32_t>(text.size());
  }

  int master = -1;
  std::string slave_path;
  file_entry entry;
  char buffer[300] = {};
  ScriptedPort port;
  std::uint32_t saved_console_mode = 0;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(MiscSerialNames, DevicePathOfPortNames) {
  struct Case {
    const char* name;
    const char* device;
  } cases[] = {
      {"COM1", "/dev/ttyS0"},     {"com3", "/dev/ttyS2"},         {"ttyUSB0", "/dev/ttyUSB0"},
      {"/dev/ttyACM1", "/dev/ttyACM1"}, {"COMX", "/dev/COMX"}, {"COM0", "/dev/COM0"},
  };
  for (const Case& c : cases) EXPECT_EQ(serial_device_path(c.name), c.device) << c.name;
}

TEST(MiscSerialSettings, TermiosCarriesParityAndStopBits) {
  struct Case {
    int parity, stop_bits;
    tcflag_t parity_bits;
    bool two_stop_bits;
  } cases[] = {
      {0, 0, 0, false},
      {2, 2, PARENB, true},
      {1, 0, PARENB | PARODD, false},
      {3, 1, PARENB | PARODD | CMSPAR, true},
      {4, 0, PARENB | CMSPAR, false},
  };
  for (const Case& c : cases) {
    termios t{};
    t.c_cflag = PARENB | PARODD | CSTOPB | CRTSCTS | CS7;  // whatever the device had before
    t.c_lflag = ICANON | ECHO;
    t.c_iflag = IXON | ICRNL;
    serial_line_settings settings;
    settings.parity = c.parity;
    settings.stop_bits = c.stop_bits;
    serial_make_termios(t, settings);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parity_bits) << c.parity;
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.two_stop_bits) << c.stop_bits;
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | ICRNL), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
  }
}

TEST_F(MiscSerialPair, MiscSerialOpenSetsSpeedAndRawMode) {
  struct Case {
    std::uint32_t baud;
    speed_t speed;
  } cases[] = {{9600, B9600}, {19200, B19200}, {300, B300}, {115200, B115200}};
  for (const Case& c : cases) {
    serial_line_settings settings;
    settings.baud_rate = c.baud;
    open_port(settings);
    EXPECT_EQ(entry.mode, static_cast<std::uint32_t>(FILE_MODE_SERIAL));
    termios t{};
    ASSERT_EQ(tcgetattr(entry.descriptor, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), c.speed) << c.baud;
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    serial_close(entry);
    EXPECT_EQ(entry.handle, 0u);
    EXPECT_EQ(entry.descriptor, -1);
  }
}

TEST_F(MiscSerialPair, MiscSerialOpenFailsCleanly) {
  serial_line_settings settings;
  EXPECT_EQ(serial_open_port(entry, "/nonexistent/ttyX", settings), 0u);
  serial_release(entry);
  EXPECT_EQ(entry.descriptor, -1);
  EXPECT_EQ(entry.port_settings, nullptr);
  // A file that is not a terminal is no port either.
  EXPECT_EQ(serial_open_port(entry, "/dev/null", settings), 0u);
  EXPECT_EQ(entry.port_settings, nullptr);
}

TEST_F(MiscSerialPair, MiscSerialReadsLinesDroppingCarriageReturns) {
  struct Case {
    std::int32_t width;
    const char* sent;
    int result;
    const char* line;  // the line read, or the partial line printed before 319
  } cases[] = {
      {80, "ABC\r\n", 0, "ABC"},
      {80, "\n", 0, ""},
      {80, "A\rB\r\rC\n", 0, "ABC"},
      {3, "ABCD\n", 0, "ABCD"},   // record length + 1 characters fit
      {3, "ABCDE\n", -319, "ABCD"},
      {3, "ABCD\r\n", -319, "ABCD"},  // a CR past the limit overflows too
  };
  open_port();
  for (const Case& c : cases) {
    entry.width = c.width;
    port.output.clear();
    serial_port_discard_input(entry.descriptor);
    device_sends(c.sent);
    EXPECT_EQ(serial_read_line(entry), c.result) << c.sent;
    if (c.result == 0) {
      EXPECT_STREQ(buffer, c.line);
      EXPECT_EQ(entry.buffer_length, static_cast<std::int32_t>(std::strlen(c.line)));
    } else {
      EXPECT_NE(port.output.find(std::string("Partial line received: \n") + c.line), std::string::npos)
          << port.output;
      EXPECT_NE(port.output.find("SERIAL input buffer overflow (message too long)."), std::string::npos);
    }
  }
}

TEST_F(MiscSerialPair, MiscSerialProbeKeepsTheByteForTheNextLine) {
  open_port();
  serial_eof_probe = 1;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(serial_read_line(entry), 0);  // nothing waiting
  double waited = seconds_since(start);
  EXPECT_GE(waited, 0.15);
  EXPECT_LT(waited, 1.0);

  device_sends("XY\n");
  EXPECT_EQ(serial_read_line(entry), 1);
  EXPECT_EQ(serial_read_line(entry), 1);  // still pending, not read twice
  serial_eof_probe = 0;
  EXPECT_EQ(serial_read_line(entry), 0);
  EXPECT_STREQ(buffer, "XY");
}

TEST_F(MiscSerialPair, MiscSerialReadTimesOutAfterAboutFiveSeconds) {
  open_port();
  device_sends("partial");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(serial_read_line(entry), -321);
  double waited = seconds_since(start);
  EXPECT_GT(waited, 4.8);
  EXPECT_LT(waited, 7.0);
  EXPECT_NE(port.output.find("SERIAL input timeout."), std::string::npos);
}

TEST_F(MiscSerialPair, MiscSerialWritesWholeLines) {
  struct Case {
    const char* line;
    const char* received;
  } cases[] = {
      {"X", "X\n"},
      {"X\n", "X\n"},
      {"a b, c", "a b, c\n"},
      {"", ""},
  };
  open_port();
  for (const Case& c : cases) {
    set_line(c.line);
    EXPECT_EQ(serial_write_line(entry), 0) << c.line;
    EXPECT_EQ(device_receives(c.received[0] ? 300 : 100), c.received) << c.line;
  }
}

TEST_F(MiscSerialPair, MiscSerialHangUpIsAnIoErrorNotAWait) {
  open_port();
  close(master);
  master = -1;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(serial_read_line(entry), -320);
  set_line("X");
  EXPECT_EQ(serial_write_line(entry), -320);
  EXPECT_LT(seconds_since(start), 1.0);
}

TEST_F(MiscSerialPair, MiscSerialStalledWriteEndsByKillOrError) {
  open_port();
  // Nobody reads the device side: sooner or later the port takes no more.
  std::string block(250, 'z');
  set_line(block);
  console_mode = 0;
  kill_requested = 1;
  int r = 0;
  for (int i = 0; i < 2000 && r == 0; ++i) r = serial_write_line(entry);
  EXPECT_EQ(r, -106);  // "User interrupted program" during the wait

  kill_requested = 0;
  console_mode = 1;  // no Kill button: the bounded wait ends it
  // The device side may still take a little more; the call that stalls ends
  // after the bounded wait.
  auto start = std::chrono::steady_clock::now();
  r = 0;
  for (int i = 0; i < 2000 && r == 0; ++i) {
    start = std::chrono::steady_clock::now();
    r = serial_write_line(entry);
  }
  EXPECT_EQ(r, -320);
  double waited = seconds_since(start);
  EXPECT_GT(waited, 4.8);
  EXPECT_LT(waited, 7.0);
}

// ---------------------------------------------------------------- through the statements

namespace {

// OPEN "serial", PRINT #, INPUT #, LINE INPUT #, INPUT(n) and CLOSE on a
// pseudo terminal, run as statements of a started interpreter.
class MiscSerialStatements : public CoreTest {
 protected:
  int master = -1;
  std::string slave;

  void SetUp() override {
    CoreTest::SetUp();
    ASSERT_EQ(start(), 0) << port.output;
    master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    slave = ptsname(master);
  }
  void TearDown() override {
    file_close_all();
    if (master >= 0) close(master);
    CoreTest::TearDown();
  }
  int run(const std::string& text) {
    port.output.clear();
    return execute_statement_text(text.c_str());
  }
  void device_sends(const std::string& bytes) {
    ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    usleep(20000);
  }
  std::string device_receives() { return drain_device(master, 300); }
};

}  // namespace

TEST_F(MiscSerialStatements, LinesGoOutAndComeInThroughTheChannel) {
  ASSERT_GE(run("OPEN \"serial\", 1, \"" + slave + "\", 80, 19200, \"even\", 2"), 0) << port.output;
  ASSERT_GE(run("PRINT #1, \"X\";"), 0) << port.output;
  EXPECT_EQ(device_receives(), "X\n");
  ASSERT_GE(run("PRINT #1, \"a\"; 12"), 0) << port.output;
  std::string line = device_receives();
  EXPECT_EQ(line.substr(0, 1), "a");
  EXPECT_NE(line.find("12"), std::string::npos);
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1);  // one line, one LF

  EXPECT_EQ(eval_double("INPUT(1)"), 0.0);  // nothing waiting
  device_sends("12, abc\r\n");
  EXPECT_EQ(eval_double("INPUT(1)"), 1.0);  // the byte is kept for the read
  ASSERT_GE(run("INPUT #1, n, t$"), 0) << port.output;
  EXPECT_EQ(eval_double("n"), 12.0);
  EXPECT_EQ(eval_string("t$"), "abc");

  device_sends("one, two\n");
  ASSERT_GE(run("LINE INPUT #1, l$"), 0) << port.output;
  EXPECT_EQ(eval_string("l$"), "one, two");

  ASSERT_GE(run("CLOSE 1"), 0) << port.output;
  EXPECT_LT(run("PRINT #1, \"gone\""), 0);
}

TEST_F(MiscSerialStatements, OpenFailuresAreReported) {
  EXPECT_LT(run("OPEN \"serial\", 1, \"/nonexistent/ttyQ\""), 0);
  EXPECT_TRUE(reported_code(136)) << port.output;
  EXPECT_LT(run("OPEN \"serial\", 1, \"" + slave + "\", 80, 9600, \"none\""), 0);
  EXPECT_TRUE(reported_code(323)) << port.output;
  EXPECT_LT(run("OPEN \"serial\", 1, \"" + slave + "\", 80, 9600, \"no\", 3"), 0);
  EXPECT_TRUE(reported_code(324)) << port.output;
}

TEST(MiscSerialPorts, ListNamesOnlyDevicesThatExist) {
  std::vector<std::string> ports;
  int r = serial_fill_port_list(ports);
  EXPECT_EQ(r, ports.empty() ? -1 : 0);
  for (const std::string& name : ports) EXPECT_EQ(access(name.c_str(), F_OK), 0) << name;
}

TEST_F(MiscSerialPair, MiscSerialFreeSpeedWithoutAConstant) {
  serial_line_settings settings;
  settings.baud_rate = 250000;  // no B constant: set through the free-speed route
  open_port(settings);
  termios t{};
  ASSERT_EQ(tcgetattr(entry.descriptor, &t), 0);
  EXPECT_EQ(t.c_cflag & (CBAUD | CBAUDEX), static_cast<tcflag_t>(0010000));  // the free-speed code
}

// ---------------------------------------------------------------- the port chooser

namespace {

class MiscSerialChooser : public StartedCoreTest {
 protected:
  ScriptedDialogs dialogs;
  std::uint32_t saved_console_mode = 0;
  void SetUp() override {
    StartedCoreTest::SetUp();
    saved_console_mode = console_mode;
    console_mode = 0;
    install_dialog_port(&dialogs);
  }
  void TearDown() override {
    install_dialog_port(nullptr);
    console_mode = saved_console_mode;
    StartedCoreTest::TearDown();
  }
};

}  // namespace

TEST_F(MiscSerialChooser, ChosenPortIsTheResultAndSelectedString) {
  dialogs.offered_ports = {"/dev/ttyS0", "/dev/ttyUSB0"};
  dialogs.serial_answer = 1;
  dialogs.rescan_first = true;
  EXPECT_EQ(eval_string("BROWSECOMMPORTS$(\"Which port?\")"), "/dev/ttyUSB0");
  EXPECT_EQ(dialogs.serial.prompt, "Which port?");
  EXPECT_EQ(eval_string("selected_string$"), "/dev/ttyUSB0");
}

TEST_F(MiscSerialChooser, CancelsAndWrongArgumentsAreReported) {
  struct Case {
    const char* call;
    std::vector<std::string> offered;
    int answer;
    std::uint32_t console;
    int code;
  } cases[] = {
      {"BROWSECOMMPORTS$(\"p\")", {"/dev/ttyS0"}, dialog_cancelled, 0, 325},
      {"BROWSECOMMPORTS$(\"p\")", {}, 0, 0, 325},               // OK on an empty list
      {"BROWSECOMMPORTS$(5)", {"/dev/ttyS0"}, 0, 0, 146},
      {"BROWSECOMMPORTS$(\"p\", \"q\")", {"/dev/ttyS0"}, 0, 0, 145},
      {"BROWSECOMMPORTS$(\"p\")", {"/dev/ttyS0"}, 0, 1, 293},  // no dialogs in console mode
  };
  for (const Case& c : cases) {
    dialogs.offered_ports = c.offered;
    dialogs.serial_answer = c.answer;
    dialogs.rescan_first = false;
    console_mode = c.console;
    port.output.clear();
    EXPECT_LT(eval(c.call), 0) << c.call;
    EXPECT_TRUE(reported_code(c.code)) << c.call << "\n" << port.output;
  }
}
