// do_function: the dispatch of the built-in functions, their argument checks,
// and the string and conversion functions. The numeric functions live in
// functions_math.cpp, their double kernels in functions_numeric.cpp.
#include "interpreter/functions.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "interpreter/conversions.h"
#include "interpreter/data_read.h"
#include "interpreter/datetime.h"
#include "interpreter/errors.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/functions_internal.h"
#include "interpreter/keywords.h"
#include "interpreter/number_format.h"
#include "interpreter/output_channels.h"
#include "interpreter/pending.h"
#include "interpreter/program_dialogs.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/serial.h"
#include "interpreter/statements.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

int degrees_mode = 0;

// ---------------------------------------------------------------- shared helpers

int function_column = 0;
int function_name_column = 0;

int argument_error(const expr_item& argument, int code) {
  return report_error_at(argument.column, code);
}

int argument_count_error(const expr_item* arguments, int count) {
  if (count > 0) error_column = static_cast<int>(arguments[0].column);
  return report_error(err_incorrect_number_parameters);
}

int result_double(double value) {
  double_accumulator = value;
  return ITEM_DOUBLE;
}

int infinite_result_error() { return report_error_at(function_name_column, err_result_was_infinite); }

int result_finite_double(double value) {
  if (std::isinf(value)) return infinite_result_error();
  return result_double(value);
}

int result_text(std::string_view text, int type) {
  std::size_t n = text.size() < max_string_length ? text.size() : max_string_length;
  if (n > 0) std::memmove(string_accumulator, text.data(), n);
  string_accumulator[n] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(n);
  return type;
}

bool argument_text(const expr_item& argument, std::string_view& text) {
  if (argument.type != ITEM_STRING) return false;
  const char* t = temp_string_text(static_cast<std::uint32_t>(argument.value.bits));
  text = std::string_view(t, std::strlen(t));
  return true;
}

int string_argument(const expr_item& argument, std::string_view& text) {
  if (!argument_text(argument, text)) return argument_error(argument, 146);
  return 0;
}

int double_argument(expr_item& argument, double& value) {
  if (argument.type != ITEM_DOUBLE) {
    int t = item_to_double(argument);
    if (t < 0) return t;
    if (argument.type != ITEM_DOUBLE) return argument_error(argument, 144);
  }
  value = argument.value.number;
  return 0;
}

// ---------------------------------------------------------------- string functions

