run memo_jump_texts.bas
run second.bas
run memo_jump_texts.bas
run third.bas
gosub 100
run second.bas

