// Initialisers of the stored records.
#ifndef HANDHELD_ENGINE_STORAGE_RECORD_INIT_H
#define HANDHELD_ENGINE_STORAGE_RECORD_INIT_H

#include "handheld/engine/storage/stored_records.h"

// Divisor 1.0, no errors, flag 0, 12000 points over 500000 ms, no pre-flash
// time, all values 0. The error times are left as they are.
samplesBlock& init_samples_block(samplesBlock& block);

// A fresh record: both blocks cleared (the average empty), P and T 0, test id
// and protocol name "?", texts " ", eye 'N', unit id "123456", cfc id
// "----------" and the default run configuration. Fields that the run fills
// (S, n, test time, version, filter, scale, offset) are left as they are.
testFileRecord& init_test_record(testFileRecord& record);

// Called before a record's buffer is freed; a record owns nothing.
void destroy_test_record(testFileRecord& record);

// Resets both blocks: the last sweep with Divisor 1.0, the average with 0.0
// (no sweep averaged yet).
void clear_test_samples(testFileRecord& record);

#endif
