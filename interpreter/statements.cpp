// Statement dispatch: do_keyword_statement hands each statement keyword to
// its handler.
#include "interpreter/statements.h"

#include <string>

#include "interpreter/errors.h"
#include "interpreter/keywords.h"
#include "interpreter/output_channels.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_state.h"
#include "interpreter/user_functions.h"

int do_keyword_statement(int token) {
  if (debug_mode) {
    std::string text = "Keyword Statement is ";
    text += keyword_word(statement_keywords, token);
    text += '\n';
    print_text(text);
  }
  write_mode = 0;
  tab_allowed = 0;
  if (token < 0 || token > STMT_CHANGESHAPE) return -1;

  switch (static_cast<statement_token>(token)) {
    case STMT_BEEP: return stmt_beep();
    case STMT_REM: return stmt_rem();
    case STMT_DATA: return stmt_data();
    case STMT_DEF: return stmt_def_statement();
    case STMT_DIM: return stmt_dim();
    case STMT_END: return stmt_end();
    case STMT_STOP: return stmt_stop();
    case STMT_ERASE: return stmt_erase();
    case STMT_FOR: return stmt_for();
    case STMT_NEXT: return stmt_next();
    case STMT_GET: return stmt_get();
    case STMT_PUT: return stmt_put();
    case STMT_GOSUB: return stmt_gosub();
    case STMT_RETURN: return stmt_return();
    case STMT_GOTO: return stmt_goto();
    case STMT_IF: return stmt_if();
    case STMT_THEN: return stmt_then();
    case STMT_ELSE: return stmt_else();
    case STMT_INPUT: return stmt_input();
    case STMT_INTEGER: return stmt_integer();
    case STMT_LINE: return stmt_line_input();
    case STMT_MID_STR: return stmt_mid();
    case STMT_PRINT: return stmt_print();
    case STMT_WRITE: return stmt_write();
    case STMT_USING:
      return report_error_at(0, err_using_only_valid_in_print);
    case STMT_SWAP: return stmt_swap();
    case STMT_WHILE: return stmt_while();
    case STMT_WEND: return stmt_wend();
    case STMT_PRINTALL: return stmt_printall();
    case STMT_DEBUG: return stmt_debug();
    case STMT_ON: return stmt_on();
    case STMT_BREAK: return stmt_break();
    case STMT_CONTINUE: return stmt_continue();
    case STMT_TO:
    case STMT_STEP:
      return report_error_at(0, err_invalid_statement);
    case STMT_COLOR: return stmt_color();
    case STMT_DEBUGPRINT: return stmt_debugprint();
    case STMT_CONT: return stmt_cont();
    case STMT_READ: return stmt_read(0);
    case STMT_RESTORE: return stmt_restore();
    case STMT_OPEN: return stmt_open();
    case STMT_CLOSE: return stmt_close();
    case STMT_CLS: return stmt_cls();
    case STMT_LONG: return stmt_long();
    case STMT_FLOAT: return stmt_float();
    case STMT_DEGREES: return stmt_degrees();
    case STMT_RADIANS: return stmt_radians();
    case STMT_RANDOMIZE: return stmt_randomize();
    case STMT_FIELD: return stmt_field();
    case STMT_LSET: return stmt_lset();
    case STMT_RSET: return stmt_rset();
    case STMT_HELP: return stmt_help();
    case STMT_UPDATEDATETIME: return stmt_updatedatetime();
    case STMT_GRAPH: return stmt_graph();
    case STMT_PLOT: return stmt_plot();
    case STMT_TEXT: return stmt_text();
    case STMT_SHAPE: return stmt_shape();
    case STMT_CHDIR: return stmt_chdir();
    case STMT_APPEND: return stmt_append();
    case STMT_INCLUDE: return stmt_include();
    case STMT_CHAIN: return stmt_chain();
    case STMT_SETDSTRULES: return stmt_setdstrules();
    case STMT_SETTIMEZONE: return stmt_settimezone();
    case STMT_DELAY: return stmt_delay();
    case STMT_SPAWN: return stmt_spawn();
    case STMT_INPUTDIALOG: return stmt_inputdialog();
    case STMT_UPDATEDIALOG: return stmt_updatedialog();
    case STMT_DELETESHAPE: return stmt_deleteshape();
    case STMT_SORT: return stmt_sort();
    case STMT_UPDATEREGION: return stmt_updateregion();
    case STMT_CHANGESHAPE: return stmt_changeshape();
  }
  return -1;
}
