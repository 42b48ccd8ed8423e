#include "hwlib/registers.h"

register_block spi_regs = nullptr;
register_block gpio_regs = nullptr;
register_block uart3_regs = nullptr;
