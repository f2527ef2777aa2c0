// The long-number record's storage: inline and heap block arrays, the two
// pools of 300-byte slots, the static numbers and houseclean's compaction.
#include <cstdlib>
#include <cstring>
#include <new>

#include "rizozira/long_number.h"

long_slot* long_var_pool = nullptr;
std::int32_t long_var_pool_size = 0;
std::int32_t long_var_used = 0;
long_slot* long_temp_pool = nullptr;
std::int32_t long_temp_pool_size = 0;
std::int32_t long_temp_used = 0;
std::int32_t long_temp_used_last = 0;

namespace {

// Static numbers with their own buffers; bound at compile time so that no
// pointer below is ever null, and bound again by long_statics_init.
std::uint32_t accumulator_buffer[64];
std::uint32_t remainder_buffer[64];
std::uint32_t one_buffer[1];
std::uint32_t cossame_buffer[64];
std::uint32_t pi_buffer[64];
std::uint32_t e_buffer[64];
std::uint32_t ln10_buffer[64];
std::uint32_t atan_tenth_buffer[64];

constexpr long_number bound_static(std::uint32_t* buffer, std::int32_t bytes) {
  return long_number{buffer, bytes, nullptr, 0, buffer, bytes, 1, 1, 0, 1, 0};
}

long_number accumulator_number = bound_static(accumulator_buffer, sizeof accumulator_buffer);
long_number remainder_number = bound_static(remainder_buffer, sizeof remainder_buffer);
long_number one_number = bound_static(one_buffer, sizeof one_buffer);
long_number cossame_number = bound_static(cossame_buffer, sizeof cossame_buffer);
long_number pi_number = bound_static(pi_buffer, sizeof pi_buffer);
long_number e_number = bound_static(e_buffer, sizeof e_buffer);
long_number ln10_number = bound_static(ln10_buffer, sizeof ln10_buffer);
long_number atan_tenth_number = bound_static(atan_tenth_buffer, sizeof atan_tenth_buffer);

// Largest block array we ever take: keeps every byte count inside i32.
constexpr std::int64_t max_blocks = (INT32_MAX / long_block_bytes) - 16;

void reset_value(long_number* n) {
  if (n->blocks != nullptr && n->capacity_bytes >= long_block_bytes) n->blocks[0] = 0;
  n->len = 1;
  n->blks = 1;
  n->sign = 0;
  n->exp = 1;
  n->norm = 0;
}

void drop_heap(long_number* n) {
  std::free(n->heap_blocks);
  n->heap_blocks = nullptr;
  n->heap_bytes = 0;
  n->blocks = n->inline_blocks;
  n->capacity_bytes = n->inline_bytes;
}

// After a failed allocation: back on the inline buffer, reset, error 159.
int allocation_failed(long_number* n) {
  drop_heap(n);
  reset_value(n);
  return long_host_report_error(159);
}

std::int64_t blocks_needed(std::int64_t digits) {
  if (digits < 1) digits = 1;
  return (digits + long_block_digits - 1) / long_block_digits;
}

void free_pool(long_slot*& pool, std::int32_t& size, std::int32_t& used) {
  if (pool != nullptr) {
    for (std::int32_t i = 0; i < size / long_slot_bytes; ++i) {
      std::free(pool[i].number.heap_blocks);
    }
  }
  delete[] pool;
  pool = nullptr;
  size = 0;
  used = 0;
}

int allocate_pool(long_slot*& pool, std::int32_t& size, std::int32_t& used, std::uint32_t bytes,
                  int failure_code) {
  free_pool(pool, size, used);
  std::uint32_t count = bytes / long_slot_bytes;
  if (count == 0 || count > INT32_MAX / long_slot_bytes) return long_host_report_error(failure_code);
  pool = new (std::nothrow) long_slot[count]();
  if (pool == nullptr) return long_host_report_error(failure_code);
  for (std::uint32_t i = 0; i < count; ++i) {
    long_init(&pool[i].number, pool[i].buffer, long_slot_inline_bytes);
  }
  size = static_cast<std::int32_t>(count) * long_slot_bytes;
  used = 0;
  return 0;
}

long_slot* slot_at(long_slot* pool, std::int32_t offset) { return &pool[offset / long_slot_bytes]; }

}  // namespace

