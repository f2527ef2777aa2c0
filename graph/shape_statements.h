// The shape statements' entries with evaluated values (the statement forms
// without arguments, which parse their own values, are in statements.h).
#pragma once

// Removes the figure with that id, or the whole path group it heads; the
// records after it move down. 0 (also when no record has the id).
int stmt_deleteshape(double id);
// Asks the graph window to repaint the device rectangle of the data
// rectangle (x1, y1)-(x2, y2), clamped to the z box. 0 or the reported -263.
int stmt_updateregion(double x1, double y1, double x2, double y2);
