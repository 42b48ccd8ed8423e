// The calling thread's priority around a collection, on the unit's scale of
// 256 levels (0 the highest): a collection runs at 0 so that no conversion
// is missed, and a worker thread goes back to 252 afterwards.
#ifndef HANDHELD_ENGINE_HARDWARE_THREAD_PRIORITY_H
#define HANDHELD_ENGINE_HARDWARE_THREAD_PRIORITY_H

const int COLLECTION_PRIORITY = 0;
const int WORKER_PRIORITY = 252;

// Sets the priority. On failure shows (message kind 4) "### %s: UNABLE TO
// SET THREAD PRIORITY FOR TEST ###\n[error %d]\nhandle : %8.8lx" with who,
// the platform's error code and the thread's handle, and returns false. The
// portable build has no priorities to set and always succeeds.
bool set_thread_priority_for(const char* who, int priority);

#endif
