// Shared fixture and helpers of the long-number unit tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "rizozira/long_number.h"
#include "tests/support/long_helpers.h"
#include "tests/support/long_test_host.h"

// Fresh pools and statics, default modes, output and errors collected in
// `host`.
class LongFixture : public ::testing::Test {
 protected:
  LongTestHost& host = long_test_host();

  void SetUp() override {
    host.reset();
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
    host.reset();
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
