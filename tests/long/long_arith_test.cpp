// Addition, subtraction, multiplication, division and MOD of long numbers,
// checked against exact GMP arithmetic at several precisions.
#include <gmp.h>

#include <cstring>
#include <random>
#include <string>

#include "long_test_support.h"

namespace {

// A small owner of an mpz_t.
struct Z {
  mpz_t v;
  Z() { mpz_init(v); }
  explicit Z(const std::string& decimal) { mpz_init_set_str(v, decimal.c_str(), 10); }
  ~Z() { mpz_clear(v); }
  Z(const Z&) = delete;
  Z& operator=(const Z&) = delete;
  std::string str() const {
    std::string s(mpz_sizeinbase(v, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, v);
    s.resize(std::strlen(s.c_str()));
    return s;
  }
};

// A decimal value sign x 0.digits x 10^exp in normalised form ("0", exp 1 for zero).
struct Dec {
  std::string digits;
  long exp;
  int sign;
  bool operator==(const Dec& o) const { return digits == o.digits && exp == o.exp && sign == o.sign; }
};

std::ostream& operator<<(std::ostream& os, const Dec& d) {
  return os << (d.sign ? "-" : "+") << "0." << d.digits << "e" << d.exp;
}

Dec dec_of(const long_number* n) { return Dec{long_digits(n), n->exp, n->sign ? 1 : 0}; }

// value = num / den x 10^e10 (den > 0) as a Dec with p significant digits,
// rounded half away from zero or cut; p <= 0 keeps every digit of an exact
// (den = 1) value.
Dec reference(const mpz_t num, const mpz_t den, long e10, long p, bool round) {
  Dec d{"0", 1, 0};
  if (mpz_sgn(num) == 0) return d;
  Z a, b, q;
  mpz_abs(a.v, num);
  mpz_set(b.v, den);
  long k = (p > 0 ? p : 0) + 2 + static_cast<long>(mpz_sizeinbase(b.v, 10)) - static_cast<long>(mpz_sizeinbase(a.v, 10));
  if (k < 0) k = 0;
  Z scale;
  mpz_ui_pow_ui(scale.v, 10, static_cast<unsigned long>(k));
  mpz_mul(a.v, a.v, scale.v);
  mpz_tdiv_q(q.v, a.v, b.v);
  std::string s = q.str();
  long exp = static_cast<long>(s.size()) - k + e10;
  if (p > 0 && static_cast<long>(s.size()) > p) {
    bool up = round && s[static_cast<std::size_t>(p)] >= '5';
    s.resize(static_cast<std::size_t>(p));
    if (up) {
      Z t(s);
      mpz_add_ui(t.v, t.v, 1);
      std::string u = t.str();
      if (u.size() > s.size()) ++exp;
      s = u;
    }
  }
  while (s.size() > 1 && s.back() == '0') s.pop_back();
  d.digits = s;
  d.exp = exp;
  d.sign = mpz_sgn(num) < 0 ? 1 : 0;
  return d;
}

// n as num x 10^e10.
void to_mpz(const long_number* n, mpz_t num, long& e10) {
  std::string digits = long_digits(n);
  mpz_set_str(num, digits.c_str(), 10);
  if (n->sign < 0) mpz_neg(num, num);
  e10 = static_cast<long>(n->exp) - static_cast<long>(digits.size());
}

// a x 10^ea + b x 10^eb into r x 10^er exactly.
void add_exact(const mpz_t a, long ea, const mpz_t b, long eb, mpz_t r, long& er) {
  Z s, t;
  er = ea < eb ? ea : eb;
  mpz_ui_pow_ui(s.v, 10, static_cast<unsigned long>(ea - er));
  mpz_mul(s.v, s.v, a);
  mpz_ui_pow_ui(t.v, 10, static_cast<unsigned long>(eb - er));
  mpz_mul(t.v, t.v, b);
  mpz_add(r, s.v, t.v);
}

std::string random_number(std::mt19937_64& rng, int max_digits, int max_exp) {
  std::uniform_int_distribution<int> len(1, max_digits);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> e(-max_exp, max_exp);
  std::string s = (rng() & 1) ? "-" : "";
  s += static_cast<char>('1' + digit(rng) % 9);
  int n = len(rng);
  for (int i = 1; i < n; ++i) s += static_cast<char>('0' + digit(rng));
  s += "e" + std::to_string(e(rng));
  return s;
}

// A random operand whose exponent (value = 0.d1d2... x 10^exp) is congruent
// to `phase` modulo 8, so that a loop over phases meets every block alignment.
// Every few operands are short, the rest up to `max_digits` long.
std::string aligned_number(std::mt19937_64& rng, int max_digits, int phase) {
  std::uniform_int_distribution<int> len(1, max_digits);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> octets(-5, 5);
  std::string s = (rng() & 1) ? "-0." : "0.";
  s += static_cast<char>('1' + digit(rng) % 9);
  int n = (rng() % 4 == 0) ? 1 + static_cast<int>(rng() % 20) : len(rng);
  for (int i = 1; i < n; ++i) s += static_cast<char>('0' + digit(rng));
  s += "e" + std::to_string(8 * octets(rng) + phase);
  return s;
}

class LongArithTest : public LongFixture {
 protected:
  Z one;
  void SetUp() override {
    LongFixture::SetUp();
    mpz_set_ui(one.v, 1);
  }

