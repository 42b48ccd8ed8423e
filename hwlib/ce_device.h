// The device platform's calls for mapping physical memory, which the desktop
// SDK lacks: declared here so that the device builds compile against them.
// Only the device itself provides them; these builds are compiled, never
// linked here.
#ifndef HWLIB_CE_DEVICE_H
#define HWLIB_CE_DEVICE_H

#include <windows.h>

// A physical address as the driver kit passes it.
typedef LARGE_INTEGER ce_physical_address;

// The source address of VirtualCopy is a physical address shifted right by 8.
#define CE_PAGE_PHYSICAL 0x400

// The kernel's published information words; the page size is one of them.
#define CE_KINFO_PAGE_SIZE 2

extern "C" {

extern const DWORD ce_kernel_info[];

// Maps the pages of src (physical, with CE_PAGE_PHYSICAL) onto the reserved
// range at dest.
BOOL WINAPI VirtualCopy(LPVOID dest, LPVOID src, DWORD bytes, DWORD protect);

// Maps a physical range into the address space (driver kit).
PVOID MmMapIoSpace(ce_physical_address address, ULONG bytes, BOOLEAN cache_enable);
}

#endif
