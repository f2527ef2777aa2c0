REM Shape parameters may be set without a graph; figures need one
DIM p(3, 2)
SHAPE polypoints=p(), polycount=3, linecolor=(255,0,0), filltype=hatch
IF 1 = 0 THEN SHAPE polypoints=p(), polygon
PRINT "parameters set"
REM The ellipse routines through DEBUG TESTROUTINE 2 and 3
P_start_x = 0
P_start_y = 0
P_end_x = 0
P_end_y = 0
P_control_1_x = 0
P_control_1_y = 0
P_control_2_x = 0
P_control_2_y = 0
intersect_index = 0
DIM angles(20, 4)
test_center_x = 1
test_center_y = 2
test_h_radius = 4
test_v_radius = 2
test_angle_start = 0
test_angle_end = 45
test_routine_desired = 2
DEBUG TESTROUTINE
PRINT P_start_x, P_start_y
PRINT P_control_1_x, P_control_1_y
PRINT P_control_2_x, P_control_2_y
PRINT P_end_x, P_end_y
REM A flat ellipse: the controls lie on its line
test_v_radius = 0
DEBUG TESTROUTINE
PRINT P_control_1_x, P_control_1_y, P_control_2_x, P_control_2_y
test_v_radius = 2
test_angle_end = 90
test_routine_desired = 3
DEBUG TESTROUTINE
PRINT "events:"; intersect_index
FOR i = 0 TO intersect_index - 1
PRINT angles(i, 0), angles(i, 1), angles(i, 2), angles(i, 3)
NEXT
