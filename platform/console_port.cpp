// The console's front-end port.
#include "platform/console_port.h"

#include "platform/console.h"

void ConsolePort::print_text(std::string_view text) { console_write(text); }
