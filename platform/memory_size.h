// How much memory the machine has, so that an allocation it cannot meet is
// refused before it is tried (a huge image would otherwise be paged to death,
// or end the process when it is filled).
#pragma once
#include <cstdint>

// Physical memory in bytes; 0 when it cannot be told.
std::uint64_t physical_memory_bytes();
