// Variables, arrays, string space and temporary-string space. All stores are
// fixed blocks sized once at start-up; nothing here grows. Strings are
// NUL-terminated runs addressed by offset, offset 0 being the empty string.
#include "interpreter/variables.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graph/text_table.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/files.h"
#include "interpreter/folded_names.h"
#include "interpreter/keywords.h"
#include "interpreter/output.h"
#include "interpreter/debugging.h"
#include "interpreter/run_state.h"
#include "interpreter/short_copy.h"
#include "interpreter/memo.h"
#include "rizozira/long_number.h"

variable_entry* variable_table = nullptr;
std::uint32_t variable_count = 0;
std::uint32_t variable_capacity = 0;
char* variable_names = nullptr;
std::uint32_t variable_names_used = 0;
std::uint32_t variable_names_size = 0;

array_entry* array_table = nullptr;
std::uint32_t array_count = 0;
std::uint32_t array_capacity = 0;
char* array_names = nullptr;
std::uint32_t array_names_used = 0;
std::uint32_t array_names_size = 0;

char* string_space = nullptr;
std::uint32_t string_space_used = 1;
std::uint32_t string_space_size = 0;

char* temp_strings = nullptr;
std::uint32_t temp_strings_used = 1;
std::uint32_t temp_strings_size = 0;
std::uint32_t temp_strings_peak = 1;

value_slot* current_value_slot = nullptr;
store_allocator_function store_allocator = std::calloc;

namespace {

// Largest array: its block of 8-byte slots stays below 4 GiB.
constexpr std::uint64_t max_array_elements = 0xFFFFFFFFull / sizeof(value_slot);

// Compaction area of houseclean while it runs.
char* compaction_area = nullptr;
std::uint32_t compaction_used = 0;

}  // namespace

void* allocate_zeroed(std::size_t count, std::size_t size) {
  if (count == 0) count = 1;
  return store_allocator(count, size);
}

namespace {

// A hash index over a name table: name (case folded) -> the index of the
// first entry of that name. Open addressing with linear probing in a fixed
// block, at most half full; a larger table is searched linearly. The index
// records how many entries it holds: when the table's count has moved behind
// its back (CLEAR empties it, ERASE closes a gap) it is rebuilt from the table
// before use, so its answers are always the table's own.
class name_index {
 public:
  static constexpr std::uint32_t slot_count = 4096;  // a power of two
  static constexpr std::uint32_t max_entries = slot_count / 2;

  // Index of the first entry called name among count entries, or -1.
  template <typename NameOf>
  int find(std::string_view name, std::uint32_t count, NameOf name_of) {
    if (count > max_entries) {
      for (std::uint32_t i = 0; i < count; ++i)
        if (names_equal(name, name_of(i))) return static_cast<int>(i);
      return -1;
    }
    sync(count, name_of);
    return probe(name, name_of);
  }
  // Records entry `index`, the table's new last entry.
  template <typename NameOf>
  void added(std::uint32_t index, NameOf name_of) {
    if (index + 1 > max_entries) return;  // searched linearly from now on
    sync(index, name_of);
    if (probe(name_of(index), name_of) < 0) place(name_of(index), index);
    held_ = index + 1;
  }
  void clear() {
    for (std::int32_t& slot : slots_) slot = -1;
    held_ = 0;
  }

 private:
  static constexpr std::uint32_t mask = slot_count - 1;
  std::int32_t slots_[slot_count];
  std::uint32_t held_ = ~0u;  // never equal to a count: the first use clears the slots

