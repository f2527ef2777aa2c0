// The parameter parsers shared by the graph statements.
#include "graph/graph_params.h"

#include <cmath>
#include <numbers>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/functions.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"

int graph_check_param_range(double lo, double hi) {
  double v = double_accumulator;
  if (!(v >= lo && v <= hi)) return report_error(252);
  return 0;
}

namespace {
bool only_parsing() { return prescan_mode || no_execute; }
bool is_value_type(int type) {
  return type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG || type == ITEM_NUMERIC_TEXT;
}
}  // namespace

int graph_parse_color() {
  if (skip_blanks() == '(') {
    expr_item list[max_parameters];
    int count = 0;
    if (get_parameter_list(&count, list) < 0) return -1;
    if (count == 0) return report_error(193);
    if (count != 3) return report_error(145);
    int color = 0;
    for (int i = 0; i < 3; ++i) {
      if (item_to_double(list[i]) < 0) return -1;
      error_column = static_cast<int>(list[i].column);
      double_accumulator = list[i].value.number;
      if (only_parsing()) continue;
      if (graph_check_param_range(0, 255) < 0) return -252;
      color += (static_cast<int>(double_accumulator) & 0xFF) << (8 * i);
    }
    return only_parsing() ? 0 : color;
  }
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (only_parsing()) return 0;
  if (!is_value_type(type) || result_to_double(type, 0) < 0) return report_error(276);
  double v = double_accumulator;
  if (!(v >= 0 && v <= 16777215)) return report_error(276);
  return static_cast<int>(v);
}

int graph_parse_angle() {
  constexpr double two_pi = 2 * std::numbers::pi;
  if (degrees_mode) {
    if (graph_check_param_range(-3600, 3600) < 0) return -252;
    double a = std::fmod(double_accumulator, 360.0);
    if (a < 0) a += 360;
    double_accumulator = a * std::numbers::pi / 180;
  } else {
    if (graph_check_param_range(-20 * std::numbers::pi, 20 * std::numbers::pi) < 0) return -252;
    double a = std::fmod(double_accumulator, two_pi);
    if (a < 0) a += two_pi;
    double_accumulator = a;
  }
  if (double_accumulator >= two_pi) double_accumulator = 0;  // -tiny + 2 pi rounds up to 2 pi
  return 0;
}

int graph_next_keyword(const keyword_table& table, int invalid_code) {
  skip_blanks();
  if (scan_pointer < line_end && *scan_pointer == ',') {
    ++scan_pointer;
    skip_blanks();
  }
  error_column = static_cast<int>(scan_column());
  if (scan_pointer >= line_end) return graph_list_end;
  expr_item item;
  int type = get_item(item, GI_WORD | GI_DATA_VALUE | GI_LIST);
  if (type < 0) return -1;
  if (type == 0) return graph_list_end;
  if (type != ITEM_STRING) return report_error(invalid_code);
  int token = keyword_lookup(table, std::string_view(string_accumulator, static_cast<std::size_t>(string_accumulator_length)));
  if (token < 0) return report_error(invalid_code);
  return token;
}

int graph_expect_equals() {
  skip_blanks();
  if (scan_pointer >= line_end || *scan_pointer != '=') return report_error_here(251);
  ++scan_pointer;
  return 0;
}

int graph_read_number(int invalid_code, bool unconvertible_is_invalid) {
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (!is_value_type(type)) return report_error(invalid_code);
  int r = result_to_double(type, unconvertible_is_invalid ? 0 : 1);
  if (r < 0 && unconvertible_is_invalid) return report_error(invalid_code);
  return r < 0 ? r : 0;
}
