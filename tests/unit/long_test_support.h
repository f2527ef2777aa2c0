// Shared fixture and helpers of the long-number unit tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "interpreter/run_state.h"
#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"
#include "rizozira/long_number.h"

// Fresh pools and statics, default modes, output captured in `port`.
class LongFixture : public ::testing::Test {
 protected:
  ScriptedPort port;

  void SetUp() override {
    install_frontend_port(&port);
    long_statics_init();
    ASSERT_EQ(long_var_pool_allocate(30000), 0);
    ASSERT_EQ(long_temp_pool_allocate(30000), 0);
    long_modes_run_start();
    long_reset_debug_options();
  }
  void TearDown() override {
    long_storage_free();
    long_modes_run_start();
    long_reset_debug_options();
    install_frontend_port(nullptr);
  }

  // A temporary holding the text's value (the test fails on a scan error).
  long_number* make(const std::string& text) {
    long_number* n = long_temp_alloc();
    EXPECT_NE(n, nullptr);
    if (n == nullptr) return nullptr;
    EXPECT_EQ(long_convert_text(text.data(), text.size(), n, 1), 0) << text;
    return n;
  }

  // A temporary with exactly these fields.
  long_number* raw(std::initializer_list<std::uint32_t> blocks, std::int32_t len, std::int32_t exp,
                   std::int32_t sign = 0, std::int32_t norm = 0) {
    long_number* n = long_temp_alloc();
    EXPECT_EQ(long_reserve(n, static_cast<std::int64_t>(blocks.size()) * 8), 0);
    std::int32_t i = 0;
    for (std::uint32_t b : blocks) n->blocks[i++] = b;
    n->blks = i;
    n->len = len;
    n->exp = exp;
    n->sign = sign;
    n->norm = norm;
    return n;
  }
};

// The decimal text of n as long_to_text writes it.
inline std::string long_text(const long_number* n) {
  std::string out(static_cast<std::size_t>(long_text_size(n)), '\0');
  std::int32_t size = static_cast<std::int32_t>(out.size());
  if (long_to_text(n, out.data(), &size) != 0) return "<error>";
  out.resize(static_cast<std::size_t>(size));
  return out;
}

// The len digits of n, without sign or exponent.
inline std::string long_digits(const long_number* n) {
  std::string out;
  for (std::int32_t k = 0; k < n->len; ++k) {
    std::int32_t b = k / 8;
    std::uint32_t block = b < n->blks ? n->blocks[b] : 0;
    out += static_cast<char>('0' + block / long_pow10[7 - k % 8] % 10);
  }
  return out;
}

inline std::vector<std::uint32_t> long_blocks(const long_number* n) {
  return std::vector<std::uint32_t>(n->blocks, n->blocks + n->blks);
}
