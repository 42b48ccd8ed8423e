// The error flag of a protocol run: raised by error trace lines and by error
// messages on any thread; the protocol interpreter clears it before each step
// and reports it after.
#ifndef HANDHELD_ENGINE_PROTOCOLS_PROGRAM_ERROR_H
#define HANDHELD_ENGINE_PROTOCOLS_PROGRAM_ERROR_H

#include <atomic>

extern std::atomic<bool> program_error;

#endif