long_number* long_accumulator = &accumulator_number;
long_number* long_remainder = &remainder_number;
long_number* long_one = &one_number;
long_number* long_cossame = &cossame_number;
long_number* long_pi_cache = &pi_number;
long_number* long_e_cache = &e_number;
long_number* long_ln10_cache = &ln10_number;
long_number* long_atan_tenth_cache = &atan_tenth_number;
std::int32_t long_pi_cache_digits = 0;
std::int32_t long_e_cache_digits = 0;
std::int32_t long_ln10_cache_digits = 0;
std::int32_t long_atan_tenth_cache_digits = 0;

int long_var_pool_allocate(std::uint32_t bytes) {
  return allocate_pool(long_var_pool, long_var_pool_size, long_var_used, bytes, 171);
}

int long_temp_pool_allocate(std::uint32_t bytes) {
  long_temp_used_last = 0;
  return allocate_pool(long_temp_pool, long_temp_pool_size, long_temp_used, bytes, 173);
}

void long_statics_init() {
  struct binding {
    long_number* number;
    std::uint32_t* buffer;
    std::int32_t bytes;
  };
  const binding statics[] = {
      {&accumulator_number, accumulator_buffer, sizeof accumulator_buffer},
      {&remainder_number, remainder_buffer, sizeof remainder_buffer},
      {&one_number, one_buffer, sizeof one_buffer},
      {&cossame_number, cossame_buffer, sizeof cossame_buffer},
      {&pi_number, pi_buffer, sizeof pi_buffer},
      {&e_number, e_buffer, sizeof e_buffer},
      {&ln10_number, ln10_buffer, sizeof ln10_buffer},
      {&atan_tenth_number, atan_tenth_buffer, sizeof atan_tenth_buffer},
  };
  for (const binding& b : statics) {
    std::free(b.number->heap_blocks);
    long_init(b.number, b.buffer, b.bytes);
  }
  long_accumulator = &accumulator_number;
  long_from_int(long_one, 1);
  long_pi_cache_digits = 0;
  long_e_cache_digits = 0;
  long_ln10_cache_digits = 0;
  long_atan_tenth_cache_digits = 0;
}

void long_storage_free() {
  free_pool(long_var_pool, long_var_pool_size, long_var_used);
  free_pool(long_temp_pool, long_temp_pool_size, long_temp_used);
  long_number* statics[] = {&accumulator_number, long_remainder, long_cossame, long_pi_cache,
                            long_e_cache, long_ln10_cache, long_atan_tenth_cache};
  for (long_number* n : statics) long_clear(n);
}

void long_run_start() {
  long_clear(long_remainder);
  long_clear(long_cossame);
  if (long_temp_pool != nullptr) {
    for (std::int32_t i = 0; i < long_temp_pool_size / long_slot_bytes; ++i) {
      long_clear(&long_temp_pool[i].number);
    }
  }
  long_temp_used = 0;
}

void long_clear_variables() {
  if (long_var_pool != nullptr) {
    for (std::int32_t i = 0; i < long_var_pool_size / long_slot_bytes; ++i) {
      long_clear(&long_var_pool[i].number);
    }
  }
  long_var_used = 0;
  long_clear_constant_caches();
}

void long_init(long_number* n, std::uint32_t* buffer, std::int32_t bytes) {
  n->inline_blocks = buffer;
  n->inline_bytes = buffer != nullptr ? bytes : 0;
  n->heap_blocks = nullptr;
  n->heap_bytes = 0;
  n->blocks = buffer;
  n->capacity_bytes = n->inline_bytes;
  reset_value(n);
}

void long_clear(long_number* n) {
  drop_heap(n);
  reset_value(n);
}

void long_set_zero(long_number* n) {
  reset_value(n);
  n->norm = 1;
}

int long_reserve(long_number* n, std::int64_t digits) {
  std::int64_t blocks = blocks_needed(digits);
  if (blocks > max_blocks) return allocation_failed(n);
  std::int64_t bytes = blocks * long_block_bytes;
  if (bytes <= n->inline_bytes) {
    drop_heap(n);
  } else if (n->heap_blocks == nullptr || n->heap_bytes < bytes) {
    drop_heap(n);
    auto* array = static_cast<std::uint32_t*>(std::malloc(static_cast<std::size_t>(bytes)));
    if (array == nullptr) return allocation_failed(n);
    n->heap_blocks = array;
    n->heap_bytes = static_cast<std::int32_t>(bytes);
    n->blocks = array;
    n->capacity_bytes = n->heap_bytes;
  } else {
    n->blocks = n->heap_blocks;
    n->capacity_bytes = n->heap_bytes;
  }
  reset_value(n);
  return 0;
}

