// Fuzz harness: the readers of data the user or another program wrote. The
// first byte picks the reader, the rest is the file it reads:
//   0..4  a data file read by a program with INPUT # (texts, numbers, long
//         numbers, a mix) or LINE INPUT #;
//   5     the settings file: read, changed, saved, and read back (a value
//         written must read back unchanged, else the harness aborts);
//   6     the daylight-saving rules file, then local times of a few years.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "interpreter/datetime.h"
#include "interpreter/dst_rules.h"
#include "interpreter/host_api.h"
#include "platform/settings_store.h"
#include "tests/fuzz/fuzz_common.h"

namespace {

// Each program reads data.txt to its end with one kind of INPUT #.
const char* const reader_programs[] = {
    "open \"input\", 1, \"data.txt\"\nwhile eof(1) = 0\ninput #1, a$, b$\nwend\nclose 1\n",
    "open \"input\", 1, \"data.txt\"\nwhile eof(1) = 0\ninput #1, a, b\nwend\nclose 1\n",
    "long x, y\nfloat 200\nopen \"input\", 1, \"data.txt\"\nwhile eof(1) = 0\ninput #1, x, y\nwend\nclose 1\n",
    "long x\nopen \"input\", 1, \"data.txt\"\nwhile eof(1) = 0\ninput #1, a$, n, x\nwend\nclose 1\n",
    "open \"input\", 1, \"data.txt\"\nwhile eof(1) = 0\nline input #1, l$\nwend\nclose 1\n",
};
constexpr int reader_program_count = sizeof reader_programs / sizeof reader_programs[0];

void fail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}

void read_settings(const std::uint8_t* data, std::size_t size) {
  fuzz_write_scratch_file("settings", data, size);
  std::string path = fuzz_scratch_folder() + "/settings";
  if (!settings_store_open(path)) return;  // refused: nothing more to check
  std::string text;
  std::uint32_t number = 0;
  settings_store_read_text("WorkPath", text);
  settings_store_read_number("NumVariables", number);
  // A value made of the file's own bytes (NUL aside) must survive the trip.
  std::string value(reinterpret_cast<const char*>(data), size < 300 ? size : 300);
  for (char& c : value)
    if (c == 0) c = ' ';
  if (!settings_store_write_text("LogFilePath", value) || !settings_store_write_number("WorkingDIr", 7))
    fail("settings write refused");
  if (!settings_store_commit()) fail("settings commit failed in the scratch folder");
  settings_store_close();
  if (!settings_store_open(path)) fail("settings file unreadable after its own save");
  if (!settings_store_read_text("logfilepath", text) || text != value) fail("settings text changed on its way");
  if (!settings_store_read_number("WorkingDir", number) || number != 7) fail("settings number changed");
  settings_store_close();
}

void read_rules(const std::uint8_t* data, std::size_t size) {
  fuzz_write_scratch_file("dstrules.txt", data, size);
  dst_add_builtin_rules();
  std::string path = fuzz_scratch_folder() + "/dstrules.txt";
  dst_load_rules_file(path.c_str());
  int saved_enabled = dst_enabled;
  dst_enabled = 1;
  datetime_fields fields{};
  for (double year : {1970.0, 2030.0, -44.0, 1e9}) {
    for (double day : {0.0, 100.0, 200.0, 364.0}) {
      double value = (year - 1970) * 365.2425 * 86400 + day * 86400 + 3600;
      datetime_expand_local(fields, value);
    }
  }
  dst_enabled = saved_enabled;
  dst_add_builtin_rules();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPort& port = fuzz_start_interpreter();
  if (size < 1 || size > 65536) return -1;
  int reader = data[0] % (reader_program_count + 2);
  ++data;
  --size;
  fuzz_start_input();
  if (reader < reader_program_count) {
    fuzz_write_scratch_file("data.txt", data, size);
    std::string_view program(reader_programs[reader]);
    fuzz_write_scratch_file("reader.bas", program.data(), program.size());
    port.start(200000, 2000);
    host_run_typed_line("run reader.bas");
  } else if (reader == reader_program_count) {
    read_settings(data, size);
  } else {
    read_rules(data, size);
  }
  return 0;
}
