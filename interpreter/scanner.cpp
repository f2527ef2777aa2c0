// The item scanner. get_item reads one item at scan_pointer, classifies it,
// resolves names in a fixed order of tables, and fetches values into the
// accumulators (calling functions and special names on the spot).
#include "interpreter/scanner.h"

#include "interpreter/temp_levels.h"
#include "interpreter/folded_names.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/conversions.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/output.h"
#include "interpreter/debugging.h"
#include "interpreter/memo.h"
#include "interpreter/remembered_statements.h"
#include "interpreter/short_copy.h"
#include "interpreter/special_names.h"
#include "interpreter/run_state.h"
#include "interpreter/scan_state.h"
#include "interpreter/temp_levels.h"
#include "interpreter/user_functions.h"
#include "rizozira/long_functions.h"
#include "rizozira/long_number.h"

char current_name[current_name_size] = {};
char char_after_name = '\0';
int item_is_parameter = 0;
bool element_name_unused = false;
std::uint32_t field_target_start = 0;
std::uint32_t field_target_width = 0;
int field_target_file = 0;

namespace {

constexpr int user_function_token = FUNC_USER_FUNCTION;  // "****": never a scanned name
constexpr std::size_t max_literal_length = 255;
constexpr std::size_t max_string_literal = 254;

int field_resolution_depth = 0;  // > 0 while a FIELD's string variable is being found

bool at_line_end() { return !scan_pointer || scan_pointer >= line_end || *scan_pointer == '\0'; }
char current_char() { return at_line_end() ? '\0' : *scan_pointer; }
char char_at(std::size_t ahead) {
  if (at_line_end() || scan_pointer + ahead >= line_end) return '\0';
  return scan_pointer[ahead];
}

// The scan helpers get_item uses on every item (inline in scanner.h).
inline std::uint32_t scan_column_here() { return scan_column(); }
inline char skip_blanks_here() { return skip_blanks(); }
inline char peek_nonblank_here() { return peek_nonblank(); }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_char(char c) { return is_letter(c) || is_digit(c) || c == '_' || c == '$'; }

void set_current_name(const char* text) {
  std::size_t length = strnlen(text, sizeof current_name - 1);
  std::memcpy(current_name, text, length);
  current_name[length] = '\0';
}

void set_accumulator_text(const char* text) { leave_text(text, std::strlen(text)); }

// Scans a name at p (before end) into name: letters, digits, "_" and "$"
// after a leading letter. Returns its length (0 when p does not start with a
// letter) or -84 (reported) when longer than 60 characters.
int scan_name_at(const char*& p, const char* end, char (&name)[max_name_length + 1], std::uint32_t column) {
  int length = 0;
  name[0] = '\0';
  if (p >= end || !is_letter(*p)) return 0;
  while (p < end && is_name_char(*p)) {
    if (length >= max_name_length) return report_error_at(column, err_name_may_not_longer_than);
    name[length++] = *p++;
  }
  name[length] = '\0';
  return length;
}

// A keyword, operator or comparison item.
int token_item(expr_item& item, std::uint32_t type, std::int64_t token) {
  item.type = type;
  item.value.token = token;
  return static_cast<int>(type);
}

// The item takes a value result: 2 in the item, others in their accumulators.
int take_result(expr_item& item, int result) {
  item.type = static_cast<std::uint32_t>(result);
  if (result == ITEM_DOUBLE) item.value.number = double_accumulator;
  return result;
}

// A built-in or user-defined function call: the parameter list, then
// do_function. A name with no "(" after it is passed on as a call without a
// list, which do_function refuses (193) unless the function may go without.
// The arguments may call other user functions, so the index of this call's
// definition is set only once they are evaluated.
int call_function(expr_item& item, int token, const char* name, int definition = -1) {
  temp_level_guard levels;
  expr_item list[max_parameters];
  int count = FUNCTION_NO_ARGUMENT_LIST;
  int result = 0;
  if (peek_nonblank_here() == '(') result = get_parameter_list(&count, list);
  if (result >= 0) {
    if (debug_mode && count >= 0) trace_parameter_list(count, list, name, 1);
    if (definition >= 0) user_function_index = definition;
    function_name_column = static_cast<int>(item.column);
    result = do_function(token, list, count);
  }
  levels.restore();
  if (result < 0) return report_error_at(item.column, err_return_do_function);
  return take_result(item, result);
}

// The value of a predefined variable into the accumulators.
int fetch_predefined(expr_item& item, int index) {
  current_value_slot = nullptr;
  const predefined_variable& variable = predefined_variables[index];
  if (variable.type == ITEM_DOUBLE) {
    if (long_all_mode && (index == PREDEF_PI || index == PREDEF_EULER)) {
      int result = index == PREDEF_PI ? long_pi(long_accumulator, long_precision)
                                      : long_e(long_accumulator, long_precision);
      if (result < 0) return result;
      item.type = ITEM_LONG;
      return ITEM_LONG;
    }
    double_accumulator = variable.value.number;
    return take_result(item, ITEM_DOUBLE);
  }
  if (variable.type == ITEM_STRING) {
    set_accumulator_text(predefined_string(index));
    return take_result(item, ITEM_STRING);
  }
  return report_error_at(item.column, err_invalid_type);
}

// A long value into long_accumulator (a null slot reads as 0), cut to its
// integer part in integer mode when asked.
int fetch_long(const long_number* value, bool integer_cut) {
  int result = long_copy(value, long_accumulator);
  if (result < 0) return result;
  if (integer_cut && integer_mode) long_fix(long_accumulator);
  return ITEM_LONG;
}

// A value slot of the given type into the item and accumulators.
int fetch_slot(expr_item& item, const value_slot& slot, std::uint32_t type, int flags, bool from_temp,
               bool integer_cut) {
  switch (type) {
    case ITEM_DOUBLE:
      double_accumulator = slot.number;
      return take_result(item, ITEM_DOUBLE);
    case ITEM_STRING:
      set_accumulator_text(from_temp ? temp_string_text(slot.string_offset)
                                     : string_space_text(slot.string_offset));
      return take_result(item, ITEM_STRING);
    case ITEM_LONG:
      if (!(flags & (GI_STATEMENT_START | GI_UNEVALUATED))) {
        int result = fetch_long(slot.long_value, integer_cut);
        if (result < 0) return result;
      }
      return take_result(item, ITEM_LONG);
    default:
      return report_error_at(item.column, err_invalid_type);
  }
}

// Writes the decimal digits of value at out (room for 10); returns their count.
std::size_t format_unsigned(std::uint32_t value, char* out) {
  // Two digits a step, from the right, through a table of "00" to "99".
  static constexpr struct digit_pairs {
    char text[200];
    constexpr digit_pairs() : text() {
      for (int k = 0; k < 100; ++k) {
        text[2 * k] = static_cast<char>('0' + k / 10);
        text[2 * k + 1] = static_cast<char>('0' + k % 10);
      }
    }
  } pairs;
  char digits[10];
  char* p = digits + sizeof digits;
  while (value >= 100) {
    const std::uint32_t pair = value % 100;
    value /= 100;
    p -= 2;
    std::memcpy(p, pairs.text + 2 * pair, 2);
  }
  if (value >= 10) {
    p -= 2;
    std::memcpy(p, pairs.text + 2 * value, 2);
  } else {
    *--p = static_cast<char>('0' + value);
  }
  const std::size_t n = static_cast<std::size_t>(digits + sizeof digits - p);
  copy_short(out, p, n);
  return n;
}

// The element name: the array's name and its truncated subscripts, as
// "name(3,4)". Written by hand: this runs on every element access.
// "name(s1,s2,...)" into out (current_name_size bytes), cut to fit.
void format_element_name(char* out, const char* name, int count, const std::uint32_t* subscripts) {
  constexpr std::size_t room = current_name_size - 1;
  std::size_t used = strnlen(name, room);
  copy_short(out, name, used);
  if (used < room) out[used++] = '(';
  for (int k = 0; k < count && used < room; ++k) {
    char text[21];
    std::size_t length = format_unsigned(subscripts[k], text);
    text[length++] = k + 1 < count ? ',' : ')';
    if (length > room - used) length = room - used;
    copy_short(out + used, text, length);
    used += length;
  }
  out[used] = '\0';
}

void set_element_name(const char* name, int count, const double* subscripts) {
  std::uint32_t whole[max_parameters];
  for (int k = 0; k < count; ++k) {
    // Subscripts here have passed the range check: 0 <= s < 2^32.
    double number = subscripts[k];
    whole[k] = number >= 0.0 && number < 4294967296.0 ? static_cast<std::uint32_t>(number) : 0;
  }
  format_element_name(current_name, name, count, whole);
}

// An array element: subscripts, address, value.
int array_element(expr_item& item, int array_index, int flags) {
  array_entry& entry = array_table[array_index];
  temp_level_guard levels;
  // get_parameter_list fills the subscripts it reads and nothing past count
  // is used, so the room is not cleared first (this runs on every access).
  alignas(expr_item) unsigned char list_room[sizeof(expr_item) * max_parameters];
  expr_item* const list = reinterpret_cast<expr_item*>(list_room);
  int count = 0;
  int result = get_parameter_list(&count, list);
  if (result >= 0 && count == 0) result = report_error_at(item.column, err_missing_parameter_list_for_function);
  if (result >= 0 && debug_mode) trace_parameter_list(count, list, array_name(entry), 2);
  for (int k = 0; result >= 0 && k < count; ++k)
    if (item_to_double(list[k]) < 0) result = report_error_at(list[k].column, err_subscript_out_range_or_invalid);
  value_slot* slot = nullptr;
  if (result >= 0) result = get_array_element_address(array_index, &slot, count, list);
  if (result >= 0) {
    double subscripts[max_parameters];
    for (int k = 0; k < count; ++k) subscripts[k] = list[k].value.number;
    set_element_name(array_name(entry), count, subscripts);
  }
  levels.restore();
  if (result < 0) return result;
  item.array = &entry;
  current_value_slot = slot;
  return fetch_slot(item, *slot, entry.type, flags & GI_STATEMENT_START, false, false);
}

// A new array under DIM or LONG.
int declare_array(expr_item& item, const char* name, int flags) {
  temp_level_guard levels;
  expr_item list[max_parameters];
  int count = 0;
  int result = get_parameter_list(&count, list);
  if (result >= 0 && count == 0) result = report_error_at(item.column, err_missing_parameter_list_for_function);
  if (result >= 0 && !no_execute) {
    error_column = static_cast<int>(item.column);
    result = create_array(name, count, list, (flags & GI_LONG) ? 1 : 0);
  } else if (result >= 0) {
    result = 0;  // skip mode: nothing is created
  }
  levels.restore();
  if (result > 0) item.type = static_cast<std::uint32_t>(result);
  return result;
}

// A FIELD variable: an assignment target at statement start, else its text.
int field_variable(expr_item& item, field_definition* definition, int index, int flags) {
  const field_entry& entry = definition->entries[index];
  current_value_slot = definition->string_slot;
  if (prescan_mode || no_execute) {
    item.type = ITEM_FIELD;
    item.value.bits = 0;
    set_accumulator_text("");
    return ITEM_FIELD;
  }
  if (entry.type != ITEM_FIELD) return report_error_at(item.column, err_invalid_type);
  const char* source = nullptr;
  std::size_t source_length = 0;
  bool on_file = definition->file_number >= 0;
  if (on_file) {
    int file = definition->file_number;
    if (!channel_in_range(file) || file_table[file].handle == 0) return report_error_at(item.column, err_field_definition_file_number_not);
    if (file_table[file].mode != FILE_MODE_RANDOM) return report_error_at(item.column, err_field_definition_does_not_refer);
    std::uint64_t record_length = file_table[file].width > 0 ? static_cast<std::uint64_t>(file_table[file].width) : 0;
    if (static_cast<std::uint64_t>(entry.start) + entry.width > record_length) return report_error_at(item.column, err_attempt_to_read_write_beyond);
    source = file_table[file].line_buffer;
    source_length = source ? record_length : 0;
    if (source_length > file_table[file].line_buffer_size) source_length = file_table[file].line_buffer_size;
  } else {
    if (!definition->string_slot) {
      // The stored name is scanned as a plain variable: FIELD names are not
      // searched meanwhile, so a FIELD named like its own variable cannot
      // send the scan round in circles.
      expr_item target;
      ++field_resolution_depth;
      int result = get_item_from_text(field_string_variable_name(*definition), 0, target);
      --field_resolution_depth;
      if (result != ITEM_STRING) return result;
      definition->string_slot = current_value_slot;
    }
    current_value_slot = definition->string_slot;
    source = string_space_text(definition->string_slot->string_offset);
    source_length = std::strlen(source);
  }

  if (flags & GI_STATEMENT_START) {
    item.type = ITEM_FIELD;
    item.value.field.start = entry.start;
    item.value.field.width = entry.width;
    field_target_start = entry.start;
    field_target_width = entry.width;
    field_target_file = definition->file_number;
    return ITEM_FIELD;
  }
  // The slice, read only as far as its source goes and padded with blanks:
  // a short string variable never lets the read run past its end.
  std::size_t width = entry.width < max_string_length ? entry.width : max_string_length;
  std::size_t available = entry.start < source_length ? source_length - entry.start : 0;
  std::size_t take = available < width ? available : width;
  if (take > 0) std::memcpy(string_accumulator, source + entry.start, take);
  std::memset(string_accumulator + take, ' ', width - take);
  string_accumulator[width] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(width);
  return take_result(item, ITEM_STRING);
}

// "(" expression ")" as one item.
int parenthesised(expr_item& item) {
  ++scan_pointer;
  ++expression_depth;
  int result = evaluate_expression_release_temps(GI_IN_PARENS);
  --expression_depth;
  if (result < 0) return report_error_at(item.column, err_return_evaluate_expression);
  switch (result) {
    case ITEM_DOUBLE:
    case ITEM_STRING:
    case ITEM_LONG:
    case ITEM_NUMERIC_TEXT:
      return take_result(item, result);
    default:
      return report_error_at(item.column, err_invalid_type);
  }
}

// "@(" expression ")": the name is scanned from the expression's string.
int indirect_name(expr_item& item, char (&name)[max_name_length + 1]) {
  ++scan_pointer;
  if (skip_blanks_here() != '(') return report_error_here(err_expect_left_parenthesis);
  ++scan_pointer;
  ++expression_depth;
  int result = evaluate_expression_release_temps(GI_IN_PARENS);
  --expression_depth;
  if (result < 0) return report_error_at(item.column, err_return_evaluate_expression);
  std::string text;
  bool skipping = no_execute || prescan_mode;
  if (skipping) {
    text = "a$";
  } else {
    if (result != ITEM_STRING) return report_error_at(item.column, err_invalid_type_expecting_string);
    text.assign(string_accumulator, strnlen(string_accumulator, max_string_length));
  }
  const char* p = text.c_str();
  int length = scan_name_at(p, p + text.size(), name, item.column);
  if (length < 0) return length;
  if (length == 0 && !skipping) return report_error_at(item.column, err_invalid_name);
  return length;
}

// What get_item found for a name, kept by its folded text so that a name
// met again costs one hash instead of a search of the keyword tables, the
// arrays and the variables. What an entry knows holds under the memo stamp it
// was found under (memo.h: every change of those tables moves it), so an
// answer is always what a fresh search gives.
struct name_resolution {
  std::uint64_t key[3];   // folded name, zero-padded (0 in key[0]: empty)
  memo_stamp stamp;       // memo.stamp when the parts below were found
  name_tokens tokens;
  std::int32_t array;     // first array of the name, -1 none, unknown_index not looked for
  std::int32_t variable;  // first variable of the name, -1 none, unknown_index not looked for
};
constexpr std::int32_t unknown_index = -2;

folded_name_cache<name_resolution, 512> resolutions;

// Forgets what the entry knows when the tables changed since it was found.
void refresh_resolution(name_resolution& entry, std::string_view name) {
  if (entry.stamp == memo.stamp) return;
  entry.stamp = memo.stamp;
  entry.tokens = lookup_name_tokens(name);
  entry.array = unknown_index;
  entry.variable = unknown_index;
}

// The entry for name (found or newly taken), or null for a name too long to
// keep or with the memos off. The entry's tokens are current.
name_resolution* resolve_name(std::string_view name) {
  if (memo.off) return nullptr;
  folded_name key;
  if (!fold_name(name, key)) return nullptr;
  bool fresh = false;
  name_resolution& entry = resolutions.slot(key, fresh);
  if (fresh) entry.stamp = 0;
  refresh_resolution(entry, name);
  return &entry;
}

// find_array through the entry.
int resolved_array(name_resolution* entry, std::string_view name) {
  if (!entry) return find_array(name);
  refresh_resolution(*entry, name);
  if (entry->array == unknown_index) entry->array = find_array(name);
  return entry->array;
}

// find_variable through the entry.
int resolved_variable(name_resolution* entry, std::string_view name) {
  if (!entry) return find_variable(name);
  refresh_resolution(*entry, name);
  if (entry->variable == unknown_index) entry->variable = find_variable(name);
  return entry->variable;
}

// ------------------------------------------------------------ item memo
//
// What a name at a given offset of the pre-scanned program text turned out to
// be, so that running the same statement again skips the scan of the name and
// the search of the tables. An entry holds only under the memo stamp it was
// made under (memo.h: the keyword tables, the user functions, the arrays and
// the variable table unchanged); FIELD variables are looked for as before,
// and so are user-function parameters, unless the innermost call runs the
// definition a parameter was found in (its position in it is kept) or no
// definition has a parameter named like the variable found. Skip mode uses
// it: none of the answers it keeps depends on skipping (a name that is not
// found, which skipping treats apart, is never kept).

enum memo_kind : std::uint8_t {
  MEMO_EMPTY = 0,
  MEMO_TOKEN,          // a keyword item (token_item)
  MEMO_PREDEFINED,     // a predefined variable's value
  MEMO_FUNCTION,       // a built-in function call
  MEMO_USER_FUNCTION,  // a user-defined function call
  MEMO_VARIABLE,       // a simple variable
  MEMO_ELEMENT,        // an array element
  MEMO_PARAMETER,      // a parameter of the running user-function call
};

struct item_memo {
  // Token, variable, array or user-function index; for a parameter, the
  // index of the definition of the innermost call it belonged to (-1: an
  // outer call's).
  std::int32_t index = 0;
  std::uint32_t item_type = 0;  // for a parameter, its position in the definition
  std::uint16_t flags = 0;
  std::uint8_t length = 0;  // of the name
  std::uint8_t kind = MEMO_EMPTY;
  bool flagged = false;     // the answer holds under these flags only
  char after = 0;           // char_after_name
  bool unhidden = false;    // a variable no definition has a parameter named like
};

memo_table<item_memo, 8192> item_memos;

// The flags the memo serves: plain evaluation, statement start, lists.
constexpr int memo_flags = GI_IN_PARENS | GI_LIST | GI_STATEMENT_START;

// The key of the item at scan_pointer, or 0 when it may not be remembered.
inline memo_key item_key(int flags) {
  if ((flags & ~memo_flags) || field_resolution_depth) return 0;
  return memo_key_at(scan_pointer);
}

// What the name resolution decided, noted by the steps that decide.
struct memo_note {
  std::uint8_t kind = MEMO_EMPTY;
  bool flagged = false;
  std::int32_t index = 0;
  std::uint32_t item_type = 0;
};

// Stores what the name at key turned out to be, found under stamp (the
// memo stamp when get_item began: a call made since may have changed it).
void memo_store(memo_key key, memo_stamp stamp, const memo_note& note, int flags, std::size_t length) {
  if (key == 0 || note.kind == MEMO_EMPTY || length > 255 || memo.stamp != stamp) return;
  item_memo& entry = item_memos.store(key, stamp);
  entry.index = note.index;
  entry.item_type = note.item_type;
  entry.flags = static_cast<std::uint16_t>(flags);
  entry.length = static_cast<std::uint8_t>(length);
  entry.kind = note.kind;
  entry.flagged = note.flagged;
  entry.after = char_after_name;
  entry.unhidden = note.kind == MEMO_VARIABLE &&
                   (user_function_count == 0 ||
                    !is_user_function_parameter_name(std::string_view(current_name, length)));
}

// The entry for key when it still holds under these flags, else null.
// (No variable, array or user function was added, erased or reset since the
// entry was made: an index it holds stands where it stood.)
inline const item_memo* memo_find(memo_key key, int flags) {
  const item_memo* entry = item_memos.find(key);
  if (!entry || (entry->flagged && entry->flags != flags)) return nullptr;
  switch (entry->kind) {
    case MEMO_TOKEN:
    case MEMO_PREDEFINED:
    case MEMO_FUNCTION:
    case MEMO_USER_FUNCTION:
    case MEMO_ELEMENT:
    case MEMO_PARAMETER:
      return entry;
    case MEMO_VARIABLE:
      return field_count > 0 ? nullptr : entry;  // a FIELD of the name would come first
    default:
      return nullptr;
  }
}

// The flags under which keywords and functions come back unevaluated.
constexpr int unevaluated_flags = GI_STATEMENT_START | GI_UNEVALUATED | GI_LOOKUP_ONLY | GI_DEF_NAME;

bool is_passed_over_outside_statement_start(int token) {
  switch (token) {
    case STMT_INPUT:
    case STMT_MID_STR:
    case STMT_READ:
    case STMT_OPEN:
    case STMT_LONG:
    case STMT_INPUTDIALOG:
    case STMT_UPDATEDIALOG:
      return true;
    default:
      return false;
  }
}

// Steps for a non-empty name: keyword tables, then user functions.
// Returns 1 when none of the tables knows the name, else the result.
constexpr int not_a_keyword = 1000;

int keyword_item(expr_item& item, const char* name, std::size_t length, int flags,
                 const name_resolution* resolution, memo_note& note) {
  const bool declaring = flags & (GI_DIM | GI_LONG);
  const name_tokens tokens = resolution ? resolution->tokens : lookup_name_tokens(std::string_view(name, length));
  auto noted_token = [&](std::uint32_t type, int token, bool flagged) {
    note.kind = MEMO_TOKEN;
    note.flagged = flagged;
    note.item_type = type;
    note.index = token;
    return token_item(item, type, token);
  };
  int token = tokens.logical;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_logical_operator_invalid_in_long);
    return noted_token(ITEM_LOGICAL, token, false);
  }
  token = tokens.command;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_command_invalid_in_long_or);
    return noted_token(ITEM_COMMAND, token, false);
  }
  token = tokens.statement;
  // A statement passed over outside statement start makes every answer for
  // this name depend on the flags.
  if (token >= 0 && is_passed_over_outside_statement_start(token)) note.flagged = true;
  if (token >= 0 && !(flags & GI_STATEMENT_START) && is_passed_over_outside_statement_start(token)) token = -1;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_statement_invalid_in_long_or);
    return noted_token(ITEM_STATEMENT, token, note.flagged);
  }
  token = tokens.predefined;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_constant_invalid_in_long_or);
    if (flags & unevaluated_flags) {
      current_value_slot = nullptr;
      return noted_token(ITEM_PREDEFINED, token, true);
    }
    note.kind = MEMO_PREDEFINED;
    note.flagged = true;
    note.index = token;
    return fetch_predefined(item, token);
  }
  token = tokens.function;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_function_invalid_in_long_or);
    if (flags & unevaluated_flags) {
      return noted_token(ITEM_FUNCTION, token, true);
    }
    note.kind = MEMO_FUNCTION;
    note.flagged = true;
    note.index = token;
    return call_function(item, token, name);
  }
  int index = user_function_count > 0 ? find_user_function(name) : -1;
  if (index >= 0) {
    if (flags & GI_DEF_NAME) {
      set_current_name(name);
      return ITEM_NOT_FOUND;
    }
    if (declaring) return report_error_at(item.column, err_function_invalid_in_long_or);
    if (flags & (GI_STATEMENT_START | GI_UNEVALUATED | GI_LOOKUP_ONLY)) {
      return noted_token(ITEM_FUNCTION, user_function_token, true);
    }
    note.kind = MEMO_USER_FUNCTION;
    note.flagged = true;
    note.index = index;
    return call_function(item, user_function_token, name, index);
  }
  token = tokens.special_name;
  if (token >= 0) {
    if (declaring) return report_error_at(item.column, err_function_invalid_in_long_or);
    if (flags & unevaluated_flags) {
      return token_item(item, ITEM_SPECIAL_NAME, token);
    }
    temp_level_guard levels;
    int result = do_special_name(token);
    levels.restore();
    if (result < 0) return report_error_at(item.column, err_return_do_function);
    return take_result(item, result);
  }
  return not_a_keyword;
}

