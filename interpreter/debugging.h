// Debugging aids: the DEBUG statement and its options, PRINTALL, DEBUGPRINT,
// and the dumps other parts print while DEBUG is on.
#pragma once
#include <cstddef>
#include <cstdint>

#include "interpreter/item.h"
#include "interpreter/variables.h"

struct long_number;

// Graph hit-test option set by DEBUG MOUSECHECKFORWARD (cleared by the graph reset).
extern int mouse_check_forward;

// DEBUG [option [, argument]]; PRINTALL [variables | arrays | memory |
// reserved]; DEBUGPRINT variable. Each returns 0 or a negative reported code.
int stmt_debug();
int stmt_printall();
int stmt_debugprint();

// Run start (not CHAIN): every DEBUG switch back to its default.
void debug_reset_options();
// DEBUG TESTDATA: runs the test statements; 0, or the negative code of
// error 5 after the first statement that failed.
int debug_setup_test_variables();
// DEBUG TESTROUTINE: the test selected by test_routine_desired. 0, or a
// negative reported code when the selected test cannot run in this build.
int debug_test_routine();
// DEBUG ZBOX: resets the graph's zoom-box ratios. 0 or a negative reported code.
int debug_zbox_reset();

// Dump of an expression's item table after a reduction pass (only while
// DEBUG is on and enabled is set); indent counts blanks (at most 20).
void trace_item_table(int indent, int enabled, int count, expr_item* items, const char* pass_name);
// Dump of a parameter list: kind 1 function, 2 array, 3 INPUT data list.
void trace_parameter_list(int count, expr_item* items, const char* name, int kind);

// One-line layout of a long number into string_accumulator (the label is not
// printed); returns its length.
int format_long_debug(const char* label, const long_number* n);
// Writes the one-line layout into out (at most out_size bytes with the NUL).
void format_long_debug_line(const long_number* n, char* out, std::size_t out_size);

// PRINTALL's element dump of an array block; 0, or -1 for an unknown type.
int printall_dump_array(const value_slot* elements, std::uint32_t type, const char* name, const char* prefix,
                        int dimension_count, const std::uint32_t* sizes);

// Case-insensitive comparison of two 24-byte reserved-word slots.
constexpr std::size_t reserved_word_slot_size = 24;
int compare_reserved_words(const void* a, const void* b);

// long_debug_dump with the dump switch forced on for the call.
void debug_long_dump_forced(const char* label, const long_number* n, int mode);
