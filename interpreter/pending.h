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

// Clears the main dialog's output buffer and output box (desktop front-end).
// 0, or negative when there is no output buffer.
int output_buffer_clear();




// Built in assignment.cpp (declared in assignment.h); kept here for the
// files that found it here.
int assign_field_variable(int mode);

// The graph window (graph area). Until it exists no graph is ever drawn or
// changed, so there is nothing to repaint or close.
void graph_repaint_if_changed();   // repaints the window when the graph changed
void graph_repaint_throttled();    // the same, once 100,000 us have passed since the change
void graph_window_destroy();       // closes the previous run's window
int graph_window_is_open();        // 1 while a graph window is open (SETTIMEZONE, SETDSTRULES refuse then)

// The graph's pending event read (and reset to -1) by checkmouseclick: -1
// none, -2 a plain click, minus a typed character, or a clicked shape's id.
extern double graph_event;
