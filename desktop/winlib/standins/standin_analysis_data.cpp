// STAND-IN for the services of the desktop test data and analysis and the
// analysis windows subsystems that are not windows: enough for this library
// to link and be tested alone. Replaced when those subsystems are built.
#include "analysis_data_services.h"
#include "analysis_window_services.h"

clipboardClass trace_clipboard;
uint8_t drag_in_progress = 0;

tracePlusClass::~tracePlusClass() = default;
sampleEntry::~sampleEntry() = default;
annotationItem::~annotationItem() = default;
tableCellClass::~tableCellClass() = default;
