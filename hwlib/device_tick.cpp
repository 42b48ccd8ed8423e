// The device builds' tick: the platform's millisecond tick count.
#include <windows.h>

#include "hwlib/registers.h"

uint32_t tick_ms() { return GetTickCount(); }