  static std::uint32_t hash(std::string_view name) { return folded_name_hash(name); }
  template <typename NameOf>
  int probe(std::string_view name, NameOf name_of) const {
    for (std::uint32_t h = hash(name) & mask;; h = (h + 1) & mask) {
      std::int32_t entry = slots_[h];
      if (entry < 0) return -1;
      if (names_equal(name, name_of(static_cast<std::uint32_t>(entry)))) return entry;
    }
  }
  void place(std::string_view name, std::uint32_t index) {
    std::uint32_t h = hash(name) & mask;
    while (slots_[h] >= 0) h = (h + 1) & mask;
    slots_[h] = static_cast<std::int32_t>(index);
  }
  // Rebuilds the index from the first count entries when it holds another count.
  template <typename NameOf>
  void sync(std::uint32_t count, NameOf name_of) {
    if (held_ == count) return;
    clear();
    for (std::uint32_t i = 0; i < count; ++i)
      if (probe(name_of(i), name_of) < 0) place(name_of(i), i);  // the first of a name wins
    held_ = count;
  }
};

name_index variable_index;
name_index array_index;

const char* variable_name_at(std::uint32_t i) { return variable_name(variable_table[i]); }
const char* array_name_at(std::uint32_t i) { return array_name(array_table[i]); }

// Length of a string in a space, bounded by the space's end.
std::uint32_t text_length_in(const char* space, std::uint32_t size, std::uint32_t offset) {
  if (offset == 0 || offset >= size) return 0;
  const void* end = std::memchr(space + offset, '\0', size - offset);
  if (!end) return size - offset;
  return static_cast<std::uint32_t>(static_cast<const char*>(end) - (space + offset));
}

}  // namespace

// strnlen(string_accumulator, max_string_length), eight bytes at a time
// without a call: the accumulator is far longer than a string may be, and the
// strings that pass through it are mostly a few characters long.
std::uint32_t accumulator_length() {
  static_assert(string_accumulator_size >= max_string_length + 8);
  static_assert(std::endian::native == std::endian::little);  // the lowest marked byte comes first
  constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
  for (std::uint32_t n = 0; n < max_string_length; n += 8) {
    std::uint64_t word;
    std::memcpy(&word, string_accumulator + n, 8);
    // Marks the zero bytes of the word; only bytes behind the first zero
    // byte can be marked wrongly, so the lowest mark is exact.
    const std::uint64_t zeros = (word - ones) & ~word & highs;
    if (zeros != 0) {
      const std::uint32_t length = n + static_cast<std::uint32_t>(std::countr_zero(zeros)) / 8;
      return length < max_string_length ? length : max_string_length;
    }
  }
  return max_string_length;
}

namespace {

// Dimension sizes as items, the shape the array walkers take.
int dimensions_as_items(const array_entry& entry, expr_item* items) {
  for (std::uint32_t k = 0; k < entry.dimension_count; ++k) {
    items[k] = expr_item{};
    items[k].type = ITEM_DOUBLE;
    items[k].value.number = entry.dimension_sizes[k];
  }
  return static_cast<int>(entry.dimension_count);
}

// Element count of the sub-array below dimension 0 of dimensions.
std::size_t trailing_product(int count, const expr_item* dimensions) {
  std::size_t product = 1;
  for (int k = 1; k < count; ++k) product *= static_cast<std::size_t>(dimensions[k].value.number);
  return product;
}

}  // namespace

// ---------------------------------------------------------------- allocation

int allocate_variable_table(std::uint32_t entries) {
  memo_changed();
  variable_count = 0;
  variable_index.clear();
  return allocate_store(variable_table, entries, variable_capacity, 188);
}

int allocate_variable_names(std::uint32_t bytes) {
  variable_names_used = 0;
  return allocate_store(variable_names, bytes, variable_names_size, 1);
}

int allocate_array_table(std::uint32_t entries) {
  array_count = 0;
  memo_changed();
  array_index.clear();
  return allocate_store(array_table, entries, array_capacity, 189);
}

int allocate_array_names(std::uint32_t bytes) {
  array_names_used = 0;
  return allocate_store(array_names, bytes, array_names_size, 2);
}

int allocate_string_space(std::uint32_t bytes) {
  string_space_used = 1;
  return allocate_store(string_space, bytes, string_space_size, 3);
}

int allocate_temp_strings(std::uint32_t bytes) {
  temp_strings_used = 1;
  temp_strings_peak = 1;
  return allocate_store(temp_strings, bytes, temp_strings_size, 4);
}

