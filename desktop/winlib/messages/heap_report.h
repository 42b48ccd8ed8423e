// Developer heap reports, written to the debug log.
#ifndef DESKTOP_WINLIB_MESSAGES_HEAP_REPORT_H
#define DESKTOP_WINLIB_MESSAGES_HEAP_REPORT_H

constexpr int memory_state_count = 16;

// Snapshots of the runtime's debug heap state. Taking a snapshot is empty in
// this build, so every count reads 0.
void memory_state_report(const char* title, int index);
void memory_state_copy(const char* title, int to, int from);
void memory_ok(const char* title);

#endif
