// Assignment: do_assignment for every target kind, the special right sides of
// whole-array targets, FIELD variables, LSET, RSET and the MID$ statement.
#include "interpreter/assignment.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "interpreter/assignment.h"
#include "interpreter/conversions.h"
#include "interpreter/datetime.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/long_bridge.h"
#include "interpreter/memo.h"
#include "interpreter/output.h"
#include "interpreter/pending.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "rizozira/long_functions.h"
#include "rizozira/long_number.h"

namespace {

// The target as get_item left it, saved before the right side is scanned.
struct assignment_target {
  int type;
  expr_item* item;
  value_slot* slot;
  std::uint32_t field_start, field_width;
  int field_file;
  int is_parameter;
  std::string name;
  // Where a value that cannot be stored is shown: the column the evaluation
  // of the right side leaves, that of its first item.
  int value_column;
};

int target_error(const assignment_target& t, int code) {
  return report_error_at(t.item->column, code);
}

int value_error(const assignment_target& t, int code) {
  return report_error_at(t.value_column, code);
}

// The word at scan_pointer when it is followed (after blanks) by "(".
bool word_before_paren(const char* word) {
  const char* p = blanks_passed(scan_pointer);
  // (The words are letters: most right sides differ at the first.)
  if (p >= line_end || (*p | 0x20) != (*word | 0x20)) return false;
  std::size_t n = std::strlen(word);
  if (static_cast<std::size_t>(line_end - p) < n || strncasecmp(p, word, n) != 0) return false;
  p += n;
  p = blanks_passed(p);
  return p < line_end && *p == '(';
}

void skip_word(const char* word) {
  skip_blanks();
  scan_pointer += std::strlen(word);
}

// A whole numeric target array that must be one-dimensional with `needed`
// elements (exactly, or at least).
int check_target_array(const assignment_target& t, std::uint32_t needed, bool exactly) {
  const array_entry* a = t.item->array;
  if (!a || a->dimension_count != 1) return target_error(t, 176);
  std::uint32_t size = a->dimension_sizes[0];
  if (exactly ? size != needed : size < needed) return target_error(t, 286);
  return 0;
}

int assign_expanddatetime(const assignment_target& t) {
  skip_word("expanddatetime");
  expr_item list[max_parameters];
  int count = 0;
  int r = get_parameter_list(&count, list);
  if (r < 0) return r;
  if (count > 1) {
    return report_error_at(list[0].column, err_incorrect_number_parameters);
  }
  double value = 0.0;
  if (count == 1) {
    if ((r = item_to_double(list[0])) < 0) return r;
    value = list[0].value.number;
  }
  if (no_execute) return 0;
  double fields[9] = {};
  if ((r = datetime_expand_array(count, value, fields)) < 0) return r;
  if ((r = check_target_array(t, 9, true)) < 0) return r;
  for (int i = 0; i < 9; ++i) t.item->array->data[i].number = fields[i];
  return 0;
}

int assign_dim_sizes(const assignment_target& t) {
  skip_word("dim");
  if (skip_blanks() != '(') return report_error_here(err_missing_parameter_list_for_function);
  ++scan_pointer;
  expr_item name_item{};
  int r = get_item(name_item, GI_NAME_ONLY);
  if (r < 0) return r;
  std::string name(string_accumulator);
  if (skip_blanks() != ')') return report_error_here(err_missing_right_parenthesis);
  ++scan_pointer;
  int index = find_array(name);
  if (index < 0 && find_variable(name) >= 0) {
    return report_error_at(name_item.column, err_invalid_parameter);
  }
  if (no_execute) return 0;
  if ((r = check_target_array(t, 6, false)) < 0) return r;
  for (std::uint32_t i = 0; i < 6; ++i) {
    double size = 0.0;
    if (index >= 0 && i < array_table[index].dimension_count) size = array_table[index].dimension_sizes[i];
    t.item->array->data[i].number = size;
  }
  return 0;
}

int assign_hexconvert(const assignment_target& t, int mode) {
  skip_word("hexconvert");
  expr_item list[max_parameters];
  int count = 0;
  int r = get_parameter_list(&count, list);
  if (r < 0) return r;
  if (count != 1) {
    if (count > 0) error_column = static_cast<int>(list[0].column);
    return report_error(err_incorrect_number_parameters);
  }
  if ((r = item_to_long(list[0])) < 0) return r;
  if (no_execute) return 0;
  const long_number* n = list[0].value.long_value;
  if (!n) return target_error(t, 108);
  std::int64_t size = static_cast<std::int64_t>(n->exp) + 3;
  if (!integer_mode && size < static_cast<std::int64_t>(long_precision) + 4) size = long_precision + 4;
  if (size < 8) size = 8;
  if (size > 0x7FFFFFFF) return target_error(t, 159);
  char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
  if (!text) return target_error(t, 159);
  std::int32_t length = static_cast<std::int32_t>(size);
  std::int32_t integer_length = 0;
  r = long_to_hex(n, text, &length, &integer_length);
  if (r >= 0) r = long_store_text(t.item, text, length, mode);
  std::free(text);
  return r < 0 ? r : 0;
}

// The decimal text of long_accumulator in a new buffer (caller frees).
int long_result_text(char** text, std::int32_t* length) {
  std::int64_t size = long_text_size(long_accumulator);
  if (size < 16) size = 16;
  if (size > 0x7FFFFFFF) return report_error(err_rizozira_memory_allocation_failed);
  *text = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
  if (!*text) return report_error(err_rizozira_memory_allocation_failed);
  *length = static_cast<std::int32_t>(size);
  int r = long_to_text(long_accumulator, *text, length);
  if (r < 0) {
    std::free(*text);
    *text = nullptr;
  }
  return r;
}

// Stores string_accumulator into a string or FIELD target.
int store_text(const assignment_target& t, int mode) {
  if (t.type == ITEM_FIELD) {
    current_value_slot = t.slot;
    field_target_start = t.field_start;
    field_target_width = t.field_width;
    field_target_file = t.field_file;
    return assign_field_variable(mode);
  }
  if (!t.slot) return target_error(t, 47);
  return assign_string_variable(t.slot, mode);
}

void print_answer_double(double value) {
  char line[96];
  std::snprintf(line, sizeof line, "\nAnswer     %23.18g  ************\n", value);
  print_text(line);
}

void debug_result_lines(const assignment_target& t) {
  if (!debug_mode && !step_mode && !trace_mode) return;
  if (debug_mode) print_text("\n");
  std::string line;
  if (t.type == ITEM_DOUBLE && t.slot) {
    char number[40];
    std::snprintf(number, sizeof number, "%23.18g", t.slot->number);
    line = "Result: " + t.name + " = " + number + "  ************\n";
  } else if (t.type == ITEM_STRING && t.slot) {
    line = "\nResult: " + t.name + " = " + string_space_text(t.slot->string_offset) + "  ************\n";
  } else if (t.type == ITEM_LONG) {
    line = "\nResult: " + t.name + " = (long number)  ************\n";
  }
  print_text(line);
  if (t.type == ITEM_LONG && t.slot && t.slot->long_value) long_debug_dump("asgn", t.slot->long_value, 1);
}

[[gnu::always_inline]] inline int store_result(const assignment_target& t, int r, int mode) {
  switch (t.type) {
    case ITEM_LONG: {
      if (r == ITEM_STRING) return value_error(t, 108);
      int c = result_to_long(r, 1);
      if (c < 0) return c;
      if (!t.slot) return target_error(t, 47);
      c = assign_long_variable(t.slot);
      return c < 0 ? c : 0;
    }
    case ITEM_DOUBLE: {
      if (result_to_double(r, 0) < 0) return value_error(t, 108);
      if (!t.slot) return target_error(t, 47);
      t.slot->number = double_accumulator;
      return 0;
    }
    case ITEM_STRING:
    case ITEM_FIELD: {
      if (r == ITEM_STRING || r == ITEM_NUMERIC_TEXT) {
        int c = store_text(t, mode);
        return c < 0 ? c : 0;
      }
      if (r == ITEM_LONG) {
        char* text = nullptr;
        std::int32_t length = 0;
        int c = long_result_text(&text, &length);
        if (c < 0) return c;
        if (length > static_cast<std::int32_t>(max_string_length)) {
          std::free(text);
          return value_error(t, 157);
        }
        std::memcpy(string_accumulator, text, static_cast<std::size_t>(length));
        string_accumulator[length] = '\0';
        string_accumulator_length = length;
        std::free(text);
        c = store_text(t, mode);
        return c < 0 ? c : 0;
      }
      // (A whole array has no value to show.)
      if (r == ITEM_DOUBLE) print_answer_double(double_accumulator);
      return value_error(t, 108);
    }
    case ITEM_STRING_ARRAY: {
      if (r != ITEM_LONG) return value_error(t, 108);
      char* text = nullptr;
      std::int32_t length = 0;
      int c = long_result_text(&text, &length);
      if (c < 0) return c;
      c = long_store_text(t.item, text, length, mode);
      std::free(text);
      return c < 0 ? c : 0;
    }
    default: {  // whole numeric array: only the two special forms store into it
      if (r == ITEM_DOUBLE) {
        print_answer_double(double_accumulator);
      } else if (r == ITEM_STRING || r == ITEM_NUMERIC_TEXT) {
        std::string line = "\nAnswer     ";
        line += string_accumulator;
        line += "  ************\n";
        print_text(line);
      } else if (r == ITEM_LONG) {
        print_text("\nAnswer if a long number**************\n");
      }
      return value_error(t, 108);
    }
  }
}

// An array element named as the target, as it was before the right side ran.
// A user function called by the right side may ERASE or DIM arrays, which
// frees or moves element blocks; the element is then found again by its
// array's name and subscripts, so the value is never written into a block
// that has gone. Taking it costs a copy of the array's entry: this runs on
// every element assignment, and the rest waits until the stamp has moved.
// (ERASE moves table entries but never array names, so the name's offset
// still holds afterwards.)
struct element_target {
  bool active = false;
  array_entry shape;  // the array's entry before: name, type, sizes, block
  value_slot* slot;
  memo_stamp stamp;
};

element_target remember_element_target(const expr_item& target, value_slot* slot) {
  element_target e{};
  if (!target.array || !slot || target.array < array_table || target.array >= array_table + array_count) return e;
  e.active = true;
  e.shape = *target.array;
  e.slot = slot;
  e.stamp = memo.stamp;
  return e;
}

// The element's slot in the array of that name as it stands now, or an error
// (reported at the target) when the array is gone or no longer has it.
int find_element_again(const element_target& e, assignment_target& t) {
  if (!e.active || memo.stamp == e.stamp) return 0;
  const array_entry& was = e.shape;
  if (!was.data || e.slot < was.data || e.slot >= was.data + array_element_count(was)) return 0;
  if (was.name_offset >= array_names_used) return target_error(t, err_subscript_out_range_or_invalid);
  int found = find_array(array_names + was.name_offset);
  if (found < 0) return target_error(t, err_subscript_out_range_or_invalid);
  const array_entry& now = array_table[found];
  if (!now.data || now.type != was.type || now.dimension_count != was.dimension_count)
    return target_error(t, err_subscript_out_range_or_invalid);
  // The subscripts from the old shape, placed in the new one.
  std::size_t rest = static_cast<std::size_t>(e.slot - was.data), index = 0, stride = 1;
  for (int k = static_cast<int>(was.dimension_count) - 1; k >= 0; --k) {
    std::size_t old_size = was.dimension_sizes[k];
    std::size_t subscript = old_size ? rest % old_size : 0;
    rest = old_size ? rest / old_size : 0;
    if (subscript >= now.dimension_sizes[k]) return target_error(t, err_subscript_out_range_or_invalid);
    index += subscript * stride;
    stride *= now.dimension_sizes[k];
  }
  t.slot = now.data + index;
  current_value_slot = t.slot;
  return 0;
}

}  // namespace

