// What the main dialog makes at start-up for every page and frees when it
// is destroyed: the brushes, pens and fonts, and the four test records
// (channel A, channel B, a work record, the record the test id page edits).
#ifndef HANDHELD_UI_FRAME_UNIT_RESOURCES_H
#define HANDHELD_UI_FRAME_UNIT_RESOURCES_H

#include "handheld/engine/storage/stored_records.h"

const int TEST_RECORD_COUNT = 4;
// Null where the allocation failed.
extern testFileRecord* test_records[TEST_RECORD_COUNT];

void create_unit_resources();
void free_unit_resources();

#endif
