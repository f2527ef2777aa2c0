// Run control: the Run driver, the line and statement loop with its stepping,
// trace and Kill hooks, and the road of a typed command line.
#include "interpreter/run_control.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "session/paths.h"
#include "interpreter/assignment.h"
#include "interpreter/commands.h"
#include "interpreter/control_flow.h"
#include "interpreter/data_read.h"
#include "interpreter/datetime.h"
#include "interpreter/debugging.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/output_channels.h"
#include "interpreter/pending.h"
#include "graph/graph_window.h"
#include "interpreter/program_buffer.h"
#include "interpreter/random.h"
#include "interpreter/run_state.h"
#include "interpreter/scan_state.h"
#include "interpreter/memo.h"
#include "interpreter/remembered_statements.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/temp_levels.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

std::uint32_t goto_target = 0;

int step_requested = 0;
int run_step_needs_enable = 1;
int step_banner_pending = 0;
int immediate_command_pending = 0;
int input_waiting = 0;
int command_typed = 0;
int command_in_pause = 0;
int program_running = 0;
int messagebox_active = 0;

int run_mode = RUN_MODE_RUN;
int program_already_loaded = 0;
int program_load_failed = 0;

char command_line[256] = {};
int body_nesting = 0;

namespace {

// Counts one level of run_program_lines for the nesting bound.
struct nesting_guard {
  nesting_guard() { ++body_nesting; }
  ~nesting_guard() { --body_nesting; }
  nesting_guard(const nesting_guard&) = delete;
  nesting_guard& operator=(const nesting_guard&) = delete;
};

// Console mode while stepping: one line from the console; an empty line runs
// the next statement, any other line becomes an immediate command. End of
// input turns stepping off so that the program can finish.
void read_console_step_line() {
  char line[256];
  std::size_t count = 0;
  bool too_long = false;
  if (!read_console_command(line, sizeof line, count, too_long)) {
    step_mode = 0;
    step_banner_pending = 0;
    return;
  }
  if (too_long) {
    print_text("Statement too long (>255)\n");
    return;
  }
  if (count == 0) return;
  std::memcpy(command_line, line, count + 1);
  immediate_command_pending = 1;
}

// Echoes the current line with the caret under the statement.
void echo_statement() {
  error_column = 0;
  report_error(error_code_echo_only);
}

}  // namespace

bool read_console_command(char* buffer, std::size_t size, std::size_t& count, bool& too_long) {
  too_long = false;
  if (!console_read_line(buffer, size, count)) return false;
  if (count + 1 == size && buffer[count - 1] != '\n') {
    char rest[256];
    std::size_t more = 0;
    while (console_read_line(rest, sizeof rest, more) && rest[more - 1] != '\n') {
    }
    too_long = true;
    count = 0;
    buffer[0] = 0;
    return true;
  }
  if (count >= 1 && buffer[count - 1] == '\n') buffer[--count] = 0;
  if (count >= 1 && buffer[count - 1] == '\r') buffer[--count] = 0;
  return true;
}

void reset_run_flags() {
  static_cast<block_context&>(blocks) = block_context{};
  blocks.return_seen = blocks.wend_seen = blocks.next_seen = 0;
  no_execute = 0;
  blocks.loop_condition = 0;
  program_ended = 0;
  blocks.resume_at_body = 0;
  command_typed = 0;
  kill_requested = 0;
  print_to_string = 0;
  print_string_assigned = 0;
  print_string_target = nullptr;
  reset_print_channel(print_string_channel);
  messagebox_active = 0;
}

