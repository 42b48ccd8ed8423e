#include "board_options.h"

std::atomic<int> boardOptions{0};
std::atomic<int> isMaster{0};
std::atomic<int> isSlave{0};
std::atomic<int> masterEnabled{1};
