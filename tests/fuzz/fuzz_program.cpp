// Fuzz harness: a whole program text. It is saved as a file and run with a
// typed "run" command; then its first lines are typed as console command
// lines as well, so both the program road and the typed-line road see it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "interpreter/errors.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "tests/fuzz/fuzz_common.h"

namespace {

char typed_line[256];

// The body of the console command loop for one line of at most 255 bytes.
void type_line(const char* text, std::size_t count) {
  reset_run_flags();
  std::memcpy(typed_line, text, count);
  typed_line[count] = 0;
  line_length = static_cast<std::int32_t>(count);
  scan_pointer = line_start = statement_start = typed_line;
  line_end = line_start + line_length;
  if (classify_command_line() <= 0) return;
  run_typed_line();
}

bool write_program(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen("fuzz.bas", "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPort& port = fuzz_start_interpreter();
  if (size > 16384) return -1;
  if (!write_program(data, size)) {
    std::fprintf(stderr, "fuzz: cannot write fuzz.bas in the working folder\n");
    std::abort();
  }
  port.start(20000, 400);
  static const char run_command[] = "run fuzz.bas";
  type_line(run_command, sizeof run_command - 1);

  // The first lines again, each as a typed command line.
  const char* text = reinterpret_cast<const char*>(data);
  std::size_t at = 0;
  for (int lines = 0; lines < 4 && at < size; ++lines) {
    std::size_t end = at;
    while (end < size && text[end] != '\n') ++end;
    std::size_t count = end - at;
    if (count > 0 && text[at + count - 1] == '\r') --count;
    if (count > 0 && count <= 255 && std::memchr(text + at, 0, count) == nullptr) {
      port.start(20000, 400);
      type_line(text + at, count);
    }
    at = end + 1;
  }
  return 0;
}