namespace {

// A count argument that must lie in 0 .. 255 (error 68 at the argument).
int byte_argument(expr_item& argument, int& value) {
  double v = 0;
  if (int r = double_argument(argument, v); r < 0) return r;
  if (!(v >= 0.0 && v < 256.0)) return argument_error(argument, 68);
  value = static_cast<int>(v);  // 0 .. 255 after the check
  return 0;
}

// The texts CHR$, LEFT$, RIGHT$ and MID$ give for arguments their checks
// passed (code in 0 .. 255, n and length at least 0, start at least 1).
std::string_view chr_text(int code, char& room) {
  room = static_cast<char>(code);
  return code == 0 ? std::string_view() : std::string_view(&room, 1);
}

std::string_view left_right_text(int token, std::string_view s, double n) {
  std::size_t take = n >= static_cast<double>(max_string_length) ? max_string_length
                                                                 : static_cast<std::size_t>(n);
  if (take > s.size()) take = s.size();
  return token == FUNC_LEFT_STR ? s.substr(0, take) : s.substr(s.size() - take);
}

std::string_view mid_text(std::string_view s, double start, double length) {
  if (start > static_cast<double>(s.size())) return {};
  std::size_t from = static_cast<std::size_t>(start) - 1;  // 0 .. size-1 after the checks
  std::size_t take = length >= static_cast<double>(max_string_length)
                         ? max_string_length
                         : static_cast<std::size_t>(length);
  return s.substr(from, take);
}

int func_chr(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  int code = 0;
  if (int r = byte_argument(a[0], code); r < 0) return r;
  char room = 0;
  return result_text(chr_text(code, room), ITEM_STRING);
}

int func_left_right(int token, expr_item* a, int count) {
  if (count != 2) return argument_count_error(a, count);
  std::string_view s;
  if (int r = string_argument(a[0], s); r < 0) return r;
  double n = 0;
  if (int r = double_argument(a[1], n); r < 0) return r;
  if (!(n >= 0.0)) return argument_error(a[1], 181);  // also refuses NaN
  return result_text(left_right_text(token, s, n), ITEM_STRING);
}

int func_mid(expr_item* a, int count) {
  if (count != 2 && count != 3) return argument_count_error(a, count);
  std::string_view s;
  if (int r = string_argument(a[0], s); r < 0) return r;
  double start = 0;
  if (int r = double_argument(a[1], start); r < 0) return r;
  if (!(start >= 1.0)) return argument_error(a[1], 65);
  double length = static_cast<double>(max_string_length);
  if (count == 3) {
    if (int r = double_argument(a[2], length); r < 0) return r;
    if (!(length >= 0.0)) return argument_error(a[2], 66);
  }
  return result_text(mid_text(s, start, length), ITEM_STRING);
}

int func_hex(expr_item* a, int count) {
  if (count != 1 && count != 2) return argument_count_error(a, count);
  double fill = -1.0;
  if (count == 2) {
    if (int r = double_argument(a[1], fill); r < 0) return r;
    if (!(fill >= -1.0 && fill <= 2.0)) return argument_error(a[1], 207);
  }
  double n = 0;
  if (int r = double_argument(a[0], n); r < 0) return r;
  char text[32];
  int code = hex_text(n, fill, text, sizeof text);
  if (code != 0) return argument_error(code == 207 ? a[1] : a[0], code);
  return result_text(text, ITEM_STRING);
}

int func_len(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  std::string_view s;
  if (argument_text(a[0], s)) return result_double(static_cast<double>(s.size()));
  if (a[0].type == ITEM_STRING_ARRAY && a[0].array) {
    const array_entry& entry = *a[0].array;
    std::size_t elements = array_element_count(entry);
    double total = 0;
    for (std::size_t i = 0; i < elements; ++i)
      total += static_cast<double>(std::strlen(string_space_text(entry.data[i].string_offset)));
    return result_double(total);
  }
  return argument_error(a[0], 146);
}

int func_asc(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  std::string_view s;
  if (int r = string_argument(a[0], s); r < 0) return r;
  return result_double(s.empty() ? 0.0 : static_cast<unsigned char>(s[0]));
}

int func_string(expr_item* a, int count) {
  if (count != 2) return argument_count_error(a, count);
  int n = 0;
  if (int r = byte_argument(a[0], n); r < 0) return r;
  int code = 0;
  std::string_view s;
  if (argument_text(a[1], s)) {
    code = s.empty() ? 0 : static_cast<unsigned char>(s[0]);
  } else if (int r = byte_argument(a[1], code); r < 0) {
    return r;
  }
  // A NUL ends a string, so a NUL character repeated is the empty string.
  if (code == 0) n = 0;
  return result_text(std::string(static_cast<std::size_t>(n), static_cast<char>(code)), ITEM_STRING);
}

int func_space(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  int n = 0;
  if (int r = byte_argument(a[0], n); r < 0) return r;
  return result_text(std::string(static_cast<std::size_t>(n), ' '), ITEM_STRING);
}

int func_instr(expr_item* a, int count) {
  if (count != 2 && count != 3) return argument_count_error(a, count);
  double start = 1.0;
  int first = 0;
  if (count == 3) {
    if (int r = double_argument(a[0], start); r < 0) return r;
    first = 1;
  }
  std::string_view s, t;
  if (int r = string_argument(a[first], s); r < 0) return r;
  if (int r = string_argument(a[first + 1], t); r < 0) return r;
  return result_double(instr_position(start, s.data(), s.size(), t.data(), t.size()));
}

int func_val(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  std::string_view s;
  if (int r = string_argument(a[0], s); r < 0) return r;
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
  s.remove_prefix(i);
  if (s.empty() || s == ".") return result_text("0", ITEM_NUMERIC_TEXT);

  // Scan the rest as a number literal over a copy of its own: the scanner
  // reads at scan_pointer, so the statement's scan state is kept aside.
  char text[max_string_length + 1];
  std::memcpy(text, s.data(), s.size());
  text[s.size()] = '\0';
  int r = 0;
  {
    scan_text_guard scan(text, text + s.size());
    expr_item number{};
    r = scan_number_literal(number, 0);
  }
  if (r < 0) return r;
  if (r == 0) return result_text("0", ITEM_NUMERIC_TEXT);
  return ITEM_NUMERIC_TEXT;  // the literal's text is in string_accumulator
}

int func_case(int token, expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  std::string_view s;
  if (int r = string_argument(a[0], s); r < 0) return r;
  std::string out(s);
  for (char& c : out) {
    if (token == FUNC_TOLOWER_STR && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (token == FUNC_TOUPPER_STR && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result_text(out, ITEM_STRING);
}

// STR$ formats with a format of its own and leaves the print state of an
// enclosing PRINT (its format and USING flag) as it found it.
int func_str(expr_item* a, int count) {
  if (count != 1 && count != 2) return argument_count_error(a, count);
  std::string saved_format(print_format);
  int saved_is_default = print_format_is_default;
  int saved_using = print_using_active;

  std::string format;
  int result = 0;
  print_format_is_default = 0;
  print_using_active = 0;
  if (count == 1) {
    load_printformat();
    format = print_format;
  } else {
    std::string_view f;
    result = string_argument(a[1], f);
    format = f;
    print_using_active = 1;
  }
  bool is_default = print_format_is_default != 0;
  if (result >= 0) {
    if (format.size() == 3 && std::tolower(static_cast<unsigned char>(format[0])) == 'm' &&
        std::tolower(static_cast<unsigned char>(format[1])) == 'a' &&
        std::tolower(static_cast<unsigned char>(format[2])) == 'x')
      format = "%23.18g";
    if (is_default) format = "%23.16g";

    if (count == 2 && a[0].type == ITEM_LONG) {
      result = format_long_number(a[0].value.long_value, format);
    } else {
      double value = 0;
      result = double_argument(a[0], value);
      if (result >= 0) result = format_number(format, value);
    }
  }
  if (result >= 0 && is_default) {
    std::size_t blanks = 0;
    while (string_accumulator[blanks] == ' ') ++blanks;
    std::string_view trimmed(string_accumulator + blanks);
    std::string copy(trimmed);
    result_text(copy, ITEM_STRING);
  }
  std::snprintf(print_format, print_format_size, "%s", saved_format.c_str());
  print_format_is_default = saved_is_default;
  print_using_active = saved_using;
  if (result < 0) return result;
  string_accumulator_length = static_cast<std::int32_t>(std::strlen(string_accumulator));
  return ITEM_STRING;
}

int func_tab(expr_item* a, int count) {
  if (!tab_allowed) return report_error(err_tab_function_only_valid_in);
  if (count != 1) return argument_count_error(a, count);
  double n = 0;
  if (int r = double_argument(a[0], n); r < 0) return r;
  double width = channel_in_range(current_channel) ? file_table[current_channel].width : 0;
  if (!(n >= 0.0)) n = 0.0;  // also NaN
  if (n > width) n = width;
  return result_double(n);
}

int func_setcolor(expr_item* a, int count) {
  if (count != 3) return argument_count_error(a, count);
  double parts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    if (int r = double_argument(a[i], parts[i]); r < 0) return r;
    if (!(parts[i] >= 0.0 && parts[i] <= 255.0)) return argument_error(a[i], 252);
  }
  return result_double(std::trunc(parts[0]) + 256.0 * std::trunc(parts[1]) +
                       65536.0 * std::trunc(parts[2]));
}

int func_read_probe(expr_item* arguments, int count) {
  if (count != 0) return argument_count_error(arguments, count);
  int r = stmt_read(1);
  if (r < 0) return r;
  return result_double(data_probe_kind);
}

}  // namespace

// ---------------------------------------------------------------- dispatch

int do_function(int token, expr_item* arguments, int count) {
  // A call with no arguments is refused before anything else, even while
  // skipping; user functions, the two date functions and the read() probe
  // are the ones written with an empty list.
  if (count == FUNCTION_NO_ARGUMENT_LIST || count == 0) {
    if (token != FUNC_USER_FUNCTION && token != FUNC_FORMATDATETIME_STR && token != FUNC_MAKEDATETIME &&
        token != FUNC_READ)
      return report_error(err_missing_parameter_list_for_function);
    count = 0;
  }
  if (no_execute) {  // skipped statement: no function is evaluated
    double_accumulator = 0.0;
    string_accumulator[0] = '\0';
    string_accumulator_length = 0;
    return ITEM_DOUBLE;
  }
  if (token < 0 || token >= function_token_count) return -1;
  if (count < 0 || count > 7) return report_error(err_incorrect_number_parameters);
  function_column = error_column;

  switch (token) {
    case FUNC_CHR_STR: return func_chr(arguments, count);
    case FUNC_LEFT_STR:
    case FUNC_RIGHT_STR: return func_left_right(token, arguments, count);
    case FUNC_MID_STR: return func_mid(arguments, count);
    case FUNC_HEX_STR: return func_hex(arguments, count);
    case FUNC_LEN: return func_len(arguments, count);
    case FUNC_STR_STR: return func_str(arguments, count);
    case FUNC_ASC: return func_asc(arguments, count);
    case FUNC_STRING_STR: return func_string(arguments, count);
    case FUNC_SPACE_STR: return func_space(arguments, count);
    case FUNC_INSTR: return func_instr(arguments, count);
    case FUNC_VAL: return func_val(arguments, count);
    case FUNC_TAB: return func_tab(arguments, count);
    case FUNC_READ: return func_read_probe(arguments, count);
    case FUNC_EOF: return func_eof(arguments, count);
    case FUNC_INPUT: return func_input(arguments, count);
    case FUNC_OPEN: return func_open(arguments, count);
    case FUNC_FILESIZE: return func_filesize(arguments, count);
    case FUNC_USER_FUNCTION: return call_user_function(arguments, count);
    case FUNC_BROWSEINPUTFILE_STR: return func_browseinputfile(arguments, count);
    case FUNC_BROWSEOUTPUTFILE_STR: return func_browseoutputfile(arguments, count);
    case FUNC_BROWSECOMMPORTS_STR: return func_browsecommports(arguments, count);
    case FUNC_FORMATDATETIME_STR: return func_formatdatetime(arguments, count);
    case FUNC_EXPANDDATETIME:
      return report_error_at(function_column, err_invalid_function_call);
    case FUNC_MAKEDATETIME: return func_makedatetime(arguments, count);
    case FUNC_SETCOLOR: return func_setcolor(arguments, count);
    case FUNC_MESSAGEBOX: return func_messagebox(arguments, count);
    case FUNC_INPUTDIALOG: return func_inputdialog(arguments, count);
    case FUNC_UPDATEDIALOG: return func_updatedialog(arguments, count);
    case FUNC_SELECT: return func_select(arguments, count);
    case FUNC_TOLOWER_STR:
    case FUNC_TOUPPER_STR: return func_case(token, arguments, count);
    default: return numeric_function(token, arguments, count);
  }
}

bool pure_string_value(int token, const pure_argument* a, int count, std::string_view& text, char& room) {
  auto is_number = [&](int k) { return k < count && !a[k].is_string; };
  switch (token) {
    case FUNC_CHR_STR:
      if (count != 1 || !is_number(0) || !(a[0].value >= 0.0 && a[0].value < 256.0)) return false;
      text = chr_text(static_cast<int>(a[0].value), room);
      return true;
    case FUNC_LEFT_STR:
    case FUNC_RIGHT_STR:
      if (count != 2 || !a[0].is_string || !is_number(1) || !(a[1].value >= 0.0)) return false;
      text = left_right_text(token, a[0].text, a[1].value);
      return true;
    case FUNC_MID_STR: {
      if ((count != 2 && count != 3) || !a[0].is_string || !is_number(1) || !(a[1].value >= 1.0)) return false;
      double length = static_cast<double>(max_string_length);
      if (count == 3) {
        if (!is_number(2) || !(a[2].value >= 0.0)) return false;
        length = a[2].value;
      }
      text = mid_text(a[0].text, a[1].value, length);
      return true;
    }
    default:
      return false;
  }
}

bool pure_text_number(int token, const pure_argument* a, int count, double& out) {
  switch (token) {
    case FUNC_LEN:
      if (count != 1 || !a[0].is_string) return false;
      out = static_cast<double>(a[0].text.size());
      return true;
    case FUNC_ASC:
      if (count != 1 || !a[0].is_string) return false;
      out = a[0].text.empty() ? 0.0 : static_cast<unsigned char>(a[0].text[0]);
      return true;
    case FUNC_INSTR: {
      if (count != 2 && count != 3) return false;
      const int first = count - 2;
      if ((count == 3 && a[0].is_string) || !a[first].is_string || !a[first + 1].is_string) return false;
      const std::string_view s = a[first].text, t = a[first + 1].text;
      out = instr_position(count == 3 ? a[0].value : 1.0, s.data(), s.size(), t.data(), t.size());
      return true;
    }
    default:
      return false;
  }
}
