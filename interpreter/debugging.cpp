// DEBUG, PRINTALL and DEBUGPRINT, the test hooks, and the dumps of items,
// parameter lists, long numbers and arrays printed while DEBUG is on.
#include "interpreter/debugging.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "session/paths.h"
#include "graph/clip.h"
#include "graph/graph_state.h"
#include "graph/scales.h"
#include "graph/shape_debug.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/keywords.h"
#include "interpreter/named_vars.h"
#include "interpreter/output.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/window_controls.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

int mouse_check_forward = 0;

namespace {

// Main-dialog controls that DEBUG STEP sets up (besides those in frontend_port.h).

constexpr int max_indent = 20;

bool skipping() { return no_execute || prescan_mode; }

// Formats into a std::string (bounded by the buffer, long texts are cut).
__attribute__((format(printf, 1, 2))) std::string format_text(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

std::string indent_text(int blanks) {
  if (blanks < 0) blanks = 0;
  if (blanks > max_indent) blanks = max_indent;
  return std::string(static_cast<std::size_t>(blanks), ' ');
}

bool is_word_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// What the scanner finds next where a word is expected.
enum word_scan : int { WORD_NONE = 0, WORD_FOUND = 1, WORD_OTHER = 2 };

// Scans a plain word (without looking it up as a name) into word. Returns a
// word_scan code, or a negative code when the scan failed.
int scan_word(std::string& word) {
  char c = skip_blanks();
  if (c == 0 || c == ':') return WORD_NONE;
  if (!is_word_start(c)) return WORD_OTHER;
  expr_item item;
  int r = get_item(item, GI_NAME_ONLY);
  if (r < 0) return r;
  word.assign(string_accumulator, strnlen(string_accumulator, string_accumulator_size));
  return word.empty() ? WORD_OTHER : WORD_FOUND;
}

// Passes over a "," before the next argument; sets error_column to where
// that argument starts, for the reports about it.
void pass_comma() {
  if (skip_blanks() == ',') {
    ++scan_pointer;
    skip_blanks();
  }
  error_column = static_cast<int>(scan_column());
}

bool word_is(const std::string& word, const char* text) { return strcasecmp(word.c_str(), text) == 0; }

// The switches that are plain on/off flags, by option.
std::int32_t* option_flag(int option) {
  switch (option) {
    case DEBUG_OPT_PEEKBCD: return &long_peekbcd_on;
    case DEBUG_OPT_LONG: return &long_debug_dump_on;
    case DEBUG_OPT_LNRAT: return &long_lnrat_enabled;
    case DEBUG_OPT_OLDCONVERT: return &long_old_convert;
    case DEBUG_OPT_MATHERROK: return &math_error_ok;
    default: return nullptr;
  }
}

// DEBUG TIMER name [, OFF]: the name has been scanned into name.
int debug_timer_option(int scan_result, const std::string& name) {
  if (scan_result != WORD_FOUND) return report_error(err_invalid_debug_function);
  int timer = long_timer_find(name.c_str());
  if (timer < 0) return report_error(err_invalid_debug_function);
  pass_comma();
  bool off = false;
  std::string third;
  int r = scan_word(third);
  if (r < 0) return r;
  if (skipping()) return 0;
  if (r == WORD_FOUND && word_is(third, "off")) {
    off = true;
  } else if (r != WORD_NONE) {
    return report_error(err_invalid_debug_function);
  }
  long_timer_flags[timer] = off ? 0 : 1;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------- DEBUG

void debug_reset_options() {
  long_reset_debug_options();
  trace_mode = 0;
  long_debug_dump_on = 0;
}

int stmt_debug() {
  std::string word;
  std::uint32_t word_column = (skip_blanks(), scan_column());
  int r = scan_word(word);
  if (r < 0) return r;
  if (r == WORD_NONE) {
    if (!skipping()) debug_mode = 1;
    return 0;
  }
  int option = r == WORD_FOUND ? keyword_lookup(debug_option_keywords, word) : -1;
  if (option < 0) {
    return report_error_at(word_column, err_invalid_debug_function);
  }

  pass_comma();
  std::string argument;
  r = scan_word(argument);
  if (r < 0) return r;
  if (option == DEBUG_OPT_TIMER) return debug_timer_option(r, argument);
  bool off = false;
  if (r == WORD_FOUND && word_is(argument, "off")) {
    off = true;
  } else if (r != WORD_NONE) {
    return report_error(err_invalid_debug_function);
  }
  if (skipping()) return 0;

  if (std::int32_t* flag = option_flag(option)) {
    *flag = off ? 0 : 1;
    return 0;
  }
  switch (option) {
    case DEBUG_OPT_OPTMUL:
      long_full_multiply = off ? 1 : 0;
      return 0;
    case DEBUG_OPT_TESTDATA:
      if (off) return report_error(err_invalid_debug_function);
      if (debug_mode) print_text("Initializing test variables.\n");
      if (debug_setup_test_variables() < 0) {
        return report_error_at(0, err_error_setting_up_test_variables);
      }
      return 0;
    case DEBUG_OPT_STEP:
      if (off) return report_error(err_invalid_debug_function);
      if (!step_mode) {
        step_banner_pending = 1;
        controls_show_stepping(COMMAND_BOX_ENABLED);
      }
      step_mode = 1;
      return 0;
    case DEBUG_OPT_TRACE:
      trace_mode = off ? 0 : 1;
      return 0;
    case DEBUG_OPT_ROUND:
    case DEBUG_OPT_TRUNCATE:
      if (off) return report_error(err_invalid_debug_function);
      long_set_round_mode(option == DEBUG_OPT_ROUND ? 1 : 0);
      return 0;
    case DEBUG_OPT_DETAIL:
    case DEBUG_OPT_GRAPH:
      return 0;
    case DEBUG_OPT_DIR:
      if (!console_mode) print_text(format_text("Working Dir = %s\n", working_folder.c_str()));
      print_text(format_text("CWD         = %s\n", path_current_directory().c_str()));
      print_text(format_text("Program Dir = %s\n", program_folder.c_str()));
      return 0;
    case DEBUG_OPT_OFF:
      debug_mode = 0;
      return 0;
    case DEBUG_OPT_TESTROUTINE:
      error_column = static_cast<int>(word_column);  // where a test that cannot run is reported
      return debug_test_routine();
    case DEBUG_OPT_ZBOX:
      error_column = static_cast<int>(word_column);
      return debug_zbox_reset();
    case DEBUG_OPT_MOUSECHECKFORWARD:
      mouse_check_forward = 1;
      return 0;
    default:
      return report_error(err_invalid_debug_function);
  }
}

// ---------------------------------------------------------------- TESTDATA and test hooks

int debug_setup_test_variables() {
  static const char* const statements[] = {
      "DIM array1 (5, 10)",
      "array1(2,3) = 125",
      "array1(2,4) = 2",
      "DIM array2 (5, 10, 15)",
      "array2(1,2,3) = 500",
      "array2(2,3,4) = 1000",
      "array2(3,4,5) = 3.14159265",
      "DIM array3$ (5, 10)",
      "array3$(2,3) = \"Array Test String 1\"",
      "array3$(2,4) = \"Array Test String 2\"",
      "ab=25",
      "b =15",
      "dd=16",
      "c =20",
      "d =2.5",
      "e =4.5",
      "xyz=55",
      "f = 2",
      "g =4",
      "xx=40",
      "m25=-25",
      "a$=\"Test String 1\"",
      "b$=\"Test String 2\"",
      "c$=\"Test String 3\"",
      "long$=\"1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz\"",
      "xxx = 2222",
      "xx$ = \"xxxxxx\"",
      "log10e = 1/LOG(10)",
  };
  for (const char* statement : statements) {
    if (execute_statement_text(statement) < 0) {
      return report_error_at(0, err_test_statement_failed);
    }
  }
  return 0;
}

namespace {

int test_not_available(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(err_invalid_statement, text.c_str());
}

// Test 7: the texts of the main dialog's controls 10 and 11 (at most 255
// characters; empty when the dialog has no such control) go to dummy$ and
// dummy2$, and the controls are taken away.
int test_take_dialog_texts() {
  static const struct { int control; const char* variable; } targets[] = {{10, "dummy$"}, {11, "dummy2$"}};
  for (const auto& target : targets) {
    std::string text = frontend_port().control_text(target.control);
    if (text.size() > 255) text.resize(255);
    frontend_port().destroy_control(target.control);
    std::memcpy(string_accumulator, text.data(), text.size());
    string_accumulator[text.size()] = '\0';
    string_accumulator_length = static_cast<std::int32_t>(text.size());
    int r = set_named_var_string(target.variable);
    if (r < 0) return r;
  }
  return 0;
}

// Test 8: the record of the last GET on file 2 (as read, zero bytes kept)
// with NUL, LF, CR and backslash written as escapes, at most 255 characters,
// into translated_string$. File 2 must be open in RANDOM mode: 128 when it is
// not open, 129 when it is open for something else.
int test_translate_last_record() {
  constexpr int channel = 2;
  if (number_of_files < channel || !channel_in_range(channel) || file_table[channel].handle == 0)
    return report_error(err_file_number_does_not_represent);
  if (file_table[channel].mode != FILE_MODE_RANDOM) return report_error(err_file_was_opened_with_different);
  std::string_view record = last_get_record_bytes(channel);
  std::size_t record_length = static_cast<std::size_t>(file_table[channel].width > 0 ? file_table[channel].width : 0);
  if (record.size() > record_length) record = record.substr(0, record_length);
  std::string text;
  for (char c : record) {
    const char* escape = c == 0 ? "\\0" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\\' ? "\\\\" : nullptr;
    if (escape) {
      text += escape;
    } else {
      text += c;
    }
    if (text.size() >= max_string_length) break;
  }
  if (text.size() > max_string_length) text.resize(max_string_length);
  std::memcpy(string_accumulator, text.data(), text.size());
  string_accumulator[text.size()] = 0;
  string_accumulator_length = static_cast<std::int32_t>(text.size());
  set_named_var_string("translated_string$");
  return 0;
}

double test_value(const char* name) {
  double value = 0;
  get_named_var_double(name, &value);
  return value;
}

// Test 4: the view-box overrides and ratios from the test variables, then
// the boxes again.
int test_view_boxes() {
  graph.zbox_override = test_value("test_z_box_override") != 0;
  graph.zbox_override_left = test_value("test_z_box_left");
  graph.zbox_override_right = test_value("test_z_box_right");
  graph.zbox_override_top = test_value("test_z_box_top");
  graph.zbox_override_bottom = test_value("test_z_box_bottom");
  graph.zbox_ratio = test_value("test_z_box_ratio");
  graph.screen_box_override = test_value("test_screen_override") != 0;
  graph.screen_box_override_left = test_value("test_screen_left");
  graph.screen_box_override_right = test_value("test_screen_right");
  graph.screen_box_override_top = test_value("test_screen_top");
  graph.screen_box_override_bottom = test_value("test_screen_bottom");
  graph.screen_box_ratio = test_value("test_screen_box_ratio");
  return view_compute_boxes();
}

// Test 5: redundant points removed from array(i,0), array(i,1) for
// test_num_points points; the count and the points kept are written back.
int test_redundant_points() {
  std::int32_t n = 0;
  get_named_var_int("test_num_points", &n);
  if (n <= 0) return 0;
  std::vector<graph_point> points;
  char name[64];
  for (std::int32_t i = 0; i < n; ++i) {
    graph_point p;
    std::snprintf(name, sizeof name, "array(%d,0)", static_cast<int>(i));
    if (get_named_var_double(name, &p.x) != 0) return report_error(156);
    std::snprintf(name, sizeof name, "array(%d,1)", static_cast<int>(i));
    if (get_named_var_double(name, &p.y) != 0) return report_error(156);
    points.push_back(p);
  }
  int kept = view_remove_redundant_points(points.data(), static_cast<int>(points.size()));
  set_named_var_int("test_num_points", kept);
  for (int i = 0; i < kept; ++i) {
    std::snprintf(name, sizeof name, "array(%d,0)", i);
    set_named_var_double(name, points[static_cast<std::size_t>(i)].x);
    std::snprintf(name, sizeof name, "array(%d,1)", i);
    set_named_var_double(name, points[static_cast<std::size_t>(i)].y);
  }
  return 0;
}

}  // namespace

int debug_test_routine() {
  if (skipping()) return 0;
  double desired = 0;
  get_named_var_double("test_routine_desired", &desired);
  if (desired == 1) {
    if (console_mode) return test_not_available("The main dialog");
    frontend_port().minimize_window();
    return 0;
  }
  if (desired == 2) return shape_debug_arc_to_bezier();
  if (desired == 3) return shape_debug_ellipse_events();
  if (desired == 4) return test_view_boxes();
  if (desired == 5) return test_redundant_points();
  if (desired == 7) {
    if (console_mode) return test_not_available("The main dialog");
    return test_take_dialog_texts();
  }
  if (desired == 8) return test_translate_last_record();
  return 0;
}

int debug_zbox_reset() {
  graph.zbox_ratio = 0.75;
  graph.screen_box_ratio = 0.5;
  return view_compute_boxes();
}

// ---------------------------------------------------------------- dumps

void format_long_debug_line(const long_number* n, char* out, std::size_t out_size) {
  if (!out || out_size == 0) return;
  if (!n) {
    std::snprintf(out, out_size, "0.0\n");
    return;
  }
  std::string line = format_text("blks=%4d sgn= %s len=%4d exp=%4d, nrm=%d ", n->blks, n->sign ? "-" : "+", n->len,
                                 n->exp, n->norm);
  int blocks = n->blks > 0 ? n->blks : 0;
  int capacity_blocks = n->capacity_bytes / 4;
  if (blocks > capacity_blocks) blocks = capacity_blocks;
  int fit = (80 - static_cast<int>(line.size())) / 9;
  if (fit < 3) fit = 3;
  auto group = [&](int i) { line += format_text("%08u ", n->blocks[i]); };
  if (blocks <= fit) {
    for (int i = 0; i < blocks; ++i) group(i);
  } else {
    group(0);
    group(1);
    line += "- - - -  ";
    for (int i = blocks - (fit - 3); i < blocks; ++i) group(i);
  }
  line += "\n";
  std::snprintf(out, out_size, "%s", line.c_str());
}

int format_long_debug(const char* label, const long_number* n) {
  (void)label;  // the caller prints its own label
  format_long_debug_line(n, string_accumulator, string_accumulator_size);
  string_accumulator_length = static_cast<std::int32_t>(std::strlen(string_accumulator));
  return string_accumulator_length;
}

void debug_long_dump_forced(const char* label, const long_number* n, int mode) {
  std::int32_t saved = long_debug_dump_on;
  long_debug_dump_on = 1;
  long_debug_dump(label, n, mode);
  long_debug_dump_on = saved;
}

namespace {

// One value item of a dump: a double, a string, a numeric text or a long.
// Returns false for any other item type.
bool trace_value_item(const std::string& pad, const expr_item& item, const char* numeric_text_label,
                      const char* long_label) {
  switch (item.type) {
    case ITEM_DOUBLE:
      print_text(format_text("%sFloat var.  %23.18g \n", pad.c_str(), item.value.number));
      return true;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT:
      print_text(format_text("%s%s %s \n", pad.c_str(), item.type == ITEM_STRING ? "String var." : numeric_text_label,
                             temp_string_text(static_cast<std::uint32_t>(item.value.bits))));
      return true;
    case ITEM_LONG:
      debug_long_dump_forced(long_label, item.value.long_value, 0);
      return true;
    default:
      return false;
  }
}

}  // namespace

void trace_item_table(int indent, int enabled, int count, expr_item* items, const char* pass_name) {
  if (!debug_mode || !enabled) return;
  std::string pad = indent_text(indent);
  bool named = pass_name && *pass_name;
  std::string text = format_text("\n%s%d Item(s) in Table%s%s:\n", pad.c_str(), count, named ? " after " : "",
                                 named ? pass_name : "");
  print_text(text);
  for (int i = 0; i < count; ++i) {
    const expr_item& item = items[i];
    int token = static_cast<int>(item.value.token);
    switch (item.type) {
      case ITEM_FUNCTION:
        print_text(format_text("%sFunction    %s \n", pad.c_str(), keyword_word(function_keywords, token)));
        break;
      case ITEM_SPECIAL_NAME:
        print_text(format_text("%sFunction    %s \n", pad.c_str(), keyword_word(special_name_keywords, token)));
        break;
      case ITEM_STATEMENT:
        print_text(format_text("%sStatement   %s \n", pad.c_str(), keyword_word(statement_keywords, token)));
        break;
      case ITEM_OPERATOR:
        print_text(format_text("%sOperator    %c \n", pad.c_str(), item.value.op));
        break;
      case ITEM_LOGICAL:
        print_text(format_text("%sLog. Oper   %s \n", pad.c_str(), keyword_word(logical_operators, token)));
        break;
      case ITEM_COMPARISON:
        print_text(format_text("%sComp. Oper  %s \n", pad.c_str(), keyword_word(relational_operators, token)));
        break;
      case ITEM_PREDEFINED:
        print_text(format_text("%sConstant .  %2s \n", pad.c_str(), predefined_name(token)));
        break;
      default:
        trace_value_item(pad, item, "Num String.", (pad + "Rizozira").c_str());
        break;
    }
  }
  print_text("\n");
}

void trace_parameter_list(int count, expr_item* items, const char* name, int kind) {
  if (!debug_mode) return;
  std::string pad = indent_text(2 * expression_depth);
  const char* shown = name ? name : "";
  if (kind == 1) {
    print_text(format_text("\n%s%d Item(s) in Parameter List for function %s:\n", pad.c_str(), count, shown));
  } else if (kind == 2) {
    print_text(format_text("\n%s%d Item(s) in Parameter List for Array %s:\n", pad.c_str(), count, shown));
  } else {
    print_text(format_text("\n%s%d Item(s) in Data List for INPUT:\n", pad.c_str(), count));
  }
  for (int i = 0; i < count; ++i) trace_value_item(pad, items[i], "Num. String", "Rizozira");
  print_text("\n");
}

int printall_dump_array(const value_slot* elements, std::uint32_t type, const char* name, const char* prefix,
                        int dimension_count, const std::uint32_t* sizes) {
  if (type != 2 && type != 3 && type != 14) return -1;
  if (dimension_count >= 2) {
    std::size_t stride = 1;
    for (int d = 1; d < dimension_count; ++d) stride *= sizes[d];
    for (std::uint32_t i = 0; i < sizes[0]; ++i) {
      std::string extended = format_text("%s%2u,", prefix, i);
      int r = printall_dump_array(elements + i * stride, type, name, extended.c_str(), dimension_count - 1,
                                  sizes + 1);
      if (r < 0) return r;
    }
    return 0;
  }
  if (dimension_count < 1) return 0;
  for (std::uint32_t i = 0; i < sizes[0]; ++i) {
    const value_slot& element = elements[i];
    if (type == 2) {
      if (element.number == 0) continue;
      print_text(format_text("%15s %s%2u) = %23.18g\n", name, prefix, i, element.number));
    } else if (type == 3) {
      if (element.string_offset == 0) continue;
      print_text(format_text("%15s %s%2u) = %s\n", name, prefix, i, string_space_text(element.string_offset)));
    } else {
      if (!element.long_value) continue;
      print_text(format_text("%15s %s%2u) = <long-number:>\n", name, prefix, i));
      char line[string_accumulator_size];
      format_long_debug_line(element.long_value, line, sizeof line);
      print_text(line);
    }
  }
  return 0;
}

int compare_reserved_words(const void* a, const void* b) {
  int r = strncasecmp(static_cast<const char*>(a), static_cast<const char*>(b), reserved_word_slot_size);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// ---------------------------------------------------------------- PRINTALL

namespace {

void printall_variables() {
  for (std::uint32_t i = 0; i < variable_count; ++i) {
    const variable_entry& v = variable_table[i];
    const char* name = variable_name(v);
    if (v.type == 2) {
      print_text(format_text("%10s = %23.18g\n", name, v.value.number));
    } else if (v.type == 3) {
      print_text(format_text("%10s = %s\n", name, string_space_text(v.value.string_offset)));
    } else {
      print_text(format_text("%10s = <long variable>:\n", name));
      char line[string_accumulator_size];
      format_long_debug_line(v.value.long_value, line, sizeof line);
      print_text(line);
    }
  }
}

void printall_arrays() {
  for (std::uint32_t i = 0; i < array_count; ++i) {
    const array_entry& a = array_table[i];
    if (!a.data) continue;
    printall_dump_array(a.data, a.type, array_name(a), "(", static_cast<int>(a.dimension_count),
                        a.dimension_sizes);
  }
}

void printall_memory() {
  auto used_max = [](const char* label, std::uint64_t used, std::uint64_t max) {
    print_text(format_text("%s  %5u, max: %7u\n", label, static_cast<unsigned>(used), static_cast<unsigned>(max)));
  };
  used_max("Variables         Used:", variable_count, variable_capacity);
  used_max("Var.  Name  Space Used:", variable_names_used, variable_names_size);
  used_max("Arrays            Used:", array_count, array_capacity);
  used_max("Array Name  Space Used:", array_names_used, array_names_size);
  used_max("String      Space Used:", string_space_used, string_space_size);
  used_max("Temp String Space Used:", temp_strings_peak, temp_strings_size);
  print_text(format_text("Next Temp String offset: %5u  (should be 1) \n", static_cast<unsigned>(temp_strings_used)));
  used_max("Long Number Space Used:", static_cast<std::uint64_t>(std::max(long_var_used, 0)),
           static_cast<std::uint64_t>(std::max(long_var_pool_size, 0)));
  used_max("Temp Long # Space Used:", static_cast<std::uint64_t>(std::max(long_temp_used_last, 0)),
           static_cast<std::uint64_t>(std::max(long_temp_pool_size, 0)));
  print_text(format_text("Next Temp Long# Offset:  %5u  (should be 0) \n",
                         static_cast<unsigned>(std::max(long_temp_used, 0))));
  used_max("Files used            :", static_cast<std::uint64_t>(std::max(open_file_peak, 0)),
           static_cast<std::uint64_t>(std::max(number_of_files, 0)));
  print_text(format_text("Files currently open  :  %5u\n", static_cast<unsigned>(std::max(open_file_count, 0))));
  used_max("Statement Numbers Used:", statement_number_count, statement_number_capacity);
  used_max("Data Statements Used  :", data_count, data_capacity);
  used_max("Program Space     Used:", program_length, program_buffer_size);
  temp_strings_peak = 1;
  long_temp_used_last = 0;
}

void add_reserved_words(std::vector<std::string>& words, const keyword_table& table, bool skip_user_function) {
  for (int i = 0; i < table.count; ++i) {
    const char* w = keyword_word(table, i);
    if (!w || !*w) continue;
    if (skip_user_function && std::strcmp(w, "****") == 0) continue;
    words.emplace_back(w);
  }
}

void printall_reserved() {
  std::vector<std::string> words;
  add_reserved_words(words, command_keywords, false);
  add_reserved_words(words, function_keywords, true);
  add_reserved_words(words, statement_keywords, false);
  add_reserved_words(words, special_name_keywords, false);
  add_reserved_words(words, logical_operators, false);
  for (int i = 0; i < predefined_count; ++i) {
    const char* w = predefined_name(i);
    if (w && *w) words.emplace_back(w);
  }
  // 24-byte slots as the comparison expects them (longer words are cut).
  std::vector<char> slots(words.size() * reserved_word_slot_size, 0);
  for (std::size_t i = 0; i < words.size(); ++i)
    std::snprintf(&slots[i * reserved_word_slot_size], reserved_word_slot_size, "%s", words[i].c_str());
  if (!words.empty()) std::qsort(slots.data(), words.size(), reserved_word_slot_size, compare_reserved_words);

  constexpr std::size_t zone = 21;
  constexpr int per_line = 4;
  std::string text = "\nReserved Words - Not valid as variable names:\n";
  std::string line;
  int in_line = 0;
  const char* previous = nullptr;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const char* w = &slots[i * reserved_word_slot_size];
    if (previous && compare_reserved_words(previous, w) == 0) continue;
    previous = w;
    if (in_line > 0) line.append(zone * static_cast<std::size_t>(in_line) - line.size(), ' ');
    line += w;
    if (++in_line == per_line) {
      text += line + "\n";
      line.clear();
      in_line = 0;
    }
  }
  if (in_line > 0) text += line + "\n";
  print_text(text);
}

}  // namespace

int stmt_printall() {
  std::string word;
  std::uint32_t column = (skip_blanks(), scan_column());
  int r = scan_word(word);
  if (r < 0) return report_error(err_return_get_item);
  enum { ALL = -1, VARIABLES = 0, ARRAYS, MEMORY, RESERVED };
  int section = ALL;
  if (r != WORD_NONE) {
    static const char* const sections[] = {"variables", "arrays", "memory", "reserved"};
    section = -2;
    for (int i = 0; i < 4 && r == WORD_FOUND; ++i)
      if (strncasecmp(word.c_str(), sections[i], 19) == 0) section = i;
    if (section == -2) {
      return report_error_at(column, err_invalid_parameter_for_printall);
    }
  }
  if (skipping()) return 0;
  int saved_channel = current_channel;
  current_channel = 0;
  if (section == ALL || section == VARIABLES) printall_variables();
  if (section == ALL || section == ARRAYS) printall_arrays();
  if (section == ALL || section == MEMORY) printall_memory();
  if (section == RESERVED) printall_reserved();
  current_channel = saved_channel;
  return 0;
}

// ---------------------------------------------------------------- DEBUGPRINT

int stmt_debugprint() {
  current_channel = 0;
  skip_blanks();
  std::uint32_t column = scan_column();
  expr_item item;
  int type = get_item(item, GI_STATEMENT_START);
  if (type < 0) return report_error(err_return_get_item);
  if (no_execute) return 0;
  error_column = static_cast<int>(column);
  bool is_variable = current_value_slot != nullptr && current_name[0] != 0 &&
                     (type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG);
  if (type == ITEM_NONE || type == ITEM_NUMBER_AT_START || type == ITEM_STRING_AT_START || type == ITEM_NOT_FOUND ||
      (!is_variable && (type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG)))
    return report_error(err_string_or_numeric_variable);
  switch (type) {
    case ITEM_DOUBLE:
      print_text(format_text("%s:  %23.18g\n", current_name, current_value_slot->number));
      return 0;
    case ITEM_STRING: {
      // A parameter's text is kept among the temporary strings.
      const char* text = item_is_parameter ? temp_string_text(current_value_slot->string_offset)
                                           : string_space_text(current_value_slot->string_offset);
      print_text(format_text("%s:  length=%d   ", current_name, static_cast<int>(std::strlen(text))) + text + "\n");
      return 0;
    }
    case ITEM_LONG:
      if (current_value_slot->long_value) {
        debug_long_dump_forced(current_name, current_value_slot->long_value, 1);
      } else {
        print_text(format_text("%s: Zero value - not used yet\n", current_name));
      }
      return 0;
    default:
      return report_error(err_invalid_parameter);
  }
}
