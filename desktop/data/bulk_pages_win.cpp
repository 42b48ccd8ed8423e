#include "desktop/data/bulk_pages.h"

#include <windows.h>

// Reserved address space costs nothing until it is committed; committing
// in large steps keeps the calls few (each is a system call, and under
// Wine a mapping change).
const size_t bulk_commit_step = 8 * 1024 * 1024;

char* reserve_bulk_range(size_t bytes) {
  return static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_READWRITE));
}

bool commit_bulk_range(char* from, size_t bytes) {
  return VirtualAlloc(from, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}
