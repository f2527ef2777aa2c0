// print_text and print_line: every piece of screen text passes here.
#include "interpreter/output.h"

#include <string>

#include "ports/frontend_port.h"

void print_text(std::string_view text) { frontend_port().print_text(text); }

void print_line(std::string_view text) {
  std::string line(text);
  line += '\n';
  print_text(line);
}

int output_buffer_clear() { return frontend_port().clear_output(); }
