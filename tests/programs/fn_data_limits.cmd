run fifty.bas
run fiftyone.bas
run fullbuf.bas


