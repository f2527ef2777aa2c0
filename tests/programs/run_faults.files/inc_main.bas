print "main"
include "inc_part.bas"
append "inc_part.bas"
print "main end"
