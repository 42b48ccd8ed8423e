// Where the point arrays of traces live. An open session keeps a few large
// arrays for each of hundreds of tests, and each new page of them costs a
// fault on its first touch. On Linux the large arrays are cut from big
// chunks of address space that the system is asked to back with huge pages
// (one fault for 2 MB instead of 512); elsewhere they are new[] arrays.
#ifndef POINT_STORAGE_H
#define POINT_STORAGE_H

#include <cstdint>

struct xyPair;

// An array of n points (n > 0).
xyPair* allocate_point_array(int32_t n);
// Frees an array from allocate_point_array, or any array of points made
// with new[]; null does nothing.
void free_point_array(xyPair* pairs);

#endif
