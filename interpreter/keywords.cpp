// Keyword tables and predefined variables. Token codes are positions: the
// order of every word list below is part of the interface. Never reorder,
// insert or delete; "" is a reserved record that no name can equal.
#include "interpreter/keywords.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "interpreter/folded_names.h"
#include "interpreter/item.h"
#include "interpreter/memo.h"

namespace {

// ORDER MATTERS: token code = index.
const char* const command_words[] = {
    "list", "run", "houseclean", "clear", "load",
};
const char* const function_words[] = {
    "abs", "atn", "cos", "fix", "exp", "log", "sgn", "sin",
    "sqr", "cot", "rnd", "exponent", "chr$", "left$", "right$", "mid$",
    "hex$", "len", "cint", "str$", "int", "asc", "string$", "log10",
    "space$", "instr", "val", "tab", "mod", "read", "eof", "input",
    "open", "factorial", "long", "exp10", "short", "half", "acot", "root",
    "tan", "****", "hexconvert", "browseinputfile$", "browseoutputfile$", "formatdatetime$", "expanddatetime", "makedatetime",
    "setcolor", "messagebox", "inputdialog", "updatedialog", "tolower$", "toupper$", "browsecommports$", "filesize",
    "select",
};
const char* const special_name_words[] = {
    "longpi", "longe", "remainder", "cossame", "checkdegrees", "starttimer", "endtimer", "matherror",
    "workingdir$", "programdir$", "checkmouseclick", "inkey$", "choosefont$",
};
const char* const statement_words[] = {
    "beep", "rem", "data", "def", "dim", "end", "stop", "erase",
    "for", "next", "get", "put", "gosub", "return", "goto", "if",
    "then", "else", "input", "integer", "line", "mid$", "print", "write",
    "using", "swap", "while", "wend", "printall", "debug", "on", "break",
    "continue", "to", "step", "color", "debugprint", "cont", "read", "restore",
    "open", "close", "cls", "long", "float", "degrees", "radians", "randomize",
    "field", "lset", "rset", "help", "updatedatetime", "graph", "plot", "text",
    "shape", "chdir", "append", "include", "chain", "setdstrules", "settimezone", "delay",
    "spawn", "inputdialog", "updatedialog", "deleteshape", "sort", "updateregion", "changeshape",
};
const char* const debug_option_words[] = {
    "peekbcd", "optmul", "testdata", "step", "trace", "long", "round", "truncate",
    "detail", "timer", "dir", "off", "lnrat", "graph", "oldconvert", "matherrok",
    "testroutine", "zbox", "mousecheckforward",
};
const char* const long_timer_words[] = {
    "atn", "sqr", "longpi", "longe", "sin", "exp", "log", "root",
    "power", "mult", "div", "factorial", "mod", "half", "convert",
};
const char* const graph_words[] = {
    "width", "height", "portrait", "landscape", "print", "end", "hscale", "vscale",
    "hoffset", "voffset", "hmargin", "vmargin", "axisweight", "border", "noborder", "grid",
    "nogrid", "metafile", "listparms", "includexaxis", "includeyaxis", "hscaletype", "vscaletype", "axes",
    "noaxes", "equalscales", "bgcolor", "gridcolor", "clearance", "numberxaxis", "numberyaxis", "maximize",
    "axiscolor", "jpeg", "lockscreen",
};
const char* const plot_words[] = {
    "type", "linetype", "lineweight", "x", "y", "unsorted", "sortedx", "sortedy",
    "color", "average", "smooth",
};
const char* const text_words[] = {
    "xaxis", "yaxis", "h", "v", "x", "y", "boxed", "string",
    "color", "size", "datasize", "font", "bold", "italic", "normal", "angle",
    "x2", "y2", "justify",
};
const char* const shape_words[] = {
    "top", "left", "bottom", "right", "center", "hradius", "vradius", "radius",
    "startangle", "endangle", "linecolor", "lineweight", "fillcolor", "filltype", "hatch", "polypoints",
    "polycount", "rectangle", "ellipse", "arc", "chord", "pie", "polygon", "line",
    "linestart", "lineend", "polyline", "bezier", "ctlpt1", "ctlpt2", "beginpath", "endpath",
    "strokefill", "stroke", "closefigure", "smooth", "average", "text", "font", "characters",
    "bold", "italic", "charoutline", "rotate", "rotatecenter", "direction", "plotcharoutline", "mouseclick",
    "justify", "propfonts", "outline", "", "reset",
};
const char* const changeshape_words[] = {
    "top", "left", "bottom", "right", "center", "hradius", "vradius", "radius",
    "startangle", "endangle", "linecolor", "lineweight", "fillcolor", "filltype", "hatch", "linestart",
    "lineend", "ctlpt1", "ctlpt2", "smooth", "average", "font", "characters", "bold",
    "italic", "rotate", "rotatecenter", "direction", "justify", "mouseclick", "polypoints", "polycount",
};
const char* const relational_words[] = {
    "=", "<", ">", "<=", ">=", "<>",
};
const char* const logical_words[] = {
    "and", "or", "eor", "xor", "not",
};
}  // namespace

