// SORT: parses the statement, checks the array and its options, and reorders
// whole rows by sorting a permutation of row numbers.
#include "interpreter/sort.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <strings.h>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "rizozira/long_number.h"

sort_state_record sort_state;

namespace {

enum sort_option : int {
  SORT_OPT_COUNT = 0,
  SORT_OPT_KEYCOL1,
  SORT_OPT_KEYCOL2,
  SORT_OPT_KEYCOL3,
  SORT_OPT_DESCENDING,
  SORT_OPT_CASE,
  SORT_OPT_UNSTABLE,
};
// Option words; an option's code is its position.
constexpr const char* sort_option_words[] = {"count", "keycol1", "keycol2", "keycol3",
                                             "descending", "case", "unstable"};

int find_sort_option(const char* word) {
  for (int i = 0; i < static_cast<int>(std::size(sort_option_words)); ++i)
    if (strcasecmp(word, sort_option_words[i]) == 0) return i;
  return -1;
}

// A numeric option value as given (already truncated toward zero); given = 0
// when the option did not appear.
struct option_value {
  int given = 0;
  double value = 0;
  std::uint32_t column = 0;  // column of the value, for error 314
};

bool is_name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Where the value of an option ends when the next option follows after
// blanks only ("count=3 descending"): at the blanks before that option word.
// Otherwise line_end (a "," or the statement's end closes the expression).
const char* option_value_end() {
  int depth = 0;
  bool in_quotes = false;
  for (const char* p = scan_pointer; p < line_end && *p; ++p) {
    char c = *p;
    if (in_quotes) {
      if (c == '"') in_quotes = false;
      continue;
    }
    if (c == '"') {
      in_quotes = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0 && (c == ',' || c == ':')) {
      return line_end;
    } else if (depth == 0 && (c == ' ' || c == '\t')) {
      const char* word = p;
      while (word < line_end && (*word == ' ' || *word == '\t')) ++word;
      const char* word_end = word;
      while (word_end < line_end && is_name_char(*word_end)) ++word_end;
      bool plain_word = word_end > word && !(word_end < line_end && (*word_end == '$' || *word_end == '('));
      if (plain_word && find_sort_option(std::string(word, word_end).c_str()) >= 0) return p;
      p = word - 1;
    }
  }
  return line_end;
}

// Reads "= expression" of a numeric option. In skip mode the value is not
// converted. Returns 0 or a negative reported code.
int read_option_value(option_value& opt) {
  if (skip_blanks() != '=') return report_error_here(err_missing_sign);
  ++scan_pointer;
  skip_blanks();
  opt.column = scan_column();
  opt.given = 1;
  const char* whole_line_end = line_end;
  line_end = option_value_end();
  int type = evaluate_expression(2);
  line_end = whole_line_end;
  if (type < 0) return type;
  if (no_execute) return 0;
  error_column = static_cast<int>(opt.column);
  if (type == 0 || result_to_double(type, 0) != 2 || std::isnan(double_accumulator))
    return report_error(err_invalid_value_for_sort_parameter);
  opt.value = std::trunc(double_accumulator);
  return 0;
}

// Row-major stride of the dimensions from index `from` on.
std::size_t product_of_sizes(const array_entry& entry, std::uint32_t from) {
  std::size_t product = 1;
  for (std::uint32_t d = from; d < entry.dimension_count; ++d) product *= entry.dimension_sizes[d];
  return product;
}

// Index of the array whose name is exactly name (case counts here), or -1.
int find_array_exact(const char* name) {
  for (std::uint32_t i = 0; i < array_count; ++i)
    if (std::strcmp(array_name(array_table[i]), name) == 0) return static_cast<int>(i);
  return -1;
}

// Compares two doubles; a NaN comes after every number. nan_involved tells
// the caller not to turn the order around for descending.
int compare_doubles(double a, double b, bool& nan_involved) {
  bool a_nan = std::isnan(a), b_nan = std::isnan(b);
  if (a_nan || b_nan) {
    nan_involved = true;
    return a_nan == b_nan ? 0 : (a_nan ? 1 : -1);
  }
  return a < b ? -1 : (a > b ? 1 : 0);
}

int compare_keys(const value_slot& a, const value_slot& b, bool& nan_involved) {
  switch (sort_state.element_type) {
    case 2:
      return compare_doubles(a.number, b.number, nan_involved);
    case 3: {
      const char* ta = string_space_text(a.string_offset);
      const char* tb = string_space_text(b.string_offset);
      int r = sort_state.case_sensitive ? std::strcmp(ta, tb) : strcasecmp(ta, tb);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    default: {
      // An unassigned element counts as zero: long_accumulator holds zero
      // while the sort runs.
      const long_number* la = a.long_value ? a.long_value : long_accumulator;
      const long_number* lb = b.long_value ? b.long_value : long_accumulator;
      int r = long_compare(la, lb);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
  }
}

}  // namespace

int sort_compare(std::uint32_t row_a, std::uint32_t row_b) {
  const value_slot* a = sort_state.rows + static_cast<std::size_t>(row_a) * sort_state.row_size;
  const value_slot* b = sort_state.rows + static_cast<std::size_t>(row_b) * sort_state.row_size;
  for (std::int32_t offset : sort_state.key_offsets) {
    if (offset < 0) continue;
    bool nan_involved = false;
    int r = compare_keys(a[offset], b[offset], nan_involved);
    if (r != 0) return (sort_state.descending && !nan_involved) ? -r : r;
  }
  if (!sort_state.stable || row_a == row_b) return 0;
  int r = row_a < row_b ? -1 : 1;
  return sort_state.descending ? -r : r;
}

int sort_rows(std::uint32_t row_count) {
  // One word per row (the order) and one row of scratch space: the rows are
  // then put in place by following the cycles of the permutation.
  std::vector<std::uint32_t> order;
  std::vector<value_slot> held;
  std::size_t row_size = sort_state.row_size;
  try {
    order.resize(row_count);
    held.resize(row_size);
  } catch (const std::bad_alloc&) {
    return report_error(err_unable_to_allocate_array_storage);
  } catch (const std::length_error&) {
    return report_error(err_unable_to_allocate_array_storage);
  }
  for (std::uint32_t i = 0; i < row_count; ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [](std::uint32_t a, std::uint32_t b) { return sort_compare(a, b) < 0; });
  // order[j] names the row that belongs at j; a row put in place is marked
  // by order[j] = j.
  value_slot* rows = sort_state.rows;
  auto row = [&](std::uint32_t index) { return rows + static_cast<std::size_t>(index) * row_size; };
  for (std::uint32_t i = 0; i < row_count; ++i) {
    if (order[i] == i) continue;
    std::copy_n(row(i), row_size, held.begin());
    std::uint32_t j = i;
    for (;;) {
      std::uint32_t from = order[j];
      order[j] = j;
      if (from == i) {
        std::copy_n(held.begin(), row_size, row(j));
        break;
      }
      std::copy_n(row(from), row_size, row(j));
      j = from;
    }
  }
  return 0;
}

int stmt_sort() {
  // 1. The array name, compared exactly.
  expr_item item;
  skip_blanks();
  std::uint32_t name_column = scan_column();
  int r = get_item(item, GI_NAME_ONLY);
  if (r < 0) return r;
  std::string name(string_accumulator, std::strlen(string_accumulator));
  int array_index = -1;
  if (!no_execute && !prescan_mode) {
    array_index = name.empty() ? -1 : find_array_exact(name.c_str());
    if (array_index < 0) {
      return report_error_at(name_column, err_expecting_array);
    }
  }

  // 2. Leading subscripts.
  expr_item subscripts[max_parameters > max_array_dimensions ? max_parameters : max_array_dimensions];
  int subscript_count = 0;
  if (skip_blanks() == '(') {
    std::uint32_t list_column = scan_column();
    r = get_parameter_list(&subscript_count, subscripts);
    if (r < 0) return r;
    if (subscript_count == 0) {
      return report_error_at(list_column, err_missing_parameter_list_for_function);
    }
  }

  // 3. Options.
  option_value count, keycol[3];
  int descending = 0, case_sensitive = 0, stable = 1;
  for (;;) {
    char c = skip_blanks();
    if (c == 0 || c == ':') break;
    if (c == ',') {
      ++scan_pointer;
      continue;
    }
    std::uint32_t word_column = scan_column();
    r = get_item(item, GI_NAME_ONLY);
    if (r < 0) return r;
    int option = (r == 0 && string_accumulator[0]) ? find_sort_option(string_accumulator) : -1;
    if (option < 0) {
      return report_error_at(word_column, err_invalid_sort_parameter);
    }
    switch (option) {
      case SORT_OPT_COUNT: r = read_option_value(count); break;
      case SORT_OPT_KEYCOL1: r = read_option_value(keycol[0]); break;
      case SORT_OPT_KEYCOL2: r = read_option_value(keycol[1]); break;
      case SORT_OPT_KEYCOL3: r = read_option_value(keycol[2]); break;
      case SORT_OPT_DESCENDING: descending = 1; break;
      case SORT_OPT_CASE: case_sensitive = 1; break;
      default: stable = 0; break;
    }
    if (r < 0) return r;
  }

  // 4. Skip mode and the pre-scan only parse.
  if (no_execute || prescan_mode) return 0;

  // 5. The sub-array's first element.
  array_entry& entry = array_table[array_index];
  int n = static_cast<int>(entry.dimension_count);
  if (subscript_count > n - 1) {
    return report_error_at(subscripts[subscript_count - 1].column, err_too_many_indices);
  }
  for (int i = subscript_count; i < n; ++i) {
    subscripts[i] = expr_item{};
    subscripts[i].type = ITEM_DOUBLE;
    subscripts[i].value.number = 0;
    subscripts[i].column = subscript_count > 0 ? subscripts[subscript_count - 1].column : name_column;
  }
  value_slot* first = nullptr;
  r = get_array_element_address(array_index, &first, n, subscripts);
  if (r < 0) return r;

  // 6. Rows.
  std::uint32_t k = static_cast<std::uint32_t>(subscript_count);
  std::uint32_t m = entry.dimension_count - k;
  double rows = entry.dimension_sizes[k];
  if (count.given && count.value != 0 && count.value < rows) rows = count.value;
  if (rows < 2) {
    return report_error_at(count.given ? count.column : name_column, err_have_at_least_2_rows);
  }

  // 7. Row size and key columns.
  sort_state = sort_state_record{};
  sort_state.element_type = entry.type;
  sort_state.rows = first;
  sort_state.row_size = static_cast<std::uint32_t>(product_of_sizes(entry, k + 1));
  sort_state.case_sensitive = case_sensitive;
  sort_state.descending = descending;
  sort_state.stable = stable;
  sort_state.key_offsets[0] = 0;
  if (m >= 2) {
    double last_column = entry.dimension_sizes[k + 1] - 1.0;
    std::size_t column_stride = product_of_sizes(entry, k + 2);
    for (int key = 0; key < 3; ++key) {
      if (!keycol[key].given) continue;
      if (keycol[key].value < 0 || keycol[key].value > last_column) {
        return report_error_at(keycol[key].column, err_invalid_value_for_sort_parameter);
      }
      sort_state.key_offsets[key] =
          static_cast<std::int32_t>(static_cast<std::size_t>(keycol[key].value) * column_stride);
    }
  }
  if (keycol[2].given && !keycol[1].given) {
    return report_error_at(keycol[2].column, err_invalid_sort_parameter);
  }
  if (m < 2) {
    // One element per row: the key is the element itself.
    sort_state.key_offsets[1] = -1;
    sort_state.key_offsets[2] = -1;
  }

  // 9. Unassigned long elements compare as zero.
  if (entry.type == 14) long_set_zero(long_accumulator);

  // 10. Sort.
  return sort_rows(static_cast<std::uint32_t>(rows));
}
