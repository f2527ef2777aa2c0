// The interpreter's side of the long numbers: the host the kernels call
// (errors, DEBUG output, the interrupt poll, timers, tuning variables, degrees
// mode) and the bridges between long numbers and expression items, variables
// and accumulators.
#include "interpreter/long_bridge.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "interpreter/assignment.h"
#include "interpreter/errors.h"
#include "interpreter/functions.h"
#include "interpreter/named_vars.h"
#include "interpreter/output.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"

// The kernels' success codes are the item types they stand for.
static_assert(long_result == ITEM_LONG && long_text_result == ITEM_STRING &&
              long_double_result == ITEM_DOUBLE);
static_assert(string_accumulator_size > static_cast<std::size_t>(long_hex_result_max));

// ---------------------------------------------------------------- the kernels' host

int long_host_report_error(int code) { return report_error(code); }

void long_host_print(std::string_view text) { print_text(text); }

int long_host_poll_interrupt() { return poll_user_interrupt(); }

void long_host_timer_read(std::int64_t& stamp) { timer_read(stamp); }

std::int32_t long_host_timer_elapsed_us(std::int64_t stamp) { return timer_elapsed_us(stamp); }

void long_host_print_timing(const char* label, std::int32_t microseconds) {
  print_timing(label, microseconds);
}

int long_host_get_tuning(const char* name, std::int32_t* value) { return get_named_var_int(name, value); }

void long_host_set_tuning(const char* name, std::int32_t value) { set_named_var_int(name, value); }

int long_host_degrees_mode() { return degrees_mode != 0 ? 1 : 0; }

// ---------------------------------------------------------------- operands

int long_operand_text(expr_item* item, char** alloc_out, const char** text_out) {
  *alloc_out = nullptr;
  *text_out = "";
  switch (item->type) {
    case ITEM_NUMERIC_TEXT:
      item->type = ITEM_STRING;
      [[fallthrough]];
    case ITEM_STRING:
      *text_out = temp_string_text(static_cast<std::uint32_t>(item->value.bits));
      return 0;
    case ITEM_STRING_ARRAY: {
      const array_entry* array = item->array;
      if (array == nullptr || array->dimension_count != 1) {
        error_column = static_cast<int>(item->column);
        return long_host_report_error(176);
      }
      std::uint32_t count = array->dimension_sizes[0];
      while (count > 1 && string_space_text(array->data[count - 1].string_offset)[0] == '\0') --count;
      if (count == 0) count = 1;
      std::size_t bytes = static_cast<std::size_t>(max_string_length) * count + 1;
      char* joined = static_cast<char*>(std::malloc(bytes));
      if (joined == nullptr) return long_host_report_error(159);
      std::size_t used = 0;
      for (std::uint32_t i = 0; i < count && i < array->dimension_sizes[0]; ++i) {
        const char* piece = string_space_text(array->data[i].string_offset);
        std::size_t n = std::strlen(piece);
        if (n > max_string_length) n = max_string_length;  // an element holds at most 255
        std::memcpy(joined + used, piece, n);
        used += n;
      }
      joined[used] = '\0';
      *alloc_out = joined;
      *text_out = joined;
      return 0;
    }
    default:
      error_column = static_cast<int>(item->column);
      return long_host_report_error(160);
  }
}

int long_convert_in(expr_item* item, long_number* dst, int report) {
  error_column = static_cast<int>(item->column);
  if (item->type == ITEM_LONG) return long_move(item->value.long_value, dst);
  if (item->type == ITEM_DOUBLE) {
    int r = long_from_double(item->value.number);
    if (r < 0) return r;
    return dst == long_accumulator ? long_result : long_move(long_accumulator, dst);
  }
  char* joined = nullptr;
  const char* text = nullptr;
  int r = long_operand_text(item, &joined, &text);
  if (r < 0) return r;
  r = long_convert_text(text, std::strlen(text), dst, report);
  std::free(joined);
  return r < 0 ? r : 0;
}

