// Control-flow statements: FOR/NEXT, WHILE/WEND, BREAK, CONTINUE,
// GOSUB/RETURN, GOTO, ON, IF/THEN/ELSE, END, STOP, CONT and REM. Loop and
// subroutine bodies run in a nested run_program_lines; the partner statement
// (NEXT, WEND, RETURN) records where it stands and ends that nested loop.
#include <cmath>
#include <cstring>

#include "interpreter/control_flow.h"

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/output.h"
#include "interpreter/output_channels.h"
#include "interpreter/pending.h"
#include "graph/graph_window.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/memo.h"
#include "interpreter/remembered_statements.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

block_state blocks;

block_frame::block_frame(ending how) : saved_(blocks), saved_no_execute_(no_execute), how_(how) {}

block_frame::~block_frame() {
  const int break_now = blocks.break_requested, continue_now = blocks.continue_requested;
  static_cast<block_context&>(blocks) = saved_;
  no_execute = saved_no_execute_;
  if (how_ == END_LOOP) {
    blocks.break_requested = 0;
  } else if (how_ == PASS_LOOP_REQUESTS) {
    blocks.break_requested = break_now;
    blocks.continue_requested = continue_now;
  }
}

void enter_outermost_blocks() {
  blocks.in_for = blocks.in_while = blocks.in_gosub = 0;
  blocks.break_requested = blocks.continue_requested = 0;
  blocks.block_kind = BLOCK_NONE;
  blocks.loop_line_offset = blocks.loop_statement_column = 0;
}

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

// True when only blanks stand between the scanner and the statement's end
// (the line end or a ":").
bool at_statement_end() {
  char c = peek_nonblank();
  return c == '\0' || c == ':';
}

// What evaluating an expression gives where none stands (at_statement_end):
// no value, 0. The scanner is left as the expression scanner leaves it, its
// column noted for a later report, the blanks passed and no name found.
// Under DEBUG the expression scanner runs instead: it shows what it passed.
int empty_expression() {
  if (debug_mode) return evaluate_expression_release_temps(0);
  error_column = static_cast<int>(scan_column());
  element_name_unused = false;
  item_is_parameter = 0;
  current_name[0] = '\0';
  skip_blanks();
  return 0;
}

// Memory of the statement numbers that jumps read in the pre-scanned text:
// the number at a text offset, where it ends, and the entry of the
// statement-number table that carries it. The pre-scan fills the table and it
// stays as it is until the text changes (a new memo epoch), so an entry
// depends on the text alone. DEBUG, TRACE, stepping and typed lines read the
// number again (scan_memo_key gives no key for them).
struct jump_memo {
  std::uint32_t number = 0;
  std::uint32_t end_column = 0;  // behind the number, from line_start
  std::int32_t index = -1;       // its table entry; -1 while not searched
  std::int32_t allow_comma = 0;
};
memo_table<jump_memo, 1024> jump_memos;

// Reads a statement number for a jump without entering it in the table.
// *memo, when given, is pointed at the number's memory (null when there is
// none).
int read_jump_number(int allow_comma, jump_memo** memo = nullptr) {
  skip_blanks();
  if (memo) *memo = nullptr;
  const memo_key key = scan_memo_key(0);
  jump_memo* entry = key != 0 ? jump_memos.find_text(key) : nullptr;
  if (entry && entry->allow_comma == allow_comma) {
    statement_number = entry->number;
    scan_pointer = line_start + entry->end_column;
    if (memo) *memo = entry;
    return 1;
  }
  int saved_prescan = prescan_mode;
  prescan_mode = 0;
  int found = get_statement_number(allow_comma);
  prescan_mode = saved_prescan;
  if (key != 0 && found == 1) {
    entry = &jump_memos.store(key, ::memo.stamp);
    entry->number = statement_number;
    entry->end_column = static_cast<std::uint32_t>(scan_pointer - line_start);
    entry->index = -1;
    entry->allow_comma = allow_comma;
    if (memo) *memo = entry;
  }
  return found;
}

