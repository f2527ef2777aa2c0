// Statement dispatch: do_keyword_statement and the statement handlers it calls.
// Every handler takes its operands from the scanner (scan_pointer) and returns
// 0 when done, or a negative reported code. Handlers built elsewhere are
// declared here so that their names and signatures match the dispatcher.
#pragma once
#include "interpreter/item.h"
#include "interpreter/keywords.h"  // statement_token: STMT_*

// Runs the statement whose keyword (token) the scanner has just read.
// Returns 0, 1 (only ELSE: the rest of the line belongs to an outer IF),
// -1 for a token above 70, or a negative reported code.
int do_keyword_statement(int token);

// Stores the expression behind "=" into the target that get_item found at
// statement start (target_type 2, 3, 14, 19, 13 or 20); mode 0 plain, 1 LSET,
// 2 RSET. Returns 0 or a positive type on success, negative on failure.
int do_assignment(int target_type, expr_item& target, int mode);

// Control flow and run control (control_flow.cpp).
int stmt_rem();
int stmt_end();
int stmt_stop();
int stmt_for();
int stmt_next();
int stmt_gosub();
int stmt_return();
int stmt_goto();
int stmt_if();
int stmt_then();
int stmt_else();
int stmt_while();
int stmt_wend();
int stmt_on();
int stmt_break();
int stmt_continue();
int stmt_cont();

// PRINT and WRITE (output_channels.cpp).
int stmt_print();
int stmt_write();

// Declarations, DATA and READ; assignment forms.
int stmt_dim();
int stmt_erase();
int stmt_data();
int stmt_read(int mode);  // mode 0 the READ statement, 1 the read() probe
int stmt_restore();
int stmt_swap();
int stmt_long();
int stmt_float();
int stmt_integer();
int stmt_degrees();
int stmt_radians();
int stmt_randomize();
int stmt_lset();
int stmt_rset();
int stmt_mid();  // the MID$ statement
// User-defined functions: stmt_def_statement (user_functions.h).
// INPUT and LINE INPUT.
int stmt_input();
int stmt_line_input();
// Files. stmt_field owns its definition block: it keeps it in field_table
// during the pre-scan and frees it otherwise.
int stmt_open();
int stmt_close();
int stmt_get();
int stmt_put();
int stmt_field();
// System statements.
int stmt_beep();
int stmt_cls();
int stmt_color();
int stmt_help();
int stmt_chdir();
int stmt_delay();
int stmt_spawn();
// Debugging aids.
int stmt_debug();
int stmt_printall();
int stmt_debugprint();
// Dates, times and daylight-saving rules.
int stmt_updatedatetime();
int stmt_settimezone();
int stmt_setdstrules();
// Dialogs for programs.
int stmt_inputdialog();
int stmt_updatedialog();
// SORT.
int stmt_sort();
// Graphs.
int stmt_graph();
int stmt_plot();
int stmt_text();
int stmt_shape();
int stmt_changeshape();
int stmt_deleteshape();
int stmt_updateregion();
