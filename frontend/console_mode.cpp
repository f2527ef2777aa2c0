// Console mode: the command loop over standard input.
#include "frontend/console_mode.h"

#include <cstddef>

#include "platform/console.h"

int console_command_loop() {
  char console_line[256];
  std::size_t count = 0;
  while (console_read_line(console_line, sizeof console_line, count)) {
    if (count >= 2 && console_line[count - 1] == '\n') console_line[--count] = 0;
    if (count >= 1 && console_line[count - 1] == '\r') console_line[--count] = 0;
    if (count == 0) break;
  }
  return 0;
}

int console_mode_run() {
  console_command_loop();
  return 0;
}

int console_sequence() {
  console_mode_run();
  console_write("Press <enter> to terminate program.\n");
  char answer[11];
  std::size_t count = 0;
  console_read_line(answer, sizeof answer, count);
  return 0;
}
