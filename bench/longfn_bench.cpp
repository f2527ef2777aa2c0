// Timings of the long-number functions (pi, e, SQR, EXP, LOG, SIN, ATN,
// FACTORIAL) at a few precisions. Each run starts with empty constant
// caches, so pi, e and ln 10 are computed inside the timed call as a first
// call in a program would.
#include <benchmark/benchmark.h>

#include <string>

#include "rizozira/long_functions.h"

namespace {

struct bench_setup {
  bench_setup() {
    long_statics_init();
  }
};

enum which { PI, E, SQR, EXP, LOG_RATIONAL, LOG_NEWTON, SIN, ATN, FACTORIAL };

void run(benchmark::State& state, which w, const char* arg) {
  static bench_setup setup;
  const std::int32_t p = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    long_precision = p;
    long_clear_constant_caches();
    long_clear(long_atan_tenth_cache);
    long_atan_tenth_cache_digits = 0;
    long_work_record x;
    const std::string text = arg;
    long_convert_text(text.data(), text.size(), &x.n, 1);
    long_normalize(&x.n, 1);
    state.ResumeTiming();
    int rc = 0;
    switch (w) {
      case PI: rc = long_special_longpi(); break;
      case E: rc = long_special_longe(); break;
      case SQR: rc = long_func_sqr(&x.n); break;
      case EXP: rc = long_func_exp(&x.n, 0); break;
      case LOG_RATIONAL:
      case LOG_NEWTON: rc = long_func_log(&x.n, 0); break;
      case SIN: rc = long_func_trig(&x.n, 1); break;
      case ATN: rc = long_func_atn(&x.n, 0); break;
      case FACTORIAL: rc = long_factorial(p / 5); break;
    }
    if (rc < 0) state.SkipWithError("the function failed");
  }
}

#define LONGFN_BENCH(name, w, arg)                                                          \
  void name(benchmark::State& state) { run(state, w, arg); }                              \
  BENCHMARK(name)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)

LONGFN_BENCH(BM_longfn_pi, PI, "0");
LONGFN_BENCH(BM_longfn_e, E, "0");
LONGFN_BENCH(BM_longfn_sqr, SQR, "2");
LONGFN_BENCH(BM_longfn_exp, EXP, "0.5");
LONGFN_BENCH(BM_longfn_log_rational, LOG_RATIONAL, "2");
LONGFN_BENCH(BM_longfn_log_newton, LOG_NEWTON, "7.77777777777777777777");
LONGFN_BENCH(BM_longfn_sin, SIN, "0.7");
LONGFN_BENCH(BM_longfn_atn, ATN, "0.3");
LONGFN_BENCH(BM_longfn_factorial, FACTORIAL, "0");

}  // namespace

BENCHMARK_MAIN();
