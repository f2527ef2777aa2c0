// Long numbers: decimal numbers in base-100,000,000 blocks, their pools and
// their arithmetic. The public face of rizozira/ for the interpreter.
//
// Conventions shared by every routine below:
//  - A routine that fails reports the error once with long_host_report_error
//    (which prints it) and returns the negated code; callers pass negatives
//    upwards.
//  - Value = (-1 if sign) x 0.d1 d2 ... d(len) x 10^exp, where d1..d8 are the
//    eight digits of blocks[0] (leading zeros written), d9..d16 of blocks[1]...
//  - Arithmetic results are left unnormalised (norm 0); the caller brings them
//    into the one normalised form with long_normalize(n, 1) (mode 0 after an
//    integer-mode product).
//  - Results of "operations that return long_result (14)" are left in
//    *long_accumulator; a caller keeps them by long_move into its own record.
//  - Everything the kernels need from outside is in rizozira/long_host.h; the
//    bridges to expression items and variables live in the interpreter
//    (interpreter/long_bridge.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "rizozira/long_host.h"

// ---------------------------------------------------------------- the record

constexpr std::uint32_t long_base = 100000000;  // one block holds 8 decimal digits
constexpr int long_block_digits = 8;
constexpr int long_block_bytes = static_cast<int>(sizeof(std::uint32_t));
constexpr int long_slot_bytes = 300;        // what one slot counts of its pool's size
constexpr int long_slot_inline_bytes = 256; // 64 blocks, 512 digits
constexpr int long_slot_inline_blocks = long_slot_inline_bytes / long_block_bytes;
// Largest |exp| a result may carry. Products and quotients beyond it report
// 151 "Exponent out of range." instead of overflowing the 32-bit exponent.
constexpr std::int32_t long_exp_limit = 100000000;

struct long_number {
  std::uint32_t* inline_blocks;  // buffer bound by long_init; never freed here
  std::int32_t inline_bytes;
  std::uint32_t* heap_blocks;    // owned heap array, or null
  std::int32_t heap_bytes;
  std::uint32_t* blocks;         // inline_blocks or heap_blocks
  std::int32_t capacity_bytes;   // size of `blocks`
  std::int32_t len;              // digit positions in use from the first digit of block 0
  std::int32_t blks;             // blocks in use (>= 1); -1 marks a free long-variable slot
  std::int32_t sign;             // 0 positive or zero, -1 negative
  std::int32_t exp;              // decimal exponent
  std::int32_t norm;             // 1 when in normalised form
};

// One pool element: a header and its own inline buffer.
struct long_slot {
  long_number number;
  std::uint32_t buffer[long_slot_inline_blocks];
};

// Blocks needed for a digit count.
constexpr std::int32_t long_blocks_for_digits(std::int64_t digits) {
  return static_cast<std::int32_t>((digits + long_block_digits - 1) / long_block_digits);
}

// Success codes of the routines, by where the result is left. They are the
// interpreter's item types for a double, a text and a long number.
constexpr int long_double_result = 2;  // in the caller's double
constexpr int long_text_result = 3;    // in the caller's text buffer
constexpr int long_result = 14;        // in *long_accumulator

// ---------------------------------------------------------------- pools (long_pools.cpp)

extern long_slot* long_var_pool;
extern std::int32_t long_var_pool_size;   // bytes, a multiple of 300
extern std::int32_t long_var_used;        // bytes, a multiple of 300
extern long_slot* long_temp_pool;
extern std::int32_t long_temp_pool_size;
extern std::int32_t long_temp_used;
extern std::int32_t long_temp_used_last;  // long_temp_used after the last temp allocation

// Static numbers. All point at static storage from program start;
// long_statics_init binds them and sets long_one to 1. long_accumulator holds
// the result of every routine that returns long_result.
extern long_number* long_accumulator;
extern long_number* long_remainder;
extern long_number* long_one;
extern long_number* long_cossame;
extern long_number* long_pi_cache;
extern long_number* long_e_cache;
extern long_number* long_ln10_cache;
extern long_number* long_atan_tenth_cache;
extern std::int32_t long_pi_cache_digits;
extern std::int32_t long_e_cache_digits;
extern std::int32_t long_ln10_cache_digits;
extern std::int32_t long_atan_tenth_cache_digits;

