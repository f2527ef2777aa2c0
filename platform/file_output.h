// Files written whole or not at all. The data goes to a temporary file beside
// the target, which replaces the target only after every write, the flush
// and the close succeeded; on any failure the temporary file is removed and
// the target keeps what it held. A target that exists and is not a regular
// file (a FIFO, a device) is written in place and never removed.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

class output_file {
 public:
  output_file() = default;
  output_file(const output_file&) = delete;
  output_file& operator=(const output_file&) = delete;
  ~output_file() { abandon(); }

  // Opens the file for writing. False with error set (the path and the
  // system's reason) when it cannot be opened.
  bool open(const std::string& path, std::string& error);
  // The stream to write to (null when not open).
  std::FILE* stream() const { return stream_; }
  // Writes bytes; false (with error) on a short write.
  bool write(const void* data, std::size_t size, std::string& error);
  // Flushes, closes and puts the file in place. False with error set when
  // any of it fails; the partial file is then removed.
  bool commit(std::string& error);
  // Closes and removes what was written (nothing when not open).
  void abandon();

 private:
  std::FILE* stream_ = nullptr;
  std::string path_;       // the target
  std::string temp_path_;  // empty when writing in place
};

// Writes size bytes to path through an output_file. False with error set on
// any failure.
bool write_whole_file(const std::string& path, const void* data, std::size_t size, std::string& error);
