// BEEP, CLS, COLOR, HELP, CHDIR, DELAY and SPAWN: parse in every mode, act
// only when the statement runs; the desktop side goes through platform/.
#include "interpreter/system_statements.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "session/paths.h"
#include "session/working_folder.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/output.h"
#include "interpreter/pending.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/window_controls.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/process.h"

const char* const help_topic_titles[help_topic_count] = {
    "Introduction to BASIC",
    "Introduction to Tovarelle",
    "Tovarelle User Interface",
    "Advanced Features in Tovarelle",
    "Debugging",
    "Functions, Statements and Commands",
    "Working With Long Numbers",
    "Number Representation, Assignment and Conversion",
    "User-Defined Funtions",
    "Working With Files",
    "Beginning Graphics",
    "Intermediate Graphics",
    "Advanced Graphics",
    "Working With Dates and Times",
    "Quick Reference Booklet",
};

namespace {

constexpr int console_clear_lines = 30;
constexpr const char* default_sound_file = "beep.wav";

bool skipping() { return no_execute || prescan_mode; }

// Evaluates the expression at the scan pointer as a double (flags as for
// evaluate_expression). Returns 2 or a negative code.
int evaluate_double(int flags) {
  int type = evaluate_expression(flags);
  if (type < 0) return type;
  return result_to_double(type, 1);
}

// Evaluates the statement's operand, noting its column for error reports.
// Returns the result type (2 when as_double), or a negative code.
int evaluate_operand(std::uint32_t& column, bool as_double) {
  skip_blanks();
  column = scan_column();
  return as_double ? evaluate_double(0) : evaluate_expression(0);
}

// Maps the blue-green-red bit order of an attribute nibble to an ANSI colour.
int ansi_colour(int nibble) {
  return ((nibble & 4) ? 1 : 0) | ((nibble & 2) ? 2 : 0) | ((nibble & 1) ? 4 : 0);
}

// A double truncated to an int; false when it is not finite or out of range.
bool truncate_to_int(double value, int& out) {
  if (!std::isfinite(value)) return false;
  double t = std::trunc(value);
  if (t < static_cast<double>(INT_MIN) || t > static_cast<double>(INT_MAX)) return false;
  out = static_cast<int>(t);
  return true;
}

}  // namespace

// ---------------------------------------------------------------- helpers

int check_param_range(double low, double high) {
  double v = double_accumulator;
  if (v >= low && v <= high) return 0;  // false for a NaN
  return report_error(err_invalid_value_for_parameter);
}

std::string console_color_sequence(std::int32_t attribute) {
  if (attribute == -1) return "\x1b[0m";
  int fg = attribute & 0x0F;
  int bg = (attribute >> 4) & 0x0F;
  char text[32];
  std::snprintf(text, sizeof text, "\x1b[0;%d;%dm", ((fg & 8) ? 90 : 30) + ansi_colour(fg),
                ((bg & 8) ? 100 : 40) + ansi_colour(bg));
  return text;
}

void console_set_color(std::int32_t attribute) {
  if (!console_mode || !console_output_is_terminal()) return;
  console_write(console_color_sequence(attribute));
  console_flush();
}

std::string help_topic_document(int topic) {
  if (topic < 1 || topic > help_topic_count) return {};
  char name[32];
  std::snprintf(name, sizeof name, "tovarelle_help_%02d.pdf", topic);
  return interpreter_folder + name;
}

std::vector<std::string> split_spawn_parameters(const std::string& text) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) break;
    std::string arg;
    if (text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string::npos) close = text.size();
      arg = text.substr(i + 1, close - i - 1);
      i = close < text.size() ? close + 1 : close;
    } else {
      std::size_t end = i;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
      arg = text.substr(i, end - i);
      i = end;
    }
    args.push_back(arg);
  }
  return args;
}

// ---------------------------------------------------------------- BEEP

int stmt_beep() {
  expr_item item;
  int type = get_item(item, 0);
  if (type < 0) return type;
  if (type == ITEM_NONE) {
    if (skipping()) return 0;
    sound_stop();
    sound_play_file(default_sound_file);
    return 0;
  }
  if (type != ITEM_STRING) {
    return report_error_at(item.column, err_incorrect_data_type_looking_for_116);
  }
  if (skipping()) return 0;
  if (string_accumulator[0] == 0) {
    sound_stop();
    return 0;
  }
  sound_play_file(path_from_program_text(string_accumulator));
  return 0;
}

// ---------------------------------------------------------------- CLS

int stmt_cls() {
  if (skipping()) return 0;
  if (console_mode) {
    console_write(std::string(console_clear_lines, '\n'));
    console_flush();
    return 0;
  }
  reset_print_channel(0);
  return output_buffer_clear();
}

// ---------------------------------------------------------------- COLOR

int stmt_color() {
  std::uint32_t column = 0;
  int r = evaluate_operand(column, true);
  if (r < 0) return r;
  if (skipping()) return 0;
  int attribute = 0;
  if (!truncate_to_int(double_accumulator, attribute)) {
    return report_error_at(column, err_invalid_value_for_parameter);
  }
  console_set_color(attribute);
  return 0;
}

// ---------------------------------------------------------------- HELP

