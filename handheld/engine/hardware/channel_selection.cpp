#include "handheld/engine/hardware/channel_selection.h"

channelSelection channels;