namespace {

// What is known of a line of the pre-scanned text: where it ends and what its
// statement number is, so that a loop running the line again neither searches
// for its end nor reads its number again. Entries depend on the text alone;
// lines of other texts (typed lines, function bodies) are not kept.
struct line_record {
  std::uint32_t end = 0;        // offset behind the line's LF
  std::int32_t length = -1;     // its text without the line end; -1 not known yet
  std::int32_t number_found = -1;  // get_statement_number's 0 or 1; -1 not known yet
  std::uint32_t number = 0;
  std::uint32_t number_end = 0;    // column behind the number
  // Where the line's first statement is read from (behind the number and a
  // ":" when it has a number), for a line that holds a statement; -1
  // otherwise or not known yet.
  std::int32_t statement_column = -1;
};
memo_table<line_record, 2048> line_records;

// The record of the line at offset of the pre-scanned text when it holds,
// else null.
line_record* known_line(std::uint32_t offset) {
  return offset < memo.text_limit ? line_records.find_text(make_memo_key(memo.epoch, offset)) : nullptr;
}

// The record fetch_program_line last found or made, and the line's offset:
// the statement loop, which runs the line right after fetching it, reads the
// line's number from it without a second search.
line_record* fetched_record = nullptr;
std::uint32_t fetched_record_line = 0;

// The scan state on a line whose text (length bytes) was copied into buffer;
// origin is 1 + the line's offset in the pre-scanned text, or 0 where the
// scanner may not remember its items.
void enter_line_text(char* buffer, std::uint32_t length, std::uint32_t origin) {
  line_start = scan_pointer = statement_start = buffer;
  line_length = static_cast<std::int32_t>(length);
  line_end = buffer + length;
  line_text_origin = origin;
  line_text_epoch = memo.epoch;
  goto_target = 0;
}

// A line ends inside an IF while a WHILE opened in it waits for its WEND.
bool while_open_in_if() {
  return blocks.in_if && blocks.block_kind == BLOCK_WHILE && blocks.in_while && !blocks.wend_seen;
}

// A line of the pre-scanned text, next to run from its start with no
// statement passed over and nothing watching, whose number (or none) and
// first statement are known: the line loop enters that statement directly
// (run_known_line). Null where the line loop takes the general road: a loop
// body resumed inside a line, statements passed over (their runs are watched
// from the line's start), the program ended, the memos off.
line_record* known_line_ahead() {
  if (blocks.resume_at_body || no_execute || program_ended || memo_watched() || memo.off) return nullptr;
  line_record* known = known_line(program_offset);
  if (!known || known->statement_column < 0 || known->statement_column >= known->length ||
      known->end > memo.text_limit)
    return nullptr;
  return known;
}

}  // namespace

int fetch_program_line(std::uint32_t& length, char* buffer, std::uint32_t& next, std::uint32_t& start) {
  start = program_offset;
  std::uint32_t end = program_length;
  line_record* known = known_line(start);
  if (known) {
    end = known->end;
  } else if (start < program_length) {
    const void* lf = std::memchr(program_buffer + start, '\n', program_length - start);
    if (lf) end = static_cast<std::uint32_t>(static_cast<const char*>(lf) - program_buffer) + 1;  // the LF belongs to the line
    if (end <= memo.text_limit) {
      line_record& record = line_records.store(make_memo_key(memo.epoch, start), memo.stamp);
      record = line_record{};
      record.end = end;
      known = &record;
    }
  } else {
    end = start;
  }
  std::uint32_t bytes = end - start;
  if (bytes > max_line_bytes) {
    // Show the start of the line in the report, then refuse it.
    std::memcpy(buffer, program_buffer + start, max_line_bytes);
    buffer[max_line_bytes] = 0;
    line_start = scan_pointer = statement_start = buffer;
    line_text_origin = 0;
    line_length = static_cast<std::int32_t>(max_line_bytes);
    line_end = buffer + max_line_bytes;
    return report_error_at(0, err_statement_too_long_255);
  }
  // The line's text without its LF or CR LF, into the buffer.
  const char* text = program_buffer + start;
  const std::uint32_t raw_bytes = bytes;
  if (known && known->length >= 0) {
    bytes = static_cast<std::uint32_t>(known->length);
  } else {
    if (bytes > 0 && text[bytes - 1] == '\n') --bytes;
    if (bytes > 0 && text[bytes - 1] == '\r') --bytes;
    if (known) known->length = static_cast<std::int32_t>(bytes);
  }
  const bool ended_cr = bytes < raw_bytes && text[bytes] == '\r';
  std::memcpy(buffer, text, bytes);
  fetched_record = known;
  fetched_record_line = start;
  buffer[bytes] = 0;
  length = bytes;
  next = end;
  next_line_offset = end;
  if (debug_mode && ended_cr) {
    std::string echo(buffer, bytes);
    echo += '\n';
    print_text(echo);
  }
  return 0;
}

