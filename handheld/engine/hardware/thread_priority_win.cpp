#include <windows.h>

#include <stdint.h>

#include "platform/ce/ce_calls.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/hardware/thread_priority.h"

bool set_thread_priority_for(const char* who, int priority) {
  HANDLE thread = GetCurrentThread();
  if (CeSetThreadPriority(thread, priority)) return true;
  const DWORD error = GetLastError();
  engine_show_message(4, "### %s: UNABLE TO SET THREAD PRIORITY FOR TEST ###\n[error %d]\nhandle : %8.8lx",
                      who != nullptr ? who : "", static_cast<int>(error),
                      static_cast<unsigned long>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(thread))));
  return false;
}
