load qa_rerun_field.bas
run
run
run qa_rerun_field.bas
run