// Runs the subroutine at table entry index until its RETURN. The scanner and
// the program offset stand behind the calling statement again afterwards.
int call_subroutine(int index) {
  scan_line line;  // the line the block statement stands on
  std::uint32_t saved_offset = program_offset;
  int result = 0;
  {
    block_frame frame;
    // The body is outside every loop: a BREAK, CONTINUE, NEXT or WEND in it
    // must not act on a loop of the caller.
    enter_outermost_blocks();
    blocks.in_if = 0;
    blocks.block_kind = BLOCK_GOSUB;
    blocks.return_seen = 0;
    blocks.in_gosub = 1;
    program_offset = statement_number_table[index].line_offset;
    result = run_program_lines();
    blocks.return_seen = 0;
  }
  line.restore();
  // The rest of the calling line may hold a NEXT or WEND that records this
  // line's offset, so the offset comes back too (unless the run is ending).
  if (result >= 0 && !program_ended) program_offset = saved_offset;
  return result;
}

// The table entry of a jump's number; memo, when the number came from one,
// keeps the entry once found.
int find_target(std::uint32_t number, jump_memo* memo = nullptr) {
  if (memo && memo->index >= 0) return memo->index;
  int index = find_statement_number(number);
  if (index < 0) {
    return report_error_at(0, err_statement_number_not_found);
  }
  if (memo) memo->index = index;
  return index;
}

// A jump may not enter or leave a FOR or WHILE body.
int check_loop_identity(int index) {
  const statement_number_entry& entry = statement_number_table[index];
  if (entry.loop_line_offset != blocks.loop_line_offset || entry.loop_statement_column != blocks.loop_statement_column) {
    return report_error_at(0, err_goto_jump_into_or_out);
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
    blocks.body_column = partner_column;
    blocks.resume_at_body = 1;
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
    return report_error_at(0, err_not_paused_continue);
  }
  controls_leave_stepping();
  step_mode = 0;
  step_banner_pending = 0;
  return 0;
}

