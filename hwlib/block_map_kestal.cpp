// Block mapping of Kestal (newer platform): reserve a range of address space
// and map the block's physical pages into it.
#include <stdint.h>

#include "hwlib/block_map.h"
#include "hwlib/ce_device.h"

// Returns the address of the block's first byte, or null. The argument list
// is that of MmMapIoSpace.
PVOID map_register_block(ce_physical_address address, ULONG bytes, BOOLEAN cache_enable) {
  const DWORD page_size = ce_kernel_info[CE_KINFO_PAGE_SIZE];
  const DWORD offset = address.LowPart % page_size;
  const DWORD length = bytes + offset;

  void* reserved = VirtualAlloc(nullptr, length, MEM_RESERVE, PAGE_NOACCESS);
  if (reserved == nullptr) return nullptr;

  // The page-aligned physical address in the shifted form: its low word
  // shifted right by 8, topped by the low 8 bits of the high word.
  const DWORD aligned_low = address.LowPart - offset;
  const uint32_t shifted =
      (aligned_low >> 8) | (static_cast<uint32_t>(address.HighPart) << 24);
  const DWORD protect = cache_enable ? (CE_PAGE_PHYSICAL | PAGE_READWRITE)
                                     : (CE_PAGE_PHYSICAL | PAGE_READWRITE | PAGE_NOCACHE);
  if (!VirtualCopy(reserved, reinterpret_cast<LPVOID>(static_cast<uintptr_t>(shifted)), length,
                   protect)) {
    VirtualFree(reserved, 0, MEM_RELEASE);
    return nullptr;
  }
  return static_cast<uint8_t*>(reserved) + offset;
}

register_block map_block(uint64_t physical_address, uint32_t bytes) {
  ce_physical_address address;
  address.QuadPart = static_cast<LONGLONG>(physical_address);
  return static_cast<register_block>(map_register_block(address, bytes, FALSE));
}
