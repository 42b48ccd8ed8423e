#include "platform/ce/ce_calls.h"

BOOL CeSetThreadPriority(HANDLE thread, int priority) {
  if (priority < 0 || priority > 255) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int win32;
  if (priority <= 248) {
    win32 = THREAD_PRIORITY_TIME_CRITICAL;
  } else {
    switch (priority) {
      case 249: win32 = THREAD_PRIORITY_HIGHEST; break;
      case 250: win32 = THREAD_PRIORITY_ABOVE_NORMAL; break;
      case 251: win32 = THREAD_PRIORITY_NORMAL; break;
      case 252: win32 = THREAD_PRIORITY_BELOW_NORMAL; break;
      case 255: win32 = THREAD_PRIORITY_IDLE; break;
      default: win32 = THREAD_PRIORITY_LOWEST; break;  // 253, 254
    }
  }
  return SetThreadPriority(thread, win32);
}

BOOL EventModify(HANDLE event, DWORD function) {
  switch (function) {
    case EVENT_SET: return SetEvent(event);
    case EVENT_RESET: return ResetEvent(event);
    case EVENT_PULSE: return PulseEvent(event);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
  if (name == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (IS_INTRESOURCE(name)) {
    return GetProcAddress(module, reinterpret_cast<LPCSTR>(name));
  }
  char narrow[256];
  size_t n = 0;
  for (; name[n] != L'\0'; ++n) {
    if (n + 1 >= sizeof narrow || name[n] > 0x7E || name[n] < 0x20) {
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
    narrow[n] = static_cast<char>(name[n]);
  }
  narrow[n] = '\0';
  return GetProcAddress(module, narrow);
}
