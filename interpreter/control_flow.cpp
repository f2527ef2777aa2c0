// Control-flow statements: FOR/NEXT, WHILE/WEND, BREAK, CONTINUE,
// GOSUB/RETURN, GOTO, ON, IF/THEN/ELSE, END, STOP, CONT and REM. Loop and
// subroutine bodies run in a nested run_program_lines; the partner statement
// (NEXT, WEND, RETURN) records where it stands and ends that nested loop.
#include <cmath>
#include <cstring>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/output.h"
#include "interpreter/pending.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

namespace {


bool echo_conditions() { return debug_mode || step_mode || trace_mode; }

std::uint32_t column_in_line(const char* p) { return static_cast<std::uint32_t>(p - line_start); }

// Truth of the value an expression left (type by the result convention):
// a number is true unless 0 (NaN is false), a string unless empty, a long
// number unless zero. Returns 1, 0, or a negative code.
int result_truth(int type) {
  if (type == ITEM_NUMERIC_TEXT) {
    type = result_to_number(type);
    if (type < 0) return type;
  }
  switch (type) {
    case ITEM_DOUBLE: return (double_accumulator == double_accumulator && double_accumulator != 0) ? 1 : 0;
    case ITEM_STRING: return string_accumulator_length > 0 ? 1 : 0;
    case ITEM_LONG: return (long_accumulator != nullptr && !long_is_zero(long_accumulator)) ? 1 : 0;
    default: return -1;
  }
}

// Passes over a ":" directly behind a statement.
void pass_colon() {
  skip_blanks();
  if (scan_pointer < line_end && *scan_pointer == ':') ++scan_pointer;
}

// Reads a statement number for a jump without entering it in the table.
int read_jump_number(int allow_comma) {
  skip_blanks();
  int saved_prescan = prescan_mode;
  prescan_mode = 0;
  int found = get_statement_number(allow_comma);
  prescan_mode = saved_prescan;
  return found;
}

// Runs the subroutine at table entry index until its RETURN. The scanner and
// the program offset stand behind the calling statement again afterwards.
int call_subroutine(int index) {
  saved_scan_state line;  // the line the block statement stands on
  int saved_no_execute = no_execute, saved_skip = skip_block;
  int saved_gosub = in_gosub, saved_kind = block_kind, saved_if = in_if;
  int saved_in_for = in_for, saved_in_while = in_while;
  int saved_break = break_requested, saved_continue = continue_requested;
  std::uint32_t saved_loop_line = loop_line_offset, saved_loop_column = loop_statement_column;
  std::uint32_t saved_offset = program_offset;

  // The body is outside every loop: a BREAK, CONTINUE, NEXT or WEND in it
  // must not act on a loop of the caller.
  in_for = in_while = 0;
  break_requested = continue_requested = 0;
  in_if = 0;
  loop_line_offset = loop_statement_column = 0;
  block_kind = BLOCK_GOSUB;
  return_seen = 0;
  in_gosub = 1;
  program_offset = statement_number_table[index].line_offset;
  int result = run_program_lines();

  return_seen = 0;
  no_execute = saved_no_execute;
  skip_block = saved_skip;
  line.restore();
  in_gosub = saved_gosub;
  block_kind = saved_kind;
  in_if = saved_if;
  in_for = saved_in_for;
  in_while = saved_in_while;
  break_requested = saved_break;
  continue_requested = saved_continue;
  loop_line_offset = saved_loop_line;
  loop_statement_column = saved_loop_column;
  // The rest of the calling line may hold a NEXT or WEND that records this
  // line's offset, so the offset comes back too (unless the run is ending).
  if (result >= 0 && !program_ended) program_offset = saved_offset;
  return result;
}

int find_target(std::uint32_t number) {
  int index = find_statement_number(number);
  if (index < 0) {
    error_column = 0;
    return report_error(25);
  }
  return index;
}

// A jump may not enter or leave a FOR or WHILE body.
int check_loop_identity(int index) {
  const statement_number_entry& entry = statement_number_table[index];
  if (entry.loop_line_offset != loop_line_offset || entry.loop_statement_column != loop_statement_column) {
    error_column = 0;
    return report_error(49);
  }
  return 0;
}

void jump_to(std::uint32_t number) {
  goto_target = number;
  scan_pointer = line_end;
}

// Continues just behind the NEXT or WEND that ended the last pass: on the
// loop's own line, or on the partner's line entered at its column.
void continue_behind_partner(std::uint32_t loop_line, std::uint32_t partner_line, std::uint32_t partner_column) {
  if (partner_line == loop_line) {
    std::uint32_t column = partner_column <= static_cast<std::uint32_t>(line_length) ? partner_column
                                                                                    : static_cast<std::uint32_t>(line_length);
    scan_pointer = line_start + column;
  } else {
    scan_pointer = line_end;
    program_offset = partner_line;
    body_column = partner_column;
    resume_at_body = 1;
  }
}

// The value of a FOR operand converted to the control kind: a double in
// *number, or a long number copied into *into (a temporary).
int for_operand(int control_kind, int code, double* number, long_number** into) {
  int type = evaluate_expression_release_temps(0);
  if (type <= 0) return report_error(code);
  if (control_kind == ITEM_DOUBLE) {
    type = result_to_double(type, 0);
    if (type != ITEM_DOUBLE) return report_error(code);
    *number = double_accumulator;
    return 0;
  }
  type = result_to_long(type, 0);
  if (type != ITEM_LONG) return report_error(code);
  *into = long_temp_alloc();
  if (*into == nullptr) return -172;
  if (long_copy(long_accumulator, *into) < 0) return -1;
  return 0;
}

}  // namespace