// The index of the definition of the innermost running call when slot is
// one of its parameters (at position), else -1.
int innermost_parameter(const value_slot* slot, std::uint32_t& position) {
  const user_call_frame* frame = user_call_chain;
  for (std::uint32_t i = 0; i < frame->function->param_count; ++i) {
    if (slot != &frame->params[i].value) continue;
    position = i;
    return static_cast<int>(frame->index);
  }
  return -1;
}

// A name without "(" that is not an array: parameters, FIELD variables,
// simple variables, and finally a new variable.
int plain_name(expr_item& item, const char* name, int flags, name_resolution* resolution, memo_note& note) {
  if (!(flags & GI_LOOKUP_ONLY)) {
    value_slot* slot = nullptr;
    int type = user_call_chain ? find_user_function_parameter(name, &slot) : 0;  // no call running: no parameters
    if (type > 0 && slot) {
      note.kind = MEMO_PARAMETER;
      note.index = innermost_parameter(slot, note.item_type);
      current_value_slot = slot;
      item_is_parameter = 1;
      return fetch_slot(item, *current_value_slot, static_cast<std::uint32_t>(type), flags, true, false);
    }
  }
  if (!(flags & GI_UNEVALUATED) && field_resolution_depth == 0) {
    field_definition* definition = nullptr;
    int index = 0;
    if (field_count > 0 && find_field_variable(name, &definition, &index))
      return field_variable(item, definition, index, flags);
  }
  int index = resolved_variable(resolution, name);
  if (index >= 0) {
    note.kind = MEMO_VARIABLE;
    note.index = index;
    variable_entry& entry = variable_table[index];
    current_value_slot = &entry.value;
    // LONG passed over, like DIM: the variable an earlier pass made is no error.
    if ((flags & GI_LONG) && no_execute) return static_cast<int>(entry.type);
    if (flags & GI_LONG) return report_error_at(item.column, err_variable_already_defined);
    return fetch_slot(item, entry.value, entry.type, flags, false, true);
  }
  if (flags & GI_LOOKUP_ONLY) return ITEM_NOT_FOUND;
  error_column = static_cast<int>(item.column);
  int type = create_variable(name, (flags & GI_LONG) ? 1 : 0);
  if (type < 0) return type;
  item.type = static_cast<std::uint32_t>(type);
  item.value.bits = 0;
  if (type == ITEM_LONG && !(flags & (GI_STATEMENT_START | GI_UNEVALUATED))) long_set_zero(long_accumulator);
  return type;
}

