#include "desktop/data/bulk_storage.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <new>
#include <vector>

#include "desktop/data/bulk_pages.h"
#include "desktop/data/trace_data.h"

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace {

// Smaller blocks come from the heap: they are many and short-lived.
constexpr size_t smallest_chunked = 16 * 1024;
constexpr size_t chunk_bytes = 64 * 1024 * 1024;
// Each block starts with a header that holds its size (and keeps what
// follows aligned for any type).
constexpr size_t header = 64;

// The chunks, cut from the front and made usable a step at a time; a freed
// block is kept by its size for the next block of that size.
class chunkedBlocks {
 public:
  // bytes after a header; null when no chunk can be had.
  void* take(size_t bytes) {
    bytes = (bytes + header + 63) / 64 * 64;
    std::lock_guard<std::mutex> guard(lock_);
    auto kept = freed_.find(bytes);
    if (kept != freed_.end() && !kept->second.empty()) {
      char* block = kept->second.back();
      kept->second.pop_back();
      ASAN_UNPOISON_MEMORY_REGION(block + header, bytes - header);
      return block + header;
    }
    if (static_cast<size_t>(end_ - next_) < bytes && !add_chunk(bytes)) return nullptr;
    if (static_cast<size_t>(committed_ - next_) < bytes) {
      const size_t wanted = static_cast<size_t>(next_ + bytes - committed_);
      const size_t step = std::min((wanted + bulk_commit_step - 1) / bulk_commit_step * bulk_commit_step,
                                   static_cast<size_t>(end_ - committed_));
      if (!commit_bulk_range(committed_, step)) return nullptr;
      committed_ += step;
    }
    char* block = next_;
    next_ += bytes;
    *reinterpret_cast<size_t*>(block) = bytes;
    return block + header;
  }
  // False when the memory is not from a chunk.
  bool give(void* memory) {
    std::lock_guard<std::mutex> guard(lock_);
    const char* at = static_cast<const char*>(memory);
    for (const auto& chunk : chunks_) {
      if (at > chunk.first && at < chunk.second) {
        char* block = static_cast<char*>(memory) - header;
        const size_t bytes = *reinterpret_cast<const size_t*>(block);
        // Under the address sanitizer a freed block stays unreadable until
        // it is taken again, as freed memory is.
        ASAN_POISON_MEMORY_REGION(memory, bytes - header);
        freed_[bytes].push_back(block);
        return true;
      }
    }
    return false;
  }

 private:
  bool add_chunk(size_t bytes) {
    const size_t size = (std::max(bytes, chunk_bytes) + bulk_commit_step - 1) / bulk_commit_step * bulk_commit_step;
    char* begin = reserve_bulk_range(size);
    if (!begin) return false;
    chunks_.emplace_back(begin, begin + size);
    next_ = begin;
    committed_ = begin;
    end_ = begin + size;
    return true;
  }

  std::mutex lock_;
  std::vector<std::pair<char*, char*>> chunks_;
  char* next_ = nullptr;
  char* committed_ = nullptr;  // the usable part of the current chunk ends here
  char* end_ = nullptr;
  std::map<size_t, std::vector<char*>> freed_;
};

// Never destroyed: blocks freed while the program ends may still come back.
chunkedBlocks& chunked() {
  static chunkedBlocks* blocks = new chunkedBlocks;
  return *blocks;
}

}  // namespace

void* allocate_bulk(size_t bytes) {
  if (bytes >= smallest_chunked) {
    if (void* block = chunked().take(bytes)) return block;
  }
  return ::operator new[](bytes);
}

void free_bulk(void* block) {
  if (block && !chunked().give(block)) ::operator delete[](block);
}

// Points are trivial: the block's bytes are the array, and an array made
// with new[] has no more than its bytes either.
xyPair* allocate_point_array(int32_t n) {
  return static_cast<xyPair*>(allocate_bulk(static_cast<size_t>(n) * sizeof(xyPair)));
}

void free_point_array(xyPair* pairs) { free_bulk(pairs); }
