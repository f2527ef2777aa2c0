2147483647 print "largest number ok"
2147483648 print "too big"
