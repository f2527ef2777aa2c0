// Fuzz harness: one expression text, evaluated outside any program.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/expression.h"
#include "interpreter/run_state.h"
#include "tests/fuzz/fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPort& port = fuzz_start_interpreter();
  if (size > 255) return -1;  // a line holds at most 255 bytes
  port.start(2000, 2000);
  kill_requested = 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  evaluate_expression_text(text);
  return 0;
}
