#include "test_files.h"

#include <windows.h>

#include <vector>

#include "file_info.h"
#include "messages.h"
#include "rfile.h"

namespace {

const char* source_word(int source) { return source == test_source_pc ? "PC" : "UNIT"; }

// Opens a PC file (the file-information object reports why it cannot),
// gives its local last-write time and checks its size. The messages name
// the kind of file.
bool open_sized(const char* path, uint32_t size, const char* kind, rFileClass& file, fileTime* file_time_out) {
  fileInfoClass info;
  if (!info.get(path, 1) || !file.open(nullptr, path, rfile_read | rfile_open_existing | rfile_share_read, true)) {
    errormessage("*** CAN NOT OPEN FILE [%s] ***\nfrom %s.", path, source_word(test_source_pc));
    return false;
  }
  if (file_time_out) {
    FILETIME local = info.last_write();
    *file_time_out = fileTime{local.dwLowDateTime, local.dwHighDateTime};
  }
  if (info.size() != size) {
    errormessage("*** File [%s] is the wrong size for a %s file ***", path, kind);
    return false;
  }
  return true;
}

// Reads exactly count bytes; a failed or short read is false.
bool read_exactly(rFileClass& file, void* buffer, uint32_t count) { return file.read(buffer, count) == count; }

}  // namespace

testFileRecord* read_test_file(const char* path, int source, fileTime* file_time_out) {
  if (source != test_source_pc) return nullptr;
  if (!path) path = "";
  rFileClass file;
  if (!open_sized(path, test_file_size, "test", file, file_time_out)) return nullptr;
  std::vector<uint8_t> bytes(test_file_size);
  testFileRecord* record = new testFileRecord;
  if (!read_exactly(file, bytes.data(), test_file_size) ||
      !test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, *record)) {
    delete record;
    errormessage("*** CAN NOT LOAD FILE [%s] ***\nfrom %s.", path, source_word(source));
    return nullptr;
  }
  return record;
}

samplesBlock* read_samples_file(const char* path, int source, fileTime* file_time_out) {
  if (source != test_source_pc) return nullptr;
  if (!path) path = "";
  rFileClass file;
  if (!open_sized(path, samples_file_size, "samples", file, file_time_out)) return nullptr;
  std::vector<uint8_t> bytes(samples_file_size);
  samplesBlock* block = new samplesBlock;
  if (!read_exactly(file, bytes.data(), samples_file_size) ||
      !samples_block_from_bytes(bytes.data(), bytes.size(), *block)) {
    delete block;
    errormessage("*** UNABLE TO 'ReadFile' [%s] ***", path);
    return nullptr;
  }
  return block;
}