  // Adds, subtracts, multiplies and divides a and b at precision p and checks
  // each result against the exact value rounded (or cut) at digit p.
  void check_operations(const std::string& ta, const std::string& tb, int p, int round) {
    std::int32_t level = long_temp_used;
    long_number* a = make(ta);
    long_number* b = make(tb);
    check_operations(a, b, p, round);
    long_temp_release_to(level);
  }

  void check_operations(long_number* a, long_number* b, int p, int round) {
    Z an, bn, r;
    long ea, eb, er;
    to_mpz(a, an.v, ea);
    to_mpz(b, bn.v, eb);
    std::string where = "p=" + std::to_string(p) + " round=" + std::to_string(round) + " a=" + long_text(a) +
                        " b=" + long_text(b);

    // An operand more than p + 2 places below the other is ignored: the
    // result is the larger operand as it stands (also when cutting).
    long gap = static_cast<long>(a->exp) - b->exp;
    bool far = a->blocks[0] != 0 && b->blocks[0] != 0 && (gap > p + 2 || -gap > p + 2);
    Dec larger_a = dec_of(gap > 0 ? a : b);
    Dec larger_s = larger_a;
    if (gap < 0) larger_s.sign ^= 1;

    long_number* c = long_temp_alloc();
    ASSERT_GE(long_add(a, b, c), 0);
    long_normalize(c, 1);
    add_exact(an.v, ea, bn.v, eb, r.v, er);
    EXPECT_EQ(dec_of(c), far ? larger_a : reference(r.v, one.v, er, p, round)) << "add " << where;

    ASSERT_GE(long_subtract(a, b, c), 0);
    long_normalize(c, 1);
    Z nb;
    mpz_neg(nb.v, bn.v);
    add_exact(an.v, ea, nb.v, eb, r.v, er);
    EXPECT_EQ(dec_of(c), far ? larger_s : reference(r.v, one.v, er, p, round)) << "sub " << where;

    // The truncated product falls short of the exact one by less than
    // m = a.blks + b.blks units of block keep - 2 (the partial products and
    // carries it never forms). The result must be the exact product rounded,
    // or, only when it lies that close to a tie or a cut, the same rounding
    // of the value that much lower.
    const std::int32_t keep = (p + 7) / 8 + 2;
    const bool truncated = a->blks + b->blks >= keep;
    const std::int32_t m = a->blks + b->blks;
    const long deficit_exp = static_cast<long>(a->exp) + b->exp - 8L * (keep - 1);
    ASSERT_EQ(long_multiply(a, b, c), 0);
    long_normalize(c, 1);
    mpz_mul(r.v, an.v, bn.v);
    Dec want = reference(r.v, one.v, ea + eb, p, round);
    Dec got = dec_of(c);
    if (got != want && truncated) {
      Z deficit, low;
      long el;
      mpz_set_si(deficit.v, mpz_sgn(r.v) < 0 ? m : -m);  // towards zero
      add_exact(r.v, ea + eb, deficit.v, deficit_exp, low.v, el);
      EXPECT_EQ(got, reference(low.v, one.v, el, p, round)) << "mul " << where;
    } else {
      EXPECT_EQ(got, want) << "mul " << where;
    }

    // a / b = (an / bn) x 10^(ea - eb); the sign goes with the numerator.
    long_number* x = long_temp_alloc();
    ASSERT_EQ(long_copy(a, x), 14);
    ASSERT_EQ(long_divide(x, b, c), 0);
    Z den;
    mpz_abs(den.v, bn.v);
    mpz_set(r.v, an.v);
    if (mpz_sgn(bn.v) < 0) mpz_neg(r.v, r.v);
    EXPECT_EQ(dec_of(c), reference(r.v, den.v, ea - eb, p, round)) << "div " << where;
    EXPECT_EQ(x->blks, 1);  // the dividend is consumed
  }
};

TEST_F(LongArithTest, RandomOperationsMatchExactArithmeticRounded) {
  std::mt19937_64 rng(20261210);
  for (int p : {11, 20, 50, 100, 333, 1000}) {
    ASSERT_EQ(long_set_float_precision(p), 0);
    for (int round : {1, 0}) {
      long_round_mode = round;
      for (int iter = 0; iter < 150; ++iter) {
        std::int32_t level = long_temp_used;
        long_number* a = make(random_number(rng, p, 40));
        long_number* b = make(random_number(rng, p, 40));
        if (iter % 7 == 0) {  // near-cancelling pairs
          ASSERT_EQ(long_copy(a, b), 14);
          b->sign = a->sign == 0 ? -1 : 0;
          // One unit more in the last significant digit (when it is below 9).
          std::int32_t k = b->len - 1;
          std::uint32_t unit = long_pow10[7 - k % 8];
          if (b->blocks[k / 8] / unit % 10 < 9) b->blocks[k / 8] += unit;
        }
        check_operations(a, b, p, round);
        long_temp_release_to(level);
      }
    }
  }
}

// Every pair of exponent phases modulo 8 (so every way the operands' blocks
// can line up with each other and with the result's) at the precisions a
// program meets, up to 10,000 digits.
TEST_F(LongArithTest, EveryBlockAlignmentMatchesExactArithmetic) {
  std::mt19937_64 rng(8);
  for (int p : {11, 50, 100, 1000, 10000}) {
    ASSERT_EQ(long_set_float_precision(p), 0);
    for (int phase = 0; phase < 64; ++phase) {
      int round = p >= 10000 ? phase % 2 : 1;
      long_round_mode = round;
      check_operations(aligned_number(rng, p, phase % 8), aligned_number(rng, p, phase / 8), p, round);
      if (p < 10000) {
        long_round_mode = 0;
        check_operations(aligned_number(rng, p, phase % 8), aligned_number(rng, p, phase / 8), p, 0);
      }
    }
  }
}

TEST_F(LongArithTest, IntegerModeIsExact) {
  std::mt19937_64 rng(77);
  integer_mode = 1;
  // Random integers with random trailing zeros (whole zero blocks that are
  // not stored), some of them thousands of digits long.
  auto integer_text = [&rng](int max_digits) {
    std::string t = random_number(rng, max_digits, 0);
    t = t.substr(0, t.find('e'));
    if (rng() % 3 == 0) t += std::string(rng() % 41, '0');
    return t;
  };
  for (int iter = 0; iter < 300; ++iter) {
    std::int32_t level = long_temp_used;
    std::string ta = integer_text(iter % 10 == 0 ? 3000 : 300);
    std::string tb = integer_text(iter % 3 == 0 ? 300 : 40);
    long_number* a = make(ta);
    long_number* b = make(tb);
    Z an(ta), bn(tb);
    Z r, q, m;

    long_number* c = long_temp_alloc();
    ASSERT_GE(long_add(a, b, c), 0);
    long_normalize(c, 1);
    mpz_add(r.v, an.v, bn.v);
    EXPECT_EQ(long_text(c), r.str()) << ta << " + " << tb;

    ASSERT_GE(long_subtract(a, b, c), 0);
    long_normalize(c, 1);
    mpz_sub(r.v, an.v, bn.v);
    EXPECT_EQ(long_text(c), r.str()) << ta << " - " << tb;

    ASSERT_EQ(long_multiply(a, b, c), 0);
    long_normalize(c, 0);
    mpz_mul(r.v, an.v, bn.v);
    EXPECT_EQ(long_text(c), r.str()) << ta << " * " << tb;

    long_number* x = long_temp_alloc();
    long_number* y = long_temp_alloc();
    ASSERT_EQ(long_copy(a, x), 14);
    ASSERT_EQ(long_copy(b, y), 14);
    ASSERT_EQ(long_divide(x, y, c), 0);
    mpz_tdiv_qr(q.v, m.v, an.v, bn.v);
    EXPECT_EQ(long_text(c), q.str()) << ta << " / " << tb;
    EXPECT_EQ(long_text(long_remainder), m.str()) << ta << " / " << tb;
    long_temp_release_to(level);
  }
}

TEST_F(LongArithTest, EdgeCasesOfAddAndMultiply) {
  struct Case {
    int precision;
    const char* a;
    char op;
    const char* b;
    std::string expect;
  };
  const Case cases[] = {
      {50, "1", '+', "1e-60", "1."},
      {50, "0.5", '-', "0.5", "0."},
      {50, "2", '-', "3", "-1."},
      {50, "99999999", '+', "1", "100000000."},
      {50, "-0", '*', "-5", "0."},
      {50, "0", '*', "-5", "0."},
      {50, "-3", '*', "4", "-12."},
      {50, "-3", '*', "-4", "12."},
      {50, "1e100", '*', "1e100", "1.e+200"},
      // Just below a tie at digit 50: the subtrahend's digits beyond the
      // sum's blocks still count (rounding must go down, and up just above).
      {50, "1", '-', "5.00000000000000000000000000001e-51", "." + std::string(50, '9')},
      {50, "-1", '+', "5.00000000000000000000000000001e-51", "-." + std::string(50, '9')},
      {50, "1", '-', "4.99999999999999999999999999999e-51", "1."},
      {50, "1", '+', "5.00000000000000000000000000001e-50", "1." + std::string(48, '0') + "1"},
      {50, "1", '+', "5.00000000000000000000000000001e-51", "1."},
  };
  for (const Case& t : cases) {
    ASSERT_EQ(long_set_float_precision(t.precision), 0);
    long_number* a = make(t.a);
    long_number* b = make(t.b);
    long_number* c = long_temp_alloc();
    int r = t.op == '+' ? long_add(a, b, c) : t.op == '-' ? long_subtract(a, b, c) : long_multiply(a, b, c);
    ASSERT_GE(r, 0);
    long_normalize(c, 1);
    EXPECT_EQ(long_text(c), t.expect) << t.a << t.op << t.b;
  }
  ASSERT_EQ(long_set_float_precision(100), 0);
  long_number* one_num = make("1");
  long_number* small = make("1e-60");
  long_number* sum = long_temp_alloc();
  ASSERT_EQ(long_add(one_num, small, sum), 0);
  long_normalize(sum, 1);
  EXPECT_EQ(long_text(sum), "1." + std::string(59, '0') + "1");

  // Zero times a negative number is negative before normalisation only.
  long_number* z = make("0");
  long_number* m = make("-5");
  long_number* c = long_temp_alloc();
  ASSERT_EQ(long_multiply(z, m, c), 0);
  EXPECT_EQ(c->sign, -1);
  long_normalize(c, 1);
  EXPECT_EQ(c->sign, 0);
  // The subtrahend's sign is restored after the call.
  EXPECT_EQ(m->sign, -1);
  ASSERT_GE(long_subtract(z, m, c), 0);
  EXPECT_EQ(m->sign, -1);
}

TEST_F(LongArithTest, IntegerSumOfTwo300DigitNumbersKeepsEveryDigit) {
  integer_mode = 1;
  std::string nines(300, '9');
  long_number* a = make(nines);
  long_number* b = make(nines);
  long_number* c = long_temp_alloc();
  ASSERT_GE(long_add(a, b, c), 0);
  long_normalize(c, 1);
  EXPECT_EQ(long_text(c), "1" + std::string(299, '9') + "8");
}

TEST_F(LongArithTest, TruncatedProductKeepsNineBlocksAtFifty) {
  std::string d50 = "12345678901234567890123456789012345678901234567891";
  long_number* a = make(d50);
  long_number* b = make(d50);
  long_number* c = long_temp_alloc();
  ASSERT_EQ(long_multiply(a, b, c), 0);
  EXPECT_EQ(c->blks, 9);
  long_normalize(c, 1);
  Z x(d50), r;
  mpz_mul(r.v, x.v, x.v);
  EXPECT_EQ(dec_of(c), reference(r.v, one.v, 0, 50, true));

  long_full_multiply = 1;
  long_debug_dump_on = 1;
  ASSERT_EQ(long_multiply(a, b, c), 0);
  EXPECT_EQ(c->blks, 14);
  EXPECT_NE(host.output.find("product blocks = 14, discard blocks = 0\n"), std::string::npos);
}

TEST_F(LongArithTest, RepeatedSquaringReportsExponentOutOfRange) {
  long_number* a = make("1e1000000");
  long_number* c = long_temp_alloc();
  int r = 0;
  int steps = 0;
  while (r == 0 && steps < 64) {
    r = long_multiply(a, a, c);
    if (r == 0) {
      long_normalize(c, 1);
      ASSERT_EQ(long_move(c, a), 14);
    }
    ++steps;
  }
  EXPECT_EQ(r, -151);
  EXPECT_LT(steps, 64);
  EXPECT_GT(host.reported(151), 0);
  // Dividing by something tiny runs into the same bound instead of overflowing.
  long_number* big = raw({10000000}, 1, 90000000, 0, 1);
  long_number* tiny = raw({10000000}, 1, -20000000, 0, 1);
  long_number* q = long_temp_alloc();
  EXPECT_EQ(long_divide(big, tiny, q), -151);
}

TEST_F(LongArithTest, DivisionEdgeCases) {
  struct Case {
    int integer;
    int round;
    const char* a;
    const char* b;
    const char* quotient;
    const char* remainder;  // integer mode only
  };
  const Case cases[] = {
      {0, 1, "1", "3", ".33333333333333333333333333333333333333333333333333", nullptr},
      {0, 1, "2", "3", ".66666666666666666666666666666666666666666666666667", nullptr},
      {0, 0, "2", "3", ".66666666666666666666666666666666666666666666666666", nullptr},
      {0, 1, "-7.5", "2.5", "-3.", nullptr},
      {1, 1, "100", "7", "14", "2"},
      {1, 1, "-100", "7", "-14", "-2"},
      {1, 1, "7", "100", "0", "7"},
      {1, 1, "12.9", "4.2", "3", "0"},
      {1, 1, "1e40", "1e20", "100000000000000000000", "0"},
      {1, 1, "5", "5", "1", "0"},
      {1, 1, "123456789012345678901234567890", "-987654321", "-124999998873437499901", "574845669"},
  };
  for (const Case& t : cases) {
    integer_mode = t.integer;
    long_round_mode = t.round;
    long_number* a = make(t.a);
    long_number* b = make(t.b);
    long_number* q = long_temp_alloc();
    ASSERT_EQ(long_divide(a, b, q), 0) << t.a << "/" << t.b;
    EXPECT_EQ(long_text(q), t.quotient) << t.a << "/" << t.b;
    if (t.remainder != nullptr) {
      EXPECT_EQ(long_text(long_remainder), t.remainder) << t.a << "/" << t.b;
    }
  }
}

TEST_F(LongArithTest, DivisionByZeroReportsAndKeepsTheOperands) {
  for (int integer : {0, 1}) {
    integer_mode = integer;
    long_number* a = make("5");
    long_number* b = make("0");
    long_number* q = long_temp_alloc();
    EXPECT_EQ(long_divide(a, b, q), -166);
    EXPECT_EQ(long_text(a), integer ? "5" : "5.");
  }
  EXPECT_GT(host.reported(166), 0);
}

TEST_F(LongArithTest, ModInBothModes) {
  struct Case {
    int integer;
    const char* a;
    const char* b;
    const char* result;
    const char* remainder;
  };
  const Case cases[] = {
      {0, "10", "3", "1.", "9."},
      {1, "10", "3", "1", "1"},
      {0, "-10", "3", "-1.", "-9."},
      {1, "-10", "3", "-1", "-1"},
      {0, "7.5", "2", "1.5", "6."},
      {0, "2", "3", "2.", "0."},
  };
  for (const Case& t : cases) {
    integer_mode = t.integer;
    long_number* a = make(t.a);
    long_number* b = make(t.b);
    ASSERT_EQ(long_mod(a, b), 0) << t.a << " mod " << t.b;
    EXPECT_EQ(long_text(long_accumulator), t.result) << t.a << " mod " << t.b;
    if (!t.integer) {
      EXPECT_EQ(long_text(long_remainder), t.remainder) << t.a << " mod " << t.b;
    }
    EXPECT_EQ(long_text(a), std::string(t.a) + (t.integer || std::string(t.a).find('.') != std::string::npos ? "" : "."));
  }
  EXPECT_EQ(long_round_mode, 1);  // restored after the truncating division
}

TEST_F(LongArithTest, BlockPrimitives) {
  // 123456789012345678900000 / 7 over blocks, skipping the leading zero block.
  std::uint32_t blocks[4] = {0, 12345678, 90123456, 78900000};
  std::int32_t start = 0;
  const std::uint32_t remainder = long_blocks_div_small_tracked(blocks, 7, 4, start);
  EXPECT_EQ(start, 1);
  Z n("123456789012345678900000"), q, r;
  mpz_tdiv_qr_ui(q.v, r.v, n.v, 7);
  char text[40];
  std::snprintf(text, sizeof text, "%u%08u%08u", blocks[1], blocks[2], blocks[3]);
  EXPECT_EQ(std::string(text), q.str());
  EXPECT_EQ(remainder, mpz_get_ui(r.v));

  std::uint32_t m[3] = {0, 0, 50000000};
  start = 2;
  EXPECT_EQ(long_blocks_mul_small_checked(m, 4, 3, start), 0);
  EXPECT_EQ(m[1], 2u);
  EXPECT_EQ(m[2], 0u);
  EXPECT_EQ(start, 1);
  std::uint32_t full[1] = {50000000};
  start = 0;
  EXPECT_EQ(long_blocks_mul_small_checked(full, 4, 1, start), -1);

  std::uint32_t x[3] = {1, 0, 0};
  const std::uint32_t y[3] = {0, 0, 1};
  long_blocks_sub(x, y, 3);
  EXPECT_EQ(x[0], 0u);
  EXPECT_EQ(x[1], 99999999u);
  EXPECT_EQ(x[2], 99999999u);
}

}  // namespace
