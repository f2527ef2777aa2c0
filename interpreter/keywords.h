// Keyword tables, token codes and the predefined variables.
// A keyword's token code is its position in its table: the word order below
// (and in keywords.cpp) is part of the interface and must never change.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// One table of case-insensitive keyword records. Lookup compares a whole name
// with each record in index order; the first equal record wins.
constexpr int max_keyword_records = 128;

struct keyword_table {
  const char* const* words;  // lower-case words in token order ("" never matches)
  int capacity;              // records in the table
  int record_size;           // longest word a record holds
  int count;                 // records filled (0 until fill_keyword_tables)
  // Built when the table is filled: the tokens grouped by their word's first
  // character, in token order within a group, so that a lookup compares only
  // the words that can be equal (the first equal record still wins).
  std::uint8_t by_first_char[max_keyword_records];
  std::uint8_t group_start[257];  // group of character c: group_start[c] .. group_start[c + 1]
  // Bit n of lengths_by_first_char[c] is set when some word starting with c
  // has n characters: most variable names are refused without a compare.
  std::uint32_t lengths_by_first_char[256];
};

extern keyword_table command_keywords;
extern keyword_table function_keywords;
extern keyword_table special_name_keywords;
extern keyword_table statement_keywords;
extern keyword_table debug_option_keywords;
extern keyword_table long_timer_keywords;
extern keyword_table graph_keywords;
extern keyword_table plot_keywords;
extern keyword_table text_keywords;
extern keyword_table shape_keywords;
extern keyword_table changeshape_keywords;
extern keyword_table relational_operators;
extern keyword_table logical_operators;

// Whether a and b are the same name, case ignored (b NUL-terminated; an
// empty name equals nothing).
bool names_equal(std::string_view a, const char* b);

// Token of name in table (case ignored), or -1.
int keyword_lookup(const keyword_table& table, std::string_view name);
// The word of a token ("" for an unknown token).
const char* keyword_word(const keyword_table& table, int token);
// Fills the eleven word tables in start-up order and sets their counts.
void fill_keyword_tables();
// Fills relational_operators and logical_operators.
void fill_operator_tables();

// The token a name has in each table that get_item searches for a scanned
// name (-1 where a table does not know it), each as keyword_lookup or
// find_predefined_variable would give it. Recent names are kept in a small
// cache, so the statement loop pays one hash per name instead of a search of
// six tables.
struct name_tokens {
  std::int8_t logical;
  std::int8_t command;
  std::int8_t statement;
  std::int8_t predefined;
  std::int8_t function;
  std::int8_t special_name;
};
name_tokens lookup_name_tokens(std::string_view name);

enum command_token : int {
  CMD_LIST = 0,
  CMD_RUN = 1,
  CMD_HOUSECLEAN = 2,
  CMD_CLEAR = 3,
  CMD_LOAD = 4,
};

enum function_token : int {
  FUNC_ABS = 0,
  FUNC_ATN = 1,
  FUNC_COS = 2,
  FUNC_FIX = 3,
  FUNC_EXP = 4,
  FUNC_LOG = 5,
  FUNC_SGN = 6,
  FUNC_SIN = 7,
  FUNC_SQR = 8,
  FUNC_COT = 9,
  FUNC_RND = 10,
  FUNC_EXPONENT = 11,
  FUNC_CHR_STR = 12,
  FUNC_LEFT_STR = 13,
  FUNC_RIGHT_STR = 14,
  FUNC_MID_STR = 15,
  FUNC_HEX_STR = 16,
  FUNC_LEN = 17,
  FUNC_CINT = 18,
  FUNC_STR_STR = 19,
  FUNC_INT = 20,
  FUNC_ASC = 21,
  FUNC_STRING_STR = 22,
  FUNC_LOG10 = 23,
  FUNC_SPACE_STR = 24,
  FUNC_INSTR = 25,
  FUNC_VAL = 26,
  FUNC_TAB = 27,
  FUNC_MOD = 28,
  FUNC_READ = 29,
  FUNC_EOF = 30,
  FUNC_INPUT = 31,
  FUNC_OPEN = 32,
  FUNC_FACTORIAL = 33,
  FUNC_LONG = 34,
  FUNC_EXP10 = 35,
  FUNC_SHORT = 36,
  FUNC_HALF = 37,
  FUNC_ACOT = 38,
  FUNC_ROOT = 39,
  FUNC_TAN = 40,
  FUNC_USER_FUNCTION = 41,
  FUNC_HEXCONVERT = 42,
  FUNC_BROWSEINPUTFILE_STR = 43,
  FUNC_BROWSEOUTPUTFILE_STR = 44,
  FUNC_FORMATDATETIME_STR = 45,
  FUNC_EXPANDDATETIME = 46,
  FUNC_MAKEDATETIME = 47,
  FUNC_SETCOLOR = 48,
  FUNC_MESSAGEBOX = 49,
  FUNC_INPUTDIALOG = 50,
  FUNC_UPDATEDIALOG = 51,
  FUNC_TOLOWER_STR = 52,
  FUNC_TOUPPER_STR = 53,
  FUNC_BROWSECOMMPORTS_STR = 54,
  FUNC_FILESIZE = 55,
  FUNC_SELECT = 56,
};

