rem A subroutine called in a loop
c = 0
for i = 1 to 6000000
gosub sub100
next i
print c
end
label sub100
c = c + 1
if c / 2 = int(c / 2) c = c + 2
return