static_assert(std::size(command_words) == 5, "command_keywords: token codes are positions");
static_assert(std::size(function_words) == 57, "function_keywords: token codes are positions");
static_assert(std::size(special_name_words) == 13, "special_name_keywords: token codes are positions");
static_assert(std::size(statement_words) == 71, "statement_keywords: token codes are positions");
static_assert(std::size(debug_option_words) == 19, "debug_option_keywords: token codes are positions");
static_assert(std::size(long_timer_words) == 15, "long_timer_keywords: token codes are positions");
static_assert(std::size(graph_words) == 35, "graph_keywords: token codes are positions");
static_assert(std::size(plot_words) == 11, "plot_keywords: token codes are positions");
static_assert(std::size(text_words) == 19, "text_keywords: token codes are positions");
static_assert(std::size(shape_words) == 53, "shape_keywords: token codes are positions");
static_assert(std::size(changeshape_words) == 32, "changeshape_keywords: token codes are positions");
static_assert(std::size(relational_words) == 6, "relational_operators: token codes are positions");
static_assert(std::size(logical_words) == 5, "logical_operators: token codes are positions");
static_assert(std::size(statement_words) <= max_keyword_records);

keyword_table command_keywords = {command_words, 5, 11, 0, {}, {}, {}};
keyword_table function_keywords = {function_words, 57, 17, 0, {}, {}, {}};
keyword_table special_name_keywords = {special_name_words, 13, 15, 0, {}, {}, {}};
keyword_table statement_keywords = {statement_words, 71, 14, 0, {}, {}, {}};
keyword_table debug_option_keywords = {debug_option_words, 19, 17, 0, {}, {}, {}};
keyword_table long_timer_keywords = {long_timer_words, 15, 10, 0, {}, {}, {}};
keyword_table graph_keywords = {graph_words, 35, 14, 0, {}, {}, {}};
keyword_table plot_keywords = {plot_words, 11, 10, 0, {}, {}, {}};
keyword_table text_keywords = {text_words, 19, 9, 0, {}, {}, {}};
keyword_table shape_keywords = {shape_words, 53, 15, 0, {}, {}, {}};
keyword_table changeshape_keywords = {changeshape_words, 32, 15, 0, {}, {}, {}};
keyword_table relational_operators = {relational_words, 6, 7, 0, {}, {}, {}};
keyword_table logical_operators = {logical_words, 5, 7, 0, {}, {}, {}};

bool names_equal(std::string_view a, const char* b) {
  // Compared a character at a time, so most names part at the first one.
  if (a.empty()) return false;
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (y == 0) return false;  // b is shorter
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return b[i] == '\0';
}

