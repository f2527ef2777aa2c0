// The GRAPH statement (stmt_graph, declared with the other statements) and
// its LISTPARMS listing.
#pragma once

// Scale types of an axis.
enum graph_scale_type : int { scale_linear = 0, scale_log = 1, scale_datetime = 2 };

// Graph-window menu items whose ticks GRAPH keeps in step.
constexpr int graph_menu_grid = 40003;
constexpr int graph_menu_border = 40005;
constexpr int graph_menu_axes = 40017;

// Prints the settings in force through print_text; 0.
int graph_list_parms();
