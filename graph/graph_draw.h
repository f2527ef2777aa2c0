// Drawing the whole graph on one device in a fixed order: background, grid,
// shapes, zero axes, axis numbers, plots, texts, frame, cross hairs.
#pragma once
#include "ports/draw_device.h"

// The render; output_mode (render.output_mode) says which device it is.
// The caller has set the device values and run graph_layout_plot_area,
// axis_title_metrics and graph_compute_scales. 0, or -1 when the scale is
// unusable or the number font cannot be made.
int graph_draw(DrawDevice& dev);

// Shapes and texts are drawn by their own areas; these are their entries.
int draw_all_shapes(DrawDevice& dev);
int text_draw_all(DrawDevice& dev);
