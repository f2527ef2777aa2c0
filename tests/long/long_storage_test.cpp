// The long-number record's storage: inline and heap arrays, moves, pools and
// the houseclean compaction of the long-variable pool.
#include <string>

#include "long_test_support.h"

namespace {

using LongStorageTest = LongFixture;

TEST_F(LongStorageTest, DigitsBeyond512MoveToTheHeapAndBack) {
  long_number* n = long_var_alloc();
  ASSERT_NE(n, nullptr);
  ASSERT_EQ(long_reserve(n, 512), 0);
  EXPECT_EQ(n->blocks, n->inline_blocks);
  EXPECT_EQ(n->heap_blocks, nullptr);

  ASSERT_EQ(long_reserve(n, 513), 0);
  ASSERT_NE(n->heap_blocks, nullptr);
  EXPECT_EQ(n->blocks, n->heap_blocks);
  EXPECT_EQ(n->capacity_bytes, 65 * 4);
  // A smaller request keeps the larger heap array; one that fits inline frees it.
  ASSERT_EQ(long_reserve(n, 520), 0);
  EXPECT_EQ(n->capacity_bytes, 65 * 4);
  ASSERT_EQ(long_reserve(n, 100), 0);
  EXPECT_EQ(n->heap_blocks, nullptr);
  EXPECT_EQ(n->blocks, n->inline_blocks);
  // Reset state after every reserve.
  EXPECT_EQ(n->blocks[0], 0u);
  EXPECT_EQ(n->len, 1);
  EXPECT_EQ(n->blks, 1);
  EXPECT_EQ(n->exp, 1);
  EXPECT_EQ(n->norm, 0);
}

TEST_F(LongStorageTest, MoveHandsAHeapArrayOverAndClearsTheSource) {
  long_number* src = long_temp_alloc();
  long_number* dst = long_var_alloc();
  ASSERT_EQ(long_reserve(src, 800), 0);
  for (int i = 0; i < 100; ++i) src->blocks[i] = 10000000u + static_cast<std::uint32_t>(i);
  src->blks = 100;
  src->len = 800;
  src->exp = 5;
  src->sign = -1;
  src->norm = 1;
  std::uint32_t* array = src->heap_blocks;

  EXPECT_EQ(long_move(src, dst), 14);
  EXPECT_EQ(dst->blocks, array);  // handed over, not copied
  EXPECT_EQ(dst->blks, 100);
  EXPECT_EQ(dst->blocks[99], 10000099u);
  EXPECT_EQ(dst->sign, -1);
  EXPECT_EQ(dst->exp, 5);
  EXPECT_EQ(src->heap_blocks, nullptr);
  EXPECT_EQ(src->blocks, src->inline_blocks);
  EXPECT_EQ(src->blocks[0], 0u);
  EXPECT_EQ(src->blks, 1);

  // A small heap-based number is copied into the slot's inline buffer.
  ASSERT_EQ(long_reserve(src, 800), 0);
  src->blocks[0] = 12345678;
  EXPECT_EQ(long_move(src, dst), 14);
  EXPECT_EQ(dst->blocks, dst->inline_blocks);
  EXPECT_EQ(dst->blocks[0], 12345678u);
  EXPECT_EQ(src->heap_blocks, nullptr);
}

TEST_F(LongStorageTest, NullSourcesGiveNormalisedZero) {
  long_number* a = make("123.5");
  long_number* b = make("-7");
  EXPECT_EQ(long_copy(nullptr, a), 14);
  EXPECT_EQ(long_move(nullptr, b), 14);
  for (long_number* n : {a, b}) {
    EXPECT_EQ(n->blocks[0], 0u);
    EXPECT_EQ(n->sign, 0);
    EXPECT_EQ(n->exp, 1);
    EXPECT_EQ(n->norm, 1);
  }
}

TEST_F(LongStorageTest, CopyLeavesTheSourceAndKeepsAllFields) {
  long_number* a = make("-123456789.25");
  long_number* b = long_temp_alloc();
  EXPECT_EQ(long_copy(a, b), 14);
  EXPECT_EQ(long_text(a), "-123456789.25");
  EXPECT_EQ(long_text(b), "-123456789.25");
  EXPECT_EQ(long_blocks(b), long_blocks(a));
}

TEST_F(LongStorageTest, FromIntTable) {
  struct Case {
    std::int64_t v;
    int result;
    std::vector<std::uint32_t> blocks;
    std::int32_t len, exp, sign;
  };
  const Case cases[] = {
      {-7, 0, {70000000}, 1, 1, -1},
      {1, 0, {10000000}, 1, 1, 0},
      {0, 0, {0}, 1, 1, 0},
      {12345678, 0, {12345678}, 8, 8, 0},
      {99999999, 0, {99999999}, 8, 8, 0},
      {-99999999, 0, {99999999}, 8, 8, -1},
      {1000, 0, {10000000}, 1, 4, 0},
  };
  for (const Case& c : cases) {
    long_number* n = long_temp_alloc();
    EXPECT_EQ(long_from_int(n, c.v), c.result) << c.v;
    EXPECT_EQ(long_blocks(n), c.blocks) << c.v;
    EXPECT_EQ(n->len, c.len) << c.v;
    EXPECT_EQ(n->exp, c.exp) << c.v;
    EXPECT_EQ(n->sign, c.sign) << c.v;
    EXPECT_EQ(n->norm, 1) << c.v;
  }
  long_number* n = long_temp_alloc();
  EXPECT_EQ(long_from_int(n, 100000000), -151);
  EXPECT_EQ(long_from_int(n, -100000000), -151);
  EXPECT_GT(host.reported(151), 0);
}

TEST_F(LongStorageTest, EnsureCapacityAndExtendKeepTheValue) {
  long_number* n = make("12345678.87654321");
  ASSERT_EQ(long_ensure_capacity(n, 1000), 0);  // inline to heap
  EXPECT_NE(n->heap_blocks, nullptr);
  EXPECT_EQ(long_text(n), "12345678.87654321");
  EXPECT_EQ(n->blocks[5], 0u);
  ASSERT_EQ(long_ensure_capacity(n, 4000), 0);  // heap grows
  EXPECT_EQ(long_text(n), "12345678.87654321");
  EXPECT_EQ(n->blocks[400], 0u);

  long_number* m = make("5");
  ASSERT_EQ(long_extend_blocks(m, 70), 0);  // beyond the inline buffer
  EXPECT_EQ(m->blks, 70);
  EXPECT_EQ(m->len, 1 + 8 * 69);
  EXPECT_EQ(m->blocks[69], 0u);
  m->norm = 0;
  long_normalize(m, 0);
  EXPECT_EQ(long_text(m), "5.");
  ASSERT_EQ(long_extend_blocks(m, 1), 0);  // more blocks already: left alone
  EXPECT_EQ(m->blks, 1);
}

TEST_F(LongStorageTest, TemporaryPoolOf6000BytesHoldsTwentySlots) {
  ASSERT_EQ(long_temp_pool_allocate(6000 + 299), 0);  // rounded down to a multiple of 300
  EXPECT_EQ(long_temp_pool_size, 6000);
  std::int32_t level = long_temp_used;
  for (int i = 0; i < 20; ++i) ASSERT_NE(long_temp_alloc(), nullptr) << i;
  EXPECT_EQ(long_temp_used, 6000);
  EXPECT_EQ(long_temp_used_last, 6000);
  EXPECT_EQ(long_temp_alloc(), nullptr);
  EXPECT_GT(host.reported(172), 0);

  // Released slots come back cleared, heap arrays freed.
  long_temp_release_to(level + 300);
  EXPECT_EQ(long_temp_used, 300);
  long_number* again = long_temp_alloc();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->blks, 1);
  EXPECT_EQ(again->blocks, again->inline_blocks);
}

