// Reading a small configuration file whole: only a regular file (never a
// FIFO, a device or a folder, which could block or never end), and only up
// to a size the caller names.
#pragma once
#include <cstddef>
#include <string>

enum class small_file_status {
  ok,           // content holds the whole file
  missing,      // no file at the path
  not_regular,  // a FIFO, device, socket or folder (or a link to one)
  too_large,    // more than the limit
  failed,       // any other failure to open or read (error says which)
};

// Reads the file at path into content (emptied first). error receives the
// errno of a missing or failed file, else 0. Opening never blocks.
small_file_status read_small_file(const std::string& path, std::size_t max_bytes, std::string& content, int& error);

// Why a read did not give the file, for a message: "not a regular file",
// "larger than 1048576 bytes", or the system's text of error.
std::string small_file_problem(small_file_status status, std::size_t max_bytes, int error);
