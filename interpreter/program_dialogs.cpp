// Dialogs for programs: argument checks and errors, the modeless wait of
// messagebox and select, the input form (its description, layout, initial
// values and the assignment of the typed texts), and the choosers.
#include "interpreter/program_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/paths.h"
#include "session/size_settings.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/files.h"
#include "interpreter/functions_internal.h"
#include "interpreter/input.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

namespace {

constexpr int err_interrupted = 106;
constexpr int err_parameter_count = 145;
constexpr int err_expect_string = 146;
constexpr int err_file_cancelled = 292;
constexpr int err_not_in_console = 293;
constexpr int err_form_cancelled = 303;
constexpr int err_form_row = 304;
constexpr int err_form_start = 305;
constexpr int err_form_width = 306;
constexpr int err_form_too_many = 307;
constexpr int err_form_target = 308;
constexpr int err_form_array_first = 309;
constexpr int err_form_array_second = 310;
constexpr int err_function_console = 311;
constexpr int err_form_dimensions = 312;
constexpr int err_font_cancelled = 313;
constexpr int err_expect_string_array = 333;
constexpr int err_array_one_dimension = 334;

constexpr int modeless_wait_ms = 100;          // the wait between looks at a modeless dialog
constexpr std::size_t display_long_digits = 244;  // digits of a long value shown in a field
constexpr const char* default_form_title = "Enter Data";

// 1 while messagebox or select waits for its dialog (the main window reads it).
void set_waiting_for_dialog(bool waiting) { messagebox_active = waiting ? 1 : 0; }

std::string cut(std::string_view text, std::size_t limit) {
  return std::string(text.substr(0, text.size() < limit ? text.size() : limit));
}

bool is_form_target(int type) {
  return type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG || type == ITEM_FIELD;
}

// ---------------------------------------------------------------- modeless wait

// Ends the run after Kill while a modeless dialog was waited for; returns
// the negative code of error 106.
int stop_run_killed(DialogPort& dialogs) {
  dialogs.close_modeless();
  set_waiting_for_dialog(false);
  return end_busy_run_killed();
}

// Waits until the open modeless dialog closes, keeping the main window alive
// (Kill enabled, the command box disabled). The dialog's answer, or the
// negative code of error 106 after Kill.
int wait_for_modeless_dialog(DialogPort& dialogs) {
  FrontendPort& port = frontend_port();
  set_waiting_for_dialog(true);
  controls_show_busy();
  for (;;) {
    int answer = dialogs.modeless_result();
    if (answer != dialog_still_open) {
      set_waiting_for_dialog(false);
      return answer;
    }
    if (kill_requested) return stop_run_killed(dialogs);
    if (!port.wait_for_event(modeless_wait_ms)) kill_requested = 1;  // the application is quitting
  }
}

// ---------------------------------------------------------------- the form

// Reads a form cell as a number: blanks around it allowed, nothing else.
bool cell_number(const char* text, double& value) {
  while (*text == ' ' || *text == '\t') ++text;
  if (*text == '\0') return false;
  char* end = nullptr;
  value = std::strtod(text, &end);
  if (end == text) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0' && std::isfinite(value);
}

// A form cell's number within low..high (truncated), or false.
bool cell_in_range(const char* text, int low, int high, int& out) {
  double value = 0;
  if (!cell_number(text, value)) return false;
  if (!(value >= low && value < high + 1.0)) return false;
  out = static_cast<int>(value);
  return out >= low && out <= high;
}

// The description of the form the statement or function asked for.
struct form_request {
  bool update = false;    // UPDATEDIALOG: fields show the current values
  std::string title = default_form_title;
  std::vector<form_item_spec> items;
};

// Assigns the texts of a form's fields to their targets, field by field.
class FormAssigner final : public FormChecker {
 public:
  explicit FormAssigner(const std::vector<form_item_spec>& items) : items_(items) {}