int do_assignment(int target_type, expr_item& target, int mode) {
  assignment_target t{target_type, &target,           current_value_slot, field_target_start,
                      field_target_width, field_target_file, item_is_parameter, std::string(), 0};
  // The target's name, for the result line DEBUG, TRACE or stepping show
  // (made into a string only then).
  char target_name[current_name_size];
  std::memcpy(target_name, current_name, sizeof target_name);
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  t.value_column = error_column;
  math_error_flag = 0;
  if (debug_mode) {
    if (target_type == ITEM_DOUBLE) print_text("Item type is Double\n");
    if (target_type == ITEM_STRING) print_text("Item type is String\n");
    if (target_type == ITEM_LONG) print_text("Item type is Rizozira\n");
  }
  if (scan_pointer >= line_end || *scan_pointer != '=') return report_error_here(err_expect_equal_sign);
  ++scan_pointer;
  expression_depth = 0;

  if (target_type == ITEM_NUMERIC_ARRAY && word_before_paren("expanddatetime")) return assign_expanddatetime(t);
  // While skipping, a whole array looks like a plain variable: the DIM form is
  // still parsed as such so that the pre-scan accepts it.
  if ((target_type == ITEM_NUMERIC_ARRAY || no_execute) && word_before_paren("dim")) return assign_dim_sizes(t);
  if (target_type == ITEM_STRING_ARRAY && word_before_paren("hexconvert")) return assign_hexconvert(t, mode);

  element_target element = no_execute ? element_target{} : remember_element_target(target, t.slot);
  int r = evaluate_expression_release_temps(0);
  if (r < 0) return report_error(err_return_evaluate_expression);
  if (no_execute) return 0;
  if (r == 0) return report_error(err_invalid_expression);
  t.value_column = error_column;
  if (int moved = find_element_again(element, t); moved < 0) return moved;
  if (t.is_parameter) {
    return report_error_at(0, err_assign_value_to_argument);
  }
  if (target_type == ITEM_DOUBLE && r == ITEM_NUMERIC_TEXT && small_literal_result()) r = ITEM_DOUBLE;
  int s = store_result(t, r, mode);
  if (s < 0) return s;
  if (debug_mode || step_mode || trace_mode) {
    // An element at a statement start is read without its name (see
    // process_statement): the name it had is made from where it was.
    target_name[sizeof target_name - 1] = '\0';
    t.name = element.active ? element_name_of(element.shape, element.slot) : std::string(target_name);
    debug_result_lines(t);
  }
  return 0;
}

