"text" = 1
