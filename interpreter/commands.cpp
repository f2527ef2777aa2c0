// The commands list, run, houseclean, clear and load.
#include "interpreter/commands.h"

#include <cstdio>
#include <string>

#include "session/paths.h"
#include "interpreter/errors.h"
#include "interpreter/output.h"
#include "interpreter/output_channels.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"

namespace {

// RUN and LOAD: only typed commands start a run.
int run_or_load() {
  // A typed RUN or LOAD while a program is paused would replace the text and
  // the variables under the paused statement: refused like RUN in a program.
  if (!command_typed || command_in_pause) {
    return report_error_at(0, err_run_or_load_only_valid);
  }
  program_already_loaded = 0;
  print_screen_item_line("\n----- Beginning Program Execution---------------------------------------------\n");

  expr_item name;
  int type = get_item(name, GI_DATA_VALUE);
  if (type < 0) return report_error(err_return_get_item);
  if (type != 0 && type != ITEM_STRING) {
    return report_error_at(name.column, err_invalid_file_name_for_run);
  }
  scan_line typed;  // the typed line, kept across the run a command starts
  int result = 0;
  if (type == ITEM_STRING) {
    std::string path = path_from_program_text(std::string_view(string_accumulator,
                                                               static_cast<std::size_t>(string_accumulator_length)));
    run_start_folder = path_current_directory();
    if (path_normalize(path) < 0) return -1;
    if (path_split(path, program_folder, program_file_name, PATH_BASE_WORKING) < 0) return -1;
    source_file_path = path;
    result = run_program();
  } else if (run_mode == RUN_MODE_LOAD_ONLY) {
    return report_error_at(name.column, err_missing_file_name_for_load);
  } else if (program_length == 0) {
    error_column = 0;
    line_start = nullptr;
    result = report_error(err_no_program_loaded);
  } else {
    run_start_folder = path_current_directory();
    program_already_loaded = 1;
    result = run_program();
  }
  typed.restore();
  return result;
}

}  // namespace

void format_offset_field(std::uint32_t offset, char* out, std::size_t out_size) {
  if (offset < 0x10000u)
    std::snprintf(out, out_size, "    %4X", offset);
  else
    std::snprintf(out, out_size, "%4X%04X", offset >> 16, offset & 0xFFFFu);
}

int list_program() {
  scan_line saved;
  std::uint32_t saved_offset = program_offset;
  std::uint32_t saved_next = next_line_offset;
  char line[max_line_bytes + 1];
  char field[16];
  program_offset = 0;
  while (program_offset < program_length) {
    std::uint32_t length = 0, next = 0, start = 0;
    if (fetch_program_line(length, line, next, start) < 0) break;
    format_offset_field(start, field, sizeof field);
    std::string text = field;
    text += "  ";
    text.append(line, length);
    text += "\r\n";
    print_text(text);
    program_offset = next;
  }
  program_offset = saved_offset;
  next_line_offset = saved_next;
  saved.restore();

  print_text("\n");
  print_text("  stmt-num pgm-offset loop-offset loop-stmt-offset\n");
  char row[128];
  for (std::uint32_t i = 0; i < statement_number_count; ++i) {
    const statement_number_entry& e = statement_number_table[i];
    char a[16], b[16], c[16];
    format_offset_field(e.line_offset, a, sizeof a);
    format_offset_field(e.loop_line_offset > 0 ? e.loop_line_offset - 1 : 0, b, sizeof b);
    format_offset_field(e.loop_statement_column, c, sizeof c);
    std::snprintf(row, sizeof row, "%10i   %s    %s         %s\n", static_cast<int>(e.number), a, b, c);
    print_text(row);
  }
  print_text("\n  stmt-num pgm-offset data-offset         data length\n");
  for (std::uint32_t i = 0; i < data_count; ++i) {
    const data_entry& e = data_table[i];
    char a[16], b[16], c[16];
    format_offset_field(e.line_offset, a, sizeof a);
    format_offset_field(e.text_column, b, sizeof b);
    format_offset_field(e.text_length, c, sizeof c);
    std::snprintf(row, sizeof row, "%10i   %s    %s         %s\n", static_cast<int>(e.statement_number), a, b, c);
    print_text(row);
  }
  return 0;
}

int do_command(int token) {
  run_mode = RUN_MODE_RUN;
  if (token < 0 || token > CMD_LOAD) return -1;
  if (debug_mode) {
    char text[40];
    std::snprintf(text, sizeof text, "Command is %.8s\n", keyword_word(command_keywords, token));
    print_text(text);
  }
  switch (token) {
    case CMD_LIST:
      if (no_execute) return 0;
      return list_program();
    case CMD_RUN:
      return run_or_load();
    case CMD_HOUSECLEAN:
      return houseclean();
    case CMD_CLEAR:
      if (no_execute) return 0;
      // A running FOR holds its control variable's slot and a running
      // function call its parameters: freeing them under it is refused.
      if (for_loops_running > 0 || user_call_depth > 0) {
        error_column = 0;
        return report_error_message(err_invalid_statement, "CLEAR not allowed inside a FOR loop or a function call.");
      }
      clear_user_functions();
      return clear_all_variables();
    case CMD_LOAD:
      run_mode = RUN_MODE_LOAD_ONLY;
      return run_or_load();
    default:
      return -1;
  }
}