namespace {

// The line known_line_ahead found, run as fetch_program_line,
// process_statement_line and process_statements run it: the line's text into
// the buffer and the scan state on it, its number, and its statements from
// the first. The result process_statement_line gives.
int run_known_line(line_record& known, char* buffer) {
  const std::uint32_t start = program_offset;
  const auto bytes = static_cast<std::uint32_t>(known.length);
  std::memcpy(buffer, program_buffer + start, bytes);
  buffer[bytes] = 0;
  fetched_record = &known;
  fetched_record_line = start;
  next_line_offset = known.end;
  enter_line_text(buffer, bytes, start + 1);
  first_data_on_line = 0;
  line_statement_number = 0;
  if (known.number_found == 1) {
    statement_number = known.number;
    line_statement_number = known.number;
  }
  scan_pointer = buffer + known.statement_column;
  int result = process_statement();
  if (result < 0) return report_error(err_return_processing_statement);
  if (result == 1) return 1;
  skip_blanks();
  if (scan_pointer < line_end && *scan_pointer == ':') ++scan_pointer;
  // process_statements' steps at the line's end, else the rest of the line.
  if (scan_pointer >= line_end) return while_open_in_if() ? report_error_at(0, err_while_within_if_statement_not) : 0;
  return peek_nonblank() == 0 ? 0 : process_statements();
}

}  // namespace

int run_program_lines() {
  nesting_guard depth;
  if (body_nesting > max_body_nesting) {
    error_column = 0;
    return report_error_message(err_invalid_statement, "FOR, WHILE and GOSUB nested more than 1000 deep.");
  }
  char line_buffer[max_line_bytes + 1];
  // The outermost line loop leaves no scan state pointing into its buffer:
  // a report made after the run (a working-folder check, a failed load)
  // finds no line to show.
  struct release_outermost_line {
    const char* buffer;
    ~release_outermost_line() {
      const auto at = reinterpret_cast<std::uintptr_t>(line_start);
      const auto first = reinterpret_cast<std::uintptr_t>(buffer);
      if (body_nesting != 1 || at < first || at > first + max_line_bytes) return;
      line_start = line_end = scan_pointer = statement_start = nullptr;
      line_length = 0;
      line_text_origin = 0;
    }
  } release{line_buffer};
  int result = 0;
  program_ended = 0;
  for (;;) {
    if (program_offset >= program_length) {
      if (program_ended && !prescan_mode) return -1;
      if (blocks.block_kind == BLOCK_FOR && blocks.in_for && !blocks.next_seen) {
        return report_error_at(0, err_for_without_next);
      }
      if (blocks.block_kind == BLOCK_WHILE && blocks.in_while && !blocks.wend_seen) {
        return report_error_at(0, err_while_without_wend);
      }
      if (blocks.block_kind == BLOCK_GOSUB && blocks.in_gosub && !blocks.return_seen) {
        return report_error_at(0, err_gosub_without_return);
      }
      return result;
    }
    if (blocks.resume_at_body && !memo_watched() && !program_ended) {
      // A loop body that starts on the line after its FOR or WHILE: the loop's
      // own line has nothing left to run, so it is not fetched again for
      // every pass (the next line's fetch sets the scan state).
      const line_record* known = known_line(program_offset);
      if (known && known->length > 0 && blocks.body_column >= static_cast<std::uint32_t>(known->length) &&
          known->end < program_length) {
        blocks.resume_at_body = 0;
        line_statement_number = 0;
        first_data_on_line = 0;
        goto_target = 0;
        next_line_offset = known->end;
        program_offset = known->end;
        continue;
      }
    }
    std::uint32_t length = 0, next = 0, start = 0;
    if (line_record* known = known_line_ahead()) {
      next = known->end;  // (the record's slot may serve another line once the line runs)
      result = run_known_line(*known, line_buffer);
      if (result < 0) return report_error(err_return_processing_statement_line);
    } else if (int fetched = fetch_program_line(length, line_buffer, next, start); fetched < 0) {
      return fetched;
    } else if (length > 0) {
      // A copy of the pre-scanned text: the scanner may remember its items.
      enter_line_text(line_buffer, length, next <= memo.text_limit ? start + 1 : appended_line_origin(start));
      if (blocks.resume_at_body) {
        scan_pointer += blocks.body_column <= length ? blocks.body_column : length;
        blocks.resume_at_body = 0;
      }
      if (!program_ended || prescan_mode) {
        result = process_statement_line();
        if (result < 0) return report_error(err_return_processing_statement_line);
      }
    }
    if (program_ended || (blocks.in_gosub && blocks.return_seen) || (blocks.in_while && blocks.wend_seen) || (blocks.in_for && blocks.next_seen) ||
        blocks.resume_at_body)
      continue;
    if (goto_target != 0) {
      int index = find_statement_number(goto_target);
      if (index < 0) {
        return report_error_at(0, err_statement_number_not_found);
      }
      program_offset = statement_number_table[index].line_offset;
      continue;
    }
    program_offset = next;
  }
}

