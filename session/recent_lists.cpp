// The recent lists (see recent_lists.h).
#include "session/recent_lists.h"

recent_list recent_working_dirs{10, {}, 10, 10};
recent_list recent_source_programs{10, {}, 10, 10};
recent_list recent_log_files{10, {}, 10, 10};
recent_list command_history{20, {}, 20, 20};

void recent_list_clear(recent_list& list) {
  for (std::string& s : list.slots) s.clear();
  list.first_used = list.size;
  list.browse_pos = list.size;
}

bool recent_list_push(recent_list& list, std::string_view text) {
  if (text.size() > recent_slot_max_chars) return false;
  for (int i = 0; i + 1 < list.size; ++i) list.slots[i] = std::move(list.slots[i + 1]);
  list.slots[list.size - 1] = std::string(text);
  if (list.first_used > 0) --list.first_used;
  return true;
}

const std::string* recent_list_newest(const recent_list& list) {
  if (list.first_used >= list.size) return nullptr;
  return &list.slots[list.size - 1];
}

bool recent_list_push_path(recent_list& list, std::string_view text, bool set_browse) {
  const std::string* newest = recent_list_newest(list);
  if (newest && *newest == text) return false;
  if (!recent_list_push(list, text)) return false;
  if (set_browse) list.browse_pos = list.size - 1;
  return true;
}

void command_history_push(std::string_view line) {
  recent_list_push(command_history, line);
  command_history.browse_pos = command_history.size;
}