int long_from_work_string(int report) {
  std::int32_t length = string_accumulator_length;
  if (length < 0) length = 0;
  if (static_cast<std::size_t>(length) >= string_accumulator_size) length = string_accumulator_size - 1;
  int r = long_convert_text(string_accumulator, static_cast<std::size_t>(length), long_accumulator, report);
  return r < 0 ? r : long_result;
}

int long_to_double(long_number* n, int report) { return long_to_double(n, report, &double_accumulator); }

// ---------------------------------------------------------------- results

int long_store_text(expr_item* destination, const char* text, int length, int mode) {
  if (no_execute) return 0;
  if (length < 0) length = 0;
  switch (destination->type) {
    case ITEM_STRING: {
      if (length > static_cast<int>(max_string_length)) return long_host_report_error(157);
      if (current_value_slot == nullptr) {
        error_column = static_cast<int>(destination->column);
        return long_host_report_error(155);
      }
      std::memcpy(string_accumulator, text, static_cast<std::size_t>(length));
      string_accumulator[length] = '\0';
      string_accumulator_length = length;
      return assign_string_variable(current_value_slot, mode);
    }
    case ITEM_FIELD: {
      if (length > static_cast<int>(max_string_length)) return long_host_report_error(157);
      std::memcpy(string_accumulator, text, static_cast<std::size_t>(length));
      string_accumulator[length] = '\0';
      string_accumulator_length = length;
      int r = assign_field_variable(mode);  // the FIELD target the caller's scan left
      return r < 0 ? r : 3;
    }
    case ITEM_STRING_ARRAY: {
      const array_entry* array = destination->array;
      if (array == nullptr || array->dimension_count != 1) {
        error_column = static_cast<int>(destination->column);
        return long_host_report_error(176);
      }
      const std::int64_t elements = array->dimension_sizes[0];
      if (static_cast<std::int64_t>(max_string_length) * elements < static_cast<std::int64_t>(length) + 1) {
        return long_host_report_error(158);
      }
      if (length > static_cast<int>(max_string_length) && mode != 0) return long_host_report_error(157);
      int first_error = 0;
      std::int64_t offset = 0;
      for (std::int64_t i = 0; i < elements; ++i) {
        std::int64_t piece = length - offset;
        if (piece > static_cast<std::int64_t>(max_string_length)) piece = max_string_length;
        if (piece < 0) piece = 0;
        std::memcpy(string_accumulator, text + offset, static_cast<std::size_t>(piece));
        string_accumulator[piece] = '\0';
        string_accumulator_length = static_cast<std::int32_t>(piece);
        bool last_piece = piece > 0 && offset + piece >= length;
        int r = assign_string_variable(&array->data[i], last_piece ? mode : 0);
        if (r < 0 && first_error == 0) first_error = r;
        offset += piece;
      }
      return first_error;
    }
    default:
      error_column = static_cast<int>(destination->column);
      return long_host_report_error(155);
  }
}

// ---------------------------------------------------------------- HEXCONVERT

int long_from_hex(expr_item* item, long_number* dst) {
  char* joined = nullptr;
  const char* text = nullptr;
  int rc = long_operand_text(item, &joined, &text);
  if (rc < 0) return rc;
  rc = long_from_hex_text(text, text != nullptr ? static_cast<std::int64_t>(std::strlen(text)) : 0, dst);
  std::free(joined);
  return rc;
}

int long_func_hexconvert_number(long_number* x) {
  std::int32_t length = 0;
  int rc = long_hexconvert_number(x, string_accumulator, &length);
  if (rc < 0) return rc;
  string_accumulator_length = length;
  return rc;
}

int long_func_hexconvert_text(expr_item* item) {
  int rc = long_from_hex(item, long_accumulator);
  return rc < 0 ? rc : long_result;
}
