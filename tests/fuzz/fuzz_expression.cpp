// Fuzz harness: one expression text, evaluated outside any run. Lines before
// the last one are a program (loaded, not run), so that the expression can
// call the user functions it defines: "def r(n) = ...\nr(1)".
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/expression.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "tests/fuzz/fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPort& port = fuzz_start_interpreter();
  if (size > 4096) return -1;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t last_break = text.rfind('\n');
  std::string_view expression = last_break == std::string_view::npos ? text : text.substr(last_break + 1);
  if (expression.size() > 255) return -1;  // a line holds at most 255 bytes
  fuzz_start_input();
  port.start(2000, 2000);
  if (last_break != std::string_view::npos) {
    fuzz_write_scratch_file("defs.bas", text.data(), last_break + 1);
    host_run_typed_line("load defs.bas");
    kill_requested = 0;
  }
  evaluate_expression_text(expression);
  return 0;
}