namespace {

unsigned char folded(char c) { return fold_name_char(c); }

// Bumped whenever a table or the predefined names change: cached name
// tokens from an older generation are looked up again.
std::uint32_t name_table_generation = 1;

// Fills the table's words (count := capacity) and groups them by first character.
void fill_table(keyword_table& table) {
  ++name_table_generation;
  memo_changed();
  int sizes[256] = {};
  for (int i = 0; i < table.capacity; ++i) ++sizes[folded(table.words[i][0])];
  int start = 0;
  for (int c = 0; c < 256; ++c) {
    table.group_start[c] = static_cast<std::uint8_t>(start);
    start += sizes[c];
  }
  table.group_start[256] = static_cast<std::uint8_t>(start);
  int next[256];
  for (int c = 0; c < 256; ++c) next[c] = table.group_start[c];
  for (int i = 0; i < table.capacity; ++i)
    table.by_first_char[next[folded(table.words[i][0])]++] = static_cast<std::uint8_t>(i);
  for (auto& mask : table.lengths_by_first_char) mask = 0;
  for (int i = 0; i < table.capacity; ++i) {
    std::size_t length = std::strlen(table.words[i]);
    if (length > 0 && length < 32) table.lengths_by_first_char[folded(table.words[i][0])] |= 1u << length;
  }
  table.count = table.capacity;
}

}  // namespace

int keyword_lookup(const keyword_table& table, std::string_view name) {
  if (name.empty() || name.size() > static_cast<std::size_t>(table.record_size) || table.count == 0) return -1;
  unsigned char c = folded(name[0]);
  if (((table.lengths_by_first_char[c] >> name.size()) & 1u) == 0) return -1;  // record_size < 32
  for (int k = table.group_start[c]; k < table.group_start[c + 1]; ++k) {
    int i = table.by_first_char[k];
    if (names_equal(name, table.words[i])) return i;
  }
  return -1;
}

const char* keyword_word(const keyword_table& table, int token) {
  if (token < 0 || token >= table.capacity) return "";
  return table.words[token];
}

void fill_keyword_tables() {
  // Start-up order: each table's count is set once its words are in place.
  keyword_table* const order[] = {
      &command_keywords, &function_keywords, &special_name_keywords, &statement_keywords,
      &debug_option_keywords, &long_timer_keywords, &graph_keywords, &plot_keywords,
      &text_keywords, &shape_keywords, &changeshape_keywords,
  };
  for (keyword_table* table : order) fill_table(*table);
}

void fill_operator_tables() {
  fill_table(relational_operators);
  fill_table(logical_operators);
}

// ---------------------------------------------------------------- predefined variables

predefined_variable predefined_variables[PREDEFINED_CAPACITY] = {};
int predefined_count = 0;
char predefined_names[predefined_names_size] = {};
char predefined_strings[predefined_strings_size] = {};

namespace {

struct predefined_initial {
  const char* name;
  std::uint32_t type;
  double number;
  const char* text;
};

// ORDER MATTERS: index = position.
const predefined_initial predefined_initial_values[PREDEFINED_CAPACITY] = {
    {"pi", ITEM_DOUBLE, 3.141592653589793, nullptr},
    {"euler", ITEM_DOUBLE, 2.718281828459045, nullptr},
    {"defaultprintformat$$", ITEM_STRING, 0, "%13.6g"},
    {"defaultprinttabs", ITEM_DOUBLE, 14, nullptr},
    {"date$", ITEM_STRING, 0, "mm-dd-yyyy"},
    {"time$", ITEM_STRING, 0, "hh:mm:ss"},
    {"dayofweek$", ITEM_STRING, 0, "ddd"},
    {"floatingptlength", ITEM_DOUBLE, 50, nullptr},
    {"printformatmax$$", ITEM_STRING, 0, "%23.18g"},
    {"defaultzerodatetime", ITEM_DOUBLE, 0, nullptr},
    {"lastshapeid", ITEM_DOUBLE, -1, nullptr},
    {"mousexcoord", ITEM_DOUBLE, 0, nullptr},
    {"mouseycoord", ITEM_DOUBLE, 0, nullptr},
    {"keystate", ITEM_DOUBLE, 0, nullptr},
};

bool valid_predefined(int index) { return index >= 0 && index < predefined_count; }

}  // namespace

