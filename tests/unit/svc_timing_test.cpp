// Elapsed-time readings, the timing report line and the user-interrupt poll.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "interpreter/program_buffer.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "platform/clock.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

namespace {

class SvcTimingTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  char line[16] = "x = long(2)";
  void SetUp() override {
    install_frontend_port(&port);
    timer_available = 1;
    timer_frequency = static_cast<std::int64_t>(monotonic_frequency);
    timer_calibrate();
    console_mode = 0;
    kill_requested = program_ended = step_mode = debug_mode = computing_busy = 0;
  }
  void TearDown() override {
    install_frontend_port(nullptr);
    timer_available = 1;
    timer_frequency = static_cast<std::int64_t>(monotonic_frequency);
    timer_calibrate();
    kill_requested = program_ended = step_mode = debug_mode = computing_busy = 0;
    line_start = line_end = scan_pointer = statement_start = nullptr;
    program_offset = program_length = 0;
  }
};

TEST_F(SvcTimingTest, ElapsedTimeFollowsTheClock) {
  std::int64_t stamp = 0;
  timer_read(stamp);
  timer_read_global();
  sleep_microseconds(20000);
  std::int32_t us = timer_elapsed_us(stamp);
  EXPECT_GE(us, 15000);
  EXPECT_LT(us, 2000000);
  std::int32_t global_us = timer_elapsed_us_global();
  EXPECT_GE(global_us, 15000);
  EXPECT_LT(global_us, 2000000);
}

TEST_F(SvcTimingTest, NoCounterOrSlowCounterReadsZero) {
  std::int64_t stamp = 0;
  timer_read(stamp);
  sleep_microseconds(2000);
  timer_available = 0;
  EXPECT_EQ(timer_elapsed_us(stamp), 0);
  timer_read(stamp);
  EXPECT_EQ(stamp, 0);

  timer_available = 1;
  timer_frequency = 999999;  // slower than 1 MHz: no whole tick per microsecond
  timer_calibrate();
  EXPECT_EQ(timer_ticks_per_us, 0u);
  timer_read(stamp);
  sleep_microseconds(2000);
  EXPECT_EQ(timer_elapsed_us(stamp), 0);
}

TEST_F(SvcTimingTest, ElapsedTimesBeyondThirtyTwoBitsSaturate) {
  std::int64_t now = 0;
  timer_read(now);
  const std::int64_t ticks_per_us = static_cast<std::int64_t>(timer_ticks_per_us);
  // 50 minutes, 2^31 microseconds exactly, and a year: none may wrap to 0.
  const std::int64_t ages_us[] = {3000LL * 1000000, 1LL << 31, 365LL * 86400 * 1000000};
  for (std::int64_t age : ages_us) {
    EXPECT_GE(timer_elapsed_us(now - age * ticks_per_us), INT32_MAX - 1000) << age;
    timer_global_start = now - age * ticks_per_us;
    EXPECT_GE(timer_elapsed_us_global(), INT32_MAX - 1000) << age;
  }
  // Just under the limit still reads its true value.
  std::int32_t below = timer_elapsed_us(now - 2000000000LL * ticks_per_us);
  EXPECT_GE(below, 2000000000 - 1000);
  EXPECT_LT(below, 2000000000 + 60000000);
}

TEST_F(SvcTimingTest, PrintTimingFormatsMilliseconds) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {1234, "\"^\"   Calc. Time:     1.234 ms.\n"},
      {0, "\"^\"   Calc. Time:     0.000 ms.\n"},
      {123456789, "\"^\"   Calc. Time:  123456.789 ms.\n"},
  };
  for (auto [us, expected] : cases) {
    port.output.clear();
    std::snprintf(string_accumulator, string_accumulator_size, "%s", "kept");
    string_accumulator_length = 4;
    print_timing("\"^\"   Calc. Time: ", us);
    EXPECT_EQ(port.output, expected);
    // The string being built when the report is made is left alone.
    EXPECT_EQ(std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length)), "kept");
  }
}

TEST_F(SvcTimingTest, ConsoleModeNeverPollsOrStops) {
  console_mode = 1;
  kill_requested = 1;
  perf_start_time = 0;
  EXPECT_EQ(poll_user_interrupt(), 0);
  EXPECT_EQ(port.pumps, 0);
  EXPECT_EQ(port.output, "");
  console_mode = 0;
}

TEST_F(SvcTimingTest, PollPumpsOnlyAfterTheInterval) {
  timer_read(perf_start_time);
  EXPECT_EQ(poll_user_interrupt(), 0);
  EXPECT_EQ(port.pumps, 0);
  EXPECT_EQ(computing_busy, 0);

  sleep_microseconds(110000);
  EXPECT_EQ(poll_user_interrupt(), 0);
  EXPECT_EQ(port.pumps, 1);
  EXPECT_EQ(computing_busy, 1);
  const std::vector<std::string> expected = {"enable 1043 1", "enable 1053 0", "text 1049 Step"};
  EXPECT_EQ(port.events, expected);
  EXPECT_EQ(poll_user_interrupt(), 0);  // just pumped: no second pump yet
  EXPECT_EQ(port.pumps, 1);
}

TEST_F(SvcTimingTest, KillEndsTheComputationAndTheRun) {
  line_start = statement_start = scan_pointer = line;
  line_end = line + 11;
  program_offset = 40;
  program_length = 900;
  step_mode = debug_mode = 1;
  port.quit_after_pumps = 1;  // the first pump sees the application quitting
  perf_start_time = 0;        // long ago: the poll pumps at once
  EXPECT_EQ(poll_user_interrupt(), -106);
  EXPECT_EQ(kill_requested, 1);
  EXPECT_EQ(scan_pointer, line_end);
  EXPECT_EQ(program_offset, 900);
  EXPECT_EQ(program_ended, 1);
  EXPECT_EQ(step_mode, 0);
  EXPECT_EQ(debug_mode, 0);
  EXPECT_NE(port.output.find("ERROR - User interrupted program\n"), std::string::npos);
  ASSERT_GE(port.events.size(), 2u);
  EXPECT_EQ(port.events[port.events.size() - 2], "enable 1043 0");
  EXPECT_EQ(port.events.back(), "enable 1049 1");
}

}  // namespace
