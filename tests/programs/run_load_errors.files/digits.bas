1234567890 print "ten digits ok"
12345678901 print "eleven"
