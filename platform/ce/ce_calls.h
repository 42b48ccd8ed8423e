// Windows CE calls that the desktop platform lacks, mapped onto their Win32
// equivalents so the handheld program keeps calling them by their CE names.
#ifndef PLATFORM_CE_CE_CALLS_H
#define PLATFORM_CE_CE_CALLS_H

#include <windows.h>

// EventModify functions (the CE SetEvent, ResetEvent and PulseEvent are
// EventModify with these).
#ifndef EVENT_PULSE
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
#endif

// Sets a thread's priority on the CE scale of 256 levels (0 highest).
// 0..248 -> time critical, 249 highest, 250 above normal, 251 normal,
// 252 below normal, 253 and 254 lowest, 255 idle. A level outside 0..255
// fails with ERROR_INVALID_PARAMETER.
BOOL CeSetThreadPriority(HANDLE thread, int priority);

// EVENT_SET, EVENT_RESET or EVENT_PULSE on an event; any other function fails
// with ERROR_INVALID_PARAMETER and leaves the event as it was.
BOOL EventModify(HANDLE event, DWORD function);

// Looks an export up by a wide name, or by ordinal (MAKEINTRESOURCEW). Export
// names are plain ASCII: a name with any other character, or longer than 255
// characters, is not found (null, ERROR_PROC_NOT_FOUND).
FARPROC GetProcAddressW(HMODULE module, LPCWSTR name);

#endif
