// The library's entry routine: maps the register blocks at process attach;
// a mapping that fails refuses the load. Nothing else is done, and nothing
// is unmapped at detach.
#include <windows.h>

#include "hwlib/attach.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) return hwlib_attach() ? TRUE : FALSE;
  return TRUE;
}
