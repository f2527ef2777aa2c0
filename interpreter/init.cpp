// Interpreter start-up: the keyword tables, the predefined variables, and the
// fixed stores allocated from the size settings in a fixed order. The first
// store that cannot be had stops the start-up with its own message.
#include "interpreter/init.h"

#include "graph/graph_state.h"

#include "session/size_settings.h"
#include "interpreter/data_read.h"
#include "interpreter/datetime.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/keywords.h"
#include "interpreter/program_buffer.h"
#include "interpreter/random.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/user_functions.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

std::uint32_t setting(size_setting_index index) { return size_settings[index].current; }

// The stores, in their allocation order; each reports its own failure.
int allocate_stores() {
  int (*const steps[])() = {
      [] { return allocate_variable_table(setting(SIZE_NUM_VARIABLES)); },
      [] { return allocate_variable_names(setting(SIZE_VARIABLE_NAME_SPACE)); },
      [] { return allocate_array_table(setting(SIZE_NUMBER_OF_ARRAYS)); },
      [] { return allocate_array_names(setting(SIZE_ARRAY_NAME_SPACE)); },
      [] { return allocate_string_space(setting(SIZE_STRING_SPACE)); },
      [] { return allocate_temp_strings(setting(SIZE_TEMP_STRING_SPACE)); },
      [] { return long_var_pool_allocate(setting(SIZE_LONG_NUMBER_SPACE)); },
      [] { return long_temp_pool_allocate(setting(SIZE_TEMP_LONG_NUMBER_SPACE)); },
      [] { return allocate_file_table(); },
      [] { return allocate_data_table(); },
      [] { return allocate_statement_number_table(); },
  };
  for (auto step : steps) {
    int result = step();
    if (result < 0) return result;
  }
  return 0;
}

}  // namespace

int init_interpreter_tables() {
  fill_keyword_tables();
  init_predefined_variables();
  timer_calibrate();
  fill_operator_tables();

  // A second start-up (a new run host) first lets go of the arrays' blocks
  // and long slots that the stores it replaces still own.
  if (variable_table) clear_all_variables();
  int result = allocate_stores();
  if (result < 0) return result;

  clear_user_functions();
  free_field_table();
  result = allocate_program_buffer();
  if (result < 0) return result;

  long_statics_init();
  data_reset_reading_state();
  command_line_mode = 0;
  random_reset();  // seed 1, last RND value 0
  open_file_count = 0;
  open_file_peak = 0;
  graph_reset();  // no graph tables; every graph setting to its default
  // The time zone as TZ or the system gives it, the daylight-saving rules,
  // date$, time$ and dayofweek$, and the date constants.
  datetime_startup();
  return 0;
}