int process_statement_line() {
  line_statement_number = 0;
  first_data_on_line = 0;
  // A line of the pre-scanned text has its number read once: the number and
  // where it ends are kept with the line.
  line_record* record = nullptr;
  if (scan_pointer == line_start && memo_key_at(line_start) != 0) {
    const std::uint32_t line = line_text_origin - 1;
    // (fetch_program_line has just fetched the line: its record still holds.)
    record = fetched_record != nullptr && fetched_record_line == line ? fetched_record : known_line(line);
  }
  int found;
  if (record && record->number_found >= 0) {
    found = record->number_found;
    if (found == 1) {
      statement_number = record->number;
      scan_pointer = line_start + record->number_end;
    }
  } else {
    found = get_statement_number(0);
    if (record && found >= 0) {
      record->number_found = found;
      record->number = statement_number;
      record->number_end = static_cast<std::uint32_t>(scan_pointer - line_start);
    }
  }
  if (found == -1) return report_error(err_invalid_statement_number);
  if (found < 0) return found;
  if (found == 1) {
    // "10: PRINT" is a numbered line whose first statement follows the colon.
    if (scan_pointer < line_end && *scan_pointer == ':') ++scan_pointer;
    line_statement_number = statement_number;
    if (debug_mode) {
      char text[64];
      std::snprintf(text, sizeof text, "Statement Number:    %u \n", statement_number);
      print_text(text);
    }
  }
  if (record && record->statement_column < 0 && peek_nonblank() != '\0')
    record->statement_column = static_cast<std::int32_t>(scan_pointer - line_start);
  return process_statements();
}