int for_loops_running = 0;

bool array_block_alive(const value_slot* data) {
  for (std::uint32_t i = 0; i < array_count; ++i)
    if (array_table[i].data == data) return true;
  return false;
}

int stmt_rem() {
  scan_pointer = line_end;
  return 0;
}

int stmt_end() {
  if (no_execute) return 0;
  chain_pending = 0;
  program_ended = 1;
  scan_pointer = line_end;
  program_offset = program_length;
  step_mode = 0;
  graph_repaint_if_changed();
  return 0;
}

int stmt_stop() {
  if (no_execute) return 0;
  step_mode = 1;
  if (!console_mode) controls_show_stepping(COMMAND_BOX_FOCUSED);
  return 0;
}

int stmt_cont() {
  if (!program_running || !step_mode) {
    error_column = 0;
    return report_error(110);
  }
  controls_leave_stepping();
  step_mode = 0;
  step_banner_pending = 0;
  return 0;
}

int stmt_for() {
  saved_scan_state line;  // the line the block statement stands on
  int saved_in_for = in_for, saved_no_execute = no_execute, saved_skip = skip_block;
  int saved_kind = block_kind, saved_continue = continue_requested;
  std::uint32_t saved_loop_line = loop_line_offset, saved_loop_column = loop_statement_column;
  std::uint32_t for_line = program_offset;
  continue_requested = 0;

  long_number* limit_long = nullptr;
  long_number* step_long = nullptr;
  long_number* scratch = nullptr;
  double limit = 0, step = 1;
  value_slot* control_slot = nullptr;
  int control_kind = ITEM_DOUBLE;

  // Everything up to the first pass; a failure leaves the saved state as it was.
  auto restore = [&](int result) {
    continue_requested = saved_continue;
    block_kind = saved_kind;
    no_execute = saved_no_execute;
    skip_block = saved_skip;
    loop_line_offset = saved_loop_line;
    loop_statement_column = saved_loop_column;
    in_for = saved_in_for;
    next_seen = 0;
    break_requested = 0;
    return result;
  };

  expr_item control;
  int type = get_item(control, GI_STATEMENT_START);
  if (type < 0) return restore(report_error(10));
  if (type != ITEM_DOUBLE && type != ITEM_LONG) {
    error_column = static_cast<int>(control.column);
    return restore(report_error(52));
  }
  // A parameter of a running user-function call is not a variable the loop
  // may count with.
  if (item_is_parameter || (current_value_slot != nullptr && is_user_function_parameter_slot(current_value_slot))) {
    error_column = static_cast<int>(control.column);
    return restore(report_error(204));
  }
  control_kind = type;
  control_slot = current_value_slot;
  // An array element as control variable: its block must still exist each
  // time the loop touches it (a subroutine in the body may ERASE the array).
  const value_slot* control_block = control.array != nullptr ? control.array->data : nullptr;
  auto control_erased = [&] {
    if (control_block == nullptr || array_block_alive(control_block)) return false;
    error_column = static_cast<int>(control.column);
    report_error_message(52, "FOR control variable was erased.");
    return true;
  };
  if (skip_blanks() != '=') return restore(report_error_here(220));
  ++scan_pointer;

  double initial = 0;
  long_number* initial_long = nullptr;
  if (int r = for_operand(control_kind, 53, &initial, &initial_long); r < 0) return restore(r);
  expr_item keyword;
  const char* before_to = scan_pointer;
  type = get_item(keyword, 0);
  if (type != ITEM_STATEMENT || keyword.value.token != STMT_TO) {
    scan_pointer = before_to;
    return restore(report_error_here(54));
  }
  if (int r = for_operand(control_kind, 55, &limit, &limit_long); r < 0) return restore(r);
  const char* before_step = scan_pointer;
  type = get_item(keyword, 0);
  if (type == ITEM_STATEMENT && keyword.value.token == STMT_STEP) {
    if (int r = for_operand(control_kind, 56, &step, &step_long); r < 0) return restore(r);
  } else {
    scan_pointer = before_step;
    if (control_kind == ITEM_LONG) {
      step_long = long_temp_alloc();
      if (step_long == nullptr || long_copy(long_one, step_long) < 0) return restore(-172);
    }
  }
  if (control_kind == ITEM_LONG) {
    scratch = long_temp_alloc();
    if (scratch == nullptr) return restore(-172);
  }

  if (control_erased()) return restore(-52);
  if (!no_execute && control_slot != nullptr) {
    if (control_kind == ITEM_DOUBLE) {
      control_slot->number = initial;
    } else {
      if (long_copy(initial_long, long_accumulator) < 0) return restore(-1);
      if (assign_long_variable(control_slot) < 0) return restore(-1);
    }
  }
  if (no_execute) skip_block = 1;

  in_for = 1;
  block_kind = BLOCK_FOR;
  ++for_loops_running;
  pass_colon();
  std::uint32_t first_body_column = column_in_line(scan_pointer);
  std::uint32_t for_column = column_in_line(line.statement);
  loop_line_offset = for_line + 1;  // 1-based, so a loop on the first line differs from "no loop"
  loop_statement_column = for_column;

  int result = 0;
  for (;;) {
    if (control_erased()) {
      result = -52;
      break;
    }
    if (!skip_block) {
      int condition = 0;
      if (control_slot == nullptr) {
        condition = 0;
      } else if (control_kind == ITEM_DOUBLE) {
        double value = control_slot->number;
        condition = step >= 0 ? value <= limit : value >= limit;
      } else {
        long_number zero_value{};
        std::uint32_t zero_block = 0;
        const long_number* value = control_slot->long_value;
        if (value == nullptr) {
          long_init(&zero_value, &zero_block, 4);
          long_set_zero(&zero_value);
          value = &zero_value;
        }
        int order = long_compare(value, limit_long);
        condition = step_long->sign == -1 ? order >= 0 : order <= 0;
      }
      loop_condition = condition;
      if (echo_conditions())
        print_text(condition ? "FOR Expression is TRUE - (run loop)\n" : "FOR Expression is FALSE - (exit loop)\n");
      no_execute = !condition;
    }
    if (skip_block || break_requested || continue_requested) no_execute = 1;

    body_column = first_body_column;
    program_offset = for_line;
    resume_at_body = 1;
    next_seen = 0;
    result = run_program_lines();
    line.restore_line();
    if (result < 0) break;
    program_offset = for_line;
    body_column = first_body_column;

    if (continue_requested) {
      continue_requested = 0;
      no_execute = 0;
    }
    if (control_erased()) {
      result = -52;
      break;
    }
    if (!no_execute && control_slot != nullptr) {
      if (control_kind == ITEM_DOUBLE) {
        control_slot->number += step;
      } else {
        long_number* value = control_slot->long_value;
        if (value == nullptr) break;
        int added = long_add(value, step_long, scratch);
        if (added < 0) {
          result = added;
          break;
        }
        long_normalize(scratch, 1);
        if (long_copy(scratch, long_accumulator) < 0 || assign_long_variable(control_slot) < 0) {
          result = -1;
          break;
        }
      }
    }
    if (no_execute) break;
  }
  --for_loops_running;
  if (result >= 0) continue_behind_partner(for_line, next_line, next_column);
  return restore(result < 0 ? -1 : 0);
}

