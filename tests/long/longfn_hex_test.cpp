// HEXCONVERT in both directions, against GMP and MPFR where the values are long.
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/long/longfn_fixture.h"

namespace {

using longfn_ref::lib;

// Hexadecimal text into long_accumulator at the current mode; the result code.
int from_hex(const std::string& text) {
  return long_from_hex_text(text.data(), static_cast<std::int64_t>(text.size()), long_accumulator);
}

// HEXCONVERT of the decimal text; "" after an error.
std::string to_hex(const std::string& decimal) {
  long_work_record x;
  if (long_convert_text(decimal.data(), decimal.size(), &x.n, 1) < 0) return "bad input";
  char text[long_hex_result_max + 1];
  std::int32_t length = 0;
  if (long_hexconvert_number(&x.n, text, &length) != long_text_result) return "";
  return std::string(text, static_cast<std::size_t>(length));
}

std::string gmp_convert(const std::string& digits, int from, int to) {
  __mpz_struct z[1];
  lib().z_init(z);
  lib().z_set_str(z, digits.c_str(), from);
  char* s = lib().z_get_str(nullptr, to, z);
  std::string out(s);
  std::free(s);
  lib().z_clear(z);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// A digit string of the given length and base from a simple generator.
std::string digits_of(std::size_t count, int base, unsigned seed) {
  static const char* const chars = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    int d = static_cast<int>((seed >> 16) % static_cast<unsigned>(base));
    if (i == 0 && d == 0) d = 1;
    s += chars[d];
  }
  return s;
}

}  // namespace

TEST_F(LongfnTest, LongfnHexTextToNumber) {
  struct case_t {
    const char* text;
    int integer;
    const char* want;
  };
  const std::vector<case_t> cases = {
      {"FF.8", 0, "255.5"},  {"-a.0", 0, "-10"}, {"1F.Z", 1, "31"}, {"+10", 0, "16"},
      {"0.C", 0, "0.75"},    {".8", 0, "0.5"},   {"-0", 0, "0"},    {"ffffffffffffffff", 1, "18446744073709551615"},
      {"0.0000001", 0, "3.7252902984619140625e-9"},
  };
  for (const auto& c : cases) {
    integer_mode = c.integer;
    ASSERT_EQ(from_hex(c.text), 14) << c.text;
    integer_mode = 0;
    EXPECT_EQ(text_of(long_accumulator), text_of(c.want)) << c.text;
  }
  for (const char* bad : {"1G", "", "-", "G", "1.2.3", "0x10"}) {
    host.clear_output();
    EXPECT_EQ(from_hex(bad), -271) << bad;
    EXPECT_GT(host.reported(271), 0) << bad;
  }
}

TEST_F(LongfnTest, LongfnNumberToHexText) {
  struct case_t {
    const char* number;
    int integer;
    const char* want;
  };
  const std::vector<case_t> cases = {
      {"255.5", 0, "FF.8"},  {"-4096", 0, "-1000.0"}, {"-4096", 1, "-1000"}, {"0.75", 0, "0.C"},
      {"0", 0, "0.0"},       {"0", 1, "0"},           {"18446744073709551616", 1, "10000000000000000"},
      {"123.456", 1, "7B"},  {"-0.5", 0, "-0.8"},
  };
  for (const auto& c : cases) {
    integer_mode = c.integer;
    EXPECT_EQ(to_hex(c.number), c.want) << c.number;
    integer_mode = 0;
  }
  // A fraction below 1/16 keeps its place; one that does not end in binary
  // fills the buffer less its last, inexact digit.
  EXPECT_EQ(to_hex("0.05").rfind("0.0CCCCCCCCCCCC", 0), 0u);
  const std::string tenth = to_hex("0.1");
  EXPECT_EQ(tenth.rfind("0.1999999999999999999999999", 0), 0u) << tenth;
  EXPECT_LE(tenth.size(), static_cast<std::size_t>(long_precision + 4));
}

TEST_F(LongfnTest, LongfnHexIntegersAgainstGmp) {
  integer_mode = 1;
  for (std::size_t length : {1u, 9u, 17u, 80u, 300u}) {
    const std::string decimal = digits_of(length, 10, static_cast<unsigned>(length));
    EXPECT_EQ(to_hex(decimal), gmp_convert(decimal, 10, 16)) << decimal;
  }
  for (std::size_t length : {1u, 6u, 7u, 13u, 100u, 250u}) {
    const std::string hex = digits_of(length, 16, static_cast<unsigned>(length) + 7);
    ASSERT_EQ(from_hex(hex), 14) << hex;
    longfn_ref::decimal have = longfn_ref::from_record(long_accumulator);
    std::string want = gmp_convert(hex, 16, 10);
    EXPECT_EQ(have.exp, static_cast<long>(want.size())) << hex;
    while (want.size() > 1 && want.back() == '0') want.pop_back();
    EXPECT_EQ(have.digits, want) << hex;
  }
  integer_mode = 0;
}

TEST_F(LongfnTest, LongfnHexFractionsAgainstMpfr) {
  for (std::int32_t p : {11, 50, 400}) {
    long_precision = p;
    for (const std::string& hex : {std::string("ABC.DEF"), std::string("-0.00000123456789ABCDEF"),
                                  digits_of(40, 16, 3) + "." + digits_of(200, 16, 4)}) {
      ASSERT_EQ(from_hex(hex), 14) << hex;
      longfn_ref::real want(p);
      lib().set_str(want.v, hex.c_str(), 16, MPFR_RNDN);
      EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, p), "") << hex << " at " << p;
    }
  }
}

TEST_F(LongfnTest, LongfnHexIntegerPartTooLong) {
  long_precision = 400;
  ASSERT_EQ(from_hex("1" + std::string(253, '0')), 14);  // 254 hexadecimal digits
  long_work_record x;
  char text[long_hex_result_max + 1];
  std::int32_t length = 0;
  ASSERT_GE(long_move(long_accumulator, &x.n), 0);
  ASSERT_EQ(long_hexconvert_number(&x.n, text, &length), 3);
  EXPECT_EQ(length, 255);  // the integer, the point: cut at 255
  EXPECT_EQ(std::string(text, 3), "100");
  ASSERT_EQ(from_hex("1" + std::string(254, '0')), 14);  // 255 digits: too many in floating mode
  ASSERT_GE(long_move(long_accumulator, &x.n), 0);
  EXPECT_EQ(long_hexconvert_number(&x.n, text, &length), -269);
  integer_mode = 1;
  ASSERT_EQ(from_hex("1" + std::string(254, '0')), 14);  // 255 digits: still allowed in INTEGER mode
  ASSERT_GE(long_move(long_accumulator, &x.n), 0);
  EXPECT_EQ(long_hexconvert_number(&x.n, text, &length), 3);
  EXPECT_EQ(length, 255);
  ASSERT_EQ(from_hex("1" + std::string(255, '0')), 14);
  ASSERT_GE(long_move(long_accumulator, &x.n), 0);
  EXPECT_EQ(long_hexconvert_number(&x.n, text, &length), -269);
  std::string huge = "1" + std::string(2000, '0');  // far too long: refused before converting
  ASSERT_GE(long_convert_text(huge.data(), huge.size(), &x.n, 1), 0);
  EXPECT_EQ(long_hexconvert_number(&x.n, text, &length), -269);
  integer_mode = 0;
}
