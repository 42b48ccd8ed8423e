// STAND-IN for the list payloads of the analysis windows subsystem: enough
// for this library to link and be tested alone. Replaced when those windows
// are built.
#include "analysis_window_services.h"

annotationItem::~annotationItem() = default;
