// The size-setting table with its defaults and ranges.
#include "session/size_settings.h"


// current, edited, default, minimum, maximum
size_setting size_settings[SIZE_SETTING_COUNT] = {
    {1, 1, 1, 1, 2},
    {2000, 2000, 2000, 100, 60000},
    {200, 200, 200, 30, 1000},
    {1000, 1000, 1000, 100, 30000},
    {50, 50, 50, 20, 1000},
    {65536, 65536, 65536, 1000, 4000000},
    {8192, 8192, 8192, 4096, 32768},
    {30000, 30000, 30000, 9000, 650000},
    {6000, 6000, 6000, 4500, 45000},
    {5, 5, 5, 2, 20},
    {1000, 1000, 1000, 20, 20000},
    {65536, 65536, 65536, 4096, 1048576},
    {500, 500, 500, 50, 5000},
    {32768, 32768, 32768, 4096, 65536},
};

const char* const size_setting_names[SIZE_SETTING_COUNT] = {
    "ScreenSize",       "VariableNameSpace",        "NumVariables",       "ArrayNameSpace",
    "NumberOfArrays",   "StringSpace",              "TempStringSpace",    "LongNumberSpace",
    "TempLongNumberSpace", "NumberOfFiles",         "NumberOfStatementNumbers", "ProgramBufferSpace",
    "NumberOfDataStatements", "ConsoleBufferSize",
};

void size_settings_reset_current() {
  for (size_setting& s : size_settings) s.current = s.default_value;
}

void size_settings_reset_edited() {
  for (size_setting& s : size_settings) s.edited = s.default_value;
}

std::uint32_t size_setting_parse_text(std::string_view text) {
  constexpr std::size_t edit_max_chars = 49;
  std::string_view field = text.substr(0, edit_max_chars);
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\r' || field[i] == '\n')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  std::uint64_t n = 0;
  bool any_digit = false;
  for (; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\r' || c == '\n') continue;  // line ends are removed, not ends of the number
    if (c < '0' || c > '9') break;
    any_digit = true;
    if (n <= UINT32_MAX) n = n * 10 + static_cast<unsigned>(c - '0');
  }
  if (!any_digit) return 0;
  if (n > UINT32_MAX || (negative && n != 0)) return UINT32_MAX;
  return static_cast<std::uint32_t>(n);
}

bool size_setting_in_range(const size_setting& record, std::uint32_t value) {
  return value >= record.minimum && value <= record.maximum;
}
