// The address space under the bulk storage (bulk_storage.h), from the
// system: a range is reserved whole and made usable in steps as blocks are
// cut from its front. Implemented once per platform.
#ifndef DESKTOP_DATA_BULK_PAGES_H
#define DESKTOP_DATA_BULK_PAGES_H

#include <cstddef>

// How many bytes a reserved range is made usable by at a time (ranges and
// their lengths are whole steps).
extern const size_t bulk_commit_step;

// A range of bytes (a whole number of steps), aligned to 64 KB at least;
// null when the system has no room. It is never given back.
char* reserve_bulk_range(size_t bytes);

// Makes [from, from + bytes) of a reserved range readable and writable;
// false when the system cannot back it.
bool commit_bulk_range(char* from, size_t bytes);

#endif
