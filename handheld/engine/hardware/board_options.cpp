#include "handheld/engine/hardware/board_options.h"

std::atomic<int> board_options{0};
std::atomic<int> is_master{0};
std::atomic<int> is_slave{0};
std::atomic<int> master_enabled{1};
