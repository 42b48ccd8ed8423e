// Reading a file of the PC's disk whole, for the stored test and sample
// files: the file must have exactly the size asked for. Each platform has its
// own file (pc_file_read_win.cpp, pc_file_read_host.cpp); both report the
// same messages.
#ifndef DESKTOP_DATA_PC_FILE_READ_H
#define DESKTOP_DATA_PC_FILE_READ_H

#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

enum class pcFileRead { done, not_opened, wrong_size, short_read };

// Opens path for reading: a missing path is reported as "*** CANNOT FIND
// FILE [%s] *** (fileInfoClass::get)", one that does not open (a folder) as
// "*** UNABLE TO OPEN FILE [%s] ***" (not_opened). Once it is open,
// local_last_write (when given) receives its last-write time in local time;
// then a file of another size gives wrong_size, unreported, and one that
// cannot be read whole short_read, unreported. done: size bytes are in bytes.
pcFileRead read_pc_file(const char* path, uint32_t size, void* bytes, fileTime* local_last_write);

#endif
