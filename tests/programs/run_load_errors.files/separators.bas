10: print "colon ok"
20// comment line
30	print "tab ok"
