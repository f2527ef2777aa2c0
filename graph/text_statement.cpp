// The TEXT statement: a text on the graph, an axis title, or the defaults
// for later texts. Reads its keyword list, checks values and conflicts, and
// only when executing adds the text (measured once as it is added). A literal
// is kept in its record, so a loop of TEXTs uses up no variables.
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "graph/graph_params.h"
#include "graph/graph_window.h"
#include "graph/text_table.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "ports/font_engine.h"

namespace {

// Token codes of text_keywords (positions in the table).
enum text_word : int {
  tw_xaxis, tw_yaxis, tw_h, tw_v, tw_x, tw_y, tw_boxed, tw_string, tw_color, tw_size,
  tw_datasize, tw_font, tw_bold, tw_italic, tw_normal, tw_angle, tw_x2, tw_y2, tw_justify,
  tw_count
};

struct text_request {
  bool seen[tw_count] = {};
  int column[tw_count] = {};
  double h = 50, v = 85, x = 0, y = 0, x2 = 0, y2 = 0;
  double size = 0, datasize = 0, angle = 0;
  int color = 0;
  int justify = 1;
  std::string face;
  // The string: a variable's slot, or a literal kept as its own text.
  value_slot* slot = nullptr;
  bool literal = false;
  std::string literal_text;
};

bool only_parsing() { return prescan_mode || no_execute; }

// A number after "=" into double_accumulator (276 when it is no number).
int read_value() {
  int r = graph_expect_equals();
  if (r < 0) return r;
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (only_parsing()) {
    double_accumulator = 0;
    return 0;
  }
  if (result_to_double(type, 0) < 0) return report_error(276);
  return 0;
}

// string=: a string variable follows its value; a literal, an array element
// or a function parameter is kept as a text of its own (their slots do not
// live as long as the text).
int read_string(text_request& rq) {
  int r = graph_expect_equals();
  if (r < 0) return r;
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  expr_item item;
  int type = get_item(item, GI_STATEMENT_START);
  if (type < 0) return -1;
  if (only_parsing()) return 0;
  if (type == ITEM_STRING_AT_START) {
    rq.slot = nullptr;
    rq.literal = true;
    rq.literal_text.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    return 0;
  }
  if (type != ITEM_STRING || !current_value_slot) return report_error(299);
  const bool simple = item.array == nullptr && !item_is_parameter && variable_table && variable_capacity > 0 &&
                      current_value_slot >= &variable_table[0].value &&
                      current_value_slot <= &variable_table[variable_capacity - 1].value;
  if (simple) {
    rq.slot = current_value_slot;
    rq.literal = false;
  } else {
    rq.slot = nullptr;
    rq.literal = true;
    rq.literal_text.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  }
  return 0;
}

int read_face(text_request& rq) {
  int r = graph_expect_equals();
  if (r < 0) return r;
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (only_parsing()) return 0;
  if (type != ITEM_STRING) return report_error(146);
  std::size_t n = static_cast<std::size_t>(string_accumulator_length);
  rq.face.assign(string_accumulator, std::min<std::size_t>(n, text_face_size - 1));
  return 0;
}

int read_justify(text_request& rq) {
  int r = graph_expect_equals();
  if (r < 0) return r;
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  expr_item item;
  int type = get_item(item, GI_DATA_VALUE);
  if (type < 0) return -1;
  if (only_parsing()) return 0;
  if (type != ITEM_STRING) return report_error(276);
  std::string word(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  static const char* const words[] = {"left", "center", "right"};
  for (int i = 0; i < 3; ++i)
    if (strcasecmp(word.c_str(), words[i]) == 0) {
      rq.justify = i;
      return 0;
    }
  return report_error(276);
}

int read_word(int word, text_request& rq) {
  int r = 0;
  switch (word) {
    case tw_h:
      if ((r = read_value()) < 0 || (r = graph_check_param_range(0, 100)) < 0) return r;
      rq.h = std::trunc(double_accumulator);
      break;
    case tw_v:
      if ((r = read_value()) < 0 || (r = graph_check_param_range(0, 99)) < 0) return r;
      rq.v = std::trunc(double_accumulator);
      break;
    case tw_x: r = read_value(), rq.x = double_accumulator; break;
    case tw_y: r = read_value(), rq.y = double_accumulator; break;
    case tw_x2: r = read_value(), rq.x2 = double_accumulator; break;
    case tw_y2: r = read_value(), rq.y2 = double_accumulator; break;
    case tw_size:
      if ((r = read_value()) < 0) return r;
      if (!only_parsing() && (r = graph_check_param_range(6, 100)) < 0) return r;
      rq.size = double_accumulator;
      break;
    case tw_datasize:
      if ((r = read_value()) < 0) return r;
      if (!only_parsing() && (r = graph_check_param_range(0, HUGE_VAL)) < 0) return r;
      rq.datasize = double_accumulator;
      break;
    case tw_string: r = read_string(rq); break;
    case tw_color: {
      if ((r = graph_expect_equals()) < 0) return r;
      int c = graph_parse_color();
      if (c < 0) return -1;
      rq.color = c;
      break;
    }
    case tw_font: r = read_face(rq); break;
    case tw_angle:
      if ((r = read_value()) < 0) return r;
      if (only_parsing()) break;
      if ((r = graph_parse_angle()) < 0) return r;
      rq.angle = double_accumulator;
      break;
    case tw_justify: r = read_justify(rq); break;
    default: break;  // xaxis, yaxis, boxed, bold, italic, normal: no value
  }
  return r < 0 ? r : 0;
}

// The first conflict between the given keywords: the keyword whose column
// the error points at, or -1.
int first_conflict(const text_request& rq) {
  struct rule {
    int given;
    int not_with[8];  // ended by -1
  };
  static const rule rules[] = {
      {tw_xaxis, {tw_yaxis, tw_x, tw_y, tw_v, tw_boxed, tw_angle, tw_justify, -1}},
      {tw_yaxis, {tw_x, tw_y, tw_h, tw_boxed, tw_angle, tw_justify, -1}},
      {tw_h, {tw_x, tw_x2, -1}},
      {tw_v, {tw_y, tw_y2, -1}},
      {tw_x2, {tw_size, -1}},
      {tw_y2, {tw_size, -1}},
      {tw_size, {tw_datasize, -1}},
  };
  for (const rule& ru : rules) {
    if (!rq.seen[ru.given]) continue;
    for (const int* other = ru.not_with; *other >= 0; ++other)
      if (rq.seen[*other]) return *other;
  }
  if (rq.seen[tw_x2] && !rq.seen[tw_x]) return tw_x2;
  if (rq.seen[tw_y2] && !rq.seen[tw_y]) return tw_y2;
  return -1;
}

// Points record t at the text of the request: the variable's slot, or a
// copy of the literal kept in the record itself.
void take_text(const text_request& rq, text_record& t) {
  if (rq.literal) {
    t.has_own_text = true;
    t.own_text = rq.literal_text;
  } else {
    t.value_slot = rq.slot;
  }
}

void copy_face(char (&to)[text_face_size], const char* from) {
  std::snprintf(to, sizeof to, "%s", from);
}

int set_title(text_request& rq, bool xaxis) {
  if (rq.seen[tw_size]) {
    double_accumulator = rq.size;
    error_column = rq.column[tw_size];
    if (graph_check_param_range(10, 30) < 0) return -252;
  }
  text_record& t = xaxis ? texts.xaxis_title : texts.yaxis_title;
  const double angle = t.angle;
  t = text_record{};
  t.size = rq.seen[tw_size] ? rq.size : 0;
  take_text(rq, t);
  t.color = static_cast<draw_color>(rq.color);
  if (xaxis) {
    t.x = rq.seen[tw_h] ? rq.h : 50;
    t.x_kind = text_place_percent;
  } else {
    t.y = rq.seen[tw_v] ? rq.v : 50;
    t.y_kind = text_place_percent;
    t.angle = angle;  // a y title is always drawn turned a quarter
  }
  t.bold = rq.seen[tw_normal] ? 0 : rq.seen[tw_bold] ? 1 : texts.text_default_bold;
  t.italic = rq.seen[tw_normal] ? 0 : rq.seen[tw_italic] ? 1 : texts.text_default_italic;
  t.justify = 1;
  copy_face(t.font, texts.text_default_font);
  graph_mark_changed();
  return 0;
}

int add_text(text_request& rq) {
  int r = text_table_make_room();
  if (r < 0) return r;
  text_record& t = texts.table[static_cast<std::size_t>(texts.text_count)];
  t = text_record{};
  t.size = rq.size;
  t.datasize = rq.datasize;
  t.color = static_cast<draw_color>(rq.color);
  t.boxed = rq.seen[tw_boxed] ? 1 : 0;
  take_text(rq, t);
  t.x_kind = rq.seen[tw_x] ? text_place_data : text_place_percent;
  t.y_kind = rq.seen[tw_y] ? text_place_data : text_place_percent;
  t.x = rq.seen[tw_x] ? rq.x : rq.h;
  t.y = rq.seen[tw_y] ? rq.y : rq.v;
  t.has_x2 = rq.seen[tw_x2] ? 1 : 0;
  t.has_y2 = rq.seen[tw_y2] ? 1 : 0;
  t.x2 = rq.seen[tw_x2] ? rq.x2 : 0;
  t.y2 = rq.seen[tw_y2] ? rq.y2 : 0;
  t.bold = rq.seen[tw_normal] ? 0 : rq.seen[tw_bold] ? 1 : texts.text_default_bold;
  t.italic = rq.seen[tw_normal] ? 0 : rq.seen[tw_italic] ? 1 : texts.text_default_italic;
  t.angle = rq.angle;
  t.justify = rq.justify;
  copy_face(t.font, texts.text_default_font);
  // Measured once now, so that its data positions count in the scales; a
  // failed measuring is retried when the text is drawn.
  text_measure_item(graph_font_engine(), t, 1, nullptr);
  ++texts.text_count;
  graph_mark_changed();
  return 0;
}

}  // namespace

int stmt_text() {
  text_request rq;
  const int entry_column = error_column;
  while (scan_pointer < line_end) {
    int word = graph_next_keyword(text_keywords, 275);
    if (word < 0) return word;
    if (word == graph_list_end) break;
    rq.seen[word] = true;
    rq.column[word] = error_column;
    int r = read_word(word, rq);
    if (r < 0) return r;
  }
  int conflict = first_conflict(rq);
  if (conflict >= 0) {
    error_column = rq.column[conflict];
    return report_error(278);
  }
  if (only_parsing()) return 0;
  if ((rq.seen[tw_x2] && rq.x2 < rq.x) || (rq.seen[tw_y2] && rq.y2 < rq.y)) {
    error_column = rq.column[rq.seen[tw_x2] && rq.x2 < rq.x ? tw_x2 : tw_y2];
    return report_error(252);
  }
  if (!graph_window_is_open()) return report_error(257);
  const bool has_string = rq.seen[tw_string];
  if (!has_string) {
    if (rq.seen[tw_normal]) {
      texts.text_default_bold = 0;
      texts.text_default_italic = 0;
    } else if (rq.seen[tw_bold]) {
      texts.text_default_bold = 1;
    } else if (rq.seen[tw_italic]) {
      texts.text_default_italic = 1;
    }
  }
  if (rq.seen[tw_font]) {
    copy_face(texts.text_default_font, rq.face.c_str());
    if (!has_string) return 0;
  }
  if (!has_string) {
    if (rq.seen[tw_normal] || rq.seen[tw_bold] || rq.seen[tw_italic]) return 0;
    error_column = entry_column;
    return report_error(277);
  }
  if (rq.seen[tw_xaxis]) return set_title(rq, true);
  if (rq.seen[tw_yaxis]) return set_title(rq, false);
  return add_text(rq);
}
