// Persistent settings: the values kept in the settings store, their defaults,
// the four recent lists, and the choice of the default working folder.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "session/recent_lists.h"


// Non-path settings (the path settings live in paths.h).
extern int settings_key;               // 1 while the settings store is open, else 0
extern std::uint32_t create_log_file;
extern std::uint32_t jpeg_quality;     // 25..100
extern std::uint32_t jpeg_resolution;  // dots per inch, 25..600

// The user's documents folder: $XDG_DOCUMENTS_DIR, else the one named in
// user-dirs.dirs, else $HOME/Documents; empty without a home.
std::string documents_folder();

// Opens the settings store and chooses default_work_folder. Returns 1, or 0
// when the store cannot be had (default_work_folder is then empty; the reason
// is told, see settings_tell).
int reg_init_work_folder();
// Puts the defaults into the program state.
void set_default_settings();
// Reads every value except the size settings and WorkPath.
void reg_load_settings();
// Writes every value except the size settings (the main dialog's exit road).
// Returns 1 when written, 0 when the store failed (a failed write is told).
int reg_save_settings();

// Reads a number: the destination changes only when the value is there.
bool reg_read_dword(std::string_view name, std::uint32_t& destination);
// Reads a text: the destination changes only when the value is there and
// shorter than limit characters.
bool reg_read_string(std::string_view name, std::string& destination, std::size_t limit = 260);

// The start-up reading (once, before the mode is chosen): notes the start
// folder, opens the store, chooses the default working folder, sets the
// defaults, reads the saved values, then reads the size settings and writes
// them back.
void settings_load_at_startup();

// Failures of the settings file are told to the user, never dropped: the
// window installs a teller that shows a message box, console mode one that
// writes to standard error. Told before a teller exists (start-up reads and
// writes the file before the mode is chosen), a text waits and goes to the
// next teller installed; the same text waits only once.
using settings_teller = std::function<void(const std::string& text)>;
// Installs teller (an empty one removes it) and hands it what waits.
void settings_install_teller(settings_teller teller);
// Tells text through the teller, or keeps it until one is installed.
void settings_tell(const std::string& text);
// Writes what still waits to standard error (for a start that ends before
// any teller was installed).
void settings_tell_waiting_to_stderr();