namespace {

template <int type>
int assign_simple_variable(expr_item& target) {
  // The steps of do_assignment for a simple double or string variable that
  // is no parameter, the "=" standing next: the name's text is kept only for
  // the result line DEBUG, TRACE or stepping show (a call in the right side
  // may switch them on).
  if (no_execute) {
    // Passed over, "name = DIM(...)" is read in its own form.
    const char* const at = scan_pointer;
    skip_blanks();
    ++scan_pointer;
    const bool dim_form = word_before_paren("dim");
    scan_pointer = at;
    if (dim_form) return do_assignment(type, target, 0);
  }
  value_slot* const slot = current_value_slot;
  const char* const name_at = statement_start + target.column;
  const std::size_t name_length = static_cast<std::size_t>(scan_pointer - name_at);
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  math_error_flag = 0;
  ++scan_pointer;
  expression_depth = 0;
  int r = evaluate_expression_release_temps(0);
  if (r < 0) return report_error(err_return_evaluate_expression);
  if (no_execute) return 0;
  if (r == 0) return report_error(err_invalid_expression);
  const int value_column = error_column;
  auto whole_target = [&]() {
    return assignment_target{type, &target, slot, field_target_start, field_target_width, field_target_file, 0,
                             std::string(name_at, name_length), value_column};
  };
  if constexpr (type == ITEM_DOUBLE) {
    if (!(r == ITEM_NUMERIC_TEXT && small_literal_result()) && result_to_double(r, 0) < 0)
      return report_error_at(value_column, 108);
    slot->number = double_accumulator;
  } else {
    if (r == ITEM_STRING || r == ITEM_NUMERIC_TEXT) {
      if (int stored = assign_string_variable(slot, 0); stored < 0) return stored;
    } else if (int stored = store_result(whole_target(), r, 0); stored < 0) {
      return stored;
    }
  }
  if (debug_mode || step_mode || trace_mode) debug_result_lines(whole_target());
  return 0;
}

}  // namespace

