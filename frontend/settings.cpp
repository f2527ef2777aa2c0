// Settings: defaults, reading and writing through the settings store, recent
// lists and the default working folder; see settings.h.
#include "frontend/settings.h"

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <sys/stat.h>

#include "session/paths.h"
#include "session/recent_lists.h"
#include "session/size_settings.h"
#include "platform/settings_store.h"


int settings_key = 0;
std::uint32_t create_log_file = 1;
std::uint32_t jpeg_quality = 100;
std::uint32_t jpeg_resolution = 80;

namespace {

struct recent_list_name {
  recent_list* list;
  const char* prefix;  // value names are the prefix and the slot number
};
const recent_list_name recent_list_names[] = {
    {&recent_working_dirs, "RecentWorkingDir"},
    {&recent_log_files, "RecentLogFile"},
    {&recent_source_programs, "RecentSourceProgram"},
    {&command_history, "RecentCommand"},
};

std::string slot_name(const char* prefix, int slot) { return prefix + std::to_string(slot); }

settings_teller current_teller;
std::vector<std::string> waiting_texts;

std::string store_unavailable_text;  // why the store could not be opened

// Commits the store's changes; a failure is told with the store's reason,
// and so is a store that could not be opened at start.
bool commit_or_tell() {
  if (!settings_key) {
    settings_tell(store_unavailable_text.empty() ? "The settings could not be saved (the settings file is not open)."
                                                 : store_unavailable_text);
    return false;
  }
  if (settings_store_commit()) return true;
  settings_tell("The settings could not be saved (" + settings_store_failure() + ").");
  return false;
}

std::uint32_t clamp_u32(std::uint32_t v, std::uint32_t lo, std::uint32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// Creates folder and any missing parents; true when it is a folder afterwards.
bool make_folder_with_parents(const std::string& folder) {
  for (std::size_t i = 1; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '/') (void)::mkdir(folder.substr(0, i).c_str(), 0777);
  }
  return path_is_folder(folder);
}

// Reads the documents folder from a user-dirs.dirs file: the line
// XDG_DOCUMENTS_DIR="$HOME/..." (or an absolute path).
std::string documents_from_user_dirs(const std::string& file, const std::string& home) {
  std::FILE* f = std::fopen(file.c_str(), "r");
  if (!f) return {};
  std::string result;
  char line[1024];
  while (std::fgets(line, sizeof line, f)) {
    std::string_view text(line);
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR=\"";
    if (text.substr(0, key.size()) != key) continue;
    text.remove_prefix(key.size());
    std::size_t quote = text.find('"');
    if (quote == std::string_view::npos) break;
    text = text.substr(0, quote);
    constexpr std::string_view home_var = "$HOME";
    if (text.substr(0, home_var.size()) == home_var) {
      result = home + std::string(text.substr(home_var.size()));
    } else if (!text.empty() && text[0] == '/') {
      result = std::string(text);
    }
    break;
  }
  std::fclose(f);
  return result;
}

}  // namespace

void settings_install_teller(settings_teller teller) {
  current_teller = std::move(teller);
  if (!current_teller) return;
  std::vector<std::string> texts;
  texts.swap(waiting_texts);
  for (const std::string& text : texts) current_teller(text);
}

void settings_tell(const std::string& text) {
  if (current_teller) {
    current_teller(text);
    return;
  }
  for (const std::string& waiting : waiting_texts)
    if (waiting == text) return;
  waiting_texts.push_back(text);
}

void settings_tell_waiting_to_stderr() {
  for (const std::string& text : waiting_texts) std::fprintf(stderr, "tovarelle: %s\n", text.c_str());
  waiting_texts.clear();
}

std::string documents_folder() {
  const char* env = std::getenv("XDG_DOCUMENTS_DIR");
  if (env && env[0] == '/') return env;
  const char* home_env = std::getenv("HOME");
  if (!home_env || !home_env[0]) return {};
  std::string home = home_env;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string config_home = (config && config[0] == '/') ? std::string(config) : home + "/.config";
  std::string from_file = documents_from_user_dirs(config_home + "/user-dirs.dirs", home);
  if (!from_file.empty()) return from_file;
  return home + "/Documents";
}

bool reg_read_dword(std::string_view name, std::uint32_t& destination) {
  if (!settings_key) return false;
  return settings_store_read_number(name, destination);
}

bool reg_read_string(std::string_view name, std::string& destination, std::size_t limit) {
  if (!settings_key) return false;
  std::string value;
  if (!settings_store_read_text(name, value) || value.size() >= limit) return false;
  destination = std::move(value);
  return true;
}

