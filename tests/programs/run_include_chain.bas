print "main start"
include "inc.bas"
print "after include"
gosub 500
append "app.bas"
print "main end"
end