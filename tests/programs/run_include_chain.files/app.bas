500 print "subroutine 500 from the appended file"
return