int long_ensure_capacity(long_number* n, std::int64_t digits) {
  std::int64_t blocks = blocks_needed(digits);
  if (blocks > max_blocks) return allocation_failed(n);
  std::int64_t bytes = blocks * long_block_bytes;
  std::int32_t have = n->capacity_bytes / long_block_bytes;
  if (bytes <= n->capacity_bytes) {
    if (n->blks < have) std::memset(n->blocks + n->blks, 0, (have - n->blks) * 4u);
    return 0;
  }
  if (n->heap_blocks != nullptr && n->blocks == n->heap_blocks) {
    auto* array = static_cast<std::uint32_t*>(std::realloc(n->heap_blocks, static_cast<std::size_t>(bytes)));
    if (array == nullptr) return allocation_failed(n);
    std::memset(array + have, 0, static_cast<std::size_t>(bytes - have * long_block_bytes));
    n->heap_blocks = array;
    n->heap_bytes = static_cast<std::int32_t>(bytes);
  } else {
    auto* array = static_cast<std::uint32_t*>(std::calloc(static_cast<std::size_t>(blocks), 4));
    if (array == nullptr) return allocation_failed(n);
    std::memcpy(array, n->blocks, static_cast<std::size_t>(n->blks) * long_block_bytes);
    std::free(n->heap_blocks);  // an unused heap array is not kept
    if (n->inline_blocks != nullptr) std::memset(n->inline_blocks, 0, static_cast<std::size_t>(n->inline_bytes));
    n->heap_blocks = array;
    n->heap_bytes = static_cast<std::int32_t>(bytes);
  }
  n->blocks = n->heap_blocks;
  n->capacity_bytes = n->heap_bytes;
  return 0;
}

int long_extend_blocks(long_number* n, std::int32_t count) {
  if (n->blks > count) return 0;
  if (static_cast<std::int64_t>(count) * long_block_bytes > n->capacity_bytes) {
    if (count > max_blocks) return allocation_failed(n);
    auto* array =
        static_cast<std::uint32_t*>(std::malloc(static_cast<std::size_t>(count) * long_block_bytes));
    if (array == nullptr) return allocation_failed(n);
    std::memcpy(array, n->blocks, static_cast<std::size_t>(n->blks) * long_block_bytes);
    std::free(n->heap_blocks);
    n->heap_blocks = array;
    n->heap_bytes = count * long_block_bytes;
    n->blocks = array;
    n->capacity_bytes = n->heap_bytes;
  }
  for (std::int32_t i = n->blks; i < count; ++i) n->blocks[i] = 0;
  n->len += long_block_digits * (count - n->blks);
  n->blks = count;
  return 0;
}

int long_from_int(long_number* n, std::int64_t v) {
  if (v < -99999999 || v > 99999999) return long_host_report_error(151);
  if (n->capacity_bytes < 4) {
    int r = long_reserve(n, long_block_digits);
    if (r < 0) return r;
  }
  n->blocks[0] = static_cast<std::uint32_t>(v < 0 ? -v : v);
  n->len = long_block_digits;
  n->exp = long_block_digits;
  n->blks = 1;
  n->sign = v < 0 ? -1 : 0;
  n->norm = 0;
  long_normalize(n, 0);
  return 0;
}

int long_copy(const long_number* src, long_number* dst) {
  if (src == dst) return long_result;
  if (src == nullptr) {
    int r = long_reserve(dst, long_block_digits);
    if (r < 0) return r;
    long_set_zero(dst);
    return long_result;
  }
  int r = long_reserve(dst, static_cast<std::int64_t>(src->blks) * long_block_digits);
  if (r < 0) return r;
  std::memcpy(dst->blocks, src->blocks, static_cast<std::size_t>(src->blks) * long_block_bytes);
  dst->len = src->len;
  dst->blks = src->blks;
  dst->sign = src->sign;
  dst->exp = src->exp;
  dst->norm = src->norm;
  return long_result;
}

