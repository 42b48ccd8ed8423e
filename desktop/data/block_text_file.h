// A block of samples as a two-column text file (the measurement graph's
// "Save Data as Text"): time in mS from the first point, without the
// pre-trigger shift, and microvolts.
#ifndef BLOCK_TEXT_FILE_H
#define BLOCK_TEXT_FILE_H

#include <windows.h>

#include "stored_records.h"

// Proposes "XY_" + name + ".txt" in folder (the folder of a file path; the
// documents folder when none is given) in the Save dialog, then writes one
// line "%5.1lf \t %8.2lf\n" per point to the chosen file, created anew.
// Returns the chosen path (valid until the next call); folder when the
// dialog is cancelled, and nothing is written; folder too, reported, when the
// file cannot be created or written. Null, reported, when the block is
// refused.
const char* save_data_as_text(HWND owner, const testFileRecord& record, const samplesBlock& block, const char* name,
                              const char* folder);

#endif
