// The measurement graph's "Save Data as Text": the Save dialog that names
// the text file of a block of samples (block_text_file.h writes it).
#ifndef DESKTOP_WINDOWS_BLOCK_TEXT_BLOCK_TEXT_DIALOG_H
#define DESKTOP_WINDOWS_BLOCK_TEXT_BLOCK_TEXT_DIALOG_H

#include <windows.h>

#include "handheld/engine/storage/stored_records.h"

// Proposes "XY_" + name + ".txt" in folder (the folder of a file path; the
// documents folder when none is given) in the Save dialog, then writes the
// block's text to the chosen file, created anew. Returns the chosen path
// (valid until the next call); folder when the dialog is cancelled, and
// nothing is written; folder too, reported, when the file cannot be created
// or written. Null, reported, when the block is refused.
const char* save_data_as_text(HWND owner, const testFileRecord& record, const samplesBlock& block, const char* name,
                              const char* folder);

#endif
