// A stand-in hardware library that records every call, as text such as
// "put_gpio_bit(1,3,0)", and answers as a healthy board would (waits reached,
// conversions good). Built into tests directly, and as a library loaded by
// name (with or without its version export).
#ifndef HANDHELD_ENGINE_TESTS_HW_RECORDER_H
#define HANDHELD_ENGINE_TESTS_HW_RECORDER_H

#include <stdint.h>

#if defined(_WIN32) && defined(HWLIB_BUILD_DLL)
#define RECORDER_API __declspec(dllexport)
#else
#define RECORDER_API
#endif

extern "C" {
// The calls so far, one a line, into out (terminated, cut to fit); returns
// the full length.
RECORDER_API uint32_t recorder_log(char* out, uint32_t capacity);
RECORDER_API void recorder_clear(void);
}

// The recorder's function for an export name; null for an unknown name.
void (*recorder_entry(const wchar_t* name))();

#endif
