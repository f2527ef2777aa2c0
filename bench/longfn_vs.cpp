// Times pi, e, sqrt(2), exp(1), ln(2), sin(1) and atn(1) on our long
// numbers and on MPFR at the precisions given on the command line, and checks
// each of our results against MPFR's (rounded at the last digit).
//   longfn_vs [digits ...]        (default 1000 10000 100000)
// One line per case: name digits our_ms mpfr_ms mpfr_decimal_ms check.
// mpfr_ms is MPFR's computation alone, mpfr_decimal_ms adds its conversion to
// decimal digits (our results are decimal already). bench/longfn_vs adds bc.
// Every case starts with empty constant caches, as a first call would.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/long/longfn_reference.h"

namespace {

using longfn_ref::lib;
using longfn_ref::real;

enum which { PI, E, SQRT2, EXP1, LN2, SIN1, ATN1 };

struct bench_case {
  which w;
  const char* name;
};

const bench_case cases[] = {{PI, "pi"},     {E, "e"},         {SQRT2, "sqrt(2)"}, {EXP1, "exp(1)"},
                            {LN2, "ln(2)"}, {SIN1, "sin(1)"}, {ATN1, "atn(1)"}};

double now_ms() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(clock::now().time_since_epoch()).count();
}

// Our value at `digits` digits into long_accumulator; the result code.
int ours(which w, std::int32_t digits) {
  long_precision = digits;
  long_clear_constant_caches();
  long_clear(long_atan_tenth_cache);
  long_atan_tenth_cache_digits = 0;
  long_work_record x;
  const char* arg = w == SQRT2 || w == LN2 ? "2" : "1";
  long_convert_text(arg, 1, &x.n, 1);
  long_normalize(&x.n, 1);
  switch (w) {
    case PI: return long_special_longpi();
    case E: return long_special_longe();
    case SQRT2: return long_func_sqr(&x.n);
    case EXP1: return long_func_exp(&x.n, 0);
    case LN2: return long_func_log(&x.n, 0);
    case SIN1: return long_func_trig(&x.n, 1);
    case ATN1: return long_func_atn(&x.n, 0);
  }
  return -1;
}

// MPFR's value into out (its precision set for `digits` digits and a margin).
void reference(which w, real& out) {
  auto& l = lib();
  real arg(20);
  l.set_ui(arg.v, w == SQRT2 || w == LN2 ? 2 : 1, MPFR_RNDN);
  switch (w) {
    case PI: l.const_pi(out.v, MPFR_RNDN); break;
    case E:
    case EXP1: l.exp(out.v, arg.v, MPFR_RNDN); break;
    case SQRT2: l.sqrt(out.v, arg.v, MPFR_RNDN); break;
    case LN2: l.log(out.v, arg.v, MPFR_RNDN); break;
    case SIN1: l.sin(out.v, arg.v, MPFR_RNDN); break;
    case ATN1: l.atan(out.v, arg.v, MPFR_RNDN); break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!lib().ready()) {
    std::fprintf(stderr, "longfn_vs: libmpfr.so.6 (Debian libmpfr6) is needed\n");
    return 2;
  }
  std::vector<std::int32_t> precisions;
  for (int i = 1; i < argc; ++i) {
    long v = std::strtol(argv[i], nullptr, 10);
    if (v < 11 || v > 1000000) {
      std::fprintf(stderr, "longfn_vs: digits must lie in 11..1000000: %s\n", argv[i]);
      return 2;
    }
    precisions.push_back(static_cast<std::int32_t>(v));
  }
  if (precisions.empty()) precisions = {1000, 10000, 100000};

  auto free_cache = reinterpret_cast<void (*)()>(dlsym(lib().handle, "mpfr_free_cache"));
  long_statics_init();
  int failures = 0;
  for (std::int32_t p : precisions) {
    for (const auto& c : cases) {
      double start = now_ms();
      int rc = ours(c.w, p);
      double our_ms = now_ms() - start;

      // MPFR keeps pi (and more) between calls: start it cold like ours.
      if (free_cache != nullptr) free_cache();
      real want(p);
      start = now_ms();
      reference(c.w, want);
      double mpfr_ms = now_ms() - start;
      mpfr_exp_t ex = 0;
      char* text = lib().get_str(nullptr, &ex, 10, static_cast<size_t>(p), want.v, MPFR_RNDN);
      double mpfr_dec_ms = now_ms() - start;
      lib().free_str(text);

      std::string check = rc == 14 ? longfn_ref::check_rounded(long_accumulator, want, p)
                                   : "failed with code " + std::to_string(rc);
      if (!check.empty()) ++failures;
      std::printf("%s %d %.3f %.3f %.3f %s\n", c.name, p, our_ms, mpfr_ms, mpfr_dec_ms,
                  check.empty() ? "ok" : ("WRONG:" + check).c_str());
      std::fflush(stdout);
    }
  }
  long_storage_free();
  return failures == 0 ? 0 : 1;
}