enum special_name_token : int {
  SPECIAL_LONGPI = 0,
  SPECIAL_LONGE = 1,
  SPECIAL_REMAINDER = 2,
  SPECIAL_COSSAME = 3,
  SPECIAL_CHECKDEGREES = 4,
  SPECIAL_STARTTIMER = 5,
  SPECIAL_ENDTIMER = 6,
  SPECIAL_MATHERROR = 7,
  SPECIAL_WORKINGDIR_STR = 8,
  SPECIAL_PROGRAMDIR_STR = 9,
  SPECIAL_CHECKMOUSECLICK = 10,
  SPECIAL_INKEY_STR = 11,
  SPECIAL_CHOOSEFONT_STR = 12,
};

enum statement_token : int {
  STMT_BEEP = 0,
  STMT_REM = 1,
  STMT_DATA = 2,
  STMT_DEF = 3,
  STMT_DIM = 4,
  STMT_END = 5,
  STMT_STOP = 6,
  STMT_ERASE = 7,
  STMT_FOR = 8,
  STMT_NEXT = 9,
  STMT_GET = 10,
  STMT_PUT = 11,
  STMT_GOSUB = 12,
  STMT_RETURN = 13,
  STMT_GOTO = 14,
  STMT_IF = 15,
  STMT_THEN = 16,
  STMT_ELSE = 17,
  STMT_INPUT = 18,
  STMT_INTEGER = 19,
  STMT_LINE = 20,
  STMT_MID_STR = 21,
  STMT_PRINT = 22,
  STMT_WRITE = 23,
  STMT_USING = 24,
  STMT_SWAP = 25,
  STMT_WHILE = 26,
  STMT_WEND = 27,
  STMT_PRINTALL = 28,
  STMT_DEBUG = 29,
  STMT_ON = 30,
  STMT_BREAK = 31,
  STMT_CONTINUE = 32,
  STMT_TO = 33,
  STMT_STEP = 34,
  STMT_COLOR = 35,
  STMT_DEBUGPRINT = 36,
  STMT_CONT = 37,
  STMT_READ = 38,
  STMT_RESTORE = 39,
  STMT_OPEN = 40,
  STMT_CLOSE = 41,
  STMT_CLS = 42,
  STMT_LONG = 43,
  STMT_FLOAT = 44,
  STMT_DEGREES = 45,
  STMT_RADIANS = 46,
  STMT_RANDOMIZE = 47,
  STMT_FIELD = 48,
  STMT_LSET = 49,
  STMT_RSET = 50,
  STMT_HELP = 51,
  STMT_UPDATEDATETIME = 52,
  STMT_GRAPH = 53,
  STMT_PLOT = 54,
  STMT_TEXT = 55,
  STMT_SHAPE = 56,
  STMT_CHDIR = 57,
  STMT_APPEND = 58,
  STMT_INCLUDE = 59,
  STMT_CHAIN = 60,
  STMT_SETDSTRULES = 61,
  STMT_SETTIMEZONE = 62,
  STMT_DELAY = 63,
  STMT_SPAWN = 64,
  STMT_INPUTDIALOG = 65,
  STMT_UPDATEDIALOG = 66,
  STMT_DELETESHAPE = 67,
  STMT_SORT = 68,
  STMT_UPDATEREGION = 69,
  STMT_CHANGESHAPE = 70,
};

