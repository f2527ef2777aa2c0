test_routine_desired = 8
DEBUG TESTROUTINE
OPEN "output", 2, "text.txt"
DEBUG TESTROUTINE
CLOSE 2
OPEN "random", 3, "rec.dat", 8
PRINT #3, "ab";
PUT #3, 2
CLOSE 3
OPEN "random", 2, "rec.dat", 8
DEBUG TESTROUTINE
PRINT "[" + translated_string$ + "]"
GET #2, 1
DEBUG TESTROUTINE
PRINT "[" + translated_string$ + "]"
r$ = "a" + CHR$(92) + "b" + CHR$(13) + CHR$(10) + "xy": PRINT #2, r$;: PUT #2, 1: GET #2, 1
DEBUG TESTROUTINE
PRINT "[" + translated_string$ + "]"
GET #2, 2
DEBUG TESTROUTINE, off
PRINT "[" + translated_string$ + "]"
test_routine_desired = 9: DEBUG TESTROUTINE: PRINT "nothing to do"
test_routine_desired = 5
DIM array(5, 2)
array(2,0) = 1: array(3,0) = 2: array(4,0) = 2: array(4,1) = 1
test_num_points = 5
DEBUG TESTROUTINE
PRINT test_num_points; array(1,0); array(1,1); array(2,0); array(2,1)
test_routine_desired = 4: test_z_box_ratio = 3: DEBUG TESTROUTINE: PRINT "boxes"
IF 1 = 2 THEN DEBUG TESTROUTINE
DEBUG ZBOX

