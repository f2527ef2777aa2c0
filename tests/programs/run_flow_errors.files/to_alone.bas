to 5
