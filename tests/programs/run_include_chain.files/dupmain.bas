10 print "a"
include "dup_inc.bas"
