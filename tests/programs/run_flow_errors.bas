print "control flow errors"
