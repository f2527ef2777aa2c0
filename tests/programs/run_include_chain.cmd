run run_include_chain.bas
list
run dupmain.bas
run missing_inc.bas
run chain1.bas
run chain3.bas
run chain4.bas

