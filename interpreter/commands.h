// The command words list, run, houseclean, clear and load.
#pragma once
#include <cstddef>
#include <cstdint>

#include "interpreter/keywords.h"  // command_token: CMD_*

// Carries out a command (token 0..4, CMD_*). Returns 0, the result of the run it
// started, -1 for a token above 4, or a negative reported code.
int do_command(int token);

// The LIST output: program lines with their offsets, then the
// statement-number and DATA tables.
int list_program();

// Offset field of LIST and the stepping banner: "    %4X" below 0x10000,
// else "%4X%04X" of the high and low 16 bits. out holds at least 9 bytes.
void format_offset_field(std::uint32_t offset, char* out, std::size_t out_size);