namespace {

// One FOR statement's loop: its control variable, limit and step.
struct for_loop {
  expr_item control;
  int kind = ITEM_DOUBLE;                     // ITEM_DOUBLE or ITEM_LONG
  value_slot* slot = nullptr;                 // the control variable's value
  const value_slot* element_block = nullptr;  // an array element's block, else null
  double limit = 0, step = 1;
  long_number* limit_long = nullptr;
  long_number* step_long = nullptr;
  long_number* scratch = nullptr;
  std::uint32_t line = 0;               // offset of the FOR's line
  std::uint32_t first_body_column = 0;  // column behind the FOR statement
};

// An array element as control variable: its block must still exist each
// time the loop touches it (a subroutine in the body may ERASE the array).
bool for_control_erased(const for_loop& loop) {
  if (loop.element_block == nullptr || array_block_alive(loop.element_block)) return false;
  error_column = static_cast<int>(loop.control.column);
  report_error_message(err_for_control_variable_numeric, "FOR control variable was erased.");
  return true;
}

// Reads "control = initial TO limit [STEP step]" and gives the control
// variable its initial value. 0 or a negative code.
int for_setup(for_loop& loop) {
  // (An element passed over is read without its slot: none an earlier item
  // left may count for it.)
  current_value_slot = nullptr;
  int type = get_item(loop.control, GI_STATEMENT_START);
  if (type < 0) return report_error(err_return_get_item);
  if (type != ITEM_DOUBLE && type != ITEM_LONG) {
    return report_error_at(loop.control.column, err_for_control_variable_numeric);
  }
  // A parameter of a running user-function call is not a variable the loop
  // may count with.
  if (item_is_parameter || (current_value_slot != nullptr && is_user_function_parameter_slot(current_value_slot))) {
    return report_error_at(loop.control.column, err_assign_value_to_argument);
  }
  loop.kind = type;
  loop.slot = current_value_slot;
  loop.element_block = loop.control.array != nullptr ? loop.control.array->data : nullptr;
  if (skip_blanks() != '=') return report_error_here(err_expect_equal_sign);
  ++scan_pointer;

  double initial = 0;
  long_number* initial_long = nullptr;
  if (int r = for_operand(loop.kind, 53, &initial, &initial_long); r < 0) return r;
  expr_item keyword;
  const char* before_to = scan_pointer;
  type = get_item(keyword, 0);
  if (type != ITEM_STATEMENT || keyword.value.token != STMT_TO) {
    scan_pointer = before_to;
    return report_error_here(err_to_follow_initial_value);
  }
  if (int r = for_operand(loop.kind, 55, &loop.limit, &loop.limit_long); r < 0) return r;
  const char* before_step = scan_pointer;
  type = get_item(keyword, 0);
  if (type == ITEM_STATEMENT && keyword.value.token == STMT_STEP) {
    if (int r = for_operand(loop.kind, 56, &loop.step, &loop.step_long); r < 0) return r;
  } else {
    scan_pointer = before_step;
    if (loop.kind == ITEM_LONG) {
      loop.step_long = long_temp_alloc();
      if (loop.step_long == nullptr || long_copy(long_one, loop.step_long) < 0) return -172;
    }
  }
  if (loop.kind == ITEM_LONG) {
    loop.scratch = long_temp_alloc();
    if (loop.scratch == nullptr) return -172;
  }

  if (for_control_erased(loop)) return -52;
  if (!no_execute && loop.slot != nullptr) {
    if (loop.kind == ITEM_DOUBLE) {
      loop.slot->number = initial;
    } else {
      if (long_copy(initial_long, long_accumulator) < 0) return -1;
      if (assign_long_variable(loop.slot) < 0) return -1;
    }
  }
  return 0;
}

// Whether the control variable is still within the limit (by the step's sign).
int for_condition(const for_loop& loop) {
  if (loop.slot == nullptr) return 0;
  if (loop.kind == ITEM_DOUBLE) {
    double value = loop.slot->number;
    return loop.step >= 0 ? value <= loop.limit : value >= loop.limit;
  }
  long_number zero_value{};
  std::uint32_t zero_block = 0;
  const long_number* value = loop.slot->long_value;
  if (value == nullptr) {
    long_init(&zero_value, &zero_block, 4);
    long_set_zero(&zero_value);
    value = &zero_value;
  }
  int order = long_compare(value, loop.limit_long);
  return loop.step_long->sign == -1 ? order >= 0 : order <= 0;
}

// Adds the step to the control variable. 0, 1 when a long control variable
// has no value (the loop ends), or a negative code.
int for_advance(const for_loop& loop) {
  if (loop.kind == ITEM_DOUBLE) {
    loop.slot->number += loop.step;
    return 0;
  }
  long_number* value = loop.slot->long_value;
  if (value == nullptr) return 1;
  int added = long_add(value, loop.step_long, loop.scratch);
  if (added < 0) return added;
  long_normalize(loop.scratch, 1);
  if (long_copy(loop.scratch, long_accumulator) < 0 || assign_long_variable(loop.slot) < 0) return -1;
  return 0;
}

// The loop whose body the line loop at body nesting running_for_nesting
// runs (the innermost running FOR of that line loop), for its NEXT.
const for_loop* running_for = nullptr;
int running_for_nesting = -1;

// The passes: test, body (run from the FOR's line at the body's column up to
// NEXT), step. 0 or a negative code.
int for_passes(for_loop& loop, const scan_line& line) {
  for (;;) {
    if (for_control_erased(loop)) return -52;
    if (!blocks.skip_block) {
      int condition = for_condition(loop);
      blocks.loop_condition = condition;
      if (echo_conditions())
        print_text(condition ? "FOR Expression is TRUE - (run loop)\n" : "FOR Expression is FALSE - (exit loop)\n");
      no_execute = !condition;
    }
    if (blocks.skip_block || blocks.break_requested || blocks.continue_requested) no_execute = 1;

    blocks.body_column = loop.first_body_column;
    program_offset = loop.line;
    blocks.resume_at_body = 1;
    blocks.next_seen = 0;
    running_for = &loop;
    running_for_nesting = body_nesting + 1;  // that of the line loop started here
    int result = run_program_lines();
    line.restore_line();
    if (result < 0) return result;
    program_offset = loop.line;
    blocks.body_column = loop.first_body_column;

    if (blocks.continue_requested) {
      blocks.continue_requested = 0;
      no_execute = 0;
    }
    if (for_control_erased(loop)) return -52;
    if (!no_execute && loop.slot != nullptr) {
      int advanced = for_advance(loop);
      if (advanced < 0) return advanced;
      if (advanced == 1) return 0;
    }
    if (no_execute) return 0;
  }
}

}  // namespace

