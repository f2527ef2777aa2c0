// Special values, errors, modes, caches, Kill and the smaller routines
// (HALF, FIX, parity, FACTORIAL, power and ROOT) of the long functions.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/long/longfn_fixture.h"

namespace {

using longfn_ref::lib;
using longfn_ref::real;

// Runs one function on the decimal text at the current precision.
int run(const std::string& name, const std::string& arg) {
  long_work_record x;
  if (long_convert_text(arg.data(), arg.size(), &x.n, 1) < 0) return -1000;
  long_normalize(&x.n, 1);
  if (name == "SQR") return long_func_sqr(&x.n);
  if (name == "EXP") return long_func_exp(&x.n, 0);
  if (name == "EXP10") return long_func_exp(&x.n, 1);
  if (name == "LOG") return long_func_log(&x.n, 0);
  if (name == "LOG10") return long_func_log(&x.n, 1);
  if (name == "SIN") return long_func_trig(&x.n, 1);
  if (name == "COS") return long_func_trig(&x.n, 2);
  if (name == "TAN") return long_func_trig(&x.n, 3);
  if (name == "COT") return long_func_trig(&x.n, 4);
  if (name == "ATN") return long_func_atn(&x.n, 0);
  if (name == "ACOT") return long_func_atn(&x.n, 1);
  if (name == "HALF") return long_func_half(&x.n);
  if (name == "FIX") return long_func_fix(&x.n);
  if (name == "FACTORIAL") return long_func_factorial(&x.n);
  return -2000;
}

// pi x num / den at p digits, from MPFR.
void pi_times(real& out, unsigned long num, unsigned long den, long negative = 0) {
  real n(100), d(100);
  lib().const_pi(out.v, MPFR_RNDN);
  lib().set_ui(n.v, num, MPFR_RNDN);
  lib().set_ui(d.v, den, MPFR_RNDN);
  lib().mul(out.v, out.v, n.v, MPFR_RNDN);
  lib().div(out.v, out.v, d.v, MPFR_RNDN);
  if (negative) {
    real zero(100);
    lib().set_ui(zero.v, 0, MPFR_RNDN);
    lib().sub(out.v, zero.v, out.v, MPFR_RNDN);
  }
}

}  // namespace

TEST_F(LongfnTest, LongfnExactValues) {
  struct exact_case {
    const char* fn;
    const char* arg;
    int degrees;
    const char* want;  // decimal text of the exact result
  };
  const std::vector<exact_case> cases = {
      {"SQR", "0", 0, "0"},        {"SQR", "1e-10", 0, "1e-5"},   {"SQR", "144", 0, "12"},
      {"EXP", "0", 0, "1"},        {"EXP10", "3", 0, "1000"},     {"EXP10", "-2", 0, "0.01"},
      {"LOG", "1", 0, "0"},        {"LOG10", "1000", 0, "3"},     {"LOG10", "1e-5", 0, "-5"},
      {"SIN", "0", 0, "0"},        {"COS", "0", 0, "1"},          {"SIN", "1e-40", 0, "1e-40"},
      {"ATN", "0", 0, "0"},        {"ATN", "1e-40", 0, "1e-40"},  {"COS", "180", 1, "-1"},
      {"SIN", "90", 1, "1"},       {"SIN", "30", 1, "0.5"},       {"COS", "540", 1, "-1"},
      {"TAN", "45", 1, "1"},       {"SIN", "-270", 1, "1"},       {"ATN", "1", 1, "45"},
      {"ACOT", "-1", 1, "135"},    {"ATN", "-1", 1, "-45"},       {"HALF", "1", 0, "0.5"},
      {"HALF", "3", 0, "1.5"},     {"HALF", "0.15", 0, "0.075"},  {"HALF", "99", 0, "49.5"},
      {"HALF", "0", 0, "0"},       {"FIX", "-2.7", 0, "-2"},      {"FIX", "0.999", 0, "0"},
      {"FIX", "12345678901", 0, "12345678901"},
  };
  for (const auto& c : cases) {
    host.degrees = c.degrees;
    long_precision = 50;
    ASSERT_EQ(run(c.fn, c.arg), 14) << c.fn << "(" << c.arg << ")\n" << host.output;
    EXPECT_EQ(text_of(long_accumulator), text_of(c.want)) << c.fn << "(" << c.arg << ")";
  }
  EXPECT_EQ(host.output, "");
}

