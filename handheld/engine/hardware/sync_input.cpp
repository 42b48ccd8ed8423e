#include "handheld/engine/hardware/sync_input.h"

#ifdef ERG_OLDER_PLATFORM
const syncInputLine SYNC_INPUT = {0, 7};
#else
const syncInputLine SYNC_INPUT = {8, 5};
#endif
