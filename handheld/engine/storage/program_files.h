// Protocol program files (".tes" test, ".ses" session): exactly one
// programRecord.
#ifndef HANDHELD_ENGINE_STORAGE_PROGRAM_FILES_H
#define HANDHELD_ENGINE_STORAGE_PROGRAM_FILES_H

#include <string>

#include "handheld/engine/storage/stored_records.h"

// Reads a program file (a unit path) into the program. False, the program
// unchanged, when it cannot be opened, its size cannot be had, or it is not
// exactly one record ("*** PROGRAM FILE IS THE WRONG SIZE ***").
bool read_program_file(const std::wstring& unit_path, programRecord& program);

// Creates the file anew with the program; false with a message when it
// cannot be created or written (a file written in part is deleted).
bool write_program_file(const std::wstring& unit_path, const programRecord& program);

#endif
