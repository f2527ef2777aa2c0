// User-defined functions: DEF parses a definition (the pre-scan keeps it in
// the function table), and a call binds its arguments in a frame of its own
// and evaluates the body text, either as an expression or by running its
// GOSUB on the program buffer.
#include "interpreter/user_functions.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <strings.h>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/functions.h"
#include "interpreter/output.h"
#include "interpreter/output_channels.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/memo.h"
#include "rizozira/long_number.h"

user_function* user_function_table[user_function_capacity] = {};
int user_function_count = 0;
int user_function_index = -1;
user_call_frame* user_call_chain = nullptr;
int user_call_depth = 0;
int user_call_too_deep = 0;

namespace {

// strcasecmp(a, b) == 0 without the library call for the usual answers: the
// same spelling, or a first ASCII letter that differs in more than its case.
// Whatever else the names hold is left to strcasecmp.
bool same_name(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x == y) {
      if (x == 0) return true;
      continue;
    }
    if (x < 0x80 && y < 0x80 && (x | 0x20) != (y | 0x20)) return false;
    return strcasecmp(a, b) == 0;
  }
}

}  // namespace

int find_user_function(const char* name) {
  for (int i = 0; i < user_function_count; ++i)
    if (same_name(user_function_table[i]->name, name)) return i;
  return -1;
}

int find_user_function_parameter(const char* name, value_slot** slot) {
  for (user_call_frame* frame = user_call_chain; frame; frame = frame->outer) {
    const user_function* f = frame->function;
    for (std::uint32_t i = 0; i < f->param_count; ++i) {
      if (same_name(f->params[i].name, name)) {
        *slot = &frame->params[i].value;
        return static_cast<int>(frame->params[i].type);
      }
    }
  }
  return 0;
}

bool is_user_function_parameter_name(std::string_view name) {
  if (name.size() > user_function_name_max) return false;
  char text[user_function_name_max + 1];
  std::memcpy(text, name.data(), name.size());
  text[name.size()] = '\0';
  for (int i = 0; i < user_function_count; ++i) {
    const user_function* f = user_function_table[i];
    for (std::uint32_t k = 0; k < f->param_count; ++k)
      if (same_name(f->params[k].name, text)) return true;
  }
  return false;
}

int is_user_function_parameter_slot(const void* slot) {
  if (!slot) return 0;
  for (user_call_frame* frame = user_call_chain; frame; frame = frame->outer)
    for (std::uint32_t i = 0; i < frame->function->param_count; ++i)
      if (slot == &frame->params[i].value) return 1;
  return 0;
}

void clear_user_functions() {
  for (int i = 0; i < user_function_count; ++i) {
    delete user_function_table[i];
    user_function_table[i] = nullptr;
  }
  user_function_count = 0;
  user_function_index = -1;
  memo_changed();
  user_call_chain = nullptr;
  user_call_depth = 0;
  user_call_too_deep = 0;
}