int stmt_help() {
  skip_blanks();
  std::uint32_t column = scan_column();
  expr_item item;
  int r = scan_number_literal(item, 0);
  if (r < 0) return r;
  if (r == 0) {
    if (skipping()) return 0;
    for (int i = 0; i < help_topic_count; ++i) {
      char line[80];
      std::snprintf(line, sizeof line, "%d  %s\n", i + 1, help_topic_titles[i]);
      print_text(line);
    }
    return 0;
  }
  if (skipping()) return 0;
  error_column = static_cast<int>(column);
  if (r == ITEM_NUMERIC_TEXT || r == ITEM_NUMBER_AT_START) {
    if (string_to_double(0, 0) != 2) return report_error(err_parameter_out_range);
  } else if (r == ITEM_DOUBLE) {
    double_accumulator = item.value.number;
  }
  int topic = 0;
  if (!truncate_to_int(double_accumulator, topic) || topic < 1 || topic > help_topic_count)
    return report_error(err_parameter_out_range);
  process_open_document(help_topic_document(topic), interpreter_folder);  // result ignored
  return 0;
}

// ---------------------------------------------------------------- CHDIR

int stmt_chdir() {
  std::uint32_t column = 0;
  int type = evaluate_operand(column, false);
  if (type < 0) return type;
  if (skipping()) return 0;
  if (type != ITEM_STRING) {
    return report_error_at(column, err_invalid_type_expecting_string);
  }
  std::string folder = path_from_program_text(string_accumulator);
  if (!console_mode) return set_working_directory(folder) < 0 ? -1 : 0;

  int result = 0;
  if (folder.empty() || folder.size() > path_max_chars || chdir(folder.c_str()) != 0) {
    error_column = static_cast<int>(column);
    report_error(err_directory_does_not_exist);
    result = -1;
  }
  std::string current = path_current_directory();
  if (!current.empty()) {
    print_text("Current directory is: " + current + "\n");
    working_folder = current;
  }
  return result;
}

// ---------------------------------------------------------------- DELAY

int stmt_delay() {
  std::uint32_t column = 0;
  int r = evaluate_operand(column, true);
  if (r < 0) return r;
  if (skipping()) return 0;
  error_column = static_cast<int>(column);
  r = check_param_range(1.0, 10000.0);
  if (r < 0) return r;
  // The console sleeps; a window keeps working during the pause and Kill ends it.
  wait_milliseconds(static_cast<std::uint32_t>(std::trunc(double_accumulator)));
  return 0;
}

// ---------------------------------------------------------------- SPAWN

namespace {

bool looks_like_url(const std::string& text) {
  return text.find("://") != std::string::npos || text.rfind("mailto:", 0) == 0;
}

// Starts what SPAWN names: a program in the folder, at the path given or on
// PATH runs with the parameters as its arguments; a document, folder or URL
// opens with the desktop's opener. Returns 0, or -1 when nothing could start.
int spawn_target(const std::string& file, const std::string& parameters, const std::string& folder) {
  if (file.empty()) return -1;
  // The child changes to the folder before it starts, so every name handed
  // to it must be absolute: a relative name would otherwise count twice.
  std::string here = path_current_directory();
  std::string absolute_folder = folder;
  if (!folder.empty() && folder[0] != '/') absolute_folder = here + "/" + folder;
  bool relative = file[0] != '/';
  std::string in_folder = relative && !absolute_folder.empty() ? absolute_folder + "/" + file : std::string();
  std::string as_given = relative ? here + "/" + file : file;

  std::string program;
  bool is_program = (!in_folder.empty() && process_find_program(in_folder, &program)) ||
                    (file.find('/') != std::string::npos && process_find_program(as_given, &program)) ||
                    (file.find('/') == std::string::npos && process_find_program(file, &program));
  if (is_program) {
    std::vector<std::string> args{program};
    for (std::string& a : split_spawn_parameters(parameters)) args.push_back(std::move(a));
    return process_spawn(args, absolute_folder);
  }
  if (looks_like_url(file)) return process_open_document(file, absolute_folder);
  if (!in_folder.empty() && path_exists(in_folder)) return process_open_document(in_folder, absolute_folder);
  if (path_exists(as_given)) return process_open_document(as_given, absolute_folder);
  return -1;
}

}  // namespace

int stmt_spawn() {
  std::string texts[3];
  std::uint32_t file_column = 0;
  for (int i = 0; i < 3; ++i) {
    skip_blanks();
    std::uint32_t column = scan_column();
    if (i == 0) file_column = column;
    char c = *scan_pointer;
    if (i > 0 && (scan_pointer >= line_end || c == ':' || c == 0)) break;
    int type = evaluate_expression(2);
    if (type < 0) return type;
    if (type == 0 && i > 0) break;
    if (skipping()) continue;
    if (type != ITEM_STRING) {
      return report_error_at(column, err_invalid_type_expecting_string);
    }
    texts[i].assign(string_accumulator, strnlen(string_accumulator, string_accumulator_size));
  }
  if (skipping()) return 0;
  std::string folder = path_from_program_text(texts[2]);
  if (spawn_target(path_from_program_text(texts[0]), texts[1], folder) < 0) {
    return report_error_at(file_column, err_error_occurred_doing_spawn);
  }
  return 0;
}
