// Where the bulk of a test's data lives: the point arrays of its traces and
// the stored values of its sweeps. An open session keeps such blocks for
// each of hundreds of tests, and each new page of them costs a fault on its
// first touch. Blocks of 16 KB and more are cut from big chunks of address
// space (bulk_pages.h: on Linux backed with huge pages where the system
// allows, on Windows reserved whole and committed in large steps) and a
// freed block is kept for the next of its size; the chunks are never given
// back. Smaller blocks come from new[].
#ifndef DESKTOP_DATA_BULK_STORAGE_H
#define DESKTOP_DATA_BULK_STORAGE_H

#include <cstddef>
#include <cstdint>
#include <new>

struct xyPair;

// A block of bytes, aligned for any type; freed with free_bulk.
void* allocate_bulk(size_t bytes);
void free_bulk(void* block);

// An array of n points (n > 0).
xyPair* allocate_point_array(int32_t n);
// Frees an array from allocate_point_array, or any array of points made
// with new[]; null does nothing.
void free_point_array(xyPair* pairs);

// A copy of a trivially copyable object in bulk storage, for a unique_ptr
// with bulkDelete: a large block freed to the system's heap may be given
// back to the system, page by page, which costs far more than keeping it.
template <typename T>
T* bulk_copy(const T& object) {
  return new (allocate_bulk(sizeof(T))) T(object);
}
struct bulkDelete {
  template <typename T>
  void operator()(T* object) const {
    free_bulk(object);
  }
};

// The allocator of containers that hold bulk values.
template <typename T>
struct bulkAllocator {
  using value_type = T;
  bulkAllocator() = default;
  template <typename U>
  bulkAllocator(const bulkAllocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(allocate_bulk(n * sizeof(T))); }
  void deallocate(T* values, size_t) { free_bulk(values); }
  template <typename U>
  bool operator==(const bulkAllocator<U>&) const { return true; }
  template <typename U>
  bool operator!=(const bulkAllocator<U>&) const { return false; }
};

#endif
