#include "sync_input.h"

#ifdef ERG_OLDER_PLATFORM
const syncInputLine syncInput = {0, 7};
#else
const syncInputLine syncInput = {8, 5};
#endif