// ---------------------------------------------------------------- names and texts

const char* variable_name(const variable_entry& entry) {
  if (!variable_names || entry.name_offset >= variable_names_size) return "";
  return variable_names + entry.name_offset;
}

const char* array_name(const array_entry& entry) {
  if (!array_names || entry.name_offset >= array_names_size) return "";
  return array_names + entry.name_offset;
}

const char* string_space_text(std::uint32_t offset) {
  if (offset == 0 || !string_space || offset >= string_space_size) return "";
  return string_space + offset;
}

const char* temp_string_text(std::uint32_t offset) {
  if (offset == 0 || !temp_strings || offset >= temp_strings_size) return "";
  return temp_strings + offset;
}

int find_variable(std::string_view name) {
  if (name.empty()) return -1;
  return variable_index.find(name, variable_count, variable_name_at);
}

int find_array(std::string_view name) {
  if (name.empty()) return -1;
  return array_index.find(name, array_count, array_name_at);
}

bool name_is_string(std::string_view name) { return !name.empty() && name.back() == '$'; }

// ---------------------------------------------------------------- creation

int create_variable(std::string_view name, int long_flag) {
  if (variable_count >= variable_capacity) return report_error(err_variable_table_full);
  if (static_cast<std::uint64_t>(variable_names_used) + name.size() >= variable_names_size)
    return report_error(err_variable_name_table_full);
  current_value_slot = nullptr;
  int type;
  if (long_flag) {
    if (no_execute) return ITEM_LONG;  // skip mode: nothing created, no "$" test
    if (name_is_string(name)) return report_error(err_rizozira_variable_or_array_name);
    type = ITEM_LONG;
  } else if (name_is_string(name)) {
    type = ITEM_STRING;
    string_accumulator[0] = '\0';
    string_accumulator_length = 0;
  } else if (long_all_mode) {
    type = ITEM_LONG;
  } else {
    type = ITEM_DOUBLE;
    double_accumulator = 0.0;
  }
  if (no_execute) return type;

  // The "$" test comes before the name is stored, so a refused LONG
  // declaration leaves no orphan name bytes behind.
  variable_entry& entry = variable_table[variable_count];
  entry.name_offset = variable_names_used;
  std::memcpy(variable_names + variable_names_used, name.data(), name.size());
  variable_names[variable_names_used + name.size()] = '\0';
  variable_names_used += static_cast<std::uint32_t>(name.size()) + 1;
  entry.type = static_cast<std::uint32_t>(type);
  entry.value.bits = 0;  // 0.0, the empty string, or an unassigned long
  current_value_slot = &entry.value;
  variable_index.added(variable_count, variable_name_at);
  ++variable_count;
  memo_changed();
  return type;
}

