// What the graph window does with what the user does to it, without a
// toolkit: sizing that keeps the graph's width-to-height ratio on the
// screen, zoom and move with their limits, the grid density steps, the menu
// commands, clicks and typed characters as events for the program, and the
// data coordinates under the mouse. The toolkit window (frontend/qt) turns
// its events into these calls; tests call them with a fake host.
#pragma once
#include <cstdint>
#include <string>

#include "graph/graph_statement.h"

// ---- sizing -------------------------------------------------------------------

// The window-size state. Sizes are outer window pixels (client plus frame).
struct graph_window_sizes {
  int work_area_right = 0, work_area_bottom = 0;  // right and bottom edges of the work area
  int graph_min_width = 150, graph_min_height = 150;
  int graph_last_width = 0, graph_last_height = 0;          // after the last width- or height-driven change
  int graph_accepted_width = 0, graph_accepted_height = 0;  // the last size granted
};
extern graph_window_sizes window_sizes;

constexpr int graph_window_max_px = 16384;  // no window side beyond this

// The window was created with frame_width x frame_height of frame (window
// size minus client size) on a work area whose right and bottom edges are
// given: the first size, 8/10 of the work area's width, the height following
// the graph's ratio and capped at 8/10 of the work area's height, the width
// then following the height. Stores it as the last and accepted size and
// returns it in width, height (to be placed at 5, 5).
void graph_window_initial_size(int frame_width, int frame_height, int work_right, int work_bottom, int& width,
                               int& height);

// A size change asked of the window (by the user's drag, a maximise or
// GRAPH width/height). On return it holds what is granted: the dimension
// that changed drives the other by the graph's ratio, within the work area
// and at least 150 pixels; x and y become 0 when a side had to be clamped.
struct graph_size_request {
  int x = 0, y = 0;
  int width = 0, height = 0;
  bool maximize = false;  // a maximise or restore: its size is accepted first
};
void graph_window_size_changing(graph_size_request& request);

// The initial size and the ticks of a newly opened window: Grid, Axes and
// Numbers, Border by the settings; both grid-density items enabled.
void graph_window_setup_menu();

// ---- zoom, move and the menu ---------------------------------------------------

// Zooms about the graph's centre: in (zoom_in = 1) or out by factor, on both
// axes or only horizontally. 0, or -1 after a refusal message ("Graph Zoom")
// that leaves the graph unchanged.
int graph_zoom(int zoom_in, double factor, int horizontal_only);

enum graph_window_key : int { graph_key_up, graph_key_down, graph_key_left, graph_key_right, graph_key_other };
// Arrow keys zoom (not under lockscreen). 0.
int graph_key_pressed(int key);
// The mouse wheel: a negative delta zooms out by 1.1, any other in. 0.
int graph_wheel(int delta);

// Modifier bits of a click, as keystate reports them.
constexpr int graph_shift = 1;
constexpr int graph_ctrl = 2;

// The left button went down at client (x, y): a plain press starts a move.
void graph_left_press(int x, int y, int modifiers);
// The mouse moved to (x, y): moves the graph while a move is active.
void graph_mouse_move(int x, int y, bool left_down);
// The left button came up at (x, y): ends a move, records the click as the
// program's event (or asks the next paint to find the shape under it) and
// sets mousexcoord, mouseycoord and keystate.
void graph_left_release(int x, int y, int modifiers);
// 1 while a move is in progress.
int graph_drag_in_progress();

// Menu item ids of the graph window (Grid, Border and Axes and Numbers are
// graph_menu_grid, graph_menu_border and graph_menu_axes of graph_statement.h).
enum graph_menu_item : int {
  graph_menu_print = 1091, graph_menu_metafile = 40007, graph_menu_jpeg = 40023, graph_menu_close = 1092,
  graph_menu_pause = 40019, graph_menu_restart = 40022, graph_menu_more_grid = 40014,
  graph_menu_fewer_grid = 40015, graph_menu_show_coordinates = 40020, graph_menu_crosshairs = 40021,
  graph_menu_zoom_in_50 = 40012, graph_menu_zoom_in_10 = 40009, graph_menu_zoom_in_3 = 40008,
  graph_menu_zoom_out_3 = 40011, graph_menu_zoom_out_10 = 40010, graph_menu_zoom_out_50 = 40013,
  graph_menu_auto_scale = 40016,
};
// Runs a menu command that belongs to the graph (print and export, close,
// options, zoom). 0 done; 1 when the item is not the graph's own (Pause,
// Restart, Show Coordinates: the window handles those); negative when the
// action failed (reported).
int graph_menu_command(int item);

// ---- events for the program ------------------------------------------------------

// The event a typed character (a Unicode code point) gives checkmouseclick:
// -c for a Windows-1252 character c of 3..255 (printable ASCII keeps -c,
// "A" is -65), -(256 + c) for the codes 0, 1 and 2, and -(65536 + code
// point) for a character outside Windows-1252. Never 0, -1, -2 or a shape id.
double graph_character_event(char32_t ch);
// A character typed in the graph window: to a waiting INKEY$ (as its
// Windows-1252 byte, "?" when it has none), else the pending event when
// none is pending; else dropped. Tab is not a character here (it returns the
// focus to the command box).
void graph_character_typed(char32_t ch);

// Data coordinates of client pixel (x, y) by the last screen paint: axis
// units turned back into values on a logarithmic axis; date-time axes give
// seconds. False (0, 0) while there is no usable mapping.
bool graph_data_coordinates(int x, int y, double& data_x, double& data_y);
// The coordinates display's texts for (x, y): "%23.18g", or the default
// date-time text on a date-time axis.
void graph_coordinates_text(int x, int y, std::string& x_text, std::string& y_text);

// ---- the repaint clock ---------------------------------------------------------------

// The clock behind the repaint throttle, in microseconds (a monotonic clock
// unless a test installs its own; nullptr restores it).
using graph_clock_fn = std::int64_t (*)();
void set_graph_clock(graph_clock_fn clock);
std::int64_t graph_clock_us();
