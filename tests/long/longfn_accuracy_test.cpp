// The long-number functions against MPFR: every result must be the exact
// value rounded at the working precision (either neighbour only next to a tie).
#include <functional>
#include <string>
#include <vector>

#include "tests/long/longfn_fixture.h"

namespace {

using longfn_ref::lib;
using longfn_ref::real;

enum class fn { sqrt, exp, exp10, log, log10, sin, cos, tan, cot, atn, acot };

const char* fn_name(fn f) {
  static const char* const names[] = {"SQR", "EXP", "EXP10", "LOG", "LOG10", "SIN",
                                      "COS", "TAN", "COT",   "ATN", "ACOT"};
  return names[static_cast<int>(f)];
}

// Our value of f(arg) at precision p into long_accumulator; the result code.
int ours(fn f, long_work_record& x) {
  switch (f) {
    case fn::sqrt: return long_func_sqr(&x.n);
    case fn::exp: return long_func_exp(&x.n, 0);
    case fn::exp10: return long_func_exp(&x.n, 1);
    case fn::log: return long_func_log(&x.n, 0);
    case fn::log10: return long_func_log(&x.n, 1);
    case fn::sin: return long_func_trig(&x.n, 1);
    case fn::cos: return long_func_trig(&x.n, 2);
    case fn::tan: return long_func_trig(&x.n, 3);
    case fn::cot: return long_func_trig(&x.n, 4);
    case fn::atn: return long_func_atn(&x.n, 0);
    case fn::acot: return long_func_atn(&x.n, 1);
  }
  return -1;
}

// MPFR's f(arg) with digits + margin.
void reference(fn f, const std::string& arg, std::int64_t digits, real& out) {
  real x(digits + 400);  // bits enough to hold the decimal argument exactly, 7e300 too
  lib().set_str(x.v, arg.c_str(), 10, MPFR_RNDN);
  auto& l = lib();
  switch (f) {
    case fn::sqrt: l.sqrt(out.v, x.v, MPFR_RNDN); break;
    case fn::exp: l.exp(out.v, x.v, MPFR_RNDN); break;
    case fn::exp10: l.exp10(out.v, x.v, MPFR_RNDN); break;
    case fn::log: l.log(out.v, x.v, MPFR_RNDN); break;
    case fn::log10: l.log10(out.v, x.v, MPFR_RNDN); break;
    case fn::sin: l.sin(out.v, x.v, MPFR_RNDN); break;
    case fn::cos: l.cos(out.v, x.v, MPFR_RNDN); break;
    case fn::tan: l.tan(out.v, x.v, MPFR_RNDN); break;
    case fn::cot: l.cot(out.v, x.v, MPFR_RNDN); break;
    case fn::atn: l.atan(out.v, x.v, MPFR_RNDN); break;
    case fn::acot: {  // pi/2 - atan x
      real a(digits), h(digits), two(digits);
      l.atan(a.v, x.v, MPFR_RNDN);
      l.const_pi(h.v, MPFR_RNDN);
      l.set_ui(two.v, 2, MPFR_RNDN);
      l.div(h.v, h.v, two.v, MPFR_RNDN);
      l.sub(out.v, h.v, a.v, MPFR_RNDN);
      break;
    }
  }
}

struct accuracy_case {
  fn f;
  const char* arg;
};

// Arguments chosen to reach every path: the rational and the Newton
// logarithm, the characteristic of the exponential, every reduction of the
// trigonometric functions, the inversion and atan(1/10) steps of ATN.
const std::vector<accuracy_case> accuracy_cases = {
    {fn::sqrt, "2"},          {fn::sqrt, "0.3"},          {fn::sqrt, "12345.678"},
    {fn::sqrt, "7.5e-21"},    {fn::exp, "1"},              {fn::exp, "-1"},
    {fn::exp, "0.5"},         {fn::exp, "2.5"},            {fn::exp, "-3.2"},
    {fn::exp, "100.25"},      {fn::exp, "-1234.5678"},     {fn::exp, "3e-7"},
    {fn::exp10, "0.3"},       {fn::exp10, "-2.5"},         {fn::exp10, "12.34"},
    {fn::log, "2"},           {fn::log, "0.5"},            {fn::log, "10"},
    {fn::log, "123.456"},     {fn::log, "7.77777777777777777777"},
    {fn::log, "0.000314159265358979"},                     {fn::log, "1.0000000001"},
    {fn::log, "98765432109876543210"},                     {fn::log10, "2"},
    {fn::log, "1.0000001"},   {fn::log, "2.5"},            {fn::log, "0.31"},
    {fn::log10, "0.007"},     {fn::log10, "31.4159265358979323846"},
    {fn::sin, "0.5"},         {fn::sin, "1"},              {fn::sin, "2.5"},
    {fn::sin, "-3"},          {fn::sin, "10"},             {fn::sin, "100.125"},
    {fn::sin, "0.000001"},    {fn::cos, "0.5"},            {fn::cos, "2"},
    {fn::sin, "1e20"},        {fn::cos, "1.2345678901e29"}, {fn::tan, "7e300"},
    {fn::cos, "-4"},          {fn::cos, "6"},              {fn::tan, "0.7"},
    {fn::tan, "1.5"},         {fn::tan, "-2.2"},           {fn::cot, "0.7"},
    {fn::cot, "2"},           {fn::atn, "0.3"},            {fn::atn, "0.05"},
    {fn::atn, "-2"},          {fn::atn, "10"},             {fn::atn, "0.95"},
    {fn::atn, "123.456"},     {fn::atn, "0.00000000012345"},
    {fn::acot, "0.3"},        {fn::acot, "-2"},            {fn::acot, "5"},
};

void expect_matches(fn f, const std::string& arg, std::int32_t p) {
  long_precision = p;
  long_work_record x;
  ASSERT_GE(long_convert_text(arg.data(), arg.size(), &x.n, 1), 0);
  long_normalize(&x.n, 1);
  ASSERT_EQ(ours(f, x), 14) << fn_name(f) << "(" << arg << ") at p = " << p;
  EXPECT_EQ(long_precision, p) << "the precision is restored";
  real want(p);
  reference(f, arg, p, want);
  EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, want, p), "")
      << fn_name(f) << "(" << arg << ") at p = " << p;
}