// Start-up (called by init_interpreter_tables). Each pool takes its size in
// bytes (LongNumberSpace / TempLongNumberSpace), rounded down to a multiple of
// 300, zero-filled with every slot bound to its inline buffer. Return 0, or
// report 171 "Unable to allocate storage for Long Variables." / 173 "Unable to
// allocate storage for Temporary Long Variables." and return -171 / -173.
// Calling again frees the previous pool first.
int long_var_pool_allocate(std::uint32_t bytes);
int long_temp_pool_allocate(std::uint32_t bytes);
// Binds the eight static numbers, sets long_one to 1, empties the caches and
// points long_accumulator at its static. Cannot fail.
void long_statics_init();
// Frees both pools (with every heap array in them) and the statics' heap arrays.
void long_storage_free();
// Run start (run_loaded_program): clears long_remainder and long_cossame,
// clears every temporary slot, long_temp_used = 0.
void long_run_start();
// CLEAR / run start without CHAIN keepdata (clear_all_variables): clears every
// long-variable slot, long_var_used = 0, empties the pi, e and ln 10 caches.
void long_clear_variables();

// Binds n to buffer (bytes long); value in the reset state (0, norm 0).
void long_init(long_number* n, std::uint32_t* buffer, std::int32_t bytes);
// Frees the heap array, back to the inline buffer, reset state.
void long_clear(long_number* n);
// Normalised zero in the current array.
void long_set_zero(long_number* n);
// Room for `digits` digits, value reset (old digits lost). 0 or -159.
int long_reserve(long_number* n, std::int64_t digits);
// Grows to `digits` digits keeping the value; 0 or -159.
int long_ensure_capacity(long_number* n, std::int64_t digits);
// Appends zero blocks (counted as digits) up to `count` blocks; 0 or -159.
int long_extend_blocks(long_number* n, std::int32_t count);
// n := v for |v| <= 99,999,999 (normalised); 0 or -151.
int long_from_int(long_number* n, std::int64_t v);
// dst := src (null src gives zero). long_result or negative.
int long_copy(const long_number* src, long_number* dst);
// dst := src, handing a heap array over where it pays; src is left cleared.
// long_result or negative.
int long_move(long_number* src, long_number* dst);
// dst := src rounded (round mode, not integer mode) or cut to `digits`
// significant digits. long_result or negative.
int long_round_copy(const long_number* src, long_number* dst, std::int32_t digits);

// Temporary slots: save long_temp_used, allocate, release to the saved level.
// Null (after reporting 172) when the pool is full.
long_number* long_temp_alloc();
void long_temp_release_to(std::int32_t level);
// Long-variable slots: null (after reporting 174) when the pool is full.
long_number* long_var_alloc();
void long_var_release_from(std::int32_t offset);
// Frees a long variable or element outside houseclean (ERASE, CLEAR of arrays).
void long_var_free(long_number* n);
// Houseclean: call long_var_compact_one for every owner pointer (variables in
// table order, then array elements row-major), then long_var_compact_finish.
void long_var_compact_one(long_number** owner);
void long_var_compact_finish();

// ---------------------------------------------------------------- modes (long_modes.cpp)

extern std::int32_t long_precision;        // significant digits kept (default 50)
extern std::int32_t long_float_precision;  // the last FLOAT value
extern std::int32_t integer_mode;          // 1 under INTEGER
extern std::int32_t long_round_mode;       // 1 round half away from zero, 0 cut
extern std::int32_t long_full_multiply;    // 1 after DEBUG OPTMUL OFF
extern std::int32_t long_lnrat_enabled;
extern std::int32_t long_old_convert;
extern std::int32_t math_error_ok;
extern std::int32_t math_error_flag;
extern std::int32_t long_debug_dump_on;
extern std::int32_t long_peekbcd_on;

// DEBUG TIMER names, in the index order of long_timer_keywords.
enum long_timer_index : int {
  LONG_TIMER_ATN = 0, LONG_TIMER_SQR, LONG_TIMER_LONGPI, LONG_TIMER_LONGE,
  LONG_TIMER_SIN, LONG_TIMER_EXP, LONG_TIMER_LOG, LONG_TIMER_ROOT,
  LONG_TIMER_POWER, LONG_TIMER_MULT, LONG_TIMER_DIV, LONG_TIMER_FACTORIAL,
  LONG_TIMER_MOD, LONG_TIMER_HALF, LONG_TIMER_CONVERT,
  LONG_TIMER_COUNT
};
extern std::int32_t long_timer_flags[LONG_TIMER_COUNT];
// Report label of each timer (convert: the text-to-long label).
extern const char* const long_timer_labels[LONG_TIMER_COUNT];
// Index of a timer name (any case), or -1.
int long_timer_find(const char* name);

// long_precision as the kernels use it: never below one digit, whatever a
// caller set it to temporarily.
inline std::int32_t long_working_precision() { return long_precision < 1 ? 1 : long_precision; }