enum debug_option_token : int {
  DEBUG_OPT_PEEKBCD = 0,
  DEBUG_OPT_OPTMUL = 1,
  DEBUG_OPT_TESTDATA = 2,
  DEBUG_OPT_STEP = 3,
  DEBUG_OPT_TRACE = 4,
  DEBUG_OPT_LONG = 5,
  DEBUG_OPT_ROUND = 6,
  DEBUG_OPT_TRUNCATE = 7,
  DEBUG_OPT_DETAIL = 8,
  DEBUG_OPT_TIMER = 9,
  DEBUG_OPT_DIR = 10,
  DEBUG_OPT_OFF = 11,
  DEBUG_OPT_LNRAT = 12,
  DEBUG_OPT_GRAPH = 13,
  DEBUG_OPT_OLDCONVERT = 14,
  DEBUG_OPT_MATHERROK = 15,
  DEBUG_OPT_TESTROUTINE = 16,
  DEBUG_OPT_ZBOX = 17,
  DEBUG_OPT_MOUSECHECKFORWARD = 18,
};

// Tokens of long_timer_keywords: long_timer_index in rizozira/long_number.h.

enum relational_token : int {
  REL_EQUAL = 0, REL_LESS = 1, REL_GREATER = 2, REL_LESS_EQUAL = 3, REL_GREATER_EQUAL = 4, REL_NOT_EQUAL = 5,
};
enum logical_token : int {
  LOGICAL_AND = 0, LOGICAL_OR = 1, LOGICAL_EOR = 2, LOGICAL_XOR = 3, LOGICAL_NOT = 4,
};

// Predefined variables: read by name like variables (item type 11), never
// assigned by programs; the interpreter and the graph window write some.
enum predefined_index : int {
  PREDEF_PI = 0,
  PREDEF_EULER = 1,
  PREDEF_DEFAULTPRINTFORMAT = 2,  // defaultprintformat$$
  PREDEF_DEFAULTPRINTTABS = 3,
  PREDEF_DATE = 4,                // date$
  PREDEF_TIME = 5,                // time$
  PREDEF_DAYOFWEEK = 6,           // dayofweek$
  PREDEF_FLOATINGPTLENGTH = 7,
  PREDEF_PRINTFORMATMAX = 8,      // printformatmax$$
  PREDEF_DEFAULTZERODATETIME = 9,
  PREDEF_LASTSHAPEID = 10,
  PREDEF_MOUSEXCOORD = 11,
  PREDEF_MOUSEYCOORD = 12,
  PREDEF_KEYSTATE = 13,
  PREDEFINED_CAPACITY = 14,
};

struct predefined_variable {
  std::uint32_t name_offset;  // in predefined_names
  std::uint32_t type;         // 2 double, 3 string
  union {
    double number;
    std::uint64_t string_offset;  // in predefined_strings
  } value;
};

constexpr std::size_t predefined_names_size = 320;
constexpr std::size_t predefined_string_slot_size = 64;  // each string value holds 63 characters
constexpr std::size_t predefined_strings_size = predefined_string_slot_size * PREDEFINED_CAPACITY;

extern predefined_variable predefined_variables[PREDEFINED_CAPACITY];
extern int predefined_count;
extern char predefined_names[predefined_names_size];      // offset 0 holds " "
extern char predefined_strings[predefined_strings_size];  // fixed text slots

// Sets up the fourteen predefined variables with their initial values.
void init_predefined_variables();
// Index of the predefined variable called name (case ignored), or -1.
int find_predefined_variable(std::string_view name);
const char* predefined_name(int index);
// Text of a string predefined variable ("" for a double or a bad index).
const char* predefined_string(int index);
// Writes a string predefined variable, cut to its slot; 0, or -1 for a bad index or type.
int set_predefined_string(int index, std::string_view text);
// Writes a double predefined variable; 0, or -1 for a bad index or type.
int set_predefined_double(int index, double value);
