// Walks a heap of the process and writes its entries to the debug log.
#ifndef DESKTOP_WINLIB_MESSAGES_HEAP_WALK_H
#define DESKTOP_WINLIB_MESSAGES_HEAP_WALK_H

#include <windows.h>

// heap null: the process heap. quiet: only the head and end lines. True when
// the walk reached the end of the heap.
bool heap_walk(const char* title, HANDLE heap, bool quiet);

#endif
