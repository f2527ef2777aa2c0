// Shared set-up for the long-number function tests: the kernel test host, the
// static long numbers, and helpers that build operands from decimal text.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "rizozira/long_functions.h"
#include "tests/long/longfn_reference.h"
#include "tests/support/long_test_host.h"

class LongfnTest : public ::testing::Test {
 protected:
  LongTestHost& host = long_test_host();

  void SetUp() override {
    ASSERT_TRUE(longfn_ref::lib().ready()) << "libmpfr.so.6 (Debian libmpfr6) is needed for these tests";
    host.reset();
    long_statics_init();
    long_precision = long_float_precision = 50;
    integer_mode = 0;
    long_reset_debug_options();
    long_clear_constant_caches();
    long_clear(long_atan_tenth_cache);
    long_atan_tenth_cache_digits = 0;
  }

  void TearDown() override {
    long_storage_free();
    host.reset();
  }

  // n := the decimal text, read at the current precision.
  static void set(long_work_record& n, const std::string& text) {
    ASSERT_GE(long_convert_text(text.data(), text.size(), &n.n, 1), 0) << text;
    long_normalize(&n.n, 1);
  }

  // The text form of n (for exact expectations).
  static std::string text_of(const long_number* n) {
    return longfn_ref::describe(longfn_ref::from_record(n));
  }
  static std::string text_of(const std::string& decimal_text, int precision = 50) {
    long_precision_saver saver;
    long_precision = precision;
    long_work_record n;
    set(n, decimal_text);
    return text_of(&n.n);
  }
};
