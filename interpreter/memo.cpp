#include "interpreter/memo.h"

#include <cstdlib>
#include <cstring>

namespace {

bool switched_off_at_start() {
  const char* value = std::getenv("TOV_NO_MEMO");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace

memo_state memo{1, 0, 1, switched_off_at_start()};
appended_body appended_body_line;

void memo_switch_off(bool off) {
  memo.off = off;
  memo_program_changed();
}