// NEXT and WEND: the body ends here. Note where the loop goes on behind the
// end statement and stop this body's line loop.
static int end_body(int& seen, std::uint32_t& line, std::uint32_t& column) {
  seen = 1;
  pass_colon();
  line = program_offset;
  column = column_in_line(scan_pointer);
  scan_pointer = line_end;
  program_offset = program_length;
  if (no_execute) body_column = column;
  return 0;
}

int stmt_next() {
  if (debug_mode) print_text("NEXT\n");
  if (!in_for || block_kind != BLOCK_FOR) {
    error_column = 0;
    return report_error(57);
  }
  return end_body(next_seen, next_line, next_column);
}

int stmt_while() {
  saved_scan_state line;  // the line the block statement stands on
  int saved_in_while = in_while, saved_no_execute = no_execute, saved_skip = skip_block;
  int saved_kind = block_kind, saved_continue = continue_requested;
  std::uint32_t saved_loop_line = loop_line_offset, saved_loop_column = loop_statement_column;
  std::uint32_t while_line = program_offset;
  std::uint32_t while_column = column_in_line(line.statement);
  const char* condition_at = scan_pointer;
  continue_requested = 0;
  if (no_execute) skip_block = 1;

  int result = 0;
  for (;;) {
    scan_pointer = condition_at;
    int type = evaluate_expression_release_temps(0);
    int truth = type > 0 ? result_truth(type) : -1;
    if (truth < 0) {
      result = report_error(43);
      break;
    }
    if (echo_conditions() && !skip_block) print_text(truth ? "WHILE condition is TRUE\n" : "WHILE condition is FALSE\n");
    no_execute = !truth || skip_block || prescan_mode || break_requested || continue_requested;
    in_while = 1;
    wend_seen = 0;
    block_kind = BLOCK_WHILE;
    pass_colon();
    body_column = column_in_line(scan_pointer);
    loop_line_offset = while_line + 1;
    loop_statement_column = while_column;
    resume_at_body = 1;
    program_offset = while_line;
    result = run_program_lines();
    line.restore_line();
    if (result < 0) break;
    program_offset = while_line;
    if (no_execute && !continue_requested) break;
    if (continue_requested) {
      continue_requested = 0;
      no_execute = 0;
    }
  }
  if (result >= 0) continue_behind_partner(while_line, wend_line, wend_column);
  continue_requested = saved_continue;
  block_kind = saved_kind;
  no_execute = saved_no_execute;
  skip_block = saved_skip;
  loop_line_offset = saved_loop_line;
  loop_statement_column = saved_loop_column;
  in_while = saved_in_while;
  wend_seen = 0;
  break_requested = 0;
  return result;
}