TEST_F(LongfnTest, LongfnHalfRoundsAnOddLastDigitAtThePrecision) {
  long_precision = 11;
  ASSERT_EQ(run("HALF", "99999999999"), 14);  // 49999999999.5 has 12 digits
  EXPECT_EQ(text_of(long_accumulator), text_of("50000000000"));
  long_precision = 12;
  ASSERT_EQ(run("HALF", "99999999999"), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("49999999999.5"));
}

TEST_F(LongfnTest, LongfnSpecialAnglesAgainstPi) {
  struct angle_case {
    const char* fn;
    const char* arg;
    unsigned long num, den;
    long negative;
  };
  const std::vector<angle_case> cases = {
      {"ATN", "1", 1, 4, 0},  {"ATN", "-1", 1, 4, 1}, {"ACOT", "0", 1, 2, 0},
      {"ACOT", "1", 1, 4, 0}, {"ACOT", "-1", 3, 4, 0},
  };
  for (std::int32_t p : {11, 50, 400}) {
    for (const auto& c : cases) {
      long_precision = p;
      ASSERT_EQ(run(c.fn, c.arg), 14) << c.fn << "(" << c.arg << ")";
      real want(p);
      pi_times(want, c.num, c.den, c.negative);
      EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, p), "") << c.fn << "(" << c.arg << ") p=" << p;
    }
  }
  // 1 + 10^-60 inverts to exactly 1 at p = 50: still pi/4, by the same road as 1.
  long_precision = 50;
  ASSERT_EQ(run("ATN", "1.000000000000000000000000000000000000000000000000000000000001"), 14);
  real quarter(50);
  pi_times(quarter, 1, 4);
  EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, quarter, 50), "");
}

TEST_F(LongfnTest, LongfnArctangentKeepsTheConstantOne) {
  const std::string before = text_of(long_one);
  for (const char* arg : {"2", "-7.5", "1000"}) {
    ASSERT_EQ(run("ATN", arg), 14);
    ASSERT_EQ(run("ACOT", arg), 14);
  }
  EXPECT_EQ(text_of(long_one), before);
  EXPECT_EQ(before, text_of("1"));
}

TEST_F(LongfnTest, LongfnErrorsAreReportedOnce) {
  struct error_case {
    const char* fn;
    const char* arg;
    int integer;
    int code;
  };
  const std::vector<error_case> cases = {
      {"SQR", "-4", 0, 199},      {"LOG", "0", 0, 210},     {"LOG", "-1", 0, 209},
      {"LOG10", "0", 0, 210},     {"EXP", "3500000", 0, 169}, {"EXP", "-2302586", 0, 169},
      {"EXP10", "1000001", 0, 170}, {"COT", "0", 0, 166},   {"SQR", "4", 1, 162},
      {"EXP", "1", 1, 162},       {"LOG", "2", 1, 162},     {"SIN", "1", 1, 162},
      {"ATN", "1", 1, 162},       {"FACTORIAL", "0", 0, 186}, {"FACTORIAL", "205022", 0, 186},
  };
  for (const auto& c : cases) {
    host.clear_output();
    integer_mode = c.integer;
    EXPECT_EQ(run(c.fn, c.arg), -c.code) << c.fn << "(" << c.arg << ")";
    EXPECT_EQ(host.errors, std::vector<int>{c.code}) << c.fn << "(" << c.arg << "): reported once, and only it";
    integer_mode = 0;
    EXPECT_EQ(long_precision, 50);
  }
}

TEST_F(LongfnTest, LongfnLargestExponentialArguments) {
  ASSERT_EQ(run("EXP", "2302585"), 14);
  EXPECT_EQ(long_accumulator->exp, 1000000);  // e^2302585 = 9.99...e999999
  ASSERT_EQ(run("EXP10", "-1000000"), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("1e-1000000"));
}

TEST_F(LongfnTest, LongfnCossameFollowsSine) {
  ASSERT_EQ(run("SIN", "0.5"), 14);
  ASSERT_EQ(long_special_cossame(), 14);
  real want(50), x(50);
  lib().set_str(x.v, "0.5", 10, MPFR_RNDN);
  lib().cos(want.v, x.v, MPFR_RNDN);
  EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, 50), "");
  ASSERT_EQ(long_special_cossame(), 14);  // taken: a second one gives 0
  EXPECT_EQ(text_of(long_accumulator), text_of("0"));
  ASSERT_EQ(run("SIN", "2"), 14);
  ASSERT_EQ(run("COS", "2"), 14);  // only SIN leaves a cosine
  ASSERT_EQ(long_special_cossame(), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("0"));
}

