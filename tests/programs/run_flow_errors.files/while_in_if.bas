if 1 then while 0
wend
