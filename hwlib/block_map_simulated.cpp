// Block mapping of the simulated build: the simulated board hands out a
// handle per block, which the register accessors pass back to it.
#include "hwlib/block_map.h"

register_block map_block(uint64_t physical_address, uint32_t bytes) {
  return sim_map_block(physical_address, bytes);
}
