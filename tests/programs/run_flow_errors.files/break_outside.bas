if 1 then break