namespace {

// ------------------------------------------------------------ passed-over runs
//
// A run of statements passed over to the end of a line (the rest of a false
// IF's line, a loop's body after its last pass) is remembered by where it
// starts, once it has been passed over whole with every statement but the
// last an assignment to a variable or an element. Passing over such an
// assignment changes nothing but the scan state and the peak of the
// temporary strings. So when the same run is passed over again under the
// same tables and blocks, the scan state it left before its last statement is
// put back, the peak is raised as the run raised it, and only the last
// statement is passed over anew (it leaves the state it leaves). Not used
// while DEBUG, TRACE or stepping show what happens.

// A run holds under the memo stamp it was passed over under: the tables its
// assignments read unchanged.
struct skipped_run {
  bool replayable = false;  // else the run was watched once and did not qualify
  block_state blocks_at_start{};
  std::uint32_t last_column = 0;  // where the last statement starts in the line
  std::uint32_t peak_rise = 0;    // above the level at the start
  scan_results before_last;  // (what passing over an assignment may change)
};

memo_table<skipped_run, 256> skipped_runs;

// Set by process_statement: the statement it just ran was an assignment to
// a double or string variable or element, passed over.
bool passed_over_assignment = false;

bool same_blocks(const block_state& a, const block_state& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The key of a run starting at scan_pointer, or 0 when runs may not be
// remembered here.
memo_key skipped_run_key() {
  if (!no_execute || user_call_chain != nullptr || field_count > 0) return 0;
  return memo_key_at(scan_pointer);
}

// What is known of the run at key under the current stamp and blocks.
enum run_memory { RUN_UNKNOWN, RUN_REPLAYED, RUN_NOT_REPLAYABLE };

// Passes over the run at key as remembered: the scan state before its last
// statement, the peak, and the scanner on the last statement (RUN_REPLAYED).
// RUN_NOT_REPLAYABLE when the run was watched under the same stamp and
// blocks and did not qualify (watching it again would find the same);
// RUN_UNKNOWN when nothing holds for it.
run_memory replay_skipped_run(memo_key key) {
  const skipped_run* found = skipped_runs.find(key);
  if (!found || !same_blocks(found->blocks_at_start, blocks)) return RUN_UNKNOWN;
  if (!found->replayable) return RUN_NOT_REPLAYABLE;
  const skipped_run& run = *found;
  const std::uint64_t reach = static_cast<std::uint64_t>(temp_strings_used) + run.peak_rise;
  if (reach > temp_strings_size) return RUN_UNKNOWN;
  run.before_last.restore();
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  scan_pointer = line_start + run.last_column;
  return RUN_REPLAYED;
}

// Watches a run being passed over for the first time and remembers it when
// it qualifies.
class skipped_run_recorder {
 public:
  bool active() const { return active_; }

  void abandon() {
    if (active_) stop();
  }

  void start(memo_key key) {
    key_ = key;
    stamp_ = memo.stamp;
    blocks_at_start_ = blocks;
    base_ = temp_strings_used;
    saved_peak_ = temp_strings_peak;
    temp_strings_peak = temp_strings_used;  // to see how far the run raises it
    statements_ = 0;
    all_assignments_ = true;
    active_ = true;
  }

  // Before each statement: the scan state the statements so far left. False
  // when the run no longer qualifies (the watch then ends).
  bool before_statement() {
    if (!no_execute) {
      stop();
      return false;
    }
    before_last_.take();
    last_column_ = static_cast<std::uint32_t>(scan_pointer - line_start);
    rise_before_last_ = temp_strings_peak - base_;
    return true;
  }

  void after_statement() {
    all_before_last_ = all_assignments_;
    all_assignments_ = all_assignments_ && passed_over_assignment;
    ++statements_;
  }

  // The run reached the end of its line.
  void finish() {
    if (!active_) return;
    if (no_execute && memo_holds(stamp_) && same_blocks(blocks_at_start_, blocks) && temp_strings_used == base_) {
      skipped_run& run = skipped_runs.store(key_, stamp_);
      run.blocks_at_start = blocks_at_start_;
      run.replayable = statements_ >= 2 && all_before_last_;
      if (run.replayable) {
        run.last_column = last_column_;
        run.peak_rise = rise_before_last_;
        run.before_last = before_last_;
      }
    }
    stop();
  }

 private:
  void stop() {
    if (saved_peak_ > temp_strings_peak) temp_strings_peak = saved_peak_;
    active_ = false;
  }

  bool active_ = false;
  memo_key key_ = 0;
  memo_stamp stamp_ = 0;
  block_state blocks_at_start_{};
  std::uint32_t base_ = 0;
  std::uint32_t saved_peak_ = 0;
  std::uint32_t last_column_ = 0;
  std::uint32_t rise_before_last_ = 0;
  int statements_ = 0;
  bool all_assignments_ = true;
  bool all_before_last_ = false;
  scan_results before_last_;
};

// One run is watched at a time (a run nested in it, such as the statements
// of an IF passed over inside it, is not).
skipped_run_recorder run_recorder;

// Ends the watch of the process_statements that started it, however it
// returns (a run that ended at its line's end was finished before).
struct run_watch {
  bool watching = false;
  ~run_watch() {
    if (watching) run_recorder.abandon();
  }
};

}  // namespace

int process_statements() {
  int result = 0;
  run_watch watch;
  bool replayed = false;
  for (;;) {
    if (scan_pointer >= line_end) {
      if (while_open_in_if()) return report_error_at(0, err_while_within_if_statement_not);
      if (watch.watching) run_recorder.finish();
      return result;
    }
    if (peek_nonblank() == 0) {
      if (watch.watching) run_recorder.finish();
      return result;
    }
    if (no_execute && !replayed && !watch.watching && !run_recorder.active()) {
      if (memo_key key = skipped_run_key()) {
        switch (replay_skipped_run(key)) {
          case RUN_REPLAYED:
            replayed = true;
            break;
          case RUN_UNKNOWN:
            run_recorder.start(key);
            watch.watching = true;
            break;
          case RUN_NOT_REPLAYABLE:
            replayed = true;  // passed over statement by statement, unwatched
            break;
        }
      }
    }
    if (watch.watching && !run_recorder.before_statement()) watch.watching = false;
    result = process_statement();
    if (result < 0) return report_error(err_return_processing_statement);
    if (result == 1) return 1;
    if (watch.watching) run_recorder.after_statement();
    skip_blanks();  // "GOSUB 100 : PRINT": the statement may stop before blanks
    if (scan_pointer < line_end && *scan_pointer == ':') ++scan_pointer;
  }
}

namespace {

// What follows every statement that ran to its end: the controls a step
// request may have changed. Returns result.
int statement_done(int result) {
  if (run_step_needs_enable) {
    frontend_port().enable_control(IDC_RUN_STEP, true);
    run_step_needs_enable = 0;
  }
  // Run/Step pressed during the computation: the pause it asked for starts at
  // the next statement, with the stepping pause's controls.
  if (computing_busy && (step_mode || step_requested)) controls_show_stepping(COMMAND_BOX_FOCUSED);
  computing_busy = 0;
  return result;
}

}  // namespace

int process_statement() {
  for (;;) {
    user_call_reset_if_idle();
    graph_repaint_throttled();
    if (!console_mode) {
      if (!step_mode) {
        pump_window_events();
        if (!kill_requested) take_step_request();
      } else if (!step_banner_pending) {
        graph_repaint_if_changed();
        controls_focus_command_box();
        pump_window_events();
        wait_for_events_until([] { return !step_mode || step_requested || immediate_command_pending; }, false);
      }
    } else {
      // A statement of an immediate command (step_requested set for it) runs
      // without waiting for another console line.
      console_check_interrupt();  // Ctrl+C ends console mode here, between statements
      bool stepped = step_requested != 0;
      take_step_request();
      if (step_mode && !no_execute && !step_banner_pending && !stepped) read_console_step_line();
    }

    if (kill_requested) {
      chain_pending = 0;
      scan_pointer = line_end;
      program_offset = program_length;
      program_ended = 1;
      step_mode = debug_mode = input_waiting = 0;
      graph_repaint_if_changed();
      return report_error_at(0, err_user_interrupted_program);
    }
    if (immediate_command_pending) {
      immediate_command_pending = 0;
      step_requested = 1;
      run_immediate_while_stepping();
      if (console_mode) step_requested = 0;  // the interrupted statement waits for its own line
      if (!console_mode && !step_mode) controls_command_idle();
      continue;
    }

    statement_start = scan_pointer;
    error_column = 0;  // a report before the statement notes a column points at its start
    take_step_request();
    if (step_mode && !no_execute) {
      if (step_banner_pending) {
        char field[16];
        format_offset_field(program_offset, field, sizeof field);
        char banner[96];
        std::snprintf(banner, sizeof banner, "User interrupted program at offset%s. Next statement is:\r\n", field);
        print_text(banner);
        echo_statement();
        print_text("\nStepping...(click STEP or CONTINUE)\n");
        step_banner_pending = 0;
        controls_restore_command_label();  // stepping: "Stepping -- Command:"
        frontend_port().enable_control(IDC_RUN, true);
        continue;
      }
      print_text("\n");
      echo_statement();
      controls_restore_command_label();  // stepping: "Stepping -- Command:"
    }
    break;
  }

  if (trace_mode && !step_mode && !no_execute) {
    graph_repaint_if_changed();
    print_text("\n");
    echo_statement();
  }

  passed_over_assignment = false;
  const memo_stamp statement_stamp = memo.stamp;  // (an assignment run is remembered under it)
  unremembered_assignment = 0;
  expr_item item;
  int result = 0;
  // An element read here is the target of an assignment: its name is not
  // made, since the right side's items replace it before anything reads it
  // (do_assignment makes it again for the result line DEBUG shows).
  element_name_unused = true;
  int type = get_statement_item(item);
  if (type >= double_target_item) {
    if (type == remembered_statement_item) {
      if (remembered_statement_result < 0) return remembered_statement_result;
      return statement_done(0);
    }
    // A simple double or string variable, "=" next.
    {
      temp_level_guard level;
      result = type == double_target_item ? assign_double_variable(item) : assign_string_variable_target(item);
    }
    if (result < 0) return result;
    passed_over_assignment = no_execute;
    if (unremembered_assignment != 0) remember_assignment(statement_start + item.column, statement_stamp);
    return statement_done(0);
  }
  if (type < 0) return report_error(err_return_get_item);

  switch (type) {
    case ITEM_DOUBLE:
    case ITEM_STRING:
    case ITEM_LONG:
    case ITEM_FIELD:
    case ITEM_STRING_ARRAY:
    case ITEM_NUMERIC_ARRAY:
      if (peek_nonblank() != '=') {
        return report_error_at(item.column, err_invalid_statement);
      }
      {
        temp_level_guard level;
        result = do_assignment(static_cast<int>(type), item, 0);
      }
      if (result < 0) return result;
      passed_over_assignment = no_execute && (type == ITEM_DOUBLE || type == ITEM_STRING);
      if (unremembered_assignment != 0) remember_assignment(statement_start + item.column, statement_stamp);
      result = 0;
      break;
    case ITEM_STATEMENT: {
      {
        temp_level_guard level;
        result = do_keyword_statement(static_cast<int>(item.value.token));
      }
      if (result == 1) {
        scan_pointer = statement_start;
        return 1;
      }
      if (result < 0) return report_error(err_return_do_keyword_statement);
      break;
    }
    case ITEM_COMMAND: {
      temp_level_guard level;
      result = do_command(static_cast<int>(item.value.token));
      if (result < 0) return result;
      return 0;
    }
    default:
      return report_error_at(item.column, err_invalid_statement);
  }

  return statement_done(result);
}

int execute_statement_text(const char* text) {
  char buffer[max_line_bytes + 1];
  std::size_t length = std::strlen(text);
  if (length > max_line_bytes) length = max_line_bytes;
  std::memcpy(buffer, text, length);
  buffer[length] = 0;

  int result;
  {
    scan_text_guard scan(buffer, buffer + length);
    result = process_statements();
  }
  return result < 0 ? report_error(err_return_processing_statement_line) : result;
}

int classify_command_line() {
  statement_start = scan_pointer = line_start;
  expr_item item;
  int type = get_item(item, GI_STATEMENT_START);
  if (type < 0) return type;  // already reported; running the text would report it again
  if (type == ITEM_NUMBER_AT_START) {
    return report_error_at(0, err_statement_number_invalid_in_command);
  }
  if (type != ITEM_COMMAND) {
    scan_pointer = line_start;
    return 1;
  }
  int result = 0;
  command_typed = 1;
  {
    temp_level_guard level;
    result = do_command(static_cast<int>(item.value.token));
  }
  command_typed = 0;
  if (result >= 0 && line_start != nullptr && peek_nonblank() != 0) result = report_error_here(err_extra_characters_on_line);
  graph_repaint_if_changed();
  return result < 0 ? result : 0;
}

std::uint32_t typed_line_offset = no_typed_line;

bool statement_is_typed() { return typed_line_offset != no_typed_line && program_offset >= typed_line_offset; }

int run_typed_line() {
  static const char end_line[] = "\r\nend\r\n";
  constexpr std::uint32_t end_line_length = sizeof end_line - 1;
  std::uint32_t length = static_cast<std::uint32_t>(line_end - line_start);
  if (program_buffer == nullptr ||
      static_cast<std::uint64_t>(program_length) + length + 10 >= program_buffer_size) {
    print_text("Insufficient program file buffer space.\n");
    return 0;
  }
  std::uint32_t saved_length = program_length;
  std::uint32_t saved_typed_offset = typed_line_offset;
  std::memcpy(program_buffer + program_length, end_line, end_line_length);
  program_length += end_line_length;
  std::uint32_t line_offset = program_length;
  std::memmove(program_buffer + program_length, line_start, length);
  program_length += length;
  program_buffer[program_length++] = '\r';
  program_buffer[program_length++] = '\n';
  program_buffer[program_length] = 0;

  // The lines run from buffers of their own levels; the typed text is the
  // caller's line again afterwards, scanned to its end.
  scan_line typed;
  program_offset = line_offset;
  blocks.resume_at_body = 0;
  chain_pending = 0;
  typed_line_offset = line_offset;
  int result = run_program_lines();
  typed_line_offset = saved_typed_offset;

  program_length = saved_length;
  program_buffer[program_length] = 0;
  typed.restore_line();
  statement_start = line_start;
  scan_pointer = line_end;
  return result;
}

int run_immediate_while_stepping() {
  // The interrupted statement's parse state, put back after the typed line.
  scan_line paused;
  block_frame frame;
  std::uint32_t saved_offset = program_offset, saved_next = next_line_offset, saved_goto = goto_target;

  enter_outermost_blocks();  // a pending BREAK belongs to the paused loop
  no_execute = blocks.skip_block = 0;

  char typed[sizeof command_line];
  std::memcpy(typed, command_line, sizeof typed);
  typed[sizeof typed - 1] = 0;
  point_scan_at(typed, typed + std::strlen(typed));

  command_in_pause = 1;
  int classified = classify_command_line();
  if (classified == 1) run_typed_line();
  command_in_pause = 0;
  graph_repaint_if_changed();

  paused.restore();
  program_offset = saved_offset;
  next_line_offset = saved_next;
  goto_target = saved_goto;
  return 0;
}

int run_loaded_program() {
  reset_run_flags();
  current_channel = 0;
  reset_print_channel(0);
  output_column = 0;
  long_modes_run_start();
  data_reset_reading_state();
  degrees_mode = 0;
  datetime_run_start(chain_keepdata);
  program_offset = 0;
  blocks.loop_line_offset = blocks.loop_statement_column = 0;
  long_run_start();
  if (program_load_failed) {
    // A program chained to that has errors ends the chain here: the run is
    // over, as at the end of a program (else the chain would load it again).
    if (chain_pending) {
      chain_pending = 0;
      channels_close_all();
    }
    line_start = nullptr;
    restore_working_folder();
    return report_error(err_program_has_errors_run);
  }
  random_reset();
  channels_reset_counts();
  if (!chain_keepdata) clear_all_variables();
  if (!chain_pending) graph_window_destroy();
  if (step_requested) {
    step_banner_pending = 1;
    controls_show_stepping(COMMAND_BOX_UNTOUCHED);
  }
  program_running = 1;
  chain_pending = 0;
  chain_keepdata = 0;
  int result = run_program_lines();
  graph_repaint_if_changed();
  if (!chain_pending) {
    channels_close_all();
    trace_mode = 0;
    set_long_all_mode(0);
  }
  program_running = 0;
  restore_working_folder();
  return result;
}

int run_program() {
  chain_pending = 0;
  chain_keepdata = 0;
  for (;;) {
    bool chaining = chain_pending != 0;
    reset_run_flags();
    // A RUN of the text already in the buffer keeps the verdict of its last
    // pre-scan, so a program with errors stays refused (error 104).
    if (!program_already_loaded) program_load_failed = 0;
    if (!chain_keepdata) clear_all_variables();
    channels_free_fields();
    command_typed = 0;
    int scanned = 0;
    if (!program_already_loaded) {
      if (load_program_file(0) != 0) {
        program_load_failed = 1;
        if (run_mode != RUN_MODE_LOAD_ONLY) frontend_port().run_finished();
        restore_working_folder();
        chain_pending = 0;
        error_column = 0;
        line_start = nullptr;
        int reported = report_error(err_unable_to_load_program);
        // The window looks names up in its working folder, not where the
        // user may think: say which file it tried.
        if (!console_mode) print_text(source_file_path + "\n");
        return reported;
      }
      int saved_step = step_mode;
      step_mode = 0;
      scanned = prescan_program();
      step_mode = saved_step;
      if (scanned < 0)
        program_load_failed = 1;
      else if (run_mode == RUN_MODE_LOAD_ONLY)
        print_screen_item_line("\nProgram successfully loaded. No errors\n");
    } else if (!program_load_failed) {
      // The text is already loaded, but CLEAR may have emptied the function
      // table and every run start empties the FIELD table: scan the same text
      // again to rebuild them, without loading APPEND and INCLUDE files twice.
      int saved_step = step_mode;
      step_mode = 0;
      prescan_loads_files = 0;
      scanned = prescan_program();
      prescan_loads_files = 1;
      step_mode = saved_step;
      if (scanned < 0) program_load_failed = 1;
    }
    program_already_loaded = 0;
    if (!chaining) {
      debug_mode = 0;
      debug_reset_options();
    }
    if (!chaining && !chain_keepdata) set_long_all_mode(0);
    degrees_mode = 0;
    memo_changed();
    if (run_mode == RUN_MODE_LOAD_ONLY) {
      restore_working_folder();
      return scanned;
    }
    if (program_length == 0) {
      frontend_port().run_finished();
      chain_pending = 0;
      restore_working_folder();
      line_start = nullptr;
      return report_error(err_no_program_loaded);
    }
    frontend_port().enable_control(IDC_KILL, true);
    run_loaded_program();
    if (chain_pending && !kill_requested) {
      std::string next_program = path_from_program_text(chain_file_name);
      if (path_normalize_in_program_folder(next_program) < 0) {
        chain_pending = 0;
        frontend_port().run_finished();
        restore_working_folder();
        line_start = nullptr;
        return report_error(err_unable_to_load_program);
      }
      source_file_path = next_program;
      if (step_mode) print_text("\n----- Chaining to New Program -------\n");
      continue;
    }
    if (step_mode) print_text("\n----- Program Terminated-------\n");
    // The console has no Continue button to end a pause: a finished run
    // leaves no stepping behind for the lines typed next.
    if (console_mode) step_mode = step_banner_pending = 0;
    frontend_port().run_finished();
    chain_pending = 0;
    restore_working_folder();
    return 0;
  }
}
