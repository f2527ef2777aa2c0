// The settings file: "Name=s:text" and "Name=n:number" lines, texts escaped so
// that any byte but NUL survives a round trip; see settings_store.h.
#include "platform/settings_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stored_value {
  std::string name;    // spelling as first written
  bool is_number = false;
  std::string text;
  std::uint32_t number = 0;
};

// Orders names without regard to case, so "WorkingDir" and "WorkingDIr" meet.
struct case_blind_less {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};
using value_map = std::map<std::string, stored_value, case_blind_less>;

struct settings_store_state {
  bool open = false;
  std::string path;
  value_map values;   // the file as read, with the pending changes applied
  value_map pending;  // changes not yet in the file
};
settings_store_state store;

std::string escape_text(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string unescape_text(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      char next = text[++i];
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += c;
    }
  }
  return out;
}

// Parses one "Name=s:..." or "Name=n:..." line; false for anything else.
bool parse_line(std::string_view line, stored_value& value) {
  std::size_t eq = line.find('=');
  if (eq == 0 || eq == std::string_view::npos || line.size() < eq + 3 || line[eq + 2] != ':') return false;
  value.name = std::string(line.substr(0, eq));
  std::string_view body = line.substr(eq + 3);
  if (line[eq + 1] == 's') {
    value.is_number = false;
    value.text = unescape_text(body);
    return true;
  }
  if (line[eq + 1] != 'n' || body.empty() || body.size() > 10) return false;
  std::uint64_t n = 0;
  for (char c : body) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  if (n > UINT32_MAX) return false;
  value.is_number = true;
  value.number = static_cast<std::uint32_t>(n);
  return true;
}

// Reads the whole file into values; a missing file gives an empty map.
bool read_file(const std::string& path, value_map& values) {
  values.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT;
  std::string content;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    stored_value v;
    if (!line.empty() && line[0] != '#' && parse_line(line, v)) values[v.name] = v;
    pos = end + 1;
  }
  return ok;
}

// Creates every missing folder of path's parent.
bool make_parent_folders(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::string folder = path.substr(0, slash);
  for (std::size_t i = 1; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '/') {
      std::string part = folder.substr(0, i);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes values to a temporary file beside path, then renames it over path.
bool write_file_atomically(const std::string& path, const value_map& values) {
  std::string text = "# Tovarelle settings (s: text, n: number)\n";
  for (const auto& [key, v] : values) {
    text += v.name;
    text += v.is_number ? "=n:" + std::to_string(v.number) : "=s:" + escape_text(v.text);
    text += '\n';
  }
  std::string temp = path + ".XXXXXX";
  std::string temp_buf = temp;
  int fd = ::mkstemp(temp_buf.data());
  if (fd < 0) return false;
  bool ok = write_all(fd, text) && ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(temp_buf.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temp_buf.c_str());
  return ok;
}

// Whether two values are the same setting (the name's spelling aside).
bool same_value(const stored_value& a, const stored_value& b) {
  return a.is_number == b.is_number && (a.is_number ? a.number == b.number : a.text == b.text);
}

// A name the file can hold: not empty, no "=", no line break, no leading "#".
bool valid_name(std::string_view name) {
  return !name.empty() && name[0] != '#' && name.find_first_of("=\r\n") == std::string_view::npos;
}

void set_value(const stored_value& v) {
  auto put = [&](value_map& map) {
    auto it = map.find(v.name);
    if (it == map.end()) {
      map[v.name] = v;
    } else {
      std::string spelling = it->second.name;
      it->second = v;
      it->second.name = spelling;
    }
  };
  put(store.values);
  put(store.pending);
}

}  // namespace

std::string settings_store_default_path() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/tovarelle/settings";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/tovarelle/settings";
  return {};
}

bool settings_store_open(const std::string& path) {
  settings_store_close();
  if (path.empty() || !make_parent_folders(path)) return false;
  value_map values;
  if (!read_file(path, values)) return false;
  store.open = true;
  store.path = path;
  store.values = std::move(values);
  return true;
}

void settings_store_close() {
  store.open = false;
  store.path.clear();
  store.values.clear();
  store.pending.clear();
}

bool settings_store_is_open() { return store.open; }

bool settings_store_read_text(std::string_view name, std::string& value) {
  if (!store.open) return false;
  auto it = store.values.find(std::string(name));
  if (it == store.values.end() || it->second.is_number) return false;
  value = it->second.text;
  return true;
}

bool settings_store_read_number(std::string_view name, std::uint32_t& value) {
  if (!store.open) return false;
  auto it = store.values.find(std::string(name));
  if (it == store.values.end() || !it->second.is_number) return false;
  value = it->second.number;
  return true;
}

bool settings_store_write_text(std::string_view name, std::string_view value) {
  if (!store.open || !valid_name(name)) return false;
  stored_value v;
  v.name = std::string(name);
  v.text = std::string(value);
  set_value(v);
  return true;
}

bool settings_store_write_number(std::string_view name, std::uint32_t value) {
  if (!store.open || !valid_name(name)) return false;
  stored_value v;
  v.name = std::string(name);
  v.is_number = true;
  v.number = value;
  set_value(v);
  return true;
}

bool settings_store_commit() {
  if (!store.open) return false;
  if (store.pending.empty()) return true;
  // Merge into the file as it is now, so values another process wrote survive.
  value_map on_disk;
  if (!read_file(store.path, on_disk)) return false;
  bool changed = false;
  for (const auto& [key, v] : store.pending) {
    auto it = on_disk.find(key);
    if (it == on_disk.end()) {
      on_disk[key] = v;
      changed = true;
    } else if (!same_value(it->second, v)) {
      std::string spelling = it->second.name;
      it->second = v;
      it->second.name = spelling;
      changed = true;
    }
  }
  // Every start writes the size settings back: a file that already holds
  // them is left as it is (no rewrite, no fsync).
  if (changed && !write_file_atomically(store.path, on_disk)) return false;
  store.values = std::move(on_disk);
  store.pending.clear();
  return true;
}
