// Routines whose home area is not built yet. Each has an honest placeholder
// in pending.cpp that reports it cannot run; whoever builds the real routine
// deletes its placeholder there in the same change.
#pragma once
#include <string>

#include "interpreter/item.h"
struct long_number;

// Functions of later areas reached through do_function (files, dates): arguments and count as do_function got them; the result by the
// result convention, or a negative reported code.
int func_formatdatetime(expr_item* arguments, int count);  // dates and times (datetime.h)
int func_makedatetime(expr_item* arguments, int count);





// Built in assignment.cpp (declared in assignment.h); kept here for the
// files that found it here.
int assign_field_variable(int mode);