int stmt_for() {
  scan_line line;  // the line the block statement stands on
  block_frame frame(block_frame::END_LOOP);
  for_loop loop;
  loop.line = program_offset;
  blocks.continue_requested = 0;

  int result = for_setup(loop);
  if (result >= 0) {
    if (no_execute) blocks.skip_block = 1;
    blocks.in_for = 1;
    blocks.block_kind = BLOCK_FOR;
    ++for_loops_running;
    pass_colon();
    loop.first_body_column = column_in_line(scan_pointer);
    blocks.loop_line_offset = loop.line + 1;  // 1-based, so a loop on the first line differs from "no loop"
    blocks.loop_statement_column = column_in_line(line.statement);
    const for_loop* const enclosing = running_for;
    const int enclosing_nesting = running_for_nesting;
    result = for_passes(loop, line);
    running_for = enclosing;
    running_for_nesting = enclosing_nesting;
    --for_loops_running;
    if (result >= 0) continue_behind_partner(loop.line, blocks.next_line, blocks.next_column);
    else result = -1;
  }
  blocks.next_seen = 0;
  return result;
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
  if (no_execute) blocks.body_column = column;
  return 0;
}

namespace {

// A NEXT that starts its loop's next pass itself, in the line loop that runs
// the body, where ending that line loop for for_passes to start another
// would do the same: a double control variable that is not an element,
// nothing watching the statements, no BREAK, CONTINUE or skipping, and the
// NEXT standing in the body's own line loop. It leaves what end_body and
// for_passes leave between two passes: where the NEXT stood, the control
// variable stepped, the test's result (a false test passes over the body
// once more, up to this NEXT, which then ends the loop as before), and the
// body's start to resume at. False, with nothing changed, elsewhere. The
// off switch of the memos turns it off with them, so that every program
// test compares it with the passes for_passes starts.
bool next_pass_in_place() {
  const for_loop* const loop = running_for;
  if (loop == nullptr || body_nesting != running_for_nesting || memo.off || memo_watched() || no_execute ||
      blocks.skip_block || blocks.break_requested || blocks.continue_requested || loop->kind != ITEM_DOUBLE ||
      loop->element_block != nullptr || loop->slot == nullptr)
    return false;
  pass_colon();
  blocks.next_line = program_offset;
  blocks.next_column = column_in_line(scan_pointer);
  scan_pointer = line_end;
  loop->slot->number += loop->step;
  const int condition = for_condition(*loop);
  blocks.loop_condition = condition;
  no_execute = !condition;
  blocks.body_column = loop->first_body_column;
  program_offset = loop->line;
  blocks.resume_at_body = 1;
  blocks.next_seen = 0;
  return true;
}

}  // namespace

int stmt_next() {
  if (debug_mode) print_text("NEXT\n");
  if (!blocks.in_for || blocks.block_kind != BLOCK_FOR) {
    return report_error_at(0, err_next_without_for);
  }
  if (next_pass_in_place()) return 0;
  return end_body(blocks.next_seen, blocks.next_line, blocks.next_column);
}

int stmt_while() {
  scan_line line;  // the line the block statement stands on
  block_frame frame(block_frame::END_LOOP);
  std::uint32_t while_line = program_offset;
  std::uint32_t while_column = column_in_line(line.statement);
  const char* condition_at = scan_pointer;
  blocks.continue_requested = 0;
  if (no_execute) blocks.skip_block = 1;

  int result = 0;
  for (;;) {
    scan_pointer = condition_at;
    int type = evaluate_expression_release_temps(0);
    int truth = type > 0 ? result_truth(type) : -1;
    if (truth < 0) {
      result = report_error(err_invalid_expression_for_while);
      break;
    }
    if (echo_conditions() && !blocks.skip_block) print_text(truth ? "WHILE condition is TRUE\n" : "WHILE condition is FALSE\n");
    no_execute = !truth || blocks.skip_block || prescan_mode || blocks.break_requested || blocks.continue_requested;
    blocks.in_while = 1;
    blocks.wend_seen = 0;
    blocks.block_kind = BLOCK_WHILE;
    pass_colon();
    blocks.body_column = column_in_line(scan_pointer);
    blocks.loop_line_offset = while_line + 1;
    blocks.loop_statement_column = while_column;
    blocks.resume_at_body = 1;
    program_offset = while_line;
    result = run_program_lines();
    line.restore_line();
    if (result < 0) break;
    program_offset = while_line;
    if (no_execute && !blocks.continue_requested) break;
    if (blocks.continue_requested) {
      blocks.continue_requested = 0;
      no_execute = 0;
    }
  }
  if (result >= 0) continue_behind_partner(while_line, blocks.wend_line, blocks.wend_column);
  blocks.wend_seen = 0;
  return result;
}