int long_move(long_number* src, long_number* dst) {
  if (src == dst) return long_result;
  long_clear(dst);
  if (src == nullptr) {
    int r = long_reserve(dst, long_block_digits);
    if (r < 0) return r;
    long_set_zero(dst);
    return long_result;
  }
  std::int64_t need = static_cast<std::int64_t>(src->blks) * long_block_bytes;
  bool on_heap = src->heap_blocks != nullptr && src->blocks == src->heap_blocks;
  if (on_heap && need > dst->capacity_bytes) {
    // Hand the heap array over instead of copying it.
    dst->heap_blocks = src->heap_blocks;
    dst->heap_bytes = src->heap_bytes;
    dst->blocks = dst->heap_blocks;
    dst->capacity_bytes = dst->heap_bytes;
    src->heap_blocks = nullptr;
    src->heap_bytes = 0;
    src->blocks = src->inline_blocks;
    src->capacity_bytes = src->inline_bytes;
  } else {
    if (need > dst->capacity_bytes) {
      int r = long_reserve(dst, static_cast<std::int64_t>(src->blks) * long_block_digits);
      if (r < 0) {
        long_clear(src);
        return r;
      }
    }
    std::memcpy(dst->blocks, src->blocks, static_cast<std::size_t>(need));
  }
  dst->blks = src->blks;
  dst->exp = src->exp;
  dst->sign = src->sign;
  dst->len = src->len;
  dst->norm = src->norm;
  long_clear(src);
  return long_result;
}

int long_round_copy(const long_number* src, long_number* dst, std::int32_t digits) {
  if (digits < 1) digits = 1;
  std::int32_t k = digits < src->len ? digits : src->len;
  if (src->len > k) ++k;  // the rounding digit
  std::int32_t kb = long_blocks_for_digits(k);
  if (kb > src->blks) kb = src->blks;
  if (src == dst) {
    dst->len = k;
    dst->blks = kb;
  } else {
    int r = long_reserve(dst, k);
    if (r < 0) return r;
    std::memcpy(dst->blocks, src->blocks, static_cast<std::size_t>(kb) * long_block_bytes);
    dst->blks = kb;
    dst->len = k;
    dst->exp = src->exp;
    dst->sign = src->sign;
  }
  dst->norm = 0;
  std::int32_t saved = long_precision;
  long_precision = digits;
  long_normalize(dst, 1);
  long_precision = saved;
  return long_result;
}

long_number* long_temp_alloc() {
  if (long_temp_pool == nullptr || long_temp_used >= long_temp_pool_size) {
    long_host_report_error(172);
    return nullptr;
  }
  long_slot* slot = slot_at(long_temp_pool, long_temp_used);
  long_temp_used += long_slot_bytes;
  long_temp_used_last = long_temp_used;
  return &slot->number;
}

void long_temp_release_to(std::int32_t level) {
  if (level < 0) level = 0;
  if (long_temp_pool != nullptr) {
    for (std::int32_t off = level; off < long_temp_used; off += long_slot_bytes) {
      long_clear(&slot_at(long_temp_pool, off)->number);
    }
  }
  if (level < long_temp_used) long_temp_used = level;
}

long_number* long_var_alloc() {
  if (long_var_pool == nullptr || long_var_used >= long_var_pool_size) {
    long_host_report_error(174);
    return nullptr;
  }
  long_slot* slot = slot_at(long_var_pool, long_var_used);
  long_var_used += long_slot_bytes;
  return &slot->number;
}

void long_var_release_from(std::int32_t offset) {
  if (long_var_pool == nullptr) return;
  if (offset < 0) offset = 0;
  for (std::int32_t off = offset; off < long_var_used; off += long_slot_bytes) {
    long_clear(&slot_at(long_var_pool, off)->number);
  }
}

void long_var_free(long_number* n) {
  if (n == nullptr) return;
  long_clear(n);
  n->blks = -1;
}

void long_var_compact_one(long_number** owner) {
  if (owner == nullptr || *owner == nullptr || long_var_pool == nullptr) return;
  // The record is the first member of its slot, so the slot index follows
  // from the address.
  auto* slot = reinterpret_cast<long_slot*>(*owner);
  std::int32_t count = long_var_used / long_slot_bytes;
  std::int32_t own = -1;
  if (slot >= long_var_pool && slot < long_var_pool + count) own = static_cast<std::int32_t>(slot - long_var_pool);
  if (own < 0) return;  // not a slot of this pool
  for (std::int32_t i = 0; i < own; ++i) {
    long_number* free_slot = &long_var_pool[i].number;
    if (free_slot->blks == -1) {
      long_move(*owner, free_slot);
      (*owner)->blks = -1;
      *owner = free_slot;
      return;
    }
  }
}

void long_var_compact_finish() {
  if (long_var_pool == nullptr) return;
  std::int32_t level = long_var_used;
  for (std::int32_t off = 0; off < long_var_used; off += long_slot_bytes) {
    if (slot_at(long_var_pool, off)->number.blks == -1) {
      level = off;
      break;
    }
  }
  long_var_release_from(level);
  long_var_used = level;
}
