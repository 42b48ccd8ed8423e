#include "desktop/winlib/messages/messages.h"
#include "desktop/data/trace_filters.h"

const traceClass* filterOptionsClass::resolve_source(const traceClass* source) const {
  if (source) return source;
  if (default_source) return default_source;
  errormessage("filterOptionsClass::resolve_source *** NO SOURCE PROVIDED ***");
  return nullptr;
}

traceClass* filterOptionsClass::resolve_target(traceClass* target) {
  if (target) return target;
  if (target_required != 1) return this;
  errormessage("filterOptionsClass::resolve_target *** NO TARGET PROVIDED ***");
  return nullptr;
}
