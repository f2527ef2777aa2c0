// The small parsers every graph statement (GRAPH, PLOT, TEXT, SHAPE,
// CHANGESHAPE) shares: keyword items, "=", numeric values, the range check,
// colours and angles.
#pragma once
#include "interpreter/keywords.h"

// 0 when double_accumulator lies in [lo, hi] (NaN fails), else reports 252
// and returns -252.
int graph_check_param_range(double lo, double hi);
// Reads a colour after "=" at scan_pointer: "(r,g,b)" or one number. Returns
// the colour 0..16777215 or a negative code (193, 145, 252, 276). While
// statements are only parsed a single number is not checked and gives 0.
int graph_parse_color();
// Checks and normalises the angle in double_accumulator by the angle mode:
// leaves radians in [0, 2 pi) there; 0 or -252.
int graph_parse_angle();

// Reads the next keyword of a graph statement's list: skips blanks, one ","
// and blanks, sets error_column, reads the word with get_item and looks it
// up in table. Returns the token (>= 0), graph_list_end at the end of the
// statement, or a negative code: -1 when get_item failed, else the reported
// invalid_code for a non-word or unknown word.
constexpr int graph_list_end = 1000;
int graph_next_keyword(const keyword_table& table, int invalid_code);
// Expects "=" after blanks and consumes it; else reports 251.
int graph_expect_equals();
// Evaluates one value and converts it to double_accumulator: a type other
// than number, string, long or numeric text is the reported invalid_code. A
// value that cannot be converted reports the conversion's own errors, or,
// with unconvertible_is_invalid, invalid_code alone (SHAPE and CHANGESHAPE).
// Returns 0 or a negative code.
int graph_read_number(int invalid_code, bool unconvertible_is_invalid = false);
