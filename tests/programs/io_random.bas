// RANDOM files: PUT and GET in sequence, FIELD slices, PRINT # into the
// record, a file that grows, a short last record, and reading past the end
field #1, 3 as space$, 4 as body$, 3 as tail$
field #2, 10 as whole$
open "random", 1, "recs.dat", 10
for i = 1 to 3
  lset body$ = "r" + str$(i)
  rset tail$ = str$(i * 7)
  put #1
next
close 1
open "random", 1, "recs.dat", 10
print "size"; filesize(1)
get #1
print "["; body$; "]["; tail$; "]"
get #1
print "["; body$; "]["; tail$; "]"
get #1, 1
print "["; body$; "]["; tail$; "]"
get #1
print "["; body$; "]["; tail$; "]"
// PRINT # fills the record from its start; PUT pads it with blanks
print #1, "ABCD";
print #1, "EFG"
put #1, 5
close 1
open "random", 1, "recs.dat", 10
print "size"; filesize(1)
get #1, 5
print "["; body$; "]["; tail$; "]"
input #1, w$
print "["; w$; "]"
// record 4 was never written: its zero bytes read as blanks
get #1, 4
print "["; body$; "]["; tail$; "]"
close 1
// a last record of 5 bytes keeps nothing of the record read before it
open "random", 2, "short.dat", 10
get #2
print "["; whole$; "]"
get #2
print "["; whole$; "]"
get #2
print "not reached"