// An item that does not start with a letter: literals and "(".
int non_name_item(expr_item& item, int flags) {
  const bool declaring = flags & (GI_DIM | GI_LONG);
  if (flags & GI_UNEVALUATED) return -1;
  int result = scan_number_literal(item, flags);
  if (result == 0) result = scan_string_literal(item, flags);
  if (result != 0) {
    if (declaring && result > 0) return report_error_at(item.column, err_constant_invalid_in_long_or);
    return result;
  }
  if (current_char() == '(') {
    if (declaring) return report_error_at(item.column, err_invalid_name);
    if (flags & GI_STATEMENT_START) return report_error_at(item.column, err_string_or_numeric_variable);
    return parenthesised(item);
  }
  return report_error_at(item.column, err_invalid_expression);
}

constexpr int memo_missed = -100000;  // not an error code: the name is scanned again

// False, with nothing changed, when the list is not such a list or its
// temporary strings would not fit (the general road then reports that).
// With strings allowed, an argument may also be a lone string variable or
// string literal.
[[gnu::always_inline]] inline bool read_remembered_list(remembered_list& list, bool strings,
                                                        const char* start = scan_pointer) {
  if (start >= line_end || *start != '(') return false;
  constexpr int list_flags = GI_IN_PARENS | GI_LIST;
  const char* p = start + 1;
  // Reached from a remembered item: the line's text may be remembered.
  const memo_key base = memo_key_at(line_start);
  list.count = 0;
  list.temp_bytes = 0;
  for (;;) {
    p = blanks_passed(p);
    if (list.count == max_parameters || p >= line_end) return false;
    plain_value& value = list.values[list.count];
    if (!remembered_plain_value(base + static_cast<std::uint32_t>(p - line_start), list_flags, value, strings))
      return false;
    const char* end = line_start + value.end_column;
    if (end < p || end >= line_end || (*end != ')' && *end != ',' && *end != ';')) return false;
    list.temp_bytes += value.literal_bytes;
    if (value.lone_literal && !no_execute) list.temp_bytes += value.literal_length + 1u;
    // A string is copied once more as the list keeps it (no room when empty).
    if (strings && value.is_string && value.text_length > 0) list.temp_bytes += value.text_length + 1u;
    ++list.count;
    p = end + 1;
    if (*end == ')') break;
  }
  list.after = p;
  return temp_strings_used + list.temp_bytes <= temp_strings_size;
}

