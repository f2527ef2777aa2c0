// The recent lists of the main dialog's fields (working folders, source
// programs, log files) and the command history. The settings file loads and
// saves them; the working-folder road and the main dialog use them.
#pragma once
#include <array>
#include <string>
#include <string_view>

// A most-recent-last list of texts: slot size-1 is the newest, slot 0 the oldest.
constexpr int recent_list_max_slots = 20;
constexpr std::size_t recent_slot_max_chars = 255;
struct recent_list {
  int size;        // N: 10 for the path lists, 20 for the command history
  std::array<std::string, recent_list_max_slots> slots;
  int first_used;  // lowest filled slot; size when the list is empty
  int browse_pos;  // slot last shown by Up or Down; size when not browsing
};
extern recent_list recent_working_dirs;     // working-folder field 1085
extern recent_list recent_source_programs;  // source-program field 1083
extern recent_list recent_log_files;        // log-file field 1081
extern recent_list command_history;         // command box 1053

void recent_list_clear(recent_list& list);
// Moves every slot down by one (slot 0 is lost) and puts text into the newest
// slot. A text longer than a slot holds is not stored (returns false).
bool recent_list_push(recent_list& list, std::string_view text);
// The newest text, or null when the list is empty.
const std::string* recent_list_newest(const recent_list& list);
// Pushes a path unless it equals the newest entry exactly; with set_browse the
// browse position moves to the newest slot. Returns true when pushed.
bool recent_list_push_path(recent_list& list, std::string_view text, bool set_browse);
// Every line typed in the command box; the browse position is reset.
void command_history_push(std::string_view line);
