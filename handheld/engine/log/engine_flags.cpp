#include "channel_selection.h"
#include "program_error.h"

std::atomic<bool> g_program_error{false};
channelSelection g_channels;
