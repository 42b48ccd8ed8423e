#include "bulk_storage.h"

#include <new>

#include "trace_data.h"

#ifdef __linux__
#include <sys/mman.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace {

// Smaller blocks come from the heap: they are many and short-lived.
constexpr size_t smallest_chunked = 16 * 1024;
constexpr size_t huge_page = 2 * 1024 * 1024;
constexpr size_t chunk_bytes = 64 * 1024 * 1024;
// Each block starts with a header that holds its size (and keeps what
// follows aligned for any type).
constexpr size_t header = 64;

// The chunks, cut from the front; a freed block is kept by its size for the
// next block of that size.
class chunkedBlocks {
 public:
  // bytes after a header; null when no chunk can be mapped.
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
    const size_t size = (std::max(bytes, chunk_bytes) + huge_page - 1) / huge_page * huge_page;
    // Room to start the chunk on a huge page boundary.
    void* mapped = mmap(nullptr, size + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return false;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(mapped) + huge_page - 1) / huge_page * huge_page;
    char* begin = reinterpret_cast<char*>(start);
    madvise(begin, size, MADV_HUGEPAGE);  // a hint: without it the chunk works as well
    chunks_.emplace_back(begin, begin + size);
    next_ = begin;
    end_ = begin + size;
    return true;
  }

  std::mutex lock_;
  std::vector<std::pair<char*, char*>> chunks_;
  char* next_ = nullptr;
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

#else

void* allocate_bulk(size_t bytes) { return ::operator new[](bytes); }

void free_bulk(void* block) { ::operator delete[](block); }

#endif

// Points are trivial: the block's bytes are the array, and an array made
// with new[] has no more than its bytes either.
xyPair* allocate_point_array(int32_t n) {
  return static_cast<xyPair*>(allocate_bulk(static_cast<size_t>(n) * sizeof(xyPair)));
}

void free_point_array(xyPair* pairs) { free_bulk(pairs); }