TEST_F(LongfnTest, LongfnUnitsDigitParity) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"1e20", 0}, {"123", 1}, {"124", 0}, {"123456789", 1}, {"1234567890123456789", 1}, {"7", 1},
  };
  for (const auto& [text, odd] : cases) {
    long_work_record n;
    set(n, text);
    EXPECT_EQ(long_is_odd(&n.n), odd) << text;
  }
}

TEST_F(LongfnTest, LongfnFactorialExactAndCut) {
  integer_mode = 1;
  ASSERT_EQ(long_factorial(25), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("15511210043330985984000000", 100));
  ASSERT_EQ(long_factorial(1), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("1"));
  integer_mode = 0;
  long_precision = 11;
  ASSERT_EQ(long_factorial(25), 14);  // cut, not rounded: ...0043|33
  EXPECT_EQ(text_of(long_accumulator), text_of("15511210043e15"));
  long_precision = 12;
  ASSERT_EQ(long_factorial(25), 14);  // cut, not rounded: ...00433|3
  EXPECT_EQ(text_of(long_accumulator), text_of("155112100433e14"));
}

// k! in INTEGER mode against GMP, digit for digit.
void expect_factorial(unsigned long k) {
  integer_mode = 1;
  ASSERT_EQ(long_factorial(static_cast<std::int32_t>(k)), 14);
  __mpz_struct z[1];
  lib().z_init(z);
  lib().z_fac_ui(z, k);
  char* digits = lib().z_get_str(nullptr, 10, z);
  std::string want(digits);
  std::free(digits);
  lib().z_clear(z);
  longfn_ref::decimal have = longfn_ref::from_record(long_accumulator);
  EXPECT_EQ(have.exp, static_cast<long>(want.size())) << k << "!";
  while (!want.empty() && want.back() == '0') want.pop_back();
  EXPECT_TRUE(have.digits == want) << k << "! differs";
  integer_mode = 0;
}

TEST_F(LongfnTest, LongfnFactorialAgainstGmp) {
  expect_factorial(1000);
  expect_factorial(12345);
}

TEST_F(LongfnTest, LongfnFactorialLargestArgument) { expect_factorial(205021); }

TEST_F(LongfnTest, LongfnConstantCachesGrowAndRound) {
  long_precision = 50;
  ASSERT_EQ(long_special_longpi(), 14);
  EXPECT_EQ(long_pi_cache_digits, 50);
  EXPECT_EQ(text_of(long_accumulator), text_of("3.1415926535897932384626433832795028841971693993751"));
  long_precision = 60;
  ASSERT_EQ(long_special_longpi(), 14);
  EXPECT_EQ(long_pi_cache_digits, 60);
  long_precision = 40;  // rounded from the 60-digit cache
  ASSERT_EQ(long_special_longpi(), 14);
  EXPECT_EQ(long_pi_cache_digits, 60);
  EXPECT_EQ(text_of(long_accumulator), text_of("3.141592653589793238462643383279502884197"));
  long_set_round_mode(0);  // truncation empties the caches
  EXPECT_EQ(long_pi_cache_digits, 0);
  long_precision = 50;
  ASSERT_EQ(long_special_longpi(), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("3.1415926535897932384626433832795028841971693993751"));
  ASSERT_EQ(long_special_longe(), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("2.7182818284590452353602874713526624977572470936999"));
  long_set_round_mode(1);
}

TEST_F(LongfnTest, LongfnKillStopsLongComputations) {
  struct kill_case {
    const char* what;
    std::function<int()> body;
  };
  const std::vector<kill_case> cases = {
      {"pi", [] { return long_pi(long_accumulator, long_precision); }},
      {"factorial", [] { return long_factorial(3000); }},
      {"EXP", [] { return run("EXP", "0.5"); }},
      {"SIN", [] { return run("SIN", "0.5"); }},
      {"ATN", [] { return run("ATN", "0.3"); }},
      {"LOG", [] { return run("LOG", "7.77777777777777777777"); }},
      {"a long product", [] {
         long_fixed a(12000, 12345678), b(12000, 87654321), product(12000, 0);
         return long_fixed_multiply(a, b, 0, product);
       }},
  };
  for (const auto& c : cases) {
    long_precision = 5000;
    long_clear_constant_caches();
    host.interrupt = 1;
    host.clear_output();
    EXPECT_EQ(c.body(), -106) << c.what;
    EXPECT_GT(host.reported(106), 0) << c.what;
    EXPECT_EQ(long_pi_cache_digits, 0) << c.what;
    EXPECT_EQ(long_precision, 5000) << c.what;
  }
  host.interrupt = 0;
}

