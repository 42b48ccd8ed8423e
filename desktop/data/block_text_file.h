// A block of samples as a two-column text file (the measurement graph's
// "Save Data as Text"): time in mS from the first point, without the
// pre-trigger shift, and microvolts. The windows ask for the file's name
// (block_text_dialog.h).
#ifndef DESKTOP_DATA_BLOCK_TEXT_FILE_H
#define DESKTOP_DATA_BLOCK_TEXT_FILE_H

#include "desktop/data/record_fields.h"
#include "handheld/engine/storage/stored_records.h"

// Writes one line "%5.1lf \t %8.2lf\n" per point of block (its fields as
// read_block_fields gives them) to path, created anew, whole or not at all.
// False, reported, when the file cannot be created or written: an old file
// at path then stays as it was.
bool write_block_text(const char* path, const testFileRecord& record, const samplesBlock& block,
                      const blockFields& fields);

#endif
