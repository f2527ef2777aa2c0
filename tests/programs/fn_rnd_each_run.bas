// Every run starts the generator again from seed 1 (see fn_rnd_each_run.cmd).
PRINT USING "%.15f"; rnd(0); rnd(1); rnd(1)