TEST_F(LongfnTest, LongfnTimerReports) {
  struct timer_case {
    int index;
    const char* fn;
    const char* label;
  };
  const std::vector<timer_case> cases = {
      {LONG_TIMER_SQR, "SQR", "SQR Calc. Time: "}, {LONG_TIMER_EXP, "EXP", "EXP Calc. Time: "},
      {LONG_TIMER_LOG, "LOG", "LOG Calc. Time: "}, {LONG_TIMER_SIN, "TAN", "SIN Calc. Time: "},
      {LONG_TIMER_ATN, "ATN", "ATN Calc. Time: "}, {LONG_TIMER_HALF, "HALF", "Half Calc. Time: "},
      {LONG_TIMER_FACTORIAL, "FACTORIAL", "Factorial Calc. Time: "},
  };
  for (const auto& c : cases) {
    host.clear_output();
    long_timer_flags[c.index] = 1;
    ASSERT_EQ(run(c.fn, "2"), 14) << c.fn;
    long_timer_flags[c.index] = 0;
    EXPECT_EQ(host.output.rfind(c.label, 0), 0u) << c.fn << ": " << host.output;
    EXPECT_NE(host.output.find(" ms.\n"), std::string::npos) << c.fn;
  }
  host.clear_output();
  long_clear_constant_caches();
  long_timer_flags[LONG_TIMER_LONGPI] = 1;
  ASSERT_EQ(long_special_longpi(), 14);
  ASSERT_EQ(long_special_longpi(), 14);  // a cache hit is not timed
  long_timer_flags[LONG_TIMER_LONGPI] = 0;
  EXPECT_EQ(host.output.find("PI Calc. Time: "), 0u);
  EXPECT_EQ(host.output.find("PI Calc. Time: ", 1), std::string::npos);
}

TEST_F(LongfnTest, LongfnPowerAndRoot) {
  struct power_case {
    const char* base;
    const char* exponent;
    int code;          // 0 or the error
    const char* want;  // exact result, or null for the MPFR value
  };
  const std::vector<power_case> cases = {
      {"0", "0", 0, "1"},      {"0", "5", 0, "0"},     {"0", "-2", 0, "0"},
      {"2", "10", 0, "1024"},  {"-8", "3", 0, "-512"}, {"-2", "2", 0, "4"},
      {"-2", "0.5", 20, nullptr}, {"2", "0.5", 0, nullptr}, {"1.5", "-2.5", 0, nullptr},
      {"10", "-3", 0, "0.001"},
  };
  for (const auto& c : cases) {
    long_work_record b, e, r;
    set(b, c.base);
    set(e, c.exponent);
    int rc = long_power(&b.n, &e.n, &r.n);
    if (c.code != 0) {
      EXPECT_EQ(rc, -c.code) << c.base << "^" << c.exponent;
      continue;
    }
    ASSERT_EQ(rc, 0) << c.base << "^" << c.exponent;
    EXPECT_EQ(long_precision, 50);
    if (c.want != nullptr) {
      EXPECT_EQ(text_of(&r.n), text_of(c.want)) << c.base << "^" << c.exponent;
    } else {
      real x(50), y(50), want(50);
      lib().set_str(x.v, c.base, 10, MPFR_RNDN);
      lib().set_str(y.v, c.exponent, 10, MPFR_RNDN);
      lib().pow(want.v, x.v, y.v, MPFR_RNDN);
      EXPECT_EQ(longfn_ref::check_rounded(&r.n, want, 50), "") << c.base << "^" << c.exponent;
    }
  }
  const std::vector<power_case> roots = {
      {"-8", "3", 0, "-2"}, {"-8", "2", 20, nullptr}, {"0", "0", 0, "1"}, {"0", "5", 0, "0"},
      {"5", "0", 20, nullptr}, {"2", "3", 0, nullptr}, {"-8", "2.5", 20, nullptr},
  };
  for (const auto& c : roots) {
    long_work_record x, n;
    set(x, c.base);
    set(n, c.exponent);
    int rc = long_func_root(&x.n, &n.n);
    if (c.code != 0) {
      EXPECT_EQ(rc, -c.code) << "ROOT(" << c.base << ", " << c.exponent << ")";
      continue;
    }
    ASSERT_EQ(rc, 14) << "ROOT(" << c.base << ", " << c.exponent << ")";
    if (c.want != nullptr) {
      EXPECT_EQ(text_of(long_accumulator), text_of(c.want)) << "ROOT(" << c.base << ", " << c.exponent << ")";
    } else {
      real x2(50), want(50);
      lib().set_str(x2.v, c.base, 10, MPFR_RNDN);
      lib().rootn_ui(want.v, x2.v, 3, MPFR_RNDN);
      EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, 50), "") << "ROOT(" << c.base << ", 3)";
    }
  }
  integer_mode = 1;
  long_work_record b, e, r;
  set(b, "2");
  set(e, "3");
  EXPECT_EQ(long_power(&b.n, &e.n, &r.n), -162);
  integer_mode = 0;
}