int assign_double_variable(expr_item& target) { return assign_simple_variable<ITEM_DOUBLE>(target); }

int assign_string_variable_target(expr_item& target) { return assign_simple_variable<ITEM_STRING>(target); }

int assign_field_variable(int mode) {
  std::uint32_t start = field_target_start;
  std::uint32_t width = field_target_width;
  if (width > max_string_length || start > 0xFFFF) return report_error(err_attempt_to_read_write_beyond);
  char* field = nullptr;
  if (field_target_file == -1) {
    value_slot* slot = current_value_slot;
    if (!slot) return report_error(err_invalid_statement);
    std::uint32_t end = start + width;
    std::size_t current = std::strlen(string_space_text(slot->string_offset));
    if (current < end) {
      // The variable grows to reach the field: a new copy at the end of string space.
      if (static_cast<std::uint64_t>(string_space_used) + end + 1 > string_space_size) {
        int h = houseclean();
        if (h < 0) return h;
        if (static_cast<std::uint64_t>(string_space_used) + end + 1 > string_space_size) return report_error(err_no_more_string_space);
      }
      const char* old = string_space_text(slot->string_offset);  // after any compaction
      current = std::strlen(old);
      char* fresh = string_space + string_space_used;
      std::memmove(fresh, old, current);
      std::memset(fresh + current, ' ', end - current);
      fresh[end] = '\0';
      slot->string_offset = string_space_used;
      string_space_used += end + 1;
    }
    field = string_space + slot->string_offset + start;
  } else {
    int f = field_target_file;
    if (!channel_in_range(f) || !file_table[f].line_buffer ||
        static_cast<std::uint64_t>(start) + width > file_table[f].line_buffer_size)
      return report_error(err_attempt_to_read_write_beyond);
    field = file_table[f].line_buffer + start;
  }
  std::size_t length = std::strlen(string_accumulator);
  if (mode == 2 && length < width) {
    std::memset(field, ' ', width - length);
    std::memcpy(field + (width - length), string_accumulator, length);
  } else {
    std::size_t take = length < width ? length : width;
    std::memcpy(field, string_accumulator, take);
    std::memset(field + take, ' ', width - take);
  }
  return 0;
}

