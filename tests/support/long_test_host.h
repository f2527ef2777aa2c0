// A host for the long-number kernels alone (rizozira/long_host.h), for the
// kernel tests and the benchmarks: it links no interpreter. What the kernels
// print and report is collected here.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct LongTestHost {
  // DEBUG text, timing lines, and "ERROR <code>\n" for each reported error.
  std::string output;
  std::vector<int> errors;  // the reported codes, in order
  int interrupt = 0;        // while set, the poll reports 106 (a Kill)
  int degrees = 0;
  // Tuning and timing variables that exist; the kernels read and write only these.
  std::map<std::string, std::int32_t> variables;

  // How often `code` was reported since the last clear_output.
  int reported(int code) const;
  // Forgets what was printed and reported.
  void clear_output();
  void reset();
};

// The one host the kernels call in this process.
LongTestHost& long_test_host();
