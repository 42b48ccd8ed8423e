#include "desktop/winlib/messages/heap_walk.h"

#include <cstdint>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/system_text.h"

bool heap_walk(const char* title, HANDLE heap, bool quiet) {
  if (!heap) heap = GetProcessHeap();
  if (!heap) {
    infomessage("*** heap_walk: heap is null ***");
    return false;
  }
  log_message("-- Heap walk [%s] start --------------------------------------", title ? title : "");
  PROCESS_HEAP_ENTRY entry{};
  int entries = 0;
  unsigned long long total = 0;
  HeapLock(heap);
  BOOL walked = HeapWalk(heap, &entry);
  while (walked) {
    ++entries;
    total += entry.cbData;
    if (!quiet) {
      log_message("%3d : #%6.6lx(%d)", entries, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(entry.lpData)),
                  static_cast<int>(entry.cbData));
    }
    walked = HeapWalk(heap, &entry);
  }
  DWORD error = GetLastError();
  HeapUnlock(heap);
  if (error == ERROR_NO_MORE_ITEMS) {
    log_message("-- Heap walk end [entries %d, total size  %llu] ------------", entries, total);
    return true;
  }
  log_message("*** heap_walk returns error : %s ***", last_error_text(error));
  return false;
}
