// SORT: reorders the rows of an array (or of a sub-array picked by leading
// subscripts) by up to three key columns.
#pragma once
#include <cstdint>
#include <vector>

#include "interpreter/variables.h"

// State of the SORT being performed (read by sort_compare).
struct sort_state_record {
  std::uint32_t element_type = 2;     // 2, 3 or 14
  value_slot* rows = nullptr;         // first element of row 0
  std::uint32_t row_size = 1;         // elements per row
  std::int32_t key_offsets[3] = {0, -1, -1};  // element offset of each key in a row; -1 unused
  int case_sensitive = 0;
  int descending = 0;
  int stable = 1;
};
extern sort_state_record sort_state;

// SORT name [(subscripts)] [, option] ...; options count=n, keycol1=c,
// keycol2=c, keycol3=c, descending, case, unstable. Returns 0 or a negative
// reported code (93, 193, 251, 285, 314, 315, 316, 317). Every failure is
// found before any element moves.
int stmt_sort();

// Compares rows a and b (row numbers before the sort) by the keys in order,
// then, for a stable sort, by row number. Returns -1, 0 or 1, negated when
// descending. A NaN key sorts after every number whatever the direction.
int sort_compare(std::uint32_t row_a, std::uint32_t row_b);

// Sorts the first row_count rows described by sort_state in place. Returns 0,
// or -93 (reported) when the work space cannot be had.
int sort_rows(std::uint32_t row_count);
