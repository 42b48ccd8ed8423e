#include "handheld/engine/protocols/program_error.h"

std::atomic<bool> program_error{false};
