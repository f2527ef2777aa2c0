// Timings of the long-number kernels.
//   cmake --build <build> --target long_bench
//   <build>/bench/long_bench                  Google Benchmark cases
//   <build>/bench/long_bench --operand D S    prints operand S (1 or 2) of D digits as ".ddd..."
//   <build>/bench/long_bench --vs D [D ...]   our multiply and divide beside MPFR's
// The --vs lines read "digits our_mul_us mpfr_mul_us our_div_us mpfr_div_us";
// bench/long_vs runs bc on the same operands and prints the ratios.
#include <benchmark/benchmark.h>
#include <mpfr.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "rizozira/long_number.h"

namespace {

// Pools and statics once.
struct bench_setup {
  bench_setup() {
    long_statics_init();
    long_var_pool_allocate(30000);
    long_temp_pool_allocate(30000);
  }
};

// Operand `which` (1 or 2) of `digits` random digits, a fraction below 1 with
// a non-zero first digit: the same text for every caller, bc included.
std::string operand_text(int digits, unsigned which) {
  std::mt19937 rng(which);
  std::string text = ".";
  text += static_cast<char>('1' + rng() % 9);
  for (int i = 1; i < digits; ++i) text += static_cast<char>('0' + rng() % 10);
  return text;
}

long_number* operand(int digits, unsigned which) {
  static bench_setup setup;
  std::string text = operand_text(digits, which);
  long_number* n = long_var_alloc();
  long_convert_text(text.data(), text.size(), n, 1);
  return n;
}

void release_all() {
  long_temp_release_to(0);
  long_var_release_from(0);
  long_var_used = 0;
}

void BM_long_add(benchmark::State& state) {
  long_precision = static_cast<int>(state.range(0));
  long_number* a = operand(long_precision, 1);
  long_number* b = operand(long_precision, 2);
  long_number* c = long_var_alloc();
  for (auto _ : state) {
    long_add(a, b, c);
    long_normalize(c, 1);
    benchmark::DoNotOptimize(c->blocks[0]);
  }
  release_all();
}

void BM_long_multiply(benchmark::State& state) {
  long_precision = static_cast<int>(state.range(0));
  long_number* a = operand(long_precision, 1);
  long_number* b = operand(long_precision, 2);
  long_number* c = long_var_alloc();
  for (auto _ : state) {
    long_multiply(a, b, c);
    long_normalize(c, 1);
    benchmark::DoNotOptimize(c->blocks[0]);
  }
  release_all();
}

void BM_long_divide(benchmark::State& state) {
  long_precision = static_cast<int>(state.range(0));
  long_number* a = operand(long_precision, 1);
  long_number* b = operand(long_precision, 2);
  long_number* x = long_var_alloc();
  long_number* q = long_var_alloc();
  for (auto _ : state) {
    long_copy(a, x);
    long_divide(x, b, q);
    benchmark::DoNotOptimize(q->blocks[0]);
  }
  release_all();
}

void BM_long_to_text(benchmark::State& state) {
  long_precision = static_cast<int>(state.range(0));
  long_number* a = operand(long_precision, 1);
  std::string out(static_cast<std::size_t>(long_text_size(a)), '\0');
  for (auto _ : state) {
    std::int32_t size = static_cast<std::int32_t>(out.size());
    long_to_text(a, out.data(), &size);
    benchmark::DoNotOptimize(out.data());
  }
  release_all();
}

BENCHMARK(BM_long_add)->Arg(50)->Arg(1000)->Arg(100000);
BENCHMARK(BM_long_multiply)->Arg(50)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_long_divide)->Arg(50)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_long_to_text)->Arg(50)->Arg(10000);

// ---------------------------------------------------------------- side by side

double now_us() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::micro>(clock::now().time_since_epoch()).count();
}

// Microseconds per call of op: batches that double until one lasts 0.2 s (or
// a single call is slower than that); the best batch of three counts, so that
// a busy machine disturbs the figure as little as it can.
double time_per_call(const std::function<void()>& op) {
  op();  // warm the caches and the allocator
  long reps = 1;
  double best = 0;
  for (;;) {
    double start = now_us();
    for (long i = 0; i < reps; ++i) op();
    double elapsed = now_us() - start;
    if (elapsed >= 200000.0 || reps >= (1L << 24)) {
      best = elapsed / static_cast<double>(reps);
      break;
    }
    reps *= 2;
  }
  for (int round = 0; round < 2; ++round) {
    double start = now_us();
    for (long i = 0; i < reps; ++i) op();
    double per = (now_us() - start) / static_cast<double>(reps);
    if (per < best) best = per;
  }
  return best;
}

// One MPFR number at the binary precision that holds `digits` decimal digits.
struct mpfr_number {
  mpfr_t v;
  explicit mpfr_number(int digits) {
    mpfr_init2(v, static_cast<mpfr_prec_t>(std::ceil(digits * 3.3219280948873623)) + 1);
  }
  ~mpfr_number() { mpfr_clear(v); }
  mpfr_number(const mpfr_number&) = delete;
  mpfr_number& operator=(const mpfr_number&) = delete;
};

int side_by_side(int digits) {
  static bench_setup setup;
  long_modes_run_start();
  long_reset_debug_options();
  if (long_set_float_precision(digits) < 0) return 2;
  long_number* a = operand(digits, 1);
  long_number* b = operand(digits, 2);
  long_number* c = long_var_alloc();
  long_number* x = long_var_alloc();
  if (a == nullptr || b == nullptr || c == nullptr || x == nullptr) return 2;
  // The operator's work: the product rounded to p digits, and a quotient
  // whose dividend is consumed (so each call copies it first).
  double our_mul = time_per_call([&] {
    long_multiply(a, b, c);
    long_normalize(c, 1);
  });
  double our_div = time_per_call([&] {
    long_copy(a, x);
    long_divide(x, b, c);
  });
  release_all();

  mpfr_number ma(digits), mb(digits), mc(digits);
  std::string ta = "0" + operand_text(digits, 1);
  std::string tb = "0" + operand_text(digits, 2);
  mpfr_set_str(ma.v, ta.c_str(), 10, MPFR_RNDN);
  mpfr_set_str(mb.v, tb.c_str(), 10, MPFR_RNDN);
  double mpfr_mul_us = time_per_call([&] { mpfr_mul(mc.v, ma.v, mb.v, MPFR_RNDN); });
  double mpfr_div_us = time_per_call([&] { mpfr_div(mc.v, ma.v, mb.v, MPFR_RNDN); });
  std::printf("%d %.3f %.3f %.3f %.3f\n", digits, our_mul, mpfr_mul_us, our_div, mpfr_div_us);
  std::fflush(stdout);
  return 0;
}

int digits_argument(const char* text) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 11 || v > 1000000) {
    std::fprintf(stderr, "long_bench: digits must lie in 11..1000000: %s\n", text);
    return -1;
  }
  return static_cast<int>(v);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--operand") == 0) {
    int digits = argc == 4 ? digits_argument(argv[2]) : -1;
    unsigned which = argc == 4 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 0;
    if (digits < 0 || (which != 1 && which != 2)) {
      std::fprintf(stderr, "usage: long_bench --operand DIGITS 1|2\n");
      return 2;
    }
    std::printf("%s\n", operand_text(digits, which).c_str());
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--vs") == 0) {
    for (int i = 2; i < argc; ++i) {
      int digits = digits_argument(argv[i]);
      if (digits < 0 || side_by_side(digits) != 0) return 2;
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