int create_array(std::string_view name, int count, expr_item* dimensions, int long_flag) {
  if (count > max_array_dimensions) return report_error(err_too_many_dimensions_to_array);
  if (count < 1) return report_error(err_array_requires_at_least_one);
  if (array_count >= array_capacity) return report_error(err_array_table_full);
  if (static_cast<std::uint64_t>(array_names_used) + name.size() >= array_names_size)
    return report_error(err_array_name_table_full);
  // The name is stored only once the array exists, so a refused DIM leaves
  // no name bytes behind.
  if (find_variable(name) >= 0) return report_error(err_array_cannot_have_same_name);
  int type;
  if (long_flag) {
    if (name_is_string(name)) return report_error(err_rizozira_variable_or_array_name);
    type = ITEM_LONG;
  } else if (name_is_string(name)) {
    type = ITEM_STRING;
  } else {
    type = long_all_mode ? ITEM_LONG : ITEM_DOUBLE;
  }

  // Every size must be a number of at least 1 (NaN fails too); the block,
  // every element an 8-byte slot, must stay below 4 GiB in all.
  std::uint32_t sizes[max_array_dimensions] = {};
  std::uint64_t elements = 1;
  bool representable = true;
  for (int k = 0; k < count; ++k) {
    if (item_to_double(dimensions[k]) < 0) return report_error(err_array_dimension_numeric_and_1);
    double value = dimensions[k].value.number;
    if (!(value >= 1.0)) return report_error(err_array_dimension_numeric_and_1);
    if (!representable || !(value <= static_cast<double>(max_array_elements))) {
      representable = false;  // no size is converted past the limit
      continue;
    }
    sizes[k] = static_cast<std::uint32_t>(value);
    elements *= sizes[k];  // both factors <= max_array_elements: no wrap in 64 bits
    if (elements > max_array_elements) representable = false;
  }
  if (!representable) return report_error(err_unable_to_allocate_array_storage);
  value_slot* data = static_cast<value_slot*>(store_allocator(static_cast<std::size_t>(elements), sizeof(value_slot)));
  if (!data) return report_error(err_unable_to_allocate_array_storage);

  std::uint32_t name_offset = array_names_used;
  std::memcpy(array_names + array_names_used, name.data(), name.size());
  array_names[array_names_used + name.size()] = '\0';
  array_names_used += static_cast<std::uint32_t>(name.size()) + 1;
  array_entry& entry = array_table[array_count];
  entry = array_entry{};
  entry.name_offset = name_offset;
  entry.type = static_cast<std::uint32_t>(type);
  entry.dimension_count = static_cast<std::uint32_t>(count);
  for (int k = 0; k < count; ++k) entry.dimension_sizes[k] = sizes[k];
  entry.data = data;
  array_index.added(array_count, array_name_at);
  ++array_count;
  memo_changed();
  return type;
}

std::size_t array_element_count(const array_entry& entry) {
  if (!entry.data || entry.dimension_count == 0) return 0;
  std::size_t elements = 1;
  for (std::uint32_t k = 0; k < entry.dimension_count && k < max_array_dimensions; ++k)
    elements *= entry.dimension_sizes[k];
  return elements;
}

namespace {

// The subscript list is shown before a subscript error, DEBUG or not.
void show_subscripts(int count, expr_item* subscripts, const char* name) {
  int saved_debug = debug_mode;
  debug_mode = 1;
  trace_parameter_list(count, subscripts, name, 2);
  debug_mode = saved_debug;
}

}  // namespace

int get_array_element_address(int array_index, value_slot** slot, int count, expr_item* subscripts) {
  if (array_index < 0 || static_cast<std::uint32_t>(array_index) >= array_count) return report_error(err_name_not_function_or_dimsioned);
  const array_entry& entry = array_table[array_index];
  if (count != static_cast<int>(entry.dimension_count)) {
    show_subscripts(count, subscripts, array_name(entry));
    return report_error(err_incorrect_number_subscripts);
  }
  std::size_t index = 0;
  for (int k = 0; k < count; ++k) {
    if (item_to_double(subscripts[k]) < 0) return report_error(err_array_index_numeric);
    double value = subscripts[k].value.number;
    double size = entry.dimension_sizes[k];
    // Range first, as doubles: NaN and huge values never reach the cast.
    if (!(value >= 0.0 && value < size)) {
      show_subscripts(count, subscripts, array_name(entry));
      return report_error_at(subscripts[k].column, err_subscript_out_range_or_invalid);
    }
    index = index * entry.dimension_sizes[k] + static_cast<std::size_t>(value);
  }
  *slot = entry.data + index;
  return 0;
}

// ---------------------------------------------------------------- string values