int stmt_wend() {
  if (debug_mode) print_text("WEND\n");
  if (!in_while) {
    error_column = 0;
    return report_error(45);
  }
  return end_body(wend_seen, wend_line, wend_column);
}

// BREAK and CONTINUE: outside a loop the statement's own error; else the
// request is noted and the rest of the body is only parsed.
static int request_loop_exit(int outside_loop_error, int& request) {
  if (!in_while && !in_for) {
    error_column = 0;
    return report_error(outside_loop_error);
  }
  if (no_execute) return 0;
  request = 1;
  no_execute = 1;
  return 0;
}

int stmt_break() { return request_loop_exit(50, break_requested); }

int stmt_continue() { return request_loop_exit(51, continue_requested); }

int stmt_gosub() {
  if (debug_mode) print_text("Gosub\n");
  int found = read_jump_number(0);
  if (found < 0) return found;
  if (found == 0) return report_error_here(212);
  if (no_execute) return 0;
  int index = find_target(statement_number);
  if (index < 0) return index;
  return call_subroutine(index);
}

int stmt_return() {
  if (debug_mode) print_text("Return\n");
  int type = evaluate_expression_release_temps(0);
  if (type < 0) return type;
  if (prescan_mode || no_execute) return 0;
  if (!in_gosub) {
    error_column = 0;
    return report_error(35);
  }
  if (type == 0) {
    double_accumulator = 0;
    type = ITEM_DOUBLE;
  }
  if (type != ITEM_DOUBLE && type != ITEM_STRING && type != ITEM_LONG && type != ITEM_NUMERIC_TEXT)
    return report_error(201);
  return_value_type = type;
  return_seen = 1;
  scan_pointer = line_end;
  program_offset = program_length;
  return 0;
}

