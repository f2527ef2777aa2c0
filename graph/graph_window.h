// The graph window's logic without a toolkit: creating and closing it through
// the graph host port, the repaint throttle, and the render entries that the
// window's paint, printing and export call.
#pragma once
#include "ports/draw_device.h"

// Creates the graph window through graph_host_port() and its element table.
// 0, or the reported -255 (no window) / -256 (no memory).
int graph_window_create();
// Closes the window (when open) and resets the graph state; 0.
int graph_window_destroy();
// 1 while the graph window is open.
int graph_window_is_open();
// The host reports that its window went away (close box): the graph resets.
void graph_window_closed();

// Marks the graph changed (PLOT, TEXT, SHAPE, CHANGESHAPE): the stamp is
// taken when the flag goes from 0 to 1; the repaint comes later.
void graph_mark_changed();
// Invalidates the window when the graph changed.
void graph_repaint_if_changed();
// The same, once more than 100,000 us have passed since the change.
void graph_repaint_throttled();

// The window's paint: the device is the window's client area at screen
// resolution ((size - 1) / graph size in inches). Lays out, computes the
// scales and draws; 0, or negative when nothing could be drawn.
int graph_paint(DrawDevice& dev);
// One render on any device: device values, layout, title room, scales, then
// graph_draw with output_mode. The graph occupies width x height pixels at
// (origin_x, origin_y) with the given resolution. 0 or negative.
int graph_render(DrawDevice& dev, int output_mode, int origin_x, int origin_y, int width_px, int height_px,
                 double ppi_x, double ppi_y);

// The print and export actions (GRAPH print, metafile, jpeg and the File
// menu): 0 done, graph_action_cancelled when the user cancelled, or negative
// when the export failed. The export has shown its failure in a message box;
// nothing is reported to the program (the menu needs no more).
constexpr int graph_action_cancelled = 1;
int graph_print();
int graph_export_metafile();
int graph_export_jpeg();
// The GRAPH statement's report of the last action's failure (result is what
// the action returned): reported once, unless the drawing already reported
// why it could not draw. Returns a negative code.
int graph_report_export_failure(int result);
