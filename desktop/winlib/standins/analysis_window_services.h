// What this library uses of the desktop analysis windows subsystem that is
// not a window: the list payloads of its windows (the text annotations of a
// comparison window), which lists delete through their
// own destructors.
//
// STAND-IN: standin_analysis_data.cpp gives these minimal bodies until that
// subsystem's own classes replace the declarations below.
#ifndef ANALYSIS_WINDOW_SERVICES_H
#define ANALYSIS_WINDOW_SERVICES_H

#include "list_payload.h"

// One text annotation of a comparison window (owns its text object).
class annotationItem : public listPayload {
 public:
  annotationItem() = default;
  ~annotationItem() override;
};

#endif
