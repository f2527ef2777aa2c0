// Declarations and modes: DIM, ERASE, SWAP, LONG, FLOAT, INTEGER, DEGREES,
// RADIANS and RANDOMIZE (their handlers are declared in statements.h).
#pragma once

// Removes every array whose name equals name exactly (case counts); returns
// how many were removed. Their name bytes stay used until the next clear.
int erase_arrays_named(const char* name);
