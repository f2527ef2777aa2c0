// Named-variable channel: native code reads and writes BASIC variables by
// name (tuning inputs, timing outputs, dialog results). A name may carry
// subscripts: "sincalctime(3)". Each call saves and restores the scan state
// and the accumulators it passes through, so it is safe mid-computation.
#pragma once
#include <cstdint>

// 0 when the name is an existing double variable or element and was written;
// else the scan's result (18 no such name, 15 special name, -1 element of an
// undimensioned array, other item types, negative errors) and nothing is written.
int set_named_var_int(const char* name, std::int32_t value);
int set_named_var_double(const char* name, double value);
// 0 with *value := trunc(v) when the name is a double variable whose value v
// lies in (-2147483648, 2147483647]; else *value := 0 and the scan's result
// (2 for a double out of range).
int get_named_var_int(const char* name, std::int32_t* value);
// 0 with its value when the name is a double variable; else 0.0 and the scan's result.
int get_named_var_double(const char* name, double* value);
// 0 when the name is a string variable, else the scan's result.
int named_string_var_exists(const char* name);
// Stores string_accumulator into the string variable of that name, creating
// it when missing; 0, the scan's result when the name is not a string
// variable, or the negative code of a store that failed (109: no string
// space left). string_accumulator is left unchanged.
int set_named_var_string(const char* name);
