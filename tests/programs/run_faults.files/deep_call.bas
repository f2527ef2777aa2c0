10 gosub 10