constexpr std::int32_t long_precision_default = 50;
constexpr std::int32_t long_precision_max = 1000000;

// FLOAT n: long_precision := long_float_precision (undoing temporary raises),
// integer_mode := 0, then 10 < n <= 1,000,000 (finite) sets both precisions to
// trunc(n); else reports 154 "Invalid floating point length" and returns -154
// (the precision stays at its previous FLOAT value). Returns 0.
// (The caller mirrors long_precision into floatingptlength.)
int long_set_float_precision(double n);
// FLOAT without n: integer_mode := 0.
void long_set_float_mode();
// INTEGER: integer_mode := 1.
void long_set_integer_mode();
// DEBUG ROUND (1) / TRUNCATE (0): sets long_round_mode and empties the pi, e
// and ln 10 caches.
void long_set_round_mode(int mode);
// Empties the pi, e and ln 10 caches (digit counts 0).
void long_clear_constant_caches();
// The long-number part of debug_reset_options: round mode 1, lnrat 1, every
// other switch and every timer flag 0.
void long_reset_debug_options();
// Run start: precision 50 (both), integer_mode 0.
void long_modes_run_start();

// Timing helpers: a stamp when the flag is on, and the report after it.
void long_timer_begin(int index, std::int64_t& stamp);
void long_timer_end(int index, std::int64_t stamp, const char* label = nullptr);

// Tuning variable read through the named-variable channel: the variable's
// value, or `fallback` when it is missing, unusable or 0.
std::int32_t long_tuning_int(const char* name, std::int32_t fallback);

// DEBUG LONG dump of n (nothing unless long_debug_dump_on). full = 1: header
// line and blocks eight to a line; full = 0: one line.
void long_debug_dump(const char* label, const long_number* n, int full);

// ---------------------------------------------------------------- normalisation (long_normalize.cpp)

extern const std::uint32_t long_half_units[long_block_digits];
extern const std::uint32_t long_pow10_up[long_block_digits];
extern const std::uint32_t long_pow10[9];

// mode 0 shape only, 1 round (if on) and cut to the precision, -1 cut only.
// Does nothing when norm is already 1.
void long_normalize(long_number* n, int mode);
// -1, 0, 1 for a < b, a = b, a > b; both normalised.
int long_compare(const long_number* a, const long_number* b);
// dst := src (|src| < 1) written with exp 0, at most p + 10 digit positions.
int long_align_fraction(const long_number* src, long_number* dst);
// dst[1 .. count] := src[0 .. count-1] x 10^shift (0..7) with the carry
// running towards dst[0], which takes the final carry; blocks at or beyond
// dst_blocks are not stored (their carries still count).
void long_blocks_scale_into(const std::uint32_t* src, std::int32_t count, int shift, std::uint32_t* dst,
                            std::int32_t dst_blocks);
// Truncates n to its integer part in place (normalised).
void long_fix(long_number* n);
// 1 when n is zero (block 0 = 0 in a normalised number).
inline bool long_is_zero(const long_number* n) { return n->blocks[0] == 0 && n->blks <= 1; }

// ---------------------------------------------------------------- add, subtract, multiply

// c := a + b (a, b normalised, c a third record). 0, long_result (plain copy) or negative.
int long_add(const long_number* a, const long_number* b, long_number* c);
// c := a - b; b's sign is flipped for the call and restored.
int long_subtract(const long_number* a, long_number* b, long_number* c);
// c := a x b, truncated to the blocks the precision can use. 0 or negative
// (159, 151 when the exponent leaves the range, an interrupt code).
int long_multiply(const long_number* a, const long_number* b, long_number* c);

// ---------------------------------------------------------------- division (long_divide.cpp)

// How often the quotient-block estimate of the last division was one too
// high (and taken back) and one too low (a second subtraction), for DEBUG
// LONG. Kept in memory: counting in the division's loop in registers costs
// it several per cent.
extern std::int32_t long_div_high_guesses;
extern std::int32_t long_div_low_guesses;

// q := a / b (q cleared first). a is consumed; b is consumed in integer mode
// and kept (cut to p digits) in floating mode. Integer mode leaves the
// remainder in long_remainder. 0 or negative (166 for a zero b).
int long_divide(long_number* a, long_number* b, long_number* q);
// Floating mode: extends a to b.blks + k - 1 blocks, returns k = (p + 17) / 8.
int long_divide_prepare(long_number* a, const long_number* b, long_number* scratch);
// Integer mode: block-aligned dividend into dst; quotient block count or 0.
int long_divide_prepare_integer(const long_number* a, const long_number* b, long_number* dst,
                                std::int32_t* shift_out);
