// Small file helpers the export tests share: a scratch path of their own, a
// whole file read back, and whether a reader program is installed.
#pragma once
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

// A path in $TMPDIR (or /tmp) that names this test process: prefix-pid-name.
inline std::string test_temp_path(const std::string& prefix, const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + prefix + "-" + std::to_string(::getpid()) + "-" + name;
}

// The whole file as bytes ("" when it cannot be read).
inline std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// True when name is a command on PATH.
inline bool have_program(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}
