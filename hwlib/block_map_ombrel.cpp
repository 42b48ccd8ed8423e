// Block mapping of Ombrel (older platform): the driver kit's MmMapIoSpace.
#include "hwlib/block_map.h"
#include "hwlib/ce_device.h"

register_block map_block(uint64_t physical_address, uint32_t bytes) {
  ce_physical_address address;
  address.QuadPart = static_cast<LONGLONG>(physical_address);
  return static_cast<register_block>(MmMapIoSpace(address, bytes, FALSE));
}