void init_predefined_variables() {
  ++name_table_generation;
  memo_changed();
  std::memset(predefined_names, 0, sizeof predefined_names);
  std::memset(predefined_strings, 0, sizeof predefined_strings);
  predefined_names[0] = ' ';  // offset 0: a one-blank name
  std::size_t names_used = 2;
  for (int i = 0; i < PREDEFINED_CAPACITY; ++i) {
    const predefined_initial& initial = predefined_initial_values[i];
    std::size_t length = std::strlen(initial.name);
    predefined_variable& variable = predefined_variables[i];
    variable.name_offset = static_cast<std::uint32_t>(names_used);
    std::memcpy(predefined_names + names_used, initial.name, length + 1);
    names_used += length + 1;
    variable.type = initial.type;
    if (initial.type == ITEM_STRING) {
      variable.value.string_offset = static_cast<std::uint64_t>(i) * predefined_string_slot_size;
      std::snprintf(predefined_strings + variable.value.string_offset, predefined_string_slot_size,
                    "%s", initial.text);
    } else {
      variable.value.number = initial.number;
    }
  }
  predefined_count = PREDEFINED_CAPACITY;
}

int find_predefined_variable(std::string_view name) {
  if (name.empty() || name.size() >= predefined_names_size) return -1;
  unsigned char first = folded(name[0]);  // names are stored in lower case
  for (int i = 0; i < predefined_count; ++i) {
    const char* stored = predefined_names + predefined_variables[i].name_offset;
    if (static_cast<unsigned char>(stored[0]) == first && names_equal(name, stored)) return i;
  }
  return -1;
}

const char* predefined_name(int index) {
  if (!valid_predefined(index)) return "";
  return predefined_names + predefined_variables[index].name_offset;
}

const char* predefined_string(int index) {
  if (!valid_predefined(index) || predefined_variables[index].type != ITEM_STRING) return "";
  return predefined_strings + predefined_variables[index].value.string_offset;
}

int set_predefined_string(int index, std::string_view text) {
  if (!valid_predefined(index) || predefined_variables[index].type != ITEM_STRING) return -1;
  char* slot = predefined_strings + predefined_variables[index].value.string_offset;
  std::size_t length = text.size() < predefined_string_slot_size - 1 ? text.size()
                                                                      : predefined_string_slot_size - 1;
  std::memcpy(slot, text.data(), length);
  slot[length] = '\0';
  return 0;
}

int set_predefined_double(int index, double value) {
  if (!valid_predefined(index) || predefined_variables[index].type != ITEM_DOUBLE) return -1;
  predefined_variables[index].value.number = value;
  return 0;
}

// ---------------------------------------------------------------- name token cache

namespace {

// A cached name (longer ones are looked up each time).
struct name_cache_entry {
  std::uint64_t key[3];
  std::uint32_t generation;  // 0: empty
  name_tokens tokens;
};

folded_name_cache<name_cache_entry, 512> name_cache;

std::int8_t small_token(int token) { return static_cast<std::int8_t>(token < 0 ? -1 : token); }

name_tokens search_name_tokens(std::string_view name) {
  name_tokens tokens;
  tokens.logical = small_token(keyword_lookup(logical_operators, name));
  tokens.command = small_token(keyword_lookup(command_keywords, name));
  tokens.statement = small_token(keyword_lookup(statement_keywords, name));
  tokens.predefined = small_token(find_predefined_variable(name));
  tokens.function = small_token(keyword_lookup(function_keywords, name));
  tokens.special_name = small_token(keyword_lookup(special_name_keywords, name));
  return tokens;
}

}  // namespace

static_assert(max_keyword_records <= 128 && PREDEFINED_CAPACITY <= 128, "name_tokens holds tokens in int8");

name_tokens lookup_name_tokens(std::string_view name) {
  folded_name key;
  if (memo.off || !fold_name(name, key)) return search_name_tokens(name);
  bool fresh = false;
  name_cache_entry& entry = name_cache.slot(key, fresh);
  if (!fresh && entry.generation == name_table_generation) return entry.tokens;
  entry.tokens = search_name_tokens(name);
  entry.generation = name_table_generation;
  return entry.tokens;
}