namespace {

// Copies a name into a record field of user_function_name_max characters.
void copy_name(char* destination, const char* source) {
  const std::size_t length = strnlen(source, user_function_name_max);
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

// True when the text at p is the word GOSUB (any case) standing alone.
bool at_gosub_word(const char* p, const char* end) {
  static const char word[] = "gosub";
  for (int i = 0; i < 5; ++i) {
    if (p + i >= end) return false;
    char c = p[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  if (p + 5 >= end) return true;
  char next = p[5];
  bool name_char = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
                   (next >= '0' && next <= '9') || next == '_' || next == '$';
  return !name_char;
}

int parse_parameters(user_function* f) {
  for (;;) {
    if (skip_blanks() == ')') break;
    if (f->param_count == user_function_max_params) break;
    expr_item item{};
    int saved_no_execute = no_execute;
    no_execute = 1;  // a parameter's name must not create a variable
    int r = get_item(item, GI_UNEVALUATED);
    no_execute = saved_no_execute;
    if (r < 0 || (r != ITEM_DOUBLE && r != ITEM_STRING && r != ITEM_LONG) || current_name[0] == '\0' ||
        std::strchr(current_name, '(')) {
      return report_error_at(item.column, err_invalid_argument);
    }
    user_function_param& p = f->params[f->param_count++];
    copy_name(p.name, current_name);
    p.type = static_cast<std::uint32_t>(r);
    if (skip_blanks() != ',') break;
    ++scan_pointer;
  }
  if (skip_blanks() != ')') return report_error_here(err_missing_right_parenthesis);
  ++scan_pointer;
  return 0;
}

// A body the pre-scan reads from the program text is remembered under the
// offsets of the function bodies (memo.h) when the text there is the body up
// to the line's end (the copy every call scans).
void note_body_text(user_function* f, const char* body_start, std::size_t length) {
  f->text_origin = 0;
  if (!prescan_mode || memo.off || !program_buffer || !line_start || body_start < line_start ||
      std::memchr(body_start, '\0', length) != nullptr)
    return;
  const std::uint64_t at = static_cast<std::uint64_t>(program_offset) + static_cast<std::uint64_t>(body_start - line_start);
  const std::uint64_t end = at + length;
  if (end > program_length || end + 1 >= body_text_base || std::memcmp(program_buffer + at, body_start, length) != 0)
    return;
  if (end < program_length && program_buffer[end] != '\r' && program_buffer[end] != '\n') return;
  f->text_origin = body_text_base + static_cast<std::uint32_t>(at) + 1;
  f->text_epoch = memo.epoch;
}

int parse_body(user_function* f) {
  skip_blanks();
  const char* body_start = scan_pointer;
  if (at_gosub_word(scan_pointer, line_end)) {
    scan_pointer += 5;
    skip_blanks();
    int saved_prescan = prescan_mode;
    prescan_mode = 0;  // the number is a target, not this line's own number
    int r = get_statement_number(0);
    prescan_mode = saved_prescan;
    if (r < 0) return r;
    if (r == 0) return report_error_here(err_missing_statement_number);
    char c = skip_blanks();
    if (c != '\0' && c != ':' && scan_pointer < line_end) return report_error_here(err_expect_colon_or_end_line);
    f->kind = 1;
  } else {
    int saved_no_execute = no_execute;
    no_execute = 1;  // only the syntax is checked
    int r = evaluate_expression_release_temps(0);
    no_execute = saved_no_execute;
    if (r < 0) return report_error(err_return_evaluate_expression);
    f->kind = 0;
  }
  std::size_t length = static_cast<std::size_t>(line_end - body_start);
  while (length && (body_start[length - 1] == '\r' || body_start[length - 1] == '\n')) --length;
  if (length > user_function_body_max) {
    return report_error_at(body_start - statement_start, err_invalid_statement);
  }
  std::memcpy(f->body, body_start, length);
  f->body[length] = '\0';
  note_body_text(f, body_start, length);
  return 0;
}

}  // namespace

int stmt_def(user_function** record) {
  expr_item name_item{};
  int r = get_item(name_item, GI_DEF_NAME);
  if (r < 0) return r;
  std::uint32_t name_column = name_item.column;
  if (r == ITEM_NOT_FOUND && current_name[0] == '\0') return report_error_at(name_column, err_invalid_name);
  if (r == ITEM_LOGICAL || r == ITEM_COMMAND || r == ITEM_STATEMENT || r == ITEM_PREDEFINED ||
      r == ITEM_FUNCTION || r == ITEM_SPECIAL_NAME) {
    return report_error_at(name_column, err_reserved_word_not_valid_for);
  }
  if (r != ITEM_NOT_FOUND) {
    return report_error_at(name_column, err_invalid_name);
  }
  std::string name(current_name);
  if (skip_blanks() != '(') return report_error_here(err_expect_left_parenthesis);
  ++scan_pointer;

  auto* f = new (std::nothrow) user_function{};
  if (!f) return report_error(err_unable_to_allocate_storage_for_197);
  *record = f;
  copy_name(f->name, name.c_str());

  if ((r = parse_parameters(f)) < 0) return r;
  if (skip_blanks() != '=') return report_error_here(err_expect_equal_sign);
  ++scan_pointer;
  if ((r = parse_body(f)) < 0) return r;

  if (!prescan_mode) return 0;  // at run time DEF only checks its syntax
  for (int i = 0; i < user_function_count; ++i) {
    if (std::strcmp(user_function_table[i]->name, f->name) == 0) {
      return report_error_at(name_column, err_duplicate_user_defined_function_name);
    }
  }
  if (user_function_count >= user_function_capacity) {
    return report_error_at(name_column, err_too_many_user_defined_functions);
  }
  user_function_table[user_function_count++] = f;
  memo_changed();
  return 0;
}

int stmt_def_statement() {
  user_function* record = nullptr;
  int r = stmt_def(&record);
  bool kept = false;
  for (int i = 0; i < user_function_count; ++i)
    if (user_function_table[i] == record) kept = true;
  if (!kept) delete record;
  return r;
}

int run_def_gosub_body() {
  // The body line is appended behind the program, after an "end" line that
  // keeps a program running off its last line out of it.
  static const char end_line[] = "\r\nend\r\n";
  std::size_t body_length = std::strlen(line_start ? line_start : "");
  std::uint64_t needed = static_cast<std::uint64_t>(program_length) + body_length + 10;
  if (!program_buffer || needed > program_buffer_size) {
    print_text("Insufficient program file buffer space.\n");
    return -1;  // the call then reports its failure: no value was computed
  }
  std::uint32_t old_length = program_length;
  char* p = program_buffer + old_length;
  // The body's text keeps the origin it is scanned under (none elsewhere).
  const appended_body saved_body_line = appended_body_line;
  appended_body_line.offset = old_length + 7;
  appended_body_line.origin = line_text_epoch == memo.epoch ? line_text_origin : 0;
  std::memcpy(p, end_line, 7);
  std::memcpy(p + 7, line_start, body_length);
  std::memcpy(p + 7 + body_length, "\r\n", 2);
  program_length = old_length + 7 + static_cast<std::uint32_t>(body_length) + 2;
  program_buffer[program_length] = '\0';

  std::uint32_t saved_offset = program_offset;
  std::uint32_t saved_next = next_line_offset;
  std::uint32_t saved_line_number = line_statement_number;
  int saved_first_data = first_data_on_line;
  int saved_return_seen = blocks.return_seen;
  // The body's statements clear the TAB permission of the PRINT item the
  // call may stand in; the item gets it back.
  const int saved_tab_allowed = tab_allowed;
  int r = 0;
  {
    block_frame frame;
    enter_outermost_blocks();
    program_offset = old_length + 7;
    blocks.resume_at_body = 0;
    r = run_program_lines();
  }
  tab_allowed = saved_tab_allowed;
  appended_body_line = saved_body_line;
  blocks.return_seen = saved_return_seen;
  program_offset = saved_offset;
  next_line_offset = saved_next;
  line_statement_number = saved_line_number;
  first_data_on_line = saved_first_data;
  program_length = old_length;
  program_buffer[old_length] = '\0';
  if (r < 0) return r;
  return blocks.return_value_type;
}

void trace_user_function(const user_function* f, const user_call_frame* frame) {
  if (!f) return;
  int saved_channel = current_channel;
  current_channel = 0;
  std::string text = "User-Defined Function Name = ";
  text += f->name;
  text += "\nexpression = ";
  text += f->body;
  text += '\n';
  print_text(text);
  for (std::uint32_t i = 0; i < f->param_count; ++i) {
    std::string line = f->params[i].name;
    line += " = ";
    std::uint32_t type = frame ? frame->params[i].type : f->params[i].type;
    if (type == ITEM_STRING) {
      line += frame ? temp_string_text(frame->params[i].value.string_offset) : "";
    } else if (type == ITEM_LONG) {
      line += "(RizoZira var.)";
    } else {
      char number[48];
      std::snprintf(number, sizeof number, "(Float var.) %23.18g", frame ? frame->params[i].value.number : 0.0);
      line += number;
    }
    line += '\n';
    print_text(line);
    if (type == ITEM_LONG && frame && frame->params[i].value.long_value)
      long_debug_dump(f->params[i].name, frame->params[i].value.long_value, 1);
  }
  print_text("\n");
  current_channel = saved_channel;
}

int call_user_function(expr_item* arguments, int count) {
  int call_column = function_name_column;  // the body's calls overwrite it
  if (user_function_index < 0 || user_function_index >= user_function_count)
    return report_error(err_return_user_defined_function);
  user_function* f = user_function_table[user_function_index];

  // Only the definition's parameters are ever read: the rest of the frame
  // is left as it is.
  user_call_frame frame;
  frame.function = f;
  frame.outer = nullptr;
  frame.double_params = 0;
  frame.index = static_cast<std::uint32_t>(user_function_index);
  for (std::uint32_t i = 0; i < f->param_count; ++i) {
    if (f->params[i].type == ITEM_STRING) {
      frame.params[i].type = ITEM_STRING;
      frame.params[i].value.bits = 0;
    } else {
      frame.params[i].type = ITEM_DOUBLE;
      frame.params[i].value.number = 0.0;
    }
  }
  if (count > static_cast<int>(f->param_count)) {
    return report_error_at(arguments[count - 1].column, err_too_many_parameters);
  }
  for (int i = 0; i < count; ++i) {
    expr_item& a = arguments[i];
    user_param_value& p = frame.params[i];
    if (f->params[i].type == ITEM_STRING) {
      if (a.type != ITEM_STRING) {
        return report_error_at(a.column, err_invalid_type_expecting_string);
      }
      p.value.bits = 0;
      p.value.string_offset = static_cast<std::uint32_t>(a.value.bits);
      continue;
    }
    int t = item_to_number(a);
    if (t < 0) return t;
    if (a.type == ITEM_LONG) {
      p.type = ITEM_LONG;
      p.value.long_value = a.value.long_value;
    } else if (a.type == ITEM_DOUBLE) {
      p.type = ITEM_DOUBLE;
      p.value.number = a.value.number;
    } else {
      return report_error_at(a.column, err_invalid_type_expecting_number);
    }
  }
  for (std::uint32_t i = 0; i < f->param_count; ++i)
    if (frame.params[i].type == ITEM_DOUBLE) frame.double_params |= 1u << i;
  if (debug_mode) trace_user_function(f, &frame);

  // The body is scanned from a copy of its own: the record stays untouched
  // however deeply the function calls itself.
  char body[user_function_body_max + 1];
  const std::size_t body_length = std::strlen(f->body);
  std::memcpy(body, f->body, body_length + 1);
  frame.outer = user_call_chain;
  user_call_chain = &frame;
  int result = 0;
  ++user_call_depth;
  {
    scan_text_guard scan(body, body + body_length);
    if (f->text_origin != 0 && f->text_epoch == memo.epoch) {
      line_text_origin = f->text_origin;
      line_text_epoch = f->text_epoch;
    }
    if (user_call_depth < user_call_depth_limit && evaluation_depth < evaluation_depth_limit) {
      if (f->kind == 0) {
        result = evaluate_expression_release_temps(0);
        if (result == 0) result = report_error(err_invalid_expression);  // an empty body gives no value
      } else {
        result = run_def_gosub_body();
      }
    } else {
      user_call_too_deep = 1;
    }
  }
  --user_call_depth;
  user_call_chain = frame.outer;
  error_column = call_column;

  if (user_call_too_deep) result = report_error(err_nesting_user_defined_functions_too);
  if (result >= 0) return result;
  report_error(err_return_user_defined_function);
  trace_user_function(f, &frame);
  return result;
}