// What reading the list leaves behind: the last variable's following
// character, the last literal's text in the string accumulator (emptied when
// skipping), the peak of the temporary strings, the last expression's first
// column, no name; the scanner stands behind the list.
[[gnu::always_inline]] inline void take_remembered_list(const remembered_list& list, bool strings) {
  for (int k = 0; k < list.count; ++k) {
    const plain_value& value = list.values[k];
    // (The slot the last variable leaves is the caller's to set: the element's or
    // the argument's.)
    if (value.has_variable) char_after_name = value.after;
    if (value.literal_length > 0) leave_text(line_start + value.literal_column, value.literal_length);
    if (strings && value.is_string) leave_text(value.text, value.text_length);  // the result it delivers
  }
  if (no_execute) leave_skipped_value();  // a skipped expression reads as 0
  const std::uint64_t reach = temp_strings_used + list.temp_bytes;
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  error_column = static_cast<int>(list.values[list.count - 1].first_column);
  last_array_entry = nullptr;
  leave_no_name();  // the ")" read last
  scan_pointer = list.after;
}

// An element at scan_pointer ("(" next) whose subscripts are a remembered
// list that fits the array: read without evaluating them again, leaving the
// scanner's state as array_element leaves it. memo_missed, with nothing
// changed, otherwise: array_element then reads it, and reports what is wrong.
[[gnu::noinline]] int remembered_element(expr_item& item, int array_index, int flags, bool name_unused) {
  array_entry& entry = array_table[array_index];
  remembered_list list;
  if (!read_remembered_list(list, false) || list.count != static_cast<int>(entry.dimension_count)) return memo_missed;
  double subscripts[max_parameters];
  std::size_t index = 0;
  for (int k = 0; k < list.count; ++k) {
    double value = list.values[k].value;
    double size = entry.dimension_sizes[k];
    if (!(value >= 0.0 && value < size)) return memo_missed;
    index = index * entry.dimension_sizes[k] + static_cast<std::size_t>(value);
    subscripts[k] = value;
  }
  value_slot* slot = entry.data + index;
  take_remembered_list(list, false);
  // The subscripts are made doubles in order: the double accumulator holds
  // the last lone literal converted, or else the last subscript.
  double last_value = list.values[list.count - 1].value;
  for (int k = 0; k < list.count; ++k)
    if (list.values[k].lone_literal && !no_execute) last_value = list.values[k].value;
  double_accumulator = last_value;
  if (!name_unused) set_element_name(array_name(entry), list.count, subscripts);
  item.array = &entry;
  current_value_slot = slot;
  return fetch_slot(item, *slot, entry.type, flags & GI_STATEMENT_START, false, false);
}

