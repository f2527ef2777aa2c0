run fn_rnd_each_run.bas
x = rnd(1)
randomize 99
run fn_rnd_each_run.bas


