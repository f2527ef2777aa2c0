// Scanned and evaluated items: expr_item and the item type codes.
#pragma once
#include <cstdint>

struct array_entry;

// Item type codes. The numbers are part of the interface: results of get_item
// and evaluate_expression are these codes (or negative error codes).
enum item_type : std::uint32_t {
  ITEM_NONE = 0,            // end of line, ":", consumed list end; or flag-32 name
  ITEM_DOUBLE = 2,
  ITEM_STRING = 3,
  ITEM_OPERATOR = 4,        // + - * / ^ %
  ITEM_FUNCTION = 5,        // built-in function token (41: user-defined)
  ITEM_LOGICAL = 6,         // and or eor xor not
  ITEM_STATEMENT = 7,
  ITEM_NUMBER_AT_START = 8, // result only
  ITEM_STRING_AT_START = 9, // result only
  ITEM_COMPARISON = 10,
  ITEM_PREDEFINED = 11,
  ITEM_COMMAND = 12,
  ITEM_STRING_ARRAY = 13,
  ITEM_LONG = 14,
  ITEM_SPECIAL_NAME = 15,
  ITEM_NUMERIC_TEXT = 16,
  ITEM_NOT_FOUND = 18,      // result only
  ITEM_FIELD = 19,
  ITEM_NUMERIC_ARRAY = 20,
  ITEM_NUMBER_WITH_TEXT = 22,  // DATA and INPUT only
  ITEM_LONG_ARRAY = 23,
};

struct long_number;

// One item. The 8-byte value is a double, an operator character, a token
// index, a FIELD start/width pair, a temporary-string offset or a long-number
// pointer, by type.
struct expr_item {
  union {
    double number;
    std::uint64_t bits;
    std::int64_t token;
    char op;
    struct {
      std::uint32_t start;
      std::uint32_t width;
    } field;
    long_number* long_value;
  } value{};
  std::uint32_t type = ITEM_NONE;
  std::uint32_t column = 0;
  array_entry* array = nullptr;
};