// Divides a's blocks by b's into qblocks quotient blocks; remainder left in a.
int long_divide_core(long_number* a, const long_number* b, long_number* q, std::int32_t qblocks);
// a MOD b into long_accumulator (a unchanged). 0 or negative.
int long_mod(const long_number* a, long_number* b);

// Block-array primitives (n base-10^8 blocks, block 0 most significant).
// The tracked forms keep `start`, the first block that may be nonzero, so
// that passes over a shrinking or growing value skip its zero blocks.
// blocks /= d, skipping (and moving start past) leading zero blocks; returns
// the remainder. d = 0 changes nothing and returns 0.
std::uint32_t long_blocks_div_small_tracked(std::uint32_t* blocks, std::uint32_t d, std::int32_t n,
                                            std::int32_t& start);
// blocks *= m from start (moved up one block first) downwards; start
// advances when its block is still 0.
void long_blocks_mul_small_tracked(std::uint32_t* blocks, std::uint32_t m, std::int32_t n,
                                   std::int32_t& start);
// The same; -1 when a carry is left over (overflow), else 0.
int long_blocks_mul_small_checked(std::uint32_t* blocks, std::uint32_t m, std::int32_t n,
                                  std::int32_t& start);
// a -= b over n blocks (a must not be smaller than b).
void long_blocks_sub(std::uint32_t* a, const std::uint32_t* b, std::int32_t n);

// ---------------------------------------------------------------- doubles (long_double.cpp)

// x into long_accumulator (24 significant digits, normalised). long_result,
// or -99 for an infinite or NaN x.
int long_from_double(double x);
// n into *out. long_double_result or negative (164 when too large; reported
// only when report is 1). n is cleared on the infinite and old-convert paths.
int long_to_double(long_number* n, int report, double* out);

// Binary helpers on little-endian arrays of n 32-bit words (word 0 least
// significant; at most 8 words for the two normalising products).
// w *= m, the carry out of the top word dropped.
void long_bin_mul_small(std::uint32_t* w, std::uint32_t m, int n);
// w := top n words of w x c; shifted left one bit (returning -1) when the top
// bit is then clear, else 0.
int long_bin_mul_small_norm(std::uint32_t* w, std::uint32_t c, int n);
// The same with an n-word factor f.
int long_bin_multiply_norm(std::uint32_t* w, const std::uint32_t* f, int n);
// w := floor(w x 2^32 / d) in n words, halving w first (returning 1) when its
// top word is at least d, else 0.
int long_bin_div_small_norm(std::uint32_t* w, std::uint32_t d, int n);
// w >>= s, 0 <= s <= 31.
void long_bin_shift_right(std::uint32_t* w, int s, int n);

// ---------------------------------------------------------------- text (long_text.cpp)

// Scans decimal text [*text_inout, end): blanks, a sign, digits with at most
// one point, an optional exponent (|e| <= 1,000,000). Outputs the decimal
// exponent (value = 0.d1d2... x 10^exp), the first and last significant digit
// and the point (pointers into the text, which is not changed), the sign (0 or
// -1), the implied zeros after the digits (integer mode) and the digit after
// the last one kept ('0' when none). The digits are cut to p outside integer
// mode (when more than p + 1), to the integer part in integer mode. Returns
// the digit count to read, or a negative code: 148 second point, 149 invalid
// character, 150 no digits, 151 exponent out of range; reported only when
// report is 1. *text_inout moves to the end of the text scanned.
int long_scan_number_text(const char** text_inout, const char* end, std::int32_t* exp_out,
                          const char** last_out, const char** first_out, const char** point_out,
                          std::int32_t* sign_out, std::int32_t* zeros_out, char* next_digit_out,
                          int report);
// Decimal text into dst at the working precision (literals of 17+ digits,
// strings). 0 or a negative scan / memory code (reported when report is 1).
int long_convert_text(const char* text, std::size_t length, long_number* dst, int report);
// n as decimal text into buffer (*size_inout bytes on entry; text length on
// return): ".5", ".005", "12.5", "1.", "1000.", "1.e+100", "1.5e-60" outside
// integer mode (scientific when exp > p or when a fraction's leading zeros
// would not fit within p digits), the integer part only ("0" when empty) in
// integer mode. 0, or -147 when the buffer is smaller than long_text_size(n).
int long_to_text(const long_number* n, char* buffer, std::int32_t* size_inout);
// Bytes long_to_text needs for n (text plus NUL), from the number itself.
std::int64_t long_text_size(const long_number* n);
// n as text in a new buffer (caller frees with std::free); n is cleared.
// Returns the text length, or negative with *text_out null.
std::int64_t long_to_text_alloc(long_number* n, char** text_out);