  form_check check(const dialog_form& form, int) override {
    form_check result;
    for (std::size_t position = 0; position < form.elements.size(); ++position) {
      const form_element& element = form.elements[position];
      if (element.is_button) continue;
      const std::string& target = items_[static_cast<std::size_t>(element.index)].target;
      scan_text_scope scope(target);
      error_column = 0;
      expr_item variable;
      int type = get_item(variable, GI_STATEMENT_START);
      if (type < 0) {
        result.status = type;
        return result;
      }
      if (!is_form_target(type)) {
        result.status = report_error(err_form_target);
        return result;
      }
      scan_pointer = statement_start;
      std::string literal = inputdialog_quote_entry(cut(element.text, program_dialog_text_max), type);
      std::vector<char> value(literal.begin(), literal.end());
      value.push_back('\0');
      const char* at = value.data();
      int assigned = assign_input_items(value.data(), &at, 0, INPUT_MODE_DIALOG);
      if (assigned == 0) continue;
      if (assigned < 0 && input_list_failed) {
        result.status = assigned;
        return result;
      }
      if (type == ITEM_DOUBLE || type == ITEM_LONG) {
        // The number could not be read: the form stays open at this field.
        int code = assigned < 0 ? -assigned : 118;
        const char* why = code > 0 && code < error_message_count ? error_messages[code] : "";
        if (why[0] == '-') ++why;
        result.status = 1;
        result.element = static_cast<int>(position);
        result.title = "Invalid Numeric Format";
        result.message = "The data in field \"" + element.label + "\" \ncannot be converted to a number.\n\n" +
                         why + "\n\nPlease re-enter.";
        return result;
      }
      result.status = assigned < 0 ? assigned : report_error(118);
      return result;
    }
    return result;
  }

