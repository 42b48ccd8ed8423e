#include "desktop/winlib/messages/heap_report.h"

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"

namespace {

// One snapshot of the runtime's debug heap: block counts and sizes by block
// kind (free, normal, runtime, ignored, client).
struct memory_state {
  int counts[5];
  int sizes[5];
};
constexpr int normal_block = 1;

memory_state states[memory_state_count] = {};

bool valid_index(const char* routine, int index) {
  if (index >= 0 && index < memory_state_count) return true;
  errormessage("*** %s: SNAPSHOT INDEX %d OUT OF RANGE (0..%d) ***", routine, index, memory_state_count - 1);
  return false;
}

}  // namespace

void memory_state_report(const char* title, int index) {
  if (!valid_index("memory_state_report", index)) return;
  log_message("MEM STATE (%d) REPORT [%s] NORMAL %5d/%7d bytes.", index, title ? title : "",
              states[index].counts[normal_block], states[index].sizes[normal_block]);
}

void memory_state_copy(const char* title, int to, int from) {
  if (!valid_index("memory_state_copy", to) || !valid_index("memory_state_copy", from)) return;
  memory_state_report(title, from);
  states[to] = states[from];
}

void memory_ok(const char* title) { log_message("-- MEMORY OK AT %s", title ? title : ""); }