TEST_F(LongStorageTest, PoolAllocationFailuresAndExhaustion) {
  EXPECT_EQ(long_var_pool_allocate(299), -171);
  EXPECT_GT(host.reported(171), 0);
  EXPECT_EQ(long_temp_pool_allocate(0), -173);
  EXPECT_GT(host.reported(173), 0);
  ASSERT_EQ(long_var_pool_allocate(600), 0);
  EXPECT_NE(long_var_alloc(), nullptr);
  EXPECT_NE(long_var_alloc(), nullptr);
  EXPECT_EQ(long_var_alloc(), nullptr);
  EXPECT_GT(host.reported(174), 0);
}

TEST_F(LongStorageTest, HousecleanCompactsUsedFreeUsedFreeUsed) {
  long_number* owners[5];
  for (int i = 0; i < 5; ++i) {
    owners[i] = long_var_alloc();
    ASSERT_EQ(long_from_int(owners[i], i + 1), 0);
  }
  // Slot 4 holds a heap-based number that must be handed over, not copied.
  ASSERT_EQ(long_extend_blocks(owners[4], 80), 0);
  std::uint32_t* heap = owners[4]->heap_blocks;
  long_var_free(owners[1]);
  long_var_free(owners[3]);
  long_number* vars[3] = {owners[0], owners[2], owners[4]};
  for (long_number*& v : vars) long_var_compact_one(&v);
  long_var_compact_finish();

  EXPECT_EQ(long_var_used, 900);
  EXPECT_EQ(vars[0], &long_var_pool[0].number);
  EXPECT_EQ(vars[1], &long_var_pool[1].number);
  EXPECT_EQ(vars[2], &long_var_pool[2].number);
  EXPECT_EQ(vars[1]->blocks[0], 30000000u);
  EXPECT_EQ(vars[2]->blocks[0], 50000000u);
  EXPECT_EQ(vars[2]->heap_blocks, heap);
  // Slots above the new level are cleared.
  EXPECT_EQ(long_var_pool[3].number.blks, 1);
  EXPECT_EQ(long_var_pool[4].number.heap_blocks, nullptr);
  // A pass with nothing free changes nothing.
  for (long_number*& v : vars) long_var_compact_one(&v);
  long_var_compact_finish();
  EXPECT_EQ(long_var_used, 900);
  EXPECT_EQ(vars[2], &long_var_pool[2].number);
}