// A p-digit argument in (0, 1) whose digits fill every stage of the series.
std::string long_argument(std::int32_t p, unsigned seed) {
  std::string s = "0.";
  unsigned v = seed;
  for (std::int32_t i = 0; i < p; ++i) {
    v = v * 1103515245u + 12345u;
    s += static_cast<char>('1' + (v >> 16) % 9);
  }
  return s;
}

}  // namespace

TEST_F(LongfnTest, LongfnAccuracyAtSeveralPrecisions) {
  for (std::int32_t p : {11, 50, 305, 2001}) {
    for (const auto& c : accuracy_cases) expect_matches(c.f, c.arg, p);
  }
}

TEST_F(LongfnTest, LongfnAccuracyAtTenThousandDigits) {
  const std::vector<accuracy_case> cases = {
      {fn::sqrt, "2"},   {fn::exp, "0.5"},  {fn::log, "2"},     {fn::log, "7.77777777777777777777"},
      {fn::log10, "3.3"}, {fn::sin, "0.7"}, {fn::cos, "0.7"},   {fn::tan, "1.1"},
      {fn::atn, "0.3"},
  };
  for (const auto& c : cases) expect_matches(c.f, c.arg, 10000);
}

TEST_F(LongfnTest, LongfnAccuracyAtStageBoundaries) {
  // Precisions whose working digits (p + 8 to p + 34) fall on or beside the
  // default boundaries 304 and 2000, with arguments that fill every stage.
  for (std::int32_t p : {270, 278, 286, 1966, 1974, 1982}) {
    const std::string arg = long_argument(p, static_cast<unsigned>(p));
    for (fn f : {fn::exp, fn::log, fn::sin, fn::cos, fn::atn, fn::sqrt}) expect_matches(f, arg, p);
  }
}

TEST_F(LongfnTest, LongfnConstantsPiAndE) {
  for (std::int32_t p : {11, 50, 305, 2001, 10000}) {
    long_precision = p;
    real pi(p), e(p), one(p);
    lib().const_pi(pi.v, MPFR_RNDN);
    lib().set_ui(one.v, 1, MPFR_RNDN);
    lib().exp(e.v, one.v, MPFR_RNDN);
    ASSERT_EQ(long_special_longpi(), 14);
    EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, pi, p), "") << "pi at " << p;
    ASSERT_EQ(long_special_longe(), 14);
    EXPECT_EQ(longfn_ref::check_rounded(long_accumulator, e, p), "") << "e at " << p;
  }
}
