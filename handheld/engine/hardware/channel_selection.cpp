#include "channel_selection.h"

channelSelection channels;
