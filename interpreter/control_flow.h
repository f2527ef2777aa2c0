// Block state of the running statement loop: the FOR, WHILE, GOSUB and IF
// bodies that enclose the statement, and what a body's end statement (NEXT,
// WEND, RETURN) hands back to the statement that ran the body. A block
// statement, a subroutine or function call and a line typed while stepping
// keep the enclosing state in one block_frame.
#pragma once
#include <cstdint>

#include "interpreter/item.h"

enum block_kinds : int { BLOCK_NONE = 0, BLOCK_GOSUB = 1, BLOCK_WHILE = 2, BLOCK_IF = 3, BLOCK_FOR = 4 };

// What encloses the running statement; a block_frame puts it back.
struct block_context {
  int in_gosub = 0;
  int in_while = 0;
  int in_for = 0;
  int in_if = 0;
  int else_seen = 0;
  int if_result = 0;
  int block_kind = BLOCK_NONE;  // innermost open block
  int skip_block = 0;           // the block statement itself runs in skip mode
  int break_requested = 0;
  int continue_requested = 0;
  // Identity of the innermost running FOR or WHILE: 1 + the offset of its
  // line and the column of the statement; both 0 outside loops and in
  // subroutines.
  std::uint32_t loop_line_offset = 0;
  std::uint32_t loop_statement_column = 0;
};

struct block_state : block_context {
  // Handed from a body's end statement to the statement that ran the body.
  int return_seen = 0;
  int wend_seen = 0;
  int next_seen = 0;
  std::uint32_t next_line = 0, next_column = 0;  // where the loop goes on behind NEXT
  std::uint32_t wend_line = 0, wend_column = 0;  // and behind WEND
  int return_value_type = ITEM_DOUBLE;  // 2, 3, 14 or 16: type of the value the last RETURN gave
  // Where the next pass of a body starts: the line at program_offset entered
  // at body_column (resume_at_body set).
  int resume_at_body = 0;
  std::uint32_t body_column = 0;
  int loop_condition = 0;  // the last FOR test
};

extern block_state blocks;

// Saves the enclosing block context and no_execute; puts them back when it
// ends. A loop's frame ends its BREAK request with the loop; an IF's frame
// lets a BREAK or CONTINUE of its statements go on to the enclosing loop.
class block_frame {
 public:
  enum ending : int { RESTORE_ALL = 0, END_LOOP = 1, PASS_LOOP_REQUESTS = 2 };
  explicit block_frame(ending how = RESTORE_ALL);
  ~block_frame();
  block_frame(const block_frame&) = delete;
  block_frame& operator=(const block_frame&) = delete;

 private:
  block_context saved_;
  int saved_no_execute_;
  ending how_;
};

// The enclosing context cleared for a body that stands outside every loop
// and block of its caller (a subroutine, a function body, a typed line).
void enter_outermost_blocks();
