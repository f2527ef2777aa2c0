// Fuzz harness: a whole program text. It is saved as fuzz.bas in the
// process's scratch folder (the working folder) and run with a typed "run"
// command; then its first lines are typed as command lines as well, NUL
// bytes and all, so both the program road and the typed-line road see it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/host_api.h"
#include "interpreter/run_control.h"
#include "tests/fuzz/fuzz_common.h"

namespace {
// One line as the console command loop runs it.
void type_line(std::string_view line) {
  reset_run_flags();
  host_run_typed_line(line);  // over 255 bytes: refused, as the console refuses it
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPort& port = fuzz_start_interpreter();
  if (size > 16384) return -1;
  fuzz_start_input();
  fuzz_write_scratch_file("fuzz.bas", data, size);
  port.start(20000, 400);
  type_line("run fuzz.bas");

  // The first lines again, each as a typed command line.
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int lines = 0; lines < 4 && !text.empty(); ++lines) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) {
      port.start(20000, 400);
      type_line(line);
    }
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return 0;
}