// A built-in or user-defined function call (definition: the user function's
// index, -1 for a built-in one) whose arguments are a remembered list
// (doubles, lone literals, lone string variables and string literals): the
// arguments are made as get_parameter_list makes them (the same room in the
// temporary strings, the texts where it puts them) and the function runs on
// them as call_function runs it. memo_missed, with nothing changed, otherwise.
template <bool user>
int call_with_list(expr_item& item, int token, int definition, const remembered_list& list);

template <bool user>
int remembered_list_call(expr_item& item, int token, int definition) {
  if (no_execute) return memo_missed;
  const char* name_end = scan_pointer;
  skip_blanks_here();
  remembered_list list;
  if (!read_remembered_list(list, true)) {
    scan_pointer = name_end;
    return memo_missed;
  }
  return call_with_list<user>(item, token, definition, list);
}

// The function at token run on the remembered argument list read at the
// scanner (the call's name passed), as call_function runs it.
template <bool user>
int call_with_list(expr_item& item, int token, int definition, const remembered_list& list) {
  temp_level_guard levels;
  take_remembered_list(list, true);
  // Room for the arguments, each made as it is filled (as get_parameter_list does).
  alignas(expr_item) unsigned char room[sizeof(expr_item) * max_parameters];
  expr_item* const arguments = reinterpret_cast<expr_item*>(room);
  // The temporary strings as the evaluations take them, in order: each
  // expression's own room, then the copy the list keeps of a text.
  std::uint32_t used = temp_strings_used;
  bool has_double = false;
  double last_double = 0;
  for (int k = 0; k < list.count; ++k) {
    const plain_value& value = list.values[k];
    expr_item& argument = *new (&arguments[k]) expr_item{};
    argument.column = value.first_column;
    used += value.literal_bytes;
    const char* text = nullptr;
    std::size_t length = 0;
    if (value.is_string) {
      argument.type = ITEM_STRING;
      text = value.text;
      length = value.text_length;
    } else if (value.lone_literal) {
      argument.type = ITEM_NUMERIC_TEXT;
      text = line_start + value.literal_column;
      length = value.literal_length;
    } else {
      argument.type = ITEM_DOUBLE;
      argument.value.number = value.value;
      has_double = true;
      last_double = value.value;
    }
    if (length > 0) {
      char* const into = temp_strings + used;
      copy_short(into, text, length);
      into[length] = '\0';
      argument.value.bits = used;
      used += static_cast<std::uint32_t>(length) + 1;
    }
    if (value.has_variable) current_value_slot = value.slot;
  }
  temp_strings_used = used;  // the peak was raised to it with the list
  // A string or a lone literal leaves the double accumulator as it was.
  if (has_double) double_accumulator = last_double;
  if (user) user_function_index = definition;
  function_name_column = static_cast<int>(item.column);
  const bool pure_call = !user && list.count == 1 && arguments[0].type == ITEM_DOUBLE && !no_execute &&
                         !long_all_mode && pure_numeric_function(token);
  int result = pure_call ? pure_numeric_call(token, arguments[0]) : do_function(token, arguments, list.count);
  levels.restore();
  if (result < 0) return report_error_at(item.column, err_return_do_function);
  return take_result(item, result);
}

int remembered_function(expr_item& item, int token) { return remembered_list_call<false>(item, token, -1); }

[[gnu::noinline]] int remembered_user_function(expr_item& item, int definition) {
  return remembered_list_call<true>(item, user_function_token, definition);
}

// A remembered built-in or user-defined function call, its name (length
// bytes) in current_name and the scanner behind it.
[[gnu::noinline]] int remembered_call(expr_item& item, const item_memo& memo, std::size_t length) {
  if (int result = memo.kind == MEMO_FUNCTION ? remembered_function(item, memo.index)
                                               : remembered_user_function(item, memo.index);
      result != memo_missed)
    return result;
  // The name, kept apart from current_name where a call may scan others.
  char own[max_name_length + 1];
  copy_short(own, current_name, length + 1);
  return memo.kind == MEMO_FUNCTION ? call_function(item, memo.index, own)
                                    : call_function(item, user_function_token, own, memo.index);
}

// The name a memo entry was made for, at scan_pointer, into current_name;
// the scanner behind it.
[[gnu::always_inline]] inline void take_remembered_name(const item_memo& memo) {
  const std::size_t length = memo.length;
  copy_short(current_name, scan_pointer, length);
  current_name[length] = '\0';
  scan_pointer += length;
  char_after_name = memo.after;
}