int assign_string_variable(value_slot* slot, int mode) {
  std::uint32_t new_length = accumulator_length();
  std::uint32_t offset = slot->string_offset;
  if (offset >= string_space_size) offset = 0;  // never trust an offset past the space
  std::uint32_t old_length = text_length_in(string_space, string_space_size, offset);

  if (mode == 0) {
    if (new_length == 0) {
      slot->string_offset = 0;
      return ITEM_STRING;
    }
    if (new_length <= old_length) {
      std::memcpy(string_space + offset, string_accumulator, new_length);
      string_space[offset + new_length] = '\0';
      return ITEM_STRING;
    }
    if (static_cast<std::uint64_t>(string_space_used) + new_length >= string_space_size) {
      int result = houseclean();
      if (result < 0) return result;
      if (static_cast<std::uint64_t>(string_space_used) + new_length >= string_space_size)
        return report_error(err_no_more_string_space);
    }
    std::memcpy(string_space + string_space_used, string_accumulator, new_length);
    string_space[string_space_used + new_length] = '\0';
    slot->string_offset = string_space_used;
    string_space_used += new_length + 1;
    return ITEM_STRING;
  }

  // LSET and RSET keep the stored length.
  if (old_length == 0) return ITEM_STRING;
  char* target = string_space + offset;
  if (new_length >= old_length) {
    std::memcpy(target, string_accumulator, old_length);
  } else if (mode == 1) {
    std::memcpy(target, string_accumulator, new_length);
    std::memset(target + new_length, ' ', old_length - new_length);
  } else {
    std::memset(target, ' ', old_length - new_length);
    std::memcpy(target + (old_length - new_length), string_accumulator, new_length);
  }
  return ITEM_STRING;
}

int assign_long_variable(value_slot* slot) {
  if (!slot->long_value) {
    long_number* fresh = long_var_alloc();
    if (!fresh) return -174;  // reported by the pool
    slot->long_value = fresh;
  }
  int result = long_move(long_accumulator, slot->long_value);
  return result < 0 ? result : int{ITEM_LONG};
}

int reserve_temp(std::size_t length, std::uint32_t* offset) {
  if (length > max_string_length) length = max_string_length;
  if (length == 0) {
    *offset = 0;
    return 0;
  }
  if (static_cast<std::uint64_t>(temp_strings_used) + length + 1 > temp_strings_size)
    return report_error(err_no_more_space_for_temporary);
  *offset = temp_strings_used;
  temp_strings_used += static_cast<std::uint32_t>(length) + 1;
  if (temp_strings_used > temp_strings_peak) temp_strings_peak = temp_strings_used;
  return 0;
}

int text_to_temp(std::string_view text, std::uint32_t* offset) {
  const int reserved = reserve_temp(text.size(), offset);
  if (reserved < 0 || *offset == 0) return reserved;
  const std::size_t length = text.size() < max_string_length ? text.size() : max_string_length;
  char* const into = temp_strings + *offset;
  if (length <= 16) copy_short(into, text.data(), length);
  else std::memcpy(into, text.data(), length);
  into[length] = '\0';
  return 0;
}

int string_accumulator_to_temp(std::uint32_t* offset) {
  return text_to_temp(std::string_view(string_accumulator, accumulator_length()), offset);
}

// ---------------------------------------------------------------- houseclean

std::uint32_t houseclean_copy_string(std::uint32_t old_offset) {
  std::uint32_t length = text_length_in(string_space, string_space_size, old_offset);
  if (length == 0) return 0;
  if (static_cast<std::uint64_t>(compaction_used) + length + 1 > string_space_size) return 0;
  std::uint32_t new_offset = compaction_used;
  std::memcpy(compaction_area + new_offset, string_space + old_offset, length);
  compaction_area[new_offset + length] = '\0';
  compaction_used += length + 1;
  return new_offset;
}

void houseclean_string_array(value_slot* elements, int count, const expr_item* dimensions) {
  std::size_t size = static_cast<std::size_t>(dimensions[0].value.number);
  if (count <= 1) {
    for (std::size_t i = 0; i < size; ++i)
      if (elements[i].string_offset != 0)
        elements[i].string_offset = houseclean_copy_string(elements[i].string_offset);
    return;
  }
  std::size_t stride = trailing_product(count, dimensions);
  for (std::size_t i = 0; i < size; ++i)
    houseclean_string_array(elements + i * stride, count - 1, dimensions + 1);
}