 private:
  const std::vector<form_item_spec>& items_;
};

// The text an UPDATEDIALOG field starts with: the target's current value.
int field_display_value(const std::string& target, std::string& shown) {
  shown.clear();
  int type;
  {
    scan_text_scope scope(target);
    error_column = 0;
    expr_item variable;
    type = get_item(variable, GI_STATEMENT_START);
    if (type < 0) return report_error(10);
    if (!is_form_target(type)) return report_error(err_form_target);
  }
  int value_type = evaluate_expression_text(target);
  if (value_type < 0) return value_type;
  if (value_type == ITEM_DOUBLE) {
    char number[64];
    std::snprintf(number, sizeof number, "%-.18g", double_accumulator);
    shown = number;
    return 0;
  }
  if (value_type == ITEM_LONG) {
    std::int32_t level = long_temp_used;
    std::int32_t saved_precision = long_precision;
    const long_number* source = long_accumulator;
    long_number* rounded = nullptr;
    if (!integer_mode && long_precision > static_cast<std::int32_t>(display_long_digits)) {
      long_precision = static_cast<std::int32_t>(display_long_digits);
      rounded = long_temp_alloc();
      if (rounded != nullptr && long_round_copy(long_accumulator, rounded, long_precision) >= 0) source = rounded;
    }
    char text[program_dialog_text_max + 1];
    std::int32_t size = sizeof text;
    if (long_to_text(source, text, &size) >= 0) shown.assign(text, static_cast<std::size_t>(size));
    long_precision = saved_precision;
    long_temp_release_to(level);
    return 0;
  }
  std::string value(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  int code = inputdialog_quote_display(value, type, shown);
  return code == 0 ? 0 : report_error(code);
}

// Builds the form, shows it and waits for it to close. 0 (OK), a form
// button's number, dialog_cancelled, or a negative code (reported).
int run_input_form(form_request& request, const char* what) {
  dialog_form form;
  form.title = request.title;
  form.large = dialogs_large();
  int failed = 0;
  int code = inputdialog_layout(request.items, form.large, form, failed);
  if (code != 0) return report_error(code);
  if (request.update) {
    for (form_element& element : form.elements) {
      if (element.is_button) continue;
      int r = field_display_value(request.items[static_cast<std::size_t>(element.index)].target, element.text);
      if (r < 0) return r;
    }
  }
  FormAssigner assigner(request.items);
  int result = dialog_port().input_form(form, assigner);
  if (result == dialog_unavailable) return dialog_not_available(what);
  return result;
}

// True when a ";" outside strings and brackets ends a title before the end
// of the statement.
bool statement_has_title() {
  bool quoted = false;
  int depth = 0;
  for (const char* p = scan_pointer; p < line_end && *p != '\0'; ++p) {
    char c = *p;
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    else if (c == ')') --depth;
    else if (depth == 0 && c == ':') return false;
    else if (depth == 0 && c == ';') return true;
  }
  return false;
}

// INPUTDIALOG / UPDATEDIALOG [title;] variable, ... (one to six).
int form_statement(bool update) {
  const char* what = update ? "UPDATEDIALOG" : "INPUTDIALOG";
  if (console_mode) {
    error_column = 0;  // the statement itself
    return report_error(err_not_in_console);
  }
  form_request request;
  request.update = update;
  if (statement_has_title()) {
    const char* at = scan_pointer;
    int type = evaluate_expression(2);
    if (type < 0) return type;
    if (type == ITEM_STRING && scan_pointer > at && scan_pointer[-1] == ';')
      request.title = cut(std::string_view(string_accumulator, static_cast<std::size_t>(string_accumulator_length)),
                          program_dialog_text_max);
    else
      scan_pointer = at;  // not a title: the list starts here
  }
  std::uint32_t temp_level = temp_strings_used;
  for (;;) {
    if (statement_ends_here()) break;
    skip_blanks();
    const char* at = scan_pointer;
    int column = static_cast<int>(scan_column());
    expr_item variable;
    error_column = column;
    int type = get_item(variable, GI_STATEMENT_START);
    if (type < 0) return type;
    error_column = column;
    if (!is_form_target(type)) return report_error(err_form_target);
    if (static_cast<int>(request.items.size()) == inputdialog_max_variables) return report_error(err_form_too_many);
    std::string reference(at, static_cast<std::size_t>(scan_pointer - at));
    while (!reference.empty() && (reference.back() == ' ' || reference.back() == '\t')) reference.pop_back();
    std::uint32_t offset = 0;
    if (text_to_temp(reference, &offset) < 0) return -14;  // the references live in temporary strings
    form_item_spec item;
    item.label = item.target = reference;
    item.row = static_cast<int>(request.items.size());
    request.items.push_back(item);
    if (skip_blanks() != ',') break;
    ++scan_pointer;
  }
  if (request.items.empty()) {
    error_column = static_cast<int>(scan_column());
    return report_error(err_form_target);
  }
  if (no_execute) return 0;
  const char* resume = scan_pointer;
  int result = run_input_form(request, what);
  scan_pointer = resume;
  temp_strings_used = temp_level;
  if (result == dialog_cancelled) return report_error(err_form_cancelled);
  return result < 0 ? result : 0;
}

// inputdialog([title$,] form$()) / updatedialog(...).
int form_function(bool update, expr_item* arguments, int count) {
  const char* what = update ? "UPDATEDIALOG" : "INPUTDIALOG";
  if (console_mode) return report_error(err_function_console);
  if (count < 1 || count > 2) return argument_count_error(arguments, count);
  form_request request;
  request.update = update;
  int array_at = 0;
  std::string_view title;
  if (argument_text(arguments[0], title)) {
    request.title = cut(title, program_dialog_text_max);
    array_at = 1;
    if (count < 2) {
      error_column = function_column;
      return report_error(err_form_array_second);
    }
  } else if (count == 2) {
    return argument_count_error(arguments, count);
  }
  expr_item& form_array = arguments[array_at];
  if (form_array.type != ITEM_STRING_ARRAY || form_array.array == nullptr)
    return argument_error(form_array, array_at == 0 ? err_form_array_first : err_form_array_second);
  const array_entry& array = *form_array.array;
  if (array.dimension_count < 1 || array.dimension_count > 2) return argument_error(form_array, err_form_dimensions);
  int code = inputdialog_read_form_array(array, request.items);
  if (code != 0) return argument_error(form_array, code);
  error_column = static_cast<int>(form_array.column);
  int result = run_input_form(request, what);
  if (result == dialog_cancelled) return result_double(-1);
  if (result < 0) return result;
  return result_double(result);
}

// The file choosers behind BROWSEINPUTFILE$ and BROWSEOUTPUTFILE$.
int browse_file_function(bool save, expr_item* arguments, int count) {
  const char* what = save ? "BROWSEOUTPUTFILE$" : "BROWSEINPUTFILE$";
  error_column = function_column;
  if (console_mode) return report_error(err_not_in_console);
  if (count != 1) return argument_count_error(arguments, count);
  std::string_view title;
  if (int r = string_argument(arguments[0], title); r < 0) return r;
  std::string folder = working_folder;
  std::string name;
  int chosen = save ? browse_save_file(false, std::string(title), folder, name)
                    : browse_open_file(false, std::string(title), folder, name);
  if (chosen == dialog_unavailable) return dialog_not_available(what);
  error_column = function_column;
  if (chosen == 0) return report_error(err_file_cancelled);
  std::string path;
  if (int r = path_combine(path, folder, name); r < 0) return r;
  if (path.size() > max_string_length) return report_error(err_string_too_long);
  return result_text(path, ITEM_STRING);
}

}  // namespace

// ---------------------------------------------------------------- shared

int dialog_not_available(const char* what) {
  std::string text = std::string(what) + " is not available in this build.";
  return report_error_message(47, text.c_str());
}

bool dialogs_large() { return size_settings[SIZE_SCREEN_SIZE].current == 2; }

// ---------------------------------------------------------------- messagebox

int func_messagebox(expr_item* arguments, int count) {
  if (console_mode) return report_error(err_function_console);
  if (count < 2 || count > 4) return argument_count_error(arguments, count);
  message_box_request request;
  request.large = dialogs_large();
  for (int i = 0; i < count; ++i) {
    std::string_view text;
    if (int r = string_argument(arguments[i], text); r < 0) return r;
    if (i == 0) request.text = cut(text, program_dialog_text_max);
    else request.buttons.push_back(cut(text, messagebox_caption_max));
  }
  DialogPort& dialogs = dialog_port();
  if (dialogs.open_message_box(request) == dialog_unavailable) return dialog_not_available("MESSAGEBOX");
  int answer = wait_for_modeless_dialog(dialogs);
  if (answer == -err_interrupted) return answer;
  if (answer < 1 || answer > static_cast<int>(request.buttons.size())) return result_double(-1);
  return result_double(answer);
}

// ---------------------------------------------------------------- select

int func_select(expr_item* arguments, int count) {
  if (console_mode) return report_error(err_function_console);
  if (count < 2 || count > 3) return argument_count_error(arguments, count);
  select_request request;
  request.large = dialogs_large();
  std::string_view prompt;
  if (int r = string_argument(arguments[0], prompt); r < 0) return r;
  request.prompt = cut(prompt, program_dialog_text_max);
  if (arguments[1].type != ITEM_STRING_ARRAY || arguments[1].array == nullptr)
    return argument_error(arguments[1], err_expect_string_array);
  const array_entry& array = *arguments[1].array;
  if (array.dimension_count != 1) return argument_error(arguments[1], err_array_one_dimension);
  std::size_t elements = array_element_count(array);
  std::size_t limit = elements;
  if (count == 3) {
    double wanted = 0;
    if (int r = double_argument(arguments[2], wanted); r < 0) return r;
    if (wanted >= 1 && wanted < static_cast<double>(elements) + 1) limit = static_cast<std::size_t>(wanted);
  }
  // The non-empty elements in index order, at most limit of them.
  std::vector<std::size_t> element_of_entry;
  for (std::size_t i = 0; i < elements && request.items.size() < limit; ++i) {
    const char* text = string_space_text(array.data[i].string_offset);
    if (text[0] == '\0') continue;
    request.items.emplace_back(text);
    element_of_entry.push_back(i);
  }
  DialogPort& dialogs = dialog_port();
  if (dialogs.open_select_list(request) == dialog_unavailable) return dialog_not_available("SELECT");
  int answer = wait_for_modeless_dialog(dialogs);
  if (answer == -err_interrupted) return answer;
  if (answer < 0 || static_cast<std::size_t>(answer) >= element_of_entry.size()) return result_double(-1);
  return result_double(static_cast<double>(element_of_entry[static_cast<std::size_t>(answer)]));
}

// ---------------------------------------------------------------- the form

const form_metrics& inputdialog_metrics(bool large) {
  static const form_metrics small_metrics{20, 7, 20, 1, 30, 4, 100, 30, 400};
  static const form_metrics large_metrics{25, 9, 25, 1, 38, 5, 125, 38, 500};
  return large ? large_metrics : small_metrics;
}

int inputdialog_read_form_array(const array_entry& array, std::vector<form_item_spec>& items) {
  items.clear();
  const std::size_t rows = array.dimension_sizes[0];
  const std::size_t columns = array.dimension_count == 2 ? array.dimension_sizes[1] : 1;
  auto cell = [&](std::size_t row, std::size_t column) {
    return string_space_text(array.data[row * columns + column].string_offset);
  };
  for (std::size_t k = 0; k < rows; ++k) {
    form_item_spec item;
    const char* first = cell(k, 0);
    item.label = columns >= 2 ? cell(k, 1) : first;
    if (item.label.empty()) break;  // the form ends here
    double number = 0;
    if (array.dimension_count == 2 && cell_number(first, number)) {
      if (!cell_in_range(first, 1, 99, item.button_number)) return err_form_row;
      item.is_button = true;
    } else {
      item.target = first;
    }
    if (columns >= 3) {
      if (!cell_in_range(cell(k, 2), 0, item.is_button ? inputdialog_max_row : inputdialog_max_row - 1, item.row))
        return err_form_row;
    } else {
      // The row defaults to the element's index; the form holds rows 0..6 only.
      if (k > static_cast<std::size_t>(inputdialog_max_row)) return err_form_row;
      item.row = static_cast<int>(k);
    }
    if (columns >= 4 && !cell_in_range(cell(k, 3), 0, 95, item.start)) return err_form_start;
    if (columns >= 5) {
      if (!cell_in_range(cell(k, 4), 0, 100, item.width) || (item.width != 0 && item.width < 5)) return err_form_width;
      if (item.width == 0) item.width = 100;
    }
    items.push_back(item);
  }
  return 0;
}

int inputdialog_layout(const std::vector<form_item_spec>& items, bool large, dialog_form& form, int& element) {
  const form_metrics& m = inputdialog_metrics(large);
  struct row_state {
    int last = -1;  // position in form.elements of the row's last element
    int start = 0;
    int end = 0;
  } rows[inputdialog_max_row + 1];
  form.elements.clear();
  form.large = large;
  int highest_row = -1;
  bool any_button = false;
  auto place = [&](form_element& e, int row, int start, int width) {
    const int x = m.left_margin + m.form_width * start / 100;
    const int w = m.form_width * width / 100;
    const int y = m.top_margin + row * m.row_height();
    e.label_rect = e.is_button ? dialog_rect{} : dialog_rect{x, y, w, m.label_height};
    e.box = {x, y + m.label_height + m.label_gap, w, m.field_height};
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const form_item_spec& item = items[i];
    element = static_cast<int>(i);
    if (item.row < 0 || item.row > inputdialog_max_row) return err_form_row;
    int start = item.start;
    int width = item.width;
    if (start + width > 100) width = 100 - start;
    if (width < 5) return err_form_width;
    row_state& row = rows[item.row];
    if (row.last >= 0 && start < row.end) {
      // The row's last element ends 2 % before this one starts.
      int shortened = start - 2 - row.start;
      if (shortened < 5) return err_form_start;
      form_element& previous = form.elements[static_cast<std::size_t>(row.last)];
      place(previous, item.row, row.start, shortened);
    }
    form_element e;
    e.is_button = item.is_button;
    e.index = static_cast<int>(i);
    e.button_number = item.button_number;
    e.label = item.label;
    place(e, item.row, start, width);
    form.elements.push_back(e);
    row = {static_cast<int>(form.elements.size()) - 1, start, start + width};
    if (item.row > highest_row) highest_row = item.row;
    if (item.is_button) any_button = true;
  }
  element = -1;
  form.width = m.form_width + 9 + 2 * m.left_margin;
  form.height = m.top_margin + (highest_row + 1) * m.row_height() + m.ok_height +
                (any_button ? m.field_gap : m.row_height());
  form.has_ok_button = !any_button;
  form.ok_rect = form.has_ok_button ? dialog_rect{form.width - m.ok_width - m.left_margin,
                                                  form.height - m.ok_height - 7, m.ok_width, m.ok_height}
                                    : dialog_rect{};
  return 0;
}

namespace {

// The quoted form of text with backslash escapes (no blanks dropped).
void append_escaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c; break;
    }
  }
}

}  // namespace