// The item a memo entry describes, taken as get_item would take it: the name
// is passed over, and the same step that found it first runs again with the
// index it found.
int remembered_item(expr_item& item, const item_memo& memo, int flags, bool name_unused) {
  const char* name_at = scan_pointer;
  const std::size_t length = memo.length;
  // The name, kept apart from current_name where a call may scan others.
  char* const name = current_name;
  copy_short(name, name_at, length);
  name[length] = '\0';
  scan_pointer = name_at + length;
  char_after_name = memo.after;
  switch (memo.kind) {
    case MEMO_TOKEN:
      if (memo.item_type == ITEM_PREDEFINED) current_value_slot = nullptr;
      return token_item(item, memo.item_type, memo.index);
    case MEMO_PREDEFINED:
      return fetch_predefined(item, memo.index);
    case MEMO_FUNCTION:
    case MEMO_USER_FUNCTION:
      return remembered_call(item, memo, length);
    case MEMO_PARAMETER:
    case MEMO_VARIABLE: {
      const user_call_frame* frame = user_call_chain;
      if (memo.kind == MEMO_PARAMETER && frame && frame->index == static_cast<std::uint32_t>(memo.index)) {
        // The innermost call runs the definition the parameter was found
        // in: the name finds the same position in it.
        const user_param_value& parameter = frame->params[memo.item_type];
        current_value_slot = const_cast<value_slot*>(&parameter.value);
        item_is_parameter = 1;
        return fetch_slot(item, parameter.value, parameter.type, flags, true, false);
      }
      if (frame && !memo.unhidden) {
        value_slot* slot = nullptr;
        int type = find_user_function_parameter(name, &slot);
        if (type > 0 && slot) {
          current_value_slot = slot;
          item_is_parameter = 1;
          return fetch_slot(item, *current_value_slot, static_cast<std::uint32_t>(type), flags, true, false);
        }
      }
      if (memo.kind == MEMO_PARAMETER) break;  // no call has it now
      variable_entry& entry = variable_table[memo.index];
      current_value_slot = &entry.value;
      return fetch_slot(item, entry.value, entry.type, flags, false, true);
    }
    case MEMO_ELEMENT: {
      skip_blanks_here();
      int result = remembered_element(item, memo.index, flags, name_unused);
      return result != memo_missed ? result : array_element(item, memo.index, flags);
    }
    default:
      break;
  }
  // Not a kind the memo keeps: the name is found again the long way.
  scan_pointer = name_at;
  return memo_missed;
}

}  // namespace

namespace {

// The first steps of reading a built-in call whose name (name_length
// characters, "(" behind it) starts at name_at: the item emptied, the name in
// current_name, the scanner behind it.
void read_call_name(expr_item& item, const char* name_at, std::size_t name_length) {
  element_name_unused = false;
  item.array = nullptr;
  item.value.bits = 0;
  item.type = ITEM_NONE;
  leave_no_name();
  scan_pointer = name_at;
  item.column = scan_column_here();
  copy_short(current_name, name_at, name_length);
  current_name[name_length] = '\0';
  scan_pointer = name_at + name_length;
  char_after_name = '(';
}

}  // namespace

bool peek_plain_element(const char* name_at, std::size_t name_length, int array_index, plain_element& out) {
  if (array_index < 0 || static_cast<std::uint32_t>(array_index) >= array_count) return false;
  array_entry& entry = array_table[array_index];
  if (entry.type != ITEM_DOUBLE || !entry.data) return false;
  const char* p = blanks_passed(name_at + name_length);
  remembered_list& list = out.list;
  if (!read_remembered_list(list, false, p) || list.count != static_cast<int>(entry.dimension_count)) return false;
  std::size_t index = 0;
  for (int k = 0; k < list.count; ++k) {
    const double value = list.values[k].value;
    if (!(value >= 0.0 && value < entry.dimension_sizes[k])) return false;
    index = index * entry.dimension_sizes[k] + static_cast<std::size_t>(value);
  }
  out.entry = &entry;
  out.slot = entry.data + index;
  out.has_text = false;
  for (int k = 0; k < list.count; ++k)
    if (list.values[k].literal_length > 0) out.has_text = true;
  return true;
}

bool peek_assignment_target(const char* name_at, assignment_target_name& out) {
  if (user_call_chain != nullptr || field_resolution_depth) return false;
  const memo_key key = memo_key_at(name_at);
  const item_memo* memo = key != 0 ? memo_find(key, GI_STATEMENT_START) : nullptr;
  if (!memo || memo->index < 0) return false;
  out.string = false;
  if (memo->kind == MEMO_VARIABLE) {
    if (static_cast<std::uint32_t>(memo->index) >= variable_count) return false;
    const std::uint32_t type = variable_table[memo->index].type;
    if (type != ITEM_DOUBLE && type != ITEM_STRING) return false;
    out.array = false;
    out.string = type == ITEM_STRING;
  } else if (memo->kind == MEMO_ELEMENT) {
    if (static_cast<std::uint32_t>(memo->index) >= array_count || array_table[memo->index].type != ITEM_DOUBLE)
      return false;
    out.array = true;
  } else {
    return false;
  }
  out.index = memo->index;
  out.length = memo->length;
  return true;
}

bool peek_list_call(const char* name_at, std::size_t name_length, plain_element& out) {
  const char* p = blanks_passed(name_at + name_length);
  remembered_list& list = out.list;
  if (no_execute || !read_remembered_list(list, true, p)) return false;
  out.entry = nullptr;
  out.slot = nullptr;
  out.has_text = false;
  for (int k = 0; k < list.count; ++k)
    if (list.values[k].literal_length > 0) out.has_text = true;
  return true;
}

bool peek_plain_call(const char* name_at, std::size_t name_length, plain_element& out) {
  return peek_list_call(name_at, name_length, out) && out.list.count == 1 && !out.list.values[0].lone_literal &&
         !out.list.values[0].is_string;
}

int take_plain_call(const plain_element& call, const char* name_at, std::size_t name_length, int token,
                    double& result) {
  // get_function_item's steps, the list already read.
  expr_item item;
  read_call_name(item, name_at, name_length);
  skip_blanks_here();
  const int type = call_with_list<false>(item, token, -1, call.list);
  result = item.value.number;
  return type;
}

void take_plain_element(const plain_element& element, const char* name_at, std::size_t name_length) {
  // get_element_item's steps, then remembered_element's (the name unused).
  item_is_parameter = 0;
  copy_short(current_name, name_at, name_length);
  current_name[name_length] = '\0';
  char_after_name = '(';
  take_remembered_list(element.list, false);
  current_value_slot = element.slot;
  double_accumulator = element.slot->number;
}

int get_element_item(expr_item& item, int array_index, std::size_t name_length, int flags) {
  item.array = nullptr;
  item.value.bits = 0;
  item.type = ITEM_NONE;
  item_is_parameter = 0;
  item.column = scan_column_here();
  copy_short(current_name, scan_pointer, name_length);
  current_name[name_length] = '\0';
  scan_pointer += name_length;
  char_after_name = '(';
  skip_blanks_here();
  int result = remembered_element(item, array_index, flags, true);
  return result != memo_missed ? result : array_element(item, array_index, flags);
}

int get_function_item(expr_item& item, int token, std::size_t name_length) {
  read_call_name(item, scan_pointer, name_length);
  if (int result = remembered_function(item, token); result != memo_missed) return result;
  char own[max_name_length + 1];
  copy_short(own, current_name, name_length + 1);
  return call_function(item, token, own);
}

int remembered_function_token(const char* item_start, int flags, std::size_t& name_length) {
  if ((flags & ~memo_flags) || field_resolution_depth) return -1;
  const memo_key key = memo_key_at(item_start);
  const item_memo* memo = key != 0 ? memo_find(key, flags) : nullptr;
  if (!memo || memo->kind != MEMO_FUNCTION || memo->length > max_name_length) return -1;
  // (The memo's char_after_name is what the call left; the text says
  // whether a list follows.)
  const char* p = blanks_passed(item_start + memo->length);
  if (p >= line_end || *p != '(') return -1;
  name_length = memo->length;
  return memo->index;
}

memo_key scan_memo_key(int flags) { return item_key(flags); }

std::string element_name_of(const array_entry& shape, const value_slot* slot) {
  std::uint32_t subscripts[max_array_dimensions] = {};
  const int count = static_cast<int>(shape.dimension_count < max_array_dimensions ? shape.dimension_count
                                                                                   : max_array_dimensions);
  std::size_t rest = shape.data && slot >= shape.data ? static_cast<std::size_t>(slot - shape.data) : 0;
  for (int k = count - 1; k >= 0; --k) {
    const std::size_t size = shape.dimension_sizes[k];
    subscripts[k] = size ? static_cast<std::uint32_t>(rest % size) : 0;
    rest = size ? rest / size : 0;
  }
  char text[current_name_size];
  format_element_name(text, array_name(shape), count, subscripts);
  return text;
}

