run svc_error_report.bas
x = 1 +		(2
	y   =   sqr(-1)
z = 5 *
print "still here"


