#include "desktop/data/pc_file_read.h"

#include <windows.h>

#include "desktop/winlib/files/file_info.h"

pcFileRead read_pc_file(const char* path, uint32_t size, void* bytes, fileTime* local_last_write) {
  fileInfoClass file;
  if (!file.get(path, 1)) return pcFileRead::not_opened;
  if (local_last_write) {
    FILETIME local = file.last_write();
    *local_last_write = fileTime{local.dwLowDateTime, local.dwHighDateTime};
  }
  if (file.size() != size) return pcFileRead::wrong_size;
  return file.read(bytes, size) == size ? pcFileRead::done : pcFileRead::short_read;
}
