// Timings of the long-number kernels at a few precisions:
//   cmake --build <build> --target long_bench && <build>/bench/long_bench
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "rizozira/long_number.h"

namespace {

// Pools and statics once, and a random operand of `digits` digits at p = digits.
struct bench_setup {
  bench_setup() {
    long_statics_init();
    long_var_pool_allocate(30000);
    long_temp_pool_allocate(30000);
  }
};

long_number* operand(int digits, unsigned seed) {
  static bench_setup setup;
  std::mt19937 rng(seed);
  std::string text = "0.";
  text += static_cast<char>('1' + rng() % 9);
  for (int i = 1; i < digits; ++i) text += static_cast<char>('0' + rng() % 10);
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
BENCHMARK(BM_long_multiply)->Arg(50)->Arg(1000)->Arg(10000);
BENCHMARK(BM_long_divide)->Arg(50)->Arg(1000)->Arg(10000);
BENCHMARK(BM_long_to_text)->Arg(50)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
