run memo_expressions.bas
run divide.bas
run overflow.bas
run subscript.bas


