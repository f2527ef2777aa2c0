// DEBUG TESTROUTINE 2 and 3: the ellipse routines run on values a program
// puts in variables of reserved names, with the results written back into
// variables (only those that exist are written).
#pragma once

// Test 2: one Bezier piece of the arc test_angle_start..test_angle_end
// (degrees) of the ellipse test_center_x, test_center_y, test_h_radius,
// test_v_radius into P_start_x, P_start_y, P_end_x, P_end_y, P_control_1_x,
// P_control_1_y, P_control_2_x, P_control_2_y. 0.
int shape_debug_arc_to_bezier();
// Test 3: the events of that ellipse against the current z box, sorted from
// the start angle: their number into intersect_index, and for each event i
// angles(i,0) its angle in degrees and angles(i,1..3) its kind, x and y. 0.
int shape_debug_ellipse_events();