namespace {

int lset_rset(int mode) {
  expr_item target{};
  int r = get_item(target, GI_STATEMENT_START);
  if (r < 0) return report_error(err_return_get_item);
  if (!no_execute && !prescan_mode && r != ITEM_STRING && r != ITEM_FIELD) {
    return report_error_at(target.column, err_string_variable);
  }
  if (peek_nonblank() != '=') return report_error_here(err_expect_equal_sign);
  return do_assignment(r, target, mode);
}

}  // namespace

int stmt_lset() { return lset_rset(1); }
int stmt_rset() { return lset_rset(2); }

int stmt_mid() {
  if (skip_blanks() != '(') return report_error_here(err_mid_requires_parameters);
  ++scan_pointer;
  expr_item target{};
  int r = get_item(target, GI_STATEMENT_START | GI_LIST | GI_IN_PARENS);
  if (r < 0) return report_error(err_return_get_item);
  error_column = static_cast<int>(target.column);
  bool skipping = no_execute || prescan_mode;
  // While skipping, an array element reads as a double 0: any target passes then.
  if (r != ITEM_STRING && !skipping) return report_error(err_mid_first_parm_string_var);
  int is_parameter = item_is_parameter;
  value_slot* slot = current_value_slot;
  std::uint32_t target_column = target.column;

  char c = skip_blanks();
  if (c == ')') return report_error_here(err_mid_not_enough_parameters);
  if (c != ',') return report_error_here(err_missing_comma);
  ++scan_pointer;

  r = evaluate_expression_release_temps(3);
  if (r < 0) return report_error(err_return_evaluate_expression);
  if (result_to_double(r, 1) < 0) return report_error(err_mid_2nd_3rd_parms_numbers);
  double start = std::trunc(double_accumulator);  // p = trunc(start) - 1
  if (!(start >= 1.0) && !skipping) return report_error(err_mid_invalid_start_position);
  bool has_length = scan_pointer > line_start && scan_pointer[-1] == ',';
  double length = 256.0;
  if (has_length) {
    r = evaluate_expression_release_temps(3);
    if (r < 0) return report_error(err_return_evaluate_expression);
    if (result_to_double(r, 1) < 0) return report_error(err_mid_2nd_3rd_parms_numbers);
    length = std::trunc(double_accumulator);
    if (!(length >= 1.0) && !skipping) return report_error(err_mid_invalid_length);
    if (!(scan_pointer > line_start && scan_pointer[-1] == ')')) return report_error_here(err_too_many_parameters);
  }
  if (skip_blanks() != '=') return report_error_here(err_mid_expect_sign_after_parms);
  ++scan_pointer;
  r = evaluate_expression_release_temps(0);
  if (r < 0) return report_error(err_return_evaluate_expression);
  if (no_execute) return 0;
  if (r != ITEM_STRING) return report_error(err_invalid_type_expecting_string);
  // A function parameter lives in temporary space: it is never a target.
  if (is_parameter) {
    return report_error_at(target_column, err_assign_value_to_argument);
  }
  if (!slot || slot->string_offset == 0) return 0;

  char* text = string_space + slot->string_offset;
  std::size_t text_length = std::strlen(text);
  // start >= 1 and length >= 1 here; both are bounded before any cast.
  if (start > static_cast<double>(text_length)) return 0;
  std::size_t p = static_cast<std::size_t>(start) - 1;
  std::size_t k = std::strlen(string_accumulator);
  if (length < static_cast<double>(k)) k = static_cast<std::size_t>(length);
  if (p + k > text_length) k = text_length - p;
  std::memcpy(text + p, string_accumulator, k);  // in place: the length never changes
  return 0;
}
