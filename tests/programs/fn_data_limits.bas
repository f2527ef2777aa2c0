// Capacity limits from the size settings: see fn_data_limits.cmd and its files.
