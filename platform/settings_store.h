// The persistent settings store: one small text file of typed values (texts
// and 32-bit numbers) under $XDG_CONFIG_HOME/tovarelle/settings. Value names
// are compared without regard to case. Changes are kept in memory until
// settings_store_commit, which merges them into the file as it is on disk and
// replaces the file atomically (temporary file, then rename). The rewrite
// keeps every line it does not change (comments, lines it cannot read) where
// it stands, and a settings file that is a link stays one.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The file the store uses by default: $XDG_CONFIG_HOME (default ~/.config)
// followed by "/tovarelle/settings"; empty when neither variable is set.
std::string settings_store_default_path();

// Opens the store on path (creating its folders); reads the file when it
// exists. Returns true when the store can be used (a missing file is fine);
// false when a folder cannot be made, or the file cannot be read, is not a
// regular file (a FIFO, a link to a device) or is larger than 1 MiB.
bool settings_store_open(const std::string& path);
// Forgets the open store (pending changes are dropped).
void settings_store_close();
bool settings_store_is_open();

// Reads a text value; false when the store is closed, the value is missing or
// it is a number.
bool settings_store_read_text(std::string_view name, std::string& value);
// Reads a number value; false when closed, missing or a text.
bool settings_store_read_number(std::string_view name, std::uint32_t& value);

// Set a value in memory (false when the store is closed). The name keeps the
// spelling of the first write when the value already exists under another case.
bool settings_store_write_text(std::string_view name, std::string_view value);
bool settings_store_write_number(std::string_view name, std::uint32_t value);

// Writes the pending changes to the file (nothing when no value changed).
// Returns true on success; on failure the old file stays whole and the
// changes stay pending.
bool settings_store_commit();

// Why the last settings_store_open or settings_store_commit failed: the path
// and the reason ("/home/u/.config/tovarelle/settings: No space left on
// device"); empty after a success.
const std::string& settings_store_failure();
