// Text shapes: SHAPE TEXT records drawn from glyph outlines, SHAPE
// CHAROUTLINE's outline point array and PLOTCHAROUTLINE (the drawing entries
// shape_text_outline and shape_draw_plotcharoutline are declared with the
// shape drawing, shape_charoutline_to_array with the shape table).
#pragma once
#include <vector>

#include "graph/shapes.h"
#include "ports/draw_device.h"

// Measures every text shape (its box and the data extents), before the
// scales are computed while text shapes changed; 0.
int measure_text_shapes(DrawDevice& dev);
// The outline point array of s's first character in a 100-unit font
// stretched into s's rectangle and turned by s's rotate. 0, or -1 when the
// font cannot be made.
int shape_text_outline_points(FontEngine& fonts, shape_record& s, std::vector<graph_point>& out);