TEST_F(LongStorageTest, RoundCopyRoundsOrCuts) {
  long_number* src = make("0.123456789");
  long_number* dst = long_temp_alloc();
  EXPECT_EQ(long_round_copy(src, dst, 5), 14);
  EXPECT_EQ(long_text(dst), ".12346");
  long_round_mode = 0;
  EXPECT_EQ(long_round_copy(src, dst, 5), 14);
  EXPECT_EQ(long_text(dst), ".12345");
  EXPECT_EQ(long_precision, 50);  // restored
  EXPECT_EQ(long_text(src), ".123456789");
}

TEST_F(LongStorageTest, RunStartAndClearEmptyTheRightStores) {
  long_number* v = long_var_alloc();
  ASSERT_EQ(long_from_int(v, 5), 0);
  ASSERT_EQ(long_from_int(long_remainder, 3), 0);
  long_pi_cache_digits = 40;
  long_atan_tenth_cache_digits = 40;
  ASSERT_NE(long_temp_alloc(), nullptr);
  long_run_start();
  EXPECT_EQ(long_temp_used, 0);
  EXPECT_EQ(long_remainder->blocks[0], 0u);
  EXPECT_EQ(long_var_used, 300);
  long_clear_variables();
  EXPECT_EQ(long_var_used, 0);
  EXPECT_EQ(v->blocks[0], 0u);
  EXPECT_EQ(long_pi_cache_digits, 0);
  EXPECT_EQ(long_atan_tenth_cache_digits, 40);  // never cleared
  EXPECT_EQ(long_one->blocks[0], 10000000u);
  EXPECT_EQ(long_accumulator->inline_bytes, 256);
}

}  // namespace