scan_text_scope::scan_text_scope(std::string_view text)
    : text_(text), scan_(text_.data(), text_.data() + text_.size()) {}

scan_text_scope::~scan_text_scope() = default;

int get_item_from_text(const char* text, int flags, expr_item& item) {
  scan_text_scope scope(text ? text : "");
  return get_item(item, flags);
}

namespace {

// get_item past a remembered name: everything else an item may be, read from
// the text. c is the first non-blank character; key and stamp are those the
// remembered road looked under (key 0: none).
[[gnu::noinline]] int read_item(expr_item& item, int flags, char c, memo_key key, memo_stamp stamp);

}  // namespace

namespace {

// get_item, and at a statement start (double_targets) also the target of an
// assignment to a simple double or string variable, told apart by
// double_target_item and string_target_item.
template <bool double_targets>
[[gnu::always_inline]] inline int read_front(expr_item& item, int flags) {
  const bool name_unused = element_name_unused;
  element_name_unused = false;
  item.array = nullptr;
  item.value.bits = 0;
  item.type = ITEM_NONE;
  leave_no_name();
  char c = skip_blanks_here();
  item.column = scan_column_here();

  // A remembered name first: none of the steps before the name's own (ends,
  // marks, operators) applies to a letter, and DATA values are never
  // remembered. The remembered road is kept small: the rest is read_item.
  const memo_key key = is_letter(c) ? item_key(flags) : 0;
  const memo_stamp stamp = memo.stamp;
  if (key != 0) {
    if (const item_memo* memo = memo_find(key, flags)) {
      // The two kinds met most, as remembered_item takes them.
      if (memo->kind == MEMO_TOKEN) {
        take_remembered_name(*memo);
        if (memo->item_type == ITEM_PREDEFINED) current_value_slot = nullptr;
        return token_item(item, memo->item_type, memo->index);
      }
      if (double_targets &&
          (memo->kind == MEMO_ELEMENT ||
           (memo->kind == MEMO_VARIABLE && (variable_table[memo->index].type == ITEM_DOUBLE ||
                                            variable_table[memo->index].type == ITEM_STRING))) &&
          run_remembered_assignment(key))
        return remembered_statement_item;
      if (memo->kind == MEMO_VARIABLE && variable_table[memo->index].type == ITEM_DOUBLE &&
          (user_call_chain == nullptr || memo->unhidden)) {
        take_remembered_name(*memo);
        value_slot& slot = variable_table[memo->index].value;
        current_value_slot = &slot;
        double_accumulator = slot.number;
        item.type = ITEM_DOUBLE;
        item.value.number = slot.number;
        return double_targets && memo->after == '=' ? double_target_item : static_cast<int>(ITEM_DOUBLE);
      }
      if (double_targets && memo->kind == MEMO_VARIABLE && memo->after == '=' &&
          variable_table[memo->index].type == ITEM_STRING && (user_call_chain == nullptr || memo->unhidden)) {
        // A simple string variable as an assignment's target: read as
        // fetch_slot reads it (its text in the accumulator).
        take_remembered_name(*memo);
        value_slot& slot = variable_table[memo->index].value;
        current_value_slot = &slot;
        set_accumulator_text(string_space_text(slot.string_offset));
        item.type = ITEM_STRING;
        return string_target_item;
      }
      int result = remembered_item(item, *memo, flags, name_unused);
      if (result != memo_missed) return result;
    }
  }
  return read_item(item, flags, c, key, stamp);
}

}  // namespace

int get_item(expr_item& item, int flags) { return read_front<false>(item, flags); }

int get_statement_item(expr_item& item) { return read_front<true>(item, GI_STATEMENT_START); }

namespace {

int read_item(expr_item& item, int flags, char c, memo_key key, memo_stamp stamp) {
  const bool declaring = flags & (GI_DIM | GI_LONG);
  // A bare-name read leaves the name it finds, or none where it meets no
  // name: never a text something earlier left (ERASE, SORT and DIM() take
  // the accumulator as the name).
  if (flags & GI_NAME_ONLY) set_accumulator_text("");

  // 1-4: list and line ends, DATA values.
  if (flags & GI_IN_PARENS) {
    if (c == '\0' || c == ':') return report_error_at(item.column, err_missing_right_parenthesis);
    if (c == ')') {
      ++scan_pointer;
      return ITEM_NONE;
    }
  }
  if (c == '\0' || c == ':') return ITEM_NONE;
  if ((flags & GI_LIST) && (c == ',' || c == ';')) {
    ++scan_pointer;
    return ITEM_NONE;
  }
  if (flags & GI_DATA_VALUE) return scan_data_value(item, flags);

  // 5: "??", "?" and "//" are statements anywhere.
  char next = char_at(1);
  int short_statement = -1;
  if (c == '?') short_statement = next == '?' ? STMT_DEBUGPRINT : STMT_PRINT;
  else if (c == '/' && next == '/') short_statement = STMT_REM;
  if (short_statement >= 0) {
    if (flags & GI_UNEVALUATED) return -1;
    if (declaring) return report_error_at(item.column, err_statement_invalid_in_long_or);
    scan_pointer += short_statement == STMT_PRINT ? 1 : 2;
    return token_item(item, ITEM_STATEMENT, short_statement);
  }

  // 6: arithmetic operators.
  if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '%') {
    if (flags & GI_UNEVALUATED) return -1;
    if (declaring) return report_error_at(item.column, err_operator_invalid_in_long_or);
    ++scan_pointer;
    item.type = ITEM_OPERATOR;
    item.value.token = 0;
    item.value.op = c;
    return ITEM_OPERATOR;
  }

  // 7: comparisons; "=<", "=>" and "><" are two items.
  if (c == '<' || c == '>' || c == '=') {
    if (flags & GI_UNEVALUATED) return -1;
    if (declaring) return report_error_at(item.column, err_comparison_operator_invalid_in_long);
    int code;
    if (c == '<' && next == '=') code = REL_LESS_EQUAL;
    else if (c == '>' && next == '=') code = REL_GREATER_EQUAL;
    else if (c == '<' && next == '>') code = REL_NOT_EQUAL;
    else code = c == '=' ? REL_EQUAL : (c == '<' ? REL_LESS : REL_GREATER);
    scan_pointer += code >= REL_LESS_EQUAL ? 2 : 1;
    return token_item(item, ITEM_COMPARISON, code);
  }

  // 8-9: the name, from the text or through "@(".
  char name[max_name_length + 1];
  name[0] = '\0';
  int length;
  if (c == '@') {
    length = indirect_name(item, name);
  } else {
    const char* p = scan_pointer;
    length = scan_name_at(p, line_end, name, item.column);
    if (length > 0) scan_pointer = p;
  }
  if (length < 0) return length;
  char_after_name = peek_nonblank_here();
  if (length > 0) {
    static_assert(max_name_length < current_name_size);
    copy_short(current_name, name, static_cast<std::size_t>(length) + 1);  // with its NUL
  }

  // 10: bare name.
  if (flags & GI_NAME_ONLY) {
    set_accumulator_text(name);
    return ITEM_NONE;
  }

  // 11: keyword tables and user-defined functions.
  name_resolution* resolution =
      length > 0 ? resolve_name(std::string_view(name, static_cast<std::size_t>(length))) : nullptr;
  memo_note note;
  if (length > 0) {
    int result = keyword_item(item, name, static_cast<std::size_t>(length), flags, resolution, note);
    if (result != not_a_keyword) {
      if (result >= 0) memo_store(key, stamp, note, flags, static_cast<std::size_t>(length));
      return result;
    }
  }