int stmt_wend() {
  if (debug_mode) print_text("WEND\n");
  if (!blocks.in_while) {
    return report_error_at(0, err_wend_without_while);
  }
  return end_body(blocks.wend_seen, blocks.wend_line, blocks.wend_column);
}

// BREAK and CONTINUE: outside a loop the statement's own error; else the
// request is noted and the rest of the body is only parsed.
static int request_loop_exit(int outside_loop_error, int& request) {
  if (!blocks.in_while && !blocks.in_for) {
    return report_error_at(0, outside_loop_error);
  }
  if (no_execute) return 0;
  request = 1;
  no_execute = 1;
  return 0;
}

int stmt_break() { return request_loop_exit(50, blocks.break_requested); }

int stmt_continue() { return request_loop_exit(51, blocks.continue_requested); }

int stmt_gosub() {
  if (debug_mode) print_text("Gosub\n");
  jump_memo* memo = nullptr;
  int found = read_jump_number(0, &memo);
  if (found < 0) return found;
  if (found == 0) return report_error_here(err_missing_statement_number);
  if (no_execute) return 0;
  int index = find_target(statement_number, memo);
  if (index < 0) return index;
  return call_subroutine(index);
}

int stmt_return() {
  if (debug_mode) print_text("Return\n");
  int type = at_statement_end() ? empty_expression() : evaluate_expression_release_temps(0);
  if (type < 0) return type;
  if (prescan_mode || no_execute) return 0;
  if (!blocks.in_gosub) {
    return report_error_at(0, err_return_without_gosub);
  }
  if (type == 0) {
    double_accumulator = 0;
    type = ITEM_DOUBLE;
  }
  if (type != ITEM_DOUBLE && type != ITEM_STRING && type != ITEM_LONG && type != ITEM_NUMERIC_TEXT)
    return report_error(err_invalid_return_value_from_return);
  blocks.return_value_type = type;
  blocks.return_seen = 1;
  scan_pointer = line_end;
  program_offset = program_length;
  return 0;
}

int stmt_goto() {
  jump_memo* memo = nullptr;
  int found = read_jump_number(0, &memo);
  if (found < 0) return found;
  if (found == 0) return report_error_here(err_missing_statement_number);
  if (no_execute) return 0;
  int index = find_target(statement_number, memo);
  if (index < 0) return index;
  if (int r = check_loop_identity(index); r < 0) return r;
  jump_to(statement_number);
  return 0;
}

