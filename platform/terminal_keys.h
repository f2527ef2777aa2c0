// Single keys from the terminal for INKEY$: raw mode only while a key is
// awaited, the previous terminal settings restored afterwards.
#pragma once

// Reads one key from standard input. On a terminal, pending typed input is
// discarded first and the terminal is put in non-canonical, no-echo mode for
// the wait only. From a pipe or file the next byte is the key.
// Returns 1 with the key, 0 at end of input, -1 on a read error.
int terminal_read_key(unsigned char& key);
