// Physical memory from sysconf (see memory_size.h).
#include "platform/memory_size.h"

#include <unistd.h>

std::uint64_t physical_memory_bytes() {
  long pages = ::sysconf(_SC_PHYS_PAGES);
  long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}
