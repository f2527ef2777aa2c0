// Variables, arrays, string space and temporary-string space: the fixed stores
// that hold a program's data, allocated once at start-up from the size settings.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "interpreter/errors.h"
#include "interpreter/item.h"

struct long_number;

// The 8-byte value of a variable, array element or parameter. Which member is
// live follows the owner's type: 2 number, 3 string_offset (0 = empty string),
// 14 long_value (null until first assigned; reads as 0).
union value_slot {
  double number;
  std::uint32_t string_offset;
  long_number* long_value;
  std::uint64_t bits;
};
static_assert(sizeof(value_slot) == 8);

constexpr int max_array_dimensions = 6;

struct variable_entry {
  std::uint32_t name_offset;  // NUL-terminated name in variable_names
  std::uint32_t type;         // 2 double, 3 string, 14 long
  value_slot value;
};

// Elements live in one zero-filled heap block in row-major order (the last
// subscript varies fastest). Every element is one value_slot, whatever the
// type, so a slot pointer into any array has the same shape as a variable's.
struct array_entry {
  std::uint32_t name_offset;  // NUL-terminated name in array_names
  std::uint32_t type;         // 2, 3 or 14
  std::uint32_t dimension_count;
  std::uint32_t dimension_sizes[max_array_dimensions];  // valid subscripts 0..size-1
  value_slot* data;
};

// Simple variables.
extern variable_entry* variable_table;
extern std::uint32_t variable_count;
extern std::uint32_t variable_capacity;
extern char* variable_names;
extern std::uint32_t variable_names_used;
extern std::uint32_t variable_names_size;

// Arrays.
extern array_entry* array_table;
extern std::uint32_t array_count;
extern std::uint32_t array_capacity;
extern char* array_names;
extern std::uint32_t array_names_used;
extern std::uint32_t array_names_size;

// String space: NUL-terminated strings by offset; offset 0 is the empty string.
extern char* string_space;
extern std::uint32_t string_space_used;  // next free offset, starts at 1
extern std::uint32_t string_space_size;

// Temporary-string space: the same scheme, released to saved levels.
extern char* temp_strings;
extern std::uint32_t temp_strings_used;  // next free offset, starts at 1
extern std::uint32_t temp_strings_size;
extern std::uint32_t temp_strings_peak;  // highest temp_strings_used reached

// The value slot the last get_item found or created (null for a predefined
// variable, a whole array, or a creation while skipping).
extern value_slot* current_value_slot;

constexpr std::uint32_t max_string_length = 255;

// Allocates and zero-fills the six stores (start-up). Each returns 0, or the
// negative result of report_error with its store's code (188, 1, 189, 2, 3, 4).
// These blocks, array blocks and houseclean's work area come from
// store_allocator (count records of size bytes, zeroed, or null); it is
// std::calloc unless a test puts a failing one in its place.
using store_allocator_function = void* (*)(std::size_t count, std::size_t size);
extern store_allocator_function store_allocator;
// Zero-filled block of count records (at least one) of size bytes from
// store_allocator, or null.
void* allocate_zeroed(std::size_t count, std::size_t size);
// One fixed store of count records of T, zero-filled; any previous block is
// freed first. Returns 0, or the report of code when the block cannot be had
// (capacity is then 0).
template <typename T>
int allocate_store(T*& store, std::uint32_t count, std::uint32_t& capacity, int code) {
  std::free(store);
  store = static_cast<T*>(allocate_zeroed(count, sizeof(T)));
  capacity = store ? count : 0;
  return store ? 0 : report_error(code);
}
int allocate_variable_table(std::uint32_t entries);
int allocate_variable_names(std::uint32_t bytes);
int allocate_array_table(std::uint32_t entries);
int allocate_array_names(std::uint32_t bytes);
int allocate_string_space(std::uint32_t bytes);
int allocate_temp_strings(std::uint32_t bytes);

// Names and texts.
const char* variable_name(const variable_entry& entry);
const char* array_name(const array_entry& entry);
const char* string_space_text(std::uint32_t offset);  // "" for 0 or a bad offset
const char* temp_string_text(std::uint32_t offset);   // "" for 0 or a bad offset
// Index of the variable or array of that name (case ignored), or -1: the
// first entry in table order whose name matches. Both go through a hash index
// of the table, rebuilt whenever the table's count moved without it (CLEAR,
// ERASE), so a lookup costs no scan of the table.
int find_variable(std::string_view name);
int find_array(std::string_view name);
// Whether the name ends in "$" (a string name).
bool name_is_string(std::string_view name);

// Enters a new simple variable; returns its type 3, 14 or 2, or a negative
// error (96, 97, 248). Points current_value_slot at the new value (null while
// no_execute is set, when nothing is created).
int create_variable(std::string_view name, int long_flag);
// Declares a new array from count dimension items (their values are converted
// in place); returns 2, 3 or 14, or a negative error (89, 90, 163, 91, 270,
// 248, 92, 93).
int create_array(std::string_view name, int count, expr_item* dimensions, int long_flag);
// The element's value slot into *slot; 0 or a negative error (72, 88, 70).
int get_array_element_address(int array_index, value_slot** slot, int count, expr_item* subscripts);
// Element count of an array (0 for a bad entry).
std::size_t array_element_count(const array_entry& entry);

// Stores string_accumulator into a string slot: mode 0 assigns, 1 LSET, 2
// RSET. Returns 3 or a negative error (109, 3).
int assign_string_variable(value_slot* slot, int mode);
// Moves long_accumulator into the slot's long (taking a pool slot when the
// slot has none); returns 14 or a negative value.
int assign_long_variable(value_slot* slot);
// The length of the text in string_accumulator, at most max_string_length.
std::uint32_t accumulator_length();
// Copies string_accumulator into temporary-string space; *offset := its
// offset (0 for the empty string). Returns 0 or -14.
int string_accumulator_to_temp(std::uint32_t* offset);
// Copies text into temporary-string space (cut at max_string_length). 0 or -14.
int text_to_temp(std::string_view text, std::uint32_t* offset);
// Takes the room text_to_temp would take for a text of length bytes, as it
// takes it (the same offset, use, peak and error), without writing the text:
// for a caller that writes it there only if it ever reads it.
int reserve_temp(std::size_t length, std::uint32_t* offset);

// Compacts string space and the long-variable pool; 0 or a negative error.
int houseclean();
// Appends the string at old_offset to the compaction area; returns its new offset.
std::uint32_t houseclean_copy_string(std::uint32_t old_offset);
// Visits every element of a string array and moves each non-empty string.
void houseclean_string_array(value_slot* elements, int count, const expr_item* dimensions);
// Visits every element of a long array: mode 0 releases each assigned
// element, mode 1 compacts it into the lowest free pool slot.
void walk_long_array(value_slot* elements, int count, const expr_item* dimensions, int mode);
// Empties all variables, arrays and spaces; returns 0.
int clear_all_variables();
// Frees one array's data block (and releases its long elements). Used by ERASE.
void free_array_data(array_entry& entry);