int stmt_on() {
  int type = evaluate_expression_release_temps(0);
  if (type > 0) type = result_to_double(type, 0);
  if (type != ITEM_DOUBLE || !(double_accumulator >= 0 && double_accumulator < 256)) return report_error(err_invalid_value_for_on_goto);
  int k = static_cast<int>(double_accumulator);

  expr_item keyword;
  const char* keyword_at = scan_pointer;
  type = get_item(keyword, 0);
  if (type < 0) return report_error(err_return_get_item);
  bool is_gosub = type == ITEM_STATEMENT && keyword.value.token == STMT_GOSUB;
  bool is_goto = type == ITEM_STATEMENT && keyword.value.token == STMT_GOTO;
  if (!is_gosub && !is_goto) {
    scan_pointer = keyword_at;
    return report_error_here(err_goto_or_gosub_follow_expression);
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

namespace {

// The IF statement inside its frame: the condition, then the statements of
// the rest of the line with THEN and ELSE choosing which of them run.
int if_statements() {
  // A condition known whole is taken from memory (with its keyword).
  int truth = -1;
  std::int32_t known_keyword = 0;
  const char* behind_keyword = nullptr;
  const char* const condition_start = scan_pointer;
  const memo_stamp condition_stamp = memo.stamp;
  const condition_road road = run_remembered_condition(truth, known_keyword, behind_keyword);
  if (road != CONDITION_TAKEN) {
    int type = evaluate_expression_release_temps(0);
    truth = type > 0 ? result_truth(type) : -1;
  }
  if (truth < 0) return report_error(err_invalid_expression_for_if);
  if ((blocks.in_if || blocks.in_while || blocks.in_for) && no_execute) blocks.skip_block = 1;
  blocks.if_result = truth;
  if (echo_conditions() && !no_execute) print_text(truth ? "IF Expression is TRUE\n" : "IF Expression is FALSE\n");

  const char* before = scan_pointer;
  // Where the scanner remembers items (not under DEBUG, TRACE or stepping,
  // nor on typed lines), reading the keyword here costs no scan.
  const bool remembered = memo_key_at(scan_pointer) != 0;
  expr_item next;
  int type;
  if (road == CONDITION_TAKEN) {
    next.type = ITEM_STATEMENT;
    next.value.token = known_keyword;
    type = ITEM_STATEMENT;
  } else if (remembered && expression_ending.valid && expression_ending.at == before &&
             expression_ending.line == line_start) {
    // The condition ended on the keyword and left the state reading it
    // leaves: it is not read again.
    next.type = ITEM_STATEMENT;
    next.value.token = expression_ending.token;
    type = ITEM_STATEMENT;
    behind_keyword = expression_ending.behind;
    if (road == CONDITION_UNKNOWN)
      remember_condition(condition_start, condition_stamp, static_cast<std::int32_t>(next.value.token), before,
                         behind_keyword);
  } else {
    type = get_item(next, 0);
    behind_keyword = scan_pointer;
  }
  scan_pointer = before;
  if (type < 0) return report_error(err_return_get_item);
  bool is_goto = type == ITEM_STATEMENT && next.value.token == STMT_GOTO;
  if (type != ITEM_STATEMENT || (next.value.token != STMT_THEN && next.value.token != STMT_ELSE && !is_goto))
    return report_error_here(err_then_else_or_goto_follow);
  blocks.in_if = 1;
  blocks.else_seen = 0;
  blocks.block_kind = BLOCK_IF;
  if (is_goto) no_execute = !blocks.if_result || blocks.skip_block || prescan_mode;

  // A THEN with a statement behind it is taken here rather than as a
  // statement of its own where nothing shows statements as they run: it only
  // chooses whether what follows runs, so the statement loop's work between
  // two statements is done once, before the statement behind it.
  if (remembered && next.value.token == STMT_THEN) {
    scan_pointer = behind_keyword;
    if (peek_nonblank() != '\0') {
      write_mode = 0;
      tab_allowed = 0;
      stmt_then();
      pass_colon();
    } else {
      scan_pointer = before;
    }
  }
  int result = process_statements();
  if (result >= 0 && blocks.block_kind == BLOCK_WHILE && blocks.in_while && !blocks.wend_seen) {
    error_column = 0;
    result = report_error(err_while_within_if_statement_not);
  }
  return result;
}

}  // namespace

int stmt_if() {
  int result = 0;
  {
    block_frame frame(block_frame::PASS_LOOP_REQUESTS);
    result = if_statements();
  }
  bool leaving = blocks.break_requested || blocks.continue_requested;
  if (result >= 0 && leaving && (blocks.block_kind == BLOCK_NONE || blocks.block_kind == BLOCK_GOSUB)) {
    error_column = 0;
    result = report_error(blocks.break_requested ? 50 : 51);
  }
  if (leaving) no_execute = 1;
  // An ELSE handed on to an enclosing IF: that IF's statement list goes on
  // from the ELSE, which the scanner stands on.
  return result == 1 ? 0 : result;
}

int stmt_then() {
  if (!blocks.in_if) {
    return report_error_at(0, err_then_without_if);
  }
  if (blocks.else_seen) {
    return report_error_at(0, err_then_follow_else);
  }
  no_execute = !blocks.if_result || blocks.skip_block || prescan_mode || blocks.break_requested || blocks.continue_requested;
  return 0;
}

int stmt_else() {
  if (!blocks.in_if) {
    return report_error_at(0, err_else_without_if);
  }
  if (blocks.else_seen) return 1;
  no_execute = blocks.if_result || blocks.skip_block || prescan_mode || blocks.break_requested || blocks.continue_requested;
  blocks.else_seen = 1;
  return 0;
}
