rem FIELD variables stay bound to the record when the loaded text runs again
field #1, 4 as name$, 3 as qty$
open "random", 1, "stock.dat", 7
lset name$ = "bolt" : rset qty$ = "12"
put #1, 1
lset name$ = "" : rset qty$ = ""
get #1, 1
print "["; name$; "]["; qty$; "]"
close 1