int reg_init_work_folder() {
  default_work_folder.clear();
  store_unavailable_text.clear();
  settings_key = settings_store_open(settings_store_default_path()) ? 1 : 0;
  if (!settings_key) {
    store_unavailable_text = "The settings file was not read (" + settings_store_failure() +
                             "); the defaults are used and no settings will be saved.";
    settings_tell(store_unavailable_text);
    return 0;
  }

  if (reg_read_string("WorkPath", default_work_folder) && path_is_folder(default_work_folder)) return 1;
  settings_store_write_text("WorkPath", "");
  commit_or_tell();
  default_work_folder.clear();

  std::string documents = documents_folder();
  if (!documents.empty()) {
    std::string folder = documents + "/Tovarelle";
    if (folder.size() <= path_max_chars && make_folder_with_parents(folder)) {
      default_work_folder = folder;
      return 1;
    }
  }
  std::string programs = startup_folder + "/programs";
  if (!startup_folder.empty() && programs.size() <= path_max_chars) {
    (void)::mkdir(programs.c_str(), 0777);
    if (path_is_folder(programs)) {
      default_work_folder = programs;
      return 1;
    }
  }
  default_work_folder = startup_folder;
  return 1;
}

void set_default_settings() {
  log_file_path = default_work_folder;
  working_folder = default_work_folder;
  src_pgm_path = default_work_folder;
  log_file_name = "logfile.log";
  src_pgm_name = "program.txt";
  jpeg_path = working_folder;
  jpeg_file = "test.jpg";
  jpeg_full_path.clear();
  path_combine(jpeg_full_path, jpeg_path, jpeg_file);
  create_log_file = 1;
  use_working_dir = 1;
  jpeg_quality = 100;
  jpeg_resolution = 80;
  recent_list_clear(recent_working_dirs);
  recent_list_clear(recent_log_files);
  recent_list_clear(recent_source_programs);
}

void reg_load_settings() {
  reg_read_string("LogFilePath", log_file_path);
  reg_read_string("LogFileName", log_file_name);
  reg_read_string("SrcPgmPath", src_pgm_path);
  reg_read_string("SrcPgmName", src_pgm_name);
  reg_read_string("JpegPath", jpeg_path);
  reg_read_string("JpegFile", jpeg_file);
  path_combine(jpeg_full_path, jpeg_path, jpeg_file);
  reg_read_dword("JPEGQuality", jpeg_quality);
  jpeg_quality = clamp_u32(jpeg_quality, 25, 100);
  reg_read_dword("JPEGResolution", jpeg_resolution);
  jpeg_resolution = clamp_u32(jpeg_resolution, 25, 600);
  for (const recent_list_name& entry : recent_list_names) {
    recent_list& list = *entry.list;
    list.first_used = list.size;
    for (int slot = 0; slot < list.size; ++slot) {
      list.slots[slot].clear();  // a missing value is an empty slot
      reg_read_string(slot_name(entry.prefix, slot), list.slots[slot], recent_slot_max_chars + 1);
      if (!list.slots[slot].empty() && list.first_used == list.size) list.first_used = slot;
    }
  }
  command_history.browse_pos = command_history.size;
  std::uint32_t flag = create_log_file;
  if (reg_read_dword("CreateLogFile", flag)) create_log_file = flag;
  flag = use_working_dir;
  if (reg_read_dword("WorkingDir", flag)) use_working_dir = flag;
}

int reg_save_settings() {
  if (!settings_key) return commit_or_tell() ? 1 : 0;
  settings_store_write_text("LogFilePath", log_file_path);
  settings_store_write_text("LogFileName", log_file_name);
  settings_store_write_text("WorkPath", working_folder);
  settings_store_write_text("SrcPgmPath", src_pgm_path);
  settings_store_write_text("SrcPgmName", src_pgm_name);
  settings_store_write_text("JpegPath", jpeg_path);
  settings_store_write_text("JpegFile", jpeg_file);
  for (const recent_list_name& entry : recent_list_names) {
    for (int slot = 0; slot < entry.list->size; ++slot)
      settings_store_write_text(slot_name(entry.prefix, slot), entry.list->slots[slot]);
  }
  settings_store_write_number("CreateLogFile", create_log_file);
  settings_store_write_number("WorkingDIr", use_working_dir);
  settings_store_write_number("JPEGQuality", jpeg_quality);
  settings_store_write_number("JPEGResolution", jpeg_resolution);
  return commit_or_tell() ? 1 : 0;
}

void settings_load_at_startup() {
  if (startup_folder.empty()) startup_folder = path_current_directory();
  if (interpreter_folder.empty()) interpreter_folder = path_program_folder();
  reg_init_work_folder();
  set_default_settings();
  reg_load_settings();
  reg_load_size_settings();
  if (settings_key) reg_save_size_settings();  // without a store, its failure was told already
}

// The size settings in the settings store.
void reg_read_size_setting(const char* name, size_setting& record) {
  std::uint32_t value = 0;
  if (!reg_read_dword(name, value)) return;
  record.current = (value < record.minimum || value > record.maximum) ? record.default_value : value;
}

void reg_load_size_settings() {
  size_settings_reset_current();
  for (int i = 0; i < SIZE_SETTING_COUNT; ++i) reg_read_size_setting(size_setting_names[i], size_settings[i]);
}

int reg_save_size_settings() {
  if (!settings_key) return commit_or_tell() ? 1 : 0;
  for (int i = 0; i < SIZE_SETTING_COUNT; ++i) settings_store_write_number(size_setting_names[i], size_settings[i].current);
  return commit_or_tell() ? 1 : 0;
}
