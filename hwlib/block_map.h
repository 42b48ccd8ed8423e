// Maps one physical register block into the process; one definition per
// build (simulated board, Kestal's virtual-memory calls, Ombrel's
// MmMapIoSpace). Returns null when the block cannot be mapped.
#ifndef HWLIB_BLOCK_MAP_H
#define HWLIB_BLOCK_MAP_H

#include <stdint.h>

#include "hwlib/registers.h"

register_block map_block(uint64_t physical_address, uint32_t bytes);

#endif