std::string inputdialog_quote_entry(std::string_view text, int type) {
  if (!text.empty() && text[0] == '"') return std::string(text);
  std::size_t first = 0;
  while (first < text.size() && text[first] == ' ') ++first;
  std::size_t last = text.size();
  while (last > first && text[last - 1] == ' ') --last;
  std::string literal = "\"";
  append_escaped(literal, text.substr(first, last - first));
  if (literal.size() == 1 && (type == ITEM_DOUBLE || type == ITEM_LONG)) literal += '0';
  literal += '"';
  if (literal.size() > program_dialog_text_max) return std::string(text);  // too long: kept as typed
  return literal;
}

int inputdialog_quote_display(std::string_view text, int type, std::string& shown) {
  if (type == ITEM_FIELD) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  bool needs_quotes = !text.empty() && (text.front() == ' ' || text.front() == '"' || text.back() == ' ' ||
                                        text.find_first_of("\r\n") != std::string_view::npos);
  if (!needs_quotes) {
    shown.assign(text);
    return 0;
  }
  std::string quoted = "\"";
  append_escaped(quoted, text);
  quoted += '"';
  if (quoted.size() > program_dialog_text_max) return err_string_too_long;
  shown = quoted;
  return 0;
}

int func_inputdialog(expr_item* arguments, int count) { return form_function(false, arguments, count); }
int func_updatedialog(expr_item* arguments, int count) { return form_function(true, arguments, count); }
int stmt_inputdialog() { return form_statement(false); }
int stmt_updatedialog() { return form_statement(true); }

// ---------------------------------------------------------------- choosers

int func_browseinputfile(expr_item* arguments, int count) { return browse_file_function(false, arguments, count); }
int func_browseoutputfile(expr_item* arguments, int count) { return browse_file_function(true, arguments, count); }

int choose_font_dialog(std::string& face, int& point_size, int& weight, int& italic) {
  dialog_font_choice font;
  int result = dialog_port().choose_font(font);
  if (result == dialog_unavailable) return dialog_not_available("The font dialog (choosefont$)");
  if (result < 0) return report_error(err_font_cancelled);
  face = font.face;
  point_size = font.point_size;
  weight = font.weight;
  italic = font.italic;
  return 0;
}