void walk_long_array(value_slot* elements, int count, const expr_item* dimensions, int mode) {
  std::size_t size = static_cast<std::size_t>(dimensions[0].value.number);
  if (count <= 1) {
    for (std::size_t i = 0; i < size; ++i) {
      if (!elements[i].long_value) continue;
      if (mode == 0) {
        long_var_free(elements[i].long_value);
        elements[i].long_value = nullptr;
      } else {
        long_var_compact_one(&elements[i].long_value);
      }
    }
    return;
  }
  std::size_t stride = trailing_product(count, dimensions);
  for (std::size_t i = 0; i < size; ++i)
    walk_long_array(elements + i * stride, count - 1, dimensions + 1, mode);
}

int houseclean() {
  if (no_execute) return 0;  // a skipped statement compacts nothing and takes no work area
  compaction_area = static_cast<char*>(allocate_zeroed(string_space_size, 1));
  if (!compaction_area) return report_error(err_unable_to_allocate_storage_for_3);
  compaction_used = 1;

  for (std::uint32_t i = 0; i < variable_count; ++i) {
    variable_entry& entry = variable_table[i];
    if (entry.type == ITEM_STRING && entry.value.string_offset != 0)
      entry.value.string_offset = houseclean_copy_string(entry.value.string_offset);
    else if (entry.type == ITEM_LONG && entry.value.long_value)
      long_var_compact_one(&entry.value.long_value);
  }
  expr_item dimensions[max_array_dimensions];
  for (std::uint32_t i = 0; i < array_count; ++i) {
    array_entry& entry = array_table[i];
    if (entry.type != ITEM_STRING || !entry.data) continue;
    int count = dimensions_as_items(entry, dimensions);
    houseclean_string_array(entry.data, count, dimensions);
  }

  std::memcpy(string_space, compaction_area, string_space_size);
  string_space_used = compaction_used;
  std::free(compaction_area);
  compaction_area = nullptr;

  if (debug_mode) {
    char line[96];
    std::snprintf(line, sizeof line, "Var.  Name  Space Used:  %3u, max: %5u\n", variable_names_used,
                  variable_names_size);
    print_text(line);
    std::snprintf(line, sizeof line, "Array Name  Space Used:  %3u, max: %5u\n", array_names_used,
                  array_names_size);
    print_text(line);
    std::snprintf(line, sizeof line, "String      Space Used:  %3u, max: %5u\n", string_space_used,
                  string_space_size);
    print_text(line);
    std::snprintf(line, sizeof line, "Temp String Space Used:  %3u, max: %5u\n", temp_strings_peak,
                  temp_strings_size);
    print_text(line);
    std::snprintf(line, sizeof line, "Next Temp String offset: %3u, \n", temp_strings_used);
    print_text(line);
  }

  for (std::uint32_t i = 0; i < array_count; ++i) {
    array_entry& entry = array_table[i];
    if (entry.type != ITEM_LONG || !entry.data) continue;
    int count = dimensions_as_items(entry, dimensions);
    walk_long_array(entry.data, count, dimensions, 1);
  }
  long_var_compact_finish();
  return 0;
}

// ---------------------------------------------------------------- clearing

void free_array_data(array_entry& entry) {
  if (entry.type == ITEM_LONG && entry.data) {
    expr_item dimensions[max_array_dimensions];
    int count = dimensions_as_items(entry, dimensions);
    walk_long_array(entry.data, count, dimensions, 0);
  }
  std::free(entry.data);
  entry.data = nullptr;
}

int clear_all_variables() {
  for (std::uint32_t i = 0; i < array_count; ++i) free_array_data(array_table[i]);
  array_count = 0;
  array_names_used = 0;
  array_index.clear();
  long_clear_variables();  // every long-variable slot and the pi, e and ln 10 caches
  memo_changed();
  variable_count = 0;
  variable_names_used = 0;
  variable_index.clear();
  string_space_used = 1;
  temp_strings_used = 1;
  current_value_slot = nullptr;
  text_clear_all();  // graph texts point at the variables just cleared
  // A FIELD on a string variable finds its variable again when next used.
  for (field_definition* definition : field_table)
    if (definition && definition->file_number == -1) definition->string_slot = nullptr;
  return 0;
}