int stmt_goto() {
  int found = read_jump_number(0);
  if (found < 0) return found;
  if (found == 0) return report_error_here(212);
  if (no_execute) return 0;
  int index = find_target(statement_number);
  if (index < 0) return index;
  if (int r = check_loop_identity(index); r < 0) return r;
  jump_to(statement_number);
  return 0;
}

int stmt_on() {
  int type = evaluate_expression_release_temps(0);
  if (type > 0) type = result_to_double(type, 0);
  if (type != ITEM_DOUBLE || !(double_accumulator >= 0 && double_accumulator < 256)) return report_error(195);
  int k = static_cast<int>(double_accumulator);

  expr_item keyword;
  const char* keyword_at = scan_pointer;
  type = get_item(keyword, 0);
  if (type < 0) return report_error(10);
  bool is_gosub = type == ITEM_STATEMENT && keyword.value.token == STMT_GOSUB;
  bool is_goto = type == ITEM_STATEMENT && keyword.value.token == STMT_GOTO;
  if (!is_gosub && !is_goto) {
    scan_pointer = keyword_at;
    return report_error_here(196);
  }

  std::uint32_t target = 0;
  int count = 0;
  for (;;) {
    int found = read_jump_number(1);
    if (found < 0) return found;
    if (found == 0) break;
    if (++count == k) target = statement_number;
    skip_blanks();
    if (scan_pointer < line_end && *scan_pointer == ',') {
      ++scan_pointer;
      continue;
    }
    break;
  }
  if (no_execute || k == 0 || count < k) return 0;
  int index = find_target(target);
  if (index < 0) return index;
  if (is_gosub) return call_subroutine(index);
  if (int r = check_loop_identity(index); r < 0) return r;
  jump_to(target);
  return 0;
}

int stmt_if() {
  int saved_in_if = in_if, saved_result = if_result, saved_no_execute = no_execute;
  int saved_skip = skip_block, saved_else = else_seen, saved_kind = block_kind;

  int type = evaluate_expression_release_temps(0);
  int truth = type > 0 ? result_truth(type) : -1;
  if (truth < 0) return report_error(28);
  if ((in_if || in_while || in_for) && no_execute) skip_block = 1;
  if_result = truth;
  if (echo_conditions() && !no_execute) print_text(truth ? "IF Expression is TRUE\n" : "IF Expression is FALSE\n");

  const char* before = scan_pointer;
  expr_item next;
  type = get_item(next, 0);
  scan_pointer = before;
  if (type < 0) {
    skip_block = saved_skip;
    if_result = saved_result;
    return report_error(10);
  }
  bool is_goto = type == ITEM_STATEMENT && next.value.token == STMT_GOTO;
  if (type != ITEM_STATEMENT || (next.value.token != STMT_THEN && next.value.token != STMT_ELSE && !is_goto)) {
    skip_block = saved_skip;
    if_result = saved_result;
    return report_error_here(31);
  }
  in_if = 1;
  else_seen = 0;
  block_kind = BLOCK_IF;
  if (is_goto) no_execute = !if_result || skip_block || prescan_mode;

  int result = process_statements();
  if (result >= 0 && block_kind == BLOCK_WHILE && in_while && !wend_seen) {
    error_column = 0;
    result = report_error(42);
  }

  block_kind = saved_kind;
  in_if = saved_in_if;
  if_result = saved_result;
  skip_block = saved_skip;
  else_seen = saved_else;
  bool leaving = break_requested || continue_requested;
  if (result >= 0 && leaving && (block_kind == BLOCK_NONE || block_kind == BLOCK_GOSUB)) {
    error_column = 0;
    result = report_error(break_requested ? 50 : 51);
  }
  no_execute = leaving ? 1 : saved_no_execute;
  // An ELSE handed on to an enclosing IF: that IF's statement list goes on
  // from the ELSE, which the scanner stands on.
  return result == 1 ? 0 : result;
}

int stmt_then() {
  if (!in_if) {
    error_column = 0;
    return report_error(32);
  }
  if (else_seen) {
    error_column = 0;
    return report_error(34);
  }
  no_execute = !if_result || skip_block || prescan_mode || break_requested || continue_requested;
  return 0;
}

int stmt_else() {
  if (!in_if) {
    error_column = 0;
    return report_error(33);
  }
  if (else_seen) return 1;
  no_execute = if_result || skip_block || prescan_mode || break_requested || continue_requested;
  else_seen = 1;
  return 0;
}
