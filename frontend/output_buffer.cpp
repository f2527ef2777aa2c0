// The output box's buffer and the log file (see output_buffer.h).
#include "frontend/output_buffer.h"

#include <cstring>

#include "session/paths.h"
#include "frontend/settings.h"
#include "session/size_settings.h"
#include "interpreter/output.h"
#include "interpreter/output_channels.h"

output_buffer_state output_buffer;
std::FILE* log_file = nullptr;
unsigned logging_active = 0;
std::time_t start_time = 0;

int output_buffer_init() {
  if (!output_buffer.taken) {
    output_buffer.size = static_cast<int>(size_settings[SIZE_CONSOLE_BUFFER_SIZE].current);
    output_buffer.text.reserve(static_cast<std::size_t>(output_buffer.size));
    output_buffer.taken = true;
  }
  output_buffer.text.clear();
  output_buffer.limit = output_buffer.size;
  return 0;
}

int output_buffer_empty() {
  if (!output_buffer.taken) return -1;
  output_buffer.text.clear();
  output_column = 0;  // the next text starts a fresh line at the top
  return 0;
}

std::size_t output_convert_text(std::string_view text, int& column, char* out) {
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < text.size() && n < output_work_limit) {
    char c = text[i];
    if (column >= output_line_columns && c != '\r' && c != '\n') {
      out[n++] = '\r';
      out[n++] = '\n';
      column = 0;
      if (n >= output_work_limit) break;
    }
    if (c == '\r') {
      out[n++] = '\r';
      out[n++] = '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      column = 0;
    } else if (c == '\n') {
      out[n++] = '\r';
      out[n++] = '\n';
      column = 0;
    } else {
      out[n++] = c;
      ++column;
    }
    ++i;
  }
  if (column == output_line_columns) {
    out[n++] = '\r';
    out[n++] = '\n';
    column = 0;
  }
  return n;
}

int output_append_text(std::string_view text, output_append_result* result) {
  if (!output_buffer.taken) return -1;
  char work[output_work_size];
  int column = output_column;
  std::size_t n = output_convert_text(text, column, work);
  std::string& box = output_buffer.text;
  bool trimmed = false;
  if (box.size() + n + 1 >= static_cast<std::size_t>(output_buffer.limit)) {
    // Drop the oldest lines: everything up to the first line end after the
    // first third of the buffer.
    std::size_t from = static_cast<std::size_t>(output_buffer.size / 3);
    std::size_t cut = from < box.size() ? box.find('\n', from) : std::string::npos;
    if (cut == std::string::npos) box.clear();
    else box.erase(0, cut + 1);
    trimmed = true;
  }
  box.append(work, n);
  output_column = column;
  if (logging_active) {
    char logged[output_work_size];
    std::size_t m = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (work[i] != '\r') logged[m++] = work[i];
    log_write(std::string_view(logged, m));
  }
  if (result != nullptr) {
    if (trimmed) {
      result->trimmed = true;
      result->added.clear();
    }
    if (!result->trimmed) result->added.append(work, n);
  }
  return 0;
}

namespace {

// Windows-1252's characters for 0x80..0x9F (0 where the code page has none).
const char32_t cp1252_high[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                  0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t utf8_sequence(std::string_view text, std::size_t i) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char c = b(i);
  std::size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
  if (len == 0 || i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  if (len == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0))) return 0;
  if (len == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) >= 0x90))) return 0;
  return len;
}

}  // namespace

std::string output_display_text(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r') {
      ++i;
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::size_t len = utf8_sequence(bytes, i);
    if (len > 0) {
      out.append(bytes.substr(i, len));
      i += len;
      continue;
    }
    char32_t mapped = c < 0xA0 ? cp1252_high[c - 0x80] : c;
    append_utf8(out, mapped != 0 ? mapped : U'\uFFFD');
    ++i;
  }
  return out;
}

// ---------------------------------------------------------------- log

int log_open() {
  if (!create_log_file || logging_active) return 0;
  std::string full;
  if (path_combine(full, log_file_path, log_file_name) < 0) full = log_file_name;
  log_file_full_path = full;
  std::FILE* f = std::fopen(full.c_str(), "w");
  if (f == nullptr) {
    if (WorkingFolderUi* ui = installed_working_folder_ui()) ui->message("Cant open LOG file.", "Error");
    print_text("Cant open LOG file.\n");
    return -1;
  }
  log_file = f;
  logging_active = 1;
  print_text("Log File Opened\n");
  log_write("Tovarelle BASIC Log File\n");
  char stamp[64] = "";
  std::tm local {};
  if (localtime_r(&start_time, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%a %b %e %H:%M:%S %Y\n", &local);
  print_format_line("Date & Time = %s", stamp);
  return 0;
}

int log_write(std::string_view text) {
  if (!logging_active || log_file == nullptr || text.empty()) return 0;
  return std::fwrite(text.data(), 1, text.size(), log_file) != text.size() ? 1 : 0;
}

int log_flush() {
  if (!logging_active || log_file == nullptr) return 0;
  return std::fflush(log_file) != 0 ? 1 : 0;
}

void log_close() {
  if (logging_active && log_file != nullptr) std::fclose(log_file);
  logging_active = 0;
  log_file = nullptr;
}