  // 12: DEF names.
  if (flags & GI_DEF_NAME) {
    set_current_name(name);
    return ITEM_NOT_FOUND;
  }
  if (length == 0) return non_name_item(item, flags);

  const bool has_subscripts = char_after_name == '(';
  if (has_subscripts && (flags & GI_UNEVALUATED)) return -1;

  if (!has_subscripts) {
    // 14: pre-scan values and whole arrays.
    if (prescan_mode && !(flags & (GI_LOOKUP_ONLY | GI_UNEVALUATED))) {
      current_value_slot = nullptr;
      if (name_is_string(name)) {
        set_accumulator_text("");
        return take_result(item, ITEM_STRING);
      }
      double_accumulator = 0.0;
      return take_result(item, ITEM_DOUBLE);
    }
    int index = resolved_array(resolution, std::string_view(name, static_cast<std::size_t>(length)));
    if (index >= 0) {
      array_entry& entry = array_table[index];
      current_value_slot = nullptr;
      item.array = &entry;
      item.type = entry.type == ITEM_STRING ? ITEM_STRING_ARRAY
                  : entry.type == ITEM_LONG ? ITEM_LONG_ARRAY
                                            : ITEM_NUMERIC_ARRAY;
      return static_cast<int>(item.type);
    }
    // 16: DIM needs subscripts.
    if (flags & GI_DIM) return report_error_here(err_no_subscripts_for_array_definition);
    // 17-20.
    int result = plain_name(item, name, flags, resolution, note);
    if (result >= 0 && note.kind != MEMO_EMPTY) memo_store(key, stamp, note, flags, static_cast<std::size_t>(length));
    return result;
  }

  // 15: an element, or a declaration.
  skip_blanks_here();
  int index = resolved_array(resolution, std::string_view(name, static_cast<std::size_t>(length)));
  if (index >= 0) {
    // A DIM passed over (a loop's body after its last pass, a false IF) is
    // only read: the array it made on an earlier pass is no error then.
    if (declaring && no_execute) return declare_array(item, name, flags);
    if (declaring) return report_error_at(item.column, err_array_already_dimensioned);
    if (key != 0) {
      note.kind = MEMO_ELEMENT;
      note.index = index;
      memo_store(key, stamp, note, flags, static_cast<std::size_t>(length));
    }
    return array_element(item, index, flags);
  }
  if (declaring) return declare_array(item, name, flags);
  if (no_execute) {
    temp_level_guard levels;
    expr_item list[max_parameters];
    int count = 0;
    int result = get_parameter_list(&count, list);
    levels.restore();
    if (result < 0) return result;
    double_accumulator = 0.0;
    return take_result(item, ITEM_DOUBLE);
  }
  if (flags & GI_LOOKUP_ONLY) return -1;
  print_text("\n" + std::string(name) + "\n");
  return report_error_at(item.column, err_name_not_function_or_dimsioned);
}

}  // namespace

// ---------------------------------------------------------------- literals

int scan_number_literal(expr_item& item, int flags) {
  char c = current_char();
  if (!(is_digit(c) || c == '.' || c == '+' || c == '-')) return 0;
  const char* start = scan_pointer;
  const char* p = scan_pointer;
  if (*p == '+' || *p == '-') ++p;
  bool point = false;
  int digits = 0;
  while (p < line_end && (is_digit(*p) || *p == '.')) {
    if (*p == '.') {
      if (point) return report_error_here(err_more_than_one_decimal_point);
      point = true;
    } else {
      ++digits;
    }
    ++p;
    scan_pointer = p;
  }
  if (digits == 0) return report_error_at(item.column, err_number_initializer_contains_no_digits);
  if (p < line_end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < line_end && (*p == '+' || *p == '-')) ++p;
    if (!(p < line_end && is_digit(*p))) {
      scan_pointer = p;
      return report_error_at(item.column, err_invalid_format_for_number_initializer);
    }
    while (p < line_end && is_digit(*p)) ++p;
  }
  scan_pointer = p;
  std::size_t length = static_cast<std::size_t>(p - start);
  if (length > max_literal_length) return report_error_at(item.column, err_number_initializer_contains_too_many);
  leave_text(start, length);
  item.type = ITEM_NUMERIC_TEXT;
  return (flags & GI_STATEMENT_START) ? ITEM_NUMBER_AT_START : ITEM_NUMERIC_TEXT;
}

int scan_string_literal(expr_item& item, int flags) {
  if (current_char() != '"') return 0;
  const char* p = scan_pointer + 1;
  std::size_t length = 0;
  char text[max_string_literal + 1];
  for (;;) {
    if (p >= line_end || *p == '\0' || *p == '\r' || *p == '\n') {
      scan_pointer = p;
      return report_error_at(item.column, err_string_not_terminated_with_quote);
    }
    char c = *p++;
    if (c == '"') break;
    if (c == '\\') {
      if (p >= line_end || *p == '\0' || *p == '\r' || *p == '\n') {
        scan_pointer = p;
        return report_error_at(item.column, err_string_not_terminated_with_quote);
      }
      char e = *p++;
      c = e == 'r' ? '\r' : e == 'n' ? '\n' : e == '+' ? '\x0F' : e == '-' ? '\x0E' : e;
    }
    if (length >= max_string_literal) {
      scan_pointer = p;
      return report_error_at(item.column, err_string_too_long);
    }
    text[length++] = c;
  }
  scan_pointer = p;
  leave_text(text, length);
  item.type = ITEM_STRING;
  return (flags & GI_STATEMENT_START) ? ITEM_STRING_AT_START : ITEM_STRING;
}

namespace {

bool data_value_ends_at(const char* p) {
  return p >= line_end || *p == '\0' || *p == ':' || *p == ',' || (*p == '/' && p + 1 < line_end && p[1] == '/');
}

bool starts_number(const char* p) {
  if (p < line_end && (*p == '+' || *p == '-')) ++p;
  if (p < line_end && *p == '.') ++p;
  return p < line_end && is_digit(*p);
}

}  // namespace

int scan_data_value(expr_item& item, int flags) {
  skip_blanks_here();
  item.column = scan_column_here();
  if (current_char() == '"') return scan_string_literal(item, flags & ~GI_STATEMENT_START);

  if (starts_number(scan_pointer)) {
    int result = scan_number_literal(item, flags & ~GI_STATEMENT_START);
    if (result < 0) return result;
    const char* p = blanks_passed(scan_pointer);
    if (data_value_ends_at(p)) return result;
    if (flags & GI_NUMBER_THEN_TEXT) {
      item.type = ITEM_NUMBER_WITH_TEXT;
      return ITEM_NUMBER_WITH_TEXT;
    }
    return report_error_here(err_missing_comma_following_data_value);
  }

  const char* start = scan_pointer;
  const char* p = scan_pointer;
  while (!data_value_ends_at(p) && !((flags & GI_WORD) && (*p == ' ' || *p == '=')) && *p != '\r' && *p != '\n') ++p;
  scan_pointer = p;
  std::size_t length = static_cast<std::size_t>(p - start);
  if (length > max_string_length) return report_error_at(item.column, err_string_too_long);
  while (length > 0 && (start[length - 1] == ' ' || start[length - 1] == '\t')) --length;
  if (length == 0) return ITEM_NONE;
  leave_text(start, length);
  item.type = ITEM_STRING;
  char_after_name = peek_nonblank_here();
  return ITEM_STRING;
}
