for i = 1 to 2
if 1 then next
next