TEST_F(LongfnTest, LongfnLogarithmWithoutTheRationalPath) {
  for (std::int32_t p : {50, 305}) {
    for (const char* arg : {"2", "0.5", "123.456", "1.0000001"}) {
      for (int lnrat : {1, 0}) {
        long_lnrat_enabled = lnrat;
        long_precision = p;
        ASSERT_EQ(run("LOG", arg), 14) << arg;
        real x(p), want(p);
        lib().set_str(x.v, arg, 10, MPFR_RNDN);
        lib().log(want.v, x.v, MPFR_RNDN);
        EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, p), "")
            << "LOG(" << arg << ") p=" << p << " lnrat=" << lnrat;
      }
    }
  }
  long_lnrat_enabled = 1;
}

TEST_F(LongfnTest, LongfnTangentAndCotangentOfARightAngle) {
  host.degrees = 1;
  for (const auto& [fn, arg] : std::vector<std::pair<const char*, const char*>>{
           {"TAN", "90"}, {"TAN", "-270"}, {"COT", "180"}}) {
    host.clear_output();
    EXPECT_EQ(run(fn, arg), -166) << fn << "(" << arg << ")";
    EXPECT_GT(host.reported(166), 0) << host.output;
  }
  ASSERT_EQ(run("COT", "45"), 14);
  EXPECT_EQ(text_of(long_accumulator), text_of("1"));
  host.degrees = 0;
}

TEST_F(LongfnTest, LongfnDebugLongTracesTheSeries) {
  struct trace_case {
    const char* fn;
    const char* arg;
    std::vector<std::string> marks;
  };
  const std::vector<trace_case> cases = {
      {"SIN", "0.5", {"\nx   : blks=", "\nsin2: blks=", "\ncos1: blks=", "x2_start_block - ", "n = 3, div_start = ",
                      "\ntrm1: blks="}},
      // Two pieces: the angle-addition products appear as well.
      {"SIN", "0.5123456789012345678", {"\ns1c2: blks=", "\nc1s2: blks=", "\nc1c2: blks=", "\ns1s2: blks=",
                                        "\nsa+b: blks=", "\nca+b: blks=", "\nsine: blks="}},
      {"EXP", "12.5", {"\ncln : blks=", "Characteristic = 5\n", "\nman : blks=", "\nnlg : blks=", "\nnln : blks=",
                       "\ntrm : blks=", "n = 2\n", "\nprd : blks=", "\npr2 : blks="}},
      {"EXP10", "2.5", {"\nclg : blks=", "Characteristic = 2\n"}},
      {"LOG", "123.456789", {"\nx sm: blks=", "\nchr : blks=", "\nln10: blks=", "\nchre: blks=", "x1_start_block = ",
                             "\nx1a : blks=", "\nx1b : blks=", "\nx1sq: blks=", "\nx1un: blks=", "\nprod: blks=",
                             "\nvalu: blks=", "div_start = "}},
      {"ATN", "0.3", {"\ntrm : blks=", "\nterm: blks=", "n = 3, div_start = ", "\npowr: blks="}},
      {"SQR", "2", {"\ndd  : blks=", "\nds  : blks=", "\nddn : blks=", "\ndsn : blks=", "\ndd2 : blks=",
                    "\nndd : blks=", "\nqu1 : blks=", "\nqux : blks=", "\ndif : blks=", "\nhaf : blks=",
                    "\nnew : blks="}},
  };
  for (const auto& c : cases) {
    long_precision = 20;
    host.clear_output();
    long_debug_dump_on = 1;
    ASSERT_EQ(run(c.fn, c.arg), 14) << c.fn;
    long_debug_dump_on = 0;
    for (const auto& mark : c.marks) {
      EXPECT_NE(host.output.find(mark), std::string::npos) << c.fn << " lacks " << mark;
    }
    host.clear_output();
    ASSERT_EQ(run(c.fn, c.arg), 14) << c.fn;
    EXPECT_EQ(host.output, "") << c.fn << " prints nothing without DEBUG LONG";
  }
}